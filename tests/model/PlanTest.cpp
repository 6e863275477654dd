// The plan's order of phases, what a change takes out and puts back, and what it notes as not mended.
#include "tests/model/ModelBuilders.h"

#include <functional>
#include <gtest/gtest.h>

using namespace model;
using schema::ConstraintKind;

namespace {

schema::Trigger TriggerOf(const std::string& name, const std::string& relation, long long type,
                          const std::string& source = "AS BEGIN END")
{
    schema::Trigger t;
    t.name = name;
    t.relation = relation;
    t.type = type;
    t.source = source;
    return t;
}

std::vector<bool> Psql(const schema::Plan& plan)
{
    std::vector<bool> psql;
    for (const auto& step : plan.steps)
        psql.push_back(step.psql);
    return psql;
}

// P and C(P_ID) -> P(ID) on both sides, the key and foreign key added by the caller.
void KeyAndForeignKeyTables(schema::Schema& s)
{
    schema::Column id = ColumnOf("ID", Integer(), 0);
    id.notNull = true;
    AddTable(s, TableOf("P", {id}));
    AddTable(s, TableOf("C", {ColumnOf("P_ID", Integer(), 0)}));
}

}

TEST(ModelPlan, WithDropDependentsGoBeforeWhatTheyUseAndWhatGoesWithATableIsNotDroppedAlone)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("OLD_T", {ColumnOf("A", Integer(), 0)}));
    AddTable(old, TableOf("KEEP", {ColumnOf("A", Integer(), 0), ColumnOf("X", Integer(), 1)}));
    AddTable(neu, TableOf("KEEP", {ColumnOf("A", Integer(), 0)}));
    AddView(old, "V_OLD2", {"A"}, "SELECT A FROM V_OLD", {"V_OLD"});
    AddView(old, "V_OLD", {"A"}, "SELECT A FROM OLD_T", {"OLD_T"});
    old.triggers["TR_DB"] = TriggerOf("TR_DB", "", 8192);
    old.triggers["TR_OLD_T"] = TriggerOf("TR_OLD_T", "OLD_T", 1);
    AddGrant(old, GrantOf("S", "KEEP", "CLERK"));
    AddGrant(old, GrantOf("S", "OLD_T", "CLERK"));
    old.indices["IX_OLD"] = {"IX_OLD", "KEEP", {"X"}, "", "", false, false, false, ""};
    old.indices["IX_OLD_T"] = {"IX_OLD_T", "OLD_T", {"A"}, "", "", false, false, false, ""};
    AddConstraint(old, KeyOf(ConstraintKind::Unique, "", "KEEP", {"A"}), "INTEG_3");
    AddConstraint(old, ForeignKeyOf("", "KEEP", {"A"}, "OLD_T", {"A"}), "INTEG_4");
    AddConstraint(old, KeyOf(ConstraintKind::PrimaryKey, "PK_OLD_T", "OLD_T", {"A"}));
    old.procedures["P_OLD"] = ProcedureOf("P_OLD", "BEGIN\n  EXECUTE PROCEDURE P_OLD;\nEND");
    schema::Procedure udr = ProcedureOf("P_UDR", "");
    udr.engine = "UDR";
    udr.entryPoint = "lib!p";
    old.procedures["P_UDR"] = udr;
    old.functions["F_OLD"] = FunctionOf("F_OLD", "BEGIN\n  RETURN 1;\nEND", Integer());
    old.domains["D_OLD"] = {"D_OLD", Integer(), "", "", false, ""};
    old.exceptions["E_OLD"] = {"E_OLD", "gone", ""};
    old.generators["G_OLD"] = {"G_OLD", 0, 1, ""};
    old.roles["R_OLD"] = {"R_OLD", ""};
    neu.generators["G_NEW"] = {"G_NEW", 0, 1, ""};

    EXPECT_EQ(Statements(PlanOf(old, neu, true)),
              (Lines{"DROP TRIGGER TR_DB", "REVOKE SELECT ON KEEP FROM USER CLERK", "DROP VIEW V_OLD2", "DROP VIEW V_OLD",
                     "CREATE OR ALTER PROCEDURE P_OLD\nAS\nBEGIN EXIT; END",
                     "CREATE OR ALTER FUNCTION F_OLD\nRETURNS INTEGER\nAS\nBEGIN END", "DROP PROCEDURE P_OLD",
                     "DROP PROCEDURE P_UDR", "DROP FUNCTION F_OLD", "ALTER TABLE KEEP DROP CONSTRAINT INTEG_4",
                     "ALTER TABLE KEEP DROP CONSTRAINT INTEG_3", "DROP INDEX IX_OLD", "ALTER TABLE KEEP DROP X",
                     "DROP TABLE OLD_T", "DROP DOMAIN D_OLD", "DROP EXCEPTION E_OLD", "DROP SEQUENCE G_OLD",
                     "DROP ROLE R_OLD", "CREATE SEQUENCE G_NEW"}));
}

TEST(ModelPlan, WithoutDropOldOnlyObjectsAreReportedAndLeftAlone)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("X", {ColumnOf("A", Integer(), 0)}));
    old.generators["G"] = {"G", 0, 1, ""};
    const auto changes = schema::Diff(old, neu);
    EXPECT_EQ(Rows(changes), (Lines{"GENERATOR G only in Old", "TABLE X only in Old"}));
    EXPECT_EQ(Rows(schema::ChangesToMake(changes, false)), Lines{});
    EXPECT_EQ(Rows(schema::ChangesToMake(changes, true)), (Lines{"GENERATOR G only in Old", "TABLE X only in Old"}));
    EXPECT_EQ(Statements(PlanOf(old, neu)), Lines{});
    EXPECT_EQ(Statements(PlanOf(old, neu, true)), (Lines{"DROP TABLE X", "DROP SEQUENCE G"}));
}

TEST(ModelPlan, RoutinesAreStubsFirstAndGetTheirBodiesAfterTheViewsWhichBreaksEveryCycle)
{
    schema::Schema old, neu;
    neu.procedures["P1"] = ProcedureOf("P1", "BEGIN\n  EXECUTE PROCEDURE P2;\nEND");
    neu.procedures["P2"] = ProcedureOf("P2", "BEGIN\n  EXECUTE PROCEDURE P1;\nEND");
    neu.functions["F"] = FunctionOf("F", "BEGIN\n  RETURN (SELECT COUNT(*) FROM V);\nEND", Integer());
    AddView(neu, "V", {"N"}, "SELECT F() FROM RDB$DATABASE");
    neu.dependencies.push_back({"V", 1, "F", 15});
    neu.dependencies.push_back({"F", 15, "V", 1});
    const schema::Plan plan = PlanOf(old, neu);
    EXPECT_EQ(Statements(plan),
              (Lines{"CREATE OR ALTER PROCEDURE P1\nAS\nBEGIN EXIT; END", "CREATE OR ALTER PROCEDURE P2\nAS\nBEGIN EXIT; END",
                     "CREATE OR ALTER FUNCTION F\nRETURNS INTEGER\nAS\nBEGIN END",
                     "CREATE VIEW V (N) AS\nSELECT F() FROM RDB$DATABASE",
                     "ALTER PROCEDURE P1\nAS\nBEGIN\n  EXECUTE PROCEDURE P2;\nEND",
                     "ALTER PROCEDURE P2\nAS\nBEGIN\n  EXECUTE PROCEDURE P1;\nEND",
                     "ALTER FUNCTION F\nRETURNS INTEGER\nAS\nBEGIN\n  RETURN (SELECT COUNT(*) FROM V);\nEND"}));
    EXPECT_EQ(Psql(plan), (std::vector<bool>{true, true, true, false, true, true, true}));
}

