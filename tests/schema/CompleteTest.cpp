// The complete comparison on real databases: Firebird's sample schema and small pairs of our own.
#include "tests/support/SchemaPair.h"
#include "schema/InspectReader.h"

#include <cstdlib>
#include <set>
#include <sstream>

namespace {

std::string PairSql(const std::string& name)
{
    return FileText(std::string(SCHEMA_PAIRS_DIR) + "/" + name);
}

// A case of the corpus that a test here looks at more closely.
std::string CaseSql(const std::string& name)
{
    return FileText(std::string(SCHEMA_CORPUS_DIR) + "/" + name);
}

class Complete : public ::testing::TestWithParam<int> {};

TEST_P(Complete, EmployeeSampleIsRebuiltWholeInAnEmptyOldByRepairAndByScript)
{
    const int dialect = GetParam();
    const std::string sql = EmployeeSql();
    TestDb newDb(CurrentTestName() + "_new", sql, dialect);
    TestDb oldDb(CurrentTestName() + "_old", "", dialect);
    TestDb scriptDb(CurrentTestName() + "_script", "", dialect);

    Repair(oldDb.Path(), newDb.Path());
    ExpectConverged(oldDb, newDb);

    EXPECT_EQ(RunScript(scriptDb, PlanFor(scriptDb.Path(), newDb.Path())), "");
    ExpectConverged(scriptDb, newDb);
}

INSTANTIATE_TEST_SUITE_P(Dialects, Complete, ::testing::Values(3, 1));

}

namespace {

std::vector<std::string> Statements(const schema::Plan& plan)
{
    std::vector<std::string> statements;
    for (const auto& step : plan.steps)
        statements.push_back(step.sql);
    return statements;
}

TEST(CompletePlan, CyclesGetStubsQuotedNamesQuotesAndComputedColumnsComeLast)
{
    TestDb newDb(CurrentTestName() + "_new", R"(
        CREATE TABLE "Order Line" ("select" INTEGER NOT NULL, QTY INTEGER, "Twice" COMPUTED BY (QTY * 2));
        SET TERM ^ ;
        CREATE FUNCTION F_EVEN (N INTEGER) RETURNS BOOLEAN AS BEGIN RETURN TRUE; END^
        CREATE FUNCTION F_ODD (N INTEGER) RETURNS BOOLEAN AS BEGIN RETURN IIF(N = 0, FALSE, F_EVEN(N - 1)); END^
        ALTER FUNCTION F_EVEN (N INTEGER) RETURNS BOOLEAN AS BEGIN RETURN IIF(N = 0, TRUE, F_ODD(N - 1)); END^
        CREATE PACKAGE P AS BEGIN FUNCTION ONE RETURNS INTEGER; END^
        CREATE PACKAGE BODY P AS BEGIN FUNCTION ONE RETURNS INTEGER AS BEGIN RETURN 1; END END^
        SET TERM ; ^
        GRANT SELECT ON "Order Line" TO PUBLIC;
        COMMENT ON COLUMN "Order Line"."select" IS 'It''s a key';)",
                 3);
    TestDb oldDb(CurrentTestName() + "_old", "", 3);
    const schema::Plan plan = PlanFor(oldDb.Path(), newDb.Path());
    EXPECT_EQ(Statements(plan), (std::vector<std::string>{
        "CREATE TABLE \"Order Line\" (\"select\" INTEGER NOT NULL,\n"
        "    QTY INTEGER,\n"
        "    \"Twice\" BIGINT COMPUTED BY (NULL))",
        "CREATE PACKAGE P\nAS\nBEGIN FUNCTION ONE RETURNS INTEGER; END",
        "CREATE OR ALTER FUNCTION F_EVEN (N INTEGER)\nRETURNS BOOLEAN\nAS\nBEGIN END",
        "CREATE OR ALTER FUNCTION F_ODD (N INTEGER)\nRETURNS BOOLEAN\nAS\nBEGIN END",
        "CREATE PACKAGE BODY P\nAS\nBEGIN FUNCTION ONE RETURNS INTEGER AS BEGIN RETURN 1; END END",
        "ALTER FUNCTION F_EVEN (N INTEGER)\nRETURNS BOOLEAN\nAS\nBEGIN RETURN IIF(N = 0, TRUE, F_ODD(N - 1)); END",
        "ALTER FUNCTION F_ODD (N INTEGER)\nRETURNS BOOLEAN\nAS\nBEGIN RETURN IIF(N = 0, FALSE, F_EVEN(N - 1)); END",
        "ALTER TABLE \"Order Line\" ALTER \"Twice\" TYPE BIGINT COMPUTED BY (QTY * 2)",
        "GRANT SELECT ON \"Order Line\" TO PUBLIC",
        "COMMENT ON COLUMN \"Order Line\".\"select\" IS 'It''s a key'",
    }));
    Repair(oldDb.Path(), newDb.Path());
    ExpectConverged(oldDb, newDb);
}

