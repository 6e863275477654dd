// The foreign-key phase of the key and index check, on real database pairs.
#include "compare/Indices.h"
#include "tests/support/ComparatorPeer.h"
#include "tests/support/OpenQueries.h"
#include "tests/support/TestDb.h"

#include <gtest/gtest.h>

namespace {

class ForeignKeysTest : public PairTest {
protected:
    TIdx Idx{DM, Rep};
};

const std::string Tables = R"(
CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL, CONSTRAINT PK_CUSTOMERS PRIMARY KEY (ID));
CREATE TABLE ORDERS (ID INTEGER NOT NULL, CUSTOMER_ID INTEGER, BILL_TO INTEGER, CONSTRAINT PK_ORDERS PRIMARY KEY (ID));
)";
const std::string OrderCust =
    "ALTER TABLE ORDERS ADD CONSTRAINT FK_ORDER_CUST FOREIGN KEY (CUSTOMER_ID) REFERENCES CUSTOMERS (ID)";

TEST_F(ForeignKeysTest, OrderCustomerKeyWithAChangedDeleteRuleGivesTheThirteenLineScript)
{
    ScriptPass(Tables + OrderCust + ";", Tables + OrderCust + " ON DELETE CASCADE;", [this] { Idx.CheckIndices(Bar); });
    ExpectScriptAndFindings(Lines{"/* TABLE ORDERS */", "ALTER TABLE ORDERS", "DROP CONSTRAINT FK_ORDER_CUST", ";", "",
                                  "/* TABLE ORDERS */", "ALTER TABLE ORDERS", "ADD CONSTRAINT FK_ORDER_CUST",
                                  "FOREIGN KEY (CUSTOMER_ID)", "REFERENCES CUSTOMERS (ID)", "ON DELETE CASCADE", ";",
                                  ""},
                            Rows{{"CONSTRAINT", "FK_ORDER_CUST", "different"}});
    RepairAndRecheck([this] { Idx.CheckIndices(Bar); });
}

TEST_F(ForeignKeysTest, KeysDifferingOnlyInTheirUpdateRuleAreReplacedWithTheNewRule)
{
    const std::string billTo =
        "ALTER TABLE ORDERS ADD CONSTRAINT FK_ORDER_BILL FOREIGN KEY (BILL_TO) REFERENCES CUSTOMERS (ID)";
    ScriptPass(Tables + OrderCust + ";\n" + billTo + " ON UPDATE SET NULL;",
               Tables + OrderCust + " ON UPDATE CASCADE;\n" + billTo + ";", [this] { Idx.CheckForeignKeys(Bar); });
    ExpectScriptAndFindings(
        Lines{"/* TABLE ORDERS */", "ALTER TABLE ORDERS", "DROP CONSTRAINT FK_ORDER_CUST", ";", "",
              "/* TABLE ORDERS */", "ALTER TABLE ORDERS", "ADD CONSTRAINT FK_ORDER_CUST", "FOREIGN KEY (CUSTOMER_ID)",
              "REFERENCES CUSTOMERS (ID)", "ON UPDATE CASCADE", ";", "", "/* TABLE ORDERS */", "ALTER TABLE ORDERS",
              "DROP CONSTRAINT FK_ORDER_BILL", ";", "", "/* TABLE ORDERS */", "ALTER TABLE ORDERS",
              "ADD CONSTRAINT FK_ORDER_BILL", "FOREIGN KEY (BILL_TO)", "REFERENCES CUSTOMERS (ID)", ";", ""},
        Rows{{"CONSTRAINT", "FK_ORDER_CUST", "different"}, {"CONSTRAINT", "FK_ORDER_BILL", "different"}});
    RepairAndRecheck([this] { Idx.CheckIndices(Bar); });
}

TEST_F(ForeignKeysTest, MissingNamedKeyWithBothRulesRestrictIsFourLinesAndIsAddedWithoutErrorInRepairMode)
{
    // The whole check: the key's same-named index must not be created ahead of the key.
    ScriptPass(Tables, Tables + OrderCust + ";", [this] { Idx.CheckIndices(Bar); });
    ExpectScriptAndFindings(Lines{"/* TABLE ORDERS */", "ALTER TABLE ORDERS", "ADD CONSTRAINT FK_ORDER_CUST",
                                  "FOREIGN KEY (CUSTOMER_ID)", "REFERENCES CUSTOMERS (ID)", ";", ""},
                            Rows{{"CONSTRAINT", "FK_ORDER_CUST", "not exist"}});

    RunMode(true);
    Idx.CheckIndices(Bar);
    ExpectScriptAndFindings(Lines{}, Rows{{"CONSTRAINT", "FK_ORDER_CUST", "not exist"}});
    RepairAndRecheck([this] { Idx.CheckIndices(Bar); });
}

