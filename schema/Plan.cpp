// The plan in phases; within a phase objects keep New's order (names, or the order they were
// made in where the extract follows it), views follow their dependencies.
#include "schema/Plan.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace schema {
namespace {

// Drops come first, dependents before what they use; then the creating phases.
enum Phase {
    StubDependents = -17,
    DropTriggers,
    DropGrants,
    DropViews,
    EmptyDroppedRoutines,
    DropRoutines,
    DropPackages,
    DropForeignKeys,
    DropConstraints,
    DropIndices,
    DropColumns,
    DropTables,
    DropExternalFunctions,
    DropDomains,
    DropExceptions,
    DropGenerators,
    DropRolesAndCollations,
    Collations = 1,
    Roles,
    Generators,
    Exceptions,
    Domains,
    Tables,
    ColumnChanges,
    ExternalFunctions,
    Stubs,
    Keys,
    ForeignKeys,
    Indices,
    Views,
    Bodies,
    // A changed routine's body must stand before the views on it are made again: altering the
    // routine afterwards would leave those views' columns unknown to the routines that use them.
    RestoredViews,
    RestoredBodies,
    Checks,
    Triggers,
    Grants,
    Comments,
};

// Types a server of an older on-disk structure does not have.
void CheckTypeFits(const Type& type, int odsMajor, const std::string& object)
{
    const bool newer = type.fieldType == 24 || type.fieldType == 25 || type.fieldType == 26 || type.fieldType == 28 ||
                       type.fieldType == 29;
    if (newer && odsMajor < 13)
        throw DdlError(object + " cannot be created on the Old Database: its type (code " +
                       std::to_string(type.fieldType) + ") needs Firebird 4 or later");
}

bool ValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

class Planner {
public:
    Planner(const Schema& old, const Schema& neu, const std::vector<Change>& changes, const PlanOptions& options)
        : old_(old), neu_(neu), options_(options), ddl_(old.dialect), oldDdl_(old.dialect)
    {
        for (const auto& change : changes) {
            if (change.action == Action::Create)
                creates_[change.type].push_back(&change);
            else if (change.action == Action::Alter)
                alters_[change.type].push_back(&change);
            else if (options.drop)
                drops_[change.type].push_back(&change);
        }
    }

    Plan Build()
    {
        Plan plan;
        plan.dialect = ddl_.Dialect();
        plan_ = &plan;
        PlanDrops();
        PlanCreates();
        PlanAlters();
        // A routine taken out that has a new body of its own gets it where the restored ones go.
        for (auto& step : plan.steps)
            if (step.phase == Bodies && taken_.count(step.name) && (step.type == "PROCEDURE" || step.type == "FUNCTION"))
                step.phase = RestoredBodies;
        std::stable_sort(plan.steps.begin(), plan.steps.end(),
                         [](const Step& a, const Step& b) { return a.phase < b.phase; });
        return plan;
    }

private:
    using ChangeFn = std::function<void(const Change&)>;

    // The error with the object it is about in front, once.
    static DdlError Named(const Change& change, const DdlError& error)
    {
        const std::string prefix = change.type + " " + change.name + ": ";
        const std::string message = error.what();
        return DdlError(message.rfind(prefix, 0) == 0 ? message : prefix + message);
    }

    void EachIn(const std::map<std::string, std::vector<const Change*>>& set, const std::string& type, const ChangeFn& fn)
    {
        auto it = set.find(type);
        if (it == set.end())
            return;
        for (const Change* change : it->second) {
            try {
                fn(*change);
            } catch (const DdlError& error) {
                throw Named(*change, error);
            }
        }
    }
    void Each(const std::string& type, const ChangeFn& fn) { EachIn(creates_, type, fn); }
    void EachDrop(const std::string& type, const ChangeFn& fn) { EachIn(drops_, type, fn); }
    // One call per object that differs, however many of its properties do.
    void EachAltered(const std::string& type, const std::function<void(const Change&, const std::set<std::string>&)>& fn)
    {
        std::map<std::string, std::set<std::string>> properties;
        std::vector<const Change*> first;
        EachIn(alters_, type, [&](const Change& c) {
            const std::string id = c.table + "|" + c.key;
            if (properties[id].empty())
                first.push_back(&c);
            properties[id].insert(c.property);
        });
        for (const Change* c : first) {
            try {
                fn(*c, properties[c->table + "|" + c->key]);
            } catch (const DdlError& error) {
                throw Named(*c, error);
            }
        }
    }

    void Add(int phase, const Change& c, const std::string& sql, bool psql = false)
    {
        Add(phase, c.type, c.name, sql, psql);
    }
    void Add(int phase, const std::string& type, const std::string& name, const std::string& sql, bool psql = false)
    {
        // The statements go out in UTF-8, the catalog's own encoding; other bytes would be refused
        // half way through a repair.
        if (!ValidUtf8(sql))
            throw DdlError(type + " " + name + ": its text holds bytes that are not valid UTF-8");
        plan_->steps.push_back({phase, type, name, sql, psql});
    }
    void NotMended(const Change& c, const std::string& why)
    {
        plan_->notMended.push_back(c.type + " " + c.name + ": " + why);
    }

    bool Dropping(const std::string& type, const std::string& key) const
    {
        auto it = drops_.find(type);
        if (it == drops_.end())
            return false;
        for (const Change* change : it->second)
            if (change->key == key)
                return true;
        return false;
    }

    std::string OldConstraintName(const std::string& key) const
    {
        auto it = old_.constraintNames.find(key);
        return it == old_.constraintNames.end() ? old_.constraints.at(key).name : it->second;
    }

    // ---- creating what Old lacks ----

