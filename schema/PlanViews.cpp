// Views: made after everything they may select from, each after the views it uses.
#include "schema/Planner.h"

namespace schema::planning {

void Planner::CreateViews()
{
    std::vector<std::string> views;
    Each(ObjectKind::View, [&](const Change& c) { views.push_back(c.key); });
    for (const auto& name : OrderedByUse(views, neu_, false))
        Add(Views, {ObjectKind::View, name}, ddl_.CreateView(neu_.relations.at(name)));
}

void Planner::AlterView(const Change& c)
{
    if (c.Has(Property::RelationKind))
        NotMended(c, "a table cannot change its kind or file in place");
    if ((c.Has(Property::Columns) || c.Has(Property::Source)) && !replacedViews_.count(c.key))
        Add(Views, c, ddl_.CreateOrAlterView(c.To<Relation>()));
    AlteredComment(c);
}

}
