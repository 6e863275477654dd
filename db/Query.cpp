// A buffered select composed of its parts: the prepared statement, named parameters, the row
// buffer, cell decoding, lazy and batched blobs, served reads and Locate's index; here the
// open's life, the cursor and reading by name.
#include "db/Query.h"
#include "db/BoundLists.h"
#include "db/CellValues.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Transaction.h"
#include "db/Trim.h"

#include <algorithm>
#include <limits>
#include <utility>

Query::Query(Connection& connection, Transaction& transaction, std::vector<std::string> sqlLines)
    : SQL(std::move(sqlLines)), connection_(&connection), transaction_(&transaction)
{
    connection_->queries_.push_back(this);
}

Query::~Query()
{
    Unbind();
}

Query::Query(Query&& other) noexcept
    : SQL(std::move(other.SQL)), Dialect(other.Dialect), StoredBytes(other.StoredBytes),
      RowKey(std::move(other.RowKey)), ForwardOnly(other.ForwardOnly), connection_(nullptr), transaction_(nullptr)
{
    TakeOver(other);
}

Query& Query::operator=(Query&& other) noexcept
{
    if (this != &other) {
        Unbind();
        SQL = std::move(other.SQL);
        Dialect = other.Dialect;
        StoredBytes = other.StoredBytes;
        RowKey = std::move(other.RowKey);
        ForwardOnly = other.ForwardOnly;
        TakeOver(other);
    }
    return *this;
}

void Query::Unbind() noexcept
{
    Unprepare();
    if (connection_)
        Unlist(connection_->queries_, this);
    connection_ = nullptr;
    transaction_ = nullptr;
}

void Query::TakeOver(Query& other) noexcept
{
    connection_ = std::exchange(other.connection_, nullptr);
    transaction_ = std::exchange(other.transaction_, nullptr);
    stmt_ = std::move(other.stmt_);
    open_ = std::exchange(other.open_, false);
    params_ = std::exchange(other.params_, {});
    rows_ = std::exchange(other.rows_, {});
    blobs_ = std::exchange(other.blobs_, {});
    columnLookup_ = std::exchange(other.columnLookup_, {});
    index_ = std::exchange(other.index_, {});
    current_ = std::exchange(other.current_, 0);
    eof_ = std::exchange(other.eof_, true);
    exhausted_ = std::exchange(other.exhausted_, true);
    startedTransaction_ = std::exchange(other.startedTransaction_, false);
    served_ = std::exchange(other.served_, std::nullopt);
    servedLayout_ = std::exchange(other.servedLayout_, false);
    batch_ = std::exchange(other.batch_, {});
    if (connection_)
        Relist(connection_->queries_, &other, this);
    if (transaction_)
        Relist(transaction_->openQueries_, &other, this);
}

void Query::SetParam(const std::string& name, const std::string& value)
{
    const std::vector<std::string> names = stmt_.NamesIn(SelectText(SQL));
    if (std::find(names.begin(), names.end(), UpperName(name)) == names.end())
        throw DbError(FormatMessage("Parameter '%s' not found", name));
    // The length of a parameter travels as a signed 16-bit number.
    if (value.size() > static_cast<std::size_t>(std::numeric_limits<short>::max()))
        throw DbError(FormatMessage("Value of parameter '%s' is too long", name));
    params_.SetText(UpperName(name), value);
}

void Query::SetParam(const std::string& name, std::int64_t value)
{
    SetParam(name, std::to_string(value));
    params_.SetInteger(UpperName(name), value);
}

void Query::Open()
{
    if (Active())
        return;
    if (!connection_ || !connection_->Connected())
        throw DbError("Cannot perform operation -- DB is not open");
    if (!transaction_)
        throw DbError("Transaction is not assigned");
    watchdog::CheckDeadline();
    const bool started = !transaction_->Active();
    transaction_->StartTransaction();
    try {
        if (served_ && OpenServed()) {
            startedTransaction_ = started;
            return;
        }
        const std::string source = SelectText(SQL);
        // A served open left the whole read's layout, not the one of this statement.
        if (!stmt_.PreparedFrom(source) || servedLayout_)
            Prepare(source);
        Execute();
    } catch (...) {
        Unprepare();
        // The transaction holds nothing but this failed open; the open's error is the one to report.
        if (started)
            transaction_->RollbackForced();
        throw;
    }
    startedTransaction_ = started;
}

