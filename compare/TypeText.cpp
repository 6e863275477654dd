// One table for the four forms, and the complete type that a type change must write.
#include "compare/TypeText.h"

#include <algorithm>

std::string TypeText(TypeForm form, std::int64_t fieldType, const std::string& length, const std::string& subType,
                     const std::string& segment)
{
    switch (fieldType) {
    case 7:
        return "SMALLINT";
    case 8:
        return "INTEGER";
    case 10:
        return "FLOAT";
    case 14:
        return form == TypeForm::Domain || form == TypeForm::Arg ? "CHAR" : "CHAR(" + length + ")";
    case 27:
        return form == TypeForm::Arg ? "DOUBLE" : "DOUBLE PRECISION";
    case 35:
        return "DATE";
    case 37:
        return "VARCHAR(" + length + ")";
    case 40:
        return form == TypeForm::Arg ? "CSTRING(" + length + ")" : "";
    case 261:
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
    case 7:
    case 8:
    case 16:
        return type.SubType == "1" || type.SubType == "2" || type.Scale < 0;
    case 27:
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
    case 7:
        return 4;
    case 8:
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
    if (type.Code == 14 || type.Code == 37) {
        std::string text = (type.Code == 14 ? "CHAR(" : "VARCHAR(") +
                           (type.CharacterLength.empty() ? type.Length : type.CharacterLength) + ")";
        if (!type.CharacterSet.empty() && type.CharacterSet != "NONE")
            text += " CHARACTER SET " + type.CharacterSet;
        return text;
    }
    if (type.Code == 261)
        return "BLOB SUB_TYPE " + (type.SubType.empty() ? std::string("0") : type.SubType);
    // The column form has no text for BOOLEAN, which a dialect-1 Firebird 3 database accepts;
    // without it the statement would end at TYPE.
    if (type.Code == 23)
        return "BOOLEAN";
    return TypeText(TypeForm::Column, type.Code, type.Length, type.SubType, type.Segment);
}
