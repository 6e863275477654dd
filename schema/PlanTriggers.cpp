// Triggers: made after everything they may name; changed in place where the server can.
#include "schema/Planner.h"

namespace schema::planning {

void Planner::CreateTriggers()
{
    Each(ObjectKind::Trigger, [&](const Change& c) { Add(Triggers, c, ddl_.CreateTrigger(c.To<Trigger>()), true); });
}

void Planner::AlterTrigger(const Change& c)
{
    const Trigger& t = c.To<Trigger>();
    const bool only = c.properties.size() == 1;
    // Taken out for a column it uses, it is made whole as New has it, with its comment.
    if (taken_.count(t.name)) {
        Add(Triggers, c, ddl_.CreateTrigger(t), true);
        return;
    }
    // The server changes no database or DDL trigger's firing in place ("Database trigger type
    // can't be changed"), nor a trigger's table.
    if (c.Has(Property::Table) || (c.Has(Property::Firing) && t.relation.empty())) {
        Add(DropTriggers, c, ddl_.Drop(ObjectKind::Trigger, t.name));
        Add(Triggers, c, ddl_.CreateTrigger(t), true);
    } else if (only && c.Has(Property::State)) {
        Add(Triggers, c, ddl_.AlterTriggerState(t));
    } else if (!(only && c.Has(Property::Comment))) {
        Add(Triggers, c, ddl_.CreateOrAlterTrigger(t), true);
    }
    AlteredComment(c);
}

}
