// The review report of a real pair: both sources of a changed procedure side by side with
// the changed words marked, every text escaped, and the page well-formed for an XML parser.
#include "data/Files.h"
#include "review/HtmlReport.h"
#include "schema/CompleteEngine.h"
#include "tests/support/TestDb.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace {

class NoSteps : public StepSink {
public:
    void BeginStep(const std::string&) override {}
    void EndStep() override {}
    void EndPass() override {}
};

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

std::string Procedure(const std::string& body)
{
    return "SET TERM ^; CREATE PROCEDURE P (X INTEGER) RETURNS (Y INTEGER) AS\nBEGIN\n" + body + "END^ SET TERM ;^\n";
}

}

class ReviewReport : public PairTest {};

TEST_F(ReviewReport, ShowsBothSourcesOfAChangedProcedureMarkedAndIsWellFormed)
{
    MakePair("CREATE GENERATOR G_OLD;\n" + Procedure("  Y = X + 1;\n  SUSPEND;\n"),
             "CREATE GENERATOR G_NEW;\n" + Procedure("  Y = X + 2;\n  SUSPEND;\n  /* a<b & \"c\" */\n"));
    Connect();
    RunMode(false);
    schema::CompleteEngine engine;
    NoSteps steps;
    engine.Pass(PassContext{DM.OldDB, DM.NewDB, false, true}, Rep, Bar, steps);
    Disconnect();
    const schema::Summary& summary = engine.LastSummary();
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
             "<li class=\"k-missing\"><a href=\"#g-missing\"><b>1</b> <span>missing</span></a></li>",
             "<li class=\"k-different\"><a href=\"#g-different\"><b>1</b> <span>different</span></a></li>",
             "<li class=\"k-only\"><a href=\"#g-only\"><b>1</b> <span>only in Old</span></a></li>",
             // Each kind folds; without script every part stays open.
             "<details open=\"open\" class=\"group k-different\" id=\"g-different\">",
             "<tr data-find=\"different PROCEDURE P source\"><td><span class=\"badge k-different\">different</span></td>"
             "<td class=\"type\">PROCEDURE</td><td class=\"name\"><a href=\"#f2\">P</a></td>"
             "<td><span class=\"prop\">source</span> differs</td></tr>",
             // The changed line with its changed word on each side, then a line both have, then New's own.
             "<tr class=\"chg\"><td class=\"ln\">" + changed + "</td><td class=\"old\">  Y = X + <del>1</del>;</td>"
             "<td class=\"ln\">" + changed + "</td><td class=\"new\">  Y = X + <ins>2</ins>;</td></tr>",
             "<tr class=\"same\"><td class=\"ln\">" + next + "</td><td class=\"old\">  SUSPEND;</td>"
             "<td class=\"ln\">" + next + "</td><td class=\"new\">  SUSPEND;</td></tr>",
             "<tr class=\"add\"><td class=\"ln\"></td><td class=\"gap\"></td><td class=\"ln\">" + added +
                 "</td><td class=\"new\">  /* a&lt;b &amp; &quot;c&quot; */</td></tr>",
         })
        EXPECT_TRUE(HasLine(lines, line)) << line;
    // The plan runs New's source, escaped like every other text.
    EXPECT_NE(html.find("  Y = X + 2;\n  SUSPEND;\n  /* a&lt;b &amp; &quot;c&quot; */\nEND"), std::string::npos);
    EXPECT_EQ(html.find("a<b"), std::string::npos);

    const std::string file = TestFolder() + "/" + CurrentTestName() + ".html";
    ReplaceFile(file, html);
    const Command parsed = RunCommand(std::string(XMLLINT_PATH) + " --noout '" + file + "'");
    EXPECT_EQ(parsed.output, "");
    EXPECT_EQ(parsed.status, 0);
}
