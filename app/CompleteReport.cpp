// Warnings sit in a table of their own above the findings, so that no sort or filter of the
// findings moves them; the detail pane lines up both definitions as the review report does.
#include "app/CompleteReport.h"
#include "review/SideBySide.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct Colours {
    const char* background;
    const char* text;
};

Colours BadgeColours(const QString& badge)
{
    if (badge == "missing")
        return {"#d7f0d7", "#1d5e1d"};
    if (badge == "different")
        return {"#fdeebd", "#6b4e00"};
    if (badge == "only in Old")
        return {"#dfe6f3", "#233f73"};
    if (badge == "error")
        return {"#c62828", "#ffffff"};
    if (badge == "warning")
        return {"#ef8f00", "#ffffff"};
    return {"#5c7fa8", "#ffffff"};
}

QStandardItem* Cell(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

QTableWidgetItem* WarningCell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    return item;
}

// Errors first, as they stop a repair; within a severity, the script's order.
int Weight(schema::Severity severity)
{
    switch (severity) {
    case schema::Severity::Error: return 0;
    case schema::Severity::Warning: return 1;
    case schema::Severity::Notice: return 2;
    }
    return 3;
}

QString Escaped(const std::vector<review::Piece>& pieces, const char* mark)
{
    QString html;
    for (const auto& piece : pieces) {
        const QString text = QString::fromStdString(piece.text).toHtmlEscaped();
        html += piece.marked ? QString("<span style=\"background:%1\">%2</span>").arg(mark, text) : text;
    }
    return html;
}

}

CompleteReport::CompleteReport(QWidget* parent)
    : QWidget(parent), Counts(new QLabel(this)), Filter(new QLineEdit(this)), WarningsCaption(new QLabel(this)),
      Warnings(new QTableWidget(this)), Findings(new QTableView(this)), Model(new QStandardItemModel(this)),
      Sorted(new QSortFilterProxyModel(this)), DetailCaption(new QLabel(this)), Definitions(new QTextBrowser(this)),
      Statements(new QPlainTextEdit(this))
{
    QFont bold = Counts->font();
    bold.setBold(true);
    Counts->setFont(bold);
    Counts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Filter->setPlaceholderText("Filter");
    Filter->setClearButtonEnabled(true);
    Filter->setMaximumWidth(260);

    WarningsCaption->setFont(bold);
    WarningsCaption->setStyleSheet("color: #8a1c1c");
    Warnings->setColumnCount(4);
    Warnings->setHorizontalHeaderLabels({"Severity", "Code", "Object", "Warning"});
    Warnings->verticalHeader()->setVisible(false);
    Warnings->verticalHeader()->setDefaultSectionSize(20);
    Warnings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Warnings->setSelectionBehavior(QAbstractItemView::SelectRows);
    Warnings->setColumnWidth(0, 76);
    Warnings->setColumnWidth(1, 120);
    Warnings->setColumnWidth(2, 200);
    Warnings->horizontalHeader()->setStretchLastSection(true);
    // Tinted as a whole, unlike the findings below it.
    Warnings->setStyleSheet("QTableWidget { background: #fff4e0; alternate-background-color: #ffecc9; "
                            "border: 1px solid #e0a040; }");

    Model->setColumnCount(Columns);
    Model->setHorizontalHeaderLabels({"Kind", "Type", "Object", "Message", "Action", "Rows"});
    Sorted->setSourceModel(Model);
    Sorted->setFilterKeyColumn(-1);
    Sorted->setFilterCaseSensitivity(Qt::CaseInsensitive);
    Sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    // The rows count sorts as a number.
    Sorted->setSortRole(Qt::UserRole + 1);
    Findings->setModel(Sorted);
    Findings->setSortingEnabled(true);
    Findings->sortByColumn(-1, Qt::AscendingOrder);
    Findings->verticalHeader()->setVisible(false);
    Findings->verticalHeader()->setDefaultSectionSize(20);
    Findings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Findings->setSelectionBehavior(QAbstractItemView::SelectRows);
    Findings->setSelectionMode(QAbstractItemView::SingleSelection);
    Findings->setColumnWidth(KindColumn, 86);
    Findings->setColumnWidth(TypeColumn, 90);
    Findings->setColumnWidth(ObjectColumn, 180);
    Findings->setColumnWidth(MessageColumn, 360);
    Findings->setColumnWidth(ActionColumn, 130);
    Findings->horizontalHeader()->setStretchLastSection(true);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    Definitions->setFont(fixed);
    Definitions->setOpenLinks(false);
    Statements->setFont(fixed);
    Statements->setReadOnly(true);
    // A long statement wraps: the pane is narrower than most statements.
    Statements->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    DetailCaption->setFont(bold);

    auto* top = new QHBoxLayout;
    top->addWidget(Counts, 1);
    top->addWidget(Filter);

    auto* detail = new QWidget(this);
    auto* detailLayout = new QVBoxLayout(detail);
    detailLayout->setContentsMargins(0, 4, 0, 0);
    detailLayout->addWidget(DetailCaption);
    auto* sides = new QSplitter(Qt::Horizontal, detail);
    sides->addWidget(Definitions);
    sides->addWidget(Statements);
    sides->setStretchFactor(0, 3);
    sides->setStretchFactor(1, 2);
    detailLayout->addWidget(sides, 1);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Findings);
    split->addWidget(detail);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(WarningsCaption);
    layout->addWidget(Warnings);
    layout->addWidget(split, 1);

    connect(Filter, &QLineEdit::textChanged, this, &CompleteReport::ApplyFilter);
    connect(Findings->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CompleteReport::ShowDetail);
}

