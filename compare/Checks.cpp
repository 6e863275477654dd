// One entry per kind, so that front ends other than the window drive the same comparators.
#include "compare/Checks.h"

std::optional<CheckKind> CheckKindFromWord(const std::string& word)
{
    for (const auto& info : CheckKinds)
        if (word == info.Word)
            return info.Kind;
    return std::nullopt;
}

Checks::Checks(TDM& dm, ReportSink& report)
    : dmn_(dm, report), exp_(dm, report), gen_(dm, report), udf_(dm, report), tbl_(dm, report),
      idx_(dm, report), sp_(dm, report), trig_(dm, report)
{
}

void Checks::Run(CheckKind kind, Progress& bar)
{
    switch (kind) {
    case CheckKind::Domains: dmn_.CheckDomains(bar); break;
    case CheckKind::Exceptions: exp_.CheckExceptions(bar); break;
    case CheckKind::Generators: gen_.CheckGenerators(bar); break;
    case CheckKind::UDFs: udf_.CheckUDFs(bar); break;
    case CheckKind::TableFields: tbl_.CheckTables(bar); break;
    case CheckKind::TableIndices: idx_.CheckIndices(bar); break;
    case CheckKind::Procedures: sp_.CheckProcedures(bar); break;
    case CheckKind::Triggers: trig_.CheckTriggers(bar); break;
    }
}
