// The login window: user name filled in, password empty, focus where typing is needed.
#include "app/LoginDialog.h"
#include "data/DM.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TLoginDialog::TLoginDialog(const QString& databaseName, const QString& userName, QWidget* parent)
    : QDialog(parent), DatabaseLabel(new QLabel(this)), UserName(new QLineEdit(this)), Password(new QLineEdit(this)),
      OKButton(new QPushButton("&OK", this)), CancelButton(new QPushButton("Cancel", this)),
      UseForBoth(new QCheckBox("Use for both databases (one server)", this))
{
    setWindowTitle("Database Login");
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const int width = 300;
    setFixedWidth(width);

    auto* caption = new QLabel("Database:", this);
    DatabaseLabel->setText(DatabaseLabel->fontMetrics().elidedText(databaseName, Qt::ElideMiddle, width - 90));
    UserName->setMaxLength(31);
    UserName->setText(userName);
    Password->setMaxLength(31);
    Password->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->addRow(caption, DatabaseLabel);
    auto* userLabel = new QLabel("&User Name:", this);
    userLabel->setBuddy(UserName);
    form->addRow(userLabel, UserName);
    auto* passwordLabel = new QLabel("&Password:", this);
    passwordLabel->setBuddy(Password);
    form->addRow(passwordLabel, Password);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    UseForBoth->setChecked(true);
    UseForBoth->setVisible(false);
    layout->addWidget(UseForBoth);
    layout->addLayout(buttons);

    if (userName.isEmpty())
        UserName->setFocus();
    else
        Password->setFocus();
}

bool DialogLogin::Ask(const std::string& databaseName, std::string& userName, std::string& password)
{
    const std::string server = LoginServer(databaseName);
    if (inRun_) {
        // One Cancel ends the run: the attempts the data module would still make ask nothing.
        if (cancelled_)
            return false;
        // The embedded engine takes a local file without a password; a server reached for
        // it refuses with its own message.
        if (server.empty()) {
            password.clear();
            return true;
        }
        for (const std::string& key : {databaseName, "server " + server})
            if (const auto known = answers_.find(key); known != answers_.end()) {
                userName = known->second.user;
                password = known->second.password;
                return true;
            }
    }
    TLoginDialog dialog(QString::fromStdString(databaseName), QString::fromStdString(userName));
    dialog.UseForBoth->setVisible(inRun_ && sameServer_);
    if (dialog.exec() != QDialog::Accepted) {
        cancelled_ = inRun_;
        return false;
    }
    userName = dialog.UserName->text().toStdString();
    password = dialog.Password->text().toStdString();
    if (inRun_) {
        answers_[databaseName] = {userName, password};
        if (sameServer_ && dialog.UseForBoth->isChecked())
            answers_["server " + server] = {userName, password};
    }
    return true;
}

void DialogLogin::BeginRun(const std::string& oldName, const std::string& newName)
{
    inRun_ = true;
    cancelled_ = false;
    answers_.clear();
    const std::string server = LoginServer(oldName);
    sameServer_ = !server.empty() && server == LoginServer(newName);
}

void DialogLogin::EndRun()
{
    inRun_ = false;
    answers_.clear();
}
