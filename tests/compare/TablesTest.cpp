// The table comparator on real database pairs: CREATE TABLE, added columns, domain and nullability
// fixes as Firebird 3 takes them and as older servers did.
#include "compare/Domains.h"
#include "compare/Tables.h"
#include "compare/UDFs.h"
#include "db/DbError.h"
#include "tests/support/CheckTest.h"
#include "tests/support/ComparatorPeer.h"

#include <gtest/gtest.h>

namespace {
class TablesTest : public CheckTest<CheckKind::TableFields> {
protected:
    // Runs a repair that the server must refuse and returns its message.
    std::string RefusedRepair()
    {
        try {
            Check(true);
        } catch (const DbError& error) {
            return error.what();
        }
        ADD_FAILURE() << "the repair was accepted";
        return "";
    }

    // The statements of both column fixes for a server older than Firebird 3, the New
    // queries standing on the column as the walk leaves them.
    std::pair<Statements, Statements> LegacyFixes(const std::string& table, const std::string& column)
    {
        TTbl tbl(DM, Rep);
        Peer::Tbl(tbl, Side::New).Open();
        EXPECT_TRUE(Peer::Tbl(tbl, Side::New).Locate("RDB$RELATION_NAME", table));
        Peer::TblFields(tbl, Side::New).SetParam("TNAME", table);
        Peer::TblFields(tbl, Side::New).Open();
        EXPECT_TRUE(Peer::TblFields(tbl, Side::New).Locate("RDB$FIELD_NAME", column));
        Peer::Fields(tbl, Side::New).Open();
        auto fixes =
            std::make_pair(Peer::ColumnDomainStatements(tbl, 11), Peer::NullFlagStatements(tbl, 11));
        Peer::Fields(tbl, Side::New).Close();
        Peer::TblFields(tbl, Side::New).Close();
        Peer::Tbl(tbl, Side::New).Close();
        return fixes;
    }
};

Lines Alter(const std::string& table, const std::string& line)
{
    return {"/* TABLE " + table + " */", "ALTER TABLE " + table + " " + line, ";", ""};
}

Lines SystemUpdate(const std::string& table, const std::string& column, const std::string& set)
{
    return {"UPDATE RDB$RELATION_FIELDS set", set, "WHERE RDB$FIELD_NAME = '" + column + "' and",
            "RDB$RELATION_NAME ='" + table + "'"};
}

Lines Joined(std::initializer_list<Lines> blocks)
{
    Lines all;
    for (const Lines& block : blocks)
        all.insert(all.end(), block.begin(), block.end());
    return all;
}
}

TEST_F(TablesTest, MissingTableIsCreatedWholeAndViewsAndSystemTablesAreNotSeen)
{
    CheckPair("CREATE DOMAIN D_ID AS INTEGER;\nCREATE TABLE OLD_ONLY (X INTEGER);",
              "CREATE DOMAIN D_ID AS INTEGER;\n"
              "CREATE TABLE ORDERS (ID D_ID NOT NULL, CODE CHAR(10), NOTE VARCHAR(80), TWICE COMPUTED BY (ID * 2),\n"
              "  FLAG BOOLEAN);\n"
              "CREATE TABLE ONE (ONLY_COL INTEGER NOT NULL);\n"
              "CREATE VIEW V_ORDERS AS SELECT ID FROM ORDERS;");
    // A missing table's columns are not compared further: no FIELD rows follow.
    ExpectScriptAndFindings(Lines{"/* TABLE ORDERS */", "CREATE TABLE ORDERS", "(", "ID D_ID NOT NULL,",
                                  "CODE CHAR(10),", "NOTE VARCHAR(80),", "TWICE INTEGER,", "FLAG ", ")", ";", "",
                                  "/* TABLE ONE */", "CREATE TABLE ONE", "(", "ONLY_COL INTEGER NOT NULL", ")", ";",
                                  ""},
                            Rows{{"TABLE", "ORDERS", "not exist"}, {"TABLE", "ONE", "not exist"}});
    EXPECT_EQ(Bar.Maximum(), 2);
    // Both transactions end with the check.
    EXPECT_FALSE(DM.OldTran.Active());
    EXPECT_FALSE(DM.NewTran.Active());
}

