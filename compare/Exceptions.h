// Exception comparison: every New exception must exist in the Old Database with the same message.
#pragma once
#include "compare/Comparator.h"

class TExp : public Comparator {
public:
    TExp(TDM& dm, ReportSink& report);

    void CheckExceptions(Progress& bar);

    Query& ExpQuery(int side) { return side == 1 ? NewExp : OldExp; }
    std::string ExpName(int side) { return Trim(ExpQuery(side).AsString("RDB$EXCEPTION_NAME")); }
    // The column of the current New row as a string literal, or NULL when empty.
    std::string ExpValue(const std::string& column) { return SqlValue(NewExp.AsString(column), true); }
    // Compared untrimmed and case-sensitively; NULL and empty text are alike.
    bool SameExpField(const std::string& column) { return NewExp.AsString(column) == OldExp.AsString(column); }

    void CompareException();
    void CreateException();
    void AlterException();

    Query NewExp;
    Query OldExp;
};
