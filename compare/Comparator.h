// The shape every comparator shares: the walk over the New rows and the fix protocol.
#pragma once
#include "data/DM.h"
#include "data/Files.h"
#include "data/Interfaces.h"

#include <functional>
#include <string>
#include <vector>

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

    // The first two steps of Fix, for comparators that report in their own way.
    void Dispatch(const std::vector<std::string>& lines, const std::string& title);
    void Report(const std::string& type, const std::string& objectName, const std::string& message);


    TDM& DM;
    ReportSink& Rep;
};
