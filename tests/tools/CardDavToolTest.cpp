// quarvenses-carddav run as a site's administrator would, against a
// throw-away Radicale: what it says and the status it ends with.
#include "platform/ado/embedded/CatalogBuilder.h"
#include "tests/support/Radicale.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ToolRun.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString davUser = QStringLiteral("ana");
const QString davPassword = QStringLiteral("senha-ana");
const char* const passwordVariable = "QUARVENSES_CARDDAV_PASSWORD";

testsupport::ToolRun carddavTool(const QTemporaryDir& dir, const QStringList& options)
{
    const QStringList connection =
        QStringList{QStringLiteral("sync"), QStringLiteral("-S"), dir.filePath(QStringLiteral("servidor"))} +
        QStringLiteral("-d Quarvenses -U sa -P pw").split(u' ');
    return testsupport::runTool(QStringLiteral("quarvenses-carddav"), connection + options, 120000);
}

const QString totals = QStringLiteral("Enviados: 43, recebidos: 0, apagados no servidor: 0, retirados do "
                                      "ficheiro: 0, conflitos: 0, por fazer: 0.\n");

} // namespace

TEST(CardDavTool, SyncsTheFileAndSaysWhyItStopped)
{
    testsupport::ScopedSettings settings;
    testsupport::Radicale server({davUser + u':' + davPassword});
    if (!server.running())
        GTEST_SKIP() << server.failure().toStdString();
    QTemporaryDir dir;
    ado::embedded::createCatalogFromSchema(dir.filePath(QStringLiteral("servidor")),
                                           QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                           QStringLiteral("pw"), true, ado::embedded::HashStrength::Minimal);
    const QStringList book{QStringLiteral("--url"),
                           server.makeBook(davUser, davPassword, QStringLiteral("livro")).toString(),
                           QStringLiteral("--dav-user"), davUser};
    qputenv(passwordVariable, davPassword.toUtf8());

    const testsupport::ToolRun first = carddavTool(dir, book);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.startsWith(QStringLiteral("Livro de endereços: "))) << first.out.toStdString();
    EXPECT_EQ(first.out.count(QStringLiteral("\n  Enviado: ")), 43);
    EXPECT_TRUE(first.out.endsWith(totals)) << first.out.toStdString();

    const testsupport::ToolRun stranger =
        carddavTool(dir, book + QStringList{QStringLiteral("--user"), QStringLiteral("fulano")});
    EXPECT_EQ(stranger.exitCode, 2);
    EXPECT_EQ(stranger.err,
              QStringLiteral("«fulano» não é utilizador dos contactos no catálogo «Quarvenses».\n"));
    const testsupport::ToolRun noBook = carddavTool(dir, {});
    EXPECT_EQ(noBook.exitCode, 2);
    EXPECT_TRUE(noBook.err.startsWith(QStringLiteral("Tem de indicar --url e --dav-user.\nUtilização: ")));
    qputenv(passwordVariable, "errada");
    const testsupport::ToolRun refused = carddavTool(dir, book);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err,
              QStringLiteral("A sincronização parou: o servidor recusou o utilizador ou a senha.\n"));
    qunsetenv(passwordVariable);
}
