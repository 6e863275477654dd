// New as an older server can hold it: what Old's on-disk structure lacks is left out of what the
// comparison aims at, each part named, and the rest is compared and planned as usual.
#include "schema/Plan.h"

#include <algorithm>
#include <set>
#include <utility>

namespace schema {
namespace {

constexpr const char* kFirebird4 = "needs Firebird 4 or later";

bool Newer(const Type& t)
{
    return t.fieldType == 24 || t.fieldType == 25 || t.fieldType == 26 || t.fieldType == 28 || t.fieldType == 29;
}

const char* NewerName(const Type& t)
{
    switch (t.fieldType) {
    case 24: return "DECFLOAT(16)";
    case 25: return "DECFLOAT(34)";
    case 26: return t.scale < 0 || t.subType > 0 ? "NUMERIC over 18 digits" : "INT128";
    case 28: return "TIME WITH TIME ZONE";
    default: return "TIMESTAMP WITH TIME ZONE";
    }
}

class Fitter {
public:
    Fitter(const Schema& old, Schema neu) : old_(old), fitted_{std::move(neu), {}} {}

    Fitted Run()
    {
        Schema& s = fitted_.schema;
        Clauses(s);
        Types(s);
        Dependents(s);
        Leftovers(s);
        std::sort(fitted_.notes.begin(), fitted_.notes.end());
        fitted_.notes.erase(std::unique(fitted_.notes.begin(), fitted_.notes.end()), fitted_.notes.end());
        return std::move(fitted_);
    }

private:
    void Note(const std::string& object, const std::string& what) { fitted_.notes.push_back(object + ": " + what); }

    // Clauses an object can be made without: the object is made, the clause named.
    void Clauses(Schema& s)
    {
        auto security = [&](std::optional<bool>& definer, const std::string& object) {
            if (definer)
                Note(object, "SQL SECURITY " + SqlSecurityText(definer) + " " + kFirebird4);
            definer.reset();
        };
        security(s.database.sqlSecurity, "DATABASE");
        if (s.database.publication || s.database.publishAll)
            Note("DATABASE", std::string("the replication publication ") + kFirebird4);
        s.database.publication = s.database.publishAll = false;
        for (auto& [name, role] : s.roles) {
            if (!role.systemPrivileges.empty())
                Note("ROLE " + name, std::string("system privileges ") + kFirebird4);
            role.systemPrivileges.clear();
        }
        for (auto& [name, rel] : s.relations) {
            security(rel.sqlSecurity, std::string(rel.IsView() ? "VIEW " : "TABLE ") + name);
            if (rel.published)
                Note("TABLE " + name, std::string("the replication publication ") + kFirebird4);
            rel.published = false;
            for (auto& column : rel.columns) {
                if (column.identityType && *column.identityType == 0) {
                    Note("FIELD " + name + "." + column.name, std::string("GENERATED ALWAYS ") + kFirebird4 +
                                                                  "; made BY DEFAULT");
                    column.identityType = 1;
                }
                if (column.type.subType == 1 && column.type.charset == "OCTETS" &&
                    (column.type.fieldType == 14 || column.type.fieldType == 37)) {
                    Note("FIELD " + name + "." + column.name,
                         std::string("BINARY and VARBINARY ") + kFirebird4 + "; made CHARACTER SET OCTETS");
                    column.type.subType = 0;
                }
            }
        }
        for (auto& [name, p] : s.procedures)
            security(p.sqlSecurity, "PROCEDURE " + name);
        for (auto& [name, f] : s.functions)
            security(f.sqlSecurity, "FUNCTION " + name);
        for (auto& [name, p] : s.packages)
            security(p.sqlSecurity, "PACKAGE " + name);
        for (auto& [name, t] : s.triggers)
            security(t.sqlSecurity, "TRIGGER " + name);
        for (const auto& [name, ix] : Schema(s).indices)
            if (!ix.conditionSource.empty()) {
                Note("INDEX " + name, "a partial index needs Firebird 5 or later");
                Keep(s.indices, name);
            }
    }

    // What Old has under the name stays as Old has it; what it has not is not made.
    template <typename Map>
    void Keep(Map& map, const std::string& name)
    {
        gone_.insert(name);
        const auto& source = Source<Map>();
        auto was = source.find(name);
        if (was != source.end())
            map[name] = was->second;
        else
            map.erase(name);
    }

    template <typename Map>
    const Map& Source() const
    {
        if constexpr (std::is_same_v<Map, decltype(Schema::domains)>)
            return old_.domains;
        else if constexpr (std::is_same_v<Map, decltype(Schema::procedures)>)
            return old_.procedures;
        else if constexpr (std::is_same_v<Map, decltype(Schema::functions)>)
            return old_.functions;
        else if constexpr (std::is_same_v<Map, decltype(Schema::triggers)>)
            return old_.triggers;
        else if constexpr (std::is_same_v<Map, decltype(Schema::packages)>)
            return old_.packages;
        else
            return old_.indices;
    }

