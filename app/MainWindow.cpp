// The window's side of a run: the options into a request, captions into the status label,
// the report shown and, on request, the checks repeated in repair mode. The eight checks run
// on the window's thread as they always have; the complete comparison runs on a worker.
#include "app/MainWindow.h"
#include "app/AboutForm.h"
#include "app/BackgroundRun.h"
#include "app/ConfirmRepair.h"
#include "app/ErrorBox.h"
#include "app/ReportForm.h"
#include "compare/Checks.h"
#include "compare/ChecksEngine.h"
#include "data/DM.h"
#include "data/Files.h"
#include "schema/CompleteEngine.h"
#include "schema/SchemaSource.h"

#include <QApplication>
#include <QThread>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>

#include <optional>
#include <stdexcept>

namespace {

// New as files, as the command line takes them: a folder, or an existing .sql script.
bool NamesFiles(const QString& name)
{
    const QFileInfo info(name);
    return !name.isEmpty() && (info.isDir() || (info.isFile() && name.endsWith(".sql", Qt::CaseInsensitive)));
}

}

TVorkatMainForm::TVorkatMainForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Vorkat v" VORKAT_VERSION);
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(418, 299);

    OldDBName = new FileField("*.gdb", true, this);
    NewDBName = new FileField("", false, this);
    // A box for each check, captioned after its kind, in the fixed order.
    for (const auto& info : CheckKinds)
        KindBox(info.Kind) = new QCheckBox(QString("Check ") + info.Caption, this);
    RepairBox = new QRadioButton("Auto Repair", this);
    ScriptBox = new QRadioButton("Create SQL script", this);
    ReportBox = new QCheckBox("Show Report", this);
    CompleteBox = new QCheckBox("Complete comparison", this);
    Label3 = new QLabel(this);
    ProgBar = new QProgressBar(this);
    RunBtn = new QPushButton("Run", this);
    AboutBtn = new QPushButton("About", this);
    CancelBtn = new QPushButton("Cancel", this);
    ExitBtn = new QPushButton("E&xit", this);

    for (QCheckBox* box : {DomainBox, ExpBox, GenBox, UDFBox, TableBox, IndexBox, SPBox, TrigBox, ReportBox})
        box->setChecked(true);
    ScriptBox->setChecked(true);
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ProgBar->setRange(0, 100);
    ProgBar->setValue(0);
    ProgBar->setTextVisible(false);
    ProgBar->setMaximumHeight(10);
    RunBtn->setDefault(true);
    AboutBtn->setAutoDefault(false);
    ExitBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);
    CancelBtn->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Select Old Database", this));
    layout->addWidget(OldDBName);
    layout->addWidget(new QLabel("Select New Database", this));
    layout->addWidget(NewDBName);

    auto* frame = new QGroupBox(this);
    auto* columns = new QGridLayout(frame);
    QCheckBox* left[] = {DomainBox, ExpBox, GenBox, UDFBox};
    QCheckBox* right[] = {TableBox, IndexBox, SPBox, TrigBox};
    for (int row = 0; row < 4; ++row) {
        columns->addWidget(left[row], row, 0);
        columns->addWidget(right[row], row, 1);
    }
    layout->addWidget(frame);

    auto* options = new QHBoxLayout;
    auto* modes = new QVBoxLayout;
    modes->addWidget(RepairBox);
    modes->addWidget(ScriptBox);
    options->addLayout(modes);
    // Beside "Show Report" in a column of their own, so that the status label keeps its room.
    auto* reports = new QVBoxLayout;
    reports->addWidget(ReportBox);
    reports->addWidget(CompleteBox);
    options->addLayout(reports);
    options->addWidget(Label3, 1);
    layout->addLayout(options);
    layout->addWidget(ProgBar);
    layout->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(RunBtn);
    buttons->addWidget(AboutBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    buttons->addWidget(ExitBtn);
    layout->addLayout(buttons);

    connect(RunBtn, &QPushButton::clicked, this, &TVorkatMainForm::RunBtnClick);
    connect(AboutBtn, &QPushButton::clicked, this, &TVorkatMainForm::AboutBtnClick);
    connect(ExitBtn, &QPushButton::clicked, this, &TVorkatMainForm::ExitBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TVorkatMainForm::CancelBtnClick);
    connect(CompleteBox, &QCheckBox::toggled, this, &TVorkatMainForm::UpdateControls);

    FormCreate();
}

TVorkatMainForm::~TVorkatMainForm()
{
    FormDestroy();
}

