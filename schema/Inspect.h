// Reads one database's whole catalog into a Schema: each system table once, columns named.
#pragma once
#include "schema/Model.h"

#include <functional>
#include <string>

class Connection;
class Transaction;

namespace schema {

struct InspectStats {
    int queries = 0;
};

// The transaction is started when it is not active and left active. Throws DbError with the
// server's message; a kind of object the model cannot hold is refused by name.
Schema Inspect(Connection& connection, Transaction& transaction, InspectStats* stats = nullptr);

}
