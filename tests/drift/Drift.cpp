// The drift fuzzer's edits, its repair and its judge. Every edit is plain DDL or DML written
// here from what New has, never a statement of the engine under test.
#include "tests/drift/Drift.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/ScopedTransaction.h"
#include "db/Statement.h"
#include "tests/support/SchemaPair.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace drift {

namespace fs = std::filesystem;
using schema::Schema;

namespace {

// ---------------------------------------------------------------- names and types as text

std::string Name(const std::string& name, int dialect)
{
    if (dialect == 1)
        return name;
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::string Literal(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

bool IsExact(const schema::Type& t)
{
    return (t.fieldType == 7 || t.fieldType == 8 || t.fieldType == 16) && (t.scale < 0 || t.subType > 0);
}

bool IsText(const schema::Type& t)
{
    return t.fieldType == 14 || t.fieldType == 37;
}

// The type alone, without character set or collation.
std::string BaseType(const schema::Type& t, int dialect)
{
    const int length = std::max(1, t.charLength);
    switch (t.fieldType) {
    case 7:
    case 8:
    case 16:
        if (IsExact(t))
            return std::string(t.subType == 2 ? "DECIMAL(" : "NUMERIC(") + std::to_string(std::max(t.precision, 1)) +
                   ", " + std::to_string(-t.scale) + ")";
        return t.fieldType == 7 ? "SMALLINT" : t.fieldType == 8 ? "INTEGER" : "BIGINT";
    case 10:
        return "FLOAT";
    case 27:
        if (t.scale < 0)  // dialect 1 keeps NUMERIC above 9 digits as a double with a scale
            return "NUMERIC(15, " + std::to_string(-t.scale) + ")";
        return "DOUBLE PRECISION";
    case 12:
        return "DATE";
    case 13:
        return "TIME";
    case 35:
        return dialect == 1 ? "DATE" : "TIMESTAMP";
    case 14:
        return "CHAR(" + std::to_string(length) + ")";
    case 37:
        return "VARCHAR(" + std::to_string(length) + ")";
    case 23:
        return "BOOLEAN";
    case 261:
        return "BLOB SUB_TYPE " + std::to_string(t.subType);
    default:
        return "";
    }
}

std::string TypeText(const schema::Type& t, int dialect)
{
    std::string text = BaseType(t, dialect);
    if (text.empty())
        return text;
    if ((IsText(t) || (t.fieldType == 261 && t.subType == 1)) && !t.charset.empty())
        text += " CHARACTER SET " + t.charset;
    if (IsText(t) && !t.collation.empty())
        text += " COLLATE " + t.collation;
    return text;
}

// Collations of the character sets the corpus uses, other than each set's default.
std::vector<std::string> CollationsOf(const std::string& charset)
{
    static const std::map<std::string, std::vector<std::string>> collations{
        {"UTF8", {"UNICODE", "UNICODE_CI", "UNICODE_CI_AI"}},
        {"WIN1252", {"PXW_INTL", "PXW_SPAN", "WIN_PTBR"}},
        {"WIN1251", {"PXW_CYRL", "WIN1251_UA"}},
        {"ISO8859_1", {"DE_DE", "FR_FR", "PT_BR"}},
        {"UNICODE_FSS", {}},
        {"NONE", {}},
    };
    const auto found = collations.find(charset);
    return found == collations.end() ? std::vector<std::string>{} : found->second;
}

// ---------------------------------------------------------------- random choice

template <typename T>
const T& Pick(const std::vector<T>& items, std::mt19937& random)
{
    return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random)];
}

int Between(int low, int high, std::mt19937& random)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

template <typename Map>
std::vector<const typename Map::mapped_type*> Values(const Map& map)
{
    std::vector<const typename Map::mapped_type*> values;
    for (const auto& [key, value] : map)
        values.push_back(&value);
    return values;
}

// ---------------------------------------------------------------- New's extract, read for whole statements

bool StartsWithName(const std::string& text, std::size_t at, const std::string& name, int dialect)
{
    const std::string plain = name;
    const std::string quoted = "\"" + name + "\"";
    for (const std::string& form : {quoted, plain}) {
        if (text.compare(at, form.size(), form) != 0)
            continue;
        const std::size_t after = at + form.size();
        if (after >= text.size() || std::string(" \t\r\n(;").find(text[after]) != std::string::npos)
            return true;
    }
    (void)dialect;
    return false;
}

// The statement of the extract that starts with the prefix and the object's name, up to its
// terminator (excluded): "^" for PSQL, ";" otherwise.
std::optional<std::string> ExtractStatement(const std::string& extract, const std::string& prefix,
                                            const std::string& name, char terminator)
{
    std::size_t at = 0;
    while ((at = extract.find(prefix, at)) != std::string::npos) {
        const bool lineStart = at == 0 || extract[at - 1] == '\n';
        if (lineStart && StartsWithName(extract, at + prefix.size(), name, 3)) {
            const std::string end = std::string(1, terminator) + "\n";
            std::size_t stop = extract.find(end, at);
            if (stop == std::string::npos)
                return std::nullopt;
            std::string statement = extract.substr(at, stop - at);
            while (!statement.empty() && (statement.back() == ' ' || statement.back() == '\n'))
                statement.pop_back();
            return statement;
        }
        at += prefix.size();
    }
    return std::nullopt;
}

// The position just after the line that is "AS" alone (a PSQL header's end), or npos.
std::size_t AfterAsLine(const std::string& statement)
{
    std::istringstream in(statement);
    std::string line;
    std::size_t offset = 0;
    while (std::getline(in, line)) {
        offset += line.size() + 1;
        std::string trimmed = line;
        while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\r'))
            trimmed.pop_back();
        if (trimmed == "AS")
            return offset;
    }
    return std::string::npos;
}

// ---------------------------------------------------------------- the edits

using Maker = std::function<std::optional<Edit>(const Reference&, std::mt19937&)>;

std::vector<const schema::Relation*> Tables(const Schema& s)
{
    std::vector<const schema::Relation*> tables;
    for (const auto& [name, r] : s.relations)
        if (r.kind == schema::RelationKind::Table && !r.columns.empty())
            tables.push_back(&r);
    return tables;
}

std::vector<const schema::Relation*> Views(const Schema& s)
{
    std::vector<const schema::Relation*> views;
    for (const auto& [name, r] : s.relations)
        if (r.IsView())
            views.push_back(&r);
    return views;
}

// A stored column of a table: not computed.
std::optional<std::pair<const schema::Relation*, const schema::Column*>> StoredColumn(const Schema& s,
                                                                                       std::mt19937& random)
{
    const auto tables = Tables(s);
    if (tables.empty())
        return std::nullopt;
    const schema::Relation* table = Pick(tables, random);
    std::vector<const schema::Column*> columns;
    for (const auto& c : table->columns)
        if (c.computedSource.empty() && !c.identityType)
            columns.push_back(&c);
    if (columns.empty())
        return std::nullopt;
    return std::make_pair(table, Pick(columns, random));
}

std::string AlterColumn(const schema::Relation& t, const schema::Column& c, int d)
{
    return "ALTER TABLE " + Name(t.name, d) + " ALTER " + Name(c.name, d) + " ";
}

// Another type of the same family, or of another family now and then.
std::optional<std::string> OtherType(const schema::Type& t, int d, std::mt19937& random)
{
    std::vector<std::string> types;
    schema::Type other = t;
    if (IsExact(t)) {
        other.precision = std::min(18, t.precision + 2);
        types.push_back(BaseType(other, d));
        if (t.precision > -t.scale + 1) {
            other = t;
            other.scale = t.scale - 1;
            types.push_back(BaseType(other, d));
        }
        other = t;
        other.subType = t.subType == 2 ? 1 : 2;
        types.push_back(BaseType(other, d));
    } else if (t.fieldType == 7) {
        types = {"INTEGER", "NUMERIC(4, 1)"};
    } else if (t.fieldType == 8) {
        types = {"SMALLINT", "NUMERIC(9, 2)", "VARCHAR(20)"};
        if (d == 3)
            types.push_back("BIGINT");
    } else if (t.fieldType == 16) {
        types = {"INTEGER", "NUMERIC(18, 2)", "VARCHAR(30)"};
    } else if (t.fieldType == 10 || t.fieldType == 27) {
        types = {t.fieldType == 10 ? "DOUBLE PRECISION" : "FLOAT", "VARCHAR(40)"};
    } else if (t.fieldType == 12 || t.fieldType == 13 || t.fieldType == 35) {
        types = {"VARCHAR(30)", d == 1 ? "TIMESTAMP" : t.fieldType == 35 ? "DATE" : "TIMESTAMP"};
    } else if (IsText(t)) {
        // Firebird 3 keeps a column's character set and collation through ALTER ... TYPE
        // (ColumnCharsetEdit makes those differ).
        const int n = std::max(1, t.charLength);
        types = {"VARCHAR(" + std::to_string(n + 10) + ")", "VARCHAR(" + std::to_string(std::max(1, n - 1)) + ")",
                 "CHAR(" + std::to_string(n + 2) + ")"};
        if (n <= 10)
            types.push_back("INTEGER");
    } else if (t.fieldType == 261) {
        types = {t.subType == 1 ? "BLOB SUB_TYPE 0" : "BLOB SUB_TYPE 1", "VARCHAR(100)"};
    } else if (t.fieldType == 23) {
        types = {"CHAR(5)"};
    }
    if (types.empty())
        return std::nullopt;
    return Pick(types, random);
}

std::optional<Edit> ColumnTypeEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto picked = StoredColumn(*r.model, random);
    if (!picked)
        return std::nullopt;
    const auto& [table, column] = *picked;
    const auto type = OtherType(schema::ColumnType(*column, *r.model), d, random);
    if (!type)
        return std::nullopt;
    return Edit{"column " + table->name + "." + column->name + " of type " + *type,
                {AlterColumn(*table, *column, d) + "TYPE " + *type}};
}

