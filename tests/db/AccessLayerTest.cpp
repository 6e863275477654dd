// The access-layer behaviours the comparators rely on, on real embedded databases.
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "tests/support/TestDb.h"

#include <arpa/inet.h>
#include <chrono>
#include <functional>
#include <limits>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <tuple>
#include <unistd.h>

namespace {

const char* Sample = R"(
CREATE TABLE T (ID SMALLINT, NAME CHAR(31), VNAME VARCHAR(31), MEMO BLOB SUB_TYPE 1);
INSERT INTO T VALUES (1, 'GEN_A', 'GEN_A', 'first memo');
INSERT INTO T VALUES (2, 'GEN_B', 'gen_b', NULL);
INSERT INTO T VALUES (NULL, NULL, NULL, NULL);
INSERT INTO T VALUES (3, 'GEN_C', 'GEN_C ', 'x');
)";

class AccessLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDb>(CurrentTestName(), Sample);
        connection.Params = {"user_name=SYSDBA", "password=x"};
        connection.SetDatabaseName(db->Path());
        transaction.Params = {"read_committed", "rec_version", "nowait"};
        connection.Open();
    }

    // A query of the sample database, opened.
    Query Opened(std::vector<std::string> sql)
    {
        Query query(connection, transaction, std::move(sql));
        query.Open();
        return query;
    }

    std::unique_ptr<TestDb> db;
    Connection connection;
    Transaction transaction{connection};
};

TEST_F(AccessLayerTest, CharColumnKeepsItsPaddingAndNullReadsEmptyAndZero)
{
    Query query = Opened({"select * from T order by ID"});
    // NULLs sort first in Firebird 3.
    EXPECT_EQ(query.AsString("ID"), "");
    EXPECT_EQ(query.AsInteger("id"), 0);
    EXPECT_TRUE(query.IsNull("NAME"));
    query.Next();
    EXPECT_EQ(query.AsString("NAME"), "GEN_A" + std::string(26, ' '));
    EXPECT_EQ(query.AsString("VNAME"), "GEN_A");
    EXPECT_EQ(query.AsString("ID"), "1");
    EXPECT_EQ(query.AsInteger("ID"), 1);
    EXPECT_EQ(query.AsString("MEMO"), "first memo");
}

TEST_F(AccessLayerTest, BlobIsReadWholeAcrossSegments)
{
    std::string text;
    for (int i = 0; i < 2500; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    ASSERT_GT(text.size(), 20000u);
    transaction.StartTransaction();
    Statement insert(connection, transaction);
    insert.Lines = {"INSERT INTO T (ID, MEMO) VALUES (9, '" + text + "')"};
    insert.Execute();
    Query query = Opened({"select MEMO from T where ID = 9"});
    EXPECT_EQ(query.AsString("MEMO"), text);
}

TEST_F(AccessLayerTest, SystemNamesArePaddedToNinetyThreeBytes)
{
    Query query = Opened({"select RDB$RELATION_NAME from RDB$RELATIONS where RDB$RELATION_NAME='T'"});
    EXPECT_EQ(query.AsString("RDB$RELATION_NAME"), "T" + std::string(92, ' '));
}

TEST_F(AccessLayerTest, UnknownColumnAndParameterAreNamedInTheError)
{
    Query query(connection, transaction, {"select * from T where ID=:TID"});
    EXPECT_EQ(ErrorOf([&] { query.SetParam("NOPE", "1"); }), "Parameter 'NOPE' not found");
    query.SetParam("TID", std::int64_t{2});
    query.Open();
    EXPECT_EQ(query.AsString("NAME"), "GEN_B" + std::string(26, ' '));
    EXPECT_EQ(ErrorOf([&] { query.AsString("MISSING"); }), "Field 'MISSING' not found");
}

TEST_F(AccessLayerTest, TextParameterSelectsRows)
{
    // A marker inside a comment is no parameter and must not shift the others.
    Query query(connection, transaction, {"select * from T /* :NOTE */", "where NAME=:TNAME -- or :OTHER"});
    query.SetParam("tname", std::string("GEN_C"));
    query.Open();
    query.FetchAll();
    EXPECT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.AsString("ID"), "3");

    // A reopen executes the prepared statement again with the values set since.
    query.Close();
    query.SetParam("TNAME", std::string("GEN_A"));
    query.Open();
    EXPECT_EQ(query.AsString("ID"), "1");
    EXPECT_EQ(query.AsString("MEMO"), "first memo");

    // A changed text is prepared anew, also after a failed open and across a reconnect.
    query.Close();
    query.SQL = {"select NAME as SHORT_NAME from T where ID=:ID"};
    query.SetParam("ID", std::int64_t{2});
    query.Open();
    EXPECT_EQ(query.AsString("SHORT_NAME"), "GEN_B" + std::string(26, ' '));
    EXPECT_EQ(ErrorOf([&] { query.AsString("NAME"); }), "Field 'NAME' not found");
    query.Close();
    query.SQL = {"select * from NO_SUCH_TABLE"};
    EXPECT_NE(ErrorOf([&] { query.Open(); }).find("NO_SUCH_TABLE"), std::string::npos);
    query.SQL = {"select ID from T where ID=:ID"};
    query.SetParam("ID", std::int64_t{3});
    query.Open();
    query.Close();
    connection.Close();
    connection.Open();
    query.Open();
    EXPECT_EQ(query.AsInteger("ID"), 3);
    EXPECT_FALSE(query.Eof());
    query.Next();
    EXPECT_TRUE(query.Eof());
}

