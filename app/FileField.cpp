// The browse dialog of a database field, and of New's files in the complete comparison.
#include "app/FileField.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>

FileField::FileField(const QString& defaultSuffix, bool mustExist, QWidget* parent)
    : QWidget(parent), edit(new QLineEdit(this)), browse(new QToolButton(this)), defaultSuffix_(defaultSuffix),
      mustExist_(mustExist), menu_(new QMenu(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(edit);
    layout->addWidget(browse);
    browse->setText("...");
    FolderAction = menu_->addAction("Folder…");
    connect(browse, &QToolButton::clicked, this, &FileField::Browse);
    connect(FolderAction, &QAction::triggered, this, &FileField::BrowseFolder);
}

void FileField::AllowFiles(bool allowed)
{
    filesAllowed_ = allowed;
    // The button keeps its plain look without the menu; with it, a click still opens the
    // file dialog and the arrow offers the folder.
    browse->setMenu(allowed ? menu_ : nullptr);
    browse->setPopupMode(allowed ? QToolButton::MenuButtonPopup : QToolButton::DelayedPopup);
}

void FileField::ConfigureDialog(QFileDialog& dialog) const
{
    dialog.setWindowTitle("Browse");
    if (filesAllowed_)
        dialog.setNameFilters({"IB files (*.gdb)", "isql scripts (*.sql)"});
    else
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

void FileField::ConfigureFolderDialog(QFileDialog& dialog) const
{
    dialog.setWindowTitle("Browse for a folder");
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSizeGripEnabled(true);
    // A folder named in the field opens its parent with it selected.
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

void FileField::BrowseFolder()
{
    QFileDialog dialog(this);
    ConfigureFolderDialog(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SetFileName(dialog.selectedFiles().first());
}
