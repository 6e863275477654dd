// Domain comparison: the Old Database's named domains brought up to date with the New one's.
#pragma once
#include "compare/Comparator.h"

class TDmn : public Comparator {
public:
    using Comparator::Comparator;

    void CheckDomains(Progress& bar);

private:
    friend struct ComparatorPeer;

    Query& DmnQuery(Side side) { return dmns_[side]; }
    std::string DmnName(Side side) { return Trim(DmnQuery(side).AsString("RDB$FIELD_NAME")); }
    bool DmnNullable(Side side) { return DmnQuery(side).AsString("RDB$NULL_FLAG") != "1"; }
    // The column of the current New row as SQL value text.
    std::string DmnValue(const std::string& column, bool quote);
    bool SameDmnField(const std::string& column) { return NewDmn.AsString(column) == OldDmn.AsString(column); }
    // The null flags compared as the server of the given on-disk structure version can set them.
    bool SameDmnNullFlag(int odsMajor);
    // The domain form of the type of the side's current row.
    std::string DomainTypeText(Side side);

    void CompareDomain();
    void CreateDomain();
    void UpdateDomain();
    // The statements of UpdateDomain for an Old Database of the given on-disk structure version.
    Statements UpdateDomainStatements(int odsMajor);

    static const std::vector<std::string> DomainSql;
    QueryPair dmns_{DM, DomainSql};
    Query& NewDmn = dmns_.New;
    Query& OldDmn = dmns_.Old;
};
