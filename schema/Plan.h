// What differs between two catalogs, and the ordered statements that give Old what it lacks.
#pragma once
#include "schema/Ddl.h"
#include "schema/Model.h"

#include <string>
#include <vector>

namespace schema {

enum class Action { Create, OnlyInOld };

inline constexpr const char* kMissingMessage = "not exist";
inline constexpr const char* kOnlyInOldMessage = "only in Old";

struct Change {
    Action action = Action::Create;
    std::string type;   // the report's Type: DOMAIN, TABLE, FIELD, ...
    std::string name;   // as the report shows it
    std::string key;    // the object's key in its Schema map
    std::string table;  // the table of a FIELD
    std::string Message() const { return action == Action::Create ? kMissingMessage : kOnlyInOldMessage; }
};

// New's objects that Old lacks, then Old's objects that New lacks, each kind in plan order.
std::vector<Change> Diff(const Schema& old, const Schema& neu);

struct Step {
    int phase = 0;
    std::string type;
    std::string name;
    std::string sql;    // without a terminator
    bool psql = false;  // needs SET TERM in a script
};

struct Plan {
    int dialect = 3;
    std::vector<Step> steps;
};

// The phases, in the order the server can take them:
//   collations, roles, generators, exceptions, domains, tables and missing columns (computed
//   ones as COMPUTED BY (NULL)), external functions, routine stubs and package headers,
//   primary and unique keys, foreign keys, indices, views in dependency order, routine and
//   package bodies, domain and table CHECKs and computed expressions, triggers, grants, comments.
Plan MakePlan(const Schema& old, const Schema& neu, const std::vector<Change>& changes);

// The plan as isql takes it: the dialect first, SET TERM around PSQL, one COMMIT at the end.
std::string ScriptText(const Plan& plan);

}
