// The database-name rule, line files and the error box text.
#include "data/Files.h"
#include "data/FileError.h"
#include "db/DbError.h"
#include "db/FileDescriptor.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

std::string DatabaseNameFromField(const std::string& text)
{
    std::error_code error;
    if (!text.empty() && std::filesystem::is_regular_file(text, error))
        return text;
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32)
        ++i;
    std::string word;
    bool quoted = false;
    for (; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && c <= 32)
            break;
        word += static_cast<char>(c);
    }
    return word;
}

namespace {

// A file of a name no one else uses, beside target, created with the mode target has or,
// for a new file, the mode the umask allows.
FileDescriptor CreateTemporary(const std::string& target, std::string& name)
{
    static unsigned counter = 0;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + "." + std::to_string(::getpid()) + "." + std::to_string(++counter) + ".tmp";
        FileDescriptor fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.Valid()) {
            if (exists)
                ::fchmod(fd.Get(), old.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// The name a write lands on: links followed to their end, also when that end does not exist
// yet, so that a dangling link gets its file created and stays a link. Empty for a loop.
std::string FinalName(const std::string& path)
{
    std::string name = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return name;
        std::string link(4096, '\0');
        const ssize_t length = ::readlink(name.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size())
            return {};
        link.resize(static_cast<std::size_t>(length));
        const auto folder = std::filesystem::path(name).parent_path();
        name = (link.front() == '/' || folder.empty()) ? link : (folder / link).string();
    }
    return {};
}

// A reader that went away makes the write fail with EPIPE; SIGPIPE is held back meanwhile so
// that the failure is reported like any other instead of ending the process.
bool WriteWithoutSigpipe(int fd, const std::string& content)
{
    sigset_t pipeSignal, old, pending;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &old);
    const bool ok = WriteAll(fd, content);
    if (!ok && errno == EPIPE && !wasPending) {
        const timespec now{0, 0};
        sigtimedwait(&pipeSignal, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return ok;
}

} // namespace

void ReplaceFile(const std::string& path, const std::string& content)
{
    const FileError cannotCreate(FormatMessage("Cannot create file %s", path));
    // A device, FIFO or pipe (/dev/stdout, /dev/fd/N) is written where it is: a rename would
    // put a regular file in its place. stat follows the links, /proc's descriptor links too.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode))
            throw FileError(FormatMessage("Cannot create file %s: it is a directory", path));
        if (S_ISSOCK(info.st_mode))
            throw FileError(FormatMessage("Cannot create file %s: it is a socket", path));
        FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
        if (!fd.Valid())
            throw cannotCreate;
        bool ok = WriteWithoutSigpipe(fd.Get(), content);
        ok = fd.Close() && ok;
        if (!ok)
            throw cannotCreate;
        return;
    }

    // A link stays a link: the file it points to is the one replaced, or created.
    const std::string target = FinalName(path);
    if (target.empty())
        throw cannotCreate;
    // A file made read-only is not replaced behind its owner's back.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0)
        throw cannotCreate;
    std::string temporary;
    FileDescriptor fd = CreateTemporary(target, temporary);
    if (!fd.Valid())
        throw cannotCreate;
    bool ok = WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        throw cannotCreate;
    }
    // The new name itself is made durable by flushing the folder; a failure here loses nothing.
    const std::string folder = std::filesystem::path(target).parent_path().string();
    FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid())
        ::fsync(dir.Get());
}

void SaveLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string content;
    for (const auto& line : lines) {
        content += line;
        content += "\r\n";
    }
    ReplaceFile(path, content);
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

bool StartsAsDatabase(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char header[20] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header))
        return false;
    const unsigned pageSize = header[16] | (header[17] << 8);
    const unsigned ods = header[18] | (header[19] << 8);
    const bool powerOfTwo = pageSize >= 1024 && pageSize <= 65536 && (pageSize & (pageSize - 1)) == 0;
    // Firebird marks its structure versions with the top bit; InterBase's run from 8 to 13.
    const bool structure = (ods & 0x8000) != 0 || (ods >= 8 && ods <= 13);
    return header[0] == 1 && powerOfTwo && structure;
}

void CheckOutputIsNoDatabase(const OutputFile& output, const std::string& oldName, const std::string& newName)
{
    if (output.path.empty() || output.path == "-")
        return;
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::exists(output.path, error))
        return;
    const std::string refused = "Cannot write " + output.what + " to " + output.path + ": ";
    for (const auto& [side, name] : {std::pair{"the Old Database ", oldName}, std::pair{"the New Database ", newName}})
        if (fs::equivalent(output.path, name, error))
            throw FileError(refused + "it is " + side + name);
    if (fs::is_regular_file(output.path, error) && StartsAsDatabase(output.path))
        throw FileError(refused + "it is a Firebird database");
}
