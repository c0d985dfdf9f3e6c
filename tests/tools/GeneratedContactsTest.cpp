// quarvenses-sql --create --demo --contacts N: the catalog it makes holds
// whole, consistent contacts, and the same N makes the same catalog.
#include "data/TaxNumber.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/values/Conversions.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/ToolRun.h"
#include "tools/sql/ContactGenerator.h"
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int generated = 2000;
const QString catalog = QStringLiteral("Quarvenses");

using testsupport::ToolRun;

ToolRun runTool(const QString& folder, const QStringList& extra)
{
    const QStringList connection =
        QStringList{QStringLiteral("-S"), folder} + QStringLiteral("-d Quarvenses -U sa -P pw").split(u' ');
    return testsupport::runTool(QStringLiteral("quarvenses-sql"), extra + connection, 120000);
}

QString connectionString(const QString& folder)
{
    return QStringLiteral("User ID=sa;Password=pw;Initial Catalog=Quarvenses;Data Source=") + folder;
}

int numberIn(ado::Connection& c, const QString& sql)
{
    return vb::CLng(c.Execute(sql).Fields(0).Value());
}

// The first column of every row, as text.
QStringList columnIn(ado::Connection& c, const QString& sql)
{
    QStringList values;
    for (ado::Recordset rs = c.Execute(sql); !rs.Eof(); rs.MoveNext())
        values.append(vb::CStr(rs.Fields(0).Value()));
    return values;
}

} // namespace

