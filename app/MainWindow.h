// The main window: the options of a run, the fixed order of the checks, and the owner of every module.
#pragma once
#include "app/FileField.h"
#include "app/FormStorage.h"
#include "app/LoginDialog.h"
#include "data/Interfaces.h"
#include "db/Query.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <memory>

class TDM;
class TSP;
class TTrig;
class TTbl;
class TIdx;
class TGen;
class TRep;
class TDmn;
class TExp;
class TUDF;
class TAboutForm;

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

// Report rows reach the report window, which is created after the first comparators.
class ReportForwarder : public ReportSink {
public:
    TRep** Target = nullptr;
    void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) override;
};

class TVorkatMainForm : public QDialog {
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
    QLabel* Label3;
    QProgressBar* ProgBar;
    QPushButton* RunBtn;
    QPushButton* AboutBtn;
    QPushButton* ExitBtn;
    TFormStorage FormStorage1;

    // The modules, created in this order and freed in the reverse one.
    std::unique_ptr<TDM> DM;
    std::unique_ptr<TSP> SP;
    std::unique_ptr<TTrig> Trig;
    std::unique_ptr<TTbl> Tbl;
    std::unique_ptr<TIdx> Idx;
    std::unique_ptr<TGen> Gen;
    TRep* Rep = nullptr;
    std::unique_ptr<TDmn> Dmn;
    std::unique_ptr<TExp> Exp;
    std::unique_ptr<TUDF> UDF;
    TAboutForm* AboutForm = nullptr;

    // The directory of the executable: vorkat.sql, Report.CSV and vorkat.ini live there.
    QString ProgramDir;
    bool Running() const { return running_; }

    virtual void RunDomains();
    virtual void RunExceptions();
    virtual void RunGenerators();
    virtual void RunTableFields();
    virtual void RunTableIndices();
    virtual void RunProcedures();
    virtual void RunTriggers();
    virtual void RunUDFs();
    virtual void RunChecks();

    void RunBtnClick();
    void ExitBtnClick() { close(); }
    void AboutBtnClick();

protected:
    // Shows the report modally; 1 means "Repair".
    virtual int ShowReport();
    void FormCreate();
    void FormDestroy();
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc is the Exit button.
    void reject() override { close(); }

private:
    void Step(const char* caption);
    std::unique_ptr<BarProgress> bar_;
    ReportForwarder report_;
    WaitPointer waitPointer_;
    DialogLogin login_;
    bool running_ = false;
    bool closeWanted_ = false;
    bool shownOnce_ = false;
};
