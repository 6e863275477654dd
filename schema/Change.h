// A change found by the diff: what happens to one object, which of its properties differ, and
// the model objects themselves on each side.
#pragma once
#include "schema/Model.h"

#include <string>
#include <variant>
#include <vector>

namespace schema {

enum class Action { Create, OnlyInOld, Alter };

// What of an object can differ. Each has the name the report shows (PropertyName).
enum class Property {
    None,
    Definition,
    Comment,
    ParameterComment,  // the comment of one parameter, named by PropertyChange::parameter
    InitialValue,
    Increment,
    Message,
    Type,
    Default,
    Nullability,
    Check,
    Collation,
    RelationKind,
    Columns,
    Source,
    ExternalFile,
    ColumnOrder,
    CheckOrder,
    Computed,
    Identity,
    Declaration,
    Header,
    Body,
    Parameters,
    Returns,
    Deterministic,
    External,
    State,
    Table,
    Firing,
    Position,
    GrantOption,
    DefaultCharset,
    Linger,
    DefaultCollation,
    SqlSecurity,
    SystemPrivileges,
    Publication,
    NotCompared,
};

// "default", "column order", "comment of P"; empty for None.
std::string PropertyName(Property property, const std::string& parameter = {});

// One property that differs, with both values as the report shows them, old first.
struct PropertyChange {
    Property property = Property::None;
    std::string parameter;  // for ParameterComment
    std::string oldValue;
    std::string newValue;
    std::string Name() const { return PropertyName(property, parameter); }
    // "different: default 1 -> 2", or "different: source" for texts of several lines.
    std::string Message() const;
    bool operator==(const PropertyChange&) const = default;
};

// The model object a change is about, on one side; none where that side lacks it.
using ObjectRef = std::variant<std::monostate, const Database*, const CharacterSet*, const Collation*, const Role*, const Generator*, const Exception*,
                               const Domain*, const Relation*, const Column*, const ExternalFunction*,
                               const Package*, const Procedure*, const Function*, const Constraint*, const Index*,
                               const Trigger*, const Grant*>;

inline constexpr const char* kMissingMessage = "not exist";
inline constexpr const char* kLeftCopyMessage = "left by an interrupted data migration: dropped";
inline constexpr const char* kOnlyInOldMessage = "only in Old";

struct Change {
    Action action = Action::Create;
    ObjectKind kind = ObjectKind::Table;
    std::string name;   // as the report shows it
    std::string key;    // the object's key in New's Schema map (in Old's for an Old-only object)
    std::string table;  // the table or view of a field
    // For Alter: the object's key in Old's map when it differs from New's (a CHECK the server named).
    std::string oldKey;
    // For Alter: the properties that differ, in the order the report lists them.
    std::vector<PropertyChange> properties;
    ObjectRef from;  // Old's object
    ObjectRef to;    // New's object

    ObjectId Object() const { return {kind, name}; }
    bool Has(Property property) const;
    // The report's message for a change that is not an Alter: "not exist", "only in Old".
    std::string Message() const;
    // A copy column of a data migration that was interrupted: always dropped, --drop or not;
    // the column it copied still holds the values.
    bool LeftCopy() const;
    // The report's rows: one for a missing or an Old-only object, one per property that differs.
    std::vector<std::string> Messages() const;

    template <typename T>
    const T& From() const { return *std::get<const T*>(from); }
    template <typename T>
    const T& To() const { return *std::get<const T*>(to); }
};

}
