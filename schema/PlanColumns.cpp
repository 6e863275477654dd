// Tables and their columns: created whole, columns added in New's order and moved to their
// place, changed in place, or rebuilt where the type changes family.
#include "schema/Planner.h"
#include "schema/TypeChange.h"

#include <algorithm>

namespace schema::planning {

void Planner::CreateTables()
{
    Each(ObjectKind::Table, [&](const Change& c) {
        const Relation& t = c.To<Relation>();
        for (const auto& column : t.columns)
            CheckTypeFits(column.type, "Column " + t.name + "." + column.name);
        Add(Tables, c, ddl_.CreateTable(t));
        for (const auto& column : t.columns)
            Computed(c.key, column);
    });
}

void Planner::Computed(const std::string& table, const Column& column)
{
    if (!column.computedSource.empty())
        Add(Checks, {ObjectKind::Field, table + "." + column.name}, ddl_.AlterComputed(table, column));
}

void Planner::AddMissingColumns()
{
    // The columns are added in New's order, then moved to their place in that order.
    std::map<std::string, std::vector<const Column*>> added;
    Each(ObjectKind::Field, [&](const Change& c) {
        const Column& column = c.To<Column>();
        CheckTypeFits(column.type, "Column " + c.table + "." + column.name);
        Add(Tables, c, ddl_.AddColumn(c.table, column));
        Computed(c.table, column);
        added[c.table].push_back(&column);
    });
    for (const auto& [table, columns] : added) {
        std::size_t existing = old_.relations.at(table).columns.size();
        for (const auto& change : drops_[ObjectKind::Field])
            if (change->table == table)
                --existing;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (static_cast<std::size_t>(columns[i]->position) != existing + i)
                Add(Tables, {ObjectKind::Field, table + "." + columns[i]->name},
                    ddl_.AlterColumnPosition(table, *columns[i]));
    }
}

void Planner::AlterTable(const Change& c)
{
    if (c.Has(Property::RelationKind) || c.Has(Property::ExternalFile))
        NotMended(c, "a table cannot change its kind or file in place");
    if (c.Has(Property::ColumnOrder))
        for (const auto& column : c.To<Relation>().columns)
            Add(ColumnChanges, {ObjectKind::Field, c.key + "." + column.name}, ddl_.AlterColumnPosition(c.key, column));
    AlteredComment(c);
}

void Planner::AlterColumn(const Change& c)
{
    const Column& n = c.To<Column>();
    const Column& o = c.From<Column>();
    if (c.Has(Property::Computed)) {
        if (n.computedSource.empty() || o.computedSource.empty())
            NotMended(c, "a column cannot become or stop being computed in place");
        else
            Computed(c.table, n);
    }
    if (c.Has(Property::Type)) {
        // A type the server does not take in place, or that some value of Old's rows does not
        // fit: only an empty table can take the column out and back in one transaction; a
        // table with rows needs a data migration.
        const Type from = ColumnType(o, old_), to = ColumnType(n, neu_);
        const TypeChange rule = ClassifyTypeChange(from, to, old_.database.defaultCharset);
        if (rule.route != TypeRoute::InPlace || options_.notInPlace.count(c.name)) {
            RebuildColumn(c, n, rule.route == TypeRoute::NoConversion ? ddl_.PlainType(from) + " to " + ddl_.PlainType(to)
                                                                       : std::string());
            return;
        }
        CheckTypeFits(n.type, "Column " + c.table + "." + n.name);
        Add(ColumnChanges, c, ddl_.AlterColumnType(c.table, n));
        RemakeKeysOn(c.table, n.name);
    }
    if (c.Has(Property::Default))
        Add(ColumnChanges, c, ddl_.AlterColumnDefault(c.table, n));
    if (c.Has(Property::Nullability))
        Add(ColumnChanges, c, ddl_.AlterColumnNullability(c.table, n));
    if (c.Has(Property::Identity))
        AlterIdentity(c, o, n);
    if (c.Has(Property::Collation))
        NotMended(c, "the server cannot change a column's collation in place");
    AlteredComment(c);
}

void Planner::AlterIdentity(const Change& c, const Column& o, const Column& n)
{
    if (!n.identityType || !o.identityType || *n.identityType != *o.identityType) {
        // An empty table's column is taken out and added again as New has it.
        auto rows = options_.rowCounts.find(c.table);
        if (rows != options_.rowCounts.end() && rows->second == 0)
            RebuildColumn(c, n, "");
        else
            NotMended(c, "a column cannot become or stop being an identity column in place");
        return;
    }
    if (n.identityStart != o.identityStart)
        Add(ColumnChanges, c, ddl_.RestartIdentity(c.table, n));
    if (n.identityIncrement == o.identityIncrement)
        return;
    // Firebird 3 only restarts an identity column.
    if (old_.odsMajor < 13)
        NotMended(c, "the server changes an identity column's increment in place from Firebird 4 on");
    else
        Add(ColumnChanges, c, ddl_.AlterIdentityIncrement(c.table, n));
}

// noConversion: the types, "DATE to INTEGER", when no value converts from one to the other.
void Planner::RebuildColumn(const Change& c, const Column& n, const std::string& noConversion)
{
    auto rows = options_.rowCounts.find(c.table);
    if (rows == options_.rowCounts.end() || rows->second != 0) {
        const std::string held = rows == options_.rowCounts.end() ? "the rows of " + c.table
                                 : rows->second == 1             ? "1 row of " + c.table
                                                                 : std::to_string(rows->second) + " rows of " + c.table;
        if (!noConversion.empty())
            NotMended(c, "cannot be migrated: no value converts from " + noConversion + " (" + held + ")");
        else if (options_.force)
            Migrate(c, n);
        else
            NotMended(c, "needs a data migration: " + held);
        return;
    }
    // The server drops no column a view, a routine or a trigger uses.
    TakeOutUsers(c.table, n.name);
    Add(DropColumns, c, ddl_.DropColumn(c.table, n.name));
    Add(Tables, c, ddl_.AddColumn(c.table, n));
    Add(ColumnChanges, c, ddl_.AlterColumnPosition(c.table, n));
    Computed(c.table, n);
    Comment(c.Object(), ddl_.ColumnPhrase(c.table, n.name), n.description);
}

// Each part is committed on its own: Firebird cannot update a column in the transaction that
// added it.
void Planner::Migrate(const Change& c, const Column& n)
{
    const Relation& table = old_.relations.at(c.table);
    std::size_t number = plan_->migrations.size() + 1;
    while (table.FindColumn(kCopyColumnPrefix + std::to_string(number)))
        ++number;
    const std::string copy = kCopyColumnPrefix + std::to_string(number);
    Column target = n;
    target.name = copy;
    target.notNull = false;
    target.notNullConstraint.clear();
    Migration m;
    m.object = c.Object();
    m.add = {ddl_.AddColumn(c.table, target)};
    m.copy = {ddl_.CopyColumn(c.table, n, copy)};
    m.undo = {ddl_.DropColumn(c.table, copy)};
    std::vector<std::string> before, after;
    Leaning(c.table, n.name, before, after);
    m.swap = before;
    m.swap.insert(m.swap.end(), {ddl_.DropColumn(c.table, n.name), ddl_.RenameColumn(c.table, copy, n.name),
                                 ddl_.AlterColumnPosition(c.table, n)});
    if (n.notNull)
        m.swap.push_back(ddl_.AlterColumnNullability(c.table, n));
    m.swap.insert(m.swap.end(), after.begin(), after.end());
    plan_->migrations.push_back(m);
    Comment(c.Object(), ddl_.ColumnPhrase(c.table, n.name), n.description);
    plan_->warnings.push_back(c.Object().Text() +
                              ": rebuilt by a data migration in committed steps, before the one transaction "
                              "of the rest");
}

// The keys, references and indices on a migrated column, and the references to it: the server
// drops no column they use, so the swap drops them first and makes the keys and indices again
// after it, as Old has them and under the names Old gives them, for the rest of the plan to
// find (a constraint the server named is named by it again: only the rest of the plan would
// look it up, and it leaves such a constraint alone). The references come back once every migration is done: both of their ends may change.
void Planner::Leaning(const std::string& table, const std::string& column, std::vector<std::string>& before,
                      std::vector<std::string>& after)
{
    for (const auto& key : KeysOn(table, column)) {
        const Constraint& k = old_.constraints.at(key);
        if (!lifted_.insert(key).second)
            continue;
        const std::string drop = ddl_.DropConstraint(k.table, OldConstraintName(key));
        if (Dropping(ObjectKind::Constraint, key) || Altering(ObjectKind::Constraint, key)) {
            // The rest of the plan drops it, or adds New's in its place: gone before the swap,
            // it is not dropped again.
            if (k.kind == ConstraintKind::ForeignKey)
                before.insert(before.begin(), drop);
            else
                before.push_back(drop);
            std::erase_if(plan_->steps, [&](const Step& step) { return step.sql == drop; });
            gone_.insert(key);
            continue;
        }
        // Made again as Old has it; one the server named gets a name from the server again.
        const Constraint& same = k;
        if (k.kind == ConstraintKind::ForeignKey) {
            before.insert(before.begin(), drop);
            plan_->references.push_back(ddl_.AddConstraint(same));
        } else {
            before.push_back(drop);
            after.push_back(ddl_.AddConstraint(same));
        }
    }
    for (const auto& [name, ix] : old_.indices) {
        if (ix.table != table || std::find(ix.columns.begin(), ix.columns.end(), column) == ix.columns.end())
            continue;
        before.push_back(ddl_.Drop(ObjectKind::Index, ix.name));
        after.push_back(ddl_.CreateIndex(ix));
        if (ix.inactive)
            after.push_back(ddl_.AlterIndexState(ix));
    }
}

}
