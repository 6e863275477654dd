// The command line's side of the shared run: credentials, the rehearsal copy, the script on
// standard output, the report file, the question before a complete repair, the verdict of a
// verification, the run's summary and the exit status.
#include "cli/CliRun.h"
#include "cli/Interrupt.h"
#include "cli/Rehearsal.h"
#include "data/FileError.h"
#include "data/Files.h"
#include "db/DbError.h"
#include "db/Watchdog.h"
#include "review/HtmlReport.h"
#include "schema/SchemaSource.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Credential(const std::optional<std::string>& given, const char* variable, const std::string& fallback)
{
    if (given)
        return *given;
    const char* value = std::getenv(variable);
    return value && *value ? value : fallback;
}

// Server messages come as lines joined by CR LF.
std::string ForTerminal(const std::string& message)
{
    std::string text;
    for (std::size_t i = 0; i < message.size(); ++i)
        if (!(message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n'))
            text += message[i];
    return text;
}

void WriteScriptToStdout(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw FileError("Cannot write the script to standard output");
}

std::string Plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A word as a shell reads it: quoted where it holds anything but the plain characters of a name.
std::string ShellWord(const std::string& word)
{
    if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                                "_-.,/:+=@%") == std::string::npos)
        return word;
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void Say(const std::string& line)
{
    std::fprintf(stderr, "vorkat-cli: %s\n", line.c_str());
}

// The eight checks write dialect 1 statements; the server refuses some of them in a dialect 3
// database, which the complete comparison repairs in its own dialect.
constexpr const char* Dialect3Refusal =
    "Metadata update statement is not allowed by the current database SQL dialect 3";
constexpr const char* CompleteHint = "; the complete comparison (--complete) compares and repairs this database";

// The longest type a row of the engine can have, so that the type column never moves.
std::size_t TypeWidth(bool complete)
{
    if (!complete)
        return std::string("STORED PROC.").size();
    std::size_t width = 0;
    using schema::ObjectKind;
    for (int k = static_cast<int>(ObjectKind::Database); k <= static_cast<int>(ObjectKind::Mapping); ++k)
        width = std::max(width, std::string(schema::KindName(static_cast<ObjectKind>(k))).size());
    return width;
}

}

CliRun::CliRun(const CliOptions& options, std::optional<FleetMember> member)
    : options_(options), progress_(!options.Quiet, StderrIsTerminal()),
      out_(options.Quiet ? nullptr : options.ScriptToStdout() ? stderr : stdout), checks_(dm_, options.Kinds)
{
    if (out_) {
        const bool terminal = ::isatty(::fileno(out_)) == 1;
        printer_.emplace(out_, terminal, terminal && ColourWanted(), TypeWidth(options.Complete));
    }
    schema::CompleteOptions completeOptions;
    completeOptions.kinds = schema::KindsOfWords(options_.CompleteKinds);
    completeOptions.drop = options_.Drop;
    completeOptions.force = options_.Force;
    completeOptions.ignoreWhitespace = options_.IgnoreWhitespace;
    completeOptions.include = options_.Include;
    completeOptions.exclude = options_.Exclude;
    member_ = std::move(member);
    if (member_) {
        completeOptions.newSchema = member_->newSchema;
        completeOptions.newShownAs = member_->newShownAs;
    } else if (options_.NewIsFiles()) {
        completeOptions.newShownAs = options_.NewName;
    }
    // Asked on a terminal only, so that scripts and CI jobs run as they did; a rehearsal
    // changes nothing of Old and is not asked either.
    if (options_.Repair && !options_.Yes && StdinIsTerminal())
        completeOptions.confirm = [this](const schema::Summary& summary) { return Confirm(summary); };
    complete_ = schema::CompleteEngine(std::move(completeOptions));

    const Login login = RunLogin(options, dm_);
    user_ = login.User;
    password_ = login.Password;
    for (Connection* db : {&dm_.OldDB, &dm_.NewDB}) {
        db->SetParamValue("user_name", user_);
        db->SetParamValue("password", password_);
    }
    // Without a terminal to ask on, a refused login ends the run with the server's message.
    // A password typed once serves both sides on one server, and the verification.
    dm_.SetLoginPrompt(options.AskPassword && StdinIsTerminal() ? &login_ : nullptr, true);
}