void TVorkatMainForm::FormCreate()
{
    ProgramDir = QCoreApplication::applicationDirPath();
    FormStorage1.IniFileName = ProgramDir + "/vorkat.ini";
    bar_ = std::make_unique<BarProgress>(*ProgBar);
    report_.Target = &Rep;
    DM = std::make_unique<TDM>();
    DM->SetBusyPointer(&waitPointer_);
    DM->SetLoginPrompt(&login_);
    Engine = std::make_unique<ChecksEngine>(*DM, [this](CheckKind kind) { return KindBox(kind)->isChecked(); });
    schema::CompleteOptions completeOptions;
    completeOptions.repairMayFollow = true;
    completeOptions.forceOffered = false;
    completeOptions.confirm = [this](const schema::Summary& summary) { return ConfirmFromWorker(summary); };
    Complete = std::make_unique<schema::CompleteEngine>(completeOptions);
    Rep = new TRep(this);
    Rep->ProgramDir = ProgramDir;
    AboutForm = new TAboutForm(this);
}

void TVorkatMainForm::FormDestroy()
{
    // The settings are saved once: here only when closing did not save them.
    if (FormStorage1.Restored() && !FormStorage1.Saved())
        FormStorage1.SaveFormPlacement(*this, true);
    delete AboutForm;
    AboutForm = nullptr;
    delete Rep;
    Rep = nullptr;
    Complete.reset();
    Engine.reset();
    DM.reset();
}

void WaitPointer::Begin()
{
    set_ = !QApplication::overrideCursor();
    if (set_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void WaitPointer::End() noexcept
{
    if (set_)
        QApplication::restoreOverrideCursor();
    set_ = false;
}

void ReportForwarder::AddReportRow(const std::string& type, const std::string& objectName,
                                   const std::string& message)
{
    if (Target && *Target)
        (*Target)->AddReportRow(type, objectName, message);
}

void TVorkatMainForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormStorage1.RestoreFormPlacement(*this);
    }
}

void TVorkatMainForm::closeEvent(QCloseEvent* event)
{
    // A run lets window messages through; closing now would free modules in use. A complete
    // run is cancelled first, a repair only when the user agrees; the window closes at its end.
    if (running_) {
        CancelRunToClose(true);
        event->ignore();
        return;
    }
    if (FormStorage1.Restored())
        FormStorage1.SaveFormPlacement(*this, false);
    event->accept();
}

void TVorkatMainForm::CancelRunToClose(bool ask)
{
    if (background_ && !background_->Cancelled()) {
        if (ask && background_->Repairing() && !AskCancelRepair())
            return;
        background_->Cancel();
    }
    closeWanted_ = true;
}

void TVorkatMainForm::ExitOnSignal()
{
    signalled_ = true;
    // Not through close(): the signal may come while closeEvent waits for the answer to the
    // question, and a close() from inside closeEvent is dropped.
    if (running_)
        CancelRunToClose(false);
    else if (isVisible())
        close();
}

QCheckBox*& TVorkatMainForm::KindBox(CheckKind kind)
{
    switch (kind) {
    case CheckKind::Domains: return DomainBox;
    case CheckKind::Exceptions: return ExpBox;
    case CheckKind::Generators: return GenBox;
    case CheckKind::UDFs: return UDFBox;
    case CheckKind::TableFields: return TableBox;
    case CheckKind::TableIndices: return IndexBox;
    case CheckKind::Procedures: return SPBox;
    case CheckKind::Triggers: return TrigBox;
    }
    throw std::logic_error("no box for this check");
}

void TVorkatMainForm::UpdateControls()
{
    const bool complete = CompleteBox->isChecked();
    // The stages' captions are long: on two lines beside the options, not a wider window.
    Label3->setWordWrap(complete);
    for (QCheckBox* box : {DomainBox, ExpBox, GenBox, UDFBox, TableBox, IndexBox, SPBox, TrigBox})
        box->setEnabled(!complete && !background_);
    NewDBName->AllowFiles(complete);
    // The eight checks keep their controls as they were: a second Run is ignored instead.
    for (QWidget* control : std::initializer_list<QWidget*>{RunBtn, CompleteBox, RepairBox, ScriptBox, ReportBox,
                                                            OldDBName, NewDBName})
        control->setEnabled(!background_);
    CancelBtn->setVisible(background_ != nullptr);
}

void TVorkatMainForm::CancelBtnClick()
{
    if (!background_ || background_->Cancelled())
        return;
    if (background_->Repairing() && !AskCancelRepair())
        return;
    cancelPressed_ = true;
    background_->Cancel();
}

