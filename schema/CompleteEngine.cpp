// One pass of the complete comparison, stage by stage as the front ends show them.
#include "schema/CompleteEngine.h"
#include "schema/Apply.h"
#include "schema/Inspect.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/ScopedTransaction.h"

#include <algorithm>

namespace schema {

const std::vector<CompleteKind>& CompleteKinds()
{
    using K = ObjectKind;
    static const std::vector<CompleteKind> kinds{
        {"database", {K::Database, K::CharacterSet}},
        {"collations", {K::Collation}},   {"roles", {K::Role}},
        {"generators", {K::Generator}},   {"exceptions", {K::Exception}},
        {"domains", {K::Domain}},         {"tables", {K::Table, K::Field}},
        {"udf", {K::ExternalFunction}},   {"packages", {K::Package}},
        {"procedures", {K::Procedure}},   {"functions", {K::Function}},
        {"constraints", {K::Constraint}}, {"indices", {K::Index}},
        {"views", {K::View}},             {"triggers", {K::Trigger}},
        {"grants", {K::Grant}},
    };
    return kinds;
}

std::vector<ObjectKind> KindsOfWords(const std::vector<std::string>& words)
{
    std::vector<ObjectKind> kinds;
    for (const auto& complete : CompleteKinds())
        if (std::find(words.begin(), words.end(), complete.Word) != words.end())
            kinds.insert(kinds.end(), complete.Kinds.begin(), complete.Kinds.end());
    return kinds;
}

bool CompleteEngine::Chosen(ObjectKind kind) const
{
    const auto& kinds = options_.kinds;
    return kinds.empty() || std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

void CompleteEngine::Pass(const PassContext& pass, ReportSink& report, Progress& bar, StepSink& steps)
{
    summary_ = Summary{};
    found_ = false;
    // What the last repair altered is read back once, by the pass after it (a verification).
    const auto altered = std::move(altered_);
    altered_.clear();
    Plan& plan = summary_.plan;
    // Old's reads, its checks and its repair are one transaction, committed only by a repair
    // that ran whole; everything else rolls back, an error or a cancel included.
    ScopedTransaction oldWork(pass.oldDb);
    ScopedTransaction newReads(pass.newDb);
    InspectStats stats;
    steps.BeginStep("Reading Old Database");
    const Schema old = Inspect(pass.oldDb, oldWork.Get(), &stats);
    steps.EndStep();
    steps.BeginStep("Reading New Database");
    // What Old's server cannot hold of New is named, and the rest compared.
    const Fitted fitted = FitForServer(old, Inspect(pass.newDb, newReads.Get(), &stats));
    const Schema& neu = fitted.schema;
    steps.EndStep();
    queries_ = stats.queries;

    steps.BeginStep("Comparing");
    std::vector<Change> changes;
    for (auto& change : Diff(old, neu, DiffOptions{options_.ignoreWhitespace}))
        if (Chosen(change.kind))
            changes.push_back(std::move(change));
    const std::vector<Change> made = ChangesToMake(changes, options_.drop);
    steps.EndStep();

    steps.BeginStep("Checking data");
    const SafetyResult safety = CheckData(pass.oldDb, oldWork.Get(), old, neu, made, options_.force);
    steps.EndStep();

    PlanOptions planOptions;
    planOptions.rowCounts = safety.rowCounts;
    planOptions.force = options_.force;
    planOptions.notInPlace = safety.notInPlace;
    planOptions.generatorValues = safety.generatorValues;
    plan = MakePlan(old, neu, made, planOptions);
    plan.notMended.insert(plan.notMended.begin(), fitted.notes.begin(), fitted.notes.end());
    for (const auto& issue : safety.issues)
        plan.warnings.push_back(std::string(KindName(issue.kind)) + " " + issue.name + ": " + issue.message);
    for (const auto& [object, held] : safety.destructive)
        plan.warnings.push_back("destructive: drops " + object.Text() + " " + held);
    summary_.warnings = plan.warnings;
    summary_.warnings.insert(summary_.warnings.end(), plan.notMended.begin(), plan.notMended.end());
    Describe(pass, old, neu, changes, safety);
    if (pass.report)
        Report(report, changes, made, safety);
    ReadBack(altered, pass.oldDb, oldWork.Get(), old.dialect, report, pass.report);

    if (pass.repair && !safety.issues.empty() && !options_.force) {
        std::string text;
        for (const auto& issue : safety.issues)
            text += "\r\n" + std::string(KindName(issue.kind)) + " " + issue.name + ": " + issue.message;
        throw DbError(std::string("The repair was stopped before it changed anything; Old's rows fail these checks") +
                      (options_.forceOffered ? " (--force goes ahead):" : ":") + text);
    }
    if (pass.repair && (!plan.steps.empty() || !plan.migrations.empty())) {
        steps.BeginStep("Repairing");
        bar.SetMaximum(static_cast<int>(plan.steps.size()));
        Apply(plan, pass.oldDb, oldWork, [&](std::size_t index) { bar.SetPosition(static_cast<int>(index)); });
        NoteAltered(made, old, neu);
        steps.EndStep();
    } else if (!pass.repair) {
        steps.BeginStep("Writing script");
        steps.EndStep();
    }
}

std::string CompleteEngine::ScriptText() const
{
    return HasScript() ? schema::ScriptText(summary_.plan) : std::string();
}

// Every row, Old-only objects' included; what the plan makes counts as a finding.
void CompleteEngine::Report(ReportSink& report, const std::vector<Change>& changes, const std::vector<Change>& made,
                            const SafetyResult& safety)
{
    for (const auto& change : changes)
        for (const auto& message : change.Messages())
            report.AddReportRow(KindName(change.kind), change.name, message);
    for (const auto& issue : safety.issues)
        report.AddReportRow(KindName(issue.kind), issue.name, issue.message);
    // In a repair too, where no script carries the warnings.
    for (const auto& [object, held] : safety.destructive)
        report.AddReportRow(KindName(object.kind), object.name, "destructive: dropped " + held);
    found_ = !made.empty() || !safety.issues.empty() || !summary_.plan.notMended.empty();
}

void CompleteEngine::Describe(const PassContext& pass, const Schema& old, const Schema& neu,
                              const std::vector<Change>& changes, const SafetyResult& safety)
{
    auto side = [](Connection& db, const Schema& schema) {
        return SideInfo{db.DatabaseName(), db.ServerVersion(), schema.odsMajor, schema.dialect};
    };
    summary_.old = side(pass.oldDb, old);
    summary_.neu = side(pass.newDb, neu);
    const Ddl oldDdl(old.dialect), newDdl(neu.dialect);
    for (const auto& change : changes) {
        Finding finding;
        finding.action = change.action;
        finding.kind = change.kind;
        finding.name = change.name;
        if (change.action != Action::OnlyInOld)
            finding.newDefinition = newDdl.Definition(change.kind, change.to);
        if (change.action != Action::Create)
            finding.oldDefinition = oldDdl.Definition(change.kind, change.from);
        finding.destructive = safety.destructive.count(change.Object()) > 0;
        for (const auto& step : summary_.plan.steps)
            if (step.object == change.Object())
                finding.statements.push_back(step.sql);
        if (change.action != Action::Alter) {
            finding.message = change.Message();
            summary_.findings.push_back(std::move(finding));
            continue;
        }
        for (const auto& difference : change.properties) {
            Finding row = finding;
            row.message = difference.Message();
            row.difference = difference;
            summary_.findings.push_back(std::move(row));
        }
    }
}

void CompleteEngine::NoteAltered(const std::vector<Change>& made, const Schema& old, const Schema& neu)
{
    auto note = [&](const std::string& table, const std::string& column) {
        const Column* target = neu.relations.count(table) ? neu.relations.at(table).FindColumn(column) : nullptr;
        // A blob has no order to read a minimum and a maximum in.
        if (target && target->domain.empty() && TypeFamily(target->type) == 4)
            return;
        altered_[table].push_back(column);
    };
    for (const auto& c : made) {
        if (c.kind == ObjectKind::Field && c.action == Action::Alter && c.Has(Property::Type))
            note(c.table, c.key);
        if (c.kind == ObjectKind::Domain && c.Has(Property::Type) && TypeFamily(c.To<Domain>().type) != 4)
            for (const auto& [table, column] : ColumnsOfDomain(old, c.key))
                altered_[table].push_back(column->name);
    }
}

// One select a table: every value of an altered column is read, as its smallest and largest.
// A value the new type cannot hold fails the read, and the repair has not converged.
void CompleteEngine::ReadBack(const std::map<std::string, std::vector<std::string>>& altered, Connection& db,
                              Transaction& transaction, int dialect, ReportSink& report, bool reporting)
{
    const Ddl ddl(dialect);
    for (const auto& [table, columns] : altered) {
        std::string sql = "SELECT COUNT(*) AS N";
        for (const auto& column : columns)
            sql += ", MIN(" + ddl.Name(column) + "), MAX(" + ddl.Name(column) + ")";
        try {
            Query query(db, transaction, {sql + " FROM " + ddl.Name(table)});
            query.Dialect = static_cast<unsigned short>(dialect);
            query.Open();
            query.Close();
        } catch (const DbError& error) {
            found_ = true;
            if (reporting)
                report.AddReportRow(KindName(ObjectKind::Table), table,
                                    std::string("cannot be read after the repair: ") + error.what());
        } catch (const DdlError&) {
            // A name Old's dialect cannot write was refused by the plan already.
        }
    }
}

}