TEST(ModelPlan, AViewOnAViewOnAProcedureIsMadeAfterTheProceduresBodyAndTheBodiesOnItAfterThat)
{
    schema::Schema old, neu;
    neu.procedures["P"] = ProcedureOf("P", "BEGIN A = 1; SUSPEND; END", {}, {ParameterOf("A", Integer())});
    neu.procedures["P"].selectable = true;
    neu.procedures["Q"] = ProcedureOf("Q", "BEGIN FOR SELECT A FROM V2 INTO :X DO SUSPEND; END", {},
                                      {ParameterOf("X", Integer())});
    neu.procedures["Q"].selectable = true;
    neu.procedures["R"] = ProcedureOf("R", "BEGIN FOR SELECT A FROM V INTO :X DO SUSPEND; END", {},
                                      {ParameterOf("X", Integer())});
    neu.procedures["R"].selectable = true;
    AddView(neu, "V", {"A"}, "SELECT A FROM P");
    AddView(neu, "V2", {"A"}, "SELECT A FROM V", {"V"});
    AddView(neu, "W", {"A"}, "SELECT 1 FROM RDB$DATABASE", {"RDB$DATABASE"});
    neu.dependencies.push_back({"V", 1, "P", 5, "A"});
    neu.dependencies.push_back({"R", 5, "V", 1, "A"});
    neu.dependencies.push_back({"Q", 5, "V2", 1, "A"});
    const schema::Plan plan = PlanOf(old, neu);
    // V selects P directly and may stand on its stub; V2 would keep the stub's outputs.
    EXPECT_EQ(Statements(plan),
              (Lines{"CREATE OR ALTER PROCEDURE P\nRETURNS (A INTEGER)\nAS\nBEGIN SUSPEND; END",
                     "CREATE OR ALTER PROCEDURE Q\nRETURNS (X INTEGER)\nAS\nBEGIN SUSPEND; END",
                     "CREATE OR ALTER PROCEDURE R\nRETURNS (X INTEGER)\nAS\nBEGIN SUSPEND; END",
                     "CREATE VIEW V (A) AS\nSELECT A FROM P", "CREATE VIEW W (A) AS\nSELECT 1 FROM RDB$DATABASE",
                     "ALTER PROCEDURE P\nRETURNS (A INTEGER)\nAS\nBEGIN A = 1; SUSPEND; END",
                     "CREATE VIEW V2 (A) AS\nSELECT A FROM V",
                     "ALTER PROCEDURE Q\nRETURNS (X INTEGER)\nAS\nBEGIN FOR SELECT A FROM V2 INTO :X DO SUSPEND; END",
                     "ALTER PROCEDURE R\nRETURNS (X INTEGER)\nAS\nBEGIN FOR SELECT A FROM V INTO :X DO SUSPEND; END"}));
    EXPECT_EQ(Psql(plan), (std::vector<bool>{true, true, true, false, false, true, false, true, true}));
}

TEST(ModelPlan, ABodyDrawnInAmongTheViewsComesAfterTheViewsItUses)
{
    schema::Schema old, neu;
    neu.procedures["P"] = ProcedureOf("P", "BEGIN FOR SELECT N FROM U INTO :A DO SUSPEND; END", {},
                                      {ParameterOf("A", Integer())});
    neu.procedures["P"].selectable = true;
    AddView(neu, "U", {"N"}, "SELECT 1 FROM RDB$DATABASE", {"RDB$DATABASE"});
    AddView(neu, "V", {"A"}, "SELECT A FROM P");
    AddView(neu, "V2", {"A"}, "SELECT A FROM V", {"V"});
    AddView(neu, "U2", {"N"}, "SELECT N FROM U", {"U"});
    neu.dependencies.push_back({"V", 1, "P", 5, "A"});
    neu.dependencies.push_back({"P", 5, "U2", 1, "N"});
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE OR ALTER PROCEDURE P\nRETURNS (A INTEGER)\nAS\nBEGIN SUSPEND; END",
                     "CREATE VIEW U (N) AS\nSELECT 1 FROM RDB$DATABASE", "CREATE VIEW V (A) AS\nSELECT A FROM P",
                     "CREATE VIEW U2 (N) AS\nSELECT N FROM U",
                     "ALTER PROCEDURE P\nRETURNS (A INTEGER)\nAS\nBEGIN FOR SELECT N FROM U INTO :A DO SUSPEND; END",
                     "CREATE VIEW V2 (A) AS\nSELECT A FROM V"}));
}

TEST(ModelPlan, AViewOnAViewOnAPackagedProcedureIsMadeAfterThePackageBody)
{
    schema::Schema old, neu;
    neu.packages["K"] = {"K", "BEGIN\n  procedure p returns (a integer);\nEND",
                         "BEGIN\n  PROCEDURE P RETURNS (A INTEGER) AS BEGIN A = 1; SUSPEND; END\nEND", ""};
    neu.packages["L"] = {"L", "BEGIN\n  PROCEDURE P2 RETURNS (A INTEGER);\nEND",
                         "BEGIN\n  PROCEDURE P2 RETURNS (A INTEGER) AS BEGIN A = 2; SUSPEND; END\nEND", ""};
    AddView(neu, "V", {"A"}, "SELECT A FROM K.P");
    AddView(neu, "V2", {"A"}, "SELECT A FROM V", {"V"});
    // The catalog names the procedure and, apart, its package; a procedure of its own of the
    // same name is another.
    neu.procedures["P"] = ProcedureOf("P", "BEGIN A = 3; SUSPEND; END", {}, {ParameterOf("A", Integer())});
    neu.dependencies.push_back({"V", 1, "P", 5, "A", "K"});
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE PACKAGE K\nAS\nBEGIN\n  procedure p returns (a integer);\nEND",
                     "CREATE PACKAGE L\nAS\nBEGIN\n  PROCEDURE P2 RETURNS (A INTEGER);\nEND",
                     "CREATE OR ALTER PROCEDURE P\nRETURNS (A INTEGER)\nAS\nBEGIN EXIT; END",
                     "CREATE VIEW V (A) AS\nSELECT A FROM K.P",
                     "CREATE PACKAGE BODY K\nAS\nBEGIN\n  PROCEDURE P RETURNS (A INTEGER) AS BEGIN A = 1; SUSPEND; END\nEND",
                     "CREATE VIEW V2 (A) AS\nSELECT A FROM V",
                     "CREATE PACKAGE BODY L\nAS\nBEGIN\n  PROCEDURE P2 RETURNS (A INTEGER) AS BEGIN A = 2; SUSPEND; END\nEND",
                     "ALTER PROCEDURE P\nRETURNS (A INTEGER)\nAS\nBEGIN A = 3; SUSPEND; END"}));
}

TEST(ModelPlan, AnExternalRoutineIsMadeWholeWhereTheStubsGo)
{
    schema::Schema old, neu;
    schema::Procedure p = ProcedureOf("P_UDR", "", {ParameterOf("A", Integer())});
    p.engine = "UDR";
    p.entryPoint = "lib!p";
    neu.procedures["P_UDR"] = p;
    AddView(neu, "V", {"N"}, "SELECT 1 FROM RDB$DATABASE");
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE OR ALTER PROCEDURE P_UDR (A INTEGER)\nEXTERNAL NAME 'lib!p' ENGINE UDR",
                     "CREATE VIEW V (N) AS\nSELECT 1 FROM RDB$DATABASE"}));
}

