// Program start: the application titled "Vorkat" and its main window.
#include "app/MainWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vorkat");
    TVorkatMainForm form;
    form.show();
    return application.exec();
}
