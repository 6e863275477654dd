// The shared part of the catalog reads: optional columns, types and parameters from their rows.
#include "schema/InspectReader.h"
#include "db/Connection.h"
#include "db/Transaction.h"

#include <algorithm>

namespace schema::inspect {
namespace {

// The columns of system tables this server has, as "RDB$TABLE.RDB$COLUMN": older on-disk
// structures lack some, which are then read as NULL.
constexpr const char* kSystemColumnsSql =
    "SELECT TRIM(RDB$RELATION_NAME) || '.' || TRIM(RDB$FIELD_NAME) AS NAME FROM RDB$RELATION_FIELDS "
    "WHERE RDB$SYSTEM_FLAG = 1";

bool IsTextType(int fieldType, int subType)
{
    return fieldType == 14 || fieldType == 37 || fieldType == 40 || (fieldType == 261 && subType == 1);
}

}

std::string Catalog::Charset(int id) const
{
    auto it = charsets.find(id);
    return it == charsets.end() ? std::string() : it->second;
}

std::string Catalog::CollationName(int charsetId, int collationId) const
{
    return collationId == 0 ? std::string() : NamedCollation(charsetId, collationId);
}

std::string Catalog::NamedCollation(int charsetId, int collationId) const
{
    if (charsetId < 0 || collationId < 0)
        return {};
    auto it = collationNames.find({charsetId, collationId});
    return it == collationNames.end() ? std::string() : it->second;
}

Reader::Reader(Connection& connection, Transaction& transaction, InspectStats* stats)
    : connection_(connection), transaction_(transaction), stats_(stats)
{
    Each(kSystemColumnsSql, [&](Query& q) { optional_.insert(q.AsTrimmed("NAME")); });
}

std::string Reader::Sql(const std::string& text) const
{
    std::string sql;
    std::size_t at = 0;
    for (std::size_t open; (open = text.find('{', at)) != std::string::npos;) {
        const std::size_t close = text.find('}', open);
        std::string column = text.substr(open + 1, close - open - 1), alias;
        if (const auto as = column.find(" AS "); as != std::string::npos) {
            alias = column.substr(as + 4);
            column.resize(as);
        }
        const auto dot = column.find('.');
        const std::string table = column.substr(0, dot), field = column.substr(dot + 1);
        if (alias.empty())
            alias = field.substr(4);
        sql += text.substr(at, open - at);
        sql += Has(table, field) ? field + " AS " + alias : "NULL AS " + alias;
        at = close + 1;
    }
    return sql + text.substr(at);
}

std::string Reader::Keyed(const std::string& sql)
{
    const std::string select = "SELECT ";
    if (sql.rfind(select, 0) != 0 || sql.find(" UNION ") != std::string::npos || sql.find(" JOIN ") != std::string::npos)
        return sql;
    return kRowKey + sql.substr(select.size());
}

std::optional<bool> OptionalFlag(Query& q, const std::string& column)
{
    if (q.IsNull(column))
        return std::nullopt;
    return q.AsInteger(column) != 0;
}

int Int(Query& q, const std::string& column, int fallback)
{
    return q.IsNull(column) ? fallback : static_cast<int>(q.AsInteger(column));
}

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
    } else if (field != catalog.fields.end() && IsGeneratedIndexName(source) && !field->second.system) {
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

}
