// The shape every comparator shares: the walk over the New rows and the fix protocol.
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

class Comparator {
protected:
    Comparator(TDM& dm, ReportSink& report) : DM(dm), Rep(report) {}

    // Opens newQuery and fetches all, sets the bar to 0 of the row count, opens oldQuery
    // and then the companions in order, steps the bar and calls compare for every New row,
    // then closes the companions in reverse order, Old and New.
    void Walk(Query& newQuery, Query& oldQuery, Progress& bar, const std::function<void()>& compare,
              const std::vector<Query*>& companions = {});

    // Fills the statement buffer; in repair mode executes it, else scripts it under title;
    // in report mode adds the row.
    void Fix(const std::vector<std::string>& lines, const std::string& title, const std::string& type,
             const std::string& objectName, const std::string& message);

    // Fix for a change that takes several statements: in repair mode they are executed and
    // committed as one, and a refusal undoes them all; in script mode each becomes a block
    // of its own under the same title.
    void FixUnit(const Statements& statements, const std::string& title, const std::string& type,
                 const std::string& objectName, const std::string& message);

    // The execute-or-script steps of Fix and FixUnit, for comparators that report in their own way.
    void Dispatch(const std::vector<std::string>& lines, const std::string& title);
    void DispatchUnit(const Statements& statements, const std::string& title);
    void Report(const std::string& type, const std::string& objectName, const std::string& message);

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
