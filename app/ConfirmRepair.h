// Asked before a complete repair changes Old: the counts, every destructive item, and how many
// statements will run; Apply, "Review first" or Cancel.
#pragma once
#include "data/Report.h"
#include "schema/Summary.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

class TConfirmRepair : public QDialog {
    Q_OBJECT
public:
    enum Answer { Apply = 1, ReviewFirst = 2, Cancel = 0 };

    TConfirmRepair(const schema::Summary& summary, QWidget* parent = nullptr);

    QLabel* Counts;
    QLabel* Question;
    // What can lose data: each destructive finding.
    QLabel* DestructiveCaption;
    QListWidget* Destructive;
    QPushButton* ApplyButton;
    QPushButton* ReviewButton;
    QPushButton* CancelButton;

    // The lines of Destructive, as the dialog lists them.
    static QStringList DestructiveItems(const schema::Summary& summary);
};
