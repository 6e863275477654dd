// Trigger comparison: creates missing user triggers and alters those whose source, position or type changed.
#pragma once
#include "compare/Comparator.h"

class TTrig : public Comparator {
public:
    TTrig(TDM& dm, ReportSink& report);

    void CheckTriggers(Progress& bar);

    void CompareTrigger();
    void CreateTrigger();
    void AlterTrigger();
    void AddTriggerBody(std::vector<std::string>& lines);

    // All on the current NewTrig row.
    std::string TriggerName() { return Trim(NewTrig.AsString("RDB$TRIGGER_NAME")); }
    std::string TriggerTable() { return Trim(NewTrig.AsString("RDB$RELATION_NAME")); }
    bool IsUserTrigger() { return NewTrig.AsInteger("RDB$SYSTEM_FLAG") != 1; }
    bool IsCheckTrigger() { return NewCheck.Locate("RDB$TRIGGER_NAME", TriggerName()); }
    std::string TriggerTypeText();

    Query NewTrig;
    Query OldTrig;
    Query NewCheck;

private:
    // Executes the statement, or appends its lines to the script as they are: no title, terminator or gap.
    void FixTrigger(const std::vector<std::string>& lines, const std::string& message);
};
