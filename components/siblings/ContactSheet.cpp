#include "components/siblings/ContactSheet.h"

#include "components/siblings/CardLink.h"
#include "connection/ErrorReport.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace siblings {

namespace {

const QString notGiven = QStringLiteral("(não indicado)");
const QString openButtonText = QStringLiteral("Abrir na ficha de contactos");
const QString closeButtonText = QStringLiteral("Fechar");
constexpr int sheetMinimumWidth = 420;

QString linesOrNotGiven(const QStringList& lines)
{
    return lines.isEmpty() ? notGiven : lines.join(u'\n');
}

QString textOrNotGiven(const QString& text)
{
    return text.isEmpty() ? notGiven : text;
}

} // namespace

ContactSheet::ContactSheet(const QString& product, const ContactDetails& details,
                           const Credentials& credentials, const ado::Connection& connection)
    : product_(product), id_(details.id)
{
    setObjectName(QString::fromLatin1(ObjectName));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(caption(product, details.name));
    setMinimumWidth(sheetMinimumWidth);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop); // captions on the first line of their values
    addRow(form, QStringLiteral("&Nome:"), "lblNome", textOrNotGiven(details.name));
    addRow(form, QStringLiteral("&Tipo:"), "lblGenero", textOrNotGiven(details.kind));
    addRow(form, QStringLiteral("N&IF:"), "lblNIF", textOrNotGiven(details.taxNumber));
    addRow(form, QStringLiteral("&Morada:"), "lblMorada", linesOrNotGiven(details.addressLines));
    addRow(form, QStringLiteral("Tele&fones:"), "lblTelefones", linesOrNotGiven(details.telephones));
    addRow(form, QStringLiteral("Correio &electrónico:"), "lblEmails", linesOrNotGiven(details.emails));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    QPushButton* openButton = addButtons(layout);

    link_ = new CardLink(credentials, connection, this);
    openButton->setEnabled(link_->mayOpen(id_));
    (openButton->isEnabled() ? openButton : findChild<QPushButton*>(QStringLiteral("btFechar")))->setFocus();
}

QString ContactSheet::caption(const QString& product, const QString& name)
{
    // The contact first and the product after it, as every desktop window
    // names its document before its program.
    return name.isEmpty() ? product : name + QStringLiteral(" — ") + product;
}

// Values can be selected and copied from the keyboard; each caption's
// mnemonic reaches its value.
void ContactSheet::addRow(QFormLayout* form, const QString& caption, const char* objectName,
                          const QString& text)
{
    auto* value = new QLabel(text, this);
    value->setObjectName(QString::fromLatin1(objectName));
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    value->setFocusPolicy(Qt::StrongFocus);
    auto* label = new QLabel(caption, this);
    label->setBuddy(value);
    form->addRow(label, value);
}

QPushButton* ContactSheet::addButtons(QVBoxLayout* layout)
{
    auto* buttons = new QDialogButtonBox(this);
    auto* openButton = buttons->addButton(openButtonText, QDialogButtonBox::ActionRole);
    openButton->setObjectName(QStringLiteral("btAbrirFicha"));
    auto* closeButton = buttons->addButton(closeButtonText, QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("btFechar"));
    connect(openButton, &QPushButton::clicked, this, &ContactSheet::openOnCard);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    return openButton;
}

// The card tells the user itself when it refuses or fails.
void ContactSheet::openOnCard()
{
    if (!link_)
        return;
    try {
        link_->open(id_);
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Source::custom(product_, product_, QString::fromLatin1(ObjectName)),
                          QStringLiteral("openOnCard"), e);
    }
}

} // namespace siblings
