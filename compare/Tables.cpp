// Tables and columns, both transactions committed Old first: views and system tables are left out; nothing is dropped.
#include "compare/Tables.h"
#include "compare/TypeText.h"

const std::vector<std::string> TTbl::TableSql{"select * from RDB$RELATIONS", "where RDB$VIEW_SOURCE is NULL and",
                                              "RDB$SYSTEM_FLAG<>1"};
// Read once per table, so only the three columns the comparison uses.
const std::vector<std::string> TTbl::ColumnSql{"select RDB$FIELD_NAME, RDB$FIELD_SOURCE, RDB$NULL_FLAG",
                                               "from RDB$RELATION_FIELDS", "where RDB$RELATION_NAME=:TNAME and",
                                               "RDB$SYSTEM_FLAG<>1"};
const ServedRead TTbl::ServedColumns{{"select RDB$FIELD_NAME, RDB$FIELD_SOURCE, RDB$NULL_FLAG, RDB$RELATION_NAME",
                                      "from RDB$RELATION_FIELDS", "where RDB$SYSTEM_FLAG<>1"},
                                     {{"RDB$RELATION_NAME", "TNAME"}},
                                     {}};
// The columns the type texts are made of: with one row per table column, carrying the
// other columns of every row across would cost more than the whole comparison.
const std::vector<std::string> TTbl::FieldSql{
    "select RDB$FIELD_NAME, RDB$FIELD_TYPE, RDB$FIELD_LENGTH, RDB$FIELD_SUB_TYPE, RDB$SEGMENT_LENGTH,",
    "RDB$FIELD_PRECISION, RDB$FIELD_SCALE, RDB$CHARACTER_LENGTH, RDB$CHARACTER_SET_ID from RDB$FIELDS"};

TTbl::TTbl(TDM& dm, ReportSink& report)
    : Comparator(dm, report)
{
    NewTblFields.SetParam("TNAME", "TEST");
    OldTblFields.SetParam("TNAME", "TEST");
}

void TTbl::CheckTables(Progress& bar)
{
    // The Old transaction commits first here, the New one first in the other comparators.
    InBothTransactions(CommitOrder::OldFirst, [&] {
        Walk(NewTbl, OldTbl, bar, [this] { CompareTable(); },
             {&NewTblFields, &OldTblFields, &NewFields, &OldFields});
    });
}

void TTbl::OpenColumns(Side side, const std::string& table)
{
    Query& columns = TblFieldsQuery(side);
    columns.Close();
    columns.SetParam("TNAME", table);
    columns.Open();
}

void TTbl::CompareTable()
{
    const std::string table = TableName(Side::New);
    OpenColumns(Side::New, table);
    if (!OldTbl.Locate("RDB$RELATION_NAME", table)) {
        // The columns of a missing table come with its CREATE TABLE.
        CreateTable();
        return;
    }
    OpenColumns(Side::Old, table);
    for (NewTblFields.First(); !NewTblFields.Eof(); NewTblFields.Next()) {
        if (OldTblFields.Locate("RDB$FIELD_NAME", ColumnName(Side::New))) {
            if (!SameDomain())
                UpdateColumnDomain();
            if (!SameNullability())
                UpdateColumnNullFlag();
        } else {
            AddColumn();
        }
    }
}

bool TTbl::SameDomain()
{
    const bool newNamed = HasNamedDomain(Side::New);
    if (newNamed != HasNamedDomain(Side::Old))
        return false;
    if (newNamed)
        return ColumnDomain(Side::New) == ColumnDomain(Side::Old);
    // Two implicit domains have names of their own; their rendered types decide.
    return ColumnTypeText(Side::Old) == ColumnTypeText(Side::New);
}

