// The server through scripts/fbserver.sh, the proxy as a child process.
#include "tests/support/FbServer.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char* const PasswordFile = "/etc/firebird/3.0/SYSDBA.password";

// The command's exit status and what it wrote to standard output and error.
std::pair<int, std::string> Run(const std::string& command)
{
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    std::array<char, 4096> buffer{};
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    while (!output.empty() && (output.back() == '\n' || output.back() == ' '))
        output.pop_back();
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128, output};
}

// The ISC_PASSWORD line of the file the server package writes, quotes taken off.
std::string SysdbaPassword()
{
    std::ifstream in(PasswordFile);
    if (!in)
        throw ServerUnavailable(std::string("cannot read ") + PasswordFile + ": " + std::strerror(errno));
    const std::string key = "ISC_PASSWORD=";
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return value;
    }
    throw ServerUnavailable(std::string("no ISC_PASSWORD in ") + PasswordFile);
}

// Waits up to the timeout for the child; true when it is gone.
bool Reap(pid_t pid, std::chrono::milliseconds timeout)
{
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD))
            return true;
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int Counter()
{
    static int next = 0;
    return ++next;
}

}

DelayProxy::DelayProxy(const std::string& target, double delayMs, std::string countFile)
    : countFile_(std::move(countFile))
{
    std::vector<std::string> args{VORKAT_PROXY_PATH, "--listen", "0", "--target", target,
                                  "--delay", std::to_string(delayMs), "--count", countFile_};
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) < 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    pid_ = ::fork();
    if (pid_ < 0) {
        ::close(out[0]);
        ::close(out[1]);
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    }
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    // The first line is the port the proxy picked; nothing at all means it failed to start.
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(out[0]);
    port_ = std::atoi(line.c_str());
    if (port_ <= 0) {
        Stop();
        throw std::runtime_error("vorkat-proxy did not start (target " + target + ")");
    }
}

DelayProxy::~DelayProxy()
{
    Stop();
}

std::string DelayProxy::Name(const std::string& path) const
{
    return "localhost/" + std::to_string(port_) + ":" + path;
}

void DelayProxy::Stop()
{
    if (pid_ <= 0)
        return;
    // A stopped process takes TERM only once it runs again.
    ::kill(pid_, SIGCONT);
    ::kill(pid_, SIGTERM);
    if (!Reap(pid_, std::chrono::seconds(5))) {
        ::kill(pid_, SIGKILL);
        Reap(pid_, std::chrono::seconds(5));
    }
    pid_ = -1;
}

ProxyCounts DelayProxy::Counts() const
{
    std::ifstream in(countFile_);
    if (!in)
        throw std::runtime_error("cannot read " + countFile_);
    ProxyCounts counts;
    std::string key;
    long value;
    while (in >> key >> value) {
        if (key == "round_trips")
            counts.roundTrips = value;
        else if (key == "bytes_up")
            counts.bytesUp = value;
        else if (key == "bytes_down")
            counts.bytesDown = value;
    }
    return counts;
}

FbServer::FbServer() : password_(SysdbaPassword())
{
    folder_ = (std::filesystem::temp_directory_path() / "vorkat_server_XXXXXX").string();
    if (!::mkdtemp(folder_.data()))
        throw ServerUnavailable("cannot create a temporary folder");
    // The server runs as the firebird user and creates its databases here.
    ::chmod(folder_.c_str(), 0777);
    const auto [status, output] = Run(std::string(FBSERVER_SCRIPT) + " start '" + folder_ + "'");
    if (status != 0) {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
        throw ServerUnavailable(output);
    }
    port_ = std::atoi(output.c_str());
}

FbServer::~FbServer()
{
    Run(std::string(FBSERVER_SCRIPT) + " stop '" + folder_ + "'");
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
}

std::string FbServer::Name(const std::string& path) const
{
    return "localhost/" + std::to_string(port_) + ":" + path;
}

std::unique_ptr<DelayProxy> FbServer::StartProxy(double delayMs) const
{
    return std::make_unique<DelayProxy>("127.0.0.1:" + std::to_string(port_), delayMs,
                                        folder_ + "/proxy_" + std::to_string(Counter()) + ".count");
}

std::string FbServer::Isql(const std::string& script) const
{
    const std::string file = folder_ + "/script_" + std::to_string(Counter()) + ".sql";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << script;
    }
    auto [status, output] = Run(std::string(ISQL_PATH) + " -q -b -i '" + file + "'");
    std::filesystem::remove(file);
    if (status != 0)
        throw std::runtime_error("isql failed: " + output + "\nscript:\n" + script);
    return output;
}

void ServerTest::SetUp()
{
    try {
        Server = std::make_unique<FbServer>();
    } catch (const ServerUnavailable& reason) {
        GTEST_SKIP() << "no Firebird server can start here: " << reason.what();
    }
}