// The engine the tests run on makes the databases: Firebird 3 (ODS 12.0) unless the run names
// another in VORKAT_EXPECT_ODS, as the Firebird 4 and 5 runs do (130, 131).
TEST(CompleteEngineUnderTest, MakesDatabasesOfTheOnDiskStructureTheRunExpects)
{
    const char* expected = std::getenv("VORKAT_EXPECT_ODS");
    TestDb db(CurrentTestName(), "", 3);
    std::string ods = db.Isql("SET HEADING OFF; SELECT MON$ODS_MAJOR * 10 + MON$ODS_MINOR FROM MON$DATABASE;");
    std::erase_if(ods, [](char ch) { return ch == ' ' || ch == '\n'; });
    EXPECT_EQ(ods, expected ? expected : "120");
    // Firebird 5 lists the words it reserves; the others do not.
    const schema::Schema read = InspectFile(db.Path());
    EXPECT_EQ(read.reservedWords.count("WINDOW"), ods == "131" ? 1u : 0u);
    EXPECT_EQ(read.reservedWords.count("NAME"), 0u);
}

// Grants and dependencies carry object types by number, and Firebird 4 numbers those from 20 up
// one higher: read by Firebird 3's numbers, a privilege on a kind of object is the same grant
// on either server.
TEST(CompleteEngineUnderTest, ObjectTypesAreReadByFirebird3sNumbers)
{
    using schema::inspect::ObjectTypeOf;
    EXPECT_EQ(ObjectTypeOf(21, 12), 21);  // SQL$TABLES on Firebird 3
    EXPECT_EQ(ObjectTypeOf(22, 13), 21);  // and on Firebird 4
    EXPECT_EQ(ObjectTypeOf(24, 13), 23);  // SQL$PROCEDURES
    EXPECT_EQ(ObjectTypeOf(19, 13), 19);  // a package body
    EXPECT_EQ(ObjectTypeOf(20, 13), schema::inspect::kPrivilegeObjectType);
    TestDb db(CurrentTestName(), "GRANT CREATE TABLE TO USER U1; GRANT ALTER ANY PROCEDURE TO PUBLIC;", 3);
    std::vector<std::string> grants;
    for (const auto& [key, g] : InspectFile(db.Path()).grants)
        if (!DdlPrivilege(g).empty())
            grants.push_back(std::to_string(g.objectType) + " " + schema::GrantTitle(g));
    EXPECT_EQ(grants, (std::vector<std::string>{"21 CREATE TABLE TO U1", "23 ALTER ANY PROCEDURE TO PUBLIC"}));
}

TEST(CompletePlan, ANameThatNeedsQuotesIsRefusedForADialectOneOldByName)
{
    TestDb newDb(CurrentTestName() + "_new", "CREATE TABLE \"lower\" (A INTEGER);", 3);
    TestDb oldDb(CurrentTestName() + "_old", "", 1);
    try {
        PlanFor(oldDb.Path(), newDb.Path());
        ADD_FAILURE() << "planned";
    } catch (const schema::DdlError& error) {
        EXPECT_STREQ(error.what(), "TABLE lower: The name lower needs quotes, which SQL dialect 1 cannot write");
    }
}

TEST(CompleteRepair, ARefusedStatementLeavesOldAsItWasAndNamesTheObject)
{
    // Old's rows break New's key; the server finds out when it builds the index, at the commit.
    TestDb newDb(CurrentTestName() + "_new",
                 "CREATE DOMAIN D_NEW AS INTEGER; CREATE TABLE T (A INTEGER, CONSTRAINT UQ_A UNIQUE (A));", 3);
    TestDb oldDb(CurrentTestName() + "_old",
                 "CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1); INSERT INTO T VALUES (1);", 3);
    const schema::Schema before = InspectFile(oldDb.Path());
    const std::string extractBefore = Extract(oldDb.Path());
    try {
        Repair(oldDb.Path(), newDb.Path());
        ADD_FAILURE() << "repaired";
    } catch (const DbError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("refused at the commit: violation of PRIMARY or UNIQUE KEY constraint \"UQ_A\"", 0),
                  0u) << error.what();
    }
    EXPECT_TRUE(InspectFile(oldDb.Path()).SameObjects(before));
    EXPECT_EQ(Extract(oldDb.Path()), extractBefore);
}

}

