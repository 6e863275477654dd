// vorkat-cli against a real server, as a user runs it: one database under two names, a server
// that falls silent, a database shut down under a running comparison.
#include "tests/support/FbServer.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <set>
#include <thread>

namespace {

struct CliResult {
    int status = -1;
    std::string err;
    double seconds = 0;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class RunOverServer : public ServerTest {
protected:
    // Old and New on the server: the same tables, with New's 40 tables one column wider, so
    // that the checks have work to do on every table.
    void MakePair()
    {
        for (const char* side : {"old", "new"}) {
            std::string script = "CREATE DATABASE '" + Server->Name(Path(side)) + "' USER '" + FbServer::User() +
                                 "' PASSWORD '" + Server->Password() + "';\n";
            for (int i = 0; i < 40; ++i)
                script += "CREATE TABLE T" + std::to_string(i) + " (ID INTEGER NOT NULL PRIMARY KEY, A VARCHAR(10)" +
                          (std::string(side) == "new" ? ", B INTEGER" : "") + ");\n";
            Server->Isql(script + "COMMIT;\n");
        }
    }

    std::string Path(const std::string& side) const { return Server->Folder() + "/" + side + ".fdb"; }

    // In script mode, unless the arguments repair.
    CliResult Cli(const std::string& arguments, bool script = true) const
    {
        const std::string err = Server->Folder() + "/cli.err";
        const std::string command = std::string(VORKAT_CLI_PATH) + " --user " + FbServer::User() + " --password " +
                                    Server->Password() +
                                    (script ? " --script " + Server->Folder() + "/vorkat.sql " : std::string(" ")) +
                                    arguments + " > /dev/null 2> " + err;
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        CliResult result;
        result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = ReadAll(err);
        return result;
    }

    // The last line vorkat-cli wrote to standard error, after its progress lines.
    static std::string LastLine(const std::string& text)
    {
        std::string trimmed = text;
        while (!trimmed.empty() && trimmed.back() == '\n')
            trimmed.pop_back();
        return trimmed.substr(trimmed.rfind('\n') == std::string::npos ? 0 : trimmed.rfind('\n') + 1);
    }
};

}

TEST_F(RunOverServer, OneDatabaseUnderTwoNamesIsRefusedAndTwoDatabasesAreCompared)
{
    MakePair();
    const std::string byName = Server->Name(Path("new"));
    const std::string byAddress = "127.0.0.1/" + std::to_string(Server->Port()) + ":" + Path("new");
    CliResult same = Cli(byName + " " + byAddress);
    EXPECT_EQ(same.status, 2);
    EXPECT_EQ(LastLine(same.err), "vorkat-cli: Old Database and New Database are the same database: " + byName);
    // Before a rehearsal copies Old, which would hide it.
    CliResult rehearsed = Cli("--rehearse " + byName + " " + byAddress, false);
    EXPECT_EQ(rehearsed.status, 2);
    EXPECT_EQ(LastLine(rehearsed.err), "vorkat-cli: Old Database and New Database are the same database: " + byName);

    CliResult pair = Cli(Server->Name(Path("old")) + " " + byAddress);
    EXPECT_EQ(pair.status, 1) << pair.err;
}

TEST_F(RunOverServer, SilentServerAfterConnectEndsTheRunAtItsTimeout)
{
    MakePair();
    // 100 ms a round trip: both attachments are made in about a second, the checks take longer.
    auto proxy = Server->StartProxy(50);
    CliResult result;
    std::thread run([&] {
        result = Cli("--timeout 5 " + proxy->Name(Path("old")) + " " + proxy->Name(Path("new")));
    });
    std::this_thread::sleep_for(std::chrono::seconds(3));
    ::kill(proxy->Pid(), SIGSTOP);
    run.join();
    EXPECT_EQ(result.status, 2);
    const std::string line = LastLine(result.err);
    EXPECT_EQ(line.substr(0, 46), "vorkat-cli: timed out after 5 s while checking") << result.err;
    // The cut calls fail within seconds of the deadline.
    EXPECT_LT(result.seconds, 12);
}

TEST_F(RunOverServer, DatabaseShutDownMidRunGivesTheServersOwnMessage)
{
    MakePair();
    auto proxy = Server->StartProxy(50);
    CliResult result;
    std::thread run([&] { result = Cli(proxy->Name(Path("old")) + " " + proxy->Name(Path("new"))); });
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const std::string shut = std::string(GFIX_PATH) + " -shut full -force 0 " + Server->Name(Path("new")) +
                             " -user " + FbServer::User() + " -password " + Server->Password() + " > /dev/null 2>&1";
    EXPECT_EQ(std::system(shut.c_str()), 0);
    run.join();
    EXPECT_EQ(result.status, 2);
    // Which of the server's own words come depends on the moment the shutdown meets the run:
    // the attachment's, or the database's.
    const std::set<std::string> shutdown{"vorkat-cli: connection shutdown",
                                         "vorkat-cli: database " + Path("new") + " shutdown"};
    EXPECT_EQ(shutdown.count(LastLine(result.err)), 1u) << result.err;
    // The rollbacks and the detach on the shut attachment do not wait for an answer.
    EXPECT_LT(result.seconds, 10);
}

// A database that lingers stays open in the engine after its last detach; through a server,
// isql reaches it all the same, so the judge can read it there.
TEST_F(RunOverServer, LingerIsSetAndDroppedAndTheExtractsAgree)
{
    const std::string header = "' USER '" + FbServer::User() + "' PASSWORD '" + Server->Password() + "';\n";
    auto make = [&](const std::string& side, const std::string& sql) {
        Server->Isql("CREATE DATABASE '" + Server->Name(Path(side)) + header + sql + "COMMIT;\n");
    };
    // isql's extract, without the line that names the file.
    auto extract = [&](const std::string& side) {
        const std::string out = Server->Folder() + "/extract.sql";
        const std::string command = std::string(ISQL_PATH) + " -x -user " + FbServer::User() + " -password " +
                                    Server->Password() + " " + Server->Name(Path(side)) + " > " + out + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::istringstream in(ReadAll(out));
        std::string text, line;
        while (std::getline(in, line))
            if (line.find("CREATE DATABASE") == std::string::npos)
                text += line + "\n";
        return text;
    };
    make("old", "CREATE TABLE T (A INTEGER);\n");
    make("new", "CREATE TABLE T (A INTEGER);\nALTER DATABASE SET LINGER TO 30;\n");
    const std::string args = " " + Server->Name(Path("old")) + " " + Server->Name(Path("new"));
    const CliResult shown = Cli("--complete --script - " + args, false);
    EXPECT_EQ(shown.status, 1) << shown.err;
    EXPECT_NE(shown.err.find("DATABASE\t\tdifferent: linger 0 -> 30\n"), std::string::npos) << shown.err;
    CliResult repaired = Cli("--complete --repair --verify" + args, false);
    ASSERT_EQ(repaired.status, 1) << repaired.err;
    EXPECT_NE(extract("old").find("ALTER DATABASE SET LINGER TO 30; */\n"), std::string::npos) << extract("old");
    EXPECT_EQ(extract("old"), extract("new"));

    make("gone", "CREATE TABLE T (A INTEGER);\n");
    repaired = Cli("--complete --repair " + Server->Name(Path("old")) + " " + Server->Name(Path("gone")), false);
    ASSERT_EQ(repaired.status, 1) << repaired.err;
    EXPECT_EQ(extract("old").find("LINGER"), std::string::npos) << extract("old");
    EXPECT_EQ(extract("old"), extract("gone"));
}
