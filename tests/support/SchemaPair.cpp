// The one place the tests call the complete comparison, so that a change of its types is mended here.
#include "tests/support/SchemaPair.h"
#include "schema/Apply.h"
#include "schema/Inspect.h"

#include <array>
#include <cstdio>
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

std::string Extract(const std::string& path)
{
    std::istringstream in(CommandOutput(std::string(ISQL_PATH) + " -x -user SYSDBA -password x '" + path + "' 2>&1"));
    // The line that names the file keeps the rest of what it says: the page size and the
    // default character set.
    const std::string named = "CREATE DATABASE '" + path + "'";
    std::string text, line;
    while (std::getline(in, line)) {
        if (const auto at = line.find(named); at != std::string::npos)
            line.replace(at, named.size(), "CREATE DATABASE");
        text += line + "\n";
    }
    return text;
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

schema::SafetyResult CheckOld(const std::string& oldPath, const Compared& compared, bool drop)
{
    Attached a(oldPath);
    schema::SafetyResult result =
        schema::CheckData(a.db, a.tran, compared.old, compared.neu, schema::ChangesToMake(compared.changes, drop));
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
