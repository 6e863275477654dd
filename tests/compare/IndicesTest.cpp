// Primary keys, user indices and the three phases of the key and index check, on real database pairs.
#include "compare/Indices.h"
#include "db/Connection.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/DbError.h"
#include "tests/support/TestDb.h"

#include <gtest/gtest.h>

namespace {

// Remembers every pass: the maximum it was given and where the position ended.
class PassRecorder : public Progress {
public:
    int Position() const override { return position_; }
    void SetPosition(int position) override
    {
        position_ = position;
        if (position > 0 && !passes.empty())
            passes.back().second = position;
    }
    void SetMaximum(int maximum) override { passes.push_back({maximum, 0}); }
    std::vector<std::pair<int, int>> passes;

private:
    int position_ = 0;
};

class IndicesTest : public PairTest {
protected:
    TIdx Idx{DM, Rep};
};

const char* Orders = R"(
CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL, NAME VARCHAR(40), CONSTRAINT PK_CUSTOMERS PRIMARY KEY (ID));
CREATE TABLE ORDERS (ID INTEGER NOT NULL, LINE_NO INTEGER NOT NULL, CUSTOMER_ID INTEGER, ORDER_DATE INTEGER);
)";

// Orders with a primary key on ORDERS.
std::string OrdersKeyed(const std::string& name, const std::string& columns)
{
    return std::string(Orders) + "ALTER TABLE ORDERS ADD CONSTRAINT " + name + " PRIMARY KEY (" + columns + ");";
}

// The two blocks that replace the primary key of ORDERS, the old one dropped under its own name.
Lines ReplacedOrdersKey(const std::string& oldName, const std::string& name, const std::string& columns)
{
    return {"/* TABLE ORDERS */", "ALTER TABLE ORDERS", "DROP CONSTRAINT " + oldName, ";", "",
            "/* TABLE ORDERS */", "ALTER TABLE ORDERS", "ADD CONSTRAINT " + name, "PRIMARY KEY (" + columns + ")",
            ";", ""};
}

TEST_F(IndicesTest, RenamedPrimaryKeyWithTheSameColumnsIsDroppedUnderItsOldNameAndAddedUnderTheNew)
{
    // The whole check: the index phase must leave the renamed key's index to the key phase.
    ScriptPass(OrdersKeyed("PK_OLD", "ID, LINE_NO"), OrdersKeyed("PK_ORDERS", "ID, LINE_NO"),
               [this] { Idx.CheckIndices(Bar); });
    ExpectScriptAndFindings(ReplacedOrdersKey("PK_OLD", "PK_ORDERS", "ID, LINE_NO"),
                            Rows{{"PRIMARY KEY", "ORDERS", "different"}});

    RepairAndRecheck([this] { Idx.CheckIndices(Bar); });
}

TEST_F(IndicesTest, PrimaryKeyWithItsColumnsInAnotherOrderIsReplaced)
{
    ScriptPass(OrdersKeyed("PK_ORDERS", "ID, LINE_NO"), OrdersKeyed("PK_ORDERS", "LINE_NO, ID"),
               [this] { Idx.CheckPrimaryKeys(Bar); });
    ExpectScriptAndFindings(ReplacedOrdersKey("PK_ORDERS", "PK_ORDERS", "LINE_NO, ID"),
                            Rows{{"PRIMARY KEY", "ORDERS", "different"}});
}

TEST_F(IndicesTest, PrimaryKeyOnlyInTheOldDatabaseOrTheSameOnBothSidesGivesNothing)
{
    ScriptPass(OrdersKeyed("PK_ORDERS", "ID"), Orders, [this] { Idx.CheckPrimaryKeys(Bar); });
    ExpectScriptAndFindings(Lines{}, Rows{});
    // PK_CUSTOMERS stands on both sides alike.
    EXPECT_EQ(Bar.Maximum(), 1);
}