    void PlanCreates()
    {
        Each("COLLATION", [&](const Change& c) { Add(Collations, c, ddl_.CreateCollation(neu_.collations.at(c.key))); });
        Each("ROLE", [&](const Change& c) { Add(Roles, c, ddl_.CreateRole(neu_.roles.at(c.key))); });
        Each("GENERATOR", [&](const Change& c) { Add(Generators, c, ddl_.CreateGenerator(neu_.generators.at(c.key))); });
        Each("EXCEPTION", [&](const Change& c) { Add(Exceptions, c, ddl_.CreateException(neu_.exceptions.at(c.key))); });
        Each("DOMAIN", [&](const Change& c) {
            const Domain& d = neu_.domains.at(c.key);
            CheckTypeFits(d.type, old_.odsMajor, "Domain " + d.name);
            Add(Domains, c, ddl_.CreateDomain(d));
            if (!d.validationSource.empty())
                Add(Checks, c, ddl_.AddDomainCheck(d));
        });
        Each("TABLE", [&](const Change& c) {
            const Relation& t = neu_.relations.at(c.key);
            for (const auto& column : t.columns)
                CheckTypeFits(column.type, old_.odsMajor, "Column " + t.name + "." + column.name);
            Add(Tables, c, ddl_.CreateTable(t));
            for (const auto& column : t.columns)
                Computed(c.key, column);
        });
        AddMissingColumns();
        Each("EXTERNAL FUNCTION",
             [&](const Change& c) { Add(ExternalFunctions, c, ddl_.DeclareExternalFunction(neu_.externalFunctions.at(c.key))); });
        Each("PACKAGE", [&](const Change& c) {
            const Package& p = neu_.packages.at(c.key);
            Add(Stubs, c, ddl_.CreatePackage(p), true);
            if (!p.bodySource.empty())
                Add(Bodies, c, ddl_.CreatePackageBody(p), true);
        });
        Each("PROCEDURE", [&](const Change& c) {
            const Procedure& p = neu_.procedures.at(c.key);
            if (!p.engine.empty()) {
                Add(Stubs, c, ddl_.ProcedureBody(p), true);
                return;
            }
            Add(Stubs, c, ddl_.ProcedureStub(p), true);
            Add(Bodies, c, ddl_.ProcedureBody(p), true);
        });
        Each("FUNCTION", [&](const Change& c) {
            const Function& f = neu_.functions.at(c.key);
            if (!f.engine.empty()) {
                Add(Stubs, c, ddl_.FunctionBody(f), true);
                return;
            }
            Add(Stubs, c, ddl_.FunctionStub(f), true);
            Add(Bodies, c, ddl_.FunctionBody(f), true);
        });
        Each("CONSTRAINT", [&](const Change& c) { AddConstraint(c, neu_.constraints.at(c.key)); });
        Each("INDEX", [&](const Change& c) { CreateIndex(c, neu_.indices.at(c.key)); });
        AddViews();
        Each("TRIGGER", [&](const Change& c) { Add(Triggers, c, ddl_.CreateTrigger(neu_.triggers.at(c.key)), true); });
        Each("GRANT", [&](const Change& c) { Add(Grants, c, ddl_.GrantText(neu_.grants.at(c.key))); });
        AddComments();
    }

    void AddConstraint(const Change& c, const Constraint& k)
    {
        const int phase = k.kind == ConstraintKind::ForeignKey ? ForeignKeys
                          : k.kind == ConstraintKind::Check    ? Checks
                                                               : Keys;
        Add(phase, c, ddl_.AddConstraint(k));
    }

    void CreateIndex(const Change& c, const Index& ix)
    {
        Add(Indices, c, ddl_.CreateIndex(ix));
        if (ix.inactive)
            Add(Indices, c, ddl_.DeactivateIndex(ix));
    }

    void Computed(const std::string& table, const Column& column)
    {
        if (!column.computedSource.empty())
            Add(Checks, "FIELD", table + "." + column.name, ddl_.AlterComputed(table, column));
    }

    void AddMissingColumns()
    {
        // The columns are added in New's order, then moved to their place in that order.
        std::map<std::string, std::vector<const Column*>> added;
        Each("FIELD", [&](const Change& c) {
            const Column* column = neu_.relations.at(c.table).FindColumn(c.key);
            CheckTypeFits(column->type, old_.odsMajor, "Column " + c.table + "." + column->name);
            Add(Tables, c, ddl_.AddColumn(c.table, *column));
            Computed(c.table, *column);
            added[c.table].push_back(column);
        });
        for (const auto& [table, columns] : added) {
            std::size_t existing = old_.relations.at(table).columns.size();
            for (const auto& change : drops_["FIELD"])
                if (change->table == table)
                    --existing;
            for (std::size_t i = 0; i < columns.size(); ++i)
                if (static_cast<std::size_t>(columns[i]->position) != existing + i)
                    Add(Tables, "FIELD", table + "." + columns[i]->name, ddl_.AlterColumnPosition(table, *columns[i]));
        }
    }

    void AddViews()
    {
        std::vector<const Change*> views;
        Each("VIEW", [&](const Change& c) { views.push_back(&c); });
        for (const Change* v : OrderedByUse(views, neu_, false))
            Add(Views, *v, ddl_.CreateView(neu_.relations.at(v->key)));
    }

