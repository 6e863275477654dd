// Buffered select: named parameters, fetching, reading by column name, lookups and bookmarks.
#include "db/Query.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Status.h"
#include "db/Transaction.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>

namespace {

// Row bytes are packed as fetched, so a value may sit at any address: copied out, never cast.
template <typename T>
T Load(const char* data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

std::string Upper(std::string text)
{
    for (auto& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

// Turns ":NAME" markers outside string literals and comments into "?" and lists the names
// in order: the server skips a "?" in a comment, so a name there would shift the others.
std::string ReplaceNamedParams(const std::string& text, std::vector<std::string>* names)
{
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            out += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            out += c;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            std::size_t end = text.find("*/", i + 2);
            end = end == std::string::npos ? text.size() : end + 2;
            out.append(text, i, end - i);
            i = end - 1;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            std::size_t end = text.find('\n', i);
            end = end == std::string::npos ? text.size() : end;
            out.append(text, i, end - i);
            i = end - 1;
        } else if (c == ':' && i + 1 < text.size() && IsNameStart(text[i + 1])) {
            std::size_t end = i + 1;
            while (end < text.size() && IsNameChar(text[end]))
                ++end;
            if (names)
                names->push_back(Upper(text.substr(i + 1, end - i - 1)));
            out += '?';
            i = end - 1;
        } else {
            out += c;
        }
    }
    return out;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

std::string ScaledText(std::int64_t value, short scale)
{
    if (scale >= 0)
        return std::to_string(value);
    bool negative = value < 0;
    std::string digits = std::to_string(negative ? -static_cast<unsigned long long>(value) : value);
    std::size_t places = static_cast<std::size_t>(-scale);
    if (digits.size() <= places)
        digits.insert(0, places - digits.size() + 1, '0');
    const std::size_t point = digits.size() - places;
    return (negative ? "-" : "") + digits.substr(0, point) + "." + digits.substr(point);
}

std::string TimestampText(const ISC_TIMESTAMP& stamp)
{
    struct tm t {};
    isc_decode_timestamp(const_cast<ISC_TIMESTAMP*>(&stamp), &t);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buffer;
}

// A cast of NaN, an infinity or a value beyond the 64-bit range is undefined: clamp instead.
std::int64_t TruncatedInteger(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::max();
    if (value < -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::string DoubleText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

XSQLDA* Descriptor(std::vector<char>& storage) { return reinterpret_cast<XSQLDA*>(storage.data()); }

std::vector<char> NewDescriptor(short count)
{
    std::vector<char> storage(XSQLDA_LENGTH(std::max<short>(count, 1)), 0);
    auto* da = reinterpret_cast<XSQLDA*>(storage.data());
    da->version = SQLDA_VERSION1;
    da->sqln = std::max<short>(count, 1);
    return storage;
}

}

Query::Query(Connection& connection, Transaction& transaction, std::vector<std::string> sqlLines)
    : SQL(std::move(sqlLines)), connection_(connection), transaction_(transaction)
{
    connection_.queries_.push_back(this);
}

Query::~Query()
{
    Unprepare();
    auto& list = connection_.queries_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Query::SetParam(const std::string& name, const std::string& value)
{
    const std::string source = JoinLines(SQL);
    std::vector<std::string> names;
    if (stmt_ && source == preparedSource_)
        names = paramNames_;
    else
        ReplaceNamedParams(source, &names);
    if (std::find(names.begin(), names.end(), Upper(name)) == names.end())
        throw DbError(FormatMessage("Parameter '%s' not found", name));
    // The length of a parameter travels as a signed 16-bit number.
    if (value.size() > static_cast<std::size_t>(std::numeric_limits<short>::max()))
        throw DbError(FormatMessage("Value of parameter '%s' is too long", name));
    params_[Upper(name)] = ParamValue{false, value, 0};
}

void Query::SetParam(const std::string& name, std::int64_t value)
{
    SetParam(name, std::to_string(value));
    params_[Upper(name)] = ParamValue{true, std::to_string(value), value};
}

void Query::Open()
{
    if (Active())
        return;
    if (!connection_.Connected())
        throw DbError("Cannot perform operation -- DB is not open");
    const bool started = !transaction_.Active();
    transaction_.StartTransaction();
    try {
        const std::string source = JoinLines(SQL);
        if (!stmt_ || source != preparedSource_)
            Prepare(source);
        Execute();
    } catch (...) {
        Unprepare();
        // The transaction holds nothing but this failed open; the open's error is the one to report.
        if (started)
            transaction_.RollbackForced();
        throw;
    }
    startedTransaction_ = started;
}

void Query::Prepare(const std::string& source)
{
    Unprepare();
    std::vector<std::string> names;
    const std::string text = ReplaceNamedParams(source, &names);

    ISC_STATUS_ARRAY status{};
    isc_dsql_allocate_statement(status, connection_.Handle(), &stmt_);
    if (StatusFailed(status)) {
        stmt_ = 0;
        CheckStatus(status);
    }
    outDescriptor_ = NewDescriptor(20);
    isc_dsql_prepare(status, transaction_.Handle(), &stmt_, 0, text.c_str(), Dialect, Descriptor(outDescriptor_));
    CheckStatus(status);
    short count = Descriptor(outDescriptor_)->sqld;
    if (count > Descriptor(outDescriptor_)->sqln) {
        outDescriptor_ = NewDescriptor(count);
        isc_dsql_describe(status, &stmt_, 1, Descriptor(outDescriptor_));
        CheckStatus(status);
    }

    // Lay the output columns out in one buffer: data, then the null indicators.
    XSQLDA* out = Descriptor(outDescriptor_);
    columns_.clear();
    blobColumns_.clear();
    columnLookup_.clear();
    std::size_t size = 0;
    for (short i = 0; i < count; ++i) {
        XSQLVAR& var = out->sqlvar[i];
        short type = var.sqltype & ~1;
        std::size_t length = static_cast<std::size_t>(var.sqllen) + (type == SQL_VARYING ? 2 : 0);
        Column column;
        column.name = Upper(std::string(var.aliasname, var.aliasname_length));
        column.type = type;
        column.scale = var.sqlscale;
        column.subType = var.sqlsubtype;
        column.length = var.sqllen;
        column.offset = size;
        column.isText = type == SQL_TEXT || type == SQL_VARYING;
        if (type == SQL_BLOB)
            blobColumns_.push_back(columns_.size());
        columns_.push_back(column);
        size += (length + 7) & ~std::size_t(7);
        // Asking for the indicator on every column: NULL then never depends on the describe.
        var.sqltype = static_cast<short>(type | 1);
    }
    indicatorOffset_ = size;
    rowSize_ = size + sizeof(short) * static_cast<std::size_t>(count);
    rowsPerChunk_ = std::max<std::size_t>(1, 65536 / std::max<std::size_t>(rowSize_, 1));
    outBuffer_.assign(rowSize_ + 8, 0);
    for (short i = 0; i < count; ++i) {
        out->sqlvar[i].sqldata = outBuffer_.data() + columns_[static_cast<std::size_t>(i)].offset;
        out->sqlvar[i].sqlind = reinterpret_cast<short*>(outBuffer_.data() + indicatorOffset_) + i;
    }
    preparedSource_ = source;
    paramNames_ = std::move(names);
}

void Query::Execute()
{
    const auto& names = paramNames_;
    ISC_STATUS_ARRAY status{};
    // Bind the named parameters in the order they stand in the text.
    std::vector<char> inStorage = NewDescriptor(static_cast<short>(names.size()));
    XSQLDA* in = Descriptor(inStorage);
    std::vector<std::string> values(names.size());
    std::vector<std::int64_t> numbers(names.size());
    std::vector<short> nullFlags(names.size(), -1);
    if (!names.empty()) {
        isc_dsql_describe_bind(status, &stmt_, 1, in);
        CheckStatus(status);
        for (std::size_t i = 0; i < names.size() && i < static_cast<std::size_t>(in->sqld); ++i) {
            XSQLVAR& var = in->sqlvar[i];
            auto it = params_.find(names[i]);
            if (it == params_.end()) {
                var.sqltype = SQL_TEXT + 1;
                var.sqllen = 0;
                var.sqldata = nullptr;
                var.sqlind = &nullFlags[i];
            } else if (it->second.isInteger) {
                numbers[i] = it->second.number;
                var.sqltype = SQL_INT64;
                var.sqlscale = 0;
                var.sqllen = sizeof(std::int64_t);
                var.sqldata = reinterpret_cast<char*>(&numbers[i]);
                var.sqlind = nullptr;
            } else {
                values[i] = it->second.text;
                var.sqltype = SQL_TEXT;
                var.sqlsubtype = 0;
                var.sqllen = static_cast<short>(values[i].size());
                var.sqldata = values[i].data();
                var.sqlind = nullptr;
            }
        }
    }

    isc_dsql_execute(status, transaction_.Handle(), &stmt_, 1, names.empty() ? nullptr : in);
    CheckStatus(status);
    open_ = true;
    transaction_.openQueries_.push_back(this);
    ClearRows();
    exhausted_ = false;
    eof_ = !FetchOne();
}

void Query::ClearRows() noexcept
{
    chunks_.clear();
    rowCount_ = 0;
    blobs_.clear();
    index_.clear();
    pendingBlobs_ = 0;
    current_ = 0;
}

bool Query::FetchOne()
{
    if (exhausted_ || !Active())
        return false;
    ISC_STATUS_ARRAY status{};
    XSQLDA* out = Descriptor(outDescriptor_);
    ISC_STATUS result = isc_dsql_fetch(status, &stmt_, 1, out);
    if (result == 100) {
        exhausted_ = true;
        return false;
    }
    CheckStatus(status);
    if (rowCount_ % rowsPerChunk_ == 0)
        chunks_.push_back(std::make_unique<char[]>(rowsPerChunk_ * rowSize_));
    std::memcpy(chunks_.back().get() + (rowCount_ % rowsPerChunk_) * rowSize_, outBuffer_.data(), rowSize_);
    ++rowCount_;
    // Most blobs of a system table are compiled BLR that nothing reads: read on first use.
    for (std::size_t column : blobColumns_)
        if (!CellNull(rowCount_ - 1, column))
            ++pendingBlobs_;
    return true;
}

const char* Query::RowData(std::size_t row) const
{
    return chunks_[row / rowsPerChunk_].get() + (row % rowsPerChunk_) * rowSize_;
}

bool Query::CellNull(std::size_t row, std::size_t column) const
{
    return Load<short>(RowData(row) + indicatorOffset_ + column * sizeof(short)) < 0;
}

std::string Query::CellText(std::size_t row, std::size_t column) const
{
    const Column& info = columns_[column];
    const char* data = RowData(row) + info.offset;
    switch (info.type) {
    case SQL_TEXT:
        return std::string(data, static_cast<std::size_t>(info.length));
    case SQL_VARYING: {
        // Never trust a length beyond the column's buffer.
        const short length = std::clamp<short>(Load<short>(data), 0, info.length);
        return std::string(data + 2, static_cast<std::size_t>(length));
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return ScaledText(CellNumber(row, column), info.scale);
    case SQL_FLOAT:
        return DoubleText(Load<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return DoubleText(Load<double>(data));
    case SQL_TIMESTAMP:
        return TimestampText(Load<ISC_TIMESTAMP>(data));
    case SQL_TYPE_DATE: {
        ISC_TIMESTAMP v{};
        v.timestamp_date = Load<ISC_DATE>(data);
        return TimestampText(v).substr(0, 10);
    }
    case SQL_BOOLEAN:
        return *data ? "True" : "False";
    case SQL_BLOB:
        return BlobText(row, column);
    default:
        return std::string();
    }
}

std::int64_t Query::CellNumber(std::size_t row, std::size_t column) const
{
    const Column& info = columns_[column];
    const char* data = RowData(row) + info.offset;
    switch (info.type) {
    case SQL_SHORT:
        return Load<short>(data);
    case SQL_LONG:
        return Load<ISC_LONG>(data);
    case SQL_INT64:
        return Load<ISC_INT64>(data);
    case SQL_FLOAT:
        return TruncatedInteger(Load<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return TruncatedInteger(Load<double>(data));
    case SQL_BOOLEAN:
        return *data ? 1 : 0;
    default:
        return 0;
    }
}

void Query::Release() noexcept
{
    if (!Active())
        return;
    ISC_STATUS_ARRAY status{};
    // A cursor the server has closed already answers with an error that changes nothing here.
    isc_dsql_free_statement(status, &stmt_, DSQL_close);
    open_ = false;
    ClearRows();
    eof_ = true;
    exhausted_ = true;
    auto& list = transaction_.openQueries_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Query::Unprepare() noexcept
{
    Release();
    if (stmt_) {
        ISC_STATUS_ARRAY status{};
        isc_dsql_free_statement(status, &stmt_, DSQL_drop);
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
    if (started && transaction_.Active() && transaction_.openQueries_.empty())
        transaction_.Commit();
}

void Query::First()
{
    if (rowCount_ == 0) {
        eof_ = true;
        return;
    }
    current_ = 0;
    eof_ = false;
}

void Query::Next()
{
    // FetchOne appends the following row, so both ways leave it at current_ + 1.
    if (current_ + 1 < rowCount_ || FetchOne()) {
        ++current_;
        return;
    }
    eof_ = true;
}

void Query::FetchAll()
{
    struct BusyScope {
        BusyScope() { if (Busy) Busy->Begin(); }
        ~BusyScope() { if (Busy) Busy->End(); }
    } busy;
    while (FetchOne()) {
    }
}

int Query::ColumnIndex(const std::string& column) const
{
    auto known = columnLookup_.find(column);
    if (known != columnLookup_.end())
        return known->second;
    const std::string wanted = Upper(column);
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name == wanted)
            return columnLookup_[column] = static_cast<int>(i);
    throw DbError(FormatMessage("Field '%s' not found", column));
}

const std::string& Query::BlobText(std::size_t row, std::size_t column) const
{
    const std::size_t key = row * columns_.size() + column;
    auto known = blobs_.find(key);
    if (known != blobs_.end())
        return known->second;
    ISC_QUAD id = Load<ISC_QUAD>(RowData(row) + columns_[column].offset);
    ISC_STATUS_ARRAY status{};
    isc_blob_handle blob = 0;
    isc_open_blob2(status, connection_.Handle(), transaction_.Handle(), &blob, &id, 0, nullptr);
    CheckStatus(status);
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
            CheckStatus(status);
        }
        text.append(segment, got);
    }
    isc_close_blob(status, &blob);
    CheckStatus(status);
    --pendingBlobs_;
    return blobs_.emplace(key, std::move(text)).first->second;
}

void Query::ReadPendingBlobs()
{
    for (std::size_t row = 0; pendingBlobs_ > 0 && row < rowCount_; ++row)
        for (std::size_t column : blobColumns_)
            if (!CellNull(row, column))
                BlobText(row, column);
}

int Query::CurrentColumn(const std::string& column) const
{
    int index = ColumnIndex(column);
    if (current_ >= rowCount_ || CellNull(current_, static_cast<std::size_t>(index)))
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
    if (index >= 0 && columns_[static_cast<std::size_t>(index)].type == SQL_TEXT)
        text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::int64_t Query::AsInteger(const std::string& column) const
{
    const int index = CurrentColumn(column);
    if (index < 0)
        return 0;
    const auto at = static_cast<std::size_t>(index);
    if (columns_[at].isText) {
        const std::string text = CellText(current_, at);
        try {
            return std::stoll(text);
        } catch (...) {
            throw DbError(FormatMessage("'%s' is not a valid integer value", text));
        }
    }
    return CellNumber(current_, at);
}

bool Query::IsNull(const std::string& column) const
{
    return CurrentColumn(column) < 0;
}

namespace {
std::string TrimTrailingBlanks(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}
}

void Query::BuildIndex(int column)
{
    auto& keys = index_[column];
    const auto at = static_cast<std::size_t>(column);
    const bool isText = columns_[at].isText;
    keys.reserve(rowCount_);
    for (std::size_t row = 0; row < rowCount_; ++row) {
        if (CellNull(row, at))
            continue;
        std::string text = CellText(row, at);
        keys.emplace(isText ? TrimTrailingBlanks(std::move(text)) : std::move(text), row);
    }
}

bool Query::Locate(const std::string& column, const std::string& key)
{
    int index = ColumnIndex(column);
    if (!Active())
        throw DbError("Cannot perform this operation on a closed dataset");
    // The lookup reads every row once; later lookups on this open use the index.
    if (!exhausted_) {
        FetchAll();
        index_.clear();
    }
    if (!index_.count(index))
        BuildIndex(index);
    const bool isText = columns_[static_cast<std::size_t>(index)].isText;
    auto& keys = index_[index];
    auto found = keys.find(isText ? TrimTrailingBlanks(key) : key);
    if (found == keys.end())
        return false;
    current_ = found->second;
    eof_ = false;
    return true;
}

void Query::GotoBookmark(Bookmark bookmark)
{
    while (bookmark >= rowCount_ && FetchOne()) {
    }
    if (bookmark >= rowCount_)
        throw DbError("Record not found");
    current_ = bookmark;
    eof_ = false;
}
