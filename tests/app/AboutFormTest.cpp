// The About window: its fixed contents and what a click on an address label opens.
#include "app/AboutForm.h"

#include <QAbstractButton>
#include <QImage>
#include <QtTest>

class AboutFormTest : public QObject {
    Q_OBJECT

private slots:
    void ItIsAFixedSizeWindowWithTheProductNameVersionAndNoticeAndNoButtons()
    {
        TAboutForm about;
        QCOMPARE(about.windowTitle(), QString("About"));
        QCOMPARE(about.size(), QSize(416, 286));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(about.findChildren<QAbstractButton*>().isEmpty());

        QCOMPARE(about.ProductName->text(), QString("Vorkat"));
        QVERIFY(about.ProductName->font().bold());
        QCOMPARE(about.ProductName->font().pixelSize(), 24);
        QVERIFY(about.ProductName->alignment() & Qt::AlignHCenter);
        QCOMPARE(about.Version->text(), QString("v 1.0"));
        QVERIFY(about.Version->font().bold());
        QVERIFY(about.Version->font().pixelSize() > about.EMailLabel->fontInfo().pixelSize());

        QVERIFY(about.Comments->toPlainText().contains("Vorkat developers"));
        QVERIFY(!about.Comments->isEnabled());
        QCOMPARE(about.Comments->frameShape(), QFrame::NoFrame);
        QCOMPARE(about.Comments->palette().color(QPalette::Disabled, QPalette::Base),
                 about.palette().color(QPalette::Disabled, QPalette::Window));
    }

    void TheCompleteComparisonShowsTheWholeReleaseAndTheHeadingComesBack()
    {
        TAboutForm about;
        about.ShowFullVersion(true);
        QCOMPARE(about.Version->text(), QString("v " VORKAT_VERSION));
        about.ShowFullVersion(false);
        QCOMPARE(about.Version->text(), QString("v 1.0"));
    }

    void TheAddressLabelsShowAHandAndTheWebAddressIsBlueAndUnderlined()
    {
        TAboutForm about;
        QCOMPARE(about.EMailLabel->text(), QString("EMail : vorkat@example.org"));
        QCOMPARE(about.EMailLabel->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(about.WebLabel->text(), QString("https://www.example.org/vorkat/"));
        QCOMPARE(about.WebLabel->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(about.WebLabel->font().underline());
        QCOMPARE(about.WebLabel->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }

    void AClickOnALabelOpensANewMailOrTheWebAddress()
    {
        TAboutForm about;
        QList<QUrl> opened;
        about.OpenUrl = [&](const QUrl& url) { opened << url; };
        about.show();
        QTest::mouseClick(about.EMailLabel, Qt::LeftButton);
        QTest::mouseClick(about.WebLabel, Qt::LeftButton);
        // A right click opens nothing.
        QTest::mouseClick(about.WebLabel, Qt::RightButton);
        QCOMPARE(opened, (QList<QUrl>{QUrl("mailto:vorkat@example.org"), QUrl("https://www.example.org/vorkat/")}));
    }

    void TheEmblemIsDrawnInItsPlaceOnTheLeft()
    {
        TAboutForm about;
        QCOMPARE(about.ProgramIcon->size(), QSize(157, 244));
        QVERIFY(about.ProgramIcon->geometry().right() < about.ProductName->geometry().left());
        QImage picture = about.ProgramIcon->grab().toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                colours.insert(picture.pixel(x, y));
        QVERIFY(colours.size() > 20);

        // VORKAT_ABOUT_SHOT=<file.png> keeps a picture of the whole window for a look by eye.
        const QString shot = qEnvironmentVariable("VORKAT_ABOUT_SHOT");
        if (!shot.isEmpty()) {
            about.show();
            QVERIFY(about.grab().save(shot));
        }
    }
};

QTEST_MAIN(AboutFormTest)
#include "AboutFormTest.moc"
