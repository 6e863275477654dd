// Table and column comparison: missing tables and columns, and columns whose domain or nullability differ.
#pragma once
#include "compare/Comparator.h"

class TTbl : public Comparator {
public:
    TTbl(TDM& dm, ReportSink& report);

    void CheckTables(Progress& bar);

    Query& TblQuery(int side) { return side == 1 ? NewTbl : OldTbl; }
    Query& TblFieldsQuery(int side) { return side == 1 ? NewTblFields : OldTblFields; }
    Query& FieldsQuery(int side) { return side == 1 ? NewFields : OldFields; }

    std::string TableName(int side) { return Trim(TblQuery(side).AsString("RDB$RELATION_NAME")); }
    std::string ColumnName(int side) { return Trim(TblFieldsQuery(side).AsString("RDB$FIELD_NAME")); }
    std::string ColumnDomain(int side) { return Trim(TblFieldsQuery(side).AsString("RDB$FIELD_SOURCE")); }
    // Domains the database made for a column declared with a datatype are named "RDB$...".
    bool HasNamedDomain(int side) { return ColumnDomain(side).compare(0, 4, "RDB$") != 0; }
    bool ColumnNullable(int side) { return TblFieldsQuery(side).AsString("RDB$NULL_FLAG") != "1"; }
    bool SameDomain();
    bool SameNullability() { return ColumnNullable(2) == ColumnNullable(1); }
    // The column form of the type of the side's current column, read from its domain's row.
    std::string ColumnTypeText(int side);

    void CompareTable();
    void CreateTable();
    void AddColumn();
    void UpdateColumnDomain();
    void UpdateColumnNullFlag();
    // The statements of the two fixes for an Old Database of the given on-disk structure version.
    Statements ColumnDomainStatements(int odsMajor);
    Statements NullFlagStatements(int odsMajor);

    Query NewTbl;
    Query OldTbl;
    Query NewTblFields;
    Query OldTblFields;
    Query NewFields;
    Query OldFields;

private:
    // The column's name, a blank and its domain's name or, for an implicit domain, its type.
    std::string ColumnDeclaration();
    // Reopens the side's column query on the columns of the table.
    void OpenColumns(int side, const std::string& table);
};
