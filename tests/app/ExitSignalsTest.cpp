// SIGTERM, SIGINT and SIGHUP sent to the window as a process of its own, once the Firebird client
// has attached and while a dialog waits for the user, or while a complete repair commits. The
// same binary runs as that window, started as main.cpp starts it, with its folder, its names and
// a press on Run of its own.
#include "app/ConfirmRepair.h"
#include "app/ExitSignals.h"
#include "app/MainWindow.h"
#include "app/ReportForm.h"
#include "data/DM.h"
#include "tests/support/CommitGate.h"
#include "tests/support/FbServer.h"
#include "tests/support/TestDb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view WindowArgument = "--window";

// In the window's process: tells the test each dialog that opens, and whether the Firebird
// client's handler has replaced the default one for SIGTERM by then.
class DialogReporter : public QObject {
public:
    DialogReporter(TVorkatMainForm& form, const QString& scenario) : form_(form), scenario_(scenario) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() != QEvent::Show || !dialog || dialog == &form_ || !dialog->isWindow())
            return false;
        struct sigaction current {};
        sigaction(SIGTERM, nullptr, &current);
        std::printf("shown %s %s\n", dialog->metaObject()->className(),
                    current.sa_handler == SIG_DFL ? "default" : "replaced");
        std::fflush(stdout);
        // A complete repair is confirmed before it changes Old.
        if (auto* confirm = qobject_cast<TConfirmRepair*>(dialog))
            QTimer::singleShot(0, confirm->ApplyButton, &QPushButton::click);
        // Exit while the report of a complete repair is open asks whether to cancel it.
        if (scenario_ == "question" && dialog == form_.Rep)
            QTimer::singleShot(0, form_.ExitBtn, &QPushButton::click);
        return false;
    }

private:
    TVorkatMainForm& form_;
    QString scenario_;
};

// The window's own lines on standard error, without those of Qt's offscreen platform.
QByteArrayList OwnLines(const QByteArray& err)
{
    QByteArrayList own;
    for (const QByteArray& line : err.split('\n'))
        if (line.startsWith("vorkat: "))
            own.append(line);
    return own;
}

// argv: program, --window, scenario, folder, Old, New.
int WindowMain(int argc, char** argv)
{
    BlockExitSignals();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vorkat");
    const QString scenario = argv[2];
    const QString folder = argv[3];
    TVorkatMainForm form;
    ExitSignals exitSignals(form);
    form.ProgramDir = folder;
    form.FormStorage1.IniFileName = folder + "/vorkat.ini";
    form.Rep->ProgramDir = folder;
    form.Rep->OpenFile = [](const QString&) { return true; };
    DialogReporter reporter(form, scenario);
    application.installEventFilter(&reporter);
    form.show();
    QTimer::singleShot(0, &form, [&] {
        form.OldDBName->SetFileName(QString::fromLocal8Bit(argv[4]));
        form.NewDBName->SetFileName(QString::fromLocal8Bit(argv[5]));
        form.CompleteBox->setChecked(scenario == "report" || scenario == "question" || scenario == "commit");
        form.RepairBox->setChecked(scenario == "question" || scenario == "commit");
        // A repair with no report: the run goes from Run to the commit with only the confirmation.
        form.ReportBox->setChecked(scenario != "commit");
        // Old is attached first, then the login window asks for New.
        form.DM->NewDB.LoginPromptOn = scenario == "login";
        form.RunBtn->click();
    });
    return application.exec();
}

}

