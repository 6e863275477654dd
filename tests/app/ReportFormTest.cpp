// The report window: grid, export, and the results of its buttons and keys.
#include "app/ErrorBox.h"
#include "app/ReportForm.h"

#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <clocale>

class ReportFormTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QByteArray Csv()
    {
        QFile file(dir_.path() + "/Report.CSV");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    int ExecAndThen(TRep& rep, const std::function<void()>& action)
    {
        QTimer::singleShot(0, &rep, action);
        return rep.exec();
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void gridHasItsHeaderAndAlwaysOneDataRow()
    {
        TRep rep;
        QCOMPARE(rep.windowTitle(), QString("Report"));
        QCOMPARE(rep.StringGrid->columnCount(), 3);
        QCOMPARE(rep.StringGrid->horizontalHeaderItem(0)->text(), QString("Type"));
        QCOMPARE(rep.StringGrid->horizontalHeaderItem(1)->text(), QString("Object Name"));
        QCOMPARE(rep.StringGrid->horizontalHeaderItem(2)->text(), QString("Message"));
        QCOMPARE(rep.StringGrid->columnWidth(0), 80);
        QCOMPARE(rep.StringGrid->columnWidth(1), 214);
        QCOMPARE(rep.StringGrid->columnWidth(2), 74);
        QCOMPARE(rep.StringGrid->rowCount(), 1);
        QCOMPARE(rep.btCSV->text(), QString("CSV file"));
        QCOMPARE(rep.btScript->text(), QString("View Script"));
        QCOMPARE(rep.btRepair->text(), QString("Repair"));
        QVERIFY(rep.btRepair->font().bold());
        QCOMPARE(rep.btClose->text(), QString("Close"));
        // Only after a complete comparison.
        QCOMPARE(rep.btReview->text(), QString("Review"));
        QVERIFY(rep.btReview->isHidden());

        rep.AddReportRow("GENERATOR", "GEN_A", "not exist");
        rep.AddReportRow("TABLE", "T", "not exist");
        QCOMPARE(rep.StringGrid->rowCount(), 2);
        QCOMPARE(rep.StringGrid->item(1, 0)->text(), QString("TABLE"));
        rep.ClearReport();
        QCOMPARE(rep.StringGrid->rowCount(), 1);
        QVERIFY(rep.StringGrid->item(0, 0)->text().isEmpty());
    }

    void exportWritesEveryRowWithATrailingSeparator()
    {
        TRep rep;
        rep.ProgramDir = dir_.path();
        rep.btCSVClick();
        QCOMPARE(Csv(), QByteArray(",,,\r\n"));
        rep.AddReportRow("GENERATOR", "GEN_A", "not exist");
        rep.AddReportRow("DOMAIN", "D_X", "different type");
        rep.btCSV->click();
        QCOMPARE(Csv(), QByteArray("GENERATOR,GEN_A,not exist,\r\nDOMAIN,D_X,different type,\r\n"));
    }

    void separatorFollowsTheDecimalComma()
    {
        QCOMPARE(ListSeparatorFor(","), ';');
        QCOMPARE(ListSeparatorFor("."), ',');
        // The window asks the C library's numeric locale, as the command line does.
        struct NumericLocale {
            std::string saved = std::setlocale(LC_NUMERIC, nullptr);
            ~NumericLocale() { std::setlocale(LC_NUMERIC, saved.c_str()); }
        } restore;
        std::setlocale(LC_NUMERIC, "C");
        QCOMPARE(TRep::ListSeparator(), ',');
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            QCOMPARE(TRep::ListSeparator(), ';');
    }

    void exportThatCannotCreateTheFileShowsTheErrorAndStaysOpen()
    {
        TRep rep;
        rep.ProgramDir = dir_.path() + "/missing";
        ErrorBoxCapture box;
        rep.btCSVClick();
        QCOMPARE(box.Messages, QStringList{"Cannot create file " + dir_.path() + "/missing/Report.CSV."});
    }

    void repairGivesOneAndEveryWayOfClosingGivesTwo()
    {
        TRep rep;
        QCOMPARE(ExecAndThen(rep, [&] { rep.btRepair->click(); }), 1);
        QCOMPARE(ExecAndThen(rep, [&] { rep.btClose->click(); }), 2);
        QCOMPARE(ExecAndThen(rep, [&] { QTest::keyClick(&rep, Qt::Key_Escape); }), 2);
        QCOMPARE(ExecAndThen(rep, [&] { rep.close(); }), 2);
        // Closing keeps the rows.
        rep.AddReportRow("A", "B", "C");
        QCOMPARE(ExecAndThen(rep, [&] { rep.close(); }), 2);
        QCOMPARE(rep.Rows().Rows().size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(rep.Rows().Rows()[0][0]), QString("A"));
    }
};

QTEST_MAIN(ReportFormTest)
#include "ReportFormTest.moc"
