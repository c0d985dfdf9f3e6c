#include "data/DatabaseConnection.h"
#include "card/frmInicial.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "settings/modRegistry.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using ado::embedded::EmbeddedServer;

namespace {

const QString catalog = QStringLiteral("Quarvenses");

QString enc(const QString& plain)
{
    return StringCipher::Encipher(plain);
}

class Connecting : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetConnectionStateForTests();
        // Real catalogs: Login preloads the record card, which reads its tables.
        for (const QString& folder : {primary(), secondary()}) {
            ado::embedded::createCatalogFromSchema(folder, catalog, QStringLiteral("sa"),
                                                   QStringLiteral("pw"), false,
                                                   ado::embedded::HashStrength::Minimal);
            EmbeddedServer::createLogin(folder, QStringLiteral("ana"), QStringLiteral("senha"),
                                        ado::embedded::HashStrength::Minimal);
        }
    }
    // A test that expects reports checks them and clears them.
    void TearDown() override
    {
        EXPECT_TRUE(reporter.reports().empty()) << "reports nobody expected";
        ResetConnectionStateForTests();
    }

    QString primary() const { return dir.filePath(QStringLiteral("primario")); }
    QString secondary() const { return dir.filePath(QStringLiteral("secundario")); }
    QString down() const { return dir.filePath(QStringLiteral("desligado")); }

    bool connect(const QString& first, const QString& second = {},
                 const QString& userPassword = QStringLiteral("senha"), qint32 flags = 0)
    {
        return general.SQLConnect(QStringLiteral("ana"), enc(userPassword), QStringLiteral("sa"),
                                  enc(QStringLiteral("pw")), catalog, first, second, flags);
    }

    static void store(const QString& key, const char* name, const QString& value)
    {
        ASSERT_TRUE(modRegistry::GravarShadow(key, QString::fromLatin1(name), value));
    }

    QTemporaryDir dir;
    testsupport::ScopedSettings settings;
    testsupport::RecordingReporter reporter;
    ScriptedWindows windows; // no message box may appear
    General general;
};

QString expectedString(const QString& login, const QString& password, const QString& server,
                       const char* ending = ";Encrypt=yes;")
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=") + login +
           QStringLiteral(";Password=") + password + QString::fromLatin1(ending) +
           QStringLiteral("Initial Catalog=Quarvenses;Data Source=") + server +
           QStringLiteral(";Connect Timeout=15");
}

} // namespace

// One server given twice is one probe, and its failure ends at once; the
// flags name the product; the server that answers first runs (which of two
// real servers opens first is the scheduler's business, so the rule for a
// poll that finds both open is checked on its own).
TEST_F(Connecting, TheServerThatAnswersRunsFlagsNameTheProductAndTheStringIsQuoted)
{
    ASSERT_TRUE(connect(primary(), primary()));
    EXPECT_TRUE(Conn().strDataSourceSecondary.isEmpty());
    EXPECT_FALSE(Conn().bUseSecondary);

    ResetConnectionStateForTests();
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(connect(down(), down()));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_FALSE(connect(down()));
    EXPECT_FALSE(Conn().bSQLConnected);

    // Flags name the product; a second call returns at once.
    Conn().strDataServer = QStringLiteral("antes");
    EXPECT_FALSE(connect(down(), {}, QStringLiteral("senha"), 2));
    EXPECT_EQ(Conn().strDataServer, QStringLiteral("antes"));
    EXPECT_FALSE(connect(down(), {}, QStringLiteral("senha"), 1));
    EXPECT_EQ(Conn().strDataServer, QStringLiteral("Sanovia"));
    ASSERT_TRUE(connect(primary()));
    EXPECT_EQ(Conn().strDataServer, QStringLiteral("Fiscora"));

    General another; // the state is the process's
    EXPECT_TRUE(another.SQLConnect(QStringLiteral("x"), QStringLiteral("lixo"), {}, {}, {}, down(), {}, 1));
    EXPECT_EQ(Conn().strDataServer, QStringLiteral("Fiscora"));
    EXPECT_EQ(Conn().strUser, QStringLiteral("ana"));

    // The faster server wins; with the primary down the secondary runs; values
    // that would break the connection string are quoted (last: it changes sa's password).
    ResetConnectionStateForTests();
    EXPECT_EQ(DatabaseConnection::raceWinner(ado::adStateOpen, ado::adStateOpen), 1);
    EXPECT_EQ(DatabaseConnection::raceWinner(ado::adStateOpen, ado::adStateConnecting), 1);
    EXPECT_EQ(DatabaseConnection::raceWinner(ado::adStateConnecting, ado::adStateOpen), 2);
    EXPECT_EQ(DatabaseConnection::raceWinner(ado::adStateClosed, ado::adStateOpen), 2);
    EXPECT_EQ(DatabaseConnection::raceWinner(ado::adStateClosed, ado::adStateClosed), 0);

    EmbeddedServer::setLatency(primary(), 1500);
    ASSERT_TRUE(connect(primary(), secondary()));
    EXPECT_TRUE(Conn().bUseSecondary);
    EmbeddedServer::setLatency(primary(), 0);

    ResetConnectionStateForTests();
    ASSERT_TRUE(connect(down(), secondary()));
    const ConnectionState& c = Conn();
    EXPECT_TRUE(c.bSQLConnected);
    EXPECT_TRUE(c.bUseSecondary);
    EXPECT_EQ(c.strDataSourceSecondary, secondary());
    EXPECT_EQ(c.strUser, QStringLiteral("ana"));
    EXPECT_EQ(StringCipher::Decipher(c.strPassword), QStringLiteral("senha")) << "kept as the host gave it";
    EXPECT_TRUE(StringCipher::LooksEnciphered(c.strSQLMasterConnString));
    EXPECT_EQ(StringCipher::Decipher(c.strSQLMasterConnString), expectedString("sa", "pw", down()));
    EXPECT_EQ(StringCipher::Decipher(c.strSQLSecondaryConnString), expectedString("sa", "pw", secondary()));
    EXPECT_EQ(Data().SqlServer.State(), ado::adStateOpen);
    EXPECT_EQ(Data().SqlServer.ConnectionString(), expectedString("sa", "pw", secondary()));

    ResetConnectionStateForTests();
    EmbeddedServer::createLogin(primary(), QStringLiteral("sa"), QStringLiteral("p;w'x"),
                                ado::embedded::HashStrength::Minimal);
    ASSERT_TRUE(general.SQLConnect(QStringLiteral("ana"), enc(QStringLiteral("senha")), QStringLiteral("sa"),
                                   enc(QStringLiteral("p;w'x")), catalog, primary()));
    EXPECT_EQ(StringCipher::Decipher(Conn().strSQLMasterConnString),
              expectedString("sa", "\"p;w'x\"", primary()));
}

