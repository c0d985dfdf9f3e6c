// Saving the card: the question before leaving unsaved changes, the common
// start of every save (connection, rights), and its two ends. A save is whole
// or not at all: each tab's writes run in one TransactionScope, and any
// failure on the way rolls all of them back, keeps the changed flag and
// tells the user that nothing was saved.
#include "card/CardMessages.h"
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "data/modSQLConnection.h"
#include "panels/IdentityPanel.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDObs.h"
#include "panels/ucIDPermitions.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTulvas.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/AdoError.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace {

using namespace platform::msgbox;
using card::lineBreak;

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

// A failure that came from the connection, not from what was typed.
bool connectionFailure(const vb::Error& e)
{
    return e.number() == ado::error::TransactionLost || e.number() == ado::error::ServerUnreachable ||
           e.number() == vb::errnum::AdoObjectClosed;
}

} // namespace

frmInicial::Busy::Busy(frmInicial& card) : card_(card)
{
    platform::WindowServices::current().setMousePointer(&card_, platform::pointer::Hourglass);
    card_.setToolbarEnabled(false);
}

frmInicial::Busy::~Busy()
{
    platform::WindowServices::current().setMousePointer(&card_, platform::pointer::Default);
    card_.setToolbarEnabled(true);
}

qint32 frmInicial::AskForSavings(qint32 frame)
{
    try {
        if (!isVisible() || !changed_)
            return 0;
        const qint32 answer =
            windows().messageBox(QStringLiteral("Foram feitas alterações a esta ficha.") + lineBreak +
                                     lineBreak + QStringLiteral("Deseja gravar as alterações efectuadas?"),
                                 Question | YesNoCancel, caption());
        if (answer == AnswerYes) {
            qint32 tab = frame == 0 ? selectedTab() : frame;
            GravarCampos(tab);
        }
        return answer;
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("AskForSavings"), e);
        return 0;
    }
}

// A right that could not be checked because the server did not answer is
// told as such, never as a refusal.
bool frmInicial::refuseRight(const QString& refusal, bool couldNotAsk)
{
    if (couldNotAsk)
        windows().messageBox(card::serverUnreachable, Information, caption());
    else
        windows().messageBox(refusal, card::securityStyle, card::securityTitle);
    return false;
}

bool frmInicial::GravarCampos(qint32& index)
{
    try {
        if (!tabHoldsWhatIsStored(index))
            return false;
        if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty())
            return saveFailed(vb::Error(0, card::connectionLost));
        const QString& user = Conn().strUser;
        bool couldNotAsk = false;
        const bool allowed =
            isNew ? modCheckPermissions::CheckObjectSecurity(user, 0, card::fileKind,
                                                             modCheckPermissions::Create, &couldNotAsk)
                  : modCheckPermissions::CheckObjectSecurity(user, Contacto_ID, card::fileKind,
                                                             modCheckPermissions::Change, &couldNotAsk);
        if (!allowed)
            return refuseRight(isNew ? card::refusedCreate : card::refusedChange, couldNotAsk);
        switch (index) {
        case card::tabIdentification:
            return saveIdentification();
        case card::tabOtherInformation:
            return saveOtherInformation();
        case card::tabPermissions:
            return savePermissions();
        default:
            saveSucceeded();
            return true;
        }
    } catch (const vb::Error& e) {
        return saveFailed(e);
    }
}

// What a save of the tab writes. A panel that could not be read holds
// nothing of the contact: saving it would delete what is stored.
bool frmInicial::tabHoldsWhatIsStored(int tab)
{
    QList<IdentityPanel*> written;
    bool eventsUnread = false;
    switch (tab) {
    case card::tabIdentification:
        written = subPanels();
        written.prepend(singular_ ? static_cast<IdentityPanel*>(ucIDSingular1) : ucIDInstitucional1);
        break;
    case card::tabOtherInformation:
        written = {ucIDObs1, ucIDTulvas1};
        eventsUnread = prpEventos && !eventsRead_;
        break;
    case card::tabPermissions:
        written = {ucIDPermitions1, ucIDTulvas1};
        break;
    default:
        return true;
    }
    if (!IdentityPanel::firstUnread(written) && !eventsUnread)
        return true;
    windows().setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
    const int answer = windows().messageBox(card::notRead + lineBreak + lineBreak + card::readAgainQuestion,
                                            Exclamation | YesNo, caption());
    if (answer == AnswerYes) {
        qint32 again = tab;
        PreencherCampos(again);
        if (!IdentityPanel::firstUnread(written) && (tab != card::tabOtherInformation || eventsRead_)) {
            prpEventos = false;
            setPrpAlteracoes(false);
        }
    }
    return false;
}

void frmInicial::tellIfNotShown(const QString& done)
{
    QList<IdentityPanel*> shown = tabPanels(card::tabIdentification);
    shown.removeAll(singular_ ? static_cast<IdentityPanel*>(ucIDInstitucional1) : ucIDSingular1);
    if (!IdentityPanel::firstUnread(shown))
        return;
    windows().messageBox(
        done + QStringLiteral(" Não foi possível, porém, lê-lo de novo do servidor para o mostrar.") +
            lineBreak + lineBreak + card::reopenAdvice,
        Exclamation, caption());
}

void frmInicial::tellNotDone(const QString& what, const vb::Error& why)
{
    windows().setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
    const bool lost = connectionFailure(why) || Data().SqlServer.TransactionLost() ||
                      Data().SqlServer.State() != ado::adStateOpen;
    const QString reason = lost ? QStringLiteral("A ligação ao servidor perdeu-se.") : why.description();
    windows().messageBox(reason.trimmed().isEmpty() ? what : what + lineBreak + lineBreak + reason,
                         Information, caption());
}

bool frmInicial::hasRight(qint32 action, const QString& refusal)
{
    bool couldNotAsk = false;
    if (modCheckPermissions::CheckObjectSecurity(Conn().strUser, Contacto_ID, card::fileKind, action,
                                                 &couldNotAsk))
        return true;
    return refuseRight(refusal, couldNotAsk);
}

void frmInicial::saveSucceeded()
{
    windows().setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
}

// The failure end. The caller's TransactionScope has rolled back (or does so
// as it goes); the changed flag stays as it was.
bool frmInicial::saveFailed(const vb::Error& error)
{
    windows().setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
    const bool lost = connectionFailure(error) || Data().SqlServer.TransactionLost() ||
                      Data().SqlServer.State() != ado::adStateOpen;
    const QString text = lost ? card::connectionLost : error.description();
    if (!text.isEmpty())
        windows().messageBox(text, Information, caption());
    if (!connectionFailure(error))
        reportError(QStringLiteral("GravarCampos"), error);
    return false;
}
