// The review report of a real pair: both sources of a changed procedure side by side with
// the changed words marked, every text escaped, the warnings by code linked to their findings,
// what the plan does to each finding, and the page well-formed for an XML parser.
#include "data/Files.h"
#include "review/HtmlReport.h"
#include "schema/CompleteEngine.h"
#include "tests/support/TestDb.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <regex>
#include <set>
#include <sys/wait.h>

namespace {

struct Command {
    int status = -1;
    std::string output;
};

Command RunCommand(const std::string& command)
{
    Command result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer{};
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The number of the line in a definition, as the side-by-side table counts it.
std::string LineNumber(const std::string& text, const std::string& line)
{
    const auto lines = SplitLines(text);
    return std::to_string(std::find(lines.begin(), lines.end(), line) - lines.begin() + 1);
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The lines of the page from the first that starts with head up to the next that is last.
std::vector<std::string> LinesFrom(const std::vector<std::string>& lines, const std::string& head, const std::string& last)
{
    const auto from = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(head, 0) == 0; });
    const auto to = std::find(from, lines.end(), last);
    return to == lines.end() ? std::vector<std::string>{} : std::vector<std::string>(from, to + 1);
}

// The targets of the page's own links ("#f-table-T") that no element has as its id.
std::vector<std::string> LinksWithoutTarget(const std::string& html)
{
    static const std::regex id(R"re( id="([^"]*)")re"), link(R"re( href="#([^"]*)")re");
    std::set<std::string> ids;
    for (std::sregex_iterator it(html.begin(), html.end(), id), end; it != end; ++it)
        ids.insert((*it)[1].str());
    std::vector<std::string> missing;
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
        if (!ids.count((*it)[1].str()))
            missing.push_back((*it)[1].str());
    return missing;
}

// The page kept as a file of the test, and what xmllint says of it: nothing when well-formed.
Command CheckedAsXml(const std::string& html)
{
    const std::string file = TestFolder() + "/" + CurrentTestName() + ".html";
    ReplaceFile(file, html);
    return RunCommand(std::string(XMLLINT_PATH) + " --noout '" + file + "'");
}

std::string Procedure(const std::string& body)
{
    return "SET TERM ^; CREATE PROCEDURE P (X INTEGER) RETURNS (Y INTEGER) AS\nBEGIN\n" + body + "END^ SET TERM ;^\n";
}

}

class ReviewReport : public PairTest {
protected:
    // One pass of the complete comparison in script mode, as the command line makes it.
    const schema::Summary& Pass(bool drop)
    {
        Connect();
        RunMode(false);
        engine_ = std::make_unique<schema::CompleteEngine>(schema::CompleteOptions{.drop = drop});
        NoSteps steps;
        engine_->Pass(PassContext{DM.OldDB, DM.NewDB, false, true}, Rep, Bar, steps);
        Disconnect();
        return engine_->LastSummary();
    }
    // A pair of dialect 3, for names that only quotes allow.
    void MakePair3(const std::string& oldSql, const std::string& newSql)
    {
        OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old", oldSql, 3);
        NewDb = std::make_unique<TestDb>(CurrentTestName() + "_new", newSql, 3);
    }

private:
    std::unique_ptr<schema::CompleteEngine> engine_;
};

