// Objects are matched by exact name; constraints the server named are matched by what they
// are. Each differing property becomes a row of its own.
#include "schema/Diff.h"
#include "schema/Ddl.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace schema {
namespace {

std::string ConstraintTitle(const Constraint& c)
{
    if (!c.name.empty())
        return c.name;
    static const char* kinds[] = {"PRIMARY KEY", "UNIQUE", "FOREIGN KEY", "CHECK"};
    std::string title = c.table + " " + kinds[static_cast<int>(c.kind)];
    if (c.kind == ConstraintKind::Check)
        return title;
    title += " (" + Joined(c.columns) + ")";
    if (c.kind == ConstraintKind::ForeignKey)
        title += " REFERENCES " + c.refTable;
    return title;
}

std::string GrantTitle(const Grant& g)
{
    if (g.privilege == "M")
        return g.object + " TO " + g.user;
    static const std::map<std::string, std::string> words{{"S", "SELECT"},  {"I", "INSERT"},     {"U", "UPDATE"},
                                                          {"D", "DELETE"},  {"R", "REFERENCES"}, {"X", "EXECUTE"},
                                                          {"G", "USAGE"}};
    auto word = words.find(g.privilege);
    std::string title = word == words.end() ? g.privilege : word->second;
    if (!g.field.empty())
        title += " (" + g.field + ")";
    return title + " ON " + g.object + " TO " + g.user;
}

// Values as a reader of the report wants them: no DEFAULT keyword, "none" for nothing.
std::string Shown(const std::string& value)
{
    std::string text = value;
    if (text.rfind("DEFAULT ", 0) == 0 || text.rfind("default ", 0) == 0)
        text = text.substr(8);
    return text.empty() ? "none" : text;
}

class Differ {
public:
    Differ(const Schema& old, const Schema& neu, const DiffOptions& options)
        : old_(old), neu_(neu), options_(options), display_(3)
    {
    }

    std::vector<Change> Run()
    {
        PairUnnamedChecks();
        Absent(Action::Create, neu_, old_, pairedNew_);
        NotCompared();
        Different();
        Absent(Action::OnlyInOld, old_, neu_, pairedOld_);
        return std::move(out_);
    }

private:
    template <typename Map, typename TitleFn>
    void Lacking(Action action, const char* type, const Map& have, const Map& lack, TitleFn title)
    {
        for (const auto& [key, object] : have)
            if (!lack.count(key))
                Add(action, type, title(object), key);
    }

    Change& Add(Action action, const std::string& type, const std::string& name, const std::string& key,
                const std::string& table = "")
    {
        Change change;
        change.action = action;
        change.type = type;
        change.name = name;
        change.key = key;
        change.table = table;
        out_.push_back(change);
        return out_.back();
    }

    void Prop(const std::string& type, const std::string& name, const std::string& key, const std::string& table,
              const std::string& property, const std::string& oldValue, const std::string& newValue,
              const std::string& oldKey = "")
    {
        if (oldValue == newValue)
            return;
        Change& change = Add(Action::Alter, type, name, key, table);
        change.property = property;
        change.oldValue = oldValue;
        change.newValue = newValue;
        change.oldKey = oldKey;
    }

    // Sources: the values are not shown, they are compared as --ignore-whitespace asks.
    void Source(const std::string& type, const std::string& name, const std::string& key, const std::string& property,
                const std::string& oldSource, const std::string& newSource, const std::string& table = "")
    {
        const bool same = options_.ignoreWhitespace ? NormalizedSource(oldSource) == NormalizedSource(newSource)
                                                    : oldSource == newSource;
        if (!same)
            Prop(type, name, key, table, property, oldSource, newSource);
    }

    std::string TypeShown(const Type& type) const
    {
        Type plain = type;
        plain.collation.clear();
        try {
            return display_.TypeText(plain);
        } catch (const DdlError&) {
            return "type code " + std::to_string(type.fieldType);
        }
    }

    std::string ColumnType(const Column& c) const { return c.domain.empty() ? TypeShown(c.type) : c.domain; }

    std::string Parameters(const std::vector<Parameter>& params) const
    {
        std::vector<std::string> texts;
        for (const auto& p : params) {
            try {
                texts.push_back(display_.ParameterText(p));
            } catch (const DdlError&) {
                texts.push_back(p.name);
            }
        }
        return Joined(texts);
    }

