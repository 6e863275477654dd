// Every change between the types below, tried on the server itself: whether it takes the
// change in place on an empty table, and what each stored value becomes in the new type. The
// type-change rules must agree with the server on every pair, the plan must follow them, and
// the README's matrix must be the one the rules make.
#include "db/DbError.h"
#include "db/Query.h"
#include "db/ScopedTransaction.h"
#include "db/Statement.h"
#include "schema/TypeChange.h"
#include "tests/support/SchemaPair.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

struct Sample {
    const char* type;
    const char* title;  // as the README's matrix names it
    std::vector<std::string> values;
};

// Values at the edges: a range, a scale, a time of day, a length or a character set each
// loses one of them somewhere.
const std::vector<Sample>& Samples()
{
    static const std::vector<Sample> samples{
        {"SMALLINT", "SMALLINT", {"32767", "-5"}},
        {"INTEGER", "INTEGER", {"100000000", "16777217", "7"}},
        {"BIGINT", "BIGINT", {"9000000000000000", "9007199254740993", "7"}},
        {"NUMERIC(4,2)", "NUMERIC(4,2)", {"12.34", "-327.68"}},
        {"NUMERIC(9,2)", "NUMERIC(9,2)", {"1234567.89", "0.5"}},
        {"NUMERIC(18,4)", "NUMERIC(18,4)", {"12345678901234.5678", "1.5"}},
        {"FLOAT", "FLOAT", {"1.5", "3.0e38"}},
        {"DOUBLE PRECISION", "DOUBLE", {"1.1", "1e300"}},
        {"CHAR(10) CHARACTER SET UTF8", "CHAR(10)", {"'12'", "'1234567890'"}},
        {"VARCHAR(5) CHARACTER SET UTF8", "VARCHAR(5)", {"'12'", "'abc'"}},
        {"VARCHAR(40) CHARACTER SET UTF8", "VARCHAR(40)", {"'1234567890123'", "'Ωmega'"}},
        {"VARCHAR(40) CHARACTER SET WIN1252", "VARCHAR(40) WIN1252", {"'abcd'", "'Äpfel'"}},
        {"DATE", "DATE", {"DATE '2024-05-06'"}},
        {"TIME", "TIME", {"TIME '13:14:15.1234'"}},
        {"TIMESTAMP", "TIMESTAMP", {"TIMESTAMP '2024-05-06 13:14:15.1234'", "TIMESTAMP '2024-05-06 00:00:00'"}},
        {"BOOLEAN", "BOOLEAN", {"TRUE", "FALSE"}},
        {"BLOB SUB_TYPE TEXT CHARACTER SET UTF8", "BLOB TEXT",
         {"'12'", "'a text longer than forty characters, to be cut'"}},
        {"BLOB SUB_TYPE BINARY", "BLOB BINARY", {"X'00FF'"}},
    };
    return samples;
}

std::string Table(std::size_t from, std::size_t to)
{
    return "T_" + std::to_string(from) + "_" + std::to_string(to);
}

// A table per pair of different types; rows only where asked.
std::string Tables(bool newTypes)
{
    // In one transaction: a commit for each table would take most of the test's time.
    std::string sql = "SET AUTODDL OFF;\n";
    for (std::size_t i = 0; i < Samples().size(); ++i)
        for (std::size_t j = 0; j < Samples().size(); ++j)
            if (i != j)
                sql += "CREATE TABLE " + Table(i, j) + " (ID INTEGER, C " + Samples()[newTypes ? j : i].type + ");\n";
    return sql + "COMMIT;\n";
}

void Execute(Connection& db, const std::string& sql)
{
    ScopedTransaction work(db);
    Statement statement(db, work.Get());
    statement.ExecuteText(sql, 3);
    work.Commit();
}

