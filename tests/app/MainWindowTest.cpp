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

protected:
    // Each kind, once checked, leaves its caption in the status label.
    void EndStep() override
    {
        TVorkatMainForm::EndStep();
        Steps << Label3->text();
        if (Label3->text() == "Generators" && DuringGenerators)
            DuringGenerators();
    }

    int ShowReport() override
    {
        ++ReportShown;
        RepairVisible = !Rep->btRepair->isHidden();
        ScriptVisible = !Rep->btScript->isHidden();
        return ReportAnswer;
    }
};

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

    void cleanupTestCase() { form_.reset(); }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
