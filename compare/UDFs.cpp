// UDFs: a function is redeclared only when its module is unchanged and an argument differs.
#include "compare/UDFs.h"
#include "compare/TypeText.h"

const std::vector<std::string> TUDF::FunctionSql{"select * from RDB$FUNCTIONS"};
// Ordered by position so that the return row (position 0) comes first and the inputs follow in order.
const std::vector<std::string> TUDF::ArgumentSql{"select * from RDB$FUNCTION_ARGUMENTS",
                                                "where RDB$FUNCTION_NAME=:UDFNAME", "order by RDB$ARGUMENT_POSITION"};
const ServedRead TUDF::ServedArguments{
    {"select * from RDB$FUNCTION_ARGUMENTS"}, {{"RDB$FUNCTION_NAME", "UDFNAME"}}, {"RDB$ARGUMENT_POSITION"}};

std::string TUDF::ArgTypeText(Side side)
{
    Query& arg = UDFParamQuery(side);
    return TypeText(TypeForm::Arg, arg.AsInteger("RDB$FIELD_TYPE"), ArgLength(side), "", "");
}

void TUDF::CheckUDFs(Progress& bar)
{
    InBothTransactions(CommitOrder::NewFirst, [&] { Walk(NewUDF, OldUDF, bar, [this] { CompareUDF(); }); });
}

void TUDF::CompareUDF()
{
    // Firebird 3 lists its PSQL functions here too; having no module, they are no external
    // functions, and a DECLARE EXTERNAL FUNCTION for them would be wrong. Older servers
    // require a module for every function, so nothing is passed over there.
    if (UDFModule(Side::New).empty())
        return;
    const std::string name = UDFName(Side::New);
    NewUDFParam.SetParam("UDFNAME", name);
    NewUDFParam.Open();
    if (!OldUDF.Locate("RDB$FUNCTION_NAME", name)) {
        DeclareUDF();
        Report("UDF", name, "not exist");
    } else if (UDFModule(Side::New) == UDFModule(Side::Old)) {
        OldUDFParam.SetParam("UDFNAME", name);
        OldUDFParam.Open();
        bool same = true;
        NewUDFParam.First();
        while (same && !NewUDFParam.Eof()) {
            same = OldUDFParam.Locate("RDB$ARGUMENT_POSITION", ArgPosition(Side::New)) &&
                   ArgTypeText(Side::New) == ArgTypeText(Side::Old) && ArgLength(Side::New) == ArgLength(Side::Old);
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
    std::vector<std::string> lines{"DECLARE EXTERNAL FUNCTION " + UDFName(Side::New)};
    // The first row is the return value; its line goes after the inputs.
    NewUDFParam.First();
    std::string returns = "RETURNS " + ArgTypeText(Side::New);
    if (ArgFreeIt(Side::New))
        returns += " FREE_IT";
    NewUDFParam.Next();
    const auto inputs = RowList(NewUDFParam, [this] { return ArgTypeText(Side::New); }, ",");
    lines.insert(lines.end(), inputs.begin(), inputs.end());
    lines.push_back(returns);
    lines.push_back("ENTRY_POINT " + Quoted(UDFEntryPoint(Side::New)) + " MODULE_NAME " + Quoted(UDFModule(Side::New)));
    return lines;
}

void TUDF::DeclareUDF()
{
    Dispatch(DeclareLines(), "UDF " + UDFName(Side::New));
}

void TUDF::RedeclareUDF()
{
    const std::string name = UDFName(Side::New);
    // One unit: a refused declaration must not leave the function dropped.
    DispatchUnit({{"DROP EXTERNAL FUNCTION " + name}, DeclareLines()}, "UDF " + name);
}
