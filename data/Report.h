// The report rows behind the report grid: the empty-last-row rule and the CSV text.
#pragma once
#include "data/Interfaces.h"

#include <array>
#include <string>
#include <vector>

class ReportRows : public ReportSink {
public:
    using Row = std::array<std::string, 3>;

    ReportRows() { ClearReport(); }

    // One empty data row stands for no findings yet.
    void ClearReport();
    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override;

    const std::vector<Row>& Rows() const { return rows_; }
    // One line per data row: each text followed by the separator, no quoting.
    std::vector<std::string> CsvLines(char separator) const;
    // The same lines with each text quoted as RFC 4180 asks where it holds the separator, a
    // quote or a line break, and a text that a spreadsheet would take as a formula (=, +, -, @
    // first, unless it is a number) made inert with a leading apostrophe: names and messages
    // come from the databases.
    std::vector<std::string> QuotedCsvLines(char separator) const;

private:
    std::vector<Row> rows_;
};

// The one rule for what counts as a finding: a row with any text in it. The empty row that
// stands for no findings is none.
bool IsFindingRow(const ReportRows::Row& row);

// ';' where decimals are written with a comma, else ','.
char ListSeparatorFor(const char* decimalPoint);
// The rule applied to the numeric conventions of the C library's locale, which the front end
// takes from the environment with setlocale(LC_ALL, "") (QApplication does so at start).
char ListSeparator();
