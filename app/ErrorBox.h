// The application's error box: titled "Vorkat", error icon, OK, the message with its period rule.
#pragma once
#include <QString>
#include <QStringList>

void ShowErrorBox(const QString& message);

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
