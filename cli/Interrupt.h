// What an interrupted run must undo before the process ends: scratch files and the terminal's echo.
#pragma once
#include <string>
#include <termios.h>

namespace Interrupt {
// Catches SIGINT, SIGTERM and SIGHUP; the handler undoes what is registered, then lets the
// signal end the process as it would have.
void Install();
// A scratch file or (empty) folder to remove; kept until forgotten.
void KeepScratch(const std::string& path);
void ForgetScratch(const std::string& path);
void KeepTerminal(const termios& saved);
void ForgetTerminal();
// Undoes what is registered and ends the process at once with the status.
void EndNow(int status) noexcept;
}
