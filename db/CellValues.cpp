// The type switch over the client library's SQL types.
#include "db/CellValues.h"
#include "db/DbError.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

namespace {

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

// A FLOAT widens to double, as the text and the integer both read it.
double FloatingValue(const Column& column, const char* data)
{
    return column.type == SQL_FLOAT ? Load<float>(data) : Load<double>(data);
}

std::string DoubleText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

}

std::string CellText(const Column& column, const char* data)
{
    switch (column.type) {
    case SQL_TEXT:
        return std::string(data, static_cast<std::size_t>(column.length));
    case SQL_VARYING: {
        // Never trust a length beyond the column's buffer.
        const short length = std::clamp<short>(Load<short>(data), 0, column.length);
        return std::string(data + 2, static_cast<std::size_t>(length));
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return ScaledText(CellNumber(column, data), column.scale);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return DoubleText(FloatingValue(column, data));
    case SQL_TIMESTAMP:
        return TimestampText(Load<ISC_TIMESTAMP>(data));
    case SQL_TYPE_DATE: {
        ISC_TIMESTAMP v{};
        v.timestamp_date = Load<ISC_DATE>(data);
        return TimestampText(v).substr(0, 10);
    }
    case SQL_BOOLEAN:
        return *data ? "True" : "False";
    default:
        return std::string();
    }
}

std::int64_t TextNumber(const std::string& text)
{
    try {
        return std::stoll(text);
    } catch (...) {
        throw DbError(FormatMessage("'%s' is not a valid integer value", text));
    }
}

std::int64_t CellNumber(const Column& column, const char* data)
{
    switch (column.type) {
    case SQL_SHORT:
        return Load<short>(data);
    case SQL_LONG:
        return Load<ISC_LONG>(data);
    case SQL_INT64:
        return Load<ISC_INT64>(data);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return TruncatedInteger(FloatingValue(column, data));
    case SQL_BOOLEAN:
        return *data ? 1 : 0;
    default:
        return 0;
    }
}
