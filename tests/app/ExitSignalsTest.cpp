// SIGTERM and SIGINT sent to the window as a process of its own, once the Firebird client has
// attached and while a dialog waits for the user. The same binary runs as that window, started
// as main.cpp starts it, with its folder, its names and a press on Run of its own.
#include "app/ExitSignals.h"
#include "app/MainWindow.h"
#include "app/ReportForm.h"
#include "data/DM.h"
#include "tests/support/TestDb.h"

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
        // Exit while the report of a complete repair is open asks whether to cancel it.
        if (scenario_ == "question" && dialog == form_.Rep)
            QTimer::singleShot(0, form_.ExitBtn, &QPushButton::click);
        return false;
    }

private:
    TVorkatMainForm& form_;
    QString scenario_;
};

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
    form.Rep->OpenFile = [](const QString&) {};
    DialogReporter reporter(form, scenario);
    application.installEventFilter(&reporter);
    form.show();
    QTimer::singleShot(0, &form, [&] {
        form.OldDBName->SetFileName(QString::fromLocal8Bit(argv[4]));
        form.NewDBName->SetFileName(QString::fromLocal8Bit(argv[5]));
        form.CompleteBox->setChecked(scenario == "report" || scenario == "question");
        form.RepairBox->setChecked(scenario == "question");
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
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
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
