// Blob texts read in one select per column reach the reader as their stored bytes, in NONE and
// UTF8 connections alike: long ones, multi-byte ones, NUL and CR LF included.
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "db/ValueBatch.h"
#include "schema/Inspect.h"
#include "tests/support/TestDb.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// Row 1 holds CR LF, NUL and "é" (C3 A9 in UTF8, E9 in WIN1252); row 2 a UTF8 text longer
// than a row can carry; row 3 none.
const char* Texts = R"(
CREATE TABLE B (ID INTEGER, U BLOB SUB_TYPE 1 CHARACTER SET UTF8, W BLOB SUB_TYPE 1 CHARACTER SET WIN1252);
INSERT INTO B VALUES (1, x'610D0A0062C3A9', x'E90D0A00');
INSERT INTO B VALUES (2, CAST(LPAD('', 40000, 'x') AS BLOB SUB_TYPE 1) || x'C3A9', x'E9');
INSERT INTO B VALUES (3, NULL, NULL);
COMMIT;
)";

const std::string kLongU = std::string(40000, 'x') + "\xC3\xA9";

// U and W of each row of Texts, as stored.
std::vector<std::pair<std::string, std::string>> ExpectedTexts()
{
    return {
        {std::string("a\r\n\0b\xC3\xA9", 7), std::string("\xE9\r\n\0", 4)},
        {kLongU, "\xE9"},
        {"", ""},
    };
}

class StoredBytesTest : public ::testing::TestWithParam<const char*> {
protected:
    void Open(const std::string& sql)
    {
        db = std::make_unique<TestDb>(CurrentTestName(), sql);
        connection.Params = {"user_name=SYSDBA", "password=x"};
        connection.SetDatabaseName(db->Path());
        connection.CharacterSet = GetParam();
        transaction.Params = {"read_committed", "rec_version", "nowait"};
        connection.Open();
    }

    // Every row of B with its key, its blobs as their stored bytes.
    Query TextsQuery()
    {
        Query query(connection, transaction, {"SELECT RDB$DB_KEY AS ROW_KEY, ID, U, W FROM B ORDER BY ID"});
        query.Dialect = 3;
        query.StoredBytes = true;
        query.RowKey = "ROW_KEY";
        return query;
    }

    std::unique_ptr<TestDb> db;
    Connection connection;
    Transaction transaction{connection};
};

TEST_P(StoredBytesTest, EveryBlobOfAStoredBytesQueryIsItsStoredBytes)
{
    Open(Texts);
    Query query = TextsQuery();
    query.Open();
    query.FetchAll();
    std::vector<std::pair<std::string, std::string>> texts;
    for (query.First(); !query.Eof(); query.Next())
        texts.push_back({query.AsString("U"), query.AsString("W")});
    // Two selects per column (sizes, texts): no blob of the column is read alone but the one
    // too long for a row.
    EXPECT_EQ(query.BlobsOpened(), 1u);
    query.Close();
    EXPECT_EQ(texts, ExpectedTexts());
}

// Walked forward only, a read holds one row at a time, and every text still comes as its
// stored bytes from the selects per column, rows fetched after them included.
TEST_P(StoredBytesTest, AForwardOnlyReadHoldsOneRowAndKeepsEveryText)
{
    Open(Texts);
    Query query = TextsQuery();
    query.ForwardOnly = true;
    query.Open();
    std::vector<std::pair<std::string, std::string>> texts;
    std::vector<int> held;
    for (; !query.Eof(); query.Next()) {
        held.push_back(query.RecordCount());
        texts.push_back({query.AsString("U"), query.AsString("W")});
        // Asked again, a cell gives the same text, not a second read.
        EXPECT_EQ(query.AsString("U"), texts.back().first);
    }
    EXPECT_EQ(query.BlobsOpened(), 1u);
    query.Close();
    EXPECT_EQ(texts, ExpectedTexts());
    EXPECT_EQ(held, (std::vector<int>{1, 1, 1}));
}

// Without a row key, only a connection that converts nothing can match texts to their rows.
TEST_P(StoredBytesTest, StoredBytesWithoutARowKeyAreRefusedWhereTheConnectionConverts)
{
    Open(Texts);
    Query query(connection, transaction, {"SELECT ID, W FROM B WHERE ID = 1"});
    query.Dialect = 3;
    query.StoredBytes = true;
    query.Open();
    if (std::string(GetParam()) == "UTF8")
        EXPECT_THROW(query.AsString("W"), DbError);
    else
        EXPECT_EQ(query.AsString("W"), std::string("\xE9\r\n\0", 4));
}

