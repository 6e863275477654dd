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
    // The script title of the fix being executed, empty between fixes: names a fix the server refused.
    std::string CurrentFix;

    // Opens the connection; on any failure the login prompt is switched on for good and
    // the attach is tried once more, whose error reaches the caller.
    void ConnectOld();
    void ConnectNew();
    // Executes the statement buffer on the Old Database and commits it, keeping cursors open.
    void ExecuteFix();
    // Rewrites lines as "/* title */", the lines, ";" and an empty line, and appends them to ScriptLines.
    void AddToScript(const std::string& title, std::vector<std::string>& lines);

    void SetLoginPrompt(LoginPrompt* prompter);

private:
    static void Connect(Connection& connection);
};

// Splits at CR LF, a lone CR or a lone LF; a trailing break yields no empty last line.
std::vector<std::string> SplitLines(const std::string& text);