void Query::ServeFrom(ServedRead how)
{
    served_ = std::move(how);
}

void Query::ServedRowsChanged(const std::string& firstKey)
{
    if (served_ && connection_)
        connection_->served_.MarkChanged(*served_, Dialect, firstKey);
}

bool Query::OpenServed()
{
    const std::vector<std::string> key = served_->KeyOf(params_);
    ServedTable* table = connection_->served_.Find(*served_, Dialect);
    if (!table) {
        Query whole(*connection_, *transaction_, served_->whole);
        whole.Dialect = Dialect;
        whole.Open();
        whole.FetchAll();
        table = &connection_->served_.Keep(*served_, Dialect, std::move(whole.rows_));
        whole.Close();
    }
    if (table->Changed(key))
        return false;
    Release();
    rows_.LayoutLike(table->Rows());
    servedLayout_ = true;
    columnLookup_.clear();
    ClearRows();
    for (std::size_t row : table->RowsOf(key)) {
        rows_.AppendCopy(table->Rows(), row);
        blobs_.NoteRow(rows_, rows_.Count() - 1);
    }
    open_ = true;
    transaction_->openQueries_.push_back(this);
    exhausted_ = true;
    eof_ = rows_.Count() == 0;
    return true;
}

void Query::Prepare(const std::string& source)
{
    Unprepare();
    servedLayout_ = false;
    auto call = connection_->Watched();
    rows_.Layout(stmt_.Prepare(*connection_, transaction_->Handle(), source, Dialect));
    columnLookup_.clear();
    batch_.Clear();
}

void Query::Execute()
{
    ParamValues::Binding binding;
    params_.Bind(stmt_.Handle(), stmt_.ParamNames(), binding);
    auto call = connection_->Watched();
    stmt_.Execute(*connection_, transaction_->Handle(), binding.Descriptor());
    open_ = true;
    transaction_->openQueries_.push_back(this);
    ClearRows();
    exhausted_ = false;
    eof_ = !FetchOne();
}

void Query::ClearRows() noexcept
{
    rows_.Clear();
    blobs_.Clear();
    batch_.Clear();
    index_.Clear();
    current_ = 0;
}

void Query::DropRows() noexcept
{
    rows_.DropRows();
    blobs_.ForgetCells();
    index_.Clear();
    current_ = 0;
}

bool Query::FetchOne()
{
    if (exhausted_ || !Active())
        return false;
    auto call = connection_->Watched();
    if (!stmt_.Fetch(*connection_, rows_.Descriptor())) {
        exhausted_ = true;
        return false;
    }
    rows_.Append();
    blobs_.NoteRow(rows_, rows_.Count() - 1);
    return true;
}

std::string Query::CellText(std::size_t row, std::size_t column) const
{
    const Column& info = rows_.Columns()[column];
    if (info.type == SQL_BLOB) {
        if (!servedLayout_) {
            batch_.Read(*this, column);
            batch_.Give(*this, row, column);
        }
        return blobs_.Text(*connection_, transaction_->Handle(), rows_, row, column);
    }
    return ::CellText(info, rows_.Cell(row, column));
}

watchdog::ServerCall Query::Watched() noexcept
{
    return connection_ ? connection_->Watched() : watchdog::ServerCall(0, std::string());
}

void Query::Release() noexcept
{
    if (!Active())
        return;
    {
        auto call = Watched();
        stmt_.CloseCursor();
    }
    open_ = false;
    ClearRows();
    eof_ = true;
    exhausted_ = true;
    if (transaction_)
        Unlist(transaction_->openQueries_, this);
}

void Query::Unprepare() noexcept
{
    Release();
    // Without a handle to free there is no text to forget either.
    if (stmt_.Prepared()) {
        auto call = Watched();
        stmt_.Drop();
    }
}

