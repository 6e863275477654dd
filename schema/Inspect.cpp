// Each system table is read once per database, whatever the number of objects; rows are then
// joined in memory. Columns that older on-disk structures lack are read as NULL.
#include "schema/Inspect.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/Trim.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace schema {
namespace {

// RDB$FIELDS as rows: the types behind domains, columns and parameters.
struct FieldRow {
    Type type;  // collation left to the user of the field
    int charsetId = -1;
    int collationId = -1;
    std::string defaultSource;
    std::string validationSource;
    std::string computedSource;
    bool notNull = false;
    bool system = false;
    std::string description;
};

// Text blobs are read as their bytes: read as text, the server would make '?' of every
// character the connection's character set NONE cannot show.
std::string Binary(const std::string& column)
{
    return "CAST(" + column + " AS BLOB SUB_TYPE BINARY)";
}

class Reader {
public:
    Reader(Connection& connection, Transaction& transaction, InspectStats* stats)
        : connection_(connection), transaction_(transaction), stats_(stats)
    {
        ReadOptionalColumns();
    }

    // A column of a system table, or NULL where this server has none.
    std::string Col(const std::string& table, const std::string& column, const std::string& alias = "") const
    {
        const std::string as = alias.empty() ? column.substr(4) : alias;
        if (optional_.count(table + "." + column))
            return (column.size() > 7 && column.compare(column.size() - 7, 7, "_SOURCE") == 0 ? Binary(column) : column) +
                   " AS " + as;
        return "NULL AS " + as;
    }
    bool Has(const std::string& table, const std::string& column) const
    {
        return optional_.count(table + "." + column) > 0;
    }

    template <typename RowFn>
    void Each(const std::string& sql, RowFn&& row)
    {
        Query query(connection_, transaction_, {sql});
        query.Dialect = 3;
        query.Open();
        if (stats_)
            ++stats_->queries;
        query.FetchAll();
        for (query.First(); !query.Eof(); query.Next())
            row(query);
        query.Close();
    }

private:
    void ReadOptionalColumns()
    {
        Each("SELECT TRIM(RDB$RELATION_NAME) || '.' || TRIM(RDB$FIELD_NAME) AS NAME FROM RDB$RELATION_FIELDS "
             "WHERE RDB$SYSTEM_FLAG = 1",
             [&](Query& q) { optional_.insert(q.AsTrimmed("NAME")); });
    }

    Connection& connection_;
    Transaction& transaction_;
    InspectStats* stats_;
    std::set<std::string> optional_;
};

// Names are CHAR columns padded with blanks, cut on this side (AsTrimmed): a quoted name keeps
// its leading blanks, and the server is spared a function call per row.
std::string Name(const std::string& column)
{
    return column + " AS " + column.substr(4);
}

int Int(Query& q, const std::string& column, int fallback = 0)
{
    return q.IsNull(column) ? fallback : static_cast<int>(q.AsInteger(column));
}

bool IsTextType(int fieldType, int subType)
{
    return fieldType == 14 || fieldType == 37 || fieldType == 40 || (fieldType == 261 && subType == 1);
}

struct Catalog {
    std::unordered_map<int, std::string> charsets;
    std::unordered_map<int, int> bytesPerChar;
    std::unordered_map<int, std::string> defaultCollation;  // by charset id
    std::map<std::pair<int, int>, std::string> collationNames;
    std::unordered_map<std::string, FieldRow> fields;

