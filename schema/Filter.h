// What a user leaves out of a comparison by name: --include and --exclude patterns, each a glob
// on object names, optionally after a kind's word ("tables:AUDIT_*").
#pragma once
#include "schema/Change.h"
#include "schema/Plan.h"

#include <string>
#include <vector>

namespace schema {

struct NamePattern {
    std::vector<ObjectKind> kinds;  // none: every kind
    std::string glob;               // *, ? and [...] as a shell takes them, letters in either case
};

class ObjectFilter {
public:
    // Throws std::invalid_argument naming a pattern whose kind's word is unknown, or that is empty.
    ObjectFilter(const std::vector<std::string>& include, const std::vector<std::string>& exclude);
    ObjectFilter() = default;

    bool Empty() const { return include_.empty() && exclude_.empty(); }
    // Kept when an include pattern matches it (or none is given) and no exclude pattern does. A
    // column, constraint, index or trigger of a table is matched by its own name and by its
    // table's, so that "AUDIT_*" takes the audit tables whole.
    bool Keeps(const Change& change) const;

private:
    std::vector<NamePattern> include_;
    std::vector<NamePattern> exclude_;
};

// The objects that the kept changes' statements use and that the filter left out while they
// differ, each a warning of code "filtered-out" about the user: "uses DOMAIN D_X, which the
// filter leaves out", in the order of the kept changes. kept and left are the changes the
// filter kept and left out.
std::vector<Warning> FilteredDependencies(const Schema& neu, const std::vector<Change>& kept,
                                              const std::vector<Change>& left);

}
