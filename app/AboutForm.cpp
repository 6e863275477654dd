// The About window's fixed layout, its drawn emblem and the two address labels.
#include "app/AboutForm.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

EmblemPicture::EmblemPicture(QWidget* parent) : QWidget(parent)
{
    setFixedSize(157, 244);
}

namespace {

// A database drum: the usual cylinder with two bands, shaded from left to right.
void DrawDrum(QPainter& painter, const QRectF& box, const QColor& colour)
{
    const qreal capHeight = box.height() * 0.28;
    QLinearGradient side(box.left(), 0, box.right(), 0);
    side.setColorAt(0, colour.darker(135));
    side.setColorAt(0.45, colour.lighter(115));
    side.setColorAt(1, colour.darker(150));

    QPainterPath body;
    body.moveTo(box.left(), box.top() + capHeight / 2);
    body.lineTo(box.left(), box.bottom() - capHeight / 2);
    body.arcTo(QRectF(box.left(), box.bottom() - capHeight, box.width(), capHeight), 180, 180);
    body.lineTo(box.right(), box.top() + capHeight / 2);
    body.arcTo(QRectF(box.left(), box.top(), box.width(), capHeight), 0, -180);
    painter.setPen(QPen(colour.darker(200), 1.2));
    painter.setBrush(side);
    painter.drawPath(body);

    painter.setBrush(Qt::NoBrush);
    const qreal bandStep = (box.height() - capHeight) / 3;
    for (int band = 1; band <= 2; ++band) {
        QRectF arc(box.left(), box.top() + band * bandStep, box.width(), capHeight);
        painter.drawArc(arc, 180 * 16, 180 * 16);
    }
    painter.setBrush(colour.lighter(135));
    painter.drawEllipse(QRectF(box.left(), box.top(), box.width(), capHeight));
}

// A bold caption centred in its place on the form.
QLabel* Heading(const QString& text, int pixelSize, const QRect& place, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(pixelSize);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(place);
    return label;
}

} // namespace

void EmblemPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(24, 52, 92));
    sky.setColorAt(1, QColor(38, 120, 160));
    painter.setPen(QPen(QColor(14, 32, 60), 1));
    painter.setBrush(sky);
    painter.drawRoundedRect(area, 12, 12);

    // The reference database above hands its structure down to the one brought up to date.
    DrawDrum(painter, QRectF(34, 22, 89, 70), QColor(120, 200, 225));
    DrawDrum(painter, QRectF(34, 146, 89, 70), QColor(190, 196, 206));

    QPen arrow(QColor(255, 214, 90), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(arrow);
    painter.drawLine(QPointF(78.5, 100), QPointF(78.5, 128));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 214, 90));
    painter.drawPolygon(QPolygonF({QPointF(64, 124), QPointF(93, 124), QPointF(78.5, 142)}));

    QFont mark = font();
    mark.setBold(true);
    mark.setPixelSize(14);
    painter.setFont(mark);
    painter.setPen(QColor(230, 240, 250));
    painter.drawText(QRectF(0, 218, width(), 22), Qt::AlignCenter, "VORKAT");
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent), OpenUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setWindowTitle("About");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(416, 286);

    ProgramIcon = new EmblemPicture(this);
    ProgramIcon->move(12, 21);

    const int left = 184;
    const int width = 416 - left - 12;

    ProductName = Heading("Vorkat", 24, QRect(left, 28, width, 36), this);
    Version = Heading("v 1.0", 18, QRect(left, 70, width, 28), this);

    // The servers differ in how a domain or column is changed; the user should know which way is taken.
    Comments = new QPlainTextEdit("Copyright \u00A9 the Vorkat developers. All rights reserved.\n"
                                  "InterBase and Firebird before 3 (ODS below 12): system-table UPDATEs. "
                                  "Firebird 3 and later (ODS 12+): ALTER DOMAIN, ALTER TABLE ... ALTER, "
                                  "COMMENT ON.",
                                  this);
    Comments->setFrameStyle(QFrame::NoFrame);
    Comments->setReadOnly(true);
    Comments->setEnabled(false);
    Comments->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette commentsPalette = Comments->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        commentsPalette.setColor(group, QPalette::Base, commentsPalette.color(group, QPalette::Window));
    Comments->setPalette(commentsPalette);
    QFont commentsFont = Comments->font();
    commentsFont.setPixelSize(11);
    Comments->setFont(commentsFont);
    Comments->setGeometry(left, 102, width, 92);

    EMailLabel = new ClickLabel(QString("EMail : ") + EMailAddress, this);
    EMailLabel->setCursor(Qt::PointingHandCursor);
    EMailLabel->setGeometry(left, 198, width, 20);

    WebLabel = new ClickLabel(WebAddress, this);
    QFont webFont = WebLabel->font();
    webFont.setUnderline(true);
    WebLabel->setFont(webFont);
    QPalette webPalette = WebLabel->palette();
    webPalette.setColor(QPalette::WindowText, Qt::blue);
    WebLabel->setPalette(webPalette);
    WebLabel->setCursor(Qt::PointingHandCursor);
    WebLabel->setGeometry(left, 224, width, 20);

    connect(EMailLabel, &ClickLabel::clicked, this, &TAboutForm::EMailLabelClick);
    connect(WebLabel, &ClickLabel::clicked, this, &TAboutForm::WebLabelClick);
}

void TAboutForm::showEvent(QShowEvent* event)
{
    // Centred on the screen rather than over the main window.
    if (QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen())
        move(where->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TAboutForm::ShowFullVersion(bool full)
{
    Version->setText(full ? "v " VORKAT_VERSION : "v 1.0");
}

void TAboutForm::EMailLabelClick()
{
    OpenUrl(QUrl(QString("mailto:") + EMailAddress));
}

void TAboutForm::WebLabelClick()
{
    OpenUrl(QUrl(WebLabel->text()));
}
