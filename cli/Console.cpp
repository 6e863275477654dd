// Progress, printed findings and the prompts on the process's standard streams.
#include "cli/Console.h"
#include "cli/Interrupt.h"
#include "db/Trim.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <termios.h>
#include <unistd.h>

bool StdinIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }
bool StdoutIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }
bool StderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

bool ColourWanted()
{
    const char* value = std::getenv("NO_COLOR");
    return !value || !*value;
}

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration elapsed) { return std::chrono::duration<double>(elapsed).count(); }

// Characters, not bytes: names are UTF-8, and a byte that is not counts as one.
std::size_t Width(const std::string& text)
{
    std::size_t width = 0;
    for (const char c : text)
        width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return width;
}

bool StartsWith(const std::string& text, const char* start) { return text.rfind(start, 0) == 0; }

// The message's colour: what is made green, what changes yellow, what loses data or fails red.
const char* ColourOf(const std::string& message, bool destructive)
{
    if (destructive || StartsWith(message, "will drop") || StartsWith(message, "dropped") ||
        StartsWith(message, "would fail") || StartsWith(message, "cannot be read"))
        return "\033[31m";
    if (StartsWith(message, "not exist"))
        return "\033[32m";
    if (StartsWith(message, "different"))
        return "\033[33m";
    if (StartsWith(message, "would cut") || StartsWith(message, "not mended"))
        return "\033[35m";
    if (StartsWith(message, "only in Old"))
        return "\033[36m";
    return nullptr;
}

}

ConsoleProgress::~ConsoleProgress()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        WipeLocked();
    }
    wake_.notify_all();
    if (ticker_.joinable())
        ticker_.join();
}

void ConsoleProgress::BeginStep(const std::string& caption)
{
    std::lock_guard lock(mutex_);
    caption_ = caption;
    position_ = 0;
    maximum_ = 0;
    walked_ = 0;
    counted_ = false;
    inStep_ = true;
    started_ = Clock::now();
    DrawLocked(true);
    // Nothing but the step's start tells of a read that takes long: a clock redraws it.
    if (shown_ && terminal_ && !ticker_.joinable())
        ticker_ = std::thread([this] { Tick(); });
}

void ConsoleProgress::EndStep()
{
    std::lock_guard lock(mutex_);
    inStep_ = false;
    if (!shown_)
        return;
    if (terminal_) {
        DrawLocked(true);
        return;
    }
    // A step that ended walked all it was told of, also where it told the index of each
    // statement it began rather than a count.
    const double seconds = Seconds(Clock::now() - started_);
    if (counted_)
        std::fprintf(stderr, "%s: %d in %.1f s\n", caption_.c_str(), std::max(walked_, maximum_), seconds);
    else
        std::fprintf(stderr, "%s: %.1f s\n", caption_.c_str(), seconds);
    std::fflush(stderr);
}

int ConsoleProgress::Position() const
{
    std::lock_guard lock(mutex_);
    return position_;
}

void ConsoleProgress::SetPosition(int position)
{
    std::lock_guard lock(mutex_);
    if (position > position_)
        walked_ += position - position_;
    position_ = position;
    counted_ = true;
    DrawLocked(false);
}

void ConsoleProgress::SetMaximum(int maximum)
{
    std::lock_guard lock(mutex_);
    maximum_ = maximum;
    counted_ = true;
}

void ConsoleProgress::DrawLocked(bool now)
{
    if (!shown_ || !terminal_)
        return;
    // Tens of thousands of steps would flood a slow terminal; ten redraws a second are enough.
    const auto time = Clock::now();
    if (!now && time - lastDraw_ < std::chrono::milliseconds(100))
        return;
    lastDraw_ = time;
    std::string line = "\r" + caption_;
    if (maximum_ > 0)
        line += " " + std::to_string(position_) + "/" + std::to_string(maximum_);
    line += " " + std::to_string(static_cast<long long>(Seconds(time - started_))) + " s\033[K";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = true;
}

void ConsoleProgress::WipeLocked()
{
    if (!drawn_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

void ConsoleProgress::Clear()
{
    std::lock_guard lock(mutex_);
    inStep_ = false;
    WipeLocked();
}

void ConsoleProgress::Aside(const std::function<void()>& print)
{
    std::lock_guard lock(mutex_);
    WipeLocked();
    print();
}

void ConsoleProgress::Tick()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait_for(lock, std::chrono::seconds(1));
        if (!stopping_ && inStep_)
            DrawLocked(true);
    }
}

void RowPrinter::Print(const ReportRows::Row& row, bool destructive)
{
    if (!terminal_) {
        std::fprintf(out_, "%s\t%s\t%s\n", row[0].c_str(), row[1].c_str(), row[2].c_str());
        return;
    }
    nameWidth_ = std::max(nameWidth_, Width(row[1]));
    std::string line = row[0] + std::string(typeWidth_ > Width(row[0]) ? typeWidth_ - Width(row[0]) : 0, ' ') +
                       "  " + row[1] + std::string(nameWidth_ - Width(row[1]), ' ') + "  ";
    const char* colour = colour_ ? ColourOf(row[2], destructive) : nullptr;
    line += colour ? colour + row[2] + "\033[0m" : row[2];
    // No blanks at the end of a row whose message is empty.
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    std::fprintf(out_, "%s\n", line.c_str());
}

void PrintedReport::AddReportRow(const std::string& type, const std::string& objectName, const std::string& message)
{
    rows_.AddReportRow(type, objectName, message);
    if (!printer_)
        return;
    const ReportRows::Row row{type, objectName, message};
    const bool destructive = destructive_ && destructive_(row);
    progress_.Aside([&] {
        printer_->Print(row, destructive);
        std::fflush(stdout);
        std::fflush(stderr);
    });
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

bool AskYes(const std::string& question)
{
    std::fputs(question.c_str(), stderr);
    std::fflush(stderr);
    std::string line;
    if (!std::getline(std::cin, line)) {
        std::fputc('\n', stderr);
        return false;
    }
    std::string answer;
    for (const char c : Trim(line))
        answer += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "y" || answer == "yes";
}
