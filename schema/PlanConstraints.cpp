// Constraints and indices: added after the tables and routines they name; a changed one is
// dropped and added again, with the foreign keys that lean on a changed key.
#include "schema/Planner.h"

#include <algorithm>
#include <map>

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
    Add(o.kind == ConstraintKind::ForeignKey ? DropForeignKeys : DropConstraints, object,
        ddl_.DropConstraint(o.table, OldConstraintName(oldKey)));
}

std::vector<std::string> Planner::KeysOn(const std::string& table, const std::string& column) const
{
    auto has = [&](const std::vector<std::string>& columns) {
        return std::find(columns.begin(), columns.end(), column) != columns.end();
    };
    std::vector<std::string> keys;
    for (const auto& [key, k] : old_.constraints) {
        const bool own = k.kind != ConstraintKind::Check && k.table == table && has(k.columns);
        const bool referring = k.kind == ConstraintKind::ForeignKey && k.refTable == table && has(k.refColumns);
        if (own || referring)
            keys.push_back(key);
    }
    return keys;
}

void Planner::RemakeKeysOn(const std::string& table, const std::string& column)
{
    for (const auto& key : KeysOn(table, column))
        RemakeConstraint(key);
}

// Once, and as New has it where New has it; one the plan drops or changes anyway is left to that.
void Planner::RemakeConstraint(const std::string& key)
{
    const Constraint& k = old_.constraints.at(key);
    if (Dropping(ObjectKind::Constraint, key) || Altering(ObjectKind::Constraint, key) || !remade_.insert(key).second)
        return;
    const Constraint& made = neu_.constraints.count(key) ? neu_.constraints.at(key) : k;
    const ObjectId object{ObjectKind::Constraint, ConstraintTitle(made)};
    DropConstraint(object, key, k);
    AddConstraint(object, made);
}

void Planner::OrderChecks()
{
    // Each side's CHECKs by table in catalog order, from one walk: a walk per table would grow
    // with the square of the schema.
    auto byTable = [](const Schema& s) {
        std::map<std::string, std::vector<std::string>> keys;
        for (const auto& key : s.constraintOrder)
            if (s.constraints.at(key).kind == ConstraintKind::Check)
                keys[s.constraints.at(key).table].push_back(key);
        return keys;
    };
    const auto oldChecks = byTable(old_), newChecks = byTable(neu_);
    auto checksOf = [&](const Schema& s, const std::string& table) {
        const auto& keys = &s == &old_ ? oldChecks : newChecks;
        auto found = keys.find(table);
        return found == keys.end() ? std::vector<std::string>() : found->second;
    };
    for (const auto& [table, relation] : neu_.relations) {
        if (relation.IsView() || !old_.relations.count(table))
            continue;
        const std::vector<std::string> wanted = checksOf(neu_, table);
        // What stays of Old's, in Old's order; the plan adds the others after them.
        auto kept = [&](const std::string& key) {
            return old_.constraints.count(key) && !Dropping(ObjectKind::Constraint, key) &&
                   !Altering(ObjectKind::Constraint, key) && !remade_.count(key);
        };
        std::vector<std::string> staying;
        for (const auto& key : checksOf(old_, table))
            if (kept(key) && neu_.constraints.count(key))
                staying.push_back(key);
        std::size_t first = 0;
        while (first < staying.size() && first < wanted.size() && staying[first] == wanted[first])
            ++first;
        // Nothing to move when the rest are all added by the plan already, in New's order.
        bool inOrder = true;
        std::size_t last = 0;
        for (std::size_t i = first; i < wanted.size() && inOrder; ++i) {
            const std::string add = ddl_.AddConstraint(neu_.constraints.at(wanted[i]));
            auto at = std::find_if(plan_->steps.begin(), plan_->steps.end(),
                                   [&](const Step& step) { return step.phase == Checks && step.sql == add; });
            const auto index = static_cast<std::size_t>(at - plan_->steps.begin());
            inOrder = !kept(wanted[i]) && at != plan_->steps.end() && index >= last;
            last = index;
        }
        if (inOrder)
            continue;
        // From the first one out of place on, each is added in New's order; the ones Old keeps
        // are dropped first, the others lose the place the plan gave them.
        for (std::size_t i = first; i < wanted.size(); ++i) {
            const Constraint& k = neu_.constraints.at(wanted[i]);
            const std::string add = ddl_.AddConstraint(k);
            std::erase_if(plan_->steps, [&](const Step& step) { return step.phase == Checks && step.sql == add; });
            const ObjectId object{ObjectKind::Constraint, ConstraintTitle(k)};
            if (kept(wanted[i]))
                DropConstraint(object, wanted[i], old_.constraints.at(wanted[i]));
            AddConstraint(object, k);
        }
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
    } else if (c.Has(Property::State) && !remadeIndices_.count(ix.name)) {
        Add(Indices, c, ddl_.AlterIndexState(ix));
    }
    AlteredComment(c);
}

}
