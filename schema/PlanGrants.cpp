// Grants: given last, once everything they name exists; a changed grant option is given or revoked.
#include "schema/Planner.h"

namespace schema::planning {

void Planner::CreateGrants()
{
    Each(ObjectKind::Grant, [&](const Change& c) { Add(Grants, c, ddl_.GrantText(c.To<Grant>())); });
}

void Planner::AlterGrant(const Change& c)
{
    const Grant& g = c.To<Grant>();
    Add(Grants, c, g.grantOption ? ddl_.GrantText(g) : ddl_.RevokeGrantOption(g));
}

bool Planner::GrantGoes(const Grant& g) const
{
    static const std::map<int, ObjectKind> objects{
        {0, ObjectKind::Table},   {5, ObjectKind::Procedure},  {15, ObjectKind::Function}, {18, ObjectKind::Package},
        {14, ObjectKind::Generator}, {7, ObjectKind::Exception}, {13, ObjectKind::Role}};
    auto object = objects.find(g.objectType);
    if (object != objects.end() &&
        (Dropping(object->second, g.object) || (g.objectType == 0 && Dropping(ObjectKind::View, g.object))))
        return true;
    static const std::map<int, ObjectKind> holders{{5, ObjectKind::Procedure}, {2, ObjectKind::Trigger},
                                                   {1, ObjectKind::View},      {15, ObjectKind::Function},
                                                   {18, ObjectKind::Package},  {13, ObjectKind::Role}};
    auto holder = holders.find(g.userType);
    return holder != holders.end() && Dropping(holder->second, g.user);
}

}