void Query::Close()
{
    if (!Active())
        return;
    bool started = startedTransaction_;
    startedTransaction_ = false;
    Release();
    if (started && transaction_ && transaction_->Active() && transaction_->openQueries_.empty())
        transaction_->Commit();
}

void Query::First()
{
    if (rows_.Count() == 0) {
        eof_ = true;
        return;
    }
    current_ = 0;
    eof_ = false;
}

void Query::Next()
{
    if (ForwardOnly && !exhausted_ && Active()) {
        DropRows();
        if (!FetchOne())
            eof_ = true;
        return;
    }
    // FetchOne appends the following row, so both ways leave it at current_ + 1.
    if (current_ + 1 < rows_.Count() || FetchOne()) {
        ++current_;
        return;
    }
    eof_ = true;
}

void Query::FetchAll()
{
    FetchNotice notice(connection_ ? connection_->Fetches : nullptr);
    while (FetchOne()) {
    }
}

int Query::ColumnIndex(const std::string& column) const
{
    auto known = columnLookup_.find(column);
    if (known != columnLookup_.end())
        return known->second;
    const int index = static_cast<int>(rows_.ColumnNamed(column));
    return columnLookup_[column] = index;
}

void Query::ReadPendingBlobs()
{
    // Before a statement changes the database: every column in one select where it can be.
    if (!servedLayout_ && blobs_.Pending())
        for (std::size_t column : rows_.BlobColumns()) {
            batch_.Read(*this, column);
            for (std::size_t row = 0; row < rows_.Count(); ++row)
                batch_.Give(*this, row, column);
        }
    blobs_.ReadPending(*connection_, transaction_->Handle(), rows_);
}

int Query::CurrentColumn(const std::string& column) const
{
    int index = ColumnIndex(column);
    if (current_ >= rows_.Count() || rows_.CellNull(current_, static_cast<std::size_t>(index)))
        return -1;
    return index;
}

std::string Query::AsString(const std::string& column) const
{
    const int index = CurrentColumn(column);
    return index < 0 ? std::string() : CellText(current_, static_cast<std::size_t>(index));
}

std::string Query::AsTrimmed(const std::string& column) const
{
    std::string text = AsString(column);
    const int index = CurrentColumn(column);
    if (index >= 0 && rows_.Columns()[static_cast<std::size_t>(index)].type == SQL_TEXT)
        return TrimTrailingBlanks(std::move(text));
    return text;
}

std::int64_t Query::AsInteger(const std::string& column) const
{
    const int index = CurrentColumn(column);
    if (index < 0)
        return 0;
    const auto at = static_cast<std::size_t>(index);
    const Column& info = rows_.Columns()[at];
    if (info.isText)
        return TextNumber(CellText(current_, at));
    return CellNumber(info, rows_.Cell(current_, at));
}

bool Query::IsNull(const std::string& column) const
{
    return CurrentColumn(column) < 0;
}

bool Query::Locate(const std::string& column, const std::string& key)
{
    int index = ColumnIndex(column);
    if (!Active())
        throw DbError("Cannot perform this operation on a closed dataset");
    // The lookup reads every row once; later lookups on this open use the index.
    if (!exhausted_) {
        FetchAll();
        index_.Clear();
    }
    const auto at = static_cast<std::size_t>(index);
    const bool isText = rows_.Columns()[at].isText;
    const auto found =
        index_.Find(index, isText ? TrimTrailingBlanks(key) : key, rows_.Count(),
                    [&](std::size_t row) -> std::optional<std::string> {
                        if (rows_.CellNull(row, at))
                            return std::nullopt;
                        std::string text = CellText(row, at);
                        return isText ? TrimTrailingBlanks(std::move(text)) : text;
                    });
    if (!found)
        return false;
    current_ = *found;
    eof_ = false;
    return true;
}

void Query::GotoBookmark(Bookmark bookmark)
{
    while (bookmark >= rows_.Count() && FetchOne()) {
    }
    if (bookmark >= rows_.Count())
        throw DbError("Record not found");
    current_ = bookmark;
    eof_ = false;
}