class ExitSignalsTest : public QObject {
    Q_OBJECT

private slots:
    void signalClosesTheWindowAsExitDoesAndSavesTheSettings_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("error box after a failed attach, SIGTERM") << "error" << SIGTERM << "TErrorBox";
        QTest::newRow("login window after an attach, SIGINT") << "login" << SIGINT << "TLoginDialog";
        QTest::newRow("report of a complete comparison, SIGTERM") << "report" << SIGTERM << "TRep";
        QTest::newRow("question during a complete repair, SIGINT") << "question" << SIGINT << "QMessageBox";
        QTest::newRow("report of a complete comparison, SIGHUP") << "report" << SIGHUP << "TRep";
        QTest::newRow("login window after an attach, SIGHUP") << "login" << SIGHUP << "TLoginDialog";
    }

    void signalClosesTheWindowAsExitDoesAndSavesTheSettings()
    {
        QFETCH(QString, scenario);
        QFETCH(int, number);
        QFETCH(QString, dialog);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const std::string name = "signal_" + scenario.toStdString();
        TestDb oldDb(name + "_old", "CREATE TABLE T_KEPT (ID INTEGER);");
        TestDb newDb(name + "_new", "CREATE TABLE T_KEPT (ID INTEGER);\nCREATE TABLE T_ADDED (ID INTEGER);");
        const QString oldName =
            scenario == "error" ? folder.path() + "/missing.gdb" : QString::fromStdString(oldDb.Path());

        QProcess window;
        window.setProgram(QCoreApplication::applicationFilePath());
        window.setArguments({QString::fromLatin1(WindowArgument.data(), WindowArgument.size()), scenario,
                             folder.path(), oldName, QString::fromStdString(newDb.Path())});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", folder.path());
        window.setProcessEnvironment(environment);
        window.setWorkingDirectory(folder.path());
        window.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Started by a shell in the background, the test would hand an ignored SIGINT down.
        window.setChildProcessModifier([] {
            for (int signal : {SIGINT, SIGTERM, SIGHUP})
                std::signal(signal, SIG_DFL);
        });
        window.start();
        QVERIFY(window.waitForStarted());

        const QByteArray expected = "shown " + dialog.toLatin1() + " ";
        QByteArray line;
        QElapsedTimer waited;
        waited.start();
        while (!line.startsWith(expected) && waited.elapsed() < 60000) {
            if (!window.canReadLine() && !window.waitForReadyRead(1000)) {
                QVERIFY2(window.state() == QProcess::Running, "the window ended before the dialog opened");
                continue;
            }
            while (window.canReadLine() && !line.startsWith(expected))
                line = window.readLine().trimmed();
        }
        QVERIFY2(line.startsWith(expected), line.constData());
        // The client library has put its handler in place: the case that used to be ignored.
        QCOMPARE(line, expected + "replaced");

        QVERIFY(::kill(window.processId(), number) == 0);
        QVERIFY2(window.waitForFinished(5000), "the window is still open");
        QCOMPARE(window.exitStatus(), QProcess::NormalExit);
        QCOMPARE(window.exitCode(), 0);

        QFile ini(folder.path() + "/vorkat.ini");
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray settings = ini.readAll();
        QVERIFY2(settings.contains("[TVorkatMainForm]"), settings.constData());
        // Saved by closing, as Exit saves them, and not by the destructor ("Visible=1").
        QVERIFY2(settings.contains("Visible=0"), settings.constData());
        QVERIFY2(settings.contains("OldDBName_FileName=" + oldName.toLocal8Bit()), settings.constData());
    }

    // The signal waits for the end of the repair's commit, which a trigger of Old holds at a gate
    // on a server of the test's own: a line says so at once, the status label too, and once the
    // commit has ended another says that the signal took effect. The window then closes as
    // Exit does, and the repair is kept.
    void signalDuringTheCommitOfACompleteRepairTakesEffectAfterIt_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void signalDuringTheCommitOfACompleteRepairTakesEffectAfterIt()
    {
        QFETCH(int, number);
        std::unique_ptr<FbServer> server;
        try {
            server = std::make_unique<FbServer>();
        } catch (const ServerUnavailable& reason) {
            QSKIP(qPrintable(QString("no Firebird server can start here: ") + reason.what()));
        }
        ServerGate gate(*server, "gate.fdb");
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkdir("runtime"));
        TestDb oldDb("signal_commit_old", gate.OldSql(GateIn::Commit));
        TestDb newDb("signal_commit_new", GatedNewSql);

        QProcess window;
        window.setProgram(QCoreApplication::applicationFilePath());
        window.setArguments({QString::fromLatin1(WindowArgument.data(), WindowArgument.size()), "commit",
                             folder.path(), QString::fromStdString(oldDb.Path()), QString::fromStdString(newDb.Path())});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", folder.path());
        // Else Qt says on standard error that it has none.
        environment.insert("XDG_RUNTIME_DIR", folder.path() + "/runtime");
        window.setProcessEnvironment(environment);
        window.setWorkingDirectory(folder.path());
        window.setReadChannel(QProcess::StandardError);
        window.setChildProcessModifier([] {
            for (int signal : {SIGINT, SIGTERM, SIGHUP})
                std::signal(signal, SIG_DFL);
        });
        window.start();
        QVERIFY(window.waitForStarted());

        QElapsedTimer waited;
        waited.start();
        while (gate.Entered() == 0 && window.state() == QProcess::Running && waited.elapsed() < 60000)
            window.waitForFinished(50);
        QVERIFY2(window.state() == QProcess::Running, window.readAllStandardError().constData());
        QCOMPARE(gate.Entered(), std::int64_t{1});

        QVERIFY(::kill(window.processId(), number) == 0);
        const QByteArray name = SignalName(number).c_str();
        const QByteArray held = "vorkat: " + name + " came during the commit; the commit runs to its end first";
        QByteArray shown;
        while (!OwnLines(shown).contains(held) && window.state() == QProcess::Running && waited.elapsed() < 120000) {
            window.waitForReadyRead(1000);
            shown += window.readAllStandardError();
        }
        QCOMPARE(OwnLines(shown), QByteArrayList{held});
        gate.Open();
        QVERIFY2(window.waitForFinished(60000), "the window is still open");
        shown += window.readAllStandardError();
        QCOMPARE(OwnLines(shown),
                 (QByteArrayList{held, "vorkat: " + name + " came during the commit; it took effect after the commit ended"}));
        QCOMPARE(window.exitStatus(), QProcess::NormalExit);
        QCOMPARE(window.exitCode(), 0);
        // No dialog opened but the confirmation, and the window closed as Exit closes it.
        QCOMPARE(window.readAllStandardOutput(), QByteArray("shown TConfirmRepair replaced\n"));
        QFile ini(folder.path() + "/vorkat.ini");
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY2(ini.readAll().contains("Visible=0"), "the settings were not saved as Exit saves them");
        // The repair was committed.
        QCOMPARE(QByteArray::fromStdString(oldDb.Isql("SET HEADING OFF;\nSELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                                                      "RDB$RELATION_NAME = 'T_ADDED';")),
                 QByteArray("\n           1 \n\n"));
    }
};

int main(int argc, char** argv)
{
    if (argc == 6 && argv[1] == WindowArgument)
        return WindowMain(argc, argv);
    QApplication application(argc, argv);
    ExitSignalsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ExitSignalsTest.moc"
