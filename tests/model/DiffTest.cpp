// Diff on schemas built in code: what is missing, what differs and what only Old has.
#include "tests/model/ModelBuilders.h"

#include <gtest/gtest.h>

using namespace model;
using schema::ConstraintKind;

TEST(ModelDiff, EqualSchemasHaveNoChanges)
{
    schema::Schema s;
    AddTable(s, TableOf("T", {ColumnOf("A", Integer(), 0)}));
    EXPECT_EQ(Rows(schema::Diff(s, s)), Lines{});
}

TEST(ModelDiff, AColumnDefaultChangeIsOneRowWithBothValuesAndTheStatementSetsIt)
{
    schema::Schema old, neu;
    schema::Column a = ColumnOf("STATUS", Varchar(10), 0);
    a.defaultSource = "DEFAULT 'open'";
    AddTable(old, TableOf("T", {a}));
    a.defaultSource = "DEFAULT 'new'";
    AddTable(neu, TableOf("T", {a}));
    const auto changes = schema::Diff(old, neu);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, schema::ObjectKind::Field);
    EXPECT_EQ(changes[0].From<schema::Column>().defaultSource, "DEFAULT 'open'");
    EXPECT_EQ(changes[0].To<schema::Column>().defaultSource, "DEFAULT 'new'");
    EXPECT_EQ(Rows(changes), Lines{"FIELD T.STATUS different: default 'open' -> 'new'"});
    EXPECT_EQ(Statements(PlanOf(old, neu)), Lines{"ALTER TABLE T ALTER STATUS SET DEFAULT 'new'"});
}

TEST(ModelDiff, MissingObjectsComeFirstInPlanOrderThenTheDifferencesThenWhatOnlyOldHas)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("T", {ColumnOf("A", Integer(), 0)}));
    old.exceptions["E_OLD"] = {"E_OLD", "gone", ""};
    AddTable(neu, TableOf("T2", {ColumnOf("A", Integer(), 0)}));
    AddTable(neu, TableOf("T", {ColumnOf("A", TypeCode(16), 0)}));
    neu.generators["G"] = {"G", 0, 1, ""};
    EXPECT_EQ(Rows(schema::Diff(old, neu)), (Lines{"GENERATOR G not exist", "TABLE T2 not exist",
                                                   "FIELD T.A different: type INTEGER -> BIGINT",
                                                   "EXCEPTION E_OLD only in Old"}));
}

TEST(ModelDiff, AColumnOldLacksIsAMissingFieldAndOneOnlyOldHasIsAnOldOnlyField)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("T", {ColumnOf("A", Integer(), 0), ColumnOf("X", Integer(), 1)}));
    AddTable(neu, TableOf("T", {ColumnOf("A", Integer(), 0), ColumnOf("B", Integer(), 1)}));
    const auto changes = schema::Diff(old, neu);
    EXPECT_EQ(Rows(changes), (Lines{"FIELD T.B not exist", "FIELD T.X only in Old"}));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].table, "T");
    EXPECT_EQ(changes[1].From<schema::Column>().name, "X");
}

TEST(ModelDiff, EachDifferingPropertyOfAColumnIsARowOfItsOwnWithNoneForNothing)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("T", {ColumnOf("C", Varchar(10, "UTF8"), 0)}));
    schema::Column c = ColumnOf("C", Varchar(20, "UTF8"), 0);
    c.defaultSource = "DEFAULT 'x'";
    c.notNull = true;
    c.type.collation = "UNICODE_CI";
    c.description = "Code";
    AddTable(neu, TableOf("T", {c}));
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"FIELD T.C different: type VARCHAR(10) CHARACTER SET UTF8 -> VARCHAR(20) CHARACTER SET UTF8",
                     "FIELD T.C different: default none -> 'x'", "FIELD T.C different: nullability null -> not null",
                     "FIELD T.C different: collation none -> UNICODE_CI", "FIELD T.C different: comment none -> Code"}));
}

