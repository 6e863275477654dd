// The report as JSON: which Vorkat, both sides, the mode, the counts, the warnings, every
// finding, what is left unmended and how a repair ended, in a fixed order of fields.
#pragma once
#include "data/Report.h"
#include "schema/Summary.h"

#include <optional>
#include <string>
#include <vector>

// What the report says beside the rows.
struct ReportFacts {
    // The sides as the run attached them; in the eight checks' mode what the connections told.
    schema::SideInfo old;
    schema::SideInfo neu;
    // Set after a repair, the eight checks' too (their fixes count as its statements).
    std::optional<schema::RepairOutcome> repair;
};

// "committed", "refused", "declined", "not-run".
const char* RepairStateWord(schema::RepairOutcome::State state);

// One line a field, and one a warning, finding or item. With details (the complete
// comparison) the findings are its findings with their planned action, statements and rows;
// without, the report rows of the eight checks, whose empty row for no findings is left out.
std::vector<std::string> ReportJsonLines(const ReportRows& rows, const schema::Summary* details,
                                         const ReportFacts& facts);

// A JSON string literal. Texts that are not UTF-8 (a database with character set NONE holds
// whatever bytes a client sent) keep each such byte as the Latin-1 character of its code.
std::string JsonString(const std::string& text);
