// vorkat-cli --fleet against a real server: equal, drifted and unreachable targets in one run,
// each target's script as a run of its own writes it, and several repaired at once.
#include "tests/support/FbServer.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The row without its seconds, which vary: "3\tname\tdiffers\t2".
std::string WithoutSeconds(const std::string& row)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = row.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(row.substr(start, tab - start));
    fields.push_back(row.substr(start));
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (i != 4)
            text += (text.empty() ? "" : "\t") + fields[i];
    return text;
}

// A script without its first line, which holds the time it was written.
std::string WithoutTime(const std::string& script)
{
    return script.substr(script.find('\n') + 1);
}

class FleetOverServer : public ServerTest {
protected:
    std::string Path(const std::string& name) const { return Server->Folder() + "/" + name + ".fdb"; }

    void Make(const std::string& name, const std::string& sql) const
    {
        Server->Isql("CREATE DATABASE '" + Server->Name(Path(name)) + "' USER '" + FbServer::User() + "' PASSWORD '" +
                     Server->Password() + "';\n" + sql + "\nCOMMIT;\n");
    }

    CliResult Cli(const std::string& arguments) const
    {
        const std::string out = Server->Folder() + "/cli.out", err = Server->Folder() + "/cli.err";
        const std::string command = std::string(VORKAT_CLI_PATH) + " --user " + FbServer::User() + " --password " +
                                    Server->Password() + " " + arguments + " > " + out + " 2> " + err + " < /dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
    }
};

}

TEST_F(FleetOverServer, EqualDriftedAndUnreachableTargetsRunTogetherAndSeveralAreRepairedAtOnce)
{
    Make("new", "CREATE TABLE T (A INTEGER, B VARCHAR(5));\nCREATE SEQUENCE G;");
    Make("c1", "CREATE TABLE T (A INTEGER);");
    Make("c2", "CREATE TABLE T (A INTEGER, B VARCHAR(5));\nCREATE SEQUENCE G;");
    Make("c3", "CREATE TABLE T (A SMALLINT, B VARCHAR(5));");
    const std::string list = Server->Folder() + "/fleet.txt";
    std::ofstream(list) << "# the customers' copies\n"
                        << Server->Name(Path("c1")) << "\n\n"
                        << Server->Name(Path("c2")) << "\n"
                        // No server listens on port 1.
                        << "localhost/1:" << Path("gone") << "\n"
                        << Server->Name(Path("c3")) << "\n";
    const std::string out = Server->Folder() + "/out";
    const std::string fleet = "--complete --fleet " + list + " --out " + out + " --jobs 3 " + Server->Name(Path("new"));

    CliResult scripted = Cli(fleet);
    EXPECT_EQ(scripted.status, 2) << scripted.err;
    std::vector<std::string> rows = Lines(scripted.out);
    ASSERT_EQ(rows.size(), 5u) << scripted.out;
    const std::string total = rows.back();
    rows.pop_back();
    std::sort(rows.begin(), rows.end());
    ASSERT_EQ(WithoutSeconds(rows[0]), "2\t" + Server->Name(Path("c1")) + "\tdiffers\t2");
    ASSERT_EQ(WithoutSeconds(rows[1]), "4\t" + Server->Name(Path("c2")) + "\tequal\t0");
    ASSERT_EQ(WithoutSeconds(rows[2]), "5\tlocalhost/1:" + Path("gone") + "\terror\t0\tOld Database: Unable to complete "
                                              "network request to host \"localhost\".; Failed to establish a connection");
    ASSERT_EQ(WithoutSeconds(rows[3]), "6\t" + Server->Name(Path("c3")) + "\tdiffers\t2");
    EXPECT_EQ(total.substr(0, total.find(" in ")), "4 targets: 1 equal, 2 differ, 0 repaired, 1 error");

    // Each script is the one a run of its own writes, but for the time in its first line.
    for (const auto& [file, name] : {std::pair{"2-c1.fdb.sql", "c1"}, std::pair{"4-c2.fdb.sql", "c2"},
                                     std::pair{"6-c3.fdb.sql", "c3"}}) {
        const std::string single = Server->Folder() + "/single.sql";
        const CliResult alone =
            Cli("--complete --quiet --script " + single + " " + Server->Name(Path(name)) + " " + Server->Name(Path("new")));
        EXPECT_EQ(WithoutTime(ReadAll(out + "/" + file)), WithoutTime(ReadAll(single))) << file;
    }
    EXPECT_EQ(ReadAll(out + "/4-c2.fdb.sql"), "");

    // One share of two machines takes every second target; the same file names.
    CliResult shared = Cli(fleet + " --shard 2/2");
    EXPECT_EQ(shared.status, 1) << shared.err;
    rows = Lines(shared.out);
    ASSERT_EQ(rows.size(), 3u) << shared.out;
    std::sort(rows.begin(), rows.end() - 1);
    EXPECT_EQ(WithoutSeconds(rows[0]), "4\t" + Server->Name(Path("c2")) + "\tequal\t0");
    EXPECT_EQ(WithoutSeconds(rows[1]), "6\t" + Server->Name(Path("c3")) + "\tdiffers\t2");

    // The reachable three, repaired at once and verified.
    std::ofstream(list) << Server->Name(Path("c1")) << "\n" << Server->Name(Path("c2")) << "\n"
                        << Server->Name(Path("c3")) << "\n";
    CliResult repaired = Cli(fleet + " --repair --verify");
    EXPECT_EQ(repaired.status, 1) << repaired.err;
    rows = Lines(repaired.out);
    ASSERT_EQ(rows.size(), 4u) << repaired.out;
    std::sort(rows.begin(), rows.end() - 1);
    EXPECT_EQ(WithoutSeconds(rows[0]), "1\t" + Server->Name(Path("c1")) + "\trepaired\t2");
    EXPECT_EQ(WithoutSeconds(rows[1]), "2\t" + Server->Name(Path("c2")) + "\tequal\t0");
    EXPECT_EQ(WithoutSeconds(rows[2]), "3\t" + Server->Name(Path("c3")) + "\trepaired\t2");
    CliResult again = Cli(fleet);
    EXPECT_EQ(again.status, 0) << again.out << again.err;
    EXPECT_EQ(Lines(again.out).back().substr(0, Lines(again.out).back().find(" in ")),
              "3 targets: 3 equal, 0 differ, 0 repaired, 0 errors");
}
