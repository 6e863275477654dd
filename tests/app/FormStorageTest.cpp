// The settings in vorkat.ini: what a start puts back into the main window and what closing writes.
#include "app/ErrorBox.h"
#include "app/MainWindow.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class FormStorageTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString ini_;

    std::unique_ptr<TVorkatMainForm> NewForm()
    {
        auto form = std::make_unique<TVorkatMainForm>();
        form->FormStorage1.IniFileName = ini_;
        return form;
    }
    void WriteIni(const QByteArray& content)
    {
        QFile file(ini_);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QByteArray ReadIni() const
    {
        QFile file(ini_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QList<QCheckBox*> Boxes(TVorkatMainForm& form) const
    {
        return {form.DomainBox, form.ExpBox,   form.GenBox, form.UDFBox,  form.TableBox,
                form.IndexBox,  form.SPBox,    form.TrigBox, form.ReportBox};
    }
    static QByteArray Suffix()
    {
        QSize size = QGuiApplication::primaryScreen()->size();
        return QString("(%1x%2)").arg(size.width()).arg(size.height()).toUtf8();
    }
    static QByteArray Ppi()
    {
        return QByteArray::number(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY()));
    }

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        ini_ = dir_.filePath("vorkat.ini");
        QFile::remove(ini_);
    }

    void AFirstStartKeepsTheStartStateAndClosingWritesEveryKeyInOrder()
    {
        auto form = NewForm();
        form->show();
        for (QCheckBox* box : Boxes(*form))
            QVERIFY(box->isChecked());
        QVERIFY(form->ScriptBox->isChecked());
        QVERIFY(!form->RepairBox->isChecked());
        QCOMPARE(form->OldDBName->FileName(), QString());
        QVERIFY(!QFile::exists(ini_));

        form->setGeometry(30, 40, 500, 420);
        QVERIFY(form->close());
        QCOMPARE(ReadIni(), "[TVorkatMainForm]\r\n"
                            "FormVersion=0\r\n"
                            "Flags=0\r\n"
                            "ShowCmd=1\r\n"
                            "PixelsPerInch=" + Ppi() + "\r\n"
                            "MinMaxPos" + Suffix() + "=-1,-1,-1,-1\r\n"
                            "MinMaxPos=-1,-1,-1,-1\r\n"
                            "NormPos" + Suffix() + "=30,40,530,460\r\n"
                            "NormPos=30,40,530,460\r\n"
                            "Visible=0\r\n"
                            "DomainBox_Checked=True\r\n"
                            "IndexBox_Checked=True\r\n"
                            "NewDBName_FileName=\r\n"
                            "OldDBName_FileName=\r\n"
                            "ReportBox_Checked=True\r\n"
                            "SPBox_Checked=True\r\n"
                            "TableBox_Checked=True\r\n"
                            "TrigBox_Checked=True\r\n"
                            "ExpBox_Checked=True\r\n"
                            "GenBox_Checked=True\r\n"
                            "UDFBox_Checked=True\r\n"
                            "ScriptBox_Checked=True\r\n"
                            "CompleteBox_Checked=False\r\n");
    }

    void EveryStoredPropertyAndThePlaceComeBackAtTheNextStart()
    {
        {
            auto form = NewForm();
            form->show();
            for (QCheckBox* box : Boxes(*form))
                box->setChecked(false);
            form->CompleteBox->setChecked(true);
            form->OldDBName->SetFileName("  /data/old.gdb ");
            form->NewDBName->SetFileName("/data/new.gdb");
            form->setGeometry(15, 25, 450, 410);
            QVERIFY(form->close());
        }
        QVERIFY(ReadIni().contains("\r\nOldDBName_FileName=/data/old.gdb\r\n"));
        QVERIFY(ReadIni().endsWith("\r\nScriptBox_Checked=True\r\nCompleteBox_Checked=True\r\n"));
        auto form = NewForm();
        form->show();
        for (QCheckBox* box : Boxes(*form))
            QVERIFY2(!box->isChecked(), qPrintable(box->text()));
        // The complete comparison covers every kind: their boxes take no input.
        QVERIFY(form->CompleteBox->isChecked());
        QVERIFY(!form->DomainBox->isEnabled());
        QVERIFY(!form->TrigBox->isEnabled());
        form->CompleteBox->setChecked(false);
        QVERIFY(form->DomainBox->isEnabled());
        QVERIFY(form->ScriptBox->isChecked());
        QCOMPARE(form->OldDBName->FileName(), QString("/data/old.gdb"));
        QCOMPARE(form->NewDBName->FileName(), QString("/data/new.gdb"));
        QCOMPARE(form->geometry(), QRect(15, 25, 450, 410));
    }

    void AMaximizedWindowComesBackMaximizedOverItsNormalPlace()
    {
        WriteIni("[TVorkatMainForm]\nShowCmd=3\nNormPos=20,30,420,430\n");
        auto form = NewForm();
        form->show();
        QVERIFY(form->isMaximized());
        QCOMPARE(form->normalGeometry(), QRect(20, 30, 400, 400));
        QVERIFY(form->close());
        QByteArray saved = ReadIni();
        QVERIFY(saved.contains("\nShowCmd=3\n"));
        QVERIFY(saved.contains("\nNormPos=20,30,420,430\n"));
    }

    void ALowerCaseTrueTicksABoxAndYesLeavesItAsItWas()
    {
        WriteIni("[tvorkatmainform]\n"
                 "domainbox_checked=true\n"
                 "INDEXBOX_CHECKED=yes\n"
                 "ExpBox_Checked= Yes \n"
                 "GenBox_Checked=fALSE\n");
        auto form = NewForm();
        form->DomainBox->setChecked(false);
        form->IndexBox->setChecked(false);
        form->show();
        QVERIFY(form->DomainBox->isChecked());
        QVERIFY(!form->IndexBox->isChecked());
        QVERIFY(form->ExpBox->isChecked());
        QVERIFY(!form->GenBox->isChecked());
        // A file from before the complete comparison leaves it off.
        QVERIFY(!form->CompleteBox->isChecked());
        QVERIFY(form->DomainBox->isEnabled());
    }

    void ANameWithABlankIsShownInQuotesAndStoredWithout()
    {
        WriteIni("[TVorkatMainForm]\n"
                 "OldDBName_FileName=/data/my old.gdb\n"
                 "NewDBName_FileName=\"/data/my new.gdb\" x\n");
        auto form = NewForm();
        form->show();
        QCOMPARE(form->OldDBName->FileName(), QString("\"/data/my old.gdb\""));
        QCOMPARE(form->NewDBName->FileName(), QString("\"/data/my new.gdb\" x"));
        QVERIFY(form->close());
        QByteArray saved = ReadIni();
        QVERIFY(saved.contains("\nOldDBName_FileName=/data/my old.gdb\n"));
        QVERIFY(saved.contains("\nNewDBName_FileName=/data/my new.gdb\n"));
    }

    void TheCurrentScreenSizeKeysWinOverThePlainOnes()
    {
        WriteIni("[TVorkatMainForm]\nNormPos=50,60,450,460\nNormPos" + Suffix() + "=10,20,510,420\n");
        auto form = NewForm();
        form->show();
        QCOMPARE(form->geometry(), QRect(10, 20, 500, 400));
    }

    void PlainPositionKeysServeAnotherScreenSizeButNotAnotherPixelsPerInch()
    {
        WriteIni("[TVorkatMainForm]\nNormPos(1x1)=10,20,510,420\nNormPos=50,60,450,460\n");
        {
            auto form = NewForm();
            form->show();
            QCOMPARE(form->geometry(), QRect(50, 60, 400, 400));
        }
        WriteIni("[TVorkatMainForm]\nPixelsPerInch=1\nNormPos=50,60,450,460\nDomainBox_Checked=False\n");
        auto form = NewForm();
        form->setGeometry(70, 80, 450, 400);
        form->show();
        QCOMPARE(form->geometry(), QRect(70, 80, 450, 400));
        QVERIFY(!form->DomainBox->isChecked());
    }

    void APlaceOffEveryScreenOrLargerThanItIsPulledOntoThePrimaryScreen()
    {
        // The platform may nudge a window at the screen's corner by its frame, so only the
        // size and the screen are exact there.
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        WriteIni("[TVorkatMainForm]\nNormPos=10,20,2147483647,2147483647\n");
        {
            auto form = NewForm();
            form->show();
            QCOMPARE(form->size(), area.size());
            QVERIFY(area.contains(form->geometry().topLeft()));
            const QRect place = form->geometry();
            QVERIFY(form->close());
            // Saved back as shown, not as read.
            QVERIFY(ReadIni().contains(QString("\nNormPos=%1,%2,%3,%4\n")
                                           .arg(place.left()).arg(place.top())
                                           .arg(place.left() + place.width()).arg(place.top() + place.height())
                                           .toUtf8()));
        }
        WriteIni("[TVorkatMainForm]\nNormPos=-5000,-4000,-4600,-3600\n");
        {
            auto form = NewForm();
            form->show();
            QCOMPARE(form->size(), QSize(400, 400));
            QVERIFY(area.contains(form->geometry()));
        }
        WriteIni("[TVorkatMainForm]\nNormPos=2147483000,2147483000,2147483400,2147483400\n");
        auto form = NewForm();
        form->show();
        QCOMPARE(form->geometry(), QRect(area.right() + 1 - 400, area.bottom() + 1 - 400, 400, 400));
    }

    void AByteOrderMarkIsNoPartOfTheFirstSectionAndIsKept()
    {
        WriteIni("\xEF\xBB\xBF[TVorkatMainForm]\r\nDomainBox_Checked=False\r\n");
        auto form = NewForm();
        form->show();
        QVERIFY(!form->DomainBox->isChecked());
        QVERIFY(form->close());
        const QByteArray saved = ReadIni();
        QVERIFY(saved.startsWith("\xEF\xBB\xBF[TVorkatMainForm]\r\nDomainBox_Checked=False\r\nFormVersion=0\r\n"));
        QCOMPARE(saved.count("[TVorkatMainForm]"), 1);
    }

    void OtherSectionsAndKeysOfTheFileSurviveASave()
    {
        WriteIni("; kept\n[Other]\nKey=keep\n\n[TVorkatMainForm]\nExtra=1\ndomainbox_checked=true\n\n[Last]\nA=b\n");
        auto form = NewForm();
        form->show();
        form->DomainBox->setChecked(false);
        QVERIFY(form->close());
        QByteArray saved = ReadIni();
        QVERIFY(saved.startsWith("; kept\n[Other]\nKey=keep\n\n[TVorkatMainForm]\nExtra=1\ndomainbox_checked=False\n"));
        QVERIFY(saved.endsWith("ScriptBox_Checked=True\nCompleteBox_Checked=False\n\n[Last]\nA=b\n"));
        QCOMPARE(saved.count("DomainBox_Checked"), 0);
    }

    void AutoRepairAtClosingIsStoredAsNoScriptAndSelectsNeitherModeNextTime()
    {
        {
            auto form = NewForm();
            form->show();
            form->RepairBox->setChecked(true);
            QVERIFY(form->close());
        }
        QVERIFY(ReadIni().contains("\r\nScriptBox_Checked=False\r\n"));
        auto form = NewForm();
        form->show();
        QVERIFY(!form->ScriptBox->isChecked());
        QVERIFY(!form->RepairBox->isChecked());
        // The group still works as one.
        form->RepairBox->setChecked(true);
        form->ScriptBox->setChecked(true);
        QVERIFY(!form->RepairBox->isChecked());
    }

    void AWindowDestroyedWithoutClosingSavesOnceAsVisible()
    {
        {
            auto form = NewForm();
            form->show();
        }
        QVERIFY(ReadIni().contains("\r\nVisible=1\r\n"));
        QFile::remove(ini_);
        {
            auto form = NewForm();
            form->show();
            QVERIFY(form->close());
            QVERIFY(ReadIni().contains("\r\nVisible=0\r\n"));
            QFile::remove(ini_);
        }
        QVERIFY(!QFile::exists(ini_));
        // Nothing is written when the settings were never put back.
        {
            auto form = NewForm();
        }
        QVERIFY(!QFile::exists(ini_));
    }

    void AFileThatCannotBeWrittenShowsTheErrorAndTheWindowStillCloses()
    {
        ErrorBoxCapture capture;
        auto form = NewForm();
        const QString unwritable = dir_.filePath("missing/vorkat.ini");
        form->FormStorage1.IniFileName = unwritable;
        form->show();
        QVERIFY(capture.Messages.isEmpty());
        QVERIFY(form->close());
        QVERIFY(!form->isVisible());
        QCOMPARE(capture.Messages, QStringList{"Cannot create file " + unwritable + "."});
        form.reset();
        QCOMPARE(capture.Messages.size(), 1);
    }

    void AFileThatCannotBeReadShowsTheErrorAndLeavesTheFileAlone()
    {
        ErrorBoxCapture capture;
        QVERIFY(QDir(dir_.path()).mkdir("vorkat.ini"));
        auto form = NewForm();
        form->show();
        QVERIFY(form->isVisible());
        QCOMPARE(capture.Messages, QStringList{"Cannot open file " + ini_ + ": it is a folder."});
        QVERIFY(form->close());
        form.reset();
        QCOMPARE(capture.Messages.size(), 1);
        QVERIFY(QDir(dir_.path()).rmdir("vorkat.ini"));

        // A damaged file, or one in another encoding, may still be wanted: it is not overwritten.
        const char bytes[] = "\x00\x01[TVorkatMainForm]\r\nDomainBox_Checked=False\r\n\xff\x00";
        const QByteArray junk(bytes, sizeof bytes - 1);
        WriteIni(junk);
        capture.Messages.clear();
        form = NewForm();
        form->show();
        QVERIFY(form->DomainBox->isChecked());
        QVERIFY(form->close());
        form.reset();
        QCOMPARE(capture.Messages, QStringList{"Cannot read file " + ini_ + ": it is not a plain text file."});
        QCOMPARE(ReadIni(), junk);
    }
};

QTEST_MAIN(FormStorageTest)
#include "FormStorageTest.moc"
