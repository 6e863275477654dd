// The shape every comparator shares: sides, query pairs, both transactions, the walk and the fix protocol.
#pragma once
#include "data/DM.h"
#include "data/Files.h"
#include "data/Interfaces.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Statements that stand or fall together, each a list of lines.
using Statements = std::vector<std::vector<std::string>>;

// The reference (New) and the database brought up to date (Old).
enum class Side { New, Old };

// The New and the Old query of one kind: the same text, each on its side's connection and
// transaction of the data module.
class QueryPair {
public:
    QueryPair(TDM& dm, const std::vector<std::string>& sql)
        : New(dm.NewDB, dm.NewTran, sql), Old(dm.OldDB, dm.OldTran, sql)
    {
    }

    // Per-object opens on both sides served from one read of the whole table (Query::ServeFrom).
    QueryPair(TDM& dm, const std::vector<std::string>& sql, const ServedRead& served) : QueryPair(dm, sql)
    {
        New.ServeFrom(served);
        Old.ServeFrom(served);
    }

    Query& operator[](Side side) { return side == Side::New ? New : Old; }

    Query New;
    Query Old;
};

// Which transaction the end of a comparator commits first.
enum class CommitOrder { NewFirst, OldFirst };

// How script mode writes a fix: a titled block ("/* title */", the lines, ";" and an empty
// line), or the lines alone, as the trigger fixes are written.
enum class ScriptForm { Titled, Untitled };

// The tests' way to a comparator's private queries and steps (tests/support/ComparatorPeer.h).
struct ComparatorPeer;

// A comparator is bound to one data module and one report for its life; the comparators take
// this constructor over, their queries being bound in their own declarations.
class Comparator {
public:
    Comparator(TDM& dm, ReportSink& report) : DM(dm), Rep(report) {}

protected:

    // Starts the New and then the Old transaction, runs the check and commits both in full, in
    // the order given: unlike the retaining commit after a fix, these end both transactions and
    // close every query still open in them. An error skips the commits; the connection's close ends them.
    void InBothTransactions(CommitOrder order, const std::function<void()>& check);

    // Drops the whole reads per-object opens were served from: each walk reads what it needs
    // afresh, so that it sees what the fixes of earlier walks changed.
    void ForgetServedReads();

    // Opens newQuery and fetches all, sets the bar to 0 of the row count, opens oldQuery
    // and then the companions in order, steps the bar and calls compare for every New row,
    // then closes the companions in reverse order, Old and New.
    void Walk(Query& newQuery, Query& oldQuery, Progress& bar, const std::function<void()>& compare,
              const std::vector<Query*>& companions = {});

    // Fills the statement buffer; in repair mode executes it, else scripts it under title;
    // in report mode adds the row.
    void Fix(const std::vector<std::string>& lines, const std::string& title, const std::string& type,
             const std::string& objectName, const std::string& message, ScriptForm form = ScriptForm::Titled);

    // Fix for a change that takes several statements: in repair mode they are executed and
    // committed as one, and a refusal undoes them all; in script mode each becomes a block
    // of its own under the same title.
    void FixUnit(const Statements& statements, const std::string& title, const std::string& type,
                 const std::string& objectName, const std::string& message);

    // The execute-or-script steps of Fix and FixUnit, for comparators that report in their own way.
    void Dispatch(const std::vector<std::string>& lines, const std::string& title,
                  ScriptForm form = ScriptForm::Titled);
    void DispatchUnit(const Statements& statements, const std::string& title,
                      ScriptForm form = ScriptForm::Titled);
    void Report(const std::string& type, const std::string& objectName, const std::string& message);

    // Walks rows from the current one to the end and lists item() of each, the separator
    // after every item but the last: "," for a list written one item a line.
    static std::vector<std::string> RowList(Query& rows, const std::function<std::string()>& item,
                                            const std::string& separator);
    // The same list on one line, the items joined with ", ": index columns, parameters.
    static std::string ColumnList(Query& rows, const std::function<std::string()>& item);

    // A column's text as an SQL value: empty gives NULL; quoted, it becomes a string
    // literal with every single quote doubled.
    static std::string SqlValue(const std::string& text, bool quote);
    // The text as an SQL string literal: in single quotes, every single quote inside doubled.
    static std::string Quoted(const std::string& text);

    // The complete DDL type of the current row of an RDB$FIELDS query of the New Database,
    // its character set named as the New Database names it.
    std::string NewCompleteTypeText(const Query& field);

    TDM& DM;
    ReportSink& Rep;

private:
    // The New Database's character-set names by id, read on first need and forgotten at the
    // start of each walk, since the next run may name another New Database.
    std::optional<std::unordered_map<std::int64_t, std::string>> newCharacterSets_;
};
