// The application's error box: titled "Vorkat", error icon, OK, the message with its period rule.
#pragma once
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTextEdit>

void ShowErrorBox(const QString& message);

// The box that ShowErrorBox shows. The text stays as it is: a long name or path wraps inside
// itself on the screen only, and Ctrl+C copies the text unchanged.
class TErrorBox : public QDialog {
    Q_OBJECT
public:
    explicit TErrorBox(const QString& text, QWidget* parent = nullptr);

    const QString& Text() const { return text_; }
    QLabel* Icon;
    QTextEdit* Message;
    QDialogButtonBox* Buttons;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The part the user has selected, else the whole text.
    void Copy();
    QString text_;
};

// While one exists, error boxes are collected instead of shown (the test harness uses it).
class ErrorBoxCapture {
public:
    ErrorBoxCapture();
    ~ErrorBoxCapture();
    ErrorBoxCapture(const ErrorBoxCapture&) = delete;
    ErrorBoxCapture& operator=(const ErrorBoxCapture&) = delete;
    QStringList Messages;

private:
    ErrorBoxCapture* previous_;
};
