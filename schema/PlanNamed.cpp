// Collations, roles, generators and exceptions: each stands alone and is known by its name.
#include "schema/Planner.h"

namespace schema::planning {

void Planner::CreateNamed()
{
    Each(ObjectKind::Collation, [&](const Change& c) { Add(Collations, c, ddl_.CreateCollation(c.To<Collation>())); });
    Each(ObjectKind::Role, [&](const Change& c) { Add(Roles, c, ddl_.CreateRole(c.To<Role>())); });
    Each(ObjectKind::Generator, [&](const Change& c) { Add(Generators, c, ddl_.CreateGenerator(c.To<Generator>())); });
    Each(ObjectKind::Exception, [&](const Change& c) { Add(Exceptions, c, ddl_.CreateException(c.To<Exception>())); });
}

void Planner::AlterNamed()
{
    EachAltered(ObjectKind::Generator, [&](const Change& c) {
        const Generator& g = c.To<Generator>();
        if (c.Has(Property::InitialValue))
            Add(Generators, c, ddl_.RestartSequence(g));
        if (c.Has(Property::Increment))
            Add(Generators, c, ddl_.AlterSequenceIncrement(g));
        AlteredComment(c);
    });
    EachAltered(ObjectKind::Exception, [&](const Change& c) {
        if (c.Has(Property::Message))
            Add(Exceptions, c, ddl_.AlterException(c.To<Exception>()));
        AlteredComment(c);
    });
    for (const ObjectKind kind : {ObjectKind::Collation, ObjectKind::Role})
        EachAltered(kind, [&](const Change& c) {
            if (c.Has(Property::Definition))
                NotMended(c, "a collation cannot be changed in place");
            AlteredComment(c);
        });
}

}
