// Segment by segment through the blob calls of the client library.
#include "db/BlobCache.h"
#include "db/Connection.h"
#include "db/Status.h"

namespace {
std::uint64_t IdKey(const ISC_QUAD& id)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(id.gds_quad_high)) << 32) | id.gds_quad_low;
}
}

void BlobCache::Clear() noexcept
{
    texts_.clear();
    byId_.clear();
    pending_ = 0;
    opened_ = 0;
}

void BlobCache::ForgetCells() noexcept
{
    texts_.clear();
    pending_ = 0;
}

void BlobCache::NoteRow(const RowBuffer& rows, std::size_t row)
{
    for (std::size_t column : rows.BlobColumns())
        if (!rows.CellNull(row, column))
            ++pending_;
}

const std::string& BlobCache::Text(Connection& connection, isc_tr_handle* tr, const RowBuffer& rows, std::size_t row,
                                   std::size_t column)
{
    const std::size_t key = row * rows.Columns().size() + column;
    auto known = texts_.find(key);
    if (known != texts_.end())
        return known->second;
    ISC_QUAD id = Load<ISC_QUAD>(rows.Cell(row, column));
    auto kept = byId_.find(IdKey(id));
    if (kept != byId_.end()) {
        std::string text = std::move(kept->second);
        byId_.erase(kept);
        --pending_;
        return texts_.emplace(key, std::move(text)).first->second;
    }
    ISC_STATUS_ARRAY status{};
    isc_blob_handle blob = 0;
    auto call = connection.Watched();
    isc_open_blob2(status, connection.Handle(), tr, &blob, &id, 0, nullptr);
    connection.Check(status);
    ++opened_;
    std::string text;
    char segment[32768];
    for (;;) {
        unsigned short got = 0;
        ISC_STATUS rc = isc_get_segment(status, &blob, &got, sizeof segment, segment);
        if (rc == isc_segstr_eof)
            break;
        if (rc != 0 && rc != isc_segment) {
            ISC_STATUS_ARRAY closeStatus{};
            isc_close_blob(closeStatus, &blob);
            connection.Check(status);
        }
        text.append(segment, got);
    }
    isc_close_blob(status, &blob);
    connection.Check(status);
    --pending_;
    return texts_.emplace(key, std::move(text)).first->second;
}

void BlobCache::Keep(const ISC_QUAD& id, std::string text)
{
    byId_[IdKey(id)] = std::move(text);
}

void BlobCache::KeepCell(const RowBuffer& rows, std::size_t row, std::size_t column, std::string text)
{
    if (texts_.emplace(row * rows.Columns().size() + column, std::move(text)).second)
        --pending_;
}

void BlobCache::ReadPending(Connection& connection, isc_tr_handle* tr, const RowBuffer& rows)
{
    for (std::size_t row = 0; pending_ > 0 && row < rows.Count(); ++row)
        for (std::size_t column : rows.BlobColumns())
            if (!rows.CellNull(row, column))
                Text(connection, tr, rows, row, column);
}
