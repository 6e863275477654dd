// Constraints and indices: the rows of five system tables joined here. An index a constraint
// owns is part of that constraint; the rest stand alone.
#include "schema/InspectReader.h"
#include "db/DbError.h"

#include <algorithm>

namespace schema::inspect {
namespace {

constexpr const char* kSegmentsSql =
    "SELECT RDB$INDEX_NAME AS INDEX_NAME, RDB$FIELD_NAME AS FIELD_NAME, RDB$FIELD_POSITION AS POS "
    "FROM RDB$INDEX_SEGMENTS";

constexpr const char* kIndicesSql =
    "SELECT RDB$INDEX_NAME AS INDEX_NAME, RDB$RELATION_NAME AS RELATION_NAME, RDB$UNIQUE_FLAG AS UNIQUE_FLAG, "
    "RDB$INDEX_TYPE AS INDEX_TYPE, RDB$INDEX_INACTIVE AS INACTIVE, "
    "RDB$EXPRESSION_SOURCE AS EXPRESSION_SOURCE, {RDB$INDICES.RDB$CONDITION_SOURCE}, "
    "RDB$DESCRIPTION AS DESCRIPTION FROM RDB$INDICES "
    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0";

constexpr const char* kReferencesSql =
    "SELECT RDB$CONSTRAINT_NAME AS CONSTRAINT_NAME, RDB$CONST_NAME_UQ AS CONST_NAME_UQ, "
    "RDB$UPDATE_RULE AS UPDATE_RULE, RDB$DELETE_RULE AS DELETE_RULE FROM RDB$REF_CONSTRAINTS";

constexpr const char* kCheckConstraintsSql =
    "SELECT RDB$CONSTRAINT_NAME AS CONSTRAINT_NAME, RDB$TRIGGER_NAME AS TRIGGER_NAME FROM RDB$CHECK_CONSTRAINTS";

constexpr const char* kCheckTriggersSql =
    "SELECT RDB$TRIGGER_NAME AS TRIGGER_NAME, RDB$TRIGGER_SOURCE AS TRIGGER_SOURCE "
    "FROM RDB$TRIGGERS WHERE RDB$SYSTEM_FLAG = 3";

constexpr const char* kConstraintsSql =
    "SELECT RDB$CONSTRAINT_NAME AS CONSTRAINT_NAME, RDB$CONSTRAINT_TYPE AS CONSTRAINT_TYPE, "
    "RDB$RELATION_NAME AS RELATION_NAME, RDB$INDEX_NAME AS INDEX_NAME FROM RDB$RELATION_CONSTRAINTS";

struct RefRow {
    std::string unique, updateRule, deleteRule;
};

struct ConstraintRow {
    std::string name, type, table, index;
};

ConstraintKind KindOf(const ConstraintRow& row)
{
    if (row.type == "PRIMARY KEY")
        return ConstraintKind::PrimaryKey;
    if (row.type == "UNIQUE")
        return ConstraintKind::Unique;
    if (row.type == "FOREIGN KEY")
        return ConstraintKind::ForeignKey;
    if (row.type == "CHECK")
        return ConstraintKind::Check;
    throw DbError("The catalog holds a constraint of a kind this comparison does not know: " + row.type + " (" +
                  row.name + ")");
}

// The rows, read once each, and the constraints made from them.
class Constraints {
public:
    Constraints(Reader& r, Catalog& catalog, Schema& schema) : r_(r), catalog_(catalog), schema_(schema) {}

