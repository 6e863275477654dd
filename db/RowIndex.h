// Locate's index over the fetched rows, and the bookmarks that name a row.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

// A row's place among the fetched rows; it stays valid while the query is open, and names
// the same row after a reopen of the same text over unchanged data.
using RowBookmark = std::size_t;

class RowIndex {
public:
    // Forgets every column's keys: the rows changed.
    void Clear() noexcept { keys_.clear(); }
    // The first row whose key in the column equals key; the column's keys are read once, by
    // keyOf (nothing for a NULL), over rows 0 to rowCount - 1.
    std::optional<RowBookmark> Find(int column, const std::string& key, std::size_t rowCount,
                                    const std::function<std::optional<std::string>(std::size_t row)>& keyOf);

private:
    std::unordered_map<int, std::unordered_map<std::string, RowBookmark>> keys_;
};
