// Exceptions: only the message text is compared; the number and the rest are ignored.
#include "compare/Exceptions.h"

const std::vector<std::string> TExp::ExceptionSql{"select * from RDB$EXCEPTIONS"};

void TExp::CheckExceptions(Progress& bar)
{
    Walk(NewExp, OldExp, bar, [this] { CompareException(); });
}

void TExp::CompareException()
{
    if (!OldExp.Locate("RDB$EXCEPTION_NAME", ExpName(Side::New)))
        CreateException();
    else if (!SameExpField("RDB$MESSAGE"))
        AlterException();
}

void TExp::CreateException()
{
    const std::string name = ExpName(Side::New);
    Fix({"CREATE EXCEPTION " + name + " " + ExpValue("RDB$MESSAGE")}, "EXCEPTION " + name, "EXCEPTION", name,
        "not exist");
}

void TExp::AlterException()
{
    const std::string name = ExpName(Side::New);
    Fix({"ALTER EXCEPTION " + name + " " + ExpValue("RDB$MESSAGE")}, "EXCEPTION " + name, "EXCEPTION", name,
        "different type");
}
