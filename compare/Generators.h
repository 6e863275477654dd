// Generator comparison: every New generator must exist in the Old Database.
#pragma once
#include "compare/Comparator.h"

class TGen : public Comparator {
public:
    TGen(TDM& dm, ReportSink& report);

    void CheckGenerators(Progress& bar);

    Query& GenQuery(int side) { return side == 1 ? NewGen : OldGen; }
    std::string GenName(int side) { return Trim(GenQuery(side).AsString("RDB$GENERATOR_NAME")); }

    void CompareGenerator();
    void CreateGenerator();

    Query NewGen;
    Query OldGen;
};
