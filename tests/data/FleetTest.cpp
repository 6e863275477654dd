// Many Old Databases against one New: the list, the shares, the names, and the runs side by side.
#include "data/FileError.h"
#include "data/Files.h"
#include "data/RunSequence.h"
#include "db/Watchdog.h"
#include "run/Fleet.h"
#include "schema/CompleteEngine.h"
#include "tests/support/SchemaPair.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace {

std::string WriteList(const std::string& text)
{
    const std::string path = TestFolder() + "/" + CurrentTestName() + ".list";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<std::string> Texts(const std::vector<fleet::Target>& targets)
{
    std::vector<std::string> texts;
    for (const auto& t : targets)
        texts.push_back(std::to_string(t.line) + " " + t.database);
    return texts;
}

TEST(FleetList, SkipsBlankLinesAndCommentsAndKeepsEachTargetsLine)
{
    const auto targets = fleet::ReadList(WriteList("# customers\n\ncustomer.fdb\n  server:/data/b.fdb  \r\n"
                                                   "   # not this one\nlocalhost/3051:C:\\data\\c.fdb\n\n"));
    EXPECT_EQ(Texts(targets), (std::vector<std::string>{"3 customer.fdb", "4 server:/data/b.fdb",
                                                        "6 localhost/3051:C:\\data\\c.fdb"}));
    EXPECT_THROW(fleet::ReadList(WriteList("# nothing\n\n")), FileError);
    EXPECT_THROW(fleet::ReadList(TestFolder() + "/no such list"), FileError);
}

TEST(FleetList, EachTargetsFilesAreNamedAfterItsLineAndItsDatabasesFileName)
{
    std::vector<fleet::Target> targets{{3, "customer.fdb"}, {12, "server:/data/b.fdb"}, {4, "host/3051:C:\\x\\c.fdb"},
                                       {7, "server:/"}};
    const int width = fleet::LineWidth(targets);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(targets[0].FileName(".sql", width), "03-customer.fdb.sql");
    EXPECT_EQ(targets[1].FileName(".json", width), "12-b.fdb.json");
    EXPECT_EQ(targets[2].FileName(".sql", width), "04-c.fdb.sql");
    EXPECT_EQ(targets[3].FileName(".sql", width), "07-database.sql");
}

TEST(FleetShard, TheSharesOfNMachinesCoverTheListOnceBetweenThem)
{
    std::vector<fleet::Target> targets;
    for (int line = 1; line <= 7; ++line)
        targets.push_back({line * 2, "db" + std::to_string(line)});
    EXPECT_EQ(Texts(fleet::TakeShard(targets, fleet::ParseShard("1/3"))),
              (std::vector<std::string>{"2 db1", "8 db4", "14 db7"}));
    EXPECT_EQ(Texts(fleet::TakeShard(targets, fleet::ParseShard("2/3"))), (std::vector<std::string>{"4 db2", "10 db5"}));
    EXPECT_EQ(Texts(fleet::TakeShard(targets, fleet::ParseShard("3/3"))), (std::vector<std::string>{"6 db3", "12 db6"}));
    EXPECT_EQ(fleet::TakeShard(targets, fleet::ParseShard("1/1")).size(), 7u);
    for (const char* bad : {"0/3", "4/3", "3", "a/b", "1/", "/2", "-1/2", "1/2/3"})
        EXPECT_THROW(fleet::ParseShard(bad), std::invalid_argument) << bad;
}

TEST(FleetRuns, NoMoreThanJobsRunAtOnceAndAFailureStopsNoOtherTarget)
{
    std::vector<fleet::Target> targets;
    for (int line = 1; line <= 9; ++line)
        targets.push_back({line, "db" + std::to_string(line)});
    std::atomic<int> running{0}, most{0};
    std::vector<std::string> told;
    auto run = [&](const fleet::Target& t) {
        const int now = ++running;
        for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
        }
        // The first three wait for each other: three at once must be possible, and no fourth may join.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (t.line <= 3 && most < 3 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        --running;
        if (t.line == 4)
            throw std::runtime_error("cannot attach db4");
        fleet::Result result;
        result.verdict = t.line % 2 ? fleet::Verdict::Equal : fleet::Verdict::Differs;
        result.status = t.line % 2 ? 0 : 1;
        result.findings = t.line % 2 ? 0 : 3;
        return result;
    };
    fleet::Callbacks callbacks;
    callbacks.finished = [&](const fleet::Result& r) { told.push_back(r.target.database); };
    const auto results = fleet::RunAll(targets, 3, run, callbacks);
    EXPECT_EQ(most.load(), 3);
    EXPECT_EQ(told.size(), 9u);
    ASSERT_EQ(results.size(), 9u);
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i].target.line, static_cast<int>(i) + 1);
    EXPECT_EQ(results[3].verdict, fleet::Verdict::Error);
    EXPECT_EQ(results[3].message, "cannot attach db4");
    EXPECT_EQ(results[3].status, 2);
    EXPECT_EQ(fleet::WorstStatus(results), 2);
    std::vector<fleet::Result> fine(results.begin(), results.begin() + 3);
    EXPECT_EQ(fleet::WorstStatus(fine), 1);
    EXPECT_EQ(fleet::WorstStatus({}), 0);

    fleet::Result row = results[1];
    row.seconds = 1.25;
    EXPECT_EQ(fleet::ResultRow(row), "2\tdb2\tdiffers\t3\t1.2");
    row = results[3];
    row.seconds = 0.04;
    EXPECT_EQ(fleet::ResultRow(row), "4\tdb4\terror\t0\t0.0\tcannot attach db4");
    row.message = "I/O error\r\nNo such file\tor folder\nlast line\n";
    EXPECT_EQ(fleet::ResultRow(row), "4\tdb4\terror\t0\t0.0\tI/O error; No such file or folder; last line");
    EXPECT_EQ(fleet::TotalLine(results, 2.26), "9 targets: 5 equal, 3 differ, 0 repaired, 1 error in 2.3 s");
}

