// Long options only, each with its value as the next argument or after "=".
#include "cli/Options.h"
#include "data/Files.h"
#include "schema/CompleteEngine.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text)
{
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> Words(const std::string& list)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        words.push_back(Lower(Trim(list.substr(start, comma - start))));
        start = comma + 1;
    }
    return words;
}

std::vector<std::string> ParseCompleteKinds(const std::string& list)
{
    std::vector<std::string> chosen;
    for (const auto& word : Words(list)) {
        bool known = false;
        for (const auto& kind : schema::CompleteKinds())
            known = known || word == kind.Word;
        if (!known) {
            std::string all;
            for (const auto& kind : schema::CompleteKinds())
                all += std::string(all.empty() ? "" : ", ") + kind.Word;
            throw UsageError("unknown kind '" + word + "' in --only with --complete; the kinds are " + all);
        }
        chosen.push_back(word);
    }
    return chosen;
}

std::vector<CheckKind> ParseKinds(const std::string& list)
{
    std::vector<bool> chosen(CheckKinds.size(), false);
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        const std::string word = Lower(Trim(list.substr(start, comma - start)));
        const auto kind = CheckKindFromWord(word);
        if (!kind) {
            std::string known;
            for (const auto& info : CheckKinds)
                known += std::string(known.empty() ? "" : ", ") + info.Word;
            throw UsageError("unknown kind '" + word + "' in --only; the kinds are " + known);
        }
        chosen[static_cast<std::size_t>(*kind)] = true;
        start = comma + 1;
    }
    std::vector<CheckKind> kinds;
    for (const auto& info : CheckKinds)
        if (chosen[static_cast<std::size_t>(info.Kind)])
            kinds.push_back(info.Kind);
    return kinds;
}

}

bool CliOptions::ReportAsJson() const
{
    return EndsWith(Lower(ReportFile), ".json");
}

CliOptions ParseOptions(const std::vector<std::string>& arguments)
{
    CliOptions options;
    for (const auto& info : CheckKinds)
        options.Kinds.push_back(info.Kind);
    bool scriptGiven = false;
    std::optional<std::string> only;
    std::vector<std::string> names;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
            names.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = argument;
        std::optional<std::string> inlineValue;
        if (auto eq = argument.find('='); eq != std::string::npos) {
            name = argument.substr(0, eq);
            inlineValue = argument.substr(eq + 1);
        }
        auto value = [&]() -> std::string {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= arguments.size())
                throw UsageError("option " + name + " needs a value");
            return arguments[++i];
        };
        auto flag = [&](bool& target) {
            if (inlineValue)
                throw UsageError("option " + name + " takes no value");
            target = true;
        };

        if (name == "--repair")
            flag(options.Repair);
        else if (name == "--verify")
            flag(options.Verify);
        else if (name == "--rehearse")
            flag(options.Rehearse);
        else if (name == "--quiet")
            flag(options.Quiet);
        else if (name == "--ask-password")
            flag(options.AskPassword);
        else if (name == "--help")
            flag(options.Help);
        else if (name == "--version")
            flag(options.Version);
        else if (name == "--complete")
            flag(options.Complete);
        else if (name == "--verbose")
            flag(options.Verbose);
        else if (name == "--only")
            only = value();
        else if (name == "--script") {
            options.ScriptFile = value();
            scriptGiven = true;
        } else if (name == "--report")
            options.ReportFile = value();
        else if (name == "--user")
            options.User = value();
        else if (name == "--password")
            options.Password = value();
        else
            throw UsageError("unknown option " + name);
    }
    // The kinds' words depend on the engine, which may be named after them.
    if (only) {
        if (options.Complete)
            options.CompleteKinds = ParseCompleteKinds(*only);
        else
            options.Kinds = ParseKinds(*only);
    }
    if (options.Help || options.Version)
        return options;

    if (names.size() != 2)
        throw UsageError(names.size() < 2 ? "OLD and NEW are both needed"
                                          : "only OLD and NEW are taken, not '" + names[2] + "'");
    options.OldName = names[0];
    options.NewName = names[1];
    if (options.ScriptFile.empty())
        throw UsageError("--script needs a file name, or - for standard output");
    if (!options.ReportFile.empty() && !EndsWith(Lower(options.ReportFile), ".csv") && !options.ReportAsJson())
        throw UsageError("--report takes a file ending in .csv or .json");
    if (options.Repair && options.Rehearse)
        throw UsageError("--repair and --rehearse exclude each other: a rehearsal never writes to OLD");
    if (options.Verify && !options.Repairing())
        throw UsageError("--verify checks a repair: give it with --repair");
    if (scriptGiven && options.Repairing())
        throw UsageError("--script has no use with " + std::string(options.Repair ? "--repair" : "--rehearse") +
                         ": the fixes are executed, not scripted");
    return options;
}

std::string VersionText()
{
    return std::string("vorkat-cli ") + VORKAT_VERSION + "\n";
}

std::string HelpText()
{
    return R"(Usage: vorkat-cli [options] OLD NEW

Brings the metadata of the Old Database OLD up to date with the New Database NEW.
OLD and NEW are database names as the window takes them: a local file, or
host:/path or host/port:path for a database on a server.

Options:
  --repair        execute the fixes on OLD at once (Auto Repair) instead of
                  writing them to the script
  --only KINDS    check only these kinds, a comma list out of domains,
                  exceptions, generators, udf, tables, indices, procedures,
                  triggers (default: all eight); they always run in that order
  --complete      the complete comparison: every kind of object and every
                  property, for Firebird 3 and later; OLD gets what it lacks,
                  in dependency order, in one transaction. --only then takes
                  collations, roles, generators, exceptions, domains, tables,
                  udf, packages, procedures, functions, constraints, indices,
                  views, triggers, grants
  --verbose       with --complete: print the number of catalog queries
  --script FILE   where the script goes (default: vorkat.sql in the current
                  folder; - for standard output)
  --report FILE   also write the report rows to FILE: a .csv file holds the
                  same bytes as the window's Report.CSV, a .json file an array
                  of {"type", "name", "message"} in report order
  --user NAME     the user name (default: $ISC_USER, else the window's login)
  --password PW   the password (default: $ISC_PASSWORD, else the window's login)
  --ask-password  when the server refuses the login, ask for the password;
                  only when standard input is a terminal
  --verify        with --repair: compare again over fresh connections, print
                  "converged" when nothing is left, else the rows left
  --rehearse      repair a temporary copy of OLD, verify the copy as --verify
                  does and delete it; OLD is never opened for writing (a
                  database on a server is copied with Firebird's gbak)
  --quiet         print nothing but errors
  --help          show this text
  --version       show the version

Every finding is printed on standard output as one report row: type, object
name and message, separated by tabs. A repair prints them too, each row naming
a fix that was executed. With --script -, standard output holds the script
alone and the rows go to standard error. Progress (the kind being checked and
a count) and errors go to standard error; a fix the server refused is named as
"refused: <script title>: <server message>".

Exit status:
  0  the two metadata sets agree for the kinds checked
  1  differences were found: scripted, repaired, or left after --verify
  2  an error: a bad argument, an unreachable database, a refused fix
)";
}
