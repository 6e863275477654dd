// Generators: existence only; the current value is never read or set.
#include "compare/Generators.h"

const std::vector<std::string> TGen::GeneratorSql{
    "SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS WHERE RDB$SYSTEM_FLAG<1 OR RDB$SYSTEM_FLAG IS NULL"};

void TGen::CheckGenerators(Progress& bar)
{
    Walk(NewGen, OldGen, bar, [this] { CompareGenerator(); });
}

void TGen::CompareGenerator()
{
    if (!OldGen.Locate("RDB$GENERATOR_NAME", GenName(Side::New)))
        CreateGenerator();
}

void TGen::CreateGenerator()
{
    const std::string name = GenName(Side::New);
    Fix({"CREATE GENERATOR " + name}, "GENERATOR " + name, "GENERATOR", name, "not exist");
}
