// Procedures, functions and legacy external functions. A routine is created as a stub with its
// real header first and gets its body later, which breaks every cycle between routines and
// views; a changed header takes out, and puts back, what uses the routine.
#include "schema/Planner.h"

namespace schema::planning {

void Planner::CreateExternalFunctions()
{
    Each(ObjectKind::ExternalFunction, [&](const Change& c) {
        Add(ExternalFunctions, c, ddl_.DeclareExternalFunction(c.To<ExternalFunction>()));
    });
}

void Planner::AlterExternalFunction(const Change& c)
{
    if (c.Has(Property::Declaration)) {
        Add(DropExternalFunctions, c, ddl_.Drop(ObjectKind::ExternalFunction, c.key));
        Add(ExternalFunctions, c, ddl_.DeclareExternalFunction(c.To<ExternalFunction>()));
    }
    AlteredComment(c);
}

void Planner::CreateRoutines()
{
    Each(ObjectKind::Procedure, [&](const Change& c) {
        const Procedure& p = c.To<Procedure>();
        CreateRoutine(c, !p.engine.empty(), ddl_.ProcedureStub(p), ddl_.ProcedureBody(p));
    });
    Each(ObjectKind::Function, [&](const Change& c) {
        const Function& f = c.To<Function>();
        CreateRoutine(c, !f.engine.empty(), ddl_.FunctionStub(f), ddl_.FunctionBody(f));
    });
}

// An external routine has no body to wait for: it is whole at once.
void Planner::CreateRoutine(const Change& c, bool external, const std::string& stub, const std::string& body)
{
    if (!external)
        Add(Stubs, c, stub, true);
    Add(external ? Stubs : Bodies, c, body, true);
}

void Planner::AlterProcedure(const Change& c)
{
    const Procedure& p = c.To<Procedure>();
    const bool header = c.Has(Property::Parameters) || c.Has(Property::Returns);
    AlterRoutine(c, header, !p.engine.empty(), [&] { return ddl_.ProcedureStub(p); },
                 [&] { return ddl_.ProcedureBody(p); });
    // Altered, its outputs get new implicit domains that a view on a view on it would not take:
    // the server then refuses to drop the old ones at the commit.
    if (!header && (c.Has(Property::Source) || c.Has(Property::External) || c.Has(Property::SqlSecurity)) &&
        OnViewsOnViews(c.key))
        TakeOutDependents(c.key);
}

bool Planner::OnViewsOnViews(const std::string& procedure, const std::string& package) const
{
    auto isView = [&](const std::string& name) {
        auto it = old_.relations.find(name);
        return it != old_.relations.end() && it->second.IsView();
    };
    for (const auto& direct : old_.dependencies)
        if (direct.dependedOn == procedure && direct.package == package && direct.dependedOnType == 5 &&
            direct.dependentType == 1 && isView(direct.dependent))
            for (const auto& above : old_.dependencies)
                if (above.dependedOn == direct.dependent && above.dependentType == 1 && isView(above.dependent) &&
                    above.dependent != direct.dependent)
                    return true;
    return false;
}

void Planner::AlterFunction(const Change& c)
{
    const Function& f = c.To<Function>();
    const bool header = c.Has(Property::Parameters) || c.Has(Property::Returns) || c.Has(Property::Deterministic);
    AlterRoutine(c, header, !f.engine.empty(), [&] { return ddl_.FunctionStub(f); },
                 [&] { return ddl_.FunctionBody(f); });
}

// The texts are made only where they are needed: a routine whose comment alone changed may have
// a header that Old's dialect cannot write.
void Planner::AlterRoutine(const Change& c, bool header, bool external, const Text& stub, const Text& body)
{
    // A new header stands before the views, whose columns may come from it.
    if (header && !external)
        Add(Stubs, c, stub(), true);
    if (header || c.Has(Property::Source) || c.Has(Property::External) || c.Has(Property::SqlSecurity))
        Add(Bodies, c, body(), true);
    if (header)
        TakeOutDependents(c.key);
    AlteredComment(c);
    ParameterComments(c, true);
}

// Old's views that use the routine, and the views on those, are dropped and made again;
// routines that use any of them are emptied first and get their body back afterwards.
void Planner::TakeOutDependents(const std::string& routine, const std::string& package)
{
    TakeOutUsers(routine, "", package);
}

// What uses an object, or one column of it: the views that select it, and the views on those,
// go and come back; the routines become stubs and get their bodies back; the triggers go and
// come back.
void Planner::TakeOutUsers(const std::string& object, const std::string& column, const std::string& package)
{
    std::set<std::string> views, routines;
    std::vector<std::string> frontier{object};
    while (!frontier.empty()) {
        const std::string used = frontier.back();
        frontier.pop_back();
        for (const auto& d : old_.dependencies) {
            if (d.dependedOn != used || d.dependent == object ||
                (used == object && ((!column.empty() && d.field != column) || d.package != package)))
                continue;
            if (d.dependentType == 2 && old_.triggers.count(d.dependent)) {
                TakeOutTrigger(d.dependent);
                continue;
            }
            if (d.dependentType == 19 && old_.packages.count(d.dependent)) {
                TakeOutPackageBody(d.dependent);
                continue;
            }
            if (d.dependentType == 1 && old_.relations.count(d.dependent) && views.insert(d.dependent).second)
                frontier.push_back(d.dependent);
            else if ((d.dependentType == 5 && old_.procedures.count(d.dependent)) ||
                     (d.dependentType == 15 && old_.functions.count(d.dependent)))
                routines.insert(d.dependent);
        }
    }
    for (const auto& name : routines)
        if (!taken_.count(name) && !Dropping(ObjectKind::Procedure, name) && !Dropping(ObjectKind::Function, name))
            TakeOutRoutine(name);
    TakeOutViews(views);
}

// A package body goes before what it uses and is made again after the views come back; one
// the plan changes gets its new body there too.
void Planner::TakeOutPackageBody(const std::string& name)
{
    const Package& p = old_.packages.at(name);
    if (p.bodySource.empty() || Dropping(ObjectKind::Package, name) || !taken_.insert(name).second)
        return;
    const ObjectId object{ObjectKind::Package, name};
    Add(StubDependents, object, ddl_.DropPackageBody(p));
    const Package& made = neu_.packages.count(name) ? neu_.packages.at(name) : p;
    if (Altering(ObjectKind::Package, name) || made.bodySource.empty())
        return;
    Add(RestoredBodies, object, ddl_.CreatePackageBody(made), true);
    // The routines only the body declares went with it, and their comments too.
    for (const auto& [key, description] : made.routineComments)
        Comment(object, ddl_.PackagedPhrase(name, key), description);
}

void Planner::TakeOutTrigger(const std::string& name)
{
    if (!taken_.insert(name).second || Dropping(ObjectKind::Trigger, name))
        return;
    const ObjectId object{ObjectKind::Trigger, name};
    Add(DropTriggers, object, ddl_.Drop(ObjectKind::Trigger, name));
    // A trigger the plan changes is made by its own change; CREATE OR ALTER makes it anew.
    const Trigger& made = neu_.triggers.count(name) ? neu_.triggers.at(name) : old_.triggers.at(name);
    if (!Altering(ObjectKind::Trigger, name))
        Add(Triggers, object, ddl_.CreateTrigger(made), true);
    // Its comment went with it.
    Comment(object, ddl_.ObjectPhrase(ObjectKind::Trigger, name), made.description);
}

void Planner::TakeOutRoutine(const std::string& name)
{
    taken_.insert(name);
    if (old_.procedures.count(name)) {
        const ObjectId object{ObjectKind::Procedure, name};
        Add(StubDependents, object, ddl_.ProcedureStub(old_.procedures.at(name)), true);
        if (!Altering(ObjectKind::Procedure, name))
            Add(RestoredBodies, object,
                ddl_.ProcedureBody(neu_.procedures.count(name) ? neu_.procedures.at(name) : old_.procedures.at(name)),
                true);
        return;
    }
    const ObjectId object{ObjectKind::Function, name};
    Add(StubDependents, object, ddl_.FunctionStub(old_.functions.at(name)), true);
    if (!Altering(ObjectKind::Function, name))
        Add(RestoredBodies, object,
            ddl_.FunctionBody(neu_.functions.count(name) ? neu_.functions.at(name) : old_.functions.at(name)), true);
}

// The views go and come back with their comments and grants, as New has them where it does.
void Planner::TakeOutViews(const std::set<std::string>& views)
{
    std::vector<std::string> taken;
    for (const auto& name : views)
        if (!taken_.count(name) && !Dropping(ObjectKind::View, name)) {
            taken_.insert(name);
            taken.push_back(name);
        }
    for (const auto& name : OrderedByUse(taken, old_, true))
        Add(DropViews, {ObjectKind::View, name}, ddl_.Drop(ObjectKind::View, name));
    for (const auto& name : OrderedByUse(taken, old_, false)) {
        const Schema& source = neu_.relations.count(name) ? neu_ : old_;
        const Relation& view = source.relations.at(name);
        const ObjectId object{ObjectKind::View, name};
        Add(RestoredViews, object, ddl_.CreateView(view));
        Comment(object, ddl_.ObjectPhrase(ObjectKind::View, name), view.description);
        for (const auto& column : view.columns)
            Comment({ObjectKind::Field, name + "." + column.name}, ddl_.ColumnPhrase(name, column.name), column.description);
        for (const auto& [key, g] : source.grants)
            if (g.objectType == 0 && g.object == name)
                Add(Grants, {ObjectKind::Grant, GrantTitle(g)}, ddl_.GrantText(g));
        replacedViews_.insert(name);
    }
}

}
