// The review report of a complete comparison: one HTML file that opens offline and prints.
#pragma once
#include "schema/Summary.h"

#include <string>

namespace review {

struct ReportFacts {
    std::string madeAt;   // when the report was made, as the reader sees it
    std::string version;  // Vorkat's version
};

// Both sides, the warnings, the counts by kind, the findings as a table and each in detail
// with Old's and New's definitions side by side, then the whole plan. Everything inline: no
// script, font or image from elsewhere. Well-formed as XML too, so that any XML parser can
// check it; without script every part is shown, with it a filter box narrows the findings.
std::string HtmlReport(const schema::Summary& summary, const ReportFacts& facts);

// "2024-05-01 10:34 UTC": the current time in the form the report shows.
std::string NowText();

// The three kinds of finding, as the report names them.
enum class FindingKind { Missing, Different, OnlyInOld };
FindingKind KindOf(const schema::Finding& finding);

}
