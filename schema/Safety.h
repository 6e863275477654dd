// The plan checked against Old's rows before anything runs: each check counts the rows that
// a statement would refuse or could spoil, with one query on Old.
#pragma once
#include "schema/Diff.h"
#include "schema/Model.h"

#include <map>
#include <string>
#include <vector>

class Connection;
class Transaction;

namespace schema {

struct SafetyIssue {
    std::string type;  // the object's report Type
    std::string name;
    std::string message;  // "would fail: 3 rows of ORDERS have STATUS NULL", "may lose data: ..."
};

struct SafetyResult {
    std::vector<SafetyIssue> issues;
    // Rows of the tables whose columns change type family, for the plan.
    std::map<std::string, long long> rowCounts;
    // Old-only tables and columns that hold rows, as "TABLE name" and "FIELD table.column": dropping them loses data.
    std::map<std::string, long long> destructive;
};

SafetyResult CheckData(Connection& connection, Transaction& transaction, const Schema& old, const Schema& neu,
                       const std::vector<Change>& changes, bool drop);

}
