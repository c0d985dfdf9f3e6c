#include "components/siblings/CardLink.h"

#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/SqlCompose.h"

#include <QCoreApplication>

namespace siblings {

namespace {

const char16_t selectContactKey[] = u"SELECT contacto_id FROM tbContactos WHERE contacto_id = %1";

} // namespace

CardLink::CardLink(const Credentials& credentials, const ado::Connection& connection, QObject* sheet)
    : credentials_(credentials), connection_(connection)
{
    connect(sheet, &QObject::destroyed, this, &CardLink::sheetGone);
    // The card's widgets must go while the application still exists.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { delete this; });
}

// The card works on the component's shared connection: a General connected
// once in the process answers at once.
bool CardLink::componentConnected()
{
    return general_.SQLConnect(credentials_.user, credentials_.password, credentials_.cnUser,
                               credentials_.cnPassword, credentials_.catalog, credentials_.dataSource,
                               credentials_.dataSourceSecondary, credentials_.flags);
}

bool CardLink::mayOpen(qint32 id)
{
    return componentConnected() && modCheckPermissions::CheckObjectSecurity(
                                       credentials_.user, id, card::fileKind, modCheckPermissions::Open);
}

bool CardLink::open(qint32 id)
{
    if (!componentConnected())
        return false;
    contact_ = ado::Recordset();
    contact_.Open(sql::compose(selectContactKey, {id}), connection_);
    if (contact_.Eof())
        return false;
    general_.ObjectOpen(contact_, vb::Variant(id));
    frmInicial* card = general_.card();
    if (!card || !card->isVisible() || card->Contacto_ID != id)
        return false;
    cardShown_ = true;
    connect(card, &frmInicial::unloaded, this, &CardLink::cardClosed, Qt::UniqueConnection);
    return true;
}

void CardLink::sheetGone()
{
    sheetAlive_ = false;
    if (!cardShown_)
        deleteLater();
}

void CardLink::cardClosed()
{
    cardShown_ = false;
    if (!sheetAlive_)
        deleteLater();
}

} // namespace siblings
