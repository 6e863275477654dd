// What a complete pass tells about each finding, its warnings and how a repair ended, on real databases.
#include "data/RunSequence.h"
#include "db/DbError.h"
#include "schema/CompleteEngine.h"
#include "tests/support/SchemaPair.h"

namespace {

// Old holds rows in what --drop drops and in a column New gives a type no value converts to.
const char* const kOld = "CREATE TABLE GONE (A INTEGER); INSERT INTO GONE VALUES (1); INSERT INTO GONE VALUES (2);"
                         "CREATE TABLE T (ID INTEGER NOT NULL, OLD_C INTEGER, B VARCHAR(10), N INTEGER, S SMALLINT);"
                         "INSERT INTO T VALUES (1, 5, 'abc', 7, 1);"
                         "CREATE TABLE J (A INTEGER, CONSTRAINT CK_J CHECK (A > 0));"
                         "CREATE VIEW V_OLD AS SELECT ID FROM T;";
const char* const kNew = "CREATE TABLE T (ID INTEGER NOT NULL, B DATE, N BIGINT, S SMALLINT, C INTEGER);"
                         "CREATE TABLE J (A INTEGER, CONSTRAINT CK_J CHECK (A > 1));"
                         "CREATE SEQUENCE G_NEW;";

class CompleteSummary : public PairTest {
protected:
    void MakePair3(const std::string& oldSql, const std::string& newSql)
    {
        OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old", oldSql, 3);
        NewDb = std::make_unique<TestDb>(CurrentTestName() + "_new", newSql, 3);
    }
    // One run of the complete engine, as the front ends make it.
    RunOutcome RunOnce(schema::CompleteOptions options, bool repair)
    {
        options.madeAt = "2026-01-02 03:04 UTC";
        engine = std::make_unique<schema::CompleteEngine>(options);
        RunRequest request;
        request.OldField = OldDb->Path();
        request.NewField = NewDb->Path();
        request.Repair = repair;
        NoSteps steps;
        Rep.ClearReport();
        return RunSequence(DM, *engine, Rep, Bar, steps).Run(request);
    }
    // "KIND name property: action, destructive, rows" for each finding.
    std::vector<std::string> Actions() const
    {
        std::vector<std::string> rows;
        for (const auto& f : engine->LastSummary().findings)
            rows.push_back(f.Object().Text() + (f.difference.Name().empty() ? "" : " " + f.difference.Name()) + ": " +
                           schema::FindingActionWord(f.plannedAction) + (f.destructive ? ", destructive" : "") +
                           (f.rows >= 0 ? ", " + std::to_string(f.rows) + " rows" : ""));
        return rows;
    }
    std::vector<std::string> Warnings() const
    {
        std::vector<std::string> rows;
        for (const auto& w : engine->LastSummary().warnings)
            rows.push_back(std::string(schema::SeverityWord(w.severity)) + " " + w.code + " " + w.Text());
        return rows;
    }
    std::unique_ptr<schema::CompleteEngine> engine;
};

TEST_F(CompleteSummary, EachFindingSaysWhatThePlanDoesToItAndWhetherItCanLoseData)
{
    MakePair3(kOld, kNew);
    schema::CompleteOptions kept;
    RunOnce(kept, false);
    EXPECT_EQ(Actions(), (std::vector<std::string>{
                             "GENERATOR G_NEW: create",
                             "FIELD T.C: create",
                             "FIELD T.B type: skip, 1 rows",
                             "FIELD T.N type: alter",
                             "CONSTRAINT CK_J definition: rebuild",
                             "TABLE GONE: skip",
                             "FIELD T.OLD_C: skip",
                             "VIEW V_OLD: skip",
                         }));
    EXPECT_EQ(Rep.Rows().size(), 10u);
    EXPECT_EQ(Rep.Rows().back()[2], "not mended: needs a data migration: 1 row of T (VARCHAR(10) CHARACTER SET NONE -> DATE); "
                                         "--force mends it");

    schema::CompleteOptions drop;
    drop.drop = true;
    RunOnce(drop, false);
    EXPECT_EQ(Actions(), (std::vector<std::string>{
                             "GENERATOR G_NEW: create",
                             "FIELD T.C: create",
                             "FIELD T.B type: skip, 1 rows",
                             "FIELD T.N type: alter",
                             "CONSTRAINT CK_J definition: rebuild",
                             "TABLE GONE: drop, destructive, 2 rows",
                             "FIELD T.OLD_C: drop, destructive, 1 rows",
                             "VIEW V_OLD: drop",
                         }));
    EXPECT_EQ(Warnings(), (std::vector<std::string>{
                              "error would-fail FIELD T.B: would fail: rows of T have B that DATE cannot take "
                              "(conversion error from string \"abc\")",
                              "warning drops-data FIELD T.OLD_C: destructive: drops it with 1 row",
                              "warning drops-data TABLE GONE: destructive: drops it with 2 rows",
                              "warning not-mended FIELD T.B: not mended: needs a data migration: 1 row of T",
                          }));
    const schema::Counts counts = engine->LastSummary().Count();
    EXPECT_EQ(schema::CountsText(counts), "2 missing, 3 different, 3 only in Old (3 dropped), 1 not mended, 4 warnings; "
                                          "8 statements");
    // The rows say what goes, and what it takes with it.
    std::vector<std::string> drops;
    for (const auto& row : Rep.Rows())
        if (row[2].rfind("will drop", 0) == 0)
            drops.push_back(row[0] + " " + row[1] + " " + row[2]);
    EXPECT_EQ(drops, (std::vector<std::string>{"TABLE GONE will drop (2 rows)", "FIELD T.OLD_C will drop (1 row)",
                                               "VIEW V_OLD will drop"}));
}

TEST_F(CompleteSummary, ADeclinedRepairLeavesOldAsItWasAndACommittedOneSaysHowManyStatementsRan)
{
    MakePair("CREATE TABLE T (A INTEGER);", "CREATE TABLE T (A INTEGER, B INTEGER); CREATE SEQUENCE G;");
    schema::CompleteOptions declined;
    std::size_t asked = 0;
    declined.confirm = [&](const schema::Summary& summary) {
        asked = summary.Count().statements;
        return false;
    };
    RunOnce(declined, true);
    EXPECT_EQ(asked, 2u);
    EXPECT_EQ(engine->LastSummary().repair.state, schema::RepairOutcome::State::Declined);
    EXPECT_EQ(engine->LastSummary().repair.statements, 2u);
    RunOnce({}, false);
    EXPECT_EQ(engine->LastSummary().Count().missing, 2u);

    schema::CompleteOptions confirmed;
    confirmed.confirm = [](const schema::Summary&) { return true; };
    RunOnce(confirmed, true);
    EXPECT_EQ(engine->LastSummary().repair.state, schema::RepairOutcome::State::Committed);
    EXPECT_EQ(engine->LastSummary().repair.statements, 2u);
    RunOnce({}, false);
    EXPECT_TRUE(engine->LastSummary().Count().Agree());
    EXPECT_EQ(Extract(OldDb->Path()), Extract(NewDb->Path()));
}

TEST_F(CompleteSummary, ARefusedRepairNamesWhereAndSaysOldIsUnchanged)
{
    // New's key is not unique over Old's rows; the server finds that only at the commit.
    MakePair("CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1); INSERT INTO T VALUES (1);",
             "CREATE TABLE T (A INTEGER, CONSTRAINT UQ_A UNIQUE (A)); CREATE SEQUENCE G;");
    schema::CompleteOptions forced;
    forced.force = true;
    try {
        RunOnce(forced, true);
        FAIL() << "the repair was not refused";
    } catch (const DbError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("refused at the commit: violation of PRIMARY or UNIQUE KEY constraint \"UQ_A\"", 0), 0u)
            << message;
        EXPECT_TRUE(message.ends_with("; rolled back, Old unchanged")) << message;
    }
    const schema::RepairOutcome& outcome = engine->LastSummary().repair;
    EXPECT_EQ(outcome.state, schema::RepairOutcome::State::Refused);
    EXPECT_EQ(outcome.refusedAt, "the commit");
    RunOnce({}, false);
    EXPECT_EQ(engine->LastSummary().Count().missing, 2u);
}

