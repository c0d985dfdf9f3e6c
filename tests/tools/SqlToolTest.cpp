#include "platform/ado/embedded/EmbeddedServer.h"
#include "tests/support/ToolRun.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

using ado::embedded::EmbeddedServer;
using testsupport::ToolRun;

// A login and an empty catalog in a folder of their own, and the tool run on them.
TEST(SqlTool, RunsAScriptPrintsTablesAndCountsAndShowsErrorsWithTheirNumber)
{
    QTemporaryDir dir;
    EmbeddedServer::createLogin(dir.path(), QStringLiteral("admin"), QStringLiteral("p;w"),
                                ado::embedded::HashStrength::Minimal);
    EmbeddedServer::createCatalog(dir.path(), QStringLiteral("Quarvenses"));
    const auto run = [&](const QStringList& extra, const QByteArray& input = {},
                         const QString& password = QStringLiteral("p;w")) {
        const QStringList connection = QStringList{QStringLiteral("-S"), dir.path()} +
                                           QStringLiteral("-d Quarvenses -U admin -P").split(u' ')
                                       << password;
        return testsupport::runTool(QStringLiteral("quarvenses-sql"), connection + extra, 30000, input);
    };

    const ToolRun created =
        run({}, "CREATE TABLE tbGroups (group_id INT PRIMARY KEY, descrit NVARCHAR(40))\nGO\n"
                "INSERT INTO tbGroups VALUES (1, 'Administração'); INSERT INTO tbGroups VALUES (2, NULL)\n"
                "go\n");
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.contains(QStringLiteral("(1 linhas afectadas)"))) << created.out.toStdString();

    const ToolRun table = run(
        {QStringLiteral("-Q"), QStringLiteral("SELECT group_id, descrit FROM tbGroups ORDER BY group_id")});
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    EXPECT_EQ(table.out, QStringLiteral("group_id descrit\n"
                                        "-------- -------------\n"
                                        "1        Administração\n"
                                        "2        NULL\n"
                                        "\n(2 linhas afectadas)\n"));

    const ToolRun csv = run({QStringLiteral("-s"), QStringLiteral(","), QStringLiteral("-Q"),
                             QStringLiteral("SELECT descrit, 'a,b' as x FROM tbGroups WHERE group_id = 1")});
    EXPECT_EQ(csv.out, QStringLiteral("descrit,x\nAdministração,\"a,b\"\n\n(1 linha afectada)\n"));

    // Errors are shown with their number and end in failure.
    const ToolRun bad = run({QStringLiteral("-Q"), QStringLiteral("SELECT * FROM tbNada")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("Msg -2147217900: "))) << bad.err.toStdString();

    const ToolRun refused =
        run({QStringLiteral("-Q"), QStringLiteral("SELECT 1 as um")}, {}, QStringLiteral("errada"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("'admin'")));
}
