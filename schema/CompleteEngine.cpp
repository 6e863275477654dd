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
    summary_ = Summary{};
    Plan& plan = summary_.plan;
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
    plan = MakePlan(old, neu, changes);
    Describe(dm, old, neu, changes);
    steps.EndStep();

    if (dm.RepairMode && !plan.steps.empty()) {
        steps.BeginStep("Repairing");
        bar.SetMaximum(static_cast<int>(plan.steps.size()));
        Apply(plan, dm.OldDB, dm.OldTran, [&](std::size_t index) { bar.SetPosition(static_cast<int>(index)); });
        steps.EndStep();
    } else if (!dm.RepairMode) {
        steps.BeginStep("Writing script");
        steps.EndStep();
    }
}

std::string CompleteEngine::ScriptText(const TDM&) const
{
    return summary_.plan.steps.empty() ? std::string() : schema::ScriptText(summary_.plan);
}

void CompleteEngine::Describe(TDM& dm, const Schema& old, const Schema& neu, const std::vector<Change>& changes)
{
    auto side = [](Connection& db, const Schema& schema) {
        return SideInfo{db.DatabaseName(), db.ServerVersion(), schema.odsMajor, schema.dialect};
    };
    summary_.old = side(dm.OldDB, old);
    summary_.neu = side(dm.NewDB, neu);
    for (const auto& change : changes) {
        Finding finding;
        finding.type = change.type;
        finding.name = change.name;
        finding.message = change.Message();
        if (change.action == Action::Create)
            finding.newDefinition = Definition(neu, change);
        else
            finding.oldDefinition = Definition(old, change);
        for (const auto& step : summary_.plan.steps)
            if (step.type == change.type && step.name == change.name)
                finding.statements.push_back(step.sql);
        summary_.findings.push_back(std::move(finding));
    }
}

}
