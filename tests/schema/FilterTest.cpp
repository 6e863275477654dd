// --include and --exclude on the changes of a diff: globs on names, a kind's word, a table's parts.
#include "schema/Filter.h"

#include <gtest/gtest.h>
#include <stdexcept>

using schema::Action;
using schema::Change;
using schema::ObjectKind;

namespace {

Change ChangeOf(ObjectKind kind, const std::string& name, const std::string& table = {})
{
    Change c;
    c.action = Action::Create;
    c.kind = kind;
    c.name = name;
    c.key = name;
    c.table = table;
    return c;
}

std::vector<std::string> Kept(const schema::ObjectFilter& filter)
{
    static const schema::Constraint key = [] {
        schema::Constraint k;
        k.name = "PK_AUDIT_LOG";
        k.table = "AUDIT_LOG";
        return k;
    }();
    Change constraint = ChangeOf(ObjectKind::Constraint, "PK_AUDIT_LOG");
    constraint.to = &key;
    const std::vector<Change> changes{ChangeOf(ObjectKind::Table, "AUDIT_LOG"),
                                      ChangeOf(ObjectKind::Field, "AUDIT_LOG.WHO", "AUDIT_LOG"),
                                      constraint,
                                      ChangeOf(ObjectKind::Table, "ORDERS"),
                                      ChangeOf(ObjectKind::Field, "ORDERS.QTY", "ORDERS"),
                                      ChangeOf(ObjectKind::Generator, "G_ORDERS"),
                                      ChangeOf(ObjectKind::Procedure, "audit_*")};
    std::vector<std::string> kept;
    for (const auto& c : changes)
        if (filter.Keeps(c))
            kept.push_back(c.Object().Text());
    return kept;
}

}

TEST(ObjectFilterTest, AGlobTakesATableWithItsColumnsAndKeysInEitherCase)
{
    EXPECT_EQ(Kept(schema::ObjectFilter({}, {"audit_*"})),
              (std::vector<std::string>{"TABLE ORDERS", "FIELD ORDERS.QTY", "GENERATOR G_ORDERS"}));
    EXPECT_EQ(Kept(schema::ObjectFilter({"AUDIT_*"}, {})),
              (std::vector<std::string>{"TABLE AUDIT_LOG", "FIELD AUDIT_LOG.WHO", "CONSTRAINT PK_AUDIT_LOG",
                                        "PROCEDURE audit_*"}));
    EXPECT_EQ(Kept(schema::ObjectFilter({}, {})).size(), 7u);
}

TEST(ObjectFilterTest, AKindsWordNarrowsAPatternToThatKindAndExcludeWinsOverInclude)
{
    EXPECT_EQ(Kept(schema::ObjectFilter({"tables:*"}, {"tables:AUDIT_*"})),
              (std::vector<std::string>{"TABLE ORDERS", "FIELD ORDERS.QTY"}));
    EXPECT_EQ(Kept(schema::ObjectFilter({}, {"generators:*", "procedures:AUDIT_[*]"})),
              (std::vector<std::string>{"TABLE AUDIT_LOG", "FIELD AUDIT_LOG.WHO", "CONSTRAINT PK_AUDIT_LOG",
                                        "TABLE ORDERS", "FIELD ORDERS.QTY"}));
    EXPECT_THROW(schema::ObjectFilter({"tabels:X"}, {}), std::invalid_argument);
    EXPECT_THROW(schema::ObjectFilter({}, {"tables:"}), std::invalid_argument);
    EXPECT_THROW(schema::ObjectFilter({""}, {}), std::invalid_argument);
}
