// The signals as window events: the signalfd is read where the window lives, in whatever event
// loop runs there, also a dialog's or a run's.
#include "app/ExitSignals.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

// The signals taken over by BlockExitSignals.
sigset_t taken;

}

void BlockExitSignals()
{
    sigemptyset(&taken);
    for (const int number : {SIGTERM, SIGINT}) {
        struct sigaction current {};
        // Started in the background by a shell, SIGINT comes ignored, and Ctrl+C is not meant for us.
        if (sigaction(number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            sigaddset(&taken, number);
    }
    // Qt's child processes (xdg-open) start with an empty mask again.
    pthread_sigmask(SIG_BLOCK, &taken, nullptr);
}

ExitSignals::ExitSignals(TVorkatMainForm& form) : form_(form)
{
    fd_ = signalfd(-1, &taken, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0)
        return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ExitSignals::Read);
}

ExitSignals::~ExitSignals()
{
    if (received_)
        qApp->removeEventFilter(this);
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

void ExitSignals::Read()
{
    bool got = false;
    signalfd_siginfo info{};
    for (;;) {
        const ssize_t size = ::read(fd_, &info, sizeof info);
        if (size == static_cast<ssize_t>(sizeof info))
            got = true;
        else if (size < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    if (!got)
        return;
    if (!received_) {
        received_ = true;
        qApp->installEventFilter(this);
    }
    // Hidden, a dialog's event loop ends, and the code that opened it goes on with Cancel.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog != &form_ && dialog->isVisible())
            dialog->reject();
    }
    form_.ExitOnSignal();
}

bool ExitSignals::eventFilter(QObject* watched, QEvent* event)
{
    // A dialog that the ending run or the closing window still opens. Only once its event loop
    // runs can it be ended: a dialog hidden while exec() shows it would wait for ever.
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog != &form_ && dialog->isWindow())
            QTimer::singleShot(0, dialog, &QDialog::reject);
    }
    return QObject::eventFilter(watched, event);
}
