// The report window: the findings grid and its four buttons.
#pragma once
#include "data/Report.h"

#include <QDialog>
#include <QPushButton>
#include <QTableWidget>

class TRep : public QDialog, public ReportSink {
    Q_OBJECT
public:
    explicit TRep(QWidget* parent = nullptr);

    void ClearReport();
    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override;
    const ReportRows& Rows() const { return rows_; }

    // Where Report.CSV is written: the program's directory.
    QString ProgramDir;

    QTableWidget* StringGrid;
    QPushButton* btCSV;
    QPushButton* btScript;
    QPushButton* btRepair;
    QPushButton* btClose;

    void btCSVClick();
    void btScriptClick();
    void btRepairClick() { done(1); }
    void btCloseClick() { done(2); }

    // ";" where the locale writes decimals with a comma, else ",".
    static char ListSeparator();

    // Esc and the close box count as "Close".
    void reject() override { done(2); }

private:
    void ShowRow(int row);
    ReportRows rows_;
};
