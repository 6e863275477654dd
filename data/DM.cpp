// Connections with their login fallback and plain failure messages; fixes executed and committed retaining.
#include "data/DM.h"
#include "db/SameDatabase.h"
#include "db/DbError.h"
#include "db/FileDescriptor.h"
#include "db/Watchdog.h"

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

std::string Lowered(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// "host", "host<separator>port", "[v6 address]" or "[v6 address]<separator>port".
void SplitServer(const std::string& text, char separator, std::string& host, std::string& port)
{
    std::size_t end = 0;
    if (!text.empty() && text[0] == '[') {
        end = text.find(']');
        end = end == std::string::npos ? text.size() : end + 1;
    }
    const std::size_t split = text.find(separator, end);
    host = text.substr(0, split);
    port = split == std::string::npos ? std::string() : text.substr(split + 1);
}

// Where a login prompt's answer is kept: a database or a server, with the user name, which
// Firebird takes in any case.
std::string DatabaseKey(const std::string& databaseName, const std::string& userName)
{
    return "database " + databaseName + "\n" + Lowered(userName);
}

std::string ServerKey(const std::string& databaseName, const std::string& userName)
{
    return "server " + LoginServer(databaseName) + "\n" + Lowered(userName);
}

} // namespace

std::string LoginServer(const std::string& databaseName)
{
    if (databaseName.empty() || IsLocalName(databaseName))
        return {};
    std::string host;
    std::string port;
    const std::size_t scheme = databaseName.find("://");
    if (scheme != std::string::npos) {
        // inet://host[:port]/path; xnet and wnet reach no TCP server.
        const std::string protocol = Lowered(databaseName.substr(0, scheme));
        if (protocol != "inet" && protocol != "inet4" && protocol != "inet6")
            return {};
        const std::string rest = databaseName.substr(scheme + 3);
        SplitServer(rest.substr(0, rest.find('/')), ':', host, port);
    } else {
        // host[/port]:path
        std::size_t colon = 0;
        if (databaseName[0] == '[')
            colon = databaseName.find(']');
        colon = databaseName.find(':', colon == std::string::npos ? 0 : colon);
        SplitServer(databaseName.substr(0, colon), '/', host, port);
    }
    if (host.empty())
        return {};
    return host + "/" + (port.empty() ? "3050" : port);
}

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
    const bool onServer = !LoginServer(databaseName).empty();
    const std::string* known = Remember ? Known(databaseName, userName) : nullptr;
    if (!known && Remember && onServer)
        if (const auto answer = answers_.find(ServerKey(databaseName, userName)); answer != answers_.end())
            known = &answer->second;
    Recalled = known != nullptr;
    if (known) {
        password = *known;
        Cancelled = false;
    } else {
        Cancelled = !Target || !Target->Ask(databaseName, userName, password);
    }
    Answered = !Cancelled;
    // Under the user name the prompt gave, which may not be the one it was shown.
    databaseKey_ = DatabaseKey(databaseName, userName);
    serverKey_ = onServer ? ServerKey(databaseName, userName) : std::string();
    password_ = password;
    return Answered;
}

void TDM::LoginRelay::Accepted()
{
    answers_[databaseKey_] = password_;
    if (!serverKey_.empty())
        answers_[serverKey_] = password_;
}

void TDM::LoginRelay::Refused()
{
    answers_.erase(databaseKey_);
    answers_.erase(serverKey_);
}

const std::string* TDM::LoginRelay::Known(const std::string& databaseName, const std::string& userName) const
{
    const auto known = answers_.find(DatabaseKey(databaseName, userName));
    return known == answers_.end() ? nullptr : &known->second;
}

void TDM::SetLoginPrompt(LoginPrompt* prompter, bool remember)
{
    login_.Target = prompter;
    login_.Remember = remember;
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

void TDM::Attempt(Connection& connection)
{
    login_.Cancelled = false;
    login_.Answered = false;
    login_.Recalled = false;
    try {
        connection.Open();
    } catch (const DbError& error) {
        if (login_.Answered && IsAuthenticationFailure(error))
            login_.Refused();
        throw;
    }
    if (login_.Answered)
        login_.Accepted();
}

void TDM::Connect(Connection& connection, const std::string& side)
{
    // "Old Database: " names the step "connecting to the Old Database".
    watchdog::SetStep("connecting to the " + side.substr(0, side.find(':')));
    try {
        try {
            Attempt(connection);
            return;
        } catch (const DbError& error) {
            // Once the window is on, a Cancel drops only this attempt.
            const bool retry = connection.Prompter && (IsAuthenticationFailure(error) || login_.Cancelled);
            if (!retry)
                throw;
        }
        connection.LoginPromptOn = true;
        try {
            Attempt(connection);
            return;
        } catch (const DbError& error) {
            // The remembered answer of another database that this one refused is forgotten by
            // now, so the user is asked; a typed answer the server refuses ends the connect.
            if (!login_.Recalled || !IsAuthenticationFailure(error))
                throw;
        }
        Attempt(connection);
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

Login TDM::CheckOld(const std::string& name)
{
    const bool prompted = OldDB.LoginPromptOn;
    OldDB.SetDatabaseName(name);
    try {
        Connect(OldDB, "Old Database: ");
    } catch (...) {
        OldDB.LoginPromptOn = prompted;
        throw;
    }
    Login login{OldDB.ParamValue("user_name"), OldDB.ParamValue("password")};
    if (OldDB.LoginPromptOn)
        if (const std::string* answer = login_.Known(name, login.User))
            login.Password = *answer;
    OldDB.LoginPromptOn = prompted;
    return login;
}

void TDM::CheckNew(const std::string& name)
{
    struct Detached {
        TDM& dm;
        ~Detached()
        {
            dm.NewDB.Close();
            dm.OldDB.Close();
        }
    } detached{*this};
    NewDB.SetDatabaseName(name);
    ConnectNew();
    if (OldDB.Connected())
        CheckAttachedDistinct();
}

void TDM::CheckAttachedDistinct()
{
    if (OnSameDatabase(OldDB, NewDB))
        RefuseSameDatabase(OldDB.DatabaseName());
}

void RefuseSameDatabase(const std::string& oldName)
{
    throw DbError(FormatMessage("Old Database and New Database are the same database: %s", oldName));
}

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
        RefuseSameDatabase(oldName);
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
