// Tables and their columns: created whole, columns added in New's order and moved to their
// place, changed in place, or rebuilt where the type changes family.
#include "schema/Planner.h"
#include "schema/TypeChange.h"

#include <algorithm>
#include <cctype>

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

// Once, whether its expression changes or a column it names is rebuilt, or both.
void Planner::Computed(const std::string& table, const Column& column)
{
    if (column.computedSource.empty())
        return;
    const std::string sql = ddl_.AlterComputed(table, column);
    if (std::none_of(plan_->steps.begin(), plan_->steps.end(), [&](const Step& step) { return step.sql == sql; }))
        Add(Checks, {ObjectKind::Field, table + "." + column.name}, sql);
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
    if (c.Has(Property::SqlSecurity))
        Add(ColumnChanges, c, ddl_.AlterTableSecurity(c.To<Relation>()));
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
        schema::NotMended item;
        // A column over a domain has its type there.
        item.from = ddl_.PlainType(ColumnType(c.From<Column>(), old_));
        item.to = ddl_.PlainType(ColumnType(n, neu_));
        item.rows = rows == options_.rowCounts.end() ? -1 : rows->second;
        if (!noConversion.empty()) {
            item.code = "cannot-migrate";
            NotMended(c, "cannot be migrated: no value converts from " + noConversion + " (" + held + ")", item);
        } else if (options_.force) {
            Migrate(c, n);
        } else {
            item.code = "needs-data-migration";
            item.option = "--force";
            NotMended(c, "needs a data migration: " + held, item);
        }
        return;
    }
    LiftColumn(c.table, n.name);
    Add(DropColumns, c, ddl_.DropColumn(c.table, n.name));
    Add(Tables, c, ddl_.AddColumn(c.table, n));
    Add(ColumnChanges, c, ddl_.AlterColumnPosition(c.table, n));
    Computed(c.table, n);
    Comment(c.Object(), ddl_.ColumnPhrase(c.table, n.name), n.description);
}

// The copy column and its values are committed each on its own, before the one transaction:
// Firebird cannot update a column in the transaction that added it. The one transaction then
// drops the old column and gives the copy its name and place, as a rebuild of an empty table's
// column does; if it fails, the copy column goes again.
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
    for (const auto& [name, t] : old_.triggers) {
        if (t.relation != c.table || t.inactive || TriggerTypeText(t.type).find("UPDATE") == std::string::npos)
            continue;
        Trigger quiet = t;
        quiet.inactive = true;
        m.add.push_back(ddl_.AlterTriggerState(quiet));
        m.restore.push_back(ddl_.AlterTriggerState(t));
    }
    plan_->migrations.push_back(m);
    LiftColumn(c.table, n.name);
    Add(DropColumns, c, ddl_.DropColumn(c.table, n.name));
    Add(Tables, c, ddl_.RenameColumn(c.table, copy, n.name));
    Add(ColumnChanges, c, ddl_.AlterColumnPosition(c.table, n));
    if (n.notNull)
        Add(ColumnChanges, c, ddl_.AlterColumnNullability(c.table, n));
    Comment(c.Object(), ddl_.ColumnPhrase(c.table, n.name), n.description);
    plan_->warnings.push_back(c.Object().Text() +
                              ": rebuilt by a data migration: its values are copied in committed steps "
                              "before the one transaction, which puts the copy in its place");
}

namespace {

// Whether a source names the column: as a word of its own, in any case, or quoted as it is
// spelt. Words inside strings count too: a CHECK made again for nothing does no harm.
bool Names(const std::string& source, const std::string& column)
{
    auto word = [](char ch) { return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '$'; };
    for (std::size_t i = 0; i < source.size();) {
        if (source[i] == '"') {
            const std::size_t close = source.find('"', i + 1);
            if (close == std::string::npos)
                return false;
            if (source.compare(i + 1, close - i - 1, column) == 0)
                return true;
            i = close + 1;
        } else if (word(source[i])) {
            std::size_t j = i;
            std::string text;
            while (j < source.size() && word(source[j]))
                text += static_cast<char>(std::toupper(static_cast<unsigned char>(source[j++])));
            if (text == column)
                return true;
            i = j;
        } else {
            ++i;
        }
    }
    return false;
}

}

void Planner::LiftColumn(const std::string& table, const std::string& column)
{
    RemakeKeysOn(table, column);
    for (const auto& key : old_.constraintOrder) {
        const Constraint& k = old_.constraints.at(key);
        if (k.kind == ConstraintKind::Check && k.table == table && Names(k.checkSource, column))
            RemakeConstraint(key);
    }
    for (const auto& [name, ix] : old_.indices) {
        const bool on = std::find(ix.columns.begin(), ix.columns.end(), column) != ix.columns.end() ||
                        Names(ix.expressionSource, column) || Names(ix.conditionSource, column);
        if (ix.table != table || !on || Dropping(ObjectKind::Index, name) || !remadeIndices_.insert(name).second)
            continue;
        // One whose definition changes is dropped and made by its own change.
        const auto changed = std::find_if(alters_[ObjectKind::Index].begin(), alters_[ObjectKind::Index].end(),
                                          [&](const Change& c) { return c.key == name; });
        if (changed != alters_[ObjectKind::Index].end() && changed->Has(Property::Definition))
            continue;
        const Index& made = neu_.indices.count(name) ? neu_.indices.at(name) : ix;
        const ObjectId object{ObjectKind::Index, name};
        Add(DropIndices, object, ddl_.Drop(ObjectKind::Index, name));
        Add(Indices, object, ddl_.CreateIndex(made));
        if (made.inactive)
            Add(Indices, object, ddl_.AlterIndexState(made));
    }
    // A computed column that names it computes nothing for a while, then what New has it compute.
    const Relation& rel = old_.relations.at(table);
    const auto n = neu_.relations.find(table);
    for (const auto& other : rel.columns) {
        if (other.name == column || other.computedSource.empty() || !Names(other.computedSource, column) ||
            !placeheld_.insert(table + "." + other.name).second)
            continue;
        const ObjectId object{ObjectKind::Field, table + "." + other.name};
        Add(DropColumns, object, ddl_.ComputedPlaceholder(table, other));
        const Column* made = n == neu_.relations.end() ? nullptr : n->second.FindColumn(other.name);
        if (made && !made->computedSource.empty())
            Computed(table, *made);
    }
    TakeOutUsers(table, column);
}

}
