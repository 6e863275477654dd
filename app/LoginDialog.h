// "Database Login": asked for credentials after a failed attach.
#pragma once
#include "db/Connection.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class TLoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit TLoginDialog(const QString& databaseName, const QString& userName, QWidget* parent = nullptr);

    QLabel* DatabaseLabel;
    QLineEdit* UserName;
    QLineEdit* Password;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};

// The front end's answer to the core's login request.
class DialogLogin : public LoginPrompt {
public:
    bool Ask(const std::string& databaseName, std::string& userName, std::string& password) override;
};
