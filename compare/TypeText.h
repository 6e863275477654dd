// The SQL type text of an InterBase type code, in the four forms the comparators use.
#pragma once
#include <cstdint>
#include <string>

enum class TypeForm { Domain, Column, Param, Arg };

// length, subType and segment are the texts of RDB$FIELD_LENGTH, RDB$FIELD_SUB_TYPE and
// RDB$SEGMENT_LENGTH as read; a code a form does not list gives the empty text.
std::string TypeText(TypeForm form, std::int64_t fieldType, const std::string& length, const std::string& subType,
                     const std::string& segment);
