// Exit signals against the commit and rollback of written work: a reader of the test's own
// takes a real signal while a real commit runs, and the signal takes effect only after it.
#include "db/CommitGuard.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/ScopedTransaction.h"
#include "db/Statement.h"
#include "tests/support/CheckTest.h"
#include "tests/support/SchemaPair.h"
#include "tests/support/TestDb.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <thread>

namespace {

constexpr auto Bound = std::chrono::seconds(60);

// A front end's reader as the test's own: one thread that blocks the exit signals and passes
// the one it takes to CommitGuard::Admit, connected and observing until it goes. Signals are
// sent to that thread alone: the test binary's other threads do not block them.
class SignalReader : public HeldSignals, public CommitObserver {
public:
    // sendAt: the guarded end during which Signal is sent; nothing sends it otherwise.
    explicit SignalReader(std::optional<TransactionEnd> sendAt = std::nullopt) : sendAt_(sendAt)
    {
        sigset_t exitSignals = ExitSignals();
        sigset_t before;
        // The reader starts with them blocked; this thread gets its mask back at once.
        pthread_sigmask(SIG_BLOCK, &exitSignals, &before);
        thread_ = std::thread([this] { Read(); });
        pthread_sigmask(SIG_SETMASK, &before, nullptr);
        CommitGuard::Connect(this);
        CommitGuard::Observe(this);
    }

    ~SignalReader() override
    {
        CommitGuard::Observe(nullptr);
        CommitGuard::Connect(nullptr);
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        if (!sent_)
            Send();
        thread_.join();
    }

    static constexpr int Signal = SIGTERM;

    void Send()
    {
        sent_ = true;
        pthread_kill(thread_.native_handle(), Signal);
    }

    // Until the reader has held or acted on the signal sent.
    void WaitForAnswer()
    {
        std::unique_lock lock(mutex_);
        if (!answered_.wait_for(lock, Bound, [this] { return held_ || acted_; }))
            ADD_FAILURE() << "the reader did not take the signal";
    }

    // What the reader was told and did, in order.
    std::vector<std::string> Lines()
    {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    std::vector<TransactionEnd> Guarded()
    {
        std::lock_guard lock(mutex_);
        return guarded_;
    }

    // Run as the held signal takes effect.
    std::function<void()> OnDeliver;

    void Held(int signal, TransactionEnd during) override { Note("held: " + HeldNotice(signal, during)); }

    void Deliver(int signal, TransactionEnd during) noexcept override
    {
        Note("delivered: " + DeliveredNotice(signal, during));
        if (OnDeliver)
            OnDeliver();
    }

    void Begins(TransactionEnd what) override
    {
        {
            std::lock_guard lock(mutex_);
            guarded_.push_back(what);
        }
        if (sendAt_ && *sendAt_ == what && !sent_) {
            Send();
            WaitForAnswer();
        }
    }

    void Held(int) override
    {
        // The gate's mutex is held: only this reader's own state here.
        {
            std::lock_guard lock(mutex_);
            held_ = true;
        }
        answered_.notify_all();
    }

private:
    static sigset_t ExitSignals()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&set, signal);
        return set;
    }

    void Read()
    {
        const sigset_t exitSignals = ExitSignals();
        int signal = 0;
        sigwait(&exitSignals, &signal);
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
        }
        CommitGuard::Admit(signal, [this, signal] {
            Note("acted at once: " + SignalName(signal));
            {
                std::lock_guard lock(mutex_);
                acted_ = true;
            }
            answered_.notify_all();
        });
    }

    void Note(const std::string& line)
    {
        std::lock_guard lock(mutex_);
        lines_.push_back(line);
    }

    std::optional<TransactionEnd> sendAt_;
    std::thread thread_;
    std::atomic<bool> sent_{false};
    std::mutex mutex_;
    std::condition_variable answered_;
    bool stopping_ = false;
    bool held_ = false;
    bool acted_ = false;
    std::vector<std::string> lines_;
    std::vector<TransactionEnd> guarded_;
};

class CommitGuardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDb>(CurrentTestName(), "CREATE TABLE T (ID INTEGER);\nINSERT INTO T VALUES (1);");
        connection.Params = {"user_name=SYSDBA", "password=x"};
        connection.SetDatabaseName(db->Path());
        connection.Open();
    }

    // Whether table U is in the catalog, asked by an attachment of its own.
    std::string UAsSeenByAnother()
    {
        OwnAttachment other(db->Path());
        Query query(other.Db, other.Tran,
                    {"select count(*) as N from RDB$RELATIONS where RDB$RELATION_NAME = 'U'"});
        query.Open();
        return query.AsInteger("N") == 1 ? "U is there" : "U is not there";
    }

    std::unique_ptr<TestDb> db;
    Connection connection;
};

}

TEST_F(CommitGuardTest, SignalDuringTheCommitOfWrittenWorkTakesEffectAfterTheCommitAndTheWorkIsKept)
{
    SignalReader reader(TransactionEnd::Commit);
    std::string atDelivery;
    reader.OnDeliver = [&] { atDelivery = UAsSeenByAnother(); };
    {
        ScopedTransaction work(connection);
        Statement(connection, work.Get()).ExecuteText("CREATE TABLE U (A INTEGER)", 1);
        work.Commit();
    }
    EXPECT_EQ(reader.Lines(),
              (std::vector<std::string>{"held: SIGTERM came during the commit; the commit runs to its end first",
                                        "delivered: SIGTERM came during the commit; it took effect after the commit ended"}));
    EXPECT_EQ(atDelivery, "U is there");
    connection.Close();
    EXPECT_EQ(UAsSeenByAnother(), "U is there");
}

