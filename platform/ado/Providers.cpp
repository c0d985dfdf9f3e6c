#include "platform/ado/Providers.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/ado/odbc/OdbcSession.h"

namespace ado {

std::unique_ptr<Session> openSession(const ConnectionString& connection, int timeoutSeconds,
                                     const std::atomic_bool* cancelled)
{
    const QString provider = connection.value(QStringLiteral("Provider"));
    if (!provider.isEmpty() && !provider.startsWith(QStringLiteral("SQLOLEDB"), Qt::CaseInsensitive))
        throw error::provider(QStringLiteral("O fornecedor «%1» não está disponível.").arg(provider));
    if (embedded::EmbeddedServer::isEmbeddedSource(connection.dataSource()))
        return embedded::EmbeddedServer::connect(connection, timeoutSeconds, cancelled);
    return odbc::OdbcSession::connect(connection, timeoutSeconds);
}

} // namespace ado
