// vorkat-cli: the checks of the window from a shell or a CI job, with an exit status to act on.
#include "cli/CliRun.h"
#include "cli/Interrupt.h"
#include "cli/Options.h"

#include "db/Watchdog.h"

#include <chrono>
#include <clocale>
#include <cstdio>
#include <thread>

namespace {
// How long a timed-out run may take to end by itself: the cut calls fail within seconds.
constexpr auto EndGrace = std::chrono::seconds(10);
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
    if (options.TimeoutSeconds > 0) {
        watchdog::SetDeadline(options.TimeoutSeconds);
        // The watchdog cuts the calls in flight; should the run still not end, for a wait
        // outside the client library, the process ends here.
        std::thread([seconds = options.TimeoutSeconds] {
            std::this_thread::sleep_for(std::chrono::seconds(seconds) + EndGrace);
            std::fprintf(stderr, "vorkat-cli: %s\n", watchdog::TimeoutMessage().c_str());
            Interrupt::EndNow(2);
        }).detach();
    }
    return CliRun(options).Execute();
}
