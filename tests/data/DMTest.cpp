// The data module: its connection parameters, executing fixes and laying out the script.
#include "data/DM.h"
#include "db/DbError.h"
#include "tests/support/TestDb.h"

#include <gtest/gtest.h>

TEST(AddToScript, SingleLineGetsTitleTerminatorAndEmptyLine)
{
    TDM dm;
    dm.RunSQL.Lines = {"CREATE GENERATOR GEN_ORDER"};
    dm.AddToScript("GENERATOR GEN_ORDER", dm.RunSQL.Lines);
    EXPECT_EQ(dm.ScriptLines, (Lines{"/* GENERATOR GEN_ORDER */", "CREATE GENERATOR GEN_ORDER", ";", ""}));
    // The buffer keeps the titled lines until the next fix clears it.
    EXPECT_EQ(dm.RunSQL.Lines, dm.ScriptLines);
}

TEST(AddToScript, EmptyMiddleLineStays)
{
    TDM dm;
    Lines buffer{"A", "", "B"};
    dm.AddToScript("T", buffer);
    EXPECT_EQ(dm.ScriptLines, (Lines{"/* T */", "A", "", "B", ";", ""}));
}

TEST(AddToScript, LineBreaksInsideALineSplitIt)
{
    TDM dm;
    Lines buffer{"as\r\nBEGIN\rX\nEND"};
    dm.AddToScript("T", buffer);
    EXPECT_EQ(dm.ScriptLines, (Lines{"/* T */", "as", "BEGIN", "X", "END", ";", ""}));
}

TEST(AddToScript, EmptyBufferGivesCommentTerminatorAndEmptyLine)
{
    TDM dm;
    Lines buffer;
    dm.AddToScript("T", buffer);
    EXPECT_EQ(dm.ScriptLines, (Lines{"/* T */", ";", ""}));
}

TEST(AddToScript, BlocksAccumulate)
{
    TDM dm;
    Lines first{"X"};
    Lines second{"Y"};
    dm.AddToScript("1", first);
    dm.AddToScript("2", second);
    EXPECT_EQ(dm.ScriptLines, (Lines{"/* 1 */", "X", ";", "", "/* 2 */", "Y", ";", ""}));
}

class DMTest : public PairTest {
protected:
    void SetUp() override { MakePair("CREATE TABLE T (ID INTEGER);", ""); }
};

TEST_F(DMTest, ConnectionsUseTheDesignedParameters)
{
    EXPECT_EQ(DM.OldDB.Params, (Lines{"user_name=SYSDBA", "password=quillbarn"}));
    EXPECT_EQ(DM.NewTran.Params, (Lines{"read_committed", "rec_version", "nowait"}));
    EXPECT_FALSE(DM.OldDB.LoginPromptOn);
    EXPECT_FALSE(DM.RepairMode);
    EXPECT_FALSE(DM.ReportMode);
}

TEST_F(DMTest, ExecuteFixCommitsRetainingAndKeepsOldQueriesOpen)
{
    Connect();
    Query old(DM.OldDB, DM.OldTran, {"select RDB$RELATION_NAME from RDB$RELATIONS order by RDB$RELATION_NAME"});
    old.Open();
    old.Next();
    const std::string before = old.AsString("RDB$RELATION_NAME");
    DM.RunSQL.Lines = {"CREATE GENERATOR G_FIX"};
    DM.ExecuteFix();
    EXPECT_TRUE(old.Active());
    EXPECT_EQ(old.AsString("RDB$RELATION_NAME"), before);
    EXPECT_TRUE(old.Locate("RDB$RELATION_NAME", "T"));
    DM.RunSQL.Lines = {"CREATE GENERATOR G_BROKEN G_BROKEN"};
    EXPECT_THROW(DM.ExecuteFix(), DbError);
    Disconnect();
    // The first fix stayed committed although a later one failed.
    EXPECT_NE(OldDb->Isql("select count(*) from RDB$GENERATORS where RDB$GENERATOR_NAME = 'G_FIX';").find(" 1"),
              std::string::npos);
}

TEST_F(DMTest, RefusedFixIsUndoneSoNeitherALaterFixNorTheClosingCommitLandsIt)
{
    OldDb->Run("CREATE TABLE DUP (ID INTEGER NOT NULL);\nINSERT INTO DUP VALUES (1);\nINSERT INTO DUP VALUES (1);");
    Connect();
    // The server checks the key only at commit.
    DM.RunSQL.Lines = {"ALTER TABLE DUP ADD CONSTRAINT PK_DUP PRIMARY KEY (ID)"};
    EXPECT_EQ(ErrorOf([&] { DM.ExecuteFix(); }),
              "violation of PRIMARY or UNIQUE KEY constraint \"PK_DUP\" on table \"DUP\"\r\n"
              "Problematic key value is (\"ID\" = 1)");
    DM.RunSQL.Lines = {"CREATE GENERATOR G_AFTER"};
    DM.ExecuteFix();

    // A drop refused while another attachment uses the table would be landed by the closing
    // commit once that attachment has gone.
    {
        OwnAttachment holder(OldDb->Path());
        Query use(holder.Db, holder.Tran, {"select * from T"});
        use.Open();
        DM.RunSQL.Lines = {"DROP TABLE T"};
        EXPECT_THROW(DM.ExecuteFix(), DbError);
    }
    Disconnect();
    const std::string found = OldDb->Isql(
        "SELECT 'tables:' || (SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN ('T', 'DUP'))\n"
        "  || ' keys:' || (SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS\n"
        "    WHERE RDB$RELATION_NAME = 'DUP' AND RDB$CONSTRAINT_TYPE = 'PRIMARY KEY')\n"
        "  || ' generators:' || (SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = 'G_AFTER')\n"
        "FROM RDB$DATABASE;");
    EXPECT_NE(found.find("tables:2 keys:0 generators:1"), std::string::npos) << found;
}

TEST_F(DMTest, TheBusyPointerIsShownWhileAQueryOfEitherDatabaseReadsAllItsRows)
{
    Connect();
    CallCounter pointer;
    EXPECT_EQ(DM.Busy(), nullptr);
    DM.SetBusyPointer(&pointer);
    EXPECT_EQ(DM.Busy(), &pointer);
    Query old(DM.OldDB, DM.OldTran, {"select RDB$RELATION_NAME from RDB$RELATIONS"});
    old.Open();
    old.FetchAll();
    Query neu(DM.NewDB, DM.NewTran, {"select RDB$RELATION_NAME from RDB$RELATIONS"});
    neu.Open();
    EXPECT_TRUE(neu.Locate("RDB$RELATION_NAME", "RDB$DATABASE"));
    EXPECT_EQ(pointer.begun, 2);
    EXPECT_EQ(pointer.ended, 2);
    DM.SetBusyPointer(nullptr);
    neu.Close();
    neu.Open();
    neu.FetchAll();
    EXPECT_EQ(pointer.begun, 2);
}
