// The server fixture and the delaying proxy on a real SuperServer: what isql-fb makes there
// through the proxy, the access layer reads back through it, and the proxy counts the trips.
#include "db/Connection.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/FbServer.h"

#include <chrono>
#include <gtest/gtest.h>

TEST_F(ServerTest, DatabaseMadeThroughTheProxyReadsBackThroughTheAccessLayer)
{
    const auto proxy = Server->StartProxy(10);
    const std::string name = proxy->Name(Server->Folder() + "/smoke.fdb");
    Server->Isql("CREATE DATABASE '" + name + "' USER '" + FbServer::User() + "' PASSWORD '" +
                 Server->Password() + "';\n"
                 "CREATE TABLE T (ID INTEGER, NAME VARCHAR(20));\n"
                 "INSERT INTO T VALUES (7, 'seven');\n"
                 "INSERT INTO T VALUES (8, 'eight');\n"
                 "COMMIT;\n");

    Connection connection;
    connection.Params = {"user_name=" + FbServer::User(), "password=" + Server->Password()};
    connection.SetDatabaseName(name);
    const auto start = std::chrono::steady_clock::now();
    connection.Open();
    // An attachment takes at least one round trip, 2 x 10 ms through the proxy.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_EQ(connection.ServerVersion().substr(0, 6), "LI-V3.");
    Transaction transaction(connection);
    transaction.Params = {"read_committed", "rec_version", "nowait"};
    Query query(connection, transaction, {"select ID, NAME from T order by ID"});
    query.Open();
    EXPECT_EQ(query.AsInteger("ID"), 7);
    EXPECT_EQ(query.AsString("NAME"), "seven");
    query.Next();
    EXPECT_EQ(query.AsInteger("ID"), 8);
    EXPECT_EQ(query.AsString("NAME"), "eight");
    query.Next();
    EXPECT_TRUE(query.Eof());
    query.Close();
    connection.Close();

    proxy->Stop();
    const ProxyCounts counts = proxy->Counts();
    EXPECT_GT(counts.roundTrips, 0);
    EXPECT_GT(counts.bytesUp, 0);
    EXPECT_GT(counts.bytesDown, 0);
}
