// Scratch copies live in a private temporary folder; the destructor and an interrupt both remove it.
#include "cli/Rehearsal.h"
#include "cli/Interrupt.h"
#include "data/FileError.h"
#include "db/FileDescriptor.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Runs gbak with the credentials in its environment; on failure the error is failure, a colon
// and gbak's output, whose own words often name only the file on the server.
void RunGbak(const std::string& gbak, const std::vector<std::string>& arguments, const std::string& user,
             const std::string& password, const std::string& failure)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        throw FileError::FromErrno("Cannot start", gbak);
    FileDescriptor readEnd(pipeFds[0]);
    FileDescriptor writeEnd(pipeFds[1]);
    const pid_t child = ::fork();
    if (child < 0)
        throw FileError::FromErrno("Cannot start", gbak);
    if (child == 0) {
        // The child leaves by exec or _exit: no destructor runs here, so both ends are closed by
        // hand. gbak starts with the signals as the program started, not blocked.
        Interrupt::ForChild();
        ::dup2(writeEnd.Get(), STDOUT_FILENO);
        ::dup2(writeEnd.Get(), STDERR_FILENO);
        ::close(readEnd.Get());
        ::close(writeEnd.Get());
        ::setenv("ISC_USER", user.c_str(), 1);
        ::setenv("ISC_PASSWORD", password.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(gbak.c_str())};
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(gbak.c_str(), argv.data());
        ::_exit(127);
    }
    writeEnd.Close();
    std::string output;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(readEnd.Get(), buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0)
            output.append(buffer, static_cast<std::size_t>(got));
    readEnd.Close();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
            output.pop_back();
        throw FileError(failure + ":\n" + output);
    }
}

}

std::string FindGbak()
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t colon = folders.find(':', start);
        if (colon == std::string::npos)
            colon = folders.size();
        std::string folder = folders.substr(start, colon - start);
        std::string candidate = (folder.empty() ? "." : folder) + "/gbak";
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = colon + 1;
    }
    return {};
}

bool CopiedWithGbak(const std::string& oldName)
{
    std::error_code error;
    return oldName.empty() || !std::filesystem::is_regular_file(oldName, error);
}

RehearsalCopy::RehearsalCopy(const std::string& oldName, const std::string& user, const std::string& password)
{
    const bool localFile = !CopiedWithGbak(oldName);
    std::string gbak;
    if (!localFile) {
        gbak = FindGbak();
        if (gbak.empty())
            throw FileError("--rehearse copies a database on a server with Firebird's gbak (package "
                            "firebird3.0-utils), which is not installed; nothing was done");
    }

    std::string pattern = (std::filesystem::temp_directory_path() / "vorkat-rehearse-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw FileError::FromErrno("Cannot create folder", pattern);
    folder_ = pattern;
    Interrupt::KeepScratch(folder_);
    copy_ = folder_ + "/old.fdb";
    try {
        if (localFile)
            CopyFile(oldName);
        else
            BackUpAndRestore(gbak, oldName, user, password);
    } catch (...) {
        Remove();
        throw;
    }
}

RehearsalCopy::~RehearsalCopy()
{
    Remove();
}

void RehearsalCopy::CopyFile(const std::string& from)
{
    const FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.Valid())
        throw FileError::FromErrno("Cannot open file", from);
    // Firebird holds an exclusive lock on a database it has open: a copy taken then could be
    // torn, and the shared lock keeps it from being opened while the copy is made.
    if (::flock(in.Get(), LOCK_SH | LOCK_NB) != 0)
        throw FileError("The Old Database " + from +
                        " is open in another process; a rehearsal copies it only while nobody uses it");
    Interrupt::KeepScratch(copy_);
    FileDescriptor out(::open(copy_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!out.Valid())
        throw FileError::FromErrno("Cannot create file", copy_);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ssize_t got = ::read(in.Get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileError::FromErrno("Cannot read file", from);
        if (got == 0)
            break;
        if (!WriteAll(out.Get(), buffer.data(), static_cast<std::size_t>(got)))
            throw FileError::FromErrno("Cannot write file", copy_);
    }
    if (!out.Close())
        throw FileError::FromErrno("Cannot write file", copy_);
}

void RehearsalCopy::BackUpAndRestore(const std::string& gbak, const std::string& from, const std::string& user,
                                     const std::string& password)
{
    backup_ = folder_ + "/old.fbk";
    Interrupt::KeepScratch(backup_);
    Interrupt::KeepScratch(copy_);
    // -g: no garbage collection, so that the backup changes nothing in the Old Database.
    const std::string failure = "gbak could not copy the Old Database " + from;
    RunGbak(gbak, {"-b", "-g", from, backup_}, user, password, failure);
    RunGbak(gbak, {"-c", backup_, copy_}, user, password, failure + " into " + copy_);
}

void RehearsalCopy::Remove() noexcept
{
    if (folder_.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    for (const auto& path : {copy_, backup_, folder_})
        if (!path.empty())
            Interrupt::ForgetScratch(path);
    folder_.clear();
}
