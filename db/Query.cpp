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
    digits.insert(digits.size() - places, ".");
    return negative ? "-" + digits : digits;
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
    Release();
    auto& list = connection_.queries_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Query::SetParam(const std::string& name, const std::string& value)
{
    std::vector<std::string> names;
    ReplaceNamedParams(JoinLines(SQL), &names);
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
        PrepareAndExecute();
    } catch (...) {
        Release();
        // The transaction holds nothing but this failed open; the open's error is the one to report.
        if (started)
            transaction_.RollbackForced();
        throw;
    }
    startedTransaction_ = started;
}

void Query::PrepareAndExecute()
{
    std::vector<std::string> names;
    const std::string text = ReplaceNamedParams(JoinLines(SQL), &names);

    ISC_STATUS_ARRAY status{};
    isc_dsql_allocate_statement(status, connection_.Handle(), &stmt_);
    if (StatusFailed(status)) {
        stmt_ = 0;
        CheckStatus(status);
    }
    outDescriptor_ = NewDescriptor(20);
    isc_dsql_prepare(status, transaction_.Handle(), &stmt_, 0, text.c_str(), 1, Descriptor(outDescriptor_));
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
    std::size_t size = 0;
    std::vector<std::size_t> offsets;
    for (short i = 0; i < count; ++i) {
        XSQLVAR& var = out->sqlvar[i];
        short type = var.sqltype & ~1;
        std::size_t length = static_cast<std::size_t>(var.sqllen) + (type == SQL_VARYING ? 2 : 0);
        offsets.push_back(size);
        size += (length + 7) & ~std::size_t(7);
        Column column;
        column.name = Upper(std::string(var.aliasname, var.aliasname_length));
        column.type = type;
        column.scale = var.sqlscale;
        column.subType = var.sqlsubtype;
        column.isText = type == SQL_TEXT || type == SQL_VARYING;
        columns_.push_back(column);
        // Asking for the indicator on every column: NULL then never depends on the describe.
        var.sqltype = static_cast<short>(type | 1);
    }
    std::size_t indicators = size;
    size += sizeof(short) * static_cast<std::size_t>(count);
    outBuffer_.assign(size + 8, 0);
    for (short i = 0; i < count; ++i) {
        out->sqlvar[i].sqldata = outBuffer_.data() + offsets[i];
        out->sqlvar[i].sqlind = reinterpret_cast<short*>(outBuffer_.data() + indicators) + i;
    }

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
    transaction_.openQueries_.push_back(this);
    rows_.clear();
    index_.clear();
    pendingBlobs_ = 0;
    current_ = 0;
    exhausted_ = false;
    eof_ = !FetchOne();
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

    std::vector<Cell> row(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        XSQLVAR& var = out->sqlvar[i];
        Cell& cell = row[i];
        if (*var.sqlind < 0)
            continue;
        cell.null = false;
        const char* data = var.sqldata;
        switch (columns_[i].type) {
        case SQL_TEXT:
            cell.text.assign(data, static_cast<std::size_t>(var.sqllen));
            break;
        case SQL_VARYING: {
            short length;
            std::memcpy(&length, data, sizeof length);
            // Never trust a length beyond the column's buffer.
            length = std::clamp<short>(length, 0, var.sqllen);
            cell.text.assign(data + 2, static_cast<std::size_t>(length));
            break;
        }
        case SQL_SHORT: {
            short v;
            std::memcpy(&v, data, sizeof v);
            cell.number = v;
            cell.text = ScaledText(v, var.sqlscale);
            break;
        }
        case SQL_LONG: {
            ISC_LONG v;
            std::memcpy(&v, data, sizeof v);
            cell.number = v;
            cell.text = ScaledText(v, var.sqlscale);
            break;
        }
        case SQL_INT64: {
            ISC_INT64 v;
            std::memcpy(&v, data, sizeof v);
            cell.number = v;
            cell.text = ScaledText(v, var.sqlscale);
            break;
        }
        case SQL_FLOAT: {
            float v;
            std::memcpy(&v, data, sizeof v);
            cell.number = TruncatedInteger(v);
            cell.text = DoubleText(v);
            break;
        }
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            double v;
            std::memcpy(&v, data, sizeof v);
            cell.number = TruncatedInteger(v);
            cell.text = DoubleText(v);
            break;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP v;
            std::memcpy(&v, data, sizeof v);
            cell.text = TimestampText(v);
            break;
        }
        case SQL_TYPE_DATE: {
            ISC_TIMESTAMP v{};
            std::memcpy(&v.timestamp_date, data, sizeof v.timestamp_date);
            cell.text = TimestampText(v).substr(0, 10);
            break;
        }
        case SQL_BOOLEAN:
            cell.number = *data ? 1 : 0;
            cell.text = *data ? "True" : "False";
            break;
        case SQL_BLOB: {
            // Most blobs of a system table are compiled BLR that nothing reads: read on first use.
            static_assert(sizeof(ISC_QUAD) == sizeof cell.number);
            std::memcpy(&cell.number, data, sizeof cell.number);
            cell.blobPending = true;
            ++pendingBlobs_;
            break;
        }
        default:
            break;
        }
    }
    rows_.push_back(std::move(row));
    return true;
}

