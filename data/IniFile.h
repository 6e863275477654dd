// A small INI file store that reads and updates the way the Windows profile calls do.
#pragma once
#include <optional>
#include <string>
#include <vector>

// Sections and keys match without regard to letter case; a value is read with blanks and
// one pair of enclosing quotes removed. Writing updates the first matching key in place
// (or adds it at the end of its section, or a new section at the end of the file) and
// keeps every other line byte for byte. The file is created by the first Save.
class IniFile {
public:
    // Loads the file; a missing file is an empty one. "Cannot open file %s: " and the reason
    // when it exists but cannot be read, "Cannot read file %s: it is not a plain text file"
    // when it holds a zero byte.
    explicit IniFile(std::string path);

    const std::string& Path() const { return path_; }

    std::optional<std::string> Read(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    // Writes the lines back, replacing the file whole (ReplaceFile); "Cannot create file %s" on failure.
    void Save() const;

private:
    struct Line {
        std::string text;
        std::string end;  // "\r\n", "\n" or "" for a last line without a break
    };
    // The index of the header line of the section, or npos.
    std::size_t FindSection(const std::string& section) const;
    // The index of the first line holding the key within the section starting at header, or npos.
    std::size_t FindKey(std::size_t header, const std::string& key) const;
    // One past the last line of the section starting at header.
    std::size_t SectionEnd(std::size_t header) const;
    void Insert(std::size_t at, const std::string& text);

    std::string path_;
    std::vector<Line> lines_;
    std::string newLineEnd_ = "\r\n";
    std::string byteOrderMark_;
};

// One-call forms: open the file, read or write one key, close it.
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& defaultValue);
void WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value);
