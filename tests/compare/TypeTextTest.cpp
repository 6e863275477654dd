// The type text of every listed code in all four forms, the rows where the forms differ included,
// and the complete type with its fallbacks for what a row leaves out.
#include "compare/TypeText.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    std::int64_t code;
    const char* length;
    const char* subType;
    const char* segment;
    const char* domain;
    const char* column;
    const char* param;
    const char* arg;
};

const Row Rows[] = {
    {7, "2", "0", "", "SMALLINT", "SMALLINT", "SMALLINT", "SMALLINT"},
    {8, "4", "0", "", "INTEGER", "INTEGER", "INTEGER", "INTEGER"},
    {10, "4", "", "", "FLOAT", "FLOAT", "FLOAT", "FLOAT"},
    {14, "10", "0", "", "CHAR", "CHAR(10)", "CHAR(10)", "CHAR"},
    {27, "8", "", "", "DOUBLE PRECISION", "DOUBLE PRECISION", "DOUBLE PRECISION", "DOUBLE"},
    {35, "8", "", "", "DATE", "DATE", "DATE", "DATE"},
    {37, "20", "0", "", "VARCHAR(20)", "VARCHAR(20)", "VARCHAR(20)", "VARCHAR(20)"},
    {40, "255", "", "", "", "", "", "CSTRING(255)"},
    {261, "8", "1", "80", "BLOB SUB_TYPE 1 SEGMENT SIZE 80", "BLOB SUB_TYPE 1 SEGMENT SIZE 80", "", ""},
    // A NULL sub-type reads as empty text: two blanks follow SUB_TYPE.
    {261, "8", "", "80", "BLOB SUB_TYPE  SEGMENT SIZE 80", "BLOB SUB_TYPE  SEGMENT SIZE 80", "", ""},
    {16, "8", "0", "", "", "", "", ""},
    {12, "4", "", "", "", "", "", ""},
    {13, "4", "", "", "", "", "", ""},
    {23, "1", "", "", "", "", "", ""},
};

std::string Render(TypeForm form, const Row& row)
{
    return TypeText(form, row.code, row.length, row.subType, row.segment);
}

}

TEST(TypeTextTest, EveryCodeRendersAsTabulatedInAllFourForms)
{
    for (const Row& row : Rows) {
        SCOPED_TRACE("type code " + std::to_string(row.code) + ", sub-type '" + row.subType + "'");
        EXPECT_EQ(Render(TypeForm::Domain, row), row.domain);
        EXPECT_EQ(Render(TypeForm::Column, row), row.column);
        EXPECT_EQ(Render(TypeForm::Param, row), row.param);
        EXPECT_EQ(Render(TypeForm::Arg, row), row.arg);
    }
}

TEST(TypeTextTest, CharacterLengthIsTheByteLengthWrittenAsGiven)
{
    // A VARCHAR(10) of three bytes per character is stored, and rendered, as 30 bytes.
    EXPECT_EQ(TypeText(TypeForm::Column, 37, "30", "", ""), "VARCHAR(30)");
    EXPECT_EQ(TypeText(TypeForm::Param, 14, "3", "", ""), "CHAR(3)");
    EXPECT_EQ(TypeText(TypeForm::Arg, 40, "1", "", ""), "CSTRING(1)");
}

TEST(TypeTextTest, CompleteTypeKeepsPrecisionScaleCharactersAndCharacterSetAndFallsBackWhereTheRowIsSilent)
{
    struct Case {
        FieldType type;
        const char* text;
    };
    const Case cases[] = {
        {{7, "1", "2", "", "", 4, -2, ""}, "NUMERIC(4,2)"},
        {{8, "2", "4", "", "", 9, -3, ""}, "DECIMAL(9,3)"},
        {{7, "1", "2", "", "", 4, 0, ""}, "NUMERIC(4,0)"},
        // No precision stored: the widest of the storage type; never below the scale.
        {{7, "1", "2", "", "", 0, -2, ""}, "NUMERIC(4,2)"},
        {{8, "", "4", "", "", 0, -1, ""}, "NUMERIC(9,1)"},
        {{27, "", "8", "", "", 0, -2, ""}, "NUMERIC(18,2)"},
        {{7, "1", "2", "", "", 0, -6, ""}, "NUMERIC(6,6)"},
        {{27, "", "8", "", "", 0, 0, ""}, "DOUBLE PRECISION"},
        {{8, "0", "4", "", "", 0, 0, ""}, "INTEGER"},
        {{37, "0", "40", "10", "", 0, 0, "UTF8"}, "VARCHAR(10) CHARACTER SET UTF8"},
        {{14, "0", "5", "", "", 0, 0, "NONE"}, "CHAR(5)"},
        {{14, "0", "5", "5", "", 0, 0, ""}, "CHAR(5)"},
        {{261, "1", "8", "", "80", 0, 0, "UTF8"}, "BLOB SUB_TYPE 1"},
        {{261, "", "8", "", "80", 0, 0, ""}, "BLOB SUB_TYPE 0"},
        {{35, "", "8", "", "", 0, 0, ""}, "DATE"},
        {{23, "", "1", "", "", 0, 0, ""}, "BOOLEAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CompleteTypeText(c.type), c.text);
    }
}
