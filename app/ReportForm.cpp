// The grid mirrors the report rows; export, the review report and the script viewer work from
// the program's directory. After a complete comparison the grid still takes the rows, hidden,
// and the complete report shows the pass instead.
#include "app/ReportForm.h"
#include "app/ErrorBox.h"
#include "data/Files.h"
#include "review/HtmlReport.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QProcess>
#include <QVBoxLayout>
#include <algorithm>

TRep::TRep(QWidget* parent)
    : QDialog(parent), StringGrid(new QTableWidget(this)), btCSV(new QPushButton("CSV file", this)),
      btScript(new QPushButton("View Script", this)), btRepair(new QPushButton("Repair", this)),
      btClose(new QPushButton("Close", this)), btReview(new QPushButton("Review", this)),
      Complete(new CompleteReport(this)), StatusLine(new QLabel(this))
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
    buttons->addWidget(btReview);
    buttons->addStretch();
    buttons->addWidget(btScript);
    buttons->addWidget(btRepair);
    buttons->addWidget(btClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(StringGrid);
    layout->addWidget(Complete, 1);
    StatusLine->setContentsMargins(8, 4, 8, 0);
    StatusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    StatusLine->setWordWrap(true);
    layout->addWidget(StatusLine);
    layout->addWidget(panel);
    Complete->setVisible(false);
    StatusLine->setVisible(false);

    connect(btCSV, &QPushButton::clicked, this, &TRep::btCSVClick);
    connect(btScript, &QPushButton::clicked, this, &TRep::btScriptClick);
    connect(btRepair, &QPushButton::clicked, this, &TRep::btRepairClick);
    connect(btClose, &QPushButton::clicked, this, &TRep::btCloseClick);
    connect(btReview, &QPushButton::clicked, this, &TRep::btReviewClick);
    btReview->setAutoDefault(false);
    btReview->setVisible(false);
    OpenFile = [this](const QString& path) { return QProcess::startDetached(Opener, {path}); };

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

void TRep::ShowSummary(const schema::Summary* summary)
{
    if (!summary) {
        summary_.reset();
        setWindowTitle("Report");
        btReview->setVisible(false);
        Complete->setVisible(false);
        StatusLine->setVisible(false);
        StringGrid->setVisible(true);
        btRepair->setEnabled(true);
        if (narrowSize_) {
            resize(*narrowSize_);
            narrowSize_.reset();
        }
        return;
    }
    summary_ = *summary;
    setWindowTitle("Report: complete comparison, Vorkat v" VORKAT_VERSION);
    btReview->setVisible(true);
    StringGrid->setVisible(false);
    Complete->setVisible(true);
    Complete->Show(*summary_, rows_);
    StatusLine->clear();
    StatusLine->setVisible(true);
    // Nothing to run: Old and New agree, or what differs cannot be mended by a statement.
    btRepair->setEnabled(summary_->Count().statements > 0);
    if (!narrowSize_ && width() < 1000) {
        narrowSize_ = size();
        resize(1000, std::max(height(), 640));
    }
}

void TRep::Opened(const QString& what, const QString& path, bool opened)
{
    if (opened) {
        StatusLine->setStyleSheet({});
        StatusLine->setText(what + " " + path);
        return;
    }
    const QString text = "No program could be started to open " + path + " (" + Opener +
                         " was not found). Open the file yourself.";
    StatusLine->setStyleSheet("color: #b71c1c");
    StatusLine->setText(text);
    QMessageBox::warning(this, "Vorkat v" VORKAT_VERSION, text);
}

void TRep::OpenReview(const schema::Summary& summary)
{
    const QString path = ProgramDir + "/Report.html";
    try {
        ReplaceFile(path.toStdString(), review::HtmlReport(summary, {review::NowText(), VORKAT_VERSION}));
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromStdString(error.what()));
        return;
    }
    Opened("Review written to", path, OpenFile(path));
}

void TRep::btReviewClick()
{
    if (summary_)
        OpenReview(*summary_);
}

char TRep::ListSeparator()
{
    return ::ListSeparator();
}

void TRep::btCSVClick()
{
    const QString path = ProgramDir + "/Report.CSV";
    try {
        // The eight checks' file stays as it always was; the complete comparison's is quoted.
        const auto lines = summary_ ? rows_.QuotedCsvLines(ListSeparator()) : rows_.CsvLines(ListSeparator());
        SaveLines(path.toStdString(), lines);
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromStdString(error.what()));
        return;
    }
    if (summary_)
        Opened("Report written to", path, true);
}

void TRep::btScriptClick()
{
    if (!summary_) {
        // The bare name, resolved in the current directory; a missing opener is not reported.
        QProcess::startDetached("xdg-open", {"vorkat.sql"});
        return;
    }
    // Where the run wrote it, and a word when it cannot be shown.
    const QString path = ProgramDir + "/vorkat.sql";
    if (!QFileInfo::exists(path)) {
        const QString text = "There is no script to view: " + path + " does not exist.";
        StatusLine->setStyleSheet("color: #b71c1c");
        StatusLine->setText(text);
        QMessageBox::information(this, "Vorkat v" VORKAT_VERSION, text);
        return;
    }
    Opened("Script opened from", path, OpenFile(path));
}
