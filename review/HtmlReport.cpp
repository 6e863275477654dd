// The page is written top to bottom as the reader meets it; every text from a database passes Html().
#include "review/HtmlReport.h"
#include "review/SideBySide.h"
#include "review/Utf8.h"

#include <array>
#include <chrono>
#include <ctime>

namespace review {

namespace {

// Escaped for text and attribute values alike. Control characters other than tab and line
// breaks are shown as their pictures (U+2400 on): XML allows them in no form at all.
std::string Html(const std::string& raw)
{
    const std::string text = AsUtf8(raw);
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                out += "\xE2\x90";
                out += static_cast<char>(0x80 + c);
            } else {
                out += ch;
            }
        }
    }
    return out;
}

std::string Number(std::size_t n) { return std::to_string(n); }

struct KindText {
    const char* cls;      // CSS class and id part
    const char* word;     // the badge
    const char* heading;  // the group's title
};

const KindText& Text(FindingKind kind)
{
    static const std::array<KindText, 3> texts{{
        {"missing", "missing", "Missing in Old"},
        {"different", "different", "Different"},
        {"only", "only in Old", "Only in Old"},
    }};
    return texts[static_cast<std::size_t>(kind)];
}

constexpr std::array<FindingKind, 3> Kinds{FindingKind::Missing, FindingKind::Different, FindingKind::OnlyInOld};

bool MultiLine(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// At most limit bytes of a one-line text, cut at a character boundary.
std::string Cut(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t at = limit;
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0u) == 0x80u)
        --at;
    return text.substr(0, at) + "\xE2\x80\xA6";
}

std::string ValueShown(const std::string& value) { return value.empty() ? "none" : value; }

// The findings table's last column: what a reviewer must know before opening the detail.
std::string WhatDiffers(const schema::Finding& f)
{
    switch (KindOf(f)) {
    case FindingKind::Missing: return "not in Old: created";
    case FindingKind::OnlyInOld: return f.statements.empty() ? "only in Old: kept" : "only in Old: dropped";
    case FindingKind::Different: break;
    }
    if (f.difference.property == schema::Property::None)
        return Html(f.message);
    if (MultiLine(f.difference.oldValue) || MultiLine(f.difference.newValue))
        return "<span class=\"prop\">" + Html(f.difference.Name()) + "</span> differs";
    return "<span class=\"prop\">" + Html(f.difference.Name()) + "</span> <code class=\"ov\">" +
           Html(Cut(ValueShown(f.difference.oldValue), 80)) + "</code> \xE2\x86\x92 <code class=\"nv\">" +
           Html(Cut(ValueShown(f.difference.newValue), 80)) + "</code>";
}

std::string FindText(const schema::Finding& f)
{
    return Html(std::string(Text(KindOf(f)).word) + " " + schema::KindName(f.kind) + " " + f.name +
                (f.difference.property == schema::Property::None ? "" : " " + f.difference.Name()));
}

std::string Pieces(const std::vector<Piece>& pieces, const char* mark)
{
    std::string out;
    for (const auto& piece : pieces)
        out += piece.marked ? "<" + std::string(mark) + ">" + Html(piece.text) + "</" + mark + ">" : Html(piece.text);
    return out;
}

std::string LineNumber(int n) { return n ? std::to_string(n) : std::string(); }

// Old on the left, New on the right, one table row per line of HTML. A side without a text is
// shown as a narrow empty column, so that the other side keeps the width for its lines.
std::string DiffTable(const std::string& oldText, const std::string& newText)
{
    const char* shape = oldText.empty() ? " only-new" : newText.empty() ? " only-old" : "";
    std::string out = "<div class=\"diff-wrap\"><table class=\"diff" + std::string(shape) + "\">\n";
    out += "<colgroup><col class=\"c-ln\"/><col class=\"c-old\"/><col class=\"c-ln\"/><col class=\"c-new\"/></colgroup>\n";
    out += "<thead><tr><th colspan=\"2\">Old" + std::string(oldText.empty() ? ": none" : "") +
           "</th><th colspan=\"2\">New" + std::string(newText.empty() ? ": none" : "") + "</th></tr></thead>\n<tbody>\n";
    for (const auto& row : SideBySide(oldText, newText)) {
        static const char* const classes[] = {"same", "chg", "del", "add"};
        const char* cls = classes[static_cast<int>(row.kind)];
        const bool oldSide = row.kind != RowKind::Added;
        const bool newSide = row.kind != RowKind::Removed;
        out += std::string("<tr class=\"") + cls + "\"><td class=\"ln\">" + LineNumber(row.oldNumber) + "</td><td class=\"" +
               (oldSide ? "old" : "gap") + "\">" + Pieces(row.oldLine, "del") + "</td><td class=\"ln\">" +
               LineNumber(row.newNumber) + "</td><td class=\"" + (newSide ? "new" : "gap") + "\">" +
               Pieces(row.newLine, "ins") + "</td></tr>\n";
    }
    out += "</tbody></table></div>\n";
    return out;
}

