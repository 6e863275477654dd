// A text field with a browse button, as the two database pickers use it.
#pragma once
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

class QAction;
class QMenu;

class FileField : public QWidget {
    Q_OBJECT
public:
    // mustExist: the dialog accepts only existing files and appends defaultSuffix.
    FileField(const QString& defaultSuffix, bool mustExist, QWidget* parent = nullptr);

    QString FileName() const { return edit->text(); }
    void SetFileName(const QString& name) { edit->setText(name); }

    QLineEdit* edit;
    QToolButton* browse;
    // In the browse button's menu while files are allowed: a folder that an export wrote.
    QAction* FolderAction;

    // New in the complete comparison may be files: the dialog then lists isql scripts too, and
    // the button's menu offers a folder. Off, the field and its dialog are as they always were.
    void AllowFiles(bool allowed);

    // The dialogs are made here so that they can be inspected without showing them.
    void ConfigureDialog(class QFileDialog& dialog) const;
    void ConfigureFolderDialog(class QFileDialog& dialog) const;

private:
    void Browse();
    void BrowseFolder();
    QString defaultSuffix_;
    bool mustExist_;
    bool filesAllowed_ = false;
    QMenu* menu_;
};
