// JSON text written by hand: three string fields need no library.
#include "cli/ReportJson.h"

#include <cstdio>

namespace {

// The length of a well-formed UTF-8 sequence starting at text[at], or 0.
std::size_t Utf8Length(const std::string& text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length;
    unsigned int value;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u)
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3Fu);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    static const unsigned int least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < least[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}

}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    char escape[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"': out += "\\\""; continue;
        case '\\': out += "\\\\"; continue;
        case '\b': out += "\\b"; continue;
        case '\f': out += "\\f"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        default: break;
        }
        if (c < 0x20) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (std::size_t length = Utf8Length(text, i)) {
            out.append(text, i, length);
            i += length - 1;
        } else {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        }
    }
    return out + "\"";
}

std::vector<std::string> ReportJsonLines(const ReportRows& rows)
{
    std::vector<std::string> found;
    for (const auto& row : rows.Rows()) {
        if (row[0].empty() && row[1].empty() && row[2].empty())
            continue;
        found.push_back("  {\"type\": " + JsonString(row[0]) + ", \"name\": " + JsonString(row[1]) +
                        ", \"message\": " + JsonString(row[2]) + "}");
    }
    std::vector<std::string> lines{"["};
    for (std::size_t i = 0; i < found.size(); ++i)
        lines.push_back(found[i] + (i + 1 < found.size() ? "," : ""));
    lines.push_back("]");
    return lines;
}
