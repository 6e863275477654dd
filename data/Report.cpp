// Report rows and their export form.
#include "data/Report.h"

#include <clocale>
#include <cstdlib>
#include <cstring>

void ReportRows::ClearReport()
{
    rows_.assign(1, Row{});
}

void ReportRows::AddReportRow(const std::string& type, const std::string& objectName, const std::string& message)
{
    // A last row whose Type is empty is taken over, whatever its other cells hold.
    if (!rows_.back()[0].empty())
        rows_.push_back(Row{});
    rows_.back() = Row{type, objectName, message};
}

std::vector<std::string> ReportRows::CsvLines(char separator) const
{
    std::vector<std::string> lines;
    for (const auto& row : rows_)
        lines.push_back(row[0] + separator + row[1] + separator + row[2] + separator);
    return lines;
}

namespace {

bool IsNumber(const std::string& text)
{
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size();
}

std::string QuotedCell(std::string text, char separator)
{
    if (!text.empty() && std::strchr("=+-@", text[0]) && !IsNumber(text))
        text.insert(0, 1, '\'');
    if (text.find_first_of(std::string(1, separator) + "\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}

std::vector<std::string> ReportRows::QuotedCsvLines(char separator) const
{
    std::vector<std::string> lines;
    for (const auto& row : rows_) {
        std::string line;
        for (const auto& cell : row)
            line += QuotedCell(cell, separator) + separator;
        lines.push_back(line);
    }
    return lines;
}

bool IsFindingRow(const ReportRows::Row& row)
{
    return !row[0].empty() || !row[1].empty() || !row[2].empty();
}

char ListSeparatorFor(const char* decimalPoint)
{
    return decimalPoint && std::strcmp(decimalPoint, ",") == 0 ? ';' : ',';
}

char ListSeparator()
{
    return ListSeparatorFor(std::localeconv()->decimal_point);
}