TEST_F(ReviewReport, ShowsBothSourcesOfAChangedProcedureMarkedAndIsWellFormed)
{
    MakePair("CREATE GENERATOR G_OLD;\n" + Procedure("  Y = X + 1;\n  SUSPEND;\n"),
             "CREATE GENERATOR G_NEW;\n" + Procedure("  Y = X + 2;\n  SUSPEND;\n  /* a<b & \"c\" */\n"));
    const schema::Summary& summary = Pass(false);
    std::vector<std::string> found;
    for (const auto& f : summary.findings)
        found.push_back(std::string(schema::KindName(f.kind)) + " " + f.name + " " + f.difference.Name());
    ASSERT_EQ(found, (std::vector<std::string>{"GENERATOR G_NEW ", "PROCEDURE P source", "GENERATOR G_OLD "}));

    const std::string html = review::HtmlReport(summary, {"2024-01-02 03:04 UTC", "9.9.9"});
    const auto lines = SplitLines(html);
    const auto& p = summary.findings[1];
    const std::string changed = LineNumber(p.oldDefinition, "  Y = X + 1;");
    ASSERT_EQ(LineNumber(p.newDefinition, "  Y = X + 2;"), changed);
    const std::string next = std::to_string(std::stoi(changed) + 1);
    const std::string added = std::to_string(std::stoi(changed) + 2);
    for (const std::string& line : std::vector<std::string>{
             "<p class=\"made\">Made 2024-01-02 03:04 UTC by Vorkat 9.9.9</p>",
             // Objects by kind; an Old-only object that the plan leaves alone is kept, not dropped.
             "<li class=\"k-missing\"><a href=\"#g-missing\"><b>1</b> <span>missing</span></a></li>",
             "<li class=\"k-different\"><a href=\"#g-different\"><b>1</b> <span>different</span></a></li>",
             "<li class=\"k-dropped zero\"><b>0</b> <span>dropped</span></li>",
             "<li class=\"k-kept\"><a href=\"#g-kept\"><b>1</b> <span>kept</span></a></li>",
             "<p class=\"tally\">1 missing, 1 different, 1 only in Old, 0 not mended, 0 warnings; 2 statements</p>",
             // Each kind folds; without script every part stays open. Its total is where the
             // filter's counts start from.
             "<details open=\"open\" class=\"group k-different\" id=\"g-different\" data-kind=\"different\" data-total=\"1\">",
             "<summary>Different <span class=\"n\">1</span></summary>",
             "<tr data-find=\"different alter PROCEDURE P source\" data-object=\"procedure-P\"><td class=\"kind\">"
             "<span class=\"badge k-different\">different</span></td><td class=\"type\">PROCEDURE</td>"
             "<td class=\"name\"><a href=\"#f-procedure-P--source\">P</a></td><td class=\"plan\"><span class=\"act\">alter"
             "</span></td><td class=\"what\"><span class=\"prop\">source</span> differs</td></tr>",
             "<tr data-find=\"missing create GENERATOR G_NEW\" data-object=\"generator-G_NEW\"><td class=\"kind\">"
             "<span class=\"badge k-missing\">missing</span></td><td class=\"type\">GENERATOR</td>"
             "<td class=\"name\"><a href=\"#f-generator-G_NEW\">G_NEW</a></td><td class=\"plan\"><span class=\"act\">create"
             "</span></td><td class=\"what\">not in Old: created</td></tr>",
             "<tr data-find=\"kept skip GENERATOR G_OLD\" data-object=\"generator-G_OLD\"><td class=\"kind\">"
             "<span class=\"badge k-kept\">kept</span></td><td class=\"type\">GENERATOR</td>"
             "<td class=\"name\"><a href=\"#f-generator-G_OLD\">G_OLD</a></td><td class=\"plan\"><span class=\"act\">skip"
             "</span></td><td class=\"what\">only in Old: kept</td></tr>",
             // Each finding's detail has an id made of its object, and of its property where it has one.
             "<details open=\"open\" class=\"finding k-different\" id=\"f-procedure-P--source\" "
             "data-find=\"different alter PROCEDURE P source\">",
             "<summary><span class=\"badge k-different\">different</span> <span class=\"type\">PROCEDURE</span> "
             "<span class=\"name\">P</span> <span class=\"prop\">source</span> <span class=\"act\">alter</span></summary>",
             "<summary><span class=\"badge k-kept\">kept</span> <span class=\"type\">GENERATOR</span> "
             "<span class=\"name\">G_OLD</span> <span class=\"act\">skip</span></summary>",
             // The changed line with its changed word on each side, then a line both have, then New's own.
             "<tr class=\"chg\"><td class=\"ln\">" + changed + "</td><td class=\"old\">  Y = X + <del>1</del>;</td>"
             "<td class=\"ln\">" + changed + "</td><td class=\"new\">  Y = X + <ins>2</ins>;</td></tr>",
             "<tr class=\"same\"><td class=\"ln\">" + next + "</td><td class=\"old\">  SUSPEND;</td>"
             "<td class=\"ln\">" + next + "</td><td class=\"new\">  SUSPEND;</td></tr>",
             "<tr class=\"add\"><td class=\"ln\"></td><td class=\"gap\"></td><td class=\"ln\">" + added +
                 "</td><td class=\"new\">  /* a&lt;b &amp; &quot;c&quot; */</td></tr>",
         })
        EXPECT_TRUE(HasLine(lines, line)) << line;
    // Below about 700 pixels a line both sides have is shown once, Old's side of a changed line
    // above New's.
    EXPECT_TRUE(HasLine(lines, "@media (max-width:700px){"));
    EXPECT_TRUE(HasLine(lines, ".diff tr{display:grid;grid-template-columns:2.6em minmax(0,1fr)}"));
    EXPECT_TRUE(HasLine(lines, ".diff td.gap,.diff tr.same td.ln:nth-child(3),.diff tr.same td.new,.diff tr.add "
                               "td.ln:first-child,.diff tr.del td.ln:nth-child(3){display:none}"));
    // No warnings, no part for them.
    EXPECT_EQ(html.find("class=\"warnings\""), std::string::npos);
    // The plan runs New's source, escaped like every other text.
    EXPECT_NE(html.find("  Y = X + 2;\n  SUSPEND;\n  /* a&lt;b &amp; &quot;c&quot; */\nEND"), std::string::npos);
    EXPECT_EQ(html.find("a<b"), std::string::npos);

    EXPECT_EQ(LinksWithoutTarget(html), std::vector<std::string>{});
    const Command parsed = CheckedAsXml(html);
    EXPECT_EQ(parsed.output, "");
    EXPECT_EQ(parsed.status, 0);
}

