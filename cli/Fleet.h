// --fleet: every Old Database of a list against one New, a few at a time, each with the files
// and the exit status a run of its own gives it.
#pragma once
#include "cli/Options.h"

// The exit status: the worst of the targets'. One summary row per target goes to standard
// output as it ends, then the total; progress goes to standard error.
int RunFleet(const CliOptions& options);
