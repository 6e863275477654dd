// The report window: the findings grid and its four buttons, and after a complete comparison
// the detail of each finding and a fifth button for the review report.
#pragma once
#include "data/Report.h"
#include "schema/Summary.h"

#include <QDialog>
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
    // A complete comparison's pass: its detail goes into three more columns and "Review"
    // shows. None puts the grid back to the three columns of the eight checks.
    void ShowSummary(const schema::Summary* summary);

    // Where Report.CSV is written: the program's directory.
    QString ProgramDir;

    QTableWidget* StringGrid;
    QPushButton* btCSV;
    QPushButton* btScript;
    QPushButton* btRepair;
    QPushButton* btClose;
    QPushButton* btReview;
    // Opens a file with the system's browser; a test puts something else here.
    std::function<void(const QString& path)> OpenFile;

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
    void ShowDetails();
    ReportRows rows_;
    std::optional<schema::Summary> summary_;
    // The size before the details widened the window, given back without them.
    std::optional<QSize> narrowSize_;
};
