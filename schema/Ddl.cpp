// The statements that create each kind of object, written as the server stores the parts.
#include "schema/Ddl.h"

#include <array>
#include <set>

namespace schema {
namespace {

// Reserved words of Firebird 3 to 5; a name equal to one of them must be quoted.
const std::set<std::string>& ReservedWords()
{
    static const std::set<std::string> words{
        "ADD", "ADMIN", "ALL", "ALTER", "AND", "ANY", "AS", "AT", "AVG", "BEGIN", "BETWEEN", "BIGINT", "BINARY",
        "BIT_LENGTH", "BLOB", "BOOLEAN", "BOTH", "BY", "CASE", "CAST", "CHAR", "CHAR_LENGTH", "CHARACTER",
        "CHARACTER_LENGTH", "CHECK", "CLOSE", "COLLATE", "COLUMN", "COMMENT", "COMMIT", "CONNECT", "CONSTRAINT",
        "CORR", "COUNT", "COVAR_POP", "COVAR_SAMP", "CREATE", "CROSS", "CURRENT", "CURRENT_CONNECTION",
        "CURRENT_DATE", "CURRENT_ROLE", "CURRENT_TIME", "CURRENT_TIMESTAMP", "CURRENT_TRANSACTION", "CURRENT_USER",
        "CURSOR", "DATE", "DAY", "DEC", "DECFLOAT", "DECIMAL", "DECLARE", "DEFAULT", "DELETE", "DELETING",
        "DETERMINISTIC", "DISCONNECT", "DISTINCT", "DOUBLE", "DROP", "ELSE", "END", "ESCAPE", "EXECUTE", "EXISTS",
        "EXTERNAL", "EXTRACT", "FALSE", "FETCH", "FILTER", "FLOAT", "FOR", "FOREIGN", "FROM", "FULL", "FUNCTION",
        "GDSCODE", "GLOBAL", "GRANT", "GROUP", "HAVING", "HOUR", "IN", "INDEX", "INNER", "INSENSITIVE", "INSERT",
        "INSERTING", "INT", "INT128", "INTEGER", "INTO", "IS", "JOIN", "LATERAL", "LEADING", "LEFT", "LIKE",
        "LOCAL", "LOCALTIME", "LOCALTIMESTAMP", "LONG", "LOWER", "MAX", "MERGE", "MIN", "MINUTE", "MONTH",
        "NATIONAL", "NATURAL", "NCHAR", "NO", "NOT", "NULL", "NUMERIC", "OCTET_LENGTH", "OF", "OFFSET", "ON",
        "ONLY", "OPEN", "OR", "ORDER", "OUTER", "OVER", "PARAMETER", "PLAN", "POSITION", "POST_EVENT", "PRECISION",
        "PRIMARY", "PROCEDURE", "PUBLICATION", "RDB$DB_KEY", "RDB$ERROR", "RDB$GET_CONTEXT", "RDB$GET_TRANSACTION_CN",
        "RDB$RECORD_VERSION", "RDB$ROLE_IN_USE", "RDB$SET_CONTEXT", "RDB$SYSTEM_PRIVILEGE", "REAL",
        "RECORD_VERSION", "RECREATE", "RECURSIVE", "REFERENCES", "REGR_AVGX", "REGR_AVGY", "REGR_COUNT",
        "REGR_INTERCEPT", "REGR_R2", "REGR_SLOPE", "REGR_SXX", "REGR_SXY", "REGR_SYY", "RELEASE", "RESETTING",
        "RETURN", "RETURNING_VALUES", "RETURNS", "REVOKE", "RIGHT", "ROLLBACK", "ROW", "ROW_COUNT", "ROWS",
        "SAVEPOINT", "SCROLL", "SECOND", "SELECT", "SENSITIVE", "SET", "SIMILAR", "SMALLINT", "SOME", "SQLCODE",
        "SQLSTATE", "START", "STDDEV_POP", "STDDEV_SAMP", "SUM", "TABLE", "THEN", "TIME", "TIMESTAMP",
        "TIMEZONE_HOUR", "TIMEZONE_MINUTE", "TO", "TRAILING", "TRIGGER", "TRIM", "TRUE", "UNBOUNDED", "UNION",
        "UNIQUE", "UNKNOWN", "UPDATE", "UPDATING", "UPPER", "USER", "USING", "VALUE", "VALUES", "VAR_POP",
        "VAR_SAMP", "VARBINARY", "VARCHAR", "VARIABLE", "VARYING", "VIEW", "WHEN", "WHERE", "WHILE", "WINDOW",
        "WITH", "WITHOUT", "YEAR"};
    return words;
}

bool IsPlainName(const std::string& name)
{
    if (name.empty() || !(name[0] >= 'A' && name[0] <= 'Z'))
        return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'))
            return false;
    return !ReservedWords().count(name);
}

int DefaultPrecision(int fieldType)
{
    switch (fieldType) {
    case 7: return 4;
    case 8: return 9;
    case 26: return 38;
    case 27: return 15;
    default: return 18;
    }
}

std::string RuleText(const std::string& rule)
{
    return rule.empty() ? "RESTRICT" : rule;
}

// The DDL events in the order of their bits, from bit 1; the gaps are bits no event uses.
const std::array<const char*, 48> kDdlEvents{
    "CREATE TABLE", "ALTER TABLE", "DROP TABLE", "CREATE PROCEDURE", "ALTER PROCEDURE", "DROP PROCEDURE",
    "CREATE FUNCTION", "ALTER FUNCTION", "DROP FUNCTION", "CREATE TRIGGER", "ALTER TRIGGER", "DROP TRIGGER",
    nullptr, nullptr, nullptr, "CREATE EXCEPTION", "ALTER EXCEPTION", "DROP EXCEPTION", "CREATE VIEW", "ALTER VIEW",
    "DROP VIEW", "CREATE DOMAIN", "ALTER DOMAIN", "DROP DOMAIN", "CREATE ROLE", "ALTER ROLE", "DROP ROLE",
    "CREATE INDEX", "ALTER INDEX", "DROP INDEX", "CREATE SEQUENCE", "ALTER SEQUENCE", "DROP SEQUENCE",
    "CREATE USER", "ALTER USER", "DROP USER", "CREATE COLLATION", "DROP COLLATION", "ALTER CHARACTER SET",
    "CREATE PACKAGE", "ALTER PACKAGE", "DROP PACKAGE", "CREATE PACKAGE BODY", "DROP PACKAGE BODY",
    "CREATE MAPPING", "ALTER MAPPING", "DROP MAPPING", nullptr};

constexpr long long kDdlFlag = 0x4000;
constexpr long long kAnyDdl = 0x7FFFFFFFFFFFDFFELL;

}

std::string Ddl::Name(const std::string& name) const
{
    if (IsPlainName(name) && !reserved_.count(name))
        return name;
    if (dialect_ < 3)
        throw DdlError("The name " + name + " needs quotes, which SQL dialect 1 cannot write");
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::string Ddl::Literal(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

bool EndsInLineComment(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\'' || ch == '"') {
            const std::size_t end = text.find(ch, i + 1);
            if (end == std::string::npos)
                return false;
            i = end;
        } else if (ch == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            if (end == std::string::npos)
                return false;
            i = end + 1;
        } else if (ch == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            const std::size_t end = text.find('\n', i);
            if (end == std::string::npos)
                return true;
            i = end;
        }
    }
    return false;
}

std::string Ddl::Source(const std::string& text)
{
    return EndsInLineComment(text) ? text + "\n" : text;
}

std::string Ddl::Dimensions(const Type& t)
{
    if (t.dimensions.empty())
        return {};
    std::vector<std::string> bounds;
    for (const auto& [lower, upper] : t.dimensions)
        bounds.push_back(lower == 1 ? std::to_string(upper) : std::to_string(lower) + ":" + std::to_string(upper));
    return "[" + Joined(bounds, ", ") + "]";
}

std::string Ddl::TypeText(const Type& t) const
{
    // Dialect 1 has no 64-bit integers, no SQL DATE and no TIME.
    if (dialect_ < 3 && (t.fieldType == 16 || t.fieldType == 26 || t.fieldType == 12 || t.fieldType == 13 ||
                         t.fieldType == 28))
        throw DdlError("SQL dialect 1 cannot write the type with code " + std::to_string(t.fieldType) +
                       " (BIGINT, NUMERIC over 9 digits, DATE or TIME)");
    std::string text;
    const bool exact = t.fieldType == 7 || t.fieldType == 8 || t.fieldType == 16 || t.fieldType == 26;
    if ((exact || t.fieldType == 27) && (t.scale < 0 || (exact && t.subType > 0))) {
        const int precision = t.precision > 0 ? t.precision : DefaultPrecision(t.fieldType);
        text = std::string(t.subType == 2 ? "DECIMAL" : "NUMERIC") + "(" + std::to_string(precision) + ", " +
               std::to_string(-t.scale) + ")";
    } else {
        switch (t.fieldType) {
        case 7: text = "SMALLINT"; break;
        case 8: text = "INTEGER"; break;
        case 16: text = "BIGINT"; break;
        case 26: text = "INT128"; break;
        case 10: text = "FLOAT"; break;
        case 27: text = "DOUBLE PRECISION"; break;
        case 24: text = "DECFLOAT(16)"; break;
        case 25: text = "DECFLOAT(34)"; break;
        case 12: text = "DATE"; break;
        case 13: text = "TIME"; break;
        // Dialect 1 reads a timestamp as DATE, but takes TIMESTAMP without a warning.
        case 35: text = "TIMESTAMP"; break;
        case 28: text = "TIME WITH TIME ZONE"; break;
        case 29: text = "TIMESTAMP WITH TIME ZONE"; break;
        case 23: text = "BOOLEAN"; break;
        // Firebird 4 marks BINARY and VARBINARY, text in OCTETS, with sub-type 1.
        case 14:
            if (t.subType == 1 && t.charset == "OCTETS")
                return "BINARY(" + std::to_string(t.charLength) + ")" + Dimensions(t);
            text = "CHAR(" + std::to_string(t.charLength) + ")";
            break;
        case 37:
            if (t.subType == 1 && t.charset == "OCTETS")
                return "VARBINARY(" + std::to_string(t.charLength) + ")" + Dimensions(t);
            text = "VARCHAR(" + std::to_string(t.charLength) + ")";
            break;
        case 40: text = "CSTRING(" + std::to_string(t.charLength) + ")"; break;
        case 261: {
            const std::string sub = t.subType == 0 ? "BINARY" : t.subType == 1 ? "TEXT" : std::to_string(t.subType);
            text = "BLOB SUB_TYPE " + sub + " SEGMENT SIZE " + std::to_string(t.segmentLength);
            break;
        }
        default:
            throw DdlError("The catalog holds a data type this comparison does not know: code " +
                           std::to_string(t.fieldType));
        }
    }
    text += Dimensions(t);
    if (!t.charset.empty())
        text += " CHARACTER SET " + Name(t.charset);
    return text;
}

std::string Ddl::Collate(const Type& t) const
{
    if (!t.collation.empty())
        return " COLLATE " + Name(t.collation);
    if (!t.charset.empty() && chosenDefaults_.count(t.charset))
        return " COLLATE " + Name(t.charset);
    return {};
}

std::string Ddl::AlterDefaultCharset(const std::string& charset) const
{
    return "ALTER DATABASE SET DEFAULT CHARACTER SET " + Name(charset);
}

std::string Ddl::AlterLinger(int seconds) const
{
    return seconds == 0 ? "ALTER DATABASE DROP LINGER" : "ALTER DATABASE SET LINGER TO " + std::to_string(seconds);
}

std::string Ddl::Security(const std::optional<bool>& definer)
{
    return definer ? " SQL SECURITY " + SqlSecurityText(definer) : std::string();
}

std::string Ddl::AlterDatabaseSecurity(const std::optional<bool>& definer) const
{
    return "ALTER DATABASE SET DEFAULT SQL SECURITY " + std::string(definer.value_or(false) ? "DEFINER" : "INVOKER");
}

std::string Ddl::AlterTableSecurity(const Relation& table) const
{
    return "ALTER TABLE " + Name(table.name) +
           (table.sqlSecurity ? " ALTER SQL SECURITY " + SqlSecurityText(table.sqlSecurity) : " DROP SQL SECURITY");
}

std::string Ddl::AlterRolePrivileges(const Role& role) const
{
    if (role.systemPrivileges.empty())
        return "ALTER ROLE " + Name(role.name) + " DROP SYSTEM PRIVILEGES";
    return "ALTER ROLE " + Name(role.name) + " SET SYSTEM PRIVILEGES TO " + Joined(role.systemPrivileges);
}

std::string Ddl::Publication(bool enabled) const
{
    return enabled ? "ALTER DATABASE ENABLE PUBLICATION" : "ALTER DATABASE DISABLE PUBLICATION";
}

std::string Ddl::PublishAll(bool all) const
{
    return all ? "ALTER DATABASE INCLUDE ALL TO PUBLICATION" : "ALTER DATABASE EXCLUDE ALL FROM PUBLICATION";
}

std::string Ddl::PublishTable(const std::string& table, bool included) const
{
    return included ? "ALTER DATABASE INCLUDE TABLE " + Name(table) + " TO PUBLICATION"
                    : "ALTER DATABASE EXCLUDE TABLE " + Name(table) + " FROM PUBLICATION";
}

std::string Ddl::AlterDefaultCollation(const CharacterSet& charset) const
{
    return "ALTER CHARACTER SET " + Name(charset.name) + " SET DEFAULT COLLATION " + Name(charset.defaultCollation);
}

std::string Ddl::CreateCollation(const Collation& c) const
{
    std::string text = "CREATE COLLATION " + Name(c.name) + " FOR " + Name(c.charset);
    text += c.baseCollation.empty() ? " FROM EXTERNAL (" + Literal(c.name) + ")" : " FROM " + Name(c.baseCollation);
    text += (c.attributes & 1) ? " PAD SPACE" : " NO PAD";
    if (c.attributes & 2)
        text += " CASE INSENSITIVE";
    if (c.attributes & 4)
        text += " ACCENT INSENSITIVE";
    if (!c.specificAttributes.empty())
        text += " " + Literal(c.specificAttributes);
    return text;
}

std::string Ddl::CreateGenerator(const Generator& g) const
{
    std::string text = "CREATE SEQUENCE " + Name(g.name);
    if (g.initialValue != 0)
        text += " START WITH " + std::to_string(g.initialValue);
    if (g.increment != 1)
        text += " INCREMENT BY " + std::to_string(g.increment);
    return text;
}

std::string Ddl::CreateException(const Exception& e) const
{
    return "CREATE EXCEPTION " + Name(e.name) + " " + Literal(e.message);
}

std::string Ddl::CreateRole(const Role& r) const
{
    if (r.systemPrivileges.empty())
        return "CREATE ROLE " + Name(r.name);
    return "CREATE ROLE " + Name(r.name) + " SET SYSTEM PRIVILEGES TO " + Joined(r.systemPrivileges);
}

std::string Ddl::CreateDomain(const Domain& d) const
{
    std::string text = "CREATE DOMAIN " + Name(d.name) + " AS " + TypeText(d.type);
    if (!d.defaultSource.empty())
        text += " " + Source(d.defaultSource);
    if (d.notNull)
        text += " NOT NULL";
    return text + Collate(d.type);
}

std::string Ddl::AddDomainCheck(const Domain& d) const
{
    return "ALTER DOMAIN " + Name(d.name) + " ADD CONSTRAINT " + Source(d.validationSource);
}

std::string Ddl::DeclareExternalFunction(const ExternalFunction& f) const
{
    auto argument = [&](const ExternalArgument& a, bool isReturn) {
        // An argument is not a column: a blob is just BLOB, with no subtype or segment.
        std::string text = a.type.fieldType == 261 ? "BLOB" : TypeText(a.type);
        const int mechanism = a.mechanism < 0 ? -a.mechanism : a.mechanism;
        if (mechanism == 0)
            text += " BY VALUE";
        else if (mechanism == 2)
            text += " BY DESCRIPTOR";
        else if (mechanism == 5 && !isReturn)
            text += " NULL";
        if (isReturn && a.mechanism < 0)
            text += " FREE_IT";
        return text;
    };
    std::vector<std::string> args;
    for (const auto& a : f.arguments)
        args.push_back(argument(a, false));
    std::string text = "DECLARE EXTERNAL FUNCTION " + Name(f.name);
    if (!args.empty())
        text += " " + Joined(args);
    text += " RETURNS ";
    text += f.returnArgument > 0 ? "PARAMETER " + std::to_string(f.returnArgument) : argument(f.returns, true);
    text += " ENTRY_POINT " + Literal(f.entryPoint) + " MODULE_NAME " + Literal(f.module);
    return text;
}

std::string Ddl::ColumnDefinition(const Column& c, bool placeholder) const
{
    std::string text = Name(c.name) + " ";
    if (!c.computedSource.empty()) {
        if (!placeholder)
            return text + TypeText(c.type) + " COMPUTED BY " + Source(c.computedSource);
        // A computed type cannot name a collation; the placeholder's expression carries it.
        if (!c.type.collation.empty())
            return text + TypeText(c.type) + " COMPUTED BY (CAST(NULL AS " + TypeText(c.type) + ") COLLATE " +
                   Name(c.type.collation) + ")";
        return text + TypeText(c.type) + " COMPUTED BY (NULL)";
    }
    text += c.domain.empty() ? TypeText(c.type) : Name(c.domain);
    if (c.identityType) {
        text += *c.identityType == 0 ? " GENERATED ALWAYS AS IDENTITY" : " GENERATED BY DEFAULT AS IDENTITY";
        std::string options;
        if (c.identityStart != 0)
            options += "START WITH " + std::to_string(c.identityStart);
        if (c.identityIncrement != 1)
            options += std::string(options.empty() ? "" : " ") + "INCREMENT BY " + std::to_string(c.identityIncrement);
        if (!options.empty())
            text += " (" + options + ")";
    }
    if (!c.defaultSource.empty())
        text += " " + Source(c.defaultSource);
    if (c.notNull && !c.identityType)
        text += c.notNullConstraint.empty() ? " NOT NULL" : " CONSTRAINT " + Name(c.notNullConstraint) + " NOT NULL";
    // Over a domain, a column names only a collation of its own.
    if (!c.domain.empty())
        return c.type.collation.empty() ? text : text + " COLLATE " + Name(c.type.collation);
    return text + Collate(c.type);
}

std::string Ddl::CreateTable(const Relation& table) const
{
    std::string text = table.kind == RelationKind::GlobalTemporaryPreserve ||
                               table.kind == RelationKind::GlobalTemporaryDelete
                           ? "CREATE GLOBAL TEMPORARY TABLE "
                           : "CREATE TABLE ";
    text += Name(table.name);
    if (table.kind == RelationKind::External)
        text += " EXTERNAL FILE " + Literal(table.externalFile);
    std::vector<std::string> columns;
    for (const auto& c : table.columns)
        columns.push_back(ColumnDefinition(c, true));
    text += " (" + Joined(columns, ",\n    ") + ")";
    if (table.kind == RelationKind::GlobalTemporaryPreserve)
        text += " ON COMMIT PRESERVE ROWS";
    else if (table.kind == RelationKind::GlobalTemporaryDelete)
        text += " ON COMMIT DELETE ROWS";
    return text + Security(table.sqlSecurity);
}

std::string Ddl::AddColumn(const std::string& table, const Column& column) const
{
    return "ALTER TABLE " + Name(table) + " ADD " + ColumnDefinition(column, true);
}

std::string Ddl::AlterColumnPosition(const std::string& table, const Column& column) const
{
    return "ALTER TABLE " + Name(table) + " ALTER " + Name(column.name) + " POSITION " +
           std::to_string(column.position + 1);
}

std::string Ddl::ComputedPlaceholder(const std::string& table, const Column& column) const
{
    Column nothing = column;
    nothing.computedSource = column.type.collation.empty() ? "(NULL)"
                                                           : "(CAST(NULL AS " + TypeText(column.type) + ") COLLATE " +
                                                                 Name(column.type.collation) + ")";
    return AlterComputed(table, nothing);
}

std::string Ddl::AlterComputed(const std::string& table, const Column& column) const
{
    // With a collation the type can only have come from the expression, so it is left to it.
    const std::string type = column.type.collation.empty() ? " TYPE " + TypeText(column.type) : "";
    return "ALTER TABLE " + Name(table) + " ALTER " + Name(column.name) + type + " COMPUTED BY " +
           Source(column.computedSource);
}

std::string Ddl::AddConstraint(const Constraint& c) const
{
    std::vector<std::string> columns, refColumns;
    for (const auto& name : c.columns)
        columns.push_back(Name(name));
    for (const auto& name : c.refColumns)
        refColumns.push_back(Name(name));
    std::string text = "ALTER TABLE " + Name(c.table) + " ADD ";
    if (!c.name.empty())
        text += "CONSTRAINT " + Name(c.name) + " ";
    switch (c.kind) {
    case ConstraintKind::PrimaryKey: text += "PRIMARY KEY (" + Joined(columns) + ")"; break;
    case ConstraintKind::Unique: text += "UNIQUE (" + Joined(columns) + ")"; break;
    case ConstraintKind::ForeignKey:
        text += "FOREIGN KEY (" + Joined(columns) + ") REFERENCES " + Name(c.refTable) + " (" + Joined(refColumns) + ")";
        if (RuleText(c.onUpdate) != "RESTRICT")
            text += " ON UPDATE " + c.onUpdate;
        if (RuleText(c.onDelete) != "RESTRICT")
            text += " ON DELETE " + c.onDelete;
        break;
    case ConstraintKind::Check: return text + Source(c.checkSource);
    }
    if (!c.indexName.empty())
        text += std::string(" USING ") + (c.descending ? "DESCENDING " : "") + "INDEX " + Name(c.indexName);
    return text;
}

std::string Ddl::CreateIndex(const Index& ix) const
{
    std::string text = "CREATE ";
    if (ix.unique)
        text += "UNIQUE ";
    if (ix.descending)
        text += "DESCENDING ";
    text += "INDEX " + Name(ix.name) + " ON " + Name(ix.table);
    if (!ix.expressionSource.empty()) {
        text += " COMPUTED BY " + ix.expressionSource;
    } else {
        std::vector<std::string> columns;
        for (const auto& name : ix.columns)
            columns.push_back(Name(name));
        text += " (" + Joined(columns) + ")";
    }
    if (!ix.conditionSource.empty())
        text += " " + ix.conditionSource;
    return text;
}

std::string Ddl::CreateView(const Relation& view) const
{
    std::vector<std::string> columns;
    for (const auto& c : view.columns)
        columns.push_back(Name(c.name));
    return "CREATE VIEW " + Name(view.name) + " (" + Joined(columns) + ") AS\n" + view.viewSource;
}

std::string Ddl::ParameterType(const Parameter& p) const
{
    if (!p.relationName.empty())
        return "TYPE OF COLUMN " + Name(p.relationName) + "." + Name(p.fieldName);
    if (!p.domain.empty())
        return (p.mechanism == ParameterMechanism::TypeOf ? "TYPE OF " : "") + Name(p.domain);
    return TypeText(p.type);
}

std::string Ddl::ParameterText(const Parameter& p) const
{
    std::string text = Name(p.name) + " " + ParameterType(p);
    if (p.notNull)
        text += " NOT NULL";
    if (!p.domain.empty() && !p.type.collation.empty())
        text += " COLLATE " + Name(p.type.collation);
    else if (p.domain.empty())
        text += Collate(p.type);
    if (!p.defaultSource.empty())
        text += " " + Source(p.defaultSource);
    return text;
}

std::string Ddl::ProcedureHeader(const char* verb, const Procedure& p) const
{
    std::string text = std::string(verb) + " PROCEDURE " + Name(p.name);
    std::vector<std::string> inputs, outputs;
    for (const auto& param : p.inputs)
        inputs.push_back(ParameterText(param));
    for (const auto& param : p.outputs)
        outputs.push_back(ParameterText(param));
    if (!inputs.empty())
        text += " (" + Joined(inputs, ",\n    ") + ")";
    if (!outputs.empty())
        text += "\nRETURNS (" + Joined(outputs, ",\n    ") + ")";
    return text + Security(p.sqlSecurity);
}

std::string Ddl::ProcedureStub(const Procedure& p) const
{
    return ProcedureHeader("CREATE OR ALTER", p) + "\nAS\nBEGIN " + (p.selectable ? "SUSPEND" : "EXIT") + "; END";
}

std::string Ddl::ProcedureBody(const Procedure& p) const
{
    if (!p.engine.empty())
        return ProcedureHeader("CREATE OR ALTER", p) + "\nEXTERNAL NAME " + Literal(p.entryPoint) + " ENGINE " +
               Name(p.engine);
    return ProcedureHeader("ALTER", p) + "\nAS\n" + p.source;
}

std::string Ddl::ReturnsText(const Parameter& p) const
{
    std::string text = ParameterType(p);
    if (p.notNull)
        text += " NOT NULL";
    if (!p.domain.empty() && !p.type.collation.empty())
        text += " COLLATE " + Name(p.type.collation);
    else if (p.domain.empty())
        text += Collate(p.type);
    return text;
}

std::string Ddl::FunctionHeader(const char* verb, const Function& f) const
{
    std::string text = std::string(verb) + " FUNCTION " + Name(f.name);
    std::vector<std::string> args;
    for (const auto& a : f.arguments)
        args.push_back(ParameterText(a));
    if (!args.empty())
        text += " (" + Joined(args, ",\n    ") + ")";
    text += "\nRETURNS " + ReturnsText(f.returns);
    if (f.deterministic)
        text += " DETERMINISTIC";
    return text + Security(f.sqlSecurity);
}

std::string Ddl::FunctionStub(const Function& f) const
{
    return FunctionHeader("CREATE OR ALTER", f) + "\nAS\nBEGIN END";
}

std::string Ddl::FunctionBody(const Function& f) const
{
    if (!f.engine.empty())
        return FunctionHeader("CREATE OR ALTER", f) + "\nEXTERNAL NAME " + Literal(f.entryPoint) + " ENGINE " +
               Name(f.engine);
    return FunctionHeader("ALTER", f) + "\nAS\n" + f.source;
}

std::string Ddl::CreatePackage(const Package& p) const
{
    return "CREATE PACKAGE " + Name(p.name) + Security(p.sqlSecurity) + "\nAS\n" + p.headerSource;
}

std::string Ddl::CreatePackageBody(const Package& p) const
{
    return "CREATE PACKAGE BODY " + Name(p.name) + "\nAS\n" + p.bodySource;
}

std::string TriggerTypeText(long long type)
{
    if ((type & ~1LL) == (kAnyDdl & ~1LL))
        return std::string(type & 1 ? "AFTER" : "BEFORE") + " ANY DDL STATEMENT";
    if (type & kDdlFlag) {
        std::string text = type & 1 ? "AFTER" : "BEFORE";
        const long long events = (type & ~kDdlFlag) >> 1;
        std::vector<std::string> names;
        for (std::size_t bit = 0; bit < kDdlEvents.size(); ++bit) {
            if (!(events & (1LL << bit)))
                continue;
            if (!kDdlEvents[bit])
                throw DdlError("The catalog holds a DDL trigger event this comparison does not know: bit " +
                               std::to_string(bit + 1));
            names.push_back(kDdlEvents[bit]);
        }
        return text + " " + Joined(names, " OR ");
    }
    if (type >= 8192 && type <= 8196) {
        static const char* events[] = {"CONNECT", "DISCONNECT", "TRANSACTION START", "TRANSACTION COMMIT",
                                       "TRANSACTION ROLLBACK"};
        return std::string("ON ") + events[type - 8192];
    }
    static const char* actions[] = {"", "INSERT", "UPDATE", "DELETE"};
    const long long value = type + 1;
    std::string text = value & 1 ? "AFTER" : "BEFORE";
    std::vector<std::string> names;
    for (int slot = 1; slot <= 3; ++slot) {
        const long long action = (value >> (slot * 2 - 1)) & 3;
        if (action)
            names.push_back(actions[action]);
    }
    if (names.empty())
        throw DdlError("The catalog holds a trigger type this comparison does not know: " + std::to_string(type));
    return text + " " + Joined(names, " OR ");
}

std::string Ddl::CreateTrigger(const Trigger& t) const
{
    std::string text = "CREATE TRIGGER " + Name(t.name);
    if (!t.relation.empty())
        text += " FOR " + Name(t.relation);
    text += t.inactive ? " INACTIVE " : " ACTIVE ";
    text += TriggerTypeText(t.type) + " POSITION " + std::to_string(t.position) + Security(t.sqlSecurity);
    if (!t.engine.empty())
        return text + "\nEXTERNAL NAME " + Literal(t.entryPoint) + " ENGINE " + Name(t.engine);
    return text + "\n" + t.source;
}

std::string Ddl::Grantee(const Grant& g) const
{
    switch (g.userType) {
    case 13: return "ROLE " + Name(g.user);
    case 5: return "PROCEDURE " + Name(g.user);
    case 2: return "TRIGGER " + Name(g.user);
    case 1: return "VIEW " + Name(g.user);
    case 15: return "FUNCTION " + Name(g.user);
    case 18: return "PACKAGE " + Name(g.user);
    default: return g.user == "PUBLIC" ? std::string("PUBLIC") : "USER " + Name(g.user);
    }
}

std::string Ddl::Granted(const Grant& g) const
{
    if (g.objectType == 13 && g.privilege == "M")
        return Name(g.object);
    if (const std::string ddl = DdlPrivilege(g); !ddl.empty())
        return ddl;
    std::string privilege;
    switch (g.privilege.empty() ? ' ' : g.privilege[0]) {
    case 'S': privilege = "SELECT"; break;
    case 'I': privilege = "INSERT"; break;
    case 'U': privilege = "UPDATE"; break;
    case 'D': privilege = "DELETE"; break;
    case 'R': privilege = "REFERENCES"; break;
    case 'X': privilege = "EXECUTE"; break;
    case 'G': privilege = "USAGE"; break;
    default: throw DdlError("The catalog holds a privilege this comparison does not know: " + g.privilege);
    }
    if (!g.field.empty())
        privilege += " (" + Name(g.field) + ")";
    std::string object;
    switch (g.objectType) {
    case 0: object = Name(g.object); break;
    case 5: object = "PROCEDURE " + Name(g.object); break;
    case 15: object = "FUNCTION " + Name(g.object); break;
    case 18: object = "PACKAGE " + Name(g.object); break;
    case 14: object = "SEQUENCE " + Name(g.object); break;
    case 7: object = "EXCEPTION " + Name(g.object); break;
    case 9: object = "DOMAIN " + Name(g.object); break;
    case 17: object = "COLLATION " + Name(g.object); break;
    default: throw DdlError("The catalog holds a grant on an object type this comparison does not know: " +
                            std::to_string(g.objectType));
    }
    return privilege + " ON " + object;
}

std::string Ddl::GrantText(const Grant& g) const
{
    const bool membership = g.objectType == 13 && g.privilege == "M";
    const char* option = !g.grantOption ? "" : membership ? " WITH ADMIN OPTION" : " WITH GRANT OPTION";
    return "GRANT " + Granted(g) + " TO " + Grantee(g) + option;
}



}
