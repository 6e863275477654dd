// The grid mirrors the report rows; export, the review report and the script viewer work from
// the program's directory.
#include "app/ReportForm.h"
#include "app/ErrorBox.h"
#include "data/Files.h"
#include "review/HtmlReport.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QProcess>
#include <QVBoxLayout>
#include <algorithm>

TRep::TRep(QWidget* parent)
    : QDialog(parent), StringGrid(new QTableWidget(this)), btCSV(new QPushButton("CSV file", this)),
      btScript(new QPushButton("View Script", this)), btRepair(new QPushButton("Repair", this)),
      btClose(new QPushButton("Close", this)), btReview(new QPushButton("Review", this))
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
    layout->addWidget(panel);

    connect(btCSV, &QPushButton::clicked, this, &TRep::btCSVClick);
    connect(btScript, &QPushButton::clicked, this, &TRep::btScriptClick);
    connect(btRepair, &QPushButton::clicked, this, &TRep::btRepairClick);
    connect(btClose, &QPushButton::clicked, this, &TRep::btCloseClick);
    connect(btReview, &QPushButton::clicked, this, &TRep::btReviewClick);
    btReview->setAutoDefault(false);
    btReview->setVisible(false);
    OpenFile = [](const QString& path) { QProcess::startDetached("xdg-open", {path}); };

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

namespace {

constexpr int PlainColumns = 3;
constexpr int DetailColumns = 6;

// A text on one line of the grid: blanks and breaks as single spaces, a long one cut.
QString OneLine(const std::string& text)
{
    QString line = QString::fromStdString(text).simplified();
    constexpr int Longest = 160;
    if (line.size() > Longest)
        line = line.left(Longest) + QChar(0x2026);
    return line;
}

QTableWidgetItem* DetailItem(const std::string& text)
{
    auto* item = new QTableWidgetItem(OneLine(text));
    // The whole text, line by line, where the cell shows only its start.
    if (QString::fromStdString(text) != item->text())
        item->setToolTip(QString::fromStdString(text));
    return item;
}

}

void TRep::ShowSummary(const schema::Summary* summary)
{
    if (!summary) {
        summary_.reset();
        btReview->setVisible(false);
        if (StringGrid->columnCount() != PlainColumns) {
            StringGrid->setColumnCount(PlainColumns);
            StringGrid->horizontalHeader()->setStretchLastSection(false);
            StringGrid->setColumnWidth(2, 74);
        }
        if (narrowSize_) {
            resize(*narrowSize_);
            narrowSize_.reset();
        }
        return;
    }
    summary_ = *summary;
    btReview->setVisible(true);
    if (StringGrid->columnCount() != DetailColumns) {
        StringGrid->setColumnCount(DetailColumns);
        StringGrid->setHorizontalHeaderLabels({"Type", "Object Name", "Message", "Property", "Old", "New"});
        StringGrid->setColumnWidth(2, 150);
        StringGrid->setColumnWidth(3, 80);
        StringGrid->setColumnWidth(4, 200);
        StringGrid->setColumnWidth(5, 200);
        StringGrid->horizontalHeader()->setStretchLastSection(true);
    }
    if (!narrowSize_ && width() < 960) {
        narrowSize_ = size();
        resize(960, std::max(height(), 420));
    }
    ShowDetails();
}

void TRep::ShowDetails()
{
    // The rows of a pass follow its findings in order; a row between them, such as a safety
    // check's, has no detail.
    std::size_t next = 0;
    const auto& rows = rows_.Rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const schema::Finding* found = nullptr;
        for (std::size_t at = next; at < summary_->findings.size() && !found; ++at) {
            const auto& f = summary_->findings[at];
            if (schema::KindName(f.kind) == rows[r][0] && f.name == rows[r][1] && f.message == rows[r][2]) {
                found = &f;
                next = at + 1;
            }
        }
        const int row = static_cast<int>(r);
        const bool values = found && found->difference.property != schema::Property::None;
        StringGrid->setItem(row, 3, DetailItem(values ? found->difference.Name() : ""));
        StringGrid->setItem(row, 4,
                            DetailItem(!found ? "" : values ? found->difference.oldValue : found->oldDefinition));
        StringGrid->setItem(row, 5,
                            DetailItem(!found ? "" : values ? found->difference.newValue : found->newDefinition));
    }
}

void TRep::btReviewClick()
{
    if (!summary_)
        return;
    const QString path = ProgramDir + "/Report.html";
    try {
        ReplaceFile(path.toStdString(), review::HtmlReport(*summary_, {review::NowText(), VORKAT_VERSION}));
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromStdString(error.what()));
        return;
    }
    OpenFile(path);
}

char TRep::ListSeparator()
{
    return ::ListSeparator();
}

void TRep::btCSVClick()
{
    try {
        // The eight checks' file stays as it always was; the complete comparison's is quoted.
        const auto lines = summary_ ? rows_.QuotedCsvLines(ListSeparator()) : rows_.CsvLines(ListSeparator());
        SaveLines((ProgramDir + "/Report.CSV").toStdString(), lines);
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromStdString(error.what()));
    }
}

void TRep::btScriptClick()
{
    // The bare name, resolved in the current directory; a missing opener is not reported.
    QProcess::startDetached("xdg-open", {"vorkat.sql"});
}
