// Table and column comparison: CREATE TABLE, the ALTER TABLE ... ADD of a missing column, domain and null fixes.
#pragma once
#include "compare/Comparator.h"

class TTbl : public Comparator {
public:
    TTbl(TDM& dm, ReportSink& report);

    // Both transactions end with full commits, the Old one first.
    void CheckTables(Progress& bar);

private:
    friend struct ComparatorPeer;

    Query& TblQuery(Side side) { return tbls_[side]; }
    Query& TblFieldsQuery(Side side) { return tblFields_[side]; }
    Query& FieldsQuery(Side side) { return fields_[side]; }

    std::string TableName(Side side) { return Trim(TblQuery(side).AsString("RDB$RELATION_NAME")); }
    std::string ColumnName(Side side) { return Trim(TblFieldsQuery(side).AsString("RDB$FIELD_NAME")); }
    std::string ColumnDomain(Side side) { return Trim(TblFieldsQuery(side).AsString("RDB$FIELD_SOURCE")); }
    // Domains the database made for a column declared with a datatype are named "RDB$...".
    bool HasNamedDomain(Side side) { return ColumnDomain(side).compare(0, 4, "RDB$") != 0; }
    bool ColumnNullable(Side side) { return TblFieldsQuery(side).AsString("RDB$NULL_FLAG") != "1"; }
    bool SameDomain();
    bool SameNullability() { return ColumnNullable(Side::Old) == ColumnNullable(Side::New); }
    // The column form of the type of the side's current column, read from its domain's row.
    std::string ColumnTypeText(Side side);

    void CompareTable();
    void CreateTable();
    void AddColumn();
    void UpdateColumnDomain();
    void UpdateColumnNullFlag();
    // The statements of the two fixes for an Old Database of the given on-disk structure version.
    Statements ColumnDomainStatements(int odsMajor);
    Statements NullFlagStatements(int odsMajor);
    // Either fix of a column found different, reported as such.
    void FixChangedColumn(const Statements& statements);
    // The older servers' form of both: the column's row of RDB$RELATION_FIELDS overwritten.
    Statements RelationFieldUpdate(const std::string& assignment);

    // The column's name, a blank and its domain's name or, for an implicit domain, its type.
    std::string ColumnDeclaration();
    // Reopens the side's column query on the columns of the table.
    void OpenColumns(Side side, const std::string& table);

    static const std::vector<std::string> TableSql;
    static const std::vector<std::string> ColumnSql;
    static const ServedRead ServedColumns;
    static const std::vector<std::string> FieldSql;

    QueryPair tbls_{DM, TableSql};
    QueryPair tblFields_{DM, ColumnSql, ServedColumns};
    QueryPair fields_{DM, FieldSql};
    Query& NewTbl = tbls_.New;
    Query& OldTbl = tbls_.Old;
    Query& NewTblFields = tblFields_.New;
    Query& OldTblFields = tblFields_.Old;
    Query& NewFields = fields_.New;
    Query& OldFields = fields_.Old;
};
