// Report rows and their export form.
#include "data/Report.h"

#include <clocale>
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
