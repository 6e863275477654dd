// One thread looks at the calls in flight five times a second.
#include "db/Watchdog.h"
#include "db/DbError.h"
#include "db/ServerProbe.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace watchdog {

using Clock = std::chrono::steady_clock;

struct ThreadDeadline::Bound {
    Clock::time_point at;
    int seconds = 0;
    std::string step;
};

struct ServerCall::Entry {
    // The bound of the thread that made the call, if it has one of its own.
    ThreadDeadline::Bound* bound = nullptr;
    isc_db_handle handle = 0;
    std::string server;  // empty for a local file, which cannot go silent
    Clock::time_point since;
    Clock::time_point cutAt;
    bool cancelled = false;
    bool aborted = false;
    std::string message;
};

namespace {

// A cancel that the server does not take within this time is followed by closing by force.
constexpr auto AbortAfterCancel = std::chrono::seconds(3);

class Watch {
public:
    static Watch& Instance()
    {
        static Watch watch;
        return watch;
    }

    ~Watch()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

    void Add(ServerCall::Entry* entry)
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(entry);
        StartLocked();
    }

    void Remove(ServerCall::Entry* entry)
    {
        std::lock_guard lock(mutex_);
        calls_.erase(std::remove(calls_.begin(), calls_.end(), entry), calls_.end());
    }

    std::optional<std::string> MessageOf(const ServerCall::Entry* entry, const ThreadDeadline::Bound* bound)
    {
        std::lock_guard lock(mutex_);
        if (entry && (entry->cancelled || entry->aborted))
            return entry->message;
        if (bound)
            return Clock::now() >= bound->at ? std::optional<std::string>(BoundText(*bound)) : std::nullopt;
        if (deadline_ && Clock::now() >= *deadline_)
            return TimeoutText();
        return std::nullopt;
    }

    bool Passed(const ThreadDeadline::Bound& bound) { return Clock::now() >= bound.at; }

    void SetStep(ThreadDeadline::Bound& bound, const std::string& step)
    {
        std::lock_guard lock(mutex_);
        bound.step = step;
    }

    std::string Timeout(const ThreadDeadline::Bound& bound)
    {
        std::lock_guard lock(mutex_);
        return BoundText(bound);
    }

    void Started()
    {
        std::lock_guard lock(mutex_);
        StartLocked();
    }

    void SetDeadline(int seconds)
    {
        std::lock_guard lock(mutex_);
        seconds_ = seconds;
        if (seconds > 0)
            deadline_ = Clock::now() + std::chrono::seconds(seconds);
        else
            deadline_.reset();
        if (seconds > 0)
            StartLocked();
    }

    bool DeadlinePassed()
    {
        std::lock_guard lock(mutex_);
        return deadline_ && Clock::now() >= *deadline_;
    }

    void SetStep(const std::string& step)
    {
        std::lock_guard lock(mutex_);
        step_ = step;
    }

    std::string Timeout()
    {
        std::lock_guard lock(mutex_);
        return TimeoutText();
    }

private:
    Watch() = default;

    // The thread starts with the first call or deadline to watch; the mutex is held.
    void StartLocked()
    {
        if (!thread_.joinable())
            thread_ = std::thread([this] { Loop(); });
    }

    std::string TimeoutText() const
    {
        return "timed out after " + std::to_string(seconds_) + " s while " + (step_.empty() ? "starting" : step_);
    }

    static std::string BoundText(const ThreadDeadline::Bound& bound)
    {
        return "timed out after " + std::to_string(bound.seconds) + " s while " +
               (bound.step.empty() ? "starting" : bound.step);
    }

    void Loop()
    {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            wake_.wait_for(lock, std::chrono::milliseconds(200));
            const auto now = Clock::now();
            const bool runLate = deadline_ && now >= *deadline_;
            for (ServerCall::Entry* call : calls_) {
                if (!call->handle)
                    continue;
                const bool late = call->bound ? now >= call->bound->at : runLate;
                if (late && !call->cancelled && !call->aborted) {
                    call->cancelled = true;
                    call->cutAt = now;
                    call->message = call->bound ? BoundText(*call->bound) : TimeoutText();
                    Cancel(call, fb_cancel_raise);
                } else if (call->cancelled && !call->aborted && now - call->cutAt >= AbortAfterCancel) {
                    call->aborted = true;
                    Cancel(call, fb_cancel_abort);
                } else if (!call->server.empty() && !call->cancelled && !call->aborted &&
                           now - call->since >= std::chrono::seconds(SilenceSeconds)) {
                    call->aborted = true;
                    call->message = "No answer from " + call->server + " for " + std::to_string(SilenceSeconds) +
                                    " seconds";
                    Cancel(call, fb_cancel_abort);
                }
            }
        }
    }

    static void Cancel(ServerCall::Entry* call, unsigned short how)
    {
        // The call's own thread learns of the cut from its failed status; the cancel's own
        // answer tells nothing more.
        ISC_STATUS_ARRAY status{};
        isc_db_handle handle = call->handle;
        fb_cancel_operation(status, &handle, how);
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    bool stopping_ = false;
    std::vector<ServerCall::Entry*> calls_;
    std::optional<Clock::time_point> deadline_;
    int seconds_ = 0;
    std::string step_;
};

thread_local ServerCall::Entry* current = nullptr;
thread_local ThreadDeadline::Bound* threadBound = nullptr;

}

ServerCall::ServerCall(isc_db_handle handle, const std::string& databaseName) noexcept
    : entry_(nullptr), outer_(current)
{
    try {
        auto entry = std::make_unique<Entry>();
        entry->handle = handle;
        entry->bound = threadBound;
        if (auto server = TcpServerOf(databaseName))
            entry->server = server->shown;
        entry->since = Clock::now();
        Watch::Instance().Add(entry.get());
        entry_ = entry.release();
        current = entry_;
    } catch (...) {
        // Unwatched then: the call runs as it would without a watchdog.
    }
}

ServerCall::~ServerCall()
{
    if (!entry_)
        return;
    Watch::Instance().Remove(entry_);
    current = outer_;
    delete entry_;
}

std::optional<std::string> CutMessage()
{
    return Watch::Instance().MessageOf(current, threadBound);
}

void SetDeadline(int seconds)
{
    Watch::Instance().SetDeadline(seconds);
}

bool DeadlinePassed()
{
    return threadBound ? Watch::Instance().Passed(*threadBound) : Watch::Instance().DeadlinePassed();
}

void CheckDeadline()
{
    if (DeadlinePassed())
        throw DbError(TimeoutMessage());
}

std::string TimeoutMessage()
{
    return threadBound ? Watch::Instance().Timeout(*threadBound) : Watch::Instance().Timeout();
}

void SetStep(const std::string& step)
{
    if (threadBound)
        Watch::Instance().SetStep(*threadBound, step);
    else
        Watch::Instance().SetStep(step);
}

ThreadDeadline::ThreadDeadline(int seconds) : bound_(nullptr)
{
    if (seconds <= 0)
        return;
    bound_ = new Bound{Clock::now() + std::chrono::seconds(seconds), seconds, {}};
    threadBound = bound_;
    Watch::Instance().Started();
}

ThreadDeadline::~ThreadDeadline()
{
    if (!bound_)
        return;
    threadBound = nullptr;
    delete bound_;
}

LentDeadline::LentDeadline() noexcept : bound_(threadBound) {}

LentDeadline::Borrow::Borrow(const LentDeadline& lent) noexcept : outer_(threadBound)
{
    threadBound = lent.bound_;
}

LentDeadline::Borrow::~Borrow()
{
    threadBound = outer_;
}

}