namespace {

// The corpus repairs this pair; here each difference must show as its own row, and the script
// must run through isql as well.
TEST(CompleteDrift, EveryDifferenceIsARowAndWithDropTheScriptMendsThemInPlace)
{
    TestDb newDb(CurrentTestName() + "_new", CaseSql("every_property_drifts/new.sql"), 3);
    TestDb oldDb(CurrentTestName() + "_old", CaseSql("every_property_drifts/old.sql"), 3);
    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    EXPECT_EQ(ChangeRows(compared.changes, "\t"), (std::vector<std::string>{
        "GENERATOR\tSEQ_A\tdifferent: increment 1 -> 2",
        "EXCEPTION\tE_A\tdifferent: message old text -> new text",
        "DOMAIN\tD_AMOUNT\tdifferent: type NUMERIC(9, 2) -> NUMERIC(10, 2)",
        "DOMAIN\tD_AMOUNT\tdifferent: default 0 -> 1",
        "DOMAIN\tD_AMOUNT\tdifferent: check",
        "TABLE\tITEMS\tdifferent: comment Old comment -> New comment",
        "FIELD\tITEMS.NAME\tdifferent: type VARCHAR(20) CHARACTER SET NONE -> VARCHAR(40) CHARACTER SET NONE",
        "FIELD\tITEMS.CODE\tdifferent: type SMALLINT -> INTEGER",
        "FIELD\tITEMS.QTY\tdifferent: default 1 -> 2",
        "FIELD\tITEMS.STATUS\tdifferent: nullability null -> not null",
        "FIELD\tEMPTY_ONE.FLAG\tdifferent: type CHAR(1) CHARACTER SET NONE -> BOOLEAN",
        "VIEW\tV_ITEMS\tdifferent: columns ID, NAME, CODE, PRICE -> ID, NAME, CODE, PRICE, QTY",
        "VIEW\tV_ITEMS\tdifferent: source",
        "PACKAGE\tPK\tdifferent: body",
        "PROCEDURE\tP_NAMES\tdifferent: source",
        "CONSTRAINT\tITEMS CHECK\tdifferent: definition ALTER TABLE ITEMS ADD CHECK (QTY > 0) -> "
        "ALTER TABLE ITEMS ADD CHECK (QTY > 0 AND QTY < 1000)",
        "INDEX\tIX_ITEMS_NAME\tdifferent: definition CREATE INDEX IX_ITEMS_NAME ON ITEMS (NAME) -> "
        "CREATE UNIQUE DESCENDING INDEX IX_ITEMS_NAME ON ITEMS (NAME)",
        "TRIGGER\tITEMS_BI\tdifferent: state active -> inactive",
        "GRANT\tSELECT ON ITEMS TO PUBLIC\tdifferent: grant option without -> with",
        "FIELD\tITEMS.OBSOLETE\tonly in Old",
    }));

    // The table without rows takes its column of another type family dropped and added again.
    const schema::Plan plan =
        PlanOf(compared, true, schema::PlanOptions{.rowCounts = CheckOld(oldDb.Path(), compared, true).rowCounts});
    EXPECT_EQ(plan.notMended, std::vector<std::string>{});
    EXPECT_EQ(RunScript(oldDb, plan), "");
    ExpectConverged(oldDb, newDb);
}

}

namespace {

TEST(CompleteSafety, OldRowsThatAStatementWouldRefuseOrSpoilAreCountedBeforeAnythingRuns)
{
    TestDb newDb(CurrentTestName() + "_new", R"(
        CREATE DOMAIN D_SET AS INTEGER NOT NULL;
        CREATE TABLE P (ID INTEGER NOT NULL PRIMARY KEY, D D_SET);
        CREATE TABLE T (A INTEGER, B VARCHAR(3), C INTEGER NOT NULL, R INTEGER, N INTEGER NOT NULL,
            CONSTRAINT UQ_T UNIQUE (A), CONSTRAINT FK_T FOREIGN KEY (R) REFERENCES P (ID), CONSTRAINT CK_T CHECK (A > 1));)",
                 3);
    TestDb oldDb(CurrentTestName() + "_old", R"(
        CREATE DOMAIN D_SET AS INTEGER;
        CREATE TABLE P (ID INTEGER NOT NULL PRIMARY KEY, D D_SET);
        INSERT INTO P VALUES (7, NULL);
        CREATE TABLE T (A INTEGER, B VARCHAR(10), C INTEGER, R INTEGER);
        INSERT INTO T VALUES (1, 'long text', NULL, 5);
        INSERT INTO T VALUES (1, 'x', NULL, 6);)",
                 3);
    const schema::SafetyResult result = CheckOld(oldDb.Path(), Compare(oldDb.Path(), newDb.Path()), false);
    EXPECT_EQ(IssueRows(result.issues), (std::vector<std::string>{
        "FIELD T.N: would fail: 2 rows of T have N NULL",
        "CONSTRAINT UQ_T: would fail: 1 value of (A) in T repeats",
        "CONSTRAINT FK_T: would fail: 2 rows of T have no match in P",
        "CONSTRAINT CK_T: would fail: 2 rows of T break CHECK (A > 1)",
        "DOMAIN D_SET: would fail: 1 row of P has D NULL",
        "FIELD T.C: would fail: 2 rows of T have C NULL",
        "FIELD T.B: would fail: 1 row of T has B longer than 3 characters",
    }));
}

}

