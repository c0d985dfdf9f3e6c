#include "component/General.h"

#include "card/CardMessages.h"
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "data/DatabaseConnection.h"
#include "data/modCode.h"
#include "data/modSQLConnection.h"
#include "permissions/modCheckPermissions.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"
#include "settings/frmMainChilds.h"
#include "settings/modParentsForm.h"

#include <QCoreApplication>
#include <QPointer>
#include <limits>

namespace {

void report(const QString& method, const vb::Error& e)
{
    ErrorReport::send(ErrorReport::Origin::General, method, e);
}

// An absent or unreadable key becomes a number no contact has.
qint32 keyOf(const vb::Variant& PKey)
{
    if (PKey.isMissing() || PKey.isEmpty() || PKey.isNull() || !vb::IsNumeric(PKey))
        return std::numeric_limits<qint32>::min();
    try {
        return vb::CLng(PKey);
    } catch (const vb::Error&) {
        return std::numeric_limits<qint32>::min();
    }
}

// The host's list position, handed back to it when the card closes.
void setListContext(frmInicial& card, qint32 clCurrentIndex, qint32 clCurrentObject, qint32 clLast_Related_ID)
{
    card.clCurrentIndex = clCurrentIndex;
    card.clCurrentObject = clCurrentObject;
    card.clLast_Related_ID = clLast_Related_ID;
}

// The shown card goes with its new owner window; the owner made for an
// earlier opening of this card has nothing left to own.
void ownBy(frmInicial& card, const QPointer<frmMainChilds>& previous)
{
    if (card.frmParent)
        card.frmParent->own(&card);
    if (previous && previous != card.frmParent)
        previous->deleteLater();
}

} // namespace

General::General()
{
    modCode::StartUp();
}

General::~General()
{
    try {
        card_.reset();
    } catch (const vb::Error& e) {
        report(QStringLiteral("Class_Terminate"), e);
    }
}

