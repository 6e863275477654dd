// Stored procedure comparison against real Old/New database pairs.
#include "compare/Procedures.h"
#include "tests/support/CheckTest.h"

using ProceduresTest = CheckTest<CheckKind::Procedures>;

namespace {
// A stored name reads padded with blanks to the column's 93 bytes.
std::string Padded(const std::string& name) { return name + std::string(93 - name.size(), ' '); }

std::string Proc(const std::string& verb, const std::string& head, const std::string& body)
{
    return "SET TERM ^;\n" + verb + " PROCEDURE " + head + " AS\nBEGIN\n" + body + "END^\nSET TERM ;^\n";
}
std::string Create(const std::string& head, const std::string& body = "") { return Proc("CREATE", head, body); }
std::string Alter(const std::string& head, const std::string& body) { return Proc("ALTER", head, body); }
std::string Calls(const std::string& callee) { return "  EXECUTE PROCEDURE " + callee + ";\n"; }

// The script block of a procedure without parameters whose source is an empty BEGIN END or only calls.
Lines Block(const std::string& verb, const std::string& name, const Lines& calls = {})
{
    Lines lines{"/* STORED PROC " + name + " */", verb + " PROCEDURE " + Padded(name), "", "as", "BEGIN"};
    for (const auto& callee : calls)
        lines.push_back("  EXECUTE PROCEDURE " + callee + ";");
    lines.insert(lines.end(), {"END", ";", ""});
    return lines;
}
Lines Join(std::initializer_list<Lines> blocks)
{
    Lines all;
    for (const auto& block : blocks)
        all.insert(all.end(), block.begin(), block.end());
    return all;
}
Rows Missing(std::initializer_list<std::string> names)
{
    Rows rows;
    for (const auto& name : names)
        rows.push_back({"STORED PROC.", name, "not exist"});
    return rows;
}
}

TEST_F(ProceduresTest, MissingProcedureIsCreatedWithParametersAndAsOnItsOwnLine)
{
    CheckPair("", Create("GET_TOTAL (ORDER_ID INTEGER, NOTE VARCHAR(20)) RETURNS (TOTAL DOUBLE PRECISION, C CHAR(10))",
                         "  TOTAL = ORDER_ID;\n  SUSPEND;\n"));
    ExpectScriptAndFindings(Lines{"/* STORED PROC GET_TOTAL */", "CREATE PROCEDURE " + Padded("GET_TOTAL"),
                                  "(ORDER_ID INTEGER, NOTE VARCHAR(20))",
                                  "RETURNS (TOTAL DOUBLE PRECISION, C CHAR(10))", "as", "BEGIN", "  TOTAL = ORDER_ID;",
                                  "  SUSPEND;", "END", ";", ""},
                            Missing({"GET_TOTAL"}));
}

TEST_F(ProceduresTest, OutputsOnlyGiveAnEmptySecondLineThenReturns)
{
    ConnectPair("", Create("ONE RETURNS (N INTEGER)", "  N = 1;\n"));
    RunMode(false, false);
    Check();
    EXPECT_EQ(DM.ScriptLines, (Lines{"/* STORED PROC ONE */", "CREATE PROCEDURE " + Padded("ONE"), "",
                                     "RETURNS (N INTEGER)", "as", "BEGIN", "  N = 1;", "END", ";", ""}));
    EXPECT_TRUE(FindingRows(Rep).empty());
}

TEST_F(ProceduresTest, CalleesComeFirstInAscendingNameOrder)
{
    // A is stored first, so the main loop meets it before B and C.
    const std::string newSql = Create("A") + Create("B") + Create("C") + Alter("A", Calls("C") + Calls("B"));
    CheckPair("", newSql);
    EXPECT_EQ(DM.ScriptLines, Join({Block("CREATE", "B"), Block("CREATE", "C"), Block("CREATE", "A", {"C", "B"}),
                                    Block("CREATE", "B"), Block("CREATE", "C")}));

    RepairTwice(Missing({"B", "C", "A"}));
}

TEST_F(ProceduresTest, SharedCalleeIsScriptedEveryTimeButCreatedOnce)
{
    const std::string newSql = Create("A") + Create("B") + Create("D", Calls("B")) + Alter("A", Calls("B"));
    CheckPair("", newSql);
    ExpectScriptAndFindings(Join({Block("CREATE", "B"), Block("CREATE", "A", {"B"}), Block("CREATE", "B"),
                                  Block("CREATE", "B"), Block("CREATE", "D", {"B"})}),
                            Missing({"B", "A", "B", "B", "D"}));

    RepairTwice(Missing({"B", "A", "D"}));
}

TEST_F(ProceduresTest, EqualCallerDoesNotWalkItsCallees)
{
    const std::string caller = Create("B") + Create("A", Calls("B"));
    CheckPair(caller, Create("A") + Create("B", "  EXIT;\n") + Alter("A", Calls("B")));
    const Lines altered{"/* STORED PROC B */", "ALTER PROCEDURE " + Padded("B"), "", "as", "BEGIN", "  EXIT;",
                        "END", ";", ""};
    ExpectScriptAndFindings(altered, Rows{{"STORED PROC.", "B", "different"}});
}

