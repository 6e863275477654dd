// Trimming, the database-name rule, files replaced whole, the error box text, the report rows and descriptors.
#include "data/FileError.h"
#include "data/Files.h"
#include "data/IniFile.h"
#include "data/Report.h"
#include "db/FileDescriptor.h"
#include "tests/support/TestDb.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

TEST(Trim, RemovesControlCharactersAndBlanksAtBothEnds)
{
    EXPECT_EQ(Trim(std::string("\t GEN_A \r\n\0", 10)), "GEN_A");
    EXPECT_EQ(Trim("A B"), "A B");
    EXPECT_EQ(Trim("   "), "");
}

TEST(Trim, TrailingBlanksAloneAreThePaddingOfACharValue)
{
    const std::pair<const char*, const char*> cases[] = {
        {"GEN_A   ", "GEN_A"}, {" GEN_A\t ", " GEN_A\t"}, {"   ", ""}, {"", ""}};
    for (const auto& [padded, trimmed] : cases)
        EXPECT_EQ(TrimTrailingBlanks(padded), trimmed) << '"' << padded << '"';
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
    } catch (const FileError& error) {
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

// Only regular files are renamed over; anything else would be replaced by a regular file.
TEST(ReplaceFile, NodesAreWrittenInPlaceAndLinksStayLinks)
{
    std::string folder = (std::filesystem::temp_directory_path() / "vorkat_nodes_XXXXXX").string();
    ASSERT_TRUE(::mkdtemp(folder.data()));
    auto mode = [](const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
    };
    auto inode = [](const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
    };
    auto contents = [](const std::string& path) {
        std::stringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    };

    // More than a pipe holds, so the writer has to wait for the reader.
    const std::string fifo = folder + "/pipe", toFifo = folder + "/to-pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink("pipe", toFifo);
    const std::vector<std::string> lines(5000, std::string(99, 'x'));
    // The test's own write end keeps the reader from an end of file before SaveLines is done,
    // and from waiting forever should SaveLines not open the pipe at all.
    const int readEnd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    const int heldOpen = ::open(fifo.c_str(), O_WRONLY);
    ::fcntl(readEnd, F_SETFL, 0);
    std::string received;
    std::thread reader([&] {
        char buffer[4096];
        for (ssize_t n; (n = ::read(readEnd, buffer, sizeof buffer)) > 0;)
            received.append(buffer, static_cast<std::size_t>(n));
    });
    EXPECT_NO_THROW(SaveLines(toFifo, lines));
    ::close(heldOpen);
    reader.join();
    ::close(readEnd);
    EXPECT_EQ(received.size(), 5000u * 101);
    EXPECT_EQ(received.substr(0, 103), std::string(99, 'x') + "\r\n" + "xx");
    EXPECT_EQ(mode(fifo), S_IFIFO);
    EXPECT_EQ(mode(toFifo), S_IFLNK);

    const std::string file = folder + "/file.sql", toFile = folder + "/to-file.sql";
    std::ofstream(file, std::ios::binary) << "old\r\n";
    std::filesystem::create_symlink("file.sql", toFile);
    const auto oldInode = inode(file);
    SaveLines(toFile, {"new"});
    EXPECT_EQ(mode(toFile), S_IFLNK);
    EXPECT_EQ(contents(file), "new\r\n");
    EXPECT_NE(inode(file), oldInode);
    const std::string dangling = folder + "/dangling.sql";
    std::filesystem::create_symlink("created.sql", dangling);
    SaveLines(dangling, {"a"});
    EXPECT_EQ(mode(dangling), S_IFLNK);
    EXPECT_EQ(contents(folder + "/created.sql"), "a\r\n");

    // A private node with /dev/null's numbers; the nodes under /dev are never touched.
    const std::string device = folder + "/null";
    if (::geteuid() == 0 && ::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        EXPECT_NO_THROW(SaveLines(device, {"gone"}));
        EXPECT_EQ(mode(device), S_IFCHR);
    }

    const std::string socketPath = folder + "/socket";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    for (const auto& [path, message] : {std::pair{folder, folder + ": it is a directory"},
                                        std::pair{socketPath, socketPath + ": it is a socket"}}) {
        try {
            SaveLines(path, {"a"});
            ADD_FAILURE() << path;
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot create file " + message);
        }
    }
    ::close(listener);
    EXPECT_EQ(mode(folder), S_IFDIR);
    EXPECT_EQ(mode(socketPath), S_IFSOCK);
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

TEST(ReportRows, ARowWithAnyTextIsAFindingAndTheEmptyRowIsNone)
{
    EXPECT_FALSE(IsFindingRow(ReportRows::Row{}));
    EXPECT_TRUE(IsFindingRow(ReportRows::Row{"GENERATOR", "GEN_A", "not exist"}));
    EXPECT_TRUE(IsFindingRow(ReportRows::Row{"", "X", ""}));
    EXPECT_TRUE(IsFindingRow(ReportRows::Row{"", "", "lost"}));
    ReportRows rows;
    EXPECT_EQ(FindingRows(rows), Rows{});
    rows.AddReportRow("", "X", "lost");
    EXPECT_EQ(FindingRows(rows), (Rows{{"", "X", "lost"}}));
}

TEST(FileDescriptor, OneOwnerClosesItOnceAndAMovedFromOneOwnsNothing)
{
    const std::string path = TestFolder() + "/descriptor.txt";
    FileDescriptor first(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    ASSERT_TRUE(first.Valid());
    const int fd = first.Get();
    FileDescriptor second(std::move(first));
    EXPECT_FALSE(first.Valid());
    EXPECT_EQ(second.Get(), fd);
    EXPECT_TRUE(WriteAll(second.Get(), std::string("abc")));
    FileDescriptor third;
    third = std::move(second);
    EXPECT_FALSE(second.Valid());
    EXPECT_TRUE(third.Close());
    EXPECT_FALSE(third.Valid());
    EXPECT_TRUE(third.Close());
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "abc");
}

TEST(OutputFiles, AnOutputThatIsOneOfTheDatabasesOrAnyDatabaseIsRefusedNamingBoth)
{
    TestDb oldDb("outputs_old", "CREATE GENERATOR GEN_A;", 3);
    TestDb newDb("outputs_new", "", 1);
    TestDb other("outputs_other", "");
    const std::string folder = TestFolder() + "/outputs";
    std::filesystem::create_directories(folder);
    const std::string link = folder + "/old.lnk", text = folder + "/report.csv", missing = folder + "/new.sql";
    std::filesystem::remove(link);
    std::filesystem::create_symlink(oldDb.Path(), link);
    std::ofstream(text) << "GENERATOR,GEN_A,not exist,\r\n";
    std::filesystem::remove(missing);

    auto refusal = [&](const OutputFile& output) -> std::string {
        try {
            CheckOutputIsNoDatabase(output, oldDb.Path(), newDb.Path());
            return "";
        } catch (const FileError& error) {
            return error.what();
        }
    };
    EXPECT_EQ(refusal({"the script", oldDb.Path()}),
              "Cannot write the script to " + oldDb.Path() + ": it is the Old Database " + oldDb.Path());
    EXPECT_EQ(refusal({"the report", link}), "Cannot write the report to " + link + ": it is the Old Database " +
                                                 oldDb.Path());
    EXPECT_EQ(refusal({"the report", newDb.Path()}),
              "Cannot write the report to " + newDb.Path() + ": it is the New Database " + newDb.Path());
    EXPECT_EQ(refusal({"the script", other.Path()}),
              "Cannot write the script to " + other.Path() + ": it is a Firebird database");
    // Text, a file still to be made, standard output and no file at all are written as before.
    EXPECT_EQ(refusal({"the report", text}), "");
    EXPECT_EQ(refusal({"the script", missing}), "");
    EXPECT_EQ(refusal({"the script", "-"}), "");
    EXPECT_EQ(refusal({"the script", ""}), "");
}

TEST(OutputFiles, ADatabaseIsKnownByItsHeaderPageOfEitherDialectAndNothingElseIs)
{
    TestDb dialect1("header_1", "", 1);
    TestDb dialect3("header_3", "", 3);
    EXPECT_TRUE(StartsAsDatabase(dialect1.Path()));
    EXPECT_TRUE(StartsAsDatabase(dialect3.Path()));
    const std::string folder = TestFolder() + "/headers";
    std::filesystem::create_directories(folder);
    auto written = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
        return folder + "/" + name;
    };
    // The first 20 bytes of a database, and the same with a page size that no database has.
    const std::string header("\x01\0\0\0\x65\x0d\0\0\0\0\0\0\0\0\0\0\0\x20\x0c\x80", 20);
    EXPECT_TRUE(StartsAsDatabase(written("header.bin", header)));
    std::string oddPage = header;
    oddPage[17] = 0x21;
    EXPECT_FALSE(StartsAsDatabase(written("odd.bin", oddPage)));
    EXPECT_FALSE(StartsAsDatabase(written("short.bin", header.substr(0, 19))));
    EXPECT_FALSE(StartsAsDatabase(written("script.sql", "SET SQL DIALECT 3;\nCREATE TABLE T (A INTEGER);\n")));
    EXPECT_FALSE(StartsAsDatabase(folder + "/none.bin"));
}

TEST(ReportRows, TheCompleteComparisonsCsvQuotesWhatWouldShiftColumnsAndMakesFormulasInert)
{
    ReportRows rows;
    rows.AddReportRow("GENERATOR", "A,B;\"C\"", "not exist");
    rows.AddReportRow("GENERATOR", "=HYPERLINK(\"http://x\",\"a\")", "only in Old");
    rows.AddReportRow("EXCEPTION", "E", "different: message -1 -> @home\r\nnext");
    rows.AddReportRow("GENERATOR", "-12.5", "+x");
    EXPECT_EQ(rows.QuotedCsvLines(','), (std::vector<std::string>{
                                            "GENERATOR,\"A,B;\"\"C\"\"\",not exist,",
                                            "GENERATOR,\"'=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\",only in Old,",
                                            "EXCEPTION,E,\"different: message -1 -> @home\r\nnext\",",
                                            "GENERATOR,-12.5,'+x,",
                                        }));
    // With ';' as the separator a comma needs no quotes; the eight checks' lines stay unquoted.
    EXPECT_EQ(rows.QuotedCsvLines(';')[0], "GENERATOR;\"A,B;\"\"C\"\"\";not exist;");
    EXPECT_EQ(rows.CsvLines(',')[0], "GENERATOR,A,B;\"C\",not exist,");
}