    std::string Identity(const Column& c) const
    {
        if (!c.identityType)
            return "none";
        return std::string(*c.identityType == 0 ? "ALWAYS" : "BY DEFAULT") + " START WITH " +
               std::to_string(c.identityStart) + " INCREMENT BY " + std::to_string(c.identityIncrement);
    }

    // What have holds and lack does not: New's objects missing in Old, or Old's only objects.
    // paired: CHECK keys of have that are a changed CHECK, not a missing or an extra one.
    void Absent(Action action, const Schema& have, const Schema& lack, const std::set<std::string>& paired)
    {
        auto name = [](const auto& object) { return object.name; };
        Lacking(action, "COLLATION", have.collations, lack.collations, name);
        Lacking(action, "ROLE", have.roles, lack.roles, name);
        Lacking(action, "GENERATOR", have.generators, lack.generators, name);
        Lacking(action, "EXCEPTION", have.exceptions, lack.exceptions, name);
        Lacking(action, "DOMAIN", have.domains, lack.domains, name);
        for (const auto& key : have.relationOrder) {
            const Relation& rel = have.relations.at(key);
            auto existing = lack.relations.find(key);
            if (existing == lack.relations.end()) {
                Add(action, rel.IsView() ? "VIEW" : "TABLE", key, key);
                continue;
            }
            if (rel.IsView() || existing->second.IsView())
                continue;
            for (const auto& column : rel.columns)
                if (!existing->second.FindColumn(column.name))
                    Add(action, "FIELD", key + "." + column.name, column.name, key);
        }
        Lacking(action, "EXTERNAL FUNCTION", have.externalFunctions, lack.externalFunctions, name);
        Lacking(action, "PACKAGE", have.packages, lack.packages, name);
        Lacking(action, "PROCEDURE", have.procedures, lack.procedures, name);
        Lacking(action, "FUNCTION", have.functions, lack.functions, name);
        for (const auto& key : have.constraintOrder)
            if (!lack.constraints.count(key) && !paired.count(key))
                Add(action, "CONSTRAINT", ConstraintTitle(have.constraints.at(key)), key);
        Lacking(action, "INDEX", have.indices, lack.indices, name);
        Lacking(action, "TRIGGER", have.triggers, lack.triggers, name);
        Lacking(action, "GRANT", have.grants, lack.grants, GrantTitle);
    }

    // Kinds the model does not hold: named once for New, never planned.
    void NotCompared()
    {
        for (const auto& object : neu_.unknown)
            if (std::find(old_.unknown.begin(), old_.unknown.end(), object) == old_.unknown.end()) {
                const auto space = object.rfind(' ');
                Change& change = Add(Action::Alter, object.substr(0, space), object.substr(space + 1), object);
                change.property = kNotComparedProperty;
            }
    }

    // CHECKs the server named carry their source in their key; one that changed on a table is
    // paired, in catalog order, with Old's unmatched one there.
    void PairUnnamedChecks()
    {
        std::map<std::string, std::vector<std::string>> oldLeft;
        for (const auto& key : old_.constraintOrder) {
            const Constraint& c = old_.constraints.at(key);
            if (c.kind == ConstraintKind::Check && c.name.empty() && !neu_.constraints.count(key))
                oldLeft[c.table].push_back(key);
        }
        for (const auto& key : neu_.constraintOrder) {
            const Constraint& c = neu_.constraints.at(key);
            if (c.kind != ConstraintKind::Check || !c.name.empty() || old_.constraints.count(key))
                continue;
            auto& left = oldLeft[c.table];
            if (left.empty())
                continue;
            paired_[key] = left.front();
            pairedNew_.insert(key);
            pairedOld_.insert(left.front());
            left.erase(left.begin());
        }
    }

