// External function comparison against real Old/New database pairs.
#include "compare/UDFs.h"
#include "tests/support/CheckTest.h"

using UDFsTest = CheckTest<CheckKind::UDFs>;

namespace {
const char* AddDays =
    "DECLARE EXTERNAL FUNCTION ADDDAYS DATE, INTEGER RETURNS DATE FREE_IT "
    "ENTRY_POINT 'add_days' MODULE_NAME 'udflib';";
}

TEST_F(UDFsTest, MissingFunctionIsDeclaredWithReturnsAfterTheInputs)
{
    CheckPair("", AddDays);
    ExpectScriptAndFindings(Lines{"/* UDF ADDDAYS */", "DECLARE EXTERNAL FUNCTION ADDDAYS", "DATE,", "INTEGER",
                                  "RETURNS DATE FREE_IT", "ENTRY_POINT 'add_days' MODULE_NAME 'udflib'", ";", ""},
                            Rows{{"UDF", "ADDDAYS", "not exist"}});
    EXPECT_EQ(Bar.Maximum(), 1);
}

TEST_F(UDFsTest, PsqlFunctionsAreNoExternalFunctionsAndArePassedOver)
{
    CheckPair("", std::string(AddDays) +
                      "\nSET TERM ^ ;\nCREATE FUNCTION F_PSQL (A INTEGER) RETURNS INTEGER AS BEGIN RETURN A; END ^\n"
                      "SET TERM ; ^");
    EXPECT_EQ(FindingRows(Rep), (Rows{{"UDF", "ADDDAYS", "not exist"}}));
    EXPECT_EQ(DM.ScriptLines.front(), "/* UDF ADDDAYS */");
    EXPECT_EQ(DM.ScriptLines.size(), 8u);
    EXPECT_EQ(Bar.Maximum(), 2);
}

TEST_F(UDFsTest, FunctionWithoutInputsGivesThreeLines)
{
    CheckPair("",
              "DECLARE EXTERNAL FUNCTION PI_VAL RETURNS DOUBLE PRECISION BY VALUE ENTRY_POINT 'pi' MODULE_NAME 'm';");
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* UDF PI_VAL */", "DECLARE EXTERNAL FUNCTION PI_VAL", "RETURNS DOUBLE",
                                     "ENTRY_POINT 'pi' MODULE_NAME 'm'", ";", ""}));
}

TEST_F(UDFsTest, ArgumentLinesFollowTheArgumentFormAndAnUnrenderedTypeLeavesItsComma)
{
    ConnectPair("",
                "DECLARE EXTERNAL FUNCTION F3 CSTRING(255), CHAR(10), BLOB, DOUBLE PRECISION, VARCHAR(20), SMALLINT "
                "RETURNS CSTRING(80) FREE_IT ENTRY_POINT 'f3' MODULE_NAME 'm';");
    RunMode(false, false);
    Check();
    EXPECT_EQ(DM.ScriptLines,
              (Lines{"/* UDF F3 */", "DECLARE EXTERNAL FUNCTION F3", "CSTRING(255),", "CHAR,", ",", "DOUBLE,", "VARCHAR(20),",
                     "SMALLINT", "RETURNS CSTRING(80) FREE_IT", "ENTRY_POINT 'f3' MODULE_NAME 'm'", ";", ""}));
    EXPECT_TRUE(FindingRows(Rep).empty());
}

TEST_F(UDFsTest, ChangedVarcharLengthDropsAndDeclaresAgain)
{
    CheckPair(
        "DECLARE EXTERNAL FUNCTION PAD INTEGER, VARCHAR(30) RETURNS INTEGER BY VALUE ENTRY_POINT 'p' MODULE_NAME 'm';",
        "DECLARE EXTERNAL FUNCTION PAD INTEGER, VARCHAR(20) RETURNS INTEGER BY VALUE ENTRY_POINT 'p' MODULE_NAME 'm';");
    ExpectScriptAndFindings(Lines{"/* UDF PAD */", "DROP EXTERNAL FUNCTION PAD", ";", "", "/* UDF PAD */",
                                  "DECLARE EXTERNAL FUNCTION PAD", "INTEGER,", "VARCHAR(20)", "RETURNS INTEGER",
                                  "ENTRY_POINT 'p' MODULE_NAME 'm'", ";", ""},
                            Rows{{"UDF", "PAD", "different"}});
}