TEST_F(IndicesTest, MissingIndicesAreCreatedPlainOnTheNewTableEvenWhenUnique)
{
    ScriptPass(Orders,
               std::string(Orders) + "CREATE INDEX IX_ORDER_DATE ON ORDERS (ORDER_DATE, CUSTOMER_ID);\n"
                                     "CREATE UNIQUE DESCENDING INDEX IX_CUST_NAME ON CUSTOMERS (NAME);",
               [this] { Idx.CheckUserIndices(Bar); });
    ExpectScriptAndFindings(Lines{"/* TABLE ORDERS */", "CREATE INDEX IX_ORDER_DATE",
                                  "ON ORDERS (ORDER_DATE, CUSTOMER_ID)", ";", "", "/* TABLE CUSTOMERS */",
                                  "CREATE INDEX IX_CUST_NAME", "ON CUSTOMERS (NAME)", ";", ""},
                            Rows{{"INDEX", "IX_ORDER_DATE", "not exist"}, {"INDEX", "IX_CUST_NAME", "not exist"}});
}

TEST_F(IndicesTest, ServerNamedIndicesAndTheIndicesOfNamedConstraintsAreSkipped)
{
    ScriptPass("CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL, NAME VARCHAR(40));\n"
               "CREATE TABLE ORDERS (ID INTEGER NOT NULL, CUSTOMER_ID INTEGER, CODE INTEGER NOT NULL);",
               "CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40) UNIQUE);\n"
               "CREATE TABLE ORDERS (ID INTEGER NOT NULL, CUSTOMER_ID INTEGER REFERENCES CUSTOMERS,\n"
               "  CODE INTEGER NOT NULL, CONSTRAINT PK_ORDERS PRIMARY KEY (ID),\n"
               "  CONSTRAINT UQ_ORDERS_CODE UNIQUE (CODE));\n"
               "ALTER TABLE ORDERS ADD CONSTRAINT FK_ORDERS_CUST FOREIGN KEY (CUSTOMER_ID) REFERENCES CUSTOMERS;",
               [this] { Idx.CheckUserIndices(Bar); });
    ExpectScriptAndFindings(Lines{}, Rows{});
    // RDB$PRIMARY, RDB$ unique and RDB$FOREIGN, then PK_ORDERS, UQ_ORDERS_CODE and FK_ORDERS_CUST: all counted.
    EXPECT_EQ(Bar.Maximum(), 6);
    EXPECT_EQ(Bar.Position(), 6);
}

TEST_F(IndicesTest, UniqueAgainstPlainDescendingAgainstAscendingOrAnotherTableGivesNoStatement)
{
    ScriptPass(std::string(Orders) + "CREATE UNIQUE INDEX IX_A ON ORDERS (ID);\n"
                                     "CREATE DESCENDING INDEX IX_B ON ORDERS (ORDER_DATE, LINE_NO);\n"
                                     "CREATE TABLE OTHER (CUSTOMER_ID INTEGER);\n"
                                     "CREATE INDEX IX_C ON OTHER (CUSTOMER_ID);",
               std::string(Orders) + "CREATE INDEX IX_A ON ORDERS (ID);\n"
                                     "CREATE ASCENDING INDEX IX_B ON ORDERS (ORDER_DATE, LINE_NO);\n"
                                     "CREATE INDEX IX_C ON ORDERS (CUSTOMER_ID);",
               [this] { Idx.CheckUserIndices(Bar); });
    ExpectScriptAndFindings(Lines{}, Rows{});
}

TEST_F(IndicesTest, IndexWithItsColumnsInAnotherOrderIsDroppedAndCreatedAgain)
{
    ScriptPass(std::string(Orders) + "CREATE INDEX IX_ORDER_DATE ON ORDERS (CUSTOMER_ID, ORDER_DATE);",
               std::string(Orders) + "CREATE INDEX IX_ORDER_DATE ON ORDERS (ORDER_DATE, CUSTOMER_ID);",
               [this] { Idx.CheckUserIndices(Bar); });
    ExpectScriptAndFindings(Lines{"/* TABLE ORDERS */", "DROP INDEX IX_ORDER_DATE", ";", "", "/* TABLE ORDERS */",
                                  "CREATE INDEX IX_ORDER_DATE", "ON ORDERS (ORDER_DATE, CUSTOMER_ID)", ";", ""},
                            Rows{{"INDEX", "IX_ORDER_DATE", "different"}});

    RepairAndRecheck([this] { Idx.CheckUserIndices(Bar); }, Rows{{"INDEX", "IX_ORDER_DATE", "different"}});
}

