// The server's rules for a column's new type, as Firebird 3 applies them to ALTER ... TYPE and
// to CAST; the type-change test tries each rule on a real database.
#include "schema/TypeChange.h"

namespace schema {
namespace {

enum class Sort { Exact, Float, Double, Text, Date, Time, Timestamp, Boolean, Blob, Other };

Sort SortOf(const Type& t)
{
    if (!t.dimensions.empty())
        return Sort::Other;
    switch (t.fieldType) {
    case 7: case 8: case 16: case 26: return Sort::Exact;
    case 10: return Sort::Float;
    case 27: return Sort::Double;
    case 14: case 37: case 40: return Sort::Text;
    case 12: return Sort::Date;
    case 13: return Sort::Time;
    case 35: return Sort::Timestamp;
    case 23: return Sort::Boolean;
    case 261: return Sort::Blob;
    default: return Sort::Other;  // DECFLOAT and the types with a time zone
    }
}

bool Numeric(Sort s) { return s == Sort::Exact || s == Sort::Float || s == Sort::Double; }
bool Temporal(Sort s) { return s == Sort::Date || s == Sort::Time || s == Sort::Timestamp; }

// Storage of an exact type, smallest first: SMALLINT, INTEGER, BIGINT, INT128.
int Rank(const Type& t)
{
    switch (t.fieldType) {
    case 7: return 1;
    case 8: return 2;
    case 16: return 3;
    default: return 4;
    }
}

int ScaleDigits(const Type& t) { return t.scale < 0 ? -t.scale : 0; }

const char* StorageMax(int rank)
{
    static const char* max[] = {"32767", "2147483647", "9223372036854775807",
                                "170141183460469231731687303715884105727"};
    return max[rank - 1];
}

const char* StorageMin(int rank)
{
    static const char* min[] = {"32768", "2147483648", "9223372036854775808",
                                "170141183460469231731687303715884105728"};
    return min[rank - 1];
}

// digits / 10^scale as an exact literal: Scaled("2147483647", 2) is "21474836.47".
std::string Scaled(std::string digits, int scale)
{
    if (scale <= 0)
        return digits;
    while (static_cast<int>(digits.size()) <= scale)
        digits.insert(digits.begin(), '0');
    digits.insert(digits.end() - scale, '.');
    return digits;
}

// The largest value, roughly, for comparing ranges.
long double Largest(const Type& t)
{
    long double max = std::stold(StorageMax(Rank(t)));
    for (int i = 0; i < ScaleDigits(t); ++i)
        max /= 10;
    return max;
}

// The shortest text the server takes in place for a value of the type.
int TextWidth(const Type& t)
{
    switch (SortOf(t)) {
    case Sort::Exact: {
        static const int width[] = {6, 11, 20, 40};
        return width[Rank(t) - 1] + (ScaleDigits(t) > 0 ? 1 : 0);
    }
    case Sort::Float: return 15;
    case Sort::Double: return 24;
    case Sort::Date: return 10;
    case Sort::Time: return 13;
    case Sort::Timestamp: return 25;
    default: return 0;
    }
}

// A text's new character set: every value is transliterated, and one may have no match.
bool Transliterated(const Type& from, const Type& to)
{
    if (from.charset == to.charset)
        return false;
    return !(to.charset == "OCTETS" || to.charset == "NONE");
}

TypeChange Exact(const Type& from, const Type& to)
{
    TypeChange change;
    const bool narrower = Rank(to) < Rank(from);
    // Declared digits before the point stay at least as many, where both types declare them.
    const bool fewerDigits = from.precision > 0 && to.precision > 0 &&
                             to.precision - ScaleDigits(to) < from.precision - ScaleDigits(from);
    change.route = narrower || fewerDigits ? TypeRoute::Rebuild : TypeRoute::InPlace;
    if (Largest(to) < Largest(from))
        change.hazards.push_back(Hazard::Range);
    if (ScaleDigits(to) < ScaleDigits(from))
        change.hazards.push_back(Hazard::Scale);
    return change;
}

TypeChange FromNumber(const Type& from, const Type& to)
{
    const Sort f = SortOf(from), t = SortOf(to);
    if (f == Sort::Exact && t == Sort::Exact)
        return Exact(from, to);
    if (f == Sort::Exact && t == Sort::Float)
        return {Rank(from) == 1 ? TypeRoute::InPlace : TypeRoute::Rebuild,
                Rank(from) == 1 ? std::vector<Hazard>{} : std::vector<Hazard>{Hazard::Digits}};
    if (f == Sort::Exact && t == Sort::Double)
        return {Rank(from) <= 2 ? TypeRoute::InPlace : TypeRoute::Rebuild,
                Rank(from) <= 2 ? std::vector<Hazard>{} : std::vector<Hazard>{Hazard::Digits}};
    if (f == Sort::Float && t == Sort::Double)
        return {TypeRoute::InPlace, {}};
    if (f == Sort::Double && t == Sort::Double)
        return {TypeRoute::InPlace, {}};
    if (f == Sort::Double && t == Sort::Float)
        return {TypeRoute::Rebuild, {Hazard::Range, Hazard::Digits}};
    // A floating-point value into an exact type.
    return {TypeRoute::Rebuild, {Hazard::Range, Hazard::Scale}};
}

// Into text: in place when the new length holds every value the old type can have. The
// server keeps a text's character set in place, and gives other types the database's own.
TypeChange IntoText(const Type& from, const Type& to, const std::string& databaseCharset)
{
    const Sort f = SortOf(from);
    if (f == Sort::Text) {
        const bool inPlace = to.charLength >= from.charLength && to.charset == from.charset;
        TypeChange change{inPlace ? TypeRoute::InPlace : TypeRoute::Rebuild, {}};
        if (to.charLength < from.charLength)
            change.hazards.push_back(Hazard::Length);
        if (Transliterated(from, to))
            change.hazards.push_back(Hazard::Conversion);
        return change;
    }
    if (f == Sort::Blob || f == Sort::Boolean) {
        TypeChange change{TypeRoute::Rebuild, {Hazard::Length}};
        if (f == Sort::Blob && (Transliterated(from, to) || from.subType != 1))
            change.hazards.push_back(Hazard::Conversion);
        return change;
    }
    const std::string given = databaseCharset.empty() ? "NONE" : databaseCharset;
    if (to.charLength >= TextWidth(from))
        return {to.charset == given ? TypeRoute::InPlace : TypeRoute::Rebuild, {}};
    return {TypeRoute::Rebuild, {Hazard::Length}};
}

TypeChange Temporal(const Type& from, const Type& to)
{
    const Sort f = SortOf(from), t = SortOf(to);
    if (f == Sort::Date && t == Sort::Timestamp)
        return {TypeRoute::InPlace, {}};
    if (f == Sort::Timestamp && t == Sort::Date)
        return {TypeRoute::InPlace, {Hazard::TimeOfDay}};
    if (f == Sort::Timestamp && t == Sort::Time)
        return {TypeRoute::InPlace, {Hazard::Date}};
    // DATE and TIME share nothing, and a TIME has no date to give a TIMESTAMP.
    return {TypeRoute::NoConversion, {}};
}

}

TypeChange ClassifyTypeChange(const Type& from, const Type& to, const std::string& databaseCharset)
{
    const Sort f = SortOf(from), t = SortOf(to);
    if (!from.dimensions.empty() || !to.dimensions.empty())
        return {TypeRoute::NoConversion, {}};
    if (f == Sort::Other || t == Sort::Other)
        return {TypeRoute::Rebuild, {Hazard::Conversion}};
    if (t == Sort::Text)
        return IntoText(from, to, databaseCharset);
    if (t == Sort::Blob) {
        TypeChange change{TypeRoute::Rebuild, {}};
        // Into text, a value is read in the new character set; binary bytes may not be text.
        const bool text = f == Sort::Text || f == Sort::Blob;
        if (to.subType == 1 && text && (Transliterated(from, to) || (f == Sort::Blob && from.subType != 1)))
            change.hazards.push_back(Hazard::Conversion);
        return change;
    }
    // From text, whatever the new type: each value is read as the new type.
    if (f == Sort::Text || f == Sort::Blob)
        return {TypeRoute::Rebuild, {Hazard::Conversion}};
    if (f == Sort::Boolean || t == Sort::Boolean)
        return {TypeRoute::NoConversion, {}};
    if (Numeric(f) && Numeric(t))
        return FromNumber(from, to);
    if (Temporal(f) && Temporal(t))
        return Temporal(from, to);
    return {TypeRoute::NoConversion, {}};
}

std::string HazardCondition(Hazard hazard, const Type& from, const Type& to, const std::string& c)
{
    const Sort f = SortOf(from);
    switch (hazard) {
    case Hazard::Range:
        if (SortOf(to) == Sort::Float)
            return "(" + c + " > 3.4028234e38 OR " + c + " < -3.4028234e38)";
    {
        // As a double: an exact value and a limit of another scale are compared at the larger
        // scale, where the value itself may overflow.
        const std::string d = "CAST(" + c + " AS DOUBLE PRECISION)";
        return "(" + d + " > " + Scaled(StorageMax(Rank(to)), ScaleDigits(to)) + " OR " + d + " < -" +
               Scaled(StorageMin(Rank(to)), ScaleDigits(to)) + ")";
    }
    case Hazard::Scale:
        // ROUND overflows on a large floating-point value, which has no digits after the point.
        if (f == Sort::Float || f == Sort::Double)
            return "(CASE WHEN ABS(" + c + ") >= 1e15 THEN 0 WHEN " + c + " <> ROUND(" + c + ", " +
                   std::to_string(ScaleDigits(to)) + ") THEN 1 ELSE 0 END) = 1";
        return c + " <> ROUND(" + c + ", " + std::to_string(ScaleDigits(to)) + ")";
    case Hazard::TimeOfDay:
        return "EXTRACT(HOUR FROM " + c + ") + EXTRACT(MINUTE FROM " + c + ") + EXTRACT(SECOND FROM " + c + ") > 0";
    case Hazard::Date:
        return c + " IS NOT NULL";
    case Hazard::Length:
        if (f == Sort::Text || f == Sort::Blob)
            return "CHAR_LENGTH(" + c + ") > " + std::to_string(to.charLength);
        return "CHAR_LENGTH(CAST(" + c + " AS VARCHAR(64))) > " + std::to_string(to.charLength);
    case Hazard::Digits:
        if (f == Sort::Double)
            return "(CASE WHEN ABS(" + c + ") > 3.4028234e38 THEN 0 WHEN CAST(CAST(" + c +
                   " AS FLOAT) AS DOUBLE PRECISION) <> " + c + " THEN 1 ELSE 0 END) = 1";
        // An integer keeps every digit up to 2^24 in a FLOAT, up to 2^53 in a DOUBLE PRECISION.
        return "ABS(" + c + ") > " +
               Scaled(SortOf(to) == Sort::Float ? "16777216" : "9007199254740992", ScaleDigits(from));
    case Hazard::Conversion:
        return "";
    }
    return "";
}

std::string HazardWhat(Hazard hazard, const Type& to, const std::string& column, const std::string& type, bool one)
{
    const std::string has = one ? "has " : "have ";
    switch (hazard) {
    case Hazard::Range: return has + column + " out of the range of " + type;
    case Hazard::Scale:
        return has + column + " with digits beyond the scale of " + type;
    case Hazard::TimeOfDay: return has + "a time of day in " + column;
    case Hazard::Date: return has + "a date in " + column;
    case Hazard::Length:
        return has + column + " longer than " + std::to_string(to.charLength) + " characters";
    case Hazard::Digits: return has + column + " with more digits than " + type + " holds";
    case Hazard::Conversion: return has + column + " that " + type + " cannot take";
    }
    return "";
}

bool HazardFails(Hazard hazard)
{
    return hazard == Hazard::Range || hazard == Hazard::Length || hazard == Hazard::Conversion;
}

const char* RouteName(TypeRoute route)
{
    switch (route) {
    case TypeRoute::InPlace: return "in place";
    case TypeRoute::Rebuild: return "rebuild";
    case TypeRoute::NoConversion: return "no conversion";
    }
    return "";
}

const char* HazardName(Hazard hazard)
{
    switch (hazard) {
    case Hazard::Range: return "range";
    case Hazard::Scale: return "scale";
    case Hazard::TimeOfDay: return "time of day";
    case Hazard::Date: return "date";
    case Hazard::Length: return "length";
    case Hazard::Digits: return "digits";
    case Hazard::Conversion: return "conversion";
    }
    return "";
}

}
