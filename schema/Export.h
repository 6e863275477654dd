// A schema as files: one file per object in a folder per kind, the database's own properties,
// and the order in which the files build the schema in an empty database (SchemaSource.h).
#pragma once
#include "schema/Model.h"

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class Connection;
class Transaction;

namespace schema {

// An export that cannot be written, or a folder it must not replace; the message says which.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const std::string& message) : std::runtime_error(message) {}
};

// The files of an export by path relative to its folder ("tables/EMPLOYEE.sql"), with their
// bytes: UTF-8 with LF line ends, the same bytes for the same schema.
using ExportedFiles = std::map<std::string, std::string>;

// The names an export gives its own files.
inline constexpr const char* kExportMarkerFile = ".vorkat-export";
inline constexpr const char* kExportOrderFile = "order.txt";
inline constexpr const char* kExportDatabaseFile = "database.sql";

// The folders of the kinds, in the order the order file's head lists them.
const std::vector<std::string>& ExportFolders();

struct ExportOptions {
    // Written into the CREATE DATABASE of database.sql where given: it bounds how long an
    // index key may be. Connection::InfoNumber(isc_info_page_size) reads it.
    std::optional<int> pageSize;
};

// The files of the schema's export. Each object's file holds the statements that make it, as
// isql runs them (SET TERM around PSQL), with its comments and the grants on it; a table's file
// holds its constraints too. Every statement comes from the plan that builds the schema in an
// empty database, which orders them and breaks cycles with stubs: where other files must run
// between two statements of a file, the file is in parts, each beginning with a line
// "-- part N", and the order file names the part (see kExportOrderFile's head in Export.cpp).
// Throws DdlError where the schema holds what no statement can express.
ExportedFiles ExportFiles(const Schema& schema, const ExportOptions& options = {});

// The export of a database: its catalog read (Inspect) and its page size. The transaction is
// started when it is not active and left active.
ExportedFiles ExportDatabase(Connection& connection, Transaction& transaction);

// The file name an object of that name gets in its kind's folder: the name itself where it is
// upper-case letters, digits, _ and $ only (and names no device of Windows), else a readable
// form followed by "~" and a hash of the name, so that names differing in case, or only in
// what the readable form leaves out, get distinct files on any file system.
std::string ExportFileName(const std::string& name);

// Writes the files into dir, which must not exist, be empty, or hold an earlier export (its
// marker file and nothing at its top that an export does not write); anything else is refused
// with an ExportError and left as it is. The files are written into a new folder beside dir,
// which then takes dir's place: a failure leaves an earlier export whole.
void WriteExport(const std::string& dir, const ExportedFiles& files);

// Every file under dir, by relative path with "/" between folders, as ExportFiles gives them:
// for comparing a folder with an export.
ExportedFiles ReadExport(const std::string& dir);

}
