// What an interrupted run must undo before the process ends: scratch files and the terminal's echo.
#pragma once
#include <string>
#include <termios.h>

namespace Interrupt {
// First thing in main, before any thread starts: blocks SIGINT, SIGTERM and SIGHUP in every
// thread and reads them on a thread of their own. A signal undoes what is registered, then
// ends the process as it would have; one that comes while written work is committed or rolled
// back waits for the end (db/CommitGuard.h), with a line on standard error when it comes and
// another when it takes effect. A signal ignored when the program started stays ignored.
void Install();
// In a child between fork and exec: the signal mask the program started with.
void ForChild() noexcept;
// A scratch file or (empty) folder to remove; kept until forgotten.
void KeepScratch(const std::string& path);
void ForgetScratch(const std::string& path);
void KeepTerminal(const termios& saved);
void ForgetTerminal();
// Undoes what is registered and ends the process at once with the status.
void EndNow(int status) noexcept;
// The run's end is told once: by the run as its outcome is known, or by the timeout that ends
// it first. True for the first caller only.
bool ClaimEnd() noexcept;
}
