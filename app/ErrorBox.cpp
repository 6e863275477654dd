// One place shows every error of the program.
#include "app/ErrorBox.h"
#include "data/Files.h"

#include <QApplication>
#include <QMessageBox>

namespace {

ErrorBoxCapture* capture = nullptr;

// The box wraps only at blanks, so a long path would make it wider than the screen and be
// cut off. Long runs without blanks get invisible break points after each folder separator
// and wherever a piece is still too long.
QString Wrappable(const QString& text)
{
    constexpr int LongRun = 30;
    const QChar breakPoint(0x200B);
    QString out;
    int start = 0;
    while (start < text.size()) {
        int end = start;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const QString word = text.mid(start, end - start);
        if (word.size() <= LongRun) {
            out += word;
        } else {
            int piece = 0;
            for (QChar c : word) {
                out += c;
                if (c == '/' || c == '\\' || ++piece >= LongRun) {
                    out += breakPoint;
                    piece = 0;
                }
            }
        }
        while (end < text.size() && text[end].isSpace())
            out += text[end++];
        start = end;
    }
    return out;
}

} // namespace

ErrorBoxCapture::ErrorBoxCapture() : previous_(capture) { capture = this; }
ErrorBoxCapture::~ErrorBoxCapture() { capture = previous_; }

void ShowErrorBox(const QString& message)
{
    const QString text = QString::fromStdString(ErrorBoxText(message.toStdString()));
    if (capture) {
        capture->Messages << text;
        return;
    }
    QMessageBox box(QMessageBox::Critical, "Vorkat", Wrappable(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    // A server text such as "<Missing arg #1>" is no markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
