// Exceptions: only the message text is compared; the number and the rest are ignored.
#include "compare/Exceptions.h"

namespace {
const std::vector<std::string> ExceptionSql{"select * from RDB$EXCEPTIONS"};
}

TExp::TExp(TDM& dm, ReportSink& report)
    : Comparator(dm, report), NewExp(dm.NewDB, dm.NewTran, ExceptionSql), OldExp(dm.OldDB, dm.OldTran, ExceptionSql)
{
}

void TExp::CheckExceptions(Progress& bar)
{
    Walk(NewExp, OldExp, bar, [this] { CompareException(); });
}

void TExp::CompareException()
{
    if (!OldExp.Locate("RDB$EXCEPTION_NAME", ExpName(1)))
        CreateException();
    else if (!SameExpField("RDB$MESSAGE"))
        AlterException();
}

void TExp::CreateException()
{
    const std::string name = ExpName(1);
    Fix({"CREATE EXCEPTION " + name + " " + ExpValue("RDB$MESSAGE")}, "EXCEPTION " + name, "EXCEPTION", name,
        "not exist");
}

void TExp::AlterException()
{
    const std::string name = ExpName(1);
    Fix({"ALTER EXCEPTION " + name + " " + ExpValue("RDB$MESSAGE")}, "EXCEPTION " + name, "EXCEPTION", name,
        "different type");
}
