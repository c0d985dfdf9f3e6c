#include "platform/ado/AdoError.h"
#include "platform/ado/ConnectionString.h"
#include "platform/ado/odbc/OdbcConnectionString.h"
#include "platform/values/Conversions.h"
#include "tests/platform/ado/AdoBehaviourSuite.h"
#include <QTemporaryDir>

using namespace ado;
using adotest::AdoBehaviour;

namespace {

// A fresh database of the SQLite ODBC driver, reached through unixODBC as a
// SQL Server would be: only portable SQL runs on it.
class OdbcTestServer : public adotest::TestServer {
  public:
    QString connectionString() const override
    {
        ConnectionString s;
        s.set(QStringLiteral("Provider"), QStringLiteral("SQLOLEDB.1"));
        s.set(QStringLiteral("User ID"), QStringLiteral("sa"));
        s.set(QStringLiteral("Password"), QStringLiteral("x"));
        s.set(QStringLiteral("Data Source"),
              QStringLiteral("odbc:Driver=SQLite3;Database=") + dir_.filePath(QStringLiteral("teste.db")));
        return s.toString();
    }
    QString name() const override { return QStringLiteral("odbc"); }
    bool speaksTSql() const override { return false; }
    bool keepsNulCharacters() const override { return false; } // the SQLite driver ends texts at a NUL

  private:
    QTemporaryDir dir_;
};

} // namespace

using adotest::errorOf;

INSTANTIATE_TEST_SUITE_P(Odbc, AdoBehaviour, ::testing::Values(adotest::ServerFactory([] {
                             return std::make_unique<OdbcTestServer>();
                         })),
                         [](const auto&) { return std::string("odbc"); });

// Values, texts, moments, failures and asynchronous opens through the driver
// are the behavioural suite's; here, what only this provider does.
TEST(OdbcProvider, ConnectionStringsCarryValuesSafelyAndAffectedRowsAreCounted)
{
    qputenv("QUARVENSES_ODBC_DRIVER", "FreeTDS");
    const ConnectionString plain =
        ConnectionString::parse(QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User "
                                               "ID=sa;Password=pw;Encrypt=yes;Initial Catalog=Quarvenses;"
                                               "Data Source=srv01\\SQL2019;Connect Timeout=15"));
    EXPECT_EQ(odbc::odbcConnectionString(plain),
              QStringLiteral("Driver=FreeTDS;Server=srv01\\SQL2019;Database=Quarvenses;UID=sa;PWD=pw;TDS_"
                             "Version=7.4;Encrypt=yes;"));
    ConnectionString awkward;
    awkward.set(QStringLiteral("User ID"), QStringLiteral("sa"));
    awkward.set(QStringLiteral("Password"), QStringLiteral("a;b}c;UID=intruso"));
    awkward.set(QStringLiteral("Data Source"), QStringLiteral("srv,1433"));
    const QString text = odbc::odbcConnectionString(ConnectionString::parse(awkward.toString()));
    EXPECT_TRUE(text.contains(QStringLiteral("PWD={a;b}}c;UID=intruso};"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Server=srv,1433;")));
    qunsetenv("QUARVENSES_ODBC_DRIVER");
    EXPECT_EQ(odbc::odbcValue(QStringLiteral("simples")), QStringLiteral("simples"));
    EXPECT_EQ(odbc::odbcValue(QStringLiteral(" margem")), QStringLiteral("{ margem}"));

    // It counts affected rows and refuses an unknown driver.
    OdbcTestServer server;
    Connection c;
    c.Open(server.connectionString());
    c.Execute(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, nome NVARCHAR(40))"));
    qint64 affected = 0;
    c.Execute(QStringLiteral("INSERT INTO t (id, nome) VALUES (1, 'um'), (2, 'dois')"), &affected);
    EXPECT_EQ(affected, 2);

    Connection broken;
    EXPECT_NE(errorOf([&] {
                  broken.Open(
                      QStringLiteral("User ID=sa;Password=x;Data Source=\"odbc:Driver=SemControlador\""));
              }),
              0);
    EXPECT_EQ(broken.State(), adStateClosed);
}