TEST_F(ForeignKeysTest, TwoColumnKeyNowReferencingAnotherTableIsReplaced)
{
    const std::string lines = Tables + R"(
CREATE TABLE ORDER_LINES (ORDER_ID INTEGER NOT NULL, LINE_NO INTEGER NOT NULL,
  CONSTRAINT PK_ORDER_LINES PRIMARY KEY (ORDER_ID, LINE_NO));
CREATE TABLE LINE_NOTES (ID INTEGER NOT NULL, ORDER_ID INTEGER, LINE_NO INTEGER);
)";
    ScriptPass(lines + "ALTER TABLE LINE_NOTES ADD CONSTRAINT FK_NOTE_LINE FOREIGN KEY (ORDER_ID) REFERENCES ORDERS;",
               lines + "ALTER TABLE LINE_NOTES ADD CONSTRAINT FK_NOTE_LINE FOREIGN KEY (ORDER_ID, LINE_NO)\n"
                       "  REFERENCES ORDER_LINES ON DELETE SET NULL;",
               [this] { Idx.CheckForeignKeys(Bar); });
    ExpectScriptAndFindings(Lines{"/* TABLE LINE_NOTES */", "ALTER TABLE LINE_NOTES", "DROP CONSTRAINT FK_NOTE_LINE",
                                  ";", "", "/* TABLE LINE_NOTES */", "ALTER TABLE LINE_NOTES",
                                  "ADD CONSTRAINT FK_NOTE_LINE", "FOREIGN KEY (ORDER_ID, LINE_NO)",
                                  "REFERENCES ORDER_LINES (ORDER_ID, LINE_NO)", "ON DELETE SET NULL", ";", ""},
                            Rows{{"CONSTRAINT", "FK_NOTE_LINE", "different"}});
    RepairAndRecheck([this] { Idx.CheckIndices(Bar); });
}

TEST_F(ForeignKeysTest, KeyOnlyInTheOldDatabaseOrAlikeOnBothSidesGivesNothing)
{
    ScriptPass(Tables + OrderCust +
                   " ON DELETE CASCADE;\n"
                   "ALTER TABLE ORDERS ADD CONSTRAINT FK_ORDER_BILL FOREIGN KEY (BILL_TO) REFERENCES CUSTOMERS;",
               Tables + OrderCust + " ON DELETE CASCADE;", [this] { Idx.CheckIndices(Bar); });
    ExpectScriptAndFindings(Lines{}, Rows{});
}

TEST_F(ForeignKeysTest, NewIndicesAreOpenedWithTheNewKeysBeforeTheBarIsSet)
{
    ConnectPair(Tables + OrderCust + ";", Tables + OrderCust + ";");
    RunMode(false);
    OpenQueriesRecorder recorder({{"NewCon", &Peer::Con(Idx, Side::New)},
                                  {"NewIdx", &Peer::Idx(Idx, Side::New)},
                                  {"OldCon", &Peer::Con(Idx, Side::Old)},
                                  {"OldIdx", &Peer::Idx(Idx, Side::Old)}});
    Idx.CheckForeignKeys(recorder);
    EXPECT_EQ(recorder.atMaximum, "NewCon NewIdx ");
    EXPECT_EQ(recorder.atFirstStep, "NewCon NewIdx OldCon OldIdx");
    EXPECT_EQ(recorder.maximum, 1);
    EXPECT_EQ(recorder.Position(), 1);
    EXPECT_FALSE(Peer::Con(Idx, Side::New).Active() || Peer::Idx(Idx, Side::New).Active() ||
                 Peer::Con(Idx, Side::Old).Active() || Peer::Idx(Idx, Side::Old).Active());
    EXPECT_EQ(DM.ScriptLines, Lines{});
}

TEST_F(ForeignKeysTest, IndexRowsMissingFromTheIndexQueryGiveAnEmptyReference)
{
    ConnectPair(Tables, Tables + OrderCust + " ON DELETE CASCADE;");
    RunMode(false);
    // As a server would whose index filter lost the referenced index: nothing may come from another row.
    Peer::Idx(Idx, Side::New).SQL = {"select * from RDB$INDICES", "where RDB$INDEX_NAME <> 'PK_CUSTOMERS'"};
    Idx.CheckForeignKeys(Bar);
    const Lines emptyReference{"/* TABLE ORDERS */",        "ALTER TABLE ORDERS", "ADD CONSTRAINT FK_ORDER_CUST",
                               "FOREIGN KEY (CUSTOMER_ID)", "REFERENCES  ()",     "ON DELETE CASCADE",
                               ";",                         ""};
    EXPECT_EQ(DM.ScriptLines, emptyReference);

    // And one that lost the key's own index.
    RunMode(false);
    Peer::Idx(Idx, Side::New).SQL = {"select * from RDB$INDICES", "where RDB$INDEX_NAME <> 'FK_ORDER_CUST'"};
    Idx.CheckForeignKeys(Bar);
    EXPECT_EQ(DM.ScriptLines, emptyReference);
}

TEST_F(ForeignKeysTest, KeyWithoutAReferenceRowCountsAsRestrictOnBothRules)
{
    ConnectPair(Tables, Tables + OrderCust + " ON DELETE CASCADE ON UPDATE SET NULL;");
    RunMode(false);
    Peer::ConRef(Idx, Side::New).SQL = {"select * from RDB$REF_CONSTRAINTS",
                                "where RDB$CONSTRAINT_NAME=:CONNAME and 1=0"};
    Peer::ConRef(Idx, Side::New).ServeFrom({{"select * from RDB$REF_CONSTRAINTS where 1=0"},
                                            {{"RDB$CONSTRAINT_NAME", "CONNAME"}}, {}});
    Idx.CheckForeignKeys(Bar);
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* TABLE ORDERS */", "ALTER TABLE ORDERS", "ADD CONSTRAINT FK_ORDER_CUST",
                                     "FOREIGN KEY (CUSTOMER_ID)", "REFERENCES CUSTOMERS (ID)", ";", ""}));
}

}
