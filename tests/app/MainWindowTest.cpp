// The main window and a whole run on real database pairs, under the offscreen platform.
#include "app/ErrorBox.h"
#include "app/MainWindow.h"
#include "app/ReportForm.h"
#include "data/DM.h"
#include "tests/support/TestDb.h"

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Records the run instead of showing the report modally.
class TestForm : public TVorkatMainForm {
public:
    QStringList Steps;
    int ReportAnswer = 2;
    int ReportShown = 0;
    bool RepairVisible = false;
    bool ScriptVisible = false;
    std::function<void()> DuringGenerators;
    // The complete comparison's hooks: at the start of a stage, and while the report is shown.
    std::function<void(const QString& caption)> AtStage;
    std::function<void()> DuringReport;
    // Run and the options, as each stage found them.
    QList<bool> RunEnabled;
    bool CancelAnswer = false;
    int CancelAsked = 0;

protected:
    void BeginStep(const std::string& caption) override
    {
        TVorkatMainForm::BeginStep(caption);
        if (AtStage)
            AtStage(QString::fromStdString(caption));
    }

    // Each kind, once checked, leaves its caption in the status label.
    void EndStep() override
    {
        TVorkatMainForm::EndStep();
        Steps << Label3->text();
        RunEnabled << (RunBtn->isEnabled() || CompleteBox->isEnabled() || RepairBox->isEnabled());
        if (Label3->text() == "Generators" && DuringGenerators)
            DuringGenerators();
    }

    int ShowReport() override
    {
        ++ReportShown;
        RepairVisible = !Rep->btRepair->isHidden();
        ScriptVisible = !Rep->btScript->isHidden();
        if (DuringReport)
            DuringReport();
        return ReportAnswer;
    }

    bool AskCancelRepair() override
    {
        ++CancelAsked;
        return CancelAnswer;
    }
};

// The report grid as it shows, every column of every row.
QList<QStringList> Grid(const TRep& rep)
{
    QList<QStringList> grid;
    for (int row = 0; row < rep.StringGrid->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < rep.StringGrid->columnCount(); ++column)
            cells << (rep.StringGrid->item(row, column) ? rep.StringGrid->item(row, column)->text() : "<none>");
        grid << cells;
    }
    return grid;
}

