// Test databases made from SQL with isql-fb, removed when the test ends, and a fixture for Old/New pairs.
#pragma once
#include "data/DM.h"
#include "data/Interfaces.h"
#include "data/Report.h"
#include "run/Engine.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

// A dialect-1 database in this process's temporary folder, created from the SQL text
// (statements as isql takes them, SET TERM included) and deleted by the destructor.
class TestDb {
public:
    // A dialect of 3 allows quoted lower-case names, which dialect 1 cannot create.
    TestDb(const std::string& name, const std::string& sql = "", int dialect = 1);
    ~TestDb();
    TestDb(const TestDb&) = delete;
    TestDb& operator=(const TestDb&) = delete;

    const std::string& Path() const { return path_; }
    // Runs more SQL on the database with isql-fb; no attachment of this process may be open.
    void Run(const std::string& sql) const;
    // Runs a query with isql-fb and returns its output lines, for checks from outside the layer.
    std::string Isql(const std::string& sql) const;

private:
    std::string path_;
};

// The folder the test databases and files of this process go to.
std::string TestFolder();
// "Suite_Test" of the running test, safe for a file name.
std::string CurrentTestName();

// Answers the login window from a script of answers; counts how often it was asked.
class ScriptedLogin : public LoginPrompt {
public:
    struct Answer {
        bool ok;
        std::string user;
        std::string password;
    };
    std::vector<Answer> Answers;
    int Asked = 0;
    std::string LastDatabase;
    std::string LastUser;

    bool Ask(const std::string& databaseName, std::string& userName, std::string& password) override;
};

// The shapes the tests assert whole: script lines and report rows.
using Lines = std::vector<std::string>;
using Rows = std::vector<ReportRows::Row>;

// An Old/New pair named after the test, the data module, the report rows and a bar.
// A pass's stages told to no one.
class NoSteps : public StepSink {
public:
    void BeginStep(const std::string&) override {}
    void EndStep() override {}
    void EndPass() override {}
};

class PairTest : public ::testing::Test {
protected:
    void MakePair(const std::string& oldSql, const std::string& newSql);
    void Connect();
    // MakePair, then Connect.
    void ConnectPair(const std::string& oldSql, const std::string& newSql);
    // A fresh pair, connected, and one pass of check in script mode.
    void ScriptPass(const std::string& oldSql, const std::string& newSql, const std::function<void()>& check);
    void Disconnect();
    void RunMode(bool repair, bool report = true);
    // Runs check in repair mode, then again in script mode, and expects nothing the second time;
    // the repair's finding rows too, when given.
    void RepairAndRecheck(const std::function<void()>& check, const std::optional<Rows>& repaired = std::nullopt);
    // The whole script and the finding rows that the last pass left.
    void ExpectScriptAndFindings(const Lines& script, const Rows& findings);

    std::unique_ptr<TestDb> OldDb;
    std::unique_ptr<TestDb> NewDb;
    TDM DM;
    ReportRows Rep;
    SilentProgress Bar;
};

// An attachment of this process's own to a test database, as SYSDBA, with a read-committed
// transaction: a look from outside the data module.
struct OwnAttachment {
    explicit OwnAttachment(const std::string& path);
    Connection Db;
    Transaction Tran{Db};
};

// Counts the calls around a long read, as a connection's observer or as a busy pointer.
class CallCounter : public FetchObserver, public BusyPointer {
public:
    void FetchBegins() override { ++begun; }
    void FetchEnds() noexcept override { ++ended; }
    void Begin() override { ++begun; }
    void End() noexcept override { ++ended; }
    int begun = 0;
    int ended = 0;
};

// The message of the DbError that action throws, or "no error" when it throws none.
std::string ErrorOf(const std::function<void()>& action);

// The rows that IsFindingRow counts, in their order.
Rows FindingRows(const ReportRows& rows);
