// External function comparison: declares missing UDFs and redeclares those whose arguments changed.
#pragma once
#include "compare/Comparator.h"

class TUDF : public Comparator {
public:
    TUDF(TDM& dm, ReportSink& report);

    void CheckUDFs(Progress& bar);

    void CompareUDF();
    void DeclareUDF();
    void RedeclareUDF();

    Query& UDFQuery(int side) { return side == 1 ? NewUDF : OldUDF; }
    Query& UDFParamQuery(int side) { return side == 1 ? NewUDFParam : OldUDFParam; }
    std::string UDFName(int side) { return Trim(UDFQuery(side).AsString("RDB$FUNCTION_NAME")); }
    std::string UDFEntryPoint(int side) { return Trim(UDFQuery(side).AsString("RDB$ENTRYPOINT")); }
    std::string UDFModule(int side) { return Trim(UDFQuery(side).AsString("RDB$MODULE_NAME")); }
    std::string ArgPosition(int side) { return Trim(UDFParamQuery(side).AsString("RDB$ARGUMENT_POSITION")); }
    std::string ArgLength(int side) { return Trim(UDFParamQuery(side).AsString("RDB$FIELD_LENGTH")); }
    std::string ArgTypeText(int side);
    bool ArgFreeIt(int side) { return UDFParamQuery(side).AsInteger("RDB$MECHANISM") == -1; }

    Query NewUDF;
    Query OldUDF;
    Query NewUDFParam;
    Query OldUDFParam;

private:
    // The declaration of the current NewUDF row from its arguments in NewUDFParam.
    std::vector<std::string> DeclareLines();
};
