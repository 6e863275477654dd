// Rollback on the way out.
#include "db/ScopedTransaction.h"

#include <utility>

ScopedTransaction::ScopedTransaction(Connection& connection, std::vector<std::string> params)
    : transaction_(connection)
{
    transaction_.Params = std::move(params);
    transaction_.StartTransaction();
}

ScopedTransaction::~ScopedTransaction()
{
    if (transaction_.Active())
        transaction_.RollbackForced();
}

void ScopedTransaction::Restart()
{
    if (!transaction_.Active())
        transaction_.StartTransaction();
}

void ScopedTransaction::Rollback()
{
    if (transaction_.Active())
        transaction_.RollbackForced();
}

void ScopedTransaction::Commit()
{
    transaction_.Commit();
}
