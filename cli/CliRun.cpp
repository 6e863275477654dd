// The command line's side of the shared run: credentials, the rehearsal copy, the script on
// standard output, the report file, the verdict of a verification and the exit status.
#include "cli/CliRun.h"
#include "db/Watchdog.h"
#include "cli/Rehearsal.h"
#include "cli/ReportJson.h"
#include "compare/ChecksEngine.h"
#include "data/FileError.h"
#include "data/Files.h"
#include "db/DbError.h"
#include "review/HtmlReport.h"
#include "schema/CompleteEngine.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

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

}

CliRun::CliRun(const CliOptions& options)
    : options_(options), progress_(!options.Quiet, StderrIsTerminal()),
      out_(options.Quiet ? nullptr : options.ScriptToStdout() ? stderr : stdout)
{
    user_ = Credential(options.User, "ISC_USER", dm_.OldDB.ParamValue("user_name"));
    password_ = Credential(options.Password, "ISC_PASSWORD", dm_.OldDB.ParamValue("password"));
    for (Connection* db : {&dm_.OldDB, &dm_.NewDB}) {
        db->SetParamValue("user_name", user_);
        db->SetParamValue("password", password_);
    }
    // Without a terminal to ask on, a refused login ends the run with the server's message.
    // A password typed once serves both sides on one server, and the verification.
    dm_.SetLoginPrompt(options.AskPassword && StdinIsTerminal() ? &login_ : nullptr, true);
}

int CliRun::Execute()
{
    try {
        return Run();
    } catch (const std::exception& error) {
        progress_.Clear();
        std::string message = ForTerminal(error.what());
        // A fix cut by the timeout was not refused by the server.
        if (dm_.RepairMode && !dm_.CurrentFix.empty() && !watchdog::DeadlinePassed())
            message = "refused: " + dm_.CurrentFix + ": " + message;
        std::fprintf(stderr, "vorkat-cli: %s\n", message.c_str());
        return 2;
    }
}

int CliRun::Run()
{
    RunRequest request;
    request.OldField = options_.OldName;
    request.NewField = options_.NewName;
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
    ChecksEngine checks(dm_, options_.Kinds);
    schema::CompleteOptions completeOptions;
    completeOptions.kinds = schema::KindsOfWords(options_.CompleteKinds);
    completeOptions.drop = options_.Drop;
    completeOptions.force = options_.Force;
    completeOptions.ignoreWhitespace = options_.IgnoreWhitespace;
    schema::CompleteEngine complete(completeOptions);
    request.AfterPass = [&] {
        if (options_.ReportFile.empty())
            return false;
        try {
            WriteReport(options_.Complete ? &complete.LastSummary() : nullptr);
        } catch (const FileError& error) {
            // The report comes after the repair's commit: the user must not take it for undone.
            const auto& rows = rows_.Rows();
            const bool repaired = options_.Complete ? complete.HasScript()
                                                    : std::any_of(rows.begin(), rows.end(), IsFindingRow);
            if (!options_.Repair || !repaired)
                throw;
            throw FileError(std::string(error.what()) + "; the repair of " + options_.OldName +
                            " was committed, only the report is missing");
        }
        return false;
    };
    request.Verify = options_.Verify || options_.Rehearse;

    RunEngine& engine = options_.Complete ? static_cast<RunEngine&>(complete) : checks;
    PrintedReport report(rows_, out_, progress_);
    const RunOutcome outcome = RunSequence(dm_, engine, report, progress_, progress_).Run(request);
    if (options_.Complete && options_.Verbose)
        std::fprintf(stderr, "vorkat-cli: %d catalog queries in the last pass\n", complete.Queries());
    if (outcome.Verified) {
        PrintVerdict(outcome);
        if (!outcome.Converged)
            return 1;
    }
    return outcome.Found ? 1 : 0;
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
            PrintRow(out_, row);
    }
    std::fflush(out_);
}

void CliRun::WriteReport(const schema::Summary* details)
{
    if (options_.ReportAsHtml() && details)
        ReplaceFile(options_.ReportFile, review::HtmlReport(*details, {review::NowText(), VORKAT_VERSION}));
    else if (options_.ReportAsJson())
        SaveLines(options_.ReportFile, ReportJsonLines(rows_, details));
    else if (options_.Complete)
        SaveLines(options_.ReportFile, rows_.QuotedCsvLines(ListSeparator()));
    else
        SaveLines(options_.ReportFile, rows_.CsvLines(ListSeparator()));
}
