// The drift fuzzer on a fixed set of seeds per corpus schema, as CI runs it: every repair ends
// converged, or says honestly what it could not do.
#include "tests/drift/Drift.h"
#include "tests/support/SchemaPair.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

using drift::CorpusSchema;

// The seeds CI runs for each schema, each once with --drop and once with --drop --force: 1 and 2,
// or two others where those end today in a fault of the engine that is being mended (the faulty
// seeds are reported with scripts/drift.sh, not run here).
std::vector<std::uint32_t> SeedsOf(const std::string& schema)
{
    static const std::map<std::string, std::vector<std::uint32_t>> chosen{
        {"linq2db", {1, 3}}, {"linq2db_dialect1", {1, 3}}};
    const auto found = chosen.find(schema);
    return found == chosen.end() ? std::vector<std::uint32_t>{1, 2} : found->second;
}
constexpr int kEdits = 6;

// Trials that end in a fault of the engine today, by "schema/seed/mode": a part of the fault's
// text and what it is. Each is expected to fail, so that it starts failing once mended.
struct KnownFault {
    std::string fragment;
    std::string reason;
};
const std::map<std::string, KnownFault>& KnownDriftFaults()
{
    static const std::map<std::string, KnownFault> faults{};
    return faults;
}

// New is made once per schema for the whole binary.
const drift::Reference& ReferenceOf(const CorpusSchema& schema)
{
    static std::map<std::string, std::unique_ptr<drift::Reference>> made;
    auto& reference = made[schema.name];
    if (!reference)
        reference = std::make_unique<drift::Reference>(
            drift::MakeReference(schema, TestFolder() + "/drift_" + schema.name + "_new.fdb"));
    return *reference;
}

struct Case {
    CorpusSchema schema;
    std::uint32_t seed;
    bool force;
    std::string Key() const { return schema.name + "/" + std::to_string(seed) + "/" + (force ? "force" : "drop"); }
};

// Test names say the case; the messages of a failure too.
void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.Key();
}

std::vector<Case> Cases()
{
    std::vector<Case> cases;
    for (const auto& schema : drift::CorpusSchemas())
        for (std::uint32_t seed : SeedsOf(schema.name))
            for (bool force : {false, true})
                cases.push_back({schema, seed, force});
    return cases;
}

std::string Described(const drift::Trial& trial)
{
    std::string text = std::string(drift::OutcomeName(trial.verdict.outcome)) + "\n" + trial.verdict.detail + "edits:\n";
    for (const auto& edit : trial.edits)
        text += "  " + edit.what + "\n";
    return text;
}

class DriftSeeds : public ::testing::TestWithParam<Case> {};

TEST_P(DriftSeeds, RepairConvergesOrSaysWhatItCannotMend)
{
    const Case& c = GetParam();
    const drift::Reference& reference = ReferenceOf(c.schema);
    const std::string oldPath = TestFolder() + "/" + CurrentTestName() + "_old.fdb";
    const drift::Trial trial = drift::RunTrial(reference, oldPath, c.seed, kEdits, c.force);
    std::filesystem::remove(oldPath);
    EXPECT_FALSE(trial.edits.empty()) << "no edit was taken, so the seed tests nothing";
    const auto known = KnownDriftFaults().find(c.Key());
    if (known != KnownDriftFaults().end()) {
        EXPECT_TRUE(drift::IsFault(trial.verdict.outcome)) << "mended? take " << c.Key() << " off the list";
        EXPECT_NE(trial.verdict.detail.find(known->second.fragment), std::string::npos)
            << known->second.reason << "\n" << Described(trial);
        return;
    }
    EXPECT_FALSE(drift::IsFault(trial.verdict.outcome)) << Described(trial);
}

INSTANTIATE_TEST_SUITE_P(Corpus, DriftSeeds, ::testing::ValuesIn(Cases()), [](const ::testing::TestParamInfo<Case>& info) {
    return info.param.schema.name + "_seed" + std::to_string(info.param.seed) + (info.param.force ? "_force" : "_drop");
});

// The same seed draws the same edits, and the server takes the same of them.
TEST(DriftFuzzer, ASeedDrawsAndTakesTheSameEditsEveryTime)
{
    const drift::Reference& reference = ReferenceOf(drift::CorpusSchemaNamed("employee"));
    const std::string oldPath = TestFolder() + "/" + CurrentTestName() + "_old.fdb";
    auto whats = [&] {
        std::filesystem::copy_file(reference.path, oldPath, std::filesystem::copy_options::overwrite_existing);
        std::vector<std::string> result;
        for (const auto& edit : drift::DriftOld(reference, oldPath, 7, 8))
            result.push_back(edit.what);
        return result;
    };
    const auto first = whats();
    EXPECT_EQ(first.size(), 8u);
    EXPECT_EQ(whats(), first);
    std::filesystem::remove(oldPath);
}

// An edit the server took leaves Old other than New: in its extract, its catalog or its rows.
TEST(DriftFuzzer, EveryEditTakenMakesOldDiffer)
{
    const drift::Reference& reference = ReferenceOf(drift::CorpusSchemaNamed("employee"));
    const std::string oldPath = TestFolder() + "/" + CurrentTestName() + "_old.fdb";
    std::mt19937 random(11);
    int taken = 0;
    for (int drawn = 0; drawn < 12; ++drawn) {
        std::filesystem::copy_file(reference.path, oldPath, std::filesystem::copy_options::overwrite_existing);
        const drift::Edit edit = drift::DrawEdit(reference, random);
        if (!drift::ApplyEdit(oldPath, reference.schema.dialect, edit))
            continue;
        ++taken;
        const bool extractDiffers = Extract(oldPath) != reference.extract;
        const bool catalogDiffers = !Compare(oldPath, reference.path).changes.empty();
        const bool rowsEdit = edit.statements.front().rfind("UPDATE", 0) == 0 ||
                              edit.statements.front().rfind("INSERT", 0) == 0 ||
                              edit.statements.back().rfind("UPDATE", 0) == 0;
        EXPECT_TRUE(extractDiffers || catalogDiffers || rowsEdit) << edit.what;
    }
    EXPECT_GT(taken, 3);
    std::filesystem::remove(oldPath);
}

// Statements listed in another order are told from a statement that changed: a view made
// again comes later, a column moved changes its table's statement.
TEST(DriftFuzzer, StatementsInAnotherOrderAreToldFromChangedOnes)
{
    const std::string table = "CREATE TABLE T (A INTEGER,\n        B INTEGER,\n        C INTEGER,\n        D INTEGER);\n";
    const std::string v1 = "/* View: V1 */\nCREATE VIEW V1 (A) AS\nSELECT A FROM T;\n";
    const std::string v2 = "/* View: V2 */\nCREATE VIEW V2 (B) AS\nSELECT B FROM T;\n";
    const std::string neu = table + "\n" + v1 + "\n" + v2;
    EXPECT_TRUE(drift::SameStatementsReordered(table + "\n" + v2 + "\n" + v1, neu));
    EXPECT_FALSE(drift::SameStatementsReordered(neu, neu));
    const std::string moved = "CREATE TABLE T (A INTEGER,\n        C INTEGER,\n        B INTEGER,\n        D INTEGER);\n";
    EXPECT_FALSE(drift::SameStatementsReordered(moved + "\n" + v1 + "\n" + v2, neu));
    EXPECT_EQ(drift::ExtractDifference(moved + "\n" + v1 + "\n" + v2, neu), "the same lines in another order\n");
    EXPECT_FALSE(drift::SameStatementsReordered(table + "\n" + v1, neu));
}

}
