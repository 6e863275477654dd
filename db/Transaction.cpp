// Start, commit and the queries that a full commit closes.
#include "db/Transaction.h"
#include "db/BoundLists.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Status.h"

#include <map>
#include <optional>
#include <utility>

namespace {
const std::map<std::string, char>& TpbItems()
{
    static const std::map<std::string, char> items{
        {"consistency", isc_tpb_consistency}, {"concurrency", isc_tpb_concurrency},
        {"shared", isc_tpb_shared},           {"protected", isc_tpb_protected},
        {"exclusive", isc_tpb_exclusive},     {"wait", isc_tpb_wait},
        {"nowait", isc_tpb_nowait},           {"read", isc_tpb_read},
        {"write", isc_tpb_write},             {"read_committed", isc_tpb_read_committed},
        {"rec_version", isc_tpb_rec_version}, {"no_rec_version", isc_tpb_no_rec_version},
    };
    return items;
}
}

Transaction::Transaction(Connection& connection) : connection_(&connection)
{
    connection_->transactions_.push_back(this);
}

Transaction::~Transaction()
{
    Unbind();
}

Transaction::Transaction(Transaction&& other) noexcept : Params(std::move(other.Params)), connection_(nullptr)
{
    TakeOver(other);
}

Transaction& Transaction::operator=(Transaction&& other) noexcept
{
    if (this != &other) {
        Unbind();
        Params = std::move(other.Params);
        TakeOver(other);
    }
    return *this;
}

void Transaction::Unbind() noexcept
{
    if (Active())
        EndForced();
    if (!connection_)
        return;
    Unlist(connection_->transactions_, this);
    RebindQueries(this, nullptr);
    connection_ = nullptr;
}

void Transaction::TakeOver(Transaction& other) noexcept
{
    connection_ = std::exchange(other.connection_, nullptr);
    handle_ = std::exchange(other.handle_, 0);
    written_ = std::exchange(other.written_, false);
    openQueries_ = std::exchange(other.openQueries_, {});
    if (!connection_)
        return;
    Relist(connection_->transactions_, &other, this);
    RebindQueries(&other, this);
}

void Transaction::RebindQueries(const Transaction* from, Transaction* to) noexcept
{
    for (Query* query : connection_->queries_)
        if (query->transaction_ == from)
            query->transaction_ = to;
}

void Transaction::StartTransaction()
{
    if (Active())
        return;
    if (!connection_ || !connection_->Connected())
        throw DbError("Cannot perform operation -- DB is not open");
    watchdog::CheckDeadline();
    std::vector<char> tpb{static_cast<char>(isc_tpb_version3)};
    for (const auto& name : Params) {
        auto it = TpbItems().find(name);
        if (it == TpbItems().end())
            throw DbError(FormatMessage("Invalid TPB item '%s'", name));
        tpb.push_back(it->second);
    }
    ISC_STATUS_ARRAY status{};
    auto watched = connection_->Watched();
    isc_start_transaction(status, &handle_, 1, connection_->Handle(), static_cast<unsigned short>(tpb.size()),
                          tpb.data());
    if (StatusFailed(status)) {
        handle_ = 0;
        Check(status);
    }
}

void Transaction::CloseQueries()
{
    // A query's close may commit this very transaction; detach the list first.
    for (Query* query : std::vector<Query*>(openQueries_))
        query->Release();
    openQueries_.clear();
}

void Transaction::Commit()
{
    End(isc_commit_transaction, Ending::Full, TransactionEnd::Commit);
}

void Transaction::CommitRetaining()
{
    End(isc_commit_retaining, Ending::Retaining, TransactionEnd::Commit);
}

void Transaction::RollbackRetaining()
{
    End(isc_rollback_retaining, Ending::Retaining, TransactionEnd::Rollback);
}

void Transaction::Rollback()
{
    End(isc_rollback_transaction, Ending::Full, TransactionEnd::Rollback);
}

void Transaction::End(EndCall call, Ending ending, TransactionEnd what)
{
    if (!Active())
        throw DbError("Transaction is not active");
    if (ending == Ending::Full)
        CloseQueries();
    ISC_STATUS_ARRAY status{};
    Call(call, what, status);
    Check(status);
    // A retaining end, too, leaves nothing written behind it.
    written_ = false;
    if (ending == Ending::Full)
        handle_ = 0;
}

bool Transaction::EndQuietly(EndCall call, TransactionEnd what) noexcept
{
    CloseQueries();
    ISC_STATUS_ARRAY status{};
    Call(call, what, status);
    return !StatusFailed(status);
}

void Transaction::Call(EndCall call, TransactionEnd what, ISC_STATUS* status) noexcept
{
    // The signal held by the guard takes effect once the watched call is over.
    std::optional<CommitGuard> guard;
    if (written_)
        guard.emplace(what);
    auto watched = Watched();
    call(status, &handle_);
}

void Transaction::EndForced() noexcept
{
    if (!EndQuietly(isc_commit_transaction, TransactionEnd::Commit))
        RollbackForced();
    handle_ = 0;
    written_ = false;
}

void Transaction::RollbackForced() noexcept
{
    EndQuietly(isc_rollback_transaction, TransactionEnd::Rollback);
    handle_ = 0;
    written_ = false;
}

watchdog::ServerCall Transaction::Watched() noexcept
{
    return connection_ ? connection_->Watched() : watchdog::ServerCall(0, std::string());
}

void Transaction::Check(const ISC_STATUS* status)
{
    if (connection_)
        connection_->Check(status);
    else
        CheckStatus(status);
}

void Transaction::ReadPendingBlobs()
{
    // A query reads its blobs through selects of its own, which join the list while they run.
    for (Query* query : std::vector<Query*>(openQueries_))
        query->ReadPendingBlobs();
}
