// A file descriptor with one owner, closed on every way out, and the write loop every writer shares.
#pragma once
#include <cstddef>
#include <string>

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closes now and tells whether the close went well: for a written file the last error of the
    // write may show only here. Closing a closed descriptor does nothing and succeeds.
    bool Close() noexcept;
    // Gives the descriptor up without closing it.
    int Release() noexcept;

private:
    int fd_ = -1;
};

// Writes the whole buffer, resuming after interrupted or partial writes; false on failure,
// with errno telling why.
bool WriteAll(int fd, const char* data, std::size_t size);
inline bool WriteAll(int fd, const std::string& content) { return WriteAll(fd, content.data(), content.size()); }