void Query::Release() noexcept
{
    if (!Active())
        return;
    ISC_STATUS_ARRAY status{};
    isc_dsql_free_statement(status, &stmt_, DSQL_drop);
    stmt_ = 0;
    rows_.clear();
    index_.clear();
    pendingBlobs_ = 0;
    current_ = 0;
    eof_ = true;
    exhausted_ = true;
    auto& list = transaction_.openQueries_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
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
    if (rows_.empty()) {
        eof_ = true;
        return;
    }
    current_ = 0;
    eof_ = false;
}

void Query::Next()
{
    // FetchOne appends the following row, so both ways leave it at current_ + 1.
    if (current_ + 1 < rows_.size() || FetchOne()) {
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
    const std::string wanted = Upper(column);
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name == wanted)
            return static_cast<int>(i);
    throw DbError(FormatMessage("Field '%s' not found", column));
}

void Query::ReadBlob(Cell& cell) const
{
    ISC_QUAD id;
    std::memcpy(&id, &cell.number, sizeof id);
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
    cell.text = std::move(text);
    cell.number = 0;
    cell.blobPending = false;
    --pendingBlobs_;
}

const Query::Cell& Query::Loaded(std::size_t row, std::size_t column) const
{
    Cell& cell = rows_[row][column];
    if (cell.blobPending)
        ReadBlob(cell);
    return cell;
}

void Query::ReadPendingBlobs()
{
    for (std::size_t row = 0; pendingBlobs_ > 0 && row < rows_.size(); ++row)
        for (std::size_t column = 0; column < columns_.size(); ++column)
            Loaded(row, column);
}

const Query::Cell* Query::CurrentCell(const std::string& column) const
{
    int index = ColumnIndex(column);
    if (current_ >= rows_.size())
        return nullptr;
    const Cell& cell = rows_[current_][static_cast<std::size_t>(index)];
    return cell.null ? nullptr : &Loaded(current_, static_cast<std::size_t>(index));
}

std::string Query::AsString(const std::string& column) const
{
    const Cell* cell = CurrentCell(column);
    return cell ? cell->text : std::string();
}

std::int64_t Query::AsInteger(const std::string& column) const
{
    const Cell* cell = CurrentCell(column);
    if (!cell)
        return 0;
    if (columns_[static_cast<std::size_t>(ColumnIndex(column))].isText) {
        try {
            return std::stoll(cell->text);
        } catch (...) {
            throw DbError(FormatMessage("'%s' is not a valid integer value", cell->text));
        }
    }
    return cell->number;
}

bool Query::IsNull(const std::string& column) const
{
    return CurrentCell(column) == nullptr;
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
    const bool isText = columns_[static_cast<std::size_t>(column)].isText;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row][static_cast<std::size_t>(column)].null)
            continue;
        const Cell& cell = Loaded(row, static_cast<std::size_t>(column));
        keys.emplace(isText ? TrimTrailingBlanks(cell.text) : cell.text, row);
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
    while (bookmark >= rows_.size() && FetchOne()) {
    }
    if (bookmark >= rows_.size())
        throw DbError("Record not found");
    current_ = bookmark;
    eof_ = false;
}