    void Read()
    {
        ReadIndices();
        r_.Each(kReferencesSql, [&](Query& q) {
            refs_[q.AsTrimmed("CONSTRAINT_NAME")] = {q.AsTrimmed("CONST_NAME_UQ"), q.AsTrimmed("UPDATE_RULE"),
                                                    q.AsTrimmed("DELETE_RULE")};
        });
        // A CHECK's triggers, or a NOT NULL constraint's column.
        r_.Each(kCheckConstraintsSql, [&](Query& q) {
            checkTriggersOf_[q.AsTrimmed("CONSTRAINT_NAME")].push_back(q.AsTrimmed("TRIGGER_NAME"));
        });
        r_.Each(kCheckTriggersSql,
                [&](Query& q) { triggerSources_[q.AsTrimmed("TRIGGER_NAME")] = q.AsTrimmed("TRIGGER_SOURCE"); });
        r_.Each(kConstraintsSql, [&](Query& q) {
            rows_.push_back({q.AsTrimmed("CONSTRAINT_NAME"), q.AsTrimmed("CONSTRAINT_TYPE"),
                             q.AsTrimmed("RELATION_NAME"), q.AsTrimmed("INDEX_NAME")});
        });
        for (const auto& row : rows_)
            byName_[row.name] = &row;
        for (const auto& row : rows_)
            Add(row);
        for (auto& [name, ix] : indices_)
            if (!owned_.count(name))
                schema_.indices[name] = ix;
    }

private:
    void ReadIndices()
    {
        std::unordered_map<std::string, std::vector<std::pair<int, std::string>>> positioned;
        r_.Each(kSegmentsSql, [&](Query& q) {
            positioned[q.AsTrimmed("INDEX_NAME")].push_back({Int(q, "POS"), q.AsTrimmed("FIELD_NAME")});
        });
        // Sorted here rather than by the server: the rows are few per index.
        std::unordered_map<std::string, std::vector<std::string>> segments;
        for (auto& [index, fields] : positioned) {
            std::sort(fields.begin(), fields.end());
            for (auto& field : fields)
                segments[index].push_back(std::move(field.second));
        }
        r_.Each(kIndicesSql, [&](Query& q) {
            Index ix;
            ix.name = q.AsTrimmed("INDEX_NAME");
            ix.table = q.AsTrimmed("RELATION_NAME");
            ix.unique = Int(q, "UNIQUE_FLAG") == 1;
            ix.descending = Int(q, "INDEX_TYPE") == 1;
            ix.inactive = Int(q, "INACTIVE") == 1;
            ix.expressionSource = q.AsTrimmed("EXPRESSION_SOURCE");
            ix.conditionSource = q.AsTrimmed("CONDITION_SOURCE");
            ix.description = q.AsTrimmed("DESCRIPTION");
            ix.columns = segments[ix.name];
            indices_[ix.name] = ix;
        });
    }

    void Add(const ConstraintRow& row)
    {
        const bool generated = IsGeneratedConstraintName(row.name);
        if (row.type == "NOT NULL") {
            NamedNotNull(row, generated);
            return;
        }
        Constraint c;
        c.name = generated ? std::string() : row.name;
        c.table = row.table;
        c.kind = KindOf(row);
        if (c.kind == ConstraintKind::Check) {
            for (const auto& trigger : checkTriggersOf_[row.name]) {
                catalog_.checkTriggers.insert(trigger);
                if (c.checkSource.empty())
                    c.checkSource = triggerSources_[trigger];
            }
        } else {
            WithIndex(row, c);
        }
        schema_.constraintOrder.push_back(c.Key());
        schema_.constraintNames[c.Key()] = row.name;
        schema_.constraints[c.Key()] = c;
    }

    // A NOT NULL constraint the user named is a property of its column.
    void NamedNotNull(const ConstraintRow& row, bool generated)
    {
        auto rel = schema_.relations.find(row.table);
        const auto& cols = checkTriggersOf_[row.name];
        if (!generated && rel != schema_.relations.end() && !cols.empty())
            for (auto& c : rel->second.columns)
                if (c.name == cols.front())
                    c.notNullConstraint = row.name;
    }

    // A key's or a foreign key's columns come from its index, the references from the key it names.
    void WithIndex(const ConstraintRow& row, Constraint& c)
    {
        owned_.insert(row.index);
        auto ix = indices_.find(row.index);
        if (ix != indices_.end()) {
            c.columns = ix->second.columns;
            c.descending = ix->second.descending;
        }
        c.indexName = IsGeneratedIndexName(row.index) ? std::string() : row.index;
        if (c.kind != ConstraintKind::ForeignKey)
            return;
        auto ref = refs_.find(row.name);
        if (ref == refs_.end())
            return;
        c.onUpdate = ref->second.updateRule;
        c.onDelete = ref->second.deleteRule;
        auto uq = byName_.find(ref->second.unique);
        if (uq == byName_.end())
            return;
        c.refTable = uq->second->table;
        auto refIx = indices_.find(uq->second->index);
        if (refIx != indices_.end())
            c.refColumns = refIx->second.columns;
    }

    Reader& r_;
    Catalog& catalog_;
    Schema& schema_;
    std::unordered_map<std::string, Index> indices_;
    std::unordered_map<std::string, RefRow> refs_;
    std::unordered_map<std::string, std::vector<std::string>> checkTriggersOf_;  // constraint -> triggers / columns
    std::unordered_map<std::string, std::string> triggerSources_;
    std::vector<ConstraintRow> rows_;
    std::unordered_map<std::string, const ConstraintRow*> byName_;
    std::set<std::string> owned_;
};

}

void ReadConstraintsAndIndices(Reader& r, Catalog& catalog, Schema& schema)
{
    Constraints(r, catalog, schema).Read();
}

}
