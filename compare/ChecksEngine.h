// The eight checks as the engine of a run: the chosen kinds in their fixed order, one step each.
#pragma once
#include "compare/Checks.h"
#include "data/DM.h"
#include "run/Engine.h"

#include <functional>
#include <utility>
#include <vector>

class ChecksEngine : public RunEngine {
public:
    // Asked for each kind as the pass reaches it, so that the window's boxes count as they are then.
    ChecksEngine(TDM& dm, std::function<bool(CheckKind)> chosen) : dm_(dm), chosen_(std::move(chosen)) {}
    // The kinds of a list, such as the command line's --only; the order stays the fixed one.
    ChecksEngine(TDM& dm, const std::vector<CheckKind>& kinds);

    // Fresh comparators for each pass, bound to that pass's report; the checks work through
    // the data module, whose modes the run has set as the context says.
    void Pass(const PassContext& pass, ReportSink& report, Progress& bar, StepSink& steps) override;
    // Every line of ScriptLines followed by CR LF.
    std::string ScriptText() const override;
    // The script is ScriptLines as it stands; no need to build its text to know.
    bool HasScript() const override { return !dm_.ScriptLines.empty(); }

private:
    TDM& dm_;
    std::function<bool(CheckKind)> chosen_;
};
