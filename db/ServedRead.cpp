// The whole read's rows are grouped by key once; each open copies out one group.
#include "db/ServedRead.h"
#include "db/CellValues.h"
#include "db/DbError.h"
#include "db/NamedParams.h"
#include "db/Trim.h"

#include <algorithm>

namespace {

// NULL sorts first, as the server sorts ascending; a text compares as if padded with blanks.
int CompareCells(const RowBuffer& rows, std::size_t a, std::size_t b, std::size_t column)
{
    const bool nullA = rows.CellNull(a, column), nullB = rows.CellNull(b, column);
    if (nullA || nullB)
        return nullA == nullB ? 0 : (nullA ? -1 : 1);
    const Column& info = rows.Columns()[column];
    if (!info.isText) {
        const auto x = CellNumber(info, rows.Cell(a, column)), y = CellNumber(info, rows.Cell(b, column));
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const std::string x = TrimTrailingBlanks(CellText(info, rows.Cell(a, column)));
    const std::string y = TrimTrailingBlanks(CellText(info, rows.Cell(b, column)));
    const std::size_t length = std::max(x.size(), y.size());
    for (std::size_t i = 0; i < length; ++i) {
        const auto cx = static_cast<unsigned char>(i < x.size() ? x[i] : ' ');
        const auto cy = static_cast<unsigned char>(i < y.size() ? y[i] : ' ');
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    return 0;
}

}

ServedTable::ServedTable(RowBuffer rows, const ServedRead& how) : rows_(std::move(rows))
{
    std::vector<std::size_t> keyColumns;
    for (const auto& key : how.keys)
        keyColumns.push_back(rows_.ColumnNamed(key.first));
    for (const auto& column : how.order)
        orderColumns_.push_back(rows_.ColumnNamed(column));
    for (std::size_t row = 0; row < rows_.Count(); ++row) {
        std::vector<std::string> parts;
        bool anyNull = false;
        for (std::size_t column : keyColumns) {
            // NULL equals no parameter.
            anyNull = anyNull || rows_.CellNull(row, column);
            parts.push_back(KeyPart(CellText(rows_.Columns()[column], rows_.Cell(row, column))));
        }
        if (!anyNull)
            byKey_[Joined(parts)].push_back(row);
    }
}

std::string ServedTable::KeyPart(std::string text)
{
    return TrimTrailingBlanks(std::move(text));
}

std::string ServedTable::Joined(const std::vector<std::string>& parts)
{
    std::string key;
    for (const auto& part : parts) {
        key += std::to_string(part.size());
        key += ':';
        key += part;
    }
    return key;
}

std::vector<std::size_t> ServedTable::RowsOf(const std::vector<std::string>& parts) const
{
    auto found = byKey_.find(Joined(parts));
    if (found == byKey_.end())
        return {};
    std::vector<std::size_t> rows = found->second;
    if (!orderColumns_.empty())
        std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) {
            for (std::size_t column : orderColumns_) {
                const int order = CompareCells(rows_, a, b, column);
                if (order != 0)
                    return order < 0;
            }
            return false;
        });
    return rows;
}

void ServedTable::MarkChanged(const std::string& firstPart)
{
    changed_.insert(KeyPart(firstPart));
}

bool ServedTable::Changed(const std::vector<std::string>& parts) const
{
    return !parts.empty() && changed_.count(parts.front()) > 0;
}

std::string ServedRead::Name(unsigned short dialect) const
{
    std::string name = std::to_string(dialect) + "\n" + SelectText(whole);
    for (const auto& key : keys)
        name += "key " + key.first + "\n";
    for (const auto& column : order)
        name += "order " + column + "\n";
    return name;
}

std::vector<std::string> ServedRead::KeyOf(const ParamValues& params) const
{
    std::vector<std::string> parts;
    for (const auto& key : keys) {
        auto value = params.Text(UpperName(key.second));
        if (!value)
            throw DbError(FormatMessage("Parameter '%s' not found", key.second));
        parts.push_back(ServedTable::KeyPart(*value));
    }
    return parts;
}

ServedTable* ServedReads::Find(const ServedRead& how, unsigned short dialect) const
{
    auto found = tables_.find(how.Name(dialect));
    return found == tables_.end() ? nullptr : found->second.get();
}

ServedTable& ServedReads::Keep(const ServedRead& how, unsigned short dialect, RowBuffer rows)
{
    auto table = std::make_unique<ServedTable>(std::move(rows), how);
    return *(tables_[how.Name(dialect)] = std::move(table));
}

void ServedReads::MarkChanged(const ServedRead& how, unsigned short dialect, const std::string& firstPart)
{
    if (ServedTable* table = Find(how, dialect))
        table->MarkChanged(firstPart);
}
