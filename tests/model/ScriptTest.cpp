// The plan as an isql script: dialect, SET TERM around PSQL, notes as comments, migrations part by part.
#include "tests/model/ModelBuilders.h"

#include <gtest/gtest.h>

using namespace model;
using schema::ObjectKind;

namespace {

schema::Plan PlanOfSteps(std::vector<schema::Step> steps, int dialect = 3)
{
    schema::Plan plan;
    plan.dialect = dialect;
    plan.steps = std::move(steps);
    return plan;
}

// A plan of one PSQL step, and the script isql should get for it with the given terminator.
schema::Plan OnePsqlStep(const std::string& sql)
{
    return PlanOfSteps({{0, {ObjectKind::Trigger, "TR"}, sql, true}});
}

Lines OnePsqlScript(const std::string& sql, const std::string& term)
{
    return {"SET SQL DIALECT 3;", "SET BAIL ON;", "SET AUTODDL OFF;", "", "SET TERM " + term + " ;", "",
            "/* TRIGGER TR */", sql + " " + term, "SET TERM ; " + term, "", "COMMIT;"};
}

}

TEST(ModelScript, AnEmptyPlanIsTheDialectTheSettingsAndOneCommit)
{
    EXPECT_EQ(ScriptLines(PlanOfSteps({}, 1)),
              (Lines{"SET SQL DIALECT 1;", "SET BAIL ON;", "SET AUTODDL OFF;", "", "COMMIT;"}));
}

TEST(ModelScript, PsqlStepsAreInsideSetTermAndPlainOnesEndWithASemicolon)
{
    schema::Schema old, neu;
    neu.generators["G"] = {"G", 0, 1, ""};
    neu.procedures["P"] = ProcedureOf("P", "BEGIN\n  EXIT;\nEND");
    AddGrant(neu, GrantOf("X", "P", "CLERK", 5));
    EXPECT_EQ(ScriptLines(PlanOf(old, neu)),
              (Lines{"SET SQL DIALECT 3;", "SET BAIL ON;", "SET AUTODDL OFF;", "", "/* GENERATOR G */",
                     "CREATE SEQUENCE G;", "", "SET TERM ^ ;", "", "/* PROCEDURE P */", "CREATE OR ALTER PROCEDURE P",
                     "AS", "BEGIN EXIT; END ^", "", "/* PROCEDURE P */", "ALTER PROCEDURE P", "AS", "BEGIN",
                     "  EXIT;", "END ^", "SET TERM ; ^", "", "/* GRANT EXECUTE ON P TO CLERK */",
                     "GRANT EXECUTE ON PROCEDURE P TO USER CLERK;", "", "COMMIT;"}));
}

TEST(ModelScript, SetTermIsOpenedAgainForEachRunOfPsqlSteps)
{
    const schema::Plan plan = PlanOfSteps({{0, {ObjectKind::Procedure, "P"}, "ALTER PROCEDURE P AS BEGIN END", true},
                                           {0, {ObjectKind::Generator, "G"}, "CREATE SEQUENCE G", false},
                                           {0, {ObjectKind::Trigger, "TR"}, "CREATE TRIGGER TR AS BEGIN END", true}});
    EXPECT_EQ(ScriptLines(plan),
              (Lines{"SET SQL DIALECT 3;", "SET BAIL ON;", "SET AUTODDL OFF;", "", "SET TERM ^ ;", "",
                     "/* PROCEDURE P */", "ALTER PROCEDURE P AS BEGIN END ^", "SET TERM ; ^", "", "/* GENERATOR G */",
                     "CREATE SEQUENCE G;", "", "SET TERM ^ ;", "", "/* TRIGGER TR */", "CREATE TRIGGER TR AS BEGIN END ^",
                     "SET TERM ; ^", "", "COMMIT;"}));
}