// A text column of another character set or collation: the server changes neither in place,
// so the column is made again where it was (its values and NOT NULL go).
std::optional<Edit> ColumnCharsetEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto picked = StoredColumn(*r.model, random);
    if (!picked)
        return std::nullopt;
    const auto& [table, column] = *picked;
    const schema::Type t = schema::ColumnType(*column, *r.model);
    if (!IsText(t))
        return std::nullopt;
    std::vector<std::string> types;
    for (const char* charset : {"UTF8", "WIN1252", "NONE", "WIN1251", "ISO8859_1"})
        if (t.charset != charset)
            types.push_back(BaseType(t, d) + " CHARACTER SET " + charset);
    for (const auto& collation : CollationsOf(t.charset.empty() ? "NONE" : t.charset))
        if (collation != t.collation)
            types.push_back(BaseType(t, d) + " CHARACTER SET " + t.charset + " COLLATE " + collation);
    const std::string type = Pick(types, random);
    const std::string tn = Name(table->name, d), cn = Name(column->name, d);
    return Edit{"column " + table->name + "." + column->name + " of " + type,
                {"ALTER TABLE " + tn + " DROP " + cn, "ALTER TABLE " + tn + " ADD " + cn + " " + type,
                 "ALTER TABLE " + tn + " ALTER " + cn + " POSITION " + std::to_string(column->position + 1)}};
}

std::optional<Edit> ColumnNullEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto picked = StoredColumn(*r.model, random);
    if (!picked)
        return std::nullopt;
    const auto& [table, column] = *picked;
    if (column->notNull) {
        // A NULL stored where New forbids it, for the checks to count.
        if (Between(0, 1, random) == 0)
            return Edit{"column " + table->name + "." + column->name + " nullable and NULL in a row",
                        {AlterColumn(*table, *column, d) + "DROP NOT NULL",
                         "UPDATE " + Name(table->name, d) + " SET " + Name(column->name, d) + " = NULL ROWS 1"}};
        return Edit{"column " + table->name + "." + column->name + " nullable",
                    {AlterColumn(*table, *column, d) + "DROP NOT NULL"}};
    }
    return Edit{"column " + table->name + "." + column->name + " NOT NULL",
                {AlterColumn(*table, *column, d) + "SET NOT NULL"}};
}

