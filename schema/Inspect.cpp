// Each system table is read once per database, whatever the number of objects; rows are then
// joined in memory. Columns that older on-disk structures lack are read as NULL.
#include "schema/Inspect.h"
#include "schema/InspectReader.h"
#include "db/Connection.h"
#include "db/Transaction.h"

namespace schema {

Schema Inspect(Connection& connection, Transaction& transaction, InspectStats* stats)
{
    using namespace inspect;
    if (!transaction.Active())
        transaction.StartTransaction();
    Schema schema;
    schema.dialect = connection.DatabaseDialect();
    schema.odsMajor = connection.OdsMajorVersion();
    Reader reader(connection, transaction, stats);
    Catalog catalog;
    ReadCharsets(reader, catalog, schema);
    ReadFields(reader, catalog, schema);
    ReadGeneratorsAndExceptions(reader, catalog, schema);
    ReadRelations(reader, catalog, schema);
    ReadConstraintsAndIndices(reader, catalog, schema);
    ReadRoutines(reader, catalog, schema);
    ReadTriggers(reader, catalog, schema);
    ReadRolesAndGrants(reader, schema);
    ReadKeywords(reader, schema);
    ReadUnknownKinds(reader, schema);
    ReadDependencies(reader, schema);
    return schema;
}

}