TEST_F(ProceduresTest, SelfAndMutuallyCallingProceduresEnd)
{
    const std::string newSql = Create("P") + Create("Q", Calls("P")) + Alter("P", Calls("Q")) + Create("S") +
                               Alter("S", "  IF (1 = 0) THEN EXECUTE PROCEDURE S;\n");
    CheckPair("", newSql);
    Lines self{"/* STORED PROC S */", "CREATE PROCEDURE " + Padded("S"), "", "as", "BEGIN",
               "  IF (1 = 0) THEN EXECUTE PROCEDURE S;", "END", ";", ""};
    EXPECT_EQ(DM.ScriptLines, Join({Block("CREATE", "Q", {"P"}), Block("CREATE", "P", {"Q"}), Block("CREATE", "P", {"Q"}),
                                    Block("CREATE", "Q", {"P"}), self}));

    // A self-call compiles on its own, so repair mode can create S.
    Disconnect();
    OldDb->Run(Create("P") + Create("Q", Calls("P")) + Alter("P", Calls("Q")));
    Connect();
    RepairTwice(Missing({"S"}));
}

TEST_F(ProceduresTest, BlankInSourceParameterNameLengthOrExtraOutputMakeItDifferent)
{
    const std::string oldSql = Create("SRC", "  EXIT; \n") + Create("PNAME (X INTEGER)") +
                               Create("PLEN (S VARCHAR(30))") + Create("POUT RETURNS (A INTEGER, B INTEGER)") +
                               Create("SCALE (N NUMERIC(9,3))") + Create("OLD_ONLY");
    const std::string newSql = Create("SRC", "  EXIT;\n") + Create("PNAME (Y INTEGER)") +
                               Create("PLEN (S VARCHAR(20))") + Create("POUT RETURNS (A INTEGER)") +
                               Create("SCALE (N NUMERIC(9,2))");
    CheckPair(oldSql, newSql);
    const Rows different{{"STORED PROC.", "SRC", "different"},
                         {"STORED PROC.", "PNAME", "different"},
                         {"STORED PROC.", "PLEN", "different"},
                         {"STORED PROC.", "POUT", "different"}};
    EXPECT_EQ(FindingRows(Rep), different);
    EXPECT_EQ(DM.ScriptLines,
              (Lines{"/* STORED PROC SRC */", "ALTER PROCEDURE " + Padded("SRC"), "", "as", "BEGIN", "  EXIT;", "END",
                     ";", "",
                     "/* STORED PROC PNAME */", "ALTER PROCEDURE " + Padded("PNAME"), "(Y INTEGER)", "as", "BEGIN",
                     "END", ";", "",
                     "/* STORED PROC PLEN */", "ALTER PROCEDURE " + Padded("PLEN"), "(S VARCHAR(20))", "as", "BEGIN",
                     "END", ";", "",
                     "/* STORED PROC POUT */", "ALTER PROCEDURE " + Padded("POUT"), "", "RETURNS (A INTEGER)", "as",
                     "BEGIN", "END", ";", ""}));

    RepairTwice(different);
}

TEST_F(ProceduresTest, CalleeWithParametersCreatedByAWalkIsEqualInItsOwnTurn)
{
    // E is equal on both sides and read first, so the Old domains are read before B is created.
    const std::string equal = Create("E (N INTEGER)");
    const std::string newSql = equal + Create("A") + Create("B (X INTEGER) RETURNS (Y VARCHAR(10))", "  Y = X;\n") +
                               "SET TERM ^;\nALTER PROCEDURE A AS DECLARE VARIABLE V VARCHAR(10);\n"
                               "BEGIN EXECUTE PROCEDURE B 1 RETURNING_VALUES :V; END^\nSET TERM ;^\n";
    ConnectPair(equal, newSql);
    RepairTwice(Missing({"B", "A"}));
}

TEST_F(ProceduresTest, CalleeAlteredByAWalkIsReadAgainAndFoundEqualInItsOwnTurn)
{
    // A comes first in the main loop; its walk alters B, whose source and parameter domains then change in the Old Database.
    CheckPair(Create("B (X INTEGER)", "  EXIT;\n"),
              Create("A") + Create("B (X VARCHAR(10))") + Alter("A", Calls("B 'x'")));
    const Lines alterB{"/* STORED PROC B */", "ALTER PROCEDURE " + Padded("B"), "(X VARCHAR(10))", "as", "BEGIN", "END",
                       ";", ""};
    const Lines createA{"/* STORED PROC A */", "CREATE PROCEDURE " + Padded("A"), "", "as", "BEGIN",
                        "  EXECUTE PROCEDURE B 'x';", "END", ";", ""};
    ExpectScriptAndFindings(Join({alterB, createA, alterB}), Rows{{"STORED PROC.", "B", "different"},
                                                                  {"STORED PROC.", "A", "not exist"},
                                                                  {"STORED PROC.", "B", "different"}});

    RepairTwice(Rows{{"STORED PROC.", "B", "different"}, {"STORED PROC.", "A", "not exist"}});
}
