#include "tools/common/ToolCatalog.h"
#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "data/modData.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

namespace toolcatalog {

namespace {

const char16_t countUser[] = u"SELECT COUNT(*) AS n FROM tbUsers WHERE descrit = %1";

void connect(const QString& connectionString, const QString& user, const QString& product)
{
    ConnectionState& c = Conn();
    c.strUser = user;
    c.strDataServer = product;
    c.strSQLMasterConnString = StringCipher::Encipher(connectionString);
    Data().SqlServer.Open(connectionString);
    c.bSQLConnected = true;
}

bool knownUser(const QString& user)
{
    ado::Recordset rs;
    rs.Open(sql::compose(countUser, {modData::FormatSQLValue(vb::Variant(user), modData::kText)}),
            Data().SqlServer);
    return vb::CLng(rs(QStringLiteral("n"))) > 0;
}

} // namespace

QString openAs(const QString& server, const QString& catalog, const QString& connectionString,
               const QString& user, const QString& product)
{
    try {
        connect(connectionString, user, product);
        if (!knownUser(user))
            return QStringLiteral("«") + user +
                   QStringLiteral("» não é utilizador dos contactos no catálogo «") + catalog +
                   QStringLiteral("».");
    } catch (const vb::Error& e) {
        return QStringLiteral("Não foi possível ligar ao catálogo «") + catalog + QStringLiteral("» em «") +
               server + QStringLiteral("»: ") + e.description();
    }
    return {};
}

} // namespace toolcatalog