std::optional<Edit> ColumnDefaultEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto picked = StoredColumn(*r.model, random);
    if (!picked)
        return std::nullopt;
    const auto& [table, column] = *picked;
    if (!column->defaultSource.empty() && Between(0, 1, random) == 0)
        return Edit{"column " + table->name + "." + column->name + " without its default",
                    {AlterColumn(*table, *column, d) + "DROP DEFAULT"}};
    const schema::Type t = schema::ColumnType(*column, *r.model);
    std::string value = "NULL";
    if (t.fieldType == 7 || t.fieldType == 8 || t.fieldType == 16 || t.fieldType == 10 || t.fieldType == 27)
        value = std::to_string(Between(1, 9, random));
    else if (IsText(t))
        value = "'o'";
    else if (t.fieldType == 23)
        value = "FALSE";
    else if (t.fieldType == 12 || t.fieldType == 35)
        value = "CURRENT_DATE";
    return Edit{"column " + table->name + "." + column->name + " with default " + value,
                {AlterColumn(*table, *column, d) + "SET DEFAULT " + value}};
}

std::optional<Edit> ColumnPositionEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto picked = StoredColumn(*r.model, random);
    if (!picked)
        return std::nullopt;
    const auto& [table, column] = *picked;
    const int count = static_cast<int>(table->columns.size());
    if (count < 2)
        return std::nullopt;
    const int position = Between(1, count, random);
    return Edit{"column " + table->name + "." + column->name + " at position " + std::to_string(position),
                {AlterColumn(*table, *column, d) + "POSITION " + std::to_string(position)}};
}

std::optional<Edit> ColumnDropEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto picked = StoredColumn(*r.model, random);
    if (!picked)
        return std::nullopt;
    const auto& [table, column] = *picked;
    return Edit{"column " + table->name + "." + column->name + " missing",
                {"ALTER TABLE " + Name(table->name, d) + " DROP " + Name(column->name, d)}};
}

std::optional<Edit> DomainEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto domains = Values(r.model->domains);
    if (domains.empty())
        return std::nullopt;
    const schema::Domain& domain = *Pick(domains, random);
    const std::string alter = "ALTER DOMAIN " + Name(domain.name, d) + " ";
    switch (Between(0, 3, random)) {
    case 0: {
        const auto type = OtherType(domain.type, d, random);
        if (!type)
            return std::nullopt;
        return Edit{"domain " + domain.name + " of type " + *type, {alter + "TYPE " + *type}};
    }
    case 1:
        if (!domain.defaultSource.empty())
            return Edit{"domain " + domain.name + " without its default", {alter + "DROP DEFAULT"}};
        return Edit{"domain " + domain.name + " with a default", {alter + "SET DEFAULT NULL"}};
    case 2:
        return Edit{"domain " + domain.name + (domain.notNull ? " nullable" : " NOT NULL"),
                    {alter + (domain.notNull ? "DROP NOT NULL" : "SET NOT NULL")}};
    default:
        if (!domain.validationSource.empty())
            return Edit{"domain " + domain.name + " without its CHECK", {alter + "DROP CONSTRAINT"}};
        return Edit{"domain " + domain.name + " with a CHECK", {alter + "ADD CHECK (VALUE IS NOT NULL)"}};
    }
}

std::optional<Edit> ConstraintEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto constraints = Values(r.model->constraints);
    if (constraints.empty())
        return std::nullopt;
    const schema::Constraint& c = *Pick(constraints, random);
    const auto named = r.model->constraintNames.find(c.Key());
    if (named == r.model->constraintNames.end())
        return std::nullopt;
    const std::string drop = "ALTER TABLE " + Name(c.table, d) + " DROP CONSTRAINT " + Name(named->second, d);
    const std::string title = schema::ConstraintTitle(c);
    if ((c.kind == schema::ConstraintKind::PrimaryKey || c.kind == schema::ConstraintKind::Unique) &&
        Between(0, 1, random) == 0) {
        // The key on other columns: one column fewer, or another column of the table.
        const auto table = r.model->relations.find(c.table);
        if (table == r.model->relations.end())
            return std::nullopt;
        std::vector<std::string> columns = c.columns;
        if (columns.size() > 1) {
            columns.pop_back();
        } else {
            std::vector<std::string> others;
            for (const auto& column : table->second.columns)
                if (column.computedSource.empty() && column.name != columns[0])
                    others.push_back(column.name);
            if (others.empty())
                return std::nullopt;
            columns = {Pick(others, random)};
        }
        std::string list;
        for (const auto& column : columns)
            list += (list.empty() ? "" : ", ") + Name(column, d);
        return Edit{title + " on other columns",
                    {drop, "ALTER TABLE " + Name(c.table, d) + " ADD CONSTRAINT " + Name(named->second, d) +
                               (c.kind == schema::ConstraintKind::PrimaryKey ? " PRIMARY KEY (" : " UNIQUE (") + list +
                               ")"}};
    }
    return Edit{title + " missing", {drop}};
}

