#include "tools/common/ToolCatalog.h"
#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "data/modData.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

namespace toolcatalog {

namespace {

const char16_t countUser[] = u"SELECT COUNT(*) AS n FROM tbUsers WHERE descrit = %1";

} // namespace

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

} // namespace toolcatalog