    // Views in an order where each comes after the views it selects from (or, reversed, before them).
    std::vector<const Change*> OrderedByUse(const std::vector<const Change*>& views, const Schema& schema, bool reversed)
    {
        std::set<std::string> names;
        for (const Change* v : views)
            names.insert(v->key);
        std::map<std::string, std::set<std::string>> uses;
        for (const auto& d : schema.dependencies)
            if (d.dependentType == 1 && names.count(d.dependent) && names.count(d.dependedOn) &&
                d.dependent != d.dependedOn) {
                if (reversed)
                    uses[d.dependedOn].insert(d.dependent);
                else
                    uses[d.dependent].insert(d.dependedOn);
            }
        std::vector<const Change*> ordered;
        std::set<std::string> done;
        while (done.size() < views.size()) {
            bool progress = false;
            for (const Change* v : views) {
                if (done.count(v->key))
                    continue;
                bool ready = true;
                for (const auto& used : uses[v->key])
                    ready = ready && done.count(used);
                if (!ready)
                    continue;
                ordered.push_back(v);
                done.insert(v->key);
                progress = true;
            }
            if (!progress) {
                std::vector<std::string> left;
                for (const Change* v : views)
                    if (!done.count(v->key))
                        left.push_back(v->key);
                throw DdlError("These views depend on each other in a cycle that no stub can break: " + Joined(left));
            }
        }
        return ordered;
    }

    void Comment(const std::string& type, const std::string& name, const std::string& what,
                 const std::string& description, bool evenEmpty = false)
    {
        if (description.empty() && !evenEmpty)
            return;
        Add(Comments, type, name,
            description.empty() ? "COMMENT ON " + what + " IS NULL" : ddl_.Comment(what, description));
    }

    std::string ColumnWhat(const std::string& table, const std::string& column) const
    {
        return "COLUMN " + ddl_.Name(table) + "." + ddl_.Name(column);
    }

    std::string ObjectWhat(const std::string& type, const std::string& key) const
    {
        return (type == "GENERATOR" ? std::string("SEQUENCE") : type) + " " + ddl_.Name(key);
    }

    const std::string* DescriptionOf(const Schema& s, const std::string& type, const std::string& key) const
    {
        if (type == "COLLATION" && s.collations.count(key)) return &s.collations.at(key).description;
        if (type == "ROLE" && s.roles.count(key)) return &s.roles.at(key).description;
        if (type == "GENERATOR" && s.generators.count(key)) return &s.generators.at(key).description;
        if (type == "EXCEPTION" && s.exceptions.count(key)) return &s.exceptions.at(key).description;
        if (type == "DOMAIN" && s.domains.count(key)) return &s.domains.at(key).description;
        if ((type == "TABLE" || type == "VIEW") && s.relations.count(key)) return &s.relations.at(key).description;
        if (type == "EXTERNAL FUNCTION" && s.externalFunctions.count(key)) return &s.externalFunctions.at(key).description;
        if (type == "PACKAGE" && s.packages.count(key)) return &s.packages.at(key).description;
        if (type == "PROCEDURE" && s.procedures.count(key)) return &s.procedures.at(key).description;
        if (type == "FUNCTION" && s.functions.count(key)) return &s.functions.at(key).description;
        if (type == "INDEX" && s.indices.count(key)) return &s.indices.at(key).description;
        if (type == "TRIGGER" && s.triggers.count(key)) return &s.triggers.at(key).description;
        return nullptr;
    }

    void AddComments()
    {
        for (const char* type : {"COLLATION", "ROLE", "GENERATOR", "EXCEPTION", "DOMAIN", "TABLE", "VIEW",
                                 "EXTERNAL FUNCTION", "PACKAGE", "PROCEDURE", "FUNCTION", "INDEX", "TRIGGER"})
            Each(type, [&](const Change& c) {
                if (const std::string* description = DescriptionOf(neu_, c.type, c.key))
                    Comment(c.type, c.name, ObjectWhat(c.type, c.key), *description);
                if (c.type == "TABLE" || c.type == "VIEW")
                    for (const auto& column : neu_.relations.at(c.key).columns)
                        Comment("FIELD", c.key + "." + column.name, ColumnWhat(c.key, column.name), column.description);
                ParameterComments(c.type, c.key, c.name, {});
            });
        Each("FIELD", [&](const Change& c) {
            Comment(c.type, c.name, ColumnWhat(c.table, c.key), neu_.relations.at(c.table).FindColumn(c.key)->description);
        });
    }

    // Parameter comments of a routine; only: the names of those whose comment differs.
    void ParameterComments(const std::string& type, const std::string& key, const std::string& name,
                           const std::set<std::string>& only, bool evenEmpty = false)
    {
        std::vector<const Parameter*> params;
        if (type == "PROCEDURE" && neu_.procedures.count(key)) {
            for (const auto& p : neu_.procedures.at(key).inputs)
                params.push_back(&p);
            for (const auto& p : neu_.procedures.at(key).outputs)
                params.push_back(&p);
        } else if (type == "FUNCTION" && neu_.functions.count(key)) {
            for (const auto& p : neu_.functions.at(key).arguments)
                params.push_back(&p);
        } else {
            return;
        }
        for (const Parameter* p : params)
            if (only.empty() || only.count("comment of " + p->name))
                Comment(type, name, type + " PARAMETER " + ddl_.Name(key) + "." + ddl_.Name(p->name), p->description,
                        evenEmpty);
    }

    // ---- mending what differs ----

