// The export and files as New on real databases: the employee sample, the corpus of real schemas,
// and small schemas of our own.
#include "db/Connection.h"
#include "schema/Export.h"
#include "schema/Inspect.h"
#include "schema/SchemaSource.h"
#include "tests/support/SchemaPair.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

schema::ExportedFiles ExportOf(const std::string& path)
{
    Attached a(path);
    schema::ExportedFiles files = schema::ExportDatabase(a.db, a.tran);
    a.tran.Commit();
    return files;
}

std::vector<std::string> Paths(const schema::ExportedFiles& files)
{
    std::vector<std::string> paths;
    for (const auto& entry : files)
        paths.push_back(entry.first);
    return paths;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Folder(const std::string& name)
{
    return TestFolder() + "/" + CurrentTestName() + "_" + name;
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Old, empty, repaired against the built database: the same catalog and extract, nothing to
// differ, and the same export as the folder's.
void ExpectRepairedFromBuilt(const std::string& built, const schema::ExportedFiles& files, int dialect)
{
    TestDb old(CurrentTestName() + "_old", "", dialect);
    Repair(old.Path(), built);
    const Compared compared = Compare(old.Path(), built);
    EXPECT_TRUE(compared.old.SameObjects(compared.neu));
    EXPECT_EQ(ChangeRows(compared.changes), std::vector<std::string>{});
    EXPECT_EQ(Extract(old.Path()), Extract(built));
    EXPECT_EQ(ExportOf(old.Path()), files);
}

// Export, write, build from the folder, export again; then Old repaired against the build.
void ExpectRoundTrip(const std::string& source, int dialect)
{
    const schema::ExportedFiles files = ExportOf(source);
    EXPECT_EQ(ExportOf(source), files);
    const std::string dir = Folder("export");
    schema::WriteExport(dir, files);
    EXPECT_EQ(schema::ReadExport(dir), files);

    const schema::BuiltDatabase built = schema::BuildFromFiles(dir);
    EXPECT_EQ(ExportOf(built.Path()), files);
    const Compared withSource = Compare(source, built.Path());
    EXPECT_TRUE(withSource.old.SameObjects(withSource.neu));
    EXPECT_EQ(ChangeRows(withSource.changes), std::vector<std::string>{});
    ExpectRepairedFromBuilt(built.Path(), files, dialect);
}

TEST(Export, TwoExportsOfTheEmployeeSampleAreTheSameBytesInAFilePerObject)
{
    TestDb db(CurrentTestName(), EmployeeSql(), 3);
    const schema::ExportedFiles files = ExportOf(db.Path());
    EXPECT_EQ(ExportOf(db.Path()), files);

    EXPECT_EQ(Paths(files), (std::vector<std::string>{
                                ".vorkat-export",
                                "database.sql",
                                "domains/ADDRESSLINE.sql",
                                "domains/BUDGET.sql",
                                "domains/COUNTRYNAME.sql",
                                "domains/CUSTNO.sql",
                                "domains/DEPTNO.sql",
                                "domains/EMPNO.sql",
                                "domains/FIRSTNAME.sql",
                                "domains/JOBCODE.sql",
                                "domains/JOBGRADE.sql",
                                "domains/LASTNAME.sql",
                                "domains/PHONENUMBER.sql",
                                "domains/PONUMBER.sql",
                                "domains/PRODTYPE.sql",
                                "domains/PROJNO.sql",
                                "domains/SALARY.sql",
                                "exceptions/CUSTOMER_CHECK.sql",
                                "exceptions/CUSTOMER_ON_HOLD.sql",
                                "exceptions/ORDER_ALREADY_SHIPPED.sql",
                                "exceptions/REASSIGN_SALES.sql",
                                "exceptions/UNKNOWN_EMP_ID.sql",
                                "generators/CUST_NO_GEN.sql",
                                "generators/EMP_NO_GEN.sql",
                                "indices/BUDGETX.sql",
                                "indices/CHANGEX.sql",
                                "indices/CUSTNAMEX.sql",
                                "indices/CUSTREGION.sql",
                                "indices/MAXSALX.sql",
                                "indices/MINSALX.sql",
                                "indices/NAMEX.sql",
                                "indices/NEEDX.sql",
                                "indices/PRODTYPEX.sql",
                                "indices/QTYX.sql",
                                "indices/SALESTATX.sql",
                                "indices/UPDATERX.sql",
                                "order.txt",
                                "procedures/ADD_EMP_PROJ.sql",
                                "procedures/ALL_LANGS.sql",
                                "procedures/DELETE_EMPLOYEE.sql",
                                "procedures/DEPT_BUDGET.sql",
                                "procedures/GET_EMP_PROJ.sql",
                                "procedures/MAIL_LABEL.sql",
                                "procedures/ORG_CHART.sql",
                                "procedures/SHIP_ORDER.sql",
                                "procedures/SHOW_LANGS.sql",
                                "procedures/SUB_TOT_BUDGET.sql",
                                "tables/COUNTRY.sql",
                                "tables/CUSTOMER.sql",
                                "tables/DEPARTMENT.sql",
                                "tables/EMPLOYEE.sql",
                                "tables/EMPLOYEE_PROJECT.sql",
                                "tables/JOB.sql",
                                "tables/PROJECT.sql",
                                "tables/PROJ_DEPT_BUDGET.sql",
                                "tables/SALARY_HISTORY.sql",
                                "tables/SALES.sql",
                                "triggers/POST_NEW_ORDER.sql",
                                "triggers/SAVE_SALARY_CHANGE.sql",
                                "triggers/SET_CUST_NO.sql",
                                "triggers/SET_EMP_NO.sql",
                                "views/PHONE_LIST.sql",
                            }));
    // From Firebird 4 on, a sequence made without a start starts with 1, and says so.
    EXPECT_EQ(SplitLines(files.at("generators/EMP_NO_GEN.sql")),
              (std::vector<std::string>{"/* GENERATOR EMP_NO_GEN */", "",
                                        InspectFile(db.Path()).odsMajor >= 13 ? "CREATE SEQUENCE EMP_NO_GEN START WITH 1;"
                                                                              : "CREATE SEQUENCE EMP_NO_GEN;"}));
    EXPECT_EQ(SplitLines(files.at("database.sql")),
              (std::vector<std::string>{"/* DATABASE */", "", "SET SQL DIALECT 3;", "SET NAMES UTF8;", "SET AUTODDL OFF;",
                                        "CREATE DATABASE 'database.fdb' PAGE_SIZE 8192 DEFAULT CHARACTER SET NONE;"}));
}

class ExportCorpus : public ::testing::TestWithParam<std::string> {};

// A database made from a corpus schema by isql as a user makes it, in its dialect and default
// character set; removed at the end of the test.
struct CorpusDb {
    std::string path;
    int dialect = 3;
    explicit CorpusDb(const fs::path& folder)
    {
        path = Folder("source") + ".fdb";
        if (fs::exists(folder / "dialect") && FileText((folder / "dialect").string()).rfind("1", 0) == 0)
            dialect = 1;
        std::string charset;
        if (fs::exists(folder / "charset"))
            charset = SplitLines(FileText((folder / "charset").string())).at(0);
        const std::string script = Folder("source") + ".sql";
        WriteText(script, "SET SQL DIALECT " + std::to_string(dialect) + ";\nCREATE DATABASE '" + path +
                              "' USER 'SYSDBA' PASSWORD 'x'" + (charset.empty() ? "" : " DEFAULT CHARACTER SET " + charset) +
                              ";\nCOMMIT;\n" + FileText((folder / "schema.sql").string()) + "\nCOMMIT;\n");
        const std::string output = CommandOutput(std::string(ISQL_PATH) + " -q -b -ch UTF8 -user SYSDBA -password x -i '" +
                                                 script + "' 2>&1; echo \"isql: $?\"");
        EXPECT_EQ(output.substr(output.rfind("isql: ")), "isql: 0\n") << output;
    }
    ~CorpusDb() { fs::remove(path); }
};

std::vector<std::string> CorpusNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(SCHEMA_CORPUS_DIR) / ".." / "corpus"))
        if (fs::exists(entry.path() / "schema.sql"))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_P(ExportCorpus, ExportBuiltFromItsFolderExportsTheSameAndRepairsAnEmptyOld)
{
    const CorpusDb source(fs::path(SCHEMA_CORPUS_DIR) / ".." / "corpus" / GetParam());
    ExpectRoundTrip(source.path, source.dialect);
}

