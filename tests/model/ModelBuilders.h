// Schemas built in code for the model tests: small builders that read like the DDL they stand for.
#pragma once
#include "schema/Change.h"
#include "schema/Ddl.h"
#include "schema/Diff.h"
#include "schema/Model.h"
#include "schema/Plan.h"

#include <string>
#include <vector>

namespace model {

using Lines = std::vector<std::string>;

// A type by its catalog code alone: INTEGER 8, BIGINT 16, DATE 12, BOOLEAN 23, ...
inline schema::Type TypeCode(int fieldType)
{
    schema::Type t;
    t.fieldType = fieldType;
    return t;
}

inline schema::Type Integer()
{
    return TypeCode(8);
}

inline schema::Type Varchar(int length, const std::string& charset = "NONE")
{
    schema::Type t;
    t.fieldType = 37;
    t.charLength = length;
    t.charset = charset;
    return t;
}

// NUMERIC(precision, scale) as dialect 3 stores it: in the smallest integer that holds it.
inline schema::Type Numeric(int precision, int scale)
{
    schema::Type t;
    t.fieldType = precision > 9 ? 16 : precision > 4 ? 8 : 7;
    t.subType = 1;
    t.precision = precision;
    t.scale = -scale;
    return t;
}

inline schema::Column ColumnOf(const std::string& name, const schema::Type& type, int position)
{
    schema::Column c;
    c.name = name;
    c.type = type;
    c.position = position;
    return c;
}

inline schema::Relation TableOf(const std::string& name, std::vector<schema::Column> columns)
{
    schema::Relation r;
    r.name = name;
    r.columns = std::move(columns);
    return r;
}

inline void AddTable(schema::Schema& s, const schema::Relation& table)
{
    s.relations[table.name] = table;
    s.relationOrder.push_back(table.name);
}

// A view of the named columns (typed INTEGER) over source; each of uses is a relation it selects from.
inline void AddView(schema::Schema& s, const std::string& name, const Lines& columns, const std::string& source,
                    const Lines& uses = {})
{
    schema::Relation v;
    v.name = name;
    v.kind = schema::RelationKind::View;
    v.viewSource = source;
    for (std::size_t i = 0; i < columns.size(); ++i)
        v.columns.push_back(ColumnOf(columns[i], Integer(), static_cast<int>(i)));
    AddTable(s, v);
    for (const auto& used : uses)
        s.dependencies.push_back({name, 1, used, 0});
}

// A constraint as the catalog holds it; catalogName is the name the server gave an unnamed one.
inline void AddConstraint(schema::Schema& s, const schema::Constraint& c, const std::string& catalogName = "")
{
    const std::string key = c.Key();
    s.constraints[key] = c;
    s.constraintOrder.push_back(key);
    s.constraintNames[key] = catalogName.empty() ? c.name : catalogName;
}

inline schema::Constraint KeyOf(schema::ConstraintKind kind, const std::string& name, const std::string& table,
                                const Lines& columns)
{
    schema::Constraint c;
    c.kind = kind;
    c.name = name;
    c.table = table;
    c.columns = columns;
    return c;
}

inline schema::Constraint ForeignKeyOf(const std::string& name, const std::string& table, const Lines& columns,
                                       const std::string& refTable, const Lines& refColumns)
{
    schema::Constraint c = KeyOf(schema::ConstraintKind::ForeignKey, name, table, columns);
    c.refTable = refTable;
    c.refColumns = refColumns;
    return c;
}

inline schema::Constraint CheckOf(const std::string& name, const std::string& table, const std::string& source)
{
    schema::Constraint c = KeyOf(schema::ConstraintKind::Check, name, table, {});
    c.checkSource = source;
    return c;
}

inline schema::Parameter ParameterOf(const std::string& name, const schema::Type& type)
{
    schema::Parameter p;
    p.name = name;
    p.type = type;
    return p;
}

inline schema::Procedure ProcedureOf(const std::string& name, const std::string& source,
                                     std::vector<schema::Parameter> inputs = {},
                                     std::vector<schema::Parameter> outputs = {})
{
    schema::Procedure p;
    p.name = name;
    p.source = source;
    p.inputs = std::move(inputs);
    p.outputs = std::move(outputs);
    return p;
}

inline schema::Function FunctionOf(const std::string& name, const std::string& source, const schema::Type& returns,
                                   std::vector<schema::Parameter> arguments = {})
{
    schema::Function f;
    f.name = name;
    f.source = source;
    f.returns = ParameterOf("", returns);
    f.arguments = std::move(arguments);
    return f;
}

inline schema::Grant GrantOf(const std::string& privilege, const std::string& object, const std::string& user,
                             int objectType = 0, int userType = 8)
{
    schema::Grant g;
    g.privilege = privilege;
    g.object = object;
    g.user = user;
    g.objectType = objectType;
    g.userType = userType;
    return g;
}

inline void AddGrant(schema::Schema& s, const schema::Grant& g)
{
    s.grants[g.Key()] = g;
}

// The same table on both sides.
inline void AddToBoth(schema::Schema& old, schema::Schema& neu, const schema::Relation& table)
{
    AddTable(old, table);
    AddTable(neu, table);
}

// T (ID, A) where New's A is a NOT NULL VARCHAR(10) with a comment and Old's an INTEGER: a
// column of another type family, which a table with rows can only take by a data migration.
inline void MigratedColumnPair(schema::Schema& old, schema::Schema& neu)
{
    AddTable(old, TableOf("T", {ColumnOf("ID", Integer(), 0), ColumnOf("A", Integer(), 1)}));
    schema::Column a = ColumnOf("A", Varchar(10), 1);
    a.notNull = true;
    a.description = "code";
    AddTable(neu, TableOf("T", {ColumnOf("ID", Integer(), 0), a}));
}

// Each change as the report's rows: "TYPE name message".
inline Lines Rows(const std::vector<schema::Change>& changes)
{
    Lines rows;
    for (const auto& change : changes)
        for (const auto& message : change.Messages())
            rows.push_back(std::string(schema::KindName(change.kind)) + " " + change.name + " " + message);
    return rows;
}

// The plan's statements in order.
inline Lines Statements(const schema::Plan& plan)
{
    Lines statements;
    for (const auto& step : plan.steps)
        statements.push_back(step.sql);
    return statements;
}

// The objects the plan's steps name, in order.
inline Lines Objects(const schema::Plan& plan)
{
    Lines objects;
    for (const auto& step : plan.steps)
        objects.push_back(step.object.Text());
    return objects;
}

// The plan Old needs to become New, Old-only objects dropped where drop is set.
inline schema::Plan PlanOf(const schema::Schema& old, const schema::Schema& neu, bool drop = false,
                           const schema::PlanOptions& options = {})
{
    return schema::MakePlan(old, neu, schema::ChangesToMake(schema::Diff(old, neu), drop), options);
}

// The script's lines, without the empty one after its last line break.
inline Lines ScriptLines(const schema::Plan& plan)
{
    const std::string text = schema::ScriptText(plan);
    Lines lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
        lines.push_back(text.substr(from, at - from));
    if (from < text.size())
        lines.push_back(text.substr(from));
    return lines;
}

// The message of the DdlError that fn throws; "no error" when it throws none.
template <typename Fn>
std::string ErrorOf(Fn fn)
{
    try {
        fn();
    } catch (const schema::DdlError& error) {
        return error.what();
    }
    return "no error";
}

}
