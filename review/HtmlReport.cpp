// The page is written top to bottom as the reader meets it; every text from a database passes Html().
#include "review/HtmlReport.h"
#include "review/SideBySide.h"
#include "review/Utf8.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>

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

std::string Plural(std::size_t n, const char* one, const char* many)
{
    return Number(n) + " " + (n == 1 ? one : many);
}

struct KindText {
    const char* cls;      // CSS class and id part
    const char* word;     // the badge
    const char* heading;  // the group's title
};

const KindText& Text(FindingKind kind)
{
    static const std::array<KindText, 4> texts{{
        {"missing", "missing", "Missing in Old"},
        {"different", "different", "Different"},
        {"dropped", "dropped", "Only in Old, dropped"},
        {"kept", "kept", "Only in Old, kept"},
    }};
    return texts[static_cast<std::size_t>(kind)];
}

constexpr std::array<FindingKind, 4> Kinds{FindingKind::Missing, FindingKind::Different, FindingKind::Dropped,
                                           FindingKind::Kept};

// Warnings open on the first screen up to this many; more fold behind their count.
constexpr std::size_t FewWarnings = 8;
// Within the warnings, a code's own list folds past this many.
constexpr std::size_t FewOfACode = 20;

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

// Letters, digits, '_', '.' and '$' as they are, every other byte as "~" and two hex digits.
std::string IdPart(const std::string& text)
{
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '$') {
            out += ch;
        } else {
            out += '~';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

// A warning's code as an id: the codes are words joined by '-', which stay.
std::string CodeId(const std::string& code)
{
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = code.find('-', from)) != std::string::npos; from = at + 1)
        out += IdPart(code.substr(from, at - from)) + "-";
    return out + IdPart(code.substr(from));
}

// "field", "external-function": a kind as an id and a class name hold it.
std::string KindSlug(schema::ObjectKind kind)
{
    std::string slug = schema::KindName(kind);
    for (char& c : slug)
        c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return slug;
}

std::string ObjectKey(const schema::ObjectId& object) { return KindSlug(object.kind) + "-" + IdPart(object.name); }

// Each finding's id, and the id a warning about an object links to: its first finding's.
struct Anchors {
    std::vector<std::string> ofFinding;
    std::map<schema::ObjectId, std::string> ofObject;

    explicit Anchors(const schema::Summary& s)
    {
        std::set<std::string> taken;
        for (const auto& f : s.findings) {
            std::string id = FindingAnchor(f);
            // The same property of one object twice: the later ones are numbered.
            for (int n = 2; !taken.insert(id).second; ++n)
                id = FindingAnchor(f) + "-" + std::to_string(n);
            ofFinding.push_back(id);
            ofObject.emplace(f.Object(), id);
        }
    }
    std::string Of(const schema::ObjectId& object) const
    {
        const auto found = ofObject.find(object);
        return found == ofObject.end() ? std::string() : found->second;
    }
};

const char* ActionWord(const schema::Finding& f) { return schema::FindingActionWord(f.plannedAction); }

// The planned action; red where its statements can lose data.
std::string ActionBadge(const schema::Finding& f)
{
    return std::string("<span class=\"act") + (f.destructive ? " danger\" title=\"can lose data" : "") + "\">" +
           ActionWord(f) + "</span>";
}

