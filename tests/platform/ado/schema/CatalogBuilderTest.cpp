// Creating a catalog from the scripts, the demonstration data it holds, and
// quarvenses-sql --create.
#include "tests/platform/VbFailure.h"
#include "tests/platform/ado/schema/CatalogFixture.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/ToolRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace schematest;
using ado::embedded::EmbeddedServer;
using ado::embedded::HashStrength;
using vbtest::failureOf;

namespace {

class CatalogBuilder : public CatalogTest {
  protected:
    void createAs(const QString& dataSource, const QString& catalog, const QString& password,
                  bool demo = false)
    {
        ado::embedded::createCatalogFromSchema(dataSource, catalog, QStringLiteral("sa"), password, demo,
                                               HashStrength::Minimal);
    }
};

// Every entry of a mask is a known code followed by four digits 0 to 2.
bool isMaskOf(const QString& mask, const QStringList& codes)
{
    static const QRegularExpression entry(QStringLiteral("\\G(\\$\\d{4})[012]{4}"));
    qsizetype at = 0;
    for (auto it = entry.globalMatch(mask); it.hasNext();) {
        const auto match = it.next();
        if (!codes.contains(match.captured(1)))
            return false;
        at = match.capturedEnd();
    }
    return at == mask.size();
}

} // namespace

TEST_F(CatalogBuilder, TheDemonstrationDataHasWhatTheSystemNeeds)
{
    create(true);
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE genero_id = 1")), 20);
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE genero_id = 2")), 10);
    EXPECT_EQ(
        column(QStringLiteral("SELECT descrit FROM tbContactos_Tipos_Links l JOIN tbContactos_Tipos t ON "
                              "t.contacto_tipo_id = l.contacto_tipo_id WHERE l.contacto_id = 1")),
        QStringList{"Contactos Quarvenses"});
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT related FROM tbContactos_Tipos WHERE descrit = 'Contactos Quarvenses'")),
              QStringList{"tbTulvas_Contactos"});
    EXPECT_EQ(column(QStringLiteral("SELECT contacto_id FROM tbContactos WHERE user_delete <> 0")),
              QStringList{"2"});
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE no_contribuinte IS NULL")), 1);
    EXPECT_EQ(
        column(QStringLiteral("SELECT valor FROM tbConfig WHERE variavel = 'FXFontName' AND module_id = 3"))
            .size(),
        1);

    // Two contacts with one tax number (spaces aside), in different files.
    const QStringList twins = column(QStringLiteral(
        "SELECT a.contacto_id FROM tbContactos a, tbContactos b WHERE a.contacto_id <> b.contacto_id "
        "AND replace(a.no_contribuinte,' ','') = replace(b.no_contribuinte,' ','') ORDER BY a.contacto_id"));
    ASSERT_EQ(twins.size(), 2);
    const auto filesOf = [&](const QString& id) {
        return column(
            QStringLiteral(
                "SELECT contacto_tipo_id FROM tbContactos_Tipos_Links WHERE contacto_id = %1 ORDER BY 1")
                .arg(id));
    };
    EXPECT_NE(filesOf(twins[0]), filesOf(twins[1]));

    // The login "sa" is a user; every user has exactly one primary group;
    // every code is "$" and four digits; every mask is made of known codes.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbUsers WHERE descrit = 'sa'")), 1);
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT COUNT(*) FROM tbUsers u WHERE (SELECT COUNT(*) FROM tbGroups_Users_Links l "
                  "WHERE l.user_id = u.user_id AND l.predef <> 0) <> 1")),
              0);
    const QStringList users = column(QStringLiteral("SELECT code FROM tbUsers"));
    const QStringList groups = column(QStringLiteral("SELECT code FROM tbGroups"));
    for (const QString& code : users + groups)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\$\\d{4}$")).match(code).hasMatch())
            << code.toStdString();
    int masks = 0;
    for (const QString& table :
         column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                               "(name LIKE '%_Permitions' OR name LIKE '%_Criar_Groups' OR name = "
                               "'tbContactos_Comunicacoes')"))) {
        for (const auto& [kind, codes] : {std::pair{"user_code", users}, std::pair{"group_code", groups}}) {
            for (const QString& mask :
                 column(QStringLiteral("SELECT %2 FROM %1 WHERE %2 <> ''").arg(table, kind))) {
                EXPECT_TRUE(isMaskOf(mask, codes)) << table.toStdString() << ": " << mask.toStdString();
                ++masks;
            }
        }
    }
    EXPECT_GT(masks, 80);
    // sa may create in the component's file through its primary group.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbTulvas_Contactos_Permitions_Criar_Groups c JOIN "
                                   "tbGroups g ON g.code = c.code "
                                   "JOIN tbGroups_Users_Links l ON l.group_id = g.group_id AND l.predef <> 0 "
                                   "JOIN tbUsers u ON u.user_id = l.user_id WHERE u.descrit = 'sa'")),
              1);

    // Every contact of the file has its permission row, a default address,
    // telephone and e-mail, and one row in the mail-merge view.
    const int filed = count(QStringLiteral("SELECT COUNT(*) FROM tbTulvas_Contactos"));
    EXPECT_GE(filed, 40);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbTulvas_Contactos_Permitions")), filed);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM vwContactos_Quarvenses_Completos")), filed);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM vwContactos_Quarvenses_Completos WHERE morada IS "
                                   "NULL OR telefone IS NULL")),
              0);
    EXPECT_LE(
        count(QStringLiteral("SELECT COUNT(*) FROM vwContactos_Quarvenses_Completos WHERE email IS NULL")),
        1);
    EXPECT_GT(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Eventos WHERE activado <> 0")), 10);
    ado::Recordset row = connection.Execute(
        QStringLiteral("SELECT * FROM vwContactos_Quarvenses_Completos WHERE contacto_id = 30"));
    EXPECT_EQ(vb::CStr(row(QStringLiteral("nome"))), QStringLiteral("Mariana"));
    EXPECT_EQ(vb::CStr(row(QStringLiteral("email"))), QStringLiteral("mariana.carvalho@exemplo.pt"));
    EXPECT_TRUE(connection
                    .Execute(QStringLiteral(
                        "SELECT nome FROM vwContactos_Quarvenses_Completos WHERE contacto_id = 1"))
                    .Fields(0)
                    .Value()
                    .isNull())
        << "an institution has no first name";
}

