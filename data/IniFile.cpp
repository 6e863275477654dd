// The INI store: lines kept as read, sections and keys found without regard to case.
#include "data/IniFile.h"
#include "data/Files.h"
#include "data/FileError.h"
#include "db/DbError.h"
#include "db/FileDescriptor.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y && !(x < 128 && y < 128 && std::tolower(x) == std::tolower(y)))
            return false;
    }
    return true;
}

// The section name of a header line ("[Name]"), or nothing for any other line.
std::optional<std::string> HeaderName(const std::string& line)
{
    std::string text = Trim(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    std::size_t close = text.find(']');
    return Trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// Key and raw value of a "key=value" line; lines without "=" hold no key.
bool SplitKey(const std::string& line, std::string& key, std::string& value)
{
    std::size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    key = Trim(line.substr(0, eq));
    value = line.substr(eq + 1);
    return true;
}

// A line break inside a value would start a new line of the file.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

std::string CannotOpen(const std::string& path, const std::string& reason)
{
    return FormatMessage("Cannot open file %s", path) + ": " + reason;
}

// The whole file; a missing one is empty. The reason of a failure is named, as the user has to mend it.
std::string ReadWhole(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return {};
        throw FileError(CannotOpen(path, std::strerror(errno)));
    }
    if (S_ISDIR(info.st_mode))
        throw FileError(CannotOpen(path, "it is a folder"));
    if (!S_ISREG(info.st_mode))
        throw FileError(CannotOpen(path, "it is not a plain file"));
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid())
        throw FileError(CannotOpen(path, std::strerror(errno)));
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileError(CannotOpen(path, std::strerror(errno)));
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    return content;
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path))
{
    std::string content = ReadWhole(path_);
    // No text file holds a zero byte; a file in UTF-16 or a damaged one would be mangled by
    // the next save, so it is left alone.
    if (content.find('\0') != std::string::npos)
        throw FileError(FormatMessage("Cannot read file %s: it is not a plain text file", path_));
    // An editor may start the file with a UTF-8 byte-order mark: it is kept for the save,
    // but it is no part of the first line.
    static const std::string byteOrderMark = "\xEF\xBB\xBF";
    if (content.compare(0, byteOrderMark.size(), byteOrderMark) == 0) {
        byteOrderMark_ = byteOrderMark;
        content.erase(0, byteOrderMark.size());
    }

    bool endSeen = false;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t nl = content.find('\n', start);
        Line line;
        if (nl == std::string::npos) {
            line.text = content.substr(start);
            start = content.size();
        } else {
            std::size_t textEnd = nl > start && content[nl - 1] == '\r' ? nl - 1 : nl;
            line.text = content.substr(start, textEnd - start);
            line.end = content.substr(textEnd, nl + 1 - textEnd);
            start = nl + 1;
            // New lines follow the file's own line breaks.
            if (!endSeen) {
                newLineEnd_ = line.end;
                endSeen = true;
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::size_t IniFile::FindSection(const std::string& section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = HeaderName(lines_[i].text);
        if (name && SameText(*name, section))
            return i;
    }
    return std::string::npos;
}

std::size_t IniFile::SectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < lines_.size() && !HeaderName(lines_[i].text))
        ++i;
    return i;
}

std::size_t IniFile::FindKey(std::size_t header, const std::string& key) const
{
    std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        std::string name;
        std::string value;
        if (SplitKey(lines_[i].text, name, value) && SameText(name, key))
            return i;
    }
    return std::string::npos;
}

std::optional<std::string> IniFile::Read(const std::string& section, const std::string& key) const
{
    std::size_t header = FindSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    std::size_t at = FindKey(header, key);
    if (at == std::string::npos)
        return std::nullopt;
    std::string name;
    std::string value;
    SplitKey(lines_[at].text, name, value);
    value = Trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    return Read(section, key).value_or(defaultValue);
}

void IniFile::Insert(std::size_t at, const std::string& text)
{
    // The line before gets a break if it was the last one and had none.
    if (at > 0 && lines_[at - 1].end.empty())
        lines_[at - 1].end = newLineEnd_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{text, newLineEnd_});
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string cleanValue = OneLine(value);
    std::size_t header = FindSection(section);
    if (header == std::string::npos) {
        Insert(lines_.size(), "[" + section + "]");
        Insert(lines_.size(), key + "=" + cleanValue);
        return;
    }
    std::size_t at = FindKey(header, key);
    if (at != std::string::npos) {
        std::string name;
        std::string old;
        SplitKey(lines_[at].text, name, old);
        lines_[at].text = name + "=" + cleanValue;
        return;
    }
    // A new key goes after the section's last non-blank line, before the blank lines that
    // separate it from the next section.
    std::size_t end = SectionEnd(header);
    while (end > header + 1 && Trim(lines_[end - 1].text).empty())
        --end;
    Insert(end, key + "=" + cleanValue);
}

void IniFile::Save() const
{
    std::string content = byteOrderMark_;
    for (const auto& line : lines_) {
        content += line.text;
        content += line.end;
    }
    ReplaceFile(path_, content);
}

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& defaultValue)
{
    return IniFile(path).ReadString(section, key, defaultValue);
}

void WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value)
{
    IniFile file(path);
    file.WriteString(section, key, value);
    file.Save();
}
