// Comments: those of what is created, and those that differ, parameters' included.
#include "schema/Planner.h"

#include <algorithm>

namespace schema::planning {
namespace {

// The comment of the object a change points to on New's side; none for kinds without one.
const std::string* DescriptionOf(const ObjectRef& object)
{
    return std::visit(
        [](const auto& p) -> const std::string* {
            if constexpr (requires { p->description; })
                return &p->description;
            return nullptr;
        },
        object);
}

std::vector<const Parameter*> ParametersOf(const ObjectRef& object)
{
    std::vector<const Parameter*> params;
    if (auto* p = std::get_if<const Procedure*>(&object)) {
        for (const auto& param : (*p)->inputs)
            params.push_back(&param);
        for (const auto& param : (*p)->outputs)
            params.push_back(&param);
    } else if (auto* f = std::get_if<const Function*>(&object)) {
        for (const auto& param : (*f)->arguments)
            params.push_back(&param);
    }
    return params;
}

}

void Planner::Comment(const ObjectId& object, const std::string& what, const std::string& description, bool evenEmpty)
{
    if (description.empty() && !evenEmpty)
        return;
    Add(Comments, object, ddl_.Comment(what, description));
}

void Planner::CreatedComments()
{
    for (const ObjectKind kind : {ObjectKind::Collation, ObjectKind::Role, ObjectKind::Generator, ObjectKind::Exception,
                                  ObjectKind::Domain, ObjectKind::Table, ObjectKind::View, ObjectKind::ExternalFunction,
                                  ObjectKind::Package, ObjectKind::Procedure, ObjectKind::Function, ObjectKind::Index,
                                  ObjectKind::Trigger})
        Each(kind, [&](const Change& c) {
            if (const std::string* description = DescriptionOf(c.to))
                Comment(c.Object(), ddl_.ObjectPhrase(c.kind, c.key), *description);
            if (c.kind == ObjectKind::Table || c.kind == ObjectKind::View)
                for (const auto& column : c.To<Relation>().columns)
                    Comment({ObjectKind::Field, c.key + "." + column.name}, ddl_.ColumnPhrase(c.key, column.name),
                            column.description);
            ParameterComments(c, false);
        });
    Each(ObjectKind::Field, [&](const Change& c) {
        Comment(c.Object(), ddl_.ColumnPhrase(c.table, c.key), c.To<Column>().description);
    });
}

void Planner::ParameterComments(const Change& c, bool onlyChanged)
{
    for (const Parameter* p : ParametersOf(c.to)) {
        if (onlyChanged && std::none_of(c.properties.begin(), c.properties.end(), [&](const PropertyChange& pc) {
                return pc.property == Property::ParameterComment && pc.parameter == p->name;
            }))
            continue;
        Comment(c.Object(), ddl_.ParameterPhrase(c.kind, c.key, p->name), p->description, onlyChanged);
    }
}

void Planner::AlteredComment(const Change& c)
{
    if (!c.Has(Property::Comment))
        return;
    const std::string* description = DescriptionOf(c.to);
    if (!description)
        return;
    const std::string what =
        c.kind == ObjectKind::Field ? ddl_.ColumnPhrase(c.table, c.key) : ddl_.ObjectPhrase(c.kind, c.key);
    Comment(c.Object(), what, *description, true);
}

}
