// External function comparison: declares missing UDFs and redeclares those whose arguments changed.
#pragma once
#include "compare/Comparator.h"

class TUDF : public Comparator {
public:
    using Comparator::Comparator;

    void CheckUDFs(Progress& bar);

private:
    void CompareUDF();
    void DeclareUDF();
    void RedeclareUDF();

    Query& UDFQuery(Side side) { return udfs_[side]; }
    Query& UDFParamQuery(Side side) { return udfParams_[side]; }
    std::string UDFName(Side side) { return Trim(UDFQuery(side).AsString("RDB$FUNCTION_NAME")); }
    std::string UDFEntryPoint(Side side) { return Trim(UDFQuery(side).AsString("RDB$ENTRYPOINT")); }
    std::string UDFModule(Side side) { return Trim(UDFQuery(side).AsString("RDB$MODULE_NAME")); }
    std::string ArgPosition(Side side) { return Trim(UDFParamQuery(side).AsString("RDB$ARGUMENT_POSITION")); }
    std::string ArgLength(Side side) { return Trim(UDFParamQuery(side).AsString("RDB$FIELD_LENGTH")); }
    std::string ArgTypeText(Side side);
    bool ArgFreeIt(Side side) { return UDFParamQuery(side).AsInteger("RDB$MECHANISM") == -1; }

    // The declaration of the current NewUDF row from its arguments in NewUDFParam.
    std::vector<std::string> DeclareLines();

    static const std::vector<std::string> FunctionSql;
    static const std::vector<std::string> ArgumentSql;
    static const ServedRead ServedArguments;
    QueryPair udfs_{DM, FunctionSql};
    QueryPair udfParams_{DM, ArgumentSql, ServedArguments};
    Query& NewUDF = udfs_.New;
    Query& OldUDF = udfs_.Old;
    Query& NewUDFParam = udfParams_.New;
    Query& OldUDFParam = udfParams_.Old;
};
