// A buffered select composed of its parts: named parameters, the row buffer, cell decoding,
// lazy blobs and Locate's index; here the statement's life, the cursor and reading by name.
#include "db/Query.h"
#include "db/CellValues.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Status.h"
#include "db/Transaction.h"
#include "db/Trim.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <utility>

namespace {
std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}
}

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
    : SQL(std::move(other.SQL)), Dialect(other.Dialect), connection_(nullptr), transaction_(nullptr)
{
    TakeOver(other);
}

Query& Query::operator=(Query&& other) noexcept
{
    if (this != &other) {
        Unbind();
        SQL = std::move(other.SQL);
        Dialect = other.Dialect;
        TakeOver(other);
    }
    return *this;
}

void Query::Unbind() noexcept
{
    Unprepare();
    if (connection_) {
        auto& list = connection_->queries_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    connection_ = nullptr;
    transaction_ = nullptr;
}

void Query::TakeOver(Query& other) noexcept
{
    connection_ = std::exchange(other.connection_, nullptr);
    transaction_ = std::exchange(other.transaction_, nullptr);
    stmt_ = std::exchange(other.stmt_, 0);
    preparedSource_ = std::exchange(other.preparedSource_, {});
    paramNames_ = std::exchange(other.paramNames_, {});
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
    blobColumnsRead_ = std::exchange(other.blobColumnsRead_, {});
    if (connection_)
        std::replace(connection_->queries_.begin(), connection_->queries_.end(), &other, this);
    if (transaction_)
        std::replace(transaction_->openQueries_.begin(), transaction_->openQueries_.end(), &other, this);
}

void Query::SetParam(const std::string& name, const std::string& value)
{
    const std::string source = JoinLines(SQL);
    std::vector<std::string> names;
    if (stmt_ && source == preparedSource_)
        names = paramNames_;
    else
        ReplaceNamedParams(source, &names);
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
        const std::string source = JoinLines(SQL);
        // A served open left the whole read's layout, not the one of this statement.
        if (!stmt_ || source != preparedSource_ || servedLayout_)
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

namespace {
// The whole read serves each set of keys and order of its own.
std::string ServedName(const ServedRead& how, unsigned short dialect)
{
    std::string name = std::to_string(dialect) + "\n" + JoinLines(how.whole);
    for (const auto& key : how.keys)
        name += "key " + key.first + "\n";
    for (const auto& column : how.order)
        name += "order " + column + "\n";
    return name;
}
}

std::vector<std::string> Query::ServedKey() const
{
    std::vector<std::string> parts;
    for (const auto& key : served_->keys) {
        auto value = params_.Text(UpperName(key.second));
        if (!value)
            throw DbError(FormatMessage("Parameter '%s' not found", key.second));
        parts.push_back(ServedTable::KeyPart(*value));
    }
    return parts;
}

void Query::ServedRowsChanged(const std::string& firstKey)
{
    if (!served_ || !connection_)
        return;
    auto found = connection_->served_.find(ServedName(*served_, Dialect));
    if (found != connection_->served_.end())
        found->second->MarkChanged(firstKey);
}

bool Query::OpenServed()
{
    const std::vector<std::string> key = ServedKey();
    auto& table = connection_->served_[ServedName(*served_, Dialect)];
    if (!table) {
        Query whole(*connection_, *transaction_, served_->whole);
        whole.Dialect = Dialect;
        whole.Open();
        whole.FetchAll();
        table = std::make_unique<ServedTable>(std::move(whole.rows_), *served_);
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
    std::vector<std::string> names;
    const std::string text = ReplaceNamedParams(source, &names);

    ISC_STATUS_ARRAY status{};
    auto call = connection_->Watched();
    isc_dsql_allocate_statement(status, connection_->Handle(), &stmt_);
    if (StatusFailed(status)) {
        stmt_ = 0;
        connection_->Check(status);
    }
    std::vector<char> out = NewDescriptor(20);
    isc_dsql_prepare(status, transaction_->Handle(), &stmt_, 0, text.c_str(), Dialect, DescriptorOf(out));
    connection_->Check(status);
    const short count = DescriptorOf(out)->sqld;
    if (count > DescriptorOf(out)->sqln) {
        out = NewDescriptor(count);
        isc_dsql_describe(status, &stmt_, 1, DescriptorOf(out));
        connection_->Check(status);
    }
    rows_.Layout(std::move(out));
    columnLookup_.clear();
    blobColumnsRead_.clear();
    preparedSource_ = source;
    paramNames_ = std::move(names);
}

void Query::Execute()
{
    ParamValues::Binding binding;
    params_.Bind(&stmt_, paramNames_, binding);
    ISC_STATUS_ARRAY status{};
    auto call = connection_->Watched();
    isc_dsql_execute(status, transaction_->Handle(), &stmt_, 1, binding.Descriptor());
    connection_->Check(status);
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
    blobColumnsRead_.clear();
    index_.Clear();
    current_ = 0;
}

bool Query::FetchOne()
{
    if (exhausted_ || !Active())
        return false;
    ISC_STATUS_ARRAY status{};
    auto call = connection_->Watched();
    ISC_STATUS result = isc_dsql_fetch(status, &stmt_, 1, rows_.Descriptor());
    if (result == 100) {
        exhausted_ = true;
        return false;
    }
    connection_->Check(status);
    rows_.Append();
    blobs_.NoteRow(rows_, rows_.Count() - 1);
    return true;
}

std::string Query::CellText(std::size_t row, std::size_t column) const
{
    const Column& info = rows_.Columns()[column];
    if (info.type == SQL_BLOB) {
        if (!servedLayout_ && !blobColumnsRead_.count(column))
            ReadBlobColumn(column);
        return blobs_.Text(*connection_, transaction_->Handle(), rows_, row, column);
    }
    return ::CellText(info, rows_.Cell(row, column));
}

void Query::ReadBlobColumn(std::size_t column) const
{
    blobColumnsRead_.insert(column);
    const Column& info = rows_.Columns()[column];
    const std::string& name = info.name;
    const bool plainName = !name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
                           std::all_of(name.begin(), name.end(), [](char c) {
                               return std::isupper(static_cast<unsigned char>(c)) ||
                                      std::isdigit(static_cast<unsigned char>(c)) || c == '_' || c == '$';
                           });
    // A blob read alone gives its stored bytes only where no character set converts a text;
    // a blob made by an expression has another id in every select, so none can be matched.
    const std::string charset = UpperName(connection_ ? connection_->CharacterSet : std::string());
    const bool storedBytes = info.subType != 1 || charset.empty() || charset == "NONE";
    if (!plainName || !info.fromTable || !storedBytes || preparedSource_.empty() || !connection_ || !transaction_)
        return;
    const std::string cell = "q." + name;
    const std::string from = "from (\n" + preparedSource_ + ") q where " + cell + " is not null";
    auto select = [&](std::vector<std::string> lines) {
        Query query(*connection_, *transaction_, std::move(lines));
        query.Dialect = Dialect;
        query.params_ = params_;
        return query;
    };
    std::int64_t longest = 0;
    {
        Query sizes = select({"select count(*), max(octet_length(" + cell + "))", from});
        try {
            sizes.Open();
        } catch (const DbError&) {
            // A select the server cannot nest; its blobs are read one by one, which reports any
            // error that is not about the nesting.
            return;
        }
        const std::int64_t count = sizes.AsInteger("COUNT");
        longest = sizes.AsInteger("MAX");
        sizes.Close();
        // One blob costs no more read alone.
        if (count < 2)
            return;
    }
    // The texts come in the select itself, as the stored bytes, up to the longest of them; a
    // text longer than a row can carry is read as a blob of its own. The server sizes its
    // batches of rows by the longest row, hence no more room than needed.
    const std::string room = std::to_string(std::clamp<std::int64_t>(longest, 1, 32000));
    Query texts = select({"select " + cell + ", case when octet_length(" + cell + ") <= " + room,
                          "then cast(cast(" + cell + " as blob sub_type binary) as varchar(" + room +
                              ") character set octets) end",
                          from});
    texts.Open();
    for (; !texts.Eof(); texts.Next()) {
        if (texts.rows_.CellNull(texts.current_, 1))
            continue;
        blobs_.Keep(Load<ISC_QUAD>(texts.rows_.Cell(texts.current_, 0)),
                    ::CellText(texts.rows_.Columns()[1], texts.rows_.Cell(texts.current_, 1)));
    }
    texts.Close();
}

watchdog::ServerCall Query::Watched() noexcept
{
    return connection_ ? connection_->Watched() : watchdog::ServerCall(0, std::string());
}

void Query::Release() noexcept
{
    if (!Active())
        return;
    ISC_STATUS_ARRAY status{};
    // A cursor the server has closed already answers with an error that changes nothing here.
    {
        auto call = Watched();
        isc_dsql_free_statement(status, &stmt_, DSQL_close);
    }
    open_ = false;
    ClearRows();
    eof_ = true;
    exhausted_ = true;
    if (transaction_) {
        auto& list = transaction_->openQueries_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void Query::Unprepare() noexcept
{
    Release();
    if (stmt_) {
        ISC_STATUS_ARRAY status{};
        {
            auto call = Watched();
            isc_dsql_free_statement(status, &stmt_, DSQL_drop);
        }
        stmt_ = 0;
    }
    preparedSource_.clear();
    paramNames_.clear();
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
    // FetchOne appends the following row, so both ways leave it at current_ + 1.
    if (current_ + 1 < rows_.Count() || FetchOne()) {
        ++current_;
        return;
    }
    eof_ = true;
}

void Query::FetchAll()
{
    struct Told {
        FetchObserver* observer;
        explicit Told(FetchObserver* watching) : observer(watching)
        {
            if (observer)
                observer->FetchBegins();
        }
        ~Told()
        {
            if (observer)
                observer->FetchEnds();
        }
    } told(connection_ ? connection_->Fetches : nullptr);
    while (FetchOne()) {
    }
}

int Query::ColumnIndex(const std::string& column) const
{
    auto known = columnLookup_.find(column);
    if (known != columnLookup_.end())
        return known->second;
    const std::string wanted = UpperName(column);
    const auto& columns = rows_.Columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == wanted)
            return columnLookup_[column] = static_cast<int>(i);
    throw DbError(FormatMessage("Field '%s' not found", column));
}

void Query::ReadPendingBlobs()
{
    // Before a statement changes the database: every column in one select where it can be.
    if (!servedLayout_ && blobs_.Pending())
        for (std::size_t column : rows_.BlobColumns())
            if (!blobColumnsRead_.count(column))
                ReadBlobColumn(column);
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
    if (info.isText) {
        const std::string text = CellText(current_, at);
        try {
            return std::stoll(text);
        } catch (...) {
            throw DbError(FormatMessage("'%s' is not a valid integer value", text));
        }
    }
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
