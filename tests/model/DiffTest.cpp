// Diff on schemas built in code: what is missing, what differs and what only Old has.
#include "tests/model/ModelBuilders.h"

#include <gtest/gtest.h>

using namespace model;
using Lines = std::vector<std::string>;

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