    std::string Charset(int id) const
    {
        auto it = charsets.find(id);
        return it == charsets.end() ? std::string() : it->second;
    }
    // The collation's name, or empty when it is the charset's default.
    std::string CollationName(int charsetId, int collationId) const
    {
        if (charsetId < 0 || collationId < 0)
            return {};
        auto it = collationNames.find({charsetId, collationId});
        if (it == collationNames.end())
            return {};
        auto def = defaultCollation.find(charsetId);
        if (def != defaultCollation.end() && def->second == it->second)
            return {};
        return it->second;
    }
};

Type TypeFrom(Query& q, const Catalog& catalog, int* charsetId, int* collationId)
{
    Type type;
    type.fieldType = Int(q, "FIELD_TYPE");
    type.subType = Int(q, "FIELD_SUB_TYPE");
    type.precision = Int(q, "FIELD_PRECISION");
    type.scale = Int(q, "FIELD_SCALE");
    type.segmentLength = Int(q, "SEGMENT_LENGTH");
    const int charset = Int(q, "CHARACTER_SET_ID", -1);
    const int length = Int(q, "FIELD_LENGTH");
    if (IsTextType(type.fieldType, type.subType)) {
        const int cs = charset < 0 ? 0 : charset;
        type.charset = catalog.Charset(cs);
        if (type.fieldType != 261) {
            if (!q.IsNull("CHARS")) {
                type.charLength = Int(q, "CHARS");
            } else {
                auto bpc = catalog.bytesPerChar.find(cs);
                type.charLength = length / std::max(1, bpc == catalog.bytesPerChar.end() ? 1 : bpc->second);
            }
        }
    } else if (type.fieldType != 261) {
        type.subType = type.fieldType == 7 || type.fieldType == 8 || type.fieldType == 16 || type.fieldType == 26
                           ? type.subType
                           : 0;
    }
    if (type.fieldType != 261)
        type.segmentLength = 0;
    if (charsetId)
        *charsetId = charset;
    if (collationId)
        *collationId = Int(q, "COLLATION_ID", -1);
    return type;
}

const char* kTypeColumns =
    "RDB$FIELD_TYPE AS FIELD_TYPE, RDB$FIELD_SUB_TYPE AS FIELD_SUB_TYPE, RDB$FIELD_LENGTH AS FIELD_LENGTH, "
    "RDB$FIELD_SCALE AS FIELD_SCALE, RDB$FIELD_PRECISION AS FIELD_PRECISION, RDB$CHARACTER_LENGTH AS "
    "CHARS, RDB$CHARACTER_SET_ID AS CHARACTER_SET_ID, RDB$COLLATION_ID AS COLLATION_ID";

void ReadCharsets(Reader& r, Catalog& catalog, Schema& schema)
{
    r.Each("SELECT RDB$CHARACTER_SET_ID AS ID, " + Name("RDB$CHARACTER_SET_NAME") + ", " +
               Name("RDB$DEFAULT_COLLATE_NAME") + ", RDB$BYTES_PER_CHARACTER AS BPC FROM RDB$CHARACTER_SETS",
           [&](Query& q) {
               const int id = Int(q, "ID");
               catalog.charsets[id] = q.AsTrimmed("CHARACTER_SET_NAME");
               catalog.bytesPerChar[id] = Int(q, "BPC", 1);
               catalog.defaultCollation[id] = q.AsTrimmed("DEFAULT_COLLATE_NAME");
           });
    r.Each("SELECT RDB$CHARACTER_SET_ID AS CS, RDB$COLLATION_ID AS ID, " + Name("RDB$COLLATION_NAME") +
               ", RDB$SYSTEM_FLAG AS SYS, " + Name("RDB$BASE_COLLATION_NAME") +
               ", RDB$COLLATION_ATTRIBUTES AS ATTRS, CAST(RDB$SPECIFIC_ATTRIBUTES AS BLOB SUB_TYPE BINARY) AS SPECIFIC_ATTRS, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS "
               "DESCRIPTION FROM RDB$COLLATIONS",
           [&](Query& q) {
               const int cs = Int(q, "CS");
               const std::string name = q.AsTrimmed("COLLATION_NAME");
               catalog.collationNames[{cs, Int(q, "ID")}] = name;
               if (Int(q, "SYS") != 0)
                   return;
               Collation c;
               c.name = name;
               c.charset = catalog.Charset(cs);
               c.baseCollation = q.AsTrimmed("BASE_COLLATION_NAME");
               c.attributes = Int(q, "ATTRS");
               c.specificAttributes = q.AsTrimmed("SPECIFIC_ATTRS");
               c.description = q.AsTrimmed("DESCRIPTION");
               schema.collations[c.name] = c;
           });
    r.Each("SELECT " + Name("RDB$CHARACTER_SET_NAME") + " FROM RDB$DATABASE",
           [&](Query& q) { schema.defaultCharset = q.AsTrimmed("CHARACTER_SET_NAME"); });
}

void ReadFields(Reader& r, Catalog& catalog, Schema& schema)
{
    std::unordered_map<std::string, std::vector<std::pair<int, std::pair<int, int>>>> dims;
    r.Each("SELECT " + Name("RDB$FIELD_NAME") +
               ", RDB$DIMENSION AS DIM, RDB$LOWER_BOUND AS LO, RDB$UPPER_BOUND AS HI FROM RDB$FIELD_DIMENSIONS",
           [&](Query& q) {
               dims[q.AsTrimmed("FIELD_NAME")].push_back({Int(q, "DIM"), {Int(q, "LO"), Int(q, "HI")}});
           });
    r.Each(std::string("SELECT ") + Name("RDB$FIELD_NAME") + ", " + kTypeColumns +
               ", RDB$SEGMENT_LENGTH AS SEGMENT_LENGTH, CAST(RDB$DEFAULT_SOURCE AS BLOB SUB_TYPE BINARY) AS DEFAULT_SOURCE, "
               "CAST(RDB$VALIDATION_SOURCE AS BLOB SUB_TYPE BINARY) AS VALIDATION_SOURCE, CAST(RDB$COMPUTED_SOURCE AS BLOB SUB_TYPE BINARY) AS COMPUTED_SOURCE, "
               "RDB$NULL_FLAG AS NULL_FLAG, RDB$SYSTEM_FLAG AS SYS, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$FIELDS",
           [&](Query& q) {
               FieldRow f;
               f.type = TypeFrom(q, catalog, &f.charsetId, &f.collationId);
               f.defaultSource = q.AsTrimmed("DEFAULT_SOURCE");
               f.validationSource = q.AsTrimmed("VALIDATION_SOURCE");
               f.computedSource = q.AsTrimmed("COMPUTED_SOURCE");
               f.notNull = Int(q, "NULL_FLAG") == 1;
               f.system = Int(q, "SYS") != 0;
               f.description = q.AsTrimmed("DESCRIPTION");
               const std::string name = q.AsTrimmed("FIELD_NAME");
               auto d = dims.find(name);
               if (d != dims.end()) {
                   std::sort(d->second.begin(), d->second.end());
                   for (const auto& bound : d->second)
                       f.type.dimensions.push_back(bound.second);
               }
               if (!f.system && !IsGeneratedIndexName(name)) {
                   Domain domain;
                   domain.name = name;
                   domain.type = f.type;
                   domain.type.collation = catalog.CollationName(f.charsetId, f.collationId);
                   domain.defaultSource = f.defaultSource;
                   domain.validationSource = f.validationSource;
                   domain.notNull = f.notNull;
                   domain.description = f.description;
                   schema.domains[name] = domain;
               }
               catalog.fields[name] = std::move(f);
           });
}

void ReadGeneratorsAndExceptions(Reader& r, Schema& schema, std::unordered_map<std::string, Generator>& identity)
{
    r.Each("SELECT " + Name("RDB$GENERATOR_NAME") + ", RDB$SYSTEM_FLAG AS SYS, " +
               r.Col("RDB$GENERATORS", "RDB$INITIAL_VALUE") + ", " + r.Col("RDB$GENERATORS", "RDB$GENERATOR_INCREMENT") +
               ", CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$GENERATORS",
           [&](Query& q) {
               Generator g;
               g.name = q.AsTrimmed("GENERATOR_NAME");
               g.initialValue = q.AsInteger("INITIAL_VALUE");
               g.increment = Int(q, "GENERATOR_INCREMENT", 1);
               g.description = q.AsTrimmed("DESCRIPTION");
               const int sys = Int(q, "SYS");
               if (sys == 6)
                   identity[g.name] = g;
               else if (sys == 0)
                   schema.generators[g.name] = g;
           });
    r.Each("SELECT " + Name("RDB$EXCEPTION_NAME") +
               ", CAST(RDB$MESSAGE AS VARCHAR(4084) CHARACTER SET OCTETS) AS MESSAGE, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$EXCEPTIONS "
               "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
           [&](Query& q) {
               Exception e;
               e.name = q.AsTrimmed("EXCEPTION_NAME");
               e.message = q.AsTrimmed("MESSAGE");
               e.description = q.AsTrimmed("DESCRIPTION");
               schema.exceptions[e.name] = e;
           });
}

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

void ReadRelations(Reader& r, const Catalog& catalog, Schema& schema,
                   const std::unordered_map<std::string, Generator>& identity)
{
    r.Each("SELECT " + Name("RDB$RELATION_NAME") + ", " + r.Col("RDB$RELATIONS", "RDB$RELATION_TYPE") +
               ", RDB$VIEW_BLR IS NOT NULL AS IS_VIEW, CAST(RDB$VIEW_SOURCE AS BLOB SUB_TYPE BINARY) AS VIEW_SOURCE, RDB$EXTERNAL_FILE AS "
               "EXTERNAL_FILE, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
               "ORDER BY RDB$RELATION_ID",
           [&](Query& q) {
               Relation rel;
               rel.name = q.AsTrimmed("RELATION_NAME");
               rel.externalFile = q.AsTrimmed("EXTERNAL_FILE");
               rel.kind = KindOf(Int(q, "RELATION_TYPE", -1), q.AsInteger("IS_VIEW") != 0, !rel.externalFile.empty());
               if (rel.IsView())
                   rel.viewSource = q.AsTrimmed("VIEW_SOURCE");
               rel.description = q.AsTrimmed("DESCRIPTION");
               schema.relationOrder.push_back(rel.name);
               schema.relations[rel.name] = rel;
           });
    r.Each("SELECT " + Name("RDB$RELATION_NAME") + ", " + Name("RDB$FIELD_NAME") + ", " + Name("RDB$FIELD_SOURCE") +
               ", RDB$FIELD_POSITION AS POS, RDB$NULL_FLAG AS NULL_FLAG, CAST(RDB$DEFAULT_SOURCE AS BLOB SUB_TYPE BINARY) AS DEFAULT_SOURCE, "
               "RDB$COLLATION_ID AS COLLATION_ID, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION, " +
               r.Col("RDB$RELATION_FIELDS", "RDB$IDENTITY_TYPE") + ", " + r.Col("RDB$RELATION_FIELDS", "RDB$GENERATOR_NAME") + " FROM RDB$RELATION_FIELDS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
           [&](Query& q) {
               auto rel = schema.relations.find(q.AsTrimmed("RELATION_NAME"));
               if (rel == schema.relations.end())
                   return;
               Column c;
               c.name = q.AsTrimmed("FIELD_NAME");
               c.position = Int(q, "POS");
               const std::string source = q.AsTrimmed("FIELD_SOURCE");
               auto field = catalog.fields.find(source);
               const int collationId = Int(q, "COLLATION_ID", -1);
               if (field != catalog.fields.end()) {
                   const FieldRow& f = field->second;
                   if (IsGeneratedIndexName(source)) {
                       c.type = f.type;
                       c.type.collation =
                           catalog.CollationName(f.charsetId, collationId >= 0 ? collationId : f.collationId);
                       c.computedSource = f.computedSource;
                   } else {
                       c.domain = source;
                       if (collationId >= 0 && collationId != f.collationId)
                           c.type.collation = catalog.CollationName(f.charsetId, collationId);
                   }
               } else {
                   c.domain = source;
               }
               if (rel->second.IsView()) {
                   // A view column's type follows its select; only its name and comment are its own.
                   c.type = Type{};
                   c.domain.clear();
                   c.computedSource.clear();
               }
               c.defaultSource = q.AsTrimmed("DEFAULT_SOURCE");
               c.notNull = Int(q, "NULL_FLAG") == 1;
               c.description = q.AsTrimmed("DESCRIPTION");
               if (!q.IsNull("IDENTITY_TYPE")) {
                   c.identityType = Int(q, "IDENTITY_TYPE");
                   auto g = identity.find(q.AsTrimmed("GENERATOR_NAME"));
                   if (g != identity.end()) {
                       c.identityStart = g->second.initialValue;
                       c.identityIncrement = g->second.increment;
                   }
               }
               rel->second.columns.push_back(c);
           });
    // Only the order counts: a dropped column leaves a gap in the stored positions.
    for (auto& [name, rel] : schema.relations) {
        std::stable_sort(rel.columns.begin(), rel.columns.end(),
                         [](const Column& a, const Column& b) { return a.position < b.position; });
        for (std::size_t i = 0; i < rel.columns.size(); ++i)
            rel.columns[i].position = static_cast<int>(i);
    }
}

void ReadConstraintsAndIndices(Reader& r, Schema& schema, std::set<std::string>& checkTriggers)
{
    std::unordered_map<std::string, std::vector<std::pair<int, std::string>>> positioned;
    std::unordered_map<std::string, std::vector<std::string>> segments;
    r.Each("SELECT " + Name("RDB$INDEX_NAME") + ", " + Name("RDB$FIELD_NAME") +
               ", RDB$FIELD_POSITION AS POS FROM RDB$INDEX_SEGMENTS",
           [&](Query& q) { positioned[q.AsTrimmed("INDEX_NAME")].push_back({Int(q, "POS"), q.AsTrimmed("FIELD_NAME")}); });
    // Sorted here rather than by the server: the rows are few per index.
    for (auto& [index, fields] : positioned) {
        std::sort(fields.begin(), fields.end());
        for (auto& field : fields)
            segments[index].push_back(std::move(field.second));
    }

    std::unordered_map<std::string, Index> indices;
    r.Each("SELECT " + Name("RDB$INDEX_NAME") + ", " + Name("RDB$RELATION_NAME") +
               ", RDB$UNIQUE_FLAG AS UNIQUE_FLAG, RDB$INDEX_TYPE AS INDEX_TYPE, RDB$INDEX_INACTIVE AS INACTIVE, "
               "CAST(RDB$EXPRESSION_SOURCE AS BLOB SUB_TYPE BINARY) AS EXPRESSION_SOURCE, " +
               r.Col("RDB$INDICES", "RDB$CONDITION_SOURCE") +
               ", CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$INDICES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
           [&](Query& q) {
               Index ix;
               ix.name = q.AsTrimmed("INDEX_NAME");
               ix.table = q.AsTrimmed("RELATION_NAME");
               ix.unique = Int(q, "UNIQUE_FLAG") == 1;
               ix.descending = Int(q, "INDEX_TYPE") == 1;
               ix.inactive = Int(q, "INACTIVE") == 1;
               ix.expressionSource = q.AsTrimmed("EXPRESSION_SOURCE");
               ix.conditionSource = q.AsTrimmed("CONDITION_SOURCE");
               ix.description = q.AsTrimmed("DESCRIPTION");
               ix.columns = segments[ix.name];
               indices[ix.name] = ix;
           });

    struct RefRow {
        std::string unique, updateRule, deleteRule;
    };
    std::unordered_map<std::string, RefRow> refs;
    r.Each("SELECT " + Name("RDB$CONSTRAINT_NAME") + ", " + Name("RDB$CONST_NAME_UQ") + ", " + Name("RDB$UPDATE_RULE") +
               ", " + Name("RDB$DELETE_RULE") + " FROM RDB$REF_CONSTRAINTS",
           [&](Query& q) {
               refs[q.AsTrimmed("CONSTRAINT_NAME")] = {q.AsTrimmed("CONST_NAME_UQ"), q.AsTrimmed("UPDATE_RULE"),
                                                      q.AsTrimmed("DELETE_RULE")};
           });
    std::unordered_map<std::string, std::vector<std::string>> checkTriggersOf;  // constraint -> triggers / columns
    r.Each("SELECT " + Name("RDB$CONSTRAINT_NAME") + ", " + Name("RDB$TRIGGER_NAME") + " FROM RDB$CHECK_CONSTRAINTS",
           [&](Query& q) { checkTriggersOf[q.AsTrimmed("CONSTRAINT_NAME")].push_back(q.AsTrimmed("TRIGGER_NAME")); });
    std::unordered_map<std::string, std::string> triggerSources;
    r.Each("SELECT " + Name("RDB$TRIGGER_NAME") +
               ", CAST(RDB$TRIGGER_SOURCE AS BLOB SUB_TYPE BINARY) AS TRIGGER_SOURCE FROM RDB$TRIGGERS WHERE RDB$SYSTEM_FLAG = 3",
           [&](Query& q) { triggerSources[q.AsTrimmed("TRIGGER_NAME")] = q.AsTrimmed("TRIGGER_SOURCE"); });

    struct ConstraintRow {
        std::string name, type, table, index;
    };
    std::vector<ConstraintRow> rows;
    std::unordered_map<std::string, const ConstraintRow*> byName;
    r.Each("SELECT " + Name("RDB$CONSTRAINT_NAME") + ", " + Name("RDB$CONSTRAINT_TYPE") + ", " +
               Name("RDB$RELATION_NAME") + ", " + Name("RDB$INDEX_NAME") + " FROM RDB$RELATION_CONSTRAINTS",
           [&](Query& q) {
               rows.push_back({q.AsTrimmed("CONSTRAINT_NAME"), q.AsTrimmed("CONSTRAINT_TYPE"), q.AsTrimmed("RELATION_NAME"),
                               q.AsTrimmed("INDEX_NAME")});
           });
    for (const auto& row : rows)
        byName[row.name] = &row;

    std::set<std::string> owned;
    for (const auto& row : rows) {
        const bool generated = IsGeneratedConstraintName(row.name);
        if (row.type == "NOT NULL") {
            auto rel = schema.relations.find(row.table);
            const auto& cols = checkTriggersOf[row.name];
            if (!generated && rel != schema.relations.end() && !cols.empty())
                for (auto& c : rel->second.columns)
                    if (c.name == cols.front())
                        c.notNullConstraint = row.name;
            continue;
        }
        Constraint c;
        c.name = generated ? std::string() : row.name;
        c.table = row.table;
        if (row.type == "PRIMARY KEY")
            c.kind = ConstraintKind::PrimaryKey;
        else if (row.type == "UNIQUE")
            c.kind = ConstraintKind::Unique;
        else if (row.type == "FOREIGN KEY")
            c.kind = ConstraintKind::ForeignKey;
        else if (row.type == "CHECK")
            c.kind = ConstraintKind::Check;
        else
            throw DbError("The catalog holds a constraint of a kind this comparison does not know: " + row.type +
                          " (" + row.name + ")");
        if (c.kind == ConstraintKind::Check) {
            for (const auto& trigger : checkTriggersOf[row.name]) {
                checkTriggers.insert(trigger);
                if (c.checkSource.empty())
                    c.checkSource = triggerSources[trigger];
            }
        } else {
            owned.insert(row.index);
            auto ix = indices.find(row.index);
            if (ix != indices.end()) {
                c.columns = ix->second.columns;
                c.descending = ix->second.descending;
            }
            c.indexName = IsGeneratedIndexName(row.index) ? std::string() : row.index;
            if (c.kind == ConstraintKind::ForeignKey) {
                auto ref = refs.find(row.name);
                if (ref != refs.end()) {
                    c.onUpdate = ref->second.updateRule;
                    c.onDelete = ref->second.deleteRule;
                    auto uq = byName.find(ref->second.unique);
                    if (uq != byName.end()) {
                        c.refTable = uq->second->table;
                        auto refIx = indices.find(uq->second->index);
                        if (refIx != indices.end())
                            c.refColumns = refIx->second.columns;
                    }
                }
            }
        }
        schema.constraintOrder.push_back(c.Key());
        schema.constraintNames[c.Key()] = row.name;
        schema.constraints[c.Key()] = c;
    }
    for (auto& [name, ix] : indices)
        if (!owned.count(name))
            schema.indices[name] = ix;
}

Parameter ParameterFrom(Query& q, const Catalog& catalog)
{
    Parameter p;
    p.name = q.AsTrimmed("PARAMETER_NAME");
    const std::string source = q.AsTrimmed("FIELD_SOURCE");
    p.mechanism = Int(q, "MECHANISM") == 1 ? ParameterMechanism::TypeOf : ParameterMechanism::Normal;
    p.relationName = q.AsTrimmed("RELATION_NAME");
    p.fieldName = q.AsTrimmed("COLUMN_NAME");
    auto field = catalog.fields.find(source);
    if (!p.relationName.empty()) {
        // TYPE OF COLUMN: the column gives the type.
    } else if (field != catalog.fields.end() && IsGeneratedIndexName(source)) {
        p.type = field->second.type;
        p.type.collation = catalog.CollationName(field->second.charsetId, field->second.collationId);
    } else {
        p.domain = source;
    }
    p.notNull = Int(q, "NULL_FLAG") == 1;
    p.defaultSource = q.AsTrimmed("DEFAULT_SOURCE");
    p.description = q.AsTrimmed("DESCRIPTION");
    return p;
}

void ReadRoutines(Reader& r, const Catalog& catalog, Schema& schema)
{
    const std::string procPackage = r.Has("RDB$PROCEDURES", "RDB$PACKAGE_NAME") ? " AND RDB$PACKAGE_NAME IS NULL" : "";
    r.Each("SELECT " + Name("RDB$PROCEDURE_NAME") + ", CAST(RDB$PROCEDURE_SOURCE AS BLOB SUB_TYPE BINARY) AS SOURCE, RDB$PROCEDURE_TYPE AS PTYPE, " +
               r.Col("RDB$PROCEDURES", "RDB$ENGINE_NAME") + ", " + r.Col("RDB$PROCEDURES", "RDB$ENTRYPOINT") +
               ", CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$PROCEDURES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0" +
               procPackage,
           [&](Query& q) {
               Procedure p;
               p.name = q.AsTrimmed("PROCEDURE_NAME");
               p.source = q.AsTrimmed("SOURCE");
               p.selectable = Int(q, "PTYPE", 1) == 1;
               p.engine = Trim(q.AsTrimmed("ENGINE_NAME"));
               p.entryPoint = q.AsTrimmed("ENTRYPOINT");
               p.description = q.AsTrimmed("DESCRIPTION");
               schema.procedures[p.name] = p;
           });
    struct Numbered {
        int number;
        bool output;
        std::string procedure;
        Parameter parameter;
    };
    std::vector<Numbered> params;
    const std::string paramPackage =
        r.Has("RDB$PROCEDURE_PARAMETERS", "RDB$PACKAGE_NAME") ? " WHERE RDB$PACKAGE_NAME IS NULL" : "";
    r.Each("SELECT " + Name("RDB$PROCEDURE_NAME") + ", " + Name("RDB$PARAMETER_NAME") + ", " + Name("RDB$FIELD_SOURCE") +
               ", RDB$PARAMETER_NUMBER AS NUM, RDB$PARAMETER_TYPE AS PTYPE, RDB$NULL_FLAG AS NULL_FLAG, "
               "CAST(RDB$DEFAULT_SOURCE AS BLOB SUB_TYPE BINARY) AS DEFAULT_SOURCE, RDB$PARAMETER_MECHANISM AS MECHANISM, "
               "RDB$RELATION_NAME AS RELATION_NAME, RDB$FIELD_NAME AS "
               "COLUMN_NAME, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$PROCEDURE_PARAMETERS" +
               paramPackage,
           [&](Query& q) {
               params.push_back({Int(q, "NUM"), Int(q, "PTYPE") == 1, q.AsTrimmed("PROCEDURE_NAME"),
                                 ParameterFrom(q, catalog)});
           });
    std::sort(params.begin(), params.end(), [](const Numbered& a, const Numbered& b) { return a.number < b.number; });
    for (auto& p : params) {
        auto proc = schema.procedures.find(p.procedure);
        if (proc != schema.procedures.end())
            (p.output ? proc->second.outputs : proc->second.inputs).push_back(p.parameter);
    }

    const bool psql = r.Has("RDB$FUNCTIONS", "RDB$FUNCTION_SOURCE");
    std::set<std::string> legacy;
    r.Each("SELECT " + Name("RDB$FUNCTION_NAME") +
               ", RDB$MODULE_NAME AS MODULE_NAME, RDB$ENTRYPOINT AS ENTRYPOINT, RDB$RETURN_ARGUMENT AS RET, " +
               r.Col("RDB$FUNCTIONS", "RDB$FUNCTION_SOURCE", "SOURCE") + ", " + r.Col("RDB$FUNCTIONS", "RDB$ENGINE_NAME") +
               ", " + r.Col("RDB$FUNCTIONS", "RDB$LEGACY_FLAG") + ", " +
               r.Col("RDB$FUNCTIONS", "RDB$DETERMINISTIC_FLAG") + ", " + r.Col("RDB$FUNCTIONS", "RDB$PACKAGE_NAME") +
               ", CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$FUNCTIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
           [&](Query& q) {
               if (!q.IsNull("PACKAGE_NAME"))
                   return;
               const std::string name = q.AsTrimmed("FUNCTION_NAME");
               const bool isLegacy = psql ? Int(q, "LEGACY_FLAG") == 1 : true;
               if (isLegacy) {
                   ExternalFunction f;
                   f.name = name;
                   f.module = q.AsTrimmed("MODULE_NAME");
                   f.entryPoint = q.AsTrimmed("ENTRYPOINT");
                   f.returnArgument = Int(q, "RET");
                   f.description = q.AsTrimmed("DESCRIPTION");
                   schema.externalFunctions[name] = f;
                   legacy.insert(name);
               } else {
                   Function f;
                   f.name = name;
                   f.source = q.AsTrimmed("SOURCE");
                   f.engine = Trim(q.AsTrimmed("ENGINE_NAME"));
                   f.entryPoint = q.AsTrimmed("ENTRYPOINT");
                   f.deterministic = Int(q, "DETERMINISTIC_FLAG") == 1;
                   f.description = q.AsTrimmed("DESCRIPTION");
                   schema.functions[name] = f;
               }
           });
    struct Arg {
        int position;
        std::string function;
        Parameter parameter;
        ExternalArgument external;
    };
    std::vector<Arg> args;
    r.Each(std::string("SELECT ") + Name("RDB$FUNCTION_NAME") + ", RDB$ARGUMENT_POSITION AS POS, RDB$MECHANISM AS "
               "ARG_MECHANISM, " + kTypeColumns + ", NULL AS SEGMENT_LENGTH, " +
               (r.Has("RDB$FUNCTION_ARGUMENTS", "RDB$ARGUMENT_NAME")
                    ? "RDB$ARGUMENT_NAME AS PARAMETER_NAME, RDB$FIELD_SOURCE "
                      "AS FIELD_SOURCE, RDB$NULL_FLAG AS NULL_FLAG, CAST(RDB$DEFAULT_SOURCE AS BLOB SUB_TYPE BINARY) AS DEFAULT_SOURCE, "
                      "RDB$ARGUMENT_MECHANISM AS MECHANISM, RDB$RELATION_NAME AS RELATION_NAME, "
                      "RDB$FIELD_NAME AS COLUMN_NAME, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION, "
                      "RDB$PACKAGE_NAME AS PACKAGE_NAME"
                    : "NULL AS PARAMETER_NAME, NULL AS FIELD_SOURCE, NULL AS NULL_FLAG, NULL AS DEFAULT_SOURCE, "
                      "NULL AS MECHANISM, NULL AS RELATION_NAME, NULL AS COLUMN_NAME, NULL AS DESCRIPTION, "
                      "NULL AS PACKAGE_NAME") +
               " FROM RDB$FUNCTION_ARGUMENTS",
           [&](Query& q) {
               if (!q.IsNull("PACKAGE_NAME"))
                   return;
               Arg a;
               a.position = Int(q, "POS");
               a.function = q.AsTrimmed("FUNCTION_NAME");
               if (legacy.count(a.function)) {
                   a.external.mechanism = Int(q, "ARG_MECHANISM");
                   a.external.type = TypeFrom(q, catalog, nullptr, nullptr);
                   a.external.nullAllowed = false;
               } else {
                   a.parameter = ParameterFrom(q, catalog);
               }
               args.push_back(a);
           });
    std::sort(args.begin(), args.end(), [](const Arg& a, const Arg& b) { return a.position < b.position; });
    for (auto& a : args) {
        if (auto ext = schema.externalFunctions.find(a.function); ext != schema.externalFunctions.end()) {
            if (a.position == ext->second.returnArgument)
                ext->second.returns = a.external;
            if (a.position > 0)
                ext->second.arguments.push_back(a.external);
        } else if (auto fn = schema.functions.find(a.function); fn != schema.functions.end()) {
            if (a.position == 0)
                fn->second.returns = a.parameter;
            else
                fn->second.arguments.push_back(a.parameter);
        }
    }

    if (r.Has("RDB$PACKAGES", "RDB$PACKAGE_NAME"))
        r.Each("SELECT " + Name("RDB$PACKAGE_NAME") +
                   ", CAST(RDB$PACKAGE_HEADER_SOURCE AS BLOB SUB_TYPE BINARY) AS HEADER_SOURCE, CAST(RDB$PACKAGE_BODY_SOURCE AS BLOB SUB_TYPE BINARY) AS BODY_SOURCE, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS "
                   "DESCRIPTION FROM RDB$PACKAGES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
               [&](Query& q) {
                   Package p;
                   p.name = q.AsTrimmed("PACKAGE_NAME");
                   p.headerSource = q.AsTrimmed("HEADER_SOURCE");
                   p.bodySource = q.AsTrimmed("BODY_SOURCE");
                   p.description = q.AsTrimmed("DESCRIPTION");
                   schema.packages[p.name] = p;
               });
}

void ReadTriggers(Reader& r, Schema& schema, const std::set<std::string>& checkTriggers)
{
    r.Each("SELECT " + Name("RDB$TRIGGER_NAME") + ", RDB$RELATION_NAME AS RELATION_NAME, "
               "RDB$TRIGGER_TYPE AS TTYPE, RDB$TRIGGER_SEQUENCE AS SEQ, RDB$TRIGGER_INACTIVE AS INACTIVE, "
               "CAST(RDB$TRIGGER_SOURCE AS BLOB SUB_TYPE BINARY) AS SOURCE, " +
               r.Col("RDB$TRIGGERS", "RDB$ENGINE_NAME") + ", " + r.Col("RDB$TRIGGERS", "RDB$ENTRYPOINT") +
               ", CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$TRIGGERS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
           [&](Query& q) {
               Trigger t;
               t.name = q.AsTrimmed("TRIGGER_NAME");
               if (checkTriggers.count(t.name))
                   return;
               t.relation = q.AsTrimmed("RELATION_NAME");
               t.type = q.AsInteger("TTYPE");
               t.position = Int(q, "SEQ");
               t.inactive = Int(q, "INACTIVE") == 1;
               t.source = q.AsTrimmed("SOURCE");
               t.engine = Trim(q.AsTrimmed("ENGINE_NAME"));
               t.entryPoint = q.AsTrimmed("ENTRYPOINT");
               t.description = q.AsTrimmed("DESCRIPTION");
               schema.triggers[t.name] = t;
           });
}

void ReadRolesAndGrants(Reader& r, Schema& schema)
{
    r.Each("SELECT " + Name("RDB$ROLE_NAME") +
               ", CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION FROM RDB$ROLES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
           [&](Query& q) {
               Role role;
               role.name = q.AsTrimmed("ROLE_NAME");
               role.description = q.AsTrimmed("DESCRIPTION");
               schema.roles[role.name] = role;
           });
    r.Each("SELECT RDB$USER AS GRANTEE, " + Name("RDB$GRANTOR") + ", " + Name("RDB$PRIVILEGE") +
               ", RDB$GRANT_OPTION AS GRANT_OPTION, " + Name("RDB$RELATION_NAME") +
               ", RDB$FIELD_NAME AS FIELD_NAME, RDB$USER_TYPE AS USER_TYPE, RDB$OBJECT_TYPE AS "
               "OBJECT_TYPE FROM RDB$USER_PRIVILEGES "
               "WHERE RDB$GRANTOR IS NULL OR RDB$USER <> RDB$GRANTOR OR RDB$USER_TYPE <> 8",
           [&](Query& q) {
               Grant g;
               g.user = q.AsTrimmed("GRANTEE");
               g.privilege = q.AsTrimmed("PRIVILEGE");
               g.object = q.AsTrimmed("RELATION_NAME");
               g.objectType = Int(q, "OBJECT_TYPE");
               g.userType = Int(q, "USER_TYPE");
               g.field = q.AsTrimmed("FIELD_NAME");
               g.grantOption = Int(q, "GRANT_OPTION");
               // What an owner holds on its own objects comes with creating them.
               if (g.user == q.AsTrimmed("GRANTOR") && g.userType == 8)
                   return;
               bool known = false;
               switch (g.objectType) {
               case 0: known = schema.relations.count(g.object) > 0; break;
               case 5: known = schema.procedures.count(g.object) > 0; break;
               case 15: known = schema.functions.count(g.object) > 0 || schema.externalFunctions.count(g.object); break;
               case 18: known = schema.packages.count(g.object) > 0; break;
               case 14: known = schema.generators.count(g.object) > 0; break;
               case 7: known = schema.exceptions.count(g.object) > 0; break;
               case 13: known = schema.roles.count(g.object) > 0; break;
               case 9: known = schema.domains.count(g.object) > 0; break;
               case 17: known = schema.collations.count(g.object) > 0; break;
               default: known = false; break;
               }
               if (known)
                   schema.grants[g.Key()] = g;
           });
}

// Kinds a database can hold that the model does not: they are named so that nobody takes
// their absence from a repair for agreement.
void ReadUnknownKinds(Reader& r, Schema& schema)
{
    r.Each("SELECT " + Name("RDB$FUNCTION_NAME") + " FROM RDB$FILTERS",
           [&](Query& q) { schema.unknown.push_back({ObjectKind::BlobFilter, q.AsTrimmed("FUNCTION_NAME")}); });
    if (r.Has("RDB$AUTH_MAPPING", "RDB$MAP_NAME"))
        r.Each("SELECT " + Name("RDB$MAP_NAME") + " FROM RDB$AUTH_MAPPING WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
               [&](Query& q) { schema.unknown.push_back({ObjectKind::Mapping, q.AsTrimmed("MAP_NAME")}); });
    std::sort(schema.unknown.begin(), schema.unknown.end());
}

void ReadDependencies(Reader& r, Schema& schema)
{
    r.Each("SELECT " + Name("RDB$DEPENDENT_NAME") + ", " + Name("RDB$DEPENDED_ON_NAME") +
               ", RDB$DEPENDENT_TYPE AS DEPENDENT_TYPE, RDB$DEPENDED_ON_TYPE AS DEPENDED_ON_TYPE FROM RDB$DEPENDENCIES",
           [&](Query& q) {
               schema.dependencies.push_back({q.AsTrimmed("DEPENDENT_NAME"), Int(q, "DEPENDENT_TYPE"),
                                              q.AsTrimmed("DEPENDED_ON_NAME"), Int(q, "DEPENDED_ON_TYPE")});
           });
}

}

Schema Inspect(Connection& connection, Transaction& transaction, InspectStats* stats)
{
    if (!transaction.Active())
        transaction.StartTransaction();
    Schema schema;
    schema.dialect = connection.DatabaseDialect();
    schema.odsMajor = connection.OdsMajorVersion();
    Reader reader(connection, transaction, stats);
    Catalog catalog;
    std::unordered_map<std::string, Generator> identity;
    std::set<std::string> checkTriggers;
    ReadCharsets(reader, catalog, schema);
    ReadFields(reader, catalog, schema);
    ReadGeneratorsAndExceptions(reader, schema, identity);
    ReadRelations(reader, catalog, schema, identity);
    ReadConstraintsAndIndices(reader, schema, checkTriggers);
    ReadRoutines(reader, catalog, schema);
    ReadTriggers(reader, schema, checkTriggers);
    ReadRolesAndGrants(reader, schema);
    ReadUnknownKinds(reader, schema);
    ReadDependencies(reader, schema);
    return schema;
}

}
