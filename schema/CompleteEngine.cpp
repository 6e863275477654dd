// One pass of the complete comparison, stage by stage as the front ends show them.
#include "schema/CompleteEngine.h"
#include "schema/Apply.h"
#include "schema/Inspect.h"

#include <algorithm>

namespace schema {

const std::vector<CompleteKind>& CompleteKinds()
{
    static const std::vector<CompleteKind> kinds{
        {"collations", {"COLLATION"}},   {"roles", {"ROLE"}},
        {"generators", {"GENERATOR"}},   {"exceptions", {"EXCEPTION"}},
        {"domains", {"DOMAIN"}},         {"tables", {"TABLE", "FIELD"}},
        {"udf", {"EXTERNAL FUNCTION"}},  {"packages", {"PACKAGE"}},
        {"procedures", {"PROCEDURE"}},   {"functions", {"FUNCTION"}},
        {"constraints", {"CONSTRAINT"}}, {"indices", {"INDEX"}},
        {"views", {"VIEW"}},             {"triggers", {"TRIGGER"}},
        {"grants", {"GRANT"}},
    };
    return kinds;
}

bool CompleteEngine::Chosen(const std::string& type) const
{
    if (words_.empty())
        return true;
    for (const auto& kind : CompleteKinds())
        if (std::find(words_.begin(), words_.end(), kind.Word) != words_.end() &&
            std::find(kind.Types.begin(), kind.Types.end(), type) != kind.Types.end())
            return true;
    return false;
}

bool CompleteEngine::IsFinding(const std::string&, const std::string&, const std::string& message) const
{
    return message != kOnlyInOldMessage;
}

void CompleteEngine::Pass(TDM& dm, ReportSink& report, Progress& bar, StepSink& steps)
{
    plan_ = Plan{};
    InspectStats stats;
    steps.BeginStep("Reading Old Database");
    const Schema old = Inspect(dm.OldDB, dm.OldTran, &stats);
    steps.EndStep();
    steps.BeginStep("Reading New Database");
    const Schema neu = Inspect(dm.NewDB, dm.NewTran, &stats);
    steps.EndStep();
    queries_ = stats.queries;

    steps.BeginStep("Comparing");
    std::vector<Change> changes;
    for (auto& change : Diff(old, neu))
        if (Chosen(change.type))
            changes.push_back(std::move(change));
    if (dm.ReportMode)
        for (const auto& change : changes)
            report.AddReportRow(change.type, change.name, change.Message());
    plan_ = MakePlan(old, neu, changes);
    steps.EndStep();

    if (dm.RepairMode && !plan_.steps.empty()) {
        steps.BeginStep("Repairing");
        bar.SetMaximum(static_cast<int>(plan_.steps.size()));
        Apply(plan_, dm.OldDB, dm.OldTran, [&](std::size_t index) { bar.SetPosition(static_cast<int>(index)); });
        steps.EndStep();
    } else if (!dm.RepairMode) {
        steps.BeginStep("Writing script");
        steps.EndStep();
    }
}

std::string CompleteEngine::ScriptText(const TDM&) const
{
    return plan_.steps.empty() ? std::string() : schema::ScriptText(plan_);
}

}
