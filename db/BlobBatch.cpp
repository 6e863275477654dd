// The texts of a blob column come as the stored bytes in a select nested around the owner's own.
#include "db/BlobBatch.h"
#include "db/CellValues.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/NamedParams.h"
#include "db/Query.h"

#include <algorithm>
#include <cctype>

bool BlobBatch::Fits(const Query& owner, const Column& info)
{
    const std::string& name = info.name;
    const bool plainName = !name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
                           std::all_of(name.begin(), name.end(), [](char c) {
                               return std::isupper(static_cast<unsigned char>(c)) ||
                                      std::isdigit(static_cast<unsigned char>(c)) || c == '_' || c == '$';
                           });
    const std::string charset = UpperName(owner.connection_ ? owner.connection_->CharacterSet : std::string());
    const bool storedBytes = info.subType != 1 || charset.empty() || charset == "NONE";
    return plainName && info.fromTable && storedBytes && !owner.stmt_.Source().empty() && owner.connection_ &&
           owner.transaction_;
}

void BlobBatch::Read(const Query& owner, std::size_t column)
{
    if (!tried_.insert(column).second)
        return;
    const Column& info = owner.rows_.Columns()[column];
    if (!Fits(owner, info))
        return;
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
            return;
        }
        const std::int64_t count = sizes.AsInteger("COUNT");
        longest = sizes.AsInteger("MAX");
        sizes.Close();
        // One blob costs no more read alone.
        if (count < 2)
            return;
    }
    // The texts come in the select itself, as the stored bytes, up to the longest of them; a
    // text longer than a row can carry is read as a blob of its own. The server sizes its
    // batches of rows by the longest row, hence no more room than needed.
    const std::string room = std::to_string(std::clamp<std::int64_t>(longest, 1, 32000));
    Query texts = select({"select " + cell + ", case when octet_length(" + cell + ") <= " + room,
                          "then cast(cast(" + cell + " as blob sub_type binary) as varchar(" + room +
                              ") character set octets) end",
                          from});
    texts.Open();
    for (; !texts.Eof(); texts.Next()) {
        if (texts.rows_.CellNull(texts.current_, 1))
            continue;
        owner.blobs_.Keep(Load<ISC_QUAD>(texts.rows_.Cell(texts.current_, 0)),
                          CellText(texts.rows_.Columns()[1], texts.rows_.Cell(texts.current_, 1)));
    }
    texts.Close();
}
