// vorkat-bench read OLD NEW [--all-blobs]: attaches both databases and reads, once each, every
// row of the system tables the comparators read, straight through the client library; the
// login is ISC_USER and ISC_PASSWORD when they are set.
// vorkat-bench inspect DATABASE [COUNT-FILE]: reads the database's catalog as --complete does and
// prints each catalog query with its rows, the blobs read one at a time after it, and, with the
// count file of a vorkat-proxy in between, its round trips.
// vorkat-bench time RESULT COMMAND...: runs COMMAND and writes "seconds peak-RSS-KiB status" to RESULT.
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/ScopedTransaction.h"
#include "db/Status.h"
#include "schema/Inspect.h"

#include <ibase.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const Tables[] = {"RDB$FIELDS",         "RDB$EXCEPTIONS",         "RDB$GENERATORS",
                              "RDB$FUNCTIONS",      "RDB$FUNCTION_ARGUMENTS", "RDB$RELATIONS",
                              "RDB$RELATION_FIELDS", "RDB$INDICES",           "RDB$INDEX_SEGMENTS",
                              "RDB$RELATION_CONSTRAINTS", "RDB$REF_CONSTRAINTS", "RDB$PROCEDURES",
                              "RDB$PROCEDURE_PARAMETERS", "RDB$DEPENDENCIES", "RDB$TRIGGERS",
                              "RDB$CHECK_CONSTRAINTS"};

struct Totals {
    long rows = 0;
    long blobs = 0;
    long blobBytes = 0;
};

class Database {
public:
    explicit Database(const std::string& name)
    {
        // A server checks the password, embedded access only takes the user: the bench
        // passes a server's login as vorkat-cli's is taken, in ISC_USER and ISC_PASSWORD.
        const char* user = std::getenv("ISC_USER");
        const char* password = std::getenv("ISC_PASSWORD");
        std::vector<char> dpb{isc_dpb_version1};
        for (auto [item, value] : {std::pair<char, const char*>{isc_dpb_user_name, user ? user : "SYSDBA"},
                                   std::pair<char, const char*>{isc_dpb_password, password ? password : "x"}}) {
            dpb.push_back(item);
            dpb.push_back(static_cast<char>(std::strlen(value)));
            dpb.insert(dpb.end(), value, value + std::strlen(value));
        }
        dpb.insert(dpb.end(), {isc_dpb_sql_dialect, 4, 1, 0, 0, 0});
        ISC_STATUS_ARRAY status{};
        isc_attach_database(status, static_cast<short>(name.size()), name.c_str(), &db_,
                            static_cast<short>(dpb.size()), dpb.data());
        CheckStatus(status);
        // As the data module's transactions: read committed, record versions, no wait.
        const char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
        isc_start_transaction(status, &tr_, 1, &db_, sizeof tpb, tpb);
        CheckStatus(status);
    }
    ~Database()
    {
        ISC_STATUS_ARRAY status{};
        if (tr_)
            isc_commit_transaction(status, &tr_);
        if (db_)
            isc_detach_database(status, &db_);
    }

    // Every row of the table; text blobs are read whole, and so is the domain default's BLR,
    // which the domain check compares. allBlobs reads compiled BLR and the rest as well.
    void ReadTable(const std::string& table, bool allBlobs, Totals& totals)
    {
        ISC_STATUS_ARRAY status{};
        isc_stmt_handle stmt = 0;
        isc_dsql_allocate_statement(status, &db_, &stmt);
        CheckStatus(status);
        std::vector<char> storage(XSQLDA_LENGTH(1));
        auto* out = reinterpret_cast<XSQLDA*>(storage.data());
        out->version = SQLDA_VERSION1;
        out->sqln = 1;
        const std::string sql = "select * from " + table;
        isc_dsql_prepare(status, &tr_, &stmt, 0, sql.c_str(), 1, out);
        CheckStatus(status);
        const short count = out->sqld;
        storage.assign(XSQLDA_LENGTH(count), 0);
        out = reinterpret_cast<XSQLDA*>(storage.data());
        out->version = SQLDA_VERSION1;
        out->sqln = count;
        isc_dsql_describe(status, &stmt, 1, out);
        CheckStatus(status);

        std::vector<std::vector<char>> data(static_cast<std::size_t>(count));
        std::vector<short> nulls(static_cast<std::size_t>(count));
        std::vector<bool> readBlob(static_cast<std::size_t>(count));
        for (short i = 0; i < count; ++i) {
            XSQLVAR& var = out->sqlvar[i];
            data[i].resize(static_cast<std::size_t>(var.sqllen) + 2);
            var.sqldata = data[i].data();
            var.sqlind = &nulls[i];
            var.sqltype |= 1;
            const std::string column(var.sqlname, static_cast<std::size_t>(var.sqlname_length));
            readBlob[i] = (var.sqltype & ~1) == SQL_BLOB &&
                          (allBlobs || var.sqlsubtype == 1 ||
                           (table == "RDB$FIELDS" && column == "RDB$DEFAULT_VALUE"));
        }
        isc_dsql_execute(status, &tr_, &stmt, 1, nullptr);
        CheckStatus(status);
        std::vector<char> segment(65535);
        for (;;) {
            const ISC_STATUS fetched = isc_dsql_fetch(status, &stmt, 1, out);
            if (fetched == 100)
                break;
            CheckStatus(status);
            ++totals.rows;
            for (short i = 0; i < count; ++i) {
                if (!readBlob[i] || nulls[i] < 0)
                    continue;
                isc_blob_handle blob = 0;
                isc_open_blob2(status, &db_, &tr_, &blob, reinterpret_cast<ISC_QUAD*>(data[i].data()), 0, nullptr);
                CheckStatus(status);
                std::string text;
                for (;;) {
                    unsigned short got = 0;
                    const ISC_STATUS result = isc_get_segment(status, &blob, &got,
                                                              static_cast<unsigned short>(segment.size()),
                                                              segment.data());
                    if (result == isc_segstr_eof)
                        break;
                    if (result != 0 && result != isc_segment)
                        CheckStatus(status);
                    text.append(segment.data(), got);
                }
                isc_close_blob(status, &blob);
                CheckStatus(status);
                ++totals.blobs;
                totals.blobBytes += static_cast<long>(text.size());
            }
        }
        isc_dsql_free_statement(status, &stmt, DSQL_drop);
        CheckStatus(status);
    }

private:
    isc_db_handle db_ = 0;
    isc_tr_handle tr_ = 0;
};

