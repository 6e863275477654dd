// The data module: both connections, the statement buffer, the mode flags, the script and the fixes' retaining commit.
#pragma once
#include "data/Interfaces.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"

#include <string>
#include <vector>

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
    // switched on for good and the attach tried once more. Any other failure, and every
    // failure without a login window to ask, ends at once. Every message names the side:
    // "Old Database: " or "New Database: ".
    // In repair mode ConnectOld also refuses an Old Database set read-only (CheckOldWritable).
    void ConnectOld();
    void ConnectNew();
    // "Old Database: %s is set read-only, so a repair cannot change it" when it is, before any
    // fix is tried; Old must be connected.
    void CheckOldWritable();
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
    // login ends the connect with the server's message.
    void SetLoginPrompt(LoginPrompt* prompter);
    // The front end's busy pointer, shown while a query of either connection reads all its
    // rows; none (the default) shows nothing.
    void SetBusyPointer(BusyPointer* busy) { busy_.Target = busy; }
    BusyPointer* Busy() const { return busy_.Target; }

private:
    // Hands the question on and notes a Cancel, which drops only the attempt it belongs to.
    class LoginRelay : public LoginPrompt {
    public:
        LoginPrompt* Target = nullptr;
        bool Cancelled = false;
        bool Ask(const std::string& databaseName, std::string& userName, std::string& password) override;
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
    LoginRelay login_;
    BusyRelay busy_;
};

// The server's answers to wrong or missing credentials, the only failures a login window can mend.
bool IsAuthenticationFailure(const DbError& error);

// Refuses, before anything is started, an Old and a New name (as the fields give them) that
// name the same database: the same text, or local names of one and the same file.
void CheckDistinctDatabases(const std::string& oldName, const std::string& newName);

// Splits at CR LF, a lone CR or a lone LF; a trailing break yields no empty last line.
std::vector<std::string> SplitLines(const std::string& text);