INSTANTIATE_TEST_SUITE_P(Corpus, ExportCorpus, ::testing::ValuesIn(CorpusNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(Export, EmployeeSampleBuiltFromItsFolderExportsTheSameAndRepairsAnEmptyOld)
{
    TestDb db(CurrentTestName(), EmployeeSql(), 3);
    ExpectRoundTrip(db.Path(), 3);
}

TEST(Export, EmployeeSamplesOwnScriptServesAsNewAndConverges)
{
    const std::string script = Folder("employee.sql");
    WriteText(script, EmployeeScript());
    const schema::BuiltDatabase built = schema::BuildFromFiles(script);

    // isql's database from the same statements: the build ran them as isql does.
    TestDb byIsql(CurrentTestName() + "_isql", EmployeeSql(), 3);
    EXPECT_EQ(Extract(built.Path()), Extract(byIsql.Path()));
    EXPECT_EQ(ChangeRows(Compare(byIsql.Path(), built.Path()).changes), std::vector<std::string>{});

    ExpectRepairedFromBuilt(built.Path(), ExportOf(built.Path()), 3);
}

}

namespace {

TEST(Export, EditedFileIsFoundAsExactlyThatOneDifference)
{
    TestDb db(CurrentTestName(), EmployeeSql(), 3);
    const std::string dir = Folder("export");
    schema::WriteExport(dir, ExportOf(db.Path()));
    const std::string file = dir + "/exceptions/CUSTOMER_CHECK.sql";
    std::string text = FileText(file);
    const std::string before = "'Overdue balance -- can not ship.'";
    ASSERT_NE(text.find(before), std::string::npos);
    text.replace(text.find(before), before.size(), "'Overdue balance: not shipped.'");
    WriteText(file, text);

    const schema::BuiltDatabase built = schema::BuildFromFiles(dir);
    EXPECT_EQ(ChangeRows(Compare(db.Path(), built.Path()).changes),
              (std::vector<std::string>{
                  "EXCEPTION CUSTOMER_CHECK different: message Overdue balance -- can not ship. -> Overdue balance: not shipped."}));
}

TEST(Export, ScriptIsCutAtItsTerminatorsOnlyOutsideStringsNamesAndComments)
{
    const std::string text = "-- a comment; with a semicolon\n"
                             "SET SQL DIALECT 3;\n"
                             "CREATE TABLE \"a;b\" (C VARCHAR(5) DEFAULT 'x;y');  /* ; */\n"
                             "\n"
                             "SET TERM ^ ;\n"
                             "CREATE PROCEDURE P AS\n"
                             "BEGIN\n"
                             "  -- END^ in a comment\n"
                             "  EXIT; /* ^ */ \n"
                             "END^\n"
                             "SET TERM ; ^\n"
                             "-- part 2\n"
                             "COMMENT ON PROCEDURE P IS q'{it's; ^}';\n"
                             "  -- part 3 is no marker where the line does not begin with it\n"
                             "INSERT INTO \"a;b\" VALUES ('it''s;');\n";
    EXPECT_EQ(schema::SplitScript(text, "t.sql"),
              (std::vector<schema::ScriptStatement>{
                  {"SET SQL DIALECT 3", 2, 1},
                  {"CREATE TABLE \"a;b\" (C VARCHAR(5) DEFAULT 'x;y')", 3, 1},
                  {"CREATE PROCEDURE P AS\nBEGIN\n  -- END^ in a comment\n  EXIT; /* ^ */ \nEND", 6, 1},
                  {"COMMENT ON PROCEDURE P IS q'{it's; ^}'", 13, 2},
                  {"INSERT INTO \"a;b\" VALUES ('it''s;')", 15, 2},
              }));
}

TEST(Export, ScriptThatLeavesAStringOrAStatementOpenIsRefusedAtItsLine)
{
    EXPECT_EQ(ErrorOf([] { schema::SplitScript("SELECT 1 FROM RDB$DATABASE;\nSELECT 'x;\n FROM RDB$DATABASE;\n", "s.sql"); }),
              "s.sql:2: a string that begins here is not closed");
    EXPECT_EQ(ErrorOf([] { schema::SplitScript("COMMIT;\n\nCREATE TABLE T (C INTEGER)\n", "s.sql"); }),
              "s.sql:3: the statement that begins here has no terminator (;)");
    EXPECT_EQ(ErrorOf([] { schema::SplitScript("/* open\n", "s.sql"); }), "s.sql:1: a comment that begins here is not closed");
}

TEST(Export, FileNamesAreSafeAndDistinctForAnyName)
{
    EXPECT_EQ(schema::ExportFileName("EMPLOYEE"), "EMPLOYEE.sql");
    EXPECT_EQ(schema::ExportFileName("RDB$X_1"), "RDB$X_1.sql");
    const std::vector<std::string> names{"Order Line", "order line", "ORDER LINE", "a/b", "a\\b", "..", "",
                                         "CON",        "con",        "Ünïcode",    "über", "x.sql", "ORDER_LINE"};
    std::set<std::string> folded;
    const std::regex safe("[A-Za-z0-9_$]*~[0-9a-f]{8}\\.sql");
    for (const auto& name : names) {
        const std::string file = schema::ExportFileName(name);
        if (name != "ORDER_LINE")
            EXPECT_TRUE(std::regex_match(file, safe)) << file;
        std::string lower = file;
        for (auto& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(folded.insert(lower).second) << file;
    }
}

TEST(Export, QuotedNamesThatDifferOnlyInCaseGetFilesOfTheirOwnAndBuildBack)
{
    TestDb db(CurrentTestName(), R"(
        CREATE TABLE "abc" (ID INTEGER NOT NULL PRIMARY KEY);
        CREATE TABLE ABC (ID INTEGER NOT NULL);
        CREATE TABLE "Abc" ("a/b" VARCHAR(10), "naïve \ ""x""" INTEGER);
        CREATE VIEW "Order Lines" AS SELECT * FROM "abc";
        COMMENT ON TABLE "Abc" IS 'a comment with */ in it';
    )", 3);
    const schema::ExportedFiles files = ExportOf(db.Path());
    std::vector<std::string> tables;
    for (const auto& path : Paths(files))
        if (path.rfind("tables/", 0) == 0 || path.rfind("views/", 0) == 0)
            tables.push_back(path);
    EXPECT_EQ(tables, (std::vector<std::string>{"tables/ABC.sql", "tables/Abc~" + schema::ExportFileName("Abc").substr(4),
                                                "tables/abc~" + schema::ExportFileName("abc").substr(4),
                                                "views/Order_Lines~" + schema::ExportFileName("Order Lines").substr(12)}));
    ExpectRoundTrip(db.Path(), 3);
}

TEST(Export, ProceduresThatCallEachOtherAndForeignKeysBothWaysBuildInParts)
{
    TestDb db(CurrentTestName(), R"(
        CREATE TABLE A (ID INTEGER NOT NULL PRIMARY KEY, B_ID INTEGER);
        CREATE TABLE B (ID INTEGER NOT NULL PRIMARY KEY, A_ID INTEGER REFERENCES A);
        ALTER TABLE A ADD FOREIGN KEY (B_ID) REFERENCES B;
        SET TERM ^ ;
        CREATE PROCEDURE PING (N INTEGER) AS BEGIN EXIT; END^
        CREATE PROCEDURE PONG (N INTEGER) AS BEGIN IF (N > 0) THEN EXECUTE PROCEDURE PING N - 1; END^
        ALTER PROCEDURE PING (N INTEGER) AS BEGIN IF (N > 0) THEN EXECUTE PROCEDURE PONG N - 1; END^
        SET TERM ; ^
        GRANT EXECUTE ON PROCEDURE PONG TO PROCEDURE PING;
        COMMENT ON PROCEDURE PING IS 'calls PONG';
    )", 3);
    const schema::ExportedFiles files = ExportOf(db.Path());
    EXPECT_EQ(SplitLines(files.at("procedures/PONG.sql")),
              (std::vector<std::string>{
                  "/* PROCEDURE PONG */",
                  "",
                  "-- part 1",
                  "SET TERM ^ ;",
                  "CREATE OR ALTER PROCEDURE PONG (N INTEGER)",
                  "AS",
                  "BEGIN EXIT; END^",
                  "SET TERM ; ^",
                  "",
                  "-- part 2",
                  "SET TERM ^ ;",
                  "ALTER PROCEDURE PONG (N INTEGER)",
                  "AS",
                  "BEGIN IF (N > 0) THEN EXECUTE PROCEDURE PING N - 1; END^",
                  "SET TERM ; ^",
                  "GRANT EXECUTE ON PROCEDURE PONG TO PROCEDURE PING;",
              }));
    EXPECT_EQ(SplitLines(files.at("tables/A.sql")),
              (std::vector<std::string>{
                  "/* TABLE A */",
                  "",
                  "-- part 1",
                  "CREATE TABLE A (ID INTEGER NOT NULL,",
                  "    B_ID INTEGER);",
                  "ALTER TABLE A ADD PRIMARY KEY (ID);",
                  "",
                  "-- part 2",
                  "ALTER TABLE A ADD FOREIGN KEY (B_ID) REFERENCES B (ID);",
              }));
    std::vector<std::string> order;
    for (const auto& line : SplitLines(files.at("order.txt")))
        if (line.rfind("#", 0) != 0)
            order.push_back(line);
    EXPECT_EQ(order, (std::vector<std::string>{
                         "database.sql",
                         "tables/A.sql 1",
                         "tables/B.sql 1",
                         "procedures/PING.sql 1",
                         "procedures/PONG.sql 1",
                         "tables/B.sql 2",
                         "tables/A.sql 2",
                         "procedures/PING.sql 2",
                         "procedures/PONG.sql 2",
                     }));
    ExpectRoundTrip(db.Path(), 3);
}

TEST(Export, RefusedStatementNamesItsFileAndLineAndLeavesNoDatabase)
{
    TestDb db(CurrentTestName(), "CREATE TABLE T (ID INTEGER);\nCREATE GENERATOR G;\n", 3);
    const std::string dir = Folder("export");
    schema::WriteExport(dir, ExportOf(db.Path()));
    WriteText(dir + "/generators/G.sql", "/* GENERATOR G */\n\nCREATE SEQUENCE G;\nALTER SEQUENCE G RESTART WITH;\n");
    const std::string temporary = Folder("temporary");
    fs::create_directories(temporary);
    schema::BuildOptions options;
    options.folder = temporary;
    try {
        schema::BuildFromFiles(dir, options);
        ADD_FAILURE() << "the build went through";
    } catch (const schema::BuildError& error) {
        EXPECT_EQ(error.File(), "generators/G.sql");
        EXPECT_EQ(error.Line(), 4);
        EXPECT_EQ(error.Reason(), "Dynamic SQL Error\r\nSQL error code = -104\r\nUnexpected end of command - line 1, column 26");
        EXPECT_EQ(std::string(error.what()), "generators/G.sql:4: " + error.Reason());
    }
    EXPECT_TRUE(fs::is_empty(temporary));

    const std::string script = Folder("script.sql");
    WriteText(script, "SET SQL DIALECT 3;\n\nCREATE TABLE T (ID INTEGER);\nSET TERM ^ ;\nCREATE PROCEDURE P AS\nBEGIN\n  X = 1;\nEND^\n");
    EXPECT_EQ(ErrorOf([&] { schema::BuildFromFiles(script, options); }),
              script + ":5: unsuccessful metadata update\r\nCREATE PROCEDURE P failed\r\nDynamic SQL Error\r\nSQL error code = -206\r\n"
                       "Column unknown\r\nX");
    EXPECT_TRUE(fs::is_empty(temporary));
}

TEST(Export, FolderWithoutAllItsFilesAndPartsInTheOrderIsRefused)
{
    TestDb db(CurrentTestName(), "CREATE TABLE A (ID INTEGER NOT NULL PRIMARY KEY);\n"
                                 "CREATE TABLE B (ID INTEGER NOT NULL PRIMARY KEY, A_ID INTEGER REFERENCES A);\n"
                                 "ALTER TABLE A ADD B_ID INTEGER REFERENCES B;\n", 3);
    const std::string dir = Folder("export");
    schema::WriteExport(dir, ExportOf(db.Path()));
    WriteText(dir + "/tables/U.sql", "CREATE TABLE U (ID INTEGER);\n");
    EXPECT_EQ(ErrorOf([&] { schema::BuildFromFiles(dir); }), "tables/U.sql: is not in order.txt: name it where it is to run");
    fs::remove(dir + "/tables/U.sql");

    const std::string order = FileText(dir + "/order.txt");
    WriteText(dir + "/order.txt", order + "tables/A.sql 3\n");
    EXPECT_EQ(ErrorOf([&] { schema::BuildFromFiles(dir); }),
              "order.txt:" + std::to_string(SplitLines(order).size() + 1) + ": tables/A.sql has no part 3");
    WriteText(dir + "/order.txt", order + "tables/A.sql 2\n");
    EXPECT_EQ(ErrorOf([&] { schema::BuildFromFiles(dir); }),
              "order.txt:" + std::to_string(SplitLines(order).size() + 1) + ": names tables/A.sql 2 a second time");
    std::string without = order;
    ASSERT_NE(without.find("tables/A.sql 2\n"), std::string::npos);
    without.erase(without.find("tables/A.sql 2\n"), 15);
    WriteText(dir + "/order.txt", without);
    EXPECT_EQ(ErrorOf([&] { schema::BuildFromFiles(dir); }), "tables/A.sql:9: part 2 is not in order.txt");
    WriteText(dir + "/order.txt", order + "tables/../../A.sql\n");
    EXPECT_EQ(ErrorOf([&] { schema::BuildFromFiles(dir); }),
              "order.txt:" + std::to_string(SplitLines(order).size() + 1) + ": names tables/../../A.sql, which is no file of the folder");
}

std::string ExportErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const schema::ExportError& error) {
        return error.what();
    }
    return "no error";
}

// What the test folder holds beside the named entries, such as a temporary export left behind.
std::vector<std::string> LeftBeside(const std::set<std::string>& known)
{
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(TestFolder())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("." + CurrentTestName(), 0) == 0 ||
            (name.rfind(CurrentTestName(), 0) == 0 && !known.count(name)))
            left.push_back(name);
    }
    return left;
}