Login RunLogin(const CliOptions& options, TDM& dm)
{
    return {Credential(options.User, "ISC_USER", dm.OldDB.ParamValue("user_name")),
            Credential(options.Password, "ISC_PASSWORD", dm.OldDB.ParamValue("password"))};
}

void AttachNew(TDM& dm, const CliOptions& options, const std::string& name)
{
    const Login login = RunLogin(options, dm);
    dm.NewDB.SetParamValue("user_name", login.User);
    dm.NewDB.SetParamValue("password", login.Password);
    dm.NewDB.SetDatabaseName(DatabaseNameFromField(name));
    dm.ConnectNew();
}

bool CliRun::OwnsEnd()
{
    // A fleet's targets end on their own; the fleet ends the process.
    if (member_)
        return true;
    if (!claimed_) {
        claimed_ = true;
        ownsEnd_ = Interrupt::ClaimEnd();
    }
    return ownsEnd_;
}

int CliRun::Execute()
{
    try {
        return Run();
    } catch (const std::exception& error) {
        progress_.Clear();
        // The timeout has said why and ends the process.
        if (!OwnsEnd())
            for (;;)
                ::pause();
        std::string message = ForTerminal(error.what());
        // A fix cut by the timeout was not refused by the server.
        const bool refusedFix = dm_.RepairMode && !dm_.CurrentFix.empty() && !watchdog::DeadlinePassed();
        if (refusedFix) {
            // As the server gave it, as the complete repair's outcome keeps it.
            refused_ = schema::RepairOutcome{schema::RepairOutcome::State::Refused, Findings(), dm_.CurrentFix,
                                             error.what()};
            message = "refused: " + dm_.CurrentFix + ": " + message;
        }
        const bool dialect3 =
            message.find(Dialect3Refusal) != std::string::npos || (refusedFix && oldSide_.dialect == 3);
        if (!options_.Complete && dialect3)
            message += CompleteHint;
        if (member_)
            error_ = message;
        else
            std::fprintf(stderr, "vorkat-cli: %s\n", message.c_str());
        if (refusedFix && !options_.Quiet)
            Say(options_.Rehearse ? "the copy of Old is removed; Old unchanged"
                                  : "the refused fix was rolled back; " +
                                        (Findings() == 0   ? std::string("no fix before it was committed")
                                         : Findings() == 1 ? std::string("the 1 fix before it stays committed")
                                                           : "the " + Plural(Findings(), "fix", "fixes") +
                                                                 " before it stay committed"));
        // The JSON report says how a refused repair ended.
        const bool refusedRepair =
            refusedFix || (options_.Complete && FirstPass().repair.state == schema::RepairOutcome::State::Refused);
        if (refusedRepair && options_.ReportAsJson()) {
            try {
                WriteReport(options_.Complete ? &FirstPass() : nullptr);
            } catch (const std::exception& reportError) {
                if (member_)
                    error_ += "; " + ForTerminal(reportError.what());
                else
                    std::fprintf(stderr, "vorkat-cli: %s\n", ForTerminal(reportError.what()).c_str());
            }
        }
        return 2;
    }
}

