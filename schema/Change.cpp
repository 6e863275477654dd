// The report's texts of a change, made here and nowhere else.
#include "schema/Change.h"

namespace schema {

std::string PropertyName(Property property, const std::string& parameter)
{
    switch (property) {
    case Property::None: return "";
    case Property::Definition: return "definition";
    case Property::Comment: return "comment";
    case Property::ParameterComment: return "comment of " + parameter;
    case Property::InitialValue: return "initial value";
    case Property::Increment: return "increment";
    case Property::Message: return "message";
    case Property::Type: return "type";
    case Property::Default: return "default";
    case Property::Nullability: return "nullability";
    case Property::Check: return "check";
    case Property::Collation: return "collation";
    case Property::RelationKind: return "kind";
    case Property::Columns: return "columns";
    case Property::Source: return "source";
    case Property::ExternalFile: return "external file";
    case Property::ColumnOrder: return "column order";
    case Property::CheckOrder: return "check order";
    case Property::Computed: return "computed";
    case Property::Identity: return "identity";
    case Property::Declaration: return "declaration";
    case Property::Header: return "header";
    case Property::Body: return "body";
    case Property::Parameters: return "parameters";
    case Property::Returns: return "returns";
    case Property::Deterministic: return "deterministic";
    case Property::External: return "external";
    case Property::State: return "state";
    case Property::Table: return "table";
    case Property::Firing: return "firing";
    case Property::Position: return "position";
    case Property::GrantOption: return "grant option";
    case Property::DefaultCharset: return "default character set";
    case Property::Linger: return "linger";
    case Property::DefaultCollation: return "default collation";
    case Property::SqlSecurity: return "sql security";
    case Property::SystemPrivileges: return "system privileges";
    case Property::Publication: return "publication";
    case Property::NotCompared: return "not compared";
    }
    return "";
}

std::string PropertyChange::Message() const
{
    if (property == Property::NotCompared)
        return "not compared: a kind of object the complete comparison does not know";
    // Sources are named, not shown: they are compared whole, and their lines would not fit a row.
    const bool source = property == Property::Source || property == Property::Header || property == Property::Body ||
                        property == Property::Check || property == Property::Computed;
    if (source || oldValue.find('\n') != std::string::npos || newValue.find('\n') != std::string::npos)
        return "different: " + Name();
    return "different: " + Name() + " " + (oldValue.empty() ? "none" : oldValue) + " -> " +
           (newValue.empty() ? "none" : newValue);
}

bool Change::Has(Property property) const
{
    for (const auto& p : properties)
        if (p.property == property)
            return true;
    return false;
}

std::string Change::Message() const
{
    if (LeftCopy())
        return kLeftCopyMessage;
    return action == Action::OnlyInOld ? kOnlyInOldMessage : kMissingMessage;
}

bool Change::LeftCopy() const
{
    return action == Action::OnlyInOld && kind == ObjectKind::Field && IsCopyColumn(key);
}

std::vector<std::string> Change::Messages() const
{
    if (action != Action::Alter)
        return {Message()};
    std::vector<std::string> messages;
    for (const auto& p : properties)
        messages.push_back(p.Message());
    return messages;
}

}
