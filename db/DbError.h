// A database's failure: the message as the user reads it and the server's error code, if any.
// Files and child processes fail with FileError (data/FileError.h) instead.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

class DbError : public std::runtime_error {
public:
    // code: the first error code of the server's status vector; 0 for the program's own messages.
    explicit DbError(const std::string& message, std::intptr_t code = 0) : std::runtime_error(message), code_(code) {}

    std::intptr_t Code() const { return code_; }

private:
    std::intptr_t code_;
};

// "Field '%s' not found" style messages with one filled-in name.
std::string FormatMessage(const std::string& pattern, const std::string& value);
