#include "schema/Summary.h"

#include <cctype>
#include <chrono>
#include <ctime>
#include <regex>
#include <set>

namespace schema {

const char* FindingActionWord(FindingAction action)
{
    switch (action) {
    case FindingAction::Create: return "create";
    case FindingAction::Alter: return "alter";
    case FindingAction::Rebuild: return "rebuild";
    case FindingAction::Drop: return "drop";
    case FindingAction::Skip: return "skip";
    }
    return "";
}

const char* SeverityWord(Severity severity)
{
    switch (severity) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Notice: return "notice";
    }
    return "";
}

const std::vector<WarningCode>& WarningCodes()
{
    static const std::vector<WarningCode> codes{
        {"would-fail", "Old's rows would make a statement of the plan fail; a repair stops unless forced"},
        {"would-cut", "a new type would cut or round values that Old's rows hold"},
        {"drops-data", "an object that --drop drops holds rows or a value"},
        {"data-migration", "--force migrates a column's values in steps committed before the one transaction"},
        {"not-mended", "a difference the plan leaves as it is; the item's own code tells why"},
        {"filtered-out", "a statement of the plan uses an object that --include or --exclude leaves out"},
    };
    return codes;
}

Counts Summary::Count() const
{
    Counts counts;
    std::set<ObjectId> missing, different, only;
    for (const auto& f : findings) {
        switch (f.action) {
        case Action::Create: missing.insert(f.Object()); break;
        case Action::Alter: different.insert(f.Object()); break;
        case Action::OnlyInOld:
            if (only.insert(f.Object()).second && f.plannedAction == FindingAction::Drop)
                ++counts.dropped;
            break;
        }
    }
    counts.missing = missing.size();
    counts.different = different.size();
    counts.onlyInOld = only.size();
    counts.notMended = notMended.size();
    counts.warnings = warnings.size();
    counts.statements = plan.steps.size();
    for (const auto& m : plan.migrations)
        counts.statements += m.add.size() + m.copy.size() + m.restore.size();
    return counts;
}

std::vector<const Finding*> Summary::FindingsOf(const ObjectId& object) const
{
    std::vector<const Finding*> found;
    for (const auto& f : findings)
        if (f.Object() == object)
            found.push_back(&f);
    return found;
}

namespace {

std::string Side(const SideInfo& side)
{
    std::string text = CommentSafe(side.database) + " (";
    if (!side.serverVersion.empty())
        text += CommentSafe(side.serverVersion) + ", ";
    return text + "ODS " + std::to_string(side.ods) + ", dialect " + std::to_string(side.dialect) + ")";
}

// Names the server gave constraints and their indices, that the plan's statements use: another
// copy of the database gave them others.
std::set<std::string> ServerNames(const Plan& plan)
{
    static const std::regex serverNamed(R"((INTEG_[0-9]+|RDB\$(PRIMARY|FOREIGN)?[0-9]+)([^A-Z0-9_$]|$))");
    std::set<std::string> names;
    for (const auto& step : plan.steps) {
        if (step.object.kind != ObjectKind::Constraint && step.object.kind != ObjectKind::Index)
            continue;
        for (std::sregex_iterator it(step.sql.begin(), step.sql.end(), serverNamed), end; it != end; ++it) {
            const auto at = static_cast<std::size_t>(it->position(1));
            const char before = at == 0 ? ' ' : step.sql[at - 1];
            if (!std::isalnum(static_cast<unsigned char>(before)) && before != '_' && before != '$')
                names.insert((*it)[1].str());
        }
    }
    return names;
}

std::string Plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}

std::string NowText()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &utc);
    return text;
}

std::string CountsText(const Counts& c)
{
    std::string text = std::to_string(c.missing) + " missing, " + std::to_string(c.different) + " different, " +
                       std::to_string(c.onlyInOld) + " only in Old";
    if (c.dropped > 0)
        text += " (" + std::to_string(c.dropped) + " dropped)";
    text += ", " + std::to_string(c.notMended) + " not mended, " + Plural(c.warnings, "warning", "warnings") + "; " +
            Plural(c.statements, "statement", "statements");
    return text;
}

std::string ScriptHeader(const Summary& summary, const ScriptFacts& facts)
{
    std::string text = "/* Written by Vorkat " + CommentSafe(facts.version) + " on " + CommentSafe(facts.madeAt) + "\n";
    text += "   Old: " + Side(summary.old) + "\n";
    text += "   New: " + Side(summary.neu) + "\n";
    text += "   " + CountsText(summary.Count()) + "\n";
    const auto names = ServerNames(summary.plan);
    if (!names.empty()) {
        std::string list;
        for (const auto& name : names)
            list += (list.empty() ? "" : ", ") + name;
        text += "   Old's server named " + list + ": such names are this Old Database's own, so this script\n"
                "   is for it alone; another copy of it needs a script of its own.\n";
    }
    return text + "*/\n";
}

}
