// Objects are matched by exact name; constraints the server named are matched by what they
// are. Each object that differs becomes one change holding every property of it that differs.
#include "schema/Diff.h"
#include "schema/Ddl.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace schema {
namespace {

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
    // An object that one side lacks; ref is where the other side holds it.
    void Add(Action action, ObjectKind kind, const std::string& name, const std::string& key, ObjectRef ref,
             const std::string& table = "")
    {
        Change change;
        change.action = action;
        change.kind = kind;
        change.name = name;
        change.key = key;
        change.table = table;
        (action == Action::OnlyInOld ? change.from : change.to) = ref;
        out_.push_back(std::move(change));
    }

    template <typename Map, typename TitleFn>
    void Lacking(Action action, ObjectKind kind, const Map& have, const Map& lack, TitleFn title)
    {
        for (const auto& [key, object] : have)
            if (!lack.count(key))
                Add(action, kind, title(object), key, &object);
    }

    // The object whose properties the next Prop calls compare; its change is made at the first
    // property that differs.
    template <typename T>
    void Begin(ObjectKind kind, const std::string& name, const std::string& key, const T& o, const T& n,
               const std::string& table = "", const std::string& oldKey = "")
    {
        current_ = Change{};
        current_.action = Action::Alter;
        current_.kind = kind;
        current_.name = name;
        current_.key = key;
        current_.table = table;
        current_.oldKey = oldKey;
        current_.from = &o;
        current_.to = &n;
        open_ = false;
    }

    void Prop(Property property, const std::string& oldValue, const std::string& newValue,
              const std::string& parameter = "")
    {
        if (oldValue == newValue)
            return;
        if (!open_) {
            out_.push_back(current_);
            open_ = true;
        }
        out_.back().properties.push_back({property, parameter, oldValue, newValue});
    }

    // Sources: the values are not shown, they are compared as --ignore-whitespace asks.
    void Source(Property property, const std::string& oldSource, const std::string& newSource)
    {
        const bool same = options_.ignoreWhitespace ? NormalizedSource(oldSource) == NormalizedSource(newSource)
                                                    : oldSource == newSource;
        if (!same)
            Prop(property, oldSource, newSource);
    }

    void Flag(Property property, bool oldValue, bool newValue, const char* yes, const char* no)
    {
        if (oldValue != newValue)
            Prop(property, oldValue ? yes : no, newValue ? yes : no);
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

    std::string ReturnsShown(const Parameter& p) const
    {
        try {
            return display_.ReturnsText(p);
        } catch (const DdlError&) {
            return "type code " + std::to_string(p.type.fieldType);
        }
    }

    static std::string Security(const std::optional<bool>& definer)
    {
        return definer ? SqlSecurityText(definer) : "none";
    }

    static std::string Publication(const Database& d)
    {
        return !d.publication ? (d.publishAll ? "disabled, all tables" : "disabled")
                              : (d.publishAll ? "enabled, all tables" : "enabled");
    }

    static std::string Identity(const Column& c)
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
        Lacking(action, ObjectKind::Collation, have.collations, lack.collations, name);
        Lacking(action, ObjectKind::Role, have.roles, lack.roles, name);
        Lacking(action, ObjectKind::Generator, have.generators, lack.generators, name);
        Lacking(action, ObjectKind::Exception, have.exceptions, lack.exceptions, name);
        Lacking(action, ObjectKind::Domain, have.domains, lack.domains, name);
        for (const auto& key : have.relationOrder) {
            const Relation& rel = have.relations.at(key);
            auto existing = lack.relations.find(key);
            if (existing == lack.relations.end()) {
                Add(action, rel.IsView() ? ObjectKind::View : ObjectKind::Table, key, key, &rel);
                continue;
            }
            if (rel.IsView() || existing->second.IsView())
                continue;
            for (const auto& column : rel.columns)
                if (!existing->second.FindColumn(column.name))
                    Add(action, ObjectKind::Field, key + "." + column.name, column.name, &column, key);
        }
        Lacking(action, ObjectKind::ExternalFunction, have.externalFunctions, lack.externalFunctions, name);
        Lacking(action, ObjectKind::Package, have.packages, lack.packages, name);
        Lacking(action, ObjectKind::Procedure, have.procedures, lack.procedures, name);
        Lacking(action, ObjectKind::Function, have.functions, lack.functions, name);
        for (const auto& key : have.constraintOrder)
            if (!lack.constraints.count(key) && !paired.count(key)) {
                const Constraint& c = have.constraints.at(key);
                Add(action, ObjectKind::Constraint, ConstraintTitle(c), key, &c);
            }
        Lacking(action, ObjectKind::Index, have.indices, lack.indices, name);
        Lacking(action, ObjectKind::Trigger, have.triggers, lack.triggers, name);
        Lacking(action, ObjectKind::Grant, have.grants, lack.grants, GrantTitle);
    }

