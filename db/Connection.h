// A connection to one database file, with the login fallback and the close rules.
#pragma once
#include "db/ServedRead.h"
#include "db/Watchdog.h"

#include <ibase.h>
#include <optional>
#include <string>
#include <vector>

class Transaction;
class Query;

// Asked for credentials when a connection's login prompt is on; false means Cancel.
class LoginPrompt {
public:
    virtual ~LoginPrompt() = default;
    virtual bool Ask(const std::string& databaseName, std::string& userName, std::string& password) = 0;
};

// Told before and after a query of the connection reads all its remaining rows, which can
// take a while; the data module passes it on to the front end's busy pointer.
class FetchObserver {
public:
    virtual ~FetchObserver() = default;
    virtual void FetchBegins() = 0;
    virtual void FetchEnds() noexcept = 0;
};

// Tells the observer, if there is one, that a long read begins, and when it goes that the read ended.
class FetchNotice {
public:
    explicit FetchNotice(FetchObserver* observer) : observer_(observer)
    {
        if (observer_)
            observer_->FetchBegins();
    }
    ~FetchNotice()
    {
        if (observer_)
            observer_->FetchEnds();
    }
    FetchNotice(const FetchNotice&) = delete;
    FetchNotice& operator=(const FetchNotice&) = delete;

private:
    FetchObserver* observer_;
};

// The attachment's one owner. Its transactions and queries are listed here under their
// current addresses; destroyed, it closes and leaves them bound to nothing. A query's
// transaction must belong to the query's connection.

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    // The attachment, its settings and its transactions and queries go over; the moved-from
    // connection is closed and empty.
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;

    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const std::string& name);

    // Lines of "name=value"; user_name and password are used.
    std::vector<std::string> Params;
    bool LoginPromptOn = false;
    LoginPrompt* Prompter = nullptr;
    // The connection's character set (lc_ctype); empty leaves it to the server, which takes NONE.
    std::string CharacterSet;
    FetchObserver* Fetches = nullptr;
    // How long an attach waits for a server that does not answer; 0 leaves it to the client
    // library, whose own wait is three minutes.
    static constexpr int DefaultConnectTimeoutSeconds = 15;
    int ConnectTimeoutSeconds = DefaultConnectTimeoutSeconds;

    void Open();
    // Commits every active transaction (rolling back one whose commit fails), closes
    // every query of the connection, then detaches. Closing a closed connection does nothing.
    void Close() noexcept;
    bool Connected() const { return handle_ != 0; }
    // The major version of the database's on-disk structure: 12 for Firebird 3, 13 for
    // Firebird 4 and 5, below 12 for older servers. Asked once per attachment.
    int OdsMajorVersion();
    // The database's own SQL dialect (1 or 3), not the one this connection speaks.
    int DatabaseDialect();
    // The server's own version line, such as "LI-V3.0.11.33703 Firebird 3.0".
    std::string ServerVersion();
    // A number the server reports about the database (isc_info_...), nothing when it reports none.
    std::optional<int> InfoNumber(char item);

    std::string ParamValue(const std::string& name) const;
    void SetParamValue(const std::string& name, const std::string& value);

    isc_db_handle* Handle() { return &handle_; }

    // Raises the error of a failed call on this attachment (nothing when status holds none).
    // The client library can answer a call with a follow-up error, such as "Attempt to reopen
    // an open cursor", when the attachment itself has failed and an earlier answer that said so
    // was one it did not pass on; a question to the server then brings the real cause to light,
    // which is raised instead and for every later failure on the attachment. A failure the
    // watchdog caused reads as the watchdog's message (db/Watchdog.h).
    void Check(const ISC_STATUS* status);
    // Marks calls on the attachment for the watchdog (db/Watchdog.h).
    watchdog::ServerCall Watched() noexcept { return watchdog::ServerCall(handle_, databaseName_); }

    // Drops the whole reads that per-object selects were served from (Query::ServeFrom), so
    // that the next opens read the database again.
    void ForgetServedReads() noexcept;

private:
    friend class Transaction;
    friend class Query;

    // Keeps the message as the attachment's failure, closes the client's side and raises it.
    [[noreturn]] void Lost(const std::string& message);
    // The database info answer to one item; the connection must be open.
    void DatabaseInfo(char item, char* answer, short size);
    int InfoInteger(char item, const char* what);
    // Closes, then leaves every transaction and query bound to nothing.
    void Orphan() noexcept;
    // Takes over every member of other, public ones included, and rebinds its transactions and queries.
    void TakeOver(Connection& other) noexcept;

    std::string databaseName_;
    std::optional<std::string> enteredPassword_;
    isc_db_handle handle_ = 0;
    std::optional<int> odsMajor_;
    std::optional<int> dialect_;
    // The first failure of the attachment itself, once found.
    std::optional<std::string> lost_;
    std::vector<Transaction*> transactions_;
    std::vector<Query*> queries_;
    // What per-object selects are served from (Query::ServeFrom).
    ServedReads served_;
};
