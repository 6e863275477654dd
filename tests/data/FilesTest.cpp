// Trimming, the database-name rule, files replaced whole, the error box text and the report rows.
#include "data/Files.h"
#include "data/IniFile.h"
#include "data/Report.h"
#include "db/DbError.h"
#include "tests/support/TestDb.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A child process makes the failures: first a file size limit stops the write halfway, as a
// full disk does; then the folder may not be written (root, who writes everywhere, becomes nobody).
TEST(ReplaceFile, AFailedSaveKeepsTheOldFileWholeAndLeavesNoTemporaryFile)
{
    std::string folder = (std::filesystem::temp_directory_path() / "vorkat_save_XXXXXX").string();
    ASSERT_TRUE(::mkdtemp(folder.data()));
    std::filesystem::permissions(folder, std::filesystem::perms(0755));
    const std::string script = folder + "/vorkat.sql";
    const std::string settings = folder + "/vorkat.ini";
    std::ofstream(script, std::ios::binary) << "old\r\n";
    std::ofstream(settings, std::ios::binary) << "[S]\r\nK=old\r\n";

    const pid_t child = ::fork();
    if (child == 0) {
        int refused = 0;
        auto expectRefusal = [&](const std::function<void()>& save, const std::string& path) {
            try {
                save();
            } catch (const std::exception& error) {
                refused += error.what() == "Cannot create file " + path;
            }
        };
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{8, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        expectRefusal([&] { SaveLines(script, {"a script longer than the limit"}); }, script);
        limit.rlim_cur = RLIM_INFINITY;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const uid_t nobody = 65534;
        std::error_code error;
        if (::geteuid() != 0)
            std::filesystem::permissions(folder, std::filesystem::perms(0555), error);
        else if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            ::_exit(2);
        expectRefusal([&] { SaveLines(script, {"new"}); }, script);
        expectRefusal([&] {
            IniFile ini(settings);
            ini.WriteString("S", "K", "new");
            ini.Save();
        }, settings);
        ::_exit(refused == 3 ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    std::ifstream in(script, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "old\r\n");
    EXPECT_EQ(IniFile(settings).ReadString("S", "K", ""), "old");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"vorkat.ini", "vorkat.sql"}));
    std::filesystem::permissions(folder, std::filesystem::perms(0755));
    std::filesystem::remove_all(folder);
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
