// A repair held at a gate on a server of the test's own, so that a signal can be sent while its
// statement or its commit runs: Old's triggers wait there until the test opens the gate.
#pragma once
#include "db/Connection.h"
#include "tests/support/FbServer.h"

#include <cstdint>
#include <string>

// Where Old's triggers stop the repair of T_ADDED.
enum class GateIn { Statement, Commit };

// New: T_KEPT and T_ADDED, which Old lacks.
extern const char* const GatedNewSql;

// A database on the server with the gate's two generators, and an attachment of the test's own
// to it. Generators stand outside every transaction: both sides see a change at once.
class ServerGate {
public:
    ServerGate(const FbServer& server, const std::string& file);
    ServerGate(const ServerGate&) = delete;
    ServerGate& operator=(const ServerGate&) = delete;

    // An embedded Old with T_KEPT, whose repair of T_ADDED waits at the gate: in the CREATE TABLE
    // (a DDL trigger) or in its commit (a trigger on commit, told by the DDL trigger). The wait
    // counts G_ENTERED up, then asks G_GO until it is no longer 0.
    std::string OldSql(GateIn where) const;
    // How often a repair came to the gate.
    std::int64_t Entered();
    // Lets every wait go on, this one and each one after it.
    void Open();

private:
    std::int64_t Step(const std::string& generator, int by);

    std::string name_;
    std::string password_;
    Connection db_;
};
