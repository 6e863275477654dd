// The domain comparator on real database pairs: CREATE DOMAIN, ALTER DOMAIN, the nine-line UPDATE
// of older servers, script and repair.
#include "compare/Domains.h"
#include "tests/support/CheckTest.h"
#include "tests/support/ComparatorPeer.h"

#include <gtest/gtest.h>

namespace {
class DomainsTest : public CheckTest<CheckKind::Domains> {
protected:
    // Stands both queries on the named domain, as the walk does, and hands the module over.
    void OnDomain(const std::string& name, const std::function<void(TDmn&)>& use)
    {
        TDmn dmn(DM, Rep);
        Peer::Dmn(dmn, Side::New).Open();
        Peer::Dmn(dmn, Side::Old).Open();
        ASSERT_TRUE(Peer::Dmn(dmn, Side::New).Locate("RDB$FIELD_NAME", name));
        ASSERT_TRUE(Peer::Dmn(dmn, Side::Old).Locate("RDB$FIELD_NAME", name));
        use(dmn);
        Peer::Dmn(dmn, Side::Old).Close();
        Peer::Dmn(dmn, Side::New).Close();
    }

    // The statements of the fix for the named domain on a server older than Firebird 3.
    Statements LegacyUpdate(const std::string& name)
    {
        Statements statements;
        OnDomain(name, [&](TDmn& dmn) { statements = Peer::UpdateDomainStatements(dmn, 11); });
        return statements;
    }
};

// The nine lines for an INTEGER domain; description and null flag vary.
Lines IntegerUpdate(const std::string& name, const std::string& description, const std::string& nullFlag)
{
    return {"UPDATE RDB$FIELDS set",
            "RDB$FIELD_TYPE = 8,",
            "RDB$FIELD_SUB_TYPE = 0,",
            "RDB$FIELD_LENGTH = 4,",
            "RDB$CHARACTER_LENGTH = NULL,",
            "RDB$DEFAULT_VALUE = NULL,",
            "RDB$DESCRIPTION = " + description + ",",
            "RDB$NULL_FLAG = " + nullFlag,
            "WHERE RDB$FIELD_NAME = '" + name + "'"};
}
}

TEST_F(DomainsTest, MissingDomainsAreCreatedInTheDomainFormAndImplicitOnesAreNotSeen)
{
    CheckPair("CREATE DOMAIN D_OLD_ONLY AS INTEGER;", "CREATE DOMAIN D_CODE AS VARCHAR(12) NOT NULL;\n"
                                                      "CREATE DOMAIN D_FLAG AS CHAR(10);\n"
                                                      "CREATE DOMAIN D_MEMO AS BLOB SUB_TYPE 1 SEGMENT SIZE 80;\n"
                                                      "CREATE DOMAIN D_FSS AS VARCHAR(10) CHARACTER SET UNICODE_FSS;\n"
                                                      "CREATE DOMAIN D_BOOL AS BOOLEAN;\n"
                                                      "CREATE TABLE T (ID INTEGER, NAME VARCHAR(5));\n");
    ExpectScriptAndFindings(Lines{"/* Domain D_CODE */", "CREATE DOMAIN D_CODE AS", "VARCHAR(12)", "NOT NULL", ";", "",
                                  "/* Domain D_FLAG */", "CREATE DOMAIN D_FLAG AS", "CHAR", ";", "",
                                  "/* Domain D_MEMO */", "CREATE DOMAIN D_MEMO AS", "BLOB SUB_TYPE 1 SEGMENT SIZE 80",
                                  ";", "",
                                  // Three bytes per character: the byte length is written.
                                  "/* Domain D_FSS */", "CREATE DOMAIN D_FSS AS", "VARCHAR(30)", ";", "",
                                  // A type code the domain form does not list leaves the line empty.
                                  "/* Domain D_BOOL */", "CREATE DOMAIN D_BOOL AS", "", ";", ""},
                            Rows{{"DOMAIN", "D_CODE", "not exist"},
                                 {"DOMAIN", "D_FLAG", "not exist"},
                                 {"DOMAIN", "D_MEMO", "not exist"},
                                 {"DOMAIN", "D_FSS", "not exist"},
                                 {"DOMAIN", "D_BOOL", "not exist"}});
    EXPECT_EQ(Bar.Maximum(), 5);
}

TEST_F(DomainsTest, DescriptionWithAQuoteIsCommentedOnOrOnOlderServersWrittenInTheFullUpdate)
{
    CheckPair("CREATE DOMAIN D_NOTE AS INTEGER;",
              "CREATE DOMAIN D_NOTE AS INTEGER;\nCOMMENT ON DOMAIN D_NOTE IS 'Can''t ship';");
    ExpectScriptAndFindings(Lines{"/* Domain D_NOTE */", "COMMENT ON DOMAIN D_NOTE IS 'Can''t ship'", ";", ""},
                            Rows{{"DOMAIN", "D_NOTE", "different type"}});
    EXPECT_EQ(LegacyUpdate("D_NOTE"), Statements{IntegerUpdate("D_NOTE", "'Can''t ship'", "NULL")});
}