TEST(CompleteSafety, ADomainsNewCheckIsTriedOnTheRowsOfEveryColumnOfTheDomain)
{
    TestDb newDb(CurrentTestName() + "_new", R"(
        CREATE DOMAIN D_POS AS INTEGER CHECK (VALUE > 0 AND 'VALUE' STARTING WITH 'V');
        CREATE TABLE T ("value" INTEGER, A D_POS, B D_POS);
        CREATE TABLE U (C D_POS);)",
                 3);
    TestDb oldDb(CurrentTestName() + "_old", R"(
        CREATE DOMAIN D_POS AS INTEGER;
        CREATE TABLE T ("value" INTEGER, A D_POS, B D_POS);
        CREATE TABLE U (C D_POS);
        INSERT INTO T VALUES (1, -3, 4);
        INSERT INTO T VALUES (1, NULL, -1);
        INSERT INTO T VALUES (1, 0, 0);
        INSERT INTO U VALUES (5);)",
                 3);
    const std::string check = "CHECK (VALUE > 0 AND 'VALUE' STARTING WITH 'V')";
    const schema::SafetyResult result = CheckOld(oldDb.Path(), Compare(oldDb.Path(), newDb.Path()), false);
    EXPECT_EQ(IssueRows(result.issues), (std::vector<std::string>{
        "DOMAIN D_POS: would fail: 2 rows of T have A that break " + check,
        "DOMAIN D_POS: would fail: 2 rows of T have B that break " + check,
    }));
}

namespace {

TEST_P(Complete, ADriftedEmployeeSampleConvergesWithDrop)
{
    const int dialect = GetParam();
    const std::string sql = EmployeeSql();
    TestDb newDb(CurrentTestName() + "_new", sql, dialect);
    TestDb oldDb(CurrentTestName() + "_old", sql + PairSql("employee_drift.sql"), dialect);
    const schema::Plan plan = PlanFor(oldDb.Path(), newDb.Path(), true);
    EXPECT_EQ(plan.notMended, std::vector<std::string>{});
    std::set<std::string> mended;
    for (const auto& step : plan.steps)
        mended.insert(StepRow(step));
    EXPECT_EQ(mended, (std::set<std::string>{
        "DOMAIN JOBGRADE", "DOMAIN SALARY", "EXCEPTION CUSTOMER_CHECK",
        "FIELD CUSTOMER.ON_HOLD", "FIELD EMPLOYEE.EMP_NO", "FIELD EMPLOYEE.FIRST_NAME", "FIELD EMPLOYEE.LAST_NAME",
        "FIELD EMPLOYEE.PHONE_EXT", "FIELD EMPLOYEE.HIRE_DATE", "FIELD EMPLOYEE.DEPT_NO", "FIELD EMPLOYEE.JOB_CODE",
        "FIELD EMPLOYEE.JOB_GRADE", "FIELD EMPLOYEE.JOB_COUNTRY", "FIELD EMPLOYEE.SALARY", "FIELD EMPLOYEE.FULL_NAME",
        "FIELD PROJECT.LEGACY_CODE", "FIELD SALES.QTY_ORDERED", "GRANT DELETE ON COUNTRY TO PUBLIC",
        // The view's drop took its grants along; they come back with it.
        "GRANT DELETE ON PHONE_LIST TO PUBLIC", "GRANT INSERT ON PHONE_LIST TO PUBLIC",
        "GRANT REFERENCES ON PHONE_LIST TO PUBLIC", "GRANT SELECT ON PHONE_LIST TO PUBLIC",
        "GRANT UPDATE ON PHONE_LIST TO PUBLIC", "INDEX MINSALX", "INDEX NAMEX", "PROCEDURE GET_EMP_PROJ", "TABLE EMPLOYEE", "TABLE OLD_ONLY",
        "TRIGGER SET_CUST_NO", "VIEW PHONE_LIST"}));
    ApplyTo(oldDb.Path(), plan);
    ExpectConverged(oldDb, newDb);
}

}

namespace {

// Text that isql would turn into '?' goes in through the statement layer, in UTF-8 as a
// client of such a database would send it.
void Execute(const std::string& path, const std::vector<std::string>& statements)
{
    Attached a(path);
    a.tran.StartTransaction();
    Statement statement(a.db, a.tran);
    for (const auto& sql : statements)
        statement.ExecuteText(sql, 3);
    a.tran.Commit();
}

class CompleteCharsets : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(CompleteCharsets, TextReachesOldByteForByte)
{
    const auto [charset, word] = GetParam();
    const std::string create = std::string("CREATE DOMAIN D_TEXT AS VARCHAR(20) CHARACTER SET ") + charset + ";";
    TestDb newDb(CurrentTestName() + "_new", create, 3);
    TestDb oldDb(CurrentTestName() + "_old", "", 3);
    const std::string w = word;
    Execute(newDb.Path(), {
        "CREATE EXCEPTION E_WORD 'says " + w + "'",
        "CREATE TABLE T (A D_TEXT DEFAULT '" + w + "', B VARCHAR(10) CHARACTER SET " + charset + ")",
        "COMMENT ON TABLE T IS 'about " + w + "'",
        "CREATE PROCEDURE P RETURNS (X VARCHAR(20) CHARACTER SET " + std::string(charset) +
            ") AS BEGIN /* " + w + " */ X = '" + w + "'; SUSPEND; END",
    });
    Repair(oldDb.Path(), newDb.Path());
    const schema::Schema old = InspectFile(oldDb.Path());
    EXPECT_TRUE(old.SameObjects(InspectFile(newDb.Path())));
    EXPECT_EQ(old.exceptions.at("E_WORD").message, "says " + w);
    EXPECT_EQ(old.relations.at("T").description, "about " + w);
    EXPECT_EQ(old.relations.at("T").columns.at(0).defaultSource, "DEFAULT '" + w + "'");
}

INSTANTIATE_TEST_SUITE_P(Texts, CompleteCharsets,
                         ::testing::Values(std::make_pair("UTF8", "Gr\xC3\xBC\xC3\x9F" "e \xD0\x96"),
                                           std::make_pair("WIN1251", "\xD0\x96\xD0\xB8\xD0\xB2\xD0\xBE"),
                                           std::make_pair("WIN1252", "Gr\xC3\xBC\xC3\x9F" "e")));

}