TEST(ModelDiff, SourcesAndValuesOfSeveralLinesAreNamedNotShown)
{
    schema::Schema old, neu;
    old.procedures["P"] = ProcedureOf("P", "BEGIN\n  EXIT;\nEND");
    neu.procedures["P"] = ProcedureOf("P", "BEGIN\n  SUSPEND;\nEND");
    old.exceptions["E"] = {"E", "one line", ""};
    neu.exceptions["E"] = {"E", "two\nlines", ""};
    old.generators["G"] = {"G", 0, 1, ""};
    neu.generators["G"] = {"G", 100, 1, ""};
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"GENERATOR G different: initial value 0 -> 100", "EXCEPTION E different: message",
                     "PROCEDURE P different: source"}));
}

TEST(ModelDiff, AServerNamedConstraintIsMatchedByWhatItIsNotByItsIntegName)
{
    schema::Schema old, neu;
    for (auto* s : {&old, &neu}) {
        AddTable(*s, TableOf("P", {ColumnOf("ID", Integer(), 0)}));
        AddTable(*s, TableOf("C", {ColumnOf("P_ID", Integer(), 0), ColumnOf("A", Integer(), 1)}));
    }
    AddConstraint(old, KeyOf(ConstraintKind::Unique, "", "C", {"A"}), "INTEG_12");
    AddConstraint(old, ForeignKeyOf("", "C", {"P_ID"}, "P", {"ID"}), "INTEG_13");
    AddConstraint(old, CheckOf("", "C", "CHECK (A > 0)"), "INTEG_14");
    AddConstraint(neu, CheckOf("", "C", "CHECK (A > 0)"), "INTEG_40");
    AddConstraint(neu, ForeignKeyOf("", "C", {"P_ID"}, "P", {"ID"}), "INTEG_41");
    AddConstraint(neu, KeyOf(ConstraintKind::Unique, "", "C", {"A"}), "INTEG_42");
    EXPECT_EQ(Rows(schema::Diff(old, neu)), Lines{});
}

TEST(ModelDiff, AServerNamedConstraintOldLacksIsNamedByItsTableKindAndColumns)
{
    schema::Schema old, neu;
    for (auto* s : {&old, &neu}) {
        AddTable(*s, TableOf("P", {ColumnOf("ID", Integer(), 0)}));
        AddTable(*s, TableOf("C", {ColumnOf("P_ID", Integer(), 0), ColumnOf("A", Integer(), 1)}));
    }
    AddConstraint(neu, KeyOf(ConstraintKind::Unique, "", "C", {"A", "P_ID"}), "INTEG_1");
    AddConstraint(neu, ForeignKeyOf("", "C", {"P_ID"}, "P", {"ID"}), "INTEG_2");
    AddConstraint(neu, CheckOf("", "C", "CHECK (A > 0)"), "INTEG_3");
    AddConstraint(neu, KeyOf(ConstraintKind::PrimaryKey, "PK_P", "P", {"ID"}));
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"CONSTRAINT C UNIQUE (A, P_ID) not exist", "CONSTRAINT C FOREIGN KEY (P_ID) REFERENCES P not exist",
                     "CONSTRAINT C CHECK not exist", "CONSTRAINT PK_P not exist"}));
}

TEST(ModelDiff, AChangedServerNamedCheckIsPairedWithOldsAndDroppedByItsCatalogName)
{
    schema::Schema old, neu;
    AddToBoth(old, neu, TableOf("T", {ColumnOf("A", Integer(), 0)}));
    AddConstraint(old, CheckOf("", "T", "CHECK (A > 0)"), "INTEG_5");
    AddConstraint(neu, CheckOf("", "T", "CHECK (A > 1)"), "INTEG_9");
    const auto changes = schema::Diff(old, neu);
    EXPECT_EQ(Rows(changes),
              Lines{"CONSTRAINT T CHECK different: definition ALTER TABLE T ADD CHECK (A > 0) -> ALTER TABLE T ADD "
                    "CHECK (A > 1)"});
    EXPECT_EQ(Statements(schema::MakePlan(old, neu, changes)),
              (Lines{"ALTER TABLE T DROP CONSTRAINT INTEG_5", "ALTER TABLE T ADD CHECK (A > 1)"}));
}

