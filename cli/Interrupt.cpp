// The handler may only use async-signal-safe calls, so the paths live in fixed buffers.
#include "cli/Interrupt.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int MaxScratch = 4;
constexpr std::size_t MaxPath = 4096;
char scratch[MaxScratch][MaxPath];
volatile std::sig_atomic_t scratchUsed[MaxScratch];
termios terminal;
volatile std::sig_atomic_t terminalSaved = 0;

void UndoAll()
{
    if (terminalSaved)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &terminal);
    // Files first, folders last: a folder only goes once it is empty.
    for (int i = MaxScratch - 1; i >= 0; --i)
        if (scratchUsed[i] && ::unlink(scratch[i]) != 0)
            ::rmdir(scratch[i]);
}

void Undo(int signal)
{
    UndoAll();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}

namespace Interrupt {

void Install()
{
    struct sigaction action {};
    action.sa_handler = Undo;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
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

}
