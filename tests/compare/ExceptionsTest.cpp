// The exception comparator on real database pairs: missing and altered messages, script and repair.
#include "compare/Exceptions.h"
#include "tests/support/CheckTest.h"

#include <gtest/gtest.h>

using ExceptionsTest = CheckTest<CheckKind::Exceptions>;

TEST_F(ExceptionsTest, MissingExceptionIsCreatedWithItsQuoteDoubled)
{
    CheckPair("", "CREATE EXCEPTION E_NO_STOCK 'Can''t ship';");
    ExpectScriptAndFindings(Lines{"/* EXCEPTION E_NO_STOCK */", "CREATE EXCEPTION E_NO_STOCK 'Can''t ship'", ";", ""},
                            Rows{{"EXCEPTION", "E_NO_STOCK", "not exist"}});
    EXPECT_EQ(Bar.Maximum(), 1);
}

TEST_F(ExceptionsTest, MessagesDifferingInCaseOrTrailingBlanksAreAlteredAndEqualOnesAreNot)
{
    CheckPair("CREATE EXCEPTION E_OTHER 'x';\n"
              "CREATE EXCEPTION E_CASE 'out of stock';\n"
              "CREATE EXCEPTION E_BLANK 'Out of stock';\n"
              "CREATE EXCEPTION E_SAME 'Same';\n"
              "CREATE EXCEPTION E_EMPTY '';\n"
              "CREATE EXCEPTION E_OLD_ONLY 'kept';",
              // Created in another order, so the numbers differ from the Old ones.
              "CREATE EXCEPTION E_EMPTY '';\n"
              "CREATE EXCEPTION E_SAME 'Same';\n"
              "CREATE EXCEPTION E_CASE 'Out of stock';\n"
              "CREATE EXCEPTION E_BLANK 'Out of stock ';\n");
    ExpectScriptAndFindings(
        Lines{"/* EXCEPTION E_CASE */", "ALTER EXCEPTION E_CASE 'Out of stock'", ";", "", "/* EXCEPTION E_BLANK */",
              "ALTER EXCEPTION E_BLANK 'Out of stock '", ";", ""},
        Rows{{"EXCEPTION", "E_CASE", "different type"}, {"EXCEPTION", "E_BLANK", "different type"}});
}

TEST_F(ExceptionsTest, EmptyNewMessageIsWrittenAsNull)
{
    CheckPair("CREATE EXCEPTION E_GONE 'Was here';", "CREATE EXCEPTION E_GONE '';\nCREATE EXCEPTION E_NEW '';");
    ExpectScriptAndFindings(Lines{"/* EXCEPTION E_GONE */", "ALTER EXCEPTION E_GONE NULL", ";", "",
                                  "/* EXCEPTION E_NEW */", "CREATE EXCEPTION E_NEW NULL", ";", ""},
                            Rows{{"EXCEPTION", "E_GONE", "different type"}, {"EXCEPTION", "E_NEW", "not exist"}});
}

TEST_F(ExceptionsTest, RepairCreatesAndAltersSoThatASecondRunFindsNothing)
{
    ConnectPair("CREATE EXCEPTION E_MSG 'Old text';",
                "CREATE EXCEPTION E_MSG 'It''s new';\nCREATE EXCEPTION E_ADD 'Added';");
    RepairTwice(Rows{{"EXCEPTION", "E_MSG", "different type"}, {"EXCEPTION", "E_ADD", "not exist"}});
    Disconnect();
    const std::string stored = OldDb->Isql("SELECT RDB$MESSAGE FROM RDB$EXCEPTIONS WHERE RDB$EXCEPTION_NAME='E_MSG';");
    EXPECT_NE(stored.find("It's new"), std::string::npos) << stored;
}
