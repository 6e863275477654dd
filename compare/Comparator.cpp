// The shared walk and the fix protocol.
#include "compare/Comparator.h"
#include "compare/TypeText.h"

void Comparator::Walk(Query& newQuery, Query& oldQuery, Progress& bar, const std::function<void()>& compare,
                      const std::vector<Query*>& companions)
{
    newCharacterSets_.reset();
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
    DispatchUnit({lines}, title);
}

void Comparator::DispatchUnit(const Statements& statements, const std::string& title)
{
    // Kept on a refusal, so a front end can name the fix that failed.
    DM.CurrentFix = title;
    if (DM.RepairMode) {
        DM.ExecuteFixes(statements);
    } else {
        for (const auto& lines : statements) {
            DM.RunSQL.Lines = lines;
            DM.AddToScript(title, DM.RunSQL.Lines);
        }
    }
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

void Comparator::FixUnit(const Statements& statements, const std::string& title, const std::string& type,
                         const std::string& objectName, const std::string& message)
{
    DispatchUnit(statements, title);
    Report(type, objectName, message);
}

std::string Comparator::SqlValue(const std::string& text, bool quote)
{
    if (text.empty())
        return "NULL";
    return quote ? Quoted(text) : text;
}

std::string Comparator::Quoted(const std::string& text)
{
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'')
            literal += '\'';
    }
    return literal + "'";
}

std::string Comparator::NewCompleteTypeText(const Query& field)
{
    std::string characterSet;
    if (!field.IsNull("RDB$CHARACTER_SET_ID")) {
        // One read for all: a run over many changed columns would otherwise ask once per statement.
        if (!newCharacterSets_) {
            std::unordered_map<std::int64_t, std::string> names;
            Query sets(DM.NewDB, DM.NewTran,
                       {"select RDB$CHARACTER_SET_ID, RDB$CHARACTER_SET_NAME from RDB$CHARACTER_SETS"});
            sets.Open();
            for (; !sets.Eof(); sets.Next())
                names.emplace(sets.AsInteger("RDB$CHARACTER_SET_ID"), Trim(sets.AsString("RDB$CHARACTER_SET_NAME")));
            sets.Close();
            newCharacterSets_ = std::move(names);
        }
        auto known = newCharacterSets_->find(field.AsInteger("RDB$CHARACTER_SET_ID"));
        if (known != newCharacterSets_->end())
            characterSet = known->second;
    }
    FieldType type;
    type.Code = field.AsInteger("RDB$FIELD_TYPE");
    type.SubType = field.AsString("RDB$FIELD_SUB_TYPE");
    type.Length = field.AsString("RDB$FIELD_LENGTH");
    type.CharacterLength = field.AsString("RDB$CHARACTER_LENGTH");
    type.Segment = field.AsString("RDB$SEGMENT_LENGTH");
    type.Precision = field.AsInteger("RDB$FIELD_PRECISION");
    type.Scale = field.AsInteger("RDB$FIELD_SCALE");
    type.CharacterSet = characterSet;
    return CompleteTypeText(type);
}
