// A statement executed once, returning nothing. Its lines are the statement buffer.
#pragma once
#include <string>
#include <vector>

class Connection;
class Transaction;

// Owns no handle between executes: each one allocates, prepares, executes and drops its own.
// The connection and the transaction must outlive it; it is on no list of theirs.
class Statement {
public:
    Statement(Connection& connection, Transaction& transaction);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&&) = default;
    Statement& operator=(Statement&&) = default;

    std::vector<std::string> Lines;

    // Sends every line followed by CR LF, unchanged: a ":name" inside a procedure body
    // is not taken for a parameter.
    void Execute();
    // Sends the text as it is, prepared in the given SQL dialect: statements whose bytes
    // must reach the server unchanged, line breaks included.
    void ExecuteText(const std::string& text, unsigned short dialect);
    std::string Text() const;

    Transaction& Tran() { return *transaction_; }

private:
    Connection* connection_;
    Transaction* transaction_;
};
