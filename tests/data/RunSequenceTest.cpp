// The shared run with an engine that is not the checks: its order, modes, script, hooks, close and verification.
#include "data/FileError.h"
#include "data/RunSequence.h"
#include "db/DbError.h"
#include "tests/support/TestDb.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using Lines = std::vector<std::string>;

// Records what each pass saw and does what the test asks, so that nothing in the run can
// lean on the checks.
class RecordingEngine : public RunEngine {
public:
    struct Seen {
        bool repair;
        bool report;
        bool oldConnected;
        bool newConnected;
        std::string oldName;
        std::size_t scriptLines;
    };
    explicit RecordingEngine(TDM& dm) : dm_(dm) {}
    std::vector<Seen> Passes;
    // Called in the middle of each pass with its index.
    std::function<void(std::size_t, TDM&, ReportSink&)> Act;

    void Pass(const PassContext& pass, ReportSink& report, Progress& bar, StepSink& steps) override
    {
        Passes.push_back({pass.repair, pass.report, pass.oldDb.Connected(), pass.newDb.Connected(),
                          pass.oldDb.DatabaseName(), dm_.ScriptLines.size()});
        steps.BeginStep("First");
        bar.SetPosition(1);
        steps.EndStep();
        steps.BeginStep("Second");
        if (Act)
            Act(Passes.size() - 1, dm_, report);
        steps.EndStep();
    }

    // Not the ScriptLines form: the run must save what the engine gives.
    std::string ScriptText() const override
    {
        std::string text;
        for (const auto& line : dm_.ScriptLines)
            text += line + "|";
        return text;
    }

private:
    TDM& dm_;
};

class RecordedSteps : public StepSink {
public:
    Lines Log;
    void BeginStep(const std::string& caption) override { Log.push_back("begin " + caption); }
    void EndStep() override { Log.push_back("end"); }
    void EndPass() override { Log.push_back("pass end"); }
};

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "<missing>";
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}

class RunSequenceTest : public PairTest {
protected:
    void SetUp() override
    {
        MakePair("", "");
        ScriptPath = TestFolder() + "/" + CurrentTestName() + ".sql";
        std::filesystem::remove(ScriptPath);
        Request.OldField = OldDb->Path();
        Request.NewField = NewDb->Path();
        Request.ScriptPath = ScriptPath;
    }

    RunOutcome Run() { return RunSequence(DM, Engine, Rep, Bar, Steps).Run(Request); }

    void ExpectClosed()
    {
        EXPECT_FALSE(DM.OldDB.Connected());
        EXPECT_FALSE(DM.NewDB.Connected());
    }

    std::string ScriptPath;
    RunRequest Request;
    RecordingEngine Engine{DM};
    RecordedSteps Steps;
};

TEST_F(RunSequenceTest, ScriptModeAttachesBothRunsOnePassSavesTheEnginesScriptAndCloses)
{
    DM.ScriptLines = {"left from an earlier run"};
    Engine.Act = [](std::size_t, TDM& dm, ReportSink& report) {
        report.AddReportRow("GENERATOR", "GEN_A", "not exist");
        dm.ScriptLines = {"L1", "L2"};
    };
    std::string seenByHook;
    Request.AfterPass = [&] {
        seenByHook = ReadText(ScriptPath);
        EXPECT_TRUE(DM.OldDB.Connected());
        EXPECT_TRUE(DM.NewDB.Connected());
        return false;
    };
    const RunOutcome outcome = Run();
    ASSERT_EQ(Engine.Passes.size(), 1u);
    const auto& pass = Engine.Passes[0];
    EXPECT_FALSE(pass.repair);
    EXPECT_TRUE(pass.report);
    EXPECT_TRUE(pass.oldConnected);
    EXPECT_TRUE(pass.newConnected);
    EXPECT_EQ(pass.oldName, OldDb->Path());
    EXPECT_EQ(pass.scriptLines, 0u);
    EXPECT_EQ(ReadText(ScriptPath), "L1|L2|");
    EXPECT_EQ(seenByHook, "L1|L2|");
    EXPECT_EQ(FindingRows(Rep), (std::vector<ReportRows::Row>{{"GENERATOR", "GEN_A", "not exist"}}));
    EXPECT_EQ(Steps.Log, (Lines{"begin First", "end", "begin Second", "end", "pass end"}));
    EXPECT_TRUE(outcome.Found);
    EXPECT_FALSE(outcome.Verified);
    EXPECT_FALSE(outcome.Converged);
    ExpectClosed();
}

