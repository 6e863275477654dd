// Domains: created when missing; when one of seven columns differs, brought up to date by
// ALTER DOMAIN where the server allows it, or by overwriting their RDB$FIELDS row where it does not.
#include "compare/Domains.h"
#include "compare/TypeText.h"

#include <cctype>

// Double quotes are a string in dialect 1; implicit domains (RDB$...) are the table check's.
const std::vector<std::string> TDmn::DomainSql{"select * from RDB$FIELDS", "where RDB$SYSTEM_FLAG<>1 and",
                                               "rdb$field_name not like \"RDB$%\"", ""};

namespace {
// The columns that make two domains differ, in the order they are compared; the null flag,
// whose comparison depends on the server, comes last.
const char* const ComparedColumns[] = {"RDB$FIELD_TYPE",       "RDB$FIELD_SUB_TYPE", "RDB$FIELD_LENGTH",
                                       "RDB$CHARACTER_LENGTH", "RDB$DEFAULT_VALUE",  "RDB$DESCRIPTION"};
const char* const TypeColumns[] = {"RDB$FIELD_TYPE", "RDB$FIELD_SUB_TYPE", "RDB$FIELD_LENGTH", "RDB$CHARACTER_LENGTH"};

std::string HexLiteral(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "X'";
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text + "'";
}

// RDB$DEFAULT_SOURCE holds the clause as it was written, with its leading DEFAULT word.
std::string DefaultExpression(const std::string& source)
{
    const char* const blanks = " \t\r\n";
    std::size_t start = source.find_first_not_of(blanks);
    if (start == std::string::npos)
        return "";
    std::size_t end = start;
    std::string word;
    for (; end < source.size(); ++end) {
        const auto c = static_cast<unsigned char>(source[end]);
        if (!std::isalnum(c) && c != '_' && c != '$')
            break;
        word += static_cast<char>(std::toupper(c));
    }
    if (word == "DEFAULT")
        start = source.find_first_not_of(blanks, end);
    return start == std::string::npos ? "" : source.substr(start);
}
}

void TDmn::CheckDomains(Progress& bar)
{
    Walk(NewDmn, OldDmn, bar, [this] { CompareDomain(); });
}

std::string TDmn::DmnValue(const std::string& column, bool quote)
{
    return SqlValue(NewDmn.AsString(column), quote);
}

std::string TDmn::DomainTypeText(Side side)
{
    Query& query = DmnQuery(side);
    return TypeText(TypeForm::Domain, query.AsInteger("RDB$FIELD_TYPE"), query.AsString("RDB$FIELD_LENGTH"),
                    query.AsString("RDB$FIELD_SUB_TYPE"), query.AsString("RDB$SEGMENT_LENGTH"));
}

void TDmn::CompareDomain()
{
    if (!OldDmn.Locate("RDB$FIELD_NAME", DmnName(Side::New))) {
        CreateDomain();
        return;
    }
    for (const char* column : ComparedColumns)
        if (!SameDmnField(column)) {
            UpdateDomain();
            return;
        }
    if (!SameDmnNullFlag(DM.OldDB.OdsMajorVersion()))
        UpdateDomain();
}

bool TDmn::SameDmnNullFlag(int odsMajor)
{
    if (odsMajor < 12)
        return SameDmnField("RDB$NULL_FLAG");
    // Firebird 3 and later store NULL for a domain created nullable and 0 for one whose NOT NULL
    // was dropped, and no DDL writes NULL back: there both mean nullable and count as equal.
    return DmnNullable(Side::New) == DmnNullable(Side::Old);
}

void TDmn::CreateDomain()
{
    const std::string name = DmnName(Side::New);
    std::vector<std::string> lines{"CREATE DOMAIN " + name + " AS", DomainTypeText(Side::New)};
    if (!DmnNullable(Side::New))
        lines.push_back("NOT NULL");
    Fix(lines, "Domain " + name, "DOMAIN", name, "not exist");
}

void TDmn::UpdateDomain()
{
    const std::string name = DmnName(Side::New);
    FixUnit(UpdateDomainStatements(DM.OldDB.OdsMajorVersion()), "Domain " + name, "DOMAIN", name,
            "different type");
}

Statements TDmn::UpdateDomainStatements(int odsMajor)
{
    const std::string name = DmnName(Side::New);
    if (odsMajor < 12) {
        // Older servers let the row be overwritten whole. The default is compiled BLR, binary:
        // written as the exact bytes that were compared.
        const std::string defaultValue = NewDmn.AsString("RDB$DEFAULT_VALUE");
        return {{"UPDATE RDB$FIELDS set",
                 "RDB$FIELD_TYPE = " + DmnValue("RDB$FIELD_TYPE", false) + ",",
                 "RDB$FIELD_SUB_TYPE = " + DmnValue("RDB$FIELD_SUB_TYPE", false) + ",",
                 "RDB$FIELD_LENGTH = " + DmnValue("RDB$FIELD_LENGTH", false) + ",",
                 "RDB$CHARACTER_LENGTH = " + DmnValue("RDB$CHARACTER_LENGTH", false) + ",",
                 "RDB$DEFAULT_VALUE = " + (defaultValue.empty() ? std::string("NULL") : HexLiteral(defaultValue)) + ",",
                 "RDB$DESCRIPTION = " + DmnValue("RDB$DESCRIPTION", true) + ",",
                 "RDB$NULL_FLAG = " + DmnValue("RDB$NULL_FLAG", false),
                 "WHERE RDB$FIELD_NAME = " + Quoted(name)}};
    }
    // Firebird 3 and later refuse writes to their system tables: only what differs is altered.
    Statements statements;
    for (const char* column : TypeColumns)
        if (!SameDmnField(column)) {
            statements.push_back({"ALTER DOMAIN " + name + " TYPE " + NewCompleteTypeText(NewDmn)});
            break;
        }
    if (!SameDmnField("RDB$DEFAULT_VALUE")) {
        if (NewDmn.AsString("RDB$DEFAULT_VALUE").empty())
            statements.push_back({"ALTER DOMAIN " + name + " DROP DEFAULT"});
        else
            statements.push_back(
                {"ALTER DOMAIN " + name + " SET DEFAULT " + DefaultExpression(NewDmn.AsString("RDB$DEFAULT_SOURCE"))});
    }
    if (!SameDmnField("RDB$DESCRIPTION"))
        statements.push_back({"COMMENT ON DOMAIN " + name + " IS " + DmnValue("RDB$DESCRIPTION", true)});
    if (DmnNullable(Side::New) != DmnNullable(Side::Old))
        statements.push_back(
            {"ALTER DOMAIN " + name + (DmnNullable(Side::New) ? " DROP NOT NULL" : " SET NOT NULL")});
    return statements;
}
