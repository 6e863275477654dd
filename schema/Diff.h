// What differs between two catalogs: objects Old lacks, objects only Old has, and the
// properties that differ on an object both have, old value first.
#pragma once
#include "schema/Change.h"
#include "schema/Model.h"

#include <string>
#include <vector>

namespace schema {

struct DiffOptions {
    // Sources compare without trailing blanks, blank lines and CR LF against LF.
    bool ignoreWhitespace = false;
};

// Missing objects first, each kind in plan order, then the differences, then Old's extra
// objects. The changes point into both schemas, which must outlive them.
std::vector<Change> Diff(const Schema& old, const Schema& neu, const DiffOptions& options = {});

// The changes a plan makes: every one but those of Old-only objects, which go only with --drop.
// This is the one place that decides what --drop means.
std::vector<Change> ChangesToMake(const std::vector<Change>& changes, bool drop);

// A source as --ignore-whitespace compares it.
std::string NormalizedSource(const std::string& source);

}
