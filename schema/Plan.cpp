// Diff by name (or by what a server-named object is) and the plan in phases; within a phase
// objects follow New's names, views follow their dependencies.
#include "schema/Plan.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace schema {
namespace {

std::string Joined(const std::vector<std::string>& parts, const char* separator = ", ")
{
    std::string text;
    for (const auto& part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

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
    static const std::map<std::string, std::string> words{{"S", "SELECT"},     {"I", "INSERT"}, {"U", "UPDATE"},
                                                          {"D", "DELETE"},     {"R", "REFERENCES"},
                                                          {"X", "EXECUTE"},    {"G", "USAGE"}};
    auto word = words.find(g.privilege);
    std::string title = word == words.end() ? g.privilege : word->second;
    if (!g.field.empty())
        title += " (" + g.field + ")";
    return title + " ON " + g.object + " TO " + g.user;
}

template <typename Map, typename TitleFn>
void DiffMap(std::vector<Change>& out, const char* type, const Map& old, const Map& neu, TitleFn title)
{
    for (const auto& [key, object] : neu)
        if (!old.count(key))
            out.push_back({Action::Create, type, title(object), key, ""});
}

template <typename Map, typename TitleFn>
void OnlyInOld(std::vector<Change>& out, const char* type, const Map& old, const Map& neu, TitleFn title)
{
    for (const auto& [key, object] : old)
        if (!neu.count(key))
            out.push_back({Action::OnlyInOld, type, title(object), key, ""});
}

template <typename T>
std::string NameOf(const T& object)
{
    return object.name;
}

// Types a server of an older on-disk structure does not have.
void CheckTypeFits(const Type& type, int odsMajor, const std::string& object)
{
    const bool newer = type.fieldType == 24 || type.fieldType == 25 || type.fieldType == 26 || type.fieldType == 28 ||
                       type.fieldType == 29;
    if (newer && odsMajor < 13)
        throw DdlError(object + " cannot be created on the Old Database: its type (code " +
                       std::to_string(type.fieldType) + ") needs Firebird 4 or later");
}

class Planner {
public:
    Planner(const Schema& old, const Schema& neu, const std::vector<Change>& changes)
        : old_(old), neu_(neu), ddl_(old.dialect)
    {
        for (const auto& change : changes)
            if (change.action == Action::Create)
                creates_[change.type].push_back(&change);
    }

    Plan Build()
    {
        Plan plan;
        plan.dialect = ddl_.Dialect();
        plan_ = &plan;
        Each("COLLATION", [&](const Change& c) { Add(1, c, ddl_.CreateCollation(neu_.collations.at(c.key))); });
        Each("ROLE", [&](const Change& c) { Add(2, c, ddl_.CreateRole(neu_.roles.at(c.key))); });
        Each("GENERATOR", [&](const Change& c) { Add(3, c, ddl_.CreateGenerator(neu_.generators.at(c.key))); });
        Each("EXCEPTION", [&](const Change& c) { Add(4, c, ddl_.CreateException(neu_.exceptions.at(c.key))); });
        Each("DOMAIN", [&](const Change& c) {
            const Domain& d = neu_.domains.at(c.key);
            CheckTypeFits(d.type, old_.odsMajor, "Domain " + d.name);
            Add(5, c, ddl_.CreateDomain(d));
        });
        Each("TABLE", [&](const Change& c) {
            const Relation& t = neu_.relations.at(c.key);
            for (const auto& column : t.columns)
                CheckTypeFits(column.type, old_.odsMajor, "Column " + t.name + "." + column.name);
            Add(6, c, ddl_.CreateTable(t));
        });
        AddMissingColumns();
        Each("EXTERNAL FUNCTION",
             [&](const Change& c) { Add(7, c, ddl_.DeclareExternalFunction(neu_.externalFunctions.at(c.key))); });
        Each("PACKAGE", [&](const Change& c) { Add(8, c, ddl_.CreatePackage(neu_.packages.at(c.key)), true); });
        Each("PROCEDURE", [&](const Change& c) {
            const Procedure& p = neu_.procedures.at(c.key);
            Add(8, c, p.engine.empty() ? ddl_.ProcedureStub(p) : ddl_.ProcedureBody(p), true);
        });
        Each("FUNCTION", [&](const Change& c) {
            const Function& f = neu_.functions.at(c.key);
            Add(8, c, f.engine.empty() ? ddl_.FunctionStub(f) : ddl_.FunctionBody(f), true);
        });
        AddConstraints(9, [](const Constraint& k) {
            return k.kind == ConstraintKind::PrimaryKey || k.kind == ConstraintKind::Unique;
        });
        AddConstraints(10, [](const Constraint& k) { return k.kind == ConstraintKind::ForeignKey; });
        Each("INDEX", [&](const Change& c) {
            const Index& ix = neu_.indices.at(c.key);
            Add(11, c, ddl_.CreateIndex(ix));
            if (ix.inactive)
                Add(11, c, ddl_.DeactivateIndex(ix));
        });
        AddViews();
        Each("PROCEDURE", [&](const Change& c) {
            const Procedure& p = neu_.procedures.at(c.key);
            if (p.engine.empty())
                Add(13, c, ddl_.ProcedureBody(p), true);
        });
        Each("FUNCTION", [&](const Change& c) {
            const Function& f = neu_.functions.at(c.key);
            if (f.engine.empty())
                Add(13, c, ddl_.FunctionBody(f), true);
        });
        Each("PACKAGE", [&](const Change& c) {
            const Package& p = neu_.packages.at(c.key);
            if (!p.bodySource.empty())
                Add(13, c, ddl_.CreatePackageBody(p), true);
        });
        Each("DOMAIN", [&](const Change& c) {
            const Domain& d = neu_.domains.at(c.key);
            if (!d.validationSource.empty())
                Add(14, c, ddl_.AddDomainCheck(d));
        });
        AddConstraints(14, [](const Constraint& k) { return k.kind == ConstraintKind::Check; });
        AddComputedExpressions();
        Each("TRIGGER", [&](const Change& c) { Add(15, c, ddl_.CreateTrigger(neu_.triggers.at(c.key)), true); });
        Each("GRANT", [&](const Change& c) { Add(16, c, ddl_.GrantText(neu_.grants.at(c.key))); });
        AddComments();
        std::stable_sort(plan.steps.begin(), plan.steps.end(),
                         [](const Step& a, const Step& b) { return a.phase < b.phase; });
        return plan;
    }

private:
    void Each(const std::string& type, const std::function<void(const Change&)>& fn)
    {
        auto it = creates_.find(type);
        if (it == creates_.end())
            return;
        for (const Change* change : it->second) {
            try {
                fn(*change);
            } catch (const DdlError& error) {
                throw DdlError(change->type + " " + change->name + ": " + error.what());
            }
        }
    }

    void Add(int phase, const Change& c, const std::string& sql, bool psql = false)
    {
        plan_->steps.push_back({phase, c.type, c.name, sql, psql});
    }
    void Add(int phase, const std::string& type, const std::string& name, const std::string& sql)
    {
        plan_->steps.push_back({phase, type, name, sql, false});
    }

    bool Creating(const std::string& type, const std::string& key) const
    {
        auto it = creates_.find(type);
        if (it == creates_.end())
            return false;
        for (const Change* change : it->second)
            if (change->key == key)
                return true;
        return false;
    }

    void AddMissingColumns()
    {
        // The columns are added in New's order, then moved to their place in that order.
        std::map<std::string, std::vector<const Column*>> added;
        Each("FIELD", [&](const Change& c) {
            const Column* column = neu_.relations.at(c.table).FindColumn(c.key);
            CheckTypeFits(column->type, old_.odsMajor, "Column " + c.table + "." + column->name);
            Add(6, c, ddl_.AddColumn(c.table, *column));
            added[c.table].push_back(column);
        });
        for (const auto& [table, columns] : added) {
            const std::size_t existing = old_.relations.at(table).columns.size();
            for (std::size_t i = 0; i < columns.size(); ++i)
                if (static_cast<std::size_t>(columns[i]->position) != existing + i)
                    Add(6, "FIELD", table + "." + columns[i]->name, ddl_.AlterColumnPosition(table, *columns[i]));
        }
    }

    void AddConstraints(int phase, const std::function<bool(const Constraint&)>& wanted)
    {
        Each("CONSTRAINT", [&](const Change& c) {
            const Constraint& k = neu_.constraints.at(c.key);
            if (wanted(k))
                Add(phase, c, ddl_.AddConstraint(k));
        });
    }

    void AddViews()
    {
        // A view comes after the views it selects from; stubs already stand for routines.
        std::vector<const Change*> views;
        Each("VIEW", [&](const Change& c) { views.push_back(&c); });
        std::map<std::string, std::set<std::string>> uses;
        std::set<std::string> names;
        for (const Change* v : views)
            names.insert(v->key);
        for (const auto& d : neu_.dependencies)
            if (d.dependentType == 1 && names.count(d.dependent) && names.count(d.dependedOn) && d.dependent != d.dependedOn)
                uses[d.dependent].insert(d.dependedOn);
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
                Add(12, *v, ddl_.CreateView(neu_.relations.at(v->key)));
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
    }

    void AddComputedExpressions()
    {
        auto computed = [&](const std::string& table, const Column& column) {
            if (!column.computedSource.empty())
                Add(14, "FIELD", table + "." + column.name, ddl_.AlterComputed(table, column));
        };
        Each("TABLE", [&](const Change& c) {
            for (const auto& column : neu_.relations.at(c.key).columns)
                computed(c.key, column);
        });
        Each("FIELD", [&](const Change& c) { computed(c.table, *neu_.relations.at(c.table).FindColumn(c.key)); });
    }

    void Comment(const std::string& type, const std::string& name, const std::string& what,
                 const std::string& description)
    {
        if (!description.empty())
            Add(17, type, name, ddl_.Comment(what, description));
    }

    void ColumnComments(const std::string& table, const Column& column)
    {
        Comment("FIELD", table + "." + column.name, "COLUMN " + ddl_.Name(table) + "." + ddl_.Name(column.name),
                column.description);
    }

    void AddComments()
    {
        Each("COLLATION", [&](const Change& c) {
            Comment(c.type, c.name, "COLLATION " + ddl_.Name(c.key), neu_.collations.at(c.key).description);
        });
        Each("ROLE", [&](const Change& c) {
            Comment(c.type, c.name, "ROLE " + ddl_.Name(c.key), neu_.roles.at(c.key).description);
        });
        Each("GENERATOR", [&](const Change& c) {
            Comment(c.type, c.name, "SEQUENCE " + ddl_.Name(c.key), neu_.generators.at(c.key).description);
        });
        Each("EXCEPTION", [&](const Change& c) {
            Comment(c.type, c.name, "EXCEPTION " + ddl_.Name(c.key), neu_.exceptions.at(c.key).description);
        });
        Each("DOMAIN", [&](const Change& c) {
            Comment(c.type, c.name, "DOMAIN " + ddl_.Name(c.key), neu_.domains.at(c.key).description);
        });
        for (const char* kind : {"TABLE", "VIEW"})
            Each(kind, [&](const Change& c) {
                const Relation& r = neu_.relations.at(c.key);
                Comment(c.type, c.name, std::string(r.IsView() ? "VIEW " : "TABLE ") + ddl_.Name(c.key), r.description);
                for (const auto& column : r.columns)
                    ColumnComments(c.key, column);
            });
        Each("FIELD", [&](const Change& c) { ColumnComments(c.table, *neu_.relations.at(c.table).FindColumn(c.key)); });
        Each("EXTERNAL FUNCTION", [&](const Change& c) {
            Comment(c.type, c.name, "EXTERNAL FUNCTION " + ddl_.Name(c.key),
                    neu_.externalFunctions.at(c.key).description);
        });
        Each("PACKAGE", [&](const Change& c) {
            Comment(c.type, c.name, "PACKAGE " + ddl_.Name(c.key), neu_.packages.at(c.key).description);
        });
        Each("PROCEDURE", [&](const Change& c) {
            const Procedure& p = neu_.procedures.at(c.key);
            Comment(c.type, c.name, "PROCEDURE " + ddl_.Name(c.key), p.description);
            for (const auto* list : {&p.inputs, &p.outputs})
                for (const auto& param : *list)
                    Comment(c.type, c.name, "PROCEDURE PARAMETER " + ddl_.Name(c.key) + "." + ddl_.Name(param.name),
                            param.description);
        });
        Each("FUNCTION", [&](const Change& c) {
            const Function& f = neu_.functions.at(c.key);
            Comment(c.type, c.name, "FUNCTION " + ddl_.Name(c.key), f.description);
            for (const auto& param : f.arguments)
                Comment(c.type, c.name, "FUNCTION PARAMETER " + ddl_.Name(c.key) + "." + ddl_.Name(param.name),
                        param.description);
        });
        Each("INDEX", [&](const Change& c) {
            Comment(c.type, c.name, "INDEX " + ddl_.Name(c.key), neu_.indices.at(c.key).description);
        });
        Each("TRIGGER", [&](const Change& c) {
            Comment(c.type, c.name, "TRIGGER " + ddl_.Name(c.key), neu_.triggers.at(c.key).description);
        });
    }

    const Schema& old_;
    const Schema& neu_;
    Ddl ddl_;
    std::map<std::string, std::vector<const Change*>> creates_;
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

std::vector<Change> Diff(const Schema& old, const Schema& neu)
{
    std::vector<Change> out;
    auto name = [](const auto& object) { return NameOf(object); };
    DiffMap(out, "COLLATION", old.collations, neu.collations, name);
    DiffMap(out, "ROLE", old.roles, neu.roles, name);
    DiffMap(out, "GENERATOR", old.generators, neu.generators, name);
    DiffMap(out, "EXCEPTION", old.exceptions, neu.exceptions, name);
    DiffMap(out, "DOMAIN", old.domains, neu.domains, name);
    for (const auto& key : neu.relationOrder) {
        const Relation& rel = neu.relations.at(key);
        auto existing = old.relations.find(key);
        if (existing == old.relations.end()) {
            out.push_back({Action::Create, rel.IsView() ? "VIEW" : "TABLE", key, key, ""});
            continue;
        }
        if (rel.IsView() || existing->second.IsView())
            continue;
        for (const auto& column : rel.columns)
            if (!existing->second.FindColumn(column.name))
                out.push_back({Action::Create, "FIELD", key + "." + column.name, column.name, key});
    }
    DiffMap(out, "EXTERNAL FUNCTION", old.externalFunctions, neu.externalFunctions, name);
    DiffMap(out, "PACKAGE", old.packages, neu.packages, name);
    DiffMap(out, "PROCEDURE", old.procedures, neu.procedures, name);
    DiffMap(out, "FUNCTION", old.functions, neu.functions, name);
    for (const auto& key : neu.constraintOrder)
        if (!old.constraints.count(key))
            out.push_back({Action::Create, "CONSTRAINT", ConstraintTitle(neu.constraints.at(key)), key, ""});
    DiffMap(out, "INDEX", old.indices, neu.indices, name);
    DiffMap(out, "TRIGGER", old.triggers, neu.triggers, name);
    DiffMap(out, "GRANT", old.grants, neu.grants, GrantTitle);

    OnlyInOld(out, "COLLATION", old.collations, neu.collations, name);
    OnlyInOld(out, "ROLE", old.roles, neu.roles, name);
    OnlyInOld(out, "GENERATOR", old.generators, neu.generators, name);
    OnlyInOld(out, "EXCEPTION", old.exceptions, neu.exceptions, name);
    OnlyInOld(out, "DOMAIN", old.domains, neu.domains, name);
    for (const auto& [key, rel] : old.relations) {
        auto existing = neu.relations.find(key);
        if (existing == neu.relations.end()) {
            out.push_back({Action::OnlyInOld, rel.IsView() ? "VIEW" : "TABLE", key, key, ""});
            continue;
        }
        if (rel.IsView() || existing->second.IsView())
            continue;
        for (const auto& column : rel.columns)
            if (!existing->second.FindColumn(column.name))
                out.push_back({Action::OnlyInOld, "FIELD", key + "." + column.name, column.name, key});
    }
    OnlyInOld(out, "EXTERNAL FUNCTION", old.externalFunctions, neu.externalFunctions, name);
    OnlyInOld(out, "PACKAGE", old.packages, neu.packages, name);
    OnlyInOld(out, "PROCEDURE", old.procedures, neu.procedures, name);
    OnlyInOld(out, "FUNCTION", old.functions, neu.functions, name);
    OnlyInOld(out, "CONSTRAINT", old.constraints, neu.constraints, ConstraintTitle);
    OnlyInOld(out, "INDEX", old.indices, neu.indices, name);
    OnlyInOld(out, "TRIGGER", old.triggers, neu.triggers, name);
    OnlyInOld(out, "GRANT", old.grants, neu.grants, GrantTitle);
    return out;
}

Plan MakePlan(const Schema& old, const Schema& neu, const std::vector<Change>& changes)
{
    return Planner(old, neu, changes).Build();
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
    text += "SET BAIL ON;\nSET AUTODDL OFF;\n";
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

}

namespace schema {

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