TEST_F(IndicesTest, RefusedCreateOfAReplacedIndexLeavesTheOldIndexInPlace)
{
    ConnectPair("CREATE TABLE T (A INTEGER, B INTEGER);\nCREATE INDEX IX_T ON T (A);\nCREATE INDEX IX_LATER ON T (B);",
                "CREATE TABLE T (A INTEGER, B INTEGER, C INTEGER);\nCREATE INDEX IX_T ON T (C);\n"
                "CREATE INDEX IX_LATER ON T (A);");
    RunMode(true);
    EXPECT_EQ(ErrorOf([this] { Idx.CheckUserIndices(Bar); }),
              "unsuccessful metadata update\r\nCREATE INDEX IX_T failed\r\n"
              "Unknown columns in index IX_T");
    EXPECT_EQ(FindingRows(Rep), Rows{});
    // Closing commits whatever is pending; the drop must not be among it.
    Disconnect();
    std::string segments = OldDb->Isql("SET HEADING OFF;\nSELECT TRIM(RDB$INDEX_NAME) || ':' || TRIM(RDB$FIELD_NAME) "
                                       "FROM RDB$INDEX_SEGMENTS WHERE RDB$INDEX_NAME STARTING WITH 'IX_' ORDER BY 1;");
    std::erase(segments, ' ');
    EXPECT_EQ(segments, "\nIX_LATER:B\nIX_T:A\n\n");
}

TEST_F(IndicesTest, RefusedAddOfAReplacedKeyLeavesTheOldKeyInPlace)
{
    const std::string tables = "CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL, CONSTRAINT PK_CUSTOMERS PRIMARY KEY (ID));\n"
                               "CREATE TABLE ORDERS (ID INTEGER NOT NULL, LINE_NO INTEGER NOT NULL, CUSTOMER_ID INTEGER,\n"
                               "  BILL_TO INTEGER);\n";
    ConnectPair(tables +
                    "ALTER TABLE ORDERS ADD CONSTRAINT PK_ORDERS PRIMARY KEY (ID, LINE_NO);\n"
                    "ALTER TABLE ORDERS ADD CONSTRAINT FK_ORDER_CUST FOREIGN KEY (CUSTOMER_ID) REFERENCES CUSTOMERS;\n"
                    "INSERT INTO CUSTOMERS VALUES (1);\n"
                    "INSERT INTO ORDERS VALUES (1, 1, 1, 99);\nINSERT INTO ORDERS VALUES (1, 2, 1, 99);",
                tables + "ALTER TABLE ORDERS ADD CONSTRAINT PK_ORDERS PRIMARY KEY (ID);\n"
                         "ALTER TABLE ORDERS ADD CONSTRAINT FK_ORDER_CUST FOREIGN KEY (BILL_TO) REFERENCES CUSTOMERS;");
    RunMode(true);
    // The new key over rows with the same ID, the new reference to a customer that is not there.
    EXPECT_THROW(Idx.CheckPrimaryKeys(Bar), DbError);
    EXPECT_THROW(Idx.CheckForeignKeys(Bar), DbError);
    EXPECT_EQ(FindingRows(Rep), Rows{});
    Disconnect();
    std::string keys = OldDb->Isql("SET HEADING OFF;\n"
                                   "SELECT TRIM(C.RDB$CONSTRAINT_NAME) || ':' || TRIM(S.RDB$FIELD_NAME)\n"
                                   "FROM RDB$RELATION_CONSTRAINTS C JOIN RDB$INDEX_SEGMENTS S\n"
                                   "ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME WHERE C.RDB$RELATION_NAME = 'ORDERS' ORDER BY 1;");
    std::erase(keys, ' ');
    EXPECT_EQ(keys, "\nFK_ORDER_CUST:CUSTOMER_ID\nPK_ORDERS:ID\nPK_ORDERS:LINE_NO\n\n");
}