namespace {

TEST(CompletePlan, AKindTheModelDoesNotKnowIsNamedAndLeftAlone)
{
    TestDb newDb(CurrentTestName() + "_new",
                 "DECLARE FILTER DESC_FILTER INPUT_TYPE 1 OUTPUT_TYPE -4 ENTRY_POINT 'desc' MODULE_NAME 'filters';", 3);
    TestDb oldDb(CurrentTestName() + "_old", "", 3);
    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    EXPECT_EQ(ChangeRows(compared.changes, "\t"),
              std::vector<std::string>{
                  "BLOB FILTER\tDESC_FILTER\tnot compared: a kind of object the complete comparison does not know"});
    const schema::Plan plan = PlanOf(compared);
    EXPECT_TRUE(plan.steps.empty());
    EXPECT_EQ(plan.notMended, std::vector<std::string>{
                                  "BLOB FILTER DESC_FILTER: this comparison cannot create it; create it by hand"});
}

}

namespace {

schema::Plan ForcedPlan(const std::string& oldPath, const std::string& newPath, bool force)
{
    const Compared compared = Compare(oldPath, newPath);
    schema::PlanOptions options;
    options.rowCounts = CheckOld(oldPath, compared, false).rowCounts;
    options.force = force;
    return PlanOf(compared, false, options);
}

TEST(CompleteMigration, AColumnOfAnotherTypeFamilyIsRebuiltOnlyWithForceAndKeepsItsValues)
{
    const std::string oldSql = "CREATE TABLE T (ID INTEGER NOT NULL, FLAG CHAR(5), NOTE VARCHAR(5));";
    TestDb newDb(CurrentTestName() + "_new",
                 "CREATE TABLE T (ID INTEGER NOT NULL, FLAG BOOLEAN, NOTE VARCHAR(5));"
                 "COMMENT ON COLUMN T.FLAG IS 'Yes or no';", 3);
    TestDb oldDb(CurrentTestName() + "_old", oldSql + "INSERT INTO T VALUES (1, 'TRUE', 'a'); INSERT INTO T VALUES (2, 'FALSE', 'b');", 3);
    EXPECT_EQ(ForcedPlan(oldDb.Path(), newDb.Path(), false).notMended,
              std::vector<std::string>{"FIELD T.FLAG: needs a data migration: 2 rows of T"});

    {
        const schema::Plan plan = ForcedPlan(oldDb.Path(), newDb.Path(), true);
        ASSERT_EQ(plan.migrations.size(), 1u);
        EXPECT_EQ(plan.migrations[0].copy, std::vector<std::string>{"UPDATE T SET VK$COPY_1 = CAST(FLAG AS BOOLEAN)"});
        ApplyTo(oldDb.Path(), plan);
    }
    ExpectConverged(oldDb, newDb);
    EXPECT_EQ(oldDb.Isql("SELECT ID, FLAG, NOTE FROM T ORDER BY ID;"),
              "\n          ID    FLAG NOTE   \n============ ======= ====== \n"
              "           1 <true>  a      \n           2 <false> b      \n\n");

    // Values the new type cannot take leave Old as it was.
    TestDb badDb(CurrentTestName() + "_bad", oldSql + "INSERT INTO T VALUES (1, 'maybe', 'a');", 3);
    const std::string before = Extract(badDb.Path());
    EXPECT_THROW(ApplyTo(badDb.Path(), ForcedPlan(badDb.Path(), newDb.Path(), true)), DbError);
    EXPECT_EQ(Extract(badDb.Path()), before);
}

// The server drops no column a key, an index or a foreign key uses: the one transaction drops
// them, puts each copy in its column's place, and makes them again.
TEST(CompleteMigration, KeysIndicesAndReferencesOnAMigratedColumnAreMadeAgainAroundIt)
{
    TestDb newDb(CurrentTestName() + "_new", R"(
        CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, CODE INTEGER, NOTE INTEGER, CONSTRAINT UQ_NOTE UNIQUE (NOTE));
        CREATE INDEX IX_CODE ON T (CODE);
        CREATE TABLE R (ID INTEGER, NOTE INTEGER REFERENCES T (NOTE));)",
                 3);
    TestDb oldDb(CurrentTestName() + "_old", R"(
        CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, CODE VARCHAR(10), NOTE VARCHAR(10), CONSTRAINT UQ_NOTE UNIQUE (NOTE));
        CREATE INDEX IX_CODE ON T (CODE);
        CREATE TABLE R (ID INTEGER, NOTE VARCHAR(10) REFERENCES T (NOTE));
        INSERT INTO T VALUES (1, '12', '5');
        INSERT INTO T VALUES (2, '13', '6');
        INSERT INTO R VALUES (1, '5');)",
                 3);
    const schema::Plan plan = ForcedPlan(oldDb.Path(), newDb.Path(), true);
    ASSERT_EQ(plan.migrations.size(), 3u);
    EXPECT_EQ(Statements(plan), (std::vector<std::string>{
        "ALTER TABLE R DROP CONSTRAINT INTEG_3",
        "ALTER TABLE T DROP CONSTRAINT UQ_NOTE",
        "DROP INDEX IX_CODE",
        "ALTER TABLE T DROP CODE",
        "ALTER TABLE T DROP NOTE",
        "ALTER TABLE R DROP NOTE",
        "ALTER TABLE T ALTER VK$COPY_1 TO CODE",
        "ALTER TABLE T ALTER VK$COPY_2 TO NOTE",
        "ALTER TABLE R ALTER VK$COPY_3 TO NOTE",
        "ALTER TABLE T ALTER CODE POSITION 2",
        "ALTER TABLE T ALTER NOTE POSITION 3",
        "ALTER TABLE R ALTER NOTE POSITION 2",
        "ALTER TABLE T ADD CONSTRAINT UQ_NOTE UNIQUE (NOTE) USING INDEX UQ_NOTE",
        "ALTER TABLE R ADD FOREIGN KEY (NOTE) REFERENCES T (NOTE)",
        "CREATE INDEX IX_CODE ON T (CODE)",
    }));
    ApplyTo(oldDb.Path(), plan);
    ExpectConverged(oldDb, newDb);
    EXPECT_EQ(oldDb.Isql("SET HEADING OFF; SELECT T.CODE + T.NOTE FROM T JOIN R ON R.NOTE = T.NOTE;"),
              "\n                   17 \n\n");
}