    void PlanAlters()
    {
        for (const auto& [type, changes] : alters_)
            for (const Change* c : changes)
                if (c->property == kNotComparedProperty)
                    NotMended(*c, "this comparison cannot create it; create it by hand");
        EachAltered("GENERATOR", [&](const Change& c, const std::set<std::string>& props) {
            const Generator& g = neu_.generators.at(c.key);
            if (props.count("initial value"))
                Add(Generators, c, "ALTER SEQUENCE " + ddl_.Name(g.name) + " RESTART WITH " + std::to_string(g.initialValue));
            if (props.count("increment"))
                Add(Generators, c, "ALTER SEQUENCE " + ddl_.Name(g.name) + " INCREMENT BY " + std::to_string(g.increment));
            AlteredComment(c, props);
        });
        EachAltered("EXCEPTION", [&](const Change& c, const std::set<std::string>& props) {
            const Exception& e = neu_.exceptions.at(c.key);
            if (props.count("message"))
                Add(Exceptions, c, "ALTER EXCEPTION " + ddl_.Name(e.name) + " " + Ddl::Literal(e.message));
            AlteredComment(c, props);
        });
        for (const char* type : {"COLLATION", "ROLE"})
            EachAltered(type, [&](const Change& c, const std::set<std::string>& props) {
                if (props.count("definition"))
                    NotMended(c, "a collation cannot be changed in place");
                AlteredComment(c, props);
            });
        EachAltered("DOMAIN", [&](const Change& c, const std::set<std::string>& props) { AlterDomain(c, props); });
        EachAltered("FIELD", [&](const Change& c, const std::set<std::string>& props) { AlterColumn(c, props); });
        EachAltered("TABLE", [&](const Change& c, const std::set<std::string>& props) {
            if (props.count("kind") || props.count("external file"))
                NotMended(c, "a table cannot change its kind or file in place");
            if (props.count("column order"))
                for (const auto& column : neu_.relations.at(c.key).columns)
                    Add(ColumnChanges, "FIELD", c.key + "." + column.name, ddl_.AlterColumnPosition(c.key, column));
            AlteredComment(c, props);
        });
        EachAltered("EXTERNAL FUNCTION", [&](const Change& c, const std::set<std::string>& props) {
            if (props.count("declaration")) {
                Add(DropExternalFunctions, c, "DROP EXTERNAL FUNCTION " + ddl_.Name(c.key));
                Add(ExternalFunctions, c, ddl_.DeclareExternalFunction(neu_.externalFunctions.at(c.key)));
            }
            AlteredComment(c, props);
        });
        EachAltered("PACKAGE", [&](const Change& c, const std::set<std::string>& props) {
            const Package& p = neu_.packages.at(c.key);
            if (props.count("header"))
                Add(Stubs, c, "ALTER PACKAGE " + ddl_.Name(p.name) + "\nAS\n" + p.headerSource, true);
            if ((props.count("header") || props.count("body")) && !p.bodySource.empty())
                Add(Bodies, c, "RECREATE PACKAGE BODY " + ddl_.Name(p.name) + "\nAS\n" + p.bodySource, true);
            AlteredComment(c, props);
        });
        EachAltered("PROCEDURE", [&](const Change& c, const std::set<std::string>& props) {
            const Procedure& p = neu_.procedures.at(c.key);
            const bool header = props.count("parameters") || props.count("returns");
            // A new header stands before the views, whose columns may come from it.
            if (header && p.engine.empty())
                Add(Stubs, c, ddl_.ProcedureStub(p), true);
            if (header || props.count("source") || props.count("external"))
                Add(Bodies, c, ddl_.ProcedureBody(p), true);
            if (header)
                TakeOutDependents(c.key);
            AlteredComment(c, props);
            ParameterComments(c.type, c.key, c.name, props, true);
        });
        EachAltered("FUNCTION", [&](const Change& c, const std::set<std::string>& props) {
            const Function& f = neu_.functions.at(c.key);
            const bool header = props.count("parameters") || props.count("returns") || props.count("deterministic");
            if (header && f.engine.empty())
                Add(Stubs, c, ddl_.FunctionStub(f), true);
            if (header || props.count("source") || props.count("external"))
                Add(Bodies, c, ddl_.FunctionBody(f), true);
            if (header)
                TakeOutDependents(c.key);
            AlteredComment(c, props);
            ParameterComments(c.type, c.key, c.name, props, true);
        });
        // After the routines: a changed header may have made a view again already.
        EachAltered("VIEW", [&](const Change& c, const std::set<std::string>& props) {
            if ((props.count("columns") || props.count("source")) && !replacedViews_.count(c.key))
                Add(Views, c, "CREATE OR ALTER" + ddl_.CreateView(neu_.relations.at(c.key)).substr(6));
            AlteredComment(c, props);
        });
        AlterConstraints();
        EachAltered("INDEX", [&](const Change& c, const std::set<std::string>& props) {
            const Index& ix = neu_.indices.at(c.key);
            if (props.count("definition")) {
                Add(DropIndices, c, "DROP INDEX " + ddl_.Name(ix.name));
                CreateIndex(c, ix);
            } else if (props.count("state")) {
                Add(Indices, c, "ALTER INDEX " + ddl_.Name(ix.name) + (ix.inactive ? " INACTIVE" : " ACTIVE"));
            }
            AlteredComment(c, props);
        });
        EachAltered("TRIGGER", [&](const Change& c, const std::set<std::string>& props) {
            const Trigger& t = neu_.triggers.at(c.key);
            if (props.count("table")) {
                Add(DropTriggers, c, "DROP TRIGGER " + ddl_.Name(t.name));
                Add(Triggers, c, ddl_.CreateTrigger(t), true);
            } else if (props.size() == 1 && props.count("state")) {
                Add(Triggers, c, "ALTER TRIGGER " + ddl_.Name(t.name) + (t.inactive ? " INACTIVE" : " ACTIVE"));
            } else if (!(props.size() == 1 && props.count("comment"))) {
                Add(Triggers, c, "CREATE OR ALTER" + ddl_.CreateTrigger(t).substr(6), true);
            }
            AlteredComment(c, props);
        });
        EachAltered("GRANT", [&](const Change& c, const std::set<std::string>&) {
            const Grant& g = neu_.grants.at(c.key);
            if (g.grantOption) {
                Add(Grants, c, ddl_.GrantText(g));
            } else {
                Grant with = g;
                with.grantOption = 0;
                const std::string text = ddl_.GrantText(with);  // "GRANT p ON o TO u"
                const auto to = text.rfind(" TO ");
                Add(Grants, c, (g.privilege == "M" ? "REVOKE ADMIN OPTION FOR " : "REVOKE GRANT OPTION FOR ") +
                                   text.substr(6, to - 6) + " FROM " + text.substr(to + 4));
            }
        });
    }

