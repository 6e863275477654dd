// Cancel is the default: a repair is one click away, never one Enter away.
#include "app/ConfirmRepair.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

TConfirmRepair::TConfirmRepair(const schema::Summary& summary, QWidget* parent)
    : QDialog(parent), Counts(new QLabel(this)), Question(new QLabel(this)), DestructiveCaption(new QLabel(this)),
      Destructive(new QListWidget(this)), ApplyButton(new QPushButton("Apply", this)),
      ReviewButton(new QPushButton("Review first", this)), CancelButton(new QPushButton("Cancel", this))
{
    setWindowTitle("Repair the Old Database - Vorkat v" VORKAT_VERSION);
    setModal(true);
    const schema::Counts counts = summary.Count();
    Counts->setText(QString::fromStdString(schema::CountsText(counts)));
    Question->setText(QString("Apply %1 %2 to the Old Database %3?\nThey run in one transaction: if the server "
                              "refuses one, none of them is kept.")
                          .arg(counts.statements)
                          .arg(counts.statements == 1 ? "statement" : "statements")
                          .arg(QString::fromStdString(summary.old.database)));
    Question->setWordWrap(true);
    QFont bold = Question->font();
    bold.setBold(true);
    Question->setFont(bold);

    const QStringList items = DestructiveItems(summary);
    DestructiveCaption->setText(items.isEmpty() ? "Nothing destructive: no object or value is dropped."
                                                : QString("Destructive (%1): these can lose data").arg(items.size()));
    DestructiveCaption->setStyleSheet(items.isEmpty() ? "" : "color: #b71c1c; font-weight: bold");
    Destructive->addItems(items);
    Destructive->setVisible(!items.isEmpty());
    Destructive->setMinimumWidth(520);
    // As high as its items, up to ten of them.
    const int shown = std::min<int>(static_cast<int>(items.size()), 10);
    Destructive->setFixedHeight(shown * Destructive->fontMetrics().lineSpacing() + 2 * Destructive->frameWidth() + 8);

    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(size));

    auto* texts = new QVBoxLayout;
    texts->addWidget(Question);
    texts->addWidget(Counts);
    texts->addSpacing(6);
    texts->addWidget(DestructiveCaption);
    texts->addWidget(Destructive);
    auto* body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ApplyButton);
    buttons->addWidget(ReviewButton);
    buttons->addWidget(CancelButton);
    ApplyButton->setAutoDefault(false);
    ReviewButton->setAutoDefault(false);
    CancelButton->setDefault(true);
    CancelButton->setFocus();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);

    connect(ApplyButton, &QPushButton::clicked, this, [this] { done(Apply); });
    connect(ReviewButton, &QPushButton::clicked, this, [this] { done(ReviewFirst); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(Cancel); });
}

// The findings carry every drop of what holds data, every cut and every migration.
QStringList TConfirmRepair::DestructiveItems(const schema::Summary& summary)
{
    QStringList items;
    for (const auto& f : summary.findings) {
        if (!f.destructive)
            continue;
        QString item = QString("%1 %2 %3: %4")
                           .arg(schema::FindingActionWord(f.plannedAction), schema::KindName(f.kind),
                                QString::fromStdString(f.name), QString::fromStdString(f.message).simplified());
        if (f.rows >= 0)
            item += QString(" (%1 %2)").arg(f.rows).arg(f.rows == 1 ? "row" : "rows");
        items << item;
    }
    return items;
}
