// Many selects of one value asked in a few selects, so that their round trips do not grow
// with their number.
#pragma once
#include "db/DbError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class Connection;
class Transaction;

// Each select names its value N ("SELECT COUNT(*) AS N FROM T WHERE ...") and becomes a
// subquery of one select from RDB$DATABASE with others; its first row's N is its value, and
// no row at all reads as 0.
class ValueBatch {
public:
    ValueBatch(Connection& connection, Transaction& transaction, unsigned short dialect)
        : connection_(connection), transaction_(transaction), dialect_(dialect)
    {
    }

    // Asks for every select's value. Where a select of many fails, its part is asked select by
    // select, and a select that fails alone keeps its error.
    void Read(const std::vector<std::string>& selects);
    // The value of a select Read asked for; throws the error of one that failed; nothing for
    // one that was not asked.
    std::optional<std::int64_t> Find(const std::string& select) const;

private:
    void ReadPart(const std::vector<std::string>& part);
    void ReadAlone(const std::string& select);

    Connection& connection_;
    Transaction& transaction_;
    unsigned short dialect_;
    std::unordered_map<std::string, std::int64_t> values_;
    std::unordered_map<std::string, DbError> errors_;
};
