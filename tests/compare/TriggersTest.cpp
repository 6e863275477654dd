// Trigger comparison against real Old/New database pairs.
#include "compare/Triggers.h"
#include "tests/support/CheckTest.h"
#include "tests/support/ComparatorPeer.h"
#include "tests/support/OpenQueries.h"

using TriggersTest = CheckTest<CheckKind::Triggers>;

namespace {
const std::string Tables = "CREATE TABLE ORDERS (ID INTEGER, QTY INTEGER);\nCREATE TABLE ITEMS (ID INTEGER);\n";

std::string Trigger(const std::string& name, const std::string& table, const std::string& activity,
                    const std::string& body)
{
    return "SET TERM ^;\nCREATE TRIGGER " + name + " FOR " + table + " " + activity + " AS\nBEGIN\n  " + body +
           "\nEND^\nSET TERM ;^\n";
}
}

TEST_F(TriggersTest, OldTriggersAndCheckConstraintsAreOpenedOnlyAfterTheBarIsSet)
{
    ConnectPair(Tables, Tables);
    RunMode(false);
    TTrig trig(DM, Rep);
    OpenQueriesRecorder recorder({{"NewTrig", &Peer::Trig(trig, Side::New)},
                                  {"OldTrig", &Peer::Trig(trig, Side::Old)},
                                  {"NewCheck", &Peer::NewCheck(trig)}});
    trig.CheckTriggers(recorder);
    EXPECT_EQ(recorder.atMaximum, "NewTrig ");
    EXPECT_EQ(recorder.atFirstStep, "NewTrig OldTrig NewCheck");
    EXPECT_FALSE(Peer::Trig(trig, Side::New).Active() || Peer::Trig(trig, Side::Old).Active() ||
                 Peer::NewCheck(trig).Active());
    EXPECT_FALSE(DM.NewTran.Active() || DM.OldTran.Active());
}

TEST_F(TriggersTest, TwoMissingTriggersFollowEachOtherRawInTheScript)
{
    CheckPair(Tables, Tables + Trigger("ORDERS_BI", "ORDERS", "ACTIVE BEFORE INSERT POSITION 0", "NEW.ID = 1;") +
                          Trigger("ORDERS_AD", "ORDERS", "AFTER DELETE POSITION 3", "EXIT;"));
    ExpectScriptAndFindings(Lines{"CREATE TRIGGER ORDERS_BI FOR ORDERS", "ACTIVE BEFORE INSERT POSITION 0",
                                  "AS\nBEGIN\n  NEW.ID = 1;\nEND", "CREATE TRIGGER ORDERS_AD FOR ORDERS",
                                  "ACTIVE AFTER DELETE POSITION 3", "AS\nBEGIN\n  EXIT;\nEND"},
                            Rows{{"TRIGGER.", "ORDERS_BI", "not exist"}, {"TRIGGER.", "ORDERS_AD", "not exist"}});
}

TEST_F(TriggersTest, CheckConstraintTriggersAreSkippedAndSystemTriggersLeaveNoTrace)
{
    const std::string checked = "CREATE TABLE STOCK (QTY INTEGER CHECK (QTY >= 0));\n";
    CheckPair("", checked);
    ExpectScriptAndFindings({}, {});
    // The bar counts every row, system and check triggers included.
    EXPECT_GT(Bar.Maximum(), 2);
}

TEST_F(TriggersTest, SystemTriggersMissingFromTheOldDatabaseAreSkippedAndAnyOtherFlagIsExamined)
{
    ConnectPair(Tables, Tables + Trigger("T_NULL", "ORDERS", "BEFORE INSERT POSITION 0", "EXIT;") +
                            Trigger("T_TWO", "ITEMS", "AFTER DELETE POSITION 1", "EXIT;"));
    RunMode(false);
    TTrig trig(DM, Rep);
    // The Old side lacks every system trigger; the New side reads one flag as NULL and one as 2.
    Peer::Trig(trig, Side::Old).SQL = {"select * from RDB$TRIGGERS", "where RDB$SYSTEM_FLAG <> 1"};
    Peer::Trig(trig, Side::New).SQL = {
        "select RDB$TRIGGER_NAME, RDB$RELATION_NAME, RDB$TRIGGER_TYPE, RDB$TRIGGER_SEQUENCE,",
        "RDB$TRIGGER_SOURCE, case RDB$TRIGGER_NAME when 'T_NULL' then cast(NULL as SMALLINT)",
        "when 'T_TWO' then 2 else RDB$SYSTEM_FLAG end as RDB$SYSTEM_FLAG from RDB$TRIGGERS"};
    trig.CheckTriggers(Bar);
    ExpectScriptAndFindings(Lines{"CREATE TRIGGER T_NULL FOR ORDERS", "ACTIVE BEFORE INSERT POSITION 0",
                                  "AS\nBEGIN\n  EXIT;\nEND", "CREATE TRIGGER T_TWO FOR ITEMS",
                                  "ACTIVE AFTER DELETE POSITION 1", "AS\nBEGIN\n  EXIT;\nEND"},
                            Rows{{"TRIGGER.", "T_NULL", "not exist"}, {"TRIGGER.", "T_TWO", "not exist"}});
}

