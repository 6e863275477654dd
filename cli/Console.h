// What the command line shows while it runs: progress, findings as they come, and the prompts.
#pragma once
#include "data/Interfaces.h"
#include "data/Report.h"
#include "data/RunSequence.h"
#include "db/Connection.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// The step being run on standard error, with a count and its time. On a terminal one line is
// redrawn in place, every second too, so that a long read does not look stuck; otherwise each
// step ends with a line of its own: "Table Fields: 40 in 0.3 s", "Comparing: 0.1 s".
class ConsoleProgress : public Progress, public StepSink {
public:
    ConsoleProgress(bool shown, bool terminal) : shown_(shown), terminal_(terminal) {}
    ~ConsoleProgress() override;

    void BeginStep(const std::string& caption) override;
    void EndStep() override;
    void EndPass() override { Clear(); }
    // Wipes a line drawn in place and stops redrawing it until the next step.
    void Clear();
    // Runs print with the line wiped, so that other output starts at the left edge; the
    // line comes back with the next redraw.
    void Aside(const std::function<void()>& print);

    int Position() const override;
    void SetPosition(int position) override;
    void SetMaximum(int maximum) override;

private:
    void DrawLocked(bool now);
    void WipeLocked();
    void Tick();

    const bool shown_;
    const bool terminal_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread ticker_;
    bool stopping_ = false;
    bool inStep_ = false;
    std::string caption_;
    int position_ = 0;
    int maximum_ = 0;
    // Told a position or a maximum: the step counts objects or statements.
    bool counted_ = false;
    // Objects walked in this step over all its phases (the index check has three).
    int walked_ = 0;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point started_{};
    std::chrono::steady_clock::time_point lastDraw_{};
};

// Report rows on a stream: tab-separated as they always were, or, on a terminal, in aligned
// columns with the message coloured by what it means (unless NO_COLOR is set).
class RowPrinter {
public:
    // typeWidth: the longest type the engine reports, so that the type column never moves.
    RowPrinter(std::FILE* out, bool terminal, bool colour, std::size_t typeWidth)
        : out_(out), terminal_(terminal), colour_(colour), typeWidth_(typeWidth) {}
    // destructive: the row's statements can lose data (the complete comparison knows).
    void Print(const ReportRows::Row& row, bool destructive = false);

private:
    std::FILE* out_;
    bool terminal_;
    bool colour_;
    std::size_t typeWidth_;
    // Names up to this width line up; a longer one widens the column for the rows after it.
    std::size_t nameWidth_ = 24;
};

// Keeps the report rows and prints each finding as it is added.
class PrintedReport : public ReportSink {
public:
    PrintedReport(ReportRows& rows, RowPrinter* printer, ConsoleProgress& progress,
                  std::function<bool(const ReportRows::Row&)> destructive = {})
        : rows_(rows), printer_(printer), progress_(progress), destructive_(std::move(destructive)) {}
    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override;

private:
    ReportRows& rows_;
    RowPrinter* printer_;  // none with --quiet
    ConsoleProgress& progress_;
    std::function<bool(const ReportRows::Row&)> destructive_;
};

// Asks for the password on the terminal with echo off. The data module keeps the answers,
// per server and user, so that the other side and the fresh connections of a verification
// do not ask again.
class TerminalLogin : public LoginPrompt {
public:
    bool Ask(const std::string& databaseName, std::string& userName, std::string& password) override;
};

// Asks question on standard error and reads a line: true for "y" or "yes" only; the end of
// input is a no.
bool AskYes(const std::string& question);

bool StdinIsTerminal();
bool StdoutIsTerminal();
bool StderrIsTerminal();
// NO_COLOR set to anything but nothing turns colour off.
bool ColourWanted();
