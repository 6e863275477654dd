// Primary key, user index and foreign key comparison, run as three phases in that order.
#pragma once
#include "compare/Comparator.h"

class TIdx : public Comparator {
public:
    using Comparator::Comparator;

    void CheckIndices(Progress& bar);
    void CheckPrimaryKeys(Progress& bar);
    void CheckUserIndices(Progress& bar);
    void CheckForeignKeys(Progress& bar);

private:
    friend struct ComparatorPeer;

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

    Query& IdxQuery(Side side) { return idxs_[side]; }
    Query& PrimQuery(Side side) { return prims_[side]; }
    Query& IdxDefQuery(Side side) { return idxDefs_[side]; }
    Query& ConQuery(Side side) { return cons_[side]; }
    Query& ConRefQuery(Side side) { return conRefs_[side]; }

    // The column list of the index named by the IDXNAME of IdxDefQuery(side), set by the caller.
    std::string IndexColumns(Side side);

    std::string PrimIndexName(Side side) { return Trim(PrimQuery(side).AsString("RDB$INDEX_NAME")); }
    std::string PrimConstraintName(Side side) { return Trim(PrimQuery(side).AsString("RDB$CONSTRAINT_NAME")); }
    std::string PrimRelation() { return Trim(NewPrim.AsString("RDB$RELATION_NAME")); }
    void ComparePrimaryKey();
    void AddPrimaryKey(const std::string& columns);
    void ReplacePrimaryKey(const std::string& columns);

    std::string IdxName(Side side) { return Trim(IdxQuery(side).AsString("RDB$INDEX_NAME")); }
    std::string IdxRelation() { return Trim(NewIdx.AsString("RDB$RELATION_NAME")); }
    void CompareIndex();
    void CreateIndex(const std::string& columns);
    void ReplaceIndex(const std::string& columns);

    // The facts of the current row of ConQuery(side).
    ForeignKeyFacts GatherForeignKey(Side side);
    void CompareForeignKey();
    void AddForeignKey(const ForeignKeyFacts& facts, const std::string& name);
    void ReplaceForeignKey(const ForeignKeyFacts& facts, const std::string& name);

    // The statement of each add, shared by the add and by the replace that drops first.
    std::vector<std::string> AddPrimaryKeyLines(const std::string& columns);
    std::vector<std::string> CreateIndexLines(const std::string& columns);
    std::vector<std::string> AddForeignKeyLines(const ForeignKeyFacts& facts, const std::string& name);

    static const std::vector<std::string> IdxSql;
    static const std::vector<std::string> IdxDefSql;
    static const ServedRead ServedIdxDef;
    static const std::vector<std::string> ConSql;
    static const std::vector<std::string> PrimSql;
    static const std::vector<std::string> ConRefSql;
    static const ServedRead ServedConRef;
    static const std::vector<std::string> ConIdxSql;
    QueryPair idxs_{DM, IdxSql};
    QueryPair idxDefs_{DM, IdxDefSql, ServedIdxDef};
    QueryPair prims_{DM, PrimSql};
    QueryPair cons_{DM, ConSql};
    QueryPair conRefs_{DM, ConRefSql, ServedConRef};
    Query& NewIdx = idxs_.New;
    Query& OldIdx = idxs_.Old;
    Query& NewIdxDef = idxDefs_.New;
    Query& OldIdxDef = idxDefs_.Old;
    Query& NewPrim = prims_.New;
    Query& OldPrim = prims_.Old;
    Query& NewCon = cons_.New;
    Query& OldCon = cons_.Old;
    Query& NewConRef = conRefs_.New;
    Query& OldConRef = conRefs_.Old;
    // The indices of the New Database that enforce a constraint; the key phases own them.
    Query NewConIdx{DM.NewDB, DM.NewTran, ConIdxSql};
};