TEST_F(TablesTest, MissingColumnsAreAddedAndTheNotNullKeepsItsTrailingBlank)
{
    CheckPair("CREATE DOMAIN D_CODE AS VARCHAR(12);\nCREATE TABLE T (ID INTEGER, OLD_ONLY INTEGER);",
              "CREATE DOMAIN D_CODE AS VARCHAR(12);\n"
              "CREATE TABLE T (ID INTEGER, NAME D_CODE NOT NULL, AMOUNT NUMERIC(9,2),\n"
              "  MEMO BLOB SUB_TYPE 1 SEGMENT SIZE 80, FSS VARCHAR(10) CHARACTER SET UNICODE_FSS);");
    ExpectScriptAndFindings(Lines{"/* TABLE T */", "ALTER TABLE T", "ADD NAME D_CODE NOT NULL ", ";", "",
                                  // NUMERIC renders as its storage type, the multi-byte VARCHAR as its byte length.
                                  "/* TABLE T */", "ALTER TABLE T", "ADD AMOUNT INTEGER", ";", "", "/* TABLE T */",
                                  "ALTER TABLE T", "ADD MEMO BLOB SUB_TYPE 1 SEGMENT SIZE 80", ";", "", "/* TABLE T */",
                                  "ALTER TABLE T", "ADD FSS VARCHAR(30)", ";", ""},
                            Rows{{"FIELD", "T-NAME", "not exist"}, {"FIELD", "T-AMOUNT", "not exist"},
                                 {"FIELD", "T-MEMO", "not exist"}, {"FIELD", "T-FSS", "not exist"}});
}

TEST_F(TablesTest, ImplicitDomainsCompareByTheirRenderedType)
{
    // The extra table shifts the Old side's implicit domain names away from the New side's.
    CheckPair("CREATE TABLE SHIFT (S1 INTEGER, S2 INTEGER);\n"
              "CREATE TABLE T (SAME VARCHAR(20), WIDER VARCHAR(20), SCALED NUMERIC(9,3), FSS VARCHAR(10));",
              "CREATE TABLE T (SAME VARCHAR(20), WIDER VARCHAR(30), SCALED NUMERIC(9,2),\n"
              "  FSS VARCHAR(10) CHARACTER SET UNICODE_FSS);");
    // The conversion writes the New type whole: characters and character set, not bytes.
    ExpectScriptAndFindings(Lines{"/* TABLE T */", "ALTER TABLE T", "ALTER WIDER TYPE VARCHAR(30)", ";", "",
                                  "/* TABLE T */", "ALTER TABLE T",
                                  "ALTER FSS TYPE VARCHAR(10) CHARACTER SET UNICODE_FSS", ";", ""},
                            Rows{{"FIELD", "T-WIDER", "different"}, {"FIELD", "T-FSS", "different"}});
}

TEST_F(TablesTest, NamedDomainAgainstImplicitOrAnotherNamedOneMovesTheColumnToIt)
{
    CheckPair("CREATE DOMAIN D_CODE AS VARCHAR(12);\nCREATE DOMAIN D_OTHER AS VARCHAR(12);\n"
              "CREATE TABLE T (A VARCHAR(12), B D_OTHER, C D_CODE, D D_CODE);",
              "CREATE DOMAIN D_CODE AS VARCHAR(12);\nCREATE DOMAIN D_OTHER AS VARCHAR(12);\n"
              "CREATE TABLE T (A D_CODE, B D_CODE, C D_CODE, D VARCHAR(12));");
    ExpectScriptAndFindings(
        Joined({Alter("T", "ALTER A TYPE D_CODE"), Alter("T", "ALTER B TYPE D_CODE"),
                {"/* TABLE T */", "ALTER TABLE T", "ALTER D TYPE VARCHAR(12)", ";", ""}}),
        Rows{{"FIELD", "T-A", "different"}, {"FIELD", "T-B", "different"}, {"FIELD", "T-D", "different"}});
    RepairAndRecheck([this] { Check(); });
}

