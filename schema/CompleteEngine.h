// The complete comparison as the engine of a run: inspect both catalogs, diff, plan, then
// write the plan as a script or apply it in one transaction.
#pragma once
#include "run/Engine.h"
#include "schema/Plan.h"
#include "schema/Safety.h"
#include "schema/Summary.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class Connection;
class Transaction;
class ScopedTransaction;

namespace schema {

// A database's catalog as a pass reads it, in a transaction of its own.
std::shared_ptr<const Schema> ReadSchema(Connection& db);

// The kinds as the command line names them, in plan order, each with the object kinds it covers.
struct CompleteKind {
    const char* Word;
    std::vector<ObjectKind> Kinds;
};
const std::vector<CompleteKind>& CompleteKinds();
// The object kinds of command-line words, as CompleteKinds pairs them; unknown words add none.
std::vector<ObjectKind> KindsOfWords(const std::vector<std::string>& words);

struct CompleteOptions {
    // The kinds of object to compare (KindsOfWords); empty compares every kind.
    std::vector<ObjectKind> kinds;
    // Objects only Old has are dropped, and then count as differences.
    bool drop = false;
    // A repair goes ahead although Old's rows fail a safety check.
    bool force = false;
    // The front end offers force (the command line's --force); the window does not, and its
    // safety stop then does not name it.
    bool forceOffered = true;
    bool ignoreWhitespace = false;
    // A pass in script mode may be followed by a repair on the same connections (the window's
    // "Repair"), so Old must be attached as a repair needs it.
    bool repairMayFollow = false;
    // Asked with the whole pass before a repair changes anything (the command line's question,
    // the window's dialog); false leaves Old as it is, and the pass ends as declined.
    std::function<bool(const Summary&)> confirm;
    // When the script's head says it was written; empty is the time of the pass.
    std::string madeAt;
    // New's catalog as read once before (ReadSchema), for many Old Databases against one New;
    // none reads it in each pass.
    std::shared_ptr<const Schema> newSchema;
    // --include and --exclude: globs on object names, "KIND:GLOB" for one kind (Filter.h).
    std::vector<std::string> include;
    std::vector<std::string> exclude;
    // How the summary names New, where the name attached is not the user's (a database built
    // from files); empty names the database attached.
    std::string newShownAs;
};

class CompleteEngine : public RunEngine {
public:
    explicit CompleteEngine(CompleteOptions options = {}) : options_(std::move(options)) {}

    void Pass(const PassContext& pass, ReportSink& report, Progress& bar, StepSink& steps) override;
    // The script of the last pass; empty when it planned nothing.
    std::string ScriptText() const override;
    // Metadata text is UTF-8 in the catalog, and statements in UTF-8 reach it unchanged: Old
    // speaks UTF-8 where it is repaired. What is only read, its text as bytes, goes in NONE,
    // which passes the bytes on without the cost of a conversion.
    std::string ConnectionCharset(bool oldSide, bool repairMode) const override
    {
        return oldSide && (repairMode || options_.repairMayFollow) ? "UTF8" : "";
    }
    // A plan of nothing but what it cannot mend is written too: the script names each.
    bool HasScript() const override
    {
        return !summary_.plan.steps.empty() || !summary_.plan.migrations.empty() || !summary_.plan.notMended.empty();
    }
    // Rows of objects that only Old has are listed but are no difference unless --drop drops them.
    std::optional<bool> Found() const override { return found_; }

    const Plan& LastPlan() const { return summary_.plan; }
    // Everything the last pass found, for the review report.
    const Summary& LastSummary() const { return summary_; }
    // Catalog queries of the last pass, both databases together.
    int Queries() const { return queries_; }

private:
    bool Chosen(ObjectKind kind) const;
    void Report(ReportSink& report, const std::vector<Change>& changes, const std::vector<Change>& planned,
                const SafetyResult& safety, bool repairing);
    void Describe(const PassContext& pass, const Schema& old, const Schema& neu, const std::vector<Change>& changes,
                  const SafetyResult& safety);
    void CollectWarnings(const SafetyResult& safety, const std::vector<std::string>& fitted);
    void RunRepair(const std::vector<Change>& made, const Schema& old, const Schema& neu, const PassContext& pass,
                   ScopedTransaction& oldWork, Progress& bar, StepSink& steps);
    // The columns a repair gave another type, by table, for the pass after it to read back.
    void NoteAltered(const std::vector<Change>& made, const Schema& old, const Schema& neu);
    void ReadBack(const std::map<std::string, std::vector<std::string>>& altered, Connection& db,
                  Transaction& transaction, int dialect, ReportSink& report, bool reporting);

    CompleteOptions options_;
    Summary summary_;
    bool found_ = false;
    int queries_ = 0;
    std::string madeAt_;
    // In a repair, what --drop drops: its rows come after the repair, which may not happen.
    std::vector<ObjectId> drops_;
    std::map<std::string, std::vector<std::string>> altered_;
};

}