// Outside components open a connection of their own by the same rules.
TEST_F(Connecting, OpenOwnRacesAndProvesAndLoginReadsTheStoredSettingsInOrder)
{
    const auto openOwn = [](const QString& userPassword, const QString& first, const QString& second,
                            ado::Connection& own) {
        return DatabaseConnection::OpenOwn(QStringLiteral("ana"), enc(userPassword), QStringLiteral("sa"),
                                           enc(QStringLiteral("pw")), catalog, first, second, own);
    };
    ado::Connection own;
    ASSERT_TRUE(openOwn(QStringLiteral("senha"), down(), secondary(), own));
    EXPECT_EQ(own.State(), ado::adStateOpen);
    EXPECT_EQ(own.ConnectionString(), expectedString("sa", "pw", secondary()));
    EXPECT_FALSE(Conn().bSQLConnected);
    EXPECT_TRUE(Conn().strUser.isEmpty());
    EXPECT_TRUE(Conn().strSQLMasterConnString.isEmpty());
    EXPECT_NE(Data().SqlServer.State(), ado::adStateOpen);

    EmbeddedServer::setLatency(secondary(), 1500);
    ASSERT_TRUE(openOwn(QStringLiteral("senha"), primary(), secondary(), own));
    EmbeddedServer::setLatency(secondary(), 0);
    EXPECT_EQ(own.ConnectionString(), expectedString("sa", "pw", primary()))
        << "the faster primary wins, and the earlier connection is replaced";

    EXPECT_FALSE(openOwn(QStringLiteral("errada"), primary(), {}, own));
    EXPECT_NE(own.State(), ado::adStateOpen) << "a refused user leaves nothing open";
    EXPECT_FALSE(openOwn(QStringLiteral("senha"), down(), down(), own));
    EXPECT_NE(own.State(), ado::adStateOpen);
    EXPECT_FALSE(Conn().bSQLConnected);

    // A password that does not decipher is reported, through the component's door
    // and an outside component's alike.
    EXPECT_FALSE(general.SQLConnect(QStringLiteral("ana"), QStringLiteral("senha"), QStringLiteral("sa"),
                                    QStringLiteral("pw em claro"), catalog, primary()));
    ado::Connection mine;
    EXPECT_FALSE(DatabaseConnection::OpenOwn(QStringLiteral("ana"), enc(QStringLiteral("senha")),
                                             QStringLiteral("sa"), QStringLiteral("pw em claro"), catalog,
                                             primary(), {}, mine));
    EXPECT_NE(mine.State(), ado::adStateOpen);
    const QStringList report{QStringLiteral("Ambrel Software"), QStringLiteral("Ambrel Software"),
                             QStringLiteral("SQLConnect"), QStringLiteral("SQLConnect"),
                             QStringLiteral("O texto indicado não é um texto cifrado válido.")};
    EXPECT_EQ(reporter.reports(), (std::vector<QStringList>{report, report}));
    reporter.clear();

    // Login reads the stored settings in order.
    const QString tlv = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV");
    const QString product = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses");
    ASSERT_TRUE(modRegistry::GarantirShadow());
    EXPECT_FALSE(general.Login(QStringLiteral("ana"), enc(QStringLiteral("senha"))));
    store(tlv, "DataServer", QStringLiteral("Quarvenses"));
    const std::pair<const char*, QString> values[] = {{"dtSecurityInfo", QStringLiteral("False")},
                                                      {"dtUser", QStringLiteral("sa")},
                                                      {"dtPassword", enc(QStringLiteral("pw"))},
                                                      {"dtInitialCatalog", catalog},
                                                      {"dtDataSource", primary()}};
    for (const auto& [name, value] : values) {
        EXPECT_FALSE(general.Login(QStringLiteral("ana"), enc(QStringLiteral("senha"))))
            << "without " << name;
        EXPECT_FALSE(Conn().bSQLConnected);
        store(product, name, value);
    }
    EXPECT_FALSE(general.Login(QStringLiteral("ana"), enc(QStringLiteral("errada"))));
    ASSERT_TRUE(general.Login(QStringLiteral("ana"), enc(QStringLiteral("senha"))));
    EXPECT_TRUE(Conn().bSQLConnected);
    ASSERT_NE(general.card(), nullptr) << "the card is preloaded";
    EXPECT_FALSE(general.card()->isVisible());
    EXPECT_FALSE(general.card()->inPro);
    EXPECT_EQ(Conn().strDataServer, QStringLiteral("Quarvenses"));
    EXPECT_EQ(StringCipher::Decipher(Conn().strSQLMasterConnString),
              expectedString("sa", "pw", primary(), ";"));
    EXPECT_EQ(Data().SqlServer.State(), ado::adStateOpen);
}
