// What the command line shows while it runs: progress, findings as they come, and the password prompt.
#pragma once
#include "data/Interfaces.h"
#include "data/Report.h"
#include "data/RunSequence.h"
#include "db/Connection.h"

#include <chrono>
#include <cstdio>
#include <string>

// The kind being checked and a count on standard error: redrawn in place on a terminal,
// one line per kind otherwise.
class ConsoleProgress : public Progress, public StepSink {
public:
    ConsoleProgress(bool shown, bool terminal) : shown_(shown), terminal_(terminal) {}
    ~ConsoleProgress() override { Clear(); }

    void BeginStep(const std::string& caption) override;
    void EndStep() override;
    void EndPass() override { Clear(); }
    // Wipes a line drawn in place, so that other output starts at the left edge.
    void Clear();

    int Position() const override { return position_; }
    void SetPosition(int position) override;
    void SetMaximum(int maximum) override { maximum_ = maximum; }

private:
    void Draw(bool now);

    bool shown_;
    bool terminal_;
    std::string caption_;
    int position_ = 0;
    int maximum_ = 0;
    // Objects walked in this kind over all its phases (the index check has three).
    int walked_ = 0;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
};

// Keeps the report rows and prints each finding as a tab-separated line as it is added.
class PrintedReport : public ReportSink {
public:
    PrintedReport(ReportRows& rows, std::FILE* out, ConsoleProgress& progress)
        : rows_(rows), out_(out), progress_(progress) {}
    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override;

private:
    ReportRows& rows_;
    std::FILE* out_;  // none with --quiet
    ConsoleProgress& progress_;
};

void PrintRow(std::FILE* out, const ReportRows::Row& row);

// Asks for the password on the terminal with echo off. The data module keeps the answers,
// per server and user, so that the other side and the fresh connections of a verification
// do not ask again.
class TerminalLogin : public LoginPrompt {
public:
    bool Ask(const std::string& databaseName, std::string& userName, std::string& password) override;
};

bool StdinIsTerminal();
bool StderrIsTerminal();
