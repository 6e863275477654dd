// Exception comparison: every New exception must exist in the Old Database with the same message.
#pragma once
#include "compare/Comparator.h"

class TExp : public Comparator {
public:
    using Comparator::Comparator;

    void CheckExceptions(Progress& bar);

private:
    Query& ExpQuery(Side side) { return exps_[side]; }
    std::string ExpName(Side side) { return Trim(ExpQuery(side).AsString("RDB$EXCEPTION_NAME")); }
    // The column of the current New row as a string literal, or NULL when empty.
    std::string ExpValue(const std::string& column) { return SqlValue(NewExp.AsString(column), true); }
    // Compared untrimmed and case-sensitively; NULL and empty text are alike.
    bool SameExpField(const std::string& column) { return NewExp.AsString(column) == OldExp.AsString(column); }

    void CompareException();
    void CreateException();
    void AlterException();

    static const std::vector<std::string> ExceptionSql;
    QueryPair exps_{DM, ExceptionSql};
    Query& NewExp = exps_.New;
    Query& OldExp = exps_.Old;
};
