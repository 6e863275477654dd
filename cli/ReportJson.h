// The report rows as JSON: an array of {"type", "name", "message"} in report order, with the
// detail of the complete comparison where it has one.
#pragma once
#include "data/Report.h"
#include "schema/Summary.h"

#include <string>
#include <vector>

// One object per line between "[" and "]"; the empty row that stands for no findings is left
// out. With details, a row that is one of its findings also gets "property", "old" and "new"
// when one property differs, and "destructive".
std::vector<std::string> ReportJsonLines(const ReportRows& rows, const schema::Summary* details = nullptr);

// A JSON string literal. Texts that are not UTF-8 (a database with character set NONE holds
// whatever bytes a client sent) keep each such byte as the Latin-1 character of its code.
std::string JsonString(const std::string& text);
