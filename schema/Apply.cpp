// The repair of a complete comparison: the plan's statements in one transaction.
#include "schema/Apply.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/ScopedTransaction.h"
#include "db/Statement.h"

namespace schema {

namespace {

// One committed part of a migration; a refused part rolls back on its own.
void Part(Connection& connection, const std::vector<std::string>& statements, unsigned short dialect)
{
    ScopedTransaction part(connection);
    Statement statement(connection, part.Get());
    for (const auto& sql : statements)
        statement.ExecuteText(sql, dialect);
    part.Commit();
}

// Each part commits on its own; a copy that fails takes its column out again.
void Migrate(const Migration& m, Connection& connection, unsigned short dialect)
{
    const std::string what = "refused: data migration of " + m.object.Text() + ": ";
    try {
        Part(connection, m.add, dialect);
    } catch (const DbError& error) {
        throw DbError(what + error.what(), error.Code());
    }
    try {
        Part(connection, m.copy, dialect);
    } catch (const DbError& error) {
        try {
            Part(connection, m.undo, dialect);
        } catch (const DbError&) {
            // The copy's refusal is what the user must see; an empty copy column does no harm.
        }
        throw DbError(what + error.what(), error.Code());
    }
    try {
        Part(connection, m.swap, dialect);
    } catch (const DbError& error) {
        // The swap rolled back whole: the column still holds its values, and the copy goes.
        try {
            Part(connection, m.undo, dialect);
        } catch (const DbError&) {
            throw DbError(what + error.what() + " (the copy column stays, and the next run drops it)", error.Code());
        }
        throw DbError(what + error.what(), error.Code());
    }
}

}

void Apply(const Plan& plan, Connection& connection, ScopedTransaction& work,
           const std::function<void(std::size_t)>& step)
{
    const auto dialect = static_cast<unsigned short>(plan.dialect);
    if (!plan.migrations.empty()) {
        // The reads end here: each migration commits on its own.
        if (work.Active())
            work.Commit();
        for (const auto& m : plan.migrations)
            Migrate(m, connection, dialect);
        if (!plan.references.empty()) {
            try {
                Part(connection, plan.references, dialect);
            } catch (const DbError& error) {
                throw DbError(std::string("refused: the foreign keys the data migrations dropped: ") + error.what() +
                                  " (the migrated columns are committed; the next run adds the foreign keys)",
                              error.Code());
            }
        }
    }
    work.Restart();
    Statement statement(connection, work.Get());
    std::size_t index = 0;
    try {
        for (; index < plan.steps.size(); ++index) {
            if (step)
                step(index);
            statement.ExecuteText(plan.steps[index].sql, dialect);
        }
        work.Commit();
    } catch (const DbError& error) {
        if (index < plan.steps.size())
            throw DbError("refused: " + plan.steps[index].object.Text() + ": " + error.what(), error.Code());
        // The server does part of the work of DDL, such as building an index, only at the commit.
        throw DbError(std::string("refused at the commit: ") + error.what(), error.Code());
    }
}

void Apply(const Plan& plan, Connection& connection)
{
    ScopedTransaction work(connection);
    Apply(plan, connection, work);
}

}