// The findings table's last column: what a reviewer must know before opening the detail.
std::string WhatDiffers(const schema::Finding& f)
{
    switch (KindOf(f)) {
    case FindingKind::Missing: return f.plannedAction == schema::FindingAction::Skip ? "not in Old: not made" : "not in Old: created";
    case FindingKind::Dropped: return "only in Old: dropped";
    case FindingKind::Kept: return "only in Old: kept";
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

// What the filter box matches: the badge, the planned action, the type, the name and the property.
std::string FindText(const schema::Finding& f)
{
    return Html(std::string(Text(KindOf(f)).word) + " " + ActionWord(f) + (f.destructive ? " destructive" : "") + " " +
                schema::KindName(f.kind) + " " + f.name +
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
// shown as a narrow empty column, so that the other side keeps the width for its lines. On a
// narrow screen each row's Old line stands above its New line, and a line both have once.
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

std::string SeverityBadge(schema::Severity severity)
{
    const std::string word = schema::SeverityWord(severity);
    return "<span class=\"sev s-" + word + "\">" + word + "</span>";
}

// "3 errors, 70 warnings, 6 notices": how much the warnings weigh, the heaviest first.
std::string SeverityCounts(const std::vector<schema::Warning>& warnings)
{
    std::string out;
    for (const auto severity : {schema::Severity::Error, schema::Severity::Warning, schema::Severity::Notice}) {
        const auto n = static_cast<std::size_t>(std::count_if(
            warnings.begin(), warnings.end(), [&](const schema::Warning& w) { return w.severity == severity; }));
        if (!n)
            continue;
        const std::string word = schema::SeverityWord(severity);
        out += " <span class=\"sev s-" + word + "\">" + Plural(n, word.c_str(), (word + "s").c_str()) + "</span>";
    }
    return out;
}

const char* Open(bool open) { return open ? " open=\"open\"" : ""; }

// The warnings by code, in the order WarningCodes lists them, each with its severity and a link
// to its object's finding. Few stay open; many fold behind their counts, as does a long code.
std::string Warnings(const schema::Summary& s, const Anchors& anchors)
{
    std::vector<std::string> codes;
    for (const auto& code : schema::WarningCodes())
        codes.push_back(code.code);
    for (const auto& w : s.warnings)
        if (std::find(codes.begin(), codes.end(), w.code) == codes.end())
            codes.push_back(w.code);
    std::string out = std::string("<details class=\"warnings\" id=\"warnings\"") + Open(s.warnings.size() <= FewWarnings) +
                      ">\n<summary><span class=\"wt\">Warnings</span> <span class=\"n\">" + Number(s.warnings.size()) +
                      "</span>" + SeverityCounts(s.warnings) + "</summary>\n";
    for (const auto& code : codes) {
        std::vector<const schema::Warning*> of;
        for (const auto& w : s.warnings)
            if (w.code == code)
                of.push_back(&w);
        if (of.empty())
            continue;
        std::string meaning;
        for (const auto& known : schema::WarningCodes())
            if (code == known.code)
                meaning = known.meaning;
        out += "<details class=\"wgroup\" id=\"w-" + CodeId(code) + "\"" + Open(of.size() <= FewOfACode) +
               ">\n<summary><code>" + Html(code) + "</code> <span class=\"n\">" + Number(of.size()) + "</span>" +
               (meaning.empty() ? "" : " <span class=\"meaning\">" + Html(meaning) + "</span>") + "</summary>\n<ul>\n";
        for (const auto* w : of) {
            const std::string anchor = anchors.Of(w->object);
            const std::string object = Html(w->object.Text());
            out += "<li>" + SeverityBadge(w->severity) + " " +
                   (anchor.empty() ? "<span class=\"obj\">" + object + "</span>"
                                   : "<a class=\"obj\" href=\"#" + anchor + "\">" + object + "</a>") +
                   ": " + Html(w->message) + "</li>\n";
        }
        out += "</ul>\n</details>\n";
    }
    return out + "</details>\n";
}

using KindCounts = std::array<std::size_t, 4>;

// Objects, as the summary line counts them: an object that differs in three properties is one.
KindCounts CountObjects(const schema::Summary& s)
{
    std::array<std::set<schema::ObjectId>, 4> objects;
    for (const auto& f : s.findings)
        objects[static_cast<std::size_t>(KindOf(f))].insert(f.Object());
    KindCounts counts{};
    for (std::size_t i = 0; i < counts.size(); ++i)
        counts[i] = objects[i].size();
    return counts;
}

std::string Counts(const KindCounts& counts, const schema::Summary& s)
{
    std::string out = "<ul class=\"counts\">\n";
    for (const FindingKind kind : Kinds) {
        const auto& t = Text(kind);
        const std::size_t n = counts[static_cast<std::size_t>(kind)];
        const std::string inner = "<b>" + Number(n) + "</b> <span>" + Html(t.word) + "</span>";
        out += std::string("<li class=\"k-") + t.cls + (n ? "" : " zero") + "\">" +
               (n ? std::string("<a href=\"#g-") + t.cls + "\">" + inner + "</a>" : inner) + "</li>\n";
    }
    out += "</ul>\n";
    return out + "<p class=\"tally\">" + Html(schema::CountsText(s.Count())) + "</p>\n";
}

std::string FindingsTable(const schema::Summary& s, const KindCounts& counts, const Anchors& anchors)
{
    std::string out;
    for (const FindingKind kind : Kinds) {
        const std::size_t n = counts[static_cast<std::size_t>(kind)];
        if (!n)
            continue;
        const auto& t = Text(kind);
        out += std::string("<details open=\"open\" class=\"group k-") + t.cls + "\" id=\"g-" + t.cls + "\" data-kind=\"" +
               t.cls + "\" data-total=\"" + Number(n) + "\">\n<summary>" + t.heading + " <span class=\"n\">" + Number(n) +
               "</span></summary>\n";
        out += "<table class=\"list\">\n<thead><tr><th class=\"c-kind\">Kind</th><th class=\"c-type\">Type</th>"
               "<th class=\"c-name\">Name</th><th class=\"c-act\">Plan</th><th>What differs</th></tr></thead>\n<tbody>\n";
        for (std::size_t i = 0; i < s.findings.size(); ++i) {
            const auto& f = s.findings[i];
            if (KindOf(f) != kind)
                continue;
            out += "<tr data-find=\"" + FindText(f) + "\" data-object=\"" + ObjectKey(f.Object()) +
                   "\"><td class=\"kind\"><span class=\"badge k-" + t.cls + "\">" + Html(t.word) +
                   "</span></td><td class=\"type\">" + Html(schema::KindName(f.kind)) + "</td><td class=\"name\"><a href=\"#" +
                   anchors.ofFinding[i] + "\">" + Html(f.name) + "</a></td><td class=\"plan\">" + ActionBadge(f) +
                   "</td><td class=\"what\">" + WhatDiffers(f) + "</td></tr>\n";
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

// "1,234": a count as a reader takes it in.
std::string Grouped(long long n)
{
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > (digits[0] == '-' ? 1 : 0); at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

// What the object holds in Old, where that was counted: a generator's value, else its rows.
std::string Held(const schema::Finding& f)
{
    if (f.rows < 0)
        return {};
    if (f.kind == schema::ObjectKind::Generator)
        return "<p class=\"held\">It stands at " + Grouped(f.rows) + " in Old.</p>\n";
    const std::string rows = Grouped(f.rows) + (f.rows == 1 ? " row" : " rows");
    if (f.kind == schema::ObjectKind::Table)
        return "<p class=\"held\">It holds " + rows + " in Old.</p>\n";
    // A dropped column counts the rows that hold a value in it; a column left, its table's rows.
    if (f.action == schema::Action::OnlyInOld)
        return "<p class=\"held\">" + rows + " of Old hold a value in it.</p>\n";
    return "<p class=\"held\">Its table holds " + rows + " in Old.</p>\n";
}

// The warnings about the finding's object, and what the plan leaves of it with what would mend it.
std::string Concerns(const schema::Summary& s, const schema::Finding& f)
{
    std::string out;
    for (const auto& w : s.warnings)
        if (w.object == f.Object() && w.code != "not-mended")
            out += "<li>" + SeverityBadge(w.severity) + " <code>" + Html(w.code) + "</code> " + Html(w.message) + "</li>\n";
    for (const auto& item : s.notMended) {
        if (item.object != f.Object())
            continue;
        out += "<li>" + SeverityBadge(schema::Severity::Warning) + " <code>not-mended</code> <code>" + Html(item.code) +
               "</code> " + Html(item.why);
        if (!item.from.empty() || !item.to.empty())
            out += " <code class=\"ov\">" + Html(ValueShown(item.from)) + "</code> \xE2\x86\x92 <code class=\"nv\">" +
                   Html(ValueShown(item.to)) + "</code>";
        if (!item.option.empty())
            out += "; <code>" + Html(item.option) + "</code> mends it";
        out += "</li>\n";
    }
    return out.empty() ? out : "<ul class=\"concerns\">\n" + out + "</ul>\n";
}

std::string Detail(const schema::Summary& s, std::size_t index, const Anchors& anchors)
{
    const auto& f = s.findings[index];
    const auto& t = Text(KindOf(f));
    std::string out = "<details open=\"open\" class=\"finding k-" + std::string(t.cls) + "\" id=\"" + anchors.ofFinding[index] +
                      "\" data-find=\"" + FindText(f) + "\">\n";
    out += std::string("<summary><span class=\"badge k-") + t.cls + "\">" + Html(t.word) + "</span> <span class=\"type\">" +
           Html(schema::KindName(f.kind)) + "</span> <span class=\"name\">" + Html(f.name) + "</span>" +
           (f.difference.property == schema::Property::None ? "" : " <span class=\"prop\">" + Html(f.difference.Name()) + "</span>") +
           " " + ActionBadge(f) + (f.destructive ? " <span class=\"badge danger\">can lose data</span>" : "") + "</summary>\n";
    // The report row's message; the badge says as much for a missing or an Old-only object.
    if (KindOf(f) == FindingKind::Different)
        out += "<p class=\"message\">" + Html(f.message) + "</p>\n";
    if (f.destructive)
        out += "<p class=\"warn\">These statements can lose rows or values that Old holds.</p>\n";
    // The warnings link to an object's first finding, which names them; its others do not repeat them.
    out += Held(f) + (anchors.Of(f.Object()) == anchors.ofFinding[index] ? Concerns(s, f) : "");
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

std::string Details(const schema::Summary& s, const KindCounts& counts, const Anchors& anchors)
{
    std::string out;
    for (const FindingKind kind : Kinds) {
        if (!counts[static_cast<std::size_t>(kind)])
            continue;
        const auto& t = Text(kind);
        out += std::string("<section class=\"kind-details\" aria-label=\"") + t.heading + "\">\n";
        for (std::size_t i = 0; i < s.findings.size(); ++i)
            if (KindOf(s.findings[i]) == kind)
                out += Detail(s, i, anchors);
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
--del:#ffebe9;--del-mark:#ffc0bb;--missing:#1a7f37;--different:#9a6700;--danger:#cf222e;--kept:#6e7781;
--notice:#0969da;--link:#0969da}
*{box-sizing:border-box}
html{-webkit-text-size-adjust:100%;text-size-adjust:100%}
body{margin:0;color:var(--ink);background:#fff;font:15px/1.5 system-ui,-apple-system,"Segoe UI",Roboto,"Noto Sans","DejaVu Sans",Helvetica,Arial,sans-serif}
main{max-width:1320px;margin:0 auto;padding:20px 28px 48px}
h1{font-size:1.55rem;line-height:1.25;margin:0 0 14px}
h1 small{display:block;font-size:.95rem;font-weight:normal;color:var(--muted)}
h2{font-size:1.2rem;margin:34px 0 12px;padding-bottom:6px;border-bottom:1px solid var(--line)}
h4{font-size:.8rem;text-transform:uppercase;letter-spacing:.04em;color:var(--muted);margin:16px 0 6px}
a{color:var(--link);text-decoration:none}
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
details.warnings{border:1px solid #d4a72c;background:#fff8c5;border-radius:6px;padding:6px 16px;margin:20px 0 0}
details.warnings>summary{font-weight:600;padding:4px 0}
details.warnings>summary .wt{font-size:1rem}
details.wgroup{margin:4px 0 8px}
details.wgroup>summary{padding:2px 0;font-size:.92rem}
details.wgroup>summary code{font-weight:600}
.meaning{color:var(--muted);font-size:.88rem}
.warnings ul{margin:2px 0 0;padding-left:0;list-style:none;font-size:.92rem}
.warnings li{padding:2px 0 2px 4.6em;text-indent:-4.6em;overflow-wrap:anywhere}
.warnings li .sev{text-indent:0;min-width:4.2em;text-align:center}
.warnings a.obj,.warnings .obj{font-weight:600}
.sev{display:inline-block;padding:0 6px;border-radius:4px;font-size:.75rem;font-weight:600;border:1px solid;background:#fff;white-space:nowrap;vertical-align:1px}
.sev.s-error{color:#fff;background:var(--danger);border-color:var(--danger)}
.sev.s-warning{color:#7d4e00;border-color:#d4a72c;background:#fff1c2}
.sev.s-notice{color:var(--notice);border-color:#b6d3f5}
summary .sev{margin-left:4px}
.counts{list-style:none;display:flex;flex-wrap:wrap;gap:10px;padding:0;margin:20px 0 0}
.counts li{flex:1 1 150px;max-width:240px;border:1px solid var(--line);border-left:5px solid;border-radius:6px;background:var(--soft)}
.counts li a{color:inherit;text-decoration:none}
.counts li a,.counts li.zero{display:block;padding:8px 14px}
.counts b{font-size:1.5rem;line-height:1.1;display:block}
.counts span{color:var(--muted)}
.counts .k-missing{border-left-color:var(--missing)}
.counts .k-different{border-left-color:var(--different)}
.counts .k-dropped{border-left-color:var(--danger)}
.counts .k-kept{border-left-color:var(--kept)}
.counts .zero{opacity:.6}
.tally{color:var(--muted);font-size:.88rem;margin:8px 0 0}
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
.list .c-kind{width:7em}.list .c-type{width:9.5em}.list .c-name{width:30%}.list .c-act{width:6.5em}
.list td.name{overflow-wrap:anywhere;font-weight:600}
.list td.type{color:var(--muted);font-size:.85rem}
.badge{display:inline-block;padding:0 7px;border-radius:10px;font-size:.78rem;font-weight:600;color:#fff;white-space:nowrap;vertical-align:1px}
.badge.k-missing{background:var(--missing)}.badge.k-different{background:var(--different)}
.badge.k-dropped{background:var(--danger)}.badge.k-kept{background:#fff;color:var(--kept);border:1px solid var(--kept)}
.badge.danger{background:var(--danger)}
.act{display:inline-block;padding:0 6px;border:1px solid var(--line);border-radius:4px;font-size:.78rem;font-weight:600;color:var(--muted);background:#fff;white-space:nowrap;vertical-align:1px}
.act.danger{color:var(--danger);border-color:var(--danger);background:var(--del)}
.prop{font-weight:600}
code.ov{background:var(--del);padding:0 3px;border-radius:3px;overflow-wrap:anywhere}
code.nv{background:var(--add);padding:0 3px;border-radius:3px;overflow-wrap:anywhere}
details.finding{border:1px solid var(--line);border-left:5px solid;border-radius:6px;margin:0 0 16px;padding:0 14px 10px}
details.finding.k-missing{border-left-color:var(--missing)}
details.finding.k-different{border-left-color:var(--different)}
details.finding.k-dropped{border-left-color:var(--danger)}
details.finding.k-kept{border-left-color:var(--kept)}
details.finding>summary{padding:9px 0;font-size:1rem}
details.finding>summary .type{color:var(--muted);font-size:.85rem;margin:0 2px}
details.finding>summary .name{font-weight:700;overflow-wrap:anywhere}
.message{margin:0 0 6px;color:var(--muted);font-size:.9rem}
.warn{margin:6px 0;padding:6px 10px;border-radius:6px;background:#ffebe9;color:#82071e;font-size:.9rem}
.held{margin:6px 0;font-size:.9rem}
ul.concerns{list-style:none;padding:0;margin:6px 0;font-size:.9rem}
ul.concerns li{padding:1px 0;overflow-wrap:anywhere}
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
@media (max-width:700px){
main{padding:14px 12px 32px}
body{font-size:14px}
.sides th[scope=row]{width:4.8em;padding:5px 6px 5px 0}
.sides th,.sides td{padding:5px 6px}
.counts li{flex-basis:40%}
/* Each finding a block of its own: type, name and plan on one line, what differs below. */
.list thead{display:none}
.list,.list tbody{display:block}
.list tr{display:flex;flex-wrap:wrap;align-items:baseline;gap:2px 8px;padding:6px 2px;border-bottom:1px solid var(--line)}
.list td{display:block;padding:0;border:0}
.list td.kind{display:none}
.list td.name{flex:1 1 10em}
.list td.what{flex:1 1 100%}
/* Old above New: each changed line's Old side, then its New side; a line both have once. */
.diff,.diff tbody{display:block}
.diff colgroup{display:none}
.diff thead{display:block}
.diff thead tr{display:flex}
.diff thead th{flex:1}
.diff tr{display:grid;grid-template-columns:2.6em minmax(0,1fr)}
.diff td{display:block}
.diff td.gap,.diff tr.same td.ln:nth-child(3),.diff tr.same td.new,.diff tr.add td.ln:first-child,.diff tr.del td.ln:nth-child(3){display:none}
.diff td.ln+td{border-right:0}
.diff tr.del td.ln:first-child::before,.diff tr.chg td.ln:first-child::before{content:"\2212";float:left}
.diff tr.add td.ln:nth-child(3)::before,.diff tr.chg td.ln:nth-child(3)::before{content:"+";float:left}
.diff thead th:first-child::before{content:"\2212  "}
.diff thead th+th::before{content:"+ "}
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
details.warnings,details.wgroup{break-inside:auto}
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
  // A printed page shows every part, the folded ones too.
  var folded = [];
  window.addEventListener('beforeprint', function () {
    folded = Array.prototype.filter.call(document.querySelectorAll('details'), function (d) { return !d.open; });
    folded.forEach(function (d) { d.open = true; });
  });
  window.addEventListener('afterprint', function () {
    folded.forEach(function (d) { d.open = false; });
    folded = [];
  });
  // A link opens the parts around its target, and clears a filter that hides it.
  document.addEventListener('click', function (event) {
    var link = event.target.closest('a[href^="#"]');
    var target = link ? document.getElementById(link.getAttribute('href').slice(1)) : null;
    if (!target) return;
    if (box) {
      if (target.closest('[hidden]')) { box.value = ''; apply(); }
    }
    for (var at = target; at; at = at.parentElement) {
      if (at.tagName === 'DETAILS') at.open = true;
    }
  });
  if (!box) return;
  box.parentNode.hidden = false;
  // Objects, as the counts give them: the rows of one object's properties count once.
  function objects(scope) {
    var seen = {};
    var n = 0;
    scope.querySelectorAll('tr[data-find]').forEach(function (row) {
      var key = row.getAttribute('data-object');
      if (row.hidden) return;
      if (!seen[key]) { seen[key] = true; n += 1; }
    });
    return n;
  }
  function apply() {
    var words = box.value.toLowerCase().split(/\s+/).filter(Boolean);
    var count = 0;
    items.forEach(function (item) {
      var text = item.getAttribute('data-find').toLowerCase();
      var hit = words.every(function (word) { return text.indexOf(word) !== -1; });
      item.hidden = !hit;
      if (hit) count += item.tagName === 'TR' ? 1 : 0;
    });
    groups.forEach(function (group) {
      var total = group.getAttribute('data-total');
      var n = objects(group);
      var text = words.length ? n + ' of ' + total : total;
      var tile = document.querySelector('.counts .k-' + group.getAttribute('data-kind') + ' b');
      group.hidden = n === 0;
      group.querySelector('summary .n').textContent = text;
      if (tile) tile.textContent = text;
    });
    sections.forEach(function (section) { section.hidden = !section.querySelector('[data-find]:not([hidden])'); });
    shown.textContent = words.length ? count + ' of ' + rows.length + ' findings shown' : '';
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
    case schema::Action::OnlyInOld:
        return finding.plannedAction == schema::FindingAction::Drop ? FindingKind::Dropped : FindingKind::Kept;
    case schema::Action::Alter: break;
    }
    return FindingKind::Different;
}

std::string FindingAnchor(const schema::Finding& finding)
{
    return "f-" + ObjectKey(finding.Object()) +
           (finding.difference.property == schema::Property::None ? "" : "--" + IdPart(finding.difference.Name()));
}

std::string NowText() { return schema::NowText(); }

std::string HtmlReport(const schema::Summary& s, const ReportFacts& facts)
{
    const KindCounts counts = CountObjects(s);
    const Anchors anchors(s);

    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n";
    out += "<title>Vorkat review: " + Html(s.old.database) + "</title>\n";
    out += std::string("<style>") + Style + "</style>\n</head>\n<body>\n<main>\n";
    out += "<h1>Vorkat review<small>What the plan changes in Old to bring it up to date with New</small></h1>\n";
    out += std::string("<nav class=\"toc\">") + (s.warnings.empty() ? "" : "<a href=\"#warnings\">Warnings</a>") +
           "<a href=\"#findings\">Findings</a>" + (s.findings.empty() ? "" : "<a href=\"#details\">In detail</a>") +
           "<a href=\"#plan\">The plan</a></nav>\n";
    out += SideRows(s, facts);
    if (!s.warnings.empty())
        out += Warnings(s, anchors);
    out += Counts(counts, s);

    out += "<h2 id=\"findings\">Findings</h2>\n";
    if (s.findings.empty()) {
        out += "<p class=\"agree\">No findings: Old has every object of New, as New has it.</p>\n";
    } else {
        out += "<p class=\"filter\" hidden=\"hidden\"><input id=\"filter\" type=\"search\" placeholder=\"Filter by name, kind "
               "or plan\" aria-label=\"Filter the findings by name or kind\" autocomplete=\"off\"/> "
               "<output id=\"shown\"></output></p>\n";
        out += FindingsTable(s, counts, anchors);
        out += "<h2 id=\"details\">In detail</h2>\n" + Details(s, counts, anchors);
    }
    out += "<h2 id=\"plan\">The plan</h2>\n" + PlanPart(s.plan);
    out += "<footer>Vorkat " + Html(facts.version) + " \xC2\xB7 " + Html(facts.madeAt) + "</footer>\n";
    out += "</main>\n";
    out += std::string("<script>//<![CDATA[") + Script + "//]]></script>\n</body>\n</html>\n";
    return out;
}

}
