// Trim, the database-name rule, line files and the error box text.
#include "data/Files.h"
#include "db/DbError.h"

#include <filesystem>
#include <fstream>

std::string Trim(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.substr(begin, end - begin);
}

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

void SaveLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw DbError(FormatMessage("Cannot create file %s", path));
    for (const auto& line : lines)
        file << line << "\r\n";
    file.close();
    if (!file)
        throw DbError(FormatMessage("Cannot create file %s", path));
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}
