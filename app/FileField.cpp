// The browse dialog of a database field.
#include "app/FileField.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>

FileField::FileField(const QString& defaultSuffix, bool mustExist, QWidget* parent)
    : QWidget(parent), edit(new QLineEdit(this)), browse(new QToolButton(this)), defaultSuffix_(defaultSuffix),
      mustExist_(mustExist)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(edit);
    layout->addWidget(browse);
    browse->setText("...");
    connect(browse, &QToolButton::clicked, this, &FileField::Browse);
}

void FileField::ConfigureDialog(QFileDialog& dialog) const
{
    dialog.setWindowTitle("Browse");
    dialog.setNameFilter("IB files (*.gdb)");
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setFileMode(mustExist_ ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSizeGripEnabled(mustExist_);
    // "*.gdb" as a default extension means "gdb".
    QString suffix = defaultSuffix_;
    suffix.remove("*.");
    dialog.setDefaultSuffix(suffix);
    QFileInfo current(FileName());
    if (!FileName().isEmpty()) {
        dialog.setDirectory(current.absolutePath());
        dialog.selectFile(current.fileName());
    }
}

void FileField::Browse()
{
    QFileDialog dialog(this);
    ConfigureDialog(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SetFileName(dialog.selectedFiles().first());
}
