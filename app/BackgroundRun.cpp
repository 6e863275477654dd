// The worker owns the connections for the whole run; the window's widgets, its dialogs and the
// login window are only ever touched on the window's thread, through queued calls.
#include "app/BackgroundRun.h"
#include "db/CommitGuard.h"
#include "db/DbError.h"
#include "db/Query.h"

#include <QEventLoop>
#include <QMetaObject>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace {

// Carries f over to the window's thread and goes on at once; calls keep their order.
template <class F>
void Post(QObject& window, F f)
{
    QMetaObject::invokeMethod(&window, std::move(f), Qt::QueuedConnection);
}

// Carries f over to the window's thread and waits for its end; its error comes back here.
template <class F>
void PostAndWait(QObject& window, F f)
{
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        &window,
        [&] {
            try {
                f();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

// A run that was cancelled starts no further stage or step. A DbError, because a repair in
// progress rolls back on one.
void Refuse(const BackgroundRun& run)
{
    if (run.Cancelled())
        throw DbError("The run was cancelled");
}

class QueuedSteps : public StepSink {
public:
    QueuedSteps(BackgroundRun& run, QObject& window, StepSink& next, TDM& dm)
        : run_(run), window_(window), next_(next), dm_(dm) {}

    void BeginStep(const std::string& caption) override
    {
        Refuse(run_);
        run_.NoteHandles(*dm_.OldDB.Handle(), *dm_.NewDB.Handle());
        Post(window_, [&next = next_, caption] { next.BeginStep(caption); });
    }
    void EndStep() override
    {
        Post(window_, [&next = next_] { next.EndStep(); });
    }
    void EndPass() override
    {
        run_.NoteHandles(0, 0);
        Post(window_, [&next = next_] { next.EndPass(); });
    }

private:
    BackgroundRun& run_;
    QObject& window_;
    StepSink& next_;
    TDM& dm_;
};

// The worker reads back its own position; the bar follows.
class QueuedProgress : public Progress {
public:
    QueuedProgress(BackgroundRun& run, QObject& window, Progress& next) : run_(run), window_(window), next_(next) {}

    int Position() const override { return position_; }
    void SetPosition(int position) override
    {
        Refuse(run_);
        position_ = position;
        Post(window_, [&next = next_, position] { next.SetPosition(position); });
    }
    void SetMaximum(int maximum) override
    {
        Refuse(run_);
        Post(window_, [&next = next_, maximum] { next.SetMaximum(maximum); });
    }

private:
    BackgroundRun& run_;
    QObject& window_;
    Progress& next_;
    std::atomic<int> position_{0};
};

class QueuedReport : public ReportSink {
public:
    QueuedReport(QObject& window, ReportSink& next) : window_(window), next_(next) {}

    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override
    {
        Post(window_, [&next = next_, type, objectName, message] { next.AddReportRow(type, objectName, message); });
    }

private:
    QObject& window_;
    ReportSink& next_;
};

// The login window is asked on the window's thread; the worker waits for the answer.
class WindowLogin : public LoginPrompt {
public:
    WindowLogin(QObject& window, LoginPrompt& next) : window_(window), next_(next) {}

    bool Ask(const std::string& databaseName, std::string& userName, std::string& password) override
    {
        bool ok = false;
        PostAndWait(window_, [&] { ok = next_.Ask(databaseName, userName, password); });
        return ok;
    }

private:
    QObject& window_;
    LoginPrompt& next_;
};

// Puts a connection's login prompt back, however the run ends.
struct Restored {
    Connection& db;
    LoginPrompt* prompter;
    ~Restored() { db.Prompter = prompter; }
};

}

void BackgroundRun::NoteHandles(isc_db_handle oldHandle, isc_db_handle newHandle)
{
    oldHandle_ = oldHandle;
    newHandle_ = newHandle;
}

void BackgroundRun::Cancel()
{
    cancelled_ = true;
    // A commit or rollback that has begun runs to its end; the run stops at its next stage.
    CommitGuard::UnlessEnding([this] {
        for (const isc_db_handle handle : {oldHandle_.load(), newHandle_.load()}) {
            if (!handle)
                continue;
            // A handle the worker has just detached is refused by the client library: no harm.
            ISC_STATUS_ARRAY status{};
            isc_db_handle copy = handle;
            fb_cancel_operation(status, &copy, fb_cancel_raise);
        }
    });
}

RunOutcome BackgroundRun::Run(const RunRequest& request, const std::function<std::string()>& makeNew)
{
    cancelled_ = false;
    repairing_ = request.Repair;
    RunRequest onWorker = request;
    if (request.AfterPass)
        onWorker.AfterPass = [this, &request] {
            bool again = false;
            PostAndWait(window_, [&] { again = request.AfterPass(); });
            return again;
        };
    if (request.BeforeConnect)
        onWorker.BeforeConnect = [this, &request](const std::string& oldName) {
            std::string name;
            PostAndWait(window_, [&] { name = request.BeforeConnect(oldName); });
            return name;
        };
    if (request.ScriptWriter)
        onWorker.ScriptWriter = [this, &request](const std::string& text) {
            PostAndWait(window_, [&] { request.ScriptWriter(text); });
        };

    QueuedSteps steps(*this, window_, steps_, dm_);
    QueuedProgress bar(*this, window_, bar_);
    QueuedReport report(window_, report_);
    // Both connections share the data module's prompt, which asks the window's login window.
    LoginPrompt* prompter = dm_.OldDB.Prompter ? dm_.OldDB.Prompter : dm_.NewDB.Prompter;
    std::optional<WindowLogin> login;
    if (prompter)
        login.emplace(window_, *prompter);
    Restored oldPrompt{dm_.OldDB, dm_.OldDB.Prompter};
    Restored newPrompt{dm_.NewDB, dm_.NewDB.Prompter};
    for (Connection* db : {&dm_.OldDB, &dm_.NewDB})
        if (db->Prompter)
            db->Prompter = &*login;
    // The busy pointer is the window's; the window shows its own progress instead.
    struct BusyRestored {
        TDM& dm;
        BusyPointer* busy;
        ~BusyRestored() { dm.SetBusyPointer(busy); }
    } busy{dm_, dm_.Busy()};
    dm_.SetBusyPointer(nullptr);

    RunOutcome outcome;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            if (makeNew) {
                steps.BeginStep("Building New Database");
                onWorker.NewField = makeNew();
                steps.EndStep();
                // A build is not cancelled midway: a Cancel during it takes effect here.
                Refuse(*this);
            }
            outcome = RunSequence(dm_, engine_, report, bar, steps).Run(onWorker);
        } catch (...) {
            failure = std::current_exception();
        }
        // After every call the run posted: the loop ends once they are all delivered.
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    NoteHandles(0, 0);
    if (failure)
        std::rethrow_exception(failure);
    return outcome;
}
