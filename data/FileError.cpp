// The system's words for a failed call, appended to the message.
#include "data/FileError.h"

#include <cerrno>
#include <cstring>

FileError FileError::FromErrno(const std::string& what, const std::string& path)
{
    return FileError(what + " " + path + ": " + std::strerror(errno));
}
