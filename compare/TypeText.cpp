// One table for the four forms, and the complete type that a type change must write.
#include "compare/TypeText.h"

#include <ibase.h>

#include <algorithm>

// The codes are RDB$FIELD_TYPE's, which are the BLR type codes of ibase.h.
std::string TypeText(TypeForm form, std::int64_t fieldType, const std::string& length, const std::string& subType,
                     const std::string& segment)
{
    switch (fieldType) {
    case blr_short:
        return "SMALLINT";
    case blr_long:
        return "INTEGER";
    case blr_float:
        return "FLOAT";
    case blr_text:
        return form == TypeForm::Domain || form == TypeForm::Arg ? "CHAR" : "CHAR(" + length + ")";
    case blr_double:
        return form == TypeForm::Arg ? "DOUBLE" : "DOUBLE PRECISION";
    // Dialect 1's DATE holds a time of day too: it is stored as a timestamp.
    case blr_timestamp:
        return "DATE";
    case blr_varying:
        return "VARCHAR(" + length + ")";
    case blr_cstring:
        return form == TypeForm::Arg ? "CSTRING(" + length + ")" : "";
    case blr_blob:
        if (form == TypeForm::Domain || form == TypeForm::Column)
            return "BLOB SUB_TYPE " + subType + " SEGMENT SIZE " + segment;
        return "";
    default:
        return "";
    }
}

namespace {
bool IsExactNumeric(const FieldType& type)
{
    switch (type.Code) {
    case blr_short:
    case blr_long:
    case blr_int64:
        return type.SubType == "1" || type.SubType == "2" || type.Scale < 0;
    case blr_double:
        // Dialect 1 keeps NUMERIC and DECIMAL wider than nine digits as DOUBLE PRECISION
        // with the scale, without sub-type or precision.
        return type.Scale < 0;
    default:
        return false;
    }
}

// Where the precision was not stored, the widest one that the storage type holds in dialect 1,
// so that no value is refused; every precision above nine gives DOUBLE PRECISION there.
std::int64_t PrecisionOf(const FieldType& type)
{
    if (type.Precision > 0)
        return type.Precision;
    switch (type.Code) {
    case blr_short:
        return 4;
    case blr_long:
        return 9;
    default:
        return 18;
    }
}
}

std::string CompleteTypeText(const FieldType& type)
{
    if (IsExactNumeric(type)) {
        const std::int64_t scale = -type.Scale;
        const std::int64_t precision = std::max(PrecisionOf(type), scale);
        return std::string(type.SubType == "2" ? "DECIMAL(" : "NUMERIC(") + std::to_string(precision) + "," +
               std::to_string(scale) + ")";
    }
    if (type.Code == blr_text || type.Code == blr_varying) {
        std::string text = (type.Code == blr_text ? "CHAR(" : "VARCHAR(") +
                           (type.CharacterLength.empty() ? type.Length : type.CharacterLength) + ")";
        if (!type.CharacterSet.empty() && type.CharacterSet != "NONE")
            text += " CHARACTER SET " + type.CharacterSet;
        return text;
    }
    if (type.Code == blr_blob)
        return "BLOB SUB_TYPE " + (type.SubType.empty() ? std::string("0") : type.SubType);
    // The column form has no text for BOOLEAN, which a dialect-1 Firebird 3 database accepts;
    // without it the statement would end at TYPE.
    if (type.Code == blr_bool)
        return "BOOLEAN";
    return TypeText(TypeForm::Column, type.Code, type.Length, type.SubType, type.Segment);
}
