// A select whose rows are buffered and can be walked, searched and counted.
#pragma once
#include <ibase.h>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class Connection;
class Transaction;

// Told around fetching all rows, so that a front end can show a busy mouse pointer.
class BusyPointer {
public:
    virtual ~BusyPointer() = default;
    virtual void Begin() = 0;
    virtual void End() noexcept = 0;
};

class Query {
public:
    Query(Connection& connection, Transaction& transaction, std::vector<std::string> sqlLines = {});
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // The select text; named parameters are written ":NAME".
    std::vector<std::string> SQL;
    // The SQL dialect the text is prepared in; the checks read in dialect 1, and a catalog
    // read that selects BIGINT columns needs 3.
    unsigned short Dialect = 1;

    // A text longer than a parameter can carry (32767 bytes) is refused, not cut.
    void SetParam(const std::string& name, const std::string& value);
    void SetParam(const std::string& name, std::int64_t value);

    // When this open started the transaction and then fails, the transaction is rolled back.
    void Open();
    // Releases rows and cursor; commits the transaction when this query started it
    // and no other query of that transaction is open.
    void Close();
    bool Active() const { return open_; }

    void First();
    void Next();
    bool Eof() const { return eof_; }
    void FetchAll();
    // Set once by the front end; none in the core and in tests.
    static inline BusyPointer* Busy = nullptr;
    int RecordCount() const { return static_cast<int>(rowCount_); }

    // Values of the current row by column name (any letter case). NULL, or no current
    // row at all, reads as the empty text and as 0. A blob is read on first use, in the
    // query's transaction, and kept.
    std::string AsString(const std::string& column) const;
    // A CHAR column without the blanks that pad it, such as a name; other columns as AsString.
    std::string AsTrimmed(const std::string& column) const;
    std::int64_t AsInteger(const std::string& column) const;
    bool IsNull(const std::string& column) const;

    // First row whose column equals key: text columns ignore trailing blanks on both sides,
    // other columns compare their text form unchanged; NULL never matches. On failure
    // the current row stays where it was.
    bool Locate(const std::string& column, const std::string& key);

    using Bookmark = std::size_t;
    Bookmark GetBookmark() const { return current_; }
    void GotoBookmark(Bookmark bookmark);
    void FreeBookmark(Bookmark) {}

    Transaction& Tran() { return transaction_; }

private:
    struct Column {
        std::string name;
        short type = 0;
        short scale = 0;
        short subType = 0;
        short length = 0;
        std::size_t offset = 0;
        bool isText = false;
    };
    struct ParamValue {
        bool isInteger = false;
        std::string text;
        std::int64_t number = 0;
    };

    bool FetchOne();
    void Prepare(const std::string& source);
    void Execute();
    void ClearRows() noexcept;
    // The current row's cell, or -1 when it is NULL or there is no current row.
    int CurrentColumn(const std::string& column) const;
    const char* RowData(std::size_t row) const;
    bool CellNull(std::size_t row, std::size_t column) const;
    std::string CellText(std::size_t row, std::size_t column) const;
    std::int64_t CellNumber(std::size_t row, std::size_t column) const;
    const std::string& BlobText(std::size_t row, std::size_t column) const;
    void ReadPendingBlobs();
    int ColumnIndex(const std::string& column) const;
    void BuildIndex(int column);
    friend class Connection;
    friend class Transaction;
    // Closes the cursor and drops the rows; the prepared statement stays for the next open.
    void Release() noexcept;
    // Drops the prepared statement too: its text changed, an open failed, or the connection closes.
    void Unprepare() noexcept;

    Connection& connection_;
    Transaction& transaction_;
    // Prepared once and executed again on each open while the text stays the same.
    isc_stmt_handle stmt_ = 0;
    std::string preparedSource_;
    std::vector<std::string> paramNames_;
    bool open_ = false;
    std::vector<char> outBuffer_;
    std::vector<char> outDescriptor_;
    std::vector<Column> columns_;
    std::map<std::string, ParamValue> params_;  // upper-case names
    // Each fetched row is kept as the bytes the client library wrote (data, then the NULL
    // indicators), in chunks so that growing never copies; cells are decoded when read.
    std::size_t rowSize_ = 0;
    std::size_t indicatorOffset_ = 0;
    std::size_t rowsPerChunk_ = 1;
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::size_t rowCount_ = 0;
    std::vector<std::size_t> blobColumns_;
    // Blob texts read so far, by row * column count + column; mutable for the const accessors.
    mutable std::unordered_map<std::size_t, std::string> blobs_;
    mutable std::size_t pendingBlobs_ = 0;
    // Column names as callers spell them, to their index.
    mutable std::unordered_map<std::string, int> columnLookup_;
    std::size_t current_ = 0;
    bool eof_ = true;
    bool exhausted_ = true;
    bool startedTransaction_ = false;
    // Per searched column: the first row holding each key, built once per open.
    std::unordered_map<int, std::unordered_map<std::string, std::size_t>> index_;
};
