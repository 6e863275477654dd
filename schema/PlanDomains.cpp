// Domains: created without their CHECK, which waits for what it may name; changed in place.
#include "schema/Planner.h"
#include "schema/TypeChange.h"

namespace schema::planning {

void Planner::CreateDomains()
{
    Each(ObjectKind::Domain, [&](const Change& c) {
        const Domain& d = c.To<Domain>();
        CheckTypeFits(d.type, "Domain " + d.name);
        Add(Domains, c, ddl_.CreateDomain(d));
        if (!d.validationSource.empty())
            Add(Checks, c, ddl_.AddDomainCheck(d));
    });
}

void Planner::AlterDomain(const Change& c)
{
    const Domain& d = c.To<Domain>();
    if (c.Has(Property::Type)) {
        const Type& from = c.From<Domain>().type;
        schema::NotMended item;
        item.from = ddl_.PlainType(from);
        item.to = ddl_.PlainType(d.type);
        if (ClassifyTypeChange(from, d.type, old_.database.defaultCharset).route != TypeRoute::InPlace)
            NotMended(c, "the server does not change a domain from " + ddl_.PlainType(from) + " to " +
                             ddl_.PlainType(d.type) + " in place", item);
        else if (options_.notInPlace.count(c.name))
            NotMended(c, "the rows of its columns do not fit " + ddl_.PlainType(d.type), item);
        // ALTER DOMAIN ... TYPE takes no COLLATE, and leaves the domain with its character set's
        // default collation.
        else if (!d.type.collation.empty())
            NotMended(c, "the server drops a domain's collation (" + d.type.collation + ") when it changes its type");
        else {
            CheckTypeFits(d.type, "Domain " + d.name);
            Add(Domains, c, ddl_.AlterDomainType(d));
            for (const auto& [table, column] : ColumnsOfDomain(old_, d.name))
                RemakeKeysOn(table, column->name);
        }
    }
    if (c.Has(Property::Default))
        Add(Domains, c, ddl_.AlterDomainDefault(d));
    if (c.Has(Property::Nullability))
        Add(Domains, c, ddl_.AlterDomainNullability(d));
    if (c.Has(Property::Check)) {
        if (!c.From<Domain>().validationSource.empty())
            Add(DropConstraints, c, ddl_.DropDomainCheck(d));
        if (!d.validationSource.empty())
            Add(Checks, c, ddl_.AddDomainCheck(d));
    }
    if (c.Has(Property::Collation))
        NotMended(c, "the server cannot change a domain's collation in place");
    AlteredComment(c);
}

}
