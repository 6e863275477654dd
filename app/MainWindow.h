// The main window: the options of a run, its status label and bar, and the owner of every module.
#pragma once
#include "app/FileField.h"
#include "app/FormStorage.h"
#include "app/LoginDialog.h"
#include "data/Interfaces.h"
#include "data/RunSequence.h"
#include "db/Query.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <memory>

enum class CheckKind;
class TRep;
class TAboutForm;
class BackgroundRun;
namespace schema {
class CompleteEngine;
struct Summary;
}

// The window's progress bar as the comparators see it.
class BarProgress : public Progress {
public:
    explicit BarProgress(QProgressBar& bar) : bar_(bar) {}
    int Position() const override { return bar_.value(); }
    void SetPosition(int position) override { bar_.setValue(position); }
    // A maximum of 0 turns the bar into a busy indicator that never stops: a kind without
    // rows shows an empty bar instead.
    void SetMaximum(int maximum) override { bar_.setMaximum(std::max(maximum, 1)); }

private:
    QProgressBar& bar_;
};

// The busy pointer while a query fetches all, only when the pointer had its default shape.
class WaitPointer : public BusyPointer {
public:
    void Begin() override;
    void End() noexcept override;

private:
    bool set_ = false;
};

// Report rows reach the report window, which is created after the engine.
class ReportForwarder : public ReportSink {
public:
    TRep** Target = nullptr;
    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override;
};

// The window is the steps' sink: each caption shows in the status label.
class TVorkatMainForm : public QDialog, public StepSink {
    Q_OBJECT
public:
    explicit TVorkatMainForm(QWidget* parent = nullptr);
    ~TVorkatMainForm() override;

    FileField* OldDBName;
    FileField* NewDBName;
    QCheckBox* DomainBox;
    QCheckBox* ExpBox;
    QCheckBox* GenBox;
    QCheckBox* UDFBox;
    QCheckBox* TableBox;
    QCheckBox* IndexBox;
    QCheckBox* SPBox;
    QCheckBox* TrigBox;
    QRadioButton* RepairBox;
    QRadioButton* ScriptBox;
    QCheckBox* ReportBox;
    // The complete comparison instead of the eight checks, which it covers.
    QCheckBox* CompleteBox;
    QLabel* Label3;
    QProgressBar* ProgBar;
    QPushButton* RunBtn;
    QPushButton* AboutBtn;
    // Shown while a complete run runs: ends it, a repair only when the user agrees.
    QPushButton* CancelBtn;
    QPushButton* ExitBtn;
    TFormStorage FormStorage1;

    // The modules, created in this order and freed in the reverse one.
    std::unique_ptr<TDM> DM;
    // What a run compares with: the checks of the ticked boxes.
    std::unique_ptr<RunEngine> Engine;
    // What a run compares with when "Complete comparison" is ticked; it runs off the window's thread.
    std::unique_ptr<schema::CompleteEngine> Complete;
    TRep* Rep = nullptr;
    TAboutForm* AboutForm = nullptr;

    // The directory of the executable: vorkat.sql, Report.CSV and vorkat.ini live there.
    QString ProgramDir;
    bool Running() const { return running_; }

    void RunBtnClick();
    void CancelBtnClick();
    void ExitBtnClick() { close(); }
    // SIGTERM, SIGINT or SIGHUP, once the dialogs have been answered: Exit, with nothing asked.
    // A run in progress is cancelled as after a Yes to the question, and the window closes at its end.
    void ExitOnSignal();
    // In the status label: the signal waits for the end of the commit or rollback in progress.
    void ShowHeldSignal(const QString& notice) { Label3->setText(notice); }
    void AboutBtnClick();
    // The login window's side of the data module, which a test may put back.
    DialogLogin& LoginWindow() { return login_; }

protected:
    // Shows the report modally; 1 means "Repair".
    virtual int ShowReport();
    // Exit during a complete repair: true cancels it.
    virtual bool AskCancelRepair();
    void FormCreate();
    void FormDestroy();
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc is the Exit button.
    void reject() override { close(); }
    // The caption in the status label, and window messages let through at each kind.
    void BeginStep(const std::string& caption) override;
    void EndStep() override {}
    // The label cleared and the bar back at 0 after each pass.
    void EndPass() override;

private:
    // One run; true when a complete repair stopped by the safety checks is to run again forced.
    bool RunOnce(bool force);
    // Before a complete repair changes Old, on the window's thread: Apply, or the review
    // page opened ("Review first") or Cancel, and Old left unchanged.
    bool ConfirmRepair(const schema::Summary& summary);
    // Called by the worker: the question goes to the window's thread.
    bool ConfirmFromWorker(const schema::Summary& summary);
    // After a complete run that repaired or was to repair: what happened to Old.
    void ShowOutcome(const schema::Summary& summary, const QString& failure);
    // A complete repair stopped by the safety checks: true for "Repair anyway".
    bool OfferForce(const QString& failure);
    // The box that chooses the kind; the constructor makes each one in its place here.
    QCheckBox*& KindBox(CheckKind kind);
    // Exit during a run: the run is cancelled, a repair only when asking is allowed and the
    // user agrees, and the window closes at the run's end.
    void CancelRunToClose(bool ask);
    // Which controls take input: none of a run's options while it runs, no kind in complete mode.
    void UpdateControls();
    std::unique_ptr<BarProgress> bar_;
    ReportForwarder report_;
    WaitPointer waitPointer_;
    DialogLogin login_;
    bool running_ = false;
    // The complete run in progress, for Exit to cancel.
    BackgroundRun* background_ = nullptr;
    bool closeWanted_ = false;
    bool signalled_ = false;
    bool shownOnce_ = false;
    // The Cancel button ended the run in progress.
    bool cancelPressed_ = false;
    // The engine of the complete run in progress: Complete, or a forced one for "Repair anyway".
    schema::CompleteEngine* completeRun_ = nullptr;
};