QString CompleteReport::Badge(const schema::Finding& finding)
{
    switch (finding.action) {
    case schema::Action::Create: return "missing";
    case schema::Action::Alter: return "different";
    case schema::Action::OnlyInOld: return "only in Old";
    }
    return {};
}

void CompleteReport::Show(const schema::Summary& summary, const ReportRows& rows)
{
    summary_ = summary;
    const schema::Counts counts = summary_.Count();
    const QString text = QString::fromStdString(schema::CountsText(counts));
    Counts->setText(counts.Agree() ? "Old and New agree: " + text : text);

    // Pinned: each warning, then any row of the pass that is neither a finding nor a warning's
    // own row (such as a column that cannot be read after a repair).
    struct Pinned {
        QString severity, code, object, message;
        int weight;
    };
    std::vector<Pinned> pinned;
    for (const auto& w : summary_.warnings)
        pinned.push_back({schema::SeverityWord(w.severity), QString::fromStdString(w.code),
                          QString::fromStdString(w.object.Text()), QString::fromStdString(w.message),
                          Weight(w.severity)});
    std::size_t next = 0;
    for (const auto& row : rows.Rows()) {
        if (row[0].empty())
            continue;
        bool matched = false;
        for (std::size_t at = next; at < summary_.findings.size() && !matched; ++at) {
            const auto& f = summary_.findings[at];
            if (schema::KindName(f.kind) == row[0] && f.name == row[1] && f.message == row[2]) {
                matched = true;
                next = at + 1;
            }
        }
        for (const auto& w : summary_.warnings)
            matched = matched || (schema::KindName(w.object.kind) == row[0] && w.object.name == row[1]);
        if (!matched)
            pinned.push_back({"error", "", QString::fromStdString(row[0] + " " + row[1]),
                              QString::fromStdString(row[2]), Weight(schema::Severity::Error)});
    }
    std::stable_sort(pinned.begin(), pinned.end(), [](const Pinned& a, const Pinned& b) { return a.weight < b.weight; });
    Warnings->setRowCount(static_cast<int>(pinned.size()));
    for (std::size_t r = 0; r < pinned.size(); ++r) {
        const int row = static_cast<int>(r);
        auto* badge = WarningCell(pinned[r].severity);
        const Colours colours = BadgeColours(pinned[r].severity);
        badge->setBackground(QColor(colours.background));
        badge->setForeground(QColor(colours.text));
        badge->setTextAlignment(Qt::AlignCenter);
        QFont font = badge->font();
        font.setBold(true);
        badge->setFont(font);
        Warnings->setItem(row, 0, badge);
        Warnings->setItem(row, 1, WarningCell(pinned[r].code));
        Warnings->setItem(row, 2, WarningCell(pinned[r].object));
        Warnings->setItem(row, 3, WarningCell(pinned[r].message));
    }
    const std::size_t errors = std::count_if(pinned.begin(), pinned.end(),
                                             [](const Pinned& p) { return p.severity == "error"; });
    WarningsCaption->setText(QString("Warnings (%1)%2")
                                 .arg(pinned.size())
                                 .arg(errors ? ": a repair stops at an error unless forced" : ""));
    WarningsCaption->setVisible(!pinned.empty());
    Warnings->setVisible(!pinned.empty());
    // Up to five rows show without scrolling.
    const int shown = std::min<int>(static_cast<int>(pinned.size()), 5);
    Warnings->setFixedHeight(Warnings->horizontalHeader()->height() + shown * 20 + 4);

    Model->removeRows(0, Model->rowCount());
    for (std::size_t i = 0; i < summary_.findings.size(); ++i) {
        const auto& f = summary_.findings[i];
        const QString badge = Badge(f);
        const Colours colours = BadgeColours(badge);
        QList<QStandardItem*> cells;
        auto* kind = Cell(badge);
        kind->setBackground(QColor(colours.background));
        kind->setForeground(QColor(colours.text));
        kind->setTextAlignment(Qt::AlignCenter);
        kind->setData(static_cast<int>(i), Qt::UserRole);
        cells << kind << Cell(schema::KindName(f.kind)) << Cell(QString::fromStdString(f.name));
        auto* message = Cell(QString::fromStdString(f.message).simplified());
        message->setToolTip(QString::fromStdString(f.message));
        cells << message;
        QString action = schema::FindingActionWord(f.plannedAction);
        if (f.destructive)
            action += ", loses data";
        auto* actionCell = Cell(action);
        if (f.destructive)
            actionCell->setForeground(QColor("#b71c1c"));
        cells << actionCell;
        auto* rowsCell = Cell(f.rows >= 0 ? QString::number(f.rows) : QString());
        rowsCell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        cells << rowsCell;
        for (auto* cell : cells)
            cell->setData(cell->text(), Qt::UserRole + 1);
        rowsCell->setData(static_cast<qlonglong>(f.rows), Qt::UserRole + 1);
        Model->appendRow(cells);
    }
    Filter->clear();
    ApplyFilter({});
    // Unsorted: the findings in the plan's order until a header is clicked.
    Findings->sortByColumn(-1, Qt::AscendingOrder);
    Sorted->sort(-1);
    if (Sorted->rowCount() > 0)
        Findings->setCurrentIndex(Sorted->index(0, 0));
    else
        ShowDetail();
}