std::optional<Edit> IndexEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto indices = Values(r.model->indices);
    if (indices.empty())
        return std::nullopt;
    const schema::Index& index = *Pick(indices, random);
    if (!index.expressionSource.empty() || index.columns.empty())
        return Edit{"index " + index.name + " missing", {"DROP INDEX " + Name(index.name, d)}};
    auto create = [&](bool descending, const std::vector<std::string>& columns) {
        std::string list;
        for (const auto& column : columns)
            list += (list.empty() ? "" : ", ") + Name(column, d);
        return std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + (descending ? "DESCENDING " : "") +
               "INDEX " + Name(index.name, d) + " ON " + Name(index.table, d) + " (" + list + ")";
    };
    switch (Between(0, 3, random)) {
    case 0:
        return Edit{"index " + index.name + " missing", {"DROP INDEX " + Name(index.name, d)}};
    case 1:
        return Edit{"index " + index.name + (index.inactive ? " active" : " inactive"),
                    {"ALTER INDEX " + Name(index.name, d) + (index.inactive ? " ACTIVE" : " INACTIVE")}};
    case 2:
        return Edit{"index " + index.name + (index.descending ? " ascending" : " descending"),
                    {"DROP INDEX " + Name(index.name, d), create(!index.descending, index.columns)}};
    default: {
        const auto table = r.model->relations.find(index.table);
        if (table == r.model->relations.end())
            return std::nullopt;
        std::vector<std::string> others;
        for (const auto& column : table->second.columns)
            if (column.computedSource.empty() && column.name != index.columns[0])
                others.push_back(column.name);
        if (others.empty())
            return std::nullopt;
        const std::string other = Pick(others, random);
        return Edit{"index " + index.name + " on " + other,
                    {"DROP INDEX " + Name(index.name, d), create(index.descending, {other})}};
    }
    }
}

// A body with a variable more: an older version of the routine or trigger.
std::optional<std::string> OlderBody(const std::string& statement)
{
    const std::size_t at = AfterAsLine(statement);
    if (at == std::string::npos)
        return std::nullopt;
    return statement.substr(0, at) + "DECLARE VARIABLE DRIFT_OLD INTEGER;\n" + statement.substr(at);
}

std::optional<Edit> RoutineBodyEdit(const Reference& r, std::mt19937& random)
{
    std::vector<std::pair<std::string, std::string>> routines;  // prefix, name
    for (const auto& [name, p] : r.model->procedures)
        if (p.engine.empty())
            routines.emplace_back("ALTER PROCEDURE ", name);
    for (const auto& [name, f] : r.model->functions)
        if (f.engine.empty())
            routines.emplace_back("ALTER FUNCTION ", name);
    if (routines.empty())
        return std::nullopt;
    const auto& [prefix, name] = Pick(routines, random);
    const auto statement = ExtractStatement(r.extract, prefix, name, '^');
    if (!statement)
        return std::nullopt;
    const auto older = OlderBody(*statement);
    if (!older)
        return std::nullopt;
    return Edit{"older body of " + name, {*older}};
}

std::optional<Edit> PackageBodyEdit(const Reference& r, std::mt19937& random)
{
    const auto packages = Values(r.model->packages);
    if (packages.empty())
        return std::nullopt;
    const schema::Package& package = *Pick(packages, random);
    const auto statement = ExtractStatement(r.extract, "CREATE PACKAGE BODY ", package.name, '^');
    if (!statement)
        return std::nullopt;
    const std::size_t as = statement->find(" AS");
    if (as == std::string::npos)
        return std::nullopt;
    return Edit{"older body of package " + package.name,
                {"RE" + statement->substr(0, as + 3) + "\n/* an older body */" + statement->substr(as + 3)}};
}

std::optional<Edit> ViewEdit(const Reference& r, std::mt19937& random)
{
    const auto views = Views(*r.model);
    if (views.empty())
        return std::nullopt;
    const schema::Relation& view = *Pick(views, random);
    const auto statement = ExtractStatement(r.extract, "CREATE VIEW ", view.name, ';');
    if (!statement)
        return std::nullopt;
    return Edit{"older source of view " + view.name,
                {"CREATE OR ALTER VIEW " + statement->substr(12) + "\n/* an older view */"}};
}

std::optional<Edit> TriggerEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto triggers = Values(r.model->triggers);
    if (triggers.empty())
        return std::nullopt;
    const schema::Trigger& trigger = *Pick(triggers, random);
    const std::string alter = "ALTER TRIGGER " + Name(trigger.name, d);
    switch (Between(0, 2, random)) {
    case 0:
        return Edit{"trigger " + trigger.name + (trigger.inactive ? " active" : " inactive"),
                    {alter + (trigger.inactive ? " ACTIVE" : " INACTIVE")}};
    case 1: {
        const int position = trigger.position == 0 ? Between(1, 20, random) : 0;
        return Edit{"trigger " + trigger.name + " at position " + std::to_string(position),
                    {alter + " POSITION " + std::to_string(position)}};
    }
    default: {
        const auto statement = ExtractStatement(r.extract, "CREATE TRIGGER ", trigger.name, '^');
        if (!statement)
            return std::nullopt;
        const std::size_t at = AfterAsLine(*statement);
        if (at == std::string::npos)
            return std::nullopt;
        return Edit{"older body of trigger " + trigger.name,
                    {alter + "\nAS\nDECLARE VARIABLE DRIFT_OLD INTEGER;\n" + statement->substr(at)}};
    }
    }
}

std::string PrivilegeWord(const schema::Grant& g)
{
    switch (g.privilege.empty() ? ' ' : g.privilege[0]) {
    case 'S': return "SELECT";
    case 'I': return "INSERT";
    case 'U': return "UPDATE";
    case 'D': return "DELETE";
    case 'R': return "REFERENCES";
    case 'X': return "EXECUTE";
    case 'G': return "USAGE";
    default: return "";
    }
}

std::string GranteeText(const schema::Grant& g, int d)
{
    const std::string name = g.user == "PUBLIC" ? "PUBLIC" : Name(g.user, d);
    switch (g.userType) {
    case 5: return "PROCEDURE " + name;
    case 2: return "TRIGGER " + name;
    case 15: return "FUNCTION " + name;
    case 18: return "PACKAGE " + name;
    case 1: return "VIEW " + name;
    case 13: return "ROLE " + name;
    default: return name;
    }
}

