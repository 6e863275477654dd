// The corpus of real schemas in tests/corpus: each folder a schema that this project did not write.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace drift {

struct CorpusSchema {
    std::string name;
    std::filesystem::path folder;
    int dialect = 3;      // the file "dialect" says 1 where the schema is of dialect 1
    std::string charset;  // the file "charset": the database's default character set, if any
};

// Every schema of the corpus, by name.
std::vector<CorpusSchema> CorpusSchemas();
// One of them; throws when there is none of that name.
CorpusSchema CorpusSchemaNamed(const std::string& name);

// The SQL that makes the schema: schema.sql, then rows.sql where the folder has one.
std::string CorpusSql(const CorpusSchema& schema);

// A database at path in the schema's dialect and default character set, made from sql (UTF-8,
// as isql takes it); whatever file was there is replaced. Throws with isql's output when isql
// refuses a statement.
void MakeDatabase(const CorpusSchema& schema, const std::string& path, const std::string& sql);

// Runs SQL on a database with isql in UTF-8, as a user would; what isql wrote, errors included.
std::string RunIsqlOn(const std::string& path, const std::string& sql, bool bail);

// A statement list that holds PSQL goes to isql between SET TERM lines.
std::string IsqlStatement(const std::string& statement);

}