TEST_F(TablesTest, NullFlagNullAgainstZeroIsEqualAndOneAgainstEitherIsNot)
{
    // Dropping a named NOT NULL constraint leaves the column's flag 0, not NULL.
    const char* zeroFlags = "CREATE TABLE T (A INTEGER CONSTRAINT NN_A NOT NULL, B INTEGER CONSTRAINT NN_B NOT NULL,\n"
                            "  C INTEGER, D INTEGER NOT NULL);\n"
                            "COMMIT;\nALTER TABLE T DROP CONSTRAINT NN_A;\nALTER TABLE T DROP CONSTRAINT NN_B;";
    CheckPair(zeroFlags, "CREATE TABLE T (A INTEGER, B INTEGER NOT NULL, C INTEGER NOT NULL, D INTEGER);");
    ExpectScriptAndFindings(
        Joined({Alter("T", "ALTER B SET NOT NULL"), Alter("T", "ALTER C SET NOT NULL"),
                Alter("T", "ALTER D DROP NOT NULL")}),
        Rows{{"FIELD", "T-B", "different"}, {"FIELD", "T-C", "different"}, {"FIELD", "T-D", "different"}});
    RepairAndRecheck([this] { Check(); });
    EXPECT_EQ(LegacyFixes("T", "D").second, Statements{SystemUpdate("T", "D", "RDB$NULL_FLAG = NULL")});
    EXPECT_EQ(LegacyFixes("T", "B").second, Statements{SystemUpdate("T", "B", "RDB$NULL_FLAG = 1")});
    Disconnect();

    // The pair is made again under the same file names: the first must be gone before.
    OldDb.reset();
    NewDb.reset();
    CheckPair("CREATE TABLE T (A INTEGER NOT NULL, B INTEGER, C INTEGER, D INTEGER NOT NULL);", zeroFlags);
    EXPECT_EQ(DM.ScriptLines, Alter("T", "ALTER A DROP NOT NULL"));
    EXPECT_EQ(LegacyFixes("T", "A").second, Statements{SystemUpdate("T", "A", "RDB$NULL_FLAG = 0")});
}

TEST_F(TablesTest, ColumnWhoseDomainAndNullabilityDifferGetsTwoFixesDomainFirst)
{
    CheckPair("CREATE DOMAIN D_CODE AS VARCHAR(12);\nCREATE TABLE T (C VARCHAR(12));",
              "CREATE DOMAIN D_CODE AS VARCHAR(12);\nCREATE TABLE T (C D_CODE NOT NULL);");
    ExpectScriptAndFindings(Joined({Alter("T", "ALTER C TYPE D_CODE"), Alter("T", "ALTER C SET NOT NULL")}),
                            Rows{{"FIELD", "T-C", "different"}, {"FIELD", "T-C", "different"}});
    // Older servers: the system-table row is overwritten, as designed for them.
    EXPECT_EQ(LegacyFixes("T", "C"), std::make_pair(Statements{SystemUpdate("T", "C", "RDB$FIELD_SOURCE = 'D_CODE'")},
                                                    Statements{SystemUpdate("T", "C", "RDB$NULL_FLAG = 1")}));
}

TEST_F(TablesTest, RepairCreatesTablesAddsAndConvertsColumnsSoThatASecondRunFindsNothing)
{
    ConnectPair("CREATE DOMAIN D_ID AS INTEGER;\nCREATE DOMAIN D_CODE AS VARCHAR(12);\n"
                "CREATE TABLE T (ID D_ID, NARROW VARCHAR(20), CODE D_CODE);\n"
                "INSERT INTO T (ID, NARROW, CODE) VALUES (1, 'kept', 'abc');",
                "CREATE DOMAIN D_ID AS INTEGER;\nCREATE DOMAIN D_CODE AS VARCHAR(12);\n"
                "CREATE TABLE T (ID D_ID, NARROW VARCHAR(40), CODE VARCHAR(12), ADDED D_CODE, NOTE CHAR(5));\n"
                "CREATE TABLE ORDERS (ID D_ID NOT NULL, NOTE VARCHAR(80), MEMO BLOB SUB_TYPE 1 SEGMENT SIZE 80);");
    RepairTwice(Rows{{"FIELD", "T-NARROW", "different"}, {"FIELD", "T-CODE", "different"},
                     {"FIELD", "T-ADDED", "not exist"}, {"FIELD", "T-NOTE", "not exist"},
                     {"TABLE", "ORDERS", "not exist"}});
    Disconnect();
    // The converted columns keep their data.
    const std::string row = OldDb->Isql("SELECT NARROW || '/' || CODE FROM T;");
    EXPECT_NE(row.find("kept/abc"), std::string::npos) << row;
}