TEST_F(RunSequenceTest, FindingsAreReportRowsOrAScript)
{
    EXPECT_FALSE(Run().Found);
    EXPECT_EQ(ReadText(ScriptPath), "");

    Engine.Act = [](std::size_t, TDM& dm, ReportSink&) { dm.ScriptLines = {"X"}; };
    EXPECT_TRUE(Run().Found);

    Engine.Act = [](std::size_t, TDM&, ReportSink& report) { report.AddReportRow("T", "", ""); };
    EXPECT_TRUE(Run().Found);

    // A row without a type is taken over by the next one, as in the report grid.
    Engine.Act = [](std::size_t, TDM&, ReportSink& report) {
        report.AddReportRow("", "N", "m");
        report.AddReportRow("", "", "");
    };
    EXPECT_FALSE(Run().Found);
}

TEST_F(RunSequenceTest, ReportOffAndRepairModeReachTheEngineAndRepairSavesNoScript)
{
    Request.Repair = true;
    Request.Report = false;
    bool written = false;
    Request.ScriptWriter = [&](const std::string&) { written = true; };
    Run();
    ASSERT_EQ(Engine.Passes.size(), 1u);
    EXPECT_TRUE(Engine.Passes[0].repair);
    EXPECT_FALSE(Engine.Passes[0].report);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadText(ScriptPath), "<missing>");
}

TEST_F(RunSequenceTest, AScriptWriterTakesTheTextInsteadOfTheFile)
{
    Engine.Act = [](std::size_t, TDM& dm, ReportSink&) { dm.ScriptLines = {"A", ""}; };
    std::string text = "<none>";
    Request.ScriptWriter = [&](const std::string& given) { text = given; };
    Run();
    EXPECT_EQ(text, "A||");
    EXPECT_EQ(ReadText(ScriptPath), "<missing>");
}

TEST_F(RunSequenceTest, TrueAfterThePassRepeatsItInRepairModeWithoutRowsOnTheSameConnections)
{
    Engine.Act = [](std::size_t index, TDM& dm, ReportSink&) { dm.ScriptLines.push_back("pass " + std::to_string(index)); };
    int asked = 0;
    Request.AfterPass = [&] { return ++asked == 1; };
    Run();
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(Engine.Passes.size(), 2u);
    EXPECT_TRUE(Engine.Passes[1].repair);
    EXPECT_FALSE(Engine.Passes[1].report);
    EXPECT_TRUE(Engine.Passes[1].oldConnected);
    // The second pass adds to the first one's script, which was saved before it.
    EXPECT_EQ(Engine.Passes[1].scriptLines, 1u);
    EXPECT_EQ(ReadText(ScriptPath), "pass 0|");
    EXPECT_EQ(Steps.Log, (Lines{"begin First", "end", "begin Second", "end", "pass end", "begin First", "end",
                                "begin Second", "end", "pass end"}));
    ExpectClosed();
}

TEST_F(RunSequenceTest, VerificationComparesAgainInScriptModeIntoScratchRows)
{
    Request.Repair = true;
    Request.Verify = true;
    Request.AfterPass = [&] { return false; };
    Engine.Act = [](std::size_t index, TDM& dm, ReportSink& report) {
        if (index == 1) {
            report.AddReportRow("TABLE", "T", "not exist");
            dm.ScriptLines = {"S"};
        }
    };
    const RunOutcome outcome = Run();
    ASSERT_EQ(Engine.Passes.size(), 2u);
    EXPECT_FALSE(Engine.Passes[1].repair);
    EXPECT_TRUE(Engine.Passes[1].report);
    EXPECT_TRUE(Engine.Passes[1].oldConnected);
    EXPECT_TRUE(Engine.Passes[1].newConnected);
    EXPECT_FALSE(outcome.Found);
    EXPECT_TRUE(outcome.Verified);
    EXPECT_FALSE(outcome.Converged);
    EXPECT_EQ(outcome.Left.Rows(), (std::vector<ReportRows::Row>{{"TABLE", "T", "not exist"}}));
    // The caller's report never sees the verification's rows, and its script is no file.
    EXPECT_TRUE(FindingRows(Rep).empty());
    EXPECT_EQ(ReadText(ScriptPath), "<missing>");
    EXPECT_EQ(Steps.Log, (Lines{"begin First", "end", "begin Second", "end", "pass end", "begin Verify First", "end",
                                "begin Verify Second", "end", "pass end"}));
    ExpectClosed();

    Engine.Act = nullptr;
    const RunOutcome clean = Run();
    EXPECT_TRUE(clean.Converged);
    EXPECT_EQ(clean.Left.Rows(), (std::vector<ReportRows::Row>{{"", "", ""}}));
}

