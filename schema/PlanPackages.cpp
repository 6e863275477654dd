// Packages: the header with the stubs, the body with the routines' bodies.
#include "schema/Planner.h"

namespace schema::planning {

void Planner::CreatePackages()
{
    Each(ObjectKind::Package, [&](const Change& c) {
        const Package& p = c.To<Package>();
        Add(Stubs, c, ddl_.CreatePackage(p), true);
        if (!p.bodySource.empty())
            Add(Bodies, c, ddl_.CreatePackageBody(p), true);
        RoutineComments(c, false);
    });
}

// Comments on the packaged routines: all of New's where the routines are made again, else
// the ones that differ, a removed one as NULL.
void Planner::RoutineComments(const Change& c, bool onlyChanged)
{
    const Package& p = c.To<Package>();
    // A body taken out and made again has had every routine comment given back.
    if (taken_.count(p.name) && !Altering(ObjectKind::Package, p.name))
        return;
    if (!onlyChanged) {
        for (const auto& [key, description] : p.routineComments)
            Comment(c.Object(), ddl_.PackagedPhrase(p.name, key), description);
        return;
    }
    for (const auto& change : c.properties)
        if (change.property == Property::ParameterComment)
            Comment(c.Object(), ddl_.PackagedPhrase(p.name, change.parameter), change.newValue, true);
}

void Planner::AlterPackage(const Change& c)
{
    const Package& p = c.To<Package>();
    // SQL SECURITY is the header's.
    const bool header = c.Has(Property::Header) || c.Has(Property::SqlSecurity);
    if (header)
        Add(Stubs, c, ddl_.AlterPackage(p), true);
    // A new header drops the body, which must then be made again even where it is the same.
    if ((header || c.Has(Property::Body)) && !p.bodySource.empty())
        Add(Bodies, c, ddl_.RecreatePackageBody(p), true);
    // A package New keeps without a body: the header stays, Old's body goes.
    else if (c.Has(Property::Body) && !header)
        Add(Bodies, c, ddl_.DropPackageBody(p));
    // Its procedures' outputs get new implicit domains with the new body, which a view on a view
    // on one of them would not take, as for a procedure of its own.
    if (!header && c.Has(Property::Body) && !p.bodySource.empty()) {
        std::set<std::string> procedures;
        for (const auto& d : old_.dependencies)
            if (d.package == p.name && d.dependedOnType == 5)
                procedures.insert(d.dependedOn);
        for (const auto& procedure : procedures)
            if (OnViewsOnViews(procedure, p.name))
                TakeOutDependents(procedure, p.name);
    }
    RoutineComments(c, !header && !c.Has(Property::Body));
    AlteredComment(c);
}

}
