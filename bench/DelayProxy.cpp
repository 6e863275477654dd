// vorkat-proxy --listen PORT --target HOST:PORT --delay MS [--count FILE]: a TCP proxy on
// 127.0.0.1 that holds every chunk MS milliseconds in each direction, so a server on loopback
// answers as one across a network would, and counts the round trips the clients make.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

std::runtime_error SystemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

struct Settings {
    int listenPort = -1;
    std::string targetHost;
    std::string targetPort;
    Clock::duration delay{};
    std::string countFile;
};

// Totals over every connection since the start.
std::atomic<long> roundTrips{0};
std::atomic<long> bytesUp{0};
std::atomic<long> bytesDown{0};
std::mutex countMutex;

// Written aside and renamed, so that a reader never sees half a file.
void WriteCounts(const std::string& file) noexcept
{
    if (file.empty())
        return;
    std::lock_guard lock(countMutex);
    const std::string aside = file + ".new";
    {
        std::ofstream out(aside, std::ios::trunc);
        out << "round_trips " << roundTrips << "\nbytes_up " << bytesUp << "\nbytes_down " << bytesDown << "\n";
        if (!out)
            std::fprintf(stderr, "vorkat-proxy: cannot write %s\n", aside.c_str());
    }
    std::error_code error;
    std::filesystem::rename(aside, file, error);
}

// The chunks of one direction, each due at its arrival plus the delay; an empty chunk with
// end set means the sending side has closed.
class Pipe {
public:
    struct Chunk {
        Clock::time_point due;
        std::string data;
        bool end = false;
    };
    void Push(Chunk chunk)
    {
        {
            std::lock_guard lock(mutex_);
            chunks_.push_back(std::move(chunk));
        }
        ready_.notify_one();
    }
    Chunk Pop()
    {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !chunks_.empty(); });
        Chunk chunk = std::move(chunks_.front());
        chunks_.pop_front();
        return chunk;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Chunk> chunks_;
};

// One client's connection and its connection to the target. Its four threads share it; the
// last one to finish closes both sockets and rewrites the count file.
class Session {
public:
    Session(Fd client, Fd server, const Settings& settings)
        : client_(std::move(client)), server_(std::move(server)), settings_(settings)
    {
    }
    ~Session() { WriteCounts(settings_.countFile); }

    static void Run(const std::shared_ptr<Session>& session)
    {
        std::thread([session] { session->Read(true); }).detach();
        std::thread([session] { session->Read(false); }).detach();
        std::thread([session] { session->Write(true); }).detach();
        std::thread([session] { session->Write(false); }).detach();
    }

private:
    void Read(bool up)
    {
        const int from = up ? client_.Get() : server_.Get();
        Pipe& pipe = up ? up_ : down_;
        std::vector<char> buffer(65536);
        for (;;) {
            const ssize_t got = ::recv(from, buffer.data(), buffer.size(), 0);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            if (up) {
                bytesUp += got;
                // A send after the server's answer reached the client starts a round trip.
                // The file follows every round trip, so that a client can read what each of
                // its steps cost while it runs (vorkat-bench inspect).
                if (answered_.exchange(false)) {
                    ++roundTrips;
                    WriteCounts(settings_.countFile);
                }
            } else {
                bytesDown += got;
            }
            pipe.Push({Clock::now() + settings_.delay, std::string(buffer.data(), static_cast<std::size_t>(got))});
        }
        pipe.Push({Clock::now() + settings_.delay, {}, true});
    }

    // Delivers each chunk when it is due; after the end, the other side is shut as well, which
    // ends the reader of the opposite direction and so the whole session.
    void Write(bool up)
    {
        const int to = up ? server_.Get() : client_.Get();
        Pipe& pipe = up ? up_ : down_;
        bool broken = false;
        for (;;) {
            Pipe::Chunk chunk = pipe.Pop();
            std::this_thread::sleep_until(chunk.due);
            if (chunk.end)
                break;
            if (!up)
                answered_ = true; // before the write: the client may answer at once
            for (std::size_t sent = 0; !broken && sent < chunk.data.size();) {
                const ssize_t wrote = ::send(to, chunk.data.data() + sent, chunk.data.size() - sent, MSG_NOSIGNAL);
                if (wrote < 0 && errno == EINTR)
                    continue;
                if (wrote < 0) {
                    // The receiver is gone: both readers end, and this writer drains to the end.
                    broken = true;
                    ::shutdown(client_.Get(), SHUT_RDWR);
                    ::shutdown(server_.Get(), SHUT_RDWR);
                } else {
                    sent += static_cast<std::size_t>(wrote);
                }
            }
        }
        ::shutdown(to, SHUT_RDWR);
    }

