// Connections with their login fallback and plain failure messages; fixes executed and committed retaining.
#include "data/DM.h"
#include "db/DbError.h"
#include "db/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <ibase.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

void SetUp(Connection& db, Transaction& tran)
{
    db.Params = {"user_name=SYSDBA", "password=quillbarn"};
    db.LoginPromptOn = false;
    tran.Params = {"read_committed", "rec_version", "nowait"};
}

// Firebird reads this much of a file before it looks at it: a shorter file fails as an I/O
// error ("File size is less than expected"), a longer one that is no database as a bad format.
constexpr std::uintmax_t HeaderReadSize = 1024;

// A name the client library takes for a file on this machine, not "host:path" or "inet://...".
bool IsLocalName(const std::string& name)
{
    std::error_code error;
    return name.find(':') == std::string::npos || std::filesystem::exists(name, error);
}

// Every embedded engine keeps an exclusive lock on the files it has open.
bool HeldByAnotherProcess(const std::string& name)
{
    const FileDescriptor fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    return fd.Valid() && ::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// The server's words where they are plain; plainer ones, that tell the user what to mend,
// where they are not.
std::string AttachFailure(const std::string& name, const DbError& error)
{
    if (error.Code() == 0 || !IsLocalName(name))
        return error.what();
    std::error_code fault;
    const auto status = std::filesystem::status(name, fault);
    if (error.Code() == isc_no_priv && std::filesystem::is_regular_file(status))
        return name + " is read-only; Firebird needs write access to the file to open it";
    if (error.Code() != isc_io_error)
        return error.what();
    if (std::filesystem::is_directory(status))
        return name + " is a folder, not a database file";
    if (!std::filesystem::is_regular_file(status))
        return error.what();
    const std::uintmax_t size = std::filesystem::file_size(name, fault);
    if (!fault && size == 0)
        return name + " is empty, not a database file";
    if (HeldByAnotherProcess(name))
        return name + " is in use by another program";
    if (!fault && size < HeaderReadSize)
        return name + " is too short to be a database file";
    return error.what();
}

} // namespace

TDM::TDM()
{
    SetUp(OldDB, OldTran);
    SetUp(NewDB, NewTran);
    OldDB.Fetches = &busy_;
    NewDB.Fetches = &busy_;
}

void TDM::BusyRelay::FetchBegins()
{
    shown_ = Target;
    if (shown_)
        shown_->Begin();
}

void TDM::BusyRelay::FetchEnds() noexcept
{
    if (shown_)
        shown_->End();
    shown_ = nullptr;
}

TDM::~TDM()
{
    NewDB.Close();
    OldDB.Close();
}

bool TDM::LoginRelay::Ask(const std::string& databaseName, std::string& userName, std::string& password)
{
    Cancelled = !Target || !Target->Ask(databaseName, userName, password);
    return !Cancelled;
}

void TDM::SetLoginPrompt(LoginPrompt* prompter)
{
    login_.Target = prompter;
    OldDB.Prompter = prompter ? &login_ : nullptr;
    NewDB.Prompter = prompter ? &login_ : nullptr;
}

bool IsAuthenticationFailure(const DbError& error)
{
    switch (error.Code()) {
    case isc_login:
    case isc_password_required:
    case isc_login_same_as_role_name:
        return true;
    default:
        return false;
    }
}

void TDM::Connect(Connection& connection, const std::string& side)
{
    try {
        login_.Cancelled = false;
        try {
            connection.Open();
            return;
        } catch (const DbError& error) {
            // Once the window is on, a Cancel drops only this attempt.
            const bool retry = connection.Prompter && (IsAuthenticationFailure(error) || login_.Cancelled);
            if (!retry)
                throw;
        }
        connection.LoginPromptOn = true;
        connection.Open();
    } catch (const DbError& error) {
        throw DbError(side + AttachFailure(connection.DatabaseName(), error), error.Code());
    }
}

void TDM::ConnectOld()
{
    Connect(OldDB, "Old Database: ");
    if (RepairMode) {
        try {
            CheckOldWritable();
        } catch (const DbError&) {
            OldDB.Close();
            throw;
        }
    }
}

void TDM::ConnectNew() { Connect(NewDB, "New Database: "); }

void TDM::CheckOldWritable()
{
    if (OldDB.InfoNumber(isc_info_db_read_only).value_or(0) != 0)
        throw DbError(FormatMessage("Old Database: %s is set read-only, so a repair cannot change it",
                                    OldDB.DatabaseName()));
}

void CheckDistinctDatabases(const std::string& oldName, const std::string& newName)
{
    if (oldName.empty() || newName.empty())
        return;
    bool same = oldName == newName;
    if (!same && IsLocalName(oldName) && IsLocalName(newName)) {
        // One file under two names (a link, "..", a relative name) is still one database.
        std::error_code error;
        same = std::filesystem::equivalent(oldName, newName, error);
        if (error) {
            std::error_code oldError;
            std::error_code newError;
            const auto oldPath = std::filesystem::weakly_canonical(oldName, oldError);
            const auto newPath = std::filesystem::weakly_canonical(newName, newError);
            same = !oldError && !newError && oldPath == newPath;
        }
    }
    if (same)
        throw DbError(FormatMessage("Old Database and New Database are the same database: %s", oldName));
}

void TDM::ExecuteFix()
{
    ExecuteFixes({RunSQL.Lines});
}

void TDM::ExecuteFixes(const std::vector<std::vector<std::string>>& statements)
{
    OldTran.StartTransaction();
    try {
        for (const auto& lines : statements) {
            RunSQL.Lines = lines;
            RunSQL.Execute();
        }
        OldTran.CommitRetaining();
    } catch (...) {
        // Much DDL is checked only at commit; left pending, a refused fix would be landed by
        // a later commit, the closing one included. The server's refusal is what the user must
        // see, so a failing rollback does not replace it.
        try {
            OldTran.RollbackRetaining();
        } catch (...) {
        }
        throw;
    }
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

void TDM::AddToScript(const std::string& title, std::vector<std::string>& lines)
{
    std::string text = "/* " + title + " */\r\n";
    for (const auto& line : lines)
        text += line + "\r\n";
    text += ";";
    lines = SplitLines(text);
    lines.push_back("");
    ScriptLines.insert(ScriptLines.end(), lines.begin(), lines.end());
}
