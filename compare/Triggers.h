// Trigger comparison: creates missing user triggers and alters those whose source, position or type changed.
#pragma once
#include "compare/Comparator.h"

class TTrig : public Comparator {
public:
    using Comparator::Comparator;

    void CheckTriggers(Progress& bar);

private:
    friend struct ComparatorPeer;

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

    static const std::vector<std::string> TriggerSql;
    static const std::vector<std::string> CheckSql;
    QueryPair trigs_{DM, TriggerSql};
    Query& NewTrig = trigs_.New;
    Query& OldTrig = trigs_.Old;
    Query NewCheck{DM.NewDB, DM.NewTran, CheckSql};
};