    // Kinds the model does not hold: named once for New, never planned.
    void NotCompared()
    {
        for (const auto& object : neu_.unknown)
            if (std::find(old_.unknown.begin(), old_.unknown.end(), object) == old_.unknown.end()) {
                Add(Action::Alter, object.kind, object.name, object.name, {});
                out_.back().properties.push_back({Property::NotCompared, "", "", ""});
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
            pairedBack_[left.front()] = key;
            pairedNew_.insert(key);
            pairedOld_.insert(left.front());
            left.erase(left.begin());
        }
    }

    // Each kind's objects that both sides have, in the order the report lists them.
    template <typename Map, typename Fn>
    static void Both(const Map& old, const Map& neu, Fn fn)
    {
        for (const auto& [key, n] : neu)
            if (auto o = old.find(key); o != old.end())
                fn(key, o->second, n);
    }

    void Different()
    {
        const Ddl ddl(3);
        Begin(ObjectKind::Database, "", "", old_.database, neu_.database);
        Prop(Property::DefaultCharset, old_.database.defaultCharset, neu_.database.defaultCharset);
        Prop(Property::Linger, std::to_string(old_.database.linger), std::to_string(neu_.database.linger));
        Prop(Property::Comment, old_.database.description, neu_.database.description);
        Prop(Property::SqlSecurity, Security(old_.database.sqlSecurity), Security(neu_.database.sqlSecurity));
        Prop(Property::Publication, Publication(old_.database), Publication(neu_.database));
        Both(old_.characterSets, neu_.characterSets,
             [&](const std::string& key, const CharacterSet& o, const CharacterSet& n) {
                 Begin(ObjectKind::CharacterSet, key, key, o, n);
                 Prop(Property::DefaultCollation, o.defaultCollation, n.defaultCollation);
             });
        Both(old_.collations, neu_.collations, [&](const std::string& key, const Collation& o, const Collation& n) {
            ByStatement(ObjectKind::Collation, key, o, n, Property::Definition,
                        [&](const Collation& c) { return ddl.CreateCollation(c); });
        });
        Both(old_.roles, neu_.roles, [&](const std::string& key, const Role& o, const Role& n) {
            Begin(ObjectKind::Role, key, key, o, n);
            Prop(Property::SystemPrivileges, Shown(Joined(o.systemPrivileges)), Shown(Joined(n.systemPrivileges)));
            Prop(Property::Comment, o.description, n.description);
        });
        Both(old_.generators, neu_.generators, [&](const std::string& key, const Generator& o, const Generator& n) {
            Begin(ObjectKind::Generator, key, key, o, n);
            Prop(Property::InitialValue, std::to_string(o.initialValue), std::to_string(n.initialValue));
            Prop(Property::Increment, std::to_string(o.increment), std::to_string(n.increment));
            Prop(Property::Comment, o.description, n.description);
        });
        Both(old_.exceptions, neu_.exceptions, [&](const std::string& key, const Exception& o, const Exception& n) {
            Begin(ObjectKind::Exception, key, key, o, n);
            Prop(Property::Message, o.message, n.message);
            Prop(Property::Comment, o.description, n.description);
        });
        Both(old_.domains, neu_.domains, [&](const std::string&, const Domain& o, const Domain& n) { DomainDifferences(o, n); });
        for (const auto& key : neu_.relationOrder)
            if (auto o = old_.relations.find(key); o != old_.relations.end())
                RelationDifferences(o->second, neu_.relations.at(key));
        Both(old_.externalFunctions, neu_.externalFunctions,
             [&](const std::string& key, const ExternalFunction& o, const ExternalFunction& n) {
                 ByStatement(ObjectKind::ExternalFunction, key, o, n, Property::Declaration,
                             [&](const ExternalFunction& f) { return ddl.DeclareExternalFunction(f); });
             });
        Both(old_.packages, neu_.packages, [&](const std::string& key, const Package& o, const Package& n) {
            Begin(ObjectKind::Package, key, key, o, n);
            Source(Property::Header, o.headerSource, n.headerSource);
            Source(Property::Body, o.bodySource, n.bodySource);
            Prop(Property::SqlSecurity, Security(o.sqlSecurity), Security(n.sqlSecurity));
            Prop(Property::Comment, o.description, n.description);
            std::set<std::string> keys;
            for (const auto* comments : {&o.routineComments, &n.routineComments})
                for (const auto& entry : *comments)
                    keys.insert(entry.first);
            for (const auto& routine : keys) {
                auto before = o.routineComments.find(routine), after = n.routineComments.find(routine);
                Prop(Property::ParameterComment, before == o.routineComments.end() ? "" : before->second,
                     after == n.routineComments.end() ? "" : after->second, routine);
            }
        });
        Both(old_.procedures, neu_.procedures, [&](const std::string&, const Procedure& o, const Procedure& n) { ProcedureDifferences(o, n); });
        Both(old_.functions, neu_.functions, [&](const std::string&, const Function& o, const Function& n) { FunctionDifferences(o, n); });
        ConstraintDifferences(ddl);
        Both(old_.indices, neu_.indices, [&](const std::string&, const Index& o, const Index& n) { IndexDifferences(o, n); });
        Both(old_.triggers, neu_.triggers, [&](const std::string&, const Trigger& o, const Trigger& n) { TriggerDifferences(o, n); });
        Both(old_.grants, neu_.grants, [&](const std::string& key, const Grant& o, const Grant& n) {
            Begin(ObjectKind::Grant, GrantTitle(n), key, o, n);
            Prop(Property::GrantOption, o.grantOption ? "with" : "without", n.grantOption ? "with" : "without");
        });
    }