QList<QByteArray> TextLines(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    for (auto& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

}

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<TestDb> old_;
    std::unique_ptr<TestDb> new_;
    std::unique_ptr<TestForm> form_;
    ScriptedLogin login_;
    // An unexpected error box fails the test instead of waiting for a click.
    ErrorBoxCapture unexpected_;

    void MakePair(const char* name, const std::string& oldSql, const std::string& newSql)
    {
        form_.reset();
        old_ = std::make_unique<TestDb>(std::string(name) + "_old", oldSql);
        new_ = std::make_unique<TestDb>(std::string(name) + "_new", newSql);
        form_ = std::make_unique<TestForm>();
        form_->ProgramDir = dir_.path();
        form_->FormStorage1.IniFileName = dir_.path() + "/vorkat.ini";
        QFile::remove(form_->FormStorage1.IniFileName);
        form_->Rep->ProgramDir = dir_.path();
        form_->DM->SetLoginPrompt(&login_);
        form_->OldDBName->SetFileName(QString::fromStdString(old_->Path()));
        form_->NewDBName->SetFileName(QString::fromStdString(new_->Path()));
        QFile::remove(dir_.path() + "/vorkat.sql");
    }

private slots:
    void cleanup()
    {
        QCOMPARE(unexpected_.Messages, QStringList());
        unexpected_.Messages.clear();
    }

    void controlsStartAsDesigned()
    {
        TVorkatMainForm form;
        QCOMPARE(form.windowTitle(), QString("Vorkat v1.0.4"));
        QCOMPARE(form.DomainBox->text(), QString("Check Domains"));
        QCOMPARE(form.ExpBox->text(), QString("Check Exceptions"));
        QCOMPARE(form.GenBox->text(), QString("Check Generators"));
        QCOMPARE(form.UDFBox->text(), QString("Check UDF"));
        QCOMPARE(form.TableBox->text(), QString("Check Table Fields"));
        QCOMPARE(form.IndexBox->text(), QString("Check Table Indices"));
        QCOMPARE(form.SPBox->text(), QString("Check Stored Procedures"));
        QCOMPARE(form.TrigBox->text(), QString("Check Triggers"));
        for (QCheckBox* box : {form.DomainBox, form.ExpBox, form.GenBox, form.UDFBox, form.TableBox, form.IndexBox,
                               form.SPBox, form.TrigBox, form.ReportBox})
            QVERIFY(box->isChecked());
        QCOMPARE(form.RepairBox->text(), QString("Auto Repair"));
        QCOMPARE(form.ScriptBox->text(), QString("Create SQL script"));
        QVERIFY(!form.RepairBox->isChecked());
        QVERIFY(form.ScriptBox->isChecked());
        QCOMPARE(form.ReportBox->text(), QString("Show Report"));
        QCOMPARE(form.CompleteBox->text(), QString("Complete comparison"));
        QVERIFY(!form.CompleteBox->isChecked());
        QVERIFY(form.Label3->text().isEmpty());
        QCOMPARE(form.ProgBar->minimum(), 0);
        QCOMPARE(form.ProgBar->maximum(), 100);
        QCOMPARE(form.ProgBar->value(), 0);
        QCOMPARE(form.RunBtn->text(), QString("Run"));
        QVERIFY(form.RunBtn->isDefault());
        QCOMPARE(form.AboutBtn->text(), QString("About"));
        QCOMPARE(form.ExitBtn->text(), QString("E&xit"));
        QVERIFY(form.OldDBName->FileName().isEmpty());
        QVERIFY(form.NewDBName->FileName().isEmpty());
        form.RepairBox->setChecked(true);
        QVERIFY(!form.ScriptBox->isChecked());
    }

    void browseDialogsFollowTheirFields()
    {
        TVorkatMainForm form;
        QFileDialog oldDialog;
        form.OldDBName->ConfigureDialog(oldDialog);
        QCOMPARE(oldDialog.windowTitle(), QString("Browse"));
        QCOMPARE(oldDialog.nameFilters(), QStringList{"IB files (*.gdb)"});
        QCOMPARE(oldDialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(oldDialog.defaultSuffix(), QString("gdb"));
        QFileDialog newDialog;
        form.NewDBName->ConfigureDialog(newDialog);
        QCOMPARE(newDialog.fileMode(), QFileDialog::AnyFile);
        QVERIFY(newDialog.defaultSuffix().isEmpty());
    }

    void scriptRunWritesTheExactScriptAndShowsTheReport()
    {
        MakePair("script", "CREATE GENERATOR GEN_CUSTOMER;", "CREATE GENERATOR GEN_CUSTOMER; CREATE GENERATOR GEN_ORDER;");
        form_->RunBtnClick();
        QCOMPARE(ReadFile(dir_.path() + "/vorkat.sql"),
                 QByteArray("/* GENERATOR GEN_ORDER */\r\nCREATE GENERATOR GEN_ORDER\r\n;\r\n\r\n"));
        QCOMPARE(form_->ReportShown, 1);
        QVERIFY(form_->RepairVisible);
        QVERIFY(form_->ScriptVisible);
        const auto& rows = form_->Rep->Rows().Rows();
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(rows[0][0]), QString("GENERATOR"));
        QCOMPARE(QString::fromStdString(rows[0][1]), QString("GEN_ORDER"));
        QCOMPARE(QString::fromStdString(rows[0][2]), QString("not exist"));
        QCOMPARE(form_->Rep->StringGrid->item(0, 1)->text(), QString("GEN_ORDER"));
        QVERIFY(!form_->DM->OldDB.Connected());
        QVERIFY(!form_->DM->NewDB.Connected());
        QVERIFY(form_->Label3->text().isEmpty());
        QCOMPARE(form_->ProgBar->value(), 0);

        // A second run writes that run's blocks only.
        form_->RunBtnClick();
        QCOMPARE(ReadFile(dir_.path() + "/vorkat.sql"),
                 QByteArray("/* GENERATOR GEN_ORDER */\r\nCREATE GENERATOR GEN_ORDER\r\n;\r\n\r\n"));
    }

    void checksRunInTheFixedOrder()
    {
        MakePair("order", "", "");
        form_->RunBtnClick();
        QCOMPARE(form_->Steps, (QStringList{"Domains", "Exceptions", "Generators", "UDF", "Table Fields",
                                            "Table Indices", "Stored Procedures", "Triggers"}));
        form_->Steps.clear();
        for (QCheckBox* box : {form_->DomainBox, form_->GenBox, form_->TableBox, form_->TrigBox})
            box->setChecked(false);
        form_->RunBtnClick();
        QCOMPARE(form_->Steps, (QStringList{"Exceptions", "UDF", "Table Indices", "Stored Procedures"}));
        // The last kind had no rows; a maximum of 0 would leave the bar busy for good.
        QCOMPARE(form_->ProgBar->maximum(), 1);
    }

    void repairFromTheReportRunsAgainWithoutTouchingTheScript()
    {
        MakePair("repair", "", "CREATE GENERATOR GEN_ORDER;");
        form_->ReportAnswer = 1;
        form_->RunBtnClick();
        const QByteArray script = ReadFile(dir_.path() + "/vorkat.sql");
        QCOMPARE(script, QByteArray("/* GENERATOR GEN_ORDER */\r\nCREATE GENERATOR GEN_ORDER\r\n;\r\n\r\n"));
        QVERIFY(form_->DM->RepairMode);
        QVERIFY(!form_->DM->ReportMode);
        QCOMPARE(form_->ReportShown, 1);

        // The Old database now has the generator: the next run finds nothing.
        form_->ReportAnswer = 2;
        form_->RunBtnClick();
        QCOMPARE(ReadFile(dir_.path() + "/vorkat.sql"), QByteArray());
        QVERIFY(form_->Rep->Rows().Rows()[0][0].empty());
    }

    void autoRepairHidesRepairAndScriptAndWritesNoFile()
    {
        MakePair("auto", "", "CREATE GENERATOR GEN_ORDER;");
        form_->RepairBox->setChecked(true);
        form_->RunBtnClick();
        QVERIFY(!QFile::exists(dir_.path() + "/vorkat.sql"));
        QCOMPARE(form_->ReportShown, 1);
        QVERIFY(!form_->RepairVisible);
        QVERIFY(!form_->ScriptVisible);
        form_->RunBtnClick();
        QVERIFY(form_->Rep->Rows().Rows()[0][0].empty());
    }

    void scriptWithoutReportShowsNothing()
    {
        MakePair("noreport", "", "CREATE GENERATOR GEN_ORDER;");
        form_->ReportBox->setChecked(false);
        form_->RunBtnClick();
        QCOMPARE(form_->ReportShown, 0);
        QVERIFY(ReadFile(dir_.path() + "/vorkat.sql").startsWith("/* GENERATOR GEN_ORDER */"));
    }

    void oldDatabaseThatCannotBeOpenedEndsTheRunWithItsCauseAndNoLoginWindow()
    {
        MakePair("badold", "", "CREATE GENERATOR GEN_ORDER;");
        const QString missing = QString::fromStdString(old_->Path() + ".missing");
        form_->OldDBName->SetFileName(missing);
        login_.Asked = 0;
        login_.Answers = {{false, "", ""}};
        ErrorBoxCapture box;
        form_->RunBtnClick();
        QCOMPARE(box.Messages, QStringList{"Old Database: I/O error during \"open\" operation for file \"" + missing +
                                           "\"\r\nError while trying to open file\r\nNo such file or directory."});
        QCOMPARE(login_.Asked, 0);
        QCOMPARE(form_->ReportShown, 0);
        QVERIFY(!QFile::exists(dir_.path() + "/vorkat.sql"));
        QVERIFY(form_->DM->NewDB.DatabaseName().empty());
    }

    void newDatabaseThatCannotBeOpenedClosesTheOldOne()
    {
        MakePair("badnew", "", "");
        form_->NewDBName->SetFileName("");
        ErrorBoxCapture box;
        form_->RunBtnClick();
        QCOMPARE(box.Messages, QStringList{"New Database: Database name is missing."});
        QVERIFY(!form_->DM->OldDB.Connected());
        // The Old file is free again: isql can open it.
        QVERIFY(old_->Isql("select 1 from RDB$DATABASE;").find("1") != std::string::npos);
    }

    void oldAndNewNamingTheSameDatabaseStartNothing()
    {
        MakePair("same", "", "CREATE GENERATOR GEN_ORDER;");
        const QString path = QString::fromStdString(old_->Path());
        const QString link = dir_.path() + "/link.fdb";
        QVERIFY(QFile::link(path, link));
        const QFileInfo file(path);
        for (const QString& name : {path, "\"" + path + "\" rest", file.path() + "/./" + file.fileName(), link}) {
            form_->NewDBName->SetFileName(name);
            ErrorBoxCapture box;
            form_->RunBtnClick();
            QCOMPARE(box.Messages, QStringList{"Old Database and New Database are the same database: " + path + "."});
        }
        QCOMPARE(form_->ReportShown, 0);
        QVERIFY(!QFile::exists(dir_.path() + "/vorkat.sql"));
        QVERIFY(form_->DM->OldDB.DatabaseName().empty());
        QVERIFY(form_->Steps.isEmpty());
        QFile::remove(link);
    }

    void runDuringARunStartsNothingAndExitWaitsForTheEnd()
    {
        MakePair("nested", "", "CREATE GENERATOR GEN_ORDER;");
        form_->show();
        int nested = 0;
        form_->DuringGenerators = [&] {
            const int before = form_->ReportShown;
            form_->RunBtnClick();
            nested += form_->ReportShown - before;
            form_->close();
            QVERIFY(form_->isVisible());
        };
        form_->RunBtnClick();
        QCOMPARE(nested, 0);
        QCOMPARE(form_->ReportShown, 1);
        QVERIFY(!form_->isVisible());
        QVERIFY(!form_->Running());
    }

    void samplePairIsScriptedThenRepairedWhole()
    {
        auto sample = [](const char* side) {
            QFile file(QString(SAMPLE_SQL_DIR) + "/sample_" + side + ".sql");
            file.open(QIODevice::ReadOnly);
            return file.readAll().toStdString();
        };
        MakePair("sample", sample("old"), sample("new"));
        form_->ReportAnswer = 1;
        form_->RunBtnClick();
        std::vector<std::string> found;
        for (const auto& row : form_->Rep->Rows().Rows())
            found.push_back(row[0] + "|" + row[1] + "|" + row[2]);
        const std::vector<std::string> expected{
            "DOMAIN|D_CODE|not exist",
            "EXCEPTION|E_BAD_ORDER|not exist",
            "GENERATOR|GEN_ORDER|not exist",
            "GENERATOR|GEN_INVOICE|not exist",
            "FIELD|CUSTOMER-CITY|not exist",
            "FIELD|ORDERS-CODE|not exist",
            "TABLE|INVOICE|not exist",
            "INDEX|IX_CUSTOMER_CITY|not exist",
            "CONSTRAINT|FK_ORDER_CUST|not exist",
            "STORED PROC.|ORDER_COUNT|not exist",
            "TRIGGER.|ORDERS_BI|not exist",
        };
        QCOMPARE(found, expected);
        const QByteArray script = ReadFile(dir_.path() + "/vorkat.sql");
        QVERIFY(script.contains("/* GENERATOR GEN_ORDER */\r\nCREATE GENERATOR GEN_ORDER\r\n;\r\n\r\n"));
        QVERIFY(script.contains("/* Domain D_CODE */\r\nCREATE DOMAIN D_CODE AS\r\nVARCHAR(12)\r\nNOT NULL\r\n;\r\n"));

        // "Repair" ran every check again on the Old database: the next run finds nothing.
        form_->ReportAnswer = 2;
        form_->RunBtnClick();
        QVERIFY(form_->Rep->Rows().Rows()[0][0].empty());
        QCOMPARE(form_->Rep->Rows().Rows().size(), std::size_t(1));
    }

    void aCompleteRepairStoppedByTheSafetyChecksSaysOnlyWhatTheWindowCanDo()
    {
        MakePair("safety", "CREATE TABLE N (A INTEGER); INSERT INTO N VALUES (NULL);",
                 "CREATE TABLE N (A INTEGER NOT NULL);");
        form_->CompleteBox->setChecked(true);
        form_->RepairBox->setChecked(true);
        ErrorBoxCapture box;
        form_->RunBtnClick();
        // The window has no --force to offer.
        QCOMPARE(box.Messages, QStringList{"The repair was stopped before it changed anything; Old's rows fail these "
                                           "checks:\r\nFIELD N.A: would fail: 1 row of N has A NULL."});
        form_->RepairBox->setChecked(false);
        form_->CompleteBox->setChecked(false);
    }

    void completeComparisonShowsTheDetailReviewsAndRepairsWhileTheWindowGoesOn()
    {
        MakePair("complete",
                 "CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(10)); CREATE TABLE ONLY_OLD (C INTEGER);",
                 "CREATE GENERATOR GEN_A; CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(20));");
        form_->CompleteBox->setChecked(true);
        for (QCheckBox* box : {form_->DomainBox, form_->ExpBox, form_->GenBox, form_->UDFBox, form_->TableBox,
                               form_->IndexBox, form_->SPBox, form_->TrigBox})
            QVERIFY(!box->isEnabled());
        QStringList opened;
        form_->Rep->OpenFile = [&](const QString& path) { opened << path; };
        QList<QStringList> shown;
        bool reviewVisible = false;
        form_->DuringReport = [&] {
            shown = Grid(*form_->Rep);
            reviewVisible = !form_->Rep->btReview->isHidden();
            form_->Rep->btReview->click();
        };
        form_->ReportAnswer = 1;
        form_->RunBtnClick();

        const QString type = "VARCHAR(%1) CHARACTER SET NONE";
        QCOMPARE(shown, (QList<QStringList>{
                            {"GENERATOR", "GEN_A", "not exist", "", "", "CREATE SEQUENCE GEN_A"},
                            {"FIELD", "T.B", "different: type " + type.arg(10) + " -> " + type.arg(20), "type",
                             type.arg(10), type.arg(20)},
                            {"TABLE", "ONLY_OLD", "only in Old", "", "CREATE TABLE ONLY_OLD (C INTEGER)", ""},
                        }));
        QVERIFY(reviewVisible);
        QCOMPARE(form_->Steps, (QStringList{"Reading Old Database", "Reading New Database", "Comparing", "Checking data",
                                            "Writing script", "Reading Old Database", "Reading New Database",
                                            "Comparing", "Checking data", "Repairing"}));
        // The worker had the run: the window stayed live, with its options closed to input.
        QCOMPARE(form_->RunEnabled, QList<bool>(10, false));
        QVERIFY(form_->RunBtn->isEnabled());
        QVERIFY(!form_->Running());
        QCOMPARE(form_->ProgBar->maximum(), 100);
        QVERIFY(TextLines(ReadFile(dir_.path() + "/vorkat.sql")).contains("CREATE SEQUENCE GEN_A;"));
        QCOMPARE(opened, QStringList{dir_.path() + "/Report.html"});
        const QByteArray html = ReadFile(opened.value(0));
        QVERIFY(html.startsWith("<!DOCTYPE html>\n"));
        QVERIFY(TextLines(html).contains("<li class=\"k-missing\"><a href=\"#g-missing\"><b>1</b> <span>missing</span></a></li>"));

        // "Repair" brought Old up to date: what only Old has is listed, and nothing differs.
        form_->ReportAnswer = 2;
        form_->RunBtnClick();
        QCOMPARE(shown, (QList<QStringList>{{"TABLE", "ONLY_OLD", "only in Old", "", "CREATE TABLE ONLY_OLD (C INTEGER)", ""}}));
        QCOMPARE(ReadFile(dir_.path() + "/vorkat.sql"), QByteArray());

        // Unticked, the window is the eight checks' again: three columns and no review.
        form_->CompleteBox->setChecked(false);
        QVERIFY(form_->DomainBox->isEnabled());
        form_->DuringReport = [&] { shown = Grid(*form_->Rep); };
        form_->Steps.clear();
        form_->RunBtnClick();
        QCOMPARE(shown, (QList<QStringList>{{"", "", ""}}));
        QVERIFY(form_->Rep->btReview->isHidden());
        QCOMPARE(form_->Steps, (QStringList{"Domains", "Exceptions", "Generators", "UDF", "Table Fields",
                                            "Table Indices", "Stored Procedures", "Triggers"}));
    }

    void exitDuringACompleteRepairAsksAndCancelledNothingIsKept()
    {
        std::string tables;
        for (int i = 0; i < 150; ++i)
            tables += "CREATE TABLE T" + std::to_string(i) + " (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(20));\n";
        const std::string count = "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG = 0;";
        MakePair("cancel", "", tables);
        form_->show();
        form_->CompleteBox->setChecked(true);
        form_->RepairBox->setChecked(true);
        // "No" lets the repair run to its end.
        form_->AtStage = [&](const QString& caption) {
            if (caption == "Repairing")
                form_->close();
        };
        form_->RunBtnClick();
        QCOMPARE(form_->CancelAsked, 1);
        QVERIFY(form_->isVisible());
        QVERIFY(old_->Isql(count).find("150") != std::string::npos);

        // "Yes" makes the running statement fail: the one transaction rolls back and the window closes.
        MakePair("cancelled", "", tables);
        form_->show();
        form_->CompleteBox->setChecked(true);
        form_->RepairBox->setChecked(true);
        form_->CancelAnswer = true;
        form_->AtStage = [&](const QString& caption) {
            if (caption == "Repairing")
                form_->close();
        };
        form_->RunBtnClick();
        QCOMPARE(form_->CancelAsked, 1);
        QVERIFY(!form_->isVisible());
        QVERIFY(!form_->Running());
        QVERIFY(!form_->DM->OldDB.Connected());
        QVERIFY(old_->Isql(count).find("150") == std::string::npos);
        QVERIFY(old_->Isql(count).find(" 0") != std::string::npos);
    }

    void cleanupTestCase() { form_.reset(); }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
