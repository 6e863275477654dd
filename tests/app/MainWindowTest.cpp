// The main window and a whole run on real database pairs, under the offscreen platform.
#include "app/AboutForm.h"
#include "app/ConfirmRepair.h"
#include "app/ErrorBox.h"
#include "app/MainWindow.h"
#include "app/ReportForm.h"
#include "data/DM.h"
#include "schema/Export.h"
#include "tests/app/Dialogs.h"
#include "tests/support/SchemaPair.h"
#include "tests/support/TestDb.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
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

// The complete report's findings as they show, sorted and filtered, every column.
QList<QStringList> Findings(const TRep& rep)
{
    QList<QStringList> rows;
    const auto* model = rep.Complete->Findings->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        rows << cells;
    }
    return rows;
}

// The pinned warnings that show, every column.
QList<QStringList> Warnings(const TRep& rep)
{
    QList<QStringList> rows;
    const QTableWidget* table = rep.Complete->Warnings;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->isRowHidden(row))
            continue;
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        rows << cells;
    }
    return rows;
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

void WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(text), text.size());
}

// The system's temporary folder, where files as New are built, is a folder of the test's own
// while this lives: what a run leaves there shows.
class OwnTemporaryFolder {
public:
    OwnTemporaryFolder() : had_(qEnvironmentVariableIsSet("TMPDIR")), before_(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", folder_.path().toLocal8Bit());
    }
    ~OwnTemporaryFolder()
    {
        if (had_)
            qputenv("TMPDIR", before_);
        else
            qunsetenv("TMPDIR");
    }
    QString Path() const { return folder_.path(); }
    QStringList Entries() const { return QDir(folder_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

private:
    QTemporaryDir folder_;
    bool had_;
    QByteArray before_;
};

// The script's head line that names a side: "   New: <name> (<server>, ODS <n>, dialect <n>)".
QByteArray HeadLine(const QByteArray& script, const QByteArray& side)
{
    for (const QByteArray& line : TextLines(script))
        if (line.startsWith("   " + side + ": "))
            return line;
    return "<none>";
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
        // Only while a complete run runs.
        QCOMPARE(form.CancelBtn->text(), QString("Cancel"));
        QVERIFY(form.CancelBtn->isHidden());
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
        form_->Rep->OpenFile = [&](const QString& path) {
            opened << path;
            return true;
        };
        QList<QStringList> shown;
        bool reviewVisible = false;
        bool gridHidden = false;
        form_->DuringReport = [&] {
            shown = Findings(*form_->Rep);
            reviewVisible = !form_->Rep->btReview->isHidden();
            gridHidden = form_->Rep->StringGrid->isHidden();
            form_->Rep->btReview->click();
        };
        // Repair asks first, and tells what it did.
        QString question, outcome;
        DialogAnswers answers;
        answers
            .Then([&](QWidget* window) {
                auto* confirm = qobject_cast<TConfirmRepair*>(window);
                QVERIFY(confirm);
                question = confirm->Question->text();
                confirm->ApplyButton->click();
            })
            .Then([&](QWidget* window) {
                auto* box = qobject_cast<QMessageBox*>(window);
                QVERIFY(box);
                outcome = box->text();
                box->accept();
            });
        form_->ReportAnswer = 1;
        form_->RunBtnClick();

        const QString type = "VARCHAR(%1) CHARACTER SET NONE";
        QCOMPARE(shown, (QList<QStringList>{
                            {"missing", "GENERATOR", "GEN_A", "not exist", "create", ""},
                            {"different", "FIELD", "T.B", "different: type " + type.arg(10) + " -> " + type.arg(20),
                             "alter", ""},
                            {"only in Old", "TABLE", "ONLY_OLD", "only in Old", "skip", ""},
                        }));
        QVERIFY(reviewVisible);
        QVERIFY(gridHidden);
        QCOMPARE(question, "Apply 2 statements to the Old Database " + QString::fromStdString(old_->Path()) +
                               "?\nThey run in one transaction: if the server refuses one, none of them is kept.");
        QCOMPARE(outcome, QString("Committed 2 statements to the Old Database."));
        QVERIFY(answers.Done());
        QCOMPARE(form_->Steps, (QStringList{"Reading Old Database", "Reading New Database", "Comparing", "Checking data",
                                            "Writing script", "Reading Old Database", "Reading New Database",
                                            "Comparing", "Checking data", "Repairing"}));
        // The worker had the run: the window stayed live, with its options closed to input.
        QCOMPARE(form_->RunEnabled, QList<bool>(10, false));
        QVERIFY(form_->RunBtn->isEnabled());
        QVERIFY(!form_->Running());
        QCOMPARE(form_->ProgBar->maximum(), 100);
        QCOMPARE(form_->Label3->text(), QString("Repair committed"));
        QVERIFY(TextLines(ReadFile(dir_.path() + "/vorkat.sql")).contains("CREATE SEQUENCE GEN_A;"));
        QCOMPARE(opened, QStringList{dir_.path() + "/Report.html"});
        const QByteArray html = ReadFile(opened.value(0));
        QVERIFY(html.startsWith("<!DOCTYPE html>\n"));
        QVERIFY(TextLines(html).contains("<li class=\"k-missing\"><a href=\"#g-missing\"><b>1</b> <span>missing</span></a></li>"));

        // "Repair" brought Old up to date: what only Old has is listed, and nothing differs.
        form_->ReportAnswer = 2;
        form_->RunBtnClick();
        QCOMPARE(shown, (QList<QStringList>{{"only in Old", "TABLE", "ONLY_OLD", "only in Old", "skip", ""}}));
        QCOMPARE(ReadFile(dir_.path() + "/vorkat.sql"), QByteArray());
        QVERIFY(form_->Label3->text().isEmpty());

        // Unticked, the window is the eight checks' again: three columns and no review.
        form_->CompleteBox->setChecked(false);
        QVERIFY(form_->DomainBox->isEnabled());
        form_->DuringReport = [&] {
            shown = Grid(*form_->Rep);
            gridHidden = form_->Rep->StringGrid->isHidden();
        };
        form_->Steps.clear();
        form_->RunBtnClick();
        QCOMPARE(shown, (QList<QStringList>{{"", "", ""}}));
        QVERIFY(!gridHidden);
        QVERIFY(form_->Rep->Complete->isHidden());
        QVERIFY(form_->Rep->StatusLine->isHidden());
        QVERIFY(form_->Rep->btReview->isHidden());
        QVERIFY(form_->Rep->btRepair->isEnabled());
        QCOMPARE(form_->Rep->windowTitle(), QString("Report"));
        QCOMPARE(form_->Steps, (QStringList{"Domains", "Exceptions", "Generators", "UDF", "Table Fields",
                                            "Table Indices", "Stored Procedures", "Triggers"}));
    }

    void completeReportPinsWarningsAndShowsTheSelectedFindingSideBySide()
    {
        MakePair("pinned",
                 "CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(10)); CREATE TABLE ONLY_OLD (C INTEGER);"
                 "CREATE TABLE N (A INTEGER); INSERT INTO N VALUES (NULL);"
                 "CREATE TABLE M (V VARCHAR(10)); INSERT INTO M VALUES ('12');",
                 "CREATE GENERATOR GEN_A; CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(20));"
                 "CREATE TABLE N (A INTEGER NOT NULL); CREATE TABLE M (V INTEGER);");
        form_->CompleteBox->setChecked(true);
        TRep& rep = *form_->Rep;
        QString counts, caption, detail, statements, definitions;
        QList<QStringList> warnings, findings, byObject, filtered, filteredWarnings;
        bool repairEnabled = false;
        form_->DuringReport = [&] {
            counts = rep.Complete->Counts->text();
            caption = rep.Complete->WarningsCaption->text();
            warnings = Warnings(rep);
            findings = Findings(rep);
            repairEnabled = rep.btRepair->isEnabled();
            // The first finding is selected; pick the column that differs.
            rep.Complete->Findings->setCurrentIndex(rep.Complete->Findings->model()->index(1, 0));
            detail = rep.Complete->DetailCaption->text();
            statements = rep.Complete->Statements->toPlainText();
            definitions = rep.Complete->Definitions->toPlainText();
            // VORKAT_REPORT_SHOT=<file.png> keeps a picture of the report for a look by eye.
            const QString shot = qEnvironmentVariable("VORKAT_REPORT_SHOT");
            if (!shot.isEmpty()) {
                rep.show();
                QVERIFY(QTest::qWaitForWindowExposed(&rep));
                QVERIFY(rep.grab().save(shot));
                rep.hide();
            }
            rep.Complete->Findings->horizontalHeader()->setSortIndicator(CompleteReport::ObjectColumn,
                                                                          Qt::AscendingOrder);
            byObject = Findings(rep);
            rep.Complete->Filter->setText("gen");
            filtered = Findings(rep);
            filteredWarnings = Warnings(rep);
        };
        // Repair stops at the safety check; "Repair anyway" runs forced, asks, and the server refuses.
        QString stopped, question, destructive, outcome;
        QStringList destructiveItems;
        DialogAnswers answers;
        answers
            .Then([&](QWidget* window) {
                auto* box = qobject_cast<TErrorBox*>(window);
                QVERIFY(box);
                stopped = box->Text();
                for (QAbstractButton* button : box->Buttons->buttons())
                    if (button->text() == "Repair anyway")
                        button->click();
            })
            .Then([&](QWidget* window) {
                auto* confirm = qobject_cast<TConfirmRepair*>(window);
                QVERIFY(confirm);
                question = confirm->Question->text().section('\n', 0, 0);
                destructive = confirm->DestructiveCaption->text();
                for (int i = 0; i < confirm->Destructive->count(); ++i)
                    destructiveItems << confirm->Destructive->item(i)->text();
                const QString shot = qEnvironmentVariable("VORKAT_CONFIRM_SHOT");
                if (!shot.isEmpty())
                    QVERIFY(confirm->grab().save(shot));
                confirm->ApplyButton->click();
            })
            .Then([&](QWidget* window) {
                auto* box = qobject_cast<QMessageBox*>(window);
                QVERIFY(box);
                outcome = box->text();
                box->accept();
            });
        form_->ReportAnswer = 1;
        form_->RunBtnClick();

        QCOMPARE(counts, QString("1 missing, 3 different, 1 only in Old, 1 not mended, 2 warnings; 3 statements"));
        QCOMPARE(caption, QString("Warnings (2): a repair stops at an error unless forced"));
        QCOMPARE(warnings, (QList<QStringList>{
                               {"error", "would-fail", "FIELD N.A", "would fail: 1 row of N has A NULL"},
                               {"warning", "not-mended", "FIELD M.V", "not mended: needs a data migration: 1 row of M"},
                           }));
        const QString type = "VARCHAR(%1) CHARACTER SET NONE";
        QCOMPARE(findings, (QList<QStringList>{
                               {"missing", "GENERATOR", "GEN_A", "not exist", "create", ""},
                               {"different", "FIELD", "T.B", "different: type " + type.arg(10) + " -> " + type.arg(20),
                                "alter", ""},
                               {"different", "FIELD", "N.A", "different: nullability null -> not null", "alter", ""},
                               {"different", "FIELD", "M.V", "different: type " + type.arg(10) + " -> INTEGER", "skip",
                                "1"},
                               {"only in Old", "TABLE", "ONLY_OLD", "only in Old", "skip", ""},
                           }));
        QVERIFY(repairEnabled);
        QCOMPARE(detail, "FIELD T.B: different: type " + type.arg(10) + " -> " + type.arg(20));
        QCOMPARE(statements, "-- Planned statements (1)\nALTER TABLE T ALTER B TYPE " + type.arg(20) + ";\n");
        QCOMPARE(definitions.split('\n'), (QStringList{"", "", "Old", "", "New", "1", "B " + type.arg(10), "1",
                                                      "B " + type.arg(20), ""}));
        // The words that differ are marked on each side.
        const QString html = CompleteReport::SideBySideHtml("B " + type.arg(10).toStdString(),
                                                            "B " + type.arg(20).toStdString());
        QVERIFY(html.contains("B VARCHAR(<span style=\"background:#f3a5a5\">10</span>) CHARACTER SET NONE"));
        QVERIFY(html.contains("B VARCHAR(<span style=\"background:#9bd89b\">20</span>) CHARACTER SET NONE"));
        QStringList objects;
        for (const auto& row : byObject)
            objects << row.value(CompleteReport::ObjectColumn);
        QCOMPARE(objects, (QStringList{"GEN_A", "M.V", "N.A", "ONLY_OLD", "T.B"}));
        QCOMPARE(filtered, (QList<QStringList>{{"missing", "GENERATOR", "GEN_A", "not exist", "create", ""}}));
        QCOMPARE(filteredWarnings, QList<QStringList>());

        QCOMPARE(stopped, QString("The repair was stopped before it changed anything; Old's rows fail these checks:\r\n"
                                  "FIELD N.A: would fail: 1 row of N has A NULL."));
        // Forced, the column of another type is migrated: that can lose what it holds.
        QCOMPARE(question, "Apply 8 statements to the Old Database " + QString::fromStdString(old_->Path()) + "?");
        QCOMPARE(destructive, QString("Destructive (1): these can lose data"));
        QCOMPARE(destructiveItems,
                 QStringList{"rebuild FIELD M.V: different: type " + type.arg(10) + " -> INTEGER"});
        QCOMPARE(outcome, QString("Refused at the commit: unsuccessful metadata update\r\nCannot make field A of table N "
                                  "NOT NULL because there are NULLs present; rolled back, Old unchanged."));
        QVERIFY(answers.Done());
        // The stage that failed does not stay in the status label.
        QCOMPARE(form_->Label3->text(), QString("Repair refused: Old unchanged"));
        QVERIFY(old_->Isql("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = 'GEN_A';").find(" 0") !=
                std::string::npos);
        // The migration's copy column went again.
        QVERIFY(old_->Isql("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'M';").find(" 1") !=
                std::string::npos);
    }

    void aPairThatAgreesHasNothingToRepair()
    {
        MakePair("agree", "CREATE TABLE T (A INTEGER);", "CREATE TABLE T (A INTEGER);");
        form_->CompleteBox->setChecked(true);
        QString counts;
        bool repairEnabled = true;
        form_->DuringReport = [&] {
            counts = form_->Rep->Complete->Counts->text();
            repairEnabled = form_->Rep->btRepair->isEnabled();
        };
        form_->RunBtnClick();
        QCOMPARE(counts, QString("Old and New agree: 0 missing, 0 different, 0 only in Old, 0 not mended, 0 warnings; "
                                 "0 statements"));
        QVERIFY(!repairEnabled);

        // Auto Repair says that it had nothing to do.
        form_->RepairBox->setChecked(true);
        QString outcome;
        DialogAnswers answers;
        answers.Then([&](QWidget* window) {
            outcome = qobject_cast<QMessageBox*>(window)->text();
            qobject_cast<QMessageBox*>(window)->accept();
        });
        form_->RunBtnClick();
        QCOMPARE(outcome, QString("Nothing to repair: no statement to run. Old unchanged."));

        // The eight checks' Repair stays as it was.
        form_->RepairBox->setChecked(false);
        form_->CompleteBox->setChecked(false);
        form_->RunBtnClick();
        QVERIFY(form_->Rep->btRepair->isEnabled());
    }

    void filesTellWhereTheyWentAndAMissingOpenerIsSaid()
    {
        MakePair("files", "", "CREATE GENERATOR GEN_A;");
        form_->CompleteBox->setChecked(true);
        TRep& rep = *form_->Rep;
        rep.Opener = dir_.path() + "/no-opener";
        QStringList status;
        QStringList boxes;
        DialogAnswers answers;
        for (int i = 0; i < 2; ++i)
            answers.Then([&](QWidget* window) {
                boxes << qobject_cast<QMessageBox*>(window)->text();
                qobject_cast<QMessageBox*>(window)->accept();
            });
        form_->DuringReport = [&] {
            rep.btCSV->click();
            status << rep.StatusLine->text();
            rep.btReview->click();
            status << rep.StatusLine->text();
            rep.btScript->click();
            status << rep.StatusLine->text();
        };
        form_->RunBtnClick();
        const QString missing = "No program could be started to open %1 (" + rep.Opener +
                                " was not found). Open the file yourself.";
        QCOMPARE(status, (QStringList{"Report written to " + dir_.path() + "/Report.CSV",
                                      missing.arg(dir_.path() + "/Report.html"),
                                      missing.arg(dir_.path() + "/vorkat.sql")}));
        QCOMPARE(boxes, (QStringList{missing.arg(dir_.path() + "/Report.html"), missing.arg(dir_.path() + "/vorkat.sql")}));
        QCOMPARE(ReadFile(dir_.path() + "/Report.CSV"), QByteArray("GENERATOR,GEN_A,not exist,\r\n"));

        // With an opener, the place it opened.
        rep.OpenFile = [](const QString&) { return true; };
        form_->DuringReport = [&] {
            rep.btReview->click();
            status = QStringList{rep.StatusLine->text()};
        };
        form_->RunBtnClick();
        QCOMPARE(status, QStringList{"Review written to " + dir_.path() + "/Report.html"});
    }

    void reviewFirstAndCancelLeaveOldAsItWas()
    {
        MakePair("declined", "", "CREATE GENERATOR GEN_A;");
        form_->CompleteBox->setChecked(true);
        QStringList opened;
        form_->Rep->OpenFile = [&](const QString& path) {
            opened << path;
            return true;
        };
        QString counts, nothing;
        DialogAnswers answers;
        answers
            .Then([&](QWidget* window) {
                auto* confirm = qobject_cast<TConfirmRepair*>(window);
                counts = confirm->Counts->text();
                nothing = confirm->DestructiveCaption->text();
                QVERIFY(confirm->Destructive->isHidden());
                QVERIFY(confirm->CancelButton->isDefault());
                confirm->ReviewButton->click();
            })
            .Then([](QWidget* window) { qobject_cast<TConfirmRepair*>(window)->CancelButton->click(); });
        form_->ReportAnswer = 1;
        form_->RunBtnClick();
        QCOMPARE(counts, QString("1 missing, 0 different, 0 only in Old, 0 not mended, 0 warnings; 1 statement"));
        QCOMPARE(nothing, QString("Nothing destructive: no object or value is dropped."));
        QCOMPARE(opened, QStringList{dir_.path() + "/Report.html"});
        QCOMPARE(form_->Label3->text(), QString("Repair not applied: Old unchanged"));
        form_->RunBtnClick();
        QCOMPARE(form_->Label3->text(), QString("Repair not applied: Old unchanged"));
        QVERIFY(answers.Done());
        // Old still lacks the generator.
        form_->ReportAnswer = 2;
        QList<QStringList> shown;
        form_->DuringReport = [&] { shown = Findings(*form_->Rep); };
        form_->RunBtnClick();
        QCOMPARE(shown, (QList<QStringList>{{"missing", "GENERATOR", "GEN_A", "not exist", "create", ""}}));
        QVERIFY(form_->Label3->text().isEmpty());
    }

    void cancelDuringARunEndsItQuietly()
    {
        MakePair("cancelbutton", "", "CREATE GENERATOR GEN_A;");
        form_->CompleteBox->setChecked(true);
        bool visible = false;
        form_->AtStage = [&](const QString& caption) {
            if (caption != "Reading New Database")
                return;
            visible = !form_->CancelBtn->isHidden();
            // VORKAT_WINDOW_SHOT=<file.png> keeps a picture of the window during the run.
            const QString shot = qEnvironmentVariable("VORKAT_WINDOW_SHOT");
            if (!shot.isEmpty())
                QVERIFY(form_->grab().save(shot));
            form_->CancelBtn->click();
        };
        form_->RunBtnClick();
        QVERIFY(visible);
        QCOMPARE(form_->ReportShown, 0);
        QCOMPARE(form_->Label3->text(), QString("Run cancelled"));
        QVERIFY(form_->CancelBtn->isHidden());
        QCOMPARE(form_->ProgBar->maximum(), 100);
        QVERIFY(!form_->DM->OldDB.Connected());
    }

    void loginIsNeverAskedForALocalFileAndItsCancelEndsTheRunQuietly()
    {
        MakePair("login", "", "CREATE GENERATOR GEN_A;");
        form_->DM->SetLoginPrompt(&form_->LoginWindow());
        // As after a refused login: every attach asks.
        form_->DM->OldDB.LoginPromptOn = true;
        form_->DM->NewDB.LoginPromptOn = true;
        form_->CompleteBox->setChecked(true);
        DialogAnswers none;
        form_->RunBtnClick();
        QCOMPARE(form_->ReportShown, 1);
        QCOMPARE(none.Answered, 0);

        // On a server both share, one login may serve both; Cancel ends the run with nothing to say.
        form_->OldDBName->SetFileName("localhost:/nowhere/old.fdb");
        form_->NewDBName->SetFileName("localhost:/nowhere/new.fdb");
        bool both = false;
        DialogAnswers answers;
        answers.Then([&](QWidget* window) {
            auto* login = qobject_cast<TLoginDialog*>(window);
            QVERIFY(login);
            both = !login->UseForBoth->isHidden() && login->UseForBoth->isChecked();
            login->CancelButton->click();
        });
        form_->RunBtnClick();
        QVERIFY(both);
        QCOMPARE(form_->Label3->text(), QString("Login cancelled"));
        QCOMPARE(form_->ReportShown, 1);

        // The eight checks keep their login window, asked again after a first Cancel, and their error box.
        form_->CompleteBox->setChecked(false);
        for (int i = 0; i < 2; ++i)
            answers.Then([&](QWidget* window) {
                auto* login = qobject_cast<TLoginDialog*>(window);
                both = both || !login->UseForBoth->isHidden();
                login->CancelButton->click();
            });
        both = false;
        ErrorBoxCapture box;
        form_->RunBtnClick();
        QVERIFY(!both);
        QVERIFY(answers.Done());
        QCOMPARE(box.Messages, QStringList{"Old Database: Operation cancelled at user's request."});
    }

    void theCompleteComparisonNamesTheWholeVersion()
    {
        TVorkatMainForm form;
        QCOMPARE(form.windowTitle(), QString("Vorkat v" VORKAT_VERSION));
        QStringList versions;
        auto readAndClose = [&] {
            versions << form.AboutForm->Version->text();
            form.AboutForm->reject();
        };
        QTimer::singleShot(0, form.AboutForm, readAndClose);
        form.AboutBtnClick();
        form.CompleteBox->setChecked(true);
        QTimer::singleShot(0, form.AboutForm, readAndClose);
        form.AboutBtnClick();
        QCOMPARE(versions, (QStringList{"v 1.0", "v " VORKAT_VERSION}));
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
        DialogAnswers answers;
        answers.Then([](QWidget* window) { qobject_cast<TConfirmRepair*>(window)->ApplyButton->click(); })
            .Then([](QWidget* window) { qobject_cast<QMessageBox*>(window)->accept(); });
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
        answers.Then([](QWidget* window) { qobject_cast<TConfirmRepair*>(window)->ApplyButton->click(); });
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

    void newAsAScriptIsBuiltNamedByItsPathAndRepairedUntilNothingIsLeft()
    {
        MakePair("scriptnew", "", "");
        OwnTemporaryFolder temporary;
        // Any case of ".sql" names a script.
        const QString script = dir_.path() + "/Schema.SQL";
        WriteFile(script, "SET SQL DIALECT 1;\n"
                          "CREATE DATABASE 'schema.fdb';\n"
                          "CREATE GENERATOR GEN_ORDER;\n"
                          "CREATE TABLE CUSTOMER (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40));\n"
                          "SET TERM ^ ;\n"
                          "CREATE PROCEDURE COUNTED RETURNS (N INTEGER) AS BEGIN N = 1; SUSPEND; END^\n"
                          "SET TERM ; ^\n");
        form_->NewDBName->SetFileName(script);
        form_->CompleteBox->setChecked(true);
        form_->ReportAnswer = 1;
        QString built;
        bool builtThere = false;
        QList<QStringList> shown;
        form_->DuringReport = [&] {
            built = QString::fromStdString(form_->DM->NewDB.DatabaseName());
            builtThere = QFile::exists(built);
            shown = Findings(*form_->Rep);
        };
        QString outcome, repairedAgainst;
        DialogAnswers answers;
        answers
            .Then([&](QWidget* window) {
                repairedAgainst = QString::fromStdString(form_->DM->NewDB.DatabaseName());
                qobject_cast<TConfirmRepair*>(window)->ApplyButton->click();
            })
            .Then([&](QWidget* window) {
                outcome = qobject_cast<QMessageBox*>(window)->text();
                qobject_cast<QMessageBox*>(window)->accept();
            });
        form_->RunBtnClick();
        QVERIFY(answers.Done());
        QCOMPARE(form_->Steps.value(0), QString("Building New Database"));
        // The Repair from the report compares with the database the script pass built.
        QCOMPARE(repairedAgainst, built);
        QCOMPARE(shown, (QList<QStringList>{{"missing", "GENERATOR", "GEN_ORDER", "not exist", "create", ""},
                                            {"missing", "TABLE", "CUSTOMER", "not exist", "create", ""},
                                            {"missing", "PROCEDURE", "COUNTED", "not exist", "create", ""},
                                            {"missing", "CONSTRAINT", "CUSTOMER PRIMARY KEY (ID)", "not exist", "create",
                                             ""}}));
        QCOMPARE(outcome, QString("Committed 5 statements to the Old Database."));
        // Built in the temporary folder, attached as New, and gone with the run.
        QVERIFY(built.startsWith(temporary.Path() + "/"));
        QVERIFY(builtThere);
        QVERIFY(!QFile::exists(built));
        QCOMPARE(temporary.Entries(), QStringList());
        // The script's head names New by the script, on the server and dialect Old has.
        const QByteArray written = ReadFile(dir_.path() + "/vorkat.sql");
        const QByteArray oldHead = HeadLine(written, "Old");
        const QByteArray oldName = "   Old: " + QByteArray::fromStdString(old_->Path());
        QVERIFY(oldHead.startsWith(oldName));
        QCOMPARE(HeadLine(written, "New"), "   New: " + script.toUtf8() + oldHead.mid(oldName.size()));

        // Compared again, the script finds nothing left in Old.
        form_->ReportAnswer = 2;
        QString counts;
        form_->DuringReport = [&] {
            counts = form_->Rep->Complete->Counts->text();
            shown = Findings(*form_->Rep);
        };
        form_->RunBtnClick();
        QCOMPARE(counts, QString("Old and New agree: 0 missing, 0 different, 0 only in Old, 0 not mended, 0 warnings; "
                                 "0 statements"));
        QCOMPARE(shown, QList<QStringList>());
        QCOMPARE(temporary.Entries(), QStringList());
        form_->CompleteBox->setChecked(false);
    }

    void anExportedFolderServesAsNewAsItsDatabaseDoes()
    {
        MakePair("foldernew", "CREATE TABLE CUSTOMER (ID INTEGER NOT NULL, NAME VARCHAR(20));",
                 "CREATE DOMAIN D_NAME VARCHAR(40);\n"
                 "CREATE TABLE CUSTOMER (ID INTEGER NOT NULL PRIMARY KEY, NAME D_NAME, CITY VARCHAR(30));\n"
                 "CREATE INDEX IX_CITY ON CUSTOMER (CITY);\n"
                 "CREATE EXCEPTION E_NO_CUSTOMER 'No such customer';\n");
        const QString folder = dir_.path() + "/export";
        {
            Attached attached(new_->Path());
            const schema::ExportedFiles files = schema::ExportDatabase(attached.db, attached.tran);
            attached.tran.Commit();
            schema::WriteExport(folder.toStdString(), files);
        }
        form_->CompleteBox->setChecked(true);
        QList<QStringList> fromDatabase, fromFolder;
        form_->DuringReport = [&] { fromDatabase = Findings(*form_->Rep); };
        form_->RunBtnClick();
        const QByteArray databaseScript = ReadFile(dir_.path() + "/vorkat.sql");

        OwnTemporaryFolder temporary;
        form_->NewDBName->SetFileName(folder);
        form_->DuringReport = [&] { fromFolder = Findings(*form_->Rep); };
        form_->RunBtnClick();
        QCOMPARE(form_->ReportShown, 2);
        QCOMPARE(fromDatabase,
                 (QList<QStringList>{{"missing", "EXCEPTION", "E_NO_CUSTOMER", "not exist", "create", ""},
                                     {"missing", "DOMAIN", "D_NAME", "not exist", "create", ""},
                                     {"missing", "FIELD", "CUSTOMER.CITY", "not exist", "create", ""},
                                     {"missing", "CONSTRAINT", "CUSTOMER PRIMARY KEY (ID)", "not exist", "create", ""},
                                     {"missing", "INDEX", "IX_CITY", "not exist", "create", ""},
                                     {"different", "FIELD", "CUSTOMER.NAME",
                                      "different: type VARCHAR(20) CHARACTER SET NONE -> D_NAME", "alter", ""}}));
        QCOMPARE(fromFolder, fromDatabase);
        // The same statements, New named by the folder.
        const QByteArray folderScript = ReadFile(dir_.path() + "/vorkat.sql");
        QList<QByteArray> databaseLines = TextLines(databaseScript), folderLines = TextLines(folderScript);
        QCOMPARE(folderLines.size(), databaseLines.size());
        QCOMPARE(HeadLine(folderScript, "New"),
                 HeadLine(databaseScript, "New").replace(QByteArray::fromStdString(new_->Path()), folder.toUtf8()));
        // Below the head, which also says when it was written, every line is the same.
        const qsizetype body = databaseLines.indexOf("*/") + 1;
        QVERIFY(body > 0);
        QCOMPARE(folderLines.mid(body), databaseLines.mid(body));
        QCOMPARE(temporary.Entries(), QStringList());
        form_->CompleteBox->setChecked(false);
    }

    void aRefusedStatementNamesItsFileAndLineAndOldIsNotTouched()
    {
        MakePair("refused", "CREATE GENERATOR GEN_A;", "");
        OwnTemporaryFolder temporary;
        const QString script = dir_.path() + "/broken.sql";
        WriteFile(script, "SET SQL DIALECT 1;\n"
                          "CREATE GENERATOR GEN_ORDER;\n"
                          "\n"
                          "CREATE TABLE CUSTOMER (ID INTEGER,\n"
                          "  NAME NO_SUCH_DOMAIN);\n");
        form_->NewDBName->SetFileName(script);
        form_->CompleteBox->setChecked(true);
        form_->RepairBox->setChecked(true);
        const QByteArray before = ReadFile(QString::fromStdString(old_->Path()));
        DialogAnswers none;
        ErrorBoxCapture box;
        form_->RunBtnClick();
        QCOMPARE(box.Messages, QStringList{"New Database: " + script +
                                           ":4: unsuccessful metadata update\r\nCREATE TABLE CUSTOMER failed\r\n"
                                           "SQL error code = -607\r\nInvalid command\r\n"
                                           "Specified domain or source column NO_SUCH_DOMAIN does not exist."});
        QCOMPARE(none.Answered, 0);
        QCOMPARE(form_->ReportShown, 0);
        QVERIFY(form_->Label3->text().isEmpty());
        QVERIFY(form_->CancelBtn->isHidden());
        QVERIFY(form_->DM->OldDB.DatabaseName().empty());
        QCOMPARE(ReadFile(QString::fromStdString(old_->Path())), before);
        QCOMPARE(temporary.Entries(), QStringList());
        form_->RepairBox->setChecked(false);
        form_->CompleteBox->setChecked(false);
    }

    void cancelWhileNewIsBuiltEndsTheRunAndRemovesIt()
    {
        MakePair("cancelbuild", "", "");
        OwnTemporaryFolder temporary;
        const QString script = dir_.path() + "/new.sql";
        WriteFile(script, "SET SQL DIALECT 1;\nCREATE GENERATOR GEN_ORDER;\n");
        form_->NewDBName->SetFileName(script);
        form_->CompleteBox->setChecked(true);
        form_->AtStage = [&](const QString& caption) {
            if (caption == "Building New Database")
                form_->CancelBtn->click();
        };
        form_->RunBtnClick();
        QCOMPARE(form_->ReportShown, 0);
        QCOMPARE(form_->Label3->text(), QString("Run cancelled"));
        QVERIFY(!form_->DM->OldDB.Connected());
        QVERIFY(!form_->DM->NewDB.Connected());
        QCOMPARE(temporary.Entries(), QStringList());
        form_->CompleteBox->setChecked(false);
    }

    void theEightChecksTakeAFolderOrScriptAsADatabaseName()
    {
        MakePair("checksfiles", "", "");
        const QString script = dir_.path() + "/checks.sql";
        WriteFile(script, "CREATE GENERATOR GEN_ORDER;\n");
        form_->NewDBName->SetFileName(script);
        ErrorBoxCapture box;
        form_->RunBtnClick();
        form_->NewDBName->SetFileName(dir_.path());
        form_->RunBtnClick();
        QCOMPARE(box.Messages, (QStringList{"New Database: " + script + " is too short to be a database file.",
                                            "New Database: " + dir_.path() + " is a folder, not a database file."}));
        QVERIFY(form_->Steps.isEmpty());
        QCOMPARE(form_->ReportShown, 0);
    }

    void theNewBrowseOffersScriptsAndAFolderInTheCompleteComparisonOnly()
    {
        TVorkatMainForm form;
        const auto check = [&](bool complete) {
            QFileDialog dialog;
            form.NewDBName->ConfigureDialog(dialog);
            QCOMPARE(dialog.nameFilters(), complete ? (QStringList{"IB files (*.gdb)", "isql scripts (*.sql)"})
                                                    : QStringList{"IB files (*.gdb)"});
            QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
            QCOMPARE(form.NewDBName->browse->menu() != nullptr, complete);
            // Old is never files.
            QFileDialog oldDialog;
            form.OldDBName->ConfigureDialog(oldDialog);
            QCOMPARE(oldDialog.nameFilters(), QStringList{"IB files (*.gdb)"});
            QVERIFY(!form.OldDBName->browse->menu());
        };
        check(false);
        form.CompleteBox->setChecked(true);
        check(true);
        QCOMPARE(form.NewDBName->browse->menu()->actions(), QList<QAction*>{form.NewDBName->FolderAction});
        QCOMPARE(form.NewDBName->FolderAction->text(), QString("Folder…"));

        // "Folder…" picks a folder into the field.
        const QString folder = dir_.path() + "/picked";
        QVERIFY(QDir().mkpath(folder));
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        DialogAnswers answers;
        answers.Then([&](QWidget* window) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            QVERIFY(dialog);
            mode = dialog->fileMode();
            // Accepted with nothing typed, a folder dialog gives the folder it shows.
            dialog->setDirectory(folder);
            static_cast<QDialog*>(dialog)->accept();
        });
        form.NewDBName->FolderAction->trigger();
        QCOMPARE(mode, QFileDialog::Directory);
        QCOMPARE(form.NewDBName->FileName(), folder);
        form.CompleteBox->setChecked(false);
        check(false);
    }

    void cleanupTestCase() { form_.reset(); }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
