// The port between the run both front ends share and the way it compares: what one pass gets,
// what an engine gives back, and what a front end asks of a run.
#pragma once
#include "data/Files.h"
#include "data/Interfaces.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class Connection;

// Told the caption of each stage of a pass ("Domains", "Table Fields", ...) and when it ends.
class StepSink {
public:
    virtual ~StepSink() = default;
    virtual void BeginStep(const std::string& caption) = 0;
    virtual void EndStep() = 0;
    // After the last stage of a pass that ran to its end; an error skips it.
    virtual void EndPass() = 0;
};

// What one pass works on: both databases, attached, and the pass's modes.
struct PassContext {
    Connection& oldDb;
    Connection& newDb;
    // Fixes are executed on Old rather than written to the script.
    bool repair = false;
    // Findings go to the report as rows.
    bool report = true;
};

// What varies between runs: the eight checks, or another way of comparing the pair.
class RunEngine {
public:
    virtual ~RunEngine() = default;
    // One pass over the attached pair in the context's modes: findings go to report, fixes to
    // the engine's script or to the Old Database, each stage is told to steps.
    virtual void Pass(const PassContext& pass, ReportSink& report, Progress& bar, StepSink& steps) = 0;
    // The script file's whole text from the last pass.
    virtual std::string ScriptText() const = 0;
    // Whether the last pass left a script.
    virtual bool HasScript() const { return !ScriptText().empty(); }
    // The character set a side's connection speaks in a pass of the given mode; empty for NONE.
    virtual std::string ConnectionCharset(bool oldSide, bool repairMode) const
    {
        (void)oldSide, (void)repairMode;
        return {};
    }
    // Whether the last pass found a difference, where the engine knows better than its rows,
    // every one of which counts otherwise.
    virtual std::optional<bool> Found() const { return std::nullopt; }
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
    // Files the caller writes from the run, such as its report: like the script, none may be
    // written over a database (CheckOutputIsNoDatabase), which is refused before anything runs.
    std::vector<OutputFile> Outputs;
    // When set, script mode hands the script's text here instead (the command line's standard output).
    std::function<void(const std::string& text)> ScriptWriter;
    // After the distinct check, before the modes and any attach: the name to attach as Old,
    // for the pass and the verification (the command line's rehearsal copy).
    std::function<std::string(const std::string& oldName)> BeforeConnect;
    // After the pass and the script, both still attached: the caller keeps or shows its report.
    // True runs the pass once more in repair mode without report rows (the window's "Repair").
    std::function<bool()> AfterPass;
    // After both are attached for the first pass, before it runs: the caller may ask the
    // connections what they are (the command line's report and its hints).
    std::function<void()> AfterConnect;
    // After the close, compare again over fresh connections in script mode.
    bool Verify = false;
    // Asked before the verification: false leaves it out, where nothing was repaired (the
    // command line's declined repair).
    std::function<bool()> VerifyWanted;
};