std::string ObjectText(const schema::Grant& g, int d)
{
    switch (g.objectType) {
    case 5: return "PROCEDURE " + Name(g.object, d);
    case 15: return "FUNCTION " + Name(g.object, d);
    case 18: return "PACKAGE " + Name(g.object, d);
    case 14: return "SEQUENCE " + Name(g.object, d);
    case 7: return "EXCEPTION " + Name(g.object, d);
    default: return Name(g.object, d);
    }
}

std::optional<Edit> GrantEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto grants = Values(r.model->grants);
    if (grants.empty() || Between(0, 3, random) == 0) {
        // A grant only Old has.
        const auto tables = Tables(*r.model);
        if (tables.empty())
            return std::nullopt;
        const schema::Relation& t = *Pick(tables, random);
        return Edit{"grant on " + t.name + " only in Old", {"GRANT SELECT ON " + Name(t.name, d) + " TO DRIFT_READER"}};
    }
    const schema::Grant& g = *Pick(grants, random);
    if (g.privilege == "M")
        return Edit{"role " + g.object + " not granted to " + g.user,
                    {"REVOKE " + Name(g.object, d) + " FROM " + GranteeText(g, d)}};
    const std::string word = PrivilegeWord(g);
    if (word.empty())
        return std::nullopt;
    const std::string field = g.field.empty() ? "" : " (" + Name(g.field, d) + ")";
    return Edit{"grant missing: " + schema::GrantTitle(g),
                {"REVOKE " + word + field + " ON " + ObjectText(g, d) + " FROM " + GranteeText(g, d)}};
}

std::optional<Edit> CommentEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    struct Commented {
        std::string object;  // "TABLE X", as COMMENT ON names it
        std::string shown;
        bool has;            // New has a comment on it
    };
    std::vector<Commented> objects;
    for (const auto& [name, rel] : r.model->relations) {
        objects.push_back({(rel.IsView() ? "VIEW " : "TABLE ") + Name(name, d), name, !rel.description.empty()});
        for (const auto& column : rel.columns)
            if (!column.description.empty() || &column == &rel.columns.front())
                objects.push_back({"COLUMN " + Name(name, d) + "." + Name(column.name, d), name + "." + column.name,
                                   !column.description.empty()});
    }
    for (const auto& [name, x] : r.model->domains)
        objects.push_back({"DOMAIN " + Name(name, d), name, !x.description.empty()});
    for (const auto& [name, x] : r.model->procedures)
        objects.push_back({"PROCEDURE " + Name(name, d), name, !x.description.empty()});
    for (const auto& [name, x] : r.model->functions)
        objects.push_back({"FUNCTION " + Name(name, d), name, !x.description.empty()});
    for (const auto& [name, x] : r.model->packages)
        objects.push_back({"PACKAGE " + Name(name, d), name, !x.description.empty()});
    for (const auto& [name, x] : r.model->generators)
        objects.push_back({"SEQUENCE " + Name(name, d), name, !x.description.empty()});
    for (const auto& [name, x] : r.model->exceptions)
        objects.push_back({"EXCEPTION " + Name(name, d), name, !x.description.empty()});
    for (const auto& [name, x] : r.model->triggers)
        objects.push_back({"TRIGGER " + Name(name, d), name, !x.description.empty()});
    for (const auto& [name, x] : r.model->indices)
        objects.push_back({"INDEX " + Name(name, d), name, !x.description.empty()});
    for (const auto& [name, x] : r.model->roles)
        objects.push_back({"ROLE " + Name(name, d), name, !x.description.empty()});
    if (objects.empty())
        return std::nullopt;
    const Commented& o = Pick(objects, random);
    if (o.has && Between(0, 2, random) == 0)
        return Edit{"no comment on " + o.shown, {"COMMENT ON " + o.object + " IS NULL"}};
    return Edit{"older comment on " + o.shown, {"COMMENT ON " + o.object + " IS 'an older comment'"}};
}

std::optional<Edit> DropEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    std::vector<std::string> drops;
    for (const auto& [name, rel] : r.model->relations)
        drops.push_back((rel.IsView() ? "DROP VIEW " : "DROP TABLE ") + Name(name, d));
    for (const auto& [name, x] : r.model->procedures)
        drops.push_back("DROP PROCEDURE " + Name(name, d));
    for (const auto& [name, x] : r.model->functions)
        drops.push_back("DROP FUNCTION " + Name(name, d));
    for (const auto& [name, x] : r.model->triggers)
        drops.push_back("DROP TRIGGER " + Name(name, d));
    for (const auto& [name, x] : r.model->domains)
        drops.push_back("DROP DOMAIN " + Name(name, d));
    for (const auto& [name, x] : r.model->exceptions)
        drops.push_back("DROP EXCEPTION " + Name(name, d));
    for (const auto& [name, x] : r.model->generators)
        drops.push_back("DROP SEQUENCE " + Name(name, d));
    for (const auto& [name, x] : r.model->packages)
        drops.push_back("DROP PACKAGE " + Name(name, d));
    for (const auto& [name, x] : r.model->externalFunctions)
        drops.push_back("DROP EXTERNAL FUNCTION " + Name(name, d));
    for (const auto& [name, x] : r.model->roles)
        drops.push_back("DROP ROLE " + Name(name, d));
    if (drops.empty())
        return std::nullopt;
    const std::string drop = Pick(drops, random);
    return Edit{"missing: " + drop.substr(5), {drop}};
}

