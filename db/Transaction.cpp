// Start, commit and the queries that a full commit closes.
#include "db/Transaction.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Status.h"

#include <algorithm>
#include <map>

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

Transaction::Transaction(Connection& connection) : connection_(connection)
{
    connection_.transactions_.push_back(this);
}

Transaction::~Transaction()
{
    if (Active())
        EndForced();
    auto& list = connection_.transactions_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Transaction::StartTransaction()
{
    if (Active())
        return;
    if (!connection_.Connected())
        throw DbError("Cannot perform operation -- DB is not open");
    std::vector<char> tpb{static_cast<char>(isc_tpb_version3)};
    for (const auto& name : Params) {
        auto it = TpbItems().find(name);
        if (it == TpbItems().end())
            throw DbError(FormatMessage("Invalid TPB item '%s'", name));
        tpb.push_back(it->second);
    }
    ISC_STATUS_ARRAY status{};
    isc_start_transaction(status, &handle_, 1, connection_.Handle(), static_cast<unsigned short>(tpb.size()),
                          tpb.data());
    if (StatusFailed(status)) {
        handle_ = 0;
        CheckStatus(status);
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
    if (!Active())
        throw DbError("Transaction is not active");
    CloseQueries();
    ISC_STATUS_ARRAY status{};
    isc_commit_transaction(status, &handle_);
    CheckStatus(status);
    handle_ = 0;
}

void Transaction::CommitRetaining()
{
    if (!Active())
        throw DbError("Transaction is not active");
    ISC_STATUS_ARRAY status{};
    isc_commit_retaining(status, &handle_);
    CheckStatus(status);
}

void Transaction::RollbackRetaining()
{
    if (!Active())
        throw DbError("Transaction is not active");
    ISC_STATUS_ARRAY status{};
    isc_rollback_retaining(status, &handle_);
    CheckStatus(status);
}

void Transaction::Rollback()
{
    if (!Active())
        throw DbError("Transaction is not active");
    CloseQueries();
    ISC_STATUS_ARRAY status{};
    isc_rollback_transaction(status, &handle_);
    CheckStatus(status);
    handle_ = 0;
}

void Transaction::EndForced() noexcept
{
    CloseQueries();
    ISC_STATUS_ARRAY status{};
    isc_commit_transaction(status, &handle_);
    if (StatusFailed(status))
        RollbackForced();
    handle_ = 0;
}

void Transaction::RollbackForced() noexcept
{
    CloseQueries();
    ISC_STATUS_ARRAY status{};
    isc_rollback_transaction(status, &handle_);
    handle_ = 0;
}

void Transaction::ReadPendingBlobs()
{
    for (Query* query : openQueries_)
        query->ReadPendingBlobs();
}
