// nlohmann's JSON writes every value; the layout of one object per line is ours, because
// diff tools and people read the file too, and its bytes have stayed the same since the start.
#include "cli/ReportJson.h"
#include "review/Utf8.h"

#include <nlohmann/json.hpp>
#include <utility>

namespace {

std::string Inner(const std::string& text, bool asciiOnly)
{
    const std::string literal = nlohmann::json(text).dump(-1, ' ', asciiOnly);
    return literal.substr(1, literal.size() - 2);
}

using Fields = std::vector<std::pair<const char*, nlohmann::json>>;

std::string ObjectLine(const Fields& fields)
{
    std::string line = "  {";
    for (const auto& [key, value] : fields) {
        line += (line.size() > 3 ? ", " : "") + nlohmann::json(key).dump() + ": ";
        line += value.is_string() ? JsonString(value.get<std::string>()) : value.dump();
    }
    return line + "}";
}

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

std::vector<std::string> ReportJsonLines(const ReportRows& rows, const schema::Summary* details)
{
    // The rows of a pass follow its findings in order; a row between them, such as a safety
    // check's, has no detail.
    std::size_t next = 0;
    std::vector<std::string> found;
    for (const auto& row : rows.Rows()) {
        if (!IsFindingRow(row))
            continue;
        Fields fields{{"type", row[0]}, {"name", row[1]}, {"message", row[2]}};
        if (details) {
            for (std::size_t at = next; at < details->findings.size(); ++at) {
                const auto& f = details->findings[at];
                if (schema::KindName(f.kind) != row[0] || f.name != row[1] || f.message != row[2])
                    continue;
                if (f.difference.property != schema::Property::None) {
                    fields.emplace_back("property", f.difference.Name());
                    fields.emplace_back("old", f.difference.oldValue);
                    fields.emplace_back("new", f.difference.newValue);
                }
                fields.emplace_back("destructive", f.destructive);
                next = at + 1;
                break;
            }
        }
        found.push_back(ObjectLine(fields));
    }
    std::vector<std::string> lines{"["};
    for (std::size_t i = 0; i < found.size(); ++i)
        lines.push_back(found[i] + (i + 1 < found.size() ? "," : ""));
    lines.push_back("]");
    return lines;
}