std::optional<Edit> OldOnlyEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto tables = Tables(*r.model);
    const std::string n = std::to_string(Between(1, 3, random));
    switch (Between(0, 8, random)) {
    case 0:
        return Edit{"generator only in Old", {"CREATE SEQUENCE DRIFT_G" + n, "ALTER SEQUENCE DRIFT_G" + n + " RESTART WITH 5"}};
    case 1:
        return Edit{"exception only in Old", {"CREATE EXCEPTION DRIFT_E" + n + " 'an old message'"}};
    case 2:
        return Edit{"domain only in Old", {"CREATE DOMAIN DRIFT_D" + n + " AS VARCHAR(12) DEFAULT 'old' NOT NULL"}};
    case 3:
        return Edit{"table only in Old",
                    {"CREATE TABLE DRIFT_T" + n + " (ID INTEGER NOT NULL PRIMARY KEY, NOTE VARCHAR(20))",
                     "COMMENT ON TABLE DRIFT_T" + n + " IS 'an old table'"}};
    case 4:
        if (tables.empty())
            return std::nullopt;
        else {
            const schema::Relation& t = *Pick(tables, random);
            return Edit{"column " + t.name + ".DRIFT_C" + n + " only in Old",
                        {"ALTER TABLE " + Name(t.name, d) + " ADD DRIFT_C" + n + " INTEGER DEFAULT 7"}};
        }
    case 5:
        if (tables.empty())
            return std::nullopt;
        else {
            const schema::Relation& t = *Pick(tables, random);
            const schema::Column& c = Pick(t.columns, random);
            if (!c.computedSource.empty())
                return std::nullopt;
            return Edit{"index on " + t.name + "." + c.name + " only in Old",
                        {"CREATE DESCENDING INDEX DRIFT_I" + n + " ON " + Name(t.name, d) + " (" + Name(c.name, d) + ")"}};
        }
    case 6:
        if (tables.empty())
            return std::nullopt;
        else {
            const schema::Relation& t = *Pick(tables, random);
            return Edit{"view over " + t.name + " only in Old",
                        {"CREATE VIEW DRIFT_V" + n + " (N) AS SELECT COUNT(*) FROM " + Name(t.name, d)}};
        }
    case 7:
        return Edit{"procedure only in Old",
                    {"CREATE PROCEDURE DRIFT_P" + n + " (A INTEGER) RETURNS (B INTEGER) AS\nBEGIN\n  B = A + 1;\n  SUSPEND;\nEND"}};
    default:
        if (tables.empty())
            return std::nullopt;
        else {
            const schema::Relation& t = *Pick(tables, random);
            return Edit{"trigger on " + t.name + " only in Old",
                        {"CREATE TRIGGER DRIFT_TR" + n + " FOR " + Name(t.name, d) +
                         " ACTIVE BEFORE UPDATE POSITION 30 AS\nBEGIN\n  /* an old check */\nEND"}};
        }
    }
}

// Rows as an older copy holds them: one more, a NULL, or longer text, for the checks to count.
std::optional<Edit> RowsEdit(const Reference& r, std::mt19937& random)
{
    const int d = r.schema.dialect;
    const auto picked = StoredColumn(*r.model, random);
    if (!picked)
        return std::nullopt;
    const auto& [table, column] = *picked;
    const schema::Type t = schema::ColumnType(*column, *r.model);
    const std::string tn = Name(table->name, d), cn = Name(column->name, d);
    switch (Between(0, 2, random)) {
    case 0: {
        // A copy of a row with its key columns moved out of the way where they are numbers.
        std::string columns, values;
        for (const auto& c : table->columns) {
            if (!c.computedSource.empty())
                continue;
            const schema::Type ct = schema::ColumnType(c, *r.model);
            columns += (columns.empty() ? "" : ", ") + Name(c.name, d);
            const bool number = ct.fieldType == 7 || ct.fieldType == 8 || ct.fieldType == 16;
            values += (values.empty() ? "" : ", ") +
                      (number && !IsExact(ct) ? "-" + Name(c.name, d) + " - 1" : Name(c.name, d));
        }
        return Edit{"a row more in " + table->name,
                    {"INSERT INTO " + tn + " (" + columns + ") SELECT " + values + " FROM " + tn + " ROWS 1"}};
    }
    case 1:
        return Edit{"NULL in " + table->name + "." + column->name,
                    {"UPDATE " + tn + " SET " + cn + " = NULL ROWS 1"}};
    default:
        if (IsText(t))
            return Edit{"longer text in " + table->name + "." + column->name,
                        {"UPDATE " + tn + " SET " + cn + " = " + cn + " || 'drifted text' ROWS 1"}};
        if (t.fieldType == 7 || t.fieldType == 8 || t.fieldType == 16 || IsExact(t))
            return Edit{"larger number in " + table->name + "." + column->name,
                        {"UPDATE " + tn + " SET " + cn + " = " + cn + " * 100 + 99 ROWS 1"}};
        return std::nullopt;
    }
}

// Each maker with its weight: how often it is drawn.
const std::vector<std::pair<int, Maker>>& Makers()
{
    static const std::vector<std::pair<int, Maker>> makers{
        {3, DropEdit},          {3, OldOnlyEdit},       {4, ColumnTypeEdit},  {1, ColumnCharsetEdit}, {2, ColumnNullEdit},
        {2, ColumnDefaultEdit}, {1, ColumnPositionEdit}, {1, ColumnDropEdit}, {2, DomainEdit},
        {2, ConstraintEdit},    {2, IndexEdit},         {2, RoutineBodyEdit}, {1, PackageBodyEdit},
        {1, ViewEdit},          {2, TriggerEdit},       {2, GrantEdit},       {2, CommentEdit},
        {3, RowsEdit},
    };
    return makers;
}

// ---------------------------------------------------------------- rows kept

struct TableRows {
    long long count = 0;
    std::vector<std::string> values;  // each row's comparable values, sorted
};

// The columns whose values must survive the repair: stored, not blobs, of the same type in Old
// and New.
std::map<std::string, std::vector<std::string>> KeptColumns(const Schema& old, const Schema& neu)
{
    std::map<std::string, std::vector<std::string>> kept;
    for (const auto& [name, table] : old.relations) {
        if (table.kind != schema::RelationKind::Table)
            continue;
        const auto target = neu.relations.find(name);
        if (target == neu.relations.end() || target->second.kind != schema::RelationKind::Table)
            continue;
        auto& columns = kept[name];
        for (const auto& c : table.columns) {
            const schema::Column* n = target->second.FindColumn(c.name);
            if (!n || !c.computedSource.empty() || !n->computedSource.empty() || schema::IsCopyColumn(c.name))
                continue;
            const schema::Type ot = schema::ColumnType(c, old), nt = schema::ColumnType(*n, neu);
            if (ot == nt && ot.fieldType != 261 && ot.dimensions.empty())
                columns.push_back(c.name);
        }
    }
    return kept;
}