TEST(Export, FolderThatHoldsNoExportIsRefusedAndLeftAsItIs)
{
    TestDb db(CurrentTestName(), "CREATE TABLE T (ID INTEGER);\n", 3);
    const schema::ExportedFiles files = ExportOf(db.Path());

    const std::string mine = Folder("mine");
    fs::create_directories(mine + "/tables");
    WriteText(mine + "/notes.txt", "mine");
    WriteText(mine + "/tables/T.sql", "mine too");
    const schema::ExportedFiles before = schema::ReadExport(mine);
    EXPECT_EQ(ExportErrorOf([&] { schema::WriteExport(mine, files); }),
              mine + " holds files but no earlier export (it has no .vorkat-export): the export does not replace it");
    EXPECT_EQ(schema::ReadExport(mine), before);

    const std::string file = Folder("file");
    WriteText(file, "mine");
    EXPECT_EQ(ExportErrorOf([&] { schema::WriteExport(file, files); }),
              file + " is not a folder: the export does not replace it");
    EXPECT_EQ(FileText(file), "mine");

    // An earlier export that holds something of the user's at its top is not replaced either.
    const std::string exported = Folder("export");
    schema::WriteExport(exported, files);
    WriteText(exported + "/README", "mine");
    EXPECT_EQ(ExportErrorOf([&] { schema::WriteExport(exported, files); }),
              exported + " holds README, which no export writes: the export does not replace it");
    EXPECT_EQ(FileText(exported + "/README"), "mine");
    EXPECT_EQ(LeftBeside({CurrentTestName() + ".fdb", CurrentTestName() + "_mine", CurrentTestName() + "_file",
                          CurrentTestName() + "_export"}),
              std::vector<std::string>{});
}

