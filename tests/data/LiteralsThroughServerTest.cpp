#include "data/modData.h"
#include "platform/ado/Recordset.h"
#include "platform/values/Conversions.h"
#include "platform/values/Regional.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/TestServer.h"
#include <gtest/gtest.h>

namespace {

class ThroughServer : public ::testing::Test {
  protected:
    void SetUp() override
    {
        connection.Open(server.connectionString());
        use(vb::Regional::ptPT());
    }
    void TearDown() override { use(vb::Regional::ptPT()); }
    void use(const vb::Regional& r)
    {
        vb::setRegional(r);
        modData::ForgetRegionalSeparators();
    }

    adotest::EmbeddedTestServer server;
    ado::Connection connection;
};

} // namespace

// Texts with apostrophes reach the server through the vCard import's own
// writes (VCardContacts.HostileTextIsStoredAsTypedAndComesBack). Here: the
// "+" chain's T-SQL meaning, left to right: texts joined first then added to
// a number, or a number added to each text in turn.
TEST_F(ThroughServer, TheServerSpeaksSqlServersLiteralsAndListFieldShowsEachKind)
{
    const auto value = [&](const char* sql) {
        return vb::CStr(connection.Execute(QString::fromUtf8(sql))(QStringLiteral("v")));
    };
    EXPECT_EQ(value("SELECT '1' + '2' + 3 AS v"), QStringLiteral("15"));
    EXPECT_EQ(value("SELECT 1 + '2' + '3' AS v"), QStringLiteral("6"));

    connection.Execute(QStringLiteral("CREATE TABLE t (profissao NVARCHAR(20))"));
    connection.Execute(QStringLiteral("INSERT INTO t (profissao) VALUES ('x')"));
    const std::pair<const char*, const char*> refused[] = {
        {"UPDATE t SET profissao = [profisao]", "profisao"},
        {"ATTACH DATABASE 'master.db' AS m", "ATTACH"},
        {"VACUUM INTO '/tmp/copia.db'", "VACUUM"},
        {"PRAGMA journal_mode=DELETE", "PRAGMA"},
        {"SELECT name FROM pragma_table_info('t')", "pragma_table_info"},
        {"SELECT load_extension('x')", "load_extension"}};
    for (const auto& [statement, name] : refused) {
        QString told = QStringLiteral("<correu>");
        try {
            connection.Execute(QString::fromLatin1(statement));
        } catch (const vb::Error& e) {
            told = e.description();
        }
        EXPECT_TRUE(told.contains(QString::fromLatin1(name))) << statement << ": " << told.toStdString();
    }
    EXPECT_EQ(
        vb::CStr(connection.Execute(QStringLiteral("SELECT profissao FROM t"))(QStringLiteral("profissao"))),
        QStringLiteral("x"));

    // ListField shows each kind of value as the lists show it.
    testsupport::RecordingReporter reporter;
    connection.Execute(QStringLiteral(
        "CREATE TABLE v (quando DATETIME, valor FLOAT, texto NVARCHAR(20), nada NVARCHAR(5))"));
    connection.Execute(
        QStringLiteral("INSERT INTO v VALUES ('2024-03-05 14:07:09.000', -1234.5, 'Ana', NULL)"));
    ado::Recordset rs = connection.Execute(QStringLiteral("SELECT * FROM v"));
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("QUANDO"), 1), QStringLiteral("05-03-2024"));
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("valor"), 2), QStringLiteral("- 1.234,50"));
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("texto"), 3), QStringLiteral("Ana"));
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("valor"), 4), QStringLiteral("€ -1.234,50"));
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("valor"), 6), QStringLiteral("-1.234"))
        << "CLng rounds half to even";
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("quando"), 7), QStringLiteral("05-03-2024 14:07:09"));
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("quando"), 8), QStringLiteral("2024-03-05"));
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("valor"), 9), QString());
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("nada"), 3), QStringLiteral(" "));
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("inexistente"), 3), QStringLiteral(" "));
    connection.Execute(QStringLiteral("UPDATE v SET valor = 0.125"));
    rs.Requery();
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("valor"), 5), QStringLiteral("12,50 %"));
    EXPECT_TRUE(reporter.reports().empty());

    rs.MoveNext(); // at EOF: the failure is reported and nothing is shown
    EXPECT_EQ(modData::ListField(rs, QStringLiteral("valor"), 2), QString());
    ASSERT_EQ(reporter.reports().size(), 1u);
    EXPECT_EQ(reporter.reports()[0].mid(0, 4),
              (QStringList{"Pelmor Mirel Software", "Ferramentas Administrativas", "modData", "ListField"}));
}