    // Objects of a type Old's server does not have.
    void Types(Schema& s)
    {
        for (const auto& [name, d] : Schema(s).domains)
            if (Newer(d.type)) {
                Note("DOMAIN " + name, std::string("its type ") + NewerName(d.type) + " " + kFirebird4);
                Keep(s.domains, name);
            }
        for (auto& [name, rel] : s.relations)
            for (const auto& column : std::vector<Column>(rel.columns)) {
                const bool newer = column.domain.empty() ? Newer(column.type) : gone_.count(column.domain) > 0;
                if (!newer)
                    continue;
                Note("FIELD " + name + "." + column.name,
                     column.domain.empty() ? std::string("its type ") + NewerName(column.type) + " " + kFirebird4
                                           : "its domain " + column.domain + " " + kFirebird4);
                KeepColumn(rel, column.name);
            }
        auto newerParameters = [&](const std::vector<Parameter>& params) {
            return std::any_of(params.begin(), params.end(), [&](const Parameter& p) {
                return p.domain.empty() ? Newer(p.type) : gone_.count(p.domain) > 0;
            });
        };
        for (const auto& [name, p] : Schema(s).procedures)
            if (newerParameters(p.inputs) || newerParameters(p.outputs)) {
                Note("PROCEDURE " + name, std::string("a parameter's type ") + kFirebird4);
                Keep(s.procedures, name);
            }
        for (const auto& [name, f] : Schema(s).functions)
            if (newerParameters(f.arguments) || newerParameters({f.returns})) {
                Note("FUNCTION " + name, std::string("a parameter's type ") + kFirebird4);
                Keep(s.functions, name);
            }
    }

    void KeepColumn(Relation& rel, const std::string& column)
    {
        goneColumns_.insert({rel.name, column});
        auto at = std::find_if(rel.columns.begin(), rel.columns.end(), [&](const Column& c) { return c.name == column; });
        const Relation* was = nullptr;
        if (auto it = old_.relations.find(rel.name); it != old_.relations.end())
            was = &it->second;
        const Column* kept = was ? was->FindColumn(column) : nullptr;
        if (kept)
            *at = *kept;
        else
            rel.columns.erase(at);
    }

    // Views, routines, packages and triggers that use what is left out are left out too.
    void Dependents(Schema& s)
    {
        bool more = true;
        while (more) {
            more = false;
            for (const auto& d : fitted_.schema.dependencies) {
                const bool uses = gone_.count(d.dependedOn) > 0 || goneColumns_.count({d.dependedOn, d.field}) > 0;
                if (!uses || gone_.count(d.dependent))
                    continue;
                const std::string why = "uses " + d.dependedOn + (d.field.empty() ? "" : "." + d.field) +
                                        ", which Old's server cannot hold";
                more = true;
                if (d.dependentType == 1 && s.relations.count(d.dependent)) {
                    Note("VIEW " + d.dependent, why);
                    gone_.insert(d.dependent);
                    if (auto was = old_.relations.find(d.dependent); was != old_.relations.end())
                        s.relations[d.dependent] = was->second;
                    else
                        s.relations.erase(d.dependent);
                } else if (d.dependentType == 2 && s.triggers.count(d.dependent)) {
                    Note("TRIGGER " + d.dependent, why);
                    Keep(s.triggers, d.dependent);
                } else if (d.dependentType == 5 && s.procedures.count(d.dependent)) {
                    Note("PROCEDURE " + d.dependent, why);
                    Keep(s.procedures, d.dependent);
                } else if (d.dependentType == 15 && s.functions.count(d.dependent)) {
                    Note("FUNCTION " + d.dependent, why);
                    Keep(s.functions, d.dependent);
                } else if ((d.dependentType == 18 || d.dependentType == 19) && s.packages.count(d.dependent)) {
                    Note("PACKAGE " + d.dependent, why);
                    Keep(s.packages, d.dependent);
                } else {
                    // Not an object this comparison makes (a computed column's own field, say).
                    gone_.insert(d.dependent);
                }
            }
        }
    }

    // Keys, indices and grants on what is left out, and the orders that list it.
    void Leftovers(Schema& s)
    {
        auto onGone = [&](const std::string& table, const std::vector<std::string>& columns) {
            if (!s.relations.count(table))
                return true;
            return std::any_of(columns.begin(), columns.end(),
                               [&](const std::string& c) { return goneColumns_.count({table, c}) > 0; });
        };
        for (const auto& [key, c] : Schema(s).constraints) {
            if (!onGone(c.table, c.columns) && (c.refTable.empty() || !onGone(c.refTable, c.refColumns)))
                continue;
            if (auto was = old_.constraints.find(key); was != old_.constraints.end())
                s.constraints[key] = was->second;
            else
                s.constraints.erase(key);
        }
        std::erase_if(s.constraintOrder, [&](const std::string& key) { return !s.constraints.count(key); });
        for (const auto& [key, c] : old_.constraints)
            if (s.constraints.count(key) &&
                std::find(s.constraintOrder.begin(), s.constraintOrder.end(), key) == s.constraintOrder.end())
                s.constraintOrder.push_back(key);
        for (const auto& [name, ix] : Schema(s).indices)
            if (onGone(ix.table, ix.columns))
                Keep(s.indices, name);
        std::erase_if(s.relationOrder, [&](const std::string& name) { return !s.relations.count(name); });
        for (const auto& name : old_.relationOrder)
            if (s.relations.count(name) &&
                std::find(s.relationOrder.begin(), s.relationOrder.end(), name) == s.relationOrder.end())
                s.relationOrder.push_back(name);
        for (const auto& [key, g] : Schema(s).grants)
            if (gone_.count(g.object) && !old_.grants.count(key))
                s.grants.erase(key);
    }

    const Schema& old_;
    Fitted fitted_;
    std::set<std::string> gone_;
    std::set<std::pair<std::string, std::string>> goneColumns_;
};

}

Fitted FitForServer(const Schema& old, Schema neu)
{
    if (old.odsMajor >= 13 || neu.odsMajor < 13)
        return {std::move(neu), {}};
    return Fitter(old, std::move(neu)).Run();
}

}
