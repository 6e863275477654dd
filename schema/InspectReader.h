// What the catalog reads share: one read per system table, the optional columns of older
// on-disk structures, the rows of RDB$FIELDS behind every type, and each read's unit.
#pragma once
#include "schema/Inspect.h"
#include "schema/Model.h"
#include "db/Query.h"

#include <optional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

class Connection;
class Transaction;

namespace schema::inspect {

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

// Character sets, collations and fields by their ids and names, for the reads that follow.
struct Catalog {
    std::unordered_map<int, std::string> charsets;
    std::unordered_map<int, int> bytesPerChar;
    std::unordered_map<int, std::string> defaultCollation;  // by charset id
    std::map<std::pair<int, int>, std::string> collationNames;
    std::unordered_map<std::string, FieldRow> fields;
    // Identity columns' generators (system flag 6), by name.
    std::unordered_map<std::string, Generator> identity;
    // The triggers that carry table CHECKs: no triggers of the user's.
    std::set<std::string> checkTriggers;

    std::string Charset(int id) const;
    // The collation's name, or empty for the one named like the charset (id 0).
    std::string CollationName(int charsetId, int collationId) const;
        // The collation's name, even where it is the character set's own: what a column's COLLATE
    // over its domain's names.
    std::string NamedCollation(int charsetId, int collationId) const;
};

class Reader {
public:
    Reader(Connection& connection, Transaction& transaction, InspectStats* stats);

    bool Has(const std::string& table, const std::string& column) const
    {
        return optional_.count(table + "." + column) > 0;
    }
    // The SQL of a read with its optional columns filled in: "{RDB$GENERATORS.RDB$INITIAL_VALUE}"
    // is that column as INITIAL_VALUE where this server has it, else NULL AS INITIAL_VALUE;
    // "{T.C AS X}" names the alias.
    std::string Sql(const std::string& text) const;

    template <typename RowFn>
    void Each(const std::string& sql, RowFn&& row)
    {
        Query query(connection_, transaction_, {Keyed(Sql(sql))});
        query.Dialect = 3;
        // Read as text, a source would come converted to the connection's character set, or
        // with '?' for every character NONE cannot show; its stored bytes are what it is.
        query.StoredBytes = true;
        if (query.SQL.front().rfind(kRowKey, 0) == 0)
            query.RowKey = "ROW_KEY";
        // A row at a time: the model keeps what it needs of each, and the rows of a large
        // table (RDB$RELATION_FIELDS) are never all held at once.
        query.ForwardOnly = true;
        query.Open();
        if (stats_)
            ++stats_->queries;
        std::size_t rows = 0;
        for (; !query.Eof(); query.Next(), ++rows)
            row(query);
        if (stats_ && stats_->each)
            stats_->each({query.SQL.front(), rows, query.BlobsOpened()});
        query.Close();
    }

private:
    // A read of one table tells its rows apart by their RDB$DB_KEY, which its blob texts are
    // matched by (Query::RowKey).
    static constexpr const char* kRowKey = "SELECT RDB$DB_KEY AS ROW_KEY, ";
    static std::string Keyed(const std::string& sql);

    Connection& connection_;
    Transaction& transaction_;
    InspectStats* stats_;
    std::set<std::string> optional_;
};

// A nullable integer column.
// A BOOLEAN such as RDB$SQL_SECURITY: none where NULL.
std::optional<bool> OptionalFlag(Query& q, const std::string& column);
int Int(Query& q, const std::string& column, int fallback = 0);
// A type from the columns kTypeColumns names; the charset's and collation's ids where asked.
Type TypeFrom(Query& q, const Catalog& catalog, int* charsetId, int* collationId);
// A parameter of a procedure or a function from the columns their reads share.
Parameter ParameterFrom(Query& q, const Catalog& catalog);

// The type columns of RDB$FIELDS and RDB$FUNCTION_ARGUMENTS, as TypeFrom reads them.
inline constexpr const char* kTypeColumns =
    "RDB$FIELD_TYPE AS FIELD_TYPE, RDB$FIELD_SUB_TYPE AS FIELD_SUB_TYPE, RDB$FIELD_LENGTH AS FIELD_LENGTH, "
    "RDB$FIELD_SCALE AS FIELD_SCALE, RDB$FIELD_PRECISION AS FIELD_PRECISION, RDB$CHARACTER_LENGTH AS "
    "CHARS, RDB$CHARACTER_SET_ID AS CHARACTER_SET_ID, RDB$COLLATION_ID AS COLLATION_ID";

// The reads, in the order Inspect runs them; each fills in the schema and the catalog.
void ReadCharsets(Reader& r, Catalog& catalog, Schema& schema);           // InspectTypes.cpp
void ReadFields(Reader& r, Catalog& catalog, Schema& schema);             // InspectTypes.cpp
void ReadGeneratorsAndExceptions(Reader& r, Catalog& catalog, Schema& schema);  // InspectTypes.cpp
void ReadRelations(Reader& r, const Catalog& catalog, Schema& schema);    // InspectRelations.cpp
void ReadConstraintsAndIndices(Reader& r, Catalog& catalog, Schema& schema);    // InspectConstraints.cpp
void ReadRoutines(Reader& r, const Catalog& catalog, Schema& schema);     // InspectRoutines.cpp
void ReadTriggers(Reader& r, const Catalog& catalog, Schema& schema);     // InspectOthers.cpp
// Firebird 4's object type 20, its privilege object, which Firebird 3 does not have.
inline constexpr int kPrivilegeObjectType = 120;
int ObjectTypeOf(int code, int odsMajor);
void ReadRolesAndGrants(Reader& r, Schema& schema);
void ReadKeywords(Reader& r, Schema& schema);                       // InspectOthers.cpp
void ReadUnknownKinds(Reader& r, Schema& schema);                         // InspectOthers.cpp
void ReadDependencies(Reader& r, Schema& schema);                         // InspectOthers.cpp

}
