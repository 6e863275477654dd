// Domains: created when missing, their RDB$FIELDS row overwritten when one of seven columns differs.
#include "compare/Domains.h"
#include "compare/TypeText.h"

namespace {
// Double quotes are a string in dialect 1; implicit domains (RDB$...) are the table check's.
const std::vector<std::string> DomainSql{"select * from RDB$FIELDS", "where RDB$SYSTEM_FLAG<>1 and",
                                         "rdb$field_name not like \"RDB$%\"", ""};

// The columns that make two domains differ, in the order they are compared.
const char* const ComparedColumns[] = {"RDB$FIELD_TYPE",    "RDB$FIELD_SUB_TYPE", "RDB$FIELD_LENGTH",
                                       "RDB$CHARACTER_LENGTH", "RDB$DEFAULT_VALUE", "RDB$DESCRIPTION",
                                       "RDB$NULL_FLAG"};

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
}

TDmn::TDmn(TDM& dm, ReportSink& report)
    : Comparator(dm, report), NewDmn(dm.NewDB, dm.NewTran, DomainSql), OldDmn(dm.OldDB, dm.OldTran, DomainSql)
{
}

void TDmn::CheckDomains(Progress& bar)
{
    Walk(NewDmn, OldDmn, bar, [this] { CompareDomain(); });
}

std::string TDmn::DmnValue(const std::string& column, bool quote)
{
    return SqlValue(NewDmn.AsString(column), quote);
}

std::string TDmn::DomainTypeText(int side)
{
    Query& query = DmnQuery(side);
    return TypeText(TypeForm::Domain, query.AsInteger("RDB$FIELD_TYPE"), query.AsString("RDB$FIELD_LENGTH"),
                    query.AsString("RDB$FIELD_SUB_TYPE"), query.AsString("RDB$SEGMENT_LENGTH"));
}

void TDmn::CompareDomain()
{
    if (!OldDmn.Locate("RDB$FIELD_NAME", DmnName(1))) {
        CreateDomain();
        return;
    }
    for (const char* column : ComparedColumns)
        if (!SameDmnField(column)) {
            UpdateDomain();
            return;
        }
}

void TDmn::CreateDomain()
{
    const std::string name = DmnName(1);
    std::vector<std::string> lines{"CREATE DOMAIN " + name + " AS", DomainTypeText(1)};
    if (!DmnNullable(1))
        lines.push_back("NOT NULL");
    Fix(lines, "Domain " + name, "DOMAIN", name, "not exist");
}

void TDmn::UpdateDomain()
{
    const std::string name = DmnName(1);
    // The default is compiled BLR, binary: written as the exact bytes that were compared.
    const std::string defaultValue = NewDmn.AsString("RDB$DEFAULT_VALUE");
    Fix({"UPDATE RDB$FIELDS set",
         "RDB$FIELD_TYPE = " + DmnValue("RDB$FIELD_TYPE", false) + ",",
         "RDB$FIELD_SUB_TYPE = " + DmnValue("RDB$FIELD_SUB_TYPE", false) + ",",
         "RDB$FIELD_LENGTH = " + DmnValue("RDB$FIELD_LENGTH", false) + ",",
         "RDB$CHARACTER_LENGTH = " + DmnValue("RDB$CHARACTER_LENGTH", false) + ",",
         "RDB$DEFAULT_VALUE = " + (defaultValue.empty() ? std::string("NULL") : HexLiteral(defaultValue)) + ",",
         "RDB$DESCRIPTION = " + DmnValue("RDB$DESCRIPTION", true) + ",",
         "RDB$NULL_FLAG = " + DmnValue("RDB$NULL_FLAG", false),
         "WHERE RDB$FIELD_NAME = '" + name + "'"},
        "Domain " + name, "DOMAIN", name, "different type");
}
