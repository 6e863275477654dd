// The eight checks as the engine of a run: the chosen kinds in their fixed order, one step each.
#pragma once
#include "compare/Checks.h"
#include "data/RunSequence.h"

#include <functional>
#include <utility>
#include <vector>

class ChecksEngine : public RunEngine {
public:
    // Asked for each kind as the pass reaches it, so that the window's boxes count as they are then.
    explicit ChecksEngine(std::function<bool(CheckKind)> chosen) : chosen_(std::move(chosen)) {}
    // The kinds of a list, such as the command line's --only; the order stays the fixed one.
    explicit ChecksEngine(const std::vector<CheckKind>& kinds);

    // Fresh comparators for each pass, bound to that pass's report.
    void Pass(TDM& dm, ReportSink& report, Progress& bar, StepSink& steps) override;
    // The script is ScriptLines as it stands; no need to build its text to know.
    bool HasScript(const TDM& dm) const override { return !dm.ScriptLines.empty(); }

private:
    std::function<bool(CheckKind)> chosen_;
};
