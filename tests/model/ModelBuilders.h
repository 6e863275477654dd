// Schemas built in code for the model tests: small builders that read like the DDL they stand for.
#pragma once
#include "schema/Change.h"
#include "schema/Diff.h"
#include "schema/Model.h"
#include "schema/Plan.h"

#include <string>
#include <vector>

namespace model {

inline schema::Type Integer()
{
    schema::Type t;
    t.fieldType = 8;
    return t;
}

inline schema::Type Varchar(int length, const std::string& charset = "NONE")
{
    schema::Type t;
    t.fieldType = 37;
    t.charLength = length;
    t.charset = charset;
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

// Each change as the report's rows: "TYPE name message".
inline std::vector<std::string> Rows(const std::vector<schema::Change>& changes)
{
    std::vector<std::string> rows;
    for (const auto& change : changes)
        for (const auto& message : change.Messages())
            rows.push_back(std::string(schema::KindName(change.kind)) + " " + change.name + " " + message);
    return rows;
}

// The plan's statements in order.
inline std::vector<std::string> Statements(const schema::Plan& plan)
{
    std::vector<std::string> statements;
    for (const auto& step : plan.steps)
        statements.push_back(step.sql);
    return statements;
}

// The plan Old needs to become New, Old-only objects dropped where drop is set.
inline schema::Plan PlanOf(const schema::Schema& old, const schema::Schema& neu, bool drop = false)
{
    return schema::MakePlan(old, neu, schema::ChangesToMake(schema::Diff(old, neu), drop));
}

}
