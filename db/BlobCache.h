// Blob texts read on first use, once per cell and open, and the count of those still unread.
#pragma once
#include "db/RowBuffer.h"

class Connection;

#include <cstdint>
#include <string>
#include <unordered_map>

class BlobCache {
public:
    // Forgets every text, for a new open.
    void Clear() noexcept;
    // Forgets the texts of the rows, for rows dropped before the next is fetched; texts kept by
    // blob id stay for the rows to come.
    void ForgetCells() noexcept;
    // Counts the non-NULL blob cells of a row just fetched: most blobs of a system table are
    // compiled BLR that nothing reads, so none is read yet.
    void NoteRow(const RowBuffer& rows, std::size_t row);
    // The cell's text, read in the given attachment and transaction the first time.
    const std::string& Text(Connection& connection, isc_tr_handle* tr, const RowBuffer& rows, std::size_t row,
                            std::size_t column);
    // A blob's text read another way, found by its id when a cell asks for it.
    void Keep(const ISC_QUAD& id, std::string text);
    // A cell's text read another way, for a cell not read yet.
    void KeepCell(const RowBuffer& rows, std::size_t row, std::size_t column, std::string text);
    // Reads every blob of the rows that is not read yet.
    void ReadPending(Connection& connection, isc_tr_handle* tr, const RowBuffer& rows);
    bool Pending() const { return pending_ > 0; }
    // Blobs read alone since the last Clear, each a few round trips over a network.
    std::size_t Opened() const { return opened_; }

private:
    // By row * column count + column.
    std::unordered_map<std::size_t, std::string> texts_;
    std::unordered_map<std::uint64_t, std::string> byId_;
    std::size_t pending_ = 0;
    std::size_t opened_ = 0;
};
