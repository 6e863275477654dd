// One place shows every error of the program.
#include "app/ErrorBox.h"
#include "data/Files.h"

#include <QApplication>
#include <QMessageBox>

namespace {
ErrorBoxCapture* capture = nullptr;
}

ErrorBoxCapture::ErrorBoxCapture() : previous_(capture) { capture = this; }
ErrorBoxCapture::~ErrorBoxCapture() { capture = previous_; }

void ShowErrorBox(const QString& message)
{
    const QString text = QString::fromStdString(ErrorBoxText(message.toStdString()));
    if (capture) {
        capture->Messages << text;
        return;
    }
    QMessageBox box(QMessageBox::Critical, "Vorkat", text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