TEST(Export, EarlierExportIsReplacedWholeOrLeftWholeWhenTheNewOneFails)
{
    TestDb db(CurrentTestName(), "CREATE TABLE T (ID INTEGER);\nCREATE GENERATOR G;\n", 3);
    const schema::ExportedFiles files = ExportOf(db.Path());
    const std::string dir = Folder("export");
    const std::string empty = Folder("empty");
    fs::create_directories(empty);
    schema::WriteExport(empty, files);
    EXPECT_EQ(schema::ReadExport(empty), files);

    schema::WriteExport(dir, files);
    WriteText(dir + "/tables/GONE.sql", "an object the database no longer has");
    schema::WriteExport(dir, files);
    EXPECT_EQ(schema::ReadExport(dir), files);

    // A file where the new export needs a folder: writing fails half way.
    schema::ExportedFiles broken = files;
    broken["tables"] = "a file";
    const std::string message = ExportErrorOf([&] { schema::WriteExport(dir, broken); });
    EXPECT_EQ(message.rfind("Cannot write the export beside " + dir + ": ", 0), 0u) << message;
    EXPECT_EQ(schema::ReadExport(dir), files);
    EXPECT_EQ(LeftBeside({CurrentTestName() + ".fdb", CurrentTestName() + "_export", CurrentTestName() + "_empty"}),
              std::vector<std::string>{});
}

}

