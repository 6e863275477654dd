// Stored procedure comparison.
#pragma once
#include "compare/Comparator.h"

class TSP : public Comparator {
public:
    TSP(TDM& dm, ReportSink& report) : Comparator(dm, report) {}

    // Compares nothing until its comparator lands.
    void CheckProcedures(Progress&) {}
};