// New read once serves every Old, side by side, each on connections of its own; each script is
// the one a run of its own writes, and a repair of several at once converges.
TEST(FleetRuns, NewReadOnceServesSeveralOldDatabasesRepairedAtOnce)
{
    TestDb newDb(CurrentTestName() + "_new", "CREATE TABLE T (A INTEGER, B VARCHAR(5)); CREATE SEQUENCE G;", 3);
    std::vector<std::unique_ptr<TestDb>> olds;
    for (const char* sql : {"CREATE TABLE T (A INTEGER);", "CREATE TABLE T (A INTEGER, B VARCHAR(5)); CREATE SEQUENCE G;",
                            "CREATE TABLE T (A SMALLINT); CREATE SEQUENCE G;"})
        olds.push_back(std::make_unique<TestDb>(CurrentTestName() + "_old" + std::to_string(olds.size() + 1), sql, 3));

    auto scriptOf = [&](const std::string& old, std::shared_ptr<const schema::Schema> neu, bool repair) {
        TDM dm;
        ReportRows rows;
        SilentProgress bar;
        NoSteps steps;
        schema::CompleteOptions options;
        options.madeAt = "2026-01-02 03:04 UTC";
        options.newSchema = std::move(neu);
        schema::CompleteEngine engine(options);
        RunRequest request;
        request.OldField = old;
        request.NewField = newDb.Path();
        request.Repair = repair;
        std::string script;
        request.ScriptWriter = [&](const std::string& text) { script = text; };
        const RunOutcome outcome = RunSequence(dm, engine, rows, bar, steps).Run(request);
        return std::make_pair(outcome.Found, script);
    };
    std::vector<std::pair<bool, std::string>> alone;
    for (const auto& old : olds)
        alone.push_back(scriptOf(old->Path(), nullptr, false));
    EXPECT_EQ(alone[0].first, true);
    EXPECT_EQ(alone[1], std::make_pair(false, std::string()));
    EXPECT_EQ(alone[2].first, true);

    std::shared_ptr<const schema::Schema> neu;
    {
        Attached reading(newDb.Path());
        neu = schema::ReadSchema(reading.db);
    }
    std::vector<fleet::Target> targets;
    for (std::size_t i = 0; i < olds.size(); ++i)
        targets.push_back({static_cast<int>(i) + 1, olds[i]->Path()});
    std::vector<std::string> scripts(olds.size());
    fleet::RunAll(targets, 3, [&](const fleet::Target& t) {
        scripts[static_cast<std::size_t>(t.line - 1)] = scriptOf(t.database, neu, false).second;
        return fleet::Result{};
    });
    for (std::size_t i = 0; i < olds.size(); ++i)
        EXPECT_EQ(scripts[i], alone[i].second) << olds[i]->Path();

    const auto repaired = fleet::RunAll(targets, 3, [&](const fleet::Target& t) {
        scriptOf(t.database, neu, true);
        return fleet::Result{};
    });
    EXPECT_EQ(repaired.size(), 3u);
    for (const auto& old : olds) {
        EXPECT_EQ(scriptOf(old->Path(), neu, false), std::make_pair(false, std::string())) << old->Path();
        EXPECT_EQ(Extract(old->Path()), Extract(newDb.Path())) << old->Path();
    }
}

