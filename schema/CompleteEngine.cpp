// One pass of the complete comparison, stage by stage as the front ends show them.
#include "schema/CompleteEngine.h"
#include "schema/Apply.h"
#include "schema/Inspect.h"
#include "schema/Safety.h"
#include "db/DbError.h"

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
    const auto& words = options_.kinds;
    if (words.empty())
        return true;
    for (const auto& kind : CompleteKinds())
        if (std::find(words.begin(), words.end(), kind.Word) != words.end() &&
            std::find(kind.Types.begin(), kind.Types.end(), type) != kind.Types.end())
            return true;
    return false;
}

bool CompleteEngine::IsFinding(const std::string&, const std::string&, const std::string& message) const
{
    return options_.drop || message != kOnlyInOldMessage;
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
    for (auto& change : Diff(old, neu, DiffOptions{options_.ignoreWhitespace}))
        if (Chosen(change.type))
            changes.push_back(std::move(change));
    steps.EndStep();

    steps.BeginStep("Checking data");
    const SafetyResult safety = CheckData(dm.OldDB, dm.OldTran, old, neu, changes, options_.drop);
    steps.EndStep();

    PlanOptions planOptions;
    planOptions.drop = options_.drop;
    planOptions.rowCounts = safety.rowCounts;
    planOptions.force = options_.force;
    plan = MakePlan(old, neu, changes, planOptions);
    for (const auto& issue : safety.issues)
        plan.warnings.push_back(issue.type + " " + issue.name + ": " + issue.message);
    for (const auto& [object, rows] : safety.destructive)
        plan.warnings.push_back("destructive: drops " + object + " with " + std::to_string(rows) +
                                (rows == 1 ? " row" : " rows"));
    summary_.warnings = plan.warnings;
    summary_.warnings.insert(summary_.warnings.end(), plan.notMended.begin(), plan.notMended.end());
    Describe(dm, old, neu, changes, safety);
    if (dm.ReportMode) {
        for (const auto& change : changes)
            report.AddReportRow(change.type, change.name, change.Message());
        for (const auto& issue : safety.issues)
            report.AddReportRow(issue.type, issue.name, issue.message);
    }

    if (dm.RepairMode && !safety.issues.empty() && !options_.force) {
        std::string text;
        for (const auto& issue : safety.issues)
            text += "\r\n" + issue.type + " " + issue.name + ": " + issue.message;
        throw DbError("The repair was stopped before it changed anything; Old's rows fail these checks "
                      "(--force goes ahead):" + text);
    }
    if (dm.RepairMode && (!plan.steps.empty() || !plan.migrations.empty())) {
        steps.BeginStep("Repairing");
        bar.SetMaximum(static_cast<int>(plan.steps.size()));
        Apply(plan, dm.OldDB, dm.OldTran, [&](std::size_t index) { bar.SetPosition(static_cast<int>(index)); });
        steps.EndStep();
    } else if (!dm.RepairMode) {
        steps.BeginStep("Writing script");
        steps.EndStep();
    }
}

std::string CompleteEngine::ScriptText(const TDM& dm) const
{
    return HasScript(dm) ? schema::ScriptText(summary_.plan) : std::string();
}

void CompleteEngine::Describe(TDM& dm, const Schema& old, const Schema& neu, const std::vector<Change>& changes,
                              const SafetyResult& safety)
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
        finding.property = change.property;
        finding.oldValue = change.oldValue;
        finding.newValue = change.newValue;
        if (change.action != Action::OnlyInOld)
            finding.newDefinition = Definition(neu, change);
        if (change.action != Action::Create) {
            Change onOld = change;
            if (!change.oldKey.empty())
                onOld.key = change.oldKey;
            finding.oldDefinition = Definition(old, onOld);
        }
        finding.destructive = safety.destructive.count(change.type + " " + change.name) > 0;
        for (const auto& step : summary_.plan.steps)
            if (step.type == change.type && step.name == change.name)
                finding.statements.push_back(step.sql);
        summary_.findings.push_back(std::move(finding));
    }
}

}