const schema::Finding* CompleteReport::Selected() const
{
    const QModelIndex current = Findings->currentIndex();
    if (!current.isValid())
        return nullptr;
    const QModelIndex source = Sorted->mapToSource(Sorted->index(current.row(), KindColumn));
    const int index = Model->item(source.row(), KindColumn)->data(Qt::UserRole).toInt();
    return &summary_.findings[static_cast<std::size_t>(index)];
}

QString CompleteReport::SideBySideHtml(const std::string& oldText, const std::string& newText)
{
    QString html = "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\">"
                   "<tr><th></th><th align=\"left\">Old</th><th></th><th align=\"left\">New</th></tr>";
    for (const auto& row : review::SideBySide(oldText, newText)) {
        const char* oldBack = row.kind == review::RowKind::Same ? "" : row.oldNumber ? "#fbe3e3" : "#f2f2f2";
        const char* newBack = row.kind == review::RowKind::Same ? "" : row.newNumber ? "#e1f5e1" : "#f2f2f2";
        auto number = [](int n) { return n ? QString::number(n) : QString(); };
        html += QString("<tr><td style=\"color:#888\" align=\"right\">%1</td>"
                        "<td style=\"white-space:pre; background:%2\">%3</td>"
                        "<td style=\"color:#888\" align=\"right\">%4</td>"
                        "<td style=\"white-space:pre; background:%5\">%6</td></tr>")
                    .arg(number(row.oldNumber), oldBack, Escaped(row.oldLine, "#f3a5a5"), number(row.newNumber),
                         newBack, Escaped(row.newLine, "#9bd89b"));
    }
    return html + "</table>";
}

void CompleteReport::ShowDetail()
{
    const schema::Finding* f = Selected();
    if (!f) {
        DetailCaption->setText("No finding selected");
        Definitions->clear();
        Statements->clear();
        return;
    }
    DetailCaption->setText(QString("%1 %2: %3")
                               .arg(schema::KindName(f->kind), QString::fromStdString(f->name),
                                    QString::fromStdString(f->message).simplified()));
    Definitions->setHtml(SideBySideHtml(f->oldDefinition, f->newDefinition));
    QString statements;
    if (f->statements.empty())
        statements = f->plannedAction == schema::FindingAction::Skip ? "-- Left as it is: no statement is planned."
                                                                        : "-- No statement of its own.";
    for (const auto& sql : f->statements)
        statements += QString::fromStdString(sql) + ";\n";
    Statements->setPlainText(QString("-- Planned statements (%1)\n").arg(f->statements.size()) + statements);
}

void CompleteReport::ApplyFilter(const QString& text)
{
    Sorted->setFilterFixedString(text);
    for (int row = 0; row < Warnings->rowCount(); ++row) {
        bool shown = text.isEmpty();
        for (int column = 0; column < Warnings->columnCount() && !shown; ++column)
            shown = Warnings->item(row, column)->text().contains(text, Qt::CaseInsensitive);
        Warnings->setRowHidden(row, !shown);
    }
}