TEST_F(TablesTest, RefusedNotNullEndsTheRepairWithTheServersMessageAndEarlierFixesStay)
{
    CheckPair("CREATE TABLE T1 (ID INTEGER);\nCREATE TABLE T2 (C INTEGER);\nINSERT INTO T2 (C) VALUES (NULL);",
              "CREATE TABLE T1 (ID INTEGER, EXTRA INTEGER);\nCREATE TABLE T2 (C INTEGER NOT NULL);");
    EXPECT_EQ(DM.ScriptLines, Joined({{"/* TABLE T1 */", "ALTER TABLE T1", "ADD EXTRA INTEGER", ";", ""},
                                      Alter("T2", "ALTER C SET NOT NULL")}));

    EXPECT_EQ(RefusedRepair(), "unsuccessful metadata update\r\nCannot make field C of table T2 NOT NULL because "
                               "there are NULLs present");
    EXPECT_EQ(FindingRows(Rep), (Rows{{"FIELD", "T1-EXTRA", "not exist"}}));
    Disconnect();
    const std::string columns = OldDb->Isql("SELECT 'found:' || COUNT(*) FROM RDB$RELATION_FIELDS\n"
                                            "WHERE RDB$RELATION_NAME='T1' AND RDB$FIELD_NAME='EXTRA';\n"
                                            "SELECT 'flag:' || COALESCE(RDB$NULL_FLAG, 0) FROM RDB$RELATION_FIELDS\n"
                                            "WHERE RDB$RELATION_NAME='T2' AND RDB$FIELD_NAME='C';");
    EXPECT_NE(columns.find("found:1"), std::string::npos) << columns;
    EXPECT_NE(columns.find("flag:0"), std::string::npos) << columns;
}

TEST_F(TablesTest, ImplicitNumericChangeKeepsScaleAndValueAndTheTypeIsWrittenWhole)
{
    CheckPair(
        "CREATE TABLE T (AMOUNT NUMERIC(4,2), PRICE NUMERIC(4,2), BIG INTEGER, CODE CHAR(5) CHARACTER SET UTF8);\n"
        "INSERT INTO T (AMOUNT, PRICE, BIG, CODE) VALUES (12.75, 1.25, 7, 'ab');",
        // Dialect 1 keeps NUMERIC(15,2) as DOUBLE PRECISION with a scale, and no precision. Four
        // bytes a character: the byte length would make CHAR(40) a column of 160 bytes.
        "CREATE TABLE T (AMOUNT NUMERIC(9,2), PRICE DECIMAL(9,3), BIG NUMERIC(15,2),\n"
        "  CODE CHAR(10) CHARACTER SET UTF8);");
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* TABLE T */", "ALTER TABLE T", "ALTER AMOUNT TYPE NUMERIC(9,2)", ";", "",
                                     "/* TABLE T */", "ALTER TABLE T", "ALTER PRICE TYPE DECIMAL(9,3)", ";", "",
                                     "/* TABLE T */", "ALTER TABLE T", "ALTER BIG TYPE NUMERIC(18,2)", ";", "",
                                     "/* TABLE T */", "ALTER TABLE T", "ALTER CODE TYPE CHAR(10) CHARACTER SET UTF8",
                                     ";", ""}));
    RepairAndRecheck([this] { Check(); });
    Disconnect();
    const std::string row = OldDb->Isql("SELECT 'row:' || AMOUNT || '/' || PRICE || '/' || BIG || '/' || CODE || '.' FROM T;");
    EXPECT_NE(row.find("row:12.75/1.250/7.00/ab        ."), std::string::npos) << row;
}

TEST_F(TablesTest, DomainRowThatCannotBeFoundRendersEmptyInsteadOfTheLastRowFound)
{
    ConnectPair("CREATE TABLE T (A INTEGER, B VARCHAR(20));", "CREATE TABLE T (A INTEGER, B INTEGER);");
    RunMode(false);
    TTbl tbl(DM, Rep);
    // Stands for an inconsistent Old Database: only the INTEGER domain rows are there.
    Peer::Fields(tbl, Side::Old).SQL = {"select * from RDB$FIELDS where RDB$FIELD_TYPE=8"};
    tbl.CheckTables(Bar);
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* TABLE T */", "ALTER TABLE T", "ALTER B TYPE INTEGER", ";", ""}));
}

TEST_F(TablesTest, TableColumnAndDomainNamesDifferingOnlyInCaseAreDifferent)
{
    // Only dialect 3 keeps quoted lower-case names.
    OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old",
                                     "CREATE DOMAIN \"d_code\" AS VARCHAR(12);\nCREATE DOMAIN D_CODE AS VARCHAR(12);\n"
                                     "CREATE TABLE \"orders\" (ID INTEGER);\n"
                                     "CREATE TABLE T (ID INTEGER, \"name\" VARCHAR(10), C \"d_code\");",
                                     3);
    NewDb = std::make_unique<TestDb>(CurrentTestName() + "_new",
                                     "CREATE DOMAIN D_CODE AS VARCHAR(12);\nCREATE TABLE ORDERS (ID INTEGER);\n"
                                     "CREATE TABLE T (ID INTEGER, NAME VARCHAR(10), C D_CODE);");
    Connect();
    Check(false);
    ExpectScriptAndFindings(
        Joined({{"/* TABLE ORDERS */", "CREATE TABLE ORDERS", "(", "ID INTEGER", ")", ";", ""},
                {"/* TABLE T */", "ALTER TABLE T", "ADD NAME VARCHAR(10)", ";", ""},
                Alter("T", "ALTER C TYPE D_CODE")}),
        Rows{{"TABLE", "ORDERS", "not exist"}, {"FIELD", "T-NAME", "not exist"}, {"FIELD", "T-C", "different"}});
}

