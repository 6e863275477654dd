// Stored procedure comparison: creates or alters procedures, each after the procedures it calls.
#pragma once
#include "compare/Comparator.h"

#include <map>
#include <set>

class TSP : public Comparator {
public:
    TSP(TDM& dm, ReportSink& report);

    void CheckProcedures(Progress& bar);

    // name is RDB$PROCEDURE_NAME as read, trailing blanks kept.
    void CompareProcedure(const std::string& name);
    bool SameParameters(const std::string& name, int kind);
    void CheckDependencies(const std::string& name);
    void OpenDependencies(const std::string& name);
    void CreateProcedure(const std::string& name);
    void AlterProcedure(const std::string& name);
    void AddProcedureBody(const std::string& name, std::vector<std::string>& lines);
    void AddInputParams(const std::string& name, std::vector<std::string>& lines);
    void AddOutputParams(const std::string& name, std::vector<std::string>& lines);
    std::string ParamList();

    Query& SPParamQuery(int side) { return side == 1 ? NewSPParam : OldSPParam; }
    Query& SPFieldsQuery(int side) { return side == 1 ? NewSPFields : OldSPFields; }
    std::string ParamName(int side) { return Trim(SPParamQuery(side).AsString("RDB$PARAMETER_NAME")); }
    std::string ParamDomain(int side) { return SPParamQuery(side).AsString("RDB$FIELD_SOURCE"); }
    std::int64_t DomainType(int side) { return SPFieldsQuery(side).AsInteger("RDB$FIELD_TYPE"); }
    std::string DomainLength(int side) { return SPFieldsQuery(side).AsString("RDB$FIELD_LENGTH"); }
    std::string ParamTypeText(int side);

    Query NewSP;
    Query SrchSP;
    Query OldSP;
    Query NewSPParam;
    Query OldSPParam;
    Query NewSPFields;
    Query OldSPFields;
    Query NewSPDep;

private:
    void FixProcedure(std::vector<std::string> lines, const std::string& name, const std::string& message);
    bool LocateDomain(int side);

    // Names (trailing blanks dropped) whose dependency walk is under way; reaching one again is a cycle.
    std::set<std::string> walking_;
    // Old procedures fixed since OldSP was last read: only their rows can have changed.
    std::set<std::string> fixedSinceRead_;
    // A fix has run since OldSPFields was last read, so a domain it lacks may exist by now.
    bool oldFieldsStale_ = false;
    // The New database is never written, so a procedure's callees and statement body are read
    // once per step, however often walks reach it.
    std::map<std::string, std::vector<std::string>> callees_;
    std::map<std::string, std::vector<std::string>> bodies_;
};
