// One pass of the complete comparison, stage by stage as the front ends show them.
#include "schema/CompleteEngine.h"
#include "schema/Apply.h"
#include "schema/Filter.h"
#include "schema/Inspect.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/ScopedTransaction.h"
#include "db/Watchdog.h"

#include <algorithm>
#include <future>

namespace schema {

namespace {

// "TABLE T" of "TABLE T: SQL SECURITY DEFINER needs Firebird 4 or later".
ObjectId ObjectOfText(const std::string& note)
{
    const std::string text = note.substr(0, note.find(": "));
    ObjectId best{ObjectKind::Database, ""};
    std::size_t longest = 0;
    for (int k = static_cast<int>(ObjectKind::Database); k <= static_cast<int>(ObjectKind::Mapping); ++k) {
        const auto kind = static_cast<ObjectKind>(k);
        const std::string word = KindName(kind);
        if (text == word && word.size() > longest) {
            best = {kind, ""};
            longest = word.size();
        } else if (text.rfind(word + " ", 0) == 0 && word.size() > longest) {
            best = {kind, text.substr(word.size() + 1)};
            longest = word.size();
        }
    }
    return best;
}

std::string Held(ObjectKind kind, long long n)
{
    if (kind == ObjectKind::Generator)
        return "holding " + std::to_string(n);
    return std::to_string(n) + (n == 1 ? " row" : " rows");
}

// "will drop (21 rows)" in a script, "dropped (21 rows)" in a repair.
std::string DropMessage(const ObjectId& object, const SafetyResult& safety, bool repairing)
{
    std::string text = repairing ? "dropped" : "will drop";
    if (auto held = safety.dropped.find(object); held != safety.dropped.end())
        text += " (" + Held(object.kind, held->second) + ")";
    return text;
}

// "not mended: needs a data migration: 3 rows of T (INTEGER -> VARCHAR(10)); --force migrates it".
std::string NotMendedMessage(const NotMended& item)
{
    std::string text = "not mended: " + item.why;
    if (!item.from.empty() && item.why.find(item.to) == std::string::npos)
        text += " (" + item.from + " -> " + item.to + ")";
    if (!item.option.empty())
        text += "; " + item.option + " mends it";
    return text;
}

}

std::shared_ptr<const Schema> ReadSchema(Connection& db)
{
    ScopedTransaction reads(db);
    return std::make_shared<const Schema>(Inspect(db, reads.Get()));
}

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
    InspectStats oldStats, newStats;
    // New is read on a thread of its own while Old is read here: the two catalogs are apart,
    // and so are their attachments. Leaving early, this waits for that read's end, which a
    // deadline or a cancel cuts as it cuts this thread's.
    std::future<Schema> newRead;
    if (!options_.newSchema)
        newRead = std::async(std::launch::async, [&, lent = watchdog::LentDeadline()] {
            const watchdog::LentDeadline::Borrow bound(lent);
            return Inspect(pass.newDb, newReads.Get(), &newStats);
        });
    steps.BeginStep("Reading Old Database");
    const Schema old = Inspect(pass.oldDb, oldWork.Get(), &oldStats);
    steps.EndStep();
    steps.BeginStep("Reading New Database");
    // What Old's server cannot hold of New is named, and the rest compared.
    const Fitted fitted = FitForServer(old, options_.newSchema ? *options_.newSchema : newRead.get());
    const Schema& neu = fitted.schema;
    steps.EndStep();
    queries_ = oldStats.queries + newStats.queries;

    steps.BeginStep("Comparing");
    std::vector<Change> changes, filteredOut;
    const ObjectFilter filter(options_.include, options_.exclude);
    for (auto& change : Diff(old, neu, DiffOptions{options_.ignoreWhitespace})) {
        if (!Chosen(change.kind))
            continue;
        if (filter.Keeps(change))
            changes.push_back(std::move(change));
        else
            filteredOut.push_back(std::move(change));
    }
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
    summary_.drop = options_.drop;
    madeAt_ = options_.madeAt.empty() ? NowText() : options_.madeAt;
    CollectWarnings(safety, fitted.notes);
    // What the plan needs and the filter left out is said, in the script too.
    for (const auto& warning : FilteredDependencies(neu, made, filteredOut)) {
        summary_.warnings.push_back(warning);
        plan.warnings.push_back(warning.Text());
    }
    Describe(pass, old, neu, changes, safety);
    if (pass.report)
        Report(report, changes, made, safety, pass.repair);
    ReadBack(altered, pass.oldDb, oldWork.Get(), old.dialect, report, pass.report);

