// Exception comparison.
#pragma once
#include "compare/Comparator.h"

class TExp : public Comparator {
public:
    TExp(TDM& dm, ReportSink& report) : Comparator(dm, report) {}

    // Compares nothing until its comparator lands.
    void CheckExceptions(Progress&) {}
};
