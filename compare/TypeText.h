// The SQL type text of an InterBase type code, in the four forms the comparators use, and complete.
#pragma once
#include <cstdint>
#include <string>

enum class TypeForm { Domain, Column, Param, Arg };

// length, subType and segment are the texts of RDB$FIELD_LENGTH, RDB$FIELD_SUB_TYPE and
// RDB$SEGMENT_LENGTH as read; a code a form does not list gives the empty text.
std::string TypeText(TypeForm form, std::int64_t fieldType, const std::string& length, const std::string& subType,
                     const std::string& segment);

// The columns of an RDB$FIELDS row that a complete type is written from; texts as read,
// NULL as the empty text and as 0.
struct FieldType {
    std::int64_t Code = 0;
    std::string SubType;
    std::string Length;
    std::string CharacterLength;
    std::string Segment;
    std::int64_t Precision = 0;
    std::int64_t Scale = 0;
    std::string CharacterSet;
};

// The type as DDL must write it to keep a column's values: exact numerics with precision and
// scale, character types in characters and with a character set other than NONE, blobs by
// sub-type; any other type in the column form.
std::string CompleteTypeText(const FieldType& type);
