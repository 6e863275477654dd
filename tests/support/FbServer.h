// A Firebird server of the test's own on loopback, and the delaying proxy that puts a
// network's latency in front of it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <sys/types.h>

// Why no server can start on this machine: not root, no firebird user, no server installed.
class ServerUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What vorkat-proxy counted over all its connections.
struct ProxyCounts {
    long roundTrips = 0;
    long bytesUp = 0;
    long bytesDown = 0;
};

// vorkat-proxy as a child of the test: each chunk is held delayMs in each direction. A test
// may stop it (SIGSTOP) to play a peer that falls silent, or kill it.
class DelayProxy {
public:
    DelayProxy(const std::string& target, double delayMs, std::string countFile);
    // Continues a stopped proxy, ends it and waits for it.
    ~DelayProxy();
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;

    int Port() const { return port_; }
    pid_t Pid() const { return pid_; }
    // The database at path on the server, reached through the proxy.
    std::string Name(const std::string& path) const;
    // Ends the proxy and waits; the count file then holds every connection's counts.
    void Stop();
    ProxyCounts Counts() const;

private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::string countFile_;
};

// A SuperServer started by scripts/fbserver.sh in a folder of its own, stopped and removed by
// the destructor. The login is SYSDBA with the machine's password.
class FbServer {
public:
    // Throws ServerUnavailable with the reason when the server cannot start.
    FbServer();
    ~FbServer();
    FbServer(const FbServer&) = delete;
    FbServer& operator=(const FbServer&) = delete;

    int Port() const { return port_; }
    static std::string User() { return "SYSDBA"; }
    const std::string& Password() const { return password_; }
    // A folder (mode 0777) where the server can create and open databases.
    const std::string& Folder() const { return folder_; }
    // "localhost/PORT:path"
    std::string Name(const std::string& path) const;
    // A proxy in front of this server; its count file goes in Folder().
    std::unique_ptr<DelayProxy> StartProxy(double delayMs) const;
    // Runs an isql-fb script, which names its databases itself; throws with the output when it fails.
    std::string Isql(const std::string& script) const;

private:
    std::string folder_;
    std::string password_;
    int port_ = 0;
};

// Each test gets a server; a machine where none can start skips the test and says why.
class ServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    std::unique_ptr<FbServer> Server;
};
