// Every failure of the access layer and above travels as a DbError carrying its message.
#pragma once
#include <stdexcept>
#include <string>

class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& message) : std::runtime_error(message) {}
};

// "Field '%s' not found" style messages with one filled-in name.
std::string FormatMessage(const std::string& pattern, const std::string& value);
