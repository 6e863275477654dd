// The report window: the findings grid and its four buttons; after a complete comparison the
// complete report in the grid's place, a fifth button for the review report and a status line.
#pragma once
#include "app/CompleteReport.h"
#include "data/Report.h"
#include "schema/Summary.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <functional>
#include <optional>

class TRep : public QDialog, public ReportSink {
    Q_OBJECT
public:
    explicit TRep(QWidget* parent = nullptr);

    void ClearReport();
    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override;
    const ReportRows& Rows() const { return rows_; }
    // A complete comparison's pass: the complete report takes the grid's place, "Review" and
    // the status line show, and Repair is offered only when there is a statement to run.
    // None puts back the eight checks' grid and buttons.
    void ShowSummary(const schema::Summary* summary);
    // Writes Report.html from summary and opens it, telling where in the status line.
    void OpenReview(const schema::Summary& summary);

    // Where Report.CSV is written: the program's directory.
    QString ProgramDir;

    QTableWidget* StringGrid;
    QPushButton* btCSV;
    QPushButton* btScript;
    QPushButton* btRepair;
    QPushButton* btClose;
    QPushButton* btReview;
    CompleteReport* Complete;
    // After a complete comparison: where "CSV file" and "Review" wrote, or why nothing opened.
    QLabel* StatusLine;
    // The desktop's opener, started for the review and, after a complete comparison, the script.
    QString Opener = "xdg-open";
    // Opens a file with Opener; false when it cannot be started. A test puts something else here.
    std::function<bool(const QString& path)> OpenFile;

    void btCSVClick();
    void btScriptClick();
    void btRepairClick() { done(1); }
    void btCloseClick() { done(2); }
    // Writes Report.html beside Report.CSV and opens it.
    void btReviewClick();

    // ";" where the locale writes decimals with a comma, else ",".
    static char ListSeparator();

    // Esc and the close box count as "Close".
    void reject() override { done(2); }

private:
    void ShowRow(int row);
    // Tells where a file went; a failed opener also gets a message box.
    void Opened(const QString& what, const QString& path, bool opened);
    ReportRows rows_;
    std::optional<schema::Summary> summary_;
    // The size before the details widened the window, given back without them.
    std::optional<QSize> narrowSize_;
};
