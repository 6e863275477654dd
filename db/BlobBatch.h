// A query's blob columns read in one select each, instead of one blob at a time.
#pragma once
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <unordered_map>

class Query;
struct Column;

// Which blob columns of the owner's open have been read in one select, or found unfit for it.
// The texts go to the owner's BlobCache, which finds them by blob id when a cell asks.
class BlobBatch {
public:
    // Forgets the columns, for a new open or another text.
    void Clear() noexcept
    {
        tried_.clear();
        keyed_.clear();
        longReads_ = 0;
    }
    // Reads the column's texts for every row of the owner's open, the first time only.
    void Read(const Query& owner, std::size_t column);
    // Hands the row's text of the column, matched by its row key, to the owner's BlobCache; the
    // rows may come after Read, one at a time.
    void Give(const Query& owner, std::size_t row, std::size_t column);
    // Texts too long for a row, read as blobs of their own since the last Clear.
    std::size_t LongReads() const { return longReads_; }

private:
    // A blob read alone gives its stored bytes only where no character set converts a text;
    // a blob made by an expression has another id in every select, so none can be matched.
    static bool Fits(const Query& owner, const Column& info);
    // A text blob read alone in a character set other than NONE comes converted.
    static bool Converted(const Query& owner, const Column& info);
    static bool ByRowKey(const Query& owner);

    std::set<std::size_t> tried_;
    // The texts of the columns read by row key, by column and then by key, until handed over.
    std::map<std::size_t, std::unordered_map<std::string, std::string>> keyed_;
    // The row key's column, where keyed_ holds any.
    std::size_t keyColumn_ = 0;
    std::size_t longReads_ = 0;
};
