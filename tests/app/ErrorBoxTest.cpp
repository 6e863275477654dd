// The error box as the user sees and copies it, under the offscreen platform.
#include "app/ErrorBox.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QtTest>

class ErrorBoxTest : public QObject {
    Q_OBJECT

private slots:
    void longNamesWrapOnTheScreenAndCopyUnchanged()
    {
        const QString path = "/var/lib/firebird/data/" + QString("customers_archive_").repeated(16) + "old.gdb";
        QVERIFY(path.size() > 300);
        const QString message = "Old Database: unsuccessful metadata update\nTable T_PARENT_LONG_ABCDEFGHIJKLMNOPQ "
                                "<Missing arg #1> in " + path;
        const QString expected = message + ".";
        QGuiApplication::clipboard()->clear();

        QString copied;
        QStringList shown;
        QString title;
        QString accessible;
        bool critical = false;
        bool plain = false;
        int width = 0;
        QList<QString> buttons;
        bool found = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<TErrorBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            found = true;
            QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
            copied = QGuiApplication::clipboard()->text();
            title = box->windowTitle();
            accessible = box->accessibleDescription();
            const int size = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box);
            critical = !box->Icon->pixmap().isNull()
                       && box->Icon->pixmap().toImage()
                              == box->style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, box).pixmap(size).toImage();
            plain = !box->Message->acceptRichText() && box->Message->toHtml().contains("&lt;Missing arg #1&gt;");
            width = box->frameGeometry().width();
            shown << box->Message->toPlainText() << box->Message->accessibleName();
            for (const QLabel* label : box->findChildren<QLabel*>())
                shown << label->text();
            for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
                buttons << button->text().remove('&');
            box->Buttons->button(QDialogButtonBox::Ok)->click();
        });
        ShowErrorBox(message);

        QVERIFY(found);
        QCOMPARE(copied, expected);
        QCOMPARE(title, QString("Vorkat"));
        QCOMPARE(accessible, expected);
        QVERIFY(critical);
        QVERIFY(plain);
        QCOMPARE(buttons, QList<QString>{"OK"});
        QCOMPARE(shown.first(), expected);
        for (const QString& text : shown)
            QVERIFY2(!text.contains(QChar(0x200B)), qPrintable(text));
        QVERIFY(width > 0);
        QVERIFY2(width <= QGuiApplication::primaryScreen()->availableGeometry().width(), qPrintable(QString::number(width)));
    }
};

QTEST_MAIN(ErrorBoxTest)
#include "ErrorBoxTest.moc"
