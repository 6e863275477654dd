// Executes the statement buffer, prepared afresh each time.
#include "db/Statement.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Status.h"
#include "db/Transaction.h"

Statement::Statement(Connection& connection, Transaction& transaction)
    : connection_(&connection), transaction_(&transaction)
{
}

std::string Statement::Text() const
{
    std::string text;
    for (const auto& line : Lines)
        text += line + "\r\n";
    return text;
}

void Statement::Execute()
{
    ExecuteText(Text(), 1);
}

void Statement::ExecuteText(const std::string& text, unsigned short dialect)
{
    if (!connection_->Connected())
        throw DbError("Cannot perform operation -- DB is not open");
    if (!transaction_->Active())
        throw DbError("Transaction is not active");
    if (text.empty())
        throw DbError("Empty query");
    // The client measures the text up to its first zero byte, and the server ends a literal
    // there: either way the statement would lose its tail.
    if (text.find('\0') != std::string::npos)
        throw DbError("Statement text contains a zero byte");
    watchdog::CheckDeadline();
    transaction_->ReadPendingBlobs();
    // Even a statement the server refuses may have done some of its work.
    transaction_->written_ = true;

    ISC_STATUS_ARRAY status{};
    isc_stmt_handle stmt = 0;
    auto call = connection_->Watched();
    isc_dsql_allocate_statement(status, connection_->Handle(), &stmt);
    connection_->Check(status);
    isc_dsql_prepare(status, transaction_->Handle(), &stmt, static_cast<unsigned short>(0), text.c_str(), dialect,
                     nullptr);
    if (!StatusFailed(status))
        isc_dsql_execute(status, transaction_->Handle(), &stmt, 1, nullptr);
    ISC_STATUS_ARRAY freeStatus{};
    isc_dsql_free_statement(freeStatus, &stmt, DSQL_drop);
    connection_->Check(status);
}