    // An object whose definition is one statement: it differs where the statements do, and in its comment.
    template <typename T, typename TextFn>
    void ByStatement(ObjectKind kind, const std::string& key, const T& o, const T& n, Property property, TextFn text)
    {
        Begin(kind, key, key, o, n);
        Prop(property, text(o), text(n));
        Prop(Property::Comment, o.description, n.description);
    }

    void ConstraintDifferences(const Ddl& ddl)
    {
        for (const auto& key : neu_.constraintOrder) {
            const Constraint& n = neu_.constraints.at(key);
            const auto paired = paired_.find(key);
            const std::string oldKey = paired != paired_.end() ? paired->second : key;
            auto o = old_.constraints.find(oldKey);
            if (o == old_.constraints.end() || SameConstraint(o->second, n))
                continue;
            Begin(ObjectKind::Constraint, ConstraintTitle(n), key, o->second, n, "", oldKey);
            Prop(Property::Definition, DefinitionOf(ddl, o->second), DefinitionOf(ddl, n));
        }
    }

    // A CHECK's source is compared as --ignore-whitespace asks, as a domain's is.
    bool SameConstraint(const Constraint& o, const Constraint& n) const
    {
        if (!options_.ignoreWhitespace)
            return o == n;
        Constraint a = o, b = n;
        a.checkSource = NormalizedSource(a.checkSource);
        b.checkSource = NormalizedSource(b.checkSource);
        return a == b;
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
        Begin(ObjectKind::Domain, n.name, n.name, o, n);
        Prop(Property::Type, TypeShown(o.type), TypeShown(n.type));
        Prop(Property::Default, Shown(o.defaultSource), Shown(n.defaultSource));
        Flag(Property::Nullability, o.notNull, n.notNull, "not null", "null");
        Source(Property::Check, o.validationSource, n.validationSource);
        Prop(Property::Collation, Shown(o.type.collation), Shown(n.type.collation));
        Prop(Property::Comment, o.description, n.description);
    }