std::string SideRows(const schema::Summary& s, const ReportFacts& facts)
{
    auto row = [](const char* label, const std::string& oldValue, const std::string& newValue) {
        const char* differs = oldValue != newValue ? " class=\"differs\"" : "";
        return std::string("<tr") + differs + "><th scope=\"row\">" + label + "</th><td>" + Html(oldValue) +
               "</td><td>" + Html(newValue) + "</td></tr>\n";
    };
    auto number = [](int n) { return n ? std::to_string(n) : std::string("unknown"); };
    std::string out = "<table class=\"sides\">\n<thead><tr><th></th><th scope=\"col\">Old <span class=\"role\">brought up "
                      "to date</span></th><th scope=\"col\">New <span class=\"role\">the reference</span></th></tr></thead>\n"
                      "<tbody>\n";
    out += "<tr><th scope=\"row\">Database</th><td class=\"db\">" + Html(s.old.database) + "</td><td class=\"db\">" +
           Html(s.neu.database) + "</td></tr>\n";
    out += row("Server", s.old.serverVersion, s.neu.serverVersion);
    out += row("ODS", number(s.old.ods), number(s.neu.ods));
    out += row("Dialect", number(s.old.dialect), number(s.neu.dialect));
    out += "</tbody></table>\n";
    out += "<p class=\"made\">Made " + Html(facts.madeAt) + " by Vorkat " + Html(facts.version) + "</p>\n";
    return out;
}

std::string Counts(const std::array<std::size_t, 3>& counts)
{
    std::string out = "<ul class=\"counts\">\n";
    for (const FindingKind kind : Kinds) {
        const auto& t = Text(kind);
        const std::size_t n = counts[static_cast<std::size_t>(kind)];
        const std::string inner = "<b>" + Number(n) + "</b> <span>" + Html(t.word) + "</span>";
        out += std::string("<li class=\"k-") + t.cls + (n ? "" : " zero") + "\">" +
               (n ? std::string("<a href=\"#g-") + t.cls + "\">" + inner + "</a>" : inner) + "</li>\n";
    }
    return out + "</ul>\n";
}

std::string FindingsTable(const schema::Summary& s, const std::array<std::size_t, 3>& counts)
{
    std::string out;
    for (const FindingKind kind : Kinds) {
        const std::size_t n = counts[static_cast<std::size_t>(kind)];
        if (!n)
            continue;
        const auto& t = Text(kind);
        out += std::string("<details open=\"open\" class=\"group k-") + t.cls + "\" id=\"g-" + t.cls + "\">\n<summary>" +
               t.heading + " <span class=\"n\">" + Number(n) + "</span></summary>\n";
        out += "<table class=\"list\">\n<thead><tr><th class=\"c-kind\">Kind</th><th class=\"c-type\">Type</th>"
               "<th class=\"c-name\">Name</th><th>What differs</th></tr></thead>\n<tbody>\n";
        for (std::size_t i = 0; i < s.findings.size(); ++i) {
            const auto& f = s.findings[i];
            if (KindOf(f) != kind)
                continue;
            out += "<tr data-find=\"" + FindText(f) + "\"><td><span class=\"badge k-" + t.cls + "\">" + Html(t.word) +
                   "</span></td><td class=\"type\">" + Html(schema::KindName(f.kind)) + "</td><td class=\"name\"><a href=\"#f" +
                   Number(i + 1) + "\">" + Html(f.name) + "</a></td><td>" + WhatDiffers(f) + "</td></tr>\n";
        }
        out += "</tbody></table>\n</details>\n";
    }
    return out;
}