bool Runs(Connection& db, const std::string& sql)
{
    try {
        Execute(db, sql);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

// The one integer a select gives; throws the server's refusal.
long long Value(Connection& db, const std::string& sql)
{
    ScopedTransaction reads(db);
    Query query(db, reads.Get(), {sql});
    query.Dialect = 3;
    query.Open();
    const long long value = query.AsInteger("N");
    query.Close();
    return value;
}

void InsertRows(const std::string& path, bool originals)
{
    Attached attached(path);
    ScopedTransaction work(attached.db);
    Statement statement(attached.db, work.Get());
    for (std::size_t i = 0; i < Samples().size(); ++i)
        for (std::size_t j = 0; j < Samples().size(); ++j) {
            if (i == j)
                continue;
            const auto& values = Samples()[i].values;
            for (std::size_t k = 0; k < values.size(); ++k) {
                const std::string row = " VALUES (" + std::to_string(k + 1) + ", " + values[k] + ")";
                statement.ExecuteText("INSERT INTO " + Table(i, j) + row, 3);
                if (originals)
                    statement.ExecuteText("INSERT INTO O" + Table(i, j) + row, 3);
            }
        }
    work.Commit();
}

bool FromText(const std::string& type) { return type.find("CHAR") != std::string::npos || type.find("BLOB") == 0; }

// What the server does with each stored value: fails to read or CAST it, or makes another
// value of it, as the old type sees it again. A value read from text is judged only by whether
// it converts: as text again it may be written otherwise ('12' as 12.00) and be the same value.
struct Harm {
    int failed = 0;
    int cut = 0;
};

Harm ValuesAfter(Connection& probe, std::size_t i, std::size_t j, bool inPlace)
{
    const std::string from = Samples()[i].type, to = Samples()[j].type, t = Table(i, j);
    Harm harm;
    for (std::size_t k = 1; k <= Samples()[i].values.size(); ++k) {
        // In place, the value as the table reads it now; otherwise as CAST makes it.
        const std::string value = inPlace ? "T.C" : "CAST(O.C AS " + to + ")";
        const std::string rows = " FROM O" + t + " O JOIN " + t + " T ON T.ID = O.ID WHERE O.ID = " + std::to_string(k);
        try {
            Value(probe, "SELECT COUNT(" + value + ") AS N" + rows);
        } catch (const DbError&) {
            ++harm.failed;
            continue;
        }
        if (FromText(from))
            continue;
        try {
            if (Value(probe, "SELECT IIF(CAST(" + value + " AS " + from + ") IS DISTINCT FROM O.C, 1, 0) AS N" + rows) == 1)
                ++harm.cut;
        } catch (const DbError&) {
            ++harm.cut;  // what it became does not fit the old type again
        }
    }
    return harm;
}

std::string Cell(const schema::TypeChange& rule)
{
    static const std::map<schema::Hazard, char> marks{
        {schema::Hazard::Range, 'r'},  {schema::Hazard::Scale, 's'},  {schema::Hazard::TimeOfDay, 't'},
        {schema::Hazard::Date, 'd'},   {schema::Hazard::Length, 'l'}, {schema::Hazard::Digits, 'p'},
        {schema::Hazard::Conversion, 'c'}};
    std::string cell = rule.route == schema::TypeRoute::InPlace ? "A" : rule.route == schema::TypeRoute::Rebuild ? "M" : "E";
    if (!rule.hazards.empty())
        cell += " ";
    for (auto hazard : rule.hazards)
        cell += marks.at(hazard);
    return cell;
}

// The README's matrix: a row for each old type, a column for each new one.
std::string Matrix(const schema::Schema& old, const schema::Schema& neu)
{
    std::ostringstream text;
    text << "| from \\ to |";
    for (const auto& sample : Samples())
        text << " " << sample.title << " |";
    text << "\n|---|";
    for (std::size_t j = 0; j < Samples().size(); ++j)
        text << "---|";
    text << "\n";
    for (std::size_t i = 0; i < Samples().size(); ++i) {
        text << "| " << Samples()[i].title << " |";
        for (std::size_t j = 0; j < Samples().size(); ++j) {
            if (i == j) {
                text << " |";
                continue;
            }
            const auto& from = old.relations.at(Table(i, j)).FindColumn("C")->type;
            const auto& to = neu.relations.at(Table(i, j)).FindColumn("C")->type;
            text << " " << Cell(schema::ClassifyTypeChange(from, to, old.database.defaultCharset)) << " |";
        }
        text << "\n";
    }
    return text.str();
}

std::string ReadmeMatrix()
{
    std::ifstream in(README_PATH);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str(), begin = "<!-- type-change matrix -->\n", end = "<!-- end of matrix -->";
    const auto from = all.find(begin), to = all.find(end);
    if (from == std::string::npos || to == std::string::npos)
        return "";
    return all.substr(from + begin.size(), to - from - begin.size());
}

bool HasIssue(const std::vector<std::string>& issues, const std::string& column, const std::string& kind)
{
    for (const auto& issue : issues)
        if (issue.find("FIELD " + column + ": " + kind) == 0)
            return true;
    return false;
}

bool Has(const std::vector<std::string>& lines, const std::string& start)
{
    for (const auto& line : lines)
        if (line.find(start) == 0)
            return true;
    return false;
}

// What the comparison says and plans for Old with rows.
struct Verdict {
    std::vector<std::string> issues;
    std::vector<std::string> statements;
    std::vector<std::string> notMended;
};

// The tables whose ALTER ... TYPE the server takes on an empty table: the statement runs and
// the column then has the new type (some run and leave the character set as it was).
std::set<std::string> AcceptedInPlace(const TestDb& probe, const schema::Schema& neu)
{
    std::set<std::string> ran, accepted;
    {
        Attached empty(probe.Path());
        for (std::size_t i = 0; i < Samples().size(); ++i)
            for (std::size_t j = 0; j < Samples().size(); ++j)
                if (i != j && Runs(empty.db, "ALTER TABLE " + Table(i, j) + " ALTER C TYPE " + Samples()[j].type))
                    ran.insert(Table(i, j));
    }
    const schema::Schema changed = InspectFile(probe.Path());
    for (const auto& t : ran)
        if (changed.relations.at(t).FindColumn("C")->type == neu.relations.at(t).FindColumn("C")->type)
            accepted.insert(t);
    return accepted;
}

// Where the rule, the warnings and the plan for one pair disagree with what the server did.
std::vector<std::string> Judge(std::size_t i, std::size_t j, const schema::TypeChange& rule, bool accepted,
                               const Harm& harm, const Verdict& verdict)
{
    const std::string t = Table(i, j), column = t + ".C";
    const std::string pair = std::string(Samples()[i].type) + " -> " + Samples()[j].type + ": ";
    std::vector<std::string> wrong;
    if (accepted != (rule.route == schema::TypeRoute::InPlace))
        wrong.push_back(pair + "the server " + (accepted ? "takes" : "refuses") + " it in place");
    const bool fails = HasIssue(verdict.issues, column, "would fail"), cuts = HasIssue(verdict.issues, column, "would cut");
    const int values = static_cast<int>(Samples()[i].values.size());
    if (rule.route == schema::TypeRoute::NoConversion) {
        // TIME to TIMESTAMP: CAST takes the day it runs on, a date no row had.
        const bool madeUp = std::string(Samples()[i].type) == "TIME" && std::string(Samples()[j].type) == "TIMESTAMP";
        if (harm.failed != values && !madeUp)
            wrong.push_back(pair + std::to_string(values - harm.failed) + " value(s) convert");
        if (!Has(verdict.notMended, "FIELD " + column + ": cannot be migrated: no value converts"))
            wrong.push_back(pair + "not stopped");
        return wrong;
    }
    if (harm.failed > 0 && !fails)
        wrong.push_back(pair + std::to_string(harm.failed) + " value(s) fail, no warning");
    if (harm.failed == 0 && fails)
        wrong.push_back(pair + "warned to fail, nothing fails");
    if (harm.cut > 0 && !cuts && !fails)
        wrong.push_back(pair + std::to_string(harm.cut) + " value(s) cut, no warning");
    if (harm.cut == 0 && harm.failed == 0 && cuts)
        wrong.push_back(pair + "warned to cut, nothing is cut");
    // In place where the server takes it and every value fits; a migration otherwise.
    const bool inPlace = Has(verdict.statements, "ALTER TABLE " + t + " ALTER C TYPE ");
    const bool migration = Has(verdict.notMended, "FIELD " + column + ": needs a data migration: " +
                                                      std::to_string(values) + (values == 1 ? " row" : " rows") + " of " + t);
    if (rule.route == schema::TypeRoute::InPlace && !fails && !inPlace)
        wrong.push_back(pair + "not changed in place");
    if ((rule.route == schema::TypeRoute::Rebuild || fails) && (inPlace || !migration))
        wrong.push_back(pair + "not left to a data migration");
    return wrong;
}

TEST(TypeChangeRules, EveryPairAgreesWithTheServerAndThePlanFollowsIt)
{
    const std::string name = CurrentTestName();
    TestDb newDb(name + "_new", Tables(true), 3);
    TestDb oldDb(name + "_old", Tables(false), 3);
    TestDb emptyOld(name + "_empty", Tables(false), 3);
    // The probes: one to change each empty table in place, one to change or CAST each value.
    TestDb emptyProbe(name + "_empty_probe", Tables(false), 3);
    std::string originals = Tables(false);
    for (std::size_t at = originals.find("CREATE TABLE T_"); at != std::string::npos;
         at = originals.find("CREATE TABLE T_", at + 1))
        originals.replace(at, 15, "CREATE TABLE OT_");
    TestDb rowsProbe(name + "_rows_probe", Tables(false) + originals, 3);
    InsertRows(oldDb.Path(), false);
    InsertRows(rowsProbe.Path(), true);

    const Compared compared = Compare(oldDb.Path(), newDb.Path());
    const schema::SafetyResult safety = CheckOld(oldDb.Path(), compared, false);
    const schema::Plan plan = PlanOf(compared, false,
                                     schema::PlanOptions{.rowCounts = safety.rowCounts, .notInPlace = safety.notInPlace});
    Verdict verdict{IssueRows(safety.issues), {}, plan.notMended};
    for (const auto& step : plan.steps)
        verdict.statements.push_back(step.sql);

    const std::set<std::string> accepted = AcceptedInPlace(emptyProbe, compared.neu);
    std::vector<std::string> disagreements;
    Attached rows(rowsProbe.Path());
    for (std::size_t i = 0; i < Samples().size(); ++i)
        for (std::size_t j = 0; j < Samples().size(); ++j) {
            if (i == j)
                continue;
            const std::string t = Table(i, j);
            const auto& from = compared.old.relations.at(t).FindColumn("C")->type;
            const auto& to = compared.neu.relations.at(t).FindColumn("C")->type;
            const schema::TypeChange rule = schema::ClassifyTypeChange(from, to, compared.old.database.defaultCharset);
            const bool inPlace =
                accepted.count(t) && Runs(rows.db, "ALTER TABLE " + t + " ALTER C TYPE " + Samples()[j].type);
            const auto wrong = Judge(i, j, rule, accepted.count(t) > 0, ValuesAfter(rows.db, i, j, inPlace), verdict);
            disagreements.insert(disagreements.end(), wrong.begin(), wrong.end());
        }
    EXPECT_EQ(disagreements, std::vector<std::string>{});

    // With no rows, every pair is changed, in place or by taking the column out and back.
    const Compared none = Compare(emptyOld.Path(), newDb.Path());
    const schema::Plan rebuilt =
        PlanOf(none, false, schema::PlanOptions{.rowCounts = CheckOld(emptyOld.Path(), none, false).rowCounts});
    EXPECT_EQ(rebuilt.notMended, std::vector<std::string>{});
    ApplyTo(emptyOld.Path(), rebuilt);
    ExpectConverged(emptyOld, newDb);

    EXPECT_EQ(ReadmeMatrix(), Matrix(compared.old, compared.neu));
}

}
