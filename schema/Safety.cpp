// Counting queries on Old for what a plan would run into; the number of queries follows the
// number of changes, never the number of objects.
#include "schema/Safety.h"
#include "schema/Ddl.h"
#include "schema/TypeChange.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/ValueBatch.h"

#include <cctype>
#include <set>

namespace schema {
namespace {

std::string Rows(long long count)
{
    return std::to_string(count) + (count == 1 ? " row" : " rows");
}

// The verb after a count: "1 row has", "3 rows have".
std::string Verb(long long count, const char* one, const char* many)
{
    return count == 1 ? one : many;
}

class Checker {
public:
    Checker(Connection& connection, Transaction& transaction, const Schema& old, const Schema& neu, bool migrating)
        : connection_(connection), transaction_(transaction), old_(old), neu_(neu), ddl_(old.dialect),
          migrating_(migrating), counts_(connection, transaction, static_cast<unsigned short>(old.dialect))
    {
    }

    SafetyResult Run(const std::vector<Change>& changes)
    {
        // A first walk only gathers the counts the changes ask for, which are then read many
        // in one select; the walk that decides finds them there.
        collecting_ = true;
        Walk(changes);
        collecting_ = false;
        counts_.Read(asked_);
        result_ = SafetyResult{};
        retyped_.clear();
        restarted_.clear();
        Walk(changes);
        return std::move(result_);
    }

private:
    void Walk(const std::vector<Change>& changes)
    {
        for (const auto& change : changes) {
            try {
                if (change.action == Action::Alter)
                    for (const auto& p : change.properties)
                        Altered(change, p);
                else if (change.action == Action::Create)
                    Created(change);
                else
                    Dropped(change);
            } catch (const DdlError&) {
                // A name Old's dialect cannot write is refused by the plan itself, with its name.
            }
        }
        try {
            CheckTypes();
            GeneratorValues();
        } catch (const DdlError&) {
            // A type or a name Old's dialect cannot write is refused by the plan itself, with its name.
        }
    }

    long long Count(const std::string& sql)
    {
        if (collecting_) {
            asked_.push_back(sql);
            return 0;
        }
        if (const auto known = counts_.Find(sql))
            return *known;
        Query query(connection_, transaction_, {sql});
        query.Dialect = static_cast<unsigned short>(old_.dialect);
        query.Open();
        const long long count = query.Eof() ? 0 : query.AsInteger("N");
        query.Close();
        return count;
    }

    long long TableRows(const std::string& table)
    {
        auto known = result_.rowCounts.find(table);
        if (known != result_.rowCounts.end())
            return known->second;
        const long long rows = Count("SELECT COUNT(*) AS N FROM " + ddl_.Name(table));
        result_.rowCounts[table] = rows;
        return rows;
    }

    void Issue(const Change& c, const std::string& message) { result_.issues.push_back({c.kind, c.name, message}); }

    void NotNull(const Change& c, const std::string& table, const std::string& column)
    {
        const long long n = Count("SELECT COUNT(*) AS N FROM " + ddl_.Name(table) + " WHERE " + ddl_.Name(column) +
                                  " IS NULL");
        if (n > 0)
            Issue(c, "would fail: " + Rows(n) + " of " + table + " " + Verb(n, "has ", "have ") + column + " NULL");
    }

