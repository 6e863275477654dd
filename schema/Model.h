// The whole catalog as plain values: one type per kind of object, compared with ==.
#pragma once
#include <compare>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace schema {

// The kinds of object the complete comparison reports, in the order the report lists them.
// Blob filters and mappings are named, never compared.
enum class ObjectKind {
    Database,
    CharacterSet,
    Collation,
    Role,
    Generator,
    Exception,
    Domain,
    Table,
    View,
    Field,
    ExternalFunction,
    Package,
    Procedure,
    Function,
    Constraint,
    Index,
    Trigger,
    Grant,
    BlobFilter,
    Mapping,
};

// The report's Type: "DOMAIN", "FIELD", "EXTERNAL FUNCTION", ...
const char* KindName(ObjectKind kind);

// An object as the report and the plan name it: its kind and its shown name.
struct ObjectId {
    ObjectKind kind = ObjectKind::Table;
    std::string name;
    std::string Text() const { return name.empty() ? KindName(kind) : std::string(KindName(kind)) + " " + name; }
    auto operator<=>(const ObjectId&) const = default;
};

// A data type as the catalog holds it. Text lengths count characters; the charset is
// named for text types only, the collation only where it is not the one named like the charset.
struct Type {
    int fieldType = 0;  // RDB$FIELD_TYPE
    int subType = 0;
    int charLength = 0;
    int precision = 0;
    int scale = 0;
    int segmentLength = 0;
    std::string charset;
    std::string collation;
    std::vector<std::pair<int, int>> dimensions;  // array bounds, lower and upper
    bool operator==(const Type&) const = default;
};

// What the database itself holds: the character set of text that names none, how long the
// engine lingers after the last detach, and its comment.
struct Database {
    std::string defaultCharset;
    int linger = 0;
    std::string description;
    std::optional<bool> sqlSecurity;  // the default for what names none (Firebird 4): true DEFINER
    bool publication = false;         // replication's publication enabled
    bool publishAll = false;          // tables made later join it (INCLUDE ALL)
    bool operator==(const Database&) const = default;
};

// A character set and the collation its text takes when it names none: the one named like
// the character set, unless ALTER CHARACTER SET chose another.
struct CharacterSet {
    std::string name;
    std::string defaultCollation;
    bool operator==(const CharacterSet&) const = default;
};

struct Collation {
    std::string name;
    std::string charset;
    std::string baseCollation;  // the collation it is made from, e.g. UNICODE
    int attributes = 0;         // 1 pad space, 2 case insensitive, 4 accent insensitive
    std::string specificAttributes;
    std::string description;
    bool operator==(const Collation&) const = default;
};

struct Generator {
    std::string name;
    long long initialValue = 0;
    int increment = 1;
    std::string description;
    bool operator==(const Generator&) const = default;
};

struct Exception {
    std::string name;
    std::string message;
    std::string description;
    bool operator==(const Exception&) const = default;
};

struct Domain {
    std::string name;
    Type type;
    std::string defaultSource;     // as stored: "DEFAULT 0"
    std::string validationSource;  // as stored: "CHECK (VALUE > 0)"
    bool notNull = false;
    std::string description;
    bool operator==(const Domain&) const = default;
};

struct Column {
    std::string name;
    int position = 0;
    std::string domain;  // a user domain; empty when the column has a type of its own
    Type type;           // the column's own type; for a domain column only its collation
    std::string defaultSource;
    bool notNull = false;
    std::string notNullConstraint;  // a NOT NULL constraint the user named
    std::string computedSource;     // "(a || b)" for a computed column
    std::optional<int> identityType;  // 0 ALWAYS, 1 BY DEFAULT
    long long identityStart = 0;
    int identityIncrement = 1;
    std::string description;
    bool operator==(const Column&) const = default;
};

enum class RelationKind { Table, View, GlobalTemporaryPreserve, GlobalTemporaryDelete, External };

struct Relation {
    std::string name;
    RelationKind kind = RelationKind::Table;
    std::string externalFile;
    std::string viewSource;  // the select after AS, WITH CHECK OPTION included
    std::vector<Column> columns;  // in position order
    std::string description;
    std::optional<bool> sqlSecurity;  // SQL SECURITY, Firebird 4: true DEFINER, false INVOKER
    bool published = false;           // in the replication's publication
    bool IsView() const { return kind == RelationKind::View; }
    const Column* FindColumn(const std::string& column) const;
    bool operator==(const Relation&) const = default;
};