TEST(ModelDiff, ChangedServerNamedChecksPairInCatalogOrderAndANewOneBeyondOldsIsMissing)
{
    schema::Schema old, neu;
    AddToBoth(old, neu, TableOf("T", {ColumnOf("A", Integer(), 0)}));
    AddConstraint(old, CheckOf("", "T", "CHECK (A > 0)"), "INTEG_5");
    AddConstraint(neu, CheckOf("", "T", "CHECK (A >= 0)"), "INTEG_7");
    AddConstraint(neu, CheckOf("", "T", "CHECK (A < 100)"), "INTEG_8");
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"CONSTRAINT T CHECK not exist",
                     "CONSTRAINT T CHECK different: definition ALTER TABLE T ADD CHECK (A > 0) -> ALTER TABLE T ADD "
                     "CHECK (A >= 0)"}));
    // Added in New's order, which is the order the server lists them in.
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"ALTER TABLE T DROP CONSTRAINT INTEG_5", "ALTER TABLE T ADD CHECK (A >= 0)",
                     "ALTER TABLE T ADD CHECK (A < 100)"}));
}

TEST(ModelDiff, IgnoringWhitespaceSourcesDifferingInTrailingBlanksBlankLinesAndLineEndsAreEqual)
{
    schema::Schema old, neu;
    old.procedures["P"] = ProcedureOf("P", "BEGIN\r\n  EXIT;  \r\n\r\nEND");
    neu.procedures["P"] = ProcedureOf("P", "BEGIN\n  EXIT;\nEND\n");
    old.procedures["Q"] = ProcedureOf("Q", "BEGIN\n EXIT;\nEND");
    neu.procedures["Q"] = ProcedureOf("Q", "BEGIN\n  EXIT;\nEND");
    EXPECT_EQ(Rows(schema::Diff(old, neu)), (Lines{"PROCEDURE P different: source", "PROCEDURE Q different: source"}));
    EXPECT_EQ(Rows(schema::Diff(old, neu, {.ignoreWhitespace = true})), Lines{"PROCEDURE Q different: source"});
    EXPECT_EQ(schema::NormalizedSource("BEGIN\r\n  EXIT;  \r\n\r\nEND"), "BEGIN\n  EXIT;\nEND\n");
}

TEST(ModelDiff, IgnoringWhitespaceADomainCheckDifferingInLineEndsIsEqual)
{
    schema::Schema old, neu;
    schema::Domain d{"D_POSITIVE", Integer(), "", "CHECK (VALUE > 0)\r\n", false, ""};
    old.domains[d.name] = d;
    d.validationSource = "CHECK (VALUE > 0)";
    neu.domains[d.name] = d;
    EXPECT_EQ(Rows(schema::Diff(old, neu)), Lines{"DOMAIN D_POSITIVE different: check"});
    EXPECT_EQ(Rows(schema::Diff(old, neu, {.ignoreWhitespace = true})), Lines{});
}

// --ignore-whitespace reaches a table CHECK as it reaches a domain's.
TEST(ModelDiff, IgnoringWhitespaceATableCheckDifferingInLineEndsIsEqual)
{
    schema::Schema old, neu;
    AddToBoth(old, neu, TableOf("T", {ColumnOf("A", Integer(), 0)}));
    AddConstraint(old, CheckOf("CK_A", "T", "CHECK (A > 0)\r\n"));
    AddConstraint(neu, CheckOf("CK_A", "T", "CHECK (A > 0)"));
    EXPECT_EQ(Rows(schema::Diff(old, neu, {.ignoreWhitespace = true})), Lines{});
}

