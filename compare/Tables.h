// Table and column comparison.
#pragma once
#include "compare/Comparator.h"

class TTbl : public Comparator {
public:
    TTbl(TDM& dm, ReportSink& report) : Comparator(dm, report) {}

    // Compares nothing until its comparator lands.
    void CheckTables(Progress&) {}
};
