// The domain comparator on real database pairs: CREATE DOMAIN, the nine-line UPDATE, script and repair.
#include "compare/Domains.h"
#include "db/DbError.h"
#include "tests/support/TestDb.h"

#include <gtest/gtest.h>

namespace {
using Lines = std::vector<std::string>;
using Rows = std::vector<ReportRows::Row>;

class DomainsTest : public PairTest {
protected:
    void Check(bool repair)
    {
        RunMode(repair);
        TDmn dmn(DM, Rep);
        dmn.CheckDomains(Bar);
    }
};

// The nine lines for an INTEGER domain; description and null flag vary.
Lines IntegerUpdate(const std::string& name, const std::string& description, const std::string& nullFlag)
{
    return {"/* Domain " + name + " */",
            "UPDATE RDB$FIELDS set",
            "RDB$FIELD_TYPE = 8,",
            "RDB$FIELD_SUB_TYPE = 0,",
            "RDB$FIELD_LENGTH = 4,",
            "RDB$CHARACTER_LENGTH = NULL,",
            "RDB$DEFAULT_VALUE = NULL,",
            "RDB$DESCRIPTION = " + description + ",",
            "RDB$NULL_FLAG = " + nullFlag,
            "WHERE RDB$FIELD_NAME = '" + name + "'",
            ";",
            ""};
}
}

TEST_F(DomainsTest, MissingDomainsAreCreatedInTheDomainFormAndImplicitOnesAreNotSeen)
{
    MakePair("CREATE DOMAIN D_OLD_ONLY AS INTEGER;",
             "CREATE DOMAIN D_CODE AS VARCHAR(12) NOT NULL;\n"
             "CREATE DOMAIN D_FLAG AS CHAR(10);\n"
             "CREATE DOMAIN D_MEMO AS BLOB SUB_TYPE 1 SEGMENT SIZE 80;\n"
             "CREATE DOMAIN D_FSS AS VARCHAR(10) CHARACTER SET UNICODE_FSS;\n"
             "CREATE DOMAIN D_BOOL AS BOOLEAN;\n"
             "CREATE TABLE T (ID INTEGER, NAME VARCHAR(5));\n");
    Connect();
    Check(false);
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* Domain D_CODE */", "CREATE DOMAIN D_CODE AS", "VARCHAR(12)", "NOT NULL",
                                     ";", "",
                                     "/* Domain D_FLAG */", "CREATE DOMAIN D_FLAG AS", "CHAR", ";", "",
                                     "/* Domain D_MEMO */", "CREATE DOMAIN D_MEMO AS",
                                     "BLOB SUB_TYPE 1 SEGMENT SIZE 80", ";", "",
                                     // Three bytes per character: the byte length is written.
                                     "/* Domain D_FSS */", "CREATE DOMAIN D_FSS AS", "VARCHAR(30)", ";", "",
                                     // A type code the domain form does not list leaves the line empty.
                                     "/* Domain D_BOOL */", "CREATE DOMAIN D_BOOL AS", "", ";", ""}));
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_CODE", "not exist"},
                                      {"DOMAIN", "D_FLAG", "not exist"},
                                      {"DOMAIN", "D_MEMO", "not exist"},
                                      {"DOMAIN", "D_FSS", "not exist"},
                                      {"DOMAIN", "D_BOOL", "not exist"}}));
    EXPECT_EQ(Bar.Maximum(), 5);
}

TEST_F(DomainsTest, DescriptionWithAQuoteGivesTheFullUpdate)
{
    MakePair("CREATE DOMAIN D_NOTE AS INTEGER;",
             "CREATE DOMAIN D_NOTE AS INTEGER;\nCOMMENT ON DOMAIN D_NOTE IS 'Can''t ship';");
    Connect();
    Check(false);
    EXPECT_EQ(DM.ScriptLines, IntegerUpdate("D_NOTE", "'Can''t ship'", "NULL"));
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_NOTE", "different type"}}));
}

TEST_F(DomainsTest, NullFlagNullAgainstZeroIsADifferenceBothWays)
{
    // Dropping NOT NULL from a domain leaves its flag 0, not NULL.
    const char* nullFlag = "CREATE DOMAIN D_A AS INTEGER;\nCREATE DOMAIN D_B AS INTEGER NOT NULL;\n";
    const char* zeroFlag = "CREATE DOMAIN D_A AS INTEGER NOT NULL;\nCREATE DOMAIN D_B AS INTEGER;\n"
                           "COMMIT;\nALTER DOMAIN D_A DROP NOT NULL;\n";
    MakePair(zeroFlag, nullFlag);
    Connect();
    Check(false);
    Lines expected = IntegerUpdate("D_A", "NULL", "NULL");
    Lines second = IntegerUpdate("D_B", "NULL", "1");
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(DM.ScriptLines, expected);
    Disconnect();
    // The pair is made again under the same file names: the first must be gone before.
    OldDb.reset();
    NewDb.reset();
    MakePair(nullFlag, zeroFlag);
    Connect();
    Check(false);
    expected = IntegerUpdate("D_A", "NULL", "0");
    second = IntegerUpdate("D_B", "NULL", "NULL");
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(DM.ScriptLines, expected);
}

