// A per-object select served from one read of its whole table, so that the round trips of a
// walk over many objects do not grow with their number.
#pragma once
#include "db/RowBuffer.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

class ParamValues;

// How a per-object select is served. The whole select lists the same columns without the
// per-object conditions: the server gives an unordered select's rows in storage order, also
// where it finds them through an index, so the rows of one object taken from the whole read
// come in the order the per-object select gives them.
struct ServedRead {
    std::vector<std::string> whole;
    // Each per-object condition "column = :parameter"; the whole select lists the column.
    std::vector<std::pair<std::string, std::string>> keys;
    // The per-object select's ORDER BY columns, all ascending.
    std::vector<std::string> order;

    // The name its whole read is kept under: each set of keys and order is served by a read of its own.
    std::string Name(unsigned short dialect) const;
    // The key parts of one open, from the values of its parameters.
    std::vector<std::string> KeyOf(const ParamValues& params) const;
};

// One read of a whole select and its rows by key.
class ServedTable {
public:
    ServedTable(RowBuffer rows, const ServedRead& how);

    const RowBuffer& Rows() const { return rows_; }
    // The rows whose key columns equal parts, sorted as the per-object select sorts them.
    std::vector<std::size_t> RowsOf(const std::vector<std::string>& parts) const;

    // A fix changed the rows of the objects whose first key part is this: their opens go to the
    // server from now on.
    void MarkChanged(const std::string& firstPart);
    bool Changed(const std::vector<std::string>& parts) const;

    // The form a key part is compared in: a text without the blanks that pad it, as the
    // server compares a CHAR column with a parameter.
    static std::string KeyPart(std::string text);

private:
    static std::string Joined(const std::vector<std::string>& parts);

    RowBuffer rows_;
    std::vector<std::size_t> orderColumns_;
    std::unordered_map<std::string, std::vector<std::size_t>> byKey_;
    std::unordered_set<std::string> changed_;
};

// The whole reads of one connection, kept until it forgets them.
class ServedReads {
public:
    // The read for how in the dialect; null before one was kept.
    ServedTable* Find(const ServedRead& how, unsigned short dialect) const;
    ServedTable& Keep(const ServedRead& how, unsigned short dialect, RowBuffer rows);
    // A fix changed the rows of the objects whose first key part is this (ServedTable::MarkChanged).
    void MarkChanged(const ServedRead& how, unsigned short dialect, const std::string& firstPart);
    void Clear() noexcept { tables_.clear(); }

private:
    std::unordered_map<std::string, std::unique_ptr<ServedTable>> tables_;
};
