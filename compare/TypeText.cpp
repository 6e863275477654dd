// One table for the four forms; the rows where they differ are spelled out.
#include "compare/TypeText.h"

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
