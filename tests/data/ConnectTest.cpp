// Connecting: the real cause of a failure first, the login window only for wrong credentials.
#include "data/DM.h"
#include "db/DbError.h"
#include "tests/support/TestDb.h"

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ibase.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// isql-fb attached to the file and waiting for input: another program that holds the database.
class Holder {
public:
    explicit Holder(const std::string& path)
    {
        const std::string command = std::string(ISQL_PATH) + " -q -user SYSDBA -password x '" + path + "' >/dev/null 2>&1";
        pipe_ = ::popen(command.c_str(), "w");
        // The engine locks the file once it has attached.
        for (int i = 0; i < 200 && !Locked(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~Holder()
    {
        std::fputs("quit;\n", pipe_);
        ::pclose(pipe_);
    }

private:
    static bool Locked(const std::string& path)
    {
        int fd = ::open(path.c_str(), O_RDONLY);
        const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
        ::close(fd);
        return locked;
    }
    FILE* pipe_;
};

} // namespace

class ConnectTest : public PairTest {
protected:
    void SetUp() override
    {
        MakePair("CREATE GENERATOR GEN_A;", "");
        DM.SetLoginPrompt(&login);
        folder = TestFolder() + "/" + CurrentTestName();
        fs::create_directory(folder);
    }
    std::string OldFailure(const std::string& name)
    {
        DM.OldDB.SetDatabaseName(name);
        return ErrorOf([&] { DM.ConnectOld(); });
    }
    std::string File(const std::string& name, const std::string& content)
    {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    ScriptedLogin login;
    std::string folder;
};

TEST_F(ConnectTest, AnyFailureButTheLoginEndsAtOnceWithThePrefixedCause)
{
    const std::string missing = folder + "/missing.fdb";
    EXPECT_EQ(OldFailure(missing), "Old Database: I/O error during \"open\" operation for file \"" + missing +
                                       "\"\r\nError while trying to open file\r\nNo such file or directory");
    EXPECT_EQ(OldFailure(folder), "Old Database: " + folder + " is a folder, not a database file");
    const std::string empty = File("empty.fdb", "");
    EXPECT_EQ(OldFailure(empty), "Old Database: " + empty + " is empty, not a database file");
    const std::string text = File("text.fdb", "CREATE TABLE T (ID INTEGER);\n");
    EXPECT_EQ(OldFailure(text), "Old Database: " + text + " is too short to be a database file");
    // Where the server is plain already, its words stand.
    const std::string longText = File("long.fdb", std::string(5000, 'x'));
    EXPECT_EQ(OldFailure(longText), "Old Database: file " + longText + " is not a valid database");

    // Embedded Firebird refuses a file without write permission even to root.
    const std::string readOnly = folder + "/readonly.fdb";
    fs::copy_file(OldDb->Path(), readOnly);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(OldFailure(readOnly),
              "Old Database: " + readOnly + " is read-only; Firebird needs write access to the file to open it");
    {
        Holder other(OldDb->Path());
        EXPECT_EQ(OldFailure(OldDb->Path()), "Old Database: " + OldDb->Path() + " is in use by another program");
    }
    EXPECT_EQ(ErrorOf([&] { DM.ConnectNew(); }), "New Database: Database name is missing");

    EXPECT_EQ(login.Asked, 0);
    EXPECT_FALSE(DM.OldDB.LoginPromptOn);
    EXPECT_FALSE(DM.NewDB.LoginPromptOn);
    EXPECT_FALSE(DM.OldDB.Connected());

    // An Old Database set read-only connects for a script, but not for a repair.
    Disconnect();
    const std::string gfix = fs::path(ISQL_PATH).parent_path() / "gfix";
    ASSERT_EQ(std::system((gfix + " -mode read_only -user SYSDBA -password x '" + OldDb->Path() + "'").c_str()), 0);
    DM.OldDB.SetDatabaseName(OldDb->Path());
    DM.ConnectOld();
    DM.OldDB.Close();
    DM.RepairMode = true;
    EXPECT_EQ(OldFailure(OldDb->Path()),
              "Old Database: " + OldDb->Path() + " is set read-only, so a repair cannot change it");
    EXPECT_FALSE(DM.OldDB.Connected());
}

// Embedded Firebird checks no password, so no attach here can fail on its credentials: the
// failures are told apart by the server's own codes, and the window's course is shown with
// the prompt switched on, as an authentication failure leaves it.
TEST_F(ConnectTest, OnlyWrongCredentialsBringTheLoginWindow)
{
    EXPECT_TRUE(IsAuthenticationFailure(DbError("", isc_login)));
    EXPECT_TRUE(IsAuthenticationFailure(DbError("", isc_password_required)));
    EXPECT_FALSE(IsAuthenticationFailure(DbError("", isc_io_error)));
    EXPECT_FALSE(IsAuthenticationFailure(DbError("", isc_no_priv)));
    EXPECT_FALSE(IsAuthenticationFailure(DbError("Database name is missing")));

    DM.OldDB.LoginPromptOn = true;
    DM.OldDB.SetDatabaseName(OldDb->Path());
    login.Answers = {{false, "", ""}, {true, "SYSDBA", "right"}};
    DM.ConnectOld();
    EXPECT_EQ(login.Asked, 2);
    EXPECT_TRUE(DM.OldDB.Connected());
    DM.OldDB.Close();

    login.Asked = 0;
    login.Answers = {{false, "", ""}, {false, "", ""}};
    EXPECT_EQ(OldFailure(OldDb->Path()), "Old Database: Operation cancelled at user's request");
    EXPECT_EQ(login.Asked, 2);

    // A cause the window cannot mend ends after the one window that comes first.
    login.Asked = 0;
    login.Answers = {{true, "SYSDBA", "right"}};
    EXPECT_EQ(OldFailure(folder), "Old Database: " + folder + " is a folder, not a database file");
    EXPECT_EQ(login.Asked, 1);
}