// In a repair a drop's row comes after the repair: "dropped" once committed, and as what would
// have been done when the repair was declined.
TEST_F(CompleteSummary, ADropsRowInARepairSaysDroppedOnlyOnceTheRepairIsCommitted)
{
    MakePair3("CREATE TABLE GONE (A INTEGER); INSERT INTO GONE VALUES (1); CREATE TABLE T (A INTEGER);",
              "CREATE TABLE T (A INTEGER); CREATE SEQUENCE G;");
    schema::CompleteOptions options;
    options.drop = true;
    options.confirm = [](const schema::Summary&) { return false; };
    RunOnce(options, true);
    EXPECT_EQ(Rep.Rows(), (Rows{{"GENERATOR", "G", "not exist"}, {"TABLE", "GONE", "will drop (1 row)"}}));
    options.confirm = {};
    RunOnce(options, true);
    EXPECT_EQ(Rep.Rows(), (Rows{{"GENERATOR", "G", "not exist"}, {"TABLE", "GONE", "dropped (1 row)"}}));
    EXPECT_FALSE(RunOnce(options, false).Found);
    EXPECT_TRUE(engine->LastSummary().Count().Agree());
}

// A column over a domain has its type there: the row of what is left names both types.
TEST_F(CompleteSummary, ANotMendedRowOfAColumnOverADomainNamesTheDomainsTypes)
{
    MakePair3("CREATE DOMAIN D_CODE AS VARCHAR(10); CREATE TABLE T (A D_CODE); INSERT INTO T VALUES ('x');",
              "CREATE DOMAIN D_CODE AS VARCHAR(10); CREATE DOMAIN D_WHEN AS DATE; CREATE TABLE T (A D_WHEN);");
    RunOnce({}, false);
    const auto& left = engine->LastSummary().notMended;
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0], (schema::NotMended{{schema::ObjectKind::Field, "T.A"}, "needs-data-migration",
                                          "needs a data migration: 1 row of T", "VARCHAR(10) CHARACTER SET NONE",
                                          "DATE", 1, "--force"}));
}

}
