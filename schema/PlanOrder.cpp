// Dependency order: views after the views they use, the bodies that views on views need
// among them, and the steps by phase.
#include "schema/Planner.h"

#include <algorithm>
#include <optional>

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

namespace {

bool IsView(const Schema& schema, const std::string& name)
{
    auto it = schema.relations.find(name);
    return it != schema.relations.end() && it->second.IsView();
}


}

void BodiesBeforeViewsOnViews(std::vector<Step>& steps, const Schema& schema)
{
    const auto first = std::find_if(steps.begin(), steps.end(), [](const Step& s) { return s.phase >= Views; });
    const auto last = std::find_if(first, steps.end(), [](const Step& s) { return s.phase > Bodies; });
    const std::vector<Step> nodes(first, last);

    // What each view selects from directly: the views, and the procedures, each by the key of
    // the body that gives its outputs ("P" and its name, or "K" and its package's).
    std::map<std::string, std::set<std::string>> viewsUsed, proceduresUsed;
    std::map<std::string, std::set<std::string>> bodyViews;  // of a procedure's or package's body
    for (const auto& d : schema.dependencies) {
        if (d.dependent == d.dependedOn)
            continue;
        if (d.dependentType == 1 && IsView(schema, d.dependent)) {
            if (IsView(schema, d.dependedOn))
                viewsUsed[d.dependent].insert(d.dependedOn);
            else if (d.dependedOnType == 5)
                proceduresUsed[d.dependent].insert(d.package.empty() ? "P" + d.dependedOn : "K" + d.package);
        } else if ((d.dependentType == 5 || d.dependentType == 19) && IsView(schema, d.dependedOn)) {
            bodyViews[(d.dependentType == 19 ? "K" : "P") + d.dependent].insert(d.dependedOn);
        }
    }
    // Every view a view or body reaches through views, itself not included.
    auto reached = [&](const std::set<std::string>& start) {
        std::set<std::string> seen;
        std::vector<std::string> frontier(start.begin(), start.end());
        while (!frontier.empty()) {
            const std::string view = frontier.back();
            frontier.pop_back();
            if (!seen.insert(view).second)
                continue;
            for (const auto& used : viewsUsed[view])
                frontier.push_back(used);
        }
        return seen;
    };

    // The nodes' keys: "V" views, "P" procedures' bodies, "K" packages' bodies.
    auto keyOf = [](const Step& s) {
        const char* tag = s.object.kind == ObjectKind::View        ? "V"
                          : s.object.kind == ObjectKind::Procedure ? "P"
                          : s.object.kind == ObjectKind::Package   ? "K"
                                                                    : "-";
        return tag + s.object.name;
    };
    std::map<std::string, std::size_t> index;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        const ObjectKind kind = nodes[n].object.kind;
        const bool view = nodes[n].phase == Views && kind == ObjectKind::View;
        const bool body = nodes[n].phase == Bodies && (kind == ObjectKind::Procedure || kind == ObjectKind::Package);
        if (view || body)
            index.emplace(keyOf(nodes[n]), n);
    }
    // The body of a procedure of its own ("P" and its name), or of its package ("K" and the
    // package's name), where the plan makes one.
    auto bodyOf = [&](const std::string& key) -> std::optional<std::size_t> {
        auto it = index.find(key);
        if (it == index.end() || nodes[it->second].phase != Bodies)
            return std::nullopt;
        return it->second;
    };

    std::vector<std::set<std::size_t>> needs(nodes.size());
    bool any = false;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        const Step& s = nodes[n];
        if (s.phase == Views && s.object.kind == ObjectKind::View) {
            for (const auto& view : reached(viewsUsed[s.object.name])) {
                auto it = index.find("V" + view);
                if (it != index.end())
                    needs[n].insert(it->second);
                for (const auto& procedure : proceduresUsed[view])
                    if (const auto body = bodyOf(procedure)) {
                        needs[n].insert(*body);
                        any = true;
                    }
            }
        } else if (s.phase == Bodies && (s.object.kind == ObjectKind::Procedure || s.object.kind == ObjectKind::Package)) {
            for (const auto& view : reached(bodyViews[keyOf(s)])) {
                auto it = index.find("V" + view);
                if (it != index.end())
                    needs[n].insert(it->second);
            }
        }
    }
    if (!any)
        return;

    // The views in their order; a body only when a view waits for it and all the views it uses
    // stand; where a body and the views wait for each other, the first such view is made first.
    std::vector<std::size_t> order;
    std::vector<bool> placed(nodes.size(), false);
    auto ready = [&](std::size_t n) {
        return std::all_of(needs[n].begin(), needs[n].end(), [&](std::size_t m) { return placed[m]; });
    };
    auto place = [&](std::size_t n) {
        order.push_back(n);
        placed[n] = true;
    };
    auto isView = [&](std::size_t n) { return nodes[n].phase == Views; };
    for (;;) {
        for (bool progress = true; progress;) {
            progress = false;
            for (std::size_t n = 0; n < nodes.size(); ++n)
                if (isView(n) && !placed[n] && ready(n)) {
                    place(n);
                    progress = true;
                }
        }
        std::set<std::size_t> waitedFor;
        for (std::size_t n = 0; n < nodes.size(); ++n)
            if (isView(n) && !placed[n])
                for (const std::size_t m : needs[n])
                    if (!placed[m] && !isView(m))
                        waitedFor.insert(m);
        bool left = false;
        for (std::size_t n = 0; n < nodes.size(); ++n)
            left = left || (isView(n) && !placed[n]);
        if (!left)
            break;
        bool drawn = false;
        for (const std::size_t m : waitedFor)
            if (ready(m)) {
                place(m);
                drawn = true;
            }
        if (drawn)
            continue;
        std::size_t chosen = nodes.size();
        for (std::size_t n = 0; n < nodes.size() && chosen == nodes.size(); ++n)
            if (isView(n) && !placed[n] &&
                std::all_of(needs[n].begin(), needs[n].end(), [&](std::size_t m) { return placed[m] || !isView(m); }))
                chosen = n;
        for (std::size_t n = 0; n < nodes.size() && chosen == nodes.size(); ++n)
            if (isView(n) && !placed[n])
                chosen = n;
        place(chosen);
    }
    // The bodies drawn in go with the views; the rest keep their place.
    std::vector<Step> result;
    for (const std::size_t n : order) {
        result.push_back(nodes[n]);
        result.back().phase = Views;
    }
    for (std::size_t n = 0; n < nodes.size(); ++n)
        if (!placed[n])
            result.push_back(nodes[n]);
    std::copy(result.begin(), result.end(), first);
}

}