namespace {

// The fixture cases' New schemas that this engine can make: every kind of object the comparison knows.
std::vector<std::string> FixtureCases()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(SCHEMA_CORPUS_DIR))
        if (fs::exists(entry.path() / "new.sql"))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ExportFixture : public ::testing::TestWithParam<std::string> {};

TEST_P(ExportFixture, NewOfTheCaseBuiltFromItsFolderExportsTheSameAndRepairsAnEmptyOld)
{
    const fs::path folder = fs::path(SCHEMA_CORPUS_DIR) / GetParam();
    const int dialect = fs::exists(folder / "dialect") && FileText((folder / "dialect").string()) == "1\n" ? 1 : 3;
    const char version = EngineOds() >= 131 ? '5' : EngineOds() >= 130 ? '4' : '3';
    if (fs::exists(folder / "firebird") && FileText((folder / "firebird").string()).find(version) == std::string::npos)
        GTEST_SKIP() << "a case for other servers";
    TestDb source(CurrentTestName(), FileText((folder / "new.sql").string()), dialect);
    ExpectRoundTrip(source.Path(), dialect);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExportFixture, ::testing::ValuesIn(FixtureCases()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}

// A script without CREATE DATABASE is built in the dialect its SET SQL DIALECT names, before
// the options' own; without one, in the options'.
TEST(Export, AScriptsSetSqlDialectChoosesTheDialectOfTheDatabaseItIsBuiltIn)
{
    const std::string one = Folder("dialect1.sql");
    WriteText(one, "SET SQL DIALECT 1;\nCREATE TABLE T (D DATE);\n");
    const std::string none = Folder("none.sql");
    WriteText(none, "CREATE TABLE T (D DATE);\n");
    auto dialectOf = [](const std::string& path, int given) {
        schema::BuildOptions options;
        options.dialect = given;
        const schema::BuiltDatabase built = schema::BuildFromFiles(path, options);
        Attached attached(built.Path());
        return attached.db.DatabaseDialect();
    };
    EXPECT_EQ(dialectOf(one, 3), 1);
    EXPECT_EQ(dialectOf(none, 1), 1);
    EXPECT_EQ(dialectOf(none, 3), 3);
}
