// A query's blob columns read in one select each, instead of one blob at a time.
#pragma once
#include <cstddef>
#include <set>

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
        longReads_ = 0;
    }
    // Reads the column's texts for every row of the owner's open, the first time only.
    void Read(const Query& owner, std::size_t column);
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
    std::size_t longReads_ = 0;
};
