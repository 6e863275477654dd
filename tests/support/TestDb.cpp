// Test databases through isql-fb; exact bytes go in through the project's own statement layer instead.
#include "tests/support/TestDb.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace {
std::string RunIsql(const std::string& script, const std::string& database)
{
    std::string file = TestFolder() + "/script_" + std::to_string(::getpid()) + ".sql";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << script;
    }
    std::string command = std::string(ISQL_PATH) + " -q -b -user SYSDBA -password x";
    if (!database.empty())
        command += " '" + database + "'";
    command += " -i '" + file + "' 2>&1";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot start isql");
    std::array<char, 4096> buffer{};
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    int rc = ::pclose(pipe);
    std::filesystem::remove(file);
    if (rc != 0)
        throw std::runtime_error("isql failed: " + output + "\nscript:\n" + script);
    return output;
}
}

namespace {
// The process's folder goes away with the process, whatever the tests left in it.
struct TempFolder {
    std::string path;
    TempFolder()
    {
        path = (std::filesystem::temp_directory_path() / "vorkat_test_XXXXXX").string();
        if (!::mkdtemp(path.data()))
            throw std::runtime_error("cannot create a temporary folder");
    }
    ~TempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
};
}

std::string TestFolder()
{
    static TempFolder folder;
    return folder.path;
}

std::string CurrentTestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "db";
    for (auto& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

TestDb::TestDb(const std::string& name, const std::string& sql, int dialect)
    : path_(TestFolder() + "/" + name + ".fdb")
{
    std::filesystem::remove(path_);
    RunIsql("SET SQL DIALECT " + std::to_string(dialect) + ";\nCREATE DATABASE '" + path_ + "' USER 'SYSDBA' PASSWORD 'x';\nCOMMIT;\n" + sql +
                "\nCOMMIT;\n",
            "");
}

TestDb::~TestDb()
{
    std::error_code error;
    std::filesystem::remove(path_, error);
}

void TestDb::Run(const std::string& sql) const
{
    RunIsql(sql + "\nCOMMIT;\n", path_);
}

std::string TestDb::Isql(const std::string& sql) const
{
    return RunIsql(sql + "\n", path_);
}

bool ScriptedLogin::Ask(const std::string& databaseName, std::string& userName, std::string& password)
{
    LastDatabase = databaseName;
    LastUser = userName;
    if (Asked >= static_cast<int>(Answers.size())) {
        ++Asked;
        return false;
    }
    const Answer& answer = Answers[static_cast<std::size_t>(Asked++)];
    userName = answer.user;
    password = answer.password;
    return answer.ok;
}

void PairTest::MakePair(const std::string& oldSql, const std::string& newSql)
{
    OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old", oldSql);
    NewDb = std::make_unique<TestDb>(CurrentTestName() + "_new", newSql);
}

void PairTest::Connect()
{
    DM.OldDB.SetDatabaseName(OldDb->Path());
    DM.NewDB.SetDatabaseName(NewDb->Path());
    DM.ConnectOld();
    DM.ConnectNew();
}

void PairTest::ConnectPair(const std::string& oldSql, const std::string& newSql)
{
    MakePair(oldSql, newSql);
    Connect();
}

void PairTest::ScriptPass(const std::string& oldSql, const std::string& newSql, const std::function<void()>& check)
{
    ConnectPair(oldSql, newSql);
    RunMode(false);
    check();
}

void PairTest::Disconnect()
{
    DM.NewDB.Close();
    DM.OldDB.Close();
}

void PairTest::RunMode(bool repair, bool report)
{
    DM.RepairMode = repair;
    DM.ReportMode = report;
    DM.ScriptLines.clear();
    Rep.ClearReport();
}

void PairTest::RepairAndRecheck(const std::function<void()>& check, const std::optional<Rows>& repaired)
{
    RunMode(true);
    check();
    if (repaired)
        EXPECT_EQ(FindingRows(Rep), *repaired);
    RunMode(false);
    check();
    ExpectScriptAndFindings(Lines{}, Rows{});
}

void PairTest::ExpectScriptAndFindings(const Lines& script, const Rows& findings)
{
    EXPECT_EQ(DM.ScriptLines, script);
    EXPECT_EQ(FindingRows(Rep), findings);
}

OwnAttachment::OwnAttachment(const std::string& path)
{
    Db.Params = {"user_name=SYSDBA", "password=x"};
    Db.SetDatabaseName(path);
    Db.Open();
    Tran.Params = {"read_committed", "rec_version", "nowait"};
}

std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const DbError& error) {
        return error.what();
    }
    return "no error";
}

Rows FindingRows(const ReportRows& rows)
{
    Rows found;
    for (const auto& row : rows.Rows())
        if (IsFindingRow(row))
            found.push_back(row);
    return found;
}