TEST(ModelPlan, ViewsAreCreatedAfterTablesKeysAndIndicesEachAfterTheViewsItUses)
{
    schema::Schema old, neu;
    AddView(neu, "V_TOP", {"ID"}, "SELECT ID FROM V_MID", {"V_MID"});
    AddView(neu, "V_MID", {"ID"}, "SELECT ID FROM V_BASE", {"V_BASE"});
    AddView(neu, "V_BASE", {"ID"}, "SELECT ID FROM T", {"T"});
    schema::Column id = ColumnOf("ID", Integer(), 0);
    id.notNull = true;
    AddTable(neu, TableOf("T", {id, ColumnOf("NAME", Varchar(10), 1)}));
    AddConstraint(neu, KeyOf(ConstraintKind::PrimaryKey, "PK_T", "T", {"ID"}));
    neu.indices["IX_T_NAME"] = {"IX_T_NAME", "T", {"NAME"}, "", "", false, false, false, ""};
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE TABLE T (ID INTEGER NOT NULL,\n    NAME VARCHAR(10) CHARACTER SET NONE)",
                     "ALTER TABLE T ADD CONSTRAINT PK_T PRIMARY KEY (ID)", "CREATE INDEX IX_T_NAME ON T (NAME)",
                     "CREATE VIEW V_BASE (ID) AS\nSELECT ID FROM T", "CREATE VIEW V_MID (ID) AS\nSELECT ID FROM V_BASE",
                     "CREATE VIEW V_TOP (ID) AS\nSELECT ID FROM V_MID"}));
}

TEST(ModelPlan, ViewsThatUseEachOtherInACycleAreRefusedByName)
{
    schema::Schema old, neu;
    AddView(neu, "V_B", {"A"}, "SELECT A FROM V_A", {"V_A"});
    AddView(neu, "V_A", {"A"}, "SELECT A FROM V_B", {"V_B"});
    AddView(neu, "V_C", {"A"}, "SELECT 1 FROM RDB$DATABASE");
    EXPECT_EQ(ErrorOf([&] { PlanOf(old, neu); }),
              "These views depend on each other in a cycle that no stub can break: V_B, V_A");
}

TEST(ModelPlan, ForeignKeysComeAfterTheKeysTheyReferenceAndChecksAfterAllElse)
{
    schema::Schema old, neu;
    neu.domains["D_POS"] = {"D_POS", Integer(), "", "CHECK (VALUE > 0)", false, ""};
    schema::Column pid = ColumnOf("P_ID", {}, 0);
    pid.domain = "D_POS";
    AddTable(neu, TableOf("C", {pid}));
    schema::Column id = ColumnOf("ID", Integer(), 0);
    id.notNull = true;
    AddTable(neu, TableOf("P", {id}));
    AddConstraint(neu, CheckOf("CK_C", "C", "CHECK (P_ID < 1000)"));
    AddConstraint(neu, ForeignKeyOf("FK_C_P", "C", {"P_ID"}, "P", {"ID"}));
    AddConstraint(neu, KeyOf(ConstraintKind::PrimaryKey, "PK_P", "P", {"ID"}));
    neu.procedures["P_X"] = ProcedureOf("P_X", "BEGIN\n  EXIT;\nEND");
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE DOMAIN D_POS AS INTEGER", "CREATE TABLE C (P_ID D_POS)", "CREATE TABLE P (ID INTEGER NOT NULL)",
                     "CREATE OR ALTER PROCEDURE P_X\nAS\nBEGIN EXIT; END", "ALTER TABLE P ADD CONSTRAINT PK_P PRIMARY KEY (ID)",
                     "ALTER TABLE C ADD CONSTRAINT FK_C_P FOREIGN KEY (P_ID) REFERENCES P (ID)",
                     "ALTER PROCEDURE P_X\nAS\nBEGIN\n  EXIT;\nEND", "ALTER DOMAIN D_POS ADD CONSTRAINT CHECK (VALUE > 0)",
                     "ALTER TABLE C ADD CONSTRAINT CK_C CHECK (P_ID < 1000)"}));
}

TEST(ModelPlan, AChangedKeyDropsAndReaddsTheForeignKeysLeaningOnIt)
{
    schema::Schema old, neu;
    for (auto* s : {&old, &neu}) {
        KeyAndForeignKeyTables(*s);
        AddTable(*s, TableOf("D", {ColumnOf("P_ID", Integer(), 0)}));
    }
    AddConstraint(old, KeyOf(ConstraintKind::PrimaryKey, "PK_P", "P", {"ID"}));
    AddConstraint(old, ForeignKeyOf("FK_C", "C", {"P_ID"}, "P", {"ID"}));
    AddConstraint(old, ForeignKeyOf("", "D", {"P_ID"}, "P", {"ID"}), "INTEG_7");
    AddConstraint(neu, KeyOf(ConstraintKind::PrimaryKey, "PK_P2", "P", {"ID"}));
    AddConstraint(neu, ForeignKeyOf("FK_C", "C", {"P_ID"}, "P", {"ID"}));
    AddConstraint(neu, ForeignKeyOf("", "D", {"P_ID"}, "P", {"ID"}), "INTEG_20");
    const auto changes = schema::Diff(old, neu);
    EXPECT_EQ(Rows(changes), Lines{"CONSTRAINT PK_P2 different: definition ALTER TABLE P ADD CONSTRAINT PK_P PRIMARY "
                                   "KEY (ID) -> ALTER TABLE P ADD CONSTRAINT PK_P2 PRIMARY KEY (ID)"});
    EXPECT_EQ(Statements(schema::MakePlan(old, neu, changes)),
              (Lines{"ALTER TABLE D DROP CONSTRAINT INTEG_7", "ALTER TABLE C DROP CONSTRAINT FK_C",
                     "ALTER TABLE P DROP CONSTRAINT PK_P", "ALTER TABLE P ADD CONSTRAINT PK_P2 PRIMARY KEY (ID)",
                     "ALTER TABLE D ADD FOREIGN KEY (P_ID) REFERENCES P (ID)",
                     "ALTER TABLE C ADD CONSTRAINT FK_C FOREIGN KEY (P_ID) REFERENCES P (ID)"}));
}

// The script's comments and the repair's messages name them as the report does, not by the
// model's key ("name:FK_C").
TEST(ModelPlan, TheForeignKeysTakenOutWithAChangedKeyAreNamedAsTheReportNamesThem)
{
    schema::Schema old, neu;
    for (auto* s : {&old, &neu}) {
        KeyAndForeignKeyTables(*s);
        AddConstraint(*s, ForeignKeyOf("FK_C", "C", {"P_ID"}, "P", {"ID"}));
    }
    AddConstraint(old, KeyOf(ConstraintKind::PrimaryKey, "PK_P", "P", {"ID"}));
    AddConstraint(neu, KeyOf(ConstraintKind::PrimaryKey, "PK_P2", "P", {"ID"}));
    EXPECT_EQ(Objects(PlanOf(old, neu)),
              (Lines{"CONSTRAINT FK_C", "CONSTRAINT PK_P2", "CONSTRAINT PK_P2", "CONSTRAINT FK_C"}));
}

