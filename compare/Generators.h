// Generator comparison: every New generator must exist in the Old Database.
#pragma once
#include "compare/Comparator.h"

class TGen : public Comparator {
public:
    using Comparator::Comparator;

    void CheckGenerators(Progress& bar);

private:
    friend struct ComparatorPeer;

    Query& GenQuery(Side side) { return gens_[side]; }
    std::string GenName(Side side) { return Trim(GenQuery(side).AsString("RDB$GENERATOR_NAME")); }

    void CompareGenerator();
    void CreateGenerator();

    static const std::vector<std::string> GeneratorSql;
    QueryPair gens_{DM, GeneratorSql};
    Query& NewGen = gens_.New;
    Query& OldGen = gens_.Old;
};
