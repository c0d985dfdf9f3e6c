#include "tools/common/ToolConnection.h"

#include "platform/ado/ConnectionString.h"

QString toolConnectionString(const QString& server, const QString& catalog, const QString& login,
                             const QString& password)
{
    ado::ConnectionString s;
    s.set(QStringLiteral("Provider"), QStringLiteral("SQLOLEDB.1"));
    s.set(QStringLiteral("User ID"), login);
    s.set(QStringLiteral("Password"), password);
    s.set(QStringLiteral("Initial Catalog"), catalog);
    s.set(QStringLiteral("Data Source"), server);
    return s.toString();
}
