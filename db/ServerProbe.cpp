// Parsing a database name the way the client library does, and a bounded TCP connect.
#include "db/ServerProbe.h"
#include "db/FileDescriptor.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

std::string Unbracketed(const std::string& host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        return host.substr(1, host.size() - 2);
    return host;
}

// "host[:port]" or "[v6][:port]", as the URL form writes it.
std::optional<ServerAddress> FromUrlAuthority(const std::string& authority)
{
    ServerAddress server{authority, "", authority};
    const std::size_t bracket = authority.rfind(']');
    const std::size_t colon = authority.rfind(':');
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        server.host = authority.substr(0, colon);
        server.service = authority.substr(colon + 1);
    }
    server.host = Unbracketed(server.host);
    if (server.host.empty())
        return std::nullopt;
    return server;
}

enum class Outcome { Connected, Failed, Silent };

Outcome TryConnect(const addrinfo& address, std::chrono::steady_clock::time_point deadline)
{
    const FileDescriptor socket(
        ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol));
    if (!socket.Valid())
        return Outcome::Failed;
    if (::connect(socket.Get(), address.ai_addr, address.ai_addrlen) == 0)
        return Outcome::Connected;
    if (errno != EINPROGRESS)
        return Outcome::Failed;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return Outcome::Silent;
        pollfd wanted{socket.Get(), POLLOUT, 0};
        int ready = ::poll(&wanted, 1, static_cast<int>(std::min<long long>(left.count(), 1 << 30)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return Outcome::Silent;
        int error = 0;
        socklen_t length = sizeof error;
        if (ready < 0 || ::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return Outcome::Failed;
        return Outcome::Connected;
    }
}

}

std::optional<ServerAddress> TcpServerOf(const std::string& databaseName)
{
    for (const char* scheme : {"inet://", "inet4://", "inet6://"}) {
        const std::string prefix = scheme;
        if (StartsWithNoCase(databaseName, prefix)) {
            const std::size_t slash = databaseName.find('/', prefix.size());
            if (slash == std::string::npos)
                return std::nullopt;
            return FromUrlAuthority(databaseName.substr(prefix.size(), slash - prefix.size()));
        }
    }
    if (databaseName.find("://") != std::string::npos)
        return std::nullopt;

    // Like the client: the first colon ends the server part, after a bracketed IPv6 address.
    std::size_t colon;
    if (!databaseName.empty() && databaseName.front() == '[') {
        const std::size_t bracket = databaseName.find(']');
        if (bracket == std::string::npos)
            return std::nullopt;
        colon = databaseName.find(':', bracket);
    } else {
        colon = databaseName.find(':');
    }
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    ServerAddress server;
    server.shown = databaseName.substr(0, colon);
    const std::size_t bracket = server.shown.find(']');
    const std::size_t slash = server.shown.find('/', bracket == std::string::npos ? 0 : bracket);
    server.host = Unbracketed(server.shown.substr(0, slash));
    if (slash != std::string::npos)
        server.service = server.shown.substr(slash + 1);
    if (server.host.empty())
        return std::nullopt;
    return server;
}

bool StaysSilent(const ServerAddress& server, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    // The client's default service is gds_db, which is port 3050 where no services file names it.
    const std::string service = server.service.empty() ? "gds_db" : server.service;
    if (::getaddrinfo(server.host.c_str(), service.c_str(), &hints, &found) != 0) {
        if (!server.service.empty() || ::getaddrinfo(server.host.c_str(), "3050", &hints, &found) != 0)
            return false;
    }
    // The client tries the addresses in this order and would wait on the first silent one.
    Outcome outcome = Outcome::Failed;
    for (const addrinfo* address = found; address && outcome == Outcome::Failed; address = address->ai_next)
        outcome = TryConnect(*address, deadline);
    ::freeaddrinfo(found);
    return outcome == Outcome::Silent;
}