std::string Statements(const std::vector<std::string>& statements)
{
    if (statements.empty())
        return "<p class=\"none\">The plan runs nothing for it.</p>\n";
    std::string text;
    for (const auto& statement : statements)
        text += (text.empty() ? "" : "\n\n") + statement + ";";
    return "<pre class=\"sql\">" + Html(text) + "</pre>\n";
}

std::string Detail(const schema::Finding& f, std::size_t index)
{
    const auto& t = Text(KindOf(f));
    std::string out = "<details open=\"open\" class=\"finding k-" + std::string(t.cls) + "\" id=\"f" + Number(index + 1) +
                      "\" data-find=\"" + FindText(f) + "\">\n";
    out += std::string("<summary><span class=\"badge k-") + t.cls + "\">" + Html(t.word) + "</span> <span class=\"type\">" +
           Html(schema::KindName(f.kind)) + "</span> <span class=\"name\">" + Html(f.name) + "</span>" +
           (f.difference.property == schema::Property::None ? "" : " <span class=\"prop\">" + Html(f.difference.Name()) + "</span>") +
           (f.destructive ? " <span class=\"badge danger\">can lose data</span>" : "") + "</summary>\n";
    // The report row's message; the badge says as much for a missing or an Old-only object.
    if (KindOf(f) == FindingKind::Different)
        out += "<p class=\"message\">" + Html(f.message) + "</p>\n";
    if (f.destructive)
        out += "<p class=\"warn\">These statements can lose rows or values that Old holds.</p>\n";
    const bool longValues = MultiLine(f.difference.oldValue) || MultiLine(f.difference.newValue);
    if (f.difference.property != schema::Property::None && !longValues)
        out += "<table class=\"values\"><tbody>\n<tr><th scope=\"row\">Old</th><td><code>" + Html(ValueShown(f.difference.oldValue)) +
               "</code></td></tr>\n<tr><th scope=\"row\">New</th><td><code>" + Html(ValueShown(f.difference.newValue)) +
               "</code></td></tr>\n</tbody></table>\n";
    if (!f.oldDefinition.empty() || !f.newDefinition.empty()) {
        out += "<h4>Definitions</h4>\n" + DiffTable(f.oldDefinition, f.newDefinition);
    }
    // A long property whose change the definitions do not show, such as a comment.
    if (longValues && f.oldDefinition == f.newDefinition)
        out += "<h4>" + Html(f.difference.Name()) + "</h4>\n" + DiffTable(f.difference.oldValue, f.difference.newValue);
    out += "<h4>Statements</h4>\n" + Statements(f.statements);
    return out + "</details>\n";
}

std::string Details(const schema::Summary& s, const std::array<std::size_t, 3>& counts)
{
    std::string out;
    for (const FindingKind kind : Kinds) {
        if (!counts[static_cast<std::size_t>(kind)])
            continue;
        const auto& t = Text(kind);
        out += std::string("<section class=\"kind-details\" aria-label=\"") + t.heading + "\">\n";
        for (std::size_t i = 0; i < s.findings.size(); ++i)
            if (KindOf(s.findings[i]) == kind)
                out += Detail(s.findings[i], i);
        out += "</section>\n";
    }
    return out;
}

std::string PlanPart(const schema::Plan& plan)
{
    if (plan.steps.empty())
        return "<p class=\"none\">The plan is empty: there is nothing to run.</p>\n";
    std::string out = "<p>" + Number(plan.steps.size()) + (plan.steps.size() == 1 ? " statement" : " statements") +
                      " in the order of the script; a repair runs them in one transaction.</p>\n";
    return out + "<pre class=\"sql script\">" + Html(schema::ScriptText(plan)) + "</pre>\n";
}

