// The complete repair's transaction: rolled back unless committed, whatever ends its scope.
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/ScopedTransaction.h"
#include "db/Statement.h"
#include "tests/support/TestDb.h"

#include <gtest/gtest.h>

namespace {

class ScopedTransactionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDb>(CurrentTestName(), "CREATE TABLE T (ID INTEGER);", 3);
        connection.Params = {"user_name=SYSDBA", "password=x"};
        connection.SetDatabaseName(db->Path());
        connection.Open();
    }

    // Runs statements in a scoped transaction, committed where asked; a refusal passes through.
    void Run(const std::vector<std::string>& statements, bool commit)
    {
        ScopedTransaction work(connection);
        Statement statement(connection, work.Get());
        for (const auto& sql : statements)
            statement.ExecuteText(sql, 3);
        if (commit)
            work.Commit();
    }

    // The rows of T as isql shows them, read by another attachment after this one is closed.
    std::string Rows()
    {
        connection.Close();
        return db->Isql("SET HEADING OFF; SELECT ID FROM T ORDER BY ID;");
    }

    std::unique_ptr<TestDb> db;
    Connection connection;
};

}

TEST_F(ScopedTransactionTest, WorkLeftWithoutCommitIsRolledBackEvenWhenTheConnectionClosesAfterIt)
{
    Run({"INSERT INTO T VALUES (1)", "CREATE TABLE U (A INTEGER)"}, false);
    EXPECT_EQ(Rows(), "");
    EXPECT_EQ(db->Isql("SET HEADING OFF; SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'U';"),
              "\n                    0 \n\n");
}

TEST_F(ScopedTransactionTest, WorkCommittedStaysAndARefusalRollsBackAllBeforeIt)
{
    Run({"INSERT INTO T VALUES (1)"}, true);
    EXPECT_THROW(Run({"INSERT INTO T VALUES (2)", "INSERT INTO NO_SUCH_TABLE VALUES (3)"}, true), DbError);
    EXPECT_EQ(Rows(), "\n           1 \n\n");
}

TEST_F(ScopedTransactionTest, RestartAfterACommitBeginsNewWorkThatIsRolledBackInItsTurn)
{
    {
        ScopedTransaction work(connection);
        Statement first(connection, work.Get());
        first.ExecuteText("INSERT INTO T VALUES (1)", 3);
        work.Commit();
        EXPECT_FALSE(work.Active());
        work.Restart();
        ASSERT_TRUE(work.Active());
        Statement second(connection, work.Get());
        second.ExecuteText("INSERT INTO T VALUES (2)", 3);
    }
    EXPECT_EQ(Rows(), "\n           1 \n\n");
}
