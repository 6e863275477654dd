// The plan checked against Old's rows before anything runs: each check counts the rows that
// a statement would refuse or could spoil, with one query on Old.
#pragma once
#include "schema/Diff.h"
#include "schema/Model.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class Connection;
class Transaction;

namespace schema {

struct SafetyIssue {
    ObjectKind kind;
    std::string name;
    std::string message;  // "would fail: 3 rows of ORDERS have STATUS NULL", "may lose data: ..."
};

struct SafetyResult {
    std::vector<SafetyIssue> issues;
    // Rows of the tables whose columns change type family, for the plan.
    std::map<std::string, long long> rowCounts;
    // Old-only tables and columns that hold rows, and generators that hold a value: dropping
    // them loses data. Each with what it holds ("with 3 rows", "holding 12345"), in the order of
    // their report texts, "FIELD T.C" before "TABLE T", as the warnings list them.
    struct ByText {
        bool operator()(const ObjectId& a, const ObjectId& b) const { return a.Text() < b.Text(); }
    };
    std::map<ObjectId, std::string, ByText> destructive;
    // The rows of every Old-only table and column dropped (non-NULL values for a column), and
    // the value of every such generator: what the report says a drop takes with it.
    std::map<ObjectId, long long> dropped;
    // Changes of type (by the change's name) whose new type cannot hold some value of Old's
    // rows: changed in place, the rows could not be read any more.
    std::set<std::string> notInPlace;
    // Where the generators whose start value changes stand, by name: a new start restarts them.
    std::map<std::string, long long> generatorValues;
};

// changes: what the plan will make (ChangesToMake); an Old-only object among them is dropped.
// migrating: with --force, where a column of another type family is migrated by rewriting its
// table's rows, which Old's own CHECKs are tried on.
SafetyResult CheckData(Connection& connection, Transaction& transaction, const Schema& old, const Schema& neu,
                       const std::vector<Change>& changes, bool migrating = false);

}
