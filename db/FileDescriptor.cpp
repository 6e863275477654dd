// Closing and writing through the system calls, retried where a signal interrupted them.
#include "db/FileDescriptor.h"

#include <cerrno>
#include <unistd.h>

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

bool FileDescriptor::Close() noexcept
{
    if (fd_ < 0)
        return true;
    // Not retried on EINTR: on Linux the descriptor is gone then, and a retry could close another.
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
}

int FileDescriptor::Release() noexcept
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, data + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}