    void AlteredComment(const Change& c, const std::set<std::string>& props)
    {
        if (!props.count("comment"))
            return;
        const std::string* description = DescriptionOf(neu_, c.type, c.key);
        if (c.type == "FIELD")
            description = &neu_.relations.at(c.table).FindColumn(c.key)->description;
        if (!description)
            return;
        const std::string what = c.type == "FIELD" ? ColumnWhat(c.table, c.key) : ObjectWhat(c.type, c.key);
        Comment(c.type, c.name, what, *description, true);
    }

    void AlterDomain(const Change& c, const std::set<std::string>& props)
    {
        const Domain& d = neu_.domains.at(c.key);
        const std::string name = "ALTER DOMAIN " + ddl_.Name(d.name);
        if (props.count("type")) {
            CheckTypeFits(d.type, old_.odsMajor, "Domain " + d.name);
            Type plain = d.type;
            plain.collation.clear();
            Add(Domains, c, name + " TYPE " + ddl_.TypeText(plain));
        }
        if (props.count("default"))
            Add(Domains, c, d.defaultSource.empty() ? name + " DROP DEFAULT" : name + " SET " + d.defaultSource);
        if (props.count("nullability"))
            Add(Domains, c, name + (d.notNull ? " SET NOT NULL" : " DROP NOT NULL"));
        if (props.count("check")) {
            if (!old_.domains.at(c.key).validationSource.empty())
                Add(DropConstraints, c, name + " DROP CONSTRAINT");
            if (!d.validationSource.empty())
                Add(Checks, c, ddl_.AddDomainCheck(d));
        }
        if (props.count("collation"))
            NotMended(c, "the server cannot change a domain's collation in place");
        AlteredComment(c, props);
    }

    void AlterColumn(const Change& c, const std::set<std::string>& props)
    {
        const Column& n = *neu_.relations.at(c.table).FindColumn(c.key);
        const Column& o = *old_.relations.at(c.table).FindColumn(c.key);
        const std::string alter = "ALTER TABLE " + ddl_.Name(c.table) + " ALTER " + ddl_.Name(n.name);
        if (props.count("computed")) {
            if (n.computedSource.empty() || o.computedSource.empty())
                NotMended(c, "a column cannot become or stop being computed in place");
            else
                Computed(c.table, n);
        }
        if (props.count("type")) {
            const bool rebuild = n.domain.empty() && o.domain.empty() && TypeFamily(n.type) != TypeFamily(o.type);
            if (rebuild || TypeFamily(n.type) == 4 || TypeFamily(o.type) == 4) {
                RebuildColumn(c, n);
                return;
            }
            CheckTypeFits(n.type, old_.odsMajor, "Column " + c.table + "." + n.name);
            Type plain = n.type;
            plain.collation.clear();
            Add(ColumnChanges, c, alter + " TYPE " + (n.domain.empty() ? ddl_.TypeText(plain) : ddl_.Name(n.domain)));
        }
        if (props.count("default"))
            Add(ColumnChanges, c, n.defaultSource.empty() ? alter + " DROP DEFAULT" : alter + " SET " + n.defaultSource);
        if (props.count("nullability"))
            Add(ColumnChanges, c, alter + (n.notNull ? " SET NOT NULL" : " DROP NOT NULL"));
        if (props.count("identity")) {
            if (n.identityType && o.identityType && *n.identityType == *o.identityType)
                Add(ColumnChanges, c, alter + " RESTART WITH " + std::to_string(n.identityStart));
            else
                NotMended(c, "a column cannot become or stop being an identity column in place");
        }
        if (props.count("collation"))
            NotMended(c, "the server cannot change a column's collation in place");
        AlteredComment(c, props);
    }

    // A type of another family: only an empty table can take the column out and back in one
    // transaction; a table with rows needs a data migration, which the safety checks stop.
    void RebuildColumn(const Change& c, const Column& n)
    {
        auto rows = options_.rowCounts.find(c.table);
        if (rows == options_.rowCounts.end() || rows->second != 0) {
            if (options_.force) {
                Migrate(c, n);
                return;
            }
            NotMended(c, "needs a data migration: " +
                             (rows == options_.rowCounts.end() ? std::string("the") : std::to_string(rows->second)) +
                             " rows of " + c.table);
            return;
        }
        Add(DropColumns, c, "ALTER TABLE " + ddl_.Name(c.table) + " DROP " + ddl_.Name(n.name));
        Add(Tables, c, ddl_.AddColumn(c.table, n));
        Add(ColumnChanges, c, ddl_.AlterColumnPosition(c.table, n));
        Computed(c.table, n);
        Comment(c.type, c.name, ColumnWhat(c.table, n.name), n.description);
    }