TEST_F(AccessLayerTest, LocateIgnoresTrailingBlanksAndLetterCaseCounts)
{
    Query query = Opened({"select * from T order by ID"});
    const std::vector<std::tuple<std::string, std::string, std::string>> found{
        {"NAME", "GEN_A", "1"}, {"VNAME", "GEN_C", "3"}, {"NAME", "GEN_B   ", "2"}};
    for (const auto& [column, key, id] : found) {
        EXPECT_TRUE(query.Locate(column, key)) << key;
        EXPECT_EQ(query.AsString("ID"), id);
    }
    EXPECT_FALSE(query.Locate("NAME", "gen_a"));
    EXPECT_FALSE(query.Locate("VNAME", "GEN_B"));
}

TEST_F(AccessLayerTest, LocateComparesIntegersAsTextAndNeverMatchesNull)
{
    Query query = Opened({"select * from T order by ID"});
    EXPECT_TRUE(query.Locate("ID", "1"));
    EXPECT_EQ(query.AsString("VNAME"), "GEN_A");
    EXPECT_FALSE(query.Locate("ID", "01"));
    EXPECT_FALSE(query.Locate("ID", ""));
    EXPECT_FALSE(query.Locate("NAME", ""));
}

TEST_F(AccessLayerTest, FailedLocateLeavesTheCurrentRow)
{
    Query query = Opened({"select * from T order by ID"});
    query.Next();
    query.Next();
    ASSERT_EQ(query.AsString("ID"), "2");
    EXPECT_FALSE(query.Locate("NAME", "GEN_Z"));
    EXPECT_EQ(query.AsString("ID"), "2");
    query.Next();
    EXPECT_EQ(query.AsString("ID"), "3");
}

TEST_F(AccessLayerTest, WalkingSetsEofAndKeepsTheLastRow)
{
    Query query = Opened({"select * from T where ID is not null order by ID"});
    query.FetchAll();
    EXPECT_EQ(query.RecordCount(), 3);
    EXPECT_EQ(query.AsString("ID"), "1");
    query.Next();
    query.Next();
    EXPECT_FALSE(query.Eof());
    query.Next();
    EXPECT_TRUE(query.Eof());
    EXPECT_EQ(query.AsString("ID"), "3");
    query.First();
    EXPECT_FALSE(query.Eof());
    EXPECT_EQ(query.AsString("ID"), "1");
}

TEST_F(AccessLayerTest, EmptyResultReadsEmptyAndZero)
{
    Query query = Opened({"select * from T where ID = 99"});
    EXPECT_TRUE(query.Eof());
    EXPECT_EQ(query.RecordCount(), 0);
    EXPECT_EQ(query.AsString("NAME"), "");
    EXPECT_EQ(query.AsInteger("ID"), 0);
    query.First();
    query.Next();
    EXPECT_TRUE(query.Eof());
    EXPECT_FALSE(query.Locate("ID", "1"));
}