const char* const Style = R"(
:root{--ink:#1f2328;--muted:#59636e;--line:#d0d7de;--soft:#f6f8fa;--add:#e6ffec;--add-mark:#a6f0b5;
--del:#ffebe9;--del-mark:#ffc0bb;--missing:#1a7f37;--different:#9a6700;--only:#0969da;--danger:#cf222e}
*{box-sizing:border-box}
html{-webkit-text-size-adjust:100%;text-size-adjust:100%}
body{margin:0;color:var(--ink);background:#fff;font:15px/1.5 system-ui,-apple-system,"Segoe UI",Roboto,"Noto Sans","DejaVu Sans",Helvetica,Arial,sans-serif}
main{max-width:1320px;margin:0 auto;padding:20px 28px 48px}
h1{font-size:1.55rem;line-height:1.25;margin:0 0 14px}
h1 small{display:block;font-size:.95rem;font-weight:normal;color:var(--muted)}
h2{font-size:1.2rem;margin:34px 0 12px;padding-bottom:6px;border-bottom:1px solid var(--line)}
h4{font-size:.8rem;text-transform:uppercase;letter-spacing:.04em;color:var(--muted);margin:16px 0 6px}
a{color:var(--only);text-decoration:none}
a:hover{text-decoration:underline}
code,pre,.diff td.old,.diff td.new,.diff td.gap{font-family:ui-monospace,"SFMono-Regular","DejaVu Sans Mono","Liberation Mono",Menlo,Consolas,monospace;font-size:12.5px;tab-size:4}
nav.toc{font-size:.9rem;color:var(--muted);margin:0 0 18px}
nav.toc a{margin-right:14px}
table{border-collapse:collapse}
.sides{width:100%;max-width:980px;font-size:.92rem;margin-bottom:6px}
.sides th,.sides td{text-align:left;padding:5px 10px;border-bottom:1px solid var(--line);vertical-align:top}
.sides thead th{border-bottom:2px solid var(--line)}
.sides th[scope=row]{width:7.5em;color:var(--muted);font-weight:600}
.sides td{width:46%;overflow-wrap:anywhere}
.sides td.db{font-family:ui-monospace,"DejaVu Sans Mono",Menlo,Consolas,monospace;font-size:12.5px}
.sides tr.differs td{background:#fff8c5}
.role{font-weight:normal;color:var(--muted);font-size:.85em}
.made{color:var(--muted);font-size:.88rem;margin:6px 0 0}
.warnings{border:1px solid #d4a72c;background:#fff8c5;border-radius:6px;padding:10px 16px;margin:20px 0 0}
.warnings h2{border:0;margin:0 0 4px;padding:0;font-size:1rem}
.warnings ul{margin:0;padding-left:20px}
.counts{list-style:none;display:flex;flex-wrap:wrap;gap:10px;padding:0;margin:20px 0 0}
.counts li{flex:1 1 150px;max-width:240px;border:1px solid var(--line);border-left:5px solid;border-radius:6px;background:var(--soft)}
.counts li a{color:inherit;text-decoration:none}
.counts li a,.counts li.zero{display:block;padding:8px 14px}
.counts b{font-size:1.5rem;line-height:1.1;display:block}
.counts span{color:var(--muted)}
.counts .k-missing{border-left-color:var(--missing)}
.counts .k-different{border-left-color:var(--different)}
.counts .k-only{border-left-color:var(--only)}
.counts .zero{opacity:.6}
.filter{margin:0 0 12px;display:flex;flex-wrap:wrap;align-items:center;gap:8px}
.filter input{font:inherit;padding:5px 10px;border:1px solid var(--line);border-radius:6px;width:min(420px,100%)}
.filter output{color:var(--muted);font-size:.9rem}
details.group{margin:0 0 14px}
details>summary{cursor:pointer}
details.group>summary{font-weight:600;padding:6px 0}
.n{display:inline-block;min-width:1.6em;padding:0 7px;border-radius:10px;background:var(--soft);border:1px solid var(--line);font-size:.8rem;text-align:center;font-weight:600}
.list{width:100%;font-size:.92rem}
.list th,.list td{text-align:left;padding:5px 8px;border-bottom:1px solid var(--line);vertical-align:top}
.list thead th{background:var(--soft);font-weight:600}
.list .c-kind{width:7.5em}.list .c-type{width:9.5em}.list .c-name{width:36%}
.list td.name{overflow-wrap:anywhere;font-weight:600}
.list td.type{color:var(--muted);font-size:.85rem}
.badge{display:inline-block;padding:0 7px;border-radius:10px;font-size:.78rem;font-weight:600;color:#fff;white-space:nowrap;vertical-align:1px}
.badge.k-missing{background:var(--missing)}.badge.k-different{background:var(--different)}.badge.k-only{background:var(--only)}
.badge.danger{background:var(--danger)}
.prop{font-weight:600}
code.ov{background:var(--del);padding:0 3px;border-radius:3px;overflow-wrap:anywhere}
code.nv{background:var(--add);padding:0 3px;border-radius:3px;overflow-wrap:anywhere}
details.finding{border:1px solid var(--line);border-left:5px solid;border-radius:6px;margin:0 0 16px;padding:0 14px 10px}
details.finding.k-missing{border-left-color:var(--missing)}
details.finding.k-different{border-left-color:var(--different)}
details.finding.k-only{border-left-color:var(--only)}
details.finding>summary{padding:9px 0;font-size:1rem}
details.finding>summary .type{color:var(--muted);font-size:.85rem;margin:0 2px}
details.finding>summary .name{font-weight:700;overflow-wrap:anywhere}
.message{margin:0 0 6px;color:var(--muted);font-size:.9rem}
.warn{margin:6px 0;padding:6px 10px;border-radius:6px;background:#ffebe9;color:#82071e;font-size:.9rem}
.values{font-size:.9rem;margin:6px 0}
.values th{color:var(--muted);text-align:left;padding:2px 12px 2px 0;font-weight:600}
.values td{padding:2px 0;overflow-wrap:anywhere}
.diff-wrap{overflow-x:auto;border:1px solid var(--line);border-radius:6px}
.diff{width:100%;table-layout:fixed}
.diff col.c-ln{width:3.2em}
.diff.only-new col.c-old,.diff.only-old col.c-new{width:9%}
.diff th{background:var(--soft);text-align:left;font-size:.8rem;padding:4px 8px;border-bottom:1px solid var(--line)}
.diff th+th{border-left:1px solid var(--line)}
.diff td{padding:0 8px;vertical-align:top;white-space:pre-wrap;overflow-wrap:anywhere;line-height:1.45}
.diff td.ln{color:#8c959f;text-align:right;padding:0 6px;font-size:11px;font-family:ui-monospace,"DejaVu Sans Mono",monospace;user-select:none;white-space:nowrap}
.diff td.ln+td{border-right:1px solid var(--line)}
.diff td.gap{background:var(--soft)}
.diff tr.del td.old,.diff tr.chg td.old{background:var(--del)}
.diff tr.add td.new,.diff tr.chg td.new{background:var(--add)}
.diff tr.del td.ln:first-child,.diff tr.chg td.ln:first-child{background:#ffd7d5}
.diff tr.add td.ln:nth-child(3),.diff tr.chg td.ln:nth-child(3){background:#ccffd8}
.diff del{background:var(--del-mark);text-decoration:none;border-radius:2px}
.diff ins{background:var(--add-mark);text-decoration:none;border-radius:2px}
pre.sql{margin:0;padding:8px 12px;background:var(--soft);border:1px solid var(--line);border-radius:6px;white-space:pre-wrap;overflow-wrap:anywhere}
.none{color:var(--muted);font-style:italic;margin:4px 0}
.agree{font-size:1.05rem;padding:12px 16px;border-radius:6px;background:var(--add);border:1px solid #aceebb}
footer{margin-top:40px;color:var(--muted);font-size:.85rem}
[hidden]{display:none !important}
@media (max-width:720px){
main{padding:14px 12px 32px}
body{font-size:14px}
.list .c-kind{width:auto}.list .c-type{width:auto}
.list th.c-kind,.list tr td:first-child{display:none}
.diff col.c-ln{width:2.6em}
.diff.only-new col.c-old,.diff.only-old col.c-new{width:2.6em}
}
@media print{
body{font-size:10.5pt}
main{max-width:none;padding:0}
nav.toc,.filter{display:none !important}
a{color:inherit;text-decoration:none}
.diff del{text-decoration:line-through}
.diff ins{text-decoration:underline}
details.finding{break-inside:auto}
details.finding>summary,h2,h4{break-after:avoid}
tr{break-inside:avoid}
.diff-wrap{overflow:visible}
*{-webkit-print-color-adjust:exact;print-color-adjust:exact}
}
)";

// No '<' or '&' here: the page stays well-formed XML also without the CDATA marks.
const char* const Script = R"(
(function () {
  var box = document.getElementById('filter');
  var shown = document.getElementById('shown');
  var rows = document.querySelectorAll('tr[data-find]');
  var items = document.querySelectorAll('[data-find]');
  var groups = document.querySelectorAll('details.group');
  var sections = document.querySelectorAll('section.kind-details');
  if (!box) return;
  box.parentNode.hidden = false;
  function apply() {
    var words = box.value.toLowerCase().split(/\s+/).filter(Boolean);
    var count = 0;
    items.forEach(function (item) {
      var text = item.getAttribute('data-find').toLowerCase();
      var hit = words.every(function (word) { return text.indexOf(word) !== -1; });
      item.hidden = !hit;
      if (hit) count += item.tagName === 'TR' ? 1 : 0;
    });
    groups.forEach(function (group) { group.hidden = !group.querySelector('tr[data-find]:not([hidden])'); });
    sections.forEach(function (section) { section.hidden = !section.querySelector('[data-find]:not([hidden])'); });
    shown.textContent = words.length ? count + ' of ' + rows.length + ' shown' : '';
  }
  box.addEventListener('input', apply);
  apply();
})();
)";

}

FindingKind KindOf(const schema::Finding& finding)
{
    switch (finding.action) {
    case schema::Action::Create: return FindingKind::Missing;
    case schema::Action::OnlyInOld: return FindingKind::OnlyInOld;
    case schema::Action::Alter: break;
    }
    return FindingKind::Different;
}

std::string NowText() { return schema::NowText(); }

std::string HtmlReport(const schema::Summary& s, const ReportFacts& facts)
{
    std::array<std::size_t, 3> counts{};
    for (const auto& f : s.findings)
        ++counts[static_cast<std::size_t>(KindOf(f))];

    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n";
    out += "<title>Vorkat review: " + Html(s.old.database) + "</title>\n";
    out += std::string("<style>") + Style + "</style>\n</head>\n<body>\n<main>\n";
    out += "<h1>Vorkat review<small>What the plan changes in Old to bring it up to date with New</small></h1>\n";
    out += std::string("<nav class=\"toc\"><a href=\"#findings\">Findings</a>") +
           (s.findings.empty() ? "" : "<a href=\"#details\">In detail</a>") + "<a href=\"#plan\">The plan</a></nav>\n";
    out += SideRows(s, facts);
    if (!s.warnings.empty()) {
        out += "<section class=\"warnings\">\n<h2>Safety warnings</h2>\n<ul>\n";
        for (const auto& warning : s.warnings)
            out += "<li>" + Html(warning.Text()) + "</li>\n";
        out += "</ul>\n</section>\n";
    }
    out += Counts(counts);

    out += "<h2 id=\"findings\">Findings</h2>\n";
    if (s.findings.empty()) {
        out += "<p class=\"agree\">No findings: Old has every object of New, as New has it.</p>\n";
    } else {
        out += "<p class=\"filter\" hidden=\"hidden\"><input id=\"filter\" type=\"search\" placeholder=\"Filter by name "
               "or kind\" aria-label=\"Filter the findings by name or kind\" autocomplete=\"off\"/> "
               "<output id=\"shown\"></output></p>\n";
        out += FindingsTable(s, counts);
        out += "<h2 id=\"details\">In detail</h2>\n" + Details(s, counts);
    }
    out += "<h2 id=\"plan\">The plan</h2>\n" + PlanPart(s.plan);
    out += "<footer>Vorkat " + Html(facts.version) + " \xC2\xB7 " + Html(facts.madeAt) + "</footer>\n";
    out += "</main>\n";
    out += std::string("<script>//<![CDATA[") + Script + "//]]></script>\n</body>\n</html>\n";
    return out;
}

}
