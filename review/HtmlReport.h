// The review report of a complete comparison: one HTML file that opens offline and prints.
#pragma once
#include "schema/Summary.h"

#include <string>

namespace review {

struct ReportFacts {
    std::string madeAt;   // when the report was made, as the reader sees it
    std::string version;  // Vorkat's version
};

// Both sides, the warnings by code (each linked to its finding), the counts by kind, the
// findings as a table and each in detail with Old's and New's definitions side by side, then
// the whole plan. Everything inline: no script, font or image from elsewhere. Well-formed as XML
// too, so that any XML parser can check it; without script every part is shown, with it a
// filter box narrows the findings and the counts follow it.
std::string HtmlReport(const schema::Summary& summary, const ReportFacts& facts);

// "2024-05-01 10:34 UTC": the current time in the form the report shows.
std::string NowText();

// The kinds of finding, as the report names them: an Old-only object is dropped or kept.
enum class FindingKind { Missing, Different, Dropped, Kept };
FindingKind KindOf(const schema::Finding& finding);

// The id of a finding's detail: "f-", the kind, "-", the name, and for a property of an object
// that differs "--" and the property ("f-field-T.C--type"). Letters, digits, '_', '.' and '$'
// stay; every other byte is "~" and two hex digits, so that any name gives an id that a link
// can name as it is.
std::string FindingAnchor(const schema::Finding& finding);

}