std::string TTbl::ColumnTypeText(Side side)
{
    Query& fields = FieldsQuery(side);
    // Only an inconsistent database lacks the row; a stale row must not be read then.
    if (!fields.Locate("RDB$FIELD_NAME", ColumnDomain(side)))
        return "";
    return TypeText(TypeForm::Column, fields.AsInteger("RDB$FIELD_TYPE"), fields.AsString("RDB$FIELD_LENGTH"),
                    fields.AsString("RDB$FIELD_SUB_TYPE"), fields.AsString("RDB$SEGMENT_LENGTH"));
}

std::string TTbl::ColumnDeclaration()
{
    return ColumnName(Side::New) + " " +
           (HasNamedDomain(Side::New) ? ColumnDomain(Side::New) : ColumnTypeText(Side::New));
}

void TTbl::CreateTable()
{
    const std::string table = TableName(Side::New);
    std::vector<std::string> lines{"CREATE TABLE " + table, "("};
    NewTblFields.First();
    const auto columns = RowList(
        NewTblFields,
        [this] {
            std::string line = ColumnDeclaration();
            if (!ColumnNullable(Side::New))
                line += " NOT NULL";
            return line;
        },
        ",");
    lines.insert(lines.end(), columns.begin(), columns.end());
    lines.push_back(")");
    Fix(lines, "TABLE " + table, "TABLE", table, "not exist");
}

void TTbl::AddColumn()
{
    const std::string table = TableName(Side::New);
    const std::string column = ColumnName(Side::New);
    std::string line = "ADD " + ColumnDeclaration();
    if (!ColumnNullable(Side::New))
        line += " NOT NULL ";
    Fix({"ALTER TABLE " + table, line}, "TABLE " + table, "FIELD", table + "-" + column, "not exist");
}

void TTbl::UpdateColumnDomain()
{
    FixChangedColumn(ColumnDomainStatements(DM.OldDB.OdsMajorVersion()));
}

void TTbl::FixChangedColumn(const Statements& statements)
{
    const std::string table = TableName(Side::New);
    FixUnit(statements, "TABLE " + table, "FIELD", table + "-" + ColumnName(Side::New), "different");
}

Statements TTbl::RelationFieldUpdate(const std::string& assignment)
{
    return {{"UPDATE RDB$RELATION_FIELDS set", assignment,
             "WHERE RDB$FIELD_NAME = " + Quoted(ColumnName(Side::New)) + " and",
             "RDB$RELATION_NAME =" + Quoted(TableName(Side::New))}};
}

Statements TTbl::ColumnDomainStatements(int odsMajor)
{
    const std::string table = TableName(Side::New);
    const std::string column = ColumnName(Side::New);
    if (!HasNamedDomain(Side::New)) {
        // No domain name exists to point the column at: convert it to the New type instead,
        // written whole so that scale and character set survive the conversion.
        std::string type;
        if (NewFields.Locate("RDB$FIELD_NAME", ColumnDomain(Side::New)))
            type = NewCompleteTypeText(NewFields);
        return {{"ALTER TABLE " + table, "ALTER " + column + " TYPE " + type}};
    }
    if (odsMajor < 12)
        return RelationFieldUpdate("RDB$FIELD_SOURCE = " + Quoted(ColumnDomain(Side::New)));
    // Firebird 3 and later refuse writes to their system tables.
    return {{"ALTER TABLE " + table + " ALTER " + column + " TYPE " + ColumnDomain(Side::New)}};
}

void TTbl::UpdateColumnNullFlag()
{
    FixChangedColumn(NullFlagStatements(DM.OldDB.OdsMajorVersion()));
}

Statements TTbl::NullFlagStatements(int odsMajor)
{
    if (odsMajor < 12)
        return RelationFieldUpdate("RDB$NULL_FLAG = " + SqlValue(NewTblFields.AsString("RDB$NULL_FLAG"), false));
    // Firebird 3 and later refuse writes to their system tables.
    return {{"ALTER TABLE " + TableName(Side::New) + " ALTER " + ColumnName(Side::New) +
             (ColumnNullable(Side::New) ? " DROP NOT NULL" : " SET NOT NULL")}};
}
