// The data module: both connections, the statement buffer, the mode flags, the script and the fixes' retaining commit.
#pragma once
#include "data/Interfaces.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"

#include <map>
#include <string>
#include <vector>

// The user name and password an attach got in with.
struct Login {
    std::string User;
    std::string Password;
};

class TDM {
public:
    TDM();
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    Connection OldDB;
    Transaction OldTran{OldDB};
    Connection NewDB;
    Transaction NewTran{NewDB};
    Statement RunSQL{OldDB, OldTran};
    bool RepairMode = false;
    bool ReportMode = false;
    std::vector<std::string> ScriptLines;
    // The script title of the fix being executed, empty between fixes: names a fix the server refused.
    std::string CurrentFix;

    // Opens the connection. Only wrong credentials bring the login window: the prompt is then
    // switched on for good and the attach tried once more, and once again, with the user
    // asked, when the server refused a remembered answer there. Any other failure, and every
    // failure without a login window to ask, ends at once. Every message names the side:
    // "Old Database: " or "New Database: ".
    // In repair mode ConnectOld also refuses an Old Database set read-only (CheckOldWritable).
    void ConnectOld();
    void ConnectNew();
    // "Old Database: %s is set read-only, so a repair cannot change it" when it is, before any
    // fix is tried; Old must be connected.
    void CheckOldWritable();
    // For a program that opens the Old Database on its own (the rehearsal's gbak): attaches
    // name as Old, as ConnectOld does but without the repair check, and leaves it attached for
    // CheckNew, which detaches it. The
    // user name and password that got in, the login prompt's answer where it was asked; the
    // prompt of OldDB is then as it was before, since the next name it gets is another database.
    Login CheckOld(const std::string& name);
    // Attaches name as the New Database, as ConnectNew does, and detaches both again: an
    // unreachable New fails before a long preparation. With Old attached by CheckOld, one
    // database under two names is refused here too, before it is copied. A login prompt stays
    // on for the attaches that follow.
    void CheckNew(const std::string& name);
    // With both attached: refuses one database under two names that the name check cannot
    // tell apart, such as two spellings of one server (OnSameDatabase).
    void CheckAttachedDistinct();
    // Executes the statement buffer on the Old Database and commits it, keeping cursors open;
    // the one-statement case of ExecuteFixes.
    void ExecuteFix();
    // Executes each statement in turn through the statement buffer, then commits them all at
    // once. On any failure everything since the last commit is rolled back and the first
    // error travels on unchanged.
    void ExecuteFixes(const std::vector<std::vector<std::string>>& statements);
    // Rewrites lines as "/* title */", the lines, ";" and an empty line, and appends them to ScriptLines.
    void AddToScript(const std::string& title, std::vector<std::string>& lines);

    // The front end's login window; none (a front end without windows) means a failed
    // login ends the connect with the server's message. With remember, an answer is given
    // again without asking to every later attach to the same server (LoginServer) under the
    // same user name, case aside, and to the same local database; a remembered answer the
    // server refuses is forgotten, and the prompt is asked instead.
    void SetLoginPrompt(LoginPrompt* prompter, bool remember = false);
    // The front end's busy pointer, shown while a query of either connection reads all its
    // rows; none (the default) shows nothing.
    void SetBusyPointer(BusyPointer* busy) { busy_.Target = busy; }
    BusyPointer* Busy() const { return busy_.Target; }

private:
    // Hands the question on and notes a Cancel, which drops only the attempt it belongs to.
    // Keeps the answers the server took, per database and per server, for CheckOld and,
    // with Remember, to answer from: the database's own answer first, else its server's.
    class LoginRelay : public LoginPrompt {
    public:
        LoginPrompt* Target = nullptr;
        bool Remember = false;
        // What the last question of the current attempt ended in.
        bool Cancelled = false;
        bool Answered = false;
        bool Recalled = false;
        bool Ask(const std::string& databaseName, std::string& userName, std::string& password) override;
        // The server took the last answer, or refused it: then neither the database nor its
        // server has an answer any more, and the next question is asked.
        void Accepted();
        void Refused();
        const std::string* Known(const std::string& databaseName, const std::string& userName) const;

    private:
        std::map<std::string, std::string> answers_;
        std::string databaseKey_;
        std::string serverKey_;  // empty for a local database
        std::string password_;
    };

    // Tells the busy pointer what both connections tell their observer.
    class BusyRelay : public FetchObserver {
    public:
        BusyPointer* Target = nullptr;
        void FetchBegins() override;
        void FetchEnds() noexcept override;

    private:
        BusyPointer* shown_ = nullptr;
    };

    void Connect(Connection& connection, const std::string& side);
    // One attach; the login relay learns whether the server took the prompt's answer.
    void Attempt(Connection& connection);
    LoginRelay login_;
    BusyRelay busy_;
};

// The server's answers to wrong or missing credentials, the only failures a login window can mend.
bool IsAuthenticationFailure(const DbError& error);

// The server a database name is reached on, as "host/port" with host and port as written
// (3050 where the name gives none): "srv:/db", "srv/3050:/db" and "inet://srv/db" are one
// server, "127.0.0.1:/db" another. Empty for a name without a TCP server (a local file).
std::string LoginServer(const std::string& databaseName);

// Refuses, before anything is started, an Old and a New name (as the fields give them) that
// name the same database: the same text, or local names of one and the same file.
void CheckDistinctDatabases(const std::string& oldName, const std::string& newName);
// "Old Database and New Database are the same database: <oldName>".
[[noreturn]] void RefuseSameDatabase(const std::string& oldName);

// Splits at CR LF, a lone CR or a lone LF; a trailing break yields no empty last line.
std::vector<std::string> SplitLines(const std::string& text);