TEST_F(AccessLayerTest, BookmarkReturnsToItsRowAfterReopening)
{
    Query query = Opened({"select * from T where ID is not null order by ID"});
    query.Next();
    auto mark = query.GetBookmark();
    query.Close();
    query.Open();
    query.GotoBookmark(mark);
    query.FreeBookmark(mark);
    EXPECT_EQ(query.AsString("ID"), "2");
}

TEST_F(AccessLayerTest, RetainingCommitKeepsHalfReadQueryAtItsRow)
{
    Query query = Opened({"select * from T where ID is not null order by ID"});
    query.Next();
    Statement statement(connection, transaction);
    statement.Lines = {"CREATE GENERATOR G_RETAIN"};
    statement.Execute();
    transaction.CommitRetaining();
    EXPECT_TRUE(query.Active());
    EXPECT_EQ(query.AsString("ID"), "2");
    query.Next();
    EXPECT_EQ(query.AsString("ID"), "3");
    EXPECT_TRUE(query.Locate("ID", "1"));
}

TEST_F(AccessLayerTest, FullCommitClosesTheTransactionsQueries)
{
    Query query = Opened({"select * from T"});
    transaction.Commit();
    EXPECT_FALSE(query.Active());
    EXPECT_FALSE(transaction.Active());
}

TEST_F(AccessLayerTest, QueryThatStartedTheTransactionCommitsOnlyAsTheLastOpenQuery)
{
    Query a(connection, transaction, {"select * from T"});
    Query b(connection, transaction, {"select * from T"});
    // a starts the transaction each time; the one closed last tells whether it ends.
    const auto openBothAndClose = [&](Query& first, Query& last, bool activeAtEnd) {
        a.Open();
        b.Open();
        first.Close();
        EXPECT_TRUE(transaction.Active());
        last.Close();
        EXPECT_EQ(transaction.Active(), activeAtEnd);
    };
    openBothAndClose(b, a, false);
    openBothAndClose(a, b, true);
}

TEST_F(AccessLayerTest, ClosingTheConnectionCommitsPendingWork)
{
    transaction.StartTransaction();
    Statement statement(connection, transaction);
    statement.Lines = {"INSERT INTO T (ID) VALUES (42)"};
    statement.Execute();
    Query open(connection, transaction, {"select * from T"});
    open.Open();
    connection.Close();
    EXPECT_FALSE(open.Active());
    EXPECT_FALSE(transaction.Active());
    EXPECT_NE(db->Isql("select count(*) from T where ID = 42;").find(" 1"), std::string::npos);
}

TEST_F(AccessLayerTest, ServerErrorsJoinStatusLinesWithoutFinalPeriod)
{
    transaction.StartTransaction();
    Statement statement(connection, transaction);
    statement.Lines = {"CREATE TABLE T (X INTEGER)"};
    EXPECT_EQ(ErrorOf([&] { statement.Execute(); }),
              "unsuccessful metadata update\r\nCREATE TABLE T failed\r\nTable T already exists");
}

TEST_F(AccessLayerTest, StatementChecksItsPreconditions)
{
    Statement statement(connection, transaction);
    statement.Lines = {"CREATE GENERATOR G1"};
    EXPECT_EQ(ErrorOf([&] { statement.Execute(); }), "Transaction is not active");
    transaction.StartTransaction();
    statement.Lines.clear();
    EXPECT_EQ(ErrorOf([&] { statement.Execute(); }), "Empty query");
    connection.Close();
    statement.Lines = {"CREATE GENERATOR G1"};
    EXPECT_EQ(ErrorOf([&] { statement.Execute(); }), "Cannot perform operation -- DB is not open");
}

TEST_F(AccessLayerTest, StatementTextIsSentUnchangedOrRefusedWhole)
{
    transaction.StartTransaction();
    Statement statement(connection, transaction);
    statement.Lines = {"CREATE PROCEDURE P (A INTEGER) RETURNS (B INTEGER)", "AS", "BEGIN", "  B = :A;", "  SUSPEND;",
                       "END"};
    statement.Execute();
    statement.Lines = {"CREATE EXCEPTION E_ZERO '" + std::string("a\0b", 3) + "'"};
    EXPECT_EQ(ErrorOf([&] { statement.Execute(); }), "Statement text contains a zero byte");
    transaction.CommitRetaining();
    Query query = Opened({"select B from P(7)"});
    EXPECT_EQ(query.AsInteger("B"), 7);
}

