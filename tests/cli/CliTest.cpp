// vorkat-cli run as a program on real database pairs: exit status, output bytes against the
// window's, verification after a repair, rehearsals that leave the Old Database alone,
// rehearsals and the password prompt over a server of the test's own, and signals that come
// while a repair's statement or commit runs.
#include "app/MainWindow.h"
#include "app/ReportForm.h"
#include "tests/support/CommitGate.h"
#include "tests/support/FbServer.h"
#include "data/Files.h"
#include "tests/support/TestDb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <functional>
#include <memory>

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// No credentials from the caller's environment; temporary files go to tmp and programs are
// looked for in bin first, when given.
QProcessEnvironment CliEnvironment(const QString& tmp, const QString& bin)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("ISC_USER");
    environment.remove("ISC_PASSWORD");
    if (!tmp.isEmpty())
        environment.insert("TMPDIR", tmp);
    if (!bin.isEmpty())
        environment.insert("PATH", bin + ":" + environment.value("PATH", "/usr/bin:/bin"));
    return environment;
}

// Runs vorkat-cli in folder.
CliResult RunCli(const QStringList& arguments, const QString& folder, const QString& tmp = {}, const QString& bin = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(CliEnvironment(tmp, bin));
    process.start(VORKAT_CLI_PATH, arguments);
    process.waitForFinished(120000);
    CliResult result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// A file's lines, whichever of CR LF or LF ends them.
QStringList TextLines(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).replace("\r\n", "\n").split('\n');
}

QString ShellQuoted(const QString& text)
{
    return "'" + QString(text).replace("'", "'\\''") + "'";
}

struct TerminalResult {
    int exitCode = -1;
    // What the terminal showed: the prompts, progress and errors.
    QByteArray screen;
    int prompts = 0;
};

// vorkat-cli with the arguments, each quoted for the shell.
QString CliCommand(const QStringList& arguments)
{
    QString command = ShellQuoted(VORKAT_CLI_PATH);
    for (const QString& argument : arguments)
        command += " " + ShellQuoted(argument);
    return command;
}

// Runs the command on a terminal of its own (script(1) makes one) for up to two minutes;
// answer sees the screen after each read and types what the run asks for.
TerminalResult RunScripted(const QString& command, const QString& folder, QProcessEnvironment environment,
                           const std::function<void(QProcess&, TerminalResult&)>& answer)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    environment.insert("SHELL", "/bin/sh");
    process.setProcessEnvironment(environment);
    process.start("script", {"-qec", command, "/dev/null"});
    TerminalResult result;
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < 120000) {
        process.waitForReadyRead(100);
        result.screen += process.readAllStandardOutput();
        answer(process, result);
    }
    process.waitForFinished(5000);
    result.screen += process.readAllStandardOutput();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

// Runs vorkat-cli on a terminal of its own, standard output going to the file out, and types
// password at every password prompt.
TerminalResult RunCliOnTerminal(const QStringList& arguments, const QString& folder, const QString& out,
                                const QString& password, const QString& tmp, const QString& bin)
{
    return RunScripted(CliCommand(arguments) + " >" + ShellQuoted(out), folder, CliEnvironment(tmp, bin),
                       [&](QProcess& process, TerminalResult& result) {
                           while (result.prompts < result.screen.count("Password for ")) {
                               // The prompt turns echo off, dropping what was typed ahead, just
                               // after it is shown.
                               QThread::msleep(300);
                               process.write((password + "\n").toUtf8());
                               ++result.prompts;
                           }
                       });
}

// Runs vorkat-cli on a terminal of its own with its command line ending in redirection
// (">out.txt" keeps standard output off the terminal, "2>err.txt" standard error), NO_COLOR set
// to noColor unless that is empty, and answer typed once question shows.
TerminalResult RunOnTerminal(const QStringList& arguments, const QString& folder, const QString& redirection,
                             const QByteArray& question = {}, const QByteArray& answer = {},
                             const QString& noColor = {})
{
    QProcessEnvironment environment = CliEnvironment({}, {});
    environment.remove("NO_COLOR");
    if (!noColor.isEmpty())
        environment.insert("NO_COLOR", noColor);
    return RunScripted(CliCommand(arguments) + " " + redirection, folder, environment,
                       [&](QProcess& process, TerminalResult& result) {
                           if (!question.isEmpty() && result.prompts == 0 && result.screen.contains(question)) {
                               process.write(answer + "\n");
                               ++result.prompts;
                           }
                       });
}

// The progress line's redraws on a terminal: each text drawn in place, without the wipes.
QStringList Redraws(const QByteArray& screen)
{
    static const QRegularExpression redraw("\r([^\r\n]*)\x1b\\[K");
    QStringList drawn;
    for (auto it = redraw.globalMatch(QString::fromUtf8(screen)); it.hasNext();) {
        const QString text = it.next().captured(1);
        if (!text.isEmpty())
            drawn << text;
    }
    return drawn;
}

// The terminal's lines without the progress line drawn and wiped in place between them.
QStringList ScreenLines(const QByteArray& screen)
{
    static const QRegularExpression redraw("\r[^\r\n]*\x1b\\[K");
    QString text = QString::fromUtf8(screen).remove(redraw);
    if (text.endsWith("\r\n"))
        text.chop(2);
    return text.split("\r\n");
}

// A gbak in folder that notes each command line in gbak.log there and runs the real one.
bool MakeNotingGbak(const QString& folder)
{
    const QString gbak = QStandardPaths::findExecutable("gbak");
    if (gbak.isEmpty())
        return false;
    QFile file(folder + "/gbak");
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(("#!/bin/sh\necho \"$*\" >> " + ShellQuoted(folder + "/gbak.log") + "\nexec " + ShellQuoted(gbak) +
                " \"$@\"\n")
                   .toUtf8());
    file.close();
    return file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

std::string SampleSql(const char* side)
{
    return ReadFile(QString(SAMPLE_SQL_DIR) + "/sample_" + side + ".sql").toStdString();
}

// Standard error off a terminal: a line for each step as it ended, then the run's own lines.
struct ErrLines {
    // Each step's time, the one part that varies from run to run, shown as "T".
    QStringList steps;
    QStringList said;
};

ErrLines SplitErr(const QByteArray& err)
{
    static const QRegularExpression step("^([A-Za-z ]+: (?:\\d+ in )?)\\d+\\.\\d s$");
    ErrLines lines;
    for (const QString& line : QString::fromUtf8(err).split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith("vorkat-cli: ")) {
            lines.said << line;
            continue;
        }
        const QRegularExpressionMatch match = step.match(line);
        lines.steps << (match.hasMatch() ? match.captured(1) + "T s" : "unexpected: " + line);
    }
    return lines;
}

// A JSON file as a value, to compare whole.
QJsonObject JsonFile(const QString& path)
{
    return QJsonDocument::fromJson(ReadFile(path)).object();
}

// "3.0.11": the version of the engine that runs db, as isql-fb reads it.
QString EngineVersion(const TestDb& db)
{
    const std::string engine =
        db.Isql("SET HEADING OFF; SELECT RDB$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION') FROM RDB$DATABASE;");
    return QString::fromStdString(engine).trimmed();
}

const QByteArray SampleRows = "DOMAIN\tD_CODE\tnot exist\n"
                              "EXCEPTION\tE_BAD_ORDER\tnot exist\n"
                              "GENERATOR\tGEN_ORDER\tnot exist\n"
                              "GENERATOR\tGEN_INVOICE\tnot exist\n"
                              "FIELD\tCUSTOMER-CITY\tnot exist\n"
                              "FIELD\tORDERS-CODE\tnot exist\n"
                              "TABLE\tINVOICE\tnot exist\n"
                              "INDEX\tIX_CUSTOMER_CITY\tnot exist\n"
                              "CONSTRAINT\tFK_ORDER_CUST\tnot exist\n"
                              "STORED PROC.\tORDER_COUNT\tnot exist\n"
                              "TRIGGER.\tORDERS_BI\tnot exist\n";

// The window's run with the report answered by "Close".
class ClosingForm : public TVorkatMainForm {
protected:
    int ShowReport() override { return 2; }
};

}

class CliTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString Folder(const QString& name)
    {
        QDir(dir_.path()).mkpath(name);
        return dir_.path() + "/" + name;
    }

    static QString Name(const TestDb& db) { return QString::fromStdString(db.Path()); }

    // Why no server can start here, or empty once server holds one.
    static QString StartServer(std::unique_ptr<FbServer>& server)
    {
        try {
            server = std::make_unique<FbServer>();
            return {};
        } catch (const ServerUnavailable& reason) {
            return QString("no Firebird server can start here: ") + reason.what();
        }
    }

    // A dialect 1 database on the server, made from sql; its name as vorkat-cli takes it.
    static QString ServerDb(const FbServer& server, const std::string& file, const std::string& sql)
    {
        const std::string name = server.Name(server.Folder() + "/" + file);
        server.Isql("SET SQL DIALECT 1;\nCREATE DATABASE '" + name + "' USER '" + FbServer::User() + "' PASSWORD '" +
                    server.Password() + "';\nCOMMIT;\n" + sql + "\nCOMMIT;\n");
        return QString::fromStdString(name);
    }

