// One run of the command line: the shared run over the chosen kinds, with the script, the
// report, the question before a complete repair, the verification's verdict and what the run
// did, where the command line puts them.
#pragma once
#include "cli/Console.h"
#include "cli/Options.h"
#include "cli/ReportJson.h"
#include "compare/ChecksEngine.h"
#include "data/DM.h"
#include "data/Report.h"
#include "data/RunSequence.h"
#include "schema/CompleteEngine.h"
#include "schema/Summary.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

// The login of a run: --user and --password, else ISC_USER and ISC_PASSWORD, else the
// window's, as dm holds it.
Login RunLogin(const CliOptions& options, TDM& dm);
// Attaches name as dm's New Database with the run's login, in script mode: for a read of its
// catalog alone (a fleet's New, an export).
void AttachNew(TDM& dm, const CliOptions& options, const std::string& name);

// How a run that is one of a fleet's differs from a run of its own.
struct FleetMember {
    // New's catalog, read once for every target.
    std::shared_ptr<const schema::Schema> newSchema;
    // How New is named where the name attached is a database built from files.
    std::string newShownAs;
};

class CliRun {
public:
    explicit CliRun(const CliOptions& options, std::optional<FleetMember> member = std::nullopt);

    // The exit status. Errors are printed here, where the fix in progress is still known; a
    // fleet's run keeps its error for the fleet's row instead (Error).
    int Execute();

    const std::string& Error() const { return error_; }
    // The finding rows of the first pass.
    std::size_t FindingCount() const { return Findings(); }
    // A repair ran to its end: committed whole (complete), or every fix executed (checks).
    bool Repaired() const;
    // A verification ran and found nothing left.
    bool Converged() const { return converged_; }

private:
    int Run();
    // Before anything is attached: each output's folder can take it.
    void CheckOutputs() const;
    // The complete repair's question on the terminal; true goes ahead.
    bool Confirm(const schema::Summary& summary);
    // After the first attach, what the servers tell of both sides (the eight checks' report
    // and the hint of a refused fix need it).
    void NoteSides();
    // details: the complete comparison's pass, for its detailed rows and the review report.
    void WriteReport(const schema::Summary* details);
    ReportFacts Facts() const;
    void PrintVerdict(const RunOutcome& outcome);
    // The end of a run on standard error: the counts, where the script went and how to apply
    // it, or how the repair ended.
    void PrintSummary(const RunOutcome& outcome);
    std::size_t Findings() const;
    // Whether this run tells its end; false once the timeout has ended the run first.
    bool OwnsEnd();

    const CliOptions& options_;
    TDM dm_;
    TerminalLogin login_;
    ConsoleProgress progress_;
    ReportRows rows_;
    // Findings and messages: standard output, standard error when the script goes to standard
    // output, none with --quiet.
    std::FILE* out_;
    std::optional<RowPrinter> printer_;
    std::string user_;
    std::string password_;
    ChecksEngine checks_;
    schema::CompleteEngine complete_;
    // What the connections told of each side, in the eight checks' mode.
    schema::SideInfo oldSide_;
    schema::SideInfo newSide_;
    // The complete comparison's first pass, which a verification's pass follows.
    std::optional<schema::Summary> firstPass_;
    const schema::Summary& FirstPass() const { return firstPass_ ? *firstPass_ : complete_.LastSummary(); }
    // The eight checks' repair that a refused fix ended.
    std::optional<schema::RepairOutcome> refused_;
    bool claimed_ = false;
    bool ownsEnd_ = false;
    std::optional<FleetMember> member_;
    std::string error_;
    bool converged_ = false;
};