TEST(ModelPlan, AForeignKeyThatChangedLeaningOnAChangedKeyListedAfterItIsDroppedAndAddedOnce)
{
    schema::Schema old, neu;
    for (auto* s : {&old, &neu})
        KeyAndForeignKeyTables(*s);
    schema::Constraint fk = ForeignKeyOf("FK_C", "C", {"P_ID"}, "P", {"ID"});
    AddConstraint(old, fk);
    AddConstraint(old, KeyOf(ConstraintKind::PrimaryKey, "PK_P", "P", {"ID"}));
    fk.onDelete = "CASCADE";
    AddConstraint(neu, fk);
    AddConstraint(neu, KeyOf(ConstraintKind::PrimaryKey, "PK_P2", "P", {"ID"}));
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"ALTER TABLE C DROP CONSTRAINT FK_C", "ALTER TABLE P DROP CONSTRAINT PK_P",
                     "ALTER TABLE P ADD CONSTRAINT PK_P2 PRIMARY KEY (ID)",
                     "ALTER TABLE C ADD CONSTRAINT FK_C FOREIGN KEY (P_ID) REFERENCES P (ID) ON DELETE CASCADE"}));
}

// Whichever comes first in catalog order, the foreign key's own change drops and adds it; a
// second DROP would name a constraint that is already gone.
TEST(ModelPlan, AForeignKeyThatChangedLeaningOnAChangedKeyListedBeforeItIsDroppedAndAddedOnce)
{
    schema::Schema old, neu;
    for (auto* s : {&old, &neu})
        KeyAndForeignKeyTables(*s);
    schema::Constraint fk = ForeignKeyOf("FK_C", "C", {"P_ID"}, "P", {"ID"});
    AddConstraint(old, KeyOf(ConstraintKind::PrimaryKey, "PK_P", "P", {"ID"}));
    AddConstraint(old, fk);
    fk.onDelete = "CASCADE";
    AddConstraint(neu, KeyOf(ConstraintKind::PrimaryKey, "PK_P2", "P", {"ID"}));
    AddConstraint(neu, fk);
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"ALTER TABLE C DROP CONSTRAINT FK_C", "ALTER TABLE P DROP CONSTRAINT PK_P",
                     "ALTER TABLE P ADD CONSTRAINT PK_P2 PRIMARY KEY (ID)",
                     "ALTER TABLE C ADD CONSTRAINT FK_C FOREIGN KEY (P_ID) REFERENCES P (ID) ON DELETE CASCADE"}));
}

namespace {

// Old: a selectable P_SRC, V_SRC on it, V_TOP on V_SRC, and F_USE counting V_TOP's rows.
void RoutineWithDependents(schema::Schema& s, bool twoOutputs, const std::string& useSource)
{
    std::vector<schema::Parameter> outputs{ParameterOf("A", Integer())};
    if (twoOutputs)
        outputs.push_back(ParameterOf("B", Integer()));
    schema::Procedure p = ProcedureOf("P_SRC", twoOutputs ? "BEGIN\n  A = 1;\n  B = 2;\n  SUSPEND;\nEND"
                                                          : "BEGIN\n  A = 1;\n  SUSPEND;\nEND",
                                      {}, outputs);
    p.selectable = true;
    s.procedures["P_SRC"] = p;
    AddView(s, "V_SRC", {"A"}, "SELECT A FROM P_SRC");
    AddView(s, "V_TOP", {"A"}, "SELECT A FROM V_SRC", {"V_SRC"});
    s.relations["V_TOP"].description = "Top";
    s.functions["F_USE"] = FunctionOf("F_USE", useSource, Integer());
    s.dependencies.push_back({"V_SRC", 1, "P_SRC", 5});
    s.dependencies.push_back({"F_USE", 15, "V_TOP", 1});
    AddGrant(s, GrantOf("S", "V_SRC", "CLERK"));
}

const char* const kCount = "BEGIN\n  RETURN (SELECT COUNT(*) FROM V_TOP);\nEND";

}

TEST(ModelPlan, AChangedRoutineHeaderTakesOutTheViewsThatUseItAndEmptiesTheRoutinesOnThem)
{
    schema::Schema old, neu;
    RoutineWithDependents(old, false, kCount);
    RoutineWithDependents(neu, true, kCount);
    const auto changes = schema::Diff(old, neu);
    EXPECT_EQ(Rows(changes), (Lines{"PROCEDURE P_SRC different: returns A INTEGER -> A INTEGER, B INTEGER",
                                    "PROCEDURE P_SRC different: source"}));
    const schema::Plan plan = schema::MakePlan(old, neu, changes);
    EXPECT_EQ(Statements(plan),
              (Lines{"CREATE OR ALTER FUNCTION F_USE\nRETURNS INTEGER\nAS\nBEGIN END", "DROP VIEW V_TOP", "DROP VIEW V_SRC",
                     "CREATE OR ALTER PROCEDURE P_SRC\nRETURNS (A INTEGER,\n    B INTEGER)\nAS\nBEGIN SUSPEND; END",
                     "ALTER PROCEDURE P_SRC\nRETURNS (A INTEGER,\n    B INTEGER)\nAS\nBEGIN\n  A = 1;\n  B = 2;\n  "
                     "SUSPEND;\nEND",
                     "CREATE VIEW V_SRC (A) AS\nSELECT A FROM P_SRC", "CREATE VIEW V_TOP (A) AS\nSELECT A FROM V_SRC",
                     "ALTER FUNCTION F_USE\nRETURNS INTEGER\nAS\n" + std::string(kCount),
                     "GRANT SELECT ON V_SRC TO USER CLERK", "COMMENT ON VIEW V_TOP IS 'Top'"}));
    EXPECT_EQ(Objects(plan), (Lines{"FUNCTION F_USE", "VIEW V_TOP", "VIEW V_SRC", "PROCEDURE P_SRC", "PROCEDURE P_SRC",
                                    "VIEW V_SRC", "VIEW V_TOP", "FUNCTION F_USE", "GRANT SELECT ON V_SRC TO CLERK", "VIEW V_TOP"}));
}

TEST(ModelPlan, ARoutineTakenOutThatChangedItselfGetsItsNewBodyOnceAfterTheViewsAreBack)
{
    schema::Schema old, neu;
    const std::string counted = "BEGIN\n  RETURN (SELECT COUNT(A) FROM V_TOP);\nEND";
    RoutineWithDependents(old, false, kCount);
    RoutineWithDependents(neu, true, counted);
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE OR ALTER FUNCTION F_USE\nRETURNS INTEGER\nAS\nBEGIN END", "DROP VIEW V_TOP", "DROP VIEW V_SRC",
                     "CREATE OR ALTER PROCEDURE P_SRC\nRETURNS (A INTEGER,\n    B INTEGER)\nAS\nBEGIN SUSPEND; END",
                     "ALTER PROCEDURE P_SRC\nRETURNS (A INTEGER,\n    B INTEGER)\nAS\nBEGIN\n  A = 1;\n  B = 2;\n  "
                     "SUSPEND;\nEND",
                     "CREATE VIEW V_SRC (A) AS\nSELECT A FROM P_SRC", "CREATE VIEW V_TOP (A) AS\nSELECT A FROM V_SRC",
                     "ALTER FUNCTION F_USE\nRETURNS INTEGER\nAS\n" + counted, "GRANT SELECT ON V_SRC TO USER CLERK",
                     "COMMENT ON VIEW V_TOP IS 'Top'"}));
}

TEST(ModelPlan, AChangedRoutineBodyAloneIsAlteredInPlaceUnderTheViewsThatSelectItDirectly)
{
    schema::Schema old, neu;
    RoutineWithDependents(old, false, kCount);
    RoutineWithDependents(neu, false, kCount);
    for (schema::Schema* s : {&old, &neu}) {
        s->relations.erase("V_TOP");
        std::erase(s->relationOrder, "V_TOP");
        s->functions["F_USE"].source = "BEGIN\n  RETURN (SELECT COUNT(*) FROM V_SRC);\nEND";
        s->dependencies.back() = {"F_USE", 15, "V_SRC", 1};
    }
    neu.procedures["P_SRC"].source = "BEGIN\n  A = 2;\n  SUSPEND;\nEND";
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              Lines{"ALTER PROCEDURE P_SRC\nRETURNS (A INTEGER)\nAS\nBEGIN\n  A = 2;\n  SUSPEND;\nEND"});
}

