// Collations, roles, generators and exceptions: each stands alone and is known by its name.
#include "schema/Planner.h"


namespace schema::planning {

void Planner::CreateNamed()
{
    Each(ObjectKind::Collation, [&](const Change& c) { Add(Collations, c, ddl_.CreateCollation(c.To<Collation>())); });
    Each(ObjectKind::Role, [&](const Change& c) { Add(Roles, c, ddl_.CreateRole(c.To<Role>())); });
    Each(ObjectKind::Generator, [&](const Change& c) { Add(Generators, c, ddl_.CreateGenerator(c.To<Generator>())); });
    Each(ObjectKind::Exception, [&](const Change& c) { Add(Exceptions, c, ddl_.CreateException(c.To<Exception>())); });
}

std::size_t Planner::CollationUsers(const std::string& collation) const
{
    std::size_t users = 0;
    auto uses = [&](const Type& t) { users += t.collation == collation ? 1 : 0; };
    for (const auto& [name, d] : old_.domains)
        uses(d.type);
    for (const auto& [name, r] : old_.relations)
        for (const auto& column : r.columns)
            uses(column.type);
    for (const auto& [name, p] : old_.procedures) {
        for (const auto& param : p.inputs)
            uses(param.type);
        for (const auto& param : p.outputs)
            uses(param.type);
    }
    for (const auto& [name, f] : old_.functions) {
        for (const auto& param : f.arguments)
            uses(param.type);
        uses(f.returns.type);
    }
    for (const auto& [name, cs] : old_.characterSets)
        users += cs.defaultCollation == collation && cs.name != collation ? 1 : 0;
    constexpr int kCollationType = 17;  // RDB$DEPENDENCIES' code for a collation
    for (const auto& d : old_.dependencies)
        users += d.dependedOn == collation && d.dependedOnType == kCollationType ? 1 : 0;
    return users;
}

void Planner::AlterDatabase()
{
    EachAltered(ObjectKind::Database, [&](const Change& c) {
        const Database& d = c.To<Database>();
        if (c.Has(Property::DefaultCharset))
            Add(DatabaseDefaults, c, ddl_.AlterDefaultCharset(d.defaultCharset));
        if (c.Has(Property::Linger))
            Add(DatabaseDefaults, c, ddl_.AlterLinger(d.linger));
        if (c.Has(Property::SqlSecurity))
            Add(DatabaseDefaults, c, ddl_.AlterDatabaseSecurity(d.sqlSecurity));
        AlteredComment(c);
    });
    Publication();
    EachAltered(ObjectKind::CharacterSet, [&](const Change& c) {
        const CharacterSet& cs = c.To<CharacterSet>();
        // A collation this plan makes is named after it is made; any other, before Old's own
        // is dropped.
        const bool made = !old_.collations.count(cs.defaultCollation) && neu_.collations.count(cs.defaultCollation) ||
                          Altering(ObjectKind::Collation, cs.defaultCollation);
        Add(made ? DatabaseDefaults : ResetCharacterSets, c, ddl_.AlterDefaultCollation(cs));
    });
}

// Firebird 3 keeps a generator's start by restarting it there, which would hand out again the
// values it has given; from Firebird 4 on, it keeps the start it was made with.
void Planner::NewStart(const Change& c)
{
    if (old_.odsMajor >= 13) {
        NotMended(c, "the server keeps a sequence's start value from when it was made");
        return;
    }
    const Generator& o = c.From<Generator>();
    const auto value = options_.generatorValues.find(c.key);
    if (value != options_.generatorValues.end() && value->second != o.initialValue) {
        schema::NotMended item;
        item.code = "in-use";
        item.from = std::to_string(o.initialValue);
        item.to = std::to_string(c.To<Generator>().initialValue);
        NotMended(c, "a new start value restarts it, and it has handed out values: it stands at " +
                         std::to_string(value->second), item);
        return;
    }
    Add(Generators, c, ddl_.RestartSequence(c.To<Generator>()));
}

// The publication is one object with its tables: enabled or not, taking the tables made later or
// not (INCLUDE ALL, which also takes every table there is), and each table in it or not.
void Planner::Publication()
{
    const Database& o = old_.database;
    const Database& n = neu_.database;
    const ObjectId database{ObjectKind::Database, ""};
    if (n.publication != o.publication)
        Add(DatabaseDefaults, database, ddl_.Publication(n.publication));
    const bool all = n.publishAll != o.publishAll;
    if (all)
        Add(DatabaseDefaults, database, ddl_.PublishAll(n.publishAll));
    for (const auto& name : neu_.relationOrder) {
        const Relation& table = neu_.relations.at(name);
        if (table.kind != RelationKind::Table)
            continue;
        const auto before = old_.relations.find(name);
        const bool kept = before != old_.relations.end() && before->second.kind == RelationKind::Table &&
                          !Dropping(ObjectKind::Table, name);
        // A table made now joins the publication where it takes every new table.
        const bool now = kept ? (all ? n.publishAll : before->second.published) : n.publishAll;
        if (now != table.published)
            Add(ColumnChanges, {ObjectKind::Table, name}, ddl_.PublishTable(name, table.published));
    }
}

void Planner::AlterNamed()
{
    EachAltered(ObjectKind::Generator, [&](const Change& c) {
        const Generator& g = c.To<Generator>();
        if (c.Has(Property::InitialValue))
            NewStart(c);
        if (c.Has(Property::Increment))
            Add(Generators, c, ddl_.AlterSequenceIncrement(g));
        AlteredComment(c);
    });
    EachAltered(ObjectKind::Exception, [&](const Change& c) {
        if (c.Has(Property::Message))
            Add(Exceptions, c, ddl_.AlterException(c.To<Exception>()));
        AlteredComment(c);
    });
    EachAltered(ObjectKind::Collation, [&](const Change& c) {
        if (!c.Has(Property::Definition)) {
            AlteredComment(c);
            return;
        }
        // The server alters no collation: one that nothing of Old's uses is made again.
        const std::size_t users = CollationUsers(c.key);
        if (users > 0) {
            schema::NotMended item;
            item.code = "in-use";
            NotMended(c, "a collation cannot be changed in place, and " + std::to_string(users) +
                             (users == 1 ? " object of Old's uses it" : " objects of Old's use it"), item);
            return;
        }
        Add(DropRolesAndCollations, c, ddl_.Drop(ObjectKind::Collation, c.key));
        Add(Collations, c, ddl_.CreateCollation(c.To<Collation>()));
        Comment(c.Object(), ddl_.ObjectPhrase(c.kind, c.key), c.To<Collation>().description);
    });
    EachAltered(ObjectKind::Role, [&](const Change& c) {
        if (c.Has(Property::SystemPrivileges))
            Add(Roles, c, ddl_.AlterRolePrivileges(c.To<Role>()));
        AlteredComment(c);
    });
}

}
