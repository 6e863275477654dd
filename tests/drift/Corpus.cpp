// The corpus schemas and their databases, made by isql as a user would make them.
#include "tests/drift/Corpus.h"
#include "tests/support/SchemaPair.h"
#include "tests/support/TestDb.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace drift {

namespace fs = std::filesystem;

namespace {

std::string FirstLine(const fs::path& file)
{
    std::string text = FileText(file.string());
    const auto end = text.find_first_of("\r\n");
    return end == std::string::npos ? text : text.substr(0, end);
}

// A script file of its own per call, so that threads and processes never share one.
std::string ScriptFile()
{
    static std::atomic<int> counter{0};
    return TestFolder() + "/drift_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + ".sql";
}

std::string Run(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot start isql");
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    status = ::pclose(pipe);
    return output;
}

}

std::vector<CorpusSchema> CorpusSchemas()
{
    std::vector<CorpusSchema> schemas;
    for (const auto& entry : fs::directory_iterator(CORPUS_DIR)) {
        if (!entry.is_directory())
            continue;
        CorpusSchema s;
        s.name = entry.path().filename().string();
        s.folder = entry.path();
        if (fs::exists(s.folder / "dialect") && FirstLine(s.folder / "dialect") == "1")
            s.dialect = 1;
        if (fs::exists(s.folder / "charset"))
            s.charset = FirstLine(s.folder / "charset");
        schemas.push_back(s);
    }
    std::sort(schemas.begin(), schemas.end(),
              [](const CorpusSchema& a, const CorpusSchema& b) { return a.name < b.name; });
    return schemas;
}

CorpusSchema CorpusSchemaNamed(const std::string& name)
{
    for (const auto& s : CorpusSchemas())
        if (s.name == name)
            return s;
    throw std::runtime_error("no corpus schema " + name);
}

std::string CorpusSql(const CorpusSchema& schema)
{
    std::string sql = FileText((schema.folder / "schema.sql").string());
    if (fs::exists(schema.folder / "rows.sql"))
        sql += "\nCOMMIT;\n" + FileText((schema.folder / "rows.sql").string());
    return sql;
}

void MakeDatabase(const CorpusSchema& schema, const std::string& path, const std::string& sql)
{
    fs::remove(path);
    const std::string file = ScriptFile();
    {
        std::ofstream out(file, std::ios::binary);
        out << "SET SQL DIALECT " << schema.dialect << ";\nCREATE DATABASE '" << path
            << "' USER 'SYSDBA' PASSWORD 'x'";
        if (!schema.charset.empty())
            out << " DEFAULT CHARACTER SET " << schema.charset;
        out << ";\nCOMMIT;\n" << sql << "\nCOMMIT;\n";
    }
    int status = 0;
    const std::string output =
        Run(std::string(ISQL_PATH) + " -q -b -ch UTF8 -user SYSDBA -password x -i '" + file + "' 2>&1", status);
    fs::remove(file);
    if (status != 0)
        throw std::runtime_error("isql refused the schema " + schema.name + ":\n" + output);
}

std::string RunIsqlOn(const std::string& path, const std::string& sql, bool bail)
{
    const std::string file = ScriptFile();
    std::ofstream(file, std::ios::binary) << sql << "\n";
    int status = 0;
    const std::string output = Run(std::string(ISQL_PATH) + " -q " + (bail ? "-b " : "") +
                                       "-ch UTF8 -user SYSDBA -password x '" + path + "' -i '" + file + "' 2>&1",
                                   status);
    fs::remove(file);
    return output;
}

std::string IsqlStatement(const std::string& statement)
{
    if (statement.find("BEGIN") == std::string::npos && statement.find("begin") == std::string::npos)
        return statement + ";\n";
    return "SET TERM ^ ;\n" + statement + "^\nSET TERM ; ^\n";
}

}