TEST_F(UDFsTest, DifferentModuleIsLeftAloneWhateverTheArguments)
{
    CheckPair(
        "DECLARE EXTERNAL FUNCTION PAD INTEGER RETURNS INTEGER BY VALUE ENTRY_POINT 'p' MODULE_NAME 'udflib.dll';",
        "DECLARE EXTERNAL FUNCTION PAD VARCHAR(20) RETURNS INTEGER BY VALUE ENTRY_POINT 'p' MODULE_NAME 'udflib';");
    ExpectScriptAndFindings({}, {});
}

TEST_F(UDFsTest, MechanismAndEntryPointAreNotCompared)
{
    CheckPair("DECLARE EXTERNAL FUNCTION ADDDAYS DATE, INTEGER BY DESCRIPTOR RETURNS DATE ENTRY_POINT 'other' "
              "MODULE_NAME 'udflib';",
              AddDays);
    ExpectScriptAndFindings({}, {});
}

TEST_F(UDFsTest, CharLengthOrAMissingOldPositionIsDifferentButAnExtraOldArgumentIsNot)
{
    CheckPair("DECLARE EXTERNAL FUNCTION C1 CHAR(20) RETURNS INTEGER BY VALUE ENTRY_POINT 'c' MODULE_NAME 'm';"
              "DECLARE EXTERNAL FUNCTION G1 INTEGER RETURNS INTEGER BY VALUE ENTRY_POINT 'g' MODULE_NAME 'm';"
              "DECLARE EXTERNAL FUNCTION G2 INTEGER, INTEGER RETURNS INTEGER BY VALUE ENTRY_POINT 'g' MODULE_NAME 'm';",
              "DECLARE EXTERNAL FUNCTION C1 CHAR(10) RETURNS INTEGER BY VALUE ENTRY_POINT 'c' MODULE_NAME 'm';"
              "DECLARE EXTERNAL FUNCTION G1 INTEGER, INTEGER RETURNS INTEGER BY VALUE ENTRY_POINT 'g' MODULE_NAME 'm';"
              "DECLARE EXTERNAL FUNCTION G2 INTEGER RETURNS INTEGER BY VALUE ENTRY_POINT 'g' MODULE_NAME 'm';");
    EXPECT_EQ(FindingRows(Rep), (Rows{{"UDF", "C1", "different"}, {"UDF", "G1", "different"}}));
    EXPECT_EQ(DM.ScriptLines,
              (Lines{"/* UDF C1 */", "DROP EXTERNAL FUNCTION C1", ";", "", "/* UDF C1 */",
                     "DECLARE EXTERNAL FUNCTION C1", "CHAR", "RETURNS INTEGER", "ENTRY_POINT 'c' MODULE_NAME 'm'", ";",
                     "", "/* UDF G1 */", "DROP EXTERNAL FUNCTION G1", ";", "", "/* UDF G1 */",
                     "DECLARE EXTERNAL FUNCTION G1", "INTEGER,", "INTEGER", "RETURNS INTEGER",
                     "ENTRY_POINT 'g' MODULE_NAME 'm'", ";", ""}));
}

TEST_F(UDFsTest, RepairDeclaresAndRedeclaresSoTheNextRunFindsNothing)
{
    ConnectPair(
        "DECLARE EXTERNAL FUNCTION PAD INTEGER, VARCHAR(30) RETURNS INTEGER BY VALUE ENTRY_POINT 'p' MODULE_NAME 'm';",
        std::string(AddDays) +
            "DECLARE EXTERNAL FUNCTION PAD INTEGER, VARCHAR(20) RETURNS INTEGER BY VALUE ENTRY_POINT 'p' "
            "MODULE_NAME 'm';");
    RepairTwice(Rows{{"UDF", "ADDDAYS", "not exist"}, {"UDF", "PAD", "different"}});
    Disconnect();
    EXPECT_NE(OldDb->Isql("SELECT RDB$FIELD_LENGTH FROM RDB$FUNCTION_ARGUMENTS WHERE RDB$FUNCTION_NAME='PAD' "
                          "AND RDB$ARGUMENT_POSITION=2;")
                  .find(" 20"),
              std::string::npos);
}
