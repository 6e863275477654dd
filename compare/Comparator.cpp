// Both transactions, the shared walk, the fix protocol and the lists of rows.
#include "compare/Comparator.h"
#include "compare/TypeText.h"

void Comparator::InBothTransactions(CommitOrder order, const std::function<void()>& check)
{
    DM.NewTran.StartTransaction();
    DM.OldTran.StartTransaction();
    check();
    ForgetServedReads();
    if (order == CommitOrder::NewFirst) {
        DM.NewTran.Commit();
        DM.OldTran.Commit();
    } else {
        DM.OldTran.Commit();
        DM.NewTran.Commit();
    }
}

void Comparator::ForgetServedReads()
{
    DM.NewDB.ForgetServedReads();
    DM.OldDB.ForgetServedReads();
}

void Comparator::Walk(Query& newQuery, Query& oldQuery, Progress& bar, const std::function<void()>& compare,
                      const std::vector<Query*>& companions)
{
    newCharacterSets_.reset();
    ForgetServedReads();
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

void Comparator::Dispatch(const std::vector<std::string>& lines, const std::string& title, ScriptForm form)
{
    DispatchUnit({lines}, title, form);
}

void Comparator::DispatchUnit(const Statements& statements, const std::string& title, ScriptForm form)
{
    // Kept on a refusal, so a front end can name the fix that failed.
    DM.CurrentFix = title;
    if (DM.RepairMode) {
        DM.ExecuteFixes(statements);
    } else {
        for (const auto& lines : statements) {
            DM.RunSQL.Lines = lines;
            if (form == ScriptForm::Titled)
                DM.AddToScript(title, DM.RunSQL.Lines);
            else
                DM.ScriptLines.insert(DM.ScriptLines.end(), DM.RunSQL.Lines.begin(), DM.RunSQL.Lines.end());
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
                     const std::string& objectName, const std::string& message, ScriptForm form)
{
    Dispatch(lines, title, form);
    Report(type, objectName, message);
}

void Comparator::FixUnit(const Statements& statements, const std::string& title, const std::string& type,
                         const std::string& objectName, const std::string& message)
{
    DispatchUnit(statements, title);
    Report(type, objectName, message);
}

std::vector<std::string> Comparator::RowList(Query& rows, const std::function<std::string()>& item,
                                             const std::string& separator)
{
    std::vector<std::string> list;
    while (!rows.Eof()) {
        std::string text = item();
        rows.Next();
        // Tested after the move: the last item has no separator.
        if (!rows.Eof())
            text += separator;
        list.push_back(std::move(text));
    }
    return list;
}

std::string Comparator::ColumnList(Query& rows, const std::function<std::string()>& item)
{
    std::string line;
    for (const auto& text : RowList(rows, item, ", "))
        line += text;
    return line;
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
