// Primary key, index and foreign key comparison.
#pragma once
#include "compare/Comparator.h"

class TIdx : public Comparator {
public:
    TIdx(TDM& dm, ReportSink& report) : Comparator(dm, report) {}

    // Compares nothing until its comparator lands.
    void CheckIndices(Progress&) {}
};
