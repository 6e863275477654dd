// A run of the shared sequence on a worker thread, with every call into the window carried
// over to the window's thread, so that the window repaints and answers during a long run.
#pragma once
#include "data/RunSequence.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <ibase.h>

class BackgroundRun {
public:
    // window: the object whose thread the calls go to. Each sink is used there only.
    BackgroundRun(QObject& window, TDM& dm, RunEngine& engine, ReportSink& report, Progress& bar, StepSink& steps)
        : window_(window), dm_(dm), engine_(engine), report_(report), bar_(bar), steps_(steps) {}

    // Runs the request on a worker while the window's events go on, and returns when it has
    // ended, with its error thrown here. The request's hooks and the login window are called
    // on the window's thread while the worker waits for their answer. makeNew, when given,
    // runs first on the worker under the caption "Building New Database", before anything is
    // attached, and returns the name of the New Database to attach in place of the field's.
    RunOutcome Run(const RunRequest& request, const std::function<std::string()>& makeNew = {});

    // From the window's thread: ends the run as soon as it can. The statement running on
    // either database fails (fb_cancel_operation is meant to be called from another
    // thread), and the next stage or step is refused; a repair then rolls back whole, since
    // the complete comparison repairs in one transaction.
    void Cancel();
    bool Cancelled() const { return cancelled_; }
    // A pass that executes fixes is running, or will run once the report has been answered.
    bool Repairing() const { return repairing_; }
    void SetRepairing() { repairing_ = true; }

    // The attachments the worker uses now, for Cancel; told by the worker at each stage.
    void NoteHandles(isc_db_handle oldHandle, isc_db_handle newHandle);

private:
    QObject& window_;
    TDM& dm_;
    RunEngine& engine_;
    ReportSink& report_;
    Progress& bar_;
    StepSink& steps_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> repairing_{false};
    std::atomic<isc_db_handle> oldHandle_{0};
    std::atomic<isc_db_handle> newHandle_{0};
};
