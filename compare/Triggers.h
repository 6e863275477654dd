// Trigger comparison.
#pragma once
#include "compare/Comparator.h"

class TTrig : public Comparator {
public:
    TTrig(TDM& dm, ReportSink& report) : Comparator(dm, report) {}

    // Compares nothing until its comparator lands.
    void CheckTriggers(Progress&) {}
};