TEST_F(AccessLayerTest, ConnectionNameRules)
{
    EXPECT_NO_THROW(connection.SetDatabaseName(db->Path()));
    EXPECT_EQ(ErrorOf([&] { connection.SetDatabaseName("/other.fdb"); }),
              "Cannot perform operation -- DB is currently open");
    connection.Close();
    connection.SetDatabaseName("");
    EXPECT_EQ(ErrorOf([&] { connection.Open(); }), "Database name is missing");
}

TEST_F(AccessLayerTest, LoginPromptCancelAndAnswer)
{
    connection.Close();
    ScriptedLogin login;
    login.Answers = {{false, "", ""}, {true, "ALICE", "secret"}};
    connection.Prompter = &login;
    connection.LoginPromptOn = true;
    EXPECT_EQ(ErrorOf([&] { connection.Open(); }), "Operation cancelled at user's request");
    EXPECT_EQ(login.LastUser, "SYSDBA");
    connection.Open();
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(connection.ParamValue("user_name"), "ALICE");
    EXPECT_EQ(login.LastDatabase, db->Path());
}

TEST_F(AccessLayerTest, Dialect1DateWarningsAreNoError)
{
    Query query = Opened({"select cast('2024-02-03' as date) as D from RDB$DATABASE"});
    EXPECT_EQ(query.AsString("D"), "2024-02-03 00:00:00");
}

TEST_F(AccessLayerTest, ScaledIntegersReadAsTheirDecimalText)
{
    Query query(connection, transaction,
                {"select cast(12.75 as numeric(4,2)) as A, cast(-0.05 as numeric(9,2)) as B,",
                 "cast(-7 as numeric(9,3)) as C from RDB$DATABASE"});
    query.Open();
    EXPECT_EQ(query.AsString("A"), "12.75");
    EXPECT_EQ(query.AsString("B"), "-0.05");
    EXPECT_EQ(query.AsString("C"), "-7.000");
}

}

