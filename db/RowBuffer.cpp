// The column layout of one select and the chunked store of its rows.
#include "db/RowBuffer.h"
#include "db/DbError.h"
#include "db/NamedParams.h"

#include <algorithm>

std::vector<char> NewDescriptor(short count)
{
    std::vector<char> storage(XSQLDA_LENGTH(std::max<short>(count, 1)), 0);
    auto* da = reinterpret_cast<XSQLDA*>(storage.data());
    da->version = SQLDA_VERSION1;
    da->sqln = std::max<short>(count, 1);
    return storage;
}

void RowBuffer::Layout(std::vector<char> descriptor)
{
    Clear();
    descriptor_ = std::move(descriptor);
    XSQLDA* out = Descriptor();
    const short count = out->sqld;
    columns_.clear();
    blobColumns_.clear();
    std::size_t size = 0;
    for (short i = 0; i < count; ++i) {
        XSQLVAR& var = out->sqlvar[i];
        short type = var.sqltype & ~1;
        std::size_t length = static_cast<std::size_t>(var.sqllen) + (type == SQL_VARYING ? 2 : 0);
        Column column;
        column.name = UpperName(std::string(var.aliasname, var.aliasname_length));
        column.type = type;
        column.scale = var.sqlscale;
        column.subType = var.sqlsubtype;
        column.length = var.sqllen;
        column.offset = size;
        column.isText = type == SQL_TEXT || type == SQL_VARYING;
        column.fromTable = var.relname_length > 0;
        if (type == SQL_BLOB)
            blobColumns_.push_back(columns_.size());
        columns_.push_back(column);
        size += (length + 7) & ~std::size_t(7);
        var.sqltype = static_cast<short>(type | 1);
    }
    indicatorOffset_ = size;
    rowSize_ = size + sizeof(short) * static_cast<std::size_t>(count);
    rowsPerChunk_ = std::max<std::size_t>(1, 65536 / std::max<std::size_t>(rowSize_, 1));
    fetchBuffer_.assign(rowSize_ + 8, 0);
    for (short i = 0; i < count; ++i) {
        out->sqlvar[i].sqldata = fetchBuffer_.data() + columns_[static_cast<std::size_t>(i)].offset;
        out->sqlvar[i].sqlind = reinterpret_cast<short*>(fetchBuffer_.data() + indicatorOffset_) + i;
    }
}

std::size_t RowBuffer::ColumnNamed(const std::string& name) const
{
    const std::string wanted = UpperName(name);
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name == wanted)
            return i;
    throw DbError(FormatMessage("Field '%s' not found", name));
}

void RowBuffer::LayoutLike(const RowBuffer& other)
{
    Clear();
    descriptor_.clear();
    fetchBuffer_.clear();
    columns_ = other.columns_;
    blobColumns_ = other.blobColumns_;
    rowSize_ = other.rowSize_;
    indicatorOffset_ = other.indicatorOffset_;
    rowsPerChunk_ = other.rowsPerChunk_;
}

char* RowBuffer::NextRow()
{
    if (rowCount_ % rowsPerChunk_ == 0 && rowCount_ / rowsPerChunk_ >= chunks_.size())
        chunks_.push_back(std::make_unique<char[]>(rowsPerChunk_ * rowSize_));
    return chunks_.back().get() + (rowCount_++ % rowsPerChunk_) * rowSize_;
}

void RowBuffer::Append()
{
    std::memcpy(NextRow(), fetchBuffer_.data(), rowSize_);
}

void RowBuffer::AppendCopy(const RowBuffer& from, std::size_t row)
{
    std::memcpy(NextRow(), from.RowData(row), rowSize_);
}

void RowBuffer::Clear() noexcept
{
    chunks_.clear();
    rowCount_ = 0;
}

void RowBuffer::DropRows() noexcept
{
    if (chunks_.size() > 1)
        chunks_.resize(1);
    rowCount_ = 0;
}

const char* RowBuffer::RowData(std::size_t row) const
{
    return chunks_[row / rowsPerChunk_].get() + (row % rowsPerChunk_) * rowSize_;
}

bool RowBuffer::CellNull(std::size_t row, std::size_t column) const
{
    return Load<short>(RowData(row) + indicatorOffset_ + column * sizeof(short)) < 0;
}
