#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/values/Conversions.h"
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ado;

namespace {

class Schema : public ::testing::Test {
protected:
    void open(bool demo)
    {
        embedded::createCatalogFromSchema(dir.path(), QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                          QStringLiteral("pw"), demo, embedded::HashStrength::Minimal);
        connection.Open(QStringLiteral("User ID=sa;Password=pw;Initial Catalog=Quarvenses;Data Source=") + dir.path());
    }
    int count(const QString& sql) { return vb::CLng(connection.Execute(sql).Fields(0).Value()); }
    QStringList column(const QString& sql)
    {
        QStringList values;
        for (Recordset rs = connection.Execute(sql); !rs.Eof(); rs.MoveNext())
            values.append(rs.Fields(0).Value().isNull() ? QStringLiteral("NULL") : vb::CStr(rs.Fields(0).Value()));
        return values;
    }
    Recordset call(const QString& sql) { return connection.Execute(sql); }

    QTemporaryDir dir;
    Connection connection;
};

// Table → its columns in order, as the SQL Server script declares them.
QMap<QString, QStringList> sqlServerTables()
{
    QFile file(embedded::schemaFolder() + QStringLiteral("/sqlserver.sql"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QString script = QString::fromUtf8(file.readAll());
    QMap<QString, QStringList> tables;
    static const QRegularExpression create(QStringLiteral("CREATE TABLE (\\w+) \\(\\n(.*?)\\n\\);"),
                                           QRegularExpression::DotMatchesEverythingOption);
    for (auto it = create.globalMatch(script); it.hasNext();) {
        const auto m = it.next();
        QStringList columns;
        for (const QString& line : m.captured(2).split(u'\n')) {
            const QString first = line.trimmed().section(u' ', 0, 0);
            if (!first.isEmpty() && first != QLatin1String("PRIMARY") && first != QLatin1String("CONSTRAINT"))
                columns.append(first);
        }
        tables.insert(m.captured(1), columns);
    }
    return tables;
}

} // namespace

TEST_F(Schema, TheTwoScriptsHoldTheSameTablesAndColumns)
{
    open(false);
    QMap<QString, QStringList> embeddedTables;
    for (const QString& table : column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE 'tb%' ORDER BY name")))
        embeddedTables.insert(table, column(QStringLiteral("SELECT name FROM pragma_table_info('%1') ORDER BY cid").arg(table)));
    const QMap<QString, QStringList> server = sqlServerTables();
    EXPECT_GE(server.size(), 40);
    EXPECT_EQ(server.keys(), embeddedTables.keys());
    for (auto it = server.cbegin(); it != server.cend(); ++it)
        EXPECT_EQ(it.value(), embeddedTables.value(it.key())) << it.key().toStdString();
    for (const char* needed : {"tbTulvas_Contactos_Permitions", "tbTulvas_Contactos_Permitions_Criar_Groups",
                               "tbTulvas_Contactos_Permitions_Criar_Users", "tbTulvas_Contactos_Tipos", "tbArquivo_Documental",
                               "tbClientes_Apolices_Permitions", "tbContactos_Comunicacoes"})
        EXPECT_TRUE(server.contains(QString::fromLatin1(needed))) << needed;
    EXPECT_TRUE(server.value(QStringLiteral("tbContactos")).contains(QStringLiteral("user_delete")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM vwContactos_Quarvenses_Completos")), 0);
}

TEST_F(Schema, TheDemonstrationDataHasWhatTheCardNeeds)
{
    open(true);
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos")), 40);
    EXPECT_EQ(column(QStringLiteral("SELECT nome_union FROM tbContactos WHERE contacto_id = 1")).size(), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE user_delete <> 0")), 1);
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE no_contribuinte IS NULL")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos a, tbContactos b WHERE a.contacto_id < b.contacto_id "
                                   "AND replace(a.no_contribuinte,' ','') = replace(b.no_contribuinte,' ','')")),
              1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Tipos WHERE descrit = 'Contactos Quarvenses' AND "
                                   "related = 'tbTulvas_Contactos'")),
              1);
    // Every code of one width beginning with "$".
    const QStringList codes = column(QStringLiteral("SELECT code FROM tbUsers UNION ALL SELECT code FROM tbGroups"));
    for (const QString& code : codes)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\$\\d{4}$")).match(code).hasMatch()) << code.toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbUsers u WHERE NOT EXISTS (SELECT 1 FROM tbGroups_Users_Links l "
                                   "WHERE l.user_id = u.user_id AND l.predef <> 0)")),
              0)
        << "each user has a primary group";
    const QStringList row = column(QStringLiteral("SELECT email FROM vwContactos_Quarvenses_Completos WHERE contacto_id = 1"));
    ASSERT_EQ(row.size(), 1);
    EXPECT_TRUE(row[0].endsWith(QStringLiteral("@exemplo.pt")));
}