TEST(ModelScript, TheTerminatorIsOneThatNoPsqlTextHolds)
{
    const std::string caret = "AS BEGIN NEW.A = 2 ^ 3; END";
    const std::string caretAndBangs = "AS BEGIN NEW.A = 2 ^ 3; /* !! */ END";
    const std::string every = "AS BEGIN /* ^ !! ^^ #~# ~~~~ */ END";
    EXPECT_EQ(ScriptLines(OnePsqlStep(caret)), OnePsqlScript(caret, "!!"));
    EXPECT_EQ(ScriptLines(OnePsqlStep(caretAndBangs)), OnePsqlScript(caretAndBangs, "^^"));
    EXPECT_EQ(ScriptLines(OnePsqlStep(every)), OnePsqlScript(every, "~~vorkat~~"));
    // A plain statement is ended by ; and does not choose the terminator.
    const schema::Plan plain = PlanOfSteps({{0, {ObjectKind::Exception, "E"}, "CREATE EXCEPTION E '^'", false},
                                            {0, {ObjectKind::Trigger, "TR"}, "AS BEGIN END", true}});
    EXPECT_EQ(ScriptLines(plain),
              (Lines{"SET SQL DIALECT 3;", "SET BAIL ON;", "SET AUTODDL OFF;", "", "/* EXCEPTION E */",
                     "CREATE EXCEPTION E '^';", "", "SET TERM ^ ;", "", "/* TRIGGER TR */", "AS BEGIN END ^",
                     "SET TERM ; ^", "", "COMMIT;"}));
}

TEST(ModelScript, WarningsAndNotMendedNotesAreCommentsWithTheirCommentEndsMadeSafe)
{
    schema::Plan plan = PlanOfSteps({{0, {ObjectKind::Table, "A*/B"}, "DROP TABLE \"A*/B\"", false}});
    plan.warnings = {"3 rows */ of T"};
    plan.notMended = {"VIEW V: kept */ as it is", "FIELD T.A: needs a data migration: the rows of T"};
    EXPECT_EQ(ScriptLines(plan),
              (Lines{"SET SQL DIALECT 3;", "SET BAIL ON;", "SET AUTODDL OFF;", "/* Warning: 3 rows * / of T */",
                     "/* Not mended: VIEW V: kept * / as it is */",
                     "/* Not mended: FIELD T.A: needs a data migration: the rows of T */", "", "/* TABLE A* /B */",
                     "DROP TABLE \"A*/B\";", "", "COMMIT;"}));
}

TEST(ModelScript, TextInUtf8GetsANoteToRunIsqlInUtf8)
{
    schema::Schema old, neu;
    neu.exceptions["E"] = {"E", "caf\xC3\xA9", ""};
    EXPECT_EQ(ScriptLines(PlanOf(old, neu)),
              (Lines{"SET SQL DIALECT 3;", "/* This script holds text in UTF-8: run it with isql-fb -ch UTF8 */",
                     "SET BAIL ON;", "SET AUTODDL OFF;", "", "/* EXCEPTION E */", "CREATE EXCEPTION E 'caf\xC3\xA9';",
                     "", "COMMIT;"}));
}

TEST(ModelScript, MigrationsAreCommittedPartByPartBeforeTheOneTransaction)
{
    schema::Schema old, neu;
    MigratedColumnPair(old, neu);
    neu.generators["G"] = {"G", 0, 1, ""};
    EXPECT_EQ(ScriptLines(PlanOf(old, neu, false, {.rowCounts = {{"T", 5}}, .force = true})),
              (Lines{"SET SQL DIALECT 3;", "SET BAIL ON;", "SET AUTODDL OFF;",
                     "/* Warning: FIELD T.A: rebuilt by a data migration: its values are copied in committed steps "
                     "before the one transaction, which puts the copy in its place */",
                     "", "/* Data migration of FIELD T.A, committed step by step */",
                     "ALTER TABLE T ADD VK$COPY_1 VARCHAR(10) CHARACTER SET NONE;", "COMMIT;",
                     "UPDATE T SET VK$COPY_1 = CAST(A AS VARCHAR(10) CHARACTER SET NONE);", "COMMIT;", "",
                     "/* FIELD T.A */", "ALTER TABLE T DROP A;", "", "/* GENERATOR G */", "CREATE SEQUENCE G;", "",
                     "/* FIELD T.A */", "ALTER TABLE T ALTER VK$COPY_1 TO A;", "", "/* FIELD T.A */",
                     "ALTER TABLE T ALTER A POSITION 2;", "", "/* FIELD T.A */", "ALTER TABLE T ALTER A SET NOT NULL;", "",
                     "/* FIELD T.A */", "COMMENT ON COLUMN T.A IS 'code';", "", "COMMIT;"}));
}

