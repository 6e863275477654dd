// Triggers: built from the New row; every trigger is written as active, whatever its state.
#include "compare/Triggers.h"

const std::vector<std::string> TTrig::TriggerSql{"select * from RDB$TRIGGERS"};
const std::vector<std::string> TTrig::CheckSql{"select * from RDB$CHECK_CONSTRAINTS"};

void TTrig::CheckTriggers(Progress& bar)
{
    InBothTransactions(CommitOrder::NewFirst,
                       [&] { Walk(NewTrig, OldTrig, bar, [this] { CompareTrigger(); }, {&NewCheck}); });
}

void TTrig::CompareTrigger()
{
    if (!IsUserTrigger() || IsCheckTrigger())
        return;
    if (!OldTrig.Locate("RDB$TRIGGER_NAME", TriggerName())) {
        CreateTrigger();
        return;
    }
    const bool same = OldTrig.AsString("RDB$TRIGGER_SOURCE") == NewTrig.AsString("RDB$TRIGGER_SOURCE") &&
                      OldTrig.AsInteger("RDB$TRIGGER_SEQUENCE") == NewTrig.AsInteger("RDB$TRIGGER_SEQUENCE") &&
                      OldTrig.AsInteger("RDB$TRIGGER_TYPE") == NewTrig.AsInteger("RDB$TRIGGER_TYPE");
    if (!same)
        AlterTrigger();
}

std::string TTrig::TriggerTypeText()
{
    static const char* const activity[] = {"ACTIVE BEFORE INSERT ", "ACTIVE AFTER INSERT ",  "ACTIVE BEFORE UPDATE ",
                                           "ACTIVE AFTER UPDATE ",  "ACTIVE BEFORE DELETE ", "ACTIVE AFTER DELETE "};
    const auto type = NewTrig.AsInteger("RDB$TRIGGER_TYPE");
    std::string text = type >= 1 && type <= 6 ? activity[type - 1] : "";
    return text + "POSITION " + NewTrig.AsString("RDB$TRIGGER_SEQUENCE");
}

void TTrig::AddTriggerBody(std::vector<std::string>& lines)
{
    lines.push_back(TriggerTypeText());
    lines.push_back(NewTrig.AsString("RDB$TRIGGER_SOURCE"));
}

void TTrig::CreateTrigger()
{
    const std::string name = TriggerName();
    std::vector<std::string> lines{"CREATE TRIGGER " + name + " FOR " + TriggerTable()};
    AddTriggerBody(lines);
    // Scripted as the bare lines: no title, terminator or gap.
    Fix(lines, "TRIGGER " + name, "TRIGGER.", name, "not exist", ScriptForm::Untitled);
}

void TTrig::AlterTrigger()
{
    const std::string name = TriggerName();
    std::vector<std::string> lines{"ALTER TRIGGER " + name};
    AddTriggerBody(lines);
    Fix(lines, "TRIGGER " + name, "TRIGGER.", name, "different", ScriptForm::Untitled);
}
