#include "connection/ConnectionStrings.h"

#include "platform/ado/ConnectionString.h"

namespace ConnectionStrings {

QString build(const QString& securityInfo, const QString& login, const QString& password, Ending ending,
              const QString& catalog, const QString& server)
{
    const auto q = [](const QString& value) { return ado::ConnectionString::quoteValue(value); };
    return QStringLiteral("Provider=SQLOLEDB.1;") + QStringLiteral("Persist Security Info=") +
           q(securityInfo) + u';' + QStringLiteral("User ID=") + q(login) + u';' +
           QStringLiteral("Password=") + q(password) +
           (ending == Ending::Encrypt ? QStringLiteral(";Encrypt=yes;") : QStringLiteral(";")) +
           QStringLiteral("Initial Catalog=") + q(catalog) + u';' + QStringLiteral("Data Source=") +
           q(server) + u';' + QStringLiteral("Connect Timeout=15");
}

} // namespace ConnectionStrings
