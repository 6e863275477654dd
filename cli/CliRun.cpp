// The command line's run, in the window's order: Old first, then New; closed New first.
#include "cli/CliRun.h"
#include "cli/Rehearsal.h"
#include "cli/ReportJson.h"
#include "compare/Checks.h"
#include "data/Files.h"
#include "db/DbError.h"

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

bool HasFindings(const ReportRows& rows)
{
    for (const auto& row : rows.Rows())
        if (!row[0].empty() || !row[1].empty() || !row[2].empty())
            return true;
    return false;
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

// Closes both connections on the way out, before the rehearsal copy they may hold is removed.
struct ClosedAtEnd {
    TDM& dm;
    ~ClosedAtEnd()
    {
        dm.NewDB.Close();
        dm.OldDB.Close();
    }
};

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
    dm_.SetLoginPrompt(options.AskPassword && StdinIsTerminal() ? &login_ : nullptr);
}

int CliRun::Execute()
{
    try {
        return Run();
    } catch (const std::exception& error) {
        progress_.Clear();
        std::string message = ForTerminal(error.what());
        if (dm_.RepairMode && !dm_.CurrentFix.empty())
            message = "refused: " + dm_.CurrentFix + ": " + message;
        std::fprintf(stderr, "vorkat-cli: %s\n", message.c_str());
        return 2;
    }
}

int CliRun::Run()
{
    const std::string oldName = DatabaseNameFromField(options_.OldName);
    newName_ = DatabaseNameFromField(options_.NewName);
    // Before the rehearsal copy, which would hide that both names are one file.
    CheckDistinctDatabases(oldName, newName_);
    std::optional<RehearsalCopy> copy;
    if (options_.Rehearse)
        copy.emplace(oldName, user_, password_);
    const std::string target = copy ? copy->Path() : oldName;
    ClosedAtEnd closed{dm_};

    dm_.RepairMode = options_.Repairing();
    // Report rows stay on in a repair: they list what was repaired.
    dm_.ReportMode = true;
    dm_.ScriptLines.clear();
    Connect(target);
    {
        PrintedReport report(rows_, out_, progress_);
        Checks checks(dm_, report);
        RunKinds(checks, "");
    }
    const bool differences = HasFindings(rows_) || !dm_.ScriptLines.empty();
    if (!dm_.RepairMode)
        WriteScript();
    if (!options_.ReportFile.empty())
        WriteReport();
    Close();

    if ((options_.Verify || options_.Rehearse) && !Verify(target))
        return 1;
    return differences ? 1 : 0;
}

void CliRun::Connect(const std::string& oldName)
{
    dm_.OldDB.SetDatabaseName(oldName);
    dm_.ConnectOld();
    dm_.NewDB.SetDatabaseName(newName_);
    dm_.ConnectNew();
}

void CliRun::Close() noexcept
{
    dm_.NewDB.Close();
    dm_.OldDB.Close();
}

void CliRun::RunKinds(Checks& checks, const std::string& captionPrefix)
{
    for (const auto& info : CheckKinds) {
        bool chosen = false;
        for (CheckKind kind : options_.Kinds)
            chosen = chosen || kind == info.Kind;
        if (!chosen)
            continue;
        progress_.BeginKind(captionPrefix + info.Caption);
        checks.Run(info.Kind, progress_);
        progress_.EndKind();
    }
    progress_.Clear();
}

bool CliRun::Verify(const std::string& oldName)
{
    dm_.RepairMode = false;
    dm_.ReportMode = true;
    dm_.ScriptLines.clear();
    ReportRows left;
    Connect(oldName);
    {
        Checks checks(dm_, left);
        RunKinds(checks, "Verify ");
    }
    Close();
    const bool converged = !HasFindings(left) && dm_.ScriptLines.empty();
    if (out_) {
        if (converged) {
            std::fputs("converged\n", out_);
        } else {
            std::fputs("not converged; left after the repair:\n", out_);
            for (const auto& row : left.Rows())
                PrintRow(out_, row);
        }
        std::fflush(out_);
    }
    return converged;
}

void CliRun::WriteScript()
{
    if (!options_.ScriptToStdout()) {
        SaveLines(options_.ScriptFile, dm_.ScriptLines);
        return;
    }
    for (const auto& line : dm_.ScriptLines) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputs("\r\n", stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw DbError("Cannot write the script to standard output");
}

void CliRun::WriteReport()
{
    if (options_.ReportAsJson())
        SaveLines(options_.ReportFile, ReportJsonLines(rows_));
    else
        SaveLines(options_.ReportFile, rows_.CsvLines(ListSeparator()));
}
