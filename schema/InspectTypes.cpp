// Character sets and collations, the fields behind every type with the domains among them,
// generators and exceptions.
#include "schema/InspectReader.h"

#include <algorithm>

namespace schema::inspect {
namespace {

constexpr const char* kCharsetsSql =
    "SELECT RDB$CHARACTER_SET_ID AS ID, RDB$CHARACTER_SET_NAME AS CHARACTER_SET_NAME, "
    "RDB$DEFAULT_COLLATE_NAME AS DEFAULT_COLLATE_NAME, RDB$BYTES_PER_CHARACTER AS BPC FROM RDB$CHARACTER_SETS";

constexpr const char* kCollationsSql =
    "SELECT RDB$CHARACTER_SET_ID AS CS, RDB$COLLATION_ID AS ID, RDB$COLLATION_NAME AS COLLATION_NAME, "
    "RDB$SYSTEM_FLAG AS SYS, RDB$BASE_COLLATION_NAME AS BASE_COLLATION_NAME, RDB$COLLATION_ATTRIBUTES AS ATTRS, "
    "RDB$SPECIFIC_ATTRIBUTES AS SPECIFIC_ATTRS, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$COLLATIONS";

constexpr const char* kDatabaseSql =
    "SELECT RDB$CHARACTER_SET_NAME AS CHARACTER_SET_NAME, {RDB$DATABASE.RDB$LINGER}, {RDB$DATABASE.RDB$SQL_SECURITY}, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$DATABASE";

constexpr const char* kDimensionsSql =
    "SELECT RDB$FIELD_NAME AS FIELD_NAME, RDB$DIMENSION AS DIM, RDB$LOWER_BOUND AS LO, RDB$UPPER_BOUND AS HI "
    "FROM RDB$FIELD_DIMENSIONS";

const std::string kFieldsSql =
    std::string("SELECT RDB$FIELD_NAME AS FIELD_NAME, ") + kTypeColumns +
    ", RDB$SEGMENT_LENGTH AS SEGMENT_LENGTH, RDB$DEFAULT_SOURCE AS DEFAULT_SOURCE, "
    "RDB$VALIDATION_SOURCE AS VALIDATION_SOURCE, "
    "RDB$COMPUTED_SOURCE AS COMPUTED_SOURCE, RDB$NULL_FLAG AS NULL_FLAG, "
    "RDB$SYSTEM_FLAG AS SYS, RDB$DESCRIPTION AS DESCRIPTION FROM RDB$FIELDS";

constexpr const char* kGeneratorsSql =
    "SELECT RDB$GENERATOR_NAME AS GENERATOR_NAME, RDB$SYSTEM_FLAG AS SYS, {RDB$GENERATORS.RDB$INITIAL_VALUE}, "
    "{RDB$GENERATORS.RDB$GENERATOR_INCREMENT}, RDB$DESCRIPTION AS DESCRIPTION "
    "FROM RDB$GENERATORS";

constexpr const char* kExceptionsSql =
    "SELECT RDB$EXCEPTION_NAME AS EXCEPTION_NAME, CAST(RDB$MESSAGE AS VARCHAR(4084) CHARACTER SET OCTETS) AS MESSAGE, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$EXCEPTIONS "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

// A collation's own attributes, without the versions the server adds when it makes one
// (COLL-VERSION, ICU-VERSION): those are the server's and its ICU library's, not the user's,
// and a server of another ICU refuses them.
std::string UserAttributes(const std::string& attributes)
{
    std::vector<std::string> kept;
    std::size_t at = 0;
    while (at <= attributes.size()) {
        std::size_t end = attributes.find(';', at);
        if (end == std::string::npos)
            end = attributes.size();
        const std::string part = attributes.substr(at, end - at);
        if (!part.empty() && part.rfind("COLL-VERSION=", 0) != 0 && part.rfind("ICU-VERSION=", 0) != 0)
            kept.push_back(part);
        at = end + 1;
    }
    return Joined(kept, ";");
}

}

void ReadCharsets(Reader& r, Catalog& catalog, Schema& schema)
{
    r.Each(kCharsetsSql, [&](Query& q) {
        const int id = Int(q, "ID");
        catalog.charsets[id] = q.AsTrimmed("CHARACTER_SET_NAME");
        catalog.bytesPerChar[id] = Int(q, "BPC", 1);
        catalog.defaultCollation[id] = q.AsTrimmed("DEFAULT_COLLATE_NAME");
        schema.characterSets[catalog.charsets[id]] = {catalog.charsets[id], catalog.defaultCollation[id]};
    });
    r.Each(kCollationsSql, [&](Query& q) {
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
        c.specificAttributes = UserAttributes(q.AsTrimmed("SPECIFIC_ATTRS"));
        c.description = q.AsTrimmed("DESCRIPTION");
        schema.collations[c.name] = c;
    });
    r.Each(kDatabaseSql, [&](Query& q) {
        schema.database.defaultCharset = q.AsTrimmed("CHARACTER_SET_NAME");
        schema.database.linger = Int(q, "LINGER");
        schema.database.description = q.AsTrimmed("DESCRIPTION");
        // INVOKER is what a database without the setting does.
        if (OptionalFlag(q, "SQL_SECURITY").value_or(false))
            schema.database.sqlSecurity = true;
    });
}

void ReadFields(Reader& r, Catalog& catalog, Schema& schema)
{
    std::unordered_map<std::string, std::vector<std::pair<int, std::pair<int, int>>>> dims;
    r.Each(kDimensionsSql, [&](Query& q) {
        dims[q.AsTrimmed("FIELD_NAME")].push_back({Int(q, "DIM"), {Int(q, "LO"), Int(q, "HI")}});
    });
    r.Each(kFieldsSql, [&](Query& q) {
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

void ReadGeneratorsAndExceptions(Reader& r, Catalog& catalog, Schema& schema)
{
    r.Each(kGeneratorsSql, [&](Query& q) {
        Generator g;
        g.name = q.AsTrimmed("GENERATOR_NAME");
        g.initialValue = q.AsInteger("INITIAL_VALUE");
        g.increment = Int(q, "GENERATOR_INCREMENT", 1);
        g.description = q.AsTrimmed("DESCRIPTION");
        const int sys = Int(q, "SYS");
        if (sys == 6)
            catalog.identity[g.name] = g;
        else if (sys == 0)
            schema.generators[g.name] = g;
    });
    r.Each(kExceptionsSql, [&](Query& q) {
        Exception e;
        e.name = q.AsTrimmed("EXCEPTION_NAME");
        e.message = q.AsTrimmed("MESSAGE");
        e.description = q.AsTrimmed("DESCRIPTION");
        schema.exceptions[e.name] = e;
    });
}

}