namespace {

TEST_F(AccessLayerTest, FailedOpenRollsBackOnlyTheTransactionItStarted)
{
    Query unknownTable(connection, transaction, {"select * from NOPE"});
    EXPECT_EQ(ErrorOf([&] { unknownTable.Open(); }),
              "Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown\r\nNOPE\r\nAt line 1, column 15");
    EXPECT_FALSE(unknownTable.Active());
    EXPECT_FALSE(transaction.Active());

    Query badValue(connection, transaction, {"select * from T where ID = :X"});
    badValue.SetParam("X", std::string("abc"));
    EXPECT_EQ(ErrorOf([&] { badValue.Open(); }),
              "Dynamic SQL Error\r\nSQL error code = -303\r\nconversion error from string \"abc\"");
    EXPECT_FALSE(transaction.Active());

    transaction.StartTransaction();
    EXPECT_NE(ErrorOf([&] { badValue.Open(); }), "no error");
    EXPECT_TRUE(transaction.Active());
}

TEST_F(AccessLayerTest, OutOfRangeValuesAreRefusedOrClampedInsteadOfCut)
{
    Query doubles(connection, transaction, {"select 1e300 as BIG, -1e300 as SMALL, 2.9 as D from RDB$DATABASE"});
    doubles.Open();
    EXPECT_EQ(doubles.AsInteger("BIG"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(doubles.AsInteger("SMALL"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(doubles.AsInteger("D"), 2);
    doubles.Close();

    Query query(connection, transaction, {"select * from T where NAME = :TNAME"});
    EXPECT_EQ(ErrorOf([&] { query.SetParam("TName", std::string(32768, 'A')); }),
              "Value of parameter 'TName' is too long");
    query.SetParam("TNAME", "GEN_B" + std::string(32762, ' '));
    query.Open();
    EXPECT_EQ(query.AsString("ID"), "2");

    connection.Close();
    connection.SetDatabaseName(db->Path() + std::string(40000, '/'));
    EXPECT_EQ(ErrorOf([&] { connection.Open(); }), "Database name is too long");
    connection.SetDatabaseName(db->Path());
    connection.Params = {"user_name=" + std::string(256, 'U'), "password=x"};
    EXPECT_EQ(ErrorOf([&] { connection.Open(); }), "User name is too long");
    connection.Params = {"user_name=SYSDBA", "password=" + std::string(256, 'p')};
    EXPECT_EQ(ErrorOf([&] { connection.Open(); }), "Password is too long");
    EXPECT_FALSE(connection.Connected());
}

TEST_F(AccessLayerTest, BlobReadOnFirstUseGivesItsRowsTextAlsoAfterRetainingCommits)
{
    const std::string oldBody = "BEGIN\r\n  X = 1; /* old body " + std::string(3000, 'o') + " */\r\n  SUSPEND;\r\nEND";
    transaction.StartTransaction();
    Statement statement(connection, transaction);
    statement.Lines = {"CREATE PROCEDURE P RETURNS (X INTEGER) AS", oldBody};
    statement.Execute();
    transaction.CommitRetaining();

    Query procedures(connection, transaction, {"select * from RDB$PROCEDURES"});
    procedures.Open();
    procedures.FetchAll();
    Query memos(connection, transaction, {"select * from T where ID is not null order by ID"});
    memos.Open();
    memos.FetchAll();
    transaction.CommitRetaining();
    statement.Lines = {"ALTER PROCEDURE P RETURNS (X INTEGER) AS", "BEGIN X = 2; SUSPEND; END"};
    statement.Execute();
    transaction.CommitRetaining();

    ASSERT_TRUE(procedures.Locate("RDB$PROCEDURE_NAME", "P"));
    EXPECT_EQ(procedures.AsString("RDB$PROCEDURE_SOURCE"), oldBody);
    memos.Next();
    memos.Next();
    EXPECT_EQ(memos.AsString("MEMO"), "x");
    memos.First();
    EXPECT_EQ(memos.AsString("MEMO"), "first memo");
    memos.Next();
    EXPECT_TRUE(memos.IsNull("MEMO"));
    EXPECT_EQ(memos.AsString("MEMO"), "");
    EXPECT_TRUE(memos.Locate("MEMO", "x"));
    EXPECT_EQ(memos.AsString("ID"), "3");
    EXPECT_FALSE(memos.Locate("MEMO", ""));
}

// A local port that never answers: kernel-accepted connections nobody reads, or, with
// pending connections filling its queue, one whose connect is never answered at all.
class SilentPort {
public:
    explicit SilentPort(int pending)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, pending ? 0 : 8);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        for (int i = 0; i < pending; ++i) {
            int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
            clients_.push_back(client);
        }
    }
    ~SilentPort()
    {
        for (int client : clients_)
            ::close(client);
        ::close(listener_);
    }
    int Port() const { return port_; }

private:
    int listener_ = -1;
    int port_ = 0;
    std::vector<int> clients_;
};

TEST_F(AccessLayerTest, AttachGivesUpOnAServerThatNeverAnswers)
{
    connection.Close();
    connection.ConnectTimeoutSeconds = 1;
    for (int pending : {0, 3}) {
        SilentPort silent(pending);
        const std::string server = "127.0.0.1/" + std::to_string(silent.Port());
        connection.SetDatabaseName(server + ":/x.fdb");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ErrorOf([&] { connection.Open(); }), "No answer from " + server + " within 1 second") << pending;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << pending;
        EXPECT_FALSE(connection.Connected());
    }
}

TEST_F(AccessLayerTest, EveryFetchOfAllRowsIsToldToTheConnectionsObserverLocatesIncluded)
{
    CallCounter counter;
    connection.Fetches = &counter;
    Query query = Opened({"select * from T"});
    query.FetchAll();
    EXPECT_EQ(counter.begun, 1);
    EXPECT_EQ(counter.ended, 1);
    query.Close();
    query.Open();
    EXPECT_TRUE(query.Locate("ID", "3"));
    EXPECT_EQ(counter.begun, 2);
    EXPECT_EQ(counter.ended, 2);
    // All rows are in: the next lookup reads nothing more.
    EXPECT_TRUE(query.Locate("ID", "1"));
    EXPECT_EQ(counter.begun, 2);
    connection.Fetches = nullptr;
}

TEST_F(AccessLayerTest, AMovedQueryKeepsItsRowsAndItsPlaceAndTheMovedFromOneIsBoundToNothing)
{
    Query first(connection, transaction, {"select * from T where ID is not null order by ID"});
    first.Open();
    first.Next();
    Query moved(std::move(first));
    EXPECT_FALSE(first.Active());
    EXPECT_TRUE(moved.Active());
    EXPECT_EQ(moved.AsString("ID"), "2");
    EXPECT_EQ(ErrorOf([&] { first.Open(); }), "Cannot perform operation -- DB is not open");

    // The transaction's full commit closes the query under its new address.
    transaction.Commit();
    EXPECT_FALSE(moved.Active());

    Query other(connection, transaction, {"select ID from T where ID = 3"});
    other = std::move(moved);
    other.Open();
    EXPECT_EQ(other.AsString("ID"), "1");
    // The connection's close reaches it too, and destroying all three afterwards touches nothing freed.
    connection.Close();
    EXPECT_FALSE(other.Active());
}

TEST_F(AccessLayerTest, AMovedTransactionOrConnectionTakesItsHandleAndItsQueriesAlong)
{
    Query query = Opened({"select * from T"});
    Transaction moved(std::move(transaction));
    EXPECT_FALSE(transaction.Active());
    EXPECT_TRUE(moved.Active());
    EXPECT_EQ(&query.Tran(), &moved);
    EXPECT_EQ(ErrorOf([&] { transaction.StartTransaction(); }), "Cannot perform operation -- DB is not open");
    moved.Commit();
    EXPECT_FALSE(query.Active());
    query.Open();
    EXPECT_TRUE(moved.Active());

    Connection movedConnection(std::move(connection));
    EXPECT_FALSE(connection.Connected());
    EXPECT_TRUE(movedConnection.Connected());
    EXPECT_EQ(movedConnection.DatabaseName(), db->Path());
    EXPECT_EQ(&moved.Database(), &movedConnection);
    EXPECT_TRUE(query.Active());
    // The close commits the transaction and closes the query under their new addresses.
    movedConnection.Close();
    EXPECT_FALSE(moved.Active());
    EXPECT_FALSE(query.Active());
}

TEST_F(AccessLayerTest, ADestroyedTransactionOrConnectionLeavesItsQueriesBoundToNothing)
{
    Query query(connection, transaction, {"select * from T"});
    {
        Transaction own(connection);
        Query bound(connection, own, {"select * from T"});
        bound.Open();
        Query orphan(connection, own, {"select * from T"});
        {
            Transaction gone(connection);
            orphan = Query(connection, gone, {"select * from T"});
        }
        EXPECT_EQ(ErrorOf([&] { orphan.Open(); }), "Transaction is not assigned");
    }
    auto second = std::make_unique<Connection>();
    second->Params = connection.Params;
    second->SetDatabaseName(db->Path());
    second->Open();
    auto secondTransaction = std::make_unique<Transaction>(*second);
    Query left(*second, *secondTransaction, {"select * from T"});
    left.Open();
    second.reset();
    EXPECT_FALSE(left.Active());
    EXPECT_EQ(ErrorOf([&] { left.Open(); }), "Cannot perform operation -- DB is not open");
    secondTransaction.reset();
    query.Open();
    EXPECT_TRUE(query.Active());
}

}

namespace {

const char* Catalog = R"(
CREATE TABLE B (Z INTEGER, Y INTEGER);
CREATE TABLE A (X INTEGER, W INTEGER, V INTEGER);
ALTER TABLE B ADD U INTEGER;
ALTER TABLE A DROP W;
CREATE TABLE C (T INTEGER);
ALTER TABLE B ADD S INTEGER;
ALTER TABLE A ADD R INTEGER;
ALTER TABLE B ALTER Z POSITION 4;
CREATE TABLE M (ID INTEGER, MEMO BLOB SUB_TYPE 1, DATA BLOB SUB_TYPE 0);
)";

std::vector<std::string> AllCells(Query& query, const std::vector<std::string>& columns)
{
    std::vector<std::string> cells;
    for (query.First(); !query.Eof(); query.Next())
        for (const auto& column : columns)
            cells.push_back(query.IsNull(column) ? "<null>" : query.AsString(column));
    return cells;
}

}

