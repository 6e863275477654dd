// Tables and columns: views and system tables are left out; nothing is ever dropped.
#include "compare/Tables.h"
#include "compare/TypeText.h"

namespace {
const std::vector<std::string> TableSql{"select * from RDB$RELATIONS", "where RDB$VIEW_SOURCE is NULL and",
                                        "RDB$SYSTEM_FLAG<>1"};
// Read once per table, so only the three columns the comparison uses.
const std::vector<std::string> ColumnSql{"select RDB$FIELD_NAME, RDB$FIELD_SOURCE, RDB$NULL_FLAG",
                                         "from RDB$RELATION_FIELDS", "where RDB$RELATION_NAME=:TNAME and",
                                         "RDB$SYSTEM_FLAG<>1"};
// The columns the type texts are made of: with one row per table column, carrying the
// other columns of every row across would cost more than the whole comparison.
const std::vector<std::string> FieldSql{
    "select RDB$FIELD_NAME, RDB$FIELD_TYPE, RDB$FIELD_LENGTH, RDB$FIELD_SUB_TYPE, RDB$SEGMENT_LENGTH,",
    "RDB$FIELD_PRECISION, RDB$FIELD_SCALE, RDB$CHARACTER_LENGTH, RDB$CHARACTER_SET_ID from RDB$FIELDS"};
}

TTbl::TTbl(TDM& dm, ReportSink& report)
    : Comparator(dm, report),
      NewTbl(dm.NewDB, dm.NewTran, TableSql),
      OldTbl(dm.OldDB, dm.OldTran, TableSql),
      NewTblFields(dm.NewDB, dm.NewTran, ColumnSql),
      OldTblFields(dm.OldDB, dm.OldTran, ColumnSql),
      NewFields(dm.NewDB, dm.NewTran, FieldSql),
      OldFields(dm.OldDB, dm.OldTran, FieldSql)
{
    NewTblFields.SetParam("TNAME", "TEST");
    OldTblFields.SetParam("TNAME", "TEST");
}

void TTbl::CheckTables(Progress& bar)
{
    DM.NewTran.StartTransaction();
    DM.OldTran.StartTransaction();
    Walk(NewTbl, OldTbl, bar, [this] { CompareTable(); },
         {&NewTblFields, &OldTblFields, &NewFields, &OldFields});
    // Full commits: both transactions end here, unlike the retaining commit after a fix.
    DM.OldTran.Commit();
    DM.NewTran.Commit();
}

void TTbl::OpenColumns(int side, const std::string& table)
{
    Query& columns = TblFieldsQuery(side);
    columns.Close();
    columns.SetParam("TNAME", table);
    columns.Open();
}

void TTbl::CompareTable()
{
    const std::string table = TableName(1);
    OpenColumns(1, table);
    if (!OldTbl.Locate("RDB$RELATION_NAME", table)) {
        // The columns of a missing table come with its CREATE TABLE.
        CreateTable();
        return;
    }
    OpenColumns(2, table);
    for (NewTblFields.First(); !NewTblFields.Eof(); NewTblFields.Next()) {
        if (OldTblFields.Locate("RDB$FIELD_NAME", ColumnName(1))) {
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
    const bool newNamed = HasNamedDomain(1);
    if (newNamed != HasNamedDomain(2))
        return false;
    if (newNamed)
        return ColumnDomain(1) == ColumnDomain(2);
    // Two implicit domains have names of their own; their rendered types decide.
    return ColumnTypeText(2) == ColumnTypeText(1);
}

std::string TTbl::ColumnTypeText(int side)
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
    return ColumnName(1) + " " + (HasNamedDomain(1) ? ColumnDomain(1) : ColumnTypeText(1));
}

void TTbl::CreateTable()
{
    const std::string table = TableName(1);
    std::vector<std::string> lines{"CREATE TABLE " + table, "("};
    NewTblFields.First();
    while (!NewTblFields.Eof()) {
        std::string line = ColumnDeclaration();
        if (!ColumnNullable(1))
            line += " NOT NULL";
        NewTblFields.Next();
        // Tested after the move: the last column's line has no comma.
        if (!NewTblFields.Eof())
            line += ",";
        lines.push_back(line);
    }
    lines.push_back(")");
    Fix(lines, "TABLE " + table, "TABLE", table, "not exist");
}

void TTbl::AddColumn()
{
    const std::string table = TableName(1);
    const std::string column = ColumnName(1);
    std::string line = "ADD " + ColumnDeclaration();
    if (!ColumnNullable(1))
        line += " NOT NULL ";
    Fix({"ALTER TABLE " + table, line}, "TABLE " + table, "FIELD", table + "-" + column, "not exist");
}

void TTbl::UpdateColumnDomain()
{
    const std::string table = TableName(1);
    FixUnit(ColumnDomainStatements(DM.OldDB.OdsMajorVersion()), "TABLE " + table, "FIELD",
            table + "-" + ColumnName(1), "different");
}

Statements TTbl::ColumnDomainStatements(int odsMajor)
{
    const std::string table = TableName(1);
    const std::string column = ColumnName(1);
    if (!HasNamedDomain(1)) {
        // No domain name exists to point the column at: convert it to the New type instead,
        // written whole so that scale and character set survive the conversion.
        std::string type;
        if (NewFields.Locate("RDB$FIELD_NAME", ColumnDomain(1)))
            type = NewCompleteTypeText(NewFields);
        return {{"ALTER TABLE " + table, "ALTER " + column + " TYPE " + type}};
    }
    if (odsMajor < 12)
        return {{"UPDATE RDB$RELATION_FIELDS set", "RDB$FIELD_SOURCE = " + Quoted(ColumnDomain(1)),
                 "WHERE RDB$FIELD_NAME = " + Quoted(column) + " and", "RDB$RELATION_NAME =" + Quoted(table)}};
    // Firebird 3 and later refuse writes to their system tables.
    return {{"ALTER TABLE " + table + " ALTER " + column + " TYPE " + ColumnDomain(1)}};
}

void TTbl::UpdateColumnNullFlag()
{
    const std::string table = TableName(1);
    FixUnit(NullFlagStatements(DM.OldDB.OdsMajorVersion()), "TABLE " + table, "FIELD", table + "-" + ColumnName(1),
            "different");
}

Statements TTbl::NullFlagStatements(int odsMajor)
{
    const std::string table = TableName(1);
    const std::string column = ColumnName(1);
    if (odsMajor < 12)
        return {{"UPDATE RDB$RELATION_FIELDS set",
                 "RDB$NULL_FLAG = " + SqlValue(TblFieldsQuery(1).AsString("RDB$NULL_FLAG"), false),
                 "WHERE RDB$FIELD_NAME = " + Quoted(column) + " and", "RDB$RELATION_NAME =" + Quoted(table)}};
    // Firebird 3 and later refuse writes to their system tables.
    return {{"ALTER TABLE " + table + " ALTER " + column + (ColumnNullable(1) ? " DROP NOT NULL" : " SET NOT NULL")}};
}