enum class ConstraintKind { PrimaryKey, Unique, ForeignKey, Check };

struct Constraint {
    std::string name;  // empty when the server named it (INTEG_n)
    std::string table;
    ConstraintKind kind = ConstraintKind::PrimaryKey;
    std::vector<std::string> columns;
    std::string indexName;  // empty when the server named it (RDB$PRIMARYn, RDB$FOREIGNn, ...)
    bool descending = false;
    std::string refTable;
    std::vector<std::string> refColumns;
    std::string onUpdate = "RESTRICT";
    std::string onDelete = "RESTRICT";
    std::string checkSource;  // "CHECK (...)"
    // What the constraint is, for matching when the server named it.
    std::string Key() const;
    bool operator==(const Constraint&) const = default;
};

// An index that no constraint owns.
struct Index {
    std::string name;
    std::string table;
    std::vector<std::string> columns;
    std::string expressionSource;  // "COMPUTED BY (...)" indices keep their expression here
    std::string conditionSource;   // partial indices (Firebird 5)
    bool unique = false;
    bool descending = false;
    bool inactive = false;
    std::string description;
    bool operator==(const Index&) const = default;
};

enum class ParameterMechanism { Normal, TypeOf };

struct Parameter {
    std::string name;
    std::string domain;  // a user domain, written as its name or TYPE OF name
    ParameterMechanism mechanism = ParameterMechanism::Normal;
    std::string relationName;  // TYPE OF COLUMN relation.column
    std::string fieldName;
    Type type;
    bool notNull = false;
    std::string defaultSource;
    std::string description;
    bool operator==(const Parameter&) const = default;
};

struct Procedure {
    std::string name;
    std::vector<Parameter> inputs;
    std::vector<Parameter> outputs;
    bool selectable = false;
    std::string source;  // the body after AS
    std::string engine;  // external engine and entry point, for external routines
    std::string entryPoint;
    std::string description;
    std::optional<bool> sqlSecurity;
    bool operator==(const Procedure&) const = default;
};

struct Function {
    std::string name;
    std::vector<Parameter> arguments;
    Parameter returns;
    bool deterministic = false;
    std::string source;
    std::string engine;
    std::string entryPoint;
    std::string description;
    std::optional<bool> sqlSecurity;
    bool operator==(const Function&) const = default;
};

// A legacy external function (DECLARE EXTERNAL FUNCTION).
struct ExternalArgument {
    int mechanism = 1;  // 0 by value, 1 by reference, 2 by descriptor; negative: FREE_IT
    Type type;
    bool nullAllowed = false;
    bool operator==(const ExternalArgument&) const = default;
};

struct ExternalFunction {
    std::string name;
    std::string module;
    std::string entryPoint;
    int returnArgument = 0;  // 0: RETURNS the value; n: RETURNS PARAMETER n
    std::vector<ExternalArgument> arguments;  // position 1..n
    ExternalArgument returns;
    std::string description;
    bool operator==(const ExternalFunction&) const = default;
};

struct Package {
    std::string name;
    std::string headerSource;
    std::string bodySource;
    std::string description;
    // Comments on its procedures and functions and on their parameters, by "PROCEDURE P",
    // "FUNCTION F" and "PROCEDURE P.A"; only those that have one.
    std::map<std::string, std::string> routineComments;
    std::optional<bool> sqlSecurity;
    bool operator==(const Package&) const = default;
};

struct Trigger {
    std::string name;
    std::string relation;  // empty for database and DDL triggers
    long long type = 0;    // RDB$TRIGGER_TYPE
    int position = 0;
    bool inactive = false;
    std::string source;
    std::string engine;
    std::string entryPoint;
    std::string description;
    std::optional<bool> sqlSecurity;
    bool operator==(const Trigger&) const = default;
};

struct Role {
    std::string name;
    std::string description;
    std::vector<std::string> systemPrivileges;  // Firebird 4: "USER_MANAGEMENT", in the server's order
    bool operator==(const Role&) const = default;
};

