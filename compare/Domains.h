// Domain comparison: the Old Database's named domains brought up to date with the New one's.
#pragma once
#include "compare/Comparator.h"

class TDmn : public Comparator {
public:
    TDmn(TDM& dm, ReportSink& report);

    void CheckDomains(Progress& bar);

    Query& DmnQuery(int side) { return side == 1 ? NewDmn : OldDmn; }
    std::string DmnName(int side) { return Trim(DmnQuery(side).AsString("RDB$FIELD_NAME")); }
    bool DmnNullable(int side) { return DmnQuery(side).AsString("RDB$NULL_FLAG") != "1"; }
    // The column of the current New row as SQL value text.
    std::string DmnValue(const std::string& column, bool quote);
    bool SameDmnField(const std::string& column) { return NewDmn.AsString(column) == OldDmn.AsString(column); }
    // The null flags compared as the server of the given on-disk structure version can set them.
    bool SameDmnNullFlag(int odsMajor);
    // The domain form of the type of the side's current row.
    std::string DomainTypeText(int side);

    void CompareDomain();
    void CreateDomain();
    void UpdateDomain();
    // The statements of UpdateDomain for an Old Database of the given on-disk structure version.
    Statements UpdateDomainStatements(int odsMajor);

    Query NewDmn;
    Query OldDmn;
};
