// One run of the command line: connect, check the chosen kinds, write the script and the
// report, and verify a repair over fresh connections.
#pragma once
#include "cli/Console.h"
#include "cli/Options.h"
#include "data/DM.h"
#include "data/Report.h"

#include <cstdio>
#include <string>

class CliRun {
public:
    explicit CliRun(const CliOptions& options);

    // The exit status. Errors are printed here, where the fix in progress is still known.
    int Execute();

private:
    int Run();
    void Connect(const std::string& oldName);
    void Close() noexcept;
    void RunKinds(Checks& checks, const std::string& captionPrefix);
    // Compares once more in script mode, into a scratch script; true when nothing is left.
    bool Verify(const std::string& oldName);
    void WriteScript();
    void WriteReport();

    const CliOptions& options_;
    TDM dm_;
    TerminalLogin login_;
    ConsoleProgress progress_;
    ReportRows rows_;
    // Findings and messages: standard output, standard error when the script goes to standard
    // output, none with --quiet.
    std::FILE* out_;
    std::string user_;
    std::string password_;
    std::string newName_;
};