// One row of RDB$USER_PRIVILEGES that the owner did not get by creating the object.
struct Grant {
    std::string user;
    int userType = 8;  // 8 user, 13 role, 5 procedure, 2 trigger, 15 function, 18 package, 1 view
    std::string privilege;  // S I U D R X (execute) U with a field, M (role membership), G (usage)
    std::string object;
    int objectType = 0;  // 0 relation, 5 procedure, 15 function, 18 package, 14 generator, 7 exception, 13 role
    std::string field;
    int grantOption = 0;  // 1 WITH GRANT OPTION / WITH ADMIN OPTION
    std::string Key() const;
    bool operator==(const Grant&) const = default;
};

// Comments on what has no object of its own here: parameters and routine arguments.
struct Dependency {
    std::string dependent;
    int dependentType = 0;
    std::string dependedOn;
    int dependedOnType = 0;
    std::string field;  // the column of dependedOn it uses, where it is one
    std::string package;  // the package of dependedOn, a packaged routine's
    bool operator==(const Dependency&) const = default;
};

struct Schema {
    int dialect = 3;
    int odsMajor = 12;
    Database database;
    std::map<std::string, CharacterSet> characterSets;  // every one the server knows
    std::map<std::string, Collation> collations;
    std::map<std::string, Generator> generators;
    std::map<std::string, Exception> exceptions;
    std::map<std::string, Domain> domains;
    std::map<std::string, ExternalFunction> externalFunctions;
    std::map<std::string, Relation> relations;
    std::map<std::string, Constraint> constraints;  // by Key()
    std::map<std::string, Index> indices;
    std::map<std::string, Procedure> procedures;
    std::map<std::string, Function> functions;
    std::map<std::string, Package> packages;
    std::map<std::string, Trigger> triggers;
    std::map<std::string, Role> roles;
    std::map<std::string, Grant> grants;  // by Key()
    // Objects of kinds the model does not hold: named, never compared.
    std::vector<ObjectId> unknown;
    // Not part of what is compared: how objects use each other, for ordering the plan.
    std::vector<Dependency> dependencies;
    // Constraint keys in the order the catalog holds them: the order they were made in,
    // which Firebird's own extract follows for CHECKs.
    std::vector<std::string> constraintOrder;
    // The names the catalog gives constraints, INTEG_n included, by key: what a drop must name.
    std::map<std::string, std::string> constraintNames;
    // Relations in the order they were made, which the extract follows for views.
    std::vector<std::string> relationOrder;
    // The words the server itself says need quotes (RDB$KEYWORDS, Firebird 5); empty elsewhere.
    std::set<std::string> reservedWords;

    // Equal catalogs; the dependencies and the header values follow from the objects.
    bool SameObjects(const Schema& other) const;
};

// Parts joined with a separator, as column lists are written.
std::string Joined(const std::vector<std::string>& parts, const char* separator = ", ");

// The family of a type: 0 numbers, 1 text, 2 dates and times, 3 boolean, 4 blobs. The server
// changes a type in place only within its family.
int TypeFamily(const Type& type);

// The name a --force data migration gives its copy column, "VK$COPY_1": reserved, so that a
// copy an interrupted migration left in Old is known for what it is.
inline constexpr const char* kCopyColumnPrefix = "VK$COPY_";
bool IsCopyColumn(const std::string& name);

// The table columns of a domain, as table and column.
std::vector<std::pair<std::string, const Column*>> ColumnsOfDomain(const Schema& schema, const std::string& domain);

// A column's own type, or its domain's.
Type ColumnType(const Column& column, const Schema& schema);

// "DEFINER", "INVOKER", or empty where none is set.
std::string SqlSecurityText(const std::optional<bool>& definer);

// The names of the system privileges set in RDB$ROLES.RDB$SYSTEM_PRIVILEGES, bit n for the nth.
std::vector<std::string> SystemPrivileges(const std::string& bits);

// A privilege to make, change or drop objects of a kind, "CREATE TABLE", "ALTER ANY VIEW";
// empty for a grant on one object.
std::string DdlPrivilege(const Grant& g);

// How the report names a constraint: its name, or for one the server named what it is, such
// as "T FOREIGN KEY (A) REFERENCES P"; and a grant, such as "SELECT ON T TO PUBLIC".
std::string ConstraintTitle(const Constraint& c);
std::string GrantTitle(const Grant& g);

// The server named it: INTEG_n constraints, RDB$ indices, domains and triggers.
bool IsGeneratedConstraintName(const std::string& name);
bool IsGeneratedIndexName(const std::string& name);

}
