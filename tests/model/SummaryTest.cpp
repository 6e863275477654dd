// What a pass's summary counts, and the head of the script it writes.
#include "schema/Summary.h"

#include <gtest/gtest.h>

using schema::Action;
using schema::FindingAction;
using schema::ObjectKind;

namespace {

schema::Finding FindingOf(Action action, ObjectKind kind, const std::string& name, FindingAction planned)
{
    schema::Finding f;
    f.action = action;
    f.kind = kind;
    f.name = name;
    f.plannedAction = planned;
    return f;
}

// Two properties of one table differ, one table is missing, two Old-only objects of which one
// is dropped, one difference is left and there are two warnings.
schema::Summary SummaryOfEachKind()
{
    schema::Summary s;
    s.old = {"/data/old.fdb", "LI-V3.0.11 Firebird 3.0", 12, 3};
    s.neu = {"server:/data/new */ x.fdb", "LI-V5.0.4 Firebird 5.0", 13, 3};
    s.findings = {FindingOf(Action::Create, ObjectKind::Table, "T1", FindingAction::Create),
                  FindingOf(Action::Alter, ObjectKind::Field, "T.A", FindingAction::Alter),
                  FindingOf(Action::Alter, ObjectKind::Field, "T.A", FindingAction::Alter),
                  FindingOf(Action::OnlyInOld, ObjectKind::View, "V", FindingAction::Skip),
                  FindingOf(Action::OnlyInOld, ObjectKind::Table, "GONE", FindingAction::Drop)};
    s.notMended = {{{ObjectKind::Field, "T.B"}, "needs-data-migration", "needs a data migration: 2 rows of T",
                    "INTEGER", "DATE", 2, "--force"}};
    s.warnings = {{"drops-data", schema::Severity::Warning, {ObjectKind::Table, "GONE"}, "destructive: drops it with 2 rows"},
                  {"not-mended", schema::Severity::Warning, {ObjectKind::Field, "T.B"}, "not mended: needs a data migration"}};
    s.plan.steps = {{-5, {ObjectKind::Table, "GONE"}, "DROP TABLE GONE", false},
                    {3, {ObjectKind::Table, "T1"}, "CREATE TABLE T1 (A INTEGER)", false},
                    {4, {ObjectKind::Field, "T.A"}, "ALTER TABLE T ALTER A TYPE BIGINT", false}};
    s.plan.migrations = {{{ObjectKind::Field, "T.C"}, {"ALTER TABLE T ADD VK$COPY_1 DATE"}, {"UPDATE T SET VK$COPY_1 = C"}, {}, {}}};
    return s;
}

}

TEST(ModelSummary, CountsObjectsNotRowsAndTheMigrationsStatementsToo)
{
    const schema::Counts c = SummaryOfEachKind().Count();
    EXPECT_EQ(c.missing, 1u);
    EXPECT_EQ(c.different, 1u);
    EXPECT_EQ(c.onlyInOld, 2u);
    EXPECT_EQ(c.dropped, 1u);
    EXPECT_EQ(c.notMended, 1u);
    EXPECT_EQ(c.warnings, 2u);
    EXPECT_EQ(c.statements, 5u);
    EXPECT_FALSE(c.Agree());
    EXPECT_EQ(schema::CountsText(c), "1 missing, 1 different, 2 only in Old (1 dropped), 1 not mended, 2 warnings; 5 statements");
    EXPECT_TRUE(schema::Summary{}.Count().Agree());
    EXPECT_EQ(schema::CountsText(schema::Summary{}.Count()),
              "0 missing, 0 different, 0 only in Old, 0 not mended, 0 warnings; 0 statements");
}

TEST(ModelSummary, TheScriptsHeadNamesTheVersionTheTimeBothSidesAndTheCounts)
{
    EXPECT_EQ(schema::ScriptHeader(SummaryOfEachKind(), {"1.2.3", "2026-01-02 03:04 UTC"}),
              "/* Written by Vorkat 1.2.3 on 2026-01-02 03:04 UTC\n"
              "   Old: /data/old.fdb (LI-V3.0.11 Firebird 3.0, ODS 12, dialect 3)\n"
              "   New: server:/data/new * / x.fdb (LI-V5.0.4 Firebird 5.0, ODS 13, dialect 3)\n"
              "   1 missing, 1 different, 2 only in Old (1 dropped), 1 not mended, 2 warnings; 5 statements\n"
              "*/\n");
}

// A script that names a constraint or index by the name Old's server gave it fits that Old alone.
TEST(ModelSummary, TheHeadNamesTheServerNamedConstraintsTheScriptUses)
{
    schema::Summary s;
    s.old = {"old.fdb", "V", 12, 3};
    s.neu = {"new.fdb", "V", 12, 3};
    s.plan.steps = {{-8, {ObjectKind::Constraint, "J CHECK"}, "ALTER TABLE J DROP CONSTRAINT INTEG_12", false},
                    {-8, {ObjectKind::Constraint, "PK_X"}, "ALTER TABLE X DROP CONSTRAINT RDB$PRIMARY3", false},
                    {-7, {ObjectKind::Index, "RDB$FOREIGN4"}, "DROP INDEX RDB$FOREIGN4", false},
                    // Not a constraint's or an index's statement, and a name that only ends alike.
                    {3, {ObjectKind::Table, "INTEG_5"}, "CREATE TABLE INTEG_5 (A INTEGER)", false},
                    {3, {ObjectKind::Constraint, "C"}, "ALTER TABLE T ADD CONSTRAINT XINTEG_7 CHECK (A > 0)", false}};
    EXPECT_EQ(schema::ScriptHeader(s, {"1", "now"}),
              "/* Written by Vorkat 1 on now\n"
              "   Old: old.fdb (V, ODS 12, dialect 3)\n"
              "   New: new.fdb (V, ODS 12, dialect 3)\n"
              "   0 missing, 0 different, 0 only in Old, 0 not mended, 0 warnings; 5 statements\n"
              "   Old's server named INTEG_12, RDB$FOREIGN4, RDB$PRIMARY3: such names are this Old Database's own, so this script\n"
              "   is for it alone; another copy of it needs a script of its own.\n"
              "*/\n");
}

TEST(ModelSummary, WordsOfActionsAndSeveritiesAreTheJsonReportsOwn)
{
    EXPECT_STREQ(schema::FindingActionWord(FindingAction::Create), "create");
    EXPECT_STREQ(schema::FindingActionWord(FindingAction::Alter), "alter");
    EXPECT_STREQ(schema::FindingActionWord(FindingAction::Rebuild), "rebuild");
    EXPECT_STREQ(schema::FindingActionWord(FindingAction::Drop), "drop");
    EXPECT_STREQ(schema::FindingActionWord(FindingAction::Skip), "skip");
    EXPECT_STREQ(schema::SeverityWord(schema::Severity::Error), "error");
    EXPECT_STREQ(schema::SeverityWord(schema::Severity::Warning), "warning");
    EXPECT_STREQ(schema::SeverityWord(schema::Severity::Notice), "notice");
    std::vector<std::string> codes;
    for (const auto& code : schema::WarningCodes())
        codes.push_back(code.code);
    EXPECT_EQ(codes, (std::vector<std::string>{"would-fail", "would-cut", "drops-data", "data-migration", "not-mended",
                                               "filtered-out"}));
}