// A procedure's source over 32,765 bytes with CR LF and multi-byte text, comments in UTF-8,
// a default and a short procedure beside it: the model holds each byte as the catalog does.
TEST_P(StoredBytesTest, InspectKeepsSourcesDefaultsAndCommentsByteForByte)
{
    Open("CREATE TABLE T (ID INTEGER);\nCOMMIT;\n");
    const std::string longBody =
        "BEGIN\r\n  X = 1; /* Gr\xC3\xB6\xC3\x9F" "e " + std::string(33000, 'o') + " \xE2\x80\x94 */\r\n  SUSPEND;\r\nEND";
    const std::string shortBody = "BEGIN\r\n  X = 2; /* \xC3\xBC */\r\n  SUSPEND;\r\nEND";
    {
        // Made in UTF8, so that the catalog holds UTF-8 whatever the connection that reads it.
        Connection maker;
        maker.Params = connection.Params;
        maker.SetDatabaseName(db->Path());
        maker.CharacterSet = "UTF8";
        maker.Open();
        Transaction work(maker);
        work.StartTransaction();
        Statement statement(maker, work);
        for (const std::string& text :
             {"CREATE PROCEDURE P RETURNS (X INTEGER) AS\n" + longBody, "CREATE PROCEDURE Q RETURNS (X INTEGER) AS\n" + shortBody,
              std::string("ALTER TABLE T ADD C VARCHAR(10) CHARACTER SET UTF8 DEFAULT '\xC3\xA4\xE2\x82\xAC'"),
              std::string("COMMENT ON PROCEDURE P IS 'Gr\xC3\xB6\xC3\x9F" "e\r\nzweite Zeile'"),
              std::string("COMMENT ON TABLE T IS '\xE6\x97\xA5\xE6\x9C\xAC'")}) {
            statement.ExecuteText(text, 1);
            work.CommitRetaining();
        }
        work.Commit();
        maker.Close();
    }
    ASSERT_GT(longBody.size(), 32765u);
    schema::InspectStats stats;
    std::size_t blobReads = 0;
    stats.each = [&](const schema::InspectQuery& q) { blobReads += q.blobReads; };
    const schema::Schema model = schema::Inspect(connection, transaction, &stats);
    EXPECT_EQ(model.procedures.at("P").source, longBody);
    EXPECT_EQ(model.procedures.at("Q").source, shortBody);
    EXPECT_EQ(model.procedures.at("P").description, "Gr\xC3\xB6\xC3\x9F" "e\r\nzweite Zeile");
    EXPECT_EQ(model.relations.at("T").description, "\xE6\x97\xA5\xE6\x9C\xAC");
    ASSERT_EQ(model.relations.at("T").columns.size(), 2u);
    EXPECT_EQ(model.relations.at("T").columns[1].defaultSource, "DEFAULT '\xC3\xA4\xE2\x82\xAC'");
    // Only the source too long for a row is read as a blob of its own.
    EXPECT_EQ(blobReads, 1u);
}

INSTANTIATE_TEST_SUITE_P(Charsets, StoredBytesTest, ::testing::Values("NONE", "UTF8"),
                         [](const auto& info) { return std::string(info.param); });

// Counts asked together give what each gives alone; one that fails keeps its own error, and
// the others their values.
TEST(ValueBatchTest, CountsAskedTogetherGiveTheirOwnValuesAndErrors)
{
    TestDb db(CurrentTestName(), Texts);
    Connection connection;
    connection.Params = {"user_name=SYSDBA", "password=x"};
    connection.SetDatabaseName(db.Path());
    connection.Open();
    Transaction transaction(connection);
    transaction.StartTransaction();
    ValueBatch batch(connection, transaction, 1);
    const std::vector<std::string> selects = {
        "SELECT COUNT(*) AS N FROM B", "SELECT COUNT(*) AS N FROM B WHERE U IS NULL",
        "SELECT COUNT(*) AS N FROM B WHERE CAST('x' || ID AS INTEGER) = 1", "SELECT ID AS N FROM B WHERE ID > 5",
        "SELECT MAX(ID) AS N FROM B"};
    batch.Read(selects);
    EXPECT_EQ(batch.Find(selects[0]), 3);
    EXPECT_EQ(batch.Find(selects[1]), 1);
    EXPECT_THROW(batch.Find(selects[2]), DbError);
    EXPECT_EQ(batch.Find(selects[3]), 0);
    EXPECT_EQ(batch.Find(selects[4]), 3);
    EXPECT_EQ(batch.Find("SELECT 1 AS N FROM RDB$DATABASE"), std::nullopt);
}

}