frmInicial& General::ensureCard()
{
    if (!card_) {
        card_ = std::make_unique<frmInicial>();
        card_->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    return *card_;
}

frmInicial& General::cardFor(const ObjectRef& Caller)
{
    frmInicial& card = ensureCard();
    card.MainClass = this;
    card.CallBackClass = Caller;
    return card;
}

// Moves the host's cursor to the row the card will show: the key's, the
// first row when the key is not in the list, the current row when no key is
// given. Answers that row's contacto_id.
qint32 General::rowToShow(RecordsetRef& tRs, const vb::Variant& PKey)
{
    if (!(PKey.isMissing() || PKey.isEmpty())) {
        tRs.MoveFirst();
        tRs.Find(QStringLiteral("contacto_id=") + QString::number(vb::CLng(PKey)), 0, ado::adSearchForward,
                 vb::Variant(int(ado::adBookmarkFirst)));
        if (tRs.Eof())
            tRs.MoveFirst();
    }
    return vb::CLng(tRs(QStringLiteral("contacto_id")));
}

// A card that shows a contact with unsaved changes asks before it takes
// another one; false when the user keeps the shown contact (Cancel, or a
// save that did not go through).
bool General::cardMayLeave()
{
    if (!card_ || !card_->isVisible() || !card_->prpAlteracoes())
        return true;
    const qint32 answer = card_->AskForSavings();
    if (answer == platform::msgbox::AnswerCancel ||
        (card_->prpAlteracoes() && answer == platform::msgbox::AnswerYes))
        return false;
    card_->setPrpAlteracoes(false); // saved, or given up by the user
    return true;
}

// The open operations: the guard, then the card on the row actually shown,
// whose rights are the ones checked. The host's cursor goes back where it
// was when the open is refused.
frmInicial* General::openOnRow(RecordsetRef& tRs, const vb::Variant& PKey, const ObjectRef& Caller)
{
    if (!Conn().bSQLConnected || !connectionChecked() || !cardMayLeave())
        return nullptr;
    const int before = tRs.AbsolutePosition();
    const qint32 shown = rowToShow(tRs, PKey);
    if (!allowed(shown, modCheckPermissions::Open)) {
        if (before > 0)
            tRs.setAbsolutePosition(before);
        return nullptr;
    }
    frmInicial& card = cardFor(Caller);
    card.Rs = tRs;
    card.Contacto_ID = shown;
    card.isNew = false; // another contact is loaded: a new one not saved is given up
    return &card;
}

bool General::Login(const QString& User, const QString& Password)
{
    return DatabaseConnection::Login(User, Password, [this] {
        // Loads the card without showing it; inPro skips the window restore.
        frmInicial& card = ensureCard();
        card.inPro = true;
        card.Form_Load();
        card.inPro = false;
    });
}

bool General::SQLConnect(const QString& User, const QString& Password, const QString& cnUser,
                         const QString& cnPassword, const QString& cnInitialCatalog,
                         const QString& cnDataSource, const QString& cnDataSourceSecondary, qint32 Flags)
{
    return DatabaseConnection::SQLConnect(User, Password, cnUser, cnPassword, cnInitialCatalog, cnDataSource,
                                          cnDataSourceSecondary, Flags);
}

bool General::connectionChecked()
{
    return modSQLConnection::CheckSQLConnection(nullptr).isEmpty();
}

// The user's right on the contact; a refusal is shown (or, when the server
// could not be asked, that it could not).
bool General::allowed(qint32 contactoId, int right)
{
    bool couldNotAsk = false;
    if (modCheckPermissions::CheckObjectSecurity(Conn().strUser, contactoId, card::fileKind, right,
                                                 &couldNotAsk))
        return true;
    platform::WindowServices& windows = platform::WindowServices::current();
    if (couldNotAsk)
        windows.messageBox(card::serverUnreachable, platform::msgbox::Information, card::title);
    else
        windows.messageBox(right == modCheckPermissions::Create ? card::refusedCreate : card::refusedOpen,
                           card::securityStyle, card::securityTitle);
    return false;
}

// The common guard of the three new-record operations.
bool General::guardNew(const vb::Variant& PKey)
{
    return Conn().bSQLConnected && connectionChecked() && allowed(keyOf(PKey), modCheckPermissions::Create);
}

void General::ObjectOpen(RecordsetRef& tRs, const vb::Variant& PKey, const QString&, const QString&,
                         const ObjectRef& Caller, qint32 clCurrentIndex, qint32 clCurrentObject,
                         qint32 clLast_Related_ID)
{
    try {
        frmInicial* card = openOnRow(tRs, PKey, Caller);
        if (!card)
            return;
        setListContext(*card, clCurrentIndex, clCurrentObject, clLast_Related_ID);
        if (!card->Form_Load())
            return;
        const QPointer<frmMainChilds> previous = card->frmParent;
        card->frmParent = modParentsForm::GetNewParent(Caller);
        card->show();
        ownBy(*card, previous);
    } catch (const vb::Error& e) {
        report(QStringLiteral("ObjectOpen"), e);
    }
}

void General::Registo(RecordsetRef& tRs, const vb::Variant& PKey, const QString&, const QString&,
                      const ObjectRef& Caller)
{
    try {
        frmInicial* card = openOnRow(tRs, PKey, Caller);
        if (card && card->Form_Load())
            card->show();
    } catch (const vb::Error& e) {
        report(QStringLiteral("Registo"), e);
    }
}

void General::ObjectNew(const QString&, const vb::Variant& PKey, qint32, const ObjectRef& Caller,
                        qint32 clCurrentIndex, qint32 clCurrentObject, qint32 clLast_Related_ID)
{
    try {
        if (!guardNew(PKey))
            return;
        frmInicial& card = cardFor(Caller);
        setListContext(card, clCurrentIndex, clCurrentObject, clLast_Related_ID);
        if (!card.Form_Load())
            return;
        const QPointer<frmMainChilds> previous = card.frmParent;
        card.frmParent = modParentsForm::GetNewParent(parentForm_ ? parentForm_ : Caller);
        if (card.isVisible())
            ownBy(card, previous); // a hidden card is owned when the new contact shows it
        else if (previous && previous != card.frmParent)
            previous->deleteLater();
        QCoreApplication::processEvents();
        card.Novo(card.frmParent, false, nullptr);
    } catch (const vb::Error& e) {
        report(QStringLiteral("ObjectNew"), e);
    }
}

void General::NovoRegisto(const QString&, const vb::Variant& PKey, qint32, const ObjectRef& Caller)
{
    try {
        if (!guardNew(PKey))
            return;
        frmInicial& card = cardFor(Caller);
        if (card.Form_Load())
            card.Novo(nullptr, false, nullptr);
    } catch (const vb::Error& e) {
        report(QStringLiteral("NovoRegisto"), e);
    }
}

void General::NovoRegistoTelefone(const QString&, const vb::Variant& strTelefone, const vb::Variant& PKey,
                                  qint32, const ObjectRef& Caller)
{
    try {
        if (!guardNew(PKey))
            return;
        frmInicial& card = cardFor(Caller);
        card.NewTelefone =
            strTelefone.isNull() || strTelefone.isMissing() ? QString() : vb::CStr(strTelefone);
        if (card.Form_Load())
            card.Novo(nullptr, false, nullptr);
    } catch (const vb::Error& e) {
        report(QStringLiteral("NovoRegistoTelefone"), e);
    }
}

bool General::ApagaRegisto(RecordsetRef&, const vb::Variant&, const QString&)
{
    return false;
}

void General::ShutDown()
{
    try {
        card_.reset();
    } catch (const vb::Error& e) {
        report(QStringLiteral("ShutDown"), e);
    }
}

void General::EditarTabelas(const QString&) {}
