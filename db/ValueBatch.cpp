// The subqueries of one select are bounded by the server's limits on a statement's length and
// on its contexts (256), so a long list is asked in parts.
#include "db/ValueBatch.h"
#include "db/Query.h"

#include <algorithm>
#include <cctype>

namespace {

// Below the 64 KB a statement's text may take and the 256 contexts it may open.
constexpr std::size_t kMostText = 48000;
constexpr std::size_t kMostContexts = 200;

// The contexts a select takes, roughly: two per FROM and JOIN, one for the table and one for
// what COUNT or GROUP BY make of it.
std::size_t Contexts(const std::string& select)
{
    std::string upper = select;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::size_t count = 0;
    for (const char* word : {" FROM ", " JOIN "})
        for (std::size_t at = upper.find(word); at != std::string::npos; at = upper.find(word, at + 1))
            ++count;
    return 2 * std::max<std::size_t>(count, 1);
}

}

void ValueBatch::Read(const std::vector<std::string>& selects)
{
    std::vector<std::string> part;
    std::size_t text = 0, contexts = 0;
    for (const auto& select : selects) {
        if (values_.count(select) || errors_.count(select) ||
            std::find(part.begin(), part.end(), select) != part.end())
            continue;
        const std::size_t s = Contexts(select);
        if (!part.empty() && (text + select.size() + 16 > kMostText || contexts + s > kMostContexts)) {
            ReadPart(part);
            part.clear();
            text = contexts = 0;
        }
        part.push_back(select);
        text += select.size() + 16;
        contexts += s;
    }
    if (!part.empty())
        ReadPart(part);
}

void ValueBatch::ReadPart(const std::vector<std::string>& part)
{
    if (part.size() == 1) {
        ReadAlone(part.front());
        return;
    }
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < part.size(); ++i)
        lines.push_back(std::string(i ? ", " : "SELECT ") + "(" + part[i] + ") AS V" + std::to_string(i));
    lines.push_back("FROM RDB$DATABASE");
    Query query(connection_, transaction_, std::move(lines));
    query.Dialect = dialect_;
    try {
        query.Open();
        std::vector<std::int64_t> values;
        for (std::size_t i = 0; i < part.size(); ++i)
            values.push_back(query.AsInteger("V" + std::to_string(i)));
        query.Close();
        for (std::size_t i = 0; i < part.size(); ++i)
            values_[part[i]] = values[i];
    } catch (const DbError&) {
        // One of them fails (a CHECK that cannot be tried, a subquery of more than one row), or
        // the whole is more than the server takes: halves are asked, down to each alone, which
        // says which one fails as it would have without the others.
        query.Close();
        const auto half = part.begin() + static_cast<std::ptrdiff_t>(part.size() / 2);
        ReadPart({part.begin(), half});
        ReadPart({half, part.end()});
    }
}

void ValueBatch::ReadAlone(const std::string& select)
{
    Query query(connection_, transaction_, {select});
    query.Dialect = dialect_;
    try {
        query.Open();
        const std::int64_t value = query.Eof() ? 0 : query.AsInteger("N");
        query.Close();
        values_[select] = value;
    } catch (const DbError& error) {
        errors_.emplace(select, error);
    }
}

std::optional<std::int64_t> ValueBatch::Find(const std::string& select) const
{
    if (auto error = errors_.find(select); error != errors_.end())
        throw error->second;
    if (auto value = values_.find(select); value != values_.end())
        return value->second;
    return std::nullopt;
}
