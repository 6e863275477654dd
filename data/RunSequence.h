// The run both front ends share: names, modes, connections, the engine's pass, the script, the close and a verification.
#pragma once
#include "data/DM.h"
#include "data/Interfaces.h"
#include "data/Report.h"
#include "run/Engine.h"

#include <string>

// What a run found, for exit statuses and the verification's verdict.
struct RunOutcome {
    // The first pass reported a finding or left a script.
    bool Found = false;
    bool Verified = false;
    // The verification found nothing.
    bool Converged = false;
    // The verification's rows, as the report grid would hold them.
    ReportRows Left;
};

// Old is attached before New and closed after it, also after an error, which then travels on
// with dm's modes and CurrentFix as they were when it happened.
class RunSequence {
public:
    RunSequence(TDM& dm, RunEngine& engine, ReportSink& report, Progress& bar, StepSink& steps)
        : dm_(dm), engine_(engine), report_(report), bar_(bar), steps_(steps) {}

    RunOutcome Run(const RunRequest& request);

private:
    void Connect(const std::string& oldName, const std::string& newName);
    // The engine's pass and its end; true when it found anything.
    bool Pass(ReportSink& report, StepSink& steps);
    void SaveScript(const RunRequest& request);
    void Verify(const std::string& oldName, const std::string& newName, RunOutcome& outcome);

    TDM& dm_;
    RunEngine& engine_;
    ReportSink& report_;
    Progress& bar_;
    StepSink& steps_;
};