    Fd client_;
    Fd server_;
    const Settings& settings_;
    Pipe up_;
    Pipe down_;
    std::atomic<bool> answered_{true};
};

void NoDelay(int fd)
{
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

Fd ConnectTarget(const Settings& settings)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int rc = ::getaddrinfo(settings.targetHost.c_str(), settings.targetPort.c_str(), &hints, &found))
        throw std::runtime_error("cannot resolve " + settings.targetHost + ": " + ::gai_strerror(rc));
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, ::freeaddrinfo);
    for (addrinfo* address = list.get(); address; address = address->ai_next) {
        Fd fd(::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol));
        if (fd.Get() < 0)
            continue;
        int rc;
        do
            rc = ::connect(fd.Get(), address->ai_addr, address->ai_addrlen);
        while (rc < 0 && errno == EINTR);
        if (rc == 0) {
            NoDelay(fd.Get());
            return fd;
        }
    }
    throw SystemError("cannot connect to " + settings.targetHost + ":" + settings.targetPort);
}

Fd Listen(int port)
{
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.Get() < 0)
        throw SystemError("socket");
    const int on = 1;
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) < 0)
        throw SystemError("cannot listen on 127.0.0.1:" + std::to_string(port));
    if (::listen(fd.Get(), 64) < 0)
        throw SystemError("listen");
    return fd;
}

int BoundPort(const Fd& fd)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &size) < 0)
        throw SystemError("getsockname");
    return ntohs(address.sin_port);
}

Settings Parse(int argc, char** argv)
{
    Settings settings;
    bool delayGiven = false;
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            throw std::runtime_error(option + " needs a value");
        const std::string value = argv[i + 1];
        if (option == "--listen") {
            settings.listenPort = std::stoi(value);
        } else if (option == "--target") {
            const auto colon = value.rfind(':');
            if (colon == std::string::npos || colon == 0)
                throw std::runtime_error("--target takes HOST:PORT");
            settings.targetHost = value.substr(0, colon);
            settings.targetPort = value.substr(colon + 1);
        } else if (option == "--delay") {
            // Fractions are kept, so that half of an odd round trip stays exact.
            const double ms = std::stod(value);
            if (ms < 0)
                throw std::runtime_error("--delay cannot be negative");
            settings.delay = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(ms));
            delayGiven = true;
        } else if (option == "--count") {
            settings.countFile = value;
        } else {
            throw std::runtime_error("unknown option " + option);
        }
    }
    if (settings.listenPort < 0 || settings.listenPort > 65535 || settings.targetHost.empty() || !delayGiven)
        throw std::runtime_error("usage: vorkat-proxy --listen PORT --target HOST:PORT --delay MS [--count FILE]");
    return settings;
}

}

int main(int argc, char** argv)
{
    try {
        const Settings settings = Parse(argc, argv);
        // Only the signal thread takes TERM and INT; every other thread inherits the block.
        sigset_t stopping;
        sigemptyset(&stopping);
        sigaddset(&stopping, SIGTERM);
        sigaddset(&stopping, SIGINT);
        pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
        std::signal(SIGPIPE, SIG_IGN);
        std::thread([&settings, stopping] {
            int signal = 0;
            while (sigwait(&stopping, &signal) != 0) {
            }
            WriteCounts(settings.countFile);
            std::_Exit(0);
        }).detach();

        const Fd listener = Listen(settings.listenPort);
        WriteCounts(settings.countFile);
        // The first line tells a script which port was picked.
        std::printf("%d\n", BoundPort(listener));
        std::fflush(stdout);

        for (;;) {
            Fd client(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
            if (client.Get() < 0) {
                if (errno == EINTR || errno == ECONNABORTED || errno == EMFILE || errno == ENFILE)
                    continue;
                throw SystemError("accept");
            }
            NoDelay(client.Get());
            // Connecting can wait on a target that does not answer; the next client need not.
            std::thread([&settings, client = std::move(client)]() mutable {
                try {
                    Fd server = ConnectTarget(settings);
                    Session::Run(std::make_shared<Session>(std::move(client), std::move(server), settings));
                } catch (const std::exception& error) {
                    std::fprintf(stderr, "vorkat-proxy: %s\n", error.what());
                    WriteCounts(settings.countFile);
                }
            }).detach();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorkat-proxy: %s\n", error.what());
        return 2;
    }
}
