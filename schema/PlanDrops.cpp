// What only Old has, with --drop: dependents first, then what they used. What goes with a
// dropped table (its triggers, keys, checks, indices, columns) is not dropped on its own.
#include "schema/Planner.h"

namespace schema::planning {

void Planner::PlanDrops()
{
    std::set<std::string> tables;
    EachDrop(ObjectKind::Table, [&](const Change& c) { tables.insert(c.key); });
    DropDependents(tables);
    DropTableParts(tables);
    static const std::vector<std::pair<ObjectKind, Phase>> named{
        {ObjectKind::ExternalFunction, DropExternalFunctions}, {ObjectKind::Domain, DropDomains},
        {ObjectKind::Exception, DropExceptions},               {ObjectKind::Generator, DropGenerators},
        {ObjectKind::Role, DropRolesAndCollations},            {ObjectKind::Collation, DropRolesAndCollations}};
    for (const auto& [kind, phase] : named)
        EachDrop(kind, [&, phase = phase](const Change& c) { Add(phase, c, ddl_.Drop(c.kind, c.key)); });
}

void Planner::DropDependents(const std::set<std::string>& tables)
{
    EachDrop(ObjectKind::Trigger, [&](const Change& c) {
        if (!tables.count(c.From<Trigger>().relation))
            Add(DropTriggers, c, ddl_.Drop(ObjectKind::Trigger, c.key));
    });
    EachDrop(ObjectKind::Grant, [&](const Change& c) {
        if (!GrantGoes(c.From<Grant>()))
            Add(DropGrants, c, ddl_.Revoke(c.From<Grant>()));
    });
    std::vector<std::string> views;
    EachDrop(ObjectKind::View, [&](const Change& c) { views.push_back(c.key); });
    for (const auto& name : OrderedByUse(views, old_, true))
        Add(DropViews, {ObjectKind::View, name}, ddl_.Drop(ObjectKind::View, name));
    EachDrop(ObjectKind::Package, [&](const Change& c) { Add(DropPackages, c, ddl_.Drop(ObjectKind::Package, c.key)); });
    // Emptied first, routines that call each other can then go in any order.
    EachDrop(ObjectKind::Procedure, [&](const Change& c) {
        const Procedure& p = c.From<Procedure>();
        if (p.engine.empty())
            Add(EmptyDroppedRoutines, c, ddl_.ProcedureStub(p), true);
        Add(DropRoutines, c, ddl_.Drop(ObjectKind::Procedure, c.key));
    });
    EachDrop(ObjectKind::Function, [&](const Change& c) {
        const Function& f = c.From<Function>();
        if (f.engine.empty())
            Add(EmptyDroppedRoutines, c, ddl_.FunctionStub(f), true);
        Add(DropRoutines, c, ddl_.Drop(ObjectKind::Function, c.key));
    });
}

void Planner::DropTableParts(const std::set<std::string>& tables)
{
    // A foreign key between two tables that go is dropped first: the server drops no table that
    // a foreign key still references.
    EachDrop(ObjectKind::Constraint, [&](const Change& c) {
        const Constraint& k = c.From<Constraint>();
        const bool betweenDropped =
            k.kind == ConstraintKind::ForeignKey && k.refTable != k.table && tables.count(k.refTable);
        if (!tables.count(k.table) || betweenDropped)
            DropConstraint(c.Object(), c.key, k);
    });
    EachDrop(ObjectKind::Index, [&](const Change& c) {
        if (!tables.count(c.From<Index>().table))
            Add(DropIndices, c, ddl_.Drop(ObjectKind::Index, c.key));
    });
    EachDrop(ObjectKind::Field, [&](const Change& c) {
        if (!tables.count(c.table))
            Add(DropColumns, c, ddl_.DropColumn(c.table, c.key));
    });
    EachDrop(ObjectKind::Table, [&](const Change& c) { Add(DropTables, c, ddl_.Drop(ObjectKind::Table, c.key)); });
}

}
