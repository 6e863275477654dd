// The signals are read by one thread, so that the decision to act at once or after a commit is
// made in one place (CommitGuard::Admit). What is undone may be registered while a signal ends
// the process, so the paths live in fixed buffers.
#include "cli/Interrupt.h"
#include "db/CommitGuard.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int MaxScratch = 4;
constexpr std::size_t MaxPath = 4096;
char scratch[MaxScratch][MaxPath];
volatile std::sig_atomic_t scratchUsed[MaxScratch];
termios terminal;
std::atomic<bool> endClaimed{false};
volatile std::sig_atomic_t terminalSaved = 0;

// SIGINT, SIGTERM and SIGHUP; those of them ignored at the start; the mask the program started with.
sigset_t exitSignals;
sigset_t ignoredAtStart;
sigset_t startMask;

void UndoAll()
{
    if (terminalSaved)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &terminal);
    // Files first, folders last: a folder only goes once it is empty.
    for (int i = MaxScratch - 1; i >= 0; --i)
        if (scratchUsed[i] && ::unlink(scratch[i]) != 0)
            ::rmdir(scratch[i]);
}

// As the signal's default action: the status tells the shell which signal it was.
[[noreturn]] void EndBySignal(int signal) noexcept
{
    UndoAll();
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

void PrintNotice(const char* start, const std::string& notice)
{
    std::fprintf(stderr, "%svorkat-cli: %s\n", start, notice.c_str());
    std::fflush(stderr);
}

class Reader : public HeldSignals {
public:
    void Held(int signal, TransactionEnd during) override
    {
        // On a terminal the progress line has no end yet.
        PrintNotice(::isatty(STDERR_FILENO) == 1 ? "\n" : "", HeldNotice(signal, during));
    }
    void Deliver(int signal, TransactionEnd during) noexcept override
    {
        PrintNotice("", DeliveredNotice(signal, during));
        EndBySignal(signal);
    }
};

Reader reader;

void ReadSignals()
{
    for (;;) {
        int signal = 0;
        if (::sigwait(&exitSignals, &signal) != 0 || sigismember(&ignoredAtStart, signal))
            continue;
        CommitGuard::Admit(signal, [signal] { EndBySignal(signal); });
    }
}

}

namespace Interrupt {

void Install()
{
    sigemptyset(&exitSignals);
    sigemptyset(&ignoredAtStart);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&exitSignals, signal);
        // Under nohup SIGHUP comes ignored, and SIGINT in a job a shell started in the background.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            sigaddset(&ignoredAtStart, signal);
    }
    // Blocked, the signals reach none of the handlers that the Firebird client puts in place at
    // its first attach either.
    ::pthread_sigmask(SIG_BLOCK, &exitSignals, &startMask);
    CommitGuard::Connect(&reader);
    std::thread(ReadSignals).detach();
}

void ForChild() noexcept
{
    ::sigprocmask(SIG_SETMASK, &startMask, nullptr);
}

void KeepScratch(const std::string& path)
{
    if (path.size() >= MaxPath)
        return;
    for (int i = 0; i < MaxScratch; ++i)
        if (!scratchUsed[i]) {
            std::memcpy(scratch[i], path.c_str(), path.size() + 1);
            scratchUsed[i] = 1;
            return;
        }
}

void ForgetScratch(const std::string& path)
{
    for (int i = 0; i < MaxScratch; ++i)
        if (scratchUsed[i] && path == scratch[i])
            scratchUsed[i] = 0;
}

void KeepTerminal(const termios& saved)
{
    terminal = saved;
    terminalSaved = 1;
}

void ForgetTerminal() { terminalSaved = 0; }

void EndNow(int status) noexcept
{
    UndoAll();
    ::_exit(status);
}

bool ClaimEnd() noexcept
{
    return !endClaimed.exchange(true);
}

}
