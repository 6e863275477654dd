// SIGTERM and SIGINT end the window as its Exit button does. The Firebird client puts handlers
// of its own for both in place at its first attach, failed or not, and they keep the process
// running; blocked in every thread, the signals reach no handler and are read from a signalfd.
#pragma once
#include <QObject>

class QSocketNotifier;
class TVorkatMainForm;

// Blocks SIGTERM and SIGINT in the calling thread, and so in every thread started from it
// later: first thing in main, before the application object starts threads of its own. A
// signal that was ignored when the program started stays ignored.
void BlockExitSignals();

// Reads the blocked signals on the window's thread. On one, every open dialog is answered
// with Cancel, and so is each one opened after it, while the window ends as Exit does.
class ExitSignals : public QObject {
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
    TVorkatMainForm& form_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    bool received_ = false;
};
