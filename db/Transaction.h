// A transaction on one connection; it knows the queries running in it.
#pragma once
#include <ibase.h>
#include <string>
#include <vector>

class Connection;
class Query;

class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // InterBase item names ("read_committed", "rec_version", "nowait"), sent as a version-3 block.
    std::vector<std::string> Params;

    Connection& Database() { return connection_; }
    void StartTransaction();
    // Closes every open query of the transaction, then commits and ends it.
    void Commit();
    // Commits the work so far; the transaction and its open queries stay as they are.
    void CommitRetaining();
    // Undoes the work since the last commit; the transaction stays active.
    void RollbackRetaining();
    void Rollback();
    bool Active() const { return handle_ != 0; }

    isc_tr_handle* Handle() { return &handle_; }

private:
    friend class Query;
    friend class Connection;
    friend class Statement;
    void CloseQueries();
    void EndForced() noexcept;
    // Rolls back and ends the transaction whatever the server says.
    void RollbackForced() noexcept;
    // Reads the blobs its open queries fetched but have not read yet; done before the
    // transaction writes. The old blobs of a changed row stay readable only while the server
    // keeps the old record version: Firebird 3 keeps it until the transaction ends, retaining
    // commits included, but reading first makes that the server's business, not ours.
    void ReadPendingBlobs();

    Connection& connection_;
    isc_tr_handle handle_ = 0;
    std::vector<Query*> openQueries_;
};
