// The complete comparison's report: the counts, the warnings pinned above the findings, a
// filter, the findings sortable with their kind as a badge, and the selected one in detail.
#pragma once
#include "data/Report.h"
#include "schema/Summary.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTextBrowser>
#include <QWidget>

class CompleteReport : public QWidget {
    Q_OBJECT
public:
    explicit CompleteReport(QWidget* parent = nullptr);

    // rows: the pass's report rows, for those that are neither a finding nor a warning.
    void Show(const schema::Summary& summary, const ReportRows& rows);

    // The findings' columns.
    enum Column { KindColumn, TypeColumn, ObjectColumn, MessageColumn, ActionColumn, RowsColumn, Columns };

    QLabel* Counts;
    QLineEdit* Filter;
    QLabel* WarningsCaption;
    QTableWidget* Warnings;
    QTableView* Findings;
    QStandardItemModel* Model;
    QSortFilterProxyModel* Sorted;
    QLabel* DetailCaption;
    QTextBrowser* Definitions;
    QPlainTextEdit* Statements;

    // The finding of the selected row, or none.
    const schema::Finding* Selected() const;
    // "missing", "different" or "only in Old": the badge of a finding.
    static QString Badge(const schema::Finding& finding);
    // The side-by-side table of two definitions, as the detail pane shows it.
    static QString SideBySideHtml(const std::string& oldText, const std::string& newText);

private:
    void ShowDetail();
    void ApplyFilter(const QString& text);
    schema::Summary summary_;
};
