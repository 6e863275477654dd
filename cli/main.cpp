// vorkat-cli: the checks of the window from a shell or a CI job, with an exit status to act on.
#include "cli/CliRun.h"
#include "cli/Interrupt.h"
#include "cli/Options.h"

#include <clocale>
#include <cstdio>

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
    return CliRun(options).Execute();
}
