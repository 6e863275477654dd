// A transaction that rolls back unless it was committed: what a repair runs in.
#pragma once
#include "db/Transaction.h"

#include <string>
#include <vector>

// Starts at once. Leaving its scope without Commit, by an error or a cancel alike, rolls the
// work back, whatever the server says to the rollback: a failed rollback never turns into the
// commit with which a plain Transaction ends.
class ScopedTransaction {
public:
    explicit ScopedTransaction(Connection& connection,
                               std::vector<std::string> params = {"read_committed", "rec_version", "nowait"});
    ~ScopedTransaction();
    ScopedTransaction(const ScopedTransaction&) = delete;
    ScopedTransaction& operator=(const ScopedTransaction&) = delete;

    Transaction& Get() { return transaction_; }
    bool Active() const { return transaction_.Active(); }
    // Starts it again after a commit, for the work that follows.
    void Restart();
    void Commit();
    // Rolls the work back now, whatever the server says, as leaving the scope would.
    void Rollback();

private:
    Transaction transaction_;
};
