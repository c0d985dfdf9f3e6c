#include "component/General.h"

#include "card/frmInicial.h"
#include "component/ConnectionState.h"
#include "component/DatabaseConnection.h"
#include "component/ErrorReport.h"
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

constexpr int securityStyle = platform::msgbox::Critical | platform::msgbox::SystemModal;
const QString securityTitle = QStringLiteral("Sistema de Segurança");

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

// The contact whose rights decide an open: the key given, or, when none is
// given, the host's current row (the one the card will show).
vb::Variant keyToCheck(const ado::Recordset& list, const vb::Variant& PKey)
{
    if (!(PKey.isMissing() || PKey.isEmpty()))
        return PKey;
    try {
        if (!list.isNothing() && list.State() == ado::adStateOpen && !list.Eof() && !list.Bof())
            return list(QStringLiteral("contacto_id"));
    } catch (const vb::Error&) {
    }
    return PKey;
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

// The card on the host's row with the key given (the first row when the key
// is not in the list), or on the host's current row when no key is given.
frmInicial& General::cardOnRow(RecordsetRef& tRs, const vb::Variant& PKey, const ObjectRef& Caller)
{
    frmInicial& card = cardFor(Caller);
    card.Rs = tRs;
    if (!(PKey.isMissing() || PKey.isEmpty())) {
        card.Rs.MoveFirst();
        card.Rs.Find(QStringLiteral("contacto_id=") + QString::number(vb::CLng(PKey)), 0,
                     ado::adSearchForward, vb::Variant(int(ado::adBookmarkFirst)));
        if (card.Rs.Eof())
            card.Rs.MoveFirst();
    }
    card.Contacto_ID = vb::CLng(card.Rs(QStringLiteral("contacto_id")));
    return card;
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

bool General::guard(const vb::Variant& PKey, int right)
{
    if (!Conn().bSQLConnected)
        return false;
    if (!modSQLConnection::CheckSQLConnection(nullptr).isEmpty())
        return false; // nothing raised here that would be reported
    if (modCheckPermissions::CheckObjectSecurity(Conn().strUser, keyOf(PKey), 2, right))
        return true;
    const QString text = right == modCheckPermissions::Create
                             ? QStringLiteral("Não tem permissões para criar este registo, contacte o "
                                              "administrador do sistema para que este "
                                              "lhe estabeleça as permissões necessárias.")
                             : QStringLiteral("Não tem permissões para abrir este registo, contacte o "
                                              "administrador do sistema para que este "
                                              "lhe estabeleça as permissões necessárias.");
    platform::WindowServices::current().messageBox(text, securityStyle, securityTitle);
    return false;
}

void General::ObjectOpen(RecordsetRef& tRs, const vb::Variant& PKey, const QString&, const QString&,
                         const ObjectRef& Caller, qint32 clCurrentIndex, qint32 clCurrentObject,
                         qint32 clLast_Related_ID)
{
    try {
        if (!guard(keyToCheck(tRs, PKey), modCheckPermissions::Open))
            return;
        frmInicial& card = cardOnRow(tRs, PKey, Caller);
        setListContext(card, clCurrentIndex, clCurrentObject, clLast_Related_ID);
        if (!card.Form_Load())
            return;
        const QPointer<frmMainChilds> previous = card.frmParent;
        card.frmParent = modParentsForm::GetNewParent(Caller);
        card.show();
        ownBy(card, previous);
    } catch (const vb::Error& e) {
        report(QStringLiteral("ObjectOpen"), e);
    }
}

void General::Registo(RecordsetRef& tRs, const vb::Variant& PKey, const QString&, const QString&,
                      const ObjectRef& Caller)
{
    try {
        if (!guard(keyToCheck(tRs, PKey), modCheckPermissions::Open))
            return;
        frmInicial& card = cardOnRow(tRs, PKey, Caller);
        if (card.Form_Load())
            card.show();
    } catch (const vb::Error& e) {
        report(QStringLiteral("Registo"), e);
    }
}

void General::ObjectNew(const QString&, const vb::Variant& PKey, qint32, const ObjectRef& Caller,
                        qint32 clCurrentIndex, qint32 clCurrentObject, qint32 clLast_Related_ID)
{
    try {
        if (!guard(PKey, modCheckPermissions::Create))
            return;
        frmInicial& card = cardFor(Caller);
        setListContext(card, clCurrentIndex, clCurrentObject, clLast_Related_ID);
        if (!card.Form_Load())
            return;
        const QPointer<frmMainChilds> previous = card.frmParent;
        card.frmParent = modParentsForm::GetNewParent(parentForm_ ? parentForm_ : Caller);
        QCoreApplication::processEvents();
        card.Novo(true);
        card.show();
        ownBy(card, previous);
    } catch (const vb::Error& e) {
        report(QStringLiteral("ObjectNew"), e);
    }
}

void General::NovoRegisto(const QString&, const vb::Variant& PKey, qint32, const ObjectRef& Caller)
{
    try {
        if (!guard(PKey, modCheckPermissions::Create))
            return;
        frmInicial& card = cardFor(Caller);
        if (!card.Form_Load())
            return;
        card.Novo(true);
        card.show();
    } catch (const vb::Error& e) {
        report(QStringLiteral("NovoRegisto"), e);
    }
}

void General::NovoRegistoTelefone(const QString&, const vb::Variant& strTelefone, const vb::Variant& PKey,
                                  qint32, const ObjectRef& Caller)
{
    try {
        if (!guard(PKey, modCheckPermissions::Create))
            return;
        frmInicial& card = cardFor(Caller);
        card.NewTelefone =
            strTelefone.isNull() || strTelefone.isMissing() ? QString() : vb::CStr(strTelefone);
        if (!card.Form_Load())
            return;
        card.Novo(true);
        card.show();
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
