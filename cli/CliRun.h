// One run of the command line: the shared run over the chosen kinds, with the script, the
// report and the verification's verdict where the command line puts them.
#pragma once
#include "cli/Console.h"
#include "cli/Options.h"
#include "data/DM.h"
#include "data/Report.h"
#include "data/RunSequence.h"
#include "schema/Summary.h"

#include <cstdio>
#include <string>

class CliRun {
public:
    explicit CliRun(const CliOptions& options);

    // The exit status. Errors are printed here, where the fix in progress is still known.
    int Execute();

private:
    int Run();
    // details: the complete comparison's pass, for its detailed rows and the review report.
    void WriteReport(const schema::Summary* details);
    void PrintVerdict(const RunOutcome& outcome);

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
};