TEST(ModelPlan, AChangedProcedureBodyUnderAViewOnAViewOnItTakesOutThoseViewsAsANewHeaderDoes)
{
    schema::Schema old, neu;
    RoutineWithDependents(old, false, kCount);
    RoutineWithDependents(neu, false, kCount);
    neu.procedures["P_SRC"].source = "BEGIN\n  A = 2;\n  SUSPEND;\nEND";
    // Altered, the procedure's outputs get new domains that V_TOP would not take.
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE OR ALTER FUNCTION F_USE\nRETURNS INTEGER\nAS\nBEGIN END", "DROP VIEW V_TOP", "DROP VIEW V_SRC",
                     "ALTER PROCEDURE P_SRC\nRETURNS (A INTEGER)\nAS\nBEGIN\n  A = 2;\n  SUSPEND;\nEND",
                     "CREATE VIEW V_SRC (A) AS\nSELECT A FROM P_SRC", "CREATE VIEW V_TOP (A) AS\nSELECT A FROM V_SRC",
                     "ALTER FUNCTION F_USE\nRETURNS INTEGER\nAS\n" + std::string(kCount),
                     "GRANT SELECT ON V_SRC TO USER CLERK", "COMMENT ON VIEW V_TOP IS 'Top'"}));
}

TEST(ModelPlan, MissingColumnsAreAddedAndMovedToTheirPlaceWithTheirComments)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("T", {ColumnOf("A", Integer(), 0), ColumnOf("C", Integer(), 1)}));
    schema::Column d = ColumnOf("D", Integer(), 3);
    d.description = "New D";
    AddTable(neu, TableOf("T", {ColumnOf("A", Integer(), 0), ColumnOf("B", Integer(), 1), ColumnOf("C", Integer(), 2), d}));
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"ALTER TABLE T ADD B INTEGER", "ALTER TABLE T ADD D INTEGER", "ALTER TABLE T ALTER B POSITION 2",
                     "COMMENT ON COLUMN T.D IS 'New D'"}));
}

TEST(ModelPlan, AChangedColumnOrderMovesEveryColumnToItsPlaceAfterTheColumnsAreAdded)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("T", {ColumnOf("A", Integer(), 0), ColumnOf("B", Integer(), 1)}));
    AddTable(neu, TableOf("T", {ColumnOf("B", Integer(), 0), ColumnOf("N", Integer(), 1), ColumnOf("A", Integer(), 2)}));
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"ALTER TABLE T ADD N INTEGER", "ALTER TABLE T ALTER N POSITION 2", "ALTER TABLE T ALTER B POSITION 1",
                     "ALTER TABLE T ALTER N POSITION 2", "ALTER TABLE T ALTER A POSITION 3"}));
}

TEST(ModelPlan, AColumnTypeWithinItsFamilyOrItsDomainChangesInPlace)
{
    schema::Schema old, neu;
    schema::Column b = ColumnOf("B", {}, 1);
    b.domain = "D_OLD";
    AddTable(old, TableOf("T", {ColumnOf("A", Integer(), 0), b}));
    schema::Column a = ColumnOf("A", TypeCode(16), 0);
    a.notNull = true;
    b.domain = "D_NEW";
    AddTable(neu, TableOf("T", {a, b}));
    for (auto* s : {&old, &neu}) {
        s->domains["D_OLD"] = {"D_OLD", Integer(), "", "", false, ""};
        s->domains["D_NEW"] = {"D_NEW", TypeCode(16), "", "", false, ""};
    }
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"FIELD T.A different: type INTEGER -> BIGINT", "FIELD T.A different: nullability null -> not null",
                     "FIELD T.B different: type D_OLD -> D_NEW"}));
    EXPECT_EQ(Statements(PlanOf(old, neu)), (Lines{"ALTER TABLE T ALTER A TYPE BIGINT",
                                                   "ALTER TABLE T ALTER A SET NOT NULL", "ALTER TABLE T ALTER B TYPE D_NEW"}));
}

TEST(ModelPlan, AColumnOfAnotherTypeFamilyIsRebuiltOnlyOnATableKnownToBeEmpty)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("T", {ColumnOf("ID", Integer(), 0), ColumnOf("A", Integer(), 1)}));
    AddTable(neu, TableOf("T", {ColumnOf("ID", Integer(), 0), ColumnOf("A", Varchar(10), 1)}));
    const schema::Plan unknown = PlanOf(old, neu);
    const schema::Plan rows = PlanOf(old, neu, false, {.rowCounts = {{"T", 3}}});
    const schema::Plan empty = PlanOf(old, neu, false, {.rowCounts = {{"T", 0}}});
    EXPECT_EQ(Statements(unknown), Lines{});
    EXPECT_EQ(unknown.notMended, Lines{"FIELD T.A: needs a data migration: the rows of T"});
    EXPECT_EQ(Statements(rows), Lines{});
    EXPECT_EQ(rows.notMended, Lines{"FIELD T.A: needs a data migration: 3 rows of T"});
    EXPECT_EQ(Statements(empty), (Lines{"ALTER TABLE T DROP A", "ALTER TABLE T ADD A VARCHAR(10) CHARACTER SET NONE",
                                        "ALTER TABLE T ALTER A POSITION 2"}));
    EXPECT_EQ(empty.notMended, Lines{});
}

TEST(ModelPlan, WithForceAColumnOfAnotherTypeFamilyOnATableWithRowsIsMigratedInCommittedParts)
{
    schema::Schema old, neu;
    MigratedColumnPair(old, neu);
    const schema::Plan plan = PlanOf(old, neu, false, {.rowCounts = {{"T", 5}}, .force = true});
    ASSERT_EQ(plan.migrations.size(), 1u);
    const schema::Migration& m = plan.migrations[0];
    EXPECT_EQ(m.object.Text(), "FIELD T.A");
    EXPECT_EQ(m.add, Lines{"ALTER TABLE T ADD VK$COPY_1 VARCHAR(10) CHARACTER SET NONE"});
    EXPECT_EQ(m.copy, Lines{"UPDATE T SET VK$COPY_1 = CAST(A AS VARCHAR(10) CHARACTER SET NONE)"});
    EXPECT_EQ(m.undo, Lines{"ALTER TABLE T DROP VK$COPY_1"});
    EXPECT_EQ(Statements(plan), (Lines{"ALTER TABLE T DROP A", "ALTER TABLE T ALTER VK$COPY_1 TO A",
                                       "ALTER TABLE T ALTER A POSITION 2", "ALTER TABLE T ALTER A SET NOT NULL",
                                       "COMMENT ON COLUMN T.A IS 'code'"}));
    EXPECT_EQ(plan.warnings, Lines{"FIELD T.A: rebuilt by a data migration: its values are copied in committed "
                                   "steps before the one transaction, which puts the copy in its place"});
    EXPECT_EQ(plan.notMended, Lines{});
}

