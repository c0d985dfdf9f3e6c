#include "card/frmNovo.h"

#include "card/frmInicial.h"
#include "connection/ErrorReport.h"
#include "data/modSQLConnection.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmNovo::frmNovo(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmNovo"));
    setWindowTitle(QStringLiteral("Novo Registo"));
    setAttribute(Qt::WA_DeleteOnClose);
    // It decides what the card will hold: nothing else may be used meanwhile
    // (an activated list row would put an existing contact under it).
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    auto* kind = new QGroupBox(QStringLiteral("Tipo de contacto"), this);
    auto* kinds = new QVBoxLayout(kind);
    Option1 = new QRadioButton(QStringLiteral("Particular"), kind);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setChecked(true);
    Option2 = new QRadioButton(QStringLiteral("Empresarial"), kind);
    Option2->setObjectName(QStringLiteral("Option2"));
    kinds->addWidget(Option1);
    kinds->addWidget(Option2);
    layout->addWidget(kind);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancelar"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &frmNovo::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmNovo::Command2_Click);
}

frmNovo::~frmNovo() = default;

void frmNovo::callBack()
{
    if (!Card)
        return;
    QWidget* owner = Owner;
    Card->Novo(owner, true, this);
}

void frmNovo::Command1_Click()
{
    try {
        if (!modSQLConnection::CheckSQLConnection().isEmpty())
            return; // the chooser stays open
        callBack();
        close();
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Source(ErrorReport::Origin::Card, objectName()),
                          QStringLiteral("Command1_Click"), e);
    }
}

void frmNovo::Command2_Click()
{
    try {
        Cancelled = true;
        callBack();
        close();
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Source(ErrorReport::Origin::Card, objectName()),
                          QStringLiteral("Command2_Click"), e);
    }
}

void frmNovo::reject()
{
    Command2_Click();
}

void frmNovo::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

// Every way out ends here once: the card hears that the chooser is gone.
void frmNovo::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    try {
        Cancelled = true;
        callBack();
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Source(ErrorReport::Origin::Card, objectName()),
                          QStringLiteral("Form_Unload"), e);
    }
}
