// Domain comparison.
#pragma once
#include "compare/Comparator.h"

class TDmn : public Comparator {
public:
    TDmn(TDM& dm, ReportSink& report) : Comparator(dm, report) {}

    // Compares nothing until its comparator lands.
    void CheckDomains(Progress&) {}
};
