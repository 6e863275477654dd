// SIGTERM, SIGINT and SIGHUP end the window as its Exit button does. The Firebird client puts
// handlers of its own for SIGTERM and SIGINT in place at its first attach, failed or not, and
// they keep the process running; blocked in every thread, the signals reach no handler and are
// read from a signalfd. One that comes while a repair commits or rolls back waits for the end
// (db/CommitGuard.h).
#pragma once
#include "db/CommitGuard.h"

#include <QObject>

class QSocketNotifier;
class TVorkatMainForm;

// Blocks SIGTERM, SIGINT and SIGHUP in the calling thread, and so in every thread started from
// it later: first thing in main, before the application object starts threads of its own. A
// signal that was ignored when the program started stays ignored.
void BlockExitSignals();

// Reads the blocked signals on the window's thread. On one, every open dialog is answered
// with Cancel, and so is each one opened after it, while the window ends as Exit does. During
// a commit or rollback of the run's written work, a line on standard error and in the status
// label says that the signal waits; once the end is over, another says that it took effect.
class ExitSignals : public QObject, private HeldSignals {
    Q_OBJECT
public:
    explicit ExitSignals(TVorkatMainForm& form);
    ~ExitSignals() override;
    ExitSignals(const ExitSignals&) = delete;
    ExitSignals& operator=(const ExitSignals&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Read();
    // The signal's effect: the dialogs answered and the window ended.
    void Act();
    void Held(int signal, TransactionEnd during) override;
    // From the run's worker, which waits until the window's thread has acted.
    void Deliver(int signal, TransactionEnd during) noexcept override;
    TVorkatMainForm& form_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    bool received_ = false;
};
