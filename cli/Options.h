// The command line: options, the two database names, and the help text.
#pragma once
#include "compare/Checks.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line that cannot be run as given; the caller prints it and ends with exit 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

struct CliOptions {
    bool Repair = false;
    bool Verify = false;
    bool Rehearse = false;
    bool Quiet = false;
    bool AskPassword = false;
    bool Help = false;
    bool Version = false;
    // The complete comparison instead of the eight checks.
    bool Complete = false;
    bool Verbose = false;
    // With --complete: drop what only OLD has, repair although OLD's rows fail a safety check,
    // compare sources without blanks at line ends, blank lines and CR LF.
    bool Drop = false;
    bool Force = false;
    bool IgnoreWhitespace = false;
    // A complete repair goes ahead without asking on the terminal.
    bool Yes = false;
    std::vector<CheckKind> Kinds;  // always in the fixed order
    std::vector<std::string> CompleteKinds;  // --only with --complete; empty means all
    std::string ScriptFile = "vorkat.sql";
    std::string ReportFile;
    std::optional<std::string> User;
    std::optional<std::string> Password;
    // --timeout: the whole run's bound in seconds; 0 for none.
    int TimeoutSeconds = 0;
    std::string OldName;  // as typed; the window's name rule is applied when connecting
    std::string NewName;
    // --fleet: a file naming many Old Databases, one a line, each compared with NEW.
    std::string FleetList;
    int Jobs = 4;         // --jobs: targets at a time
    std::string OutDir;   // --out: where each target's script and report go
    int ShardIndex = 1;   // --shard I/N: this machine's share of the list
    int ShardCount = 1;
    // --export DIR: the database named is written as files into DIR.
    std::string ExportDir;
    // --include and --exclude, each given any number of times: globs on object names.
    std::vector<std::string> Include;
    std::vector<std::string> Exclude;
    // --dialect and --charset: the database a New script without CREATE DATABASE is built in.
    int NewDialect = 3;
    std::string NewCharset;

    // NEW is a folder an export wrote, or an isql script, built into a temporary database.
    bool NewIsFiles() const;

    // Whether the fixes are executed, on OLD itself or on its rehearsal copy.
    bool Repairing() const { return Repair || Rehearse; }
    bool ScriptToStdout() const { return ScriptFile == "-"; }
    bool ReportAsJson() const;
    // The review report of the complete comparison.
    bool ReportAsHtml() const;
};

CliOptions ParseOptions(const std::vector<std::string>& arguments);
std::string HelpText();
std::string VersionText();