// A copy column is only ever left by a migration that stopped half way; the column it copied
// still holds the values, and the next run drops the copy, --drop or not.
TEST(CompleteMigration, ACopyColumnAnInterruptedMigrationLeftIsDroppedAndTheMigrationRunsAgain)
{
    TestDb newDb(CurrentTestName() + "_new", "CREATE TABLE T (ID INTEGER, CODE INTEGER);", 3);
    TestDb oldDb(CurrentTestName() + "_old",
                 "CREATE TABLE T (ID INTEGER, CODE VARCHAR(10), VK$COPY_1 INTEGER); INSERT INTO T VALUES (1, '12', 99);",
                 3);
    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    EXPECT_EQ(ChangeRows(compared.changes), (std::vector<std::string>{
        "FIELD T.CODE different: type VARCHAR(10) CHARACTER SET NONE -> INTEGER",
        "FIELD T.VK$COPY_1 left by an interrupted data migration: dropped",
    }));
    const schema::Plan plan = ForcedPlan(oldDb.Path(), newDb.Path(), true);
    ASSERT_EQ(plan.migrations.size(), 1u);
    EXPECT_EQ(plan.migrations[0].add, std::vector<std::string>{"ALTER TABLE T ADD VK$COPY_2 INTEGER"});
    ASSERT_EQ(plan.steps.size(), 4u);
    EXPECT_EQ(plan.steps[0].sql, "ALTER TABLE T DROP VK$COPY_1");
    ApplyTo(oldDb.Path(), plan);
    ExpectConverged(oldDb, newDb);
    EXPECT_EQ(oldDb.Isql("SET HEADING OFF; SELECT CODE FROM T;"), "\n          12 \n\n");
}