private slots:
    void exitStatusSaysAgreementDifferencesOrError()
    {
        const QString folder = Folder("exit");
        TestDb same1("exit_same1", "CREATE GENERATOR GEN_A;");
        TestDb same2("exit_same2", "CREATE GENERATOR GEN_A;");
        CliResult agree = RunCli({"--quiet", Name(same1), Name(same2)}, folder);
        QCOMPARE(agree.exitCode, 0);
        QCOMPARE(agree.out, QByteArray());
        QCOMPARE(agree.err, QByteArray());
        QCOMPARE(ReadFile(folder + "/vorkat.sql"), QByteArray());

        // A name in double quotes, made in dialect 3, shows the JSON escapes.
        TestDb quoted("exit_quoted", "CREATE GENERATOR GEN_A; CREATE GENERATOR \"Q\"\"\\\";", 3);
        CliResult differ = RunCli({"--report", "rows.json", Name(same1), Name(quoted)}, folder);
        QCOMPARE(differ.exitCode, 1);
        QCOMPARE(differ.out, QByteArray("GENERATOR\tQ\"\\\tnot exist\n"));
        // Off a terminal, progress is one line per kind: its caption, the objects walked and the
        // time; then the run's summary.
        const ErrLines err = SplitErr(differ.err);
        QCOMPARE(err.steps, (QStringList{"Domains: 0 in T s", "Exceptions: 0 in T s", "Generators: 2 in T s",
                                         "UDF: 0 in T s", "Table Fields: 0 in T s", "Table Indices: 0 in T s",
                                         "Stored Procedures: 0 in T s", "Triggers: 29 in T s"}));
        QCOMPARE(err.said, QStringList{"vorkat-cli: 1 finding; the script is in vorkat.sql"});
        // The eight checks' report holds their rows, with both sides as the servers told them.
        const QJsonObject json = JsonFile(folder + "/rows.json");
        QCOMPARE(json.value("findings"),
                 QJsonValue(QJsonArray{QJsonObject{{"type", "GENERATOR"}, {"name", "Q\"\\"}, {"message", "not exist"}}}));
        QCOMPARE(json.value("mode"), QJsonValue("checks"));
        QCOMPARE(json.value("new"), QJsonValue(QJsonObject{{"database", Name(quoted)},
                                                           {"server", json.value("old")["server"]},
                                                           {"ods", 12},
                                                           {"dialect", 3}}));
        QCOMPARE(ReadFile(folder + "/vorkat.sql"),
                 QByteArray("/* GENERATOR Q\"\\ */\r\nCREATE GENERATOR Q\"\\\r\n;\r\n\r\n"));

        CliResult badOption = RunCli({"--fast", Name(same1), Name(same2)}, folder);
        QCOMPARE(badOption.exitCode, 2);
        QCOMPARE(badOption.err, QByteArray("vorkat-cli: unknown option --fast\nTry 'vorkat-cli --help'.\n"));

        QFile::remove(folder + "/vorkat.sql");
        CliResult missing = RunCli({Name(same1) + ".missing", Name(same2)}, folder);
        QCOMPARE(missing.exitCode, 2);
        QVERIFY(missing.err.startsWith("vorkat-cli: "));
        QCOMPARE(missing.out, QByteArray());
        QVERIFY(!QFile::exists(folder + "/vorkat.sql"));

        CliResult one = RunCli({"--repair", Name(same1), Name(same1)}, folder);
        QCOMPARE(one.exitCode, 2);
        QCOMPARE(one.err, ("vorkat-cli: Old Database and New Database are the same database: " + Name(same1) + "\n")
                              .toUtf8());
    }

    void outputsAreNeverWrittenOverADatabase()
    {
        const QString folder = Folder("outputs");
        TestDb oldDb("outputs_cli_old", "CREATE GENERATOR GEN_A;", 3);
        TestDb newDb("outputs_cli_new", "CREATE GENERATOR GEN_B;", 3);
        const QByteArray oldBytes = ReadFile(Name(oldDb)), newBytes = ReadFile(Name(newDb));
        CliResult script = RunCli({"--complete", "--script", Name(oldDb), Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(script.exitCode, 2);
        QCOMPARE(script.out, QByteArray());
        QCOMPARE(script.err, ("vorkat-cli: Cannot write the script to " + Name(oldDb) + ": it is the Old Database " +
                              Name(oldDb) + "\n")
                                 .toUtf8());
        // The eight checks' report too, through a link, and before any run: no script is left either.
        QFile::remove(folder + "/drift.csv");
        QVERIFY(QFile::link(Name(newDb), folder + "/drift.csv"));
        CliResult report = RunCli({"--report", "drift.csv", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(report.exitCode, 2);
        QCOMPARE(report.err,
                 ("vorkat-cli: Cannot write the report to drift.csv: it is the New Database " + Name(newDb) + "\n")
                     .toUtf8());
        QVERIFY(!QFile::exists(folder + "/vorkat.sql"));
        QCOMPARE(ReadFile(Name(oldDb)), oldBytes);
        QCOMPARE(ReadFile(Name(newDb)), newBytes);
    }

    void completeCsvQuotesNamesAndMakesFormulasInert()
    {
        const QString folder = Folder("csv");
        TestDb oldDb("csv_old", "", 3);
        TestDb newDb("csv_new",
                     "CREATE SEQUENCE \"=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\"; CREATE SEQUENCE \"A,B;\"\"C\";", 3);
        CliResult run = RunCli({"--complete", "--quiet", "--report", "r.csv", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(run.exitCode, 1);
        const char s = ListSeparator();
        const QByteArray expected = (QString("GENERATOR") + s + "\"'=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\"" + s +
                                     "not exist" + s + "\r\nGENERATOR" + s + "\"A,B;\"\"C\"" + s + "not exist" + s + "\r\n")
                                        .toUtf8();
        QCOMPARE(ReadFile(folder + "/r.csv"), expected);
    }

    void aReportThatFailsAfterACommittedRepairSaysTheRepairWasCommitted()
    {
        const QString folder = Folder("late_report");
        TestDb oldDb("late_report_old", "CREATE SEQUENCE GEN_A;", 3);
        TestDb newDb("late_report_new", "CREATE SEQUENCE GEN_A; CREATE SEQUENCE GEN_B;", 3);
        // A device that is always full takes the report's file, and fails its write.
        QFile::remove(folder + "/full.csv");
        QVERIFY(QFile::link("/dev/full", folder + "/full.csv"));
        const QStringList report{"--quiet", "--complete", "--repair", "--report", "full.csv", Name(oldDb), Name(newDb)};
        CliResult repaired = RunCli(report, folder);
        QCOMPARE(repaired.exitCode, 2);
        QCOMPARE(repaired.err, ("vorkat-cli: Cannot create file full.csv; the repair of " + Name(oldDb) +
                                " was committed, only the report is missing\n")
                                   .toUtf8());
        // Nothing left to repair: the report's failure is all there is to say.
        CliResult again = RunCli(report, folder);
        QCOMPARE(again.exitCode, 2);
        QCOMPARE(again.err, QByteArray("vorkat-cli: Cannot create file full.csv\n"));
    }

    void whatDropDestroysIsNamedInTheScriptTheRepairsRowsAndTheJson()
    {
        const QString folder = Folder("destructive");
        const std::string oldSql = "CREATE TABLE GONE (A INTEGER); INSERT INTO GONE VALUES (1); "
                                   "INSERT INTO GONE VALUES (2); CREATE TABLE KEPT (K INTEGER, OLD_C INTEGER); "
                                   "INSERT INTO KEPT VALUES (1, 5); CREATE SEQUENCE G_USED; SET GENERATOR G_USED TO "
                                   "12345; CREATE SEQUENCE G_FRESH START WITH 7;";
        TestDb scriptOld("destructive_script_old", oldSql, 3);
        TestDb repairOld("destructive_repair_old", oldSql, 3);
        TestDb newDb("destructive_new", "CREATE TABLE KEPT (K INTEGER);", 3);
        // Each row says what goes and what it takes with it; a generator, where it stands.
        const QByteArray willDrop = "GENERATOR\tG_FRESH\twill drop (holding 7)\n"
                                    "GENERATOR\tG_USED\twill drop (holding 12345)\n"
                                    "TABLE\tGONE\twill drop (2 rows)\nFIELD\tKEPT.OLD_C\twill drop (1 row)\n";
        const QByteArray dropped = "GENERATOR\tG_FRESH\tdropped (holding 7)\nGENERATOR\tG_USED\tdropped (holding 12345)\n"
                                   "TABLE\tGONE\tdropped (2 rows)\nFIELD\tKEPT.OLD_C\tdropped (1 row)\n";

        CliResult script = RunCli({"--complete", "--drop", Name(scriptOld), Name(newDb)}, folder);
        QCOMPARE(script.exitCode, 1);
        QCOMPARE(script.out, willDrop);
        // Each warning stands beside the statement it is about, and that statement is marked.
        const QString text = QString::fromUtf8(ReadFile(folder + "/vorkat.sql"));
        const QStringList lines = TextLines(text.mid(text.indexOf("\n*/\n") + 4).toUtf8());
        QCOMPARE(lines.mid(3, 16), (QStringList{"",
                                                "/* Warning: destructive: drops it with 1 row */",
                                                "/* FIELD KEPT.OLD_C (destructive) */",
                                                "ALTER TABLE KEPT DROP OLD_C;",
                                                "",
                                                "/* Warning: destructive: drops it with 2 rows */",
                                                "/* TABLE GONE (destructive) */",
                                                "DROP TABLE GONE;",
                                                "",
                                                "/* GENERATOR G_FRESH */",
                                                "DROP SEQUENCE G_FRESH;",
                                                "",
                                                "/* Warning: destructive: drops it holding 12345 */",
                                                "/* GENERATOR G_USED (destructive) */",
                                                "DROP SEQUENCE G_USED;",
                                                ""}));

        CliResult repair =
            RunCli({"--complete", "--drop", "--repair", "--report", "r.json", Name(repairOld), Name(newDb)}, folder);
        QCOMPARE(repair.exitCode, 1);
        QCOMPARE(repair.out, dropped);
        const QJsonArray findings = JsonFile(folder + "/r.json").value("findings").toArray();
        QCOMPARE(findings.at(2), QJsonValue(QJsonObject{{"type", "TABLE"},
                                                        {"name", "GONE"},
                                                        {"message", "only in Old"},
                                                        {"property", QJsonValue::Null},
                                                        {"old", QJsonValue::Null},
                                                        {"new", QJsonValue::Null},
                                                        {"destructive", true},
                                                        {"action", "drop"},
                                                        {"rows", 2},
                                                        {"statements", QJsonArray{"DROP TABLE GONE"}}}));
    }

    // A value the new type cannot hold stops the repair, --force or not: in place the server
    // would take the change and every read of the row would fail after it.
    void valueOutOfTheNewTypesRangeIsNeverChangedInPlace()
    {
        const QString folder = Folder("out_of_range");
        const std::string oldSql = "CREATE TABLE T (ID INTEGER, A INTEGER, S TIMESTAMP); "
                                   "INSERT INTO T VALUES (1, 100000000, '2024-05-06 13:14:15.1234');";
        TestDb oldDb("out_of_range_old", oldSql, 3);
        TestDb newDb("out_of_range_new", "CREATE TABLE T (ID INTEGER, A NUMERIC(9,2), S DATE);", 3);
        const QByteArray rows = "FIELD\tT.A\tdifferent: type INTEGER -> NUMERIC(9, 2)\n"
                                "FIELD\tT.S\tdifferent: type TIMESTAMP -> DATE\n"
                                "FIELD\tT.A\twould fail: 1 row of T has A out of the range of NUMERIC(9, 2)\n"
                                "FIELD\tT.S\twould cut: 1 row of T has a time of day in S\n"
                                "FIELD\tT.A\tnot mended: needs a data migration: 1 row of T (INTEGER -> NUMERIC(9, 2)); "
                                "--force mends it\n";
        CliResult stopped = RunCli({"--complete", "--repair", "--verify", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(stopped.exitCode, 2);
        QCOMPARE(stopped.out, rows);
        QVERIFY(stopped.err.contains("vorkat-cli: The repair was stopped before it changed anything; Old's rows fail "
                                     "these checks (--force goes ahead):\nFIELD T.A: would fail: 1 row of T has A "
                                     "out of the range of NUMERIC(9, 2)\nFIELD T.S: would cut: 1 row of T has a time "
                                     "of day in S\n"));

        // --force migrates the column instead, and CAST refuses the value: nothing changes.
        CliResult forced = RunCli({"--complete", "--repair", "--force", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(forced.exitCode, 2);
        QVERIFY(forced.err.contains("vorkat-cli: refused at the data migration of FIELD T.A: arithmetic exception, "
                                    "numeric overflow, or string truncation\nnumeric value is out of range; rolled back, "
                                    "Old unchanged\n"));
        QCOMPARE(RunCli({"--complete", Name(oldDb), Name(newDb)}, folder).out, rows);
    }

    // What --force accepts, a cut, is made in place; verify reads every altered column back.
    void verifyReadsBackTheColumnsTheRepairGaveAnotherType()
    {
        const QString folder = Folder("read_back");
        TestDb oldDb("read_back_old",
                     "CREATE TABLE T (ID INTEGER, A INTEGER, S TIMESTAMP); "
                     "INSERT INTO T VALUES (1, 5, '2024-05-06 13:14:15.1234'); "
                     "CREATE TABLE U (B SMALLINT); INSERT INTO U VALUES (5);",
                     3);
        TestDb newDb("read_back_new", "CREATE TABLE T (ID INTEGER, A NUMERIC(9,2), S DATE); CREATE TABLE U (B INTEGER);",
                     3);
        CliResult run = RunCli({"--complete", "--repair", "--force", "--verify", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray("FIELD\tT.A\tdifferent: type INTEGER -> NUMERIC(9, 2)\n"
                                     "FIELD\tT.S\tdifferent: type TIMESTAMP -> DATE\n"
                                     "FIELD\tU.B\tdifferent: type SMALLINT -> INTEGER\n"
                                     "FIELD\tT.S\twould cut: 1 row of T has a time of day in S\n"
                                     "converged\n"));
        // The value kept, the time of day cut as --force allowed.
        QVERIFY(oldDb.Isql("SET HEADING OFF; SELECT A || '|' || S FROM T;").find("5.00|2024-05-06 ") !=
                std::string::npos);
    }

    void scriptAndCsvAreTheWindowsBytes()
    {
        TestDb oldDb("bytes_old", SampleSql("old"));
        TestDb newDb("bytes_new", SampleSql("new"));
        const QString window = Folder("window");
        {
            ClosingForm form;
            form.ProgramDir = window;
            form.FormStorage1.IniFileName = window + "/vorkat.ini";
            form.Rep->ProgramDir = window;
            form.OldDBName->SetFileName(Name(oldDb));
            form.NewDBName->SetFileName(Name(newDb));
            form.RunBtnClick();
            form.Rep->btCSVClick();
        }
        const QByteArray script = ReadFile(window + "/vorkat.sql");
        const QByteArray csv = ReadFile(window + "/Report.CSV");
        QVERIFY(script.contains("/* GENERATOR GEN_ORDER */\r\nCREATE GENERATOR GEN_ORDER\r\n;\r\n\r\n"));

        const QString cli = Folder("cli");
        CliResult run = RunCli({"--report", "Report.CSV", Name(oldDb), Name(newDb)}, cli);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, SampleRows);
        QCOMPARE(ReadFile(cli + "/vorkat.sql"), script);
        QCOMPARE(ReadFile(cli + "/Report.CSV"), csv);

        // On standard output the script stands alone; the rows go to standard error.
        CliResult piped = RunCli({"--quiet", "--script", "-", Name(oldDb), Name(newDb)}, cli);
        QCOMPARE(piped.exitCode, 1);
        QCOMPARE(piped.out, script);
    }

    void verifyAfterRepairConverges()
    {
        TestDb oldDb("verify_old", SampleSql("old"));
        TestDb newDb("verify_new", SampleSql("new"));
        const QString folder = Folder("verify");
        CliResult repair = RunCli({"--repair", "--verify", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(repair.exitCode, 1);
        QCOMPARE(repair.out, SampleRows + "converged\n");
        QVERIFY(!QFile::exists(folder + "/vorkat.sql"));
        CliResult again = RunCli({"--quiet", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(again.exitCode, 0);
    }

    void completeComparisonScriptsRepairsAndConverges()
    {
        const QString folder = Folder("complete");
        TestDb newDb("complete_new", "CREATE GENERATOR GEN_A; CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY);"
                                     "CREATE TABLE ONLY_NEW (B VARCHAR(5));");
        TestDb oldDb("complete_old", "CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY); CREATE TABLE ONLY_OLD (C INTEGER);");
        CliResult script = RunCli({"--complete", "--only", "generators,tables", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(script.exitCode, 1);
        QCOMPARE(script.out, QByteArray("GENERATOR\tGEN_A\tnot exist\n"
                                        "TABLE\tONLY_NEW\tnot exist\n"
                                        "TABLE\tONLY_OLD\tonly in Old\n"));
        const QByteArray written = ReadFile(folder + "/vorkat.sql");
        QCOMPARE(written.mid(written.indexOf("\n*/\n") + 4), QByteArray("SET SQL DIALECT 1;\nSET BAIL ON;\nSET AUTODDL OFF;\n\n"
                                                              "/* GENERATOR GEN_A */\nCREATE SEQUENCE GEN_A;\n\n"
                                                              "/* TABLE ONLY_NEW */\n"
                                                              "CREATE TABLE ONLY_NEW (B VARCHAR(5) CHARACTER SET NONE);\n"
                                                              "\nCOMMIT;\n"));
        QCOMPARE(RunCli({"--complete", "--only", "views,bogus", Name(oldDb), Name(newDb)}, folder).exitCode, 2);

        CliResult repair = RunCli({"--complete", "--repair", "--verify", "--verbose", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(repair.exitCode, 1);
        QVERIFY(repair.out.endsWith("TABLE\tONLY_OLD\tonly in Old\nconverged\n"));
        QVERIFY(repair.err.contains("vorkat-cli: 56 catalog queries in the last pass\n"));
        // What only Old has is listed, never dropped, and is no difference.
        CliResult again = RunCli({"--complete", "--quiet", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(again.exitCode, 0);
        CliResult drop = RunCli({"--complete", "--repair", "--drop", "--verify", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(drop.exitCode, 1);
        QCOMPARE(drop.out, QByteArray("TABLE\tONLY_OLD\tdropped (0 rows)\nconverged\n"));
        QCOMPARE(RunCli({"--drop", Name(oldDb), Name(newDb)}, folder).err,
                 QByteArray("vorkat-cli: --drop belongs to the complete comparison: give it with --complete\n"
                            "Try 'vorkat-cli --help'.\n"));

        // Old's rows fail a safety check: the repair stops before it changes anything.
        TestDb nullsNew("complete_nulls_new", "CREATE TABLE N (A INTEGER NOT NULL);");
        TestDb nullsOld("complete_nulls_old", "CREATE TABLE N (A INTEGER); INSERT INTO N VALUES (NULL);");
        CliResult stopped = RunCli({"--complete", "--repair", "--quiet", Name(nullsOld), Name(nullsNew)}, folder);
        QCOMPARE(stopped.exitCode, 2);
        QCOMPARE(stopped.err, QByteArray("vorkat-cli: The repair was stopped before it changed anything; Old's rows "
                                         "fail these checks (--force goes ahead):\nFIELD N.A: would fail: 1 row of N "
                                         "has A NULL\n"));
        QCOMPARE(ReadFile(folder + "/vorkat.sql"), QByteArray());
    }

    void completeComparisonReportsItsDetailAsJsonAndAsTheReviewPage()
    {
        const QString folder = Folder("review");
        TestDb newDb("review_new", "CREATE GENERATOR GEN_A; CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(20));");
        TestDb oldDb("review_old", "CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(10));");
        CliResult json = RunCli({"--complete", "--quiet", "--report", "rows.json", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(json.exitCode, 1);
        // Whole: which Vorkat, both sides, the counts, and each finding with its action and statements.
        const QJsonObject report = JsonFile(folder + "/rows.json");
        const QString server = report.value("old")["server"].toString();
        QVERIFY2(QRegularExpression("^[A-Z]{2}-V" + QRegularExpression::escape(EngineVersion(oldDb)) +
                                    "\\.\\d+ Firebird \\d\\.\\d$")
                     .match(server)
                     .hasMatch(),
                 qPrintable(server));
        auto side = [&](const TestDb& db) {
            return QJsonObject{{"database", Name(db)}, {"server", server}, {"ods", 12}, {"dialect", 1}};
        };
        const QJsonObject expected{
            {"tool", QJsonObject{{"name", "vorkat"}, {"version", VORKAT_VERSION}}},
            {"old", side(oldDb)},
            {"new", side(newDb)},
            {"mode", "complete"},
            {"summary", QJsonObject{{"missing", 1}, {"different", 1}, {"onlyInOld", 0}, {"dropped", 0},
                                    {"notMended", 0}, {"warnings", 0}, {"statements", 2}}},
            {"warnings", QJsonArray{}},
            {"findings",
             QJsonArray{QJsonObject{{"type", "GENERATOR"}, {"name", "GEN_A"}, {"message", "not exist"},
                                    {"property", QJsonValue::Null}, {"old", QJsonValue::Null},
                                    {"new", QJsonValue::Null}, {"destructive", false}, {"action", "create"},
                                    {"rows", QJsonValue::Null}, {"statements", QJsonArray{"CREATE SEQUENCE GEN_A"}}},
                        QJsonObject{{"type", "FIELD"}, {"name", "T.B"},
                                    {"message", "different: type VARCHAR(10) CHARACTER SET NONE -> VARCHAR(20) "
                                                "CHARACTER SET NONE"},
                                    {"property", "type"}, {"old", "VARCHAR(10) CHARACTER SET NONE"},
                                    {"new", "VARCHAR(20) CHARACTER SET NONE"}, {"destructive", false},
                                    {"action", "alter"}, {"rows", QJsonValue::Null},
                                    {"statements", QJsonArray{"ALTER TABLE T ALTER B TYPE VARCHAR(20) CHARACTER SET NONE"}}}}},
            {"notMended", QJsonArray{}},
        };
        QCOMPARE(report, expected);
        // Its fields in a fixed order, one a line, and one line a finding.
        const QStringList lines = TextLines(ReadFile(folder + "/rows.json"));
        QCOMPARE(lines.size(), 14);
        QCOMPARE(lines.mid(0, 2), (QStringList{"{", "  \"tool\": {\"name\": \"vorkat\", \"version\": \"" VORKAT_VERSION "\"},"}));
        QCOMPARE(lines.mid(4, 4), (QStringList{"  \"mode\": \"complete\",",
                                               "  \"summary\": {\"missing\": 1, \"different\": 1, \"onlyInOld\": 0, "
                                               "\"dropped\": 0, \"notMended\": 0, \"warnings\": 0, \"statements\": 2},",
                                               "  \"warnings\": [],", "  \"findings\": ["}));
        QCOMPARE(lines.mid(10), (QStringList{"  ],", "  \"notMended\": []", "}", ""}));
        // Another run writes the same bytes.
        const QByteArray first = ReadFile(folder + "/rows.json");
        QCOMPARE(RunCli({"--complete", "--quiet", "--report", "rows.json", Name(oldDb), Name(newDb)}, folder).exitCode, 1);
        QCOMPARE(ReadFile(folder + "/rows.json"), first);

        CliResult html = RunCli({"--complete", "--quiet", "--report", "review.html", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(html.exitCode, 1);
        QCOMPARE(html.err, QByteArray());
        const QByteArray page = ReadFile(folder + "/review.html");
        QVERIFY(page.startsWith("<!DOCTYPE html>\n<html lang=\"en\">\n"));
        QVERIFY(page.split('\n').contains("<li class=\"k-different\"><a href=\"#g-different\"><b>1</b> "
                                          "<span>different</span></a></li>"));

        // The page shows the complete comparison only; the options keep their messages.
        const QByteArray tryHelp = "\nTry 'vorkat-cli --help'.\n";
        CliResult checks = RunCli({"--report", "review.html", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(checks.exitCode, 2);
        QCOMPARE(checks.err, "vorkat-cli: --report review.html: the review report shows the complete comparison; "
                             "give it with --complete" + tryHelp);
        const std::pair<QStringList, QByteArray> usages[] = {
            {{"--repair=yes", "a", "b"}, "option --repair takes no value"},
            {{"a", "b", "--only"}, "option --only needs a value"},
            {{"--script=", "a", "b"}, "--script needs a file name, or - for standard output"},
            {{"-x", "a", "b"}, "only OLD and NEW are taken, not 'b'"},
            {{"--complete", "--report", "r.txt", "a", "b"}, "--report takes a file ending in .csv, .json or .html"},
        };
        for (const auto& [arguments, message] : usages) {
            CliResult usage = RunCli(arguments, folder);
            QCOMPARE(usage.exitCode, 2);
            QCOMPARE(usage.err, "vorkat-cli: " + message + tryHelp);
        }
    }

    void rehearsalLeavesOldUntouched()
    {
        TestDb oldDb("rehearse_old", SampleSql("old"));
        TestDb newDb("rehearse_new", SampleSql("new"));
        const QString folder = Folder("rehearse");
        const QString tmp = Folder("rehearse_tmp");
        const QByteArray before = ReadFile(Name(oldDb));
        CliResult rehearsal = RunCli({"--rehearse", "--quiet", Name(oldDb), Name(newDb)}, folder, tmp);
        QCOMPARE(rehearsal.exitCode, 1);
        QCOMPARE(rehearsal.err, QByteArray());
        QVERIFY(ReadFile(Name(oldDb)) == before);
        QCOMPARE(QDir(tmp).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        CliResult shown = RunCli({"--rehearse", Name(oldDb), Name(newDb)}, folder, tmp);
        QCOMPARE(shown.out, SampleRows + "converged\n");

        // A foreign key that the Old rows break: the server refuses it, and the copy still goes.
        const std::string tables = "CREATE TABLE T1 (ID INTEGER NOT NULL, CONSTRAINT PK_T1 PRIMARY KEY (ID));"
                                   "CREATE TABLE T2 (ID INTEGER NOT NULL, P INTEGER,"
                                   " CONSTRAINT PK_T2 PRIMARY KEY (ID)";
        TestDb orphan("rehearse_orphan", tables + "); COMMIT; INSERT INTO T2 VALUES (1, 5);");
        TestDb keyed("rehearse_keyed", tables + ", CONSTRAINT FK_T2 FOREIGN KEY (P) REFERENCES T1 (ID));");
        const QByteArray orphanBefore = ReadFile(Name(orphan));
        CliResult refused = RunCli({"--rehearse", "--quiet", Name(orphan), Name(keyed)}, folder, tmp);
        QCOMPARE(refused.exitCode, 2);
        QVERIFY2(refused.err.startsWith("vorkat-cli: refused: TABLE T2: violation of FOREIGN KEY constraint \"FK_T2\""),
                 refused.err.constData());
        QVERIFY(ReadFile(Name(orphan)) == orphanBefore);
        QCOMPARE(QDir(tmp).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    // A signal while the repair's commit runs waits for its end: the repair is kept, and the run
    // then ends as the signal ends it, with a line when it comes and one when it takes effect.
    // Before the commit, while the statement runs, it ends the run at once, and nothing of the
    // repair is kept. Either way the next run finds a sound Old. A signal ignored when the run
    // started, sent first, stays ignored.
    void signalDuringTheCommitWaitsForItsEndAndBeforeItEndsTheRunAtOnce_data()
    {
        QTest::addColumn<int>("ignored");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("inCommit");
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<QByteArray>("left");
        const QStringList checks{"--only", "tables"};
        QTest::newRow("SIGTERM in the commit")
            << 0 << SIGTERM << true << checks
            << QByteArray("vorkat-cli: SIGTERM came during the commit; the commit runs to its end first\n"
                          "vorkat-cli: SIGTERM came during the commit; it took effect after the commit ended\n")
            << QByteArray();
        QTest::newRow("SIGINT in the commit")
            << 0 << SIGINT << true << checks
            << QByteArray("vorkat-cli: SIGINT came during the commit; the commit runs to its end first\n"
                          "vorkat-cli: SIGINT came during the commit; it took effect after the commit ended\n")
            << QByteArray();
        QTest::newRow("SIGHUP in the commit")
            << 0 << SIGHUP << true << checks
            << QByteArray("vorkat-cli: SIGHUP came during the commit; the commit runs to its end first\n"
                          "vorkat-cli: SIGHUP came during the commit; it took effect after the commit ended\n")
            << QByteArray();
        QTest::newRow("SIGTERM in the commit of a complete repair")
            << 0 << SIGTERM << true << QStringList{"--complete", "--only", "tables"}
            << QByteArray("vorkat-cli: SIGTERM came during the commit; the commit runs to its end first\n"
                          "vorkat-cli: SIGTERM came during the commit; it took effect after the commit ended\n")
            << QByteArray();
        QTest::newRow("SIGTERM in the statement")
            << 0 << SIGTERM << false << checks << QByteArray() << QByteArray("TABLE\tT_ADDED\tnot exist\n");
        QTest::newRow("SIGHUP ignored from the start, then SIGTERM in the statement")
            << SIGHUP << SIGTERM << false << checks << QByteArray() << QByteArray("TABLE\tT_ADDED\tnot exist\n");
    }

    void signalDuringTheCommitWaitsForItsEndAndBeforeItEndsTheRunAtOnce()
    {
        QFETCH(int, ignored);
        QFETCH(int, number);
        QFETCH(bool, inCommit);
        QFETCH(QStringList, mode);
        QFETCH(QByteArray, err);
        QFETCH(QByteArray, left);
        std::unique_ptr<FbServer> server;
        if (const QString reason = StartServer(server); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        const QString folder = Folder("signal");
        ServerGate gate(*server, "gate.fdb");
        TestDb oldDb("signal_old", gate.OldSql(inCommit ? GateIn::Commit : GateIn::Statement));
        TestDb newDb("signal_new", GatedNewSql);

        QProcess cli;
        cli.setWorkingDirectory(folder);
        cli.setProcessEnvironment(CliEnvironment({}, {}));
        // Started by a shell in the background, the test would hand an ignored SIGINT down.
        cli.setChildProcessModifier([ignored] {
            for (int signal : {SIGINT, SIGTERM, SIGHUP})
                std::signal(signal, signal == ignored ? SIG_IGN : SIG_DFL);
        });
        cli.setReadChannel(QProcess::StandardError);
        cli.start(VORKAT_CLI_PATH, mode + QStringList{"--quiet", "--repair", "--user", "SYSDBA", "--password", "x",
                                                      Name(oldDb), Name(newDb)});
        QVERIFY(cli.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (gate.Entered() == 0 && cli.state() == QProcess::Running && waited.elapsed() < 60000)
            cli.waitForFinished(50);
        QVERIFY2(cli.state() == QProcess::Running, cli.readAllStandardError().constData());
        QCOMPARE(gate.Entered(), std::int64_t{1});

        // One thread takes the signals in the order they came: the ignored one, if any, first.
        if (ignored != 0)
            QVERIFY(::kill(static_cast<pid_t>(cli.processId()), ignored) == 0);
        QVERIFY(::kill(static_cast<pid_t>(cli.processId()), number) == 0);
        QByteArray shown;
        if (inCommit) {
            // The commit goes on only once the run has said that the signal waits for it.
            const QByteArray held = err.left(err.indexOf('\n') + 1);
            while (!shown.contains(held) && cli.state() == QProcess::Running && waited.elapsed() < 120000) {
                cli.waitForReadyRead(1000);
                shown += cli.readAllStandardError();
            }
            QCOMPARE(shown, held);
            gate.Open();
        }
        QVERIFY(cli.waitForFinished(60000));
        shown += cli.readAllStandardError();
        QCOMPARE(cli.exitStatus(), QProcess::CrashExit);
        QCOMPARE(cli.exitCode(), number);
        QCOMPARE(shown, err);
        QCOMPARE(cli.readAllStandardOutput(), QByteArray());

        // The gate stays open for what follows.
        if (!inCommit)
            gate.Open();
        CliResult after =
            RunCli({"--only", "tables", "--user", "SYSDBA", "--password", "x", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(after.out, left);
        QCOMPARE(SplitErr(after.err).steps, QStringList{"Table Fields: 2 in T s"});
        QCOMPARE(SplitErr(after.err).said, QStringList{left.isEmpty() ? "vorkat-cli: no findings; vorkat.sql is empty"
                                                                       : "vorkat-cli: 1 finding; the script is in vorkat.sql"});
        QCOMPARE(after.exitCode, left.isEmpty() ? 0 : 1);
        if (!left.isEmpty()) {
            CliResult repair = RunCli({"--repair", "--only", "tables", "--user", "SYSDBA", "--password", "x", "--verify",
                                       Name(oldDb), Name(newDb)},
                                      folder);
            QCOMPARE(SplitErr(repair.err).steps, (QStringList{"Table Fields: 2 in T s", "Verify Table Fields: 2 in T s"}));
            QCOMPARE(SplitErr(repair.err).said,
                     QStringList{"vorkat-cli: 1 finding; committed 1 fix to " + Name(oldDb) + "; verified: converged"});
            QCOMPARE(repair.out, QByteArray("TABLE\tT_ADDED\tnot exist\nconverged\n"));
        }
    }

    // The run blocks the exit signals in all its threads; gbak, which copies Old for a rehearsal,
    // starts without that, so that Ctrl+C ends it too.
    void gbakOfARehearsalStartsWithNoSignalBlocked()
    {
        std::unique_ptr<FbServer> server;
        if (const QString reason = StartServer(server); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        const QString folder = Folder("server_mask");
        const QString bin = Folder("server_mask_bin");
        const QString gbak = QStandardPaths::findExecutable("gbak");
        QVERIFY(!gbak.isEmpty());
        QFile wrapper(bin + "/gbak");
        QVERIFY(wrapper.open(QIODevice::WriteOnly));
        // Not a shell, which would clear the mask it was started with.
        wrapper.write(("#!/usr/bin/perl\nopen(my $status, '<', '/proc/self/status');\nopen(my $log, '>>', '" + bin +
                       "/mask.log');\nprint $log grep { /^SigBlk/ } <$status>;\nclose $log;\nexec { '" + gbak + "' } '" +
                       gbak + "', @ARGV;\n")
                          .toUtf8());
        wrapper.close();
        QVERIFY(wrapper.setPermissions(wrapper.permissions() | QFileDevice::ExeOwner));
        const QString oldName = ServerDb(*server, "mask_old.fdb", SampleSql("old"));
        const QString newName = ServerDb(*server, "mask_new.fdb", SampleSql("new"));

        CliResult rehearsal = RunCli({"--user", QString::fromStdString(FbServer::User()), "--password",
                                      QString::fromStdString(server->Password()), "--rehearse", "--quiet", oldName,
                                      newName},
                                     folder, Folder("server_mask_tmp"), bin);
        QCOMPARE(rehearsal.err, QByteArray());
        // Differences found, and the copy converged.
        QCOMPARE(rehearsal.exitCode, 1);
        QCOMPARE(ReadFile(bin + "/mask.log"), QByteArray("SigBlk:\t0000000000000000\nSigBlk:\t0000000000000000\n"));
    }

    // New is attached before the copy: unreachable, it ends the rehearsal with the error a plain
    // run gives, and gbak never runs.
    void rehearsalOverAServerChecksNewBeforeItCopiesOld()
    {
        std::unique_ptr<FbServer> server;
        if (const QString reason = StartServer(server); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        const QString folder = Folder("server_first");
        const QString tmp = Folder("server_first_tmp");
        const QString bin = Folder("server_first_bin");
        QVERIFY(MakeNotingGbak(bin));
        const QString oldName = ServerDb(*server, "first_old.fdb", SampleSql("old"));
        const QString newName = QString::fromStdString(server->Name(server->Folder() + "/missing.fdb"));
        const QStringList login{"--user", QString::fromStdString(FbServer::User()), "--password",
                                QString::fromStdString(server->Password())};

        CliResult plain = RunCli(login + QStringList{"--quiet", oldName, newName}, folder);
        QCOMPARE(plain.exitCode, 2);
        QVERIFY2(plain.err.startsWith("vorkat-cli: New Database: "), plain.err.constData());
        CliResult rehearsal = RunCli(login + QStringList{"--rehearse", "--quiet", oldName, newName}, folder, tmp, bin);
        QCOMPARE(rehearsal.exitCode, 2);
        QCOMPARE(rehearsal.err, plain.err);
        QCOMPARE(rehearsal.out, QByteArray());
        QVERIFY(!QFile::exists(bin + "/gbak.log"));
        QCOMPARE(QDir(tmp).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void summaryOnStandardErrorSaysWhatHappenedAndHowToApplyTheScript()
    {
        const QString folder = Folder("summary");
        TestDb newDb("summary_new", "CREATE GENERATOR GEN_A; CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(20));");
        TestDb oldDb("summary_old", "CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(10));");
        const QStringList pair{"--user", "SYSDBA", Name(oldDb), Name(newDb)};
        const QString counts = "vorkat-cli: 1 missing, 1 different, 0 only in Old, 0 not mended, 0 warnings; 2 statements";
        const QString bail =
            "vorkat-cli: the script is one transaction: SET BAIL ON stops it at the first error, and nothing is committed";
        CliResult script = RunCli(QStringList{"--complete"} + pair, folder);
        QCOMPARE(script.exitCode, 1);
        const ErrLines err = SplitErr(script.err);
        QCOMPARE(err.steps, (QStringList{"Reading Old Database: T s", "Reading New Database: T s", "Comparing: T s",
                                         "Checking data: T s", "Writing script: T s"}));
        QCOMPARE(err.said, (QStringList{counts, "vorkat-cli: 2 statements written to vorkat.sql",
                                        "vorkat-cli: apply them with: isql-fb -ch UTF8 -user SYSDBA -i vorkat.sql " +
                                            Name(oldDb),
                                        bail}));
        CliResult piped = RunCli(QStringList{"--complete", "--script", "-"} + pair, folder);
        QCOMPARE(piped.exitCode, 1);
        QCOMPARE(SplitErr(piped.err).said,
                 (QStringList{counts, "vorkat-cli: 2 statements written to standard output",
                              "vorkat-cli: saved as FILE, apply them with: isql-fb -ch UTF8 -user SYSDBA -i FILE " +
                                  Name(oldDb),
                              bail}));

        // The command it names applies the script, and then nothing is left.
        QProcess isql;
        isql.setWorkingDirectory(folder);
        isql.start(ISQL_PATH, {"-ch", "UTF8", "-user", "SYSDBA", "-i", "vorkat.sql", Name(oldDb)});
        QVERIFY(isql.waitForFinished(60000));
        QCOMPARE(isql.exitCode(), 0);
        CliResult agree = RunCli(QStringList{"--complete"} + pair, folder);
        QCOMPARE(agree.exitCode, 0);
        QCOMPARE(SplitErr(agree.err).said,
                 (QStringList{"vorkat-cli: 0 missing, 0 different, 0 only in Old, 0 not mended, 0 warnings; 0 statements",
                              "vorkat-cli: nothing to apply: vorkat.sql is empty"}));

        TestDb repairOld("summary_repair_old", "CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(10));");
        CliResult repair = RunCli({"--complete", "--repair", "--verify", Name(repairOld), Name(newDb)}, folder);
        QCOMPARE(repair.exitCode, 1);
        const ErrLines repaired = SplitErr(repair.err);
        QCOMPARE(repaired.steps,
                 (QStringList{"Reading Old Database: T s", "Reading New Database: T s", "Comparing: T s",
                              "Checking data: T s", "Repairing: 2 in T s", "Verify Reading Old Database: T s",
                              "Verify Reading New Database: T s", "Verify Comparing: T s", "Verify Checking data: T s",
                              "Verify Writing script: T s"}));
        QCOMPARE(repaired.said, (QStringList{counts, "vorkat-cli: committed 2 statements in one transaction to " +
                                                         Name(repairOld) + "; verified: converged"}));
        CliResult nothing = RunCli({"--complete", "--repair", Name(repairOld), Name(newDb)}, folder);
        QCOMPARE(nothing.exitCode, 0);
        QCOMPARE(SplitErr(nothing.err).said.last(), QString("vorkat-cli: nothing to repair"));

        // The eight checks: their rows and script as ever, a line of what they did after them.
        TestDb sampleOld("summary_sample_old", SampleSql("old"));
        TestDb sampleNew("summary_sample_new", SampleSql("new"));
        CliResult checks = RunCli({Name(sampleOld), Name(sampleNew)}, folder);
        QCOMPARE(checks.out, SampleRows);
        QCOMPARE(SplitErr(checks.err).said, QStringList{"vorkat-cli: 11 findings; the script is in vorkat.sql"});
        CliResult checksPiped = RunCli({"--script", "-", Name(sampleOld), Name(sampleNew)}, folder);
        QVERIFY(SplitErr(checksPiped.err).said == QStringList{"vorkat-cli: 11 findings; the script went to standard output"});
        CliResult rehearsal = RunCli({"--rehearse", Name(sampleOld), Name(sampleNew)}, folder, Folder("summary_tmp"));
        QCOMPARE(rehearsal.out, SampleRows + "converged\n");
        QCOMPARE(SplitErr(rehearsal.err).said,
                 QStringList{"vorkat-cli: 11 findings; committed 11 fixes (each on its own) to a copy of " +
                             Name(sampleOld) + "; verified: converged; the copy is removed, Old unchanged"});
        CliResult checksRepair = RunCli({"--repair", "--verify", "--report", "r.json", Name(sampleOld), Name(sampleNew)}, folder);
        QCOMPARE(checksRepair.out, SampleRows + "converged\n");
        QCOMPARE(SplitErr(checksRepair.err).said,
                 QStringList{"vorkat-cli: 11 findings; committed 11 fixes (each on its own) to " + Name(sampleOld) +
                             "; verified: converged"});
        const QJsonObject json = JsonFile(folder + "/r.json");
        QCOMPARE(json.value("summary"), QJsonValue(QJsonObject{{"missing", 11}, {"different", 0}, {"findings", 11}}));
        QCOMPARE(json.value("repair"), QJsonValue(QJsonObject{{"state", "committed"}, {"statements", 11},
                                                              {"refusedAt", QJsonValue::Null},
                                                              {"message", QJsonValue::Null}}));
        QCOMPARE(json.value("findings").toArray().size(), 11);
        QCOMPARE(json.value("warnings"), QJsonValue(QJsonArray{}));
        CliResult quiet = RunCli({"--quiet", Name(sampleOld), Name(sampleNew)}, folder);
        QCOMPARE(quiet.exitCode, 0);
        QCOMPARE(quiet.err, QByteArray());
        CliResult none = RunCli({Name(sampleOld), Name(sampleNew)}, folder);
        QCOMPARE(SplitErr(none.err).said, QStringList{"vorkat-cli: no findings; vorkat.sql is empty"});
    }

    // A refused repair still writes the JSON report, which says where it stopped.
    void jsonReportOfARefusedRepairSaysWhereItStopped()
    {
        const QString folder = Folder("json_refused");
        TestDb oldDb("json_refused_old", "CREATE TABLE T (ID INTEGER, A INTEGER); INSERT INTO T VALUES (1, 100000000);", 3);
        TestDb newDb("json_refused_new", "CREATE TABLE T (ID INTEGER, A NUMERIC(9,2));", 3);
        CliResult forced =
            RunCli({"--complete", "--repair", "--force", "--quiet", "--report", "r.json", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(forced.exitCode, 2);
        const QJsonObject json = JsonFile(folder + "/r.json");
        const QString message = "refused at the data migration of FIELD T.A: arithmetic exception, numeric overflow, or "
                                "string truncation\r\nnumeric value is out of range; rolled back, Old unchanged";
        QCOMPARE(json.value("repair"), QJsonValue(QJsonObject{{"state", "refused"}, {"statements", 5},
                                                              {"refusedAt", "a data migration"}, {"message", message}}));
        QCOMPARE(json.value("warnings"),
                 QJsonValue(QJsonArray{
                     QJsonObject{{"code", "would-fail"}, {"severity", "error"}, {"type", "FIELD"}, {"name", "T.A"},
                                 {"message", "would fail: 1 row of T has A out of the range of NUMERIC(9, 2)"}},
                     QJsonObject{{"code", "data-migration"}, {"severity", "notice"}, {"type", "FIELD"}, {"name", "T.A"},
                                 {"message", "rebuilt by a data migration: its values are copied in committed steps "
                                             "before the one transaction, which puts the copy in its place"}}}));

        // The eight checks' refused fix too; the server's dialect 3 refusal points to the complete comparison.
        TestDb checksOld("json_refused_checks_old", "CREATE TABLE T (A INTEGER);", 3);
        TestDb checksNew("json_refused_checks_new", "CREATE TABLE T (A INTEGER); CREATE DOMAIN DT AS TIMESTAMP;", 3);
        CliResult refused = RunCli({"--repair", "--report", "c.json", Name(checksOld), Name(checksNew)}, folder);
        QCOMPARE(refused.exitCode, 2);
        const QString server = "Dynamic SQL Error\r\nSQL error code = -817\r\nMetadata update statement is not allowed "
                               "by the current database SQL dialect 3\r\nSQL warning code = 301\r\nDATE data type is now "
                               "called TIMESTAMP";
        QCOMPARE(refused.err, (QString("vorkat-cli: refused: Domain DT: ") + QString(server).replace("\r\n", "\n") +
                               "; the complete comparison (--complete) compares and repairs this database\n"
                               "vorkat-cli: the refused fix was rolled back; no fix before it was committed\n")
                                  .toUtf8());
        QCOMPARE(JsonFile(folder + "/c.json").value("repair"),
                 QJsonValue(QJsonObject{{"state", "refused"}, {"statements", 0}, {"refusedAt", "Domain DT"},
                                        {"message", server}}));
        // As the hint says.
        QCOMPARE(RunCli({"--complete", "--repair", "--quiet", Name(checksOld), Name(checksNew)}, folder).exitCode, 1);
        QCOMPARE(RunCli({"--complete", "--quiet", Name(checksOld), Name(checksNew)}, folder).exitCode, 0);
    }

    void outputsThatCannotBeWrittenAreRefusedBeforeAnythingIsAttached()
    {
        const QString folder = Folder("early");
        QDir(folder).mkpath("taken.json");
        // No database of these names exists: the outputs are refused before any attach.
        const std::pair<QStringList, QByteArray> cases[] = {
            {{"--script", "missing/x.sql", "a.fdb", "b.fdb"},
             "Cannot write the script to missing/x.sql: the folder missing does not exist"},
            {{"--report", "taken.json", "a.fdb", "b.fdb"}, "Cannot write the report to taken.json: it is a folder"},
            {{"--script", ".", "a.fdb", "b.fdb"}, "Cannot write the script to .: it is a folder"},
            {{"--complete", "--repair", "--report", "missing/r.csv", "a.fdb", "b.fdb"},
             "Cannot write the report to missing/r.csv: the folder missing does not exist"},
        };
        for (const auto& [arguments, message] : cases) {
            CliResult run = RunCli(arguments, folder);
            QCOMPARE(run.exitCode, 2);
            QCOMPARE(run.err, "vorkat-cli: " + message + "\n");
            QCOMPARE(run.out, QByteArray());
        }
        // A repair with a report that cannot be written never starts.
        TestDb oldDb("early_old", "CREATE SEQUENCE GEN_A;", 3);
        TestDb newDb("early_new", "CREATE SEQUENCE GEN_A; CREATE SEQUENCE GEN_B;", 3);
        CliResult repair = RunCli({"--complete", "--repair", "--report", "missing/r.csv", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(repair.exitCode, 2);
        QCOMPARE(RunCli({"--complete", "--quiet", Name(oldDb), Name(newDb)}, folder).exitCode, 1);
    }

    void readOnlyOutputsAreRefusedBeforeAnythingIsAttached()
    {
        if (::geteuid() == 0)
            QSKIP("root may write to any file, so no file is read-only for this run");
        const QString folder = Folder("early_read_only");
        QFile file(folder + "/kept.sql");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
        CliResult run = RunCli({"--script", "kept.sql", "a.fdb", "b.fdb"}, folder);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.err, QByteArray("vorkat-cli: Cannot write the script to kept.sql: the file is read-only\n"));
        QDir(folder).mkpath("locked");
        QVERIFY(QFile::setPermissions(folder + "/locked", QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        CliResult locked = RunCli({"--script", "locked/x.sql", "a.fdb", "b.fdb"}, folder);
        QCOMPARE(locked.err, QByteArray("vorkat-cli: Cannot write the script to locked/x.sql: the folder locked is not writable\n"));
        QFile::setPermissions(folder + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void mistypedKindsAndOptionsGetTheNearestName()
    {
        const QString folder = Folder("did_you_mean");
        const std::pair<QStringList, QByteArray> usages[] = {
            {{"--only", "tabels", "a", "b"}, "unknown kind 'tabels' in --only (did you mean 'tables'?)"},
            {{"--only", "domains,trigers", "a", "b"}, "unknown kind 'trigers' in --only (did you mean 'triggers'?)"},
            {{"--complete", "--only", "viws", "a", "b"},
             "unknown kind 'viws' in --only with --complete (did you mean 'views'?)"},
            {{"--repiar", "a", "b"}, "unknown option --repiar (did you mean --repair?)"},
            {{"--ask-pasword", "a", "b"}, "unknown option --ask-pasword (did you mean --ask-password?)"},
            {{"--report=x.csv", "--scrip", "s.sql", "a", "b"}, "unknown option --scrip (did you mean --script?)"},
            // Nothing near enough: the list, or the option alone.
            {{"--only", "procs", "a", "b"},
             "unknown kind 'procs' in --only; the kinds are domains, exceptions, generators, udf, tables, indices, "
             "procedures, triggers"},
            {{"--fast", "a", "b"}, "unknown option --fast"},
        };
        for (const auto& [arguments, message] : usages) {
            CliResult usage = RunCli(arguments, folder);
            QCOMPARE(usage.exitCode, 2);
            QCOMPARE(usage.err, "vorkat-cli: " + message + "\nTry 'vorkat-cli --help'.\n");
        }
    }

    void rowsOnATerminalAreAlignedAndColoured()
    {
        if (QStandardPaths::findExecutable("script").isEmpty())
            QSKIP("script(1) is not installed, so no terminal can be made");
        const QString folder = Folder("terminal_rows");
        TestDb oldDb("terminal_rows_old",
                     "CREATE TABLE T (A INTEGER, B VARCHAR(10)); CREATE TABLE GONE (X INTEGER); INSERT INTO GONE VALUES (1);");
        TestDb newDb("terminal_rows_new", "CREATE SEQUENCE GEN_A; CREATE TABLE T (A INTEGER, B VARCHAR(20));");
        const QStringList arguments{"--complete", "--drop", Name(oldDb), Name(newDb)};
        TerminalResult coloured = RunOnTerminal(arguments, folder, "2>err.txt");
        QCOMPARE(coloured.exitCode, 1);
        QCOMPARE(ScreenLines(coloured.screen),
                 (QStringList{"GENERATOR          GEN_A                     \x1b[32mnot exist\x1b[0m",
                              "FIELD              T.B                       \x1b[33mdifferent: type VARCHAR(10) CHARACTER "
                              "SET NONE -> VARCHAR(20) CHARACTER SET NONE\x1b[0m",
                              "TABLE              GONE                      \x1b[31mwill drop (1 row)\x1b[0m"}));
        TerminalResult plain = RunOnTerminal(arguments, folder, "2>err.txt", {}, {}, "1");
        QCOMPARE(ScreenLines(plain.screen),
                 (QStringList{"GENERATOR          GEN_A                     not exist",
                              "FIELD              T.B                       different: type VARCHAR(10) CHARACTER SET "
                              "NONE -> VARCHAR(20) CHARACTER SET NONE",
                              "TABLE              GONE                      will drop (1 row)"}));
        // Off the terminal the bytes are the tab-separated rows.
        QCOMPARE(RunCli(arguments, folder).out,
                 QByteArray("GENERATOR\tGEN_A\tnot exist\nFIELD\tT.B\tdifferent: type VARCHAR(10) CHARACTER SET NONE -> "
                            "VARCHAR(20) CHARACTER SET NONE\nTABLE\tGONE\twill drop (1 row)\n"));

        // The eight checks' types are shorter; a name longer than the column widens it from there on.
        TestDb sampleOld("terminal_rows_sample_old", SampleSql("old"));
        TestDb sampleNew("terminal_rows_sample_new", SampleSql("new") + " CREATE GENERATOR GEN_WITH_A_NAME_OF_THIRTY_ONE;");
        TerminalResult checks = RunOnTerminal({Name(sampleOld), Name(sampleNew)}, folder, "2>err.txt", {}, {}, "1");
        QCOMPARE(checks.exitCode, 1);
        QCOMPARE(ScreenLines(checks.screen),
                 (QStringList{"DOMAIN        D_CODE                    not exist",
                              "EXCEPTION     E_BAD_ORDER               not exist",
                              "GENERATOR     GEN_ORDER                 not exist",
                              "GENERATOR     GEN_INVOICE               not exist",
                              "GENERATOR     GEN_WITH_A_NAME_OF_THIRTY_ONE  not exist",
                              "FIELD         CUSTOMER-CITY                  not exist",
                              "FIELD         ORDERS-CODE                    not exist",
                              "TABLE         INVOICE                        not exist",
                              "INDEX         IX_CUSTOMER_CITY               not exist",
                              "CONSTRAINT    FK_ORDER_CUST                  not exist",
                              "STORED PROC.  ORDER_COUNT                    not exist",
                              "TRIGGER.      ORDERS_BI                      not exist"}));
    }

    void progressOnATerminalIsRedrawnInPlaceWithTheSeconds()
    {
        if (QStandardPaths::findExecutable("script").isEmpty())
            QSKIP("script(1) is not installed, so no terminal can be made");
        const QString folder = Folder("terminal_progress");
        TestDb oldDb("terminal_progress_old", SampleSql("old"));
        TestDb newDb("terminal_progress_new", SampleSql("new"));
        TerminalResult run = RunOnTerminal({"--complete", Name(oldDb), Name(newDb)}, folder, ">out.txt");
        QCOMPARE(run.exitCode, 1);
        // Each redraw is the step, a count where it has one, and its seconds.
        QStringList steps;
        static const QRegularExpression drawn("^([A-Za-z ]+?)(?: \\d+/\\d+)? \\d+ s$");
        for (const QString& text : Redraws(run.screen)) {
            const QRegularExpressionMatch match = drawn.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            if (steps.isEmpty() || steps.last() != match.captured(1))
                steps << match.captured(1);
        }
        QCOMPARE(steps, (QStringList{"Reading Old Database", "Reading New Database", "Comparing", "Checking data",
                                     "Writing script"}));
        // Wiped before the summary, which starts at the left edge.
        const QStringList lines = ScreenLines(run.screen);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(1), QString("vorkat-cli: 12 statements written to vorkat.sql"));
    }

    void completeRepairAsksOnATerminalAndOnlyYesGoesAhead()
    {
        if (QStandardPaths::findExecutable("script").isEmpty())
            QSKIP("script(1) is not installed, so no terminal can be made");
        const QString folder = Folder("confirm");
        TestDb oldDb("confirm_old",
                     "CREATE TABLE T (A INTEGER); CREATE TABLE GONE (X INTEGER); INSERT INTO GONE VALUES (1); "
                     "INSERT INTO GONE VALUES (2);");
        TestDb newDb("confirm_new", "CREATE SEQUENCE GEN_A; CREATE TABLE T (A INTEGER);");
        const QStringList repair{"--complete", "--drop", "--repair", "--report", "r.json", Name(oldDb), Name(newDb)};
        const QByteArray question = "? [y/N] ";
        const QStringList listed{"vorkat-cli: 1 missing, 0 different, 1 only in Old (1 dropped), 0 not mended, 1 warning; "
                                 "2 statements",
                                 "vorkat-cli: destructive: TABLE GONE: only in Old (drop, 2 rows)"};
        const QString apply = "Apply 2 statements to " + Name(oldDb) + "? [y/N] ";

        TerminalResult no = RunOnTerminal(repair, folder, ">out.txt", question, "n");
        QCOMPARE(no.exitCode, 1);
        QCOMPARE(ScreenLines(no.screen), (listed + QStringList{apply + "n", "vorkat-cli: not applied: Old unchanged"}));
        QCOMPARE(JsonFile(folder + "/r.json").value("repair"),
                 QJsonValue(QJsonObject{{"state", "declined"}, {"statements", 2}, {"refusedAt", QJsonValue::Null},
                                        {"message", QJsonValue::Null}}));
        // Anything but y or yes is a no.
        TerminalResult other = RunOnTerminal(repair, folder, ">out.txt", question, "sure");
        QCOMPARE(other.exitCode, 1);
        QCOMPARE(ScreenLines(other.screen).last(), QString("vorkat-cli: not applied: Old unchanged"));
        QCOMPARE(RunCli({"--complete", "--drop", "--quiet", Name(oldDb), Name(newDb)}, folder).exitCode, 1);

        TerminalResult yes = RunOnTerminal(repair + QStringList{"--verify"}, folder, ">out.txt", question, "y");
        QCOMPARE(yes.exitCode, 1);
        QCOMPARE(ScreenLines(yes.screen),
                 (listed + QStringList{apply + "y", listed.first(),
                                       "vorkat-cli: committed 2 statements in one transaction to " + Name(oldDb) +
                                           "; verified: converged"}));
        QCOMPARE(JsonFile(folder + "/r.json").value("repair")["state"], QJsonValue("committed"));
        QCOMPARE(RunCli({"--complete", "--drop", "--quiet", Name(oldDb), Name(newDb)}, folder).exitCode, 0);

        // --yes does not ask, and neither does a run whose standard input is no terminal.
        TestDb yesOld("confirm_yes_old", "CREATE TABLE T (A INTEGER);");
        TerminalResult given = RunOnTerminal({"--complete", "--repair", "--yes", Name(yesOld), Name(newDb)}, folder,
                                             ">out.txt");
        QCOMPARE(given.exitCode, 1);
        QCOMPARE(ScreenLines(given.screen),
                 (QStringList{"vorkat-cli: 1 missing, 0 different, 0 only in Old, 0 not mended, 0 warnings; 1 statement",
                              "vorkat-cli: committed 1 statement in one transaction to " + Name(yesOld)}));
    }

    // The watchdog cuts the statement held at the gate once the time is up, and the run says
    // so then, not seconds later; on a terminal the step's clock went on meanwhile.
    void timeoutEndsTheRunWhenItsSecondsAreUp()
    {
        std::unique_ptr<FbServer> server;
        if (const QString reason = StartServer(server); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        const QString folder = Folder("timeout");
        ServerGate gate(*server, "timeout_gate.fdb");
        TestDb oldDb("timeout_old", gate.OldSql(GateIn::Statement));
        TestDb newDb("timeout_new", GatedNewSql);
        const QStringList arguments{"--only", "tables", "--repair", "--timeout", "3", "--user", "SYSDBA", "--password",
                                    "x", Name(oldDb), Name(newDb)};
        QElapsedTimer timer;
        timer.start();
        CliResult run = RunCli(arguments, folder);
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.err, QByteArray("vorkat-cli: timed out after 3 s while checking Table Fields\n"));
        QVERIFY2(elapsed >= 3000 && elapsed < 5500, qPrintable(QString::number(elapsed)));

        if (QStandardPaths::findExecutable("script").isEmpty())
            QSKIP("script(1) is not installed, so no terminal can be made");
        // Seconds enough for two redraws of the held step, however long the attach takes.
        QStringList longer = arguments;
        longer[longer.indexOf("3")] = "6";
        TerminalResult shown = RunOnTerminal(longer, folder, ">out.txt");
        QCOMPARE(shown.exitCode, 2);
        const QStringList drawn = Redraws(shown.screen);
        QVERIFY2(drawn.contains("Table Fields 2/2 1 s") && drawn.contains("Table Fields 2/2 2 s"),
                 qPrintable(drawn.join('|')));
        QCOMPARE(ScreenLines(shown.screen), QStringList{"vorkat-cli: timed out after 6 s while checking Table Fields"});
        gate.Open();
    }

    // A server that falls silent takes no cancel, and its calls wait for the forced close and
    // the detach after it: the run still ends, with its message, once its seconds are up.
    void timeoutEndsARunWhoseServerFellSilentWhenItsSecondsAreUp()
    {
        std::unique_ptr<FbServer> server;
        if (const QString reason = StartServer(server); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        const QString folder = Folder("timeout_silent");
        // Forty tables, New's one column wider: the checks have work on each.
        std::string oldSql, newSql;
        for (int i = 0; i < 40; ++i) {
            const std::string table = "CREATE TABLE T" + std::to_string(i) + " (ID INTEGER NOT NULL PRIMARY KEY, A VARCHAR(10)";
            oldSql += table + ");\n";
            newSql += table + ", B INTEGER);\n";
        }
        ServerDb(*server, "silent_old.fdb", oldSql);
        ServerDb(*server, "silent_new.fdb", newSql);
        // 100 ms a round trip: both sides are attached within a second or two, the checks take longer.
        auto proxy = server->StartProxy(50);
        QProcess cli;
        cli.setWorkingDirectory(folder);
        cli.setProcessEnvironment(CliEnvironment({}, {}));
        QElapsedTimer timer;
        timer.start();
        cli.start(VORKAT_CLI_PATH,
                  {"--timeout", "5", "--user", QString::fromStdString(FbServer::User()), "--password",
                   QString::fromStdString(server->Password()),
                   QString::fromStdString(proxy->Name(server->Folder() + "/silent_old.fdb")),
                   QString::fromStdString(proxy->Name(server->Folder() + "/silent_new.fdb"))});
        QVERIFY(cli.waitForStarted());
        QThread::msleep(3000);
        QVERIFY(::kill(proxy->Pid(), SIGSTOP) == 0);
        QVERIFY(cli.waitForFinished(30000));
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(cli.exitCode(), 2);
        const QStringList said = SplitErr(cli.readAllStandardError()).said;
        QCOMPARE(said.size(), 1);
        QVERIFY2(QRegularExpression("^vorkat-cli: timed out after 5 s while checking [A-Za-z ]+$").match(said.first()).hasMatch(),
                 qPrintable(said.first()));
        QVERIFY2(elapsed >= 5000 && elapsed < 7500, qPrintable(QString::number(elapsed)));
    }

    // One server, one user: the password is typed once for both sides, the verification's fresh
    // connections and gbak, which gets it by its environment, never its command line.
    void askedPasswordServesBothSidesOfAServerAndGbak()
    {
        if (QStandardPaths::findExecutable("script").isEmpty())
            QSKIP("script(1) is not installed, so no terminal can be made for the prompt");
        std::unique_ptr<FbServer> server;
        if (const QString reason = StartServer(server); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        const QString folder = Folder("server_ask");
        const QString tmp = Folder("server_ask_tmp");
        const QString bin = Folder("server_ask_bin");
        QVERIFY(MakeNotingGbak(bin));
        const QString oldName = ServerDb(*server, "ask_old.fdb", SampleSql("old"));
        const QString newName = ServerDb(*server, "ask_new.fdb", SampleSql("new"));
        const QString password = QString::fromStdString(server->Password());
        const QByteArray prompt = ("Password for SYSDBA on " + oldName + ": ").toUtf8();

        TerminalResult script =
            RunCliOnTerminal({"--ask-password", oldName, newName}, folder, folder + "/rows.txt", password, tmp, bin);
        QCOMPARE(script.exitCode, 1);
        QCOMPARE(script.prompts, 1);
        QVERIFY2(script.screen.startsWith(prompt), script.screen.constData());
        QCOMPARE(ReadFile(folder + "/rows.txt"), SampleRows);

        TerminalResult rehearsal = RunCliOnTerminal({"--rehearse", "--ask-password", oldName, newName}, folder,
                                                    folder + "/rehearsal.txt", password, tmp, bin);
        QCOMPARE(rehearsal.exitCode, 1);
        QCOMPARE(rehearsal.prompts, 1);
        QVERIFY2(rehearsal.screen.startsWith(prompt), rehearsal.screen.constData());
        QCOMPARE(ReadFile(folder + "/rehearsal.txt"), SampleRows + "converged\n");
        const QByteArray gbakRuns = ReadFile(bin + "/gbak.log");
        QCOMPARE(gbakRuns.count('\n'), 2);
        QVERIFY(gbakRuns.startsWith("-b -g " + oldName.toUtf8() + " "));
        QVERIFY(!gbakRuns.contains(password.toUtf8()));
        QCOMPARE(QDir(tmp).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        // The rehearsal repaired only its copy.
        CliResult after =
            RunCli({"--user", QString::fromStdString(FbServer::User()), "--password", password, oldName, newName}, folder);
        QCOMPARE(after.exitCode, 1);
        QCOMPARE(after.out, SampleRows);
    }

    // A database as files: exported, used as New by an empty Old, which then converges and
    // exports to the same bytes; an edit of one file is one difference; a refused statement
    // names its file and line and changes nothing.
    void exportedFolderServesAsNewAndTheRoundTripGivesTheSameFiles()
    {
        const QString folder = Folder("export");
        const std::string sql = "CREATE DOMAIN D_NAME AS VARCHAR(20) NOT NULL; "
                                "CREATE TABLE CUSTOMER (ID INTEGER NOT NULL PRIMARY KEY, NAME D_NAME); "
                                "CREATE EXCEPTION E_GONE 'the customer is gone'; "
                                "CREATE VIEW V_NAMES AS SELECT NAME FROM CUSTOMER; "
                                "COMMENT ON TABLE CUSTOMER IS 'who buys';";
        TestDb source("export_source", sql, 3);
        TestDb emptyOld("export_old", "", 3);
        CliResult exported = RunCli({"--export", "files", Name(source)}, folder);
        QCOMPARE(exported.exitCode, 0);
        QVERIFY2(exported.err.endsWith(" written to files\n"), exported.err.constData());
        const QString files = folder + "/files";
        QCOMPARE(ReadFile(files + "/exceptions/E_GONE.sql"),
                 QByteArray("/* EXCEPTION E_GONE */\n\nCREATE EXCEPTION E_GONE 'the customer is gone';\n"));

        CliResult repaired = RunCli({"--complete", "--repair", "--verify", "--yes", Name(emptyOld), files}, folder);
        QCOMPARE(repaired.exitCode, 1);
        QVERIFY2(repaired.out.endsWith("converged\n"), repaired.out.constData());
        QCOMPARE(RunCli({"--export", "again", Name(emptyOld)}, folder).exitCode, 0);
        for (const QString& name : QDir(files).entryList(QDir::Files | QDir::Hidden))
            QCOMPARE(ReadFile(folder + "/again/" + name), ReadFile(files + "/" + name));
        for (const QString& kind : QDir(files).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QString& name : QDir(files + "/" + kind).entryList(QDir::Files))
                QCOMPARE(ReadFile(folder + "/again/" + kind + "/" + name), ReadFile(files + "/" + kind + "/" + name));

        // One file edited: one difference, named against the folder.
        QFile edit(files + "/exceptions/E_GONE.sql");
        QVERIFY(edit.open(QIODevice::WriteOnly | QIODevice::Truncate));
        edit.write("CREATE EXCEPTION E_GONE 'the customer has left';\n");
        edit.close();
        CliResult edited = RunCli({"--complete", "--script", "-", Name(emptyOld), files}, folder);
        QCOMPARE(edited.exitCode, 1);
        QVERIFY2(edited.err.contains("EXCEPTION\tE_GONE\tdifferent: message the customer is gone -> the customer "
                                     "has left\n"),
                 edited.err.constData());
        QVERIFY2(edited.out.contains("\n   New: " + files.toUtf8() + " ("), edited.out.constData());

        // A statement the server refuses names its file and line; Old is not touched.
        QFile broken(files + "/exceptions/E_GONE.sql");
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("\nCREATE EXCEPTION E_GONE;\n");
        broken.close();
        const QByteArray before = ReadFile(Name(emptyOld));
        CliResult refused = RunCli({"--complete", "--repair", "--yes", Name(emptyOld), files}, folder);
        QCOMPARE(refused.exitCode, 2);
        QVERIFY2(refused.err.contains("vorkat-cli: exceptions/E_GONE.sql:2: "), refused.err.constData());
        QVERIFY(ReadFile(Name(emptyOld)) == before);

        // A folder that holds something else is never replaced.
        QDir(folder).mkpath("mine");
        QFile mine(folder + "/mine/notes.txt");
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write("keep\n");
        mine.close();
        CliResult refusedDir = RunCli({"--export", "mine", Name(source)}, folder);
        QCOMPARE(refusedDir.exitCode, 2);
        QCOMPARE(ReadFile(folder + "/mine/notes.txt"), QByteArray("keep\n"));
    }

    // An isql script serves as New: SET TERM, comments and COMMIT as isql takes them.
    void plainSqlScriptServesAsNewAndConverges()
    {
        const QString folder = Folder("script_new");
        QFile script(folder + "/schema.sql");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("/* the reference */\nCREATE TABLE T (A INTEGER NOT NULL, B VARCHAR(10));\nCOMMIT;\n"
                     "SET TERM ^ ;\nCREATE PROCEDURE P RETURNS (N INTEGER) AS\nBEGIN\n  N = 1; -- one; two\n"
                     "  SUSPEND;\nEND^\nSET TERM ; ^\nCOMMIT;\n");
        script.close();
        TestDb oldDb("script_new_old", "CREATE TABLE T (A INTEGER NOT NULL);", 3);
        CliResult repaired =
            RunCli({"--complete", "--repair", "--verify", "--yes", Name(oldDb), folder + "/schema.sql"}, folder);
        QCOMPARE(repaired.exitCode, 1);
        QCOMPARE(repaired.out, QByteArray("FIELD\tT.B\tnot exist\nPROCEDURE\tP\tnot exist\nconverged\n"));
        QCOMPARE(RunCli({"--complete", "--quiet", Name(oldDb), folder + "/schema.sql"}, folder).exitCode, 0);
        // The eight checks do not build files.
        CliResult checks = RunCli({Name(oldDb), folder + "/schema.sql"}, folder);
        QCOMPARE(checks.exitCode, 2);
    }

    // --include and --exclude narrow the comparison; a statement that needs what was left out
    // is warned of.
    void includeAndExcludeNarrowTheComparisonAndNameWhatAStatementNeeds()
    {
        const QString folder = Folder("filters");
        TestDb oldDb("filters_old", "CREATE TABLE ORDERS (ID INTEGER);", 3);
        TestDb newDb("filters_new", "CREATE DOMAIN D_QTY AS INTEGER CHECK (VALUE > 0); "
                                    "CREATE TABLE ORDERS (ID INTEGER, QTY D_QTY); CREATE TABLE AUDIT_LOG (A INTEGER); "
                                    "CREATE TABLE AUDIT_USERS (U INTEGER); CREATE SEQUENCE G_ORDERS;",
                     3);
        CliResult all = RunCli({"--complete", "--quiet", "--script", "-", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(all.exitCode, 1);
        CliResult noAudit =
            RunCli({"--complete", "--exclude", "audit_*", "--exclude", "generators:*", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(noAudit.exitCode, 1);
        QCOMPARE(noAudit.out, QByteArray("DOMAIN\tD_QTY\tnot exist\nFIELD\tORDERS.QTY\tnot exist\n"));
        CliResult onlyOrders = RunCli({"--complete", "--include", "tables:ORDERS", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(onlyOrders.exitCode, 1);
        QCOMPARE(onlyOrders.out, QByteArray("FIELD\tORDERS.QTY\tnot exist\n"));
        QVERIFY2(ReadFile(folder + "/vorkat.sql")
                     .contains("\n/* Warning: uses DOMAIN D_QTY, which the filter leaves out */\n/* FIELD ORDERS.QTY */\n"
                               "ALTER TABLE ORDERS ADD QTY D_QTY;\n"),
                 ReadFile(folder + "/vorkat.sql").constData());
        QVERIFY2(onlyOrders.err.contains(
                     "\nvorkat-cli: 1 missing, 0 different, 0 only in Old, 0 not mended, 1 warning; 1 statement\n"),
                 onlyOrders.err.constData());
        // The filter belongs to the complete comparison, and a kind's word must be known.
        QCOMPARE(RunCli({"--exclude", "X", Name(oldDb), Name(newDb)}, folder).exitCode, 2);
        CliResult unknown = RunCli({"--complete", "--exclude", "tabels:X", Name(oldDb), Name(newDb)}, folder);
        QCOMPARE(unknown.exitCode, 2);
        QVERIFY2(unknown.err.startsWith("vorkat-cli: unknown kind 'tabels' in the pattern tabels:X"),
                 unknown.err.constData());
    }
};

QTEST_MAIN(CliTest)
#include "CliTest.moc"