std::map<std::string, TableRows> ReadRows(const std::string& path, int dialect,
                                          const std::map<std::string, std::vector<std::string>>& kept)
{
    std::map<std::string, TableRows> rows;
    Attached a(path);
    for (const auto& [table, columns] : kept) {
        std::string sql = "SELECT 0 AS DRIFT_ZERO";
        for (std::size_t i = 0; i < columns.size(); ++i)
            sql += ", " + Name(columns[i], dialect) + " AS V" + std::to_string(i);
        Query query(a.db, a.tran, {sql + " FROM " + Name(table, dialect)});
        query.Dialect = static_cast<unsigned short>(dialect);
        query.Open();
        TableRows& t = rows[table];
        while (!query.Eof()) {
            std::string row;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const std::string v = "V" + std::to_string(i);
                row += (query.IsNull(v) ? std::string("<null>") : query.AsString(v)) + "|";
            }
            t.values.push_back(row);
            ++t.count;
            query.Next();
        }
        query.Close();
        std::sort(t.values.begin(), t.values.end());
    }
    if (a.tran.Active())
        a.tran.Commit();
    return rows;
}

std::string RowsDifference(const std::map<std::string, TableRows>& before, const std::map<std::string, TableRows>& after)
{
    std::string difference;
    for (const auto& [table, rows] : before) {
        const auto now = after.find(table);
        if (now == after.end())
            continue;
        if (now->second.count != rows.count)
            difference += table + ": " + std::to_string(rows.count) + " rows before, " +
                          std::to_string(now->second.count) + " after\n";
        else if (now->second.values != rows.values)
            difference += table + ": values changed\n";
    }
    return difference;
}

}

// ---------------------------------------------------------------- public

Reference MakeReference(const CorpusSchema& schema, const std::string& path)
{
    MakeDatabase(schema, path, CorpusSql(schema));
    Reference reference;
    reference.schema = schema;
    reference.path = path;
    reference.extract = Extract(path);
    reference.model = std::make_shared<const Schema>(InspectFile(path));
    return reference;
}

Edit DrawEdit(const Reference& reference, std::mt19937& random)
{
    int total = 0;
    for (const auto& [weight, maker] : Makers())
        total += weight;
    for (;;) {
        int draw = Between(0, total - 1, random);
        for (const auto& [weight, maker] : Makers()) {
            if (draw >= weight) {
                draw -= weight;
                continue;
            }
            if (auto edit = maker(reference, random))
                return *edit;
            break;
        }
    }
}

bool ApplyEdit(const std::string& path, int dialect, const Edit& edit, std::string* refusal)
{
    Attached a(path);
    if (a.tran.Active())
        a.tran.Commit();
    try {
        ScopedTransaction work(a.db);
        Statement statement(a.db, work.Get());
        for (const auto& sql : edit.statements)
            statement.ExecuteText(sql, static_cast<unsigned short>(dialect));
        work.Commit();
        return true;
    } catch (const DbError& error) {
        if (refusal)
            *refusal = error.what();
        return false;
    }
}

std::vector<Edit> DriftOld(const Reference& reference, const std::string& oldPath, std::uint32_t seed, int count)
{
    std::mt19937 random(seed);
    std::vector<Edit> taken;
    for (int drawn = 0; drawn < 4 * count && static_cast<int>(taken.size()) < count; ++drawn) {
        Edit edit = DrawEdit(reference, random);
        if (ApplyEdit(oldPath, reference.schema.dialect, edit))
            taken.push_back(std::move(edit));
    }
    return taken;
}

const char* OutcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Converged: return "converged";
    case Outcome::Reordered: return "converged, the same statements listed in another order";
    case Outcome::NotMended: return "not mended (said so)";
    case Outcome::SafetyStop: return "stopped by the safety checks";
    case Outcome::Refused: return "FAULT: a statement was refused";
    case Outcome::Diverged: return "FAULT: the extracts differ";
    case Outcome::RowsLost: return "FAULT: rows lost or changed";
    case Outcome::Crashed: return "FAULT: the comparison failed";
    }
    return "";
}

bool IsFault(Outcome outcome)
{
    return outcome == Outcome::Refused || outcome == Outcome::Diverged || outcome == Outcome::RowsLost ||
           outcome == Outcome::Crashed;
}

std::string ExtractDifference(const std::string& oldExtract, const std::string& newExtract, std::size_t limit)
{
    auto lines = [](const std::string& text) {
        std::vector<std::string> result;
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line))
            result.push_back(line);
        return result;
    };
    const auto a = lines(oldExtract), b = lines(newExtract);
    std::multiset<std::string> inA(a.begin(), a.end()), inB(b.begin(), b.end());
    std::string text;
    std::size_t shown = 0;
    for (const auto& line : a)
        if (inB.count(line) == 0 && shown++ < limit)
            text += "- " + line + "\n";
    for (const auto& line : b)
        if (inA.count(line) == 0 && shown++ < limit)
            text += "+ " + line + "\n";
    if (text.empty() && a != b)
        text = "the same lines in another order\n";
    return text;
}

bool SameStatementsReordered(const std::string& oldExtract, const std::string& newExtract)
{
    auto blocks = [](const std::string& text) {
        std::multiset<std::string> result;
        std::istringstream in(text);
        std::string line, block;
        while (std::getline(in, line)) {
            if (!line.empty()) {
                block += line + "\n";
                continue;
            }
            if (!block.empty())
                result.insert(block);
            block.clear();
        }
        if (!block.empty())
            result.insert(block);
        return result;
    };
    return oldExtract != newExtract && blocks(oldExtract) == blocks(newExtract);
}

