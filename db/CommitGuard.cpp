// One gate for the process: the guarded ends running, the threads acting on a signal, and the
// signal held for the end of a commit or rollback.
#include "db/CommitGuard.h"

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct HeldSignal {
    int signal;
    TransactionEnd during;
};

struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    int running = 0;
    TransactionEnd innermost = TransactionEnd::Commit;
    std::optional<HeldSignal> held;
    // Threads acting on a signal or delivering one: a guarded end on any other thread waits.
    std::vector<std::thread::id> acting;
    HeldSignals* reader = nullptr;
    CommitObserver* observer = nullptr;

    bool ClosedFor(std::thread::id self) const
    {
        return std::any_of(acting.begin(), acting.end(), [self](std::thread::id id) { return id != self; });
    }
};

// Never destroyed: the front end's reader thread may still use it while the process exits.
Gate& TheGate()
{
    static Gate* gate = new Gate;
    return *gate;
}

// The calling thread acts until this goes; then the guarded ends waiting for it start.
class Acting {
public:
    // The gate's mutex is held.
    explicit Acting(Gate& gate) : gate_(gate), self_(std::this_thread::get_id()) { gate_.acting.push_back(self_); }
    ~Acting()
    {
        {
            std::lock_guard lock(gate_.mutex);
            gate_.acting.erase(std::find(gate_.acting.begin(), gate_.acting.end(), self_));
        }
        gate_.opened.notify_all();
    }
    Acting(const Acting&) = delete;
    Acting& operator=(const Acting&) = delete;

private:
    Gate& gate_;
    std::thread::id self_;
};

const char* EndName(TransactionEnd end)
{
    return end == TransactionEnd::Commit ? "commit" : "rollback";
}

}

CommitGuard::CommitGuard(TransactionEnd what) noexcept : what_(what), outer_(what)
{
    Gate& gate = TheGate();
    CommitObserver* observer = nullptr;
    {
        std::unique_lock lock(gate.mutex);
        const auto self = std::this_thread::get_id();
        gate.opened.wait(lock, [&] { return !gate.ClosedFor(self); });
        outer_ = std::exchange(gate.innermost, what_);
        ++gate.running;
        observer = gate.observer;
    }
    if (observer)
        observer->Begins(what_);
}

CommitGuard::~CommitGuard()
{
    Gate& gate = TheGate();
    std::unique_lock lock(gate.mutex);
    gate.innermost = outer_;
    if (--gate.running > 0 || !gate.held)
        return;
    const HeldSignal held = *std::exchange(gate.held, std::nullopt);
    HeldSignals* reader = gate.reader;
    if (!reader)
        return;
    Acting delivering(gate);
    lock.unlock();
    reader->Deliver(held.signal, held.during);
}

void CommitGuard::Connect(HeldSignals* reader) noexcept
{
    Gate& gate = TheGate();
    std::lock_guard lock(gate.mutex);
    gate.reader = reader;
}

void CommitGuard::Admit(int signal, const std::function<void()>& act)
{
    Gate& gate = TheGate();
    std::unique_lock lock(gate.mutex);
    if (gate.running > 0) {
        if (!gate.held)
            gate.held = HeldSignal{signal, gate.innermost};
        if (gate.reader)
            gate.reader->Held(signal, gate.innermost);
        if (gate.observer)
            gate.observer->Held(signal);
        return;
    }
    Acting acting(gate);
    lock.unlock();
    act();
}

bool CommitGuard::UnlessEnding(const std::function<void()>& act)
{
    Gate& gate = TheGate();
    std::unique_lock lock(gate.mutex);
    if (gate.running > 0)
        return false;
    Acting acting(gate);
    lock.unlock();
    act();
    return true;
}

void CommitGuard::Observe(CommitObserver* observer) noexcept
{
    Gate& gate = TheGate();
    std::lock_guard lock(gate.mutex);
    gate.observer = observer;
}

std::string SignalName(int signal)
{
    switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    default: return "signal " + std::to_string(signal);
    }
}

std::string HeldNotice(int signal, TransactionEnd during)
{
    const std::string end = EndName(during);
    return SignalName(signal) + " came during the " + end + "; the " + end + " runs to its end first";
}

std::string DeliveredNotice(int signal, TransactionEnd during)
{
    const std::string end = EndName(during);
    return SignalName(signal) + " came during the " + end + "; it took effect after the " + end + " ended";
}
