// One place shows every error of the program.
#include "app/ErrorBox.h"
#include "data/Files.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

ErrorBoxCapture* capture = nullptr;

}

TErrorBox::TErrorBox(const QString& text, QWidget* parent)
    : QDialog(parent), Icon(new QLabel(this)), Message(new QTextEdit(this)),
      Buttons(new QDialogButtonBox(QDialogButtonBox::Ok, this)), text_(text)
{
    setWindowTitle("Vorkat");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    Icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(iconSize));

    // A label breaks only between words, so a long path would make the box wider than the
    // screen. A read-only text that looks like a label breaks between words too, and inside a
    // word that is longer than a line, without a character added to the text.
    Message->setReadOnly(true);
    Message->setAcceptRichText(false);
    Message->setFrameShape(QFrame::NoFrame);
    Message->viewport()->setAutoFillBackground(false);
    Message->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Message->setLineWrapMode(QTextEdit::WidgetWidth);
    Message->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Message->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Enter and Esc go to OK, as in any message box, unless the user clicks into the text.
    Message->setFocusPolicy(Qt::ClickFocus);
    Message->document()->setDocumentMargin(0);
    // A server text such as "<Missing arg #1>" is no markup.
    Message->setPlainText(text);
    Message->installEventFilter(this);

    // As wide as the text, up to half the screen (500 pixels at most), and as high as its
    // lines, up to half the screen's height with a scroll bar beyond.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    // Measured on a copy: the text's own document follows the width of the widget.
    const std::unique_ptr<QTextDocument> measure(Message->document()->clone());
    measure->setTextWidth(-1);
    const int natural = static_cast<int>(std::ceil(measure->idealWidth())) + 1;
    const int width = std::max(1, std::min({natural, 500, available.width() / 2}));
    measure->setTextWidth(width);
    const int height = static_cast<int>(std::ceil(measure->size().height()));
    const int maxHeight = std::max(Message->fontMetrics().lineSpacing(), available.height() / 2);
    if (height > maxHeight) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Message->verticalScrollBar());
        Message->setFixedSize(width + bar, maxHeight);
    } else {
        Message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        Message->setFixedSize(width, height);
    }

    // Screen readers get the text as it is, not the lines it is wrapped into.
    setAccessibleDescription(text);
    Message->setAccessibleName(text);

    QPushButton* ok = Buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    ok->setFocus();
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, this) * 2);
    layout->addWidget(Icon, 0, 0, Qt::AlignTop);
    layout->addWidget(Message, 0, 1, Qt::AlignVCenter);
    layout->addWidget(Buttons, 1, 0, 1, 2);
}

void TErrorBox::Copy()
{
    if (Message->textCursor().hasSelection())
        Message->copy();
    else
        QGuiApplication::clipboard()->setText(text_);
}

void TErrorBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TErrorBox::eventFilter(QObject* watched, QEvent* event)
{
    // In the text, Ctrl+C without a selection copies the whole text, as it does on OK.
    if (watched == Message && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        Copy();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TErrorBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // What a message box tells screen readers when it opens.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
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
    TErrorBox box(text, QApplication::activeWindow());
    box.exec();
}
