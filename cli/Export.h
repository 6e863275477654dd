// --export: a database's metadata written as files, one a object, for a repository.
#pragma once
#include "cli/Options.h"

// The exit status: 0 when written, 2 on an error (said on standard error).
int RunExport(const CliOptions& options);
