// Reads one database's whole catalog into a Schema: each system table once, columns named.
#pragma once
#include "schema/Model.h"

#include <cstddef>
#include <functional>
#include <string>

class Connection;
class Transaction;

namespace schema {

// One catalog query and what it cost: its rows and the blobs read one at a time after it.
struct InspectQuery {
    std::string sql;
    std::size_t rows = 0;
    std::size_t blobReads = 0;
};

struct InspectStats {
    int queries = 0;
    // Told after each query where set, for a table of the costs per query (the bench's).
    std::function<void(const InspectQuery&)> each;
};

// The transaction is started when it is not active and left active. Throws DbError with the
// server's message; a kind of object the model cannot hold is refused by name.
Schema Inspect(Connection& connection, Transaction& transaction, InspectStats* stats = nullptr);

}
