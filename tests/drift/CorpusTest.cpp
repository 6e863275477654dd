// The corpus of real schemas: each builds on Firebird 3, and the complete comparison rebuilds
// it whole in an empty Old.
#include "tests/drift/Corpus.h"
#include "tests/drift/Drift.h"
#include "tests/support/SchemaPair.h"

#include <map>
#include <regex>
#include <set>

namespace {

namespace fs = std::filesystem;
using drift::CorpusSchema;

// Schemas the engine does not yet rebuild, each with a part of what goes wrong and why. Such a
// schema is expected to fail, so that its test starts failing once the fault is mended.
struct KnownFault {
    std::string fragment;  // found in the refusal or in the extracts' difference
    std::string reason;
};
const std::map<std::string, KnownFault>& KnownVsEmptyFaults()
{
    static const std::map<std::string, KnownFault> faults{
    };
    return faults;
}

}

namespace drift {
// Test names say the schema; the messages of a failure too.
void PrintTo(const CorpusSchema& c, std::ostream* out)
{
    *out << c.name;
}
}

namespace {

class CorpusVsEmpty : public ::testing::TestWithParam<CorpusSchema> {};

TEST_P(CorpusVsEmpty, BuildsAndIsRebuiltWholeInAnEmptyOldWithDrop)
{
    const CorpusSchema& c = GetParam();
    TestDb newDb(CurrentTestName() + "_new", "", c.dialect);
    drift::MakeDatabase(c, newDb.Path(), drift::CorpusSql(c));
    TestDb oldDb(CurrentTestName() + "_old", "", c.dialect);
    drift::MakeDatabase(c, oldDb.Path(), "");

    const auto known = KnownVsEmptyFaults().find(c.name);
    if (known != KnownVsEmptyFaults().end()) {
        const drift::Verdict verdict = drift::RepairAndJudge(oldDb.Path(), newDb.Path(), Extract(newDb.Path()), false);
        EXPECT_TRUE(drift::IsFault(verdict.outcome)) << "mended? take " << c.name << " off the list of known faults";
        EXPECT_NE(verdict.detail.find(known->second.fragment), std::string::npos)
            << known->second.reason << "\n" << verdict.detail;
        return;
    }
    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    const schema::SafetyResult safety = CheckOld(oldDb.Path(), compared, true);
    EXPECT_EQ(IssueRows(safety.issues), std::vector<std::string>{});
    const schema::Plan plan = PlanOf(compared, true, schema::PlanOptions{.rowCounts = safety.rowCounts});
    EXPECT_EQ(plan.notMended, std::vector<std::string>{});
    ASSERT_FALSE(plan.steps.empty());
    ApplyTo(oldDb.Path(), plan);
    ExpectConverged(oldDb, newDb);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusVsEmpty, ::testing::ValuesIn(drift::CorpusSchemas()),
                         [](const ::testing::TestParamInfo<CorpusSchema>& info) { return info.param.name; });

// A misspelt file would make a schema test less than it seems to, and a schema without its
// source could not be told apart from one of our own.
TEST(CorpusLayout, EachSchemaHoldsItsSqlAndSourceAndOnlyTheFilesASchemaMayHave)
{
    const std::set<std::string> allowed{"schema.sql", "rows.sql", "SOURCE", "dialect", "charset"};
    const std::regex snake("[a-z][a-z0-9]*(_[a-z0-9]+)*");
    std::vector<std::string> faults;
    const auto schemas = drift::CorpusSchemas();
    if (schemas.size() < 8)
        faults.push_back("fewer than 8 schemas");
    for (const CorpusSchema& c : schemas) {
        if (!std::regex_match(c.name, snake))
            faults.push_back(c.name + ": not a lower_snake_case name");
        for (const char* needed : {"schema.sql", "SOURCE"})
            if (!fs::is_regular_file(c.folder / needed))
                faults.push_back(c.name + ": lacks " + needed);
        for (const auto& entry : fs::directory_iterator(c.folder))
            if (!allowed.count(entry.path().filename().string()))
                faults.push_back(c.name + ": " + entry.path().filename().string() + " is not a file of a schema");
        const std::string source = FileText((c.folder / "SOURCE").string());
        for (const char* field : {"Repository:", "Path:", "Commit:", "Licence:"})
            if (source.find(field) == std::string::npos)
                faults.push_back(c.name + ": SOURCE names no " + field);
        if (fs::exists(c.folder / "dialect") && FileText((c.folder / "dialect").string()) != "1\n")
            faults.push_back(c.name + ": dialect holds other than the line 1");
    }
    EXPECT_EQ(faults, std::vector<std::string>{});
}

}