TEST(ModelPlan, ChangesTheServerCannotMakeInPlaceAreNotedAsNotMended)
{
    schema::Schema old, neu;
    old.collations["C_X"] = {"C_X", "UTF8", "UNICODE", 1, "", ""};
    neu.collations["C_X"] = {"C_X", "UTF8", "UNICODE", 3, "", ""};
    schema::Type name = Varchar(10, "UTF8");
    name.collation = "C_X";
    old.domains["D_NAME"] = {"D_NAME", name, "", "", false, ""};
    name.collation = "UNICODE_CI";
    neu.domains["D_NAME"] = {"D_NAME", name, "", "", false, ""};
    AddTable(old, TableOf("T", {ColumnOf("A", Varchar(10, "UTF8"), 0), ColumnOf("B", Integer(), 1),
                                ColumnOf("C", Integer(), 2)}));
    schema::Column b = ColumnOf("B", Integer(), 1);
    b.computedSource = "(1)";
    schema::Column c = ColumnOf("C", Integer(), 2);
    c.identityType = 0;
    AddTable(neu, TableOf("T", {ColumnOf("A", name, 0), b, c}));
    AddTable(old, TableOf("G", {ColumnOf("A", Integer(), 0)}));
    schema::Relation gtt = TableOf("G", {ColumnOf("A", Integer(), 0)});
    gtt.kind = schema::RelationKind::GlobalTemporaryDelete;
    AddTable(neu, gtt);
    const schema::Plan plan = PlanOf(old, neu);
    EXPECT_EQ(Statements(plan), Lines{});
    EXPECT_EQ(plan.notMended, (Lines{"COLLATION C_X: a collation cannot be changed in place, and 1 object of Old's uses it",
                                     "DOMAIN D_NAME: the server cannot change a domain's collation in place",
                                     "FIELD T.A: the server cannot change a column's collation in place",
                                     "FIELD T.B: a column cannot become or stop being computed in place",
                                     "FIELD T.C: a column cannot become or stop being an identity column in place",
                                     "TABLE G: a table cannot change its kind or file in place"}));
}

// A kind change is named as not mended from either side: the plan makes no statement for it.
TEST(ModelPlan, ATableThatBecameAViewIsNotedAsNotMended)
{
    schema::Schema old, neu;
    AddTable(old, TableOf("R", {ColumnOf("A", Integer(), 0)}));
    AddView(neu, "R", {"A"}, "SELECT 1 FROM RDB$DATABASE");
    EXPECT_EQ(PlanOf(old, neu).notMended, Lines{"VIEW R: a table cannot change its kind or file in place"});
}

namespace {

// T.ID as an identity column on both sides, New's changed by change; Old on the given ODS.
std::pair<schema::Schema, schema::Schema> IdentityPair(int odsMajor, const std::function<void(schema::Column&)>& change)
{
    schema::Schema old, neu;
    old.odsMajor = odsMajor;
    schema::Column id = ColumnOf("ID", Integer(), 0);
    id.identityType = 1;
    AddTable(old, TableOf("T", {id}));
    change(id);
    AddTable(neu, TableOf("T", {id}));
    return {old, neu};
}

}

TEST(ModelPlan, AChangedIdentityStartRestartsTheColumn)
{
    const auto [old, neu] = IdentityPair(12, [](schema::Column& id) { id.identityStart = 100; });
    EXPECT_EQ(Rows(schema::Diff(old, neu)), Lines{"FIELD T.ID different: identity BY DEFAULT START WITH 0 INCREMENT "
                                                  "BY 1 -> BY DEFAULT START WITH 100 INCREMENT BY 1"});
    EXPECT_EQ(Statements(PlanOf(old, neu)), Lines{"ALTER TABLE T ALTER ID RESTART WITH 100"});
}

// RESTART WITH the unchanged start would leave the increment as it was and set the column's
// counter back; Firebird 3 has no other statement for it, Firebird 4 sets it in place.
TEST(ModelPlan, AChangedIdentityIncrementIsSetInPlaceFromFirebird4AndNotedAsNotMendedBefore)
{
    const auto change = [](schema::Column& id) { id.identityIncrement = 5; };
    const auto [old4, neu4] = IdentityPair(13, change);
    EXPECT_EQ(Statements(PlanOf(old4, neu4)), Lines{"ALTER TABLE T ALTER ID SET INCREMENT BY 5"});
    const auto [old3, neu3] = IdentityPair(12, change);
    const schema::Plan plan3 = PlanOf(old3, neu3);
    EXPECT_EQ(Statements(plan3), Lines{});
    EXPECT_EQ(plan3.notMended,
              Lines{"FIELD T.ID: the server changes an identity column's increment in place from Firebird 4 on"});
}

TEST(ModelPlan, ATriggerChangesInPlaceWhereTheServerCanAndMovesToAnotherTableByDropAndCreate)
{
    schema::Schema old, neu;
    old.triggers["TR_STATE"] = TriggerOf("TR_STATE", "T1", 1);
    old.triggers["TR_SRC"] = TriggerOf("TR_SRC", "T1", 1);
    old.triggers["TR_MOVE"] = TriggerOf("TR_MOVE", "T1", 1);
    old.triggers["TR_NOTE"] = TriggerOf("TR_NOTE", "T1", 1);
    neu = old;
    neu.triggers["TR_STATE"].inactive = true;
    neu.triggers["TR_SRC"].source = "AS BEGIN NEW.A = 1; END";
    neu.triggers["TR_MOVE"].relation = "T2";
    neu.triggers["TR_NOTE"].description = "why";
    const schema::Plan plan = PlanOf(old, neu);
    EXPECT_EQ(Statements(plan),
              (Lines{"DROP TRIGGER TR_MOVE", "CREATE TRIGGER TR_MOVE FOR T2 ACTIVE BEFORE INSERT POSITION 0\nAS BEGIN END",
                     "CREATE OR ALTER TRIGGER TR_SRC FOR T1 ACTIVE BEFORE INSERT POSITION 0\nAS BEGIN NEW.A = 1; END",
                     "ALTER TRIGGER TR_STATE INACTIVE", "COMMENT ON TRIGGER TR_NOTE IS 'why'"}));
    EXPECT_EQ(Psql(plan), (std::vector<bool>{false, true, true, false, false}));
}

TEST(ModelPlan, AChangedIndexIsDroppedAndMadeAgainAndAChangedStateAloneIsSet)
{
    schema::Schema old, neu;
    old.indices["IX_A"] = {"IX_A", "T", {"A"}, "", "", false, false, false, ""};
    old.indices["IX_B"] = {"IX_B", "T", {"B"}, "", "", false, false, true, ""};
    neu.indices["IX_A"] = {"IX_A", "T", {"A", "B"}, "", "", false, false, true, ""};
    neu.indices["IX_B"] = {"IX_B", "T", {"B"}, "", "", false, false, false, ""};
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"INDEX IX_A different: definition CREATE INDEX IX_A ON T (A) -> CREATE INDEX IX_A ON T (A, B)",
                     "INDEX IX_A different: state active -> inactive", "INDEX IX_B different: state inactive -> active"}));
    EXPECT_EQ(Statements(PlanOf(old, neu)), (Lines{"DROP INDEX IX_A", "CREATE INDEX IX_A ON T (A, B)",
                                                   "ALTER INDEX IX_A INACTIVE", "ALTER INDEX IX_B ACTIVE"}));
}

TEST(ModelPlan, GrantsComeAfterTriggersAndAChangedGrantOptionIsGivenOrRevoked)
{
    schema::Schema old, neu;
    schema::Grant a = GrantOf("S", "T", "A");
    a.grantOption = 1;
    const schema::Grant b = GrantOf("S", "T", "B");
    AddGrant(old, a);
    AddGrant(old, b);
    a.grantOption = 0;
    schema::Grant b2 = b;
    b2.grantOption = 1;
    AddGrant(neu, a);
    AddGrant(neu, b2);
    AddGrant(neu, GrantOf("X", "P", "C", 5));
    neu.triggers["TR"] = TriggerOf("TR", "T", 2);
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE TRIGGER TR FOR T ACTIVE AFTER INSERT POSITION 0\nAS BEGIN END",
                     "GRANT EXECUTE ON PROCEDURE P TO USER C", "REVOKE GRANT OPTION FOR SELECT ON T FROM USER A",
                     "GRANT SELECT ON T TO USER B WITH GRANT OPTION"}));
}

