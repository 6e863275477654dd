// Generator comparison on real database pairs.
#include "compare/Generators.h"
#include "tests/support/CheckTest.h"
#include "tests/support/ComparatorPeer.h"

#include <gtest/gtest.h>

using GeneratorsTest = CheckTest<CheckKind::Generators>;

TEST_F(GeneratorsTest, MissingGeneratorIsScriptedAndReported)
{
    CheckPair("CREATE GENERATOR GEN_CUSTOMER;", "CREATE GENERATOR GEN_CUSTOMER; CREATE GENERATOR GEN_ORDER;");
    ExpectScriptAndFindings(Lines{"/* GENERATOR GEN_ORDER */", "CREATE GENERATOR GEN_ORDER", ";", ""},
                            Rows{{"GENERATOR", "GEN_ORDER", "not exist"}});
    EXPECT_EQ(Bar.Maximum(), 2);
    EXPECT_EQ(Bar.Position(), 2);
}

TEST_F(GeneratorsTest, PresentOrOldOnlyGeneratorsGiveNothingWhateverTheirValues)
{
    CheckPair("CREATE GENERATOR G1; SET GENERATOR G1 TO 5; CREATE GENERATOR G_OLD_ONLY;",
              "CREATE GENERATOR G1; SET GENERATOR G1 TO 99;");
    ExpectScriptAndFindings({}, {});
}

TEST_F(GeneratorsTest, NamesAreCaseSensitive)
{
    MakePair("", "CREATE GENERATOR GEN_ORDER;");
    OldDb = std::make_unique<TestDb>(CurrentTestName() + "_old3", "CREATE GENERATOR \"gen_order\";", 3);
    Connect();
    RunMode(false);
    Check();
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* GENERATOR GEN_ORDER */", "CREATE GENERATOR GEN_ORDER", ";", ""}));
}

TEST_F(GeneratorsTest, EmptyNewDatabaseStillOpensAndClosesOld)
{
    ConnectPair("CREATE GENERATOR G1;", "");
    RunMode(false);
    TGen gen(DM, Rep);
    gen.CheckGenerators(Bar);
    EXPECT_EQ(Bar.Maximum(), 0);
    EXPECT_FALSE(Peer::Gen(gen, Side::Old).Active());
    EXPECT_FALSE(Peer::Gen(gen, Side::New).Active());
    ExpectScriptAndFindings({}, {});
}

TEST_F(GeneratorsTest, ReportOffStillScripts)
{
    ConnectPair("", "CREATE GENERATOR GEN_ORDER;");
    RunMode(false, false);
    Check();
    EXPECT_EQ(DM.ScriptLines.size(), 4u);
    EXPECT_TRUE(FindingRows(Rep).empty());
}

TEST_F(GeneratorsTest, RepairModeCreatesAndCommitsSoTheNextRunFindsNothing)
{
    CheckPair("", "CREATE GENERATOR GEN_ORDER; CREATE GENERATOR GEN_INVOICE;", true);
    EXPECT_TRUE(DM.ScriptLines.empty());
    EXPECT_EQ(FindingRows(Rep).size(), 2u);
    Disconnect();
    EXPECT_NE(OldDb->Isql("select count(*) from RDB$GENERATORS where RDB$GENERATOR_NAME in ('GEN_ORDER', "
                          "'GEN_INVOICE');")
                  .find(" 2"),
              std::string::npos);

    Connect();
    RunMode(true);
    Check();
    EXPECT_TRUE(FindingRows(Rep).empty());
}

TEST_F(GeneratorsTest, TrailingBlanksInStoredNamesDoNotCount)
{
    // The names come back padded to the column width; the lookup and the statement trim them.
    ConnectPair("CREATE GENERATOR GEN_A;", "CREATE GENERATOR GEN_A; CREATE GENERATOR GEN_B;");
    RunMode(false);
    TGen gen(DM, Rep);
    Peer::Gen(gen, Side::New).Open();
    EXPECT_GT(Peer::Gen(gen, Side::New).AsString("RDB$GENERATOR_NAME").size(), 6u);
    Peer::Gen(gen, Side::New).Close();
    gen.CheckGenerators(Bar);
    EXPECT_EQ(DM.ScriptLines[1], "CREATE GENERATOR GEN_B");
    EXPECT_EQ(DM.ScriptLines.size(), 4u);
}
