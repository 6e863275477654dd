// The ordered statements that bring Old up to date: what it lacks, what differs, and with
// --drop what only it has.
#pragma once
#include "schema/Ddl.h"
#include "schema/Diff.h"
#include "schema/Model.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace schema {

struct Step {
    int phase = 0;
    ObjectId object;    // what the statement acts on, as the script's comment names it
    std::string sql;    // without a terminator
    bool psql = false;  // needs SET TERM in a script
};

// A column whose type changes family on a table with rows, rebuilt with --force in two
// committed steps: Firebird cannot update a column in the transaction that added it.
// A column's values copied, CAST to New's type, into a column of their own before the one
// transaction; that transaction drops the old column and gives the copy its name and place.
struct Migration {
    ObjectId object;
    // The copy column, and the table's triggers on UPDATE made inactive, committed together: the
    // copy rewrites every row, and a trigger would change other columns of it, or refuse it.
    std::vector<std::string> add;
    std::vector<std::string> copy;     // the values, CAST, committed
    std::vector<std::string> restore;  // those triggers active again, committed, whether the copy ran or not
    std::vector<std::string> undo;     // when the copy or the one transaction fails: the copy column goes again
};

// How much a warning weighs. An Error stops a repair unless forced; a Warning is data that
// may be lost or a difference left; a Notice tells what the plan does in a way of its own.
enum class Severity { Error, Warning, Notice };
// "error", "warning", "notice".
const char* SeverityWord(Severity severity);

// One warning about the plan or Old's rows, tied to the object it is about.
struct Warning {
    // Stable for scripts and tools to act on (WarningCodes lists them).
    std::string code;
    Severity severity = Severity::Warning;
    ObjectId object;
    // Without the object: "would fail: 3 rows of T have C NULL".
    std::string message;
    // "FIELD T.C: would fail: ...".
    std::string Text() const { return object.Text() + ": " + message; }
    bool operator==(const Warning&) const = default;
};

// A difference the plan leaves, with what would mend it.
struct NotMended {
    ObjectId object;
    // Stable: "needs-data-migration", "cannot-migrate", "not-in-place", "in-use",
    // "needs-newer-server", "cannot-create".
    std::string code = "not-in-place";
    std::string why;    // as the script's note says it
    std::string from;   // Old's type or value, where the difference is one of them
    std::string to;     // New's
    long long rows = -1;  // the rows of the table it is on, where counted
    std::string option;   // the option that mends it ("--force"); empty when none does
    std::string Text() const { return object.Text() + ": " + why; }
    bool operator==(const NotMended&) const = default;
};

struct Plan {
    int dialect = 3;
    // Run before the steps, each part committed; the rest of a repair is one transaction.
    std::vector<Migration> migrations;
    std::vector<Step> steps;
    // Differences no statement of the server can mend in place, each naming its object.
    std::vector<std::string> notMended;
    // The same, each with its object and what would mend it.
    std::vector<NotMended> left;
    // What the checks of Old's rows found, written at the head of the script.
    std::vector<std::string> warnings;
};

// New as Old's server can hold it: for an Old before Firebird 4 (ODS 12) and a New of Firebird 4
// or later, the clauses it lacks are left out of New's objects, the objects of types it lacks are
// left as Old has them (or not made), with what uses them; notes names each, "TABLE T: SQL
// SECURITY DEFINER needs Firebird 4 or later".
struct Fitted {
    Schema schema;
    std::vector<std::string> notes;
};
Fitted FitForServer(const Schema& old, Schema neu);

struct PlanOptions {
    // Rows of Old's tables, where the plan depends on them (a column of another type family).
    std::map<std::string, long long> rowCounts;
    // A column of another type family on a table with rows is migrated, outside the one transaction.
    bool force = false;
    // Changes of type (by name) that Old's rows do not fit: never made in place.
    std::set<std::string> notInPlace;
    // Where Old's generators whose start value changes stand, by name.
    std::map<std::string, long long> generatorValues;
};

// Every change given is made: Old-only objects are dropped, so leave them out unless they
// should go (ChangesToMake). The phases, in the order the server can take them:
//   drops (triggers, views, routines, constraints and indices that go or change, columns,
//   tables, then the kinds they used), collations, roles, generators, exceptions, domains,
//   tables and missing columns (computed ones as COMPUTED BY (NULL)), column changes,
//   external functions, routine stubs and package headers, primary and unique keys, foreign
//   keys, indices, views in dependency order, routine and package bodies, domain and table
//   CHECKs and computed expressions, triggers, grants, comments. A procedure's body comes
//   before a view on a view on it: its outputs are given new domains then, which only the
//   views made after it take.
Plan MakePlan(const Schema& old, const Schema& neu, const std::vector<Change>& changes, const PlanOptions& options = {});

// Text that can stand inside /* */: each "*/" in it becomes "* /".
std::string CommentSafe(std::string text);

// The plan as isql takes it: the dialect first, SET TERM around PSQL, one COMMIT at the end.
std::string ScriptText(const Plan& plan);

// What a script says beside its statements.
struct ScriptNotes {
    // Each goes before the first statement of its object; one whose object has none goes at the
    // head. Given, they take the place of the plan's own warnings.
    std::vector<Warning> beside;
    // Objects whose statements can lose data: each of their statements is marked.
    std::set<ObjectId> destructive;
};
std::string ScriptText(const Plan& plan, const ScriptNotes& notes);

}
