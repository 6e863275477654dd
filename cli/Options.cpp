// Long options only, each with its value as the next argument or after "="; CLI11 parses them.
#include "cli/Options.h"
#include "data/Files.h"
#include "run/Fleet.h"
#include "schema/CompleteEngine.h"
#include "schema/Filter.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>
#include <utility>

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

// Edits between two words, a swap of two neighbours counting as one: "tabels" is one from "tables".
std::size_t Distance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The known word nearest to a mistyped one, when it is near enough to be what was meant:
// one edit in a short word, two in one of six letters or more. The first of equals wins.
std::string Nearest(const std::string& word, const std::vector<std::string>& known)
{
    std::string best;
    std::size_t bestDistance = word.size() >= 6 ? 3 : 2;
    for (const auto& candidate : known) {
        const std::size_t distance = Distance(word, candidate);
        if (distance < bestDistance && distance < candidate.size()) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
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
            std::vector<std::string> words;
            std::string all;
            for (const auto& kind : schema::CompleteKinds()) {
                words.push_back(kind.Word);
                all += std::string(all.empty() ? "" : ", ") + kind.Word;
            }
            if (const std::string near = Nearest(word, words); !near.empty())
                throw UsageError("unknown kind '" + word + "' in --only with --complete (did you mean '" + near +
                                 "'?)");
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
            std::vector<std::string> words;
            std::string known;
            for (const auto& info : CheckKinds) {
                words.push_back(info.Word);
                known += std::string(known.empty() ? "" : ", ") + info.Word;
            }
            if (const std::string near = Nearest(word, words); !near.empty())
                throw UsageError("unknown kind '" + word + "' in --only (did you mean '" + near + "'?)");
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

bool CliOptions::NewIsFiles() const
{
    std::error_code error;
    return std::filesystem::is_directory(NewName, error) ||
           (EndsWith(Lower(NewName), ".sql") && std::filesystem::is_regular_file(NewName, error));
}

bool CliOptions::ReportAsHtml() const
{
    return EndsWith(Lower(ReportFile), ".html");
}

namespace {

// CLI11 takes "--name=" as a name without a value and then eats the next argument, where a
// user means an empty value; it also takes "--flag=true" for a plain flag. Every "--x=..."
// gets this mark at its end on the way in, and every text loses it on the way out: values
// are never empty for CLI11, and no flag value is ever the one it accepts.
constexpr char Mark = '\x1f';

std::string Unmarked(std::string text)
{
    if (!text.empty() && text.back() == Mark)
        text.pop_back();
    return text;
}

// "--name" of "--name=value", as the messages name an option.
std::string OptionName(const std::string& argument) { return argument.substr(0, argument.find('=')); }

}

CliOptions ParseOptions(const std::vector<std::string>& arguments)
{
    CliOptions options;
    for (const auto& info : CheckKinds)
        options.Kinds.push_back(info.Kind);

    CLI::App app;
    // The help text and its wording are ours, and every unknown word is sorted out below.
    app.set_help_flag();
    app.allow_extras();
    const std::pair<const char*, bool*> flags[] = {
        {"--repair", &options.Repair},         {"--verify", &options.Verify},   {"--rehearse", &options.Rehearse},
        {"--quiet", &options.Quiet},           {"--ask-password", &options.AskPassword},
        {"--help", &options.Help},             {"--version", &options.Version}, {"--complete", &options.Complete},
        {"--verbose", &options.Verbose},     {"--drop", &options.Drop},       {"--force", &options.Force},
        {"--ignore-whitespace", &options.IgnoreWhitespace}, {"--yes", &options.Yes},
    };
    std::vector<std::pair<CLI::Option*, bool*>> flagOptions;
    for (const auto& [name, target] : flags)
        flagOptions.emplace_back(app.add_flag(name)->disable_flag_override(), target);
    auto valued = [&](const char* name) {
        return app.add_option(name)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    };
    CLI::Option* only = valued("--only");
    CLI::Option* script = valued("--script");
    CLI::Option* report = valued("--report");
    CLI::Option* user = valued("--user");
    CLI::Option* password = valued("--password");
    CLI::Option* timeout = valued("--timeout");
    CLI::Option* fleetList = valued("--fleet");
    CLI::Option* jobs = valued("--jobs");
    CLI::Option* out = valued("--out");
    CLI::Option* shard = valued("--shard");
    CLI::Option* exportDir = valued("--export");
    CLI::Option* dialect = valued("--dialect");
    CLI::Option* charset = valued("--charset");
    CLI::Option* include = app.add_option("--include")->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    CLI::Option* exclude = app.add_option("--exclude")->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    std::vector<std::string> optionNames;
    for (const auto& [name, target] : flags)
        optionNames.emplace_back(name);
    for (const char* name : {"--only", "--script", "--report", "--user", "--password", "--timeout", "--fleet",
                             "--jobs", "--out", "--shard", "--export", "--dialect", "--charset", "--include",
                             "--exclude"})
        optionNames.emplace_back(name);

    // What CLI11 did not take, in order: the names and unknown options before "--", and the
    // names after it. The first unknown option is the error, as it comes first on the line.
    auto sortLeftovers = [&] {
        std::vector<std::string> names;
        bool optionsEnded = false;
        for (const auto& marked : app.remaining()) {
            const std::string word = Unmarked(marked);
            if (!optionsEnded && word == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && word.size() >= 2 && word.compare(0, 2, "--") == 0) {
                const std::string name = OptionName(word);
                if (const std::string near = Nearest(name, optionNames); !near.empty())
                    throw UsageError("unknown option " + name + " (did you mean " + near + "?)");
                throw UsageError("unknown option " + name);
            } else {
                names.push_back(word);
            }
        }
        return names;
    };

    std::vector<std::string> reversed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(it->size() > 2 && it->compare(0, 2, "--") == 0 && it->find('=') != std::string::npos
                               ? *it + Mark
                               : *it);
    try {
        app.parse(reversed);
    } catch (const CLI::ArgumentMismatch& error) {
        sortLeftovers();
        // The two mismatches a command line of ours can meet, by CLI11's words for them.
        const std::string what = error.what();
        const std::string name = what.substr(0, what.find_first_of(": "));
        if (what.find("flag override") != std::string::npos)
            throw UsageError("option --" + name + " takes no value");
        throw UsageError("option " + name + " needs a value");
    } catch (const CLI::ParseError& error) {
        sortLeftovers();
        throw UsageError(error.what());
    }
    const std::vector<std::string> names = sortLeftovers();
    for (const auto& [option, target] : flagOptions)
        *target = option->count() > 0;
    auto last = [](CLI::Option* option) { return Unmarked(option->results().back()); };
    if (script->count())
        options.ScriptFile = last(script);
    if (report->count())
        options.ReportFile = last(report);
    if (user->count())
        options.User = last(user);
    if (password->count())
        options.Password = last(password);
    if (timeout->count()) {
        const std::string value = last(timeout);
        const bool digits = !value.empty() && value.size() <= 7 &&
                            value.find_first_not_of("0123456789") == std::string::npos;
        if (!digits || std::stoi(value) == 0)
            throw UsageError("option --timeout takes a whole number of seconds above 0, not '" + value + "'");
        options.TimeoutSeconds = std::stoi(value);
    }

    if (fleetList->count())
        options.FleetList = last(fleetList);
    if (exportDir->count())
        options.ExportDir = last(exportDir);
    for (const auto& [option, list] : {std::pair{include, &options.Include}, std::pair{exclude, &options.Exclude}}) {
        for (const auto& value : option->results())
            list->push_back(Unmarked(value));
        if (!list->empty() && !options.Complete)
            throw UsageError(std::string(option == include ? "--include" : "--exclude") +
                             " belongs to the complete comparison: give it with --complete");
    }
    try {
        schema::ObjectFilter(options.Include, options.Exclude);
    } catch (const std::invalid_argument& error) {
        throw UsageError(error.what());
    }
    if (dialect->count()) {
        const std::string value = last(dialect);
        if (value != "1" && value != "3")
            throw UsageError("option --dialect takes 1 or 3, not '" + value + "'");
        options.NewDialect = std::stoi(value);
    }
    if (charset->count())
        options.NewCharset = last(charset);
    if (out->count())
        options.OutDir = last(out);
    if (jobs->count()) {
        const std::string value = last(jobs);
        const bool digits = !value.empty() && value.size() <= 3 &&
                            value.find_first_not_of("0123456789") == std::string::npos;
        if (!digits || std::stoi(value) == 0)
            throw UsageError("option --jobs takes a whole number from 1 to 999, not '" + value + "'");
        options.Jobs = std::stoi(value);
    }
    if (shard->count()) {
        try {
            const fleet::Shard share = fleet::ParseShard(last(shard));
            options.ShardIndex = share.index;
            options.ShardCount = share.count;
        } catch (const std::invalid_argument& error) {
            throw UsageError(error.what());
        }
    }

    // The kinds' words depend on the engine, which may be named after them.
    if (only->count()) {
        if (options.Complete)
            options.CompleteKinds = ParseCompleteKinds(last(only));
        else
            options.Kinds = ParseKinds(last(only));
    }
    if (options.Help || options.Version)
        return options;

    if (!options.ExportDir.empty()) {
        if (names.size() != 1)
            throw UsageError(names.empty() ? "with --export DIR, the DATABASE to export is needed"
                                           : "with --export DIR, only the DATABASE is taken, not '" + names[1] + "'");
        if (!options.FleetList.empty() || options.Repairing())
            throw UsageError("--export only writes files: give it without --fleet, --repair and --rehearse");
        options.OldName = names[0];
        return options;
    }
    if (options.FleetList.empty()) {
        for (const auto& [given, name] : {std::pair{jobs->count() > 0, "--jobs"}, std::pair{out->count() > 0, "--out"},
                                          std::pair{shard->count() > 0, "--shard"}})
            if (given)
                throw UsageError(std::string(name) + " belongs to a fleet: give it with --fleet LIST");
    } else {
        if (names.size() != 1)
            throw UsageError(names.empty() ? "with --fleet LIST, NEW is needed"
                                           : "with --fleet LIST, only NEW is taken, not '" + names[1] + "'");
        if (script->count())
            throw UsageError("--script has no use with --fleet: each target's script goes to --out");
        if (options.AskPassword)
            throw UsageError("--ask-password has no use with --fleet: give --user and --password");
        options.NewName = names[0];
        options.ScriptFile = "fleet.sql";  // each target's own is named in the fleet
    }
    if (options.FleetList.empty() && names.size() != 2)
        throw UsageError(names.size() < 2 ? "OLD and NEW are both needed"
                                          : "only OLD and NEW are taken, not '" + names[2] + "'");
    if (options.FleetList.empty()) {
        options.OldName = names[0];
        options.NewName = names[1];
    }
    if (options.ScriptFile.empty())
        throw UsageError("--script needs a file name, or - for standard output");
    const bool csv = EndsWith(Lower(options.ReportFile), ".csv");
    if (!options.ReportFile.empty() && !csv && !options.ReportAsJson() && !options.ReportAsHtml())
        throw UsageError(options.Complete ? "--report takes a file ending in .csv, .json or .html"
                                          : "--report takes a file ending in .csv or .json");
    if (options.ReportAsHtml() && !options.Complete)
        throw UsageError("--report " + options.ReportFile +
                         ": the review report shows the complete comparison; give it with --complete");
    for (const auto& [given, name] : {std::pair{options.Drop, "--drop"}, std::pair{options.Force, "--force"},
                                      std::pair{options.IgnoreWhitespace, "--ignore-whitespace"}})
        if (given && !options.Complete)
            throw UsageError(std::string(name) + " belongs to the complete comparison: give it with --complete");
    if (options.Repair && options.Rehearse)
        throw UsageError("--repair and --rehearse exclude each other: a rehearsal never writes to OLD");
    if (options.Verify && !options.Repairing())
        throw UsageError("--verify checks a repair: give it with --repair");
    if (script->count() && options.Repairing())
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
       vorkat-cli [options] --fleet LIST NEW
       vorkat-cli [options] --export DIR DATABASE

Brings the metadata of the Old Database OLD up to date with the New Database NEW.
OLD and NEW are database names as the window takes them: a local file, or
host:/path or host/port:path for a database on a server. With --complete, NEW
may also be a folder that --export wrote, or an isql script (.sql): it is
built into a temporary database, compared with, and removed.

Options:
  --repair        execute the fixes on OLD at once (Auto Repair) instead of
                  writing them to the script
  --only KINDS    check only these kinds, a comma list out of domains,
                  exceptions, generators, udf, tables, indices, procedures,
                  triggers (default: all eight); they always run in that order
  --complete      the complete comparison: every kind of object and every
                  property, for Firebird 3 and later; OLD gets what it lacks,
                  in dependency order, in one transaction. --only then takes
                  database, collations, roles, generators, exceptions,
                  domains, tables, udf, packages, procedures, functions,
                  constraints, indices, views, triggers, grants
  --verbose       with --complete: print the number of catalog queries
  --drop          with --complete: drop what only OLD has, in the reverse
                  order of creation; without it such objects are listed as
                  "only in Old", kept, and count as no difference
  --force         with --complete: repair although OLD's rows fail a safety
                  check, and migrate a column whose type changes family on a
                  table with rows in committed steps of its own
  --ignore-whitespace
                  with --complete: compare sources without trailing blanks,
                  blank lines and CR LF against LF
  --script FILE   where the script goes (default: vorkat.sql in the current
                  folder; - for standard output)
  --report FILE   also write the report rows to FILE: a .csv file holds the
                  same bytes as the window's Report.CSV; a .json file an
                  object with the tool, both sides, the mode, the counts, the
                  warnings, the findings, what is not mended and, after a
                  repair, how it ended (README: "The JSON report"); with
                  --complete, a .html file is the review report: both
                  definitions of each finding side by side, and the plan
  --user NAME     the user name (default: $ISC_USER, else the window's login)
  --password PW   the password (default: $ISC_PASSWORD, else the window's login)
  --ask-password  when the server refuses the login, ask for the password;
                  only when standard input is a terminal
  --yes           with --complete --repair: apply without asking. Without it,
                  a complete repair run on a terminal lists the counts and
                  what can lose data and asks "Apply N statements to OLD?
                  [y/N]"; only y or yes goes ahead. A run whose standard
                  input is no terminal does not ask
  --verify        with --repair: compare again over fresh connections, print
                  "converged" when nothing is left, else the rows left
  --rehearse      repair a temporary copy of OLD, verify the copy as --verify
                  does and delete it; OLD is never opened for writing (a
                  database on a server is copied with Firebird's gbak)
  --timeout SECONDS
                  end the run this many seconds after it started, with exit
                  status 2 and "timed out after N s while <step>"; a repair in
                  flight is cut and its open fix rolled back by the server (a
                  commit in flight runs to its end first). Without it a
                  run still ends when a server stops answering: a call that
                  gets no answer for 60 seconds closes that connection
  --fleet LIST    compare every Old Database that LIST names, one a line
                  (blank lines and # comments skipped), with NEW, which is
                  then the only name given; New is read once. Each target
                  writes its script, and its report with --report, under
                  --out, named after its line and its file name
                  (03-customer.fdb.sql). --repair, --verify, --drop, --force,
                  --only and --timeout act on each target as on one run; a
                  target's failure stops no other. Standard output gets a row
                  a target as it ends (line, database, equal, differs,
                  repaired or error, findings, seconds, and an error's
                  message), then a total; the exit status is the worst
  --jobs N        with --fleet: targets at a time (default 4)
  --out DIR       with --fleet: the folder of the targets' files (default:
                  the current folder; made when missing)
  --shard I/N     with --fleet: only every N-th target, from the I-th, so
                  that N machines share the list
  --include PATTERN
  --exclude PATTERN
                  with --complete, each as often as needed: compare only the
                  objects whose names a --include glob matches (* ? [..],
                  any case), and none that an --exclude glob matches;
                  KIND:GLOB (tables:AUDIT_*) for one kind of --only's words.
                  A column, key, index or trigger goes with its table's name.
                  A statement that uses an object left out is warned of
  --export DIR    write the metadata of the one database named as files into
                  DIR: a file an object in a folder a kind, database.sql and
                  order.txt; DIR is replaced only when it holds an export
  --dialect 1|3   with --complete, where NEW is an isql script without
  --charset CS    CREATE DATABASE: the dialect (3) and the default character
                  set of the database it is built in
  --quiet         print nothing but errors
  --help          show this text
  --version       show the version

Every finding is printed on standard output as one report row: type, object
name and message, separated by tabs; on a terminal the rows are aligned in
columns and their messages coloured (NO_COLOR turns colour off). A repair
prints them too, each row naming a fix that was executed. With --script -,
standard output holds the script alone and the rows go to standard error.
Progress (each step with a count and its time, redrawn in place on a
terminal), errors and a summary at the end go to standard error: the counts,
where the script went and how to apply it, or what the repair committed and
what the verification found. A fix the server refused is named as
"refused: <script title>: <server message>".

Exit status:
  0  the two metadata sets agree for the kinds checked
  1  differences were found: scripted, repaired, or left after --verify
  2  an error: a bad argument, an unreachable database, a refused fix
)";
}
