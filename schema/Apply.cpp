// The repair of a complete comparison: the plan's statements in one transaction.
#include "schema/Apply.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Statement.h"
#include "db/Transaction.h"

namespace schema {

void Apply(const Plan& plan, Connection& connection, Transaction& transaction,
           const std::function<void(std::size_t)>& step)
{
    if (!transaction.Active())
        transaction.StartTransaction();
    Statement statement(connection, transaction);
    std::size_t index = 0;
    try {
        for (; index < plan.steps.size(); ++index) {
            if (step)
                step(index);
            statement.ExecuteText(plan.steps[index].sql, static_cast<unsigned short>(plan.dialect));
        }
        transaction.Commit();
    } catch (const DbError& error) {
        try {
            transaction.Rollback();
        } catch (const std::exception&) {
            // The refusal is what the user must see; the server drops the work with the attachment.
        }
        if (index < plan.steps.size()) {
            const Step& failed = plan.steps[index];
            throw DbError("refused: " + failed.type + " " + failed.name + ": " + error.what(), error.Code());
        }
        // The server does part of the work of DDL, such as building an index, only at the commit.
        throw DbError(std::string("refused at the commit: ") + error.what(), error.Code());
    }
}

}