TEST(ModelPlan, APackageWithANewHeaderGetsItsBodyAgainEvenWhereTheBodyIsTheSame)
{
    schema::Schema old, neu;
    old.packages["PK_HEAD"] = {"PK_HEAD", "BEGIN H1 END", "BEGIN B END", ""};
    old.packages["PK_BODY"] = {"PK_BODY", "BEGIN H END", "BEGIN B1 END", ""};
    neu.packages["PK_HEAD"] = {"PK_HEAD", "BEGIN H2 END", "BEGIN B END", ""};
    neu.packages["PK_BODY"] = {"PK_BODY", "BEGIN H END", "BEGIN B2 END", ""};
    neu.packages["PK_NEW"] = {"PK_NEW", "BEGIN H END", "BEGIN B END", ""};
    const schema::Plan plan = PlanOf(old, neu);
    EXPECT_EQ(Statements(plan),
              (Lines{"CREATE PACKAGE PK_NEW\nAS\nBEGIN H END", "ALTER PACKAGE PK_HEAD\nAS\nBEGIN H2 END",
                     "CREATE PACKAGE BODY PK_NEW\nAS\nBEGIN B END", "RECREATE PACKAGE BODY PK_BODY\nAS\nBEGIN B2 END",
                     "RECREATE PACKAGE BODY PK_HEAD\nAS\nBEGIN B END"}));
    EXPECT_EQ(Psql(plan), (std::vector<bool>{true, true, true, true, true}));
}

TEST(ModelPlan, GeneratorsExceptionsAndExternalFunctionsChangeInPlaceOrAreDeclaredAgain)
{
    schema::Schema old, neu;
    old.generators["G"] = {"G", 0, 1, ""};
    neu.generators["G"] = {"G", 10, 5, ""};
    old.exceptions["E"] = {"E", "Old", ""};
    neu.exceptions["E"] = {"E", "New", ""};
    old.externalFunctions["ABS_X"] = {"ABS_X", "ib_udf", "IB_UDF_abs", 0, {{2, TypeCode(27), false}}, {0, TypeCode(27), false}, ""};
    neu.externalFunctions["ABS_X"] = old.externalFunctions["ABS_X"];
    neu.externalFunctions["ABS_X"].module = "ib_udf2";
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"DROP EXTERNAL FUNCTION ABS_X", "ALTER SEQUENCE G RESTART WITH 10", "ALTER SEQUENCE G INCREMENT BY 5",
                     "ALTER EXCEPTION E 'New'",
                     "DECLARE EXTERNAL FUNCTION ABS_X DOUBLE PRECISION BY DESCRIPTOR RETURNS DOUBLE PRECISION BY VALUE "
                     "ENTRY_POINT 'IB_UDF_abs' MODULE_NAME 'ib_udf2'"}));
}

TEST(ModelPlan, AChangedDomainLosesItsOldCheckFirstAndGetsItsNewOneLast)
{
    schema::Schema old, neu;
    old.domains["D"] = {"D", Integer(), "", "CHECK (VALUE > 0)", false, ""};
    neu.domains["D"] = {"D", TypeCode(16), "DEFAULT 1", "CHECK (VALUE > 1)", true, ""};
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"ALTER DOMAIN D DROP CONSTRAINT", "ALTER DOMAIN D TYPE BIGINT", "ALTER DOMAIN D SET DEFAULT 1",
                     "ALTER DOMAIN D SET NOT NULL", "ALTER DOMAIN D ADD CONSTRAINT CHECK (VALUE > 1)"}));
}

TEST(ModelPlan, CommentsComeLastAndAChangedOneIsSetOrCleared)
{
    schema::Schema old, neu;
    schema::Column a = ColumnOf("A", Integer(), 0);
    a.description = "Amount";
    schema::Relation t = TableOf("T", {a});
    t.description = "Orders";
    AddTable(neu, t);
    schema::Parameter x = ParameterOf("X", Integer());
    x.description = "input";
    neu.procedures["P"] = ProcedureOf("P", "BEGIN EXIT; END", {x});
    schema::Relation u = TableOf("U", {ColumnOf("A", Integer(), 0)});
    u.description = "old";
    AddTable(old, u);
    u.description = "";
    AddTable(neu, u);
    schema::Parameter q = ParameterOf("A", Integer());
    old.procedures["Q"] = ProcedureOf("Q", "BEGIN EXIT; END", {q});
    q.description = "amount";
    neu.procedures["Q"] = ProcedureOf("Q", "BEGIN EXIT; END", {q});
    EXPECT_EQ(Rows(schema::Diff(old, neu)),
              (Lines{"TABLE T not exist", "PROCEDURE P not exist", "TABLE U different: comment old -> none",
                     "PROCEDURE Q different: comment of A none -> amount"}));
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE TABLE T (A INTEGER)", "CREATE OR ALTER PROCEDURE P (X INTEGER)\nAS\nBEGIN EXIT; END",
                     "ALTER PROCEDURE P (X INTEGER)\nAS\nBEGIN EXIT; END", "COMMENT ON TABLE T IS 'Orders'",
                     "COMMENT ON COLUMN T.A IS 'Amount'", "COMMENT ON PROCEDURE PARAMETER P.X IS 'input'",
                     "COMMENT ON TABLE U IS NULL", "COMMENT ON PROCEDURE PARAMETER Q.A IS 'amount'"}));
}

TEST(ModelPlan, TextThatIsNotUtf8IsRefusedNamingItsObject)
{
    schema::Schema old, neu;
    neu.exceptions["E_OK"] = {"E_OK", "caf\xC3\xA9", ""};
    EXPECT_EQ(Statements(PlanOf(old, neu)), Lines{"CREATE EXCEPTION E_OK 'caf\xC3\xA9'"});
    neu.exceptions["E_BAD"] = {"E_BAD", "caf\xE9", ""};
    schema::Schema view;
    AddView(view, "V_BAD", {"A"}, "SELECT 'caf\xE9' FROM RDB$DATABASE");
    EXPECT_EQ((Lines{ErrorOf([&] { PlanOf(old, neu); }), ErrorOf([&] { PlanOf(old, view); })}),
              (Lines{"EXCEPTION E_BAD: its text holds bytes that are not valid UTF-8",
                     "VIEW V_BAD: its text holds bytes that are not valid UTF-8"}));
}

TEST(ModelPlan, ADialectOneOldRefusesWhatItCannotWriteNamingTheObject)
{
    schema::Schema old, neu;
    old.dialect = 1;
    AddTable(neu, TableOf("Orders", {ColumnOf("A", Integer(), 0)}));
    schema::Schema wide;
    AddTable(wide, TableOf("T", {ColumnOf("A", TypeCode(16), 0)}));
    EXPECT_EQ((Lines{ErrorOf([&] { PlanOf(old, neu); }), ErrorOf([&] { PlanOf(old, wide); })}),
              (Lines{"TABLE Orders: The name Orders needs quotes, which SQL dialect 1 cannot write",
                     "TABLE T: SQL dialect 1 cannot write the type with code 16 (BIGINT, NUMERIC over 9 digits, DATE or "
                     "TIME)"}));
    schema::Schema plain;
    AddTable(plain, TableOf("T", {ColumnOf("A", Integer(), 0)}));
    const schema::Plan plan = PlanOf(old, plain);
    EXPECT_EQ(Statements(plan), Lines{"CREATE TABLE T (A INTEGER)"});
    EXPECT_EQ(plan.dialect, 1);
}