    if (pass.repair && !safety.issues.empty() && !options_.force) {
        std::string text;
        for (const auto& issue : safety.issues)
            text += "\r\n" + std::string(KindName(issue.kind)) + " " + issue.name + ": " + issue.message;
        throw DbError(std::string("The repair was stopped before it changed anything; Old's rows fail these checks") +
                      (options_.forceOffered ? " (--force goes ahead):" : ":") + text);
    }
    if (pass.repair && (!plan.steps.empty() || !plan.migrations.empty())) {
        RunRepair(made, old, neu, pass, oldWork, bar, steps);
        // A drop is told once it is done, or, declined, as what would have been done.
        if (pass.report && summary_.repair.state != RepairOutcome::State::NotRun)
            for (const auto& object : drops_)
                report.AddReportRow(KindName(object.kind), object.name,
                                    DropMessage(object, safety,
                                                summary_.repair.state == RepairOutcome::State::Committed));
    } else if (!pass.repair) {
        steps.BeginStep("Writing script");
        steps.EndStep();
    }
}

void CompleteEngine::RunRepair(const std::vector<Change>& made, const Schema& old, const Schema& neu,
                               const PassContext& pass, ScopedTransaction& oldWork, Progress& bar, StepSink& steps)
{
    const Plan& plan = summary_.plan;
    RepairOutcome& outcome = summary_.repair;
    outcome.statements = summary_.Count().statements;
    if (options_.confirm && !options_.confirm(summary_)) {
        outcome.state = RepairOutcome::State::Declined;
        return;
    }
    steps.BeginStep("Repairing");
    bar.SetMaximum(static_cast<int>(plan.steps.size()));
    std::size_t at = 0;
    bool started = false;
    try {
        Apply(plan, pass.oldDb, oldWork, [&](std::size_t index) {
            started = true;
            at = index;
            bar.SetPosition(static_cast<int>(index));
        });
    } catch (const DbError& error) {
        outcome.state = RepairOutcome::State::Refused;
        outcome.refusedAt = !started            ? std::string("a data migration")
                            : at < plan.steps.size() ? plan.steps[at].object.Text()
                                                     : std::string("the commit");
        outcome.message = error.what();
        throw;
    }
    outcome.state = RepairOutcome::State::Committed;
    NoteAltered(made, old, neu);
    steps.EndStep();
}

std::string CompleteEngine::ScriptText() const
{
    if (!HasScript())
        return {};
    ScriptNotes notes;
    for (const auto& warning : summary_.warnings)
        if (warning.code != "not-mended")
            notes.beside.push_back(warning);
    for (const auto& finding : summary_.findings)
        if (finding.destructive)
            notes.destructive.insert(finding.Object());
    return ScriptHeader(summary_, {VORKAT_VERSION, madeAt_}) + schema::ScriptText(summary_.plan, notes);
}

// Each warning as the script, the report and the JSON give it, tied to its object.
void CompleteEngine::CollectWarnings(const SafetyResult& safety, const std::vector<std::string>& fitted)
{
    auto& warnings = summary_.warnings;
    for (const auto& issue : safety.issues) {
        const bool fails = issue.message.rfind("would fail", 0) == 0;
        warnings.push_back({fails ? "would-fail" : "would-cut", fails ? Severity::Error : Severity::Warning,
                            {issue.kind, issue.name}, issue.message});
    }
    for (const auto& [object, held] : safety.destructive)
        warnings.push_back({"drops-data", Severity::Warning, object, "destructive: drops it " + held});
    for (const auto& m : summary_.plan.migrations)
        warnings.push_back({"data-migration", Severity::Notice, m.object,
                            "rebuilt by a data migration: its values are copied in committed steps before the one "
                            "transaction, which puts the copy in its place"});
    // What Old's server cannot hold, then what the plan cannot mend.
    for (const auto& note : fitted) {
        NotMended item;
        item.code = "needs-newer-server";
        item.object = ObjectOfText(note);
        item.why = note.substr(std::min(note.size(), item.object.Text().size() + 2));
        summary_.notMended.push_back(item);
    }
    summary_.notMended.insert(summary_.notMended.end(), summary_.plan.left.begin(), summary_.plan.left.end());
    for (const auto& item : summary_.notMended)
        warnings.push_back({"not-mended", Severity::Warning, item.object, "not mended: " + item.why});
}

