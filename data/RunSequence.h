// The run both front ends share: names, modes, connections, the engine's pass, the script, the close and a verification.
#pragma once
#include "data/DM.h"
#include "data/Interfaces.h"
#include "data/Report.h"

#include <functional>
#include <string>

// Told the caption of each stage of a pass ("Domains", "Table Fields", ...) and when it ends.
class StepSink {
public:
    virtual ~StepSink() = default;
    virtual void BeginStep(const std::string& caption) = 0;
    virtual void EndStep() = 0;
    // After the last stage of a pass that ran to its end; an error skips it.
    virtual void EndPass() = 0;
};

// What varies between runs: the eight checks, or another way of comparing the pair.
class RunEngine {
public:
    virtual ~RunEngine() = default;
    // One pass over the connected pair in dm's modes (RepairMode, ReportMode): findings go to
    // report, fixes to dm.ScriptLines or to the Old Database, each stage is told to steps.
    virtual void Pass(TDM& dm, ReportSink& report, Progress& bar, StepSink& steps) = 0;
    // The script file's whole text; by default every line of dm.ScriptLines followed by CR LF.
    virtual std::string ScriptText(const TDM& dm) const;
    // Whether the pass left a script; with the rows it reported, whether it found anything.
    virtual bool HasScript(const TDM& dm) const { return !ScriptText(dm).empty(); }
    // The character set a side's connection speaks in a pass of the given mode; empty for NONE,
    // in which the checks read.
    virtual std::string ConnectionCharset(bool oldSide, bool repairMode) const
    {
        (void)oldSide, (void)repairMode;
        return {};
    }
    // Whether a row the pass reported counts as a difference; every row does by default.
    virtual bool IsFinding(const std::string& type, const std::string& name, const std::string& message) const
    {
        (void)type, (void)name, (void)message;
        return true;
    }
};

// What a front end asks of one run.
struct RunRequest {
    // The two names as typed; DatabaseNameFromField is applied here.
    std::string OldField;
    std::string NewField;
    // The first pass's modes: executed fixes or a script, and report rows or none.
    bool Repair = false;
    bool Report = true;
    // Where script mode saves the engine's script; empty saves none.
    std::string ScriptPath;
    // When set, script mode hands the script's text here instead (the command line's standard output).
    std::function<void(const std::string& text)> ScriptWriter;
    // After the distinct check, before the modes and any attach: the name to attach as Old,
    // for the pass and the verification (the command line's rehearsal copy).
    std::function<std::string(const std::string& oldName)> BeforeConnect;
    // After the pass and the script, both still attached: the caller keeps or shows its report.
    // True runs the pass once more in repair mode without report rows (the window's "Repair").
    std::function<bool()> AfterPass;
    // After the close, compare again over fresh connections in script mode.
    bool Verify = false;
};

// What a run found, for exit statuses and the verification's verdict.
struct RunOutcome {
    // The first pass reported a finding or left a script.
    bool Found = false;
    bool Verified = false;
    // The verification found nothing.
    bool Converged = false;
    // The verification's rows, as the report grid would hold them.
    ReportRows Left;
};

// Old is attached before New and closed after it, also after an error, which then travels on
// with dm's modes and CurrentFix as they were when it happened.
class RunSequence {
public:
    RunSequence(TDM& dm, RunEngine& engine, ReportSink& report, Progress& bar, StepSink& steps)
        : dm_(dm), engine_(engine), report_(report), bar_(bar), steps_(steps) {}

    RunOutcome Run(const RunRequest& request);

private:
    void Connect(const std::string& oldName, const std::string& newName);
    // The engine's pass and its end; true when it found anything.
    bool Pass(ReportSink& report, StepSink& steps);
    void SaveScript(const RunRequest& request);
    void Verify(const std::string& oldName, const std::string& newName, RunOutcome& outcome);

    TDM& dm_;
    RunEngine& engine_;
    ReportSink& report_;
    Progress& bar_;
    StepSink& steps_;
};
