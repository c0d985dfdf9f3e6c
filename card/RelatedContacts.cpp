// Opening a related contact: the sibling product's contact component shows
// it on its own card, connected as this component is.
#include "card/frmInicial.h"

#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "data/modSQLConnection.h"
#include "platform/ado/SqlCompose.h"
#include "platform/objects/CreateObject.h"
#include "platform/objects/SiblingContacts.h"

namespace {

const char16_t selectOne[] = u"SELECT %1 as contacto_id";
const QString sanovia = QStringLiteral("Sanovia");

} // namespace

void frmInicial::ucIDRelacionados1_RequestOpen(qint32& id)
{
    auto list = std::make_shared<ado::Recordset>();
    try {
        ConnectionState& c = Conn();
        const bool isSanovia = c.strDataServer == sanovia;
        const QString progId = QString::fromLatin1(isSanovia ? contracts::SiblingContacts::SnviaProgId
                                                             : contracts::SiblingContacts::TravixProgId);
        if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty())
            throw vb::Error(0, refused);
        list->Open(sql::compose(selectOne, {id}), Data().SqlServer);
        if (!list->Eof()) {
            std::shared_ptr<contracts::SiblingContacts> sibling =
                vb::CreateObjectAs<contracts::SiblingContacts>(progId);
            QString user = c.strUser, password = c.strPassword, cnUser = c.strCnUser,
                    cnPassword = c.strCnPassword, catalog = c.strInitialCatalog, source = c.strDataSource,
                    secondary = c.strDataSourceSecondary;
            sibling->SQLConnect(user, password, cnUser, cnPassword, catalog, source, secondary,
                                isSanovia ? 1 : 0);
            sibling->Registo(list, id);
        }
        if (list && !list->isNothing() && list->State() == ado::adStateOpen)
            list->Close(); // the sibling may have put another one in its place
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("ucIDRelacionados1_RequestOpen"), e);
    }
}