TEST_F(TriggersTest, InactiveNewTriggerIsWrittenActiveAndStateAloneIsNotNoticed)
{
    CheckPair(Tables + Trigger("ORDERS_BU", "ORDERS", "ACTIVE BEFORE UPDATE POSITION 0", "NEW.ID = 2;"),
              Tables + Trigger("ORDERS_BU", "ORDERS", "INACTIVE BEFORE UPDATE POSITION 0", "NEW.ID = 2;") +
                  Trigger("ITEMS_AU", "ITEMS", "INACTIVE AFTER UPDATE POSITION 1", "EXIT;"));
    ExpectScriptAndFindings(
        Lines{"CREATE TRIGGER ITEMS_AU FOR ITEMS", "ACTIVE AFTER UPDATE POSITION 1", "AS\nBEGIN\n  EXIT;\nEND"},
        Rows{{"TRIGGER.", "ITEMS_AU", "not exist"}});
}

TEST_F(TriggersTest, TypeOutsideTheSixGivesOnlyThePosition)
{
    ConnectPair(Tables, Tables + Trigger("ORDERS_BIU", "ORDERS", "BEFORE INSERT OR UPDATE POSITION 5", "NEW.ID = 3;"));
    RunMode(false, false);
    Check();
    EXPECT_EQ(DM.ScriptLines,
              (Lines{"CREATE TRIGGER ORDERS_BIU FOR ORDERS", "POSITION 5", "AS\nBEGIN\n  NEW.ID = 3;\nEND"}));
    EXPECT_TRUE(FindingRows(Rep).empty());
}

TEST_F(TriggersTest, SourceSequenceOrTypeChangeAltersButAnotherTableDoesNot)
{
    CheckPair(Tables + Trigger("T_SRC", "ORDERS", "BEFORE INSERT POSITION 0", "EXIT; ") +
                  Trigger("T_SEQ", "ORDERS", "BEFORE INSERT POSITION 1", "EXIT;") +
                  Trigger("T_TYPE", "ORDERS", "AFTER INSERT POSITION 0", "EXIT;") +
                  Trigger("T_TBL", "ITEMS", "BEFORE INSERT POSITION 0", "EXIT;"),
              Tables + Trigger("T_SRC", "ORDERS", "BEFORE INSERT POSITION 0", "EXIT;") +
                  Trigger("T_SEQ", "ORDERS", "BEFORE INSERT POSITION 2", "EXIT;") +
                  Trigger("T_TYPE", "ORDERS", "BEFORE INSERT POSITION 0", "EXIT;") +
                  Trigger("T_TBL", "ORDERS", "BEFORE INSERT POSITION 0", "EXIT;"));
    const std::string body = "AS\nBEGIN\n  EXIT;\nEND";
    ExpectScriptAndFindings(Lines{"ALTER TRIGGER T_SRC", "ACTIVE BEFORE INSERT POSITION 0", body, "ALTER TRIGGER T_SEQ",
                                  "ACTIVE BEFORE INSERT POSITION 2", body, "ALTER TRIGGER T_TYPE",
                                  "ACTIVE BEFORE INSERT POSITION 0", body},
                            Rows{{"TRIGGER.", "T_SRC", "different"},
                                 {"TRIGGER.", "T_SEQ", "different"},
                                 {"TRIGGER.", "T_TYPE", "different"}});
}

TEST_F(TriggersTest, RepairCreatesAndAltersSoTheNextRunFindsNothing)
{
    ConnectPair(Tables + Trigger("ORDERS_BU", "ORDERS", "BEFORE UPDATE POSITION 0", "NEW.QTY = 0;"),
                Tables + Trigger("ORDERS_BU", "ORDERS", "BEFORE UPDATE POSITION 0", "NEW.QTY = 1;") +
                    Trigger("ORDERS_BI", "ORDERS", "INACTIVE BEFORE INSERT POSITION 0", "NEW.ID = 1;"));
    RepairTwice(Rows{{"TRIGGER.", "ORDERS_BU", "different"}, {"TRIGGER.", "ORDERS_BI", "not exist"}});
    Disconnect();
    const std::string state = OldDb->Isql("SELECT RDB$TRIGGER_INACTIVE FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME='ORDERS_BI';");
    EXPECT_NE(state.find(" 0"), std::string::npos) << state;
}
