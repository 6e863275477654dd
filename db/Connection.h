// A connection to one database file, with the login fallback and the close rules.
#pragma once
#include <ibase.h>
#include <optional>
#include <string>
#include <vector>

class Transaction;
class Query;
class Statement;

// Asked for credentials when a connection's login prompt is on; false means Cancel.
class LoginPrompt {
public:
    virtual ~LoginPrompt() = default;
    virtual bool Ask(const std::string& databaseName, std::string& userName, std::string& password) = 0;
};

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const std::string& name);

    // Lines of "name=value"; user_name and password are used.
    std::vector<std::string> Params;
    bool LoginPromptOn = false;
    LoginPrompt* Prompter = nullptr;
    // The connection's character set (lc_ctype); empty leaves it to the server, which takes NONE.
    std::string CharacterSet;
    Transaction* DefaultTransaction = nullptr;
    // How long an attach waits for a server that does not answer; 0 leaves it to the client
    // library, whose own wait is three minutes.
    static constexpr int DefaultConnectTimeoutSeconds = 15;
    int ConnectTimeoutSeconds = DefaultConnectTimeoutSeconds;

    void Open();
    // Commits every active transaction (rolling back one whose commit fails), closes
    // every query and statement attached, then detaches. Closing a closed connection does nothing.
    void Close() noexcept;
    bool Connected() const { return handle_ != 0; }
    // The major version of the database's on-disk structure: 12 for Firebird 3, 13 for
    // Firebird 4 and 5, below 12 for older servers. Asked once per attachment.
    int OdsMajorVersion();
    // The database's own SQL dialect (1 or 3), not the one this connection speaks.
    int DatabaseDialect();
    // The server's own version line, such as "LI-V3.0.11.33703 Firebird 3.0".
    std::string ServerVersion();

    std::string ParamValue(const std::string& name) const;
    void SetParamValue(const std::string& name, const std::string& value);

    isc_db_handle* Handle() { return &handle_; }

private:
    friend class Transaction;
    friend class Query;
    friend class Statement;

    std::string databaseName_;
    std::optional<std::string> enteredPassword_;
    isc_db_handle handle_ = 0;
    std::optional<int> odsMajor_;
    std::optional<int> dialect_;
    int InfoInteger(char item, const char* what);
    std::vector<Transaction*> transactions_;
    std::vector<Query*> queries_;
    std::vector<Statement*> statements_;
};
