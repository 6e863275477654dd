// The "Database Login" window: texts, limits and where typing starts.
#include "app/LoginDialog.h"

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
