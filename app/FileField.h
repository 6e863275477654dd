// A text field with a browse button, as the two database pickers use it.
#pragma once
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

class FileField : public QWidget {
    Q_OBJECT
public:
    // mustExist: the dialog accepts only existing files and appends defaultSuffix.
    FileField(const QString& defaultSuffix, bool mustExist, QWidget* parent = nullptr);

    QString FileName() const { return edit->text(); }
    void SetFileName(const QString& name) { edit->setText(name); }

    QLineEdit* edit;
    QToolButton* browse;

    // The dialog is made here so that it can be inspected without showing it.
    void ConfigureDialog(class QFileDialog& dialog) const;

private:
    void Browse();
    QString defaultSuffix_;
    bool mustExist_;
};