TEST_F(Schema, DeletingAContactRemovesEverythingAttached)
{
    open(true);
    const QStringList tables = column(QStringLiteral(
        "SELECT m.name FROM sqlite_master m WHERE m.type = 'table' AND m.name <> 'tbUsers' AND "
        "EXISTS (SELECT 1 FROM pragma_table_info(m.name) p WHERE p.name = 'contacto_id')"));
    const auto rowsOf = [&](int id) {
        int rows = count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Relacionados WHERE related_contacto_id = %1").arg(id));
        for (const QString& t : tables)
            rows += count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE contacto_id = %2").arg(t).arg(id));
        return rows;
    };
    ASSERT_GT(rowsOf(15), 5);

    connection.BeginTrans(); // inside the caller's transaction: undone with it
    Recordset rs = call(QStringLiteral("EXECUTE spDELETE_CONTACTO 15,0"));
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("error_number"))), 0);
    EXPECT_EQ(rowsOf(15), 0);
    connection.RollbackTrans();
    EXPECT_GT(rowsOf(15), 5);

    rs = call(QStringLiteral("EXECUTE spDELETE_CONTACTO 15,0"));
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("error_number"))), 0);
    EXPECT_EQ(rowsOf(15), 0);
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos")), 40);

    rs = call(QStringLiteral("EXECUTE spDELETE_CONTACTO 2,0"));
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("error_number"))), 2);
    EXPECT_EQ(vb::CStr(rs(QStringLiteral("error_descrit"))), QStringLiteral("o contacto está protegido pelo sistema."));
    rs = call(QStringLiteral("EXECUTE spDELETE_CONTACTO 999,0"));
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("error_number"))), 1);
    EXPECT_EQ(vb::CStr(rs(QStringLiteral("error_descrit"))), QStringLiteral("o contacto indicado não existe."));
}

TEST_F(Schema, AddingAContactToAFileCreatesMembershipAndRights)
{
    open(true);
    const QString where = QStringLiteral(" WHERE contacto_id = 31");
    ASSERT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbTulvas_Contactos") + where), 0);
    Recordset rs = call(QStringLiteral("EXECUTE spADD_CONTACTO_TO_GROUP 31, 'Contactos Quarvenses','$00011111','$10021111'"));
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("error_number"))), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Tipos_Links WHERE contacto_id = 31 AND contacto_tipo_id = 1")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbTulvas_Contactos") + where), 1);
    EXPECT_EQ(column(QStringLiteral("SELECT group_code FROM tbTulvas_Contactos_Permitions") + where), QStringList{"$00011111"});
    EXPECT_EQ(column(QStringLiteral("SELECT user_code FROM tbTulvas_Contactos_Permitions") + where), QStringList{"$10021111"});
    call(QStringLiteral("EXECUTE spADD_CONTACTO_TO_GROUP 31, 'Contactos Quarvenses','$00021111',''"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Tipos_Links WHERE contacto_id = 31 AND contacto_tipo_id = 1")), 1)
        << "filing twice makes one membership";
    EXPECT_EQ(column(QStringLiteral("SELECT group_code FROM tbTulvas_Contactos_Permitions") + where), QStringList{"$00021111"});

    rs = call(QStringLiteral("EXECUTE spADD_CONTACTO_TO_GROUP 31, 'Ficheiro Inexistente','',''"));
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("error_number"))), 1);
    EXPECT_EQ(vb::CStr(rs(QStringLiteral("error_descrit"))), QStringLiteral("o ficheiro indicado não existe."));
    rs = call(QStringLiteral("EXECUTE spADD_CONTACTO_TO_GROUP 999, 'Clientes','',''"));
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("error_number"))), 2);
}

TEST_F(Schema, AnExistingCatalogIsNeverOverwritten)
{
    open(false);
    connection.Execute(QStringLiteral("INSERT INTO tbConfig (module_id, variavel, valor) VALUES (1, 'x', 'y')"));
    EXPECT_THROW(embedded::createCatalogFromSchema(dir.path(), QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                                   QStringLiteral("pw"), true, embedded::HashStrength::Minimal),
                 vb::Error);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbConfig")), 1);
}
