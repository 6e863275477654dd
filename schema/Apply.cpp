// The repair of a complete comparison: the plan's statements in one transaction.
#include "schema/Apply.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/ScopedTransaction.h"
#include "db/Statement.h"

namespace schema {

namespace {

// How a refused repair left Old, as the end of its message says.
constexpr const char* kUnchanged = "; rolled back, Old unchanged";
constexpr const char* kCopyStays = "; rolled back, but a copy column of a data migration stays, and the next run drops it";

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
void Copy(const Migration& m, Connection& connection, unsigned short dialect)
{
    const std::string what = "refused at the data migration of " + m.object.Text() + ": ";
    try {
        Part(connection, m.add, dialect);
    } catch (const DbError& error) {
        throw DbError(what + error.what() + kUnchanged, error.Code());
    }
    std::string refusal;
    int code = 0;
    try {
        Part(connection, m.copy, dialect);
    } catch (const DbError& error) {
        refusal = error.what();
        code = error.Code();
    }
    try {
        Part(connection, m.restore, dialect);
    } catch (const DbError& error) {
        throw DbError(what + (refusal.empty() ? "" : refusal + "; ") + error.what() +
                          " (the table's triggers stay inactive, and the next run makes them active again)",
                      refusal.empty() ? error.Code() : code);
    }
    if (refusal.empty())
        return;
    try {
        Part(connection, m.undo, dialect);
    } catch (const DbError&) {
        // The copy's refusal is what the user must see; an empty copy column does no harm.
        throw DbError(what + refusal + kCopyStays, code);
    }
    throw DbError(what + refusal + kUnchanged, code);
}

// After the one transaction rolled back: the migrated columns still hold their values, and
// their copies go. What says so is added to the error's message.
std::string Undo(const std::vector<Migration>& done, Connection& connection, unsigned short dialect)
{
    bool stays = false;
    for (const auto& m : done) {
        try {
            Part(connection, m.undo, dialect);
        } catch (const DbError&) {
            stays = true;
        }
    }
    return stays ? kCopyStays : kUnchanged;
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
        std::vector<Migration> done;
        for (const auto& m : plan.migrations) {
            try {
                Copy(m, connection, dialect);
            } catch (const DbError& error) {
                // Its own message says how it left Old; the ones before it are undone here.
                std::string message = error.what();
                const std::string undone = Undo(done, connection, dialect);
                if (undone == kCopyStays && message.size() >= std::char_traits<char>::length(kUnchanged) &&
                    message.ends_with(kUnchanged))
                    message.replace(message.size() - std::char_traits<char>::length(kUnchanged), std::string::npos, kCopyStays);
                throw DbError(message, error.Code());
            }
            done.push_back(m);
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
        if (step)
            step(index);
        work.Commit();
    } catch (const DbError& error) {
        const std::string where = index < plan.steps.size() ? "refused at " + plan.steps[index].object.Text() + ": "
                                  // The server does part of the work of DDL, such as building an
                                  // index, only at the commit.
                                                            : std::string("refused at the commit: ");
        if (!plan.migrations.empty())
            work.Rollback();
        throw DbError(where + error.what() + Undo(plan.migrations, connection, dialect), error.Code());
    }
}

void Apply(const Plan& plan, Connection& connection)
{
    ScopedTransaction work(connection);
    Apply(plan, connection, work);
}

}