int Read(const std::vector<std::string>& names, bool allBlobs)
{
    Database oldDb(names[0]);
    Database newDb(names[1]);
    Totals totals;
    for (Database* db : {&newDb, &oldDb})
        for (const char* table : Tables)
            db->ReadTable(table, allBlobs, totals);
    std::printf("rows %ld, blobs %ld, blob bytes %ld\n", totals.rows, totals.blobs, totals.blobBytes);
    return 0;
}

// The proxy's round trips so far; 0 without a count file.
long RoundTrips(const std::string& countFile)
{
    std::ifstream in(countFile);
    std::string word;
    long value = 0;
    while (in >> word >> value)
        if (word == "round_trips")
            return value;
    return 0;
}

// A query's table: the one its own FROM names, not a subquery's, enough to tell the queries apart.
std::string Label(const std::string& sql)
{
    std::size_t from = std::string::npos;
    int depth = 0;
    for (std::size_t i = 0; i < sql.size() && from == std::string::npos; ++i) {
        depth += sql[i] == '(' ? 1 : sql[i] == ')' ? -1 : 0;
        if (depth == 0 && sql.compare(i, 10, " FROM RDB$") == 0)
            from = i;
    }
    std::size_t end = from == std::string::npos ? std::string::npos : sql.find_first_of(" ,", from + 6);
    std::string table = from == std::string::npos ? "?" : sql.substr(from + 6, end - from - 6);
    if (sql.find("UNION ALL") != std::string::npos)
        table += "+";
    return table;
}

int InspectOne(const std::string& name, const std::string& countFile)
{
    Connection connection;
    connection.SetDatabaseName(name);
    const char* user = std::getenv("ISC_USER");
    const char* password = std::getenv("ISC_PASSWORD");
    connection.Params = {std::string("user_name=") + (user ? user : "SYSDBA"),
                         std::string("password=") + (password ? password : "x")};
    const long start = RoundTrips(countFile);
    connection.Open();
    ScopedTransaction transaction(connection);
    long before = RoundTrips(countFile);
    std::printf("%-28s %8s %8s %8s\n", "query", "rows", "blobs", "trips");
    std::printf("%-28s %8s %8s %8ld\n", "(attach, transaction)", "", "", before - start);
    std::size_t rows = 0, blobs = 0;
    schema::InspectStats stats;
    stats.each = [&](const schema::InspectQuery& q) {
        const long now = RoundTrips(countFile);
        std::printf("%-28s %8zu %8zu %8ld\n", Label(q.sql).c_str(), q.rows, q.blobReads, now - before);
        rows += q.rows;
        blobs += q.blobReads;
        before = now;
    };
    const auto began = std::chrono::steady_clock::now();
    schema::Inspect(connection, transaction.Get(), &stats);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("%-28s %8zu %8zu %8ld\n", "all queries", rows, blobs, RoundTrips(countFile) - start);
    std::printf("%d queries in %.2f s\n", stats.queries, seconds);
    return 0;
}

int Time(const std::string& result, char** command)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child < 0)
        throw DbError("cannot fork");
    if (child == 0) {
        ::execvp(command[0], command);
        std::perror(command[0]);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) < 0)
        throw DbError("wait4 failed");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::ofstream out(result, std::ios::trunc);
    // ru_maxrss is in KiB on Linux.
    out << seconds << " " << usage.ru_maxrss << " " << (WIFEXITED(status) ? WEXITSTATUS(status) : 128) << "\n";
    return 0;
}

}

int main(int argc, char** argv)
{
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "read" && (argc == 4 || (argc == 5 && std::strcmp(argv[4], "--all-blobs") == 0)))
            return Read({argv[2], argv[3]}, argc == 5);
        if (command == "inspect" && (argc == 3 || argc == 4))
            return InspectOne(argv[2], argc == 4 ? argv[3] : "");
        if (command == "time" && argc >= 4)
            return Time(argv[2], argv + 3);
        std::fprintf(stderr, "usage: vorkat-bench read OLD NEW [--all-blobs] | inspect DATABASE [COUNT-FILE] | time RESULT COMMAND...\n");
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorkat-bench: %s\n", error.what());
        return 2;
    }
}
