// External function comparison.
#pragma once
#include "compare/Comparator.h"

class TUDF : public Comparator {
public:
    TUDF(TDM& dm, ReportSink& report) : Comparator(dm, report) {}

    // Compares nothing until its comparator lands.
    void CheckUDFs(Progress&) {}
};
