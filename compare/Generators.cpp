// Generators: existence only; the current value is never read or set.
#include "compare/Generators.h"

namespace {
const std::vector<std::string> GeneratorSql{
    "SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS WHERE RDB$SYSTEM_FLAG<1 OR RDB$SYSTEM_FLAG IS NULL"};
}

TGen::TGen(TDM& dm, ReportSink& report)
    : Comparator(dm, report), NewGen(dm.NewDB, dm.NewTran, GeneratorSql), OldGen(dm.OldDB, dm.OldTran, GeneratorSql)
{
}

void TGen::CheckGenerators(Progress& bar)
{
    Walk(NewGen, OldGen, bar, [this] { CompareGenerator(); });
}

void TGen::CompareGenerator()
{
    if (!OldGen.Locate("RDB$GENERATOR_NAME", GenName(1)))
        CreateGenerator();
}

void TGen::CreateGenerator()
{
    const std::string name = GenName(1);
    Fix({"CREATE GENERATOR " + name}, "GENERATOR " + name, "GENERATOR", name, "not exist");
}
