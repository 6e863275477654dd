// Stored procedures: a missing or changed procedure is fixed after a depth-first walk over its callees.
#include "compare/Procedures.h"
#include "compare/TypeText.h"

const std::vector<std::string> TSP::ProcedureSql{"select * from RDB$PROCEDURES"};
// Ordered by number so that lists are written and compared in declaration order.
const std::vector<std::string> TSP::ParamSql{"select * from RDB$PROCEDURE_PARAMETERS",
                                             "WHERE RDB$PROCEDURE_NAME=:PNAME and", "RDB$PARAMETER_TYPE=:PTYPE",
                                             "order by RDB$PARAMETER_NUMBER"};
// Only the parameters' domains: the lookups are by unique name, and the other tens of
// thousands of rows (one per table column) would only be carried across.
const std::vector<std::string> TSP::FieldSql{
    "select * from RDB$FIELDS", "where RDB$FIELD_NAME in (select RDB$FIELD_SOURCE from RDB$PROCEDURE_PARAMETERS)"};
const std::vector<std::string> TSP::DependencySql{"select * from RDB$DEPENDENCIES", "WHERE RDB$FIELD_NAME IS NULL and",
                                                  "RDB$DEPENDENT_NAME=:SPNAME and", "RDB$DEPENDED_ON_TYPE=:DEPTYPE",
                                                  "order by RDB$DEPENDED_ON_NAME"};
const ServedRead TSP::ServedParams{{"select * from RDB$PROCEDURE_PARAMETERS"},
                                   {{"RDB$PROCEDURE_NAME", "PNAME"}, {"RDB$PARAMETER_TYPE", "PTYPE"}},
                                   {"RDB$PARAMETER_NUMBER"}};
const ServedRead TSP::ServedDependencies{{"select * from RDB$DEPENDENCIES", "WHERE RDB$FIELD_NAME IS NULL"},
                                         {{"RDB$DEPENDENT_NAME", "SPNAME"}, {"RDB$DEPENDED_ON_TYPE", "DEPTYPE"}},
                                         {"RDB$DEPENDED_ON_NAME"}};

namespace {
// The same rows as ParamSql. Newer servers index the parameters under the package name first,
// so the name alone makes a scan of every parameter per procedure; both ways of the (always
// true) package condition let the index serve.
const std::vector<std::string> PackagedParamSql{
    "select * from RDB$PROCEDURE_PARAMETERS",
    "WHERE (RDB$PACKAGE_NAME IS NULL and RDB$PROCEDURE_NAME=:PNAME or",
    "RDB$PACKAGE_NAME >= '' and RDB$PROCEDURE_NAME=:PNAME) and",
    "RDB$PARAMETER_TYPE=:PTYPE", "order by RDB$PARAMETER_NUMBER"};
const int PackagesOds = 12;
const std::int64_t ProcedureDependency = 5;
const char* const NameColumn = "RDB$PROCEDURE_NAME";
const char* const SourceColumn = "RDB$PROCEDURE_SOURCE";

void Reopen(Query& query)
{
    query.Close();
    query.Open();
    query.FetchAll();
}
}

const std::vector<std::string>& TSP::ParamSqlFor(Connection& connection)
{
    return connection.OdsMajorVersion() >= PackagesOds ? PackagedParamSql : ParamSql;
}

void TSP::CheckProcedures(Progress& bar)
{
    walking_.clear();
    fixedSinceRead_.clear();
    callees_.clear();
    bodies_.clear();
    oldFieldsStale_ = false;
    InBothTransactions(CommitOrder::NewFirst, [&] {
        NewSPParam.SQL = ParamSqlFor(DM.NewDB);
        OldSPParam.SQL = ParamSqlFor(DM.OldDB);
        NewSPDep.ServeFrom(ServedDependencies);
        SrchSP.Open();
        Walk(NewSP, OldSP, bar, [this] { CompareProcedure(NewSP.AsString(NameColumn)); });
        NewSPDep.Close();
        SrchSP.Close();
        OldSPFields.Close();
        NewSPFields.Close();
    });
}

void TSP::CompareProcedure(const std::string& name)
{
    // In repair mode a procedure fixed earlier in this step is read again; the other rows cannot have changed.
    if (!OldSP.Active() || fixedSinceRead_.count(TrimTrailingBlanks(name))) {
        Reopen(OldSP);
        fixedSinceRead_.clear();
    }
    if (!OldSP.Locate(NameColumn, name)) {
        CreateProcedure(name);
        return;
    }
    bool same = SameParameters(name, 0) && SameParameters(name, 1);
    if (same) {
        SrchSP.Locate(NameColumn, name);
        same = OldSP.AsString(SourceColumn) == SrchSP.AsString(SourceColumn);
    }
    if (!same)
        AlterProcedure(name);
}

bool TSP::SameParameters(const std::string& name, int kind)
{
    NewSPFields.Open();
    OldSPFields.Open();
    for (Query* params : {&NewSPParam, &OldSPParam}) {
        params->Close();
        params->SetParam("PNAME", name);
        params->SetParam("PTYPE", std::int64_t{kind});
        params->Open();
        params->FetchAll();
        params->First();
    }
    bool same = NewSPParam.RecordCount() == OldSPParam.RecordCount();
    while (same && !NewSPParam.Eof()) {
        same = ParamTypeText(Side::New) == ParamTypeText(Side::Old);
        NewSPParam.Next();
        OldSPParam.Next();
    }
    OldSPParam.Close();
    NewSPParam.Close();
    return same;
}