    void RelationDifferences(const Relation& o, const Relation& n)
    {
        const std::string& key = n.name;
        Begin(n.IsView() ? ObjectKind::View : ObjectKind::Table, key, key, o, n);
        if (o.kind != n.kind) {
            Prop(Property::RelationKind, RelationKindName(o.kind), RelationKindName(n.kind));
            return;
        }
        Prop(Property::Comment, o.description, n.description);
        if (n.IsView()) {
            Prop(Property::Columns, ColumnNames(o, o), ColumnNames(n, n));
            Source(Property::Source, o.viewSource, n.viewSource);
            for (const auto& c : n.columns)
                if (const Column* oldColumn = o.FindColumn(c.name)) {
                    Begin(ObjectKind::Field, key + "." + c.name, c.name, *oldColumn, c, key);
                    Prop(Property::Comment, oldColumn->description, c.description);
                }
            return;
        }
        Prop(Property::ExternalFile, o.externalFile, n.externalFile);
        Prop(Property::SqlSecurity, Security(o.sqlSecurity), Security(n.sqlSecurity));
        Flag(Property::Publication, o.published, n.published, "included", "not included");
        for (const auto& c : n.columns)
            if (const Column* oc = o.FindColumn(c.name))
                ColumnDifferences(key, *oc, c);
        // The order of the columns both have; positions differ anyway where one side has more.
        Begin(ObjectKind::Table, key, key, o, n);
        Prop(Property::ColumnOrder, ColumnNames(o, n), ColumnNames(n, o));
        Prop(Property::CheckOrder, CheckOrder(old_, key, true), CheckOrder(neu_, key, false));
    }

    // The CHECKs of a table that both sides have, in one side's catalog order, as New writes
    // them: the extract lists them in that order.
    std::string CheckOrder(const Schema& side, const std::string& table, bool isOld) const
    {
        std::vector<std::string> sources;
        for (const auto& key : ChecksOf(side, table)) {
            const Constraint& c = side.constraints.at(key);
            std::string newKey = key;
            if (isOld && pairedBack_.count(key))
                newKey = pairedBack_.at(key);
            const bool both = isOld ? neu_.constraints.count(newKey) > 0
                                    : old_.constraints.count(key) > 0 || paired_.count(key) > 0;
            if (both)
                sources.push_back(ConstraintTitle(neu_.constraints.at(newKey)) +
                                  (c.name.empty() ? " " + neu_.constraints.at(newKey).checkSource : ""));
        }
        return Joined(sources, "; ");
    }

    // A side's CHECKs of the table in catalog order, from one walk over its constraints: a
    // walk per table would grow with the square of the schema.
    const std::vector<std::string>& ChecksOf(const Schema& side, const std::string& table) const
    {
        auto [at, fresh] = checks_.try_emplace(&side);
        auto& byTable = at->second;
        if (fresh)
            for (const auto& key : side.constraintOrder) {
                const Constraint& c = side.constraints.at(key);
                if (c.kind == ConstraintKind::Check)
                    byTable[c.table].push_back(key);
            }
        static const std::vector<std::string> none;
        auto found = byTable.find(table);
        return found == byTable.end() ? none : found->second;
    }

    // The names of relation's columns that other has too, in relation's order.
    static std::string ColumnNames(const Relation& relation, const Relation& other)
    {
        std::vector<std::string> names;
        for (const auto& c : relation.columns)
            if (other.FindColumn(c.name))
                names.push_back(c.name);
        return Joined(names);
    }

    void ColumnDifferences(const std::string& table, const Column& oc, const Column& c)
    {
        Begin(ObjectKind::Field, table + "." + c.name, c.name, oc, c, table);
        if (c.computedSource.empty() != oc.computedSource.empty()) {
            Prop(Property::Computed, oc.computedSource.empty() ? "no" : "yes", c.computedSource.empty() ? "no" : "yes");
            return;
        }
        if (!c.computedSource.empty())
            Source(Property::Computed, oc.computedSource, c.computedSource);
        else
            Prop(Property::Type, ColumnType(oc), ColumnType(c));
        Prop(Property::Default, Shown(oc.defaultSource), Shown(c.defaultSource));
        Flag(Property::Nullability, oc.notNull, c.notNull, "not null", "null");
        Prop(Property::Collation, Shown(oc.type.collation), Shown(c.type.collation));
        Prop(Property::Identity, Identity(oc), Identity(c));
        Prop(Property::Comment, oc.description, c.description);
    }

    static std::string RelationKindName(RelationKind kind)
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

    static std::string External(const std::string& engine, const std::string& entryPoint)
    {
        return engine + " " + entryPoint;
    }

