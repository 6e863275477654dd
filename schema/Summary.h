// What one pass of the complete comparison found, whole, for a review: both sides, every
// finding with both definitions and the statements planned for it, and the plan itself.
#pragma once
#include "schema/Plan.h"

#include <cstddef>
#include <string>
#include <vector>

namespace schema {

struct SideInfo {
    std::string database;
    std::string serverVersion;
    int ods = 0;
    int dialect = 0;
};

// What the plan does to a finding's object.
enum class FindingAction {
    Create,   // made: New has it, Old lacks it
    Alter,    // changed in place
    Rebuild,  // dropped and made again (or its values migrated into a new column)
    Drop,     // only Old has it, and --drop drops it
    Skip,     // left as it is: only in Old without --drop, or a difference the plan cannot mend
};
// "create", "alter", "rebuild", "drop", "skip": the words of the JSON report.
const char* FindingActionWord(FindingAction action);

// The codes a Warning may carry, each with what it means.
//   would-fail       Old's rows would make a statement fail (stops a repair)
//   would-cut        a value would be cut or rounded by a new type
//   may-lose-data    a change that can lose what a row holds
//   drops-data       --drop drops an object that holds rows or values
//   not-mended       a difference the plan cannot mend: see the NotMended item's own code
//   data-migration   --force migrates a column's values in committed steps
struct WarningCode {
    const char* code;
    const char* meaning;
};
const std::vector<WarningCode>& WarningCodes();

struct Finding {
    Action action = Action::Create;
    ObjectKind kind = ObjectKind::Table;
    std::string name;
    std::string message;  // as the report row shows it
    // One property that differs, old value first; property None for a missing or an Old-only object.
    PropertyChange difference;
    // The object's statement on each side, empty on the side that lacks it.
    std::string oldDefinition;
    std::string newDefinition;
    std::vector<std::string> statements;  // what the plan runs for it
    // The statements can lose data: a drop of what holds rows or values, a column dropped and
    // added again, a migrated column, a new type that may cut values.
    bool destructive = false;
    // What the plan does to it.
    FindingAction plannedAction = FindingAction::Create;
    // The rows (or, for a generator, the value) the object holds, where that was counted; -1 otherwise.
    long long rows = -1;
    ObjectId Object() const { return {kind, name}; }
};

// Counts of one pass, as the summary line, the script's header and the reports give them.
struct Counts {
    std::size_t missing = 0;    // New has it, Old lacks it
    std::size_t different = 0;  // objects that differ (not rows of properties)
    std::size_t onlyInOld = 0;  // Old-only objects, dropped or not
    std::size_t dropped = 0;    // Old-only objects the plan drops
    std::size_t notMended = 0;
    std::size_t warnings = 0;
    std::size_t statements = 0;  // the plan's statements, migrations' included
    bool Agree() const { return missing == 0 && different == 0 && dropped == 0 && notMended == 0; }
};

// How a repair ended.
struct RepairOutcome {
    enum class State { NotRun, Committed, Refused, Declined };
    State state = State::NotRun;
    std::size_t statements = 0;  // statements run (committed), or planned (declined)
    // For Refused: the object of the refused statement, and the server's message.
    std::string refusedAt;
    std::string message;
};

struct Summary {
    SideInfo old;
    SideInfo neu;
    // Safety checks of Old's rows, what --drop destroys, and what cannot be mended: every one
    // tied to its object, in the order the script lists them.
    std::vector<Warning> warnings;
    std::vector<Finding> findings;
    // The differences the plan leaves, each with what would mend it.
    std::vector<NotMended> notMended;
    Plan plan;
    bool drop = false;  // --drop: Old-only objects are dropped
    RepairOutcome repair;

    Counts Count() const;
    // The findings about one object.
    std::vector<const Finding*> FindingsOf(const ObjectId& object) const;
};

// The head of a script: which Vorkat wrote it and when, both databases with their servers,
// the counts, what is left unmended, and the note on server-named constraints where the
// script names one.
struct ScriptFacts {
    std::string version;
    std::string madeAt;
};
std::string ScriptHeader(const Summary& summary, const ScriptFacts& facts);
// "2024-05-01 10:34 UTC": the current time as the script's head and the review show it.
std::string NowText();
// "2 missing, 1 different, 3 only in Old (3 dropped), 0 not mended, 1 warning; 12 statements".
std::string CountsText(const Counts& counts);

}