void CliRun::CheckOutputs() const
{
    namespace fs = std::filesystem;
    std::vector<std::pair<const char*, std::string>> outputs;
    if (!options_.Repairing() && !options_.ScriptToStdout())
        outputs.emplace_back("the script", options_.ScriptFile);
    if (!options_.ReportFile.empty())
        outputs.emplace_back("the report", options_.ReportFile);
    for (const auto& [what, path] : outputs) {
        const std::string cannot = std::string("Cannot write ") + what + " to " + path + ": ";
        struct stat info {};
        fs::path folder = fs::path(path).parent_path();
        if (::stat(path.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode))
                throw FileError(cannot + "it is a folder");
            if (::access(path.c_str(), W_OK) != 0)
                throw FileError(cannot + "the file is read-only");
            // A device is written where it is; a file is replaced by one made beside it, where
            // a link points.
            if (!S_ISREG(info.st_mode))
                continue;
            std::error_code error;
            const fs::path target = fs::canonical(path, error);
            if (!error)
                folder = target.parent_path();
        }
        const std::string shown = folder.empty() ? "." : folder.string();
        struct stat folderInfo {};
        if (::stat(shown.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode))
            throw FileError(cannot + "the folder " + shown + " does not exist");
        if (::access(shown.c_str(), W_OK | X_OK) != 0)
            throw FileError(cannot + "the folder " + shown + " is not writable");
    }
}

int CliRun::Run()
{
    CheckOutputs();
    RunRequest request;
    request.OldField = options_.OldName;
    request.NewField = options_.NewName;
    // Files as New: built into a database of their own, which goes with the run.
    std::optional<schema::BuiltDatabase> built;
    if (!member_ && options_.NewIsFiles()) {
        if (!options_.Complete)
            throw FileError("NEW " + options_.NewName +
                            " is files: the complete comparison (--complete) builds them and compares");
        progress_.BeginStep("Building New Database");
        built = schema::BuildFromFiles(options_.NewName, {options_.NewDialect, options_.NewCharset, {}});
        progress_.EndStep();
        request.NewField = built->Path();
    }
    request.Repair = options_.Repairing();
    // Report rows stay on in a repair: they list what was repaired.
    request.Report = true;
    if (options_.ScriptToStdout())
        request.ScriptWriter = WriteScriptToStdout;
    else
        request.ScriptPath = options_.ScriptFile;
    if (!options_.ReportFile.empty())
        request.Outputs.push_back({"the report", options_.ReportFile});
    // Outlives the run, which closes both connections before the copy is removed.
    std::optional<RehearsalCopy> copy;
    if (options_.Rehearse)
        request.BeforeConnect = [&](const std::string& oldName) {
            // Both sides are attached before the copy, which can take long. Old as given where
            // gbak copies it: the login prompt is asked there, and gbak logs in with its answer
            // (a local file is only read; an attach would write to it). Then New, so that an
            // unreachable New ends the run with no copy made.
            Login login{user_, password_};
            if (CopiedWithGbak(oldName))
                login = dm_.CheckOld(oldName);
            dm_.CheckNew(DatabaseNameFromField(options_.NewName));
            copy.emplace(oldName, login.User, login.Password);
            return copy->Path();
        };
    if (!options_.Complete && (options_.ReportAsJson() || options_.Repairing()))
        request.AfterConnect = [this] { NoteSides(); };
    request.AfterPass = [&] {
        if (options_.Complete)
            firstPass_ = complete_.LastSummary();
        if (options_.ReportFile.empty())
            return false;
        try {
            WriteReport(options_.Complete ? &FirstPass() : nullptr);
        } catch (const FileError& error) {
            // The report comes after the repair's commit: the user must not take it for undone.
            const bool repaired = options_.Complete
                                      ? FirstPass().repair.state == schema::RepairOutcome::State::Committed
                                      : Findings() > 0;
            if (!options_.Repairing() || !repaired)
                throw;
            throw FileError(std::string(error.what()) + "; the repair of " + options_.OldName +
                            " was committed, only the report is missing");
        }
        return false;
    };
    request.Verify = options_.Verify || options_.Rehearse;
    request.VerifyWanted = [this] {
        return !options_.Complete || complete_.LastSummary().repair.state != schema::RepairOutcome::State::Declined;
    };

    RunEngine& engine = options_.Complete ? static_cast<RunEngine&>(complete_) : checks_;
    std::function<bool(const ReportRows::Row&)> destructive;
    if (options_.Complete && printer_)
        destructive = [this](const ReportRows::Row& row) {
            for (const auto& f : complete_.LastSummary().findings)
                if (f.destructive && schema::KindName(f.kind) == row[0] && f.name == row[1] && f.message == row[2])
                    return true;
            return false;
        };
    PrintedReport report(rows_, printer_ ? &*printer_ : nullptr, progress_, destructive);
    const RunOutcome outcome = RunSequence(dm_, engine, report, progress_, progress_).Run(request);
    if (!OwnsEnd())
        for (;;)
            ::pause();
    if (options_.Complete && options_.Verbose)
        std::fprintf(stderr, "vorkat-cli: %d catalog queries in the last pass\n", complete_.Queries());
    converged_ = outcome.Verified && outcome.Converged;
    if (outcome.Verified)
        PrintVerdict(outcome);
    PrintSummary(outcome);
    if (outcome.Verified && !outcome.Converged)
        return 1;
    return outcome.Found ? 1 : 0;
}

