// Qualifying a real SQL Server before a site goes live: when
// QUARVENSES_TEST_SQLSERVER holds an ODBC connection string to it (without a
// database, with a login that may create one), the data-access suite, the
// schema with its procedures and the awkward texts run there, each in a
// database of its own that is dropped afterwards. Without it they are skipped.
#include "platform/ado/ConnectionString.h"
#include "platform/ado/Recordset.h"
#include "platform/values/Conversions.h"
#include "tests/platform/ado/AdoBehaviourSuite.h"

#include <QFile>
#include <QRegularExpression>
#include <QUuid>

using adotest::AdoBehaviour;

namespace {

const char* const serverVariable = "QUARVENSES_TEST_SQLSERVER";

QString odbcSource(const QString& database = {})
{
    QString source = QStringLiteral("odbc:") + qEnvironmentVariable(serverVariable);
    if (!source.endsWith(u';'))
        source += u';';
    return database.isEmpty() ? source : source + QStringLiteral("Database=") + database + u';';
}

QString connectionStringTo(const QString& source)
{
    ado::ConnectionString s;
    s.set(QStringLiteral("Provider"), QStringLiteral("SQLOLEDB.1"));
    s.set(QStringLiteral("Data Source"), source);
    return s.toString();
}

// A database made for one test and dropped after it.
class SqlServerTestServer : public adotest::TestServer {
  public:
    SqlServerTestServer()
        : database_(QStringLiteral("qv_teste_") + QUuid::createUuid().toString(QUuid::Id128).left(12))
    {
        master_.Open(connectionStringTo(odbcSource()));
        master_.Execute(QStringLiteral("CREATE DATABASE [") + database_ + u']');
    }
    ~SqlServerTestServer() override
    {
        try {
            master_.Execute(QStringLiteral("ALTER DATABASE [") + database_ +
                            QStringLiteral("] SET SINGLE_USER WITH ROLLBACK IMMEDIATE"));
            master_.Execute(QStringLiteral("DROP DATABASE [") + database_ + u']');
        } catch (const vb::Error&) {
            // left for the administrator: its name says what it was
        }
    }
    QString connectionString() const override { return connectionStringTo(odbcSource(database_)); }
    QString name() const override { return QStringLiteral("sqlserver"); }
    bool speaksTSql() const override { return true; }

  private:
    QString database_;
    ado::Connection master_;
};

std::unique_ptr<adotest::TestServer> sqlServer()
{
    if (qEnvironmentVariableIsEmpty(serverVariable))
        return nullptr;
    return std::make_unique<SqlServerTestServer>();
}

QStringList batches(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression go(QStringLiteral("^\\s*GO\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::MultilineOption);
    QStringList out;
    for (const QString& batch : QString::fromUtf8(file.readAll()).split(go))
        if (!batch.trimmed().isEmpty())
            out << batch;
    return out;
}

qint32 number(ado::Connection& c, const QString& sql)
{
    ado::Recordset rs = c.Execute(sql);
    return vb::CLng(rs.Fields(0).Value());
}

} // namespace

INSTANTIATE_TEST_SUITE_P(SqlServer, AdoBehaviour, ::testing::Values(adotest::ServerFactory(sqlServer)),
                         [](const auto&) { return std::string("sqlserver"); });

// The schema and the demonstration data as a site installs them, the
// procedures the card calls, with their answers, and what only a real server
// can tell: text outside any code page arrives whole through N'…' literals,
// every session carries the options the application relies on, and the rules
// the embedded server copies are the server's own.
TEST(SqlServerQualification, TheSchemaItsProceduresTextsSessionOptionsAndCompileRules)
{
    std::unique_ptr<adotest::TestServer> server = sqlServer();
    if (!server)
        GTEST_SKIP() << serverVariable << " names no SQL Server";
    ado::Connection c;
    c.Open(server->connectionString());
    const QString source = qEnvironmentVariable("QUARVENSES_SOURCE_DIR");
    for (const char* script : {"/schema/sqlserver.sql", "/schema/demo.sql"}) {
        const QStringList parts = batches(source + QString::fromLatin1(script));
        ASSERT_FALSE(parts.isEmpty()) << script;
        for (const QString& batch : parts)
            c.Execute(batch);
    }
    EXPECT_EQ(number(c, QStringLiteral("SELECT COUNT(*) FROM tbContactos")), 44);
    EXPECT_EQ(number(c, QStringLiteral("SELECT COUNT(*) FROM vwContactos_Quarvenses_Completos")), 43);

    ado::Recordset added = c.Execute(QStringLiteral(
        "INSERT INTO tbContactos (genero_id, nome_union) VALUES (1, N'Nova'); SELECT @@IDENTITY AS last"));
    const qint32 id = vb::CLng(added(QStringLiteral("last")));
    ado::Recordset filed =
        c.Execute(QStringLiteral("EXECUTE spADD_CONTACTO_TO_GROUP ") + QString::number(id) +
                  QStringLiteral(", 'Contactos Quarvenses', '$00011111', '$10011111'"));
    EXPECT_EQ(vb::CLng(filed(QStringLiteral("error_number"))), 0);
    filed.Close();
    ado::Recordset removed = c.Execute(QStringLiteral("EXECUTE spDELETE_CONTACTO ") + QString::number(id));
    EXPECT_EQ(vb::CLng(removed(QStringLiteral("error_number"))), 0);
    removed.Close();
    EXPECT_EQ(number(c, QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE contacto_id = ") +
                            QString::number(id)),
              0);

    // Texts come back as written, whatever they hold.
    const QStringList awkward = {QString(14, u'\''),
                                 QStringLiteral("%1 %L1 %2F"),
                                 QStringLiteral("'; DELETE FROM tbContactos --"),
                                 QStringLiteral("[_%]\\ /* ;"),
                                 QStringLiteral("a\tb\r\nc"),
                                 QStringLiteral("Ação 😀"),
                                 QStringLiteral("Ωmega 𝄞 😀 ção d'Ávila")};
    for (const QString& text : awkward) {
        c.Execute(QStringLiteral("UPDATE tbContactos SET nome_union = N'") +
                  QString(text).replace(u'\'', QStringLiteral("''")) +
                  QStringLiteral("' WHERE contacto_id = 1"));
        ado::Recordset rs =
            c.Execute(QStringLiteral("SELECT nome_union FROM tbContactos WHERE contacto_id = 1"));
        EXPECT_EQ(vb::CStr(rs(QStringLiteral("nome_union"))), text);
    }

    ado::Recordset options = c.Execute(QStringLiteral(
        "SELECT SESSIONPROPERTY('QUOTED_IDENTIFIER') AS q, SESSIONPROPERTY('ANSI_NULLS') AS n, "
        "SESSIONPROPERTY('ANSI_WARNINGS') AS w, SESSIONPROPERTY('CONCAT_NULL_YIELDS_NULL') AS c"));
    for (const char* option : {"q", "n", "w", "c"})
        EXPECT_EQ(vb::CLng(options(QString::fromLatin1(option))), 1) << option;

    const auto twice = vbtest::raised([&] {
        c.Execute(QStringLiteral("SELECT nome_union FROM tbContactos ORDER BY nome_union ASC, nome_union"));
    });
    ASSERT_TRUE(twice) << "the server took a column named twice in ORDER BY";
    EXPECT_EQ(twice->nativeError(), 169);
}
