// Identity of the objects whose names the server chose, and equality of whole catalogs.
#include "schema/Model.h"

#include <cctype>
#include <iterator>
#include <map>

namespace schema {
namespace {

bool DigitsFrom(const std::string& name, std::size_t from)
{
    if (name.size() <= from)
        return false;
    for (std::size_t i = from; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

}

const char* KindName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Database: return "DATABASE";
    case ObjectKind::CharacterSet: return "CHARACTER SET";
    case ObjectKind::Collation: return "COLLATION";
    case ObjectKind::Role: return "ROLE";
    case ObjectKind::Generator: return "GENERATOR";
    case ObjectKind::Exception: return "EXCEPTION";
    case ObjectKind::Domain: return "DOMAIN";
    case ObjectKind::Table: return "TABLE";
    case ObjectKind::View: return "VIEW";
    case ObjectKind::Field: return "FIELD";
    case ObjectKind::ExternalFunction: return "EXTERNAL FUNCTION";
    case ObjectKind::Package: return "PACKAGE";
    case ObjectKind::Procedure: return "PROCEDURE";
    case ObjectKind::Function: return "FUNCTION";
    case ObjectKind::Constraint: return "CONSTRAINT";
    case ObjectKind::Index: return "INDEX";
    case ObjectKind::Trigger: return "TRIGGER";
    case ObjectKind::Grant: return "GRANT";
    case ObjectKind::BlobFilter: return "BLOB FILTER";
    case ObjectKind::Mapping: return "MAPPING";
    }
    return "";
}

std::string Joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const auto& part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

int TypeFamily(const Type& t)
{
    switch (t.fieldType) {
    case 14: case 37: case 40: return 1;
    case 12: case 13: case 35: case 28: case 29: return 2;
    case 23: return 3;
    case 261: return 4;
    default: return 0;
    }
}

bool IsCopyColumn(const std::string& name)
{
    const std::string prefix = kCopyColumnPrefix;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

std::vector<std::pair<std::string, const Column*>> ColumnsOfDomain(const Schema& schema, const std::string& domain)
{
    std::vector<std::pair<std::string, const Column*>> columns;
    for (const auto& [name, table] : schema.relations)
        if (!table.IsView())
            for (const auto& column : table.columns)
                if (column.domain == domain)
                    columns.emplace_back(name, &column);
    return columns;
}

Type ColumnType(const Column& column, const Schema& schema)
{
    auto domain = column.domain.empty() ? schema.domains.end() : schema.domains.find(column.domain);
    return domain == schema.domains.end() ? column.type : domain->second.type;
}

const Column* Relation::FindColumn(const std::string& column) const
{
    for (const auto& c : columns)
        if (c.name == column)
            return &c;
    return nullptr;
}

std::string Constraint::Key() const
{
    // A table has one primary key at most: its name and columns are properties of it.
    if (kind == ConstraintKind::PrimaryKey)
        return table + "|PRIMARY KEY";
    if (!name.empty())
        return "name:" + name;
    static const char* kinds[] = {"PRIMARY KEY", "UNIQUE", "FOREIGN KEY", "CHECK"};
    std::string key = table + "|" + kinds[static_cast<int>(kind)] + "|" + Joined(columns, ",");
    if (kind == ConstraintKind::ForeignKey)
        key += "|" + refTable + "(" + Joined(refColumns, ",") + ")";
    if (kind == ConstraintKind::Check)
        key += "|" + checkSource;
    return key;
}

std::string Grant::Key() const
{
    return std::to_string(objectType) + "|" + object + "|" + field + "|" + privilege + "|" + std::to_string(userType) +
           "|" + user;
}

std::string ConstraintTitle(const Constraint& c)
{
    if (!c.name.empty())
        return c.name;
    static const char* kinds[] = {"PRIMARY KEY", "UNIQUE", "FOREIGN KEY", "CHECK"};
    std::string title = c.table + " " + kinds[static_cast<int>(c.kind)];
    if (c.kind == ConstraintKind::Check)
        return title;
    title += " (" + Joined(c.columns) + ")";
    if (c.kind == ConstraintKind::ForeignKey)
        title += " REFERENCES " + c.refTable;
    return title;
}

std::string DdlPrivilege(const Grant& g)
{
    static const std::map<std::string, std::string> kinds{
        {"SQL$TABLES", "TABLE"},         {"SQL$VIEWS", "VIEW"},         {"SQL$PROCEDURES", "PROCEDURE"},
        {"SQL$FUNCTIONS", "FUNCTION"},   {"SQL$PACKAGES", "PACKAGE"},   {"SQL$GENERATORS", "GENERATOR"},
        {"SQL$DOMAINS", "DOMAIN"},       {"SQL$EXCEPTIONS", "EXCEPTION"}, {"SQL$ROLES", "ROLE"},
        {"SQL$CHARSETS", "CHARACTER SET"}, {"SQL$COLLATIONS", "COLLATION"}, {"SQL$FILTERS", "FILTER"}};
    auto kind = kinds.find(g.object);
    if (kind == kinds.end())
        return "";
    if (g.privilege == "C")
        return "CREATE " + kind->second;
    if (g.privilege == "L")
        return "ALTER ANY " + kind->second;
    if (g.privilege == "O")
        return "DROP ANY " + kind->second;
    return "";
}

std::string GrantTitle(const Grant& g)
{
    if (g.privilege == "M")
        return g.object + " TO " + g.user;
    if (const std::string ddl = DdlPrivilege(g); !ddl.empty())
        return ddl + " TO " + g.user;
    static const std::map<std::string, std::string> words{{"S", "SELECT"},  {"I", "INSERT"},     {"U", "UPDATE"},
                                                          {"D", "DELETE"},  {"R", "REFERENCES"}, {"X", "EXECUTE"},
                                                          {"G", "USAGE"}};
    auto word = words.find(g.privilege);
    std::string title = word == words.end() ? g.privilege : word->second;
    if (!g.field.empty())
        title += " (" + g.field + ")";
    return title + " ON " + g.object + " TO " + g.user;
}

bool IsGeneratedConstraintName(const std::string& name)
{
    return name.rfind("INTEG_", 0) == 0 && DigitsFrom(name, 6);
}

bool IsGeneratedIndexName(const std::string& name)
{
    return name.rfind("RDB$", 0) == 0;
}

bool Schema::SameObjects(const Schema& other) const
{
    return database == other.database && characterSets == other.characterSets && collations == other.collations && generators == other.generators && exceptions == other.exceptions &&
           domains == other.domains && externalFunctions == other.externalFunctions && relations == other.relations &&
           constraints == other.constraints && indices == other.indices && procedures == other.procedures &&
           functions == other.functions && packages == other.packages && triggers == other.triggers &&
           roles == other.roles && grants == other.grants && unknown == other.unknown;
}

std::string SqlSecurityText(const std::optional<bool>& definer)
{
    return !definer ? std::string() : *definer ? "DEFINER" : "INVOKER";
}

std::vector<std::string> SystemPrivileges(const std::string& bits)
{
    // As the server numbers them, from 1.
    static const char* const names[] = {
        "", "USER_MANAGEMENT", "READ_RAW_PAGES", "CREATE_USER_TYPES", "USE_NBACKUP_UTILITY", "CHANGE_SHUTDOWN_MODE",
        "TRACE_ANY_ATTACHMENT", "MONITOR_ANY_ATTACHMENT", "ACCESS_SHUTDOWN_DATABASE", "CREATE_DATABASE",
        "DROP_DATABASE", "USE_GBAK_UTILITY", "USE_GSTAT_UTILITY", "USE_GFIX_UTILITY", "IGNORE_DB_TRIGGERS",
        "CHANGE_HEADER_SETTINGS", "SELECT_ANY_OBJECT_IN_DATABASE", "ACCESS_ANY_OBJECT_IN_DATABASE",
        "MODIFY_ANY_OBJECT_IN_DATABASE", "CHANGE_MAPPING_RULES", "USE_GRANTED_BY_CLAUSE",
        "GRANT_REVOKE_ON_ANY_OBJECT", "GRANT_REVOKE_ANY_DDL_RIGHT", "CREATE_PRIVILEGED_ROLES", "GET_DBCRYPT_INFO",
        "MODIFY_EXT_CONN_POOL", "REPLICATE_INTO_DATABASE", "PROFILE_ANY_ATTACHMENT"};
    std::vector<std::string> result;
    for (std::size_t n = 1; n < std::size(names); ++n)
        if (n / 8 < bits.size() && (static_cast<unsigned char>(bits[n / 8]) >> (n % 8)) & 1)
            result.push_back(names[n]);
    return result;
}

}
