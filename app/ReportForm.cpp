// The grid mirrors the report rows; export and the script viewer work from the program's directory.
#include "app/ReportForm.h"
#include "app/ErrorBox.h"
#include "data/Files.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QProcess>
#include <QVBoxLayout>

TRep::TRep(QWidget* parent)
    : QDialog(parent), StringGrid(new QTableWidget(this)), btCSV(new QPushButton("CSV file", this)),
      btScript(new QPushButton("View Script", this)), btRepair(new QPushButton("Repair", this)),
      btClose(new QPushButton("Close", this))
{
    setWindowTitle("Report");
    resize(398, 366);

    StringGrid->setColumnCount(3);
    StringGrid->setHorizontalHeaderLabels({"Type", "Object Name", "Message"});
    StringGrid->verticalHeader()->setVisible(false);
    StringGrid->verticalHeader()->setDefaultSectionSize(17);
    StringGrid->verticalHeader()->setMinimumSectionSize(17);
    StringGrid->setColumnWidth(0, 80);
    StringGrid->setColumnWidth(1, 214);
    StringGrid->setColumnWidth(2, 74);
    StringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid->setShowGrid(true);

    QFont bold = btRepair->font();
    bold.setBold(true);
    btRepair->setFont(bold);
    btClose->setAutoDefault(false);

    auto* panel = new QWidget(this);
    panel->setFixedHeight(41);
    auto* buttons = new QHBoxLayout(panel);
    buttons->addWidget(btCSV);
    buttons->addStretch();
    buttons->addWidget(btScript);
    buttons->addWidget(btRepair);
    buttons->addWidget(btClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(StringGrid);
    layout->addWidget(panel);

    connect(btCSV, &QPushButton::clicked, this, &TRep::btCSVClick);
    connect(btScript, &QPushButton::clicked, this, &TRep::btScriptClick);
    connect(btRepair, &QPushButton::clicked, this, &TRep::btRepairClick);
    connect(btClose, &QPushButton::clicked, this, &TRep::btCloseClick);

    ClearReport();
}

void TRep::ShowRow(int row)
{
    const auto& texts = rows_.Rows()[static_cast<std::size_t>(row)];
    for (int column = 0; column < 3; ++column) {
        auto* item = new QTableWidgetItem(QString::fromStdString(texts[static_cast<std::size_t>(column)]));
        StringGrid->setItem(row, column, item);
    }
}

void TRep::ClearReport()
{
    rows_.ClearReport();
    StringGrid->setRowCount(1);
    ShowRow(0);
}

void TRep::AddReportRow(const std::string& type, const std::string& objectName, const std::string& message)
{
    rows_.AddReportRow(type, objectName, message);
    const int last = static_cast<int>(rows_.Rows().size()) - 1;
    StringGrid->setRowCount(last + 1);
    ShowRow(last);
}

char TRep::ListSeparator()
{
    return ::ListSeparator();
}

void TRep::btCSVClick()
{
    try {
        SaveLines((ProgramDir + "/Report.CSV").toStdString(), rows_.CsvLines(ListSeparator()));
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromStdString(error.what()));
    }
}

void TRep::btScriptClick()
{
    // The bare name, resolved in the current directory; a missing opener is not reported.
    QProcess::startDetached("xdg-open", {"vorkat.sql"});
}
