// Statement text for each object of the model, in the SQL dialect of the database it is for:
// every CREATE, ALTER, DROP, REVOKE and COMMENT the plan runs, and the review's definitions.
#pragma once
#include "schema/Change.h"
#include "schema/Model.h"

#include <optional>
#include <set>
#include <stdexcept>
#include <string>

namespace schema {

// A model that no statement can express, for example a name that dialect 1 cannot write.
class DdlError : public std::runtime_error {
public:
    explicit DdlError(const std::string& message) : std::runtime_error(message) {}
};

class Ddl {
public:
    explicit Ddl(int dialect) : dialect_(dialect) {}
    int Dialect() const { return dialect_; }
    // Character sets whose default collation is not the one named like them: text of these
    // that names no collation is written with COLLATE and the character set's own name.
    void SetChosenDefaults(std::set<std::string> charsets) { chosenDefaults_ = std::move(charsets); }
    // Words the server reserves beside those every Firebird from 3 to 5 does (its RDB$KEYWORDS).
    void SetReserved(std::set<std::string> words) { reserved_ = std::move(words); }

    // A name as it must be written: quoted in dialect 3 when it is not upper case letters,
    // digits, _ and $ or when it is a reserved word; what refuses to be should throws.
    std::string Name(const std::string& name) const;
    static std::string Literal(const std::string& text);
    // A source text as a part of a statement: with a line break after it when its last line
    // ends in a "--" comment, which would take in whatever follows on that line.
    static std::string Source(const std::string& text);
    std::string TypeText(const Type& type) const;

    std::string CreateCollation(const Collation& c) const;
    std::string AlterDefaultCharset(const std::string& charset) const;
    std::string AlterLinger(int seconds) const;
    std::string AlterDefaultCollation(const CharacterSet& charset) const;
    // Firebird 4: SQL SECURITY, roles' system privileges and the replication publication.
    std::string AlterDatabaseSecurity(const std::optional<bool>& definer) const;
    std::string AlterTableSecurity(const Relation& table) const;
    std::string AlterRolePrivileges(const Role& role) const;
    std::string Publication(bool enabled) const;
    std::string PublishAll(bool all) const;
    std::string PublishTable(const std::string& table, bool included) const;
    std::string CreateGenerator(const Generator& g) const;
    std::string CreateException(const Exception& e) const;
    std::string CreateRole(const Role& r) const;
    // The CHECK is left to AddDomainCheck, after everything it may name exists.
    std::string CreateDomain(const Domain& d) const;
    std::string AddDomainCheck(const Domain& d) const;
    std::string DeclareExternalFunction(const ExternalFunction& f) const;
    // Computed columns are written COMPUTED BY (NULL) here and given their expression later.
    std::string CreateTable(const Relation& table) const;
    std::string AddColumn(const std::string& table, const Column& column) const;
    std::string AlterColumnPosition(const std::string& table, const Column& column) const;
    std::string AlterComputed(const std::string& table, const Column& column) const;
    // The computed column made to compute nothing, of its type, while a column it names is rebuilt.
    std::string ComputedPlaceholder(const std::string& table, const Column& column) const;
    std::string AddConstraint(const Constraint& c) const;
    std::string CreateIndex(const Index& ix) const;
    std::string CreateView(const Relation& view) const;
    // A stub has the real header and a body that does nothing; the real body follows later.
    std::string ProcedureStub(const Procedure& p) const;
    std::string ProcedureBody(const Procedure& p) const;
    std::string FunctionStub(const Function& f) const;
    std::string FunctionBody(const Function& f) const;
    std::string CreatePackage(const Package& p) const;
    std::string CreatePackageBody(const Package& p) const;
    std::string CreateTrigger(const Trigger& t) const;
    std::string GrantText(const Grant& g) const;
    // "COMMENT ON <what> IS '...'", or IS NULL for no description; what is the object's
    // phrase, such as "TABLE T" (ObjectPhrase, ColumnPhrase, ParameterPhrase).
    std::string Comment(const std::string& what, const std::string& description) const;
    std::string ObjectPhrase(ObjectKind kind, const std::string& name) const;
    std::string ColumnPhrase(const std::string& table, const std::string& column) const;
    std::string ParameterPhrase(ObjectKind routine, const std::string& name, const std::string& parameter) const;
    // A packaged routine or its parameter, by Package::routineComments' key: "PROCEDURE PK.P",
    // "PROCEDURE PARAMETER PK.P.A".
    std::string PackagedPhrase(const std::string& package, const std::string& key) const;

