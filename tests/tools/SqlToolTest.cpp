#include "platform/ado/embedded/EmbeddedServer.h"
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using ado::embedded::EmbeddedServer;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class SqlTool : public ::testing::Test {
  protected:
    void SetUp() override
    {
        EmbeddedServer::createLogin(dir.path(), QStringLiteral("admin"), QStringLiteral("p;w"),
                                    ado::embedded::HashStrength::Minimal);
        EmbeddedServer::createCatalog(dir.path(), QStringLiteral("Quarvenses"));
    }

    ToolRun run(QStringList extra, const QByteArray& input = {})
    {
        QStringList args = {QStringLiteral("-S"),         dir.path(),           QStringLiteral("-d"),
                            QStringLiteral("Quarvenses"), QStringLiteral("-U"), QStringLiteral("admin"),
                            QStringLiteral("-P"),         QStringLiteral("p;w")};
        args += extra;
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quarvenses-sql"), args);
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(30000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(SqlTool, RunsAScriptAndPrintsTablesAndCounts)
{
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
}

TEST_F(SqlTool, ErrorsAreShownWithTheirNumberAndEndInFailure)
{
    const ToolRun bad = run({QStringLiteral("-Q"), QStringLiteral("SELECT * FROM tbNada")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("Msg -2147217900: "))) << bad.err.toStdString();
    // SQLite's own statements are refused by name here too.
    for (const char* sqliteOnly :
         {"ATTACH DATABASE 'master.db' AS m", "VACUUM INTO '/tmp/c.db'", "PRAGMA user_version"}) {
        const ToolRun refused = run({QStringLiteral("-Q"), QString::fromUtf8(sqliteOnly)});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_TRUE(refused.err.contains(QString::fromUtf8(sqliteOnly).section(u' ', 0, 0)))
            << refused.err.toStdString();
    }

    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quarvenses-sql"),
            {QStringLiteral("-S"), dir.path(), QStringLiteral("-d"), QStringLiteral("Quarvenses"),
             QStringLiteral("-U"), QStringLiteral("admin"), QStringLiteral("-P"), QStringLiteral("errada"),
             QStringLiteral("-Q"), QStringLiteral("SELECT 1 as um")});
    p.waitForFinished(30000);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("'admin'")));
}