// The UTF-8 note looks at the whole script, its migrations and its warnings too.
TEST(ModelScript, AMigrationHoldingUtf8TextGetsTheUtf8Note)
{
    schema::Schema old, neu;
    const std::string table = "PRE\xC3\x87OS";
    AddTable(old, TableOf(table, {ColumnOf("ID", Integer(), 0), ColumnOf("A", Integer(), 1)}));
    AddTable(neu, TableOf(table, {ColumnOf("ID", Integer(), 0), ColumnOf("A", Varchar(10), 1)}));
    const std::string quoted = "\"" + table + "\"";
    EXPECT_EQ(ScriptLines(PlanOf(old, neu, false, {.rowCounts = {{table, 5}}, .force = true})),
              (Lines{"SET SQL DIALECT 3;", "/* This script holds text in UTF-8: run it with isql-fb -ch UTF8 */",
                     "SET BAIL ON;", "SET AUTODDL OFF;",
                     "/* Warning: FIELD " + table +
                         ".A: rebuilt by a data migration: its values are copied in committed steps before the one "
                         "transaction, which puts the copy in its place */",
                     "", "/* Data migration of FIELD " + table + ".A, committed step by step */",
                     "ALTER TABLE " + quoted + " ADD VK$COPY_1 VARCHAR(10) CHARACTER SET NONE;", "COMMIT;",
                     "UPDATE " + quoted + " SET VK$COPY_1 = CAST(A AS VARCHAR(10) CHARACTER SET NONE);", "COMMIT;", "",
                     "/* FIELD " + table + ".A */", "ALTER TABLE " + quoted + " DROP A;", "",
                     "/* FIELD " + table + ".A */", "ALTER TABLE " + quoted + " ALTER VK$COPY_1 TO A;", "",
                     "/* FIELD " + table + ".A */", "ALTER TABLE " + quoted + " ALTER A POSITION 2;", "", "COMMIT;"}));
}

namespace {

Lines Split(const std::string& text)
{
    Lines lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

}

// A warning stands before the first statement of its object; one about an object without a
// statement stays at the head, and an object whose statements can lose data is marked on each.
TEST(ModelScript, WarningsStandBesideTheirStatementsAndDestructiveOnesAreMarked)
{
    schema::Plan plan = PlanOfSteps({{0, {ObjectKind::Table, "GONE"}, "DROP TABLE GONE", false},
                                     {0, {ObjectKind::Field, "T.A"}, "ALTER TABLE T ALTER A TYPE SMALLINT", false},
                                     {0, {ObjectKind::Generator, "G"}, "DROP SEQUENCE G", false},
                                     {1, {ObjectKind::Table, "GONE"}, "CREATE TABLE GONE (A INTEGER)", false}});
    plan.warnings = {"not */ shown: the notes take the place of these"};
    schema::ScriptNotes notes;
    notes.beside = {{"drops-data", schema::Severity::Warning, {ObjectKind::Table, "GONE"}, "drops it with 2 rows"},
                    {"would-cut", schema::Severity::Warning, {ObjectKind::Field, "T.A"}, "would cut: 1 row */ of T"},
                    {"would-fail", schema::Severity::Error, {ObjectKind::Field, "T.B"}, "would fail: 3 rows"}};
    notes.destructive = {{ObjectKind::Table, "GONE"}, {ObjectKind::Field, "T.A"}};
    EXPECT_EQ(Split(schema::ScriptText(plan, notes)),
              (Lines{"SET SQL DIALECT 3;", "SET BAIL ON;", "SET AUTODDL OFF;",
                     "/* Warning: FIELD T.B: would fail: 3 rows */", "",
                     "/* Warning: drops it with 2 rows */", "/* TABLE GONE (destructive) */", "DROP TABLE GONE;", "",
                     "/* Warning: would cut: 1 row * / of T */", "/* FIELD T.A (destructive) */",
                     "ALTER TABLE T ALTER A TYPE SMALLINT;", "", "/* GENERATOR G */", "DROP SEQUENCE G;", "",
                     "/* TABLE GONE (destructive) */", "CREATE TABLE GONE (A INTEGER);", "", "COMMIT;"}));
    // Without notes the plan's own warnings head the script, as before.
    EXPECT_EQ(Split(schema::ScriptText(plan))[3], "/* Warning: not * / shown: the notes take the place of these */");
}