TEST_F(CommitGuardTest, SignalDuringTheRollbackOfWrittenWorkTakesEffectAfterTheRollback)
{
    SignalReader reader(TransactionEnd::Rollback);
    std::string atDelivery;
    reader.OnDeliver = [&] { atDelivery = UAsSeenByAnother(); };
    {
        ScopedTransaction work(connection);
        Statement(connection, work.Get()).ExecuteText("CREATE TABLE U (A INTEGER)", 1);
    }
    EXPECT_EQ(reader.Lines(),
              (std::vector<std::string>{"held: SIGTERM came during the rollback; the rollback runs to its end first",
                                        "delivered: SIGTERM came during the rollback; it took effect after the rollback ended"}));
    EXPECT_EQ(atDelivery, "U is not there");
}

TEST_F(CommitGuardTest, SignalBetweenStatementsIsActedOnAtOnceAndNothingIsHeldForTheCommit)
{
    SignalReader reader;
    ScopedTransaction work(connection);
    Statement(connection, work.Get()).ExecuteText("CREATE TABLE U (A INTEGER)", 1);
    reader.Send();
    reader.WaitForAnswer();
    work.Commit();
    EXPECT_EQ(reader.Lines(), (std::vector<std::string>{"acted at once: SIGTERM"}));
    EXPECT_EQ(reader.Guarded(), (std::vector<TransactionEnd>{TransactionEnd::Commit}));
}

// The window's Exit button cancels through the same gate: while a commit runs, its cancel is
// left out and the commit ends; between statements it runs at once.
class CancelDuringTheCommit : public CommitObserver {
public:
    void Begins(TransactionEnd) override
    {
        // From another thread, as the window's thread asks while the worker commits.
        std::thread([this] { duringCommit = CommitGuard::UnlessEnding([this] { ++cancels; }); }).join();
    }
    void Held(int) override {}
    std::optional<bool> duringCommit;
    int cancels = 0;
};

TEST_F(CommitGuardTest, ACancelThatIsNoSignalIsLeftOutWhileTheCommitRunsAndRunsAtOnceBetweenStatements)
{
    CancelDuringTheCommit cancel;
    EXPECT_TRUE(CommitGuard::UnlessEnding([&] { ++cancel.cancels; }));
    EXPECT_EQ(cancel.cancels, 1);
    CommitGuard::Observe(&cancel);
    {
        ScopedTransaction work(connection);
        Statement(connection, work.Get()).ExecuteText("CREATE TABLE U (A INTEGER)", 1);
        work.Commit();
    }
    CommitGuard::Observe(nullptr);
    EXPECT_EQ(cancel.duringCommit, std::optional<bool>(false));
    EXPECT_EQ(cancel.cancels, 1);
    connection.Close();
    EXPECT_EQ(UAsSeenByAnother(), "U is there");
}

TEST_F(CommitGuardTest, OnlyEndsOfWrittenWorkAreGuardedAndARetainingCommitEndsWhatWasWritten)
{
    SignalReader reader;
    Transaction transaction(connection);
    transaction.StartTransaction();
    {
        Query read(connection, transaction, {"select ID from T"});
        read.Open();
    }
    transaction.Commit();
    EXPECT_EQ(reader.Guarded(), std::vector<TransactionEnd>{});

    transaction.StartTransaction();
    Statement(connection, transaction).ExecuteText("INSERT INTO T VALUES (2)", 1);
    transaction.CommitRetaining();
    // Nothing written since the retaining commit.
    transaction.Commit();
    transaction.StartTransaction();
    Statement(connection, transaction).ExecuteText("INSERT INTO T VALUES (3)", 1);
    transaction.RollbackRetaining();
    transaction.Rollback();
    transaction.StartTransaction();
    Statement(connection, transaction).ExecuteText("INSERT INTO T VALUES (4)", 1);
    // The close commits it.
    connection.Close();
    EXPECT_EQ(reader.Guarded(), (std::vector<TransactionEnd>{TransactionEnd::Commit, TransactionEnd::Rollback,
                                                             TransactionEnd::Commit}));
}

using ChecksRepairGuardTest = CheckTest<CheckKind::Generators>;

TEST_F(ChecksRepairGuardTest, EachFixOfTheEightChecksCommitsUnderTheGuard)
{
    SignalReader reader;
    CheckPair("", "CREATE GENERATOR G1; CREATE GENERATOR G2;", true);
    EXPECT_EQ(FindingRows(Rep), (Rows{{"GENERATOR", "G1", "not exist"}, {"GENERATOR", "G2", "not exist"}}));
    EXPECT_EQ(reader.Guarded(), (std::vector<TransactionEnd>{TransactionEnd::Commit, TransactionEnd::Commit}));
}

TEST(CompleteRepairGuardTest, TheCompleteRepairCommitsUnderTheGuard)
{
    TestDb oldDb(CurrentTestName() + "_old", "CREATE TABLE T (ID INTEGER);", 3);
    TestDb newDb(CurrentTestName() + "_new", "CREATE TABLE T (ID INTEGER);\nCREATE TABLE U (A INTEGER);", 3);
    SignalReader reader;
    Repair(oldDb.Path(), newDb.Path());
    EXPECT_EQ(reader.Guarded(), (std::vector<TransactionEnd>{TransactionEnd::Commit}));
}
