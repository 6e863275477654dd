// The commit or rollback of written work runs to its end whatever exit signal comes: the
// embedded engine ended in the middle of one leaves page rows of relations that no longer
// exist, and every later repair is refused until a backup and restore.
#pragma once
#include <functional>
#include <string>

enum class TransactionEnd { Commit, Rollback };

// The front end's reader of SIGINT, SIGTERM and SIGHUP; one is connected per process.
class HeldSignals {
public:
    virtual ~HeldSignals() = default;
    // On the reader's thread, as the signal is held: it came during the commit or rollback and
    // waits for its end. The gate is closed meanwhile: no commit, rollback or Admit in here.
    virtual void Held(int signal, TransactionEnd during) = 0;
    // On the thread of the commit or rollback, once it has ended: the first signal held during
    // it takes effect now. No commit or rollback starts on another thread before this returns.
    virtual void Deliver(int signal, TransactionEnd during) noexcept = 0;
};

// A test's look inside the guarded ends.
class CommitObserver {
public:
    virtual ~CommitObserver() = default;
    // On the guarded thread, as a guarded end begins, before the client library's call.
    virtual void Begins(TransactionEnd what) = 0;
    // As HeldSignals::Held, with the gate closed.
    virtual void Held(int signal) = 0;
};

// Around the client library's commit or rollback of a transaction that has written
// (db/Transaction.cpp). They nest; a held signal is delivered as the outermost one ends.
class CommitGuard {
public:
    explicit CommitGuard(TransactionEnd what) noexcept;
    ~CommitGuard();
    CommitGuard(const CommitGuard&) = delete;
    CommitGuard& operator=(const CommitGuard&) = delete;

    // The front end's reader; nullptr disconnects it.
    static void Connect(HeldSignals* reader) noexcept;
    // From the reader, for each signal: with no guarded end running, act runs at once, and none
    // starts on another thread before act returns; otherwise the signal is held and goes to
    // the reader's Deliver once the end is over.
    static void Admit(int signal, const std::function<void()>& act);
    // A cancel asked for by other means than a signal: act runs as Admit runs it when no guarded
    // end is running, and is left out (false) when one is, which then ends as it would have.
    static bool UnlessEnding(const std::function<void()>& act);
    // nullptr stops the observing.
    static void Observe(CommitObserver* observer) noexcept;

private:
    TransactionEnd what_;
    TransactionEnd outer_;
};

// "SIGINT", "SIGTERM", "SIGHUP", else "signal N".
std::string SignalName(int signal);
// "SIGTERM came during the commit; the commit runs to its end first"
std::string HeldNotice(int signal, TransactionEnd during);
// "SIGTERM came during the commit; it took effect after the commit ended"
std::string DeliveredNotice(int signal, TransactionEnd during);