TEST_F(ReviewReport, EachWarningShowsItsSeverityAndLinksToItsFindingWhichSaysWhatThePlanDoes)
{
    MakePair3("CREATE TABLE GONE (A INTEGER); INSERT INTO GONE VALUES (1); INSERT INTO GONE VALUES (2);\n"
              "CREATE TABLE T (ID INTEGER, A INTEGER, S TIMESTAMP, B VARCHAR(10));\n"
              "INSERT INTO T VALUES (1, 100000000, '2024-05-06 13:14:15', 'long text');\n",
              "CREATE TABLE T (ID INTEGER, A NUMERIC(9,2), S DATE, B VARCHAR(3));\n"
              "CREATE TABLE \"New items\" (ID INTEGER);\n");
    const schema::Summary& summary = Pass(true);
    const std::string html = review::HtmlReport(summary, {"2024-01-02 03:04 UTC", "9.9.9"});
    const auto lines = SplitLines(html);

    // Few warnings: open on the first screen, by code in the order the codes are listed, each
    // with its severity and its object linked to the object's finding.
    EXPECT_EQ(LinesFrom(lines, "<details class=\"warnings\"", "</details>"),
              (std::vector<std::string>{
                  "<details class=\"warnings\" id=\"warnings\" open=\"open\">",
                  "<summary><span class=\"wt\">Warnings</span> <span class=\"n\">6</span> <span class=\"sev s-error\">2 "
                  "errors</span> <span class=\"sev s-warning\">4 warnings</span></summary>",
                  "<details class=\"wgroup\" id=\"w-would-fail\" open=\"open\">",
                  "<summary><code>would-fail</code> <span class=\"n\">2</span> <span class=\"meaning\">Old&#39;s rows would "
                  "make a statement of the plan fail; a repair stops unless forced</span></summary>",
                  "<ul>",
                  "<li><span class=\"sev s-error\">error</span> <a class=\"obj\" href=\"#f-field-T.A--type\">FIELD T.A</a>: "
                  "would fail: 1 row of T has A out of the range of NUMERIC(9, 2)</li>",
                  "<li><span class=\"sev s-error\">error</span> <a class=\"obj\" href=\"#f-field-T.B--type\">FIELD T.B</a>: "
                  "would fail: 1 row of T has B longer than 3 characters</li>",
                  "</ul>",
                  "</details>",
              }));
    for (const std::string& line : std::vector<std::string>{
             "<li><span class=\"sev s-warning\">warning</span> <a class=\"obj\" href=\"#f-field-T.S--type\">FIELD T.S</a>: "
             "would cut: 1 row of T has a time of day in S</li>",
             "<li><span class=\"sev s-warning\">warning</span> <a class=\"obj\" href=\"#f-table-GONE\">TABLE GONE</a>: "
             "destructive: drops it with 2 rows</li>",
             "<li><span class=\"sev s-warning\">warning</span> <a class=\"obj\" href=\"#f-field-T.A--type\">FIELD T.A</a>: "
             "not mended: needs a data migration: 1 row of T</li>",
             "<li><span class=\"sev s-warning\">warning</span> <a class=\"obj\" href=\"#f-field-T.B--type\">FIELD T.B</a>: "
             "not mended: needs a data migration: 1 row of T</li>",
             // An Old-only object that the plan drops is red, and its action too: it loses data.
             "<tr data-find=\"dropped drop destructive TABLE GONE\" data-object=\"table-GONE\"><td class=\"kind\">"
             "<span class=\"badge k-dropped\">dropped</span></td><td class=\"type\">TABLE</td>"
             "<td class=\"name\"><a href=\"#f-table-GONE\">GONE</a></td><td class=\"plan\"><span class=\"act danger\" "
             "title=\"can lose data\">drop</span></td><td class=\"what\">only in Old: dropped</td></tr>",
             "<summary><span class=\"badge k-dropped\">dropped</span> <span class=\"type\">TABLE</span> "
             "<span class=\"name\">GONE</span> <span class=\"act danger\" title=\"can lose data\">drop</span> "
             "<span class=\"badge danger\">can lose data</span></summary>",
             "<p class=\"held\">It holds 2 rows in Old.</p>",
             // A name in quotes keeps its id to letters, digits and escapes.
             "<details open=\"open\" class=\"finding k-missing\" id=\"f-table-New~20items\" "
             "data-find=\"missing create TABLE New items\">",
             // The detail names the warnings about its object, and what is left with what mends it.
             "<details open=\"open\" class=\"finding k-different\" id=\"f-field-T.A--type\" "
             "data-find=\"different skip FIELD T.A type\">",
             "<li><span class=\"sev s-error\">error</span> <code>would-fail</code> would fail: 1 row of T has A out of "
             "the range of NUMERIC(9, 2)</li>",
             "<li><span class=\"sev s-warning\">warning</span> <code>not-mended</code> <code>needs-data-migration</code> "
             "needs a data migration: 1 row of T <code class=\"ov\">INTEGER</code> \xE2\x86\x92 <code class=\"nv\">"
             "NUMERIC(9, 2)</code>; <code>--force</code> mends it</li>",
             "<p class=\"tally\">" + schema::CountsText(summary.Count()) + "</p>",
         })
        EXPECT_TRUE(HasLine(lines, line)) << line;

    EXPECT_EQ(LinksWithoutTarget(html), std::vector<std::string>{});
    const Command parsed = CheckedAsXml(html);
    EXPECT_EQ(parsed.output, "");
    EXPECT_EQ(parsed.status, 0);
}

