// Constraints and indices: added after the tables and routines they name; a changed one is
// dropped and added again, with the foreign keys that lean on a changed key.
#include "schema/Planner.h"

#include <algorithm>

namespace schema::planning {

void Planner::CreateConstraintsAndIndices()
{
    Each(ObjectKind::Constraint, [&](const Change& c) { AddConstraint(c.Object(), c.To<Constraint>()); });
    Each(ObjectKind::Index, [&](const Change& c) { CreateIndex(c, c.To<Index>()); });
}

void Planner::AddConstraint(const ObjectId& object, const Constraint& k)
{
    const int phase = k.kind == ConstraintKind::ForeignKey ? ForeignKeys
                      : k.kind == ConstraintKind::Check    ? Checks
                                                           : Keys;
    Add(phase, object, ddl_.AddConstraint(k));
}

void Planner::CreateIndex(const Change& c, const Index& ix)
{
    Add(Indices, c, ddl_.CreateIndex(ix));
    if (ix.inactive)
        Add(Indices, c, ddl_.AlterIndexState(ix));
}

std::string Planner::OldConstraintName(const std::string& key) const
{
    auto it = old_.constraintNames.find(key);
    return it == old_.constraintNames.end() ? old_.constraints.at(key).name : it->second;
}

void Planner::DropConstraint(const ObjectId& object, const std::string& oldKey, const Constraint& o)
{
    // A data migration's swap dropped it already.
    if (gone_.count(oldKey))
        return;
    Add(o.kind == ConstraintKind::ForeignKey ? DropForeignKeys : DropConstraints, object,
        ddl_.DropConstraint(o.table, OldConstraintName(oldKey)));
}

void Planner::RemakeKeysOn(const std::string& table, const std::string& column)
{
    auto has = [&](const std::vector<std::string>& columns) {
        return std::find(columns.begin(), columns.end(), column) != columns.end();
    };
    for (const auto& [key, k] : old_.constraints) {
        const bool own = k.kind != ConstraintKind::Check && k.table == table && has(k.columns);
        const bool referring = k.kind == ConstraintKind::ForeignKey && k.refTable == table && has(k.refColumns);
        if ((!own && !referring) || Dropping(ObjectKind::Constraint, key) || Altering(ObjectKind::Constraint, key) ||
            !remade_.insert(key).second)
            continue;
        const Constraint& made = neu_.constraints.count(key) ? neu_.constraints.at(key) : k;
        const ObjectId object{ObjectKind::Constraint, ConstraintTitle(made)};
        DropConstraint(object, key, k);
        AddConstraint(object, made);
    }
}

void Planner::AlterConstraints()
{
    std::set<std::string> readded;
    EachAltered(ObjectKind::Constraint, [&](const Change& c) {
        const std::string oldKey = c.oldKey.empty() ? c.key : c.oldKey;
        const Constraint& o = c.From<Constraint>();
        DropConstraint(c.Object(), oldKey, o);
        AddConstraint(c.Object(), c.To<Constraint>());
        readded.insert(c.key);
        if (o.kind != ConstraintKind::PrimaryKey && o.kind != ConstraintKind::Unique)
            return;
        // The server would not let the key go while a foreign key leans on it. One that changes
        // itself, or goes, is dropped by its own change.
        for (const auto& [key, fk] : old_.constraints) {
            if (fk.kind != ConstraintKind::ForeignKey || fk.refTable != o.table || fk.refColumns != o.columns ||
                readded.count(key) || remade_.count(key) || Dropping(ObjectKind::Constraint, key) ||
                Altering(ObjectKind::Constraint, key))
                continue;
            const ObjectId leaning{ObjectKind::Constraint, ConstraintTitle(fk)};
            DropConstraint(leaning, key, fk);
            readded.insert(key);
            if (neu_.constraints.count(key))
                AddConstraint(leaning, neu_.constraints.at(key));
        }
    });
}

void Planner::AlterIndex(const Change& c)
{
    const Index& ix = c.To<Index>();
    if (c.Has(Property::Definition)) {
        Add(DropIndices, c, ddl_.Drop(ObjectKind::Index, ix.name));
        CreateIndex(c, ix);
    } else if (c.Has(Property::State)) {
        Add(Indices, c, ddl_.AlterIndexState(ix));
    }
    AlteredComment(c);
}

}
