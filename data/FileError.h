// The failures of files and child processes (a script, the settings, a copy, gbak): no database error.
#pragma once
#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& message) : std::runtime_error(message) {}

    // "what path: reason", the reason being the system's words for errno as it stands.
    static FileError FromErrno(const std::string& what, const std::string& path);
};