// Every row, Old-only objects' included; what the plan makes counts as a finding. With --drop, an
// Old-only object's row says that it goes, and what it takes with it.
void CompleteEngine::Report(ReportSink& report, const std::vector<Change>& changes, const std::vector<Change>& made,
                            const SafetyResult& safety, bool repairing)
{
    drops_.clear();
    for (const auto& change : changes) {
        if (change.action == Action::OnlyInOld && options_.drop && !change.LeftCopy()) {
            if (repairing)
                drops_.push_back(change.Object());
            else
                report.AddReportRow(KindName(change.kind), change.name, DropMessage(change.Object(), safety, false));
            continue;
        }
        for (const auto& message : change.Messages())
            report.AddReportRow(KindName(change.kind), change.name, message);
    }
    for (const auto& issue : safety.issues)
        report.AddReportRow(KindName(issue.kind), issue.name, issue.message);
    // Each difference left is a row of its own, with what would mend it.
    for (const auto& item : summary_.notMended)
        report.AddReportRow(KindName(item.object.kind), item.object.name, NotMendedMessage(item));
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
    if (!options_.newShownAs.empty())
        summary_.neu.database = options_.newShownAs;
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
        const ObjectId object = change.Object();
        bool dropped = false;
        for (const auto& step : summary_.plan.steps)
            if (step.object == object) {
                finding.statements.push_back(step.sql);
                dropped = dropped || step.phase < 0;
            }
        bool migrated = false;
        for (const auto& m : summary_.plan.migrations)
            if (m.object == object) {
                migrated = true;
                for (const auto* part : {&m.add, &m.copy, &m.restore})
                    finding.statements.insert(finding.statements.end(), part->begin(), part->end());
            }
        const bool left = std::any_of(summary_.notMended.begin(), summary_.notMended.end(),
                                      [&](const NotMended& item) { return item.object == object; });
        const bool cuts = std::any_of(safety.issues.begin(), safety.issues.end(), [&](const SafetyIssue& issue) {
            return issue.kind == change.kind && issue.name == change.name && issue.message.rfind("would cut", 0) == 0;
        });
        switch (change.action) {
        case Action::Create:
            finding.plannedAction = finding.statements.empty() && left ? FindingAction::Skip : FindingAction::Create;
            break;
        case Action::OnlyInOld:
            finding.plannedAction = finding.statements.empty() ? FindingAction::Skip : FindingAction::Drop;
            break;
        case Action::Alter:
            finding.plannedAction = migrated || dropped       ? FindingAction::Rebuild
                                    : finding.statements.empty() ? FindingAction::Skip
                                                                 : FindingAction::Alter;
            break;
        }
        if (auto held = safety.dropped.find(object); held != safety.dropped.end())
            finding.rows = held->second;
        else
            for (const auto& item : summary_.notMended)
                if (item.object == object && item.rows >= 0)
                    finding.rows = item.rows;
        // What can lose data: a table, column or generator dropped, a column dropped and added
        // again or migrated, a new type that cuts values.
        const bool holder = change.kind == ObjectKind::Table || change.kind == ObjectKind::Field;
        finding.destructive =
            safety.destructive.count(object) > 0 || cuts || migrated ||
            (holder && (finding.plannedAction == FindingAction::Drop ||
                        (change.kind == ObjectKind::Field && finding.plannedAction == FindingAction::Rebuild)));
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
