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

    // A text longer than a parameter can carry (32767 bytes) is refused, not cut.
    void SetParam(const std::string& name, const std::string& value);
    void SetParam(const std::string& name, std::int64_t value);

    // When this open started the transaction and then fails, the transaction is rolled back.
    void Open();
    // Releases rows and cursor; commits the transaction when this query started it
    // and no other query of that transaction is open.
    void Close();
    bool Active() const { return stmt_ != 0; }

    void First();
    void Next();
    bool Eof() const { return eof_; }
    void FetchAll();
    // Set once by the front end; none in the core and in tests.
    static inline BusyPointer* Busy = nullptr;
    int RecordCount() const { return static_cast<int>(rows_.size()); }

    // Values of the current row by column name (any letter case). NULL, or no current
    // row at all, reads as the empty text and as 0. A blob is read on first use, in the
    // query's transaction, and kept.
    std::string AsString(const std::string& column) const;
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
    struct Cell {
        bool null = true;
        // A blob not read yet: number holds its id until the text is read.
        bool blobPending = false;
        std::string text;
        std::int64_t number = 0;
    };
    struct Column {
        std::string name;
        short type = 0;
        short scale = 0;
        short subType = 0;
        bool isText = false;
    };
    struct ParamValue {
        bool isInteger = false;
        std::string text;
        std::int64_t number = 0;
    };

    bool FetchOne();
    void PrepareAndExecute();
    const Cell* CurrentCell(const std::string& column) const;
    const Cell& Loaded(std::size_t row, std::size_t column) const;
    void ReadBlob(Cell& cell) const;
    void ReadPendingBlobs();
    int ColumnIndex(const std::string& column) const;
    void BuildIndex(int column);
    friend class Connection;
    friend class Transaction;
    void Release() noexcept;

    Connection& connection_;
    Transaction& transaction_;
    isc_stmt_handle stmt_ = 0;
    std::vector<char> outBuffer_;
    std::vector<char> outDescriptor_;
    std::vector<Column> columns_;
    std::map<std::string, ParamValue> params_;  // upper-case names
    // Mutable so that the const accessors can read a blob on first use.
    mutable std::vector<std::vector<Cell>> rows_;
    mutable std::size_t pendingBlobs_ = 0;
    std::size_t current_ = 0;
    bool eof_ = true;
    bool exhausted_ = true;
    bool startedTransaction_ = false;
    // Per searched column: the first row holding each key, built once per open.
    std::unordered_map<int, std::unordered_map<std::string, std::size_t>> index_;
};
