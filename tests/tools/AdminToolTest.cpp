#include "platform/ado/embedded/CatalogBuilder.h"
#include "tests/support/ToolRun.h"
#include "tools/admin/CodeCheck.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AdminTool, CodesThatCanMatchInsideOthersAreFoundAndARightsDecisionIsExplained)
{
    EXPECT_TRUE(
        checkCodes({{"utilizador a", "$0001"}, {"utilizador b", "$0002"}, {"grupo g", "$0003"}}).isEmpty());
    const QList<CodeProblem> problems = checkCodes({{"utilizador a", "$0001"},
                                                    {"utilizador b", "U7"},
                                                    {"utilizador c", "U71"},
                                                    {"grupo g", "$00012"},
                                                    {"grupo h", "$0004"},
                                                    {"grupo i", ""}});
    QStringList seen;
    for (const CodeProblem& p : problems)
        seen.append(p.owner + u':' + p.code);
    EXPECT_TRUE(seen.contains(QStringLiteral("utilizador b:U7")));
    EXPECT_TRUE(seen.contains(QStringLiteral("utilizador c:U71")));
    EXPECT_TRUE(seen.contains(QStringLiteral("grupo g:$00012")));
    EXPECT_TRUE(seen.contains(QStringLiteral("utilizador a:$0001"))) << "a prefix of $00012";
    EXPECT_TRUE(seen.contains(QStringLiteral("grupo i:")));
    EXPECT_FALSE(seen.contains(QStringLiteral("grupo h:$0004")));

    // Codes holding LIKE's wildcards are named even when their width is the usual one.
    QStringList wild;
    for (const CodeProblem& p :
         checkCodes({{"utilizador a", "$1001"}, {"utilizador b", "$100_"}, {"grupo g", "$0[1]"}}))
        wild.append(p.owner + u':' + p.code);
    EXPECT_TRUE(wild.contains(QStringLiteral("utilizador b:$100_")));
    EXPECT_TRUE(wild.contains(QStringLiteral("grupo g:$0[1]")));
    EXPECT_FALSE(wild.contains(QStringLiteral("utilizador a:$1001")));

    // The tool explains a rights decision.
    QTemporaryDir dir;
    ado::embedded::createCatalogFromSchema(dir.path(), QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                           QStringLiteral("pw"), true, ado::embedded::HashStrength::Minimal);
    const auto run = [&](const char* user) {
        return testsupport::runTool(
            QStringLiteral("quarvenses-admin"),
            QStringList{QStringLiteral("can"), QStringLiteral("-S"), dir.path()} +
                QStringLiteral("-d Quarvenses -U sa -P pw %1 1 0").arg(QString::fromUtf8(user)).split(u' '));
    };
    const testsupport::ToolRun allowed = run("sa");
    EXPECT_EQ(allowed.exitCode, 0);
    EXPECT_TRUE(allowed.out.startsWith(QStringLiteral("permitido\nCondição: ( (user_code Like N'%")))
        << allowed.out.toStdString();
    EXPECT_TRUE(allowed.out.contains(QStringLiteral(
        "Instrução: SELECT * FROM tbTulvas_Contactos_Permitions WHERE (contacto_id = 1) AND (")));
    const testsupport::ToolRun refused = run("ninguém");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.startsWith(QStringLiteral("recusado\nCondição: \n")))
        << refused.out.toStdString();
}
