// Keys and indices: primary keys by table, user indices and foreign keys by name.
#include "compare/Indices.h"

// Firebird 3 stores 0 for user and constraint indices, older servers NULL; the server's own have 1.
const std::vector<std::string> TIdx::IdxSql{"select * from RDB$INDICES",
                                           "where RDB$SYSTEM_FLAG IS NULL or RDB$SYSTEM_FLAG = 0"};
// Read once per index, so only the column name.
const std::vector<std::string> TIdx::IdxDefSql{"select RDB$FIELD_NAME from RDB$INDEX_SEGMENTS",
                                              "where RDB$INDEX_NAME=:IDXNAME", "order by RDB$FIELD_POSITION"};
const ServedRead TIdx::ServedIdxDef{{"select RDB$FIELD_NAME, RDB$INDEX_NAME, RDB$FIELD_POSITION from RDB$INDEX_SEGMENTS"},
                                    {{"RDB$INDEX_NAME", "IDXNAME"}},
                                    {"RDB$FIELD_POSITION"}};
const std::vector<std::string> TIdx::ConSql{"select * from RDB$RELATION_CONSTRAINTS",
                                           "where RDB$CONSTRAINT_TYPE='FOREIGN KEY'"};
const std::vector<std::string> TIdx::PrimSql{"select * from RDB$RELATION_CONSTRAINTS",
                                            "where RDB$CONSTRAINT_TYPE='PRIMARY KEY'"};
const std::vector<std::string> TIdx::ConRefSql{"select * from RDB$REF_CONSTRAINTS",
                                              "where RDB$CONSTRAINT_NAME=:CONNAME"};
const ServedRead TIdx::ServedConRef{{"select * from RDB$REF_CONSTRAINTS"}, {{"RDB$CONSTRAINT_NAME", "CONNAME"}}, {}};
const std::vector<std::string> TIdx::ConIdxSql{"select RDB$INDEX_NAME from RDB$RELATION_CONSTRAINTS"};

void TIdx::CheckIndices(Progress& bar)
{
    CheckPrimaryKeys(bar);
    CheckUserIndices(bar);
    CheckForeignKeys(bar);
}

std::string TIdx::IndexColumns(Side side)
{
    Query& segments = IdxDefQuery(side);
    segments.Open();
    segments.First();
    const std::string columns = ColumnList(segments, [&] { return Trim(segments.AsString("RDB$FIELD_NAME")); });
    segments.Close();
    return columns;
}

// Primary keys

void TIdx::CheckPrimaryKeys(Progress& bar)
{
    Walk(NewPrim, OldPrim, bar, [this] { ComparePrimaryKey(); });
}

void TIdx::ComparePrimaryKey()
{
    NewIdxDef.SetParam("IDXNAME", PrimIndexName(Side::New));
    const std::string newColumns = IndexColumns(Side::New);
    if (!OldPrim.Locate("RDB$RELATION_NAME", PrimRelation())) {
        AddPrimaryKey(newColumns);
        return;
    }
    // A renamed key is replaced even when its columns are the same.
    if (PrimConstraintName(Side::New) != PrimConstraintName(Side::Old)) {
        ReplacePrimaryKey(newColumns);
        return;
    }
    OldIdxDef.SetParam("IDXNAME", PrimIndexName(Side::Old));
    if (IndexColumns(Side::Old) != newColumns)
        ReplacePrimaryKey(newColumns);
}

std::vector<std::string> TIdx::AddPrimaryKeyLines(const std::string& columns)
{
    return {"ALTER TABLE " + PrimRelation(), "ADD CONSTRAINT " + PrimConstraintName(Side::New),
            "PRIMARY KEY (" + columns + ")"};
}

void TIdx::AddPrimaryKey(const std::string& columns)
{
    const std::string table = PrimRelation();
    Fix(AddPrimaryKeyLines(columns), "TABLE " + table, "PRIMARY KEY", table, "not exist");
}

void TIdx::ReplacePrimaryKey(const std::string& columns)
{
    const std::string table = PrimRelation();
    // One unit: a refused add must not leave the table without its old key.
    FixUnit({{"ALTER TABLE " + table, "DROP CONSTRAINT " + PrimConstraintName(Side::Old)},
             AddPrimaryKeyLines(columns)},
            "TABLE " + table, "PRIMARY KEY", table, "different");
}

// User indices

void TIdx::CheckUserIndices(Progress& bar)
{
    Walk(NewIdx, OldIdx, bar, [this] { CompareIndex(); }, {&NewConIdx});
}

void TIdx::CompareIndex()
{
    const std::string name = IdxName(Side::New);
    // The server names the indices it makes for unnamed constraints "RDB$...".
    if (name.compare(0, 4, "RDB$") == 0)
        return;
    // A named constraint's index carries the constraint's name; the key phases own it.
    if (NewConIdx.Locate("RDB$INDEX_NAME", name))
        return;
    NewIdxDef.SetParam("IDXNAME", name);
    const std::string newColumns = IndexColumns(Side::New);
    if (!OldIdx.Locate("RDB$INDEX_NAME", name)) {
        CreateIndex(newColumns);
        return;
    }
    OldIdxDef.SetParam("IDXNAME", name);
    if (IndexColumns(Side::Old) != newColumns)
        ReplaceIndex(newColumns);
}