bool CliRun::Confirm(const schema::Summary& summary)
{
    const schema::Counts counts = summary.Count();
    bool yes = false;
    progress_.Aside([&] {
        Say(schema::CountsText(counts));
        for (const auto& f : summary.findings) {
            if (!f.destructive)
                continue;
            std::string what = schema::FindingActionWord(f.plannedAction);
            if (f.rows >= 0 && f.kind == schema::ObjectKind::Generator)
                what += ", holding " + std::to_string(f.rows);
            else if (f.rows >= 0)
                what += ", " + Plural(static_cast<std::size_t>(f.rows), "row", "rows");
            Say("destructive: " + f.Object().Text() + ": " + f.message + " (" + what + ")");
        }
        for (const auto& item : summary.notMended)
            Say("not mended: " + item.Text());
        yes = AskYes("Apply " + Plural(counts.statements, "statement", "statements") + " to " + options_.OldName +
                     "? [y/N] ");
    });
    return yes;
}

void CliRun::NoteSides()
{
    auto note = [](Connection& db) {
        return schema::SideInfo{db.DatabaseName(), db.ServerVersion(), db.OdsMajorVersion(), db.DatabaseDialect()};
    };
    oldSide_ = note(dm_.OldDB);
    newSide_ = note(dm_.NewDB);
}

bool CliRun::Repaired() const
{
    if (!options_.Repairing())
        return false;
    if (options_.Complete)
        return FirstPass().repair.state == schema::RepairOutcome::State::Committed;
    return Findings() > 0;
}

std::size_t CliRun::Findings() const
{
    const auto& rows = rows_.Rows();
    return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), IsFindingRow));
}

ReportFacts CliRun::Facts() const
{
    ReportFacts facts;
    if (options_.Complete) {
        const schema::Summary& summary = FirstPass();
        facts.old = summary.old;
        facts.neu = summary.neu;
        if (options_.Repairing())
            facts.repair = summary.repair;
    } else {
        facts.old = oldSide_;
        facts.neu = newSide_;
        if (refused_)
            facts.repair = refused_;
        else if (options_.Repairing())
            facts.repair = schema::RepairOutcome{
                Findings() > 0 ? schema::RepairOutcome::State::Committed : schema::RepairOutcome::State::NotRun,
                Findings(), {}, {}};
    }
    // A rehearsal attached a copy; the report is about Old as given.
    if (options_.Rehearse)
        facts.old.database = DatabaseNameFromField(options_.OldName);
    return facts;
}

void CliRun::PrintVerdict(const RunOutcome& outcome)
{
    if (!out_)
        return;
    if (outcome.Converged) {
        std::fputs("converged\n", out_);
    } else {
        std::fputs("not converged; left after the repair:\n", out_);
        for (const auto& row : outcome.Left.Rows())
            printer_->Print(row);
    }
    std::fflush(out_);
}

