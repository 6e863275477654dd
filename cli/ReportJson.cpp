// nlohmann's JSON holds and writes every value; the layout of one field, warning or finding per
// line is ours, because diff tools and people read the file too.
#include "cli/ReportJson.h"
#include "review/Utf8.h"

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

std::string Inner(const std::string& text, bool asciiOnly)
{
    const std::string literal = nlohmann::json(text).dump(-1, ' ', asciiOnly);
    return literal.substr(1, literal.size() - 2);
}

// On one line, with ", " and ": " between the parts; strings through JsonString.
std::string OneLine(const Json& value)
{
    if (value.is_string())
        return JsonString(value.get<std::string>());
    if (value.is_object()) {
        std::string text;
        for (const auto& [key, field] : value.items())
            text += (text.empty() ? "" : ", ") + JsonString(key) + ": " + OneLine(field);
        return "{" + text + "}";
    }
    if (value.is_array()) {
        std::string text;
        for (const auto& item : value)
            text += (text.empty() ? "" : ", ") + OneLine(item);
        return "[" + text + "]";
    }
    return value.dump();
}

Json Text(const std::string& text) { return text.empty() ? Json(nullptr) : Json(text); }
Json Count(long long n) { return n < 0 ? Json(nullptr) : Json(n); }

Json Side(const schema::SideInfo& side)
{
    Json json = Json::object();
    json["database"] = side.database;
    json["server"] = Text(side.serverVersion);
    json["ods"] = side.ods > 0 ? Json(side.ods) : Json(nullptr);
    json["dialect"] = side.dialect > 0 ? Json(side.dialect) : Json(nullptr);
    return json;
}

Json Finding(const schema::Finding& f)
{
    Json json = Json::object();
    json["type"] = schema::KindName(f.kind);
    json["name"] = f.name;
    json["message"] = f.message;
    const bool property = f.difference.property != schema::Property::None;
    json["property"] = property ? Json(f.difference.Name()) : Json(nullptr);
    json["old"] = property ? Json(f.difference.oldValue) : Json(nullptr);
    json["new"] = property ? Json(f.difference.newValue) : Json(nullptr);
    json["destructive"] = f.destructive;
    json["action"] = schema::FindingActionWord(f.plannedAction);
    json["rows"] = Count(f.rows);
    json["statements"] = f.statements;
    return json;
}

}

const char* RepairStateWord(schema::RepairOutcome::State state)
{
    using State = schema::RepairOutcome::State;
    switch (state) {
    case State::Committed: return "committed";
    case State::Refused: return "refused";
    case State::Declined: return "declined";
    case State::NotRun: return "not-run";
    }
    return "";
}

std::string JsonString(const std::string& text)
{
    // UTF-8 runs go out as they are; a stray byte as the \u escape of its Latin-1 character.
    std::string out = "\"";
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t length = review::Utf8Length(text, i)) {
            i += length;
            continue;
        }
        out += Inner(text.substr(run, i - run), false) + Inner(review::AsUtf8(text.substr(i, 1)), true);
        run = ++i;
    }
    return out + Inner(text.substr(run), false) + "\"";
}

std::vector<std::string> ReportJsonLines(const ReportRows& rows, const schema::Summary* details,
                                         const ReportFacts& facts)
{
    Json tool = Json::object();
    tool["name"] = "vorkat";
    tool["version"] = VORKAT_VERSION;
    Json summary = Json::object();
    Json warnings = Json::array();
    Json findings = Json::array();
    Json notMended = Json::array();
    if (details) {
        const schema::Counts counts = details->Count();
        summary["missing"] = counts.missing;
        summary["different"] = counts.different;
        summary["onlyInOld"] = counts.onlyInOld;
        summary["dropped"] = counts.dropped;
        summary["notMended"] = counts.notMended;
        summary["warnings"] = counts.warnings;
        summary["statements"] = counts.statements;
        for (const auto& w : details->warnings) {
            Json json = Json::object();
            json["code"] = w.code;
            json["severity"] = schema::SeverityWord(w.severity);
            json["type"] = schema::KindName(w.object.kind);
            json["name"] = w.object.name;
            json["message"] = w.message;
            warnings.push_back(std::move(json));
        }
        for (const auto& f : details->findings)
            findings.push_back(Finding(f));
        for (const auto& item : details->notMended) {
            Json json = Json::object();
            json["type"] = schema::KindName(item.object.kind);
            json["name"] = item.object.name;
            json["code"] = item.code;
            json["why"] = item.why;
            json["from"] = Text(item.from);
            json["to"] = Text(item.to);
            json["rows"] = Count(item.rows);
            json["option"] = Text(item.option);
            notMended.push_back(std::move(json));
        }
    } else {
        std::size_t missing = 0;
        for (const auto& row : rows.Rows()) {
            if (!IsFindingRow(row))
                continue;
            missing += row[2] == "not exist";
            Json json = Json::object();
            json["type"] = row[0];
            json["name"] = row[1];
            json["message"] = row[2];
            findings.push_back(std::move(json));
        }
        summary["missing"] = missing;
        summary["different"] = findings.size() - missing;
        summary["findings"] = findings.size();
    }

    std::vector<std::pair<std::string, Json>> fields{
        {"tool", tool},
        {"old", Side(facts.old)},
        {"new", Side(facts.neu)},
        {"mode", details ? "complete" : "checks"},
        {"summary", summary},
        {"warnings", warnings},
        {"findings", findings},
        {"notMended", notMended},
    };
    if (facts.repair) {
        Json repair = Json::object();
        repair["state"] = RepairStateWord(facts.repair->state);
        repair["statements"] = facts.repair->statements;
        repair["refusedAt"] = Text(facts.repair->refusedAt);
        repair["message"] = Text(facts.repair->message);
        fields.emplace_back("repair", std::move(repair));
    }
    std::vector<std::string> lines{"{"};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto& [key, value] = fields[i];
        const std::string comma = i + 1 < fields.size() ? "," : "";
        // A list with items gets a line for each.
        if (value.is_array() && !value.empty()) {
            lines.push_back("  " + JsonString(key) + ": [");
            for (std::size_t at = 0; at < value.size(); ++at)
                lines.push_back("    " + OneLine(value[at]) + (at + 1 < value.size() ? "," : ""));
            lines.push_back("  ]" + comma);
        } else {
            lines.push_back("  " + JsonString(key) + ": " + OneLine(value) + comma);
        }
    }
    lines.push_back("}");
    return lines;
}
