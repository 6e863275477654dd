// UDFs: a function is redeclared only when its module is unchanged and an argument differs.
#include "compare/UDFs.h"
#include "compare/TypeText.h"

namespace {
const std::vector<std::string> FunctionSql{"select * from RDB$FUNCTIONS"};
// Ordered by position so that the return row (position 0) comes first and the inputs follow in order.
const std::vector<std::string> ArgumentSql{"select * from RDB$FUNCTION_ARGUMENTS", "where RDB$FUNCTION_NAME=:UDFNAME",
                                           "order by RDB$ARGUMENT_POSITION"};
}

TUDF::TUDF(TDM& dm, ReportSink& report)
    : Comparator(dm, report),
      NewUDF(dm.NewDB, dm.NewTran, FunctionSql),
      OldUDF(dm.OldDB, dm.OldTran, FunctionSql),
      NewUDFParam(dm.NewDB, dm.NewTran, ArgumentSql),
      OldUDFParam(dm.OldDB, dm.OldTran, ArgumentSql)
{
}

std::string TUDF::ArgTypeText(int side)
{
    Query& arg = UDFParamQuery(side);
    return TypeText(TypeForm::Arg, arg.AsInteger("RDB$FIELD_TYPE"), ArgLength(side), "", "");
}

void TUDF::CheckUDFs(Progress& bar)
{
    DM.NewTran.StartTransaction();
    DM.OldTran.StartTransaction();
    Walk(NewUDF, OldUDF, bar, [this] { CompareUDF(); });
    DM.NewTran.Commit();
    DM.OldTran.Commit();
}

void TUDF::CompareUDF()
{
    // Firebird 3 lists its PSQL functions here too; having no module, they are no external
    // functions, and a DECLARE EXTERNAL FUNCTION for them would be wrong. Older servers
    // require a module for every function, so nothing is passed over there.
    if (UDFModule(1).empty())
        return;
    const std::string name = UDFName(1);
    NewUDFParam.SetParam("UDFNAME", name);
    NewUDFParam.Open();
    if (!OldUDF.Locate("RDB$FUNCTION_NAME", name)) {
        DeclareUDF();
        Report("UDF", name, "not exist");
    } else if (UDFModule(1) == UDFModule(2)) {
        OldUDFParam.SetParam("UDFNAME", name);
        OldUDFParam.Open();
        bool same = true;
        NewUDFParam.First();
        while (same && !NewUDFParam.Eof()) {
            same = OldUDFParam.Locate("RDB$ARGUMENT_POSITION", ArgPosition(1)) && ArgTypeText(1) == ArgTypeText(2) &&
                   ArgLength(1) == ArgLength(2);
            NewUDFParam.Next();
        }
        if (!same) {
            RedeclareUDF();
            Report("UDF", name, "different");
        }
        OldUDFParam.Close();
    }
    NewUDFParam.Close();
}

std::vector<std::string> TUDF::DeclareLines()
{
    std::vector<std::string> lines{"DECLARE EXTERNAL FUNCTION " + UDFName(1)};
    // The first row is the return value; its line goes after the inputs.
    NewUDFParam.First();
    std::string returns = "RETURNS " + ArgTypeText(1);
    if (ArgFreeIt(1))
        returns += " FREE_IT";
    NewUDFParam.Next();
    while (!NewUDFParam.Eof()) {
        std::string line = ArgTypeText(1);
        NewUDFParam.Next();
        if (!NewUDFParam.Eof())
            line += ",";
        lines.push_back(line);
    }
    lines.push_back(returns);
    lines.push_back("ENTRY_POINT " + Quoted(UDFEntryPoint(1)) + " MODULE_NAME " + Quoted(UDFModule(1)));
    return lines;
}

void TUDF::DeclareUDF()
{
    Dispatch(DeclareLines(), "UDF " + UDFName(1));
}

void TUDF::RedeclareUDF()
{
    const std::string name = UDFName(1);
    // One unit: a refused declaration must not leave the function dropped.
    DispatchUnit({{"DROP EXTERNAL FUNCTION " + name}, DeclareLines()}, "UDF " + name);
}
