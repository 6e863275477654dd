// The "Database Login" window: texts, limits and where typing starts.
#include "app/LoginDialog.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

class LoginDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheDatabaseAndStartsInThePassword()
    {
        TLoginDialog dialog("/data/old.gdb", "SYSDBA");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Database Login"));
        QCOMPARE(dialog.DatabaseLabel->text(), QString("/data/old.gdb"));
        QCOMPARE(dialog.UserName->text(), QString("SYSDBA"));
        QCOMPARE(dialog.UserName->maxLength(), 31);
        QCOMPARE(dialog.Password->maxLength(), 31);
        QCOMPARE(dialog.Password->echoMode(), QLineEdit::Password);
        QVERIFY(dialog.Password->text().isEmpty());
        QCOMPARE(dialog.OKButton->text(), QString("&OK"));
        QVERIFY(dialog.OKButton->isDefault());
        QCOMPARE(dialog.CancelButton->text(), QString("Cancel"));
        QCOMPARE(dialog.focusWidget(), dialog.Password);
    }

    void emptyUserNameTakesTheFocus()
    {
        TLoginDialog dialog("/data/old.gdb", "");
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.focusWidget(), dialog.UserName);
    }

    void aCompleteRunAsksOncePerServerWhenTheAnswerServesBothAndNeverForALocalFile()
    {
        DialogLogin login;
        login.BeginRun("srv:/data/old.fdb", "srv/3050:/data/new.fdb");
        bool offered = false;
        int shown = 0;
        auto answer = [&] {
            auto* dialog = qobject_cast<TLoginDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            ++shown;
            offered = !dialog->UseForBoth->isHidden() && dialog->UseForBoth->isChecked();
            dialog->UserName->setText("ALICE");
            dialog->Password->setText("secret");
            dialog->OKButton->click();
        };
        QTimer::singleShot(0, answer);
        std::string user = "SYSDBA", password;
        QVERIFY(login.Ask("srv:/data/old.fdb", user, password));
        QVERIFY(offered);
        std::string newUser = "SYSDBA", newPassword;
        QVERIFY(login.Ask("srv/3050:/data/new.fdb", newUser, newPassword));
        QCOMPARE(shown, 1);
        QCOMPARE(newUser + "/" + newPassword, std::string("ALICE/secret"));
        std::string localUser = "SYSDBA", localPassword = "typed";
        QVERIFY(login.Ask("/data/local.fdb", localUser, localPassword));
        QCOMPARE(shown, 1);
        QCOMPARE(localUser + "/" + localPassword, std::string("SYSDBA/"));

        // Another server: no choice to offer; and a new run asks again.
        login.BeginRun("srv:/data/old.fdb", "other:/data/new.fdb");
        QTimer::singleShot(0, answer);
        QVERIFY(login.Ask("srv:/data/old.fdb", user, password));
        QCOMPARE(shown, 2);
        QVERIFY(!offered);
        login.EndRun();
    }

    void longNameIsShortenedToTheWindow()
    {
        const QString name = "/data/" + QString(300, 'x') + ".gdb";
        TLoginDialog dialog(name, "SYSDBA");
        QVERIFY(dialog.DatabaseLabel->text().size() < name.size());
        QVERIFY(dialog.DatabaseLabel->text().endsWith(".gdb"));
    }
};

QTEST_MAIN(LoginDialogTest)
#include "LoginDialogTest.moc"
