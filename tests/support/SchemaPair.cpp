// The one place the tests call the complete comparison, so that a change of its types is mended here.
#include "tests/support/SchemaPair.h"
#include "schema/Apply.h"
#include "schema/Inspect.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

std::string CommandOutput(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 4096> buffer{};
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    ::pclose(pipe);
    return output;
}

namespace {

// isql's output of a script run on the database.
std::string IsqlRun(const std::string& path, const std::string& script)
{
    const std::string file = path + ".facts.sql";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << script;
    }
    std::string output =
        CommandOutput(std::string(ISQL_PATH) + " -q -user SYSDBA -password x -i '" + file + "' '" + path + "' 2>&1");
    std::remove(file.c_str());
    return output;
}

// What Firebird 3's isql, run over a Firebird 4 or 5 client, cannot write: the types it does not
// know (it names them by code, and by the name of the server's own field), identity ALWAYS,
// SQL SECURITY, partial indices, roles' system privileges and publications; read from the
// catalog by isql itself, by name, in a fixed order.
std::string LaterFacts(const std::string& path)
{
    const std::string ods = IsqlRun(path, "SET LIST ON;\nSELECT MON$ODS_MAJOR * 10 + MON$ODS_MINOR AS ODS FROM MON$DATABASE;\n");
    const auto at = ods.find("ODS");
    const int version = at == std::string::npos ? 0 : std::atoi(ods.c_str() + ods.find_first_of("0123456789", at));
    if (version < 130)
        return {};
    std::string script = "SET LIST ON;\nSET BLOB ALL;\n"
        "SELECT RF.RDB$RELATION_NAME, RF.RDB$FIELD_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_SUB_TYPE, F.RDB$FIELD_LENGTH, "
        "F.RDB$FIELD_PRECISION, F.RDB$FIELD_SCALE, RF.RDB$IDENTITY_TYPE FROM RDB$RELATION_FIELDS RF "
        "JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE WHERE COALESCE(RF.RDB$SYSTEM_FLAG, 0) = 0 "
        "ORDER BY 1, 2;\n"
        "SELECT P.RDB$PACKAGE_NAME, P.RDB$PROCEDURE_NAME, P.RDB$PARAMETER_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_SCALE, "
        "F.RDB$FIELD_PRECISION FROM RDB$PROCEDURE_PARAMETERS P JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = P.RDB$FIELD_SOURCE "
        "WHERE COALESCE(P.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1, 2, 3;\n"
        "SELECT A.RDB$PACKAGE_NAME, A.RDB$FUNCTION_NAME, A.RDB$ARGUMENT_POSITION, F.RDB$FIELD_TYPE, F.RDB$FIELD_SCALE, "
        "F.RDB$FIELD_PRECISION FROM RDB$FUNCTION_ARGUMENTS A JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = A.RDB$FIELD_SOURCE "
        "WHERE COALESCE(A.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1, 2, 3;\n"
        "SELECT RDB$RELATION_NAME, RDB$SQL_SECURITY FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;\n"
        "SELECT RDB$PACKAGE_NAME, RDB$PROCEDURE_NAME, RDB$SQL_SECURITY FROM RDB$PROCEDURES "
        "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1, 2;\n"
        "SELECT RDB$PACKAGE_NAME, RDB$FUNCTION_NAME, RDB$SQL_SECURITY FROM RDB$FUNCTIONS "
        "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1, 2;\n"
        "SELECT RDB$PACKAGE_NAME, RDB$SQL_SECURITY FROM RDB$PACKAGES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;\n"
        "SELECT RDB$TRIGGER_NAME, RDB$SQL_SECURITY FROM RDB$TRIGGERS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;\n"
        // A database without the setting is INVOKER, and no statement takes the setting away.
        "SELECT COALESCE(RDB$SQL_SECURITY, FALSE) AS DEFAULT_SQL_SECURITY FROM RDB$DATABASE;\n"
        "SELECT RDB$ROLE_NAME, RDB$SYSTEM_PRIVILEGES FROM RDB$ROLES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;\n"
        "SELECT RDB$PUBLICATION_NAME, RDB$ACTIVE_FLAG, RDB$AUTO_ENABLE FROM RDB$PUBLICATIONS ORDER BY 1;\n"
        "SELECT RDB$PUBLICATION_NAME, RDB$TABLE_NAME FROM RDB$PUBLICATION_TABLES ORDER BY 1, 2;\n"
        "SELECT RDB$GENERATOR_NAME, RDB$INITIAL_VALUE, RDB$GENERATOR_INCREMENT FROM RDB$GENERATORS "
        "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1;\n";
    if (version >= 131)
        script += "SELECT RDB$INDEX_NAME, CAST(RDB$CONDITION_SOURCE AS VARCHAR(8000)) AS CONDITION_SOURCE FROM RDB$INDICES "
                  "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$CONDITION_SOURCE IS NOT NULL ORDER BY 1;\n";
    return "\n/* The catalog on ODS " + std::to_string(version / 10) + "." + std::to_string(version % 10) + " */\n" +
           IsqlRun(path, script);
}

}

