// The diffs come from dtl; here they are only grouped into rows a reader scans side by side.
#include "review/SideBySide.h"
#include "data/DM.h"

#include <dtl/dtl.hpp>

namespace review {

namespace {

bool WordByte(unsigned char c)
{
    return c >= 0x80 || c == '_' || c == '$' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

bool Blank(unsigned char c) { return c == ' ' || c == '\t'; }

void Append(std::vector<Piece>& line, const std::string& text, bool marked)
{
    if (!line.empty() && line.back().marked == marked)
        line.back().text += text;
    else
        line.push_back({text, marked});
}

// A line without its partner: one piece, unmarked, since the whole row is coloured already.
std::vector<Piece> Whole(const std::string& line)
{
    return line.empty() ? std::vector<Piece>{} : std::vector<Piece>{{line, false}};
}

void WordDiff(const std::string& oldLine, const std::string& newLine, DiffRow& row)
{
    dtl::Diff<std::string, std::vector<std::string>> diff(Words(oldLine), Words(newLine));
    diff.compose();
    for (const auto& [word, info] : diff.getSes().getSequence()) {
        if (info.type != dtl::SES_ADD)
            Append(row.oldLine, word, info.type == dtl::SES_DELETE);
        if (info.type != dtl::SES_DELETE)
            Append(row.newLine, word, info.type == dtl::SES_ADD);
    }
}

// How much of two lines is the same, from 0 to 1, counted in words without the blanks.
double Likeness(const std::string& a, const std::string& b)
{
    auto solid = [](const std::string& line) {
        std::vector<std::string> words;
        for (auto& word : Words(line))
            if (!Blank(static_cast<unsigned char>(word[0])))
                words.push_back(std::move(word));
        return words;
    };
    const auto left = solid(a), right = solid(b);
    const auto total = static_cast<double>(left.size() + right.size());
    if (total == 0)
        return 1;
    dtl::Diff<std::string, std::vector<std::string>> diff(left, right);
    diff.onOnlyEditDistance();
    diff.compose();
    return (total - static_cast<double>(diff.getEditDistance())) / total;
}

// A stretch of removed and added lines between two common ones.
struct Stretch {
    std::vector<std::pair<int, std::string>> removed;
    std::vector<std::pair<int, std::string>> added;

    // Each removed line is paired with the first alike added line after the last pair, so
    // that a line put in between does not shift every pair after it. A large stretch, where
    // trying every pair costs too much, is paired in order.
    void FlushInto(std::vector<DiffRow>& rows)
    {
        constexpr std::size_t MostTries = 400;
        constexpr double Alike = 0.5;
        const bool inOrder = removed.size() * added.size() > MostTries;
        std::size_t nextAdded = 0;
        for (std::size_t i = 0; i < removed.size(); ++i) {
            std::size_t match = added.size();
            if (inOrder)
                match = nextAdded < added.size() ? nextAdded : added.size();
            else
                for (std::size_t j = nextAdded; j < added.size() && match == added.size(); ++j)
                    if (Likeness(removed[i].second, added[j].second) >= Alike)
                        match = j;
            if (match == added.size()) {
                rows.push_back(Alone(RowKind::Removed, removed[i]));
                continue;
            }
            for (; nextAdded < match; ++nextAdded)
                rows.push_back(Alone(RowKind::Added, added[nextAdded]));
            DiffRow row;
            row.kind = RowKind::Changed;
            row.oldNumber = removed[i].first;
            row.newNumber = added[match].first;
            WordDiff(removed[i].second, added[match].second, row);
            rows.push_back(std::move(row));
            nextAdded = match + 1;
        }
        for (; nextAdded < added.size(); ++nextAdded)
            rows.push_back(Alone(RowKind::Added, added[nextAdded]));
        removed.clear();
        added.clear();
    }

    static DiffRow Alone(RowKind kind, const std::pair<int, std::string>& line)
    {
        DiffRow row;
        row.kind = kind;
        if (kind == RowKind::Removed) {
            row.oldNumber = line.first;
            row.oldLine = Whole(line.second);
        } else {
            row.newNumber = line.first;
            row.newLine = Whole(line.second);
        }
        return row;
    }
};

}

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const auto c = static_cast<unsigned char>(line[at]);
        std::size_t end = at + 1;
        if (WordByte(c))
            while (end < line.size() && WordByte(static_cast<unsigned char>(line[end])))
                ++end;
        else if (Blank(c))
            while (end < line.size() && Blank(static_cast<unsigned char>(line[end])))
                ++end;
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

std::vector<DiffRow> SideBySide(const std::string& oldText, const std::string& newText)
{
    // Removals first within a stretch, so that each pairs with the addition that replaced it.
    dtl::Diff<std::string, std::vector<std::string>> diff(SplitLines(oldText), SplitLines(newText), true);
    diff.compose();
    std::vector<DiffRow> rows;
    Stretch stretch;
    for (const auto& [line, info] : diff.getSes().getSequence()) {
        if (info.type == dtl::SES_DELETE) {
            stretch.removed.emplace_back(static_cast<int>(info.beforeIdx), line);
        } else if (info.type == dtl::SES_ADD) {
            stretch.added.emplace_back(static_cast<int>(info.afterIdx), line);
        } else {
            stretch.FlushInto(rows);
            DiffRow row;
            row.oldNumber = static_cast<int>(info.beforeIdx);
            row.newNumber = static_cast<int>(info.afterIdx);
            row.oldLine = Whole(line);
            row.newLine = Whole(line);
            rows.push_back(std::move(row));
        }
    }
    stretch.FlushInto(rows);
    return rows;
}

}