    // What changes an object in place.
    std::string RestartSequence(const Generator& g) const;
    std::string AlterSequenceIncrement(const Generator& g) const;
    std::string AlterException(const Exception& e) const;
    std::string AlterDomainType(const Domain& d) const;
    std::string AlterDomainDefault(const Domain& d) const;
    std::string AlterDomainNullability(const Domain& d) const;
    std::string DropDomainCheck(const Domain& d) const;
    // A column's type, its domain or its own type without the collation.
    std::string AlterColumnType(const std::string& table, const Column& column) const;
    std::string AlterColumnDefault(const std::string& table, const Column& column) const;
    std::string AlterColumnNullability(const std::string& table, const Column& column) const;
    std::string RestartIdentity(const std::string& table, const Column& column) const;
    // Firebird 4 and later.
    std::string AlterIdentityIncrement(const std::string& table, const Column& column) const;
    std::string RenameColumn(const std::string& table, const std::string& column, const std::string& to) const;
    std::string AlterPackage(const Package& p) const;
    std::string RecreatePackageBody(const Package& p) const;
    std::string DropPackageBody(const Package& p) const;
    std::string CreateOrAlterView(const Relation& view) const;
    std::string CreateOrAlterTrigger(const Trigger& t) const;
    std::string AlterIndexState(const Index& ix) const;
    std::string AlterTriggerState(const Trigger& t) const;
    // The values of a column cast into another of the same table.
    std::string CopyColumn(const std::string& table, const Column& from, const std::string& to) const;

    // What takes an object out: DROP of its kind, a column, a constraint, a privilege.
    std::string Drop(ObjectKind kind, const std::string& name) const;
    std::string DropColumn(const std::string& table, const std::string& column) const;
    std::string DropConstraint(const std::string& table, const std::string& name) const;
    std::string Revoke(const Grant& g) const;
    // REVOKE GRANT OPTION FOR, or ADMIN OPTION FOR a role membership.
    std::string RevokeGrantOption(const Grant& g) const;

    // The review's rendering of an object: the statements that would create it whole.
    std::string Definition(ObjectKind kind, const ObjectRef& object) const;

    std::string ColumnDefinition(const Column& column, bool placeholder) const;
    std::string ParameterText(const Parameter& p) const;
    // What a function returns, which has no name: "VARCHAR(10) NOT NULL COLLATE UNICODE".
    std::string ReturnsText(const Parameter& p) const;

    // A type without its collation, as ALTER ... TYPE and CAST take it.
    std::string PlainType(const Type& type) const;

private:
    // A grant's parts: "SELECT (C) ON T" or a role's name, and "USER U", "ROLE R", "PUBLIC".
    std::string Granted(const Grant& g) const;
    std::string Grantee(const Grant& g) const;
    std::string ProcedureHeader(const char* verb, const Procedure& p) const;
    std::string FunctionHeader(const char* verb, const Function& f) const;
    std::string ParameterType(const Parameter& p) const;
    // " COLLATE X" for a type that names a collation, or that takes its character set's own
    // where that is not the default; empty otherwise.
    std::string Collate(const Type& type) const;
    // " SQL SECURITY DEFINER" where one is set.
    static std::string Security(const std::optional<bool>& definer);
    // An array's bounds, "[3, 0:4]"; empty for other types.
    static std::string Dimensions(const Type& type);
    int dialect_;
    std::set<std::string> chosenDefaults_;
    std::set<std::string> reserved_;
};

// The trigger's firing phrase: "BEFORE INSERT OR UPDATE", "ON CONNECT", "AFTER CREATE TABLE".
std::string TriggerTypeText(long long type);

}