TEST_F(AccessLayerTest, ServedOpensGiveTheRowsOfThePerObjectSelectInItsOrder)
{
    db.reset();
    db = std::make_unique<TestDb>(CurrentTestName(), Catalog);
    connection.Close();
    connection.Open();
    const std::vector<std::string> perObject{"select RDB$FIELD_NAME, RDB$FIELD_POSITION from RDB$RELATION_FIELDS",
                                             "where RDB$RELATION_NAME=:T"};
    const std::vector<std::string> ordered{perObject[0], perObject[1], "order by RDB$FIELD_POSITION"};
    const std::vector<std::string> columns{"RDB$FIELD_NAME", "RDB$FIELD_POSITION"};
    ServedRead how{{"select RDB$FIELD_NAME, RDB$FIELD_POSITION, RDB$RELATION_NAME from RDB$RELATION_FIELDS"},
                   {{"RDB$RELATION_NAME", "T"}},
                   {}};
    ServedRead howOrdered = how;
    howOrdered.order = {"RDB$FIELD_POSITION"};
    transaction.StartTransaction();
    for (const std::string table : {"A", "B", "C", "RDB$PAGES", "NONE"}) {
        for (bool sorted : {false, true}) {
            Query asked(connection, transaction, sorted ? ordered : perObject);
            Query served(connection, transaction, sorted ? ordered : perObject);
            served.ServeFrom(sorted ? howOrdered : how);
            for (Query* query : {&asked, &served}) {
                query->SetParam("T", table + "  ");
                query->Open();
            }
            EXPECT_EQ(AllCells(served, columns), AllCells(asked, columns)) << table << (sorted ? " sorted" : "");
            asked.Close();
            served.Close();
        }
    }
    // B's columns are not in position order in storage, so the sort is not a no-op here.
    Query plain(connection, transaction, perObject);
    plain.SetParam("T", "B");
    plain.Open();
    EXPECT_EQ(AllCells(plain, {"RDB$FIELD_NAME"}), (std::vector<std::string>{
        "Z" + std::string(92, ' '), "Y" + std::string(92, ' '), "U" + std::string(92, ' '), "S" + std::string(92, ' ')}));
    plain.Close();

    // A fix on C: its rows come from the server again, the others from the whole read.
    Query served(connection, transaction, perObject);
    served.ServeFrom(how);
    served.SetParam("T", "C");
    served.Open();
    served.Close();
    Statement(connection, transaction).ExecuteText("ALTER TABLE C ADD Q INTEGER", 1);
    transaction.CommitRetaining();
    served.Open();
    EXPECT_EQ(served.RecordCount(), 1);
    served.Close();
    served.ServedRowsChanged("C");
    served.Open();
    served.FetchAll();
    EXPECT_EQ(served.RecordCount(), 2);
    served.Close();
    transaction.Commit();
}