bool TSP::LocateDomain(Side side)
{
    Query& fields = SPFieldsQuery(side);
    const std::string domain = ParamDomain(side);
    if (fields.Locate("RDB$FIELD_NAME", domain))
        return true;
    // Fixes only add domains under fresh names, so a miss is the one case worth reading again.
    if (side == Side::Old && oldFieldsStale_) {
        Reopen(fields);
        oldFieldsStale_ = false;
        return fields.Locate("RDB$FIELD_NAME", domain);
    }
    return false;
}

std::string TSP::ParamTypeText(Side side)
{
    std::string text = ParamName(side) + " ";
    if (!LocateDomain(side))
        return text;
    return text + TypeText(TypeForm::Param, DomainType(side), DomainLength(side), "", "");
}

void TSP::OpenDependencies(const std::string& name)
{
    NewSPDep.Close();
    NewSPDep.SetParam("SPNAME", name);
    NewSPDep.SetParam("DEPTYPE", ProcedureDependency);
    NewSPDep.Open();
    NewSPDep.FetchAll();
}

void TSP::CheckDependencies(const std::string& name)
{
    // Each level keeps its own list of callees, in ascending name order, so deeper walks cannot disturb it.
    auto known = callees_.find(name);
    if (known == callees_.end()) {
        OpenDependencies(name);
        std::vector<std::string> list;
        for (NewSPDep.First(); !NewSPDep.Eof(); NewSPDep.Next())
            list.push_back(NewSPDep.AsString("RDB$DEPENDED_ON_NAME"));
        NewSPDep.Close();
        known = callees_.emplace(name, std::move(list)).first;
    }
    const std::vector<std::string> callees = known->second;

    const std::string key = TrimTrailingBlanks(name);
    walking_.insert(key);
    for (const auto& callee : callees) {
        // A callee outside the New procedures, or one whose own walk is under way (a cycle), is passed over.
        if (!SrchSP.Locate(NameColumn, callee))
            continue;
        const std::string calleeName = SrchSP.AsString(NameColumn);
        if (walking_.count(TrimTrailingBlanks(calleeName)))
            continue;
        CompareProcedure(calleeName);
    }
    walking_.erase(key);
}

void TSP::CreateProcedure(const std::string& name)
{
    // The walk comes first: its fixes use the same statement buffer.
    CheckDependencies(name);
    std::vector<std::string> lines{"CREATE PROCEDURE " + name};
    AddProcedureBody(name, lines);
    FixProcedure(std::move(lines), name, "not exist");
}

void TSP::AlterProcedure(const std::string& name)
{
    CheckDependencies(name);
    std::vector<std::string> lines{"ALTER PROCEDURE " + name};
    AddProcedureBody(name, lines);
    FixProcedure(std::move(lines), name, "different");
}

void TSP::FixProcedure(std::vector<std::string> lines, const std::string& name, const std::string& message)
{
    const std::string trimmed = Trim(name);
    Dispatch(lines, "STORED PROC " + trimmed);
    if (DM.RepairMode) {
        OldSPParam.ServedRowsChanged(name);
        fixedSinceRead_.insert(TrimTrailingBlanks(name));
        oldFieldsStale_ = true;
    }
    Report("STORED PROC.", trimmed, message);
}

void TSP::AddProcedureBody(const std::string& name, std::vector<std::string>& lines)
{
    auto known = bodies_.find(name);
    if (known == bodies_.end()) {
        std::vector<std::string> body;
        AddInputParams(name, body);
        AddOutputParams(name, body);
        SrchSP.Locate(NameColumn, name);
        const std::string source = SrchSP.AsString(SourceColumn);
        // Newer servers store the source from its first token ("BEGIN"); "as" needs a break before it.
        const bool startsWithToken = !source.empty() && static_cast<unsigned char>(source.front()) > 32;
        body.push_back((startsWithToken ? "as\r\n" : "as") + source);
        known = bodies_.emplace(name, std::move(body)).first;
    }
    lines.insert(lines.end(), known->second.begin(), known->second.end());
}

void TSP::AddInputParams(const std::string& name, std::vector<std::string>& lines)
{
    NewSPParam.Close();
    NewSPParam.SetParam("PNAME", name);
    NewSPParam.SetParam("PTYPE", std::int64_t{0});
    lines.push_back(ParamList());
}

void TSP::AddOutputParams(const std::string& name, std::vector<std::string>& lines)
{
    NewSPParam.Close();
    NewSPParam.SetParam("PNAME", name);
    NewSPParam.SetParam("PTYPE", std::int64_t{1});
    const std::string list = ParamList();
    if (!list.empty())
        lines.push_back("RETURNS " + list);
}

std::string TSP::ParamList()
{
    std::string result;
    NewSPFields.Open();
    NewSPParam.Open();
    if (!NewSPParam.Eof())
        result = "(" + ColumnList(NewSPParam, [this] { return ParamTypeText(Side::New); }) + ")";
    NewSPParam.Close();
    return result;
}
