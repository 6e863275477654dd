// Primary key, user index and foreign key comparison, run as three phases in that order.
#pragma once
#include "compare/Comparator.h"

class TIdx : public Comparator {
public:
    TIdx(TDM& dm, ReportSink& report);

    // A foreign key as both sides describe it; two keys match when all six texts are equal.
    struct ForeignKeyFacts {
        std::string Table;
        std::string KeyColumns;
        std::string RefTable;
        std::string RefColumns;
        std::string DeleteRule;
        std::string UpdateRule;
        bool operator==(const ForeignKeyFacts&) const = default;
    };

    void CheckIndices(Progress& bar);
    void CheckPrimaryKeys(Progress& bar);
    void CheckUserIndices(Progress& bar);
    void CheckForeignKeys(Progress& bar);

    Query& IdxQuery(int side) { return side == 1 ? NewIdx : OldIdx; }
    Query& PrimQuery(int side) { return side == 1 ? NewPrim : OldPrim; }
    Query& IdxDefQuery(int side) { return side == 1 ? NewIdxDef : OldIdxDef; }
    Query& ConQuery(int side) { return side == 1 ? NewCon : OldCon; }
    Query& ConRefQuery(int side) { return side == 1 ? NewConRef : OldConRef; }

    // The column list of the index named by the IDXNAME of IdxDefQuery(side), set by the caller.
    std::string IndexColumns(int side);

    std::string PrimIndexName(int side) { return Trim(PrimQuery(side).AsString("RDB$INDEX_NAME")); }
    std::string PrimConstraintName(int side) { return Trim(PrimQuery(side).AsString("RDB$CONSTRAINT_NAME")); }
    std::string PrimRelation() { return Trim(NewPrim.AsString("RDB$RELATION_NAME")); }
    void ComparePrimaryKey();
    void AddPrimaryKey(const std::string& columns);
    void ReplacePrimaryKey(const std::string& columns);

    std::string IdxName(int side) { return Trim(IdxQuery(side).AsString("RDB$INDEX_NAME")); }
    std::string IdxRelation() { return Trim(NewIdx.AsString("RDB$RELATION_NAME")); }
    void CompareIndex();
    void CreateIndex(const std::string& columns);
    void ReplaceIndex(const std::string& columns);

    // The facts of the current row of ConQuery(side).
    ForeignKeyFacts GatherForeignKey(int side);
    void CompareForeignKey();
    void AddForeignKey(const ForeignKeyFacts& facts, const std::string& name);
    void ReplaceForeignKey(const ForeignKeyFacts& facts, const std::string& name);

    Query OldIdx;
    Query NewIdx;
    Query OldIdxDef;
    Query NewIdxDef;
    Query OldCon;
    Query NewPrim;
    Query OldPrim;
    Query NewCon;
    Query OldConRef;
    Query NewConRef;
    // The indices of the New Database that enforce a constraint; the key phases own them.
    Query NewConIdx;

private:
    // The statement of each add, shared by the add and by the replace that drops first.
    std::vector<std::string> AddPrimaryKeyLines(const std::string& columns);
    std::vector<std::string> CreateIndexLines(const std::string& columns);
    std::vector<std::string> AddForeignKeyLines(const ForeignKeyFacts& facts, const std::string& name);
};