TEST_F(DomainsTest, NullFlagNullAgainstZeroIsADifferenceBothWaysOnlyOnOlderServers)
{
    // Dropping NOT NULL from a domain leaves its flag 0, not NULL; Firebird 3 has no DDL that
    // writes NULL back, so there both count as nullable.
    const char* nullFlag = "CREATE DOMAIN D_A AS INTEGER;\nCREATE DOMAIN D_B AS INTEGER NOT NULL;\n";
    const char* zeroFlag = "CREATE DOMAIN D_A AS INTEGER NOT NULL;\nCREATE DOMAIN D_B AS INTEGER;\n"
                           "COMMIT;\nALTER DOMAIN D_A DROP NOT NULL;\n";
    // Each way round: D_B gets the alteration, and D_A differs only on older servers.
    const auto checkWay = [this](const char* oldSql, const char* newSql, const std::string& alteration,
                                 const std::string& flagA, const std::string& flagB) {
        // The pair is made again under the same file names: the first must be gone before.
        Disconnect();
        OldDb.reset();
        NewDb.reset();
        CheckPair(oldSql, newSql);
        EXPECT_EQ(DM.ScriptLines, (Lines{"/* Domain D_B */", "ALTER DOMAIN D_B " + alteration, ";", ""}));
        OnDomain("D_A", [](TDmn& dmn) {
            EXPECT_FALSE(Peer::SameDmnNullFlag(dmn, 11));
            EXPECT_TRUE(Peer::SameDmnNullFlag(dmn, 12));
        });
        EXPECT_EQ(LegacyUpdate("D_A"), Statements{IntegerUpdate("D_A", "NULL", flagA)});
        EXPECT_EQ(LegacyUpdate("D_B"), Statements{IntegerUpdate("D_B", "NULL", flagB)});
    };
    checkWay(zeroFlag, nullFlag, "SET NOT NULL", "NULL", "1");
    checkWay(nullFlag, zeroFlag, "DROP NOT NULL", "0", "NULL");
}

TEST_F(DomainsTest, DefaultIsSetFromItsSourceOrOnOlderServersWrittenAsItsCompiledBytes)
{
    CheckPair("CREATE DOMAIN D_DEF AS VARCHAR(10);", "CREATE DOMAIN D_DEF AS VARCHAR(10) DEFAULT 'ab';");
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* Domain D_DEF */", "ALTER DOMAIN D_DEF SET DEFAULT 'ab'", ";", ""}));
    EXPECT_EQ(LegacyUpdate("D_DEF"), (Statements{{"UPDATE RDB$FIELDS set",
                                                  "RDB$FIELD_TYPE = 37,",
                                                  "RDB$FIELD_SUB_TYPE = 0,",
                                                  "RDB$FIELD_LENGTH = 10,",
                                                  "RDB$CHARACTER_LENGTH = 10,",
                                                  // BLR: version 4, literal, text of charset 0 and length 2, "ab", end.
                                                  "RDB$DEFAULT_VALUE = X'04150F0000020061624C',",
                                                  "RDB$DESCRIPTION = NULL,",
                                                  "RDB$NULL_FLAG = NULL",
                                                  "WHERE RDB$FIELD_NAME = 'D_DEF'"}}));
}

TEST_F(DomainsTest, ChangedDomainsGetOnlyTheAlterationsTheyNeedAndRepairLeavesNothing)
{
    CheckPair("CREATE DOMAIN D_AMOUNT AS NUMERIC(4,2) DEFAULT 0;\n"
              "CREATE DOMAIN D_NAME AS VARCHAR(10) DEFAULT 'x' NOT NULL;\n"
              "COMMENT ON DOMAIN D_NAME IS 'gone';\n"
              "CREATE DOMAIN D_SAME AS INTEGER;",
              "CREATE DOMAIN D_AMOUNT AS NUMERIC(9,2) default  1.5 NOT NULL;\n"
              "COMMENT ON DOMAIN D_AMOUNT IS 'Can''t be empty';\n"
              "CREATE DOMAIN D_NAME AS VARCHAR(20) CHARACTER SET UTF8;\n"
              "CREATE DOMAIN D_SAME AS INTEGER;");
    ExpectScriptAndFindings(Lines{"/* Domain D_AMOUNT */",
                                  "ALTER DOMAIN D_AMOUNT TYPE NUMERIC(9,2)",
                                  ";",
                                  "",
                                  "/* Domain D_AMOUNT */",
                                  "ALTER DOMAIN D_AMOUNT SET DEFAULT 1.5",
                                  ";",
                                  "",
                                  "/* Domain D_AMOUNT */",
                                  "COMMENT ON DOMAIN D_AMOUNT IS 'Can''t be empty'",
                                  ";",
                                  "",
                                  "/* Domain D_AMOUNT */",
                                  "ALTER DOMAIN D_AMOUNT SET NOT NULL",
                                  ";",
                                  "",
                                  "/* Domain D_NAME */",
                                  "ALTER DOMAIN D_NAME TYPE VARCHAR(20) CHARACTER SET UTF8",
                                  ";",
                                  "",
                                  "/* Domain D_NAME */",
                                  "ALTER DOMAIN D_NAME DROP DEFAULT",
                                  ";",
                                  "",
                                  "/* Domain D_NAME */",
                                  "COMMENT ON DOMAIN D_NAME IS NULL",
                                  ";",
                                  "",
                                  "/* Domain D_NAME */",
                                  "ALTER DOMAIN D_NAME DROP NOT NULL",
                                  ";",
                                  ""},
                            Rows{{"DOMAIN", "D_AMOUNT", "different type"}, {"DOMAIN", "D_NAME", "different type"}});
    RepairAndRecheck([this] { Check(); });
}

