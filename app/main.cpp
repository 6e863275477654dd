// Program start: the application titled "Vorkat" and its main window, which SIGTERM, SIGINT and SIGHUP close.
#include "app/ExitSignals.h"
#include "app/MainWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Before QApplication starts any thread.
    BlockExitSignals();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vorkat");
    TVorkatMainForm form;
    ExitSignals exitSignals(form);
    form.show();
    return application.exec();
}