    void Migrate(const Change& c, const Column& n)
    {
        const std::string table = ddl_.Name(c.table), column = ddl_.Name(n.name);
        const std::string copy = "VK$COPY_" + std::to_string(plan_->migrations.size() + 1);
        Column target = n;
        target.name = copy;
        target.notNull = false;
        target.notNullConstraint.clear();
        Type plain = n.type;
        plain.collation.clear();
        const std::string type = n.domain.empty() ? ddl_.TypeText(plain) : ddl_.Name(n.domain);
        Migration m;
        m.type = c.type;
        m.name = c.name;
        m.add = {"ALTER TABLE " + table + " ADD " + ddl_.ColumnDefinition(target, true)};
        m.copy = {"UPDATE " + table + " SET " + copy + " = CAST(" + column + " AS " + type + ")"};
        m.undo = {"ALTER TABLE " + table + " DROP " + copy};
        m.swap = {"ALTER TABLE " + table + " DROP " + column, "ALTER TABLE " + table + " ALTER " + copy + " TO " + column,
                  ddl_.AlterColumnPosition(c.table, n)};
        if (n.notNull)
            m.swap.push_back("ALTER TABLE " + table + " ALTER " + column + " SET NOT NULL");
        plan_->migrations.push_back(m);
        Comment(c.type, c.name, ColumnWhat(c.table, n.name), n.description);
        plan_->warnings.push_back(c.type + " " + c.name +
                                  ": rebuilt by a data migration in committed steps, before the one transaction "
                                  "of the rest");
    }

    // A changed constraint is dropped and added again; so are the foreign keys that lean on a
    // changed key, which the server would not let go otherwise.
    void AlterConstraints()
    {
        std::set<std::string> readded;
        EachAltered("CONSTRAINT", [&](const Change& c, const std::set<std::string>&) {
            const std::string oldKey = c.oldKey.empty() ? c.key : c.oldKey;
            const Constraint& o = old_.constraints.at(oldKey);
            DropConstraint(c.type, c.name, oldKey, o);
            AddConstraint(c, neu_.constraints.at(c.key));
            readded.insert(c.key);
            if (o.kind != ConstraintKind::PrimaryKey && o.kind != ConstraintKind::Unique)
                return;
            for (const auto& [key, fk] : old_.constraints) {
                if (fk.kind != ConstraintKind::ForeignKey || fk.refTable != o.table || fk.refColumns != o.columns ||
                    readded.count(key) || Dropping("CONSTRAINT", key))
                    continue;
                DropConstraint("CONSTRAINT", key, key, fk);
                readded.insert(key);
                if (neu_.constraints.count(key))
                    AddConstraint(Change{Action::Alter, "CONSTRAINT", key, key, "", "", "", "", ""},
                                  neu_.constraints.at(key));
            }
        });
    }

    void DropConstraint(const std::string& type, const std::string& name, const std::string& oldKey, const Constraint& o)
    {
        Add(o.kind == ConstraintKind::ForeignKey ? DropForeignKeys : DropConstraints, type, name,
            "ALTER TABLE " + ddl_.Name(o.table) + " DROP CONSTRAINT " + ddl_.Name(OldConstraintName(oldKey)));
    }

    // ---- what depends on a changed header ----

    // The server will not change a routine's parameters while a view selects them: Old's views
    // that use it, and the views on those, are dropped and made again; routines that use any of
    // them are emptied first and get their body back afterwards. Grants and comments come back too.
    void TakeOutDependents(const std::string& routine)
    {
        std::set<std::string> views, routines;
        std::vector<std::string> frontier{routine};
        while (!frontier.empty()) {
            const std::string used = frontier.back();
            frontier.pop_back();
            for (const auto& d : old_.dependencies) {
                if (d.dependedOn != used || d.dependent == routine)
                    continue;
                if (d.dependentType == 1 && old_.relations.count(d.dependent) && views.insert(d.dependent).second)
                    frontier.push_back(d.dependent);
                else if ((d.dependentType == 5 && old_.procedures.count(d.dependent)) ||
                         (d.dependentType == 15 && old_.functions.count(d.dependent)))
                    routines.insert(d.dependent);
            }
        }
        for (const auto& name : routines) {
            if (taken_.count(name) || Dropping("PROCEDURE", name) || Dropping("FUNCTION", name))
                continue;
            taken_.insert(name);
            const bool isProcedure = old_.procedures.count(name) > 0;
            const char* type = isProcedure ? "PROCEDURE" : "FUNCTION";
            if (isProcedure) {
                Add(StubDependents, type, name, oldDdl_.ProcedureStub(old_.procedures.at(name)), true);
                if (!Altering(type, name))
                    Add(RestoredBodies, type, name,
                        ddl_.ProcedureBody(neu_.procedures.count(name) ? neu_.procedures.at(name) : old_.procedures.at(name)),
                        true);
            } else {
                Add(StubDependents, type, name, oldDdl_.FunctionStub(old_.functions.at(name)), true);
                if (!Altering(type, name))
                    Add(RestoredBodies, type, name,
                        ddl_.FunctionBody(neu_.functions.count(name) ? neu_.functions.at(name) : old_.functions.at(name)),
                        true);
            }
        }
        std::vector<Change> taken;
        for (const auto& name : views)
            if (!taken_.count(name) && !Dropping("VIEW", name)) {
                taken_.insert(name);
                taken.push_back(Change{Action::Alter, "VIEW", name, name, "", "", "", "", ""});
            }
        std::vector<const Change*> pointers;
        for (const auto& c : taken)
            pointers.push_back(&c);
        for (const Change* v : OrderedByUse(pointers, old_, true))
            Add(DropViews, *v, "DROP VIEW " + ddl_.Name(v->key));
        for (const Change* v : OrderedByUse(pointers, old_, false)) {
            const bool inNew = neu_.relations.count(v->key) > 0;
            const Schema& source = inNew ? neu_ : old_;
            const Relation& view = source.relations.at(v->key);
            Add(RestoredViews, *v, ddl_.CreateView(view));
            Comment("VIEW", v->key, "VIEW " + ddl_.Name(v->key), view.description);
            for (const auto& column : view.columns)
                Comment("FIELD", v->key + "." + column.name, ColumnWhat(v->key, column.name), column.description);
            for (const auto& [key, g] : source.grants)
                if (g.objectType == 0 && g.object == v->key)
                    Add(Grants, "GRANT", g.object, ddl_.GrantText(g));
            replacedViews_.insert(v->key);
        }
    }

