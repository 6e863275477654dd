// The output descriptor of a prepared select and the rows fetched through it, kept as fetched.
#pragma once
#include <ibase.h>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// Row bytes are packed as fetched, so a value may sit at any address: copied out, never cast.
template <typename T>
T Load(const char* data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

// An XSQLDA in a byte vector, with room for count variables (one at least).
std::vector<char> NewDescriptor(short count);
inline XSQLDA* DescriptorOf(std::vector<char>& storage) { return reinterpret_cast<XSQLDA*>(storage.data()); }

struct Column {
    std::string name;  // the alias in capitals
    short type = 0;    // SQL_TEXT, SQL_VARYING, ... without the NULL bit
    short scale = 0;
    short subType = 0;
    short length = 0;
    std::size_t offset = 0;
    bool isText = false;
    // A column of a table, not an expression: a blob here is the stored one, the same in any select.
    bool fromTable = false;
};

class RowBuffer {
public:
    // Takes over a described output descriptor and lays its columns out in one fetch buffer:
    // data, then the NULL indicators, asked for on every column, so that NULL never depends on
    // the describe. Drops the rows.
    void Layout(std::vector<char> descriptor);
    // Where isc_dsql_fetch writes the next row.
    XSQLDA* Descriptor() { return DescriptorOf(descriptor_); }

    const std::vector<Column>& Columns() const { return columns_; }
    const std::vector<std::size_t>& BlobColumns() const { return blobColumns_; }
    // The index of the column of this name in any letter case; a name it lacks is an error that names it.
    std::size_t ColumnNamed(const std::string& name) const;

    // The layout of other without its rows, for rows copied over from it; nothing is fetched
    // through this buffer then.
    void LayoutLike(const RowBuffer& other);
    // Keeps what the last fetch wrote as the next row.
    void Append();
    // Keeps a row of a buffer of the same layout as the next row.
    void AppendCopy(const RowBuffer& from, std::size_t row);
    void Clear() noexcept;
    // Drops the rows but keeps the room of the first chunk, for a read that holds one row at a time.
    void DropRows() noexcept;
    std::size_t Count() const { return rowCount_; }

    const char* Cell(std::size_t row, std::size_t column) const { return RowData(row) + columns_[column].offset; }
    bool CellNull(std::size_t row, std::size_t column) const;

private:
    const char* RowData(std::size_t row) const;
    char* NextRow();

    std::vector<char> descriptor_;
    std::vector<char> fetchBuffer_;
    std::vector<Column> columns_;
    std::vector<std::size_t> blobColumns_;
    std::size_t rowSize_ = 0;
    std::size_t indicatorOffset_ = 0;
    // Rows are kept in chunks, so that growing never copies.
    std::size_t rowsPerChunk_ = 1;
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::size_t rowCount_ = 0;
};