TEST(ModelDiff, AKindTheModelDoesNotHoldIsNamedOnceAsNotComparedAndNotedAsNotMended)
{
    schema::Schema old, neu;
    neu.unknown.push_back({schema::ObjectKind::BlobFilter, "BF_TEXT"});
    neu.unknown.push_back({schema::ObjectKind::Mapping, "M_SSO"});
    old.unknown.push_back({schema::ObjectKind::Mapping, "M_SSO"});
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              Lines{"BLOB FILTER BF_TEXT not compared: a kind of object the complete comparison does not know"});
    const schema::Plan plan = PlanOf(old, neu);
    EXPECT_EQ(Statements(plan), Lines{});
    EXPECT_EQ(plan.notMended, Lines{"BLOB FILTER BF_TEXT: this comparison cannot create it; create it by hand"});
}

TEST(ModelDiff, ATriggersFiringPositionAndStateAreRowsWithTheirPhrases)
{
    schema::Schema old, neu;
    schema::Trigger t{"TR_T", "T", 1, 0, false, "AS BEGIN END", "", "", ""};
    old.triggers[t.name] = t;
    t.type = 4;
    t.position = 5;
    t.inactive = true;
    neu.triggers[t.name] = t;
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"TRIGGER TR_T different: firing BEFORE INSERT -> AFTER UPDATE",
                     "TRIGGER TR_T different: position 0 -> 5", "TRIGGER TR_T different: state active -> inactive"}));
}

TEST(ModelDiff, AGrantOptionChangeIsOneRowNamedByPrivilegeObjectAndGrantee)
{
    schema::Schema old, neu;
    schema::Grant g = GrantOf("U", "T", "CLERK");
    g.field = "PRICE";
    AddGrant(old, g);
    g.grantOption = 1;
    AddGrant(neu, g);
    AddGrant(neu, GrantOf("M", "R_SALES", "CLERK", 13));
    EXPECT_EQ(Rows(schema::Diff(old, neu)), (Lines{"GRANT R_SALES TO CLERK not exist",
                                                   "GRANT UPDATE (PRICE) ON T TO CLERK different: grant option without -> with"}));
}

TEST(ModelDiff, ATableThatBecameAViewIsAKindChangeAndNothingElse)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("R", {ColumnOf("A", Integer(), 0)}));
    AddView(neu, "R", {"B"}, "SELECT 1 FROM RDB$DATABASE");
    EXPECT_EQ(Rows(schema::Diff(old, neu)), Lines{"VIEW R different: kind table -> view"});
}

TEST(ModelDiff, ColumnOrderIsOneRowForTheTableAfterItsColumnsNamingOnlyColumnsBothHave)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("T", {ColumnOf("A", Integer(), 0), ColumnOf("X", Integer(), 1), ColumnOf("B", Integer(), 2)}));
    AddTable(neu, TableOf("T", {ColumnOf("B", Integer(), 0), ColumnOf("A", TypeCode(16), 1)}));
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"FIELD T.A different: type INTEGER -> BIGINT", "TABLE T different: column order A, B -> B, A",
                     "FIELD T.X only in Old"}));
}

TEST(ModelDiff, RoutineHeadersAndParameterCommentsAreRowsOfTheirOwn)
{
    schema::Schema old, neu;
    schema::Function f = FunctionOf("F", "BEGIN RETURN X; END", Integer(), {ParameterOf("X", Integer())});
    old.functions["F"] = f;
    f.arguments[0].description = "The input";
    f.arguments.push_back(ParameterOf("Y", Varchar(5)));
    f.deterministic = true;
    neu.functions["F"] = f;
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"FUNCTION F different: parameters X INTEGER -> X INTEGER, Y VARCHAR(5) CHARACTER SET NONE",
                     "FUNCTION F different: deterministic no -> yes",
                     "FUNCTION F different: comment of X none -> The input"}));
}

// The returned value has no name; showing it as a parameter quoted that empty name: returns "" INTEGER.
TEST(ModelDiff, AChangedReturnTypeIsShownWithoutAnEmptyQuotedName)
{
    schema::Schema old, neu;
    old.functions["F"] = FunctionOf("F", "BEGIN RETURN 1; END", Integer());
    neu.functions["F"] = FunctionOf("F", "BEGIN RETURN 1; END", TypeCode(16));
    EXPECT_EQ(Rows(schema::Diff(old, neu)), Lines{"FUNCTION F different: returns INTEGER -> BIGINT"});
}
