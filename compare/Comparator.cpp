// The shared walk and the fix protocol.
#include "compare/Comparator.h"

void Comparator::Walk(Query& newQuery, Query& oldQuery, Progress& bar, const std::function<void()>& compare,
                      const std::vector<Query*>& companions)
{
    newQuery.Open();
    newQuery.FetchAll();
    bar.SetPosition(0);
    bar.SetMaximum(newQuery.RecordCount());
    oldQuery.Open();
    for (Query* query : companions)
        query->Open();
    newQuery.First();
    while (!newQuery.Eof()) {
        bar.SetPosition(bar.Position() + 1);
        compare();
        newQuery.Next();
    }
    for (auto it = companions.rbegin(); it != companions.rend(); ++it)
        (*it)->Close();
    oldQuery.Close();
    newQuery.Close();
}

void Comparator::Dispatch(const std::vector<std::string>& lines, const std::string& title)
{
    DM.RunSQL.Lines = lines;
    DM.CurrentFix = title;
    if (DM.RepairMode)
        DM.ExecuteFix();
    else
        DM.AddToScript(title, DM.RunSQL.Lines);
    DM.CurrentFix.clear();
}

void Comparator::Report(const std::string& type, const std::string& objectName, const std::string& message)
{
    if (DM.ReportMode)
        Rep.AddReportRow(type, objectName, message);
}

void Comparator::Fix(const std::vector<std::string>& lines, const std::string& title, const std::string& type,
                     const std::string& objectName, const std::string& message)
{
    Dispatch(lines, title);
    Report(type, objectName, message);
}

std::string Comparator::SqlValue(const std::string& text, bool quote)
{
    if (text.empty())
        return "NULL";
    if (!quote)
        return text;
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'')
            literal += '\'';
    }
    return literal + "'";
}