    void Different()
    {
        for (const auto& [key, n] : neu_.collations)
            if (auto o = old_.collations.find(key); o != old_.collations.end()) {
                const Ddl ddl(3);
                Prop("COLLATION", key, key, "", "definition", ddl.CreateCollation(o->second), ddl.CreateCollation(n));
                Prop("COLLATION", key, key, "", "comment", o->second.description, n.description);
            }
        for (const auto& [key, n] : neu_.roles)
            if (auto o = old_.roles.find(key); o != old_.roles.end())
                Prop("ROLE", key, key, "", "comment", o->second.description, n.description);
        for (const auto& [key, n] : neu_.generators)
            if (auto o = old_.generators.find(key); o != old_.generators.end()) {
                Prop("GENERATOR", key, key, "", "initial value", std::to_string(o->second.initialValue),
                     std::to_string(n.initialValue));
                Prop("GENERATOR", key, key, "", "increment", std::to_string(o->second.increment),
                     std::to_string(n.increment));
                Prop("GENERATOR", key, key, "", "comment", o->second.description, n.description);
            }
        for (const auto& [key, n] : neu_.exceptions)
            if (auto o = old_.exceptions.find(key); o != old_.exceptions.end()) {
                Prop("EXCEPTION", key, key, "", "message", o->second.message, n.message);
                Prop("EXCEPTION", key, key, "", "comment", o->second.description, n.description);
            }
        for (const auto& [key, n] : neu_.domains)
            if (auto o = old_.domains.find(key); o != old_.domains.end())
                DomainDifferences(o->second, n);
        for (const auto& key : neu_.relationOrder)
            if (auto o = old_.relations.find(key); o != old_.relations.end())
                RelationDifferences(o->second, neu_.relations.at(key));
        for (const auto& [key, n] : neu_.externalFunctions)
            if (auto o = old_.externalFunctions.find(key); o != old_.externalFunctions.end()) {
                const Ddl ddl(3);
                Prop("EXTERNAL FUNCTION", key, key, "", "declaration", ddl.DeclareExternalFunction(o->second),
                     ddl.DeclareExternalFunction(n));
                Prop("EXTERNAL FUNCTION", key, key, "", "comment", o->second.description, n.description);
            }
        for (const auto& [key, n] : neu_.packages)
            if (auto o = old_.packages.find(key); o != old_.packages.end()) {
                Source("PACKAGE", key, key, "header", o->second.headerSource, n.headerSource);
                Source("PACKAGE", key, key, "body", o->second.bodySource, n.bodySource);
                Prop("PACKAGE", key, key, "", "comment", o->second.description, n.description);
            }
        for (const auto& [key, n] : neu_.procedures)
            if (auto o = old_.procedures.find(key); o != old_.procedures.end())
                ProcedureDifferences(o->second, n);
        for (const auto& [key, n] : neu_.functions)
            if (auto o = old_.functions.find(key); o != old_.functions.end())
                FunctionDifferences(o->second, n);
        for (const auto& key : neu_.constraintOrder) {
            const Constraint& n = neu_.constraints.at(key);
            const auto paired = paired_.find(key);
            const std::string oldKey = paired != paired_.end() ? paired->second : key;
            auto o = old_.constraints.find(oldKey);
            if (o == old_.constraints.end())
                continue;
            Constraint a = o->second, b = n;
            const Ddl ddl(3);
            if (!(a == b))
                Prop("CONSTRAINT", ConstraintTitle(n), key, "", "definition", DefinitionOf(ddl, a), DefinitionOf(ddl, b),
                     oldKey);
        }
        for (const auto& [key, n] : neu_.indices)
            if (auto o = old_.indices.find(key); o != old_.indices.end())
                IndexDifferences(o->second, n);
        for (const auto& [key, n] : neu_.triggers)
            if (auto o = old_.triggers.find(key); o != old_.triggers.end())
                TriggerDifferences(o->second, n);
        for (const auto& [key, n] : neu_.grants)
            if (auto o = old_.grants.find(key); o != old_.grants.end())
                Prop("GRANT", GrantTitle(n), key, "", "grant option", o->second.grantOption ? "with" : "without",
                     n.grantOption ? "with" : "without");
    }

    static std::string DefinitionOf(const Ddl& ddl, const Constraint& c)
    {
        try {
            return ddl.AddConstraint(c);
        } catch (const DdlError& error) {
            return error.what();
        }
    }

    void DomainDifferences(const Domain& o, const Domain& n)
    {
        const std::string& key = n.name;
        Prop("DOMAIN", key, key, "", "type", TypeShown(o.type), TypeShown(n.type));
        Prop("DOMAIN", key, key, "", "default", Shown(o.defaultSource), Shown(n.defaultSource));
        if (o.notNull != n.notNull)
            Prop("DOMAIN", key, key, "", "nullability", o.notNull ? "not null" : "null", n.notNull ? "not null" : "null");
        Source("DOMAIN", key, key, "check", o.validationSource, n.validationSource);
        Prop("DOMAIN", key, key, "", "collation", Shown(o.type.collation), Shown(n.type.collation));
        Prop("DOMAIN", key, key, "", "comment", o.description, n.description);
    }

