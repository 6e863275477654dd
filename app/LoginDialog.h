// "Database Login": asked for credentials after a failed attach.
#pragma once
#include "db/Connection.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <map>
#include <string>

class TLoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit TLoginDialog(const QString& databaseName, const QString& userName, QWidget* parent = nullptr);

    QLabel* DatabaseLabel;
    QLineEdit* UserName;
    QLineEdit* Password;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    // Shown only when Old and New are on one server, in a complete run.
    QCheckBox* UseForBoth;
};

// The front end's answer to the core's login request. Within a complete run (BeginRun) it
// asks once per database, or once per server when "Use for both databases" is ticked, and
// never for a local file, which the embedded engine opens without a password.
class DialogLogin : public LoginPrompt {
public:
    bool Ask(const std::string& databaseName, std::string& userName, std::string& password) override;
    // The names as the run attaches them; the answers of an earlier run are forgotten.
    void BeginRun(const std::string& oldName, const std::string& newName);
    // Back to asking at every question, as the eight checks do.
    void EndRun();
    // Cancel was chosen in this run's login window.
    bool Cancelled() const { return cancelled_; }

private:
    struct Answer {
        std::string user;
        std::string password;
    };
    bool inRun_ = false;
    bool sameServer_ = false;
    bool cancelled_ = false;
    // By database name, and by "server <host/port>" for an answer used for both.
    std::map<std::string, Answer> answers_;
};