// Each target of a fleet has its own timeout: one thread's bound passes, and the others', and
// the run's, do not.
TEST(FleetRuns, ATargetsTimeoutIsItsThreadsOwn)
{
    std::atomic<bool> otherPassed{true};
    std::string otherMessage;
    std::thread other([&] {
        watchdog::ThreadDeadline bound(60);
        watchdog::SetStep("reading Old Database");
        std::this_thread::sleep_for(std::chrono::milliseconds(1300));
        otherPassed = watchdog::DeadlinePassed();
        otherMessage = watchdog::TimeoutMessage();
    });
    {
        watchdog::ThreadDeadline bound(1);
        watchdog::SetStep("comparing");
        EXPECT_FALSE(watchdog::DeadlinePassed());
        std::this_thread::sleep_for(std::chrono::milliseconds(1100));
        EXPECT_TRUE(watchdog::DeadlinePassed());
        EXPECT_EQ(watchdog::TimeoutMessage(), "timed out after 1 s while comparing");
        try {
            watchdog::CheckDeadline();
            ADD_FAILURE() << "the bound had passed";
        } catch (const DbError& error) {
            EXPECT_EQ(std::string(error.what()), "timed out after 1 s while comparing");
        }
    }
    other.join();
    EXPECT_FALSE(otherPassed);
    EXPECT_EQ(otherMessage, "timed out after 60 s while reading Old Database");
    // Without a bound of its own, a thread has the run's, which is none here.
    EXPECT_FALSE(watchdog::DeadlinePassed());
}


TEST(FleetRuns, AThreadThatWorksForATargetHasItsBound)
{
    watchdog::ThreadDeadline bound(1);
    watchdog::SetStep("reading Old Database");
    const watchdog::LentDeadline lent;
    bool lentPassed = false, unlentPassed = true;
    std::string lentMessage;
    std::thread helper([&] {
        {
            const watchdog::LentDeadline::Borrow borrowed(lent);
            EXPECT_FALSE(watchdog::DeadlinePassed());
            std::this_thread::sleep_for(std::chrono::milliseconds(1100));
            lentPassed = watchdog::DeadlinePassed();
            lentMessage = watchdog::TimeoutMessage();
        }
        // Given back, the thread has the run's bound again, which is none here.
        unlentPassed = watchdog::DeadlinePassed();
    });
    helper.join();
    EXPECT_TRUE(lentPassed);
    EXPECT_EQ(lentMessage, "timed out after 1 s while reading Old Database");
    EXPECT_FALSE(unlentPassed);
}

}