    // One property that differs, as the report lists them.
    void Altered(const Change& c, const PropertyChange& p)
    {
        const bool notNull = p.property == Property::Nullability && p.newValue == "not null";
        if (c.kind == ObjectKind::Field && notNull)
            NotNull(c, c.table, c.key);
        else if (c.kind == ObjectKind::Domain && notNull)
            for (const auto& [table, column] : ColumnsOfDomain(old_, c.key))
                if (!column->notNull)
                    NotNull(c, table, column->name);
        if (c.kind == ObjectKind::Field && p.property == Property::Type)
            TypeChanged(c, c.table, c.key, ColumnType(c.From<Column>(), old_), ColumnType(c.To<Column>(), neu_));
        if (c.kind == ObjectKind::Domain && p.property == Property::Type)
            for (const auto& [table, column] : ColumnsOfDomain(old_, c.key))
                TypeChanged(c, table, column->name, c.From<Domain>().type, c.To<Domain>().type);
        if (c.kind == ObjectKind::Domain && p.property == Property::Check)
            for (const auto& [table, column] : ColumnsOfDomain(old_, c.key))
                DomainCheck(c, table, column->name, c.To<Domain>().validationSource);
        if (c.kind == ObjectKind::Constraint)
            NewConstraint(c, c.To<Constraint>());
        if (c.kind == ObjectKind::Generator && p.property == Property::InitialValue)
            restarted_.push_back(c.key);
        // An identity column made or unmade: only an empty table's column is rebuilt.
        if (c.kind == ObjectKind::Field && p.property == Property::Identity)
            TableRows(c.table);
    }

    // Where the generators whose start changes stand, all in one select.
    void GeneratorValues()
    {
        if (restarted_.empty() || collecting_)
            return;
        std::vector<std::string> columns;
        for (std::size_t i = 0; i < restarted_.size(); ++i)
            columns.push_back("GEN_ID(" + ddl_.Name(restarted_[i]) + ", 0) AS G" + std::to_string(i));
        Query query(connection_, transaction_, {"SELECT " + Joined(columns) + " FROM RDB$DATABASE"});
        query.Dialect = static_cast<unsigned short>(old_.dialect);
        query.Open();
        for (std::size_t i = 0; i < restarted_.size(); ++i)
            result_.generatorValues[restarted_[i]] = query.AsInteger("G" + std::to_string(i));
        query.Close();
    }

    // A domain's new CHECK holds for every column of the domain, as a table's CHECK does for its table.
    void DomainCheck(const Change& c, const std::string& table, const std::string& column, const std::string& check)
    {
        const auto open = check.find('(');
        if (open == std::string::npos)
            return;
        const std::string expression = WithValueAs(check.substr(open), ddl_.Name(column));
        try {
            const long long n = Count("SELECT COUNT(*) AS N FROM " + ddl_.Name(table) + " WHERE NOT " + expression);
            if (n > 0)
                Issue(c, "would fail: " + Rows(n) + " of " + table + " " + Verb(n, "has ", "have ") + column +
                             " that " + Verb(n, "breaks ", "break ") + check);
        } catch (const DbError&) {
            // An expression that names what Old does not have yet cannot be tried on its rows.
        }
    }

    // The expression with the word VALUE, outside strings and quoted names, as the column.
    static std::string WithValueAs(const std::string& expression, const std::string& column)
    {
        auto word = [](char ch) { return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '$'; };
        std::string out;
        for (std::size_t i = 0; i < expression.size();) {
            const char ch = expression[i];
            if (ch == '\'' || ch == '"') {
                const std::size_t end = expression.find(ch, i + 1);
                const std::size_t stop = end == std::string::npos ? expression.size() : end + 1;
                out += expression.substr(i, stop - i);
                i = stop;
            } else if (word(ch)) {
                std::size_t end = i;
                while (end < expression.size() && word(expression[end]))
                    ++end;
                std::string token = expression.substr(i, end - i), upper = token;
                for (char& u : upper)
                    u = static_cast<char>(std::toupper(static_cast<unsigned char>(u)));
                out += upper == "VALUE" ? column : token;
                i = end;
            } else {
                out += ch;
                ++i;
            }
        }
        return out;
    }

    // A column's new type, checked with the other type changes of its table in one select.
    void TypeChanged(const Change& c, const std::string& table, const std::string& column, const Type& from,
                     const Type& to)
    {
        retyped_[table].push_back({&c, column, from, to, ClassifyTypeChange(from, to, old_.database.defaultCharset)});
    }

