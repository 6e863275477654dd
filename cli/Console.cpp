// Progress, printed findings and the password prompt on the process's standard streams.
#include "cli/Console.h"
#include "cli/Interrupt.h"

#include <iostream>
#include <termios.h>
#include <unistd.h>

bool StdinIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }
bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void ConsoleProgress::BeginStep(const std::string& caption)
{
    caption_ = caption;
    position_ = 0;
    maximum_ = 0;
    walked_ = 0;
    Draw(true);
}

void ConsoleProgress::EndStep()
{
    if (!shown_)
        return;
    if (terminal_)
        Draw(true);
    else
        std::fprintf(stderr, "%s: %d\n", caption_.c_str(), walked_);
    std::fflush(stderr);
}

void ConsoleProgress::SetPosition(int position)
{
    if (position > position_)
        walked_ += position - position_;
    position_ = position;
    Draw(false);
}

void ConsoleProgress::Draw(bool now)
{
    if (!shown_ || !terminal_)
        return;
    // Tens of thousands of steps would flood a slow terminal; ten redraws a second are enough.
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - lastDraw_ < std::chrono::milliseconds(100))
        return;
    lastDraw_ = time;
    if (maximum_ > 0)
        std::fprintf(stderr, "\r%s %d/%d\033[K", caption_.c_str(), position_, maximum_);
    else
        std::fprintf(stderr, "\r%s\033[K", caption_.c_str());
    std::fflush(stderr);
    drawn_ = true;
}

void ConsoleProgress::Clear()
{
    if (!drawn_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

void PrintRow(std::FILE* out, const ReportRows::Row& row)
{
    std::fprintf(out, "%s\t%s\t%s\n", row[0].c_str(), row[1].c_str(), row[2].c_str());
}

void PrintedReport::AddReportRow(const std::string& type, const std::string& objectName, const std::string& message)
{
    rows_.AddReportRow(type, objectName, message);
    if (!out_)
        return;
    progress_.Clear();
    PrintRow(out_, {type, objectName, message});
    std::fflush(out_);
}

bool TerminalLogin::Ask(const std::string& databaseName, std::string& userName, std::string& password)
{
    std::fprintf(stderr, "Password for %s on %s: ", userName.c_str(), databaseName.c_str());
    std::fflush(stderr);
    termios saved{};
    const bool echoOff = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (echoOff) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        Interrupt::KeepTerminal(saved);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool answered = static_cast<bool>(std::getline(std::cin, line));
    if (echoOff) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        Interrupt::ForgetTerminal();
    }
    std::fputc('\n', stderr);
    // End of input counts as Cancel.
    if (!answered)
        return false;
    password = line;
    return true;
}