TEST_F(DomainsTest, DefaultIsWrittenAsTheHexLiteralOfItsCompiledBytes)
{
    MakePair("CREATE DOMAIN D_DEF AS VARCHAR(10);", "CREATE DOMAIN D_DEF AS VARCHAR(10) DEFAULT 'ab';");
    Connect();
    Check(false);
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* Domain D_DEF */",
                                     "UPDATE RDB$FIELDS set",
                                     "RDB$FIELD_TYPE = 37,",
                                     "RDB$FIELD_SUB_TYPE = 0,",
                                     "RDB$FIELD_LENGTH = 10,",
                                     "RDB$CHARACTER_LENGTH = 10,",
                                     // BLR: version 4, literal, text of charset 0 and length 2, "ab", end.
                                     "RDB$DEFAULT_VALUE = X'04150F0000020061624C',",
                                     "RDB$DESCRIPTION = NULL,",
                                     "RDB$NULL_FLAG = NULL",
                                     "WHERE RDB$FIELD_NAME = 'D_DEF'",
                                     ";",
                                     ""}));
}

TEST_F(DomainsTest, ScaleCheckAndDefaultSourceAloneAreNotReported)
{
    MakePair("CREATE DOMAIN D_NUM AS NUMERIC(9,3);\nCREATE DOMAIN D_POS AS INTEGER CHECK (VALUE > 0);\n"
             "CREATE DOMAIN D_DEF AS INTEGER DEFAULT 1;",
             "CREATE DOMAIN D_NUM AS NUMERIC(9,2);\nCREATE DOMAIN D_POS AS INTEGER CHECK (VALUE > 1);\n"
             "CREATE DOMAIN D_DEF AS INTEGER DEFAULT   1;");
    Connect();
    Check(false);
    EXPECT_TRUE(DM.ScriptLines.empty());
    EXPECT_TRUE(FindingRows(Rep).empty());
}

TEST_F(DomainsTest, RepairCreatesMissingDomainsSoThatASecondRunFindsNothing)
{
    MakePair("CREATE DOMAIN D_SAME AS INTEGER;",
             "CREATE DOMAIN D_SAME AS INTEGER;\nCREATE DOMAIN D_CODE AS VARCHAR(12) NOT NULL;\n"
             "CREATE DOMAIN D_MEMO AS BLOB SUB_TYPE 1 SEGMENT SIZE 80;\nCREATE DOMAIN D_SHORT AS SMALLINT;");
    Connect();
    Check(true);
    EXPECT_TRUE(DM.ScriptLines.empty());
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_CODE", "not exist"},
                                      {"DOMAIN", "D_MEMO", "not exist"},
                                      {"DOMAIN", "D_SHORT", "not exist"}}));
    Check(true);
    EXPECT_TRUE(FindingRows(Rep).empty());
}

TEST_F(DomainsTest, CharDomainCreatedAsCharIsFoundDifferentAndItsUpdateIsRefusedInRepair)
{
    MakePair("", "CREATE DOMAIN D_FLAG AS CHAR(10);\nCREATE DOMAIN D_LATER AS INTEGER;");
    Connect();
    Check(true);
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_FLAG", "not exist"}, {"DOMAIN", "D_LATER", "not exist"}}));

    // Created without a length, the Old domain holds one byte.
    Check(false);
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* Domain D_FLAG */",
                                     "UPDATE RDB$FIELDS set",
                                     "RDB$FIELD_TYPE = 14,",
                                     "RDB$FIELD_SUB_TYPE = 0,",
                                     "RDB$FIELD_LENGTH = 10,",
                                     "RDB$CHARACTER_LENGTH = 10,",
                                     "RDB$DEFAULT_VALUE = NULL,",
                                     "RDB$DESCRIPTION = NULL,",
                                     "RDB$NULL_FLAG = NULL",
                                     "WHERE RDB$FIELD_NAME = 'D_FLAG'",
                                     ";",
                                     ""}));
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_FLAG", "different type"}}));

    // The server refuses updates of its system tables; the run ends with its message.
    RunMode(true);
    TDmn dmn(DM, Rep);
    try {
        dmn.CheckDomains(Bar);
        FAIL() << "the UPDATE of RDB$FIELDS was accepted";
    } catch (const DbError& error) {
        EXPECT_NE(std::string(error.what()).find("UPDATE operation is not allowed for system table RDB$FIELDS"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(FindingRows(Rep).empty());
}

TEST_F(DomainsTest, NamesDifferingOnlyInCaseAreDifferentDomains)
{
    // Only dialect 3 keeps a quoted lower-case name.
    OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old", "CREATE DOMAIN \"d_code\" AS VARCHAR(12);", 3);
    NewDb = std::make_unique<TestDb>(CurrentTestName() + "_new", "CREATE DOMAIN D_CODE AS VARCHAR(12);");
    Connect();
    Check(false);
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* Domain D_CODE */", "CREATE DOMAIN D_CODE AS", "VARCHAR(12)", ";", ""}));
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_CODE", "not exist"}}));
    // The queries started both transactions, so closing them ended both.
    EXPECT_FALSE(DM.OldTran.Active());
    EXPECT_FALSE(DM.NewTran.Active());

    Check(true);
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_CODE", "not exist"}}));
    Check(true);
    EXPECT_TRUE(FindingRows(Rep).empty());
}
