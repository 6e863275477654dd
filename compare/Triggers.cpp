// Triggers: built from the New row; every trigger is written as active, whatever its state.
#include "compare/Triggers.h"

namespace {
const std::vector<std::string> TriggerSql{"select * from RDB$TRIGGERS"};
const std::vector<std::string> CheckSql{"select * from RDB$CHECK_CONSTRAINTS"};
}

TTrig::TTrig(TDM& dm, ReportSink& report)
    : Comparator(dm, report),
      NewTrig(dm.NewDB, dm.NewTran, TriggerSql),
      OldTrig(dm.OldDB, dm.OldTran, TriggerSql),
      NewCheck(dm.NewDB, dm.NewTran, CheckSql)
{
}

void TTrig::CheckTriggers(Progress& bar)
{
    DM.NewTran.StartTransaction();
    DM.OldTran.StartTransaction();
    Walk(NewTrig, OldTrig, bar, [this] { CompareTrigger(); }, {&NewCheck});
    DM.NewTran.Commit();
    DM.OldTran.Commit();
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
    std::vector<std::string> lines{"CREATE TRIGGER " + TriggerName() + " FOR " + TriggerTable()};
    AddTriggerBody(lines);
    FixTrigger(lines, "not exist");
}

void TTrig::AlterTrigger()
{
    std::vector<std::string> lines{"ALTER TRIGGER " + TriggerName()};
    AddTriggerBody(lines);
    FixTrigger(lines, "different");
}

void TTrig::FixTrigger(const std::vector<std::string>& lines, const std::string& message)
{
    DM.RunSQL.Lines = lines;
    DM.CurrentFix = "TRIGGER " + TriggerName();
    if (DM.RepairMode)
        DM.ExecuteFix();
    else
        DM.ScriptLines.insert(DM.ScriptLines.end(), DM.RunSQL.Lines.begin(), DM.RunSQL.Lines.end());
    DM.CurrentFix.clear();
    Report("TRIGGER.", TriggerName(), message);
}