    void ProcedureDifferences(const Procedure& o, const Procedure& n)
    {
        Begin(ObjectKind::Procedure, n.name, n.name, o, n);
        Prop(Property::Parameters, Parameters(o.inputs), Parameters(n.inputs));
        Prop(Property::Returns, Parameters(o.outputs), Parameters(n.outputs));
        Prop(Property::External, External(o.engine, o.entryPoint), External(n.engine, n.entryPoint));
        Source(Property::Source, o.source, n.source);
        Prop(Property::SqlSecurity, Security(o.sqlSecurity), Security(n.sqlSecurity));
        Prop(Property::Comment, o.description, n.description);
        ParameterComments(o.inputs, n.inputs);
        ParameterComments(o.outputs, n.outputs);
    }

    void FunctionDifferences(const Function& o, const Function& n)
    {
        Begin(ObjectKind::Function, n.name, n.name, o, n);
        Prop(Property::Parameters, Parameters(o.arguments), Parameters(n.arguments));
        Prop(Property::Returns, ReturnsShown(o.returns), ReturnsShown(n.returns));
        Flag(Property::Deterministic, o.deterministic, n.deterministic, "yes", "no");
        Prop(Property::External, External(o.engine, o.entryPoint), External(n.engine, n.entryPoint));
        Source(Property::Source, o.source, n.source);
        Prop(Property::SqlSecurity, Security(o.sqlSecurity), Security(n.sqlSecurity));
        Prop(Property::Comment, o.description, n.description);
        ParameterComments(o.arguments, n.arguments);
    }

    void ParameterComments(const std::vector<Parameter>& o, const std::vector<Parameter>& n)
    {
        for (const auto& p : n)
            for (const auto& q : o)
                if (p.name == q.name && p.description != q.description)
                    Prop(Property::ParameterComment, q.description, p.description, p.name);
    }

    void IndexDifferences(const Index& o, const Index& n)
    {
        Begin(ObjectKind::Index, n.name, n.name, o, n);
        Index a = o;
        a.inactive = n.inactive;
        a.description = n.description;
        if (!(a == n)) {
            const Ddl ddl(3);
            Prop(Property::Definition, ddl.CreateIndex(o), ddl.CreateIndex(n));
        }
        Flag(Property::State, o.inactive, n.inactive, "inactive", "active");
        Prop(Property::Comment, o.description, n.description);
    }

    void TriggerDifferences(const Trigger& o, const Trigger& n)
    {
        Begin(ObjectKind::Trigger, n.name, n.name, o, n);
        Prop(Property::Table, o.relation, n.relation);
        auto firing = [](long long type) {
            try {
                return TriggerTypeText(type);
            } catch (const DdlError&) {
                return std::to_string(type);
            }
        };
        Prop(Property::Firing, firing(o.type), firing(n.type));
        Prop(Property::Position, std::to_string(o.position), std::to_string(n.position));
        Flag(Property::State, o.inactive, n.inactive, "inactive", "active");
        Prop(Property::External, External(o.engine, o.entryPoint), External(n.engine, n.entryPoint));
        Prop(Property::SqlSecurity, Security(o.sqlSecurity), Security(n.sqlSecurity));
        Source(Property::Source, o.source, n.source);
        Prop(Property::Comment, o.description, n.description);
    }

    const Schema& old_;
    const Schema& neu_;
    const DiffOptions& options_;
    Ddl display_;
    std::vector<Change> out_;
    Change current_;
    bool open_ = false;
    std::map<std::string, std::string> paired_;      // New's CHECK key -> Old's
    std::map<std::string, std::string> pairedBack_;  // Old's CHECK key -> New's
    mutable std::map<const Schema*, std::map<std::string, std::vector<std::string>>> checks_;
    std::set<std::string> pairedNew_;
    std::set<std::string> pairedOld_;
};

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

std::vector<Change> ChangesToMake(const std::vector<Change>& changes, bool drop)
{
    std::vector<Change> made;
    for (const auto& change : changes)
        if (drop || change.action != Action::OnlyInOld || change.LeftCopy())
            made.push_back(change);
    return made;
}

std::vector<Change> Diff(const Schema& old, const Schema& neu, const DiffOptions& options)
{
    return Differ(old, neu, options).Run();
}

}
