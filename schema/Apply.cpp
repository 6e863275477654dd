// The repair of a complete comparison: the plan's statements in one transaction.
#include "schema/Apply.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Statement.h"
#include "db/Transaction.h"

namespace schema {

namespace {

void Run(Statement& statement, const std::vector<std::string>& statements, unsigned short dialect)
{
    for (const auto& sql : statements)
        statement.ExecuteText(sql, dialect);
}

void RollbackQuietly(Transaction& transaction) noexcept
{
    try {
        transaction.Rollback();
    } catch (const std::exception&) {
        // The refusal is what the user must see; the server drops the work with the attachment.
    }
}

// Each part commits on its own; a copy that fails takes its column out again.
void Migrate(const Migration& m, Statement& statement, Transaction& transaction, unsigned short dialect)
{
    const std::string what = "refused: data migration of " + m.type + " " + m.name + ": ";
    auto part = [&](const std::vector<std::string>& statements) {
        if (!transaction.Active())
            transaction.StartTransaction();
        Run(statement, statements, dialect);
        transaction.Commit();
    };
    try {
        part(m.add);
    } catch (const DbError& error) {
        RollbackQuietly(transaction);
        throw DbError(what + error.what(), error.Code());
    }
    try {
        part(m.copy);
    } catch (const DbError& error) {
        RollbackQuietly(transaction);
        try {
            part(m.undo);
        } catch (const DbError&) {
            RollbackQuietly(transaction);
        }
        throw DbError(what + error.what(), error.Code());
    }
    try {
        part(m.swap);
    } catch (const DbError& error) {
        RollbackQuietly(transaction);
        throw DbError(what + error.what() + " (the values are kept in the copy column)", error.Code());
    }
}

}

void Apply(const Plan& plan, Connection& connection, Transaction& transaction,
           const std::function<void(std::size_t)>& step)
{
    if (transaction.Active() && !plan.migrations.empty())
        transaction.Commit();
    Statement statement(connection, transaction);
    const auto dialect = static_cast<unsigned short>(plan.dialect);
    for (const auto& m : plan.migrations)
        Migrate(m, statement, transaction, dialect);
    if (!transaction.Active())
        transaction.StartTransaction();
    std::size_t index = 0;
    try {
        for (; index < plan.steps.size(); ++index) {
            if (step)
                step(index);
            statement.ExecuteText(plan.steps[index].sql, dialect);
        }
        transaction.Commit();
    } catch (const DbError& error) {
        RollbackQuietly(transaction);
        if (index < plan.steps.size()) {
            const Step& failed = plan.steps[index];
            throw DbError("refused: " + failed.type + " " + failed.name + ": " + error.what(), error.Code());
        }
        // The server does part of the work of DDL, such as building an index, only at the commit.
        throw DbError(std::string("refused at the commit: ") + error.what(), error.Code());
    }
}

}
