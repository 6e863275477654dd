// A select whose rows are buffered and can be walked, searched and counted.
#pragma once
#include "db/BlobBatch.h"
#include "db/BlobCache.h"
#include "db/NamedParams.h"
#include "db/PreparedSelect.h"
#include "db/RowBuffer.h"
#include "db/RowIndex.h"
#include "db/ServedRead.h"
#include "db/Watchdog.h"

#include <ibase.h>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class Connection;
class Transaction;

// One owner: a query can be moved, never copied; it is bound to a connection and a
// transaction of that connection, and is on their lists under its current address only.
class Query {
public:
    Query(Connection& connection, Transaction& transaction, std::vector<std::string> sqlLines = {});
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    // The moved-from query is bound to nothing and open on nothing.
    Query(Query&& other) noexcept;
    Query& operator=(Query&& other) noexcept;

    // The select text; named parameters are written ":NAME".
    std::vector<std::string> SQL;
    // The SQL dialect the text is prepared in; the checks read in dialect 1, and a catalog
    // read that selects BIGINT columns needs 3.
    unsigned short Dialect = 1;

    // Blob texts as their stored bytes, whatever the connection's character set: each blob
    // column's texts come in one select nested around this one, as octets, and a text longer
    // than a row can carry as a binary blob of that select. A select that cannot be nested
    // around is an error then, not a read of each blob alone, which would convert the text.
    bool StoredBytes = false;
    // With StoredBytes, the column that tells the rows apart, such as RDB$DB_KEY: the texts are
    // matched to their rows by it. A connection that converts a text blob gives it another id
    // in every select, so matching by blob id works only where nothing converts.
    std::string RowKey;
    // Rows one at a time: Next drops the row before it, so a read of many rows holds one, and
    // First, Locate and bookmarks see only the current row. For a read walked once, start to end.
    bool ForwardOnly = false;

    // A text longer than a parameter can carry (32767 bytes) is refused, not cut.
    void SetParam(const std::string& name, const std::string& value);
    void SetParam(const std::string& name, std::int64_t value);

    // Opens take their rows from one read of how.whole, which the connection keeps until
    // ForgetServedReads, instead of asking the server once per object.
    void ServeFrom(ServedRead how);
    // The rows of the objects whose first key is this have changed (a fix ran on them): their
    // opens ask the server with SQL from now on.
    void ServedRowsChanged(const std::string& firstKey);

    // When this open started the transaction and then fails, the transaction is rolled back.
    void Open();
    // Releases rows and cursor; commits the transaction when this query started it
    // and no other query of that transaction is open.
    void Close();
    bool Active() const { return open_; }

    void First();
    void Next();
    bool Eof() const { return eof_; }
    // Reads every remaining row; the connection's FetchObserver is told before and after.
    void FetchAll();
    int RecordCount() const { return static_cast<int>(rows_.Count()); }
    // Blobs of this open read one at a time, not in one select per column.
    std::size_t BlobsOpened() const { return blobs_.Opened() + batch_.LongReads(); }

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

    using Bookmark = RowBookmark;
    Bookmark GetBookmark() const { return current_; }
    void GotoBookmark(Bookmark bookmark);
    void FreeBookmark(Bookmark) {}

    Transaction& Tran() { return *transaction_; }

private:
    friend class Connection;
    friend class Transaction;
    friend class BlobBatch;

    bool FetchOne();
    // Fills the rows from the connection's whole read; false when the key's rows have changed
    // and the server must be asked.
    bool OpenServed();
    void Prepare(const std::string& source);
    void Execute();
    void ClearRows() noexcept;
    // A forward-only read's row before the next: what was read of the open itself stays.
    void DropRows() noexcept;
    // The current row's cell, or -1 when it is NULL or there is no current row.
    int CurrentColumn(const std::string& column) const;
    std::string CellText(std::size_t row, std::size_t column) const;
    void ReadPendingBlobs();
    int ColumnIndex(const std::string& column) const;
    // The watchdog's mark for a call on the connection, also while bound to none.
    watchdog::ServerCall Watched() noexcept;
    // Closes the cursor and drops the rows; the prepared statement stays for the next open.
    void Release() noexcept;
    // Drops the prepared statement too: its text changed, an open failed, or the connection closes.
    void Unprepare() noexcept;
    // Off the lists of its connection, after the statement is dropped; bound to nothing then.
    void Unbind() noexcept;
    // Takes over other's statement, rows and place on the lists.
    void TakeOver(Query& other) noexcept;

    Connection* connection_;
    Transaction* transaction_;
    PreparedSelect stmt_;
    bool open_ = false;
    ParamValues params_;
    RowBuffer rows_;
    mutable BlobCache blobs_;
    // Column names as callers spell them, to their index.
    mutable std::unordered_map<std::string, int> columnLookup_;
    RowIndex index_;
    std::size_t current_ = 0;
    bool eof_ = true;
    bool exhausted_ = true;
    bool startedTransaction_ = false;
    std::optional<ServedRead> served_;
    // The rows of the last open came from a whole read, in its layout.
    bool servedLayout_ = false;
    mutable BlobBatch batch_;
};
