// Status-vector interpretation and the layer's message helper.
#include "db/Status.h"
#include "db/DbError.h"

std::string FormatMessage(const std::string& pattern, const std::string& value)
{
    std::string out = pattern;
    auto pos = out.find("%s");
    if (pos != std::string::npos)
        out.replace(pos, 2, value);
    return out;
}

bool StatusFailed(const ISC_STATUS* status)
{
    return status[0] == 1 && status[1] != 0;
}

std::string StatusMessage(const ISC_STATUS* status)
{
    std::string message;
    const ISC_STATUS* vector = status;
    char buffer[1024];
    bool first = true;
    while (fb_interpret(buffer, sizeof buffer, &vector) > 0) {
        if (!first)
            message += "\r\n";
        message += buffer;
        first = false;
    }
    if (!message.empty() && message.back() == '.')
        message.pop_back();
    return message;
}

void CheckStatus(const ISC_STATUS* status)
{
    if (StatusFailed(status))
        throw DbError(StatusMessage(status), status[1]);
}
