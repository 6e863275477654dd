// Two names of one server ("localhost:" and "127.0.0.1/3050:"), or two servers sharing a file,
// name one database; only the database itself can tell.
#include "db/SameDatabase.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <random>
#include <string>

namespace {

const char* const MarkName = "VORKAT_SAME_DATABASE";

std::string NewMark()
{
    std::random_device random;
    std::string mark;
    for (int i = 0; i < 4; ++i)
        mark += std::to_string(random());
    return mark;
}

void SetMark(Connection& connection, const std::string* mark)
{
    Transaction transaction(connection);
    Query set(connection, transaction,
              {std::string("select RDB$SET_CONTEXT('USER_SESSION', '") + MarkName + "', " +
               (mark ? "cast(:MARK as varchar(80))" : "NULL") + ") from RDB$DATABASE"});
    if (mark)
        set.SetParam("MARK", *mark);
    set.Open();
    set.Close();
}

}

bool OnSameDatabase(Connection& first, Connection& second)
{
    const std::string mark = NewMark();
    SetMark(first, &mark);
    bool same = false;
    try {
        Transaction transaction(second);
        Query look(second, transaction,
                   {"select count(*) from MON$CONTEXT_VARIABLES",
                    std::string("where MON$VARIABLE_NAME = '") + MarkName + "' and MON$VARIABLE_VALUE = :MARK"});
        look.SetParam("MARK", mark);
        look.Open();
        same = look.AsInteger("COUNT") > 0;
        look.Close();
    } catch (const DbError&) {
        // No monitoring tables: a server older than the mark can tell.
    }
    SetMark(first, nullptr);
    return same;
}