TEST_F(TablesTest, LowerCaseNewTableIsMissingAndItsColumnsAreReadUnderItsOwnName)
{
    OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old", "CREATE TABLE ORDERS (ID INTEGER);");
    NewDb = std::make_unique<TestDb>(CurrentTestName() + "_new",
                                     "CREATE TABLE \"orders\" (\"id\" INTEGER NOT NULL, NOTE VARCHAR(8));", 3);
    Connect();
    Check(false);
    ExpectScriptAndFindings(Lines{"/* TABLE orders */", "CREATE TABLE orders", "(", "id INTEGER NOT NULL,",
                                  "NOTE VARCHAR(8)", ")", ";", ""},
                            Rows{{"TABLE", "orders", "not exist"}});
}

TEST_F(TablesTest, EveryQuotedLiteralDoublesTheQuotesInsideIt)
{
    // Only dialect 3 takes names with a quote in them.
    const std::string both = "CREATE DOMAIN \"D'Q\" AS INTEGER;\nCREATE TABLE \"T'Q\" (ID INTEGER, \"C'Q\" INTEGER);\n";
    OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old", both, 3);
    NewDb = std::make_unique<TestDb>(
        CurrentTestName() + "_new",
        "CREATE DOMAIN \"D'Q\" AS INTEGER;\nCOMMENT ON DOMAIN \"D'Q\" IS 'it''s';\n"
        "CREATE TABLE \"T'Q\" (ID INTEGER, \"C'Q\" \"D'Q\" NOT NULL);\n"
        "DECLARE EXTERNAL FUNCTION F INTEGER RETURNS INTEGER BY VALUE ENTRY_POINT 'e''p' MODULE_NAME 'm''q';",
        3);
    Connect();
    RunMode(false);
    TUDF udf(DM, Rep);
    udf.CheckUDFs(Bar);
    TDmn dmn(DM, Rep);
    dmn.CheckDomains(Bar);
    Lines literals = DM.ScriptLines;
    Peer::Dmn(dmn, Side::New).Open();
    Peer::Dmn(dmn, Side::Old).Open();
    ASSERT_TRUE(Peer::Dmn(dmn, Side::New).Locate("RDB$FIELD_NAME", "D'Q") &&
                Peer::Dmn(dmn, Side::Old).Locate("RDB$FIELD_NAME", "D'Q"));
    for (const Lines& statement : Peer::UpdateDomainStatements(dmn, 11))
        literals.insert(literals.end(), statement.begin(), statement.end());
    Peer::Dmn(dmn, Side::Old).Close();
    Peer::Dmn(dmn, Side::New).Close();
    const auto [domainFix, nullFix] = LegacyFixes("T'Q", "C'Q");
    for (const Statements& fix : {domainFix, nullFix})
        literals.insert(literals.end(), fix.front().begin(), fix.front().end());

    EXPECT_EQ(literals, (Lines{"/* UDF F */", "DECLARE EXTERNAL FUNCTION F", "INTEGER", "RETURNS INTEGER",
                               "ENTRY_POINT 'e''p' MODULE_NAME 'm''q'", ";", "",
                               "/* Domain D'Q */", "COMMENT ON DOMAIN D'Q IS 'it''s'", ";", "",
                               "UPDATE RDB$FIELDS set", "RDB$FIELD_TYPE = 8,", "RDB$FIELD_SUB_TYPE = 0,",
                               "RDB$FIELD_LENGTH = 4,", "RDB$CHARACTER_LENGTH = NULL,", "RDB$DEFAULT_VALUE = NULL,",
                               "RDB$DESCRIPTION = 'it''s',", "RDB$NULL_FLAG = NULL", "WHERE RDB$FIELD_NAME = 'D''Q'",
                               "UPDATE RDB$RELATION_FIELDS set", "RDB$FIELD_SOURCE = 'D''Q'",
                               "WHERE RDB$FIELD_NAME = 'C''Q' and", "RDB$RELATION_NAME ='T''Q'",
                               "UPDATE RDB$RELATION_FIELDS set", "RDB$NULL_FLAG = 1",
                               "WHERE RDB$FIELD_NAME = 'C''Q' and", "RDB$RELATION_NAME ='T''Q'"}));
}
