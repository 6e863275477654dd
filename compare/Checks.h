// The eight kinds of check in their fixed order, and one owner of the comparators for a run.
#pragma once
#include "compare/Domains.h"
#include "compare/Exceptions.h"
#include "compare/Generators.h"
#include "compare/Indices.h"
#include "compare/Procedures.h"
#include "compare/Tables.h"
#include "compare/Triggers.h"
#include "compare/UDFs.h"

#include <array>
#include <optional>
#include <string>

enum class CheckKind { Domains, Exceptions, Generators, UDFs, TableFields, TableIndices, Procedures, Triggers };

struct CheckKindInfo {
    CheckKind Kind;
    const char* Word;     // as the command line names it
    const char* Caption;  // as the window's status label shows it
};

// UDFs come before tables, procedures and triggers last, whatever order a caller lists them in.
inline constexpr std::array<CheckKindInfo, 8> CheckKinds{{
    {CheckKind::Domains, "domains", "Domains"},
    {CheckKind::Exceptions, "exceptions", "Exceptions"},
    {CheckKind::Generators, "generators", "Generators"},
    {CheckKind::UDFs, "udf", "UDF"},
    {CheckKind::TableFields, "tables", "Table Fields"},
    {CheckKind::TableIndices, "indices", "Table Indices"},
    {CheckKind::Procedures, "procedures", "Stored Procedures"},
    {CheckKind::Triggers, "triggers", "Triggers"},
}};

std::optional<CheckKind> CheckKindFromWord(const std::string& word);

// The comparators of one pass, bound to one data module and one report. A fresh owner
// starts with no state carried over from an earlier pass.
class Checks {
public:
    Checks(TDM& dm, ReportSink& report);

    void Run(CheckKind kind, Progress& bar);

private:
    TDmn dmn_;
    TExp exp_;
    TGen gen_;
    TUDF udf_;
    TTbl tbl_;
    TIdx idx_;
    TSP sp_;
    TTrig trig_;
};