TEST_F(ReviewReport, ManyWarningsFoldBehindTheirCountsAndAnOldOnlyObjectWithoutDropIsKept)
{
    std::string oldSql;
    for (int i = 1; i <= 9; ++i)
        oldSql += "CREATE TABLE GONE_" + std::to_string(i) + " (A INTEGER); INSERT INTO GONE_" + std::to_string(i) +
                  " VALUES (" + std::to_string(i) + ");\n";
    MakePair(oldSql, "CREATE TABLE T (A INTEGER);\n");
    const std::string dropped = review::HtmlReport(Pass(true), {"2024-01-02 03:04 UTC", "9.9.9"});
    const auto lines = SplitLines(dropped);
    for (const std::string& line : std::vector<std::string>{
             // Nine are more than the first screen takes: folded, with their count.
             "<details class=\"warnings\" id=\"warnings\">",
             "<summary><span class=\"wt\">Warnings</span> <span class=\"n\">9</span> <span class=\"sev s-warning\">9 "
             "warnings</span></summary>",
             "<details class=\"wgroup\" id=\"w-drops-data\" open=\"open\">",
             "<li><span class=\"sev s-warning\">warning</span> <a class=\"obj\" href=\"#f-table-GONE_9\">TABLE GONE_9</a>: "
             "destructive: drops it with 1 row</li>",
             "<li class=\"k-dropped\"><a href=\"#g-dropped\"><b>9</b> <span>dropped</span></a></li>",
             "<li class=\"k-kept zero\"><b>0</b> <span>kept</span></li>",
         })
        EXPECT_TRUE(HasLine(lines, line)) << line;
    EXPECT_EQ(LinksWithoutTarget(dropped), std::vector<std::string>{});

    // Without --drop the same tables are kept: no warning, a neutral badge, nothing run.
    const std::string kept = review::HtmlReport(Pass(false), {"2024-01-02 03:04 UTC", "9.9.9"});
    const auto keptLines = SplitLines(kept);
    for (const std::string& line : std::vector<std::string>{
             "<li class=\"k-dropped zero\"><b>0</b> <span>dropped</span></li>",
             "<li class=\"k-kept\"><a href=\"#g-kept\"><b>9</b> <span>kept</span></a></li>",
             "<summary><span class=\"badge k-kept\">kept</span> <span class=\"type\">TABLE</span> "
             "<span class=\"name\">GONE_1</span> <span class=\"act\">skip</span></summary>",
         })
        EXPECT_TRUE(HasLine(keptLines, line)) << line;
    EXPECT_EQ(kept.find("class=\"warnings\""), std::string::npos);
    const Command parsed = CheckedAsXml(dropped);
    EXPECT_EQ(parsed.output, "");
    EXPECT_EQ(parsed.status, 0);
}
