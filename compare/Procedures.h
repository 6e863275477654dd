// Stored procedure comparison: creates or alters procedures, each after the procedures it calls.
#pragma once
#include "compare/Comparator.h"

#include <map>
#include <set>

class TSP : public Comparator {
public:
    using Comparator::Comparator;

    void CheckProcedures(Progress& bar);

private:
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

    Query& SPParamQuery(Side side) { return spParams_[side]; }
    Query& SPFieldsQuery(Side side) { return spFields_[side]; }
    std::string ParamName(Side side) { return Trim(SPParamQuery(side).AsString("RDB$PARAMETER_NAME")); }
    std::string ParamDomain(Side side) { return SPParamQuery(side).AsString("RDB$FIELD_SOURCE"); }
    std::int64_t DomainType(Side side) { return SPFieldsQuery(side).AsInteger("RDB$FIELD_TYPE"); }
    std::string DomainLength(Side side) { return SPFieldsQuery(side).AsString("RDB$FIELD_LENGTH"); }
    std::string ParamTypeText(Side side);

    void FixProcedure(std::vector<std::string> lines, const std::string& name, const std::string& message);
    bool LocateDomain(Side side);

    static const std::vector<std::string> ProcedureSql;
    static const std::vector<std::string> ParamSql;
    static const std::vector<std::string> FieldSql;
    static const std::vector<std::string> DependencySql;
    static const ServedRead ServedParams;
    static const ServedRead ServedDependencies;
    // ParamSql, or its form for the servers that know packages.
    static const std::vector<std::string>& ParamSqlFor(Connection& connection);

    QueryPair sps_{DM, ProcedureSql};
    QueryPair spParams_{DM, ParamSql, ServedParams};
    QueryPair spFields_{DM, FieldSql};
    Query& NewSP = sps_.New;
    Query& OldSP = sps_.Old;
    Query& NewSPParam = spParams_.New;
    Query& OldSPParam = spParams_.Old;
    Query& NewSPFields = spFields_.New;
    Query& OldSPFields = spFields_.Old;
    // The New procedures once more, searched while NewSP walks.
    Query SrchSP{DM.NewDB, DM.NewTran, ProcedureSql};
    Query NewSPDep{DM.NewDB, DM.NewTran, DependencySql};

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
