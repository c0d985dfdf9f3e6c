#include "host/LoginDialog.h"

#include "host/FirstRun.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LoginDialog::LoginDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LoginDialog"));
    // The desktop adds the application's name after it.
    setWindowTitle(QStringLiteral("Entrar"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    user_ = new QLineEdit(QString::fromLatin1(FirstRun::demoLogin), this);
    user_->setObjectName(QStringLiteral("txtUtilizador"));
    password_ = new QLineEdit(QString::fromLatin1(FirstRun::demoPassword), this);
    password_->setObjectName(QStringLiteral("txtSenha"));
    password_->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Utilizador:"), user_);
    form->addRow(QStringLiteral("Senha:"), password_);
    layout->addLayout(form);
    auto* hint = new QLabel(
        QStringLiteral("Base de dados de demonstração: utilizador «%1», senha «%2».")
            .arg(QString::fromLatin1(FirstRun::demoLogin), QString::fromLatin1(FirstRun::demoPassword)),
        this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("lblProblema"));
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    problem_->setWordWrap(true);
    problem_->hide();
    layout->addWidget(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Entrar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString LoginDialog::user() const
{
    return user_->text();
}

QString LoginDialog::password() const
{
    return password_->text();
}

void LoginDialog::showProblem(const QString& text)
{
    problem_->setText(text);
    problem_->show();
}