TEST(ModelPlan, ATypeNewerThanOldsServerIsRefusedNamingTheColumn)
{
    schema::Schema old, neu;
    AddTable(neu, TableOf("T", {ColumnOf("A", TypeCode(26), 0)}));
    EXPECT_EQ(ErrorOf([&] { PlanOf(old, neu); }),
              "TABLE T: Column T.A cannot be created on the Old Database: its type (code 26) needs Firebird 4 or later");
    old.odsMajor = 13;
    EXPECT_EQ(Statements(PlanOf(old, neu)), Lines{"CREATE TABLE T (A INT128)"});
}

namespace {

// ALTER DOMAIN ... TYPE takes no COLLATE and leaves the character set's default collation: a
// domain with a collation of its own is not changed in place, and says why.
TEST(ModelPlan, ADomainWithACollationIsNotRetypedInPlace)
{
    schema::Schema old, neu;
    schema::Domain plain{.name = "D_PLAIN", .type = Varchar(10, "UTF8")};
    schema::Domain collated{.name = "D_NAME", .type = Varchar(10, "UTF8")};
    collated.type.collation = "UNICODE_CI";
    old.domains = {{plain.name, plain}, {collated.name, collated}};
    plain.type.charLength = 40;
    collated.type.charLength = 40;
    neu.domains = {{plain.name, plain}, {collated.name, collated}};
    const schema::Plan plan = PlanOf(old, neu);
    EXPECT_EQ(Statements(plan), Lines{"ALTER DOMAIN D_PLAIN TYPE VARCHAR(40) CHARACTER SET UTF8"});
    EXPECT_EQ(plan.notMended,
              Lines{"DOMAIN D_NAME: the server drops a domain's collation (UNICODE_CI) when it changes its type"});
}

}

TEST(ModelPlan, ACollationIsMadeAgainOnlyWhenNothingOfOldsUsesIt)
{
    schema::Schema old, neu;
    for (auto* s : {&old, &neu}) {
        s->collations["FREE"] = {"FREE", "UTF8", "UNICODE", 3, "", ""};
        s->collations["USED"] = {"USED", "UTF8", "UNICODE", 3, "", ""};
        s->collations["DEFAULT"] = {"DEFAULT", "UTF8", "UNICODE", 3, "", ""};
        s->characterSets["UTF8"] = {"UTF8", "DEFAULT"};
    }
    schema::Column a = ColumnOf("A", Varchar(10, "UTF8"), 0);
    a.type.collation = "USED";
    AddToBoth(old, neu, TableOf("T", {a}));
    for (const char* name : {"FREE", "USED", "DEFAULT"})
        neu.collations[name].attributes = 7;
    const schema::Plan plan = PlanOf(old, neu);
    EXPECT_EQ(Statements(plan),
              (Lines{"DROP COLLATION FREE",
                     "CREATE COLLATION FREE FOR UTF8 FROM UNICODE PAD SPACE CASE INSENSITIVE ACCENT INSENSITIVE"}));
    EXPECT_EQ(plan.notMended,
              (Lines{"COLLATION DEFAULT: a collation cannot be changed in place, and 1 object of Old's uses it",
                     "COLLATION USED: a collation cannot be changed in place, and 1 object of Old's uses it"}));
}

TEST(ModelPlan, ACharacterSetTakesANewDefaultCollationBeforeTheTextThatNamesNone)
{
    schema::Schema old, neu;
    old.characterSets["UTF8"] = {"UTF8", "UTF8"};
    neu.characterSets["UTF8"] = {"UTF8", "NAMES"};
    neu.collations["NAMES"] = {"NAMES", "UTF8", "UNICODE", 3, "", ""};
    schema::Column own = ColumnOf("OWN", Varchar(10, "UTF8"), 0);
    schema::Column named = ColumnOf("NAMED", Varchar(10, "UTF8"), 1);
    named.type.collation = "NAMES";
    AddTable(neu, TableOf("T", {own, named}));
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE COLLATION NAMES FOR UTF8 FROM UNICODE PAD SPACE CASE INSENSITIVE",
                     "ALTER CHARACTER SET UTF8 SET DEFAULT COLLATION NAMES",
                     "CREATE TABLE T (OWN VARCHAR(10) CHARACTER SET UTF8 COLLATE UTF8,\n    NAMED VARCHAR(10) CHARACTER SET "
                     "UTF8 COLLATE NAMES)"}));
}

TEST(ModelPlan, FromFirebird4OnASequenceKeepsTheStartItWasMadeWith)
{
    schema::Schema old, neu;
    old.odsMajor = 13;
    old.generators["G"] = {"G", 1, 1, ""};
    neu.generators["G"] = {"G", 10, 2, ""};
    const schema::Plan plan = PlanOf(old, neu);
    EXPECT_EQ(Statements(plan), Lines{"ALTER SEQUENCE G INCREMENT BY 2"});
    EXPECT_EQ(plan.notMended, Lines{"GENERATOR G: the server keeps a sequence's start value from when it was made"});
}

// Firebird 4's New for a Firebird 3 Old: the clauses Old's server lacks are left out and named,
// the objects of types it lacks are not made, nor what uses them, and the rest is planned.
TEST(ModelPlan, WhatAnOlderServerCannotHoldIsNamedAndTheRestPlanned)
{
    schema::Schema old, neu;
    old.odsMajor = 12;
    neu.odsMajor = 13;
    schema::Relation table = TableOf("T", {ColumnOf("ID", Integer(), 0), ColumnOf("HUGE", TypeCode(26), 1)});
    table.sqlSecurity = true;
    table.published = true;
    AddTable(neu, table);
    AddView(neu, "V_HUGE", {"HUGE"}, "SELECT HUGE FROM T", {});
    neu.dependencies.push_back({"V_HUGE", 1, "T", 0, "HUGE"});
    neu.roles["R"] = {"R", "", {"USER_MANAGEMENT"}};
    neu.indices["IX_ID"] = {"IX_ID", "T", {"ID"}, "", "WHERE ID > 0", false, false, false, ""};
    neu.procedures["P"] = ProcedureOf("P", "BEGIN END", {ParameterOf("A", TypeCode(25))});
    const schema::Fitted fitted = schema::FitForServer(old, neu);
    EXPECT_EQ(fitted.notes, (Lines{"FIELD T.HUGE: its type INT128 needs Firebird 4 or later",
                                   "INDEX IX_ID: a partial index needs Firebird 5 or later",
                                   "PROCEDURE P: a parameter's type needs Firebird 4 or later",
                                   "ROLE R: system privileges needs Firebird 4 or later",
                                   "TABLE T: SQL SECURITY DEFINER needs Firebird 4 or later",
                                   "TABLE T: the replication publication needs Firebird 4 or later",
                                   "VIEW V_HUGE: uses T.HUGE, which Old's server cannot hold"}));
    EXPECT_EQ(Statements(PlanOf(old, fitted.schema)), (Lines{"CREATE ROLE R", "CREATE TABLE T (ID INTEGER)"}));
    // Of the same server, New is taken as it is.
    old.odsMajor = 13;
    EXPECT_EQ(schema::FitForServer(old, neu).schema.relations.at("T"), table);
    EXPECT_EQ(schema::FitForServer(old, neu).notes, Lines{});
}