// A new start value restarts a generator on Firebird 3: only one that has handed out nothing is
// restarted; one that has would give its values again. From Firebird 4 on, the server keeps the
// start a sequence was made with.
TEST(CompleteMigration, AGeneratorGetsANewStartOnlyWhileItHasHandedOutNothing)
{
    TestDb newDb(CurrentTestName() + "_new", "CREATE SEQUENCE G_FRESH START WITH 100; CREATE SEQUENCE G_USED START WITH 100;", 3);
    TestDb oldDb(CurrentTestName() + "_old",
                 "CREATE SEQUENCE G_FRESH START WITH 5; CREATE SEQUENCE G_USED START WITH 5; COMMIT; "
                 "SELECT NEXT VALUE FOR G_USED FROM RDB$DATABASE; SELECT NEXT VALUE FOR G_USED FROM RDB$DATABASE;",
                 3);
    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    const schema::SafetyResult safety = CheckOld(oldDb.Path(), compared, false);
    const schema::Plan plan = PlanOf(compared, false, {.generatorValues = safety.generatorValues});
    if (compared.old.odsMajor >= 13) {
        // A fresh sequence stands one step before its start.
        EXPECT_EQ(safety.generatorValues, (std::map<std::string, long long>{{"G_FRESH", 4}, {"G_USED", 6}}));
        EXPECT_TRUE(plan.steps.empty());
        EXPECT_EQ(plan.notMended, (std::vector<std::string>{
                                      "GENERATOR G_FRESH: the server keeps a sequence's start value from when it was made",
                                      "GENERATOR G_USED: the server keeps a sequence's start value from when it was made"}));
        return;
    }
    EXPECT_EQ(safety.generatorValues, (std::map<std::string, long long>{{"G_FRESH", 5}, {"G_USED", 7}}));
    ASSERT_EQ(plan.steps.size(), 1u);
    EXPECT_EQ(plan.steps[0].sql, "ALTER SEQUENCE G_FRESH RESTART WITH 100");
    EXPECT_EQ(plan.notMended, std::vector<std::string>{"GENERATOR G_USED: a new start value restarts it, and it has "
                                                       "handed out values: it stands at 7"});
    ApplyTo(oldDb.Path(), plan);
    EXPECT_EQ(oldDb.Isql("SET HEADING OFF; SELECT GEN_ID(G_USED, 0), GEN_ID(G_FRESH, 0) FROM RDB$DATABASE;"),
              "\n                    7                   100 \n\n");
}

// The copy rewrites every row: the table's triggers on UPDATE are made inactive for it, so that
// they change no other column, and active again after it.
TEST(CompleteMigration, TheCopyFiresNoTriggerAndLeavesTheOtherColumnsAsTheyWere)
{
    const std::string triggers = R"(
        SET TERM ^ ;
        CREATE TRIGGER T_BU FOR T ACTIVE BEFORE UPDATE POSITION 0 AS BEGIN NEW.CHANGED = 'by trigger'; END^
        CREATE TRIGGER T_AIU FOR T ACTIVE AFTER INSERT OR UPDATE POSITION 0 AS BEGIN INSERT INTO LOG VALUES (NEW.ID); END^
        CREATE TRIGGER T_BI FOR T ACTIVE BEFORE INSERT POSITION 0 AS BEGIN END^
        SET TERM ; ^)";
    TestDb newDb(CurrentTestName() + "_new",
                 "CREATE TABLE LOG (ID INTEGER); CREATE TABLE T (ID INTEGER, CODE INTEGER, CHANGED VARCHAR(20));" +
                     triggers,
                 3);
    TestDb oldDb(CurrentTestName() + "_old",
                 "CREATE TABLE LOG (ID INTEGER); CREATE TABLE T (ID INTEGER, CODE VARCHAR(10), CHANGED VARCHAR(20));"
                 "INSERT INTO T VALUES (1, '12', 'by hand'); COMMIT;" + triggers,
                 3);
    const schema::Plan plan = ForcedPlan(oldDb.Path(), newDb.Path(), true);
    ASSERT_EQ(plan.migrations.size(), 1u);
    EXPECT_EQ(plan.migrations[0].add, (std::vector<std::string>{"ALTER TABLE T ADD VK$COPY_1 INTEGER",
                                                                "ALTER TRIGGER T_AIU INACTIVE", "ALTER TRIGGER T_BU INACTIVE"}));
    EXPECT_EQ(plan.migrations[0].restore,
              (std::vector<std::string>{"ALTER TRIGGER T_AIU ACTIVE", "ALTER TRIGGER T_BU ACTIVE"}));
    ApplyTo(oldDb.Path(), plan);
    ExpectConverged(oldDb, newDb);
    EXPECT_EQ(oldDb.Isql("SET HEADING OFF; SELECT ID, CODE, CHANGED FROM T; SELECT COUNT(*) FROM LOG;"),
              "\n           1           12 by hand              \n\n\n                    0 \n\n");
}