void TVorkatMainForm::BeginStep(const std::string& caption)
{
    Label3->setText(QString::fromStdString(caption));
    if (background_) {
        // A stage tells no counts unless it has them: until then the bar shows it is busy.
        ProgBar->setRange(0, 0);
    } else {
        QCoreApplication::processEvents();
    }
}

void TVorkatMainForm::EndPass()
{
    Label3->clear();
    if (background_)
        ProgBar->setRange(0, 100);
    ProgBar->setValue(0);
}

int TVorkatMainForm::ShowReport()
{
    return Rep->exec();
}

bool TVorkatMainForm::AskCancelRepair()
{
    return QMessageBox::question(this, "Vorkat",
                                 "A repair of the Old Database is running. Cancel it?\n\n"
                                 "The repair is one transaction: cancelled, none of it is kept.",
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void TVorkatMainForm::RunBtnClick()
{
    // Run lets messages through at each step; a second press then starts nothing.
    if (running_)
        return;
    if (RunOnce(false))
        RunOnce(true);
}

bool TVorkatMainForm::RunOnce(bool force)
{
    running_ = true;
    const bool complete = CompleteBox->isChecked();
    QString failure;
    bool failed = false;
    bool cancelled = false;
    bool repairAsked = false;
    // New as files is built into a database of its own, removed when this run ends (after an
    // error or a cancel too). A Repair from the report runs on the same connections, so on the
    // same database; "Repair anyway" is a run of its own and builds again.
    const QString newField = NewDBName->FileName();
    const bool files = complete && NamesFiles(newField);
    std::optional<schema::BuiltDatabase> built;
    // "Repair anyway" runs an engine of its own, so that every other run keeps the safety stop;
    // files run one that names New by their folder or script, not the database built from them.
    std::unique_ptr<schema::CompleteEngine> ownEngine;
    if (force || files) {
        schema::CompleteOptions options;
        options.forceOffered = false;
        options.force = force;
        options.repairMayFollow = !force;
        options.confirm = [this](const schema::Summary& summary) { return ConfirmFromWorker(summary); };
        if (files)
            options.newShownAs = newField.toStdString();
        ownEngine = std::make_unique<schema::CompleteEngine>(options);
    }
    completeRun_ = ownEngine ? ownEngine.get() : Complete.get();
    if (complete) {
        Label3->clear();
        cancelPressed_ = false;
        login_.BeginRun(DatabaseNameFromField(OldDBName->FileName().toStdString()),
                        DatabaseNameFromField(NewDBName->FileName().toStdString()));
    }
    try {
        Rep->ShowSummary(nullptr);
        Rep->ClearReport();
        RunRequest request;
        request.OldField = OldDBName->FileName().toStdString();
        request.NewField = NewDBName->FileName().toStdString();
        request.Repair = force || RepairBox->isChecked();
        request.Report = ReportBox->isChecked();
        request.ScriptPath = (ProgramDir + "/vorkat.sql").toStdString();
        // The report window writes these beside the script from this run's findings.
        request.Outputs = {{"the report", (ProgramDir + "/Report.CSV").toStdString()},
                           {"the review", (ProgramDir + "/Report.html").toStdString()}};
        repairAsked = request.Repair;
        request.AfterPass = [this, complete, &repairAsked] {
            if (!ReportBox->isChecked())
                return false;
            Rep->btRepair->setVisible(!DM->RepairMode);
            Rep->btScript->setVisible(!DM->RepairMode);
            if (complete)
                Rep->ShowSummary(&completeRun_->LastSummary());
            const bool repair = ShowReport() == 1;
            if (complete && repair) {
                background_->SetRepairing();
                repairAsked = true;
            }
            return repair;
        };
        // The sequence closes both, New first, also before an error reaches the box.
        if (complete) {
            BackgroundRun run(*this, *DM, *completeRun_, report_, *bar_, *this);
            struct Ended {
                TVorkatMainForm& form;
                BackgroundRun& run;
                bool& cancelled;
                ~Ended()
                {
                    cancelled = run.Cancelled();
                    form.background_ = nullptr;
                }
            } ended{*this, run, cancelled};
            background_ = &run;
            UpdateControls();
            std::function<std::string()> makeNew;
            if (files)
                makeNew = [&built, path = request.NewField] {
                    built = schema::BuildFromFiles(path);
                    return built->Path();
                };
            run.Run(request, makeNew);
        } else {
            RunSequence(*DM, *Engine, report_, *bar_, *this).Run(request);
        }
    } catch (const schema::BuildError& error) {
        // Its file and line; nothing was attached, Old included.
        failure = QString::fromStdString("New Database: " + std::string(error.what()));
        failed = true;
    } catch (const std::exception& error) {
        failure = QString::fromStdString(error.what());
        failed = true;
    }
    built.reset();
    bool again = false;
    if (complete) {
        UpdateControls();
        login_.EndRun();
        // A failed stage leaves its caption and a busy bar: neither outlives the run.
        Label3->clear();
        ProgBar->setRange(0, 100);
        ProgBar->setValue(0);
    }
    running_ = false;
    const bool quiet = cancelled || signalled_;
    if (complete && !quiet) {
        const auto& summary = completeRun_->LastSummary();
        using State = schema::RepairOutcome::State;
        if (login_.Cancelled()) {
            // The user chose not to log in: nothing to tell.
            Label3->setText("Login cancelled");
            failed = false;
        } else if (failure.startsWith("The repair was stopped before it changed anything;")) {
            again = OfferForce(failure);
            failed = false;
        } else if (summary.repair.state == State::Declined) {
            Label3->setText("Repair not applied: Old unchanged");
        } else if (repairAsked && (summary.repair.state != State::NotRun || !failed)) {
            ShowOutcome(summary, failure);
            failed = false;
        }
    }
    if (cancelPressed_ && cancelled && !closeWanted_)
        Label3->setText("Run cancelled");
    completeRun_ = Complete.get();
    // A run cancelled by Exit, or ended by a signal, ends in silence: the window is closing.
    if (failed && !quiet)
        ShowErrorBox(failure);
    if (closeWanted_) {
        closeWanted_ = false;
        close();
        return false;
    }
    return again;
}

bool TVorkatMainForm::ConfirmFromWorker(const schema::Summary& summary)
{
    if (QThread::currentThread() == thread())
        return ConfirmRepair(summary);
    bool apply = false;
    QMetaObject::invokeMethod(
        this, [&] { apply = ConfirmRepair(summary); }, Qt::BlockingQueuedConnection);
    return apply;
}

bool TVorkatMainForm::ConfirmRepair(const schema::Summary& summary)
{
    TConfirmRepair dialog(summary, this);
    const int answer = dialog.exec();
    if (answer == TConfirmRepair::ReviewFirst)
        Rep->OpenReview(summary);
    return answer == TConfirmRepair::Apply;
}

void TVorkatMainForm::ShowOutcome(const schema::Summary& summary, const QString& failure)
{
    using State = schema::RepairOutcome::State;
    const auto& repair = summary.repair;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (repair.state) {
    case State::Committed:
        text = QString("Committed %1 %2 to the Old Database.")
                   .arg(repair.statements)
                   .arg(repair.statements == 1 ? "statement" : "statements");
        break;
    case State::Refused:
        // The core's own words: "refused at <object>: <message>; rolled back, Old unchanged".
        text = failure.isEmpty() ? QString::fromStdString("refused at " + repair.refusedAt + ": " + repair.message)
                                 : failure;
        text[0] = text[0].toUpper();
        if (!text.endsWith('.'))
            text += '.';
        icon = QMessageBox::Warning;
        break;
    case State::Declined:
        // Answered in the confirmation already.
        return;
    case State::NotRun:
        text = "Nothing to repair: no statement to run. Old unchanged.";
        break;
    }
    Label3->setText(repair.state == State::Committed ? "Repair committed" : repair.state == State::Refused
                                                                               ? "Repair refused: Old unchanged"
                                                                               : "");
    QMessageBox box(icon, "Vorkat v" VORKAT_VERSION, text, QMessageBox::Ok, this);
    box.setObjectName("RepairOutcome");
    box.exec();
}

bool TVorkatMainForm::OfferForce(const QString& failure)
{
    TErrorBox box(QString::fromStdString(ErrorBoxText(failure.toStdString())), this);
    box.setObjectName("SafetyStop");
    QPushButton* anyway = box.Buttons->addButton("Repair anyway", QDialogButtonBox::DestructiveRole);
    bool chosen = false;
    QObject::connect(anyway, &QPushButton::clicked, &box, [&] {
        chosen = true;
        box.accept();
    });
    box.exec();
    return chosen;
}

void TVorkatMainForm::AboutBtnClick()
{
    // The eight checks' box keeps its "v 1.0"; the complete comparison names the release.
    AboutForm->ShowFullVersion(CompleteBox->isChecked());
    AboutForm->exec();
}
