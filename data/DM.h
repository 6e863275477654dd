// The data module: both connections, the statement buffer, the mode flags and the script.
#pragma once
#include "db/Connection.h"
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

    // Opens the connection; on any failure the login prompt is switched on for good and
    // the attach is tried once more, whose error reaches the caller.
    void ConnectOld();
    void ConnectNew();
    // Executes the statement buffer on the Old Database and commits it, keeping cursors open;
    // the one-statement case of ExecuteFixes.
    void ExecuteFix();
    // Executes each statement in turn through the statement buffer, then commits them all at
    // once. On any failure everything since the last commit is rolled back and the first
    // error travels on unchanged.
    void ExecuteFixes(const std::vector<std::vector<std::string>>& statements);
    // Rewrites lines as "/* title */", the lines, ";" and an empty line, and appends them to ScriptLines.
    void AddToScript(const std::string& title, std::vector<std::string>& lines);

    void SetLoginPrompt(LoginPrompt* prompter);

private:
    static void Connect(Connection& connection);
};

// Splits at CR LF, a lone CR or a lone LF; a trailing break yields no empty last line.
std::vector<std::string> SplitLines(const std::string& text);
