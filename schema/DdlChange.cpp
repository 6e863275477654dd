// The statements that change, drop and comment on what exists, and the review's definitions.
#include "schema/Ddl.h"

namespace schema {
namespace {

template <typename... Fn>
struct Overloaded : Fn... {
    using Fn::operator()...;
};
template <typename... Fn>
Overloaded(Fn...) -> Overloaded<Fn...>;

}

std::string Ddl::PlainType(const Type& type) const
{
    Type plain = type;
    plain.collation.clear();
    return TypeText(plain);
}

std::string Ddl::Comment(const std::string& what, const std::string& description) const
{
    return "COMMENT ON " + what + " IS " + (description.empty() ? std::string("NULL") : Literal(description));
}

std::string Ddl::ObjectPhrase(ObjectKind kind, const std::string& name) const
{
    if (kind == ObjectKind::Database)
        return "DATABASE";
    return (kind == ObjectKind::Generator ? std::string("SEQUENCE") : std::string(KindName(kind))) + " " + Name(name);
}

std::string Ddl::ColumnPhrase(const std::string& table, const std::string& column) const
{
    return "COLUMN " + Name(table) + "." + Name(column);
}

std::string Ddl::ParameterPhrase(ObjectKind routine, const std::string& name, const std::string& parameter) const
{
    return std::string(KindName(routine)) + " PARAMETER " + Name(name) + "." + Name(parameter);
}

std::string Ddl::PackagedPhrase(const std::string& package, const std::string& key) const
{
    const auto space = key.find(' ');
    const std::string kind = key.substr(0, space), routine = key.substr(space + 1);
    const auto dot = routine.find('.');
    if (dot == std::string::npos)
        return kind + " " + Name(package) + "." + Name(routine);
    return kind + " PARAMETER " + Name(package) + "." + Name(routine.substr(0, dot)) + "." + Name(routine.substr(dot + 1));
}

std::string Ddl::RestartSequence(const Generator& g) const
{
    return "ALTER SEQUENCE " + Name(g.name) + " RESTART WITH " + std::to_string(g.initialValue);
}

std::string Ddl::AlterSequenceIncrement(const Generator& g) const
{
    return "ALTER SEQUENCE " + Name(g.name) + " INCREMENT BY " + std::to_string(g.increment);
}

std::string Ddl::AlterException(const Exception& e) const
{
    return "ALTER EXCEPTION " + Name(e.name) + " " + Literal(e.message);
}

std::string Ddl::AlterDomainType(const Domain& d) const
{
    return "ALTER DOMAIN " + Name(d.name) + " TYPE " + PlainType(d.type);
}

std::string Ddl::AlterDomainDefault(const Domain& d) const
{
    return "ALTER DOMAIN " + Name(d.name) + (d.defaultSource.empty() ? " DROP DEFAULT" : " SET " + Source(d.defaultSource));
}

std::string Ddl::AlterDomainNullability(const Domain& d) const
{
    return "ALTER DOMAIN " + Name(d.name) + (d.notNull ? " SET NOT NULL" : " DROP NOT NULL");
}

std::string Ddl::DropDomainCheck(const Domain& d) const
{
    return "ALTER DOMAIN " + Name(d.name) + " DROP CONSTRAINT";
}

std::string Ddl::AlterColumnType(const std::string& table, const Column& column) const
{
    return "ALTER TABLE " + Name(table) + " ALTER " + Name(column.name) + " TYPE " +
           (column.domain.empty() ? PlainType(column.type) : Name(column.domain));
}

std::string Ddl::AlterColumnDefault(const std::string& table, const Column& column) const
{
    return "ALTER TABLE " + Name(table) + " ALTER " + Name(column.name) +
           (column.defaultSource.empty() ? " DROP DEFAULT" : " SET " + Source(column.defaultSource));
}

std::string Ddl::AlterColumnNullability(const std::string& table, const Column& column) const
{
    return "ALTER TABLE " + Name(table) + " ALTER " + Name(column.name) +
           (column.notNull ? " SET NOT NULL" : " DROP NOT NULL");
}

std::string Ddl::RestartIdentity(const std::string& table, const Column& column) const
{
    return "ALTER TABLE " + Name(table) + " ALTER " + Name(column.name) + " RESTART WITH " +
           std::to_string(column.identityStart);
}

std::string Ddl::AlterIdentityIncrement(const std::string& table, const Column& column) const
{
    return "ALTER TABLE " + Name(table) + " ALTER " + Name(column.name) + " SET INCREMENT BY " +
           std::to_string(column.identityIncrement);
}

std::string Ddl::RenameColumn(const std::string& table, const std::string& column, const std::string& to) const
{
    return "ALTER TABLE " + Name(table) + " ALTER " + Name(column) + " TO " + Name(to);
}

std::string Ddl::CopyColumn(const std::string& table, const Column& from, const std::string& to) const
{
    const std::string type = from.domain.empty() ? PlainType(from.type) : Name(from.domain);
    return "UPDATE " + Name(table) + " SET " + Name(to) + " = CAST(" + Name(from.name) + " AS " + type + ")";
}

std::string Ddl::AlterPackage(const Package& p) const
{
    return "ALTER PACKAGE " + Name(p.name) + Security(p.sqlSecurity) + "\nAS\n" + p.headerSource;
}

std::string Ddl::RecreatePackageBody(const Package& p) const
{
    return "RECREATE PACKAGE BODY " + Name(p.name) + "\nAS\n" + p.bodySource;
}

std::string Ddl::DropPackageBody(const Package& p) const
{
    return "DROP PACKAGE BODY " + Name(p.name);
}

std::string Ddl::CreateOrAlterView(const Relation& view) const
{
    return "CREATE OR ALTER" + CreateView(view).substr(6);
}

std::string Ddl::CreateOrAlterTrigger(const Trigger& t) const
{
    return "CREATE OR ALTER" + CreateTrigger(t).substr(6);
}

std::string Ddl::AlterIndexState(const Index& ix) const
{
    return "ALTER INDEX " + Name(ix.name) + (ix.inactive ? " INACTIVE" : " ACTIVE");
}

std::string Ddl::AlterTriggerState(const Trigger& t) const
{
    return "ALTER TRIGGER " + Name(t.name) + (t.inactive ? " INACTIVE" : " ACTIVE");
}

std::string Ddl::Drop(ObjectKind kind, const std::string& name) const
{
    return "DROP " + ObjectPhrase(kind, name);
}

std::string Ddl::DropColumn(const std::string& table, const std::string& column) const
{
    return "ALTER TABLE " + Name(table) + " DROP " + Name(column);
}

std::string Ddl::DropConstraint(const std::string& table, const std::string& name) const
{
    return "ALTER TABLE " + Name(table) + " DROP CONSTRAINT " + Name(name);
}

std::string Ddl::Revoke(const Grant& g) const
{
    return "REVOKE " + Granted(g) + " FROM " + Grantee(g);
}

std::string Ddl::RevokeGrantOption(const Grant& g) const
{
    return (g.privilege == "M" ? "REVOKE ADMIN OPTION FOR " : "REVOKE GRANT OPTION FOR ") + Granted(g) + " FROM " +
           Grantee(g);
}

std::string Ddl::Definition(ObjectKind kind, const ObjectRef& object) const
{
    try {
        return std::visit(
            Overloaded{
                [](std::monostate) { return std::string(); },
                [&](const Database* d) {
                    return AlterDefaultCharset(d->defaultCharset) + ";\n" + AlterLinger(d->linger);
                },
                [&](const CharacterSet* c) { return AlterDefaultCollation(*c); },
                [&](const Collation* c) { return CreateCollation(*c); },
                [&](const Role* r) { return CreateRole(*r); },
                [&](const Generator* g) { return CreateGenerator(*g); },
                [&](const Exception* e) { return CreateException(*e); },
                [&](const Domain* d) {
                    return CreateDomain(*d) + (d->validationSource.empty() ? "" : "\n" + d->validationSource);
                },
                [&](const Relation* r) {
                    if (kind == ObjectKind::View)
                        return CreateView(*r);
                    std::string text = CreateTable(*r);
                    for (const auto& column : r->columns)
                        if (!column.computedSource.empty())
                            text += ";\n" + AlterComputed(r->name, column);
                    return text;
                },
                [&](const Column* c) { return ColumnDefinition(*c, false); },
                [&](const ExternalFunction* f) { return DeclareExternalFunction(*f); },
                [&](const Package* p) {
                    return CreatePackage(*p) + (p->bodySource.empty() ? "" : "\n\n" + CreatePackageBody(*p));
                },
                [&](const Procedure* p) { return ProcedureBody(*p); },
                [&](const Function* f) { return FunctionBody(*f); },
                [&](const Constraint* c) { return AddConstraint(*c); },
                [&](const Index* ix) { return CreateIndex(*ix); },
                [&](const Trigger* t) { return CreateTrigger(*t); },
                [&](const Grant* g) { return GrantText(*g); },
            },
            object);
    } catch (const DdlError& error) {
        return std::string("/* ") + error.what() + " */";
    }
}

}