Verdict RepairAndJudge(const std::string& oldPath, const std::string& newPath, const std::string& newExtract, bool force)
{
    Verdict verdict;
    std::map<std::string, TableRows> before;
    std::map<std::string, std::vector<std::string>> kept;
    int dialect = 3;
    try {
        const Compared compared = Compare(oldPath, newPath);
        dialect = compared.old.dialect;
        kept = KeptColumns(compared.old, compared.neu);
        before = ReadRows(oldPath, dialect, kept);
        const schema::SafetyResult safety = CheckOld(oldPath, compared, true, force);
        schema::PlanOptions options;
        options.rowCounts = safety.rowCounts;
        options.force = force;
        options.notInPlace = safety.notInPlace;
        options.generatorValues = safety.generatorValues;
        const schema::Plan plan = PlanOf(compared, true, options);
        if (!force && !safety.issues.empty()) {
            verdict.outcome = Outcome::SafetyStop;
            for (const auto& row : IssueRows(safety.issues))
                verdict.detail += row + "\n";
            return verdict;
        }
        for (const auto& line : plan.notMended)
            verdict.detail += line + "\n";
        try {
            ApplyTo(oldPath, plan);
        } catch (const DbError& error) {
            // Forced past a check that said a statement would fail, the server refusing it is
            // what the check foretold: Old is left as it was.
            const bool foretold = force && std::any_of(safety.issues.begin(), safety.issues.end(), [](const auto& issue) {
                                      return issue.message.rfind("would fail", 0) == 0;
                                  });
            verdict.outcome = foretold ? Outcome::SafetyStop : Outcome::Refused;
            verdict.detail = error.what();
            return verdict;
        }
        const std::string oldExtract = Extract(oldPath);
        const std::string difference = ExtractDifference(oldExtract, newExtract);
        const bool reordered = SameStatementsReordered(oldExtract, newExtract);
        if (!difference.empty() && !reordered) {
            verdict.outcome = plan.notMended.empty() ? Outcome::Diverged : Outcome::NotMended;
            verdict.detail += difference;
        } else {
            if (reordered) {
                verdict.outcome = Outcome::Reordered;
                verdict.detail += difference;
            }
            const Compared again = Compare(oldPath, newPath);
            const auto rows = ChangeRows(again.changes);
            if (!rows.empty() && plan.notMended.empty()) {
                verdict.outcome = Outcome::Diverged;
                for (const auto& row : rows)
                    verdict.detail += "still differs: " + row + "\n";
            } else if (!rows.empty()) {
                verdict.outcome = Outcome::NotMended;
            }
        }
        const std::string lost = RowsDifference(before, ReadRows(oldPath, dialect, kept));
        if (!lost.empty() && verdict.outcome != Outcome::NotMended) {
            verdict.outcome = Outcome::RowsLost;
            verdict.detail = lost + verdict.detail;
        }
    } catch (const std::exception& error) {
        verdict.outcome = Outcome::Crashed;
        verdict.detail = error.what();
    }
    return verdict;
}

Trial RunTrial(const Reference& reference, const std::string& oldPath, std::uint32_t seed, int count, bool force,
               const std::vector<Edit>* edits)
{
    fs::copy_file(reference.path, oldPath, fs::copy_options::overwrite_existing);
    Trial trial;
    trial.seed = seed;
    trial.force = force;
    if (edits) {
        for (const auto& edit : *edits)
            if (ApplyEdit(oldPath, reference.schema.dialect, edit))
                trial.edits.push_back(edit);
    } else {
        trial.edits = DriftOld(reference, oldPath, seed, count);
    }
    trial.verdict = RepairAndJudge(oldPath, reference.path, reference.extract, force);
    return trial;
}

Trial Shrink(const Reference& reference, const std::string& oldPath, const Trial& failed)
{
    Trial best = failed;
    auto fails = [&](const std::vector<Edit>& edits, Trial& result) {
        result = RunTrial(reference, oldPath, failed.seed, 0, failed.force, &edits);
        return result.verdict.outcome == failed.verdict.outcome;
    };
    // Delta debugging: drop ever smaller chunks of the edits while the fault stays.
    std::size_t chunks = 2;
    while (best.edits.size() >= 2) {
        const std::size_t size = best.edits.size();
        chunks = std::min(chunks, size);
        bool reduced = false;
        for (std::size_t i = 0; i < chunks && !reduced; ++i) {
            const std::size_t from = i * size / chunks, to = (i + 1) * size / chunks;
            std::vector<Edit> rest(best.edits.begin(), best.edits.begin() + static_cast<std::ptrdiff_t>(from));
            rest.insert(rest.end(), best.edits.begin() + static_cast<std::ptrdiff_t>(to), best.edits.end());
            Trial result;
            if (fails(rest, result)) {
                best = result;
                chunks = std::max<std::size_t>(chunks - 1, 2);
                reduced = true;
            }
        }
        if (!reduced) {
            if (chunks >= size)
                break;
            chunks = std::min(size, chunks * 2);
        }
    }
    if (best.edits.size() == 1) {
        // Even no edit at all may fail: then the fault is in the schema itself.
        Trial result;
        const std::vector<Edit> none;
        if (fails(none, result))
            best = result;
    }
    return best;
}

FixtureCase AsFixtureCase(const CorpusSchema& schema, const std::vector<Edit>& edits)
{
    FixtureCase c;
    c.dialectOne = schema.dialect == 1;
    std::string header;
    if (!schema.charset.empty())
        header = "-- made in a database of default character set " + schema.charset + "\n";
    c.newSql = header + FileText((schema.folder / "schema.sql").string());
    c.oldSql = header + CorpusSql(schema) + "\nCOMMIT;\n\n-- What an older copy shows: the drift's edits, each committed.\n";
    for (const auto& edit : edits) {
        c.oldSql += "-- " + edit.what + "\n";
        for (const auto& statement : edit.statements)
            c.oldSql += IsqlStatement(statement);
        c.oldSql += "COMMIT;\n";
    }
    return c;
}

}