TEST_F(AccessLayerTest, BlobTextsReadInOneSelectEqualThoseReadOneByOne)
{
    db.reset();
    db = std::make_unique<TestDb>(CurrentTestName(), Catalog);
    connection.Close();
    connection.Open();
    transaction.StartTransaction();
    Statement insert(connection, transaction);
    const std::string longText(40000, 'x');
    insert.ExecuteText("INSERT INTO M VALUES (1, 'short', 'bin')", 1);
    insert.ExecuteText("INSERT INTO M VALUES (2, NULL, NULL)", 1);
    insert.ExecuteText("INSERT INTO M VALUES (3, '', 'x')", 1);
    insert.ExecuteText("INSERT INTO M VALUES (4, 'Gr\xC3\xBC\xC3\x9F" "e ', 'y')", 1);
    insert.ExecuteText("UPDATE M SET MEMO = MEMO || '" + std::string(20000, 'x') + "' || '" + std::string(20000, 'x') +
                           "' WHERE ID = 3", 1);
    transaction.CommitRetaining();
    const std::vector<std::string> expected{"short", "bin", "<null>", "<null>", longText, "x",
                                            "Gr\xC3\xBC\xC3\x9F" "e ", "y"};
    Query query = Opened({"select * from M order by ID"});
    EXPECT_EQ(AllCells(query, {"MEMO", "DATA"}), expected);
    query.Close();
    // One by one: an expression's blob cannot be matched to a stored one.
    Query single(connection, transaction, {"select ID, cast(MEMO as blob sub_type 1) as MEMO, DATA from M order by ID"});
    single.Open();
    EXPECT_EQ(AllCells(single, {"MEMO", "DATA"}), expected);
    single.Close();
    transaction.Commit();
}