// Two catalogs made with the same count, and one with the demonstration
// data alone to tell the generated contacts from the others.
TEST(GeneratedContacts, TheSameCountMakesTheSameCatalogOfWholeConsistentContacts)
{
    const QStringList createWithContacts =
        QStringLiteral("--create --demo --contacts %1").arg(generated).split(u' ');
    QTemporaryDir first, second, demoOnly;
    const ToolRun made = runTool(first.path(), createWithContacts);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(made.out.contains(QString::number(generated))) << made.out.toStdString();
    const ToolRun demoRun = runTool(demoOnly.path(), {QStringLiteral("--create"), QStringLiteral("--demo")});
    ASSERT_EQ(demoRun.exitCode, 0) << demoRun.err.toStdString();
    ado::Connection connection;
    ado::Connection demo;
    connection.Open(connectionString(first.path()));
    demo.Open(connectionString(demoOnly.path()));
    const int lastDemoContact = numberIn(demo, QStringLiteral("SELECT MAX(contacto_id) FROM tbContactos"));
    const QString fresh = QStringLiteral(" WHERE contacto_id > ") + QString::number(lastDemoContact);
    const auto number = [&](const QString& sql) { return numberIn(connection, sql); };
    const auto column = [&](const QString& sql) { return columnIn(connection, sql); };
    // The rows of `table` that belong to generated contacts, and meet `condition`.
    const auto generatedRows = [&](const QString& table, const QString& condition = {}) {
        return number(QStringLiteral("SELECT COUNT(*) FROM ") + table + fresh +
                      (condition.isEmpty() ? QString() : QStringLiteral(" AND ") + condition));
    };

    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM tbContactos")), lastDemoContact + generated);
    EXPECT_EQ(number(QStringLiteral("SELECT MIN(contacto_id) FROM tbContactos") + fresh),
              lastDemoContact + 1);
    // The demonstration data is still what it was.
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Relacionados WHERE contacto_id <= ") +
                     QString::number(lastDemoContact)),
              numberIn(demo, QStringLiteral("SELECT COUNT(*) FROM tbContactos_Relacionados")));

    // The demonstration data has its own shape (a contact without e-mail); the
    // generated contacts all have one default address, telephone and e-mail.
    EXPECT_EQ(testsupport::incompleteContacts(first.path(), catalog), QStringList());
    // The load set the indexes and the list's triggers aside: all are back.
    EXPECT_EQ(testsupport::searchIndexIntegrity(first.path(), catalog), QStringLiteral("ok"));
    const QString schemaObjects =
        QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type IN ('index', 'trigger')");
    EXPECT_EQ(number(schemaObjects), numberIn(demo, schemaObjects));
    for (const char* ways :
         {"tbContactos_Moradas WHERE morada_default = 1", "tbContactos_Telefones WHERE telefone_default = 1",
          "tbContactos_Emails WHERE email_default = 1"}) {
        const QString table = QString::fromLatin1(ways).section(u' ', 0, 0);
        const QString defaults = QString::fromLatin1(ways).section(u' ', 1);
        EXPECT_EQ(generatedRows(QStringLiteral("tbContactos c"),
                                QStringLiteral("(SELECT COUNT(*) FROM ") + table + QStringLiteral(" w ") +
                                    defaults + QStringLiteral(" AND w.contacto_id = c.contacto_id) <> 1")),
                  0)
            << ways;
        EXPECT_GT(generatedRows(table), generated) << "some contacts have more than one: " << ways;
    }
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Moradas WHERE codigo_postal NOT LIKE "
                                    "'[0-9][0-9][0-9][0-9]-[0-9][0-9][0-9]'")),
              0);

    // Members of every file have their row and permissions.
    int otherMembers = 0;
    for (ado::Recordset files =
             connection.Execute(QStringLiteral("SELECT contacto_tipo_id, related FROM tbContactos_Tipos"));
         !files.Eof(); files.MoveNext()) {
        const QString type = vb::CStr(files(QStringLiteral("contacto_tipo_id")));
        const QString table = vb::CStr(files(QStringLiteral("related")));
        const QString members =
            QStringLiteral("SELECT contacto_id FROM tbContactos_Tipos_Links WHERE contacto_tipo_id = ") +
            type;
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM (") + members +
                         QStringLiteral(") m WHERE contacto_id NOT IN (SELECT contacto_id FROM ") + table +
                         QStringLiteral(") OR contacto_id NOT IN (SELECT contacto_id FROM ") + table +
                         QStringLiteral("_Permitions)")),
                  0)
            << table.toStdString();
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM ") + table +
                         QStringLiteral(" WHERE contacto_id NOT IN (") + members + u')'),
                  0)
            << table.toStdString();
        if (table != QStringLiteral("tbTulvas_Contactos"))
            otherMembers += generatedRows(table);
    }
    EXPECT_EQ(generatedRows(QStringLiteral("tbTulvas_Contactos")), generated)
        << "every generated contact is in Contactos Quarvenses";
    EXPECT_GT(otherMembers, generated / 10) << "some are in other files too";

    // Tax numbers are valid and unique.
    QSet<QString> seen;
    for (const QString& n : column(QStringLiteral("SELECT no_contribuinte FROM tbContactos") + fresh)) {
        EXPECT_TRUE(TaxNumber::isValidPortuguese(n)) << n.toStdString();
        EXPECT_FALSE(seen.contains(n)) << n.toStdString();
        seen.insert(n);
    }
    for (const QString& used :
         column(QStringLiteral("SELECT REPLACE(no_contribuinte, ' ', '') FROM tbContactos "
                               "WHERE no_contribuinte IS NOT NULL AND contacto_id <= ") +
                QString::number(lastDemoContact)))
        EXPECT_FALSE(seen.contains(used)) << "a demonstration contact's number: " << used.toStdString();

    // Every reference resolves.
    const QString contacts = QStringLiteral("(SELECT contacto_id FROM tbContactos)");
    QList<std::pair<QString, QString>> references = {
        {QStringLiteral("tbContactos_Institucionais.area_negocio_id"),
         QStringLiteral("(SELECT area_negocio_id FROM tbContactos_Institucionais_Areas_Negocio)")},
        {QStringLiteral("tbContactos_Eventos.evento_id"),
         QStringLiteral("(SELECT evento_id FROM tbContactos_Eventos_Tipos)")},
        {QStringLiteral("tbContactos_Tipos_Links.contacto_tipo_id"),
         QStringLiteral("(SELECT contacto_tipo_id FROM tbContactos_Tipos)")},
        {QStringLiteral("tbTulvas_Contactos.tipo_id"),
         QStringLiteral("(SELECT tipo_id FROM tbTulvas_Contactos_Tipos)")},
        {QStringLiteral("tbContactos.modified_by"), QStringLiteral("(SELECT descrit FROM tbUsers)")},
        {QStringLiteral("tbContactos_Relacionados.related_contacto_id"), contacts}};
    for (const QString& table :
         QStringLiteral("Singulares Institucionais Moradas Telefones Emails Notas Eventos "
                        "Tipos_Links Relacionados")
             .split(u' '))
        references.append(
            {QStringLiteral("tbContactos_") + table + QStringLiteral(".contacto_id"), contacts});
    for (const auto& [reference, targets] : references) {
        const QString table = reference.section(u'.', 0, 0);
        const QString field = reference.section(u'.', 1);
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM ") + table + QStringLiteral(" WHERE ") + field +
                         QStringLiteral(" IS NOT NULL AND ") + field + QStringLiteral(" NOT IN ") + targets),
                  0)
            << reference.toStdString();
    }
    EXPECT_GT(generatedRows(QStringLiteral("tbContactos_Relacionados")), 0);
    EXPECT_GT(generatedRows(QStringLiteral("tbContactos_Eventos")), generated / 2);

    // Rights are the demonstration data's masks, mostly open.
    const QString masks =
        QStringLiteral("SELECT DISTINCT user_code + '|' + group_code FROM tbTulvas_Contactos_Permitions");
    const QStringList demoMasks = columnIn(demo, masks);
    for (const QString& mask : column(masks + fresh))
        EXPECT_TRUE(demoMasks.contains(mask)) << mask.toStdString();
    const int open = generatedRows(QStringLiteral("tbTulvas_Contactos_Permitions"),
                                   QStringLiteral("group_code LIKE '%$0002%' AND group_code LIKE '%$0004%'"));
    EXPECT_GT(open, generated * 8 / 10) << "most are open to the demonstration users' groups";
    EXPECT_LT(open, generated) << "some are restricted";

    // People and firms look real.
    const int people = generatedRows(QStringLiteral("tbContactos"), QStringLiteral("genero_id = 1"));
    EXPECT_GT(people, generated * 6 / 10);
    EXPECT_LT(people, generated * 8 / 10);
    EXPECT_GT(generatedRows(QStringLiteral("tbContactos_Singulares"),
                            QStringLiteral("titulo IS NOT NULL AND profissao IS NOT NULL")),
              people / 3);
    EXPECT_GT(generatedRows(QStringLiteral("tbContactos_Institucionais"),
                            QStringLiteral("area_negocio_id IS NOT NULL")),
              (generated - people) / 2);
    // Names with Portuguese letters, made of a given name and a surname.
    EXPECT_GT(
        generatedRows(QStringLiteral("tbContactos"),
                      QStringLiteral("(nome_union LIKE '%ã%' OR nome_union LIKE '%ç%' OR nome_union LIKE "
                                     "'%é%' OR nome_union LIKE '%ó%' OR nome_union LIKE '%í%')")),
        generated / 10);
    EXPECT_EQ(number(QStringLiteral(
                  "SELECT COUNT(*) FROM tbContactos c JOIN tbContactos_Singulares s ON "
                  "s.contacto_id = c.contacto_id WHERE c.nome_union <> s.nome + ' ' + s.apelido")),
              0);
    // Acronyms are the name's capitals, accented ones too, in UTF-8 like every text.
    const QStringList acronyms = column(QStringLiteral("SELECT sigla FROM tbContactos_Institucionais") +
                                        fresh + QStringLiteral(" AND sigla IS NOT NULL"));
    EXPECT_FALSE(acronyms.filter(QRegularExpression(QStringLiteral("^[A-Z]*[ÁÉÍÓÚÂÊÔ][A-Z]*$"))).isEmpty());
    EXPECT_TRUE(acronyms.filter(QChar(QChar::ReplacementCharacter)).isEmpty());
    const QRegularExpression mail(QStringLiteral("^[a-z0-9.]+@[a-z.]+\\.pt$"));
    for (const QString& address : column(QStringLiteral("SELECT email FROM tbContactos_Emails") + fresh))
        EXPECT_TRUE(mail.match(address).hasMatch()) << address.toStdString();

    // The same count makes the same catalog.
    const ToolRun again = runTool(second.path(), createWithContacts);
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(testsupport::catalogFingerprint(first.path(), catalog),
              testsupport::catalogFingerprint(second.path(), catalog));
}

TEST(GeneratedContactsOptions, NeedTheDemonstrationDataAndACountAndAFailureLeavesNoCatalog)
{
    QTemporaryDir dir;
    for (const char* wrong :
         {"--create --contacts 10", "--create --demo --contacts dez", "--create --demo --contacts -5"}) {
        const ToolRun refused = runTool(dir.path(), QString::fromLatin1(wrong).split(u' '));
        EXPECT_EQ(refused.exitCode, 2) << wrong;
        EXPECT_TRUE(refused.err.contains(QStringLiteral("--contacts"))) << refused.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Quarvenses.db"))));

    // A failed generation leaves no catalog.
    ado::embedded::GeneratedContacts noRule{10, {}};
    EXPECT_THROW(ado::embedded::createDemoCatalogWith(
                     dir.path(), catalog, QStringLiteral("sa"), QStringLiteral("pw"),
                     [&](const QString& path) { ado::embedded::addGeneratedContacts(path, noRule); },
                     ado::embedded::HashStrength::Minimal),
                 vb::Error);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Quarvenses.db"))));
}