    bool Altering(const std::string& type, const std::string& key) const
    {
        auto it = alters_.find(type);
        if (it == alters_.end())
            return false;
        for (const Change* change : it->second)
            if (change->key == key && change->property != "comment")
                return true;
        return false;
    }

    // ---- dropping what only Old has ----

    void PlanDrops()
    {
        std::set<std::string> tables;
        EachDrop("TABLE", [&](const Change& c) { tables.insert(c.key); });
        auto onDroppedTable = [&](const std::string& table) { return tables.count(table) > 0; };

        EachDrop("TRIGGER", [&](const Change& c) {
            if (!onDroppedTable(old_.triggers.at(c.key).relation))
                Add(DropTriggers, c, "DROP TRIGGER " + ddl_.Name(c.key));
        });
        EachDrop("GRANT", [&](const Change& c) {
            const Grant& g = old_.grants.at(c.key);
            if (ObjectGoes(g))
                return;
            Grant plain = g;
            plain.grantOption = 0;
            const std::string text = oldDdl_.GrantText(plain);
            const auto to = text.rfind(" TO ");
            Add(DropGrants, c, "REVOKE " + text.substr(6, to - 6) + " FROM " + text.substr(to + 4));
        });
        std::vector<const Change*> views;
        EachDrop("VIEW", [&](const Change& c) { views.push_back(&c); });
        for (const Change* v : OrderedByUse(views, old_, true))
            Add(DropViews, *v, "DROP VIEW " + ddl_.Name(v->key));
        EachDrop("PACKAGE", [&](const Change& c) { Add(DropPackages, c, "DROP PACKAGE " + ddl_.Name(c.key)); });
        // Emptied first, routines that call each other can then go in any order.
        EachDrop("PROCEDURE", [&](const Change& c) {
            const Procedure& p = old_.procedures.at(c.key);
            if (p.engine.empty())
                Add(EmptyDroppedRoutines, c, oldDdl_.ProcedureStub(p), true);
            Add(DropRoutines, c, "DROP PROCEDURE " + ddl_.Name(c.key));
        });
        EachDrop("FUNCTION", [&](const Change& c) {
            const Function& f = old_.functions.at(c.key);
            if (f.engine.empty())
                Add(EmptyDroppedRoutines, c, oldDdl_.FunctionStub(f), true);
            Add(DropRoutines, c, "DROP FUNCTION " + ddl_.Name(c.key));
        });
        EachDrop("CONSTRAINT", [&](const Change& c) {
            const Constraint& k = old_.constraints.at(c.key);
            if (!onDroppedTable(k.table))
                DropConstraint(c.type, c.name, c.key, k);
        });
        EachDrop("INDEX", [&](const Change& c) {
            if (!onDroppedTable(old_.indices.at(c.key).table))
                Add(DropIndices, c, "DROP INDEX " + ddl_.Name(c.key));
        });
        EachDrop("FIELD", [&](const Change& c) {
            if (!onDroppedTable(c.table))
                Add(DropColumns, c, "ALTER TABLE " + ddl_.Name(c.table) + " DROP " + ddl_.Name(c.key));
        });
        EachDrop("TABLE", [&](const Change& c) { Add(DropTables, c, "DROP TABLE " + ddl_.Name(c.key)); });
        EachDrop("EXTERNAL FUNCTION",
                 [&](const Change& c) { Add(DropExternalFunctions, c, "DROP EXTERNAL FUNCTION " + ddl_.Name(c.key)); });
        EachDrop("DOMAIN", [&](const Change& c) { Add(DropDomains, c, "DROP DOMAIN " + ddl_.Name(c.key)); });
        EachDrop("EXCEPTION", [&](const Change& c) { Add(DropExceptions, c, "DROP EXCEPTION " + ddl_.Name(c.key)); });
        EachDrop("GENERATOR", [&](const Change& c) { Add(DropGenerators, c, "DROP SEQUENCE " + ddl_.Name(c.key)); });
        EachDrop("ROLE", [&](const Change& c) { Add(DropRolesAndCollations, c, "DROP ROLE " + ddl_.Name(c.key)); });
        EachDrop("COLLATION",
                 [&](const Change& c) { Add(DropRolesAndCollations, c, "DROP COLLATION " + ddl_.Name(c.key)); });
    }

    // A privilege goes with its object, and with the routine or trigger that held it.
    bool ObjectGoes(const Grant& g) const
    {
        static const std::map<int, const char*> types{{0, "TABLE"},     {5, "PROCEDURE"}, {15, "FUNCTION"},
                                                      {18, "PACKAGE"},  {14, "GENERATOR"}, {7, "EXCEPTION"},
                                                      {13, "ROLE"}};
        auto type = types.find(g.objectType);
        if (type != types.end() && (Dropping(type->second, g.object) || (g.objectType == 0 && Dropping("VIEW", g.object))))
            return true;
        static const std::map<int, const char*> holders{{5, "PROCEDURE"}, {2, "TRIGGER"}, {1, "VIEW"},
                                                        {15, "FUNCTION"}, {18, "PACKAGE"}, {13, "ROLE"}};
        auto holder = holders.find(g.userType);
        return holder != holders.end() && Dropping(holder->second, g.user);
    }

