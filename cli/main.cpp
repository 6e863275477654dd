// vorkat-cli: the checks of the window from a shell or a CI job, with an exit status to act on.
#include "cli/CliRun.h"
#include "cli/Export.h"
#include "cli/Fleet.h"
#include "cli/Interrupt.h"
#include "cli/Options.h"

#include "db/CommitGuard.h"
#include "db/Watchdog.h"

#include <chrono>
#include <clocale>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {
// How long a run past its deadline may take to end by itself: the watchdog cuts the calls in
// flight at the deadline, and they fail at once where the server takes the cancel.
constexpr auto EndGrace = std::chrono::seconds(1);

// Ends a run that the cut calls did not end, such as one whose server does not take the cancel
// and whose calls wait for the forced close, or a wait outside the client library. A commit or
// rollback in flight runs to its end first, as it does for a signal.
void EndAtDeadline(int seconds)
{
    std::this_thread::sleep_for(std::chrono::seconds(seconds) + EndGrace);
    for (;;) {
        const bool acted = CommitGuard::UnlessEnding([] {
            if (!Interrupt::ClaimEnd())
                return;
            std::fprintf(stderr, "%svorkat-cli: %s\n", ::isatty(STDERR_FILENO) == 1 ? "\r\033[K" : "",
                         watchdog::TimeoutMessage().c_str());
            Interrupt::EndNow(2);
        });
        if (acted)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}

int main(int argc, char** argv)
{
    // The list separator of the CSV report follows the environment's locale, as in the window.
    std::setlocale(LC_ALL, "");
    Interrupt::Install();
    CliOptions options;
    try {
        options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "vorkat-cli: %s\nTry 'vorkat-cli --help'.\n", error.what());
        return 2;
    }
    if (options.Help) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    if (options.Version) {
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    }
    if (!options.ExportDir.empty())
        return RunExport(options);
    // Each target of a fleet has a timeout of its own.
    if (!options.FleetList.empty())
        return RunFleet(options);
    if (options.TimeoutSeconds > 0) {
        // From here on the run counts: the options are read, nothing is attached yet.
        watchdog::SetDeadline(options.TimeoutSeconds);
        std::thread(EndAtDeadline, options.TimeoutSeconds).detach();
    }
    return CliRun(options).Execute();
}
