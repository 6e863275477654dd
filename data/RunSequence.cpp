// The shared run in its fixed order; the engine and the caller's hooks fill in the rest.
#include "data/RunSequence.h"
#include "data/Files.h"
#include "db/Watchdog.h"

#include <cctype>

#include <utility>

namespace {

// Closes both connections on the way out, New first: closing commits what is pending, and a
// rehearsal copy the caller removes afterwards must no longer be attached.
struct ClosedAtEnd {
    TDM& dm;
    ~ClosedAtEnd()
    {
        dm.NewDB.Close();
        dm.OldDB.Close();
    }
};

// Passes rows on and tells whether they hold a finding as ReportRows would keep them: a last
// row without a type is taken over by the next one, so only its final content counts.
class FindingsTee : public ReportSink {
public:
    explicit FindingsTee(ReportSink& next) : next_(next) {}

    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override
    {
        next_.AddReportRow(type, objectName, message);
        if (!last_[0].empty())
            earlier_ = true;
        last_ = {type, objectName, message};
    }

    bool Found() const { return earlier_ || IsFindingRow(last_); }

private:
    ReportSink& next_;
    ReportRows::Row last_{};
    bool earlier_ = false;
};

// Tells the watchdog what the run is doing, for the message of a run that times out:
// "checking Table Fields", "reading Old Database", "verifying, checking Domains".
class WatchedSteps : public StepSink {
public:
    explicit WatchedSteps(StepSink& next) : next_(next) {}
    void BeginStep(const std::string& caption) override
    {
        watchdog::SetStep(Phrase(caption));
        next_.BeginStep(caption);
    }
    void EndStep() override { next_.EndStep(); }
    void EndPass() override { next_.EndPass(); }

    static std::string Phrase(const std::string& caption)
    {
        const std::string verify = "Verify ";
        if (caption.compare(0, verify.size(), verify) == 0)
            return "verifying, " + Phrase(caption.substr(verify.size()));
        const std::string first = caption.substr(0, caption.find(' '));
        if (first.size() > 3 && first.compare(first.size() - 3, 3, "ing") == 0)
            return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[0]))) + caption.substr(1);
        return "checking " + caption;
    }

private:
    StepSink& next_;
};

// The verification's captions, told apart from the pass it checks.
class PrefixedSteps : public StepSink {
public:
    PrefixedSteps(StepSink& next, std::string prefix) : next_(next), prefix_(std::move(prefix)) {}
    void BeginStep(const std::string& caption) override { next_.BeginStep(prefix_ + caption); }
    void EndStep() override { next_.EndStep(); }
    void EndPass() override { next_.EndPass(); }

private:
    StepSink& next_;
    std::string prefix_;
};

}

RunOutcome RunSequence::Run(const RunRequest& request)
{
    RunOutcome outcome;
    std::string oldName = DatabaseNameFromField(request.OldField);
    const std::string newName = DatabaseNameFromField(request.NewField);
    // Before any copy of Old, which would hide that both names are one file.
    CheckDistinctDatabases(oldName, newName);
    if (!request.Repair)
        CheckOutputIsNoDatabase({"the script", request.ScriptPath}, oldName, newName);
    for (const auto& output : request.Outputs)
        CheckOutputIsNoDatabase(output, oldName, newName);
    if (request.BeforeConnect)
        oldName = request.BeforeConnect(oldName);
    {
        ClosedAtEnd closed{dm_};
        dm_.RepairMode = request.Repair;
        dm_.ReportMode = request.Report;
        // Each run's script holds that run's blocks only.
        dm_.ScriptLines.clear();
        Connect(oldName, newName);
        if (request.AfterConnect)
            request.AfterConnect();
        outcome.Found = Pass(report_, steps_);
        if (!dm_.RepairMode)
            SaveScript(request);
        if (request.AfterPass && request.AfterPass()) {
            dm_.RepairMode = true;
            dm_.ReportMode = false;
            dm_.CheckOldWritable();
            Pass(report_, steps_);
        }
    }
    if (request.Verify && (!request.VerifyWanted || request.VerifyWanted()))
        Verify(oldName, newName, outcome);
    return outcome;
}

void RunSequence::Connect(const std::string& oldName, const std::string& newName)
{
    dm_.OldDB.CharacterSet = engine_.ConnectionCharset(true, dm_.RepairMode);
    dm_.NewDB.CharacterSet = engine_.ConnectionCharset(false, dm_.RepairMode);
    // New's name is set only once Old is attached: a failed Old leaves New untouched.
    dm_.OldDB.SetDatabaseName(oldName);
    dm_.ConnectOld();
    dm_.NewDB.SetDatabaseName(newName);
    dm_.ConnectNew();
    dm_.CheckAttachedDistinct();
}

bool RunSequence::Pass(ReportSink& report, StepSink& steps)
{
    FindingsTee findings(report);
    WatchedSteps watched(steps);
    engine_.Pass(PassContext{dm_.OldDB, dm_.NewDB, dm_.RepairMode, dm_.ReportMode}, findings, bar_, watched);
    steps.EndPass();
    const std::optional<bool> found = engine_.Found();
    return (found ? *found : findings.Found()) || engine_.HasScript();
}

void RunSequence::SaveScript(const RunRequest& request)
{
    watchdog::SetStep("writing the script");
    if (request.ScriptWriter)
        request.ScriptWriter(engine_.ScriptText());
    else if (!request.ScriptPath.empty())
        ReplaceFile(request.ScriptPath, engine_.ScriptText());
}

void RunSequence::Verify(const std::string& oldName, const std::string& newName, RunOutcome& outcome)
{
    ClosedAtEnd closed{dm_};
    // Script mode into a scratch script: the repaired pair is only looked at.
    dm_.RepairMode = false;
    dm_.ReportMode = true;
    dm_.ScriptLines.clear();
    Connect(oldName, newName);
    PrefixedSteps steps(steps_, "Verify ");
    outcome.Converged = !Pass(outcome.Left, steps);
    outcome.Verified = true;
}
