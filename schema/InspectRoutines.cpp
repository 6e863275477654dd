// Procedures, PSQL functions, legacy external functions and packages, with their parameters.
// What belongs to a package is its package's text, not an object of its own.
#include "schema/InspectReader.h"
#include "db/Trim.h"

#include <algorithm>

namespace schema::inspect {
namespace {

constexpr const char* kProceduresSql =
    "SELECT RDB$PROCEDURE_NAME AS PROCEDURE_NAME, RDB$PROCEDURE_SOURCE AS SOURCE, "
    "RDB$PROCEDURE_TYPE AS PTYPE, {RDB$PROCEDURES.RDB$ENGINE_NAME}, {RDB$PROCEDURES.RDB$ENTRYPOINT}, "
    "{RDB$PROCEDURES.RDB$SQL_SECURITY}, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$PROCEDURES "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

constexpr const char* kProcedureParametersSql =
    "SELECT RDB$PROCEDURE_NAME AS PROCEDURE_NAME, RDB$PARAMETER_NAME AS PARAMETER_NAME, "
    "RDB$FIELD_SOURCE AS FIELD_SOURCE, RDB$PARAMETER_NUMBER AS NUM, RDB$PARAMETER_TYPE AS PTYPE, "
    "RDB$NULL_FLAG AS NULL_FLAG, RDB$DEFAULT_SOURCE AS DEFAULT_SOURCE, "
    "RDB$PARAMETER_MECHANISM AS MECHANISM, RDB$RELATION_NAME AS RELATION_NAME, RDB$FIELD_NAME AS COLUMN_NAME, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$PROCEDURE_PARAMETERS";

constexpr const char* kFunctionsSql =
    "SELECT RDB$FUNCTION_NAME AS FUNCTION_NAME, RDB$MODULE_NAME AS MODULE_NAME, RDB$ENTRYPOINT AS ENTRYPOINT, "
    "RDB$RETURN_ARGUMENT AS RET, {RDB$FUNCTIONS.RDB$FUNCTION_SOURCE AS SOURCE}, {RDB$FUNCTIONS.RDB$ENGINE_NAME}, "
    "{RDB$FUNCTIONS.RDB$LEGACY_FLAG}, {RDB$FUNCTIONS.RDB$DETERMINISTIC_FLAG}, {RDB$FUNCTIONS.RDB$PACKAGE_NAME}, "
    "{RDB$FUNCTIONS.RDB$SQL_SECURITY}, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$FUNCTIONS "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

// Arguments with names, domains and packages (Firebird 3 and later), and without.
const std::string kFunctionArgumentsSql =
    std::string("SELECT RDB$FUNCTION_NAME AS FUNCTION_NAME, RDB$ARGUMENT_POSITION AS POS, RDB$MECHANISM AS "
                "ARG_MECHANISM, ") +
    kTypeColumns +
    ", NULL AS SEGMENT_LENGTH, RDB$ARGUMENT_NAME AS PARAMETER_NAME, RDB$FIELD_SOURCE AS FIELD_SOURCE, "
    "RDB$NULL_FLAG AS NULL_FLAG, RDB$DEFAULT_SOURCE AS DEFAULT_SOURCE, "
    "RDB$ARGUMENT_MECHANISM AS MECHANISM, RDB$RELATION_NAME AS RELATION_NAME, RDB$FIELD_NAME AS COLUMN_NAME, "
    "RDB$DESCRIPTION AS DESCRIPTION, RDB$PACKAGE_NAME AS PACKAGE_NAME "
    "FROM RDB$FUNCTION_ARGUMENTS";
const std::string kLegacyFunctionArgumentsSql =
    std::string("SELECT RDB$FUNCTION_NAME AS FUNCTION_NAME, RDB$ARGUMENT_POSITION AS POS, RDB$MECHANISM AS "
                "ARG_MECHANISM, ") +
    kTypeColumns +
    ", NULL AS SEGMENT_LENGTH, NULL AS PARAMETER_NAME, NULL AS FIELD_SOURCE, NULL AS NULL_FLAG, "
    "NULL AS DEFAULT_SOURCE, NULL AS MECHANISM, NULL AS RELATION_NAME, NULL AS COLUMN_NAME, NULL AS DESCRIPTION, "
    "NULL AS PACKAGE_NAME FROM RDB$FUNCTION_ARGUMENTS";

constexpr const char* kPackagesSql =
    "SELECT RDB$PACKAGE_NAME AS PACKAGE_NAME, RDB$PACKAGE_HEADER_SOURCE AS HEADER_SOURCE, "
    "RDB$PACKAGE_BODY_SOURCE AS BODY_SOURCE, {RDB$PACKAGES.RDB$SQL_SECURITY}, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$PACKAGES "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

void ReadProcedures(Reader& r, const Catalog& catalog, Schema& schema)
{
    const bool packages = r.Has("RDB$PROCEDURES", "RDB$PACKAGE_NAME");
    r.Each(kProceduresSql + std::string(packages ? " AND RDB$PACKAGE_NAME IS NULL" : ""), [&](Query& q) {
        Procedure p;
        p.name = q.AsTrimmed("PROCEDURE_NAME");
        p.source = q.AsTrimmed("SOURCE");
        p.selectable = Int(q, "PTYPE", 1) == 1;
        p.engine = Trim(q.AsTrimmed("ENGINE_NAME"));
        p.entryPoint = q.AsTrimmed("ENTRYPOINT");
        p.description = q.AsTrimmed("DESCRIPTION");
        p.sqlSecurity = OptionalFlag(q, "SQL_SECURITY");
        schema.procedures[p.name] = p;
    });
    struct Numbered {
        int number;
        bool output;
        std::string procedure;
        Parameter parameter;
    };
    std::vector<Numbered> params;
    const bool packaged = r.Has("RDB$PROCEDURE_PARAMETERS", "RDB$PACKAGE_NAME");
    r.Each(kProcedureParametersSql + std::string(packaged ? " WHERE RDB$PACKAGE_NAME IS NULL" : ""), [&](Query& q) {
        params.push_back({Int(q, "NUM"), Int(q, "PTYPE") == 1, q.AsTrimmed("PROCEDURE_NAME"), ParameterFrom(q, catalog)});
    });
    std::sort(params.begin(), params.end(), [](const Numbered& a, const Numbered& b) { return a.number < b.number; });
    for (auto& p : params) {
        auto proc = schema.procedures.find(p.procedure);
        if (proc != schema.procedures.end())
            (p.output ? proc->second.outputs : proc->second.inputs).push_back(p.parameter);
    }
}

// RDB$FUNCTIONS holds both kinds: the legacy flag tells them apart, and before Firebird 3
// every function is a legacy one.
void ReadFunctions(Reader& r, Schema& schema)
{
    const bool psql = r.Has("RDB$FUNCTIONS", "RDB$FUNCTION_SOURCE");
    r.Each(kFunctionsSql, [&](Query& q) {
        if (!q.IsNull("PACKAGE_NAME"))
            return;
        const std::string name = q.AsTrimmed("FUNCTION_NAME");
        if (psql ? Int(q, "LEGACY_FLAG") == 1 : true) {
            ExternalFunction f;
            f.name = name;
            f.module = q.AsTrimmed("MODULE_NAME");
            f.entryPoint = q.AsTrimmed("ENTRYPOINT");
            f.returnArgument = Int(q, "RET");
            f.description = q.AsTrimmed("DESCRIPTION");
            schema.externalFunctions[name] = f;
            return;
        }
        Function f;
        f.name = name;
        f.source = q.AsTrimmed("SOURCE");
        f.engine = Trim(q.AsTrimmed("ENGINE_NAME"));
        f.entryPoint = q.AsTrimmed("ENTRYPOINT");
        f.deterministic = Int(q, "DETERMINISTIC_FLAG") == 1;
        f.description = q.AsTrimmed("DESCRIPTION");
        f.sqlSecurity = OptionalFlag(q, "SQL_SECURITY");
        schema.functions[name] = f;
    });
}

void ReadFunctionArguments(Reader& r, const Catalog& catalog, Schema& schema)
{
    struct Arg {
        int position;
        std::string function;
        Parameter parameter;
        ExternalArgument external;
    };
    std::vector<Arg> args;
    const bool named = r.Has("RDB$FUNCTION_ARGUMENTS", "RDB$ARGUMENT_NAME");
    r.Each(named ? kFunctionArgumentsSql : kLegacyFunctionArgumentsSql, [&](Query& q) {
        if (!q.IsNull("PACKAGE_NAME"))
            return;
        Arg a;
        a.position = Int(q, "POS");
        a.function = q.AsTrimmed("FUNCTION_NAME");
        if (schema.externalFunctions.count(a.function)) {
            a.external.mechanism = Int(q, "ARG_MECHANISM");
            a.external.type = TypeFrom(q, catalog, nullptr, nullptr);
            a.external.nullAllowed = false;
        } else {
            a.parameter = ParameterFrom(q, catalog);
        }
        args.push_back(a);
    });
    std::sort(args.begin(), args.end(), [](const Arg& a, const Arg& b) { return a.position < b.position; });
    for (auto& a : args) {
        if (auto ext = schema.externalFunctions.find(a.function); ext != schema.externalFunctions.end()) {
            if (a.position == ext->second.returnArgument)
                ext->second.returns = a.external;
            if (a.position > 0)
                ext->second.arguments.push_back(a.external);
        } else if (auto fn = schema.functions.find(a.function); fn != schema.functions.end()) {
            if (a.position == 0)
                fn->second.returns = a.parameter;
            else
                fn->second.arguments.push_back(a.parameter);
        }
    }
}

// The comments on packaged routines and their parameters, in one select.
const std::string kPackagedCommentsSql = [] {
    auto part = [](const char* kind, const char* table, const char* routine, const char* parameter) {
        return std::string("SELECT RDB$PACKAGE_NAME AS PACKAGE_NAME, '") + kind + "' AS KIND, " + routine +
               " AS ROUTINE, " + parameter + " AS PARAM_NAME, CAST(RDB$DESCRIPTION AS BLOB SUB_TYPE BINARY) AS DESCRIPTION "
               "FROM " + table + " WHERE RDB$PACKAGE_NAME IS NOT NULL AND RDB$DESCRIPTION IS NOT NULL";
    };
    return part("PROCEDURE", "RDB$PROCEDURES", "RDB$PROCEDURE_NAME", "CAST(NULL AS VARCHAR(63))") + " UNION ALL " +
           part("PROCEDURE", "RDB$PROCEDURE_PARAMETERS", "RDB$PROCEDURE_NAME", "CAST(TRIM(RDB$PARAMETER_NAME) AS VARCHAR(63))") +
           " UNION ALL " + part("FUNCTION", "RDB$FUNCTIONS", "RDB$FUNCTION_NAME", "CAST(NULL AS VARCHAR(63))") +
           " UNION ALL " +
           part("FUNCTION", "RDB$FUNCTION_ARGUMENTS", "RDB$FUNCTION_NAME", "CAST(TRIM(RDB$ARGUMENT_NAME) AS VARCHAR(63))");
}();

void ReadPackages(Reader& r, Schema& schema)
{
    if (!r.Has("RDB$PACKAGES", "RDB$PACKAGE_NAME"))
        return;
    r.Each(kPackagesSql, [&](Query& q) {
        Package p;
        p.name = q.AsTrimmed("PACKAGE_NAME");
        p.headerSource = q.AsTrimmed("HEADER_SOURCE");
        p.bodySource = q.AsTrimmed("BODY_SOURCE");
        p.description = q.AsTrimmed("DESCRIPTION");
        p.sqlSecurity = OptionalFlag(q, "SQL_SECURITY");
        schema.packages[p.name] = p;
    });
    r.Each(kPackagedCommentsSql, [&](Query& q) {
        auto package = schema.packages.find(q.AsTrimmed("PACKAGE_NAME"));
        const std::string description = q.AsTrimmed("DESCRIPTION");
        if (package == schema.packages.end() || description.empty())
            return;
        std::string key = q.AsTrimmed("KIND") + " " + q.AsTrimmed("ROUTINE");
        if (!q.IsNull("PARAM_NAME"))
            key += "." + q.AsTrimmed("PARAM_NAME");
        package->second.routineComments[key] = description;
    });
}

}

void ReadRoutines(Reader& r, const Catalog& catalog, Schema& schema)
{
    ReadProcedures(r, catalog, schema);
    ReadFunctions(r, schema);
    ReadFunctionArguments(r, catalog, schema);
    ReadPackages(r, schema);
}

}
