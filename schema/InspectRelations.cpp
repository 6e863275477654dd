// Tables, views and their columns, in the order the catalog made them.
#include "schema/InspectReader.h"

#include <algorithm>

namespace schema::inspect {
namespace {

constexpr const char* kRelationsSql =
    "SELECT RDB$RELATION_NAME AS RELATION_NAME, {RDB$RELATIONS.RDB$RELATION_TYPE}, RDB$VIEW_BLR IS NOT NULL AS IS_VIEW, "
    "RDB$VIEW_SOURCE AS VIEW_SOURCE, RDB$EXTERNAL_FILE AS EXTERNAL_FILE, "
    "{RDB$RELATIONS.RDB$SQL_SECURITY}, RDB$DESCRIPTION AS DESCRIPTION, (SELECT COUNT(*) FROM RDB$RELATION_FIELDS F "
    "WHERE F.RDB$RELATION_NAME = RDB$RELATIONS.RDB$RELATION_NAME) AS COLUMN_COUNT FROM RDB$RELATIONS "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY RDB$RELATION_ID";

// Replication's one publication and its tables (Firebird 4).
constexpr const char* kPublicationSql =
    "SELECT P.RDB$ACTIVE_FLAG AS ACTIVE, P.RDB$AUTO_ENABLE AS AUTO_ENABLE, T.RDB$TABLE_NAME AS TABLE_NAME "
    "FROM RDB$PUBLICATIONS P LEFT JOIN RDB$PUBLICATION_TABLES T ON T.RDB$PUBLICATION_NAME = P.RDB$PUBLICATION_NAME "
    "WHERE P.RDB$PUBLICATION_NAME = 'RDB$DEFAULT'";

constexpr const char* kColumnsSql =
    "SELECT RDB$RELATION_NAME AS RELATION_NAME, RDB$FIELD_NAME AS FIELD_NAME, RDB$FIELD_SOURCE AS FIELD_SOURCE, "
    "RDB$FIELD_POSITION AS POS, RDB$NULL_FLAG AS NULL_FLAG, "
    "RDB$DEFAULT_SOURCE AS DEFAULT_SOURCE, RDB$COLLATION_ID AS COLLATION_ID, "
    "RDB$DESCRIPTION AS DESCRIPTION, {RDB$RELATION_FIELDS.RDB$IDENTITY_TYPE}, "
    "{RDB$RELATION_FIELDS.RDB$GENERATOR_NAME} FROM RDB$RELATION_FIELDS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

RelationKind KindOf(int relationType, bool view, bool external)
{
    switch (relationType) {
    case 1: return RelationKind::View;
    case 4: return RelationKind::GlobalTemporaryPreserve;
    case 5: return RelationKind::GlobalTemporaryDelete;
    case 2: return RelationKind::External;
    default: break;
    }
    if (view)
        return RelationKind::View;
    return external ? RelationKind::External : RelationKind::Table;
}

// A column's domain, or its own type where the server made a field for it (RDB$n).
void TypeOfColumn(Query& q, const Catalog& catalog, Column& c)
{
    const std::string source = q.AsTrimmed("FIELD_SOURCE");
    auto field = catalog.fields.find(source);
    const int collationId = Int(q, "COLLATION_ID", -1);
    if (field == catalog.fields.end()) {
        c.domain = source;
        return;
    }
    const FieldRow& f = field->second;
    if (f.system) {
        // One of the server's own domains, such as RDB$FIELD_NAME: named as the column's
        // domain, with the type it gives, since no domain of Old or New describes it.
        c.domain = source;
        c.type = f.type;
        if (collationId >= 0 && collationId != f.collationId)
            c.type.collation = catalog.NamedCollation(f.charsetId, collationId);
    } else if (IsGeneratedIndexName(source)) {
        c.type = f.type;
        c.type.collation = catalog.CollationName(f.charsetId, collationId >= 0 ? collationId : f.collationId);
        c.computedSource = f.computedSource;
    } else {
        c.domain = source;
        if (collationId >= 0 && collationId != f.collationId)
            c.type.collation = catalog.NamedCollation(f.charsetId, collationId);
    }
}

Column ColumnFrom(Query& q, const Catalog& catalog, bool inView)
{
    Column c;
    c.name = q.AsTrimmed("FIELD_NAME");
    c.position = Int(q, "POS");
    // A view column's type follows its select; only its name and comment are its own.
    if (!inView)
        TypeOfColumn(q, catalog, c);
    c.defaultSource = q.AsTrimmed("DEFAULT_SOURCE");
    c.notNull = Int(q, "NULL_FLAG") == 1;
    c.description = q.AsTrimmed("DESCRIPTION");
    if (!q.IsNull("IDENTITY_TYPE")) {
        c.identityType = Int(q, "IDENTITY_TYPE");
        auto g = catalog.identity.find(q.AsTrimmed("GENERATOR_NAME"));
        if (g != catalog.identity.end()) {
            c.identityStart = g->second.initialValue;
            c.identityIncrement = g->second.increment;
        }
    }
    return c;
}

}

void ReadRelations(Reader& r, const Catalog& catalog, Schema& schema)
{
    r.Each(kRelationsSql, [&](Query& q) {
        Relation rel;
        rel.name = q.AsTrimmed("RELATION_NAME");
        rel.externalFile = q.AsTrimmed("EXTERNAL_FILE");
        rel.kind = KindOf(Int(q, "RELATION_TYPE", -1), q.AsInteger("IS_VIEW") != 0, !rel.externalFile.empty());
        if (rel.IsView())
            rel.viewSource = q.AsTrimmed("VIEW_SOURCE");
        rel.description = q.AsTrimmed("DESCRIPTION");
        rel.sqlSecurity = OptionalFlag(q, "SQL_SECURITY");
        // Each table's columns take the room they need: grown one at a time, a vector keeps up
        // to twice that, which over every column of a large schema counts.
        rel.columns.reserve(static_cast<std::size_t>(Int(q, "COLUMN_COUNT")));
        schema.relationOrder.push_back(rel.name);
        schema.relations[rel.name] = std::move(rel);
    });
    r.Each(kColumnsSql, [&](Query& q) {
        auto rel = schema.relations.find(q.AsTrimmed("RELATION_NAME"));
        if (rel == schema.relations.end())
            return;
        // Copied, not moved: a copy's texts take only the room they need, where the read's keep
        // the room of the whole CHAR column; over every column of a large schema that counts.
        const Column column = ColumnFrom(q, catalog, rel->second.IsView());
        rel->second.columns.push_back(column);
    });
    // Only the order counts: a dropped column leaves a gap in the stored positions.
    for (auto& [name, rel] : schema.relations) {
        std::stable_sort(rel.columns.begin(), rel.columns.end(),
                         [](const Column& a, const Column& b) { return a.position < b.position; });
        for (std::size_t i = 0; i < rel.columns.size(); ++i)
            rel.columns[i].position = static_cast<int>(i);
    }
    if (r.Has("RDB$PUBLICATION_TABLES", "RDB$TABLE_NAME"))
        r.Each(kPublicationSql, [&](Query& q) {
            schema.database.publication = Int(q, "ACTIVE") == 1;
            schema.database.publishAll = Int(q, "AUTO_ENABLE") == 1;
            auto table = schema.relations.find(q.AsTrimmed("TABLE_NAME"));
            if (table != schema.relations.end())
                table->second.published = true;
        });
}

}
