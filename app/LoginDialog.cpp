// The login window: user name filled in, password empty, focus where typing is needed.
#include "app/LoginDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TLoginDialog::TLoginDialog(const QString& databaseName, const QString& userName, QWidget* parent)
    : QDialog(parent), DatabaseLabel(new QLabel(this)), UserName(new QLineEdit(this)), Password(new QLineEdit(this)),
      OKButton(new QPushButton("&OK", this)), CancelButton(new QPushButton("Cancel", this))
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
    layout->addLayout(buttons);

    if (userName.isEmpty())
        UserName->setFocus();
    else
        Password->setFocus();
}

bool DialogLogin::Ask(const std::string& databaseName, std::string& userName, std::string& password)
{
    TLoginDialog dialog(QString::fromStdString(databaseName), QString::fromStdString(userName));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    userName = dialog.UserName->text().toStdString();
    password = dialog.Password->text().toStdString();
    return true;
}