TEST_F(CatalogBuilder, NeverOverwritesNorTakesOverWhatExistsNorGoesOutsideItsFolder)
{
    create(false);
    connection.Execute(
        QStringLiteral("INSERT INTO tbConfig (module_id, variavel, valor) VALUES (1, 'x', 'y')"));
    EXPECT_TRUE(failureOf([&] {
                    createAs(dir.path(), QStringLiteral("Quarvenses"), QStringLiteral("pw"), true);
                }).contains(QStringLiteral("já existe")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbConfig")), 1);

    // A second catalog on the server needs the login's own password, which stays.
    EXPECT_FALSE(failureOf([&] {
                     createAs(dir.path(), QStringLiteral("Outra"), QStringLiteral("outra senha"));
                 }).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/Outra.db")));
    EXPECT_TRUE(EmbeddedServer::verifyLogin(dir.path(), QStringLiteral("sa"), QStringLiteral("pw")));
    EXPECT_FALSE(
        EmbeddedServer::verifyLogin(dir.path(), QStringLiteral("sa"), QStringLiteral("outra senha")));
    createAs(QStringLiteral("file:") + dir.path(), QStringLiteral("Outra"), QStringLiteral("pw"));
    EXPECT_TRUE(QFileInfo::exists(dir.path() + QStringLiteral("/Outra.db")));

    // Nor what is not a local folder or a plain name.
    const QString before = QDir::current().entryList().join(u',');
    EXPECT_TRUE(failureOf([&] {
                    createAs(QStringLiteral("servidor01"), QStringLiteral("Quarvenses"),
                             QStringLiteral("pw"));
                }).contains(QStringLiteral("não é uma pasta local")));
    EXPECT_EQ(QDir::current().entryList().join(u','), before);
    for (const char* name : {"", "../fora", "a/b", ".escondida"})
        EXPECT_FALSE(
            failureOf([&] { createAs(dir.path(), QString::fromUtf8(name), QStringLiteral("pw")); }).isEmpty())
            << name;
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.db")}, QDir::Files),
              (QStringList{"master.db", "Outra.db", "Quarvenses.db"}));

    // A failing script leaves no catalog.
    const QString nova = dir.path() + QStringLiteral("/Nova.db");
    QTemporaryDir scripts;
    for (const QString& name : {QStringLiteral("/embedded.sql"), QStringLiteral("/embedded-list.sql"),
                                QStringLiteral("/embedded-later.sql")})
        ASSERT_TRUE(QFile::copy(ado::embedded::schemaFolder() + name, scripts.path() + name));
    QFile demo(scripts.path() + QStringLiteral("/demo.sql"));
    ASSERT_TRUE(demo.open(QIODevice::WriteOnly));
    demo.write("INSERT INTO tbConfig (module_id, variavel, valor) VALUES (1, 'a', 'b');\nINSERT INTO tbNada "
               "VALUES (1);\n");
    demo.close();
    const testsupport::EnvGuard folder("QUARVENSES_SCHEMA_DIR", scripts.path().toUtf8());

    const QString failure =
        failureOf([&] { createAs(dir.path(), QStringLiteral("Nova"), QStringLiteral("pw"), true); });
    EXPECT_TRUE(failure.contains(QStringLiteral("demo.sql")) && failure.contains(QStringLiteral("tbNada")))
        << failure.toStdString();
    EXPECT_FALSE(QFileInfo::exists(nova));

    QFile::remove(scripts.path() + QStringLiteral("/embedded.sql"));
    EXPECT_TRUE(failureOf([&] {
                    createAs(dir.path(), QStringLiteral("Nova"), QStringLiteral("pw"));
                }).contains(QStringLiteral("embedded.sql")));
    EXPECT_FALSE(QFileInfo::exists(nova));
}

TEST_F(CatalogBuilder, TheSqlToolCreatesACatalogWithItsFirstLogin)
{
    if (!QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/quarvenses-sql")))
        GTEST_SKIP() << "quarvenses-sql is not built beside the tests";
    const QStringList target = QStringList{QStringLiteral("-S"), dir.path()} +
                               QStringLiteral("-d Demo -U gestor -P s;e'nha").split(u' ');
    const auto run = [](const QStringList& arguments) {
        return testsupport::runTool(QStringLiteral("quarvenses-sql"), arguments, 60000);
    };
    testsupport::ToolRun created =
        run(QStringList{QStringLiteral("--create"), QStringLiteral("--demo")} + target);
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(created.out.contains(QStringLiteral("Demo"))) << created.out.toStdString();

    const testsupport::ToolRun query = run(
        target + QStringList{QStringLiteral("-s"), QStringLiteral(","), QStringLiteral("-Q"),
                             QStringLiteral("SELECT COUNT(*) AS n FROM vwContactos_Quarvenses_Completos")});
    EXPECT_EQ(query.exitCode, 0) << query.err.toStdString();
    EXPECT_TRUE(query.out.startsWith(QStringLiteral("n\n4"))) << query.out.toStdString();

    const testsupport::ToolRun again = run(QStringList{QStringLiteral("--create")} + target);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("já existe"))) << again.err.toStdString();
}