    struct Retyped {
        const Change* change;
        std::string column;
        Type from, to;
        TypeChange rule;
    };

    // One select a table counts its rows and the rows each hazard harms; a second tries the
    // CASTs a value-by-value conversion needs, which fail rather than count.
    void CheckTypes()
    {
        for (const auto& [table, columns] : retyped_) {
            std::string sql = "SELECT COUNT(*) AS N";
            std::vector<std::pair<const Retyped*, Hazard>> counted;
            std::vector<const Retyped*> converted;
            for (const auto& r : columns)
                for (Hazard hazard : r.rule.hazards) {
                    if (hazard == Hazard::Conversion) {
                        converted.push_back(&r);
                        continue;
                    }
                    sql += ", SUM(IIF(" + HazardCondition(hazard, r.from, r.to, ddl_.Name(r.column)) + ", 1, 0)) AS H" +
                           std::to_string(counted.size());
                    counted.push_back({&r, hazard});
                }
            // Without a hazard to count, the rows are counted with the others (Count).
            long long rows = 0;
            if (counted.empty()) {
                rows = Count(sql + " FROM " + ddl_.Name(table));
            } else if (collecting_) {
                continue;
            } else {
                Query query(connection_, transaction_, {sql + " FROM " + ddl_.Name(table)});
                query.Dialect = static_cast<unsigned short>(old_.dialect);
                query.Open();
                rows = query.AsInteger("N");
                for (std::size_t i = 0; i < counted.size(); ++i) {
                    const std::string field = "H" + std::to_string(i);
                    const long long n = query.IsNull(field) ? 0 : query.AsInteger(field);
                    if (n > 0)
                        Harmed(*counted[i].first, counted[i].second, Rows(n) + " of " + table, n == 1);
                }
                query.Close();
            }
            result_.rowCounts[table] = rows;
            if (rows > 0 && !converted.empty())
                TryConversions(table, converted);
            if (!migrating_ || rows == 0)
                continue;
            for (const auto& r : columns)
                if (r.rule.route != TypeRoute::InPlace || result_.notInPlace.count(r.change->name)) {
                    RewrittenChecks(table, *r.change);
                    break;
                }
        }
    }

    // A data migration rewrites every row of its table, and the server tries the table's CHECKs
    // and its columns' domain CHECKs on each: rows Old already holds against them refuse it.
    void RewrittenChecks(const std::string& table, const Change& c)
    {
        std::vector<std::string> checks;
        for (const auto& key : old_.constraintOrder) {
            const Constraint& k = old_.constraints.at(key);
            if (k.kind == ConstraintKind::Check && k.table == table && k.checkSource.find('(') != std::string::npos)
                checks.push_back(k.checkSource);
        }
        std::vector<std::string> conditions;
        for (const auto& check : checks)
            conditions.push_back(check.substr(check.find('(')));
        for (const auto& column : old_.relations.at(table).columns) {
            auto d = column.domain.empty() ? old_.domains.end() : old_.domains.find(column.domain);
            if (d == old_.domains.end() || d->second.validationSource.find('(') == std::string::npos)
                continue;
            const std::string& check = d->second.validationSource;
            checks.push_back(check + " of " + column.name);
            conditions.push_back(WithValueAs(check.substr(check.find('(')), ddl_.Name(column.name)));
        }
        if (checks.empty())
            return;
        std::vector<std::string> sums;
        for (std::size_t i = 0; i < conditions.size(); ++i)
            sums.push_back("SUM(IIF(NOT " + conditions[i] + ", 1, 0)) AS C" + std::to_string(i));
        try {
            Query query(connection_, transaction_, {"SELECT " + Joined(sums) + " FROM " + ddl_.Name(table)});
            query.Dialect = static_cast<unsigned short>(old_.dialect);
            query.Open();
            for (std::size_t i = 0; i < checks.size(); ++i) {
                const std::string field = "C" + std::to_string(i);
                const long long n = query.IsNull(field) ? 0 : query.AsInteger(field);
                if (n > 0)
                    Issue(c, "would fail: a data migration rewrites every row of " + table + ", and " + Rows(n) + " " +
                                 Verb(n, "breaks ", "break ") + checks[i]);
            }
            query.Close();
        } catch (const DbError&) {
            // A CHECK that cannot be tried as a select is left to the server.
        }
    }

