// Connections with their login fallback, and the execute-or-script dispatch.
#include "data/DM.h"
#include "db/DbError.h"

namespace {
void SetUp(Connection& db, Transaction& tran)
{
    db.Params = {"user_name=SYSDBA", "password=quillbarn"};
    db.LoginPromptOn = false;
    db.DefaultTransaction = &tran;
    tran.Params = {"read_committed", "rec_version", "nowait"};
}
}

TDM::TDM()
{
    SetUp(OldDB, OldTran);
    SetUp(NewDB, NewTran);
}

TDM::~TDM()
{
    NewDB.Close();
    OldDB.Close();
}

void TDM::SetLoginPrompt(LoginPrompt* prompter)
{
    OldDB.Prompter = prompter;
    NewDB.Prompter = prompter;
}

void TDM::Connect(Connection& connection)
{
    try {
        connection.Open();
        return;
    } catch (const DbError&) {
        // The first failure is dropped: the user gets the login window from now on.
    }
    connection.LoginPromptOn = true;
    connection.Open();
}

void TDM::ConnectOld() { Connect(OldDB); }
void TDM::ConnectNew() { Connect(NewDB); }

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
