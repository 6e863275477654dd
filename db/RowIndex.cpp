// One hash map per searched column, built on its first search.
#include "db/RowIndex.h"

std::optional<RowBookmark> RowIndex::Find(int column, const std::string& key, std::size_t rowCount,
                                          const std::function<std::optional<std::string>(std::size_t row)>& keyOf)
{
    auto built = keys_.find(column);
    if (built == keys_.end()) {
        std::unordered_map<std::string, RowBookmark> keys;
        keys.reserve(rowCount);
        for (std::size_t row = 0; row < rowCount; ++row)
            if (std::optional<std::string> text = keyOf(row))
                // emplace keeps the first row of a key.
                keys.emplace(std::move(*text), row);
        built = keys_.emplace(column, std::move(keys)).first;
    }
    auto found = built->second.find(key);
    if (found == built->second.end())
        return std::nullopt;
    return found->second;
}