std::vector<std::string> TIdx::CreateIndexLines(const std::string& columns)
{
    return {"CREATE INDEX " + IdxName(Side::New), "ON " + IdxRelation() + " (" + columns + ")"};
}

void TIdx::CreateIndex(const std::string& columns)
{
    Fix(CreateIndexLines(columns), "TABLE " + IdxRelation(), "INDEX", IdxName(Side::New), "not exist");
}

void TIdx::ReplaceIndex(const std::string& columns)
{
    const std::string name = IdxName(Side::New);
    // The drop and the create are committed together, so the index is never missing in between.
    FixUnit({{"DROP INDEX " + name}, CreateIndexLines(columns)}, "TABLE " + IdxRelation(), "INDEX", name,
            "different");
}

// Foreign keys

void TIdx::CheckForeignKeys(Progress& bar)
{
    ForgetServedReads();
    // NewIdx opens with NewCon, before the bar is set, and closes after the Old queries:
    // an order the shared walk does not offer, hence the loop of its own.
    NewCon.Open();
    NewCon.FetchAll();
    NewIdx.Open();
    bar.SetPosition(0);
    bar.SetMaximum(NewCon.RecordCount());
    OldCon.Open();
    OldIdx.Open();
    for (NewCon.First(); !NewCon.Eof(); NewCon.Next()) {
        bar.SetPosition(bar.Position() + 1);
        CompareForeignKey();
    }
    OldIdx.Close();
    OldCon.Close();
    NewIdx.Close();
    NewCon.Close();
}

TIdx::ForeignKeyFacts TIdx::GatherForeignKey(Side side)
{
    Query& con = ConQuery(side);
    const std::string name = Trim(con.AsString("RDB$CONSTRAINT_NAME"));
    const std::string keyIndex = Trim(con.AsString("RDB$INDEX_NAME"));
    ForeignKeyFacts facts;
    facts.Table = Trim(con.AsString("RDB$RELATION_NAME"));
    IdxDefQuery(side).SetParam("IDXNAME", keyIndex);
    facts.KeyColumns = IndexColumns(side);

    // A failed lookup leaves the reference empty rather than read from whatever row is current.
    Query& indices = IdxQuery(side);
    std::string refIndex;
    if (indices.Locate("RDB$INDEX_NAME", keyIndex))
        refIndex = Trim(indices.AsString("RDB$FOREIGN_KEY"));
    if (indices.Locate("RDB$INDEX_NAME", refIndex)) {
        facts.RefTable = Trim(indices.AsString("RDB$RELATION_NAME"));
        IdxDefQuery(side).SetParam("IDXNAME", refIndex);
        facts.RefColumns = IndexColumns(side);
    }

    Query& ref = ConRefQuery(side);
    ref.SetParam("CONNAME", name);
    ref.Open();
    if (ref.Eof()) {
        // Without a reference row the key is taken as the default, which writes no ON line.
        facts.DeleteRule = "RESTRICT";
        facts.UpdateRule = "RESTRICT";
    } else {
        facts.DeleteRule = Trim(ref.AsString("RDB$DELETE_RULE"));
        facts.UpdateRule = Trim(ref.AsString("RDB$UPDATE_RULE"));
    }
    ref.Close();
    return facts;
}

void TIdx::CompareForeignKey()
{
    const std::string name = Trim(NewCon.AsString("RDB$CONSTRAINT_NAME"));
    const ForeignKeyFacts newFacts = GatherForeignKey(Side::New);
    if (!OldCon.Locate("RDB$CONSTRAINT_NAME", name)) {
        AddForeignKey(newFacts, name);
        Report("CONSTRAINT", name, "not exist");
        return;
    }
    if (GatherForeignKey(Side::Old) == newFacts)
        return;
    ReplaceForeignKey(newFacts, name);
    Report("CONSTRAINT", name, "different");
}

std::vector<std::string> TIdx::AddForeignKeyLines(const ForeignKeyFacts& facts, const std::string& name)
{
    std::vector<std::string> lines{"ALTER TABLE " + facts.Table, "ADD CONSTRAINT " + name,
                                   "FOREIGN KEY (" + facts.KeyColumns + ")",
                                   "REFERENCES " + facts.RefTable + " (" + facts.RefColumns + ")"};
    if (facts.DeleteRule != "RESTRICT")
        lines.push_back("ON DELETE " + facts.DeleteRule);
    if (facts.UpdateRule != "RESTRICT")
        lines.push_back("ON UPDATE " + facts.UpdateRule);
    return lines;
}

void TIdx::AddForeignKey(const ForeignKeyFacts& facts, const std::string& name)
{
    Dispatch(AddForeignKeyLines(facts, name), "TABLE " + facts.Table);
}

void TIdx::ReplaceForeignKey(const ForeignKeyFacts& facts, const std::string& name)
{
    // One unit: a refused add must not leave the table without its old key.
    DispatchUnit({{"ALTER TABLE " + facts.Table, "DROP CONSTRAINT " + name}, AddForeignKeyLines(facts, name)},
                 "TABLE " + facts.Table);
}