// The copy rewrites every row, and the server tries the table's CHECKs on each: rows that Old
// let in before its CHECK came are named before anything runs, and refuse the forced migration.
TEST(CompleteMigration, RowsThatBreakOldsOwnChecksAreNamedBeforeAMigrationRewritesThem)
{
    TestDb newDb(CurrentTestName() + "_new",
                 "CREATE DOMAIN D_POSITIVE AS INTEGER CHECK (VALUE > 0);"
                 "CREATE TABLE T (ID INTEGER, CODE INTEGER, QTY INTEGER, N D_POSITIVE, CONSTRAINT CK_QTY CHECK (QTY < 10));",
                 3);
    TestDb oldDb(CurrentTestName() + "_old",
                 "CREATE DOMAIN D_POSITIVE AS INTEGER; CREATE TABLE T (ID INTEGER, CODE VARCHAR(10), QTY INTEGER, N D_POSITIVE);"
                 "INSERT INTO T VALUES (1, '12', 50, -1); INSERT INTO T VALUES (2, '13', 5, 1); COMMIT;"
                 "ALTER TABLE T ADD CONSTRAINT CK_QTY CHECK (QTY < 10); ALTER DOMAIN D_POSITIVE ADD CHECK (VALUE > 0);",
                 3);
    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    EXPECT_EQ(IssueRows(CheckOld(oldDb.Path(), compared, false).issues), std::vector<std::string>{});
    const schema::SafetyResult safety = CheckOld(oldDb.Path(), compared, false, true);
    EXPECT_EQ(IssueRows(safety.issues),
              (std::vector<std::string>{
                  "FIELD T.CODE: would fail: a data migration rewrites every row of T, and 1 row breaks CHECK (QTY < 10)",
                  "FIELD T.CODE: would fail: a data migration rewrites every row of T, and 1 row breaks CHECK (VALUE > 0) of N"}));
    const std::string before = Extract(oldDb.Path());
    EXPECT_THROW(ApplyTo(oldDb.Path(), ForcedPlan(oldDb.Path(), newDb.Path(), true)), DbError);
    EXPECT_EQ(Extract(oldDb.Path()), before);
}

// The one transaction takes out what uses the column, the views among them, and makes them again.
TEST(CompleteMigration, AColumnAViewUsesIsMigratedAndTheViewMadeAgain)
{
    TestDb newDb(CurrentTestName() + "_new", "CREATE TABLE T (ID INTEGER, CODE INTEGER); CREATE VIEW V AS SELECT CODE FROM T;", 3);
    TestDb oldDb(CurrentTestName() + "_old",
                 "CREATE TABLE T (ID INTEGER, CODE VARCHAR(10)); CREATE VIEW V AS SELECT CODE FROM T; "
                 "INSERT INTO T VALUES (1, '12');",
                 3);
    const schema::Plan plan = ForcedPlan(oldDb.Path(), newDb.Path(), true);
    EXPECT_EQ(Statements(plan), (std::vector<std::string>{"DROP VIEW V", "ALTER TABLE T DROP CODE",
                                                    "ALTER TABLE T ALTER VK$COPY_1 TO CODE",
                                                    "ALTER TABLE T ALTER CODE POSITION 2",
                                                    "CREATE VIEW V (CODE) AS\nSELECT CODE FROM T"}));
    ApplyTo(oldDb.Path(), plan);
    ExpectConverged(oldDb, newDb);
    EXPECT_EQ(oldDb.Isql("SET HEADING OFF; SELECT CODE + 1 FROM V;"), "\n                   13 \n\n");
}

// Refused, the one transaction leaves every migrated column as it was, and their copies go.
TEST(CompleteMigration, AOneTransactionTheServerRefusesTakesTheCopyColumnsOutAgain)
{
    TestDb newDb(CurrentTestName() + "_new", "CREATE TABLE T (ID INTEGER, CODE INTEGER, U INTEGER UNIQUE);", 3);
    TestDb oldDb(CurrentTestName() + "_old",
                 "CREATE TABLE T (ID INTEGER, CODE VARCHAR(10), U INTEGER); "
                 "INSERT INTO T VALUES (1, '12', 7); INSERT INTO T VALUES (2, '13', 7);",
                 3);
    const std::string before = Extract(oldDb.Path());
    const schema::Plan plan = ForcedPlan(oldDb.Path(), newDb.Path(), true);
    ASSERT_EQ(plan.migrations.size(), 1u);
    try {
        ApplyTo(oldDb.Path(), plan);
        ADD_FAILURE() << "the server took a UNIQUE key over duplicate values";
    } catch (const DbError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("refused at the commit: violation of PRIMARY or UNIQUE KEY", 0), 0u)
            << error.what();
    }
    EXPECT_EQ(Extract(oldDb.Path()), before);
    EXPECT_EQ(oldDb.Isql("SET HEADING OFF; SELECT CODE FROM T ORDER BY ID;"), "\n12         \n13         \n\n");
}

}

namespace {

TEST(CompletePlan, TextThatIsNotUtf8IsRefusedBeforeAnythingRunsAndNamesItsObject)
{
    TestDb newDb(CurrentTestName() + "_new", "", 3);
    TestDb oldDb(CurrentTestName() + "_old", "", 3);
    {
        // A client that spoke NONE stored these bytes as they were.
        Connection db;
        db.SetDatabaseName(newDb.Path());
        db.SetParamValue("user_name", "SYSDBA");
        db.SetParamValue("password", "x");
        db.Open();
        Transaction tran(db);
        tran.StartTransaction();
        Statement(db, tran).ExecuteText("CREATE EXCEPTION E_BYTES 'caf\xE9'", 3);
        tran.Commit();
        db.Close();
    }
    try {
        PlanFor(oldDb.Path(), newDb.Path());
        ADD_FAILURE() << "planned";
    } catch (const schema::DdlError& error) {
        EXPECT_STREQ(error.what(), "EXCEPTION E_BYTES: its text holds bytes that are not valid UTF-8");
    }
}

}