    void TryConversions(const std::string& table, const std::vector<const Retyped*>& converted)
    {
        auto cast = [&](const Retyped& r) {
            return "COUNT(CAST(" + ddl_.Name(r.column) + " AS " + ddl_.PlainType(r.to) + "))";
        };
        std::string all;
        for (const Retyped* r : converted)
            all += std::string(all.empty() ? "" : ", ") + cast(*r);
        try {
            Count("SELECT " + all + " AS N FROM " + ddl_.Name(table));
            return;
        } catch (const DbError&) {
            // Some value does not convert: each column on its own tells which.
        }
        for (const Retyped* r : converted) {
            try {
                Count("SELECT " + cast(*r) + " AS N FROM " + ddl_.Name(table));
            } catch (const DbError& error) {
                Harmed(*r, Hazard::Conversion, "rows of " + table, false, LastLine(error.what()));
            }
        }
    }

    void Harmed(const Retyped& r, Hazard hazard, const std::string& rows, bool one,
                const std::string& because = "")
    {
        const bool fails = HazardFails(hazard);
        std::string message = std::string(fails ? "would fail: " : "would cut: ") + rows + " " +
                              HazardWhat(hazard, r.to, r.column, ddl_.PlainType(r.to), one);
        if (!because.empty())
            message += " (" + because + ")";
        Issue(*r.change, message);
        // Read in the new type, such a value would fail every read of its row: the type is
        // never changed in place over it.
        if (fails)
            result_.notInPlace.insert(r.change->name);
    }

    // The server's last line says most: "Cannot transliterate character between character sets".
    static std::string LastLine(std::string text)
    {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        const auto start = text.find_last_of("\r\n");
        text = start == std::string::npos ? text : text.substr(start + 1);
        return !text.empty() && text[0] == '-' ? text.substr(1) : text;
    }

    void Created(const Change& c)
    {
        if (c.kind == ObjectKind::Constraint) {
            NewConstraint(c, c.To<Constraint>());
        } else if (c.kind == ObjectKind::Field) {
            const Column& column = c.To<Column>();
            const bool defaulted = !column.defaultSource.empty() ||
                                   (!column.domain.empty() && neu_.domains.count(column.domain) &&
                                    !neu_.domains.at(column.domain).defaultSource.empty());
            const bool notNull = column.notNull || (!column.domain.empty() && neu_.domains.count(column.domain) &&
                                                    neu_.domains.at(column.domain).notNull);
            if (notNull && !defaulted && column.computedSource.empty() && !column.identityType) {
                const long long rows = TableRows(c.table);
                if (rows > 0)
                    Issue(c, "would fail: " + Rows(rows) + " of " + c.table + " " + Verb(rows, "has ", "have ") + column.name +
                          " NULL");
            }
        }
    }

