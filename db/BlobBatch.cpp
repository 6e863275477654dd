// The texts of a blob column come as the stored bytes in a select nested around the owner's own.
#include "db/BlobBatch.h"
#include "db/CellValues.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/NamedParams.h"
#include "db/Query.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

bool BlobBatch::Fits(const Query& owner, const Column& info)
{
    const std::string& name = info.name;
    const bool plainName = !name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
                           std::all_of(name.begin(), name.end(), [](char c) {
                               return std::isupper(static_cast<unsigned char>(c)) ||
                                      std::isdigit(static_cast<unsigned char>(c)) || c == '_' || c == '$';
                           });
    // The stored bytes come in the select itself, so the connection's character set does not
    // count for them.
    const bool storedBytes = owner.StoredBytes || !Converted(owner, info);
    // Rows matched by their key need no blob id that stays the same.
    const bool matched = ByRowKey(owner) || (info.fromTable && !(owner.StoredBytes && Converted(owner, info)));
    return plainName && matched && storedBytes && !owner.stmt_.Source().empty() && owner.connection_ &&
           owner.transaction_;
}

bool BlobBatch::ByRowKey(const Query& owner)
{
    return owner.StoredBytes && !owner.RowKey.empty();
}

bool BlobBatch::Converted(const Query& owner, const Column& info)
{
    const std::string charset = UpperName(owner.connection_ ? owner.connection_->CharacterSet : std::string());
    return info.subType == 1 && !charset.empty() && charset != "NONE";
}

void BlobBatch::Read(const Query& owner, std::size_t column)
{
    if (!tried_.insert(column).second)
        return;
    const Column& info = owner.rows_.Columns()[column];
    if (!Fits(owner, info)) {
        if (owner.StoredBytes && Converted(owner, info))
            throw DbError("The texts of " + info.name + " cannot be read as their stored bytes");
        return;
    }
    const std::string cell = "q." + info.name;
    const std::string from = "from (\n" + owner.stmt_.Source() + ") q where " + cell + " is not null";
    auto select = [&](std::vector<std::string> lines) {
        Query query(*owner.connection_, *owner.transaction_, std::move(lines));
        query.Dialect = owner.Dialect;
        query.params_ = owner.params_;
        return query;
    };
    std::int64_t longest = 0;
    {
        Query sizes = select({"select count(*), max(octet_length(" + cell + "))", from});
        try {
            sizes.Open();
        } catch (const DbError&) {
            // A select the server cannot nest; its blobs are read one by one, which reports any
            // error that is not about the nesting.
            if (owner.StoredBytes && Converted(owner, info))
                throw;
            return;
        }
        const std::int64_t count = sizes.AsInteger("COUNT");
        longest = sizes.AsInteger("MAX");
        sizes.Close();
        // One blob costs no more read alone, where stored bytes are not asked for.
        if (count == 0 || (count < 2 && !owner.StoredBytes))
            return;
    }
    // The texts come in the select itself, as the stored bytes, up to the longest of them; a
    // text longer than a row can carry is read as a blob of its own. The server sizes its
    // batches of rows by the longest row, hence no more room than needed.
    const std::int64_t kMostRoom = 32000;
    const std::string room = std::to_string(std::clamp<std::int64_t>(longest, 1, kMostRoom));
    const bool byKey = ByRowKey(owner);
    std::vector<std::string> lines = {"select " + (byKey ? "q." + owner.RowKey : cell) + ", case when octet_length(" +
                                          cell + ") <= " + room,
                                      "then cast(cast(" + cell + " as blob sub_type binary) as varchar(" + room +
                                          ") character set octets) end"};
    // Where stored bytes are asked for, a longer text comes as a binary blob of this select:
    // read alone, the stored blob would be converted.
    const bool longOnes = owner.StoredBytes && longest > kMostRoom;
    if (longOnes)
        lines.push_back(", case when octet_length(" + cell + ") > " + room + " then cast(" + cell +
                        " as blob sub_type binary) end");
    lines.push_back(from);
    Query texts = select(std::move(lines));
    // Each row is as wide as the longest text: held together, a few long sources would take
    // that room for every row.
    texts.ForwardOnly = true;
    texts.Open();
    std::unordered_map<std::string, std::string> keyed;
    for (; !texts.Eof(); texts.Next()) {
        std::string text;
        if (!texts.rows_.CellNull(texts.current_, 1)) {
            text = CellText(texts.rows_.Columns()[1], texts.rows_.Cell(texts.current_, 1));
        } else if (longOnes && !texts.rows_.CellNull(texts.current_, 2)) {
            text = texts.CellText(texts.current_, 2);
            ++longReads_;
        } else {
            continue;
        }
        if (byKey)
            keyed.emplace(texts.CellText(texts.current_, 0), std::move(text));
        else
            owner.blobs_.Keep(Load<ISC_QUAD>(texts.rows_.Cell(texts.current_, 0)), std::move(text));
    }
    texts.Close();
    if (byKey) {
        keyed_[column] = std::move(keyed);
        keyColumn_ = owner.rows_.ColumnNamed(owner.RowKey);
    }
}

void BlobBatch::Give(const Query& owner, std::size_t row, std::size_t column)
{
    auto texts = keyed_.find(column);
    if (texts == keyed_.end() || row >= owner.rows_.Count() || owner.rows_.CellNull(row, column))
        return;
    auto found = texts->second.find(owner.CellText(row, keyColumn_));
    if (found == texts->second.end())
        return;
    owner.blobs_.KeepCell(owner.rows_, row, column, std::move(found->second));
    texts->second.erase(found);
}
