// Trimming, the database-name rule, line files, the error box text and the report rows.
#include "data/Files.h"
#include "data/Report.h"
#include "db/DbError.h"
#include "tests/support/TestDb.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

TEST(Trim, RemovesControlCharactersAndBlanksAtBothEnds)
{
    EXPECT_EQ(Trim(std::string("\t GEN_A \r\n\0", 10)), "GEN_A");
    EXPECT_EQ(Trim("A B"), "A B");
    EXPECT_EQ(Trim("   "), "");
}

TEST(DatabaseName, ExistingFileKeepsItsWholeText)
{
    const std::string path = TestFolder() + "/with blank.gdb";
    std::ofstream(path) << "x";
    EXPECT_EQ(DatabaseNameFromField(path), path);
    std::filesystem::remove(path);
}

TEST(DatabaseName, OtherTextGivesItsFirstWordWithQuotesHonoured)
{
    EXPECT_EQ(DatabaseNameFromField("server:/db/a b.gdb"), "server:/db/a");
    EXPECT_EQ(DatabaseNameFromField("  \"server:/db/a b.gdb\" rest"), "server:/db/a b.gdb");
    EXPECT_EQ(DatabaseNameFromField("   "), "");
    EXPECT_EQ(DatabaseNameFromField(""), "");
}

TEST(ErrorBoxText, PeriodAppendedOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(ErrorBoxText("Database name is missing"), "Database name is missing.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Why?"), "Why?.");
    EXPECT_EQ(ErrorBoxText("a -"), "a -");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(SaveLines, EveryLineEndsWithCrLf)
{
    const std::string path = TestFolder() + "/lines.txt";
    SaveLines(path, {"a", "", "b"});
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "a\r\n\r\nb\r\n");
}

TEST(SaveLines, UnwritableFileNamesTheFile)
{
    const std::string path = TestFolder() + "/no/such/dir/vorkat.sql";
    try {
        SaveLines(path, {"a"});
        FAIL();
    } catch (const DbError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
    }
}

TEST(ReportRows, AlwaysOneDataRowAndTheEmptyLastRowIsTakenOver)
{
    ReportRows rows;
    ASSERT_EQ(rows.Rows().size(), 1u);
    EXPECT_EQ(rows.CsvLines(','), (std::vector<std::string>{",,,"}));
    rows.AddReportRow("GENERATOR", "GEN_A", "not exist");
    rows.AddReportRow("", "X", "lost");
    rows.AddReportRow("TABLE", "T", "different");
    ASSERT_EQ(rows.Rows().size(), 2u);
    EXPECT_EQ(rows.CsvLines(';'),
              (std::vector<std::string>{"GENERATOR;GEN_A;not exist;", "TABLE;T;different;"}));
    rows.ClearReport();
    EXPECT_EQ(rows.Rows(), (std::vector<ReportRows::Row>{ReportRows::Row{}}));
}