    void RelationDifferences(const Relation& o, const Relation& n)
    {
        const std::string& key = n.name;
        const char* type = n.IsView() ? "VIEW" : "TABLE";
        if (o.kind != n.kind) {
            Prop(type, key, key, "", "kind", KindName(o.kind), KindName(n.kind));
            return;
        }
        Prop(type, key, key, "", "comment", o.description, n.description);
        if (n.IsView()) {
            std::vector<std::string> oc, nc;
            for (const auto& c : o.columns)
                oc.push_back(c.name);
            for (const auto& c : n.columns)
                nc.push_back(c.name);
            Prop("VIEW", key, key, "", "columns", Joined(oc), Joined(nc));
            Source("VIEW", key, key, "source", o.viewSource, n.viewSource);
            for (const auto& c : n.columns)
                if (const Column* oldColumn = o.FindColumn(c.name))
                    Prop("FIELD", key + "." + c.name, c.name, key, "comment", oldColumn->description, c.description);
            return;
        }
        Prop("TABLE", key, key, "", "external file", o.externalFile, n.externalFile);
        // The order of the columns both have; positions differ anyway where one side has more.
        std::vector<std::string> oldOrder, newOrder;
        for (const auto& c : o.columns)
            if (n.FindColumn(c.name))
                oldOrder.push_back(c.name);
        for (const auto& c : n.columns)
            if (o.FindColumn(c.name))
                newOrder.push_back(c.name);
        for (const auto& c : n.columns) {
            const Column* oc = o.FindColumn(c.name);
            if (!oc)
                continue;
            const std::string name = key + "." + c.name;
            if (c.computedSource.empty() != oc->computedSource.empty()) {
                Prop("FIELD", name, c.name, key, "computed", oc->computedSource.empty() ? "no" : "yes",
                     c.computedSource.empty() ? "no" : "yes");
                continue;
            }
            if (!c.computedSource.empty()) {
                Source("FIELD", name, c.name, "computed", oc->computedSource, c.computedSource, key);
            } else {
                Prop("FIELD", name, c.name, key, "type", ColumnType(*oc), ColumnType(c));
            }
            Prop("FIELD", name, c.name, key, "default", Shown(oc->defaultSource), Shown(c.defaultSource));
            if (oc->notNull != c.notNull)
                Prop("FIELD", name, c.name, key, "nullability", oc->notNull ? "not null" : "null",
                     c.notNull ? "not null" : "null");
            Prop("FIELD", name, c.name, key, "collation", Shown(oc->type.collation), Shown(c.type.collation));
            Prop("FIELD", name, c.name, key, "identity", Identity(*oc), Identity(c));
            Prop("FIELD", name, c.name, key, "comment", oc->description, c.description);
        }
        if (oldOrder != newOrder)
            Prop("TABLE", key, key, "", "column order", Joined(oldOrder), Joined(newOrder));
    }

    static std::string KindName(RelationKind kind)
    {
        switch (kind) {
        case RelationKind::Table: return "table";
        case RelationKind::View: return "view";
        case RelationKind::GlobalTemporaryPreserve: return "temporary, preserve rows";
        case RelationKind::GlobalTemporaryDelete: return "temporary, delete rows";
        case RelationKind::External: return "external";
        }
        return "";
    }

    void ProcedureDifferences(const Procedure& o, const Procedure& n)
    {
        const std::string& key = n.name;
        Prop("PROCEDURE", key, key, "", "parameters", Parameters(o.inputs), Parameters(n.inputs));
        Prop("PROCEDURE", key, key, "", "returns", Parameters(o.outputs), Parameters(n.outputs));
        Prop("PROCEDURE", key, key, "", "external", o.engine + " " + o.entryPoint, n.engine + " " + n.entryPoint);
        Source("PROCEDURE", key, key, "source", o.source, n.source);
        Prop("PROCEDURE", key, key, "", "comment", o.description, n.description);
        ParameterComments("PROCEDURE", key, o.inputs, n.inputs);
        ParameterComments("PROCEDURE", key, o.outputs, n.outputs);
    }

