// Files as New: isql's script syntax cut into statements, and those statements run through the
// access layer into a temporary database, as isql would run them.
#include "schema/SchemaSource.h"
#include "db/Connection.h"
#include "db/Statement.h"
#include "db/Status.h"
#include "db/Transaction.h"
#include "schema/Export.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace schema {
namespace {

namespace fs = std::filesystem;

bool Space(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool IdentifierChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$';
}

std::string Upper(std::string text)
{
    for (auto& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string TrimmedRight(const std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && Space(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string Trimmed(const std::string& text)
{
    const std::size_t begin = std::find_if_not(text.begin(), text.end(), Space) - text.begin();
    return TrimmedRight(text.substr(begin));
}

// The first words of a statement, upper case, up to four of them; only what stands before a
// string or a quoted name.
std::vector<std::string> Words(const std::string& statement)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (words.size() < 4 && i < statement.size()) {
        while (i < statement.size() && Space(statement[i]))
            ++i;
        const std::size_t start = i;
        while (i < statement.size() && !Space(statement[i]) && statement[i] != '\'' && statement[i] != '"')
            ++i;
        if (i == start)
            break;
        words.push_back(Upper(statement.substr(start, i - start)));
    }
    return words;
}

// "-- part N" at the start of a line, between statements.
std::optional<int> PartMarker(const std::string& comment)
{
    static const std::string prefix = "-- part ";
    if (comment.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    std::size_t i = prefix.size();
    const std::size_t digits = i;
    while (i < comment.size() && std::isdigit(static_cast<unsigned char>(comment[i])))
        ++i;
    if (i == digits || i - digits > 6 || (i < comment.size() && !Space(comment[i])))
        return std::nullopt;
    return std::atoi(comment.c_str() + digits);
}

// Cuts a text into statements; line counts the lines passed.
class Splitter {
public:
    Splitter(const std::string& text, const std::string& file) : text_(text), file_(file) {}

    std::vector<ScriptStatement> Split()
    {
        std::vector<ScriptStatement> statements;
        std::string term = ";";
        int part = 1;
        for (;;) {
            SkipBetween(part);
            if (at_ >= text_.size())
                return statements;
            const std::size_t start = at_;
            const int line = line_;
            bool ended = false;
            while (at_ < text_.size()) {
                if (text_.compare(at_, term.size(), term) == 0) {
                    ended = true;
                    break;
                }
                SkipToken();
            }
            if (!ended)
                throw BuildError(file_, line, "the statement that begins here has no terminator (" + term + ")");
            const std::string statement = TrimmedRight(text_.substr(start, at_ - start));
            at_ += term.size();
            const std::vector<std::string> words = Words(statement);
            if (words.size() >= 2 && words[0] == "SET" && words[1] == "TERM") {
                std::istringstream rest(statement.substr(statement.find_first_of(" \t\r\n", 3)));
                std::string skipped, next;
                rest >> skipped >> next;
                if (next.empty())
                    throw BuildError(file_, line, "SET TERM names no terminator");
                term = next;
                continue;
            }
            if (!statement.empty())
                statements.push_back({statement, line, part});
        }
    }

private:
    [[noreturn]] void Open(int line, const std::string& what) const
    {
        throw BuildError(file_, line, what + " that begins here is not closed");
    }

    void Advance()
    {
        if (text_[at_] == '\n')
            ++line_;
        ++at_;
    }

    // Blanks and comments before a statement; a part marker among them starts its part.
    void SkipBetween(int& part)
    {
        while (at_ < text_.size()) {
            if (Space(text_[at_])) {
                Advance();
            } else if (text_.compare(at_, 2, "--") == 0) {
                const std::size_t end = std::min(text_.find('\n', at_), text_.size());
                if (at_ == 0 || text_[at_ - 1] == '\n')
                    if (auto marker = PartMarker(TrimmedRight(text_.substr(at_, end - at_))))
                        part = *marker;
                at_ = end;
            } else if (text_.compare(at_, 2, "/*") == 0) {
                SkipBlockComment();
            } else {
                return;
            }
        }
    }

    void SkipBlockComment()
    {
        const int line = line_;
        const std::size_t end = text_.find("*/", at_ + 2);
        if (end == std::string::npos)
            Open(line, "a comment");
        while (at_ < end + 2)
            Advance();
    }

    // One character, or a whole string, quoted name or comment.
    void SkipToken()
    {
        const char c = text_[at_];
        if (c == '\'' || c == '"') {
            const int line = line_;
            Advance();
            for (;;) {
                if (at_ >= text_.size())
                    Open(line, c == '\'' ? "a string" : "a quoted name");
                if (text_[at_] == c) {
                    Advance();
                    if (at_ < text_.size() && text_[at_] == c) {
                        Advance();
                        continue;
                    }
                    return;
                }
                Advance();
            }
        }
        // q'{...}': the string ends at the closing delimiter and a quote.
        if ((c == 'q' || c == 'Q') && at_ + 2 < text_.size() && text_[at_ + 1] == '\'' &&
            (at_ == 0 || !IdentifierChar(text_[at_ - 1]))) {
            const int line = line_;
            const char open = text_[at_ + 2];
            const char close = open == '(' ? ')' : open == '[' ? ']' : open == '{' ? '}' : open == '<' ? '>' : open;
            std::size_t end = at_ + 3;
            while (end + 1 < text_.size() && !(text_[end] == close && text_[end + 1] == '\''))
                ++end;
            if (end + 1 >= text_.size())
                Open(line, "a string");
            while (at_ < end + 2)
                Advance();
            return;
        }
        if (text_.compare(at_, 2, "--") == 0) {
            while (at_ < text_.size() && text_[at_] != '\n')
                ++at_;
            return;
        }
        if (text_.compare(at_, 2, "/*") == 0) {
            SkipBlockComment();
            return;
        }
        Advance();
    }

    const std::string& text_;
    const std::string& file_;
    std::size_t at_ = 0;
    int line_ = 1;
};

std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw BuildError(path.string(), 0, "cannot be read");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Literal(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
}

// What DML is: the rest, isql's AUTODDL commits at once.
bool Dml(const std::string& word)
{
    static const std::set<std::string> words{"SELECT", "INSERT", "UPDATE", "DELETE", "MERGE", "EXECUTE", "WITH", "UPSERT"};
    return words.count(word) > 0;
}

// isql's own commands that only change what it shows or how it reads: nothing to build.
bool ShowingOnly(const std::vector<std::string>& w)
{
    static const std::set<std::string> sets{
        "BAIL",     "ECHO",         "LIST",      "STATS",     "STAT",     "PLAN",       "PLANONLY",
        "COUNT",    "WARNINGS",     "WNG",       "BLOBDISPLAY", "BLOB",   "HEADING",    "ROWCOUNT",
        "SQLDA_DISPLAY", "EXPLAIN", "MAXROWS",   "PER_TABLE_STATS", "KEEP_TRAN_PARAMS", "KEEP_TRAN",
        "LOCAL_TIMEOUT", "EXEC_PATH_DISPLAY", "WIDTH", "TRANSACTION"};
    if (w[0] == "SHOW" || w[0] == "HELP" || w[0] == "OUTPUT" || w[0] == "OUT")
        return true;
    if (w[0] != "SET" || w.size() < 2)
        return false;
    // SET TIME ZONE is the server's (Firebird 4); SET TIME alone is isql's.
    if (w[1] == "TIME")
        return w.size() < 3 || w[2] != "ZONE";
    return sets.count(w[1]) > 0;
}

// COMMIT and ROLLBACK of the transaction, not to a savepoint.
bool TransactionEnd(const std::vector<std::string>& w, const char* verb)
{
    if (w[0] != verb)
        return false;
    for (std::size_t i = 1; i < w.size(); ++i)
        if (w[i] != "WORK" && w[i] != "RETAIN")
            return false;
    return true;
}

// Runs statements as isql would, into the database at target's path, which it makes.
class Runner {
public:
    Runner(const BuiltDatabase& target, const BuildOptions& options) : target_(target), options_(options) {}
    ~Runner()
    {
        tran_.reset();
        if (db_)
            db_->Close();
    }

    // False once EXIT or QUIT ends the build.
    bool Run(const ScriptStatement& s, const std::string& file)
    {
        const std::vector<std::string> w = Words(s.text);
        if (w.empty())
            return true;
        if (w[0] == "SET" && w.size() >= 3 && w[1] == "SQL" && w[2] == "DIALECT") {
            const int dialect = w.size() >= 4 ? std::atoi(w[3].c_str()) : 0;
            if (dialect < 1 || dialect > 3)
                throw BuildError(file, s.line, "SET SQL DIALECT takes 1, 2 or 3");
            dialect_ = dialect;
            return true;
        }
        if (w[0] == "SET" && w.size() >= 2 && w[1] == "NAMES") {
            // As in isql, it is the character set of the next attachment: ours is made once.
            if (!db_ && w.size() >= 3)
                names_ = w[2];
            return true;
        }
        if (w[0] == "SET" && w.size() >= 2 && (w[1] == "AUTODDL" || w[1] == "AUTO")) {
            autoDdl_ = w.size() >= 3 ? w[2] == "ON" : !autoDdl_;
            return true;
        }
        if (ShowingOnly(w))
            return true;
        if (w[0] == "CONNECT" || w[0] == "INPUT" || w[0] == "SHELL" || w[0] == "EDIT" || w[0] == "BLOBDUMP" ||
            w[0] == "BLOBVIEW")
            throw BuildError(file, s.line, "isql's " + w[0] + " is not taken by a build");
        if (w[0] == "EXIT" || TransactionEnd(w, "COMMIT")) {
            if (tran_ && tran_->Active())
                Guarded(file, s.line, [&] { tran_->Commit(); });
            return w[0] != "EXIT";
        }
        if (w[0] == "QUIT" || TransactionEnd(w, "ROLLBACK")) {
            if (tran_ && tran_->Active())
                Guarded(file, s.line, [&] { tran_->Rollback(); });
            return w[0] != "QUIT";
        }
        if (w[0] == "CREATE" && w.size() >= 2 && (w[1] == "DATABASE" || w[1] == "SCHEMA")) {
            if (db_)
                throw BuildError(file, s.line, "the database is made already: a build makes one");
            Make(CreateAtTarget(s, file), dialect_.value_or(3), file, s.line);
            return true;
        }
        if (!db_)
            Make("CREATE DATABASE " + Literal(target_.Path()) + " USER 'SYSDBA'" +
                     (options_.defaultCharset.empty() ? "" : " DEFAULT CHARACTER SET " + options_.defaultCharset),
                 dialect_.value_or(options_.dialect), file, s.line);
        Guarded(file, s.line, [&] {
            if (!tran_->Active())
                tran_->StartTransaction();
            Statement statement(*db_, *tran_);
            statement.ExecuteText(s.text, static_cast<unsigned short>(dialect_.value_or(dbDialect_)));
            if (autoDdl_ && !Dml(w[0]))
                tran_->Commit();
        });
        return true;
    }

    // The database, made where nothing did, and the work left committed.
    void Finish(const std::string& file)
    {
        if (!db_)
            Make("CREATE DATABASE " + Literal(target_.Path()) + " USER 'SYSDBA'" +
                     (options_.defaultCharset.empty() ? "" : " DEFAULT CHARACTER SET " + options_.defaultCharset),
                 dialect_.value_or(options_.dialect), file, 0);
        if (tran_->Active())
            Guarded(file, 0, [&] { tran_->Commit(); });
    }

private:
    template <typename Fn>
    void Guarded(const std::string& file, int line, Fn fn)
    {
        try {
            fn();
        } catch (const DbError& error) {
            throw BuildError(file, line, error.what(), error.Code());
        }
    }

    // The script's CREATE DATABASE with the target's path in place of the file it names.
    std::string CreateAtTarget(const ScriptStatement& s, const std::string& file) const
    {
        const std::string& text = s.text;
        const std::size_t open = text.find_first_of("'\"");
        if (open == std::string::npos)
            throw BuildError(file, s.line, "CREATE DATABASE names no file");
        std::size_t close = open + 1;
        while (close < text.size() && !(text[close] == text[open] && (close + 1 >= text.size() || text[close + 1] != text[open])))
            close += text[close] == text[open] ? 2 : 1;
        if (close >= text.size())
            throw BuildError(file, s.line, "CREATE DATABASE names no file");
        return text.substr(0, open) + Literal(target_.Path()) + text.substr(close + 1);
    }

    void Make(const std::string& create, int dialect, const std::string& file, int line)
    {
        ISC_STATUS_ARRAY status{};
        isc_db_handle handle = 0;
        isc_tr_handle none = 0;
        Guarded(file, line, [&] {
            isc_dsql_execute_immediate(status, &handle, &none, 0, create.c_str(), static_cast<unsigned short>(dialect),
                                       nullptr);
            CheckStatus(status);
            isc_detach_database(status, &handle);
            CheckStatus(status);
            db_ = std::make_unique<Connection>();
            db_->CharacterSet = names_;
            db_->SetDatabaseName(target_.Path());
            db_->SetParamValue("user_name", "SYSDBA");
            db_->Open();
            dbDialect_ = db_->DatabaseDialect();
            tran_ = std::make_unique<Transaction>(*db_);
        });
    }

    const BuiltDatabase& target_;
    const BuildOptions& options_;
    std::unique_ptr<Connection> db_;
    std::unique_ptr<Transaction> tran_;
    std::optional<int> dialect_;
    int dbDialect_ = 3;
    std::string names_;
    bool autoDdl_ = true;
};

struct OrderEntry {
    std::string file;
    int part = 1;
    int line = 0;
};

std::vector<OrderEntry> ReadOrder(const fs::path& dir)
{
    const fs::path path = dir / kExportOrderFile;
    if (!fs::is_regular_file(path))
        throw BuildError(dir.string(), 0, std::string("is not a folder an export wrote: it has no ") + kExportOrderFile);
    std::istringstream in(FileBytes(path));
    std::vector<OrderEntry> entries;
    std::set<std::pair<std::string, int>> seen;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        OrderEntry entry{line, 1, number};
        const std::size_t space = line.find_last_of(" \t");
        if (space != std::string::npos && line.find_first_not_of("0123456789", space + 1) == std::string::npos &&
            line.size() - space - 1 <= 6) {
            entry.file = Trimmed(line.substr(0, space));
            entry.part = std::atoi(line.c_str() + space + 1);
        }
        const fs::path relative(entry.file);
        const bool inside = relative.is_relative() &&
                            std::none_of(relative.begin(), relative.end(), [](const fs::path& p) { return p == ".."; });
        if (!inside || !fs::is_regular_file(dir / relative))
            throw BuildError(kExportOrderFile, number, "names " + entry.file + ", which is no file of the folder");
        entry.file = relative.lexically_normal().generic_string();
        if (!seen.insert({entry.file, entry.part}).second)
            throw BuildError(kExportOrderFile, number, "names " + line + " a second time");
        entries.push_back(entry);
    }
    return entries;
}

// Every .sql file of the folder, by relative path; hidden files and folders are not the export's.
std::set<std::string> SqlFiles(const fs::path& dir)
{
    std::set<std::string> files;
    for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().filename().string();
        if (!name.empty() && name[0] == '.') {
            if (it->is_directory())
                it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file() && it->path().extension() == ".sql")
            files.insert(it->path().lexically_relative(dir).generic_string());
    }
    return files;
}

void BuildFolder(Runner& runner, const fs::path& dir)
{
    const std::vector<OrderEntry> entries = ReadOrder(dir);
    std::map<std::string, std::vector<ScriptStatement>> statements;
    std::set<std::pair<std::string, int>> listed;
    for (const auto& entry : entries) {
        if (!statements.count(entry.file))
            statements[entry.file] = SplitScript(FileBytes(dir / entry.file), entry.file);
        listed.insert({entry.file, entry.part});
    }
    for (const auto& file : SqlFiles(dir))
        if (!statements.count(file))
            throw BuildError(file, 0, std::string("is not in ") + kExportOrderFile + ": name it where it is to run");
    for (const auto& [file, list] : statements) {
        int last = 1;
        for (const auto& s : list) {
            last = std::max(last, s.part);
            if (!listed.count({file, s.part}))
                throw BuildError(file, s.line, "part " + std::to_string(s.part) + " is not in " + kExportOrderFile);
        }
        for (const auto& entry : entries)
            if (entry.file == file && entry.part > last)
                throw BuildError(kExportOrderFile, entry.line, file + " has no part " + std::to_string(entry.part));
    }
    for (const auto& entry : entries)
        for (const auto& s : statements.at(entry.file))
            if (s.part == entry.part && !runner.Run(s, entry.file))
                return;
}

}

BuildError::BuildError(const std::string& file, int line, const std::string& message, std::intptr_t code)
    : DbError(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message, code),
      file_(file),
      line_(line),
      reason_(message)
{
}

std::vector<ScriptStatement> SplitScript(const std::string& text, const std::string& file)
{
    return Splitter(text, file).Split();
}

BuiltDatabase::BuiltDatabase(const BuildOptions& options)
{
    const fs::path parent = options.folder.empty() ? fs::temp_directory_path() : fs::path(options.folder);
    std::string folder = (parent / "vorkat-build-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        throw DbError("Cannot make a temporary folder in " + parent.string());
    folder_ = folder;
    path_ = (fs::path(folder) / "new.fdb").string();
}

BuiltDatabase::~BuiltDatabase()
{
    Remove();
}

BuiltDatabase::BuiltDatabase(BuiltDatabase&& other) noexcept
    : folder_(std::move(other.folder_)), path_(std::move(other.path_))
{
    other.folder_.clear();
    other.path_.clear();
}

BuiltDatabase& BuiltDatabase::operator=(BuiltDatabase&& other) noexcept
{
    if (this != &other) {
        Remove();
        folder_ = std::move(other.folder_);
        path_ = std::move(other.path_);
        other.folder_.clear();
        other.path_.clear();
    }
    return *this;
}

void BuiltDatabase::Remove() noexcept
{
    if (folder_.empty())
        return;
    std::error_code error;
    fs::remove_all(folder_, error);
    folder_.clear();
    path_.clear();
}

BuiltDatabase BuildFromFiles(const std::string& path, const BuildOptions& options)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status))
        throw BuildError(path, 0, "no such file or folder");
    BuiltDatabase built(options);
    {
        Runner runner(built, options);
        if (fs::is_directory(status)) {
            BuildFolder(runner, path);
            runner.Finish(kExportOrderFile);
        } else {
            bool going = true;
            for (const auto& s : SplitScript(FileBytes(path), path))
                if (going)
                    going = runner.Run(s, path);
            runner.Finish(path);
        }
    }
    return built;
}

}
