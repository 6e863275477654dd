// Statement text for each object of the model, in the SQL dialect of the database it is for.
#pragma once
#include "schema/Model.h"

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

    // A name as it must be written: quoted in dialect 3 when it is not upper case letters,
    // digits, _ and $ or when it is a reserved word; what refuses to be should throws.
    std::string Name(const std::string& name) const;
    static std::string Literal(const std::string& text);
    std::string TypeText(const Type& type) const;

    std::string CreateCollation(const Collation& c) const;
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
    std::string AddConstraint(const Constraint& c) const;
    std::string CreateIndex(const Index& ix) const;
    std::string DeactivateIndex(const Index& ix) const;
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
    // "COMMENT ON <what> IS '...'"; what is the object's phrase, such as "TABLE T".
    std::string Comment(const std::string& what, const std::string& description) const;

    std::string ColumnDefinition(const Column& column, bool placeholder) const;
    std::string ParameterText(const Parameter& p) const;

private:
    std::string ProcedureHeader(const char* verb, const Procedure& p) const;
    std::string FunctionHeader(const char* verb, const Function& f) const;
    std::string ParameterType(const Parameter& p) const;
    int dialect_;
};

// The trigger's firing phrase: "BEFORE INSERT OR UPDATE", "ON CONNECT", "AFTER CREATE TABLE".
std::string TriggerTypeText(long long type);

}
