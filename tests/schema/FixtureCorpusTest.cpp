// The complete comparison over the corpus of cases in tests/schema: each folder an Old and a New database.
#include "tests/support/SchemaPair.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

namespace {

namespace fs = std::filesystem;

// The folder beside the cases that holds SQL other tests read.
constexpr const char* kSharedFolder = "pairs";

struct Case {
    std::string name;
    fs::path folder;
};

std::vector<Case> Cases()
{
    std::vector<Case> cases;
    for (const auto& entry : fs::directory_iterator(SCHEMA_CORPUS_DIR))
        if (entry.is_directory() && entry.path().filename() != kSharedFolder)
            cases.push_back({entry.path().filename().string(), entry.path()});
    std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.name < b.name; });
    return cases;
}

// Both databases are made in the case's dialect: 3 unless its file "dialect" says 1.
int DialectOf(const Case& c)
{
    const fs::path file = c.folder / "dialect";
    return fs::exists(file) && FileText(file.string()) == "1\n" ? 1 : 3;
}

// The Firebird versions a case runs on: all, unless its file "firebird" names them ("3\n").
bool RunsOn(const Case& c, int ods)
{
    const fs::path file = c.folder / "firebird";
    if (!fs::exists(file))
        return true;
    const char version = ods >= 131 ? '5' : ods >= 130 ? '4' : '3';
    return FileText(file.string()).find(version) != std::string::npos;
}

// The script a case expects: from Firebird 4 on (ODS 13), expected.ods13.sql where the
// server's own words differ, such as a collation's ICU version or a sequence's first value.
fs::path ExpectedScript(const Case& c, int odsMajor)
{
    const fs::path ods13 = c.folder / "expected.ods13.sql";
    return odsMajor >= 13 && fs::exists(ods13) ? ods13 : c.folder / "expected.sql";
}

// Test names show the case by its folder, and so do the messages of a failure.
void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class FixtureCorpus : public ::testing::TestWithParam<Case> {};

TEST_P(FixtureCorpus, OldIsBroughtUpToDateWithNewWithDrop)
{
    const Case& c = GetParam();
    if (!RunsOn(c, EngineOds()))
        GTEST_SKIP() << "a case for other versions of Firebird";
    const int dialect = DialectOf(c);
    TestDb newDb(CurrentTestName() + "_new", FileText((c.folder / "new.sql").string()), dialect);
    TestDb oldDb(CurrentTestName() + "_old", FileText((c.folder / "old.sql").string()), dialect);

    // As a repair with --drop plans it: Old's rows pass the checks, and their counts go to the plan.
    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    const schema::SafetyResult safety = CheckOld(oldDb.Path(), compared, true);
    EXPECT_EQ(IssueRows(safety.issues), std::vector<std::string>{});
    const schema::Plan plan = PlanOf(
        compared, true, schema::PlanOptions{.rowCounts = safety.rowCounts, .generatorValues = safety.generatorValues});
    EXPECT_EQ(plan.notMended, std::vector<std::string>{});
    EXPECT_FALSE(plan.steps.empty()) << "Old and New are alike, so the case tests nothing";
    const fs::path expected = ExpectedScript(c, compared.old.odsMajor);
    if (fs::exists(expected))
        EXPECT_EQ(ScriptOf(plan), FileText(expected.string()));

    ApplyTo(oldDb.Path(), plan);
    ExpectConverged(oldDb, newDb);
}

INSTANTIATE_TEST_SUITE_P(Cases, FixtureCorpus, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

// A misspelt file would make a case test less than it seems to, so only the known ones may be there.
TEST(FixtureCorpusLayout, EachCaseHoldsOldAndNewAndOnlyTheFilesACaseMayHave)
{
    const std::set<std::string> allowed{"old.sql", "new.sql", "expected.sql", "expected.ods13.sql", "dialect", "firebird"};
    const std::regex snake("[a-z][a-z0-9]*(_[a-z0-9]+)*");
    std::vector<std::string> faults;
    for (const Case& c : Cases()) {
        if (!std::regex_match(c.name, snake))
            faults.push_back(c.name + ": not a lower_snake_case name");
        for (const char* needed : {"old.sql", "new.sql"})
            if (!fs::is_regular_file(c.folder / needed))
                faults.push_back(c.name + ": lacks " + needed);
        for (const auto& entry : fs::directory_iterator(c.folder))
            if (!allowed.count(entry.path().filename().string()))
                faults.push_back(c.name + ": " + entry.path().filename().string() + " is not a file of a case");
        const fs::path dialect = c.folder / "dialect";
        if (fs::exists(dialect) && FileText(dialect.string()) != "1\n")
            faults.push_back(c.name + ": dialect holds other than the line 1");
        const fs::path firebird = c.folder / "firebird";
        if (fs::exists(firebird) && !std::regex_match(FileText(firebird.string()), std::regex("[345]( [345])*\n")))
            faults.push_back(c.name + ": firebird holds other than versions 3, 4 and 5 on one line");
    }
    EXPECT_EQ(faults, std::vector<std::string>{});
}

}
