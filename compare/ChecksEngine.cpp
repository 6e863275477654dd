// Each chosen kind as a step under its caption, through one owner of the comparators.
#include "compare/ChecksEngine.h"

#include <algorithm>

ChecksEngine::ChecksEngine(TDM& dm, const std::vector<CheckKind>& kinds)
    : dm_(dm), chosen_([kinds](CheckKind kind) { return std::find(kinds.begin(), kinds.end(), kind) != kinds.end(); })
{
}

void ChecksEngine::Pass(const PassContext&, ReportSink& report, Progress& bar, StepSink& steps)
{
    Checks checks(dm_, report);
    for (const auto& info : CheckKinds) {
        if (!chosen_(info.Kind))
            continue;
        steps.BeginStep(info.Caption);
        checks.Run(info.Kind, bar);
        steps.EndStep();
    }
}

std::string ChecksEngine::ScriptText() const
{
    std::string text;
    for (const auto& line : dm_.ScriptLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}