    void FunctionDifferences(const Function& o, const Function& n)
    {
        const std::string& key = n.name;
        Prop("FUNCTION", key, key, "", "parameters", Parameters(o.arguments), Parameters(n.arguments));
        Prop("FUNCTION", key, key, "", "returns", Parameters({o.returns}), Parameters({n.returns}));
        Prop("FUNCTION", key, key, "", "deterministic", o.deterministic ? "yes" : "no", n.deterministic ? "yes" : "no");
        Prop("FUNCTION", key, key, "", "external", o.engine + " " + o.entryPoint, n.engine + " " + n.entryPoint);
        Source("FUNCTION", key, key, "source", o.source, n.source);
        Prop("FUNCTION", key, key, "", "comment", o.description, n.description);
        ParameterComments("FUNCTION", key, o.arguments, n.arguments);
    }

    void ParameterComments(const char* type, const std::string& key, const std::vector<Parameter>& o,
                           const std::vector<Parameter>& n)
    {
        for (const auto& p : n)
            for (const auto& q : o)
                if (p.name == q.name && p.description != q.description)
                    Prop(type, key, key, "", "comment of " + p.name, q.description, p.description);
    }

    void IndexDifferences(const Index& o, const Index& n)
    {
        const std::string& key = n.name;
        Index a = o, b = n;
        a.inactive = b.inactive;
        a.description = b.description;
        if (!(a == b)) {
            const Ddl ddl(3);
            Prop("INDEX", key, key, "", "definition", ddl.CreateIndex(o), ddl.CreateIndex(n));
        }
        if (o.inactive != n.inactive)
            Prop("INDEX", key, key, "", "state", o.inactive ? "inactive" : "active", n.inactive ? "inactive" : "active");
        Prop("INDEX", key, key, "", "comment", o.description, n.description);
    }

    void TriggerDifferences(const Trigger& o, const Trigger& n)
    {
        const std::string& key = n.name;
        Prop("TRIGGER", key, key, "", "table", o.relation, n.relation);
        auto firing = [](long long type) {
            try {
                return TriggerTypeText(type);
            } catch (const DdlError&) {
                return std::to_string(type);
            }
        };
        Prop("TRIGGER", key, key, "", "firing", firing(o.type), firing(n.type));
        Prop("TRIGGER", key, key, "", "position", std::to_string(o.position), std::to_string(n.position));
        if (o.inactive != n.inactive)
            Prop("TRIGGER", key, key, "", "state", o.inactive ? "inactive" : "active", n.inactive ? "inactive" : "active");
        Prop("TRIGGER", key, key, "", "external", o.engine + " " + o.entryPoint, n.engine + " " + n.entryPoint);
        Source("TRIGGER", key, key, "source", o.source, n.source);
        Prop("TRIGGER", key, key, "", "comment", o.description, n.description);
    }

    const Schema& old_;
    const Schema& neu_;
    const DiffOptions& options_;
    Ddl display_;
    std::vector<Change> out_;
    std::map<std::string, std::string> paired_;  // New's CHECK key -> Old's
    std::set<std::string> pairedNew_;
    std::set<std::string> pairedOld_;
};

}

std::string Change::Message() const
{
    switch (action) {
    case Action::Create: return kMissingMessage;
    case Action::OnlyInOld: return kOnlyInOldMessage;
    case Action::Alter: break;
    }
    if (property == kNotComparedProperty)
        return "not compared: a kind of object the complete comparison does not know";
    static const std::set<std::string> sources{"source", "header", "body", "check", "computed"};
    if (sources.count(property) || oldValue.find('\n') != std::string::npos || newValue.find('\n') != std::string::npos)
        return "different: " + property;
    return "different: " + property + " " + (oldValue.empty() ? "none" : oldValue) + " -> " +
           (newValue.empty() ? "none" : newValue);
}

std::string NormalizedSource(const std::string& source)
{
    std::istringstream in(source);
    std::string line, text;
    while (std::getline(in, line)) {
        const auto end = line.find_last_not_of(" \t\r");
        if (end == std::string::npos)
            continue;
        text += line.substr(0, end + 1) + "\n";
    }
    return text;
}

std::vector<Change> Diff(const Schema& old, const Schema& neu, const DiffOptions& options)
{
    return Differ(old, neu, options).Run();
}

}
