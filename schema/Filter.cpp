#include "schema/Filter.h"
#include "schema/CompleteEngine.h"

#include <algorithm>
#include <fnmatch.h>
#include <map>
#include <set>
#include <stdexcept>

namespace schema {

namespace {

NamePattern Parse(const std::string& text)
{
    NamePattern pattern;
    pattern.glob = text;
    const auto colon = text.find(':');
    if (colon != std::string::npos) {
        const std::string word = text.substr(0, colon);
        for (const auto& kind : CompleteKinds())
            if (word == kind.Word)
                pattern.kinds = kind.Kinds;
        if (pattern.kinds.empty()) {
            std::string words;
            for (const auto& kind : CompleteKinds())
                words += std::string(words.empty() ? "" : ", ") + kind.Word;
            throw std::invalid_argument("unknown kind '" + word + "' in the pattern " + text + "; the kinds are " + words);
        }
        pattern.glob = text.substr(colon + 1);
    }
    if (pattern.glob.empty())
        throw std::invalid_argument("the pattern '" + text + "' names nothing");
    return pattern;
}

// The table a column, constraint, index or trigger belongs to; empty for other kinds.
std::string TableOf(const Change& change)
{
    if (change.kind == ObjectKind::Field)
        return change.table;
    std::string table;
    for (const ObjectRef* side : {&change.to, &change.from}) {
        if (!table.empty())
            break;
        if (auto c = std::get_if<const Constraint*>(side))
            table = (*c)->table;
        else if (auto i = std::get_if<const Index*>(side))
            table = (*i)->table;
        else if (auto t = std::get_if<const Trigger*>(side))
            table = (*t)->relation;
    }
    return table;
}

bool Matches(const NamePattern& pattern, const Change& change)
{
    if (!pattern.kinds.empty() &&
        std::find(pattern.kinds.begin(), pattern.kinds.end(), change.kind) == pattern.kinds.end())
        return false;
    auto glob = [&](const std::string& name) {
        return !name.empty() && ::fnmatch(pattern.glob.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    };
    return glob(change.name) || glob(change.key) || glob(TableOf(change));
}

}

ObjectFilter::ObjectFilter(const std::vector<std::string>& include, const std::vector<std::string>& exclude)
{
    for (const auto& text : include)
        include_.push_back(Parse(text));
    for (const auto& text : exclude)
        exclude_.push_back(Parse(text));
}

bool ObjectFilter::Keeps(const Change& change) const
{
    auto any = [&](const std::vector<NamePattern>& patterns) {
        return std::any_of(patterns.begin(), patterns.end(), [&](const NamePattern& p) { return Matches(p, change); });
    };
    return (include_.empty() || any(include_)) && !any(exclude_);
}

std::vector<Warning> FilteredDependencies(const Schema& neu, const std::vector<Change>& kept,
                                              const std::vector<Change>& left)
{
    // What the filter left out that Old lacks or has otherwise, by name.
    std::map<std::string, const Change*> leftOut;
    for (const auto& change : left)
        if (change.action != Action::OnlyInOld)
            leftOut.emplace(change.key, &change);
    std::vector<Warning> warnings;
    std::set<std::string> told;
    auto tell = [&](const Change& user, const std::string& usedName) {
        auto it = leftOut.find(usedName);
        if (it == leftOut.end() || it->second->key == user.key)
            return;
        const Warning warning{"filtered-out", Severity::Warning, user.Object(),
                              "uses " + it->second->Object().Text() + ", which the filter leaves out"};
        if (told.insert(warning.Text()).second)
            warnings.push_back(warning);
    };
    for (const auto& change : kept) {
        if (change.action == Action::OnlyInOld)
            continue;
        if (change.kind == ObjectKind::Field)
            if (auto c = std::get_if<const Column*>(&change.to); c && !(*c)->domain.empty())
                tell(change, (*c)->domain);
        if (change.kind == ObjectKind::Table || change.kind == ObjectKind::View)
            if (auto r = std::get_if<const Relation*>(&change.to))
                for (const auto& column : (*r)->columns)
                    if (!column.domain.empty())
                        tell(change, column.domain);
        if (auto k = std::get_if<const Constraint*>(&change.to); k && !(*k)->refTable.empty())
            tell(change, (*k)->refTable);
        if (auto t = std::get_if<const Trigger*>(&change.to); t && !(*t)->relation.empty())
            tell(change, (*t)->relation);
        if (auto i = std::get_if<const Index*>(&change.to))
            tell(change, (*i)->table);
        for (const auto& d : neu.dependencies)
            if (d.dependent == change.key)
                tell(change, d.dependedOn);
    }
    return warnings;
}

}
