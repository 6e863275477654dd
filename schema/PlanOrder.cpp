// Dependency order: views after the views they use, and the steps by phase.
#include "schema/Planner.h"

#include <algorithm>

namespace schema::planning {

std::vector<std::string> OrderedByUse(const std::vector<std::string>& views, const Schema& schema, bool reversed)
{
    const std::set<std::string> names(views.begin(), views.end());
    std::map<std::string, std::set<std::string>> uses;
    for (const auto& d : schema.dependencies)
        if (d.dependentType == 1 && names.count(d.dependent) && names.count(d.dependedOn) &&
            d.dependent != d.dependedOn) {
            if (reversed)
                uses[d.dependedOn].insert(d.dependent);
            else
                uses[d.dependent].insert(d.dependedOn);
        }
    std::vector<std::string> ordered;
    std::set<std::string> done;
    // Each round takes every view whose uses are all placed, in the given order.
    while (done.size() < views.size()) {
        bool progress = false;
        for (const auto& view : views) {
            if (done.count(view))
                continue;
            const auto& used = uses[view];
            if (!std::all_of(used.begin(), used.end(), [&](const std::string& u) { return done.count(u) > 0; }))
                continue;
            ordered.push_back(view);
            done.insert(view);
            progress = true;
        }
        if (!progress) {
            std::vector<std::string> left;
            for (const auto& view : views)
                if (!done.count(view))
                    left.push_back(view);
            throw DdlError("These views depend on each other in a cycle that no stub can break: " + Joined(left));
        }
    }
    return ordered;
}

void SortByPhase(std::vector<Step>& steps)
{
    std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.phase < b.phase; });
}

}
