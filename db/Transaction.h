// A transaction on one connection; it knows the queries running in it.
#pragma once
#include "db/CommitGuard.h"
#include "db/Watchdog.h"

#include <ibase.h>
#include <string>
#include <vector>

class Connection;
class Query;

// The transaction handle's one owner. It is on its connection's list under its current
// address; destroyed, it ends like a connection's close ends it and leaves its queries bound
// to no transaction.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    // The handle and the open queries go over, and the queries bound to other are bound to
    // this one; the moved-from transaction is inactive and bound to nothing.
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&& other) noexcept;

    // InterBase item names ("read_committed", "rec_version", "nowait"), sent as a version-3 block.
    std::vector<std::string> Params;

    Connection& Database() { return *connection_; }
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
    friend class ScopedTransaction;
    void CloseQueries();
    void EndForced() noexcept;
    // Rolls back and ends the transaction whatever the server says.
    void RollbackForced() noexcept;
    // Reads the blobs its open queries fetched but have not read yet; done before the
    // transaction writes. The old blobs of a changed row stay readable only while the server
    // keeps the old record version: Firebird 3 keeps it until the transaction ends, retaining
    // commits included, but reading first makes that the server's business, not ours.
    void ReadPendingBlobs();
    watchdog::ServerCall Watched() noexcept;
    // Through the connection's checker, which knows a cut or failed attachment.
    void Check(const ISC_STATUS* status);
    // Commit and rollback, full or retaining: the transaction must be active. A full end
    // closes the open queries first; a retaining one leaves the transaction and its queries as
    // they are. Once it has written, the call runs inside a CommitGuard.
    enum class Ending { Full, Retaining };
    using EndCall = ISC_STATUS (*)(ISC_STATUS*, isc_tr_handle*);
    void End(EndCall call, Ending ending, TransactionEnd what);
    // Closes the open queries and makes the call, whatever the server says; false when it refused.
    bool EndQuietly(EndCall call, TransactionEnd what) noexcept;
    // The call itself, guarded when the transaction has written.
    void Call(EndCall call, TransactionEnd what, ISC_STATUS* status) noexcept;
    // Ends it, takes it off its connection's list and unbinds its queries.
    void Unbind() noexcept;
    void TakeOver(Transaction& other) noexcept;
    // The queries of the connection bound to from are bound to to.
    void RebindQueries(const Transaction* from, Transaction* to) noexcept;

    Connection* connection_;
    isc_tr_handle handle_ = 0;
    // A statement ran since the last end: its commit or rollback must not be cut short.
    bool written_ = false;
    std::vector<Query*> openQueries_;
};
