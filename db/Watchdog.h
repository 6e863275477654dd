// Client-library calls that wait on a server, watched from a thread of their own. A call to a
// server over TCP that has gone SilenceSeconds without an answer is cut (its attachment is
// closed by force), and so is every call once the run's deadline has passed; the call then
// fails, and the checker of its connection reports why instead of the client library's text.
#pragma once
#include <ibase.h>
#include <optional>
#include <string>

namespace watchdog {

inline constexpr int SilenceSeconds = 60;

// Marks one call, or a few calls in a row, on the attachment; they nest.
class ServerCall {
public:
    // handle may still be 0 (no attachment yet): such a call is cut by nothing but the deadline.
    ServerCall(isc_db_handle handle, const std::string& databaseName) noexcept;
    ~ServerCall();
    ServerCall(const ServerCall&) = delete;
    ServerCall& operator=(const ServerCall&) = delete;

    struct Entry;

private:
    Entry* entry_;
    Entry* outer_;
};

// Why the call of this thread that just failed failed, when the watchdog cut it or the
// deadline has passed; nothing otherwise.
std::optional<std::string> CutMessage();

// Bounds the whole run: once the time is up, every call in flight is cancelled, and then
// closed by force if the server does not answer the cancel. 0 lifts the bound.
void SetDeadline(int seconds);
bool DeadlinePassed();
// Raises the timeout's message once the deadline has passed: new work on a server stops there.
void CheckDeadline();
// "timed out after N s while <step>".
std::string TimeoutMessage();
// What the run is doing, for the timeout's message: "reading Old Database", "checking Table Fields".
void SetStep(const std::string& step);

// A bound of the calls of this thread alone, for as long as it lives, in place of the run's:
// one of several runs side by side (a fleet's target) times out on its own, and the others go
// on. SetStep, DeadlinePassed, CheckDeadline and TimeoutMessage then speak of this thread's.
class ThreadDeadline {
public:
    explicit ThreadDeadline(int seconds);
    ~ThreadDeadline();
    ThreadDeadline(const ThreadDeadline&) = delete;
    ThreadDeadline& operator=(const ThreadDeadline&) = delete;

    struct Bound;

private:
    Bound* bound_;
};

// This thread's bound, lent to a thread that works for it while it waits (New read beside Old):
// the helper's calls are cut when this thread's would be, and speak of its bound. Taken on the
// lending thread, whose bound must outlive the helper's work.
class LentDeadline {
public:
    LentDeadline() noexcept;

    // Holds the lent bound on the helper's thread for as long as it lives.
    class Borrow {
    public:
        explicit Borrow(const LentDeadline& lent) noexcept;
        ~Borrow();
        Borrow(const Borrow&) = delete;
        Borrow& operator=(const Borrow&) = delete;

    private:
        ThreadDeadline::Bound* outer_;
    };

private:
    ThreadDeadline::Bound* bound_;
};

}