    // A key, reference or CHECK on a table Old already has is only as good as Old's rows.
    void NewConstraint(const Change& c, const Constraint& k)
    {
        auto table = old_.relations.find(k.table);
        if (table == old_.relations.end())
            return;
        std::vector<std::string> columns;
        for (const auto& name : k.columns) {
            if (!table->second.FindColumn(name))
                return;
            columns.push_back(ddl_.Name(name));
        }
        const std::string t = ddl_.Name(k.table);
        if (k.kind == ConstraintKind::PrimaryKey || k.kind == ConstraintKind::Unique) {
            const long long n = Count("SELECT COUNT(*) AS N FROM (SELECT 1 AS ONE FROM " + t + " GROUP BY " +
                                      Joined(columns) + " HAVING COUNT(*) > 1)");
            if (n > 0)
                Issue(c, "would fail: " + std::to_string(n) + (n == 1 ? " value" : " values") + " of (" +
                             Joined(k.columns) + ") in " + k.table + Verb(n, " repeats", " repeat"));
        } else if (k.kind == ConstraintKind::ForeignKey) {
            std::string match, present;
            for (std::size_t i = 0; i < columns.size() && i < k.refColumns.size(); ++i) {
                match += std::string(i ? " AND " : "") + "P." + ddl_.Name(k.refColumns[i]) + " = C." + columns[i];
                present += std::string(i ? " AND " : "") + "C." + columns[i] + " IS NOT NULL";
            }
            const bool refExists = old_.relations.count(k.refTable) > 0;
            const std::string sql = "SELECT COUNT(*) AS N FROM " + t + " C WHERE " + present +
                                    (refExists ? " AND NOT EXISTS (SELECT 1 FROM " + ddl_.Name(k.refTable) +
                                                     " P WHERE " + match + ")"
                                               : "");
            const long long n = Count(sql);
            if (n > 0)
                Issue(c, "would fail: " + Rows(n) + " of " + k.table + " " + Verb(n, "has", "have") + " no match in " + k.refTable);
        } else if (k.kind == ConstraintKind::Check) {
            std::string expression = k.checkSource;
            const auto open = expression.find('(');
            if (open == std::string::npos)
                return;
            expression = expression.substr(open);
            try {
                const long long n = Count("SELECT COUNT(*) AS N FROM " + t + " WHERE NOT " + expression);
                if (n > 0)
                    Issue(c, "would fail: " + Rows(n) + " of " + k.table + " " + Verb(n, "breaks ", "break ") + k.checkSource);
            } catch (const DbError&) {
                // An expression that names what Old does not have yet cannot be tried on its rows.
            }
        }
    }

    void Dropped(const Change& c)
    {
        if (c.kind == ObjectKind::Table) {
            const long long rows = TableRows(c.key);
            result_.dropped[c.Object()] = rows;
            if (rows > 0)
                result_.destructive[c.Object()] = "with " + Rows(rows);
        } else if (c.kind == ObjectKind::Field && !c.LeftCopy()) {
            const long long n = Count("SELECT COUNT(*) AS N FROM " + ddl_.Name(c.table) + " WHERE " + ddl_.Name(c.key) +
                                      " IS NOT NULL");
            result_.dropped[c.Object()] = n;
            if (n > 0)
                result_.destructive[c.Object()] = "with " + Rows(n);
        } else if (c.kind == ObjectKind::Generator) {
            // A generator that has handed out values loses where it stands; a fresh one holds its
            // start (Firebird 3) or the value before it (Firebird 4 and later).
            const Generator& g = c.From<Generator>();
            const long long value = Count("SELECT GEN_ID(" + ddl_.Name(g.name) + ", 0) AS N FROM RDB$DATABASE");
            result_.dropped[c.Object()] = value;
            if (value != g.initialValue && value != g.initialValue - g.increment)
                result_.destructive[c.Object()] = "holding " + std::to_string(value);
        }
    }

    Connection& connection_;
    Transaction& transaction_;
    const Schema& old_;
    const Schema& neu_;
    Ddl ddl_;
    SafetyResult result_;
    std::map<std::string, std::vector<Retyped>> retyped_;
    std::vector<std::string> restarted_;
    bool migrating_ = false;
    ValueBatch counts_;
    bool collecting_ = false;
    std::vector<std::string> asked_;
};

}

SafetyResult CheckData(Connection& connection, Transaction& transaction, const Schema& old, const Schema& neu,
                       const std::vector<Change>& changes, bool migrating)
{
    if (!transaction.Active())
        transaction.StartTransaction();
    return Checker(connection, transaction, old, neu, migrating).Run(changes);
}

}
