// What one pass of the complete comparison found, whole, for a review: both sides, every
// finding with both definitions and the statements planned for it, and the plan itself.
#pragma once
#include "schema/Plan.h"

#include <string>
#include <vector>

namespace schema {

struct SideInfo {
    std::string database;
    std::string serverVersion;
    int ods = 0;
    int dialect = 0;
};

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
    bool destructive = false;             // the statements can lose rows
};

struct Summary {
    SideInfo old;
    SideInfo neu;
    std::vector<std::string> warnings;  // safety checks that Old's data fails
    std::vector<Finding> findings;
    Plan plan;
};

}