TEST_F(DomainsTest, ScaleCheckAndDefaultSourceAloneAreNotReported)
{
    CheckPair("CREATE DOMAIN D_NUM AS NUMERIC(9,3);\nCREATE DOMAIN D_POS AS INTEGER CHECK (VALUE > 0);\n"
              "CREATE DOMAIN D_DEF AS INTEGER DEFAULT 1;",
              "CREATE DOMAIN D_NUM AS NUMERIC(9,2);\nCREATE DOMAIN D_POS AS INTEGER CHECK (VALUE > 1);\n"
              "CREATE DOMAIN D_DEF AS INTEGER DEFAULT   1;");
    ExpectScriptAndFindings({}, {});
}

TEST_F(DomainsTest, RepairCreatesMissingDomainsSoThatASecondRunFindsNothing)
{
    ConnectPair("CREATE DOMAIN D_SAME AS INTEGER;",
                "CREATE DOMAIN D_SAME AS INTEGER;\nCREATE DOMAIN D_CODE AS VARCHAR(12) NOT NULL;\n"
                "CREATE DOMAIN D_MEMO AS BLOB SUB_TYPE 1 SEGMENT SIZE 80;\nCREATE DOMAIN D_SHORT AS SMALLINT;");
    RepairTwice(
        Rows{{"DOMAIN", "D_CODE", "not exist"}, {"DOMAIN", "D_MEMO", "not exist"}, {"DOMAIN", "D_SHORT", "not exist"}});
}

TEST_F(DomainsTest, CharDomainCreatedAsCharIsFoundDifferentAndItsTypeIsRepaired)
{
    CheckPair("", "CREATE DOMAIN D_FLAG AS CHAR(10);\nCREATE DOMAIN D_LATER AS INTEGER;", true);
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_FLAG", "not exist"}, {"DOMAIN", "D_LATER", "not exist"}}));

    // Created without a length, the Old domain holds one byte.
    Check(false);
    ExpectScriptAndFindings(Lines{"/* Domain D_FLAG */", "ALTER DOMAIN D_FLAG TYPE CHAR(10)", ";", ""},
                            Rows{{"DOMAIN", "D_FLAG", "different type"}});
    EXPECT_EQ(LegacyUpdate("D_FLAG"), (Statements{{"UPDATE RDB$FIELDS set",
                                                   "RDB$FIELD_TYPE = 14,",
                                                   "RDB$FIELD_SUB_TYPE = 0,",
                                                   "RDB$FIELD_LENGTH = 10,",
                                                   "RDB$CHARACTER_LENGTH = 10,",
                                                   "RDB$DEFAULT_VALUE = NULL,",
                                                   "RDB$DESCRIPTION = NULL,",
                                                   "RDB$NULL_FLAG = NULL",
                                                   "WHERE RDB$FIELD_NAME = 'D_FLAG'"}}));

    RepairAndRecheck([this] { Check(); });
}

TEST_F(DomainsTest, NamesDifferingOnlyInCaseAreDifferentDomains)
{
    // Only dialect 3 keeps a quoted lower-case name.
    OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old", "CREATE DOMAIN \"d_code\" AS VARCHAR(12);", 3);
    NewDb = std::make_unique<TestDb>(CurrentTestName() + "_new", "CREATE DOMAIN D_CODE AS VARCHAR(12);");
    Connect();
    Check(false);
    ExpectScriptAndFindings(Lines{"/* Domain D_CODE */", "CREATE DOMAIN D_CODE AS", "VARCHAR(12)", ";", ""},
                            Rows{{"DOMAIN", "D_CODE", "not exist"}});
    // The queries started both transactions, so closing them ended both.
    EXPECT_FALSE(DM.OldTran.Active());
    EXPECT_FALSE(DM.NewTran.Active());

    Check(true);
    EXPECT_EQ(FindingRows(Rep), (Rows{{"DOMAIN", "D_CODE", "not exist"}}));
    Check(true);
    EXPECT_TRUE(FindingRows(Rep).empty());
}
