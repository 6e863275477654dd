// The server a database name points to over TCP, and whether it takes a TCP connection in time.
#pragma once
#include <chrono>
#include <optional>
#include <string>

struct ServerAddress {
    std::string host;
    std::string service;  // a port number or a service name; empty for the client's default
    std::string shown;    // the server part as the user wrote it, for messages
};

// The TCP server of "host:path", "host/port:path", "[v6]/port:path" or "inet://host:port/path";
// nothing for a local file or another protocol.
std::optional<ServerAddress> TcpServerOf(const std::string& databaseName);

// True when a TCP connection to the server neither succeeds nor fails within the time. The
// Firebird 3 client bounds its wait for the server's first answer, but not this step, which
// otherwise lasts as long as the system retries (over two minutes). A name that does not
// resolve is left to the client library, which reports it.
bool StaysSilent(const ServerAddress& server, std::chrono::milliseconds timeout);