void CliRun::PrintSummary(const RunOutcome& outcome)
{
    if (options_.Quiet)
        return;
    std::string verified;
    if (outcome.Verified) {
        const auto& left = outcome.Left.Rows();
        const auto rows = static_cast<std::size_t>(std::count_if(left.begin(), left.end(), IsFindingRow));
        verified = outcome.Converged ? "; verified: converged"
                                     : "; verified: not converged, " + Plural(rows, "row", "rows") + " left";
    }
    const std::string copy = "; the copy is removed, Old unchanged";
    const std::string script = options_.ScriptToStdout() ? std::string("standard output") : options_.ScriptFile;
    if (options_.Complete) {
        const schema::Summary& summary = FirstPass();
        const schema::Counts counts = summary.Count();
        const std::string statements = Plural(counts.statements, "statement", "statements");
        // The question listed the counts already.
        if (summary.repair.state != schema::RepairOutcome::State::Declined)
            Say(schema::CountsText(counts));
        if (options_.Repairing()) {
            using State = schema::RepairOutcome::State;
            switch (summary.repair.state) {
            case State::Committed:
                Say("committed " + statements + " in one transaction" +
                    (options_.Rehearse ? " to a copy of " + options_.OldName + verified + copy
                                       : " to " + options_.OldName + verified));
                break;
            case State::Declined: Say("not applied: Old unchanged"); break;
            default: Say("nothing to repair" + verified); break;
            }
        } else if (!complete_.HasScript()) {
            Say(options_.ScriptToStdout() ? "nothing to apply" : "nothing to apply: " + script + " is empty");
        } else {
            Say(statements + " written to " + script);
            if (counts.statements > 0) {
                const std::string file = options_.ScriptToStdout() ? "FILE" : ShellWord(options_.ScriptFile);
                Say(std::string(options_.ScriptToStdout() ? "saved as FILE, apply" : "apply") +
                    " them with: isql-fb -ch UTF8 -user " + ShellWord(user_) + " -i " + file + " " +
                    ShellWord(DatabaseNameFromField(options_.OldName)));
                Say(summary.plan.migrations.empty()
                        ? "the script is one transaction: SET BAIL ON stops it at the first error, and nothing is "
                          "committed"
                        : "the script's data migrations commit step by step first, then the rest is one "
                          "transaction: SET BAIL ON stops it at the first error, and nothing of it is committed");
            }
        }
        return;
    }
    const std::size_t findings = Findings();
    const std::string found = findings == 0 ? "no findings" : Plural(findings, "finding", "findings");
    if (options_.Repairing()) {
        if (findings == 0)
            Say(found + "; nothing to repair" + verified);
        else
            Say(found + "; committed " + Plural(findings, "fix", "fixes") + (findings > 1 ? " (each on its own)" : "") +
                (options_.Rehearse ? " to a copy of " + options_.OldName + verified + copy
                                   : " to " + options_.OldName + verified));
    } else if (options_.ScriptToStdout()) {
        Say(found + (findings == 0 ? "" : "; the script went to standard output"));
    } else {
        Say(found + (findings == 0 ? "; " + script + " is empty" : "; the script is in " + script));
    }
}

void CliRun::WriteReport(const schema::Summary* details)
{
    if (options_.ReportAsHtml() && details)
        ReplaceFile(options_.ReportFile, review::HtmlReport(*details, {review::NowText(), VORKAT_VERSION}));
    else if (options_.ReportAsJson())
        SaveLines(options_.ReportFile, ReportJsonLines(rows_, details, Facts()));
    else if (options_.Complete)
        SaveLines(options_.ReportFile, rows_.QuotedCsvLines(ListSeparator()));
    else
        SaveLines(options_.ReportFile, rows_.CsvLines(ListSeparator()));
}
