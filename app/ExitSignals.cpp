// The signals as window events: the signalfd is read where the window lives, in whatever event
// loop runs there, also a dialog's or a run's.
#include "app/ExitSignals.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

namespace {

// The signals taken over by BlockExitSignals, and those of them ignored when the program started.
sigset_t taken;
sigset_t ignored;

void PrintNotice(const std::string& notice)
{
    std::fprintf(stderr, "vorkat: %s\n", notice.c_str());
    std::fflush(stderr);
}

}

void BlockExitSignals()
{
    sigemptyset(&taken);
    sigemptyset(&ignored);
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&taken, number);
        // Started in the background by a shell, SIGINT comes ignored, and Ctrl+C is not meant
        // for us; under nohup, SIGHUP. Blocked all the same, it reaches no handler of the client's.
        struct sigaction current {};
        if (sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            sigaddset(&ignored, number);
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
    CommitGuard::Connect(this);
}

ExitSignals::~ExitSignals()
{
    CommitGuard::Connect(nullptr);
    if (received_)
        qApp->removeEventFilter(this);
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

void ExitSignals::Read()
{
    std::vector<int> got;
    signalfd_siginfo info{};
    for (;;) {
        const ssize_t size = ::read(fd_, &info, sizeof info);
        if (size == static_cast<ssize_t>(sizeof info)) {
            if (!sigismember(&ignored, static_cast<int>(info.ssi_signo)))
                got.push_back(static_cast<int>(info.ssi_signo));
        } else if (size < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    for (const int signal : got)
        CommitGuard::Admit(signal, [this] { Act(); });
}

void ExitSignals::Held(int signal, TransactionEnd during)
{
    const std::string notice = HeldNotice(signal, during);
    PrintNotice(notice);
    form_.ShowHeldSignal(QString::fromStdString(notice));
}

void ExitSignals::Deliver(int signal, TransactionEnd during) noexcept
{
    const std::string notice = DeliveredNotice(signal, during);
    auto deliver = [this, notice] {
        PrintNotice(notice);
        Act();
    };
    // A commit on the window's own thread never holds a signal, which is read there; handled all the same.
    if (QThread::currentThread() == thread())
        deliver();
    else
        QMetaObject::invokeMethod(this, deliver, Qt::BlockingQueuedConnection);
}

void ExitSignals::Act()
{
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