std::string Extract(const std::string& path)
{
    std::istringstream in(CommandOutput(std::string(ISQL_PATH) + " -x -user SYSDBA -password x '" + path + "' 2>&1"));
    // The line that names the file keeps the rest of what it says: the page size and the
    // default character set.
    const std::string named = "CREATE DATABASE '" + path + "'";
    // A type Firebird 3's isql does not know is named with the server's own field for it, which
    // differs between databases: the code stays, and the catalog's part below says the rest.
    const std::string unknown = "Unknown data type ";
    std::string text, line;
    while (std::getline(in, line)) {
        if (const auto at = line.find(named); at != std::string::npos)
            line.replace(at, named.size(), "CREATE DATABASE");
        if (const auto at = line.find(unknown); at != std::string::npos) {
            const auto code = line.find_first_not_of("0123456789", at + unknown.size());
            line.resize(code == std::string::npos ? line.size() : code);
        }
        text += line + "\n";
    }
    return text + LaterFacts(path);
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Attached::Attached(const std::string& path)
{
    db.CharacterSet = "UTF8";
    db.SetDatabaseName(path);
    db.SetParamValue("user_name", "SYSDBA");
    db.SetParamValue("password", "x");
    db.Open();
}

Attached::~Attached()
{
    db.Close();
}

schema::Schema InspectFile(const std::string& path)
{
    Attached a(path);
    schema::Schema s = schema::Inspect(a.db, a.tran);
    a.tran.Commit();
    return s;
}

Compared Compare(const std::string& oldPath, const std::string& newPath)
{
    Compared compared;
    compared.neu = InspectFile(newPath);
    compared.old = InspectFile(oldPath);
    compared.changes = schema::Diff(compared.old, compared.neu);
    return compared;
}

std::vector<std::string> ChangeRows(const std::vector<schema::Change>& changes, const std::string& separator)
{
    std::vector<std::string> rows;
    for (const auto& change : changes)
        for (const auto& message : change.Messages())
            rows.push_back(schema::KindName(change.kind) + separator + change.name + separator + message);
    return rows;
}

std::string StepRow(const schema::Step& step)
{
    return step.object.Text();
}

std::vector<std::string> IssueRows(const std::vector<schema::SafetyIssue>& issues)
{
    std::vector<std::string> rows;
    for (const auto& issue : issues)
        rows.push_back(std::string(schema::KindName(issue.kind)) + " " + issue.name + ": " + issue.message);
    return rows;
}

schema::Plan PlanOf(const Compared& compared, bool drop, const schema::PlanOptions& options)
{
    return schema::MakePlan(compared.old, compared.neu, schema::ChangesToMake(compared.changes, drop), options);
}

schema::Plan PlanFor(const std::string& oldPath, const std::string& newPath, bool drop,
                     const schema::PlanOptions& options)
{
    return PlanOf(Compare(oldPath, newPath), drop, options);
}

schema::SafetyResult CheckOld(const std::string& oldPath, const Compared& compared, bool drop, bool migrating)
{
    Attached a(oldPath);
    schema::SafetyResult result = schema::CheckData(a.db, a.tran, compared.old, compared.neu,
                                                    schema::ChangesToMake(compared.changes, drop), migrating);
    if (a.tran.Active())
        a.tran.Commit();
    return result;
}

void ApplyTo(const std::string& oldPath, const schema::Plan& plan)
{
    Attached a(oldPath);
    schema::Apply(plan, a.db);
}

void Repair(const std::string& oldPath, const std::string& newPath)
{
    ApplyTo(oldPath, PlanFor(oldPath, newPath));
}

std::string ScriptOf(const schema::Plan& plan)
{
    return schema::ScriptText(plan);
}

std::string RunScript(const TestDb& oldDb, const schema::Plan& plan)
{
    const std::string file = TestFolder() + "/" + CurrentTestName() + ".sql";
    std::ofstream(file, std::ios::binary) << ScriptOf(plan);
    return CommandOutput(std::string(ISQL_PATH) + " -q -user SYSDBA -password x '" + oldDb.Path() + "' -i '" + file +
                         "' 2>&1");
}

void ExpectConverged(const TestDb& oldDb, const TestDb& newDb)
{
    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    EXPECT_TRUE(compared.old.SameObjects(compared.neu));
    EXPECT_EQ(ChangeRows(compared.changes), std::vector<std::string>{});
    EXPECT_EQ(Extract(oldDb.Path()), Extract(newDb.Path()));
}

int EngineOds()
{
    static const int ods = [] {
        TestDb probe("engine_ods_probe", "", 3);
        std::string text = probe.Isql("SET HEADING OFF; SELECT MON$ODS_MAJOR * 10 + MON$ODS_MINOR FROM MON$DATABASE;");
        std::erase_if(text, [](char ch) { return ch == ' ' || ch == '\n'; });
        return std::stoi(text);
    }();
    return ods;
}

// The sample as Debian ships it, with its own CREATE DATABASE and dialect lines, less the SUSPEND
// of the procedures that have no outputs, which Firebird 4 and later refuse.
std::string EmployeeScript()
{
    std::istringstream in(CommandOutput("zcat " EMPLOYEE_SQL_GZ));
    std::string text, line;
    bool outputless = false;
    while (std::getline(in, line)) {
        if (line.rfind("CREATE PROCEDURE", 0) == 0)
            outputless = true;
        if (line.find("RETURNS") != std::string::npos || line.rfind("END !!", 0) == 0)
            outputless = false;
        if (outputless && line.find_first_not_of('\t') != std::string::npos &&
            line.substr(line.find_first_not_of('\t')) == "SUSPEND;")
            continue;
        text += line + "\n";
    }
    return text;
}

// The same without the lines that make the database, for a TestDb.
std::string EmployeeSql()
{
    std::istringstream in(EmployeeScript());
    std::string text, line;
    while (std::getline(in, line))
        if (line.rfind("create database", 0) != 0 && line.rfind("set sql dialect", 0) != 0)
            text += line + "\n";
    return text;
}