TEST_F(RunSequenceTest, TheHookBeforeConnectingComesAfterTheDistinctCheckAndNamesTheOldToAttach)
{
    TestDb copy(CurrentTestName() + "_copy");
    Request.OldField = OldDb->Path() + " rest";
    Request.Verify = true;
    std::string given;
    Request.BeforeConnect = [&](const std::string& oldName) {
        given = oldName;
        return copy.Path();
    };
    Run();
    EXPECT_EQ(given, OldDb->Path());
    ASSERT_EQ(Engine.Passes.size(), 2u);
    EXPECT_EQ(Engine.Passes[0].oldName, copy.Path());
    EXPECT_EQ(Engine.Passes[1].oldName, copy.Path());

    given.clear();
    Request.NewField = OldDb->Path();
    try {
        Run();
        FAIL() << "one database named twice was run";
    } catch (const DbError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Old Database and New Database are the same database: " + OldDb->Path());
    }
    EXPECT_TRUE(given.empty());
    EXPECT_EQ(Engine.Passes.size(), 2u);
}

TEST_F(RunSequenceTest, AnErrorClosesBothAndEndsTheRunWithTheModesOfTheMoment)
{
    Request.Repair = true;
    Request.Verify = true;
    bool after = false;
    Request.AfterPass = [&] { return after = true; };
    Engine.Act = [](std::size_t, TDM& dm, ReportSink&) {
        dm.CurrentFix = "TABLE T";
        throw DbError("refused here");
    };
    try {
        Run();
        FAIL() << "the error was lost";
    } catch (const DbError& error) {
        EXPECT_EQ(std::string(error.what()), "refused here");
    }
    EXPECT_FALSE(after);
    EXPECT_EQ(Engine.Passes.size(), 1u);
    EXPECT_TRUE(DM.RepairMode);
    EXPECT_EQ(DM.CurrentFix, "TABLE T");
    EXPECT_EQ(Steps.Log, (Lines{"begin First", "end", "begin Second"}));
    ExpectClosed();
    // The Old file is free again.
    EXPECT_NE(OldDb->Isql("select 1 from RDB$DATABASE;").find("1"), std::string::npos);
}

TEST_F(RunSequenceTest, AnOldThatCannotBeOpenedLeavesNewUnnamed)
{
    Request.OldField = OldDb->Path() + ".missing";
    EXPECT_THROW(Run(), DbError);
    EXPECT_TRUE(DM.NewDB.DatabaseName().empty());
    EXPECT_TRUE(Engine.Passes.empty());
    EXPECT_EQ(ReadText(ScriptPath), "<missing>");
}

TEST_F(RunSequenceTest, AnOutputThatIsADatabaseIsRefusedBeforeAnyAttachAndARepairWritesNoScript)
{
    Request.ScriptPath = OldDb->Path();
    try {
        Run();
        ADD_FAILURE() << "a script over Old was not refused";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot write the script to " + OldDb->Path() + ": it is the Old Database " + OldDb->Path());
    }
    Request.ScriptPath = ScriptPath;
    Request.Outputs = {{"the review", NewDb->Path()}};
    EXPECT_THROW(Run(), FileError);
    EXPECT_TRUE(Engine.Passes.empty());
    ExpectClosed();

    // A repair writes no script: only the other outputs are checked.
    Request.Outputs.clear();
    Request.ScriptPath = OldDb->Path();
    Request.Repair = true;
    Run();
    ASSERT_EQ(Engine.Passes.size(), 1u);
    EXPECT_TRUE(Engine.Passes[0].repair);
}