    const Schema& old_;
    const Schema& neu_;
    PlanOptions options_;
    Ddl ddl_;
    Ddl oldDdl_;
    std::map<std::string, std::vector<const Change*>> creates_;
    std::map<std::string, std::vector<const Change*>> alters_;
    std::map<std::string, std::vector<const Change*>> drops_;
    // Objects taken out for a changed header, and the views made again for it.
    std::set<std::string> taken_;
    std::set<std::string> replacedViews_;
    Plan* plan_ = nullptr;
};

std::string CommentSafe(std::string text)
{
    for (std::size_t at; (at = text.find("*/")) != std::string::npos;)
        text.replace(at, 2, "* /");
    return text;
}
// A terminator that the text does not hold.
std::string TerminatorFor(const std::vector<const Step*>& steps)
{
    for (const char* candidate : {"^", "!!", "^^", "#~#", "~~~~"}) {
        bool free = true;
        for (const Step* step : steps)
            free = free && step->sql.find(candidate) == std::string::npos;
        if (free)
            return candidate;
    }
    return "~~vorkat~~";
}

}

Plan MakePlan(const Schema& old, const Schema& neu, const std::vector<Change>& changes, const PlanOptions& options)
{
    return Planner(old, neu, changes, options).Build();
}

std::string ScriptText(const Plan& plan)
{
    std::vector<const Step*> psql;
    for (const auto& step : plan.steps)
        if (step.psql)
            psql.push_back(&step);
    const std::string term = TerminatorFor(psql);
    std::string text = "SET SQL DIALECT " + std::to_string(plan.dialect) + ";\n";
    // One transaction, as in a repair: a refused statement ends the script before the COMMIT.
    bool ascii = true;
    for (const auto& step : plan.steps)
        for (unsigned char c : step.sql)
            ascii = ascii && c < 0x80;
    if (!ascii)
        text += "/* This script holds text in UTF-8: run it with isql-fb -ch UTF8 */\n";
    text += "SET BAIL ON;\nSET AUTODDL OFF;\n";
    for (const auto& warning : plan.warnings)
        text += "/* Warning: " + CommentSafe(warning) + " */\n";
    for (const auto& left : plan.notMended)
        text += "/* Not mended: " + CommentSafe(left) + " */\n";
    for (const auto& m : plan.migrations) {
        text += "\n/* Data migration of " + CommentSafe(m.type + " " + m.name) + ", committed step by step */\n";
        for (const auto* part : {&m.add, &m.copy, &m.swap}) {
            for (const auto& sql : *part)
                text += sql + ";\n";
            text += "COMMIT;\n";
        }
    }

    bool inTerm = false;
    for (const auto& step : plan.steps) {
        if (step.psql != inTerm) {
            text += step.psql ? "\nSET TERM " + term + " ;\n" : "SET TERM ; " + term + "\n";
            inTerm = step.psql;
        }
        text += "\n/* " + CommentSafe(step.type + " " + step.name) + " */\n" + step.sql + (step.psql ? " " + term : ";") + "\n";
    }
    if (inTerm)
        text += "SET TERM ; " + term + "\n";
    text += "\nCOMMIT;\n";
    return text;
}

std::string Definition(const Schema& schema, const Change& change)
{
    const Ddl ddl(schema.dialect);
    const std::string& key = change.key;
    try {
        if (change.type == "COLLATION")
            return ddl.CreateCollation(schema.collations.at(key));
        if (change.type == "ROLE")
            return ddl.CreateRole(schema.roles.at(key));
        if (change.type == "GENERATOR")
            return ddl.CreateGenerator(schema.generators.at(key));
        if (change.type == "EXCEPTION")
            return ddl.CreateException(schema.exceptions.at(key));
        if (change.type == "DOMAIN") {
            const Domain& d = schema.domains.at(key);
            return ddl.CreateDomain(d) + (d.validationSource.empty() ? "" : "\n" + d.validationSource);
        }
        if (change.type == "TABLE") {
            Relation table = schema.relations.at(key);
            std::string text = ddl.CreateTable(table);
            for (const auto& column : table.columns)
                if (!column.computedSource.empty())
                    text += ";\n" + ddl.AlterComputed(key, column);
            return text;
        }
        if (change.type == "VIEW")
            return ddl.CreateView(schema.relations.at(key));
        if (change.type == "FIELD")
            return ddl.ColumnDefinition(*schema.relations.at(change.table).FindColumn(key), false);
        if (change.type == "EXTERNAL FUNCTION")
            return ddl.DeclareExternalFunction(schema.externalFunctions.at(key));
        if (change.type == "PACKAGE") {
            const Package& p = schema.packages.at(key);
            return ddl.CreatePackage(p) + (p.bodySource.empty() ? "" : "\n\n" + ddl.CreatePackageBody(p));
        }
        if (change.type == "PROCEDURE")
            return ddl.ProcedureBody(schema.procedures.at(key));
        if (change.type == "FUNCTION")
            return ddl.FunctionBody(schema.functions.at(key));
        if (change.type == "CONSTRAINT")
            return ddl.AddConstraint(schema.constraints.at(key));
        if (change.type == "INDEX")
            return ddl.CreateIndex(schema.indices.at(key));
        if (change.type == "TRIGGER")
            return ddl.CreateTrigger(schema.triggers.at(key));
        if (change.type == "GRANT")
            return ddl.GrantText(schema.grants.at(key));
    } catch (const DdlError& error) {
        return std::string("/* ") + error.what() + " */";
    } catch (const std::out_of_range&) {
    }
    return {};
}

}
