// Triggers, roles, grants, the kinds the model only names, and how objects use each other.
#include "schema/InspectReader.h"
#include "db/Trim.h"

#include <algorithm>

namespace schema::inspect {
namespace {

constexpr const char* kTriggersSql =
    "SELECT RDB$TRIGGER_NAME AS TRIGGER_NAME, RDB$RELATION_NAME AS RELATION_NAME, RDB$TRIGGER_TYPE AS TTYPE, "
    "RDB$TRIGGER_SEQUENCE AS SEQ, RDB$TRIGGER_INACTIVE AS INACTIVE, "
    "RDB$TRIGGER_SOURCE AS SOURCE, {RDB$TRIGGERS.RDB$ENGINE_NAME}, "
    "{RDB$TRIGGERS.RDB$ENTRYPOINT}, {RDB$TRIGGERS.RDB$SQL_SECURITY}, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$TRIGGERS "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

constexpr const char* kRolesSql =
    "SELECT RDB$ROLE_NAME AS ROLE_NAME, {RDB$ROLES.RDB$SYSTEM_PRIVILEGES}, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$ROLES "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

constexpr const char* kGrantsSql =
    "SELECT RDB$USER AS GRANTEE, RDB$GRANTOR AS GRANTOR, RDB$PRIVILEGE AS PRIVILEGE, RDB$GRANT_OPTION AS GRANT_OPTION, "
    "RDB$RELATION_NAME AS RELATION_NAME, RDB$FIELD_NAME AS FIELD_NAME, RDB$USER_TYPE AS USER_TYPE, "
    "RDB$OBJECT_TYPE AS OBJECT_TYPE FROM RDB$USER_PRIVILEGES "
    "WHERE RDB$GRANTOR IS NULL OR RDB$USER <> RDB$GRANTOR OR RDB$USER_TYPE <> 8";

constexpr const char* kFiltersSql = "SELECT RDB$FUNCTION_NAME AS FUNCTION_NAME FROM RDB$FILTERS";

constexpr const char* kMappingsSql =
    "SELECT RDB$MAP_NAME AS MAP_NAME FROM RDB$AUTH_MAPPING WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

constexpr const char* kDependenciesSql =
    "SELECT RDB$DEPENDENT_NAME AS DEPENDENT_NAME, RDB$DEPENDED_ON_NAME AS DEPENDED_ON_NAME, "
    "RDB$DEPENDENT_TYPE AS DEPENDENT_TYPE, RDB$DEPENDED_ON_TYPE AS DEPENDED_ON_TYPE, RDB$FIELD_NAME AS FIELD_NAME, "
    "{RDB$DEPENDENCIES.RDB$PACKAGE_NAME} FROM RDB$DEPENDENCIES";

// A grant on an object the schema holds; others are on system objects or on what it only names.
bool Known(const Schema& schema, const Grant& g)
{
    switch (g.objectType) {
    case 0: return schema.relations.count(g.object) > 0;
    case 5: return schema.procedures.count(g.object) > 0;
    case 15: return schema.functions.count(g.object) > 0 || schema.externalFunctions.count(g.object) > 0;
    case 18: return schema.packages.count(g.object) > 0;
    case 14: return schema.generators.count(g.object) > 0;
    case 7: return schema.exceptions.count(g.object) > 0;
    case 13: return schema.roles.count(g.object) > 0;
    case 9: return schema.domains.count(g.object) > 0;
    case 17: return schema.collations.count(g.object) > 0;
    default: return !DdlPrivilege(g).empty();
    }
}

}

void ReadTriggers(Reader& r, const Catalog& catalog, Schema& schema)
{
    r.Each(kTriggersSql, [&](Query& q) {
        Trigger t;
        t.name = q.AsTrimmed("TRIGGER_NAME");
        if (catalog.checkTriggers.count(t.name))
            return;
        t.relation = q.AsTrimmed("RELATION_NAME");
        t.type = q.AsInteger("TTYPE");
        t.position = Int(q, "SEQ");
        t.inactive = Int(q, "INACTIVE") == 1;
        t.source = q.AsTrimmed("SOURCE");
        t.engine = Trim(q.AsTrimmed("ENGINE_NAME"));
        t.entryPoint = q.AsTrimmed("ENTRYPOINT");
        t.description = q.AsTrimmed("DESCRIPTION");
        t.sqlSecurity = OptionalFlag(q, "SQL_SECURITY");
        schema.triggers[t.name] = t;
    });
}

// Object types as Firebird 3 numbers them. Firebird 4 put its privilege object at 20, so every
// code from 20 up is one higher there (the database 21, SQL$TABLES' kind 22); that privilege
// object gets a code of its own here.
int ObjectTypeOf(int code, int odsMajor)
{
    if (odsMajor < 13 || code < 20)
        return code;
    return code == 20 ? kPrivilegeObjectType : code - 1;
}

void ReadKeywords(Reader& r, Schema& schema)
{
    if (!r.Has("RDB$KEYWORDS", "RDB$KEYWORD_RESERVED"))
        return;
    r.Each("SELECT RDB$KEYWORD_NAME AS WORD FROM RDB$KEYWORDS WHERE RDB$KEYWORD_RESERVED",
           [&](Query& q) { schema.reservedWords.insert(q.AsTrimmed("WORD")); });
}

void ReadRolesAndGrants(Reader& r, Schema& schema)
{
    r.Each(kRolesSql, [&](Query& q) {
        Role role;
        role.name = q.AsTrimmed("ROLE_NAME");
        role.description = q.AsTrimmed("DESCRIPTION");
        if (!q.IsNull("SYSTEM_PRIVILEGES"))
            role.systemPrivileges = SystemPrivileges(q.AsString("SYSTEM_PRIVILEGES"));
        schema.roles[role.name] = role;
    });
    r.Each(kGrantsSql, [&](Query& q) {
        Grant g;
        g.user = q.AsTrimmed("GRANTEE");
        g.privilege = q.AsTrimmed("PRIVILEGE");
        g.object = q.AsTrimmed("RELATION_NAME");
        g.objectType = ObjectTypeOf(Int(q, "OBJECT_TYPE"), schema.odsMajor);
        g.userType = ObjectTypeOf(Int(q, "USER_TYPE"), schema.odsMajor);
        g.field = q.AsTrimmed("FIELD_NAME");
        g.grantOption = Int(q, "GRANT_OPTION");
        // What an owner holds on its own objects comes with creating them.
        if (g.user == q.AsTrimmed("GRANTOR") && g.userType == 8)
            return;
        if (Known(schema, g))
            schema.grants[g.Key()] = g;
    });
}

// Kinds a database can hold that the model does not: they are named so that nobody takes
// their absence from a repair for agreement.
void ReadUnknownKinds(Reader& r, Schema& schema)
{
    r.Each(kFiltersSql,
           [&](Query& q) { schema.unknown.push_back({ObjectKind::BlobFilter, q.AsTrimmed("FUNCTION_NAME")}); });
    if (r.Has("RDB$AUTH_MAPPING", "RDB$MAP_NAME"))
        r.Each(kMappingsSql, [&](Query& q) { schema.unknown.push_back({ObjectKind::Mapping, q.AsTrimmed("MAP_NAME")}); });
    std::sort(schema.unknown.begin(), schema.unknown.end());
}

void ReadDependencies(Reader& r, Schema& schema)
{
    r.Each(kDependenciesSql, [&](Query& q) {
        schema.dependencies.push_back({q.AsTrimmed("DEPENDENT_NAME"), ObjectTypeOf(Int(q, "DEPENDENT_TYPE"), schema.odsMajor),
                                       q.AsTrimmed("DEPENDED_ON_NAME"),
                                       ObjectTypeOf(Int(q, "DEPENDED_ON_TYPE"), schema.odsMajor),
                                       q.AsTrimmed("FIELD_NAME"), q.AsTrimmed("PACKAGE_NAME")});
    });
}

}
