// Files as New: an export's folder, or one script in isql's syntax, built into a temporary
// embedded database that the comparison then reads like any other.
#pragma once
#include "db/DbError.h"

#include <string>
#include <vector>

namespace schema {

// A statement of a source that cannot be run, or a source that cannot be read: the file (as the
// order file names it, or the script's path), the line (0 where the error is about no one line)
// and what went wrong, the server's message where it refused. The message reads
// "procedures/P.sql:12: <the server's message>".
class BuildError : public DbError {
public:
    BuildError(const std::string& file, int line, const std::string& message, std::intptr_t code = 0);
    const std::string& File() const { return file_; }
    int Line() const { return line_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string file_;
    int line_;
    std::string reason_;
};

// One statement of a script, as SplitScript cuts it.
struct ScriptStatement {
    std::string text;  // without its terminator and the blanks and comments before it
    int line = 0;      // the line it begins on, from 1
    int part = 1;      // the part of the file it is in: the last "-- part N" line before it
    bool operator==(const ScriptStatement&) const = default;
};

// The statements of a script as isql reads them: ended by the terminator, which SET TERM
// changes (and which is not returned), never inside a string, a quoted name, a q'...' string or
// a comment. A line "-- part N" between statements begins part N. Throws BuildError, naming
// file, for a string, a comment or a statement that the text leaves open.
std::vector<ScriptStatement> SplitScript(const std::string& text, const std::string& file);

struct BuildOptions {
    // The database made when the source has no CREATE DATABASE: its dialect and default
    // character set (empty: none, as CREATE DATABASE without one).
    int dialect = 3;
    std::string defaultCharset;
    // The folder in which the database's own temporary folder is made; empty: the system's.
    std::string folder;
};

// A database built from files: deleted, with its temporary folder, when the object goes.
class BuiltDatabase {
public:
    BuiltDatabase() = default;
    // A new temporary folder for the database, which is not made yet.
    explicit BuiltDatabase(const BuildOptions& options);
    ~BuiltDatabase();
    BuiltDatabase(BuiltDatabase&& other) noexcept;
    BuiltDatabase& operator=(BuiltDatabase&& other) noexcept;
    BuiltDatabase(const BuiltDatabase&) = delete;
    BuiltDatabase& operator=(const BuiltDatabase&) = delete;

    // The database file, for a Connection as SYSDBA (embedded, so without a password).
    const std::string& Path() const { return path_; }

private:
    void Remove() noexcept;
    std::string folder_;
    std::string path_;
};

// Builds path into a new temporary database, statement by statement through the access layer:
// a folder that an export wrote (its order file says what runs when, and every .sql file in it
// must be named there), or a single .sql script. isql's commands are taken as isql takes them:
// SET TERM, SET SQL DIALECT (the dialect of what follows, and of the database where it comes
// before it is made), SET NAMES (the connection's character set, before the database is made),
// SET AUTODDL (on, as in isql: each other statement than SELECT, INSERT, UPDATE, DELETE, MERGE,
// EXECUTE and WITH is committed at once), COMMIT, ROLLBACK, EXIT and QUIT; SET BAIL, SET ECHO,
// SET TRANSACTION, SHOW, OUTPUT and isql's other SET commands that only show are passed over.
// A CREATE DATABASE (or SCHEMA) makes the database with its own clauses (page size, default
// character set) at the temporary path, whatever file it names; without one, the database is
// made from options before the first statement. What is left uncommitted at the end is
// committed. The first statement the server refuses ends the build with a BuildError naming
// its file and line and carrying the server's message; nothing of the database is left then.
BuiltDatabase BuildFromFiles(const std::string& path, const BuildOptions& options = {});

}
