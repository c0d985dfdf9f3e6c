#include "tests/support/TestServer.h"

#include "platform/ado/embedded/EmbeddedServer.h"

namespace adotest {

using ado::embedded::EmbeddedServer;

EmbeddedTestServer::EmbeddedTestServer()
{
    EmbeddedServer::createLogin(dir_.path(), QStringLiteral("sa"), QStringLiteral("segredo"),
                                ado::embedded::HashStrength::Minimal);
    EmbeddedServer::createCatalog(dir_.path(), QStringLiteral("Teste"));
}

QString EmbeddedTestServer::connectionString() const
{
    return connectionString(QStringLiteral("sa"), QStringLiteral("segredo"));
}

QString EmbeddedTestServer::connectionString(const QString& user, const QString& password) const
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=%1;Password=%2;"
                          "Initial Catalog=Teste;Data Source=%3;Connect Timeout=15")
        .arg(user, password, dir_.path());
}

} // namespace adotest
