// Each chosen kind as a step under its caption, through one owner of the comparators.
#include "compare/ChecksEngine.h"

#include <algorithm>

ChecksEngine::ChecksEngine(const std::vector<CheckKind>& kinds)
    : chosen_([kinds](CheckKind kind) { return std::find(kinds.begin(), kinds.end(), kind) != kinds.end(); })
{
}

void ChecksEngine::Pass(TDM& dm, ReportSink& report, Progress& bar, StepSink& steps)
{
    Checks checks(dm, report);
    for (const auto& info : CheckKinds) {
        if (!chosen_(info.Kind))
            continue;
        steps.BeginStep(info.Caption);
        checks.Run(info.Kind, bar);
        steps.EndStep();
    }
}
