// What differs between two catalogs: objects Old lacks, objects only Old has, and each
// property that differs on an object both have, old value first.
#pragma once
#include "schema/Model.h"

#include <string>
#include <vector>

namespace schema {

enum class Action { Create, OnlyInOld, Alter };

inline constexpr const char* kMissingMessage = "not exist";
inline constexpr const char* kOnlyInOldMessage = "only in Old";
// The property of a row for an object of a kind the model does not hold.
inline constexpr const char* kNotComparedProperty = "not compared";

struct Change {
    Action action = Action::Create;
    std::string type;   // the report's Type: DOMAIN, TABLE, FIELD, ...
    std::string name;   // as the report shows it
    std::string key;    // the object's key in New's Schema map (in Old's for an Old-only object)
    std::string table;  // the table of a FIELD
    // For Alter: the property and its two values as the report shows them.
    std::string property;
    std::string oldValue;
    std::string newValue;
    // For Alter: the object's key in Old's map when it differs from New's (a CHECK the server named).
    std::string oldKey;
    std::string Message() const;
};

struct DiffOptions {
    // Sources compare without trailing blanks, blank lines and CR LF against LF.
    bool ignoreWhitespace = false;
};

// Missing objects first, each kind in plan order, then the differences, then Old's extra objects.
std::vector<Change> Diff(const Schema& old, const Schema& neu, const DiffOptions& options = {});

// A source as --ignore-whitespace compares it.
std::string NormalizedSource(const std::string& source);

}