TEST_F(IndicesTest, RefusedCreateStaysTheErrorThatLeavesWhenItsRollbackFailsToo)
{
    // The Old database cuts its own attachment when an index is created: the create fails,
    // and so does the rollback that follows it, on a connection that is gone.
    ConnectPair("CREATE TABLE T (A INTEGER, B INTEGER);\nCREATE INDEX IX_T ON T (A);\n"
                "SET TERM ^;\n"
                "CREATE TRIGGER CUT_ON_CREATE BEFORE CREATE INDEX AS\n"
                "DECLARE SQL VARCHAR(200);\nDECLARE DB VARCHAR(250);\n"
                "BEGIN\n"
                "  SQL = 'DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = ' || CURRENT_CONNECTION;\n"
                "  DB = RDB$GET_CONTEXT('SYSTEM', 'DB_NAME');\n"
                "  EXECUTE STATEMENT SQL WITH AUTONOMOUS TRANSACTION ON EXTERNAL DB AS USER 'SYSDBA' PASSWORD 'x';\n"
                "END^\nSET TERM ;^\n",
                "CREATE TABLE T (A INTEGER, B INTEGER);\nCREATE INDEX IX_T ON T (B);\n");
    RunMode(true);
    EXPECT_EQ(ErrorOf([this] { Idx.CheckUserIndices(Bar); }),
              "unsuccessful metadata update\r\nCREATE INDEX IX_T failed");
    EXPECT_EQ(FindingRows(Rep), Rows{});
    Disconnect();
    // The cut attachment is released by this process's engine in its own time, so another
    // process may not open the file yet; a fresh attachment of this process can.
    OwnAttachment check(OldDb->Path());
    Query segments(check.Db, check.Tran,
                   {"SELECT TRIM(RDB$INDEX_NAME) || ':' || TRIM(RDB$FIELD_NAME) AS SEG FROM RDB$INDEX_SEGMENTS",
                    "WHERE RDB$INDEX_NAME STARTING WITH 'IX_' ORDER BY 1"});
    segments.Open();
    std::vector<std::string> found;
    for (; !segments.Eof(); segments.Next())
        found.push_back(segments.AsString("SEG"));
    EXPECT_EQ(found, Lines{"IX_T:A"});
}

TEST_F(IndicesTest, KeysThenIndicesThenForeignKeysEachMakeTheirOwnPassAndRepairLeavesNothing)
{
    const std::string tables = "CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL, NAME VARCHAR(40));\n"
                               "CREATE TABLE ORDERS (ID INTEGER NOT NULL, CUSTOMER_ID INTEGER);\n";
    ConnectPair(tables, tables + "ALTER TABLE CUSTOMERS ADD CONSTRAINT PK_CUSTOMERS PRIMARY KEY (ID);\n"
                                 "CREATE INDEX IX_CUST_NAME ON CUSTOMERS (NAME);\n"
                                 "ALTER TABLE ORDERS ADD CONSTRAINT FK_ORDER_CUST FOREIGN KEY (CUSTOMER_ID)\n"
                                 "  REFERENCES CUSTOMERS (ID) ON DELETE SET NULL ON UPDATE CASCADE;");
    RunMode(false);
    PassRecorder passes;
    Idx.CheckIndices(passes);
    ExpectScriptAndFindings(Lines{"/* TABLE CUSTOMERS */", "ALTER TABLE CUSTOMERS", "ADD CONSTRAINT PK_CUSTOMERS",
                                  "PRIMARY KEY (ID)", ";", "", "/* TABLE CUSTOMERS */", "CREATE INDEX IX_CUST_NAME",
                                  "ON CUSTOMERS (NAME)", ";", "", "/* TABLE ORDERS */", "ALTER TABLE ORDERS",
                                  "ADD CONSTRAINT FK_ORDER_CUST", "FOREIGN KEY (CUSTOMER_ID)",
                                  "REFERENCES CUSTOMERS (ID)", "ON DELETE SET NULL", "ON UPDATE CASCADE", ";", ""},
                            Rows{{"PRIMARY KEY", "CUSTOMERS", "not exist"},
                                 {"INDEX", "IX_CUST_NAME", "not exist"},
                                 {"CONSTRAINT", "FK_ORDER_CUST", "not exist"}});
    // One primary key; three indices (the two key indices and IX_CUST_NAME); one foreign key.
    EXPECT_EQ(passes.passes, (std::vector<std::pair<int, int>>{{1, 1}, {3, 3}, {1, 1}}));

    RunMode(true);
    Idx.CheckIndices(Bar);
    EXPECT_EQ(FindingRows(Rep).size(), 3u);
    RunMode(false);
    Idx.CheckIndices(Bar);
    ExpectScriptAndFindings(Lines{}, Rows{});
}

}
