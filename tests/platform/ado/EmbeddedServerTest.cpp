#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/StatementTrace.h"
#include "platform/dialect/SqlFunctions.h"
#include "platform/values/Conversions.h"
#include "tests/platform/ado/AdoBehaviourSuite.h"
#include "tests/support/EnvGuard.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace ado;
using ado::embedded::EmbeddedServer;
using adotest::AdoBehaviour;
using adotest::EmbeddedTestServer;

INSTANTIATE_TEST_SUITE_P(Embedded, AdoBehaviour, ::testing::Values(adotest::ServerFactory([] {
                             return std::make_unique<EmbeddedTestServer>();
                         })),
                         [](const auto&) { return std::string("embedded"); });

using adotest::errorOf;
using adotest::pollUntilSettled;
using adotest::raised;

namespace {

// A fresh server, and a connection each test opens as it needs.
class EmbeddedServerTest : public ::testing::Test {
  protected:
    void open() { c.Open(server.connectionString()); }
    // The first value of the statement's first row, as a number.
    int number(const char* sql) { return vb::CLng(c.Execute(QString::fromUtf8(sql)).Fields(0).Value()); }

    EmbeddedTestServer server;
    Connection c;
};

} // namespace

// Logins are proved against the server's own table; missing or paused
// servers do not answer.
TEST_F(EmbeddedServerTest, WhoMayOpenAndWhatAnswers)
{
    EXPECT_EQ(
        errorOf([&] { c.Open(server.connectionString(QStringLiteral("sa"), QStringLiteral("errada"))); }),
        error::LoginFailed);
    EXPECT_EQ(c.State(), adStateClosed);
    ASSERT_EQ(c.Errors().size(), 1);
    EXPECT_EQ(c.Errors()[0].description(), QStringLiteral("Falha no início de sessão do utilizador 'sa'."));
    EXPECT_EQ(errorOf([&] {
                  c.Open(server.connectionString(QStringLiteral("ninguem"), QStringLiteral("segredo")));
              }),
              error::LoginFailed);
    c.Open(server.connectionString(QStringLiteral("SA"),
                                   QStringLiteral("segredo"))); // logins ignore letter case
    EXPECT_EQ(c.State(), adStateOpen);
    c.Close();

    const QString missing =
        QStringLiteral("User ID=sa;Password=segredo;Initial Catalog=Teste;Data Source=/nao/existe");
    EXPECT_EQ(errorOf([&] { c.Open(missing); }), error::ServerUnreachable);
    QString otherCatalog = server.connectionString();
    otherCatalog.replace(QStringLiteral("Initial Catalog=Teste"), QStringLiteral("Initial Catalog=Outro"));
    // The server answers; the database is what is missing.
    const auto noDatabase = raised([&] { c.Open(otherCatalog); });
    ASSERT_TRUE(noDatabase) << "a database the server does not hold was opened";
    EXPECT_EQ(noDatabase->number(), error::LoginFailed);
    EXPECT_EQ(noDatabase->description(),
              QStringLiteral("Não é possível abrir a base de dados «Outro» pedida pelo "
                             "início de sessão. O início de sessão falhou."));

    open();
    EmbeddedServer::setPaused(server.folder(), true);
    Connection other;
    EXPECT_EQ(errorOf([&] { other.Open(server.connectionString()); }), error::ServerUnreachable);
    EXPECT_EQ(errorOf([&] { c.Execute(QStringLiteral("SELECT @@TRANCOUNT as valor")); }),
              error::ServerUnreachable);
    EXPECT_EQ(c.State(), adStateOpen) << "a lost server does not close the connection, as with SQL Server";
    EmbeddedServer::setPaused(server.folder(), false);
    EXPECT_EQ(number("SELECT @@TRANCOUNT"), 0);

    // A server whose folder was moved away or removed does not answer, though
    // its open files still could; moved back, it answers again.
    const QString moved = server.folder() + QStringLiteral("-movida");
    ASSERT_TRUE(QDir().rename(server.folder(), moved));
    EXPECT_EQ(errorOf([&] { c.Execute(QStringLiteral("SELECT 1 as valor")); }), error::ServerUnreachable);
    ASSERT_TRUE(QDir().rename(moved, server.folder()));
    EXPECT_EQ(number("SELECT 1"), 1);
    ASSERT_TRUE(QDir(server.folder()).removeRecursively());
    EXPECT_EQ(errorOf([&] { c.Execute(QStringLiteral("SELECT 1 as valor")); }), error::ServerUnreachable);
}

TEST_F(EmbeddedServerTest, StoredProceduresRunByName)
{
    EmbeddedServer::registerProcedure(
        QStringLiteral("spTESTE_ECO"), [](Session& session, const QList<vb::Variant>& args) {
            session.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS eco (v NVARCHAR(20))"), 30);
            session.executeWith(QStringLiteral("INSERT INTO eco (v) VALUES (?)"), {args.value(1)}, 30);
            ResultSet rows;
            rows.columns = {Column{QStringLiteral("error_number"), adInteger, {}, {}},
                            Column{QStringLiteral("error_descrit"), adVarWChar, {}, {}}};
            rows.rows = {{vb::Variant(vb::CLng(args.value(0))), args.value(1)}};
            return std::optional<ResultSet>(rows);
        });
    open();
    Recordset rs;
    rs.Open(QStringLiteral("EXECUTE spTESTE_ECO 17, 'não'"), c);
    ASSERT_EQ(rs.State(), adStateOpen);
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("error_number"))), 17);
    EXPECT_EQ(vb::CStr(rs(QStringLiteral("error_descrit"))), QStringLiteral("não"));
    EXPECT_EQ(vb::CStr(c.Execute(QStringLiteral("SELECT v FROM eco"))(QStringLiteral("v"))),
              QStringLiteral("não"));
    EXPECT_EQ(errorOf([&] { c.Execute(QStringLiteral("EXECUTE spNAO_EXISTE 1")); }), error::ProviderError);
}

TEST_F(EmbeddedServerTest, TwoConnectionsShareACatalogAndItsColumnWidths)
{
    open();
    // b is open before the table exists: it must learn the new table's widths.
    Connection b;
    b.Open(server.connectionString());
    // The embedded schema writes identity columns this way.
    c.Execute(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, descrit NVARCHAR(5))"));
    // b learns them inside a transaction it then rolls back: they are learnt again.
    b.BeginTrans();
    b.Execute(QStringLiteral("INSERT INTO t (descrit) VALUES (N'zero')"));
    b.RollbackTrans();
    c.BeginTrans();
    c.Execute(QStringLiteral("INSERT INTO t (id, descrit) VALUES (1, 'um')"));
    EXPECT_EQ(b.Execute(QStringLiteral("SELECT * FROM t")).RecordCount(), 0)
        << "uncommitted work is not seen";
    c.CommitTrans();
    EXPECT_EQ(b.Execute(QStringLiteral("SELECT * FROM t")).RecordCount(), 1);
    EXPECT_EQ(number("INSERT INTO t (descrit) VALUES ('dois'); SELECT @@Identity as last"), 2);

    // A text longer than its NVARCHAR(n) column is refused as SQL Server
    // refuses it (Msg 2628), never kept whole where the server would not take it.
    b.Execute(QStringLiteral("INSERT INTO t (descrit) VALUES (N'cinco')"));
    for (auto [connection, statement] : {std::pair{&b, "INSERT INTO t (descrit) VALUES (N'seis!!')"},
                                         std::pair{&b, "UPDATE t SET descrit = N'demasiado' WHERE id = 3"},
                                         std::pair{&c, "INSERT INTO t (descrit) VALUES (N'seis!!')"}}) {
        const auto refused = raised([&] { connection->Execute(QString::fromUtf8(statement)); });
        ASSERT_TRUE(refused) << statement;
        EXPECT_EQ(refused->nativeError(), 2628) << statement;
        EXPECT_EQ(refused->description(),
                  QStringLiteral("Os dados de cadeia seriam truncados na tabela «t», coluna «descrit»."));
    }
    EXPECT_EQ(
        vb::CStr(b.Execute(QStringLiteral("SELECT descrit FROM t WHERE id = 3"))(QStringLiteral("descrit"))),
        QStringLiteral("cinco"));
}

namespace {

// The order text columns had before they sorted as Portuguese: letter case
// ignored, otherwise code point by code point.
int olderOrder(void*, int na, const void* a, int nb, const void* b)
{
    return QString::fromUtf8(static_cast<const char*>(a), na)
        .compare(QString::fromUtf8(static_cast<const char*>(b), nb), Qt::CaseInsensitive);
}

QString onCatalogFile(const QString& path, const char* sql, bool olderCollation)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    dialect::FunctionContext context;
    dialect::registerFunctions(db, &context);
    if (olderCollation)
        sqlite3_create_collation_v2(db, "QV_CI", SQLITE_UTF8, nullptr, olderOrder, nullptr);
    QStringList rows;
    sqlite3_exec(
        db, sql,
        [](void* out, int, char** values, char**) {
            static_cast<QStringList*>(out)->append(QString::fromUtf8(values[0] ? values[0] : "NULL"));
            return 0;
        },
        &rows, nullptr);
    sqlite3_close(db);
    return rows.join(u'|');
}

} // namespace

TEST_F(EmbeddedServerTest, ACatalogIndexedInTheOlderTextOrderIsReindexedOnce)
{
    const QString file = EmbeddedServer::catalogPath(server.folder(), QStringLiteral("Teste"));
    onCatalogFile(
        file,
        "CREATE TABLE nomes (id INTEGER PRIMARY KEY, nome TEXT COLLATE QV_CI); "
        "CREATE INDEX ix_nomes ON nomes (nome); "
        "INSERT INTO nomes (nome) VALUES ('Construções'), ('Câmara'), ('Clínica'), ('Ávila'), ('Braga'); "
        "PRAGMA user_version = 0",
        true);
    ASSERT_NE(onCatalogFile(file, "PRAGMA integrity_check", false), QStringLiteral("ok"))
        << "the older index is out of the current order";

    open();
    EXPECT_EQ(number("SELECT id FROM nomes WHERE nome = 'CÂMARA'"), 2);
    Recordset sorted = c.Execute(QStringLiteral("SELECT nome FROM nomes ORDER BY nome"));
    QStringList names;
    for (; !sorted.Eof(); sorted.MoveNext())
        names.append(vb::CStr(sorted(QStringLiteral("nome"))));
    EXPECT_EQ(names, (QStringList{"Ávila", "Braga", "Câmara", "Clínica", "Construções"}));
    c.Close();
    EXPECT_EQ(onCatalogFile(file, "PRAGMA integrity_check", false), QStringLiteral("ok"));
    EXPECT_EQ(onCatalogFile(file, "PRAGMA user_version", false), QString::number(dialect::collationVersion));
}

TEST_F(EmbeddedServerTest, EveryStatementIsTracedWithItsOutcome)
{
    open();
    QList<TraceEntry> seen;
    {
        ScopedTrace trace([&](const TraceEntry& e) { seen.append(e); });
        c.Execute(QStringLiteral("SELECT 17 as contacto_id"));
        errorOf([&] { c.Execute(QStringLiteral("SELECT * FROM tbNada")); });
        Recordset rs;
        rs.Open(QStringLiteral("SELECT 1 as um"), c);
        rs.Requery();
    }
    c.Execute(QStringLiteral("SELECT 2 as dois")); // after the hook is gone
    ASSERT_EQ(seen.size(), 4);
    EXPECT_EQ(seen[0].statement, QStringLiteral("SELECT 17 as contacto_id"));
    EXPECT_FALSE(seen[0].failed);
    EXPECT_TRUE(seen[1].failed);
    EXPECT_TRUE(seen[1].error.contains(QStringLiteral("tbNada")));
    EXPECT_EQ(seen[3].statement, QStringLiteral("SELECT 1 as um"));
    EXPECT_GE(seen[0].microseconds, 0);

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("trace.log"));
    {
        const testsupport::EnvGuard traced("QUARVENSES_SQL_TRACE", log.toUtf8());
        c.Execute(QStringLiteral("SELECT 'ç' as letra"));
    }
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QStringLiteral("SELECT 'ç' as letra")));
}

// An asynchronous open reports Connecting and keeps its failure. A connect
// slower than the timeout fails as a timeout. The connection's
// timeout set after the string wins over the string's own "Connect Timeout"
// (the reconnection's 10 seconds over the kept 15); the string's value
// applies otherwise. Closing an open under way abandons it at once.
TEST_F(EmbeddedServerTest, AsynchronousOpensConnectTimeoutsAndAnAbandonedOpen)
{
    EmbeddedServer::setLatency(server.folder(), 300);
    Connection slow;
    slow.Open(server.connectionString(), {}, {}, adAsyncConnect);
    EXPECT_EQ(slow.State(), adStateConnecting);
    EXPECT_EQ(errorOf([&] { slow.Execute(QStringLiteral("SELECT 1 as um")); }), 3709);
    EXPECT_EQ(pollUntilSettled(slow), adStateOpen);

    Connection refused;
    refused.Open(server.connectionString(QStringLiteral("sa"), QStringLiteral("errada")), {}, {},
                 adAsyncConnect);
    EXPECT_EQ(pollUntilSettled(refused), adStateClosed);
    ASSERT_EQ(refused.Errors().size(), 1);
    EXPECT_EQ(refused.Errors()[0].number(), error::LoginFailed);

    EmbeddedServer::setLatency(server.folder(), 1500);
    Connection late;
    late.setConnectionTimeout(1);
    QString noStringTimeout = server.connectionString();
    noStringTimeout.remove(QStringLiteral(";Connect Timeout=15"));
    EXPECT_EQ(errorOf([&] { late.Open(noStringTimeout); }), error::Timeout);

    c.setConnectionString(server.connectionString() + QStringLiteral(";Connect Timeout=15"));
    c.setConnectionTimeout(1);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(errorOf([&] { c.Open(); }), error::Timeout);
    EXPECT_LT(clock.elapsed(), 1400);
    c.setConnectionString(server.connectionString() + QStringLiteral(";Connect Timeout=15"));
    c.Open(); // the string's 15 seconds wait the latency out
    EXPECT_EQ(c.State(), adStateOpen);

    Connection abandoned;
    abandoned.Open(server.connectionString(), {}, {}, adAsyncConnect);
    clock.restart();
    abandoned.Close();
    EXPECT_EQ(abandoned.State(), adStateClosed);
    EXPECT_LT(clock.elapsed(), 1000);
}

// A session lost under an open transaction: nothing carries on as if the
// transaction were there, on the old session or a new one, until it is
// rolled back.
TEST_F(EmbeddedServerTest, ATransactionLostWithItsSessionRefusesEverythingUntilRolledBack)
{
    open();
    c.Execute(QStringLiteral("CREATE TABLE t (n INT)"));
    c.BeginTrans();
    c.Execute(QStringLiteral("INSERT INTO t (n) VALUES (1)"));
    EXPECT_EQ(c.TransactionLevel(), 1);
    c.Close(); // as a reconnection does
    open();
    EXPECT_TRUE(c.TransactionLost());
    EXPECT_EQ(errorOf([&] { c.Execute(QStringLiteral("INSERT INTO t (n) VALUES (2)")); }),
              error::TransactionLost);
    EXPECT_EQ(errorOf([&] { c.CommitTrans(); }), error::TransactionLost);
    EXPECT_EQ(errorOf([&] { c.BeginTrans(); }), error::TransactionLost);
    c.RollbackTrans();
    EXPECT_FALSE(c.TransactionLost());
    EXPECT_EQ(number("SELECT COUNT(*) FROM t"), 0);
    // A rollback the server refuses ends the session: no lock outlives it.
    c.BeginTrans();
    c.Execute(QStringLiteral("INSERT INTO t (n) VALUES (3)"));
    EmbeddedServer::armFault(1, EmbeddedServer::FaultKind::Kill);
    EXPECT_NE(errorOf([&] { c.Execute(QStringLiteral("INSERT INTO t (n) VALUES (4)")); }), 0);
    EmbeddedServer::disarmFault();
    EXPECT_NE(errorOf([&] { c.RollbackTrans(); }), 0);
    EXPECT_EQ(c.State(), adStateClosed);
    Connection other;
    other.Open(server.connectionString());
    other.BeginTrans(); // the catalog is free
    other.RollbackTrans();
}

namespace {

int unixMode(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

} // namespace

// Catalogs and logins are the server owner's only.
TEST(EmbeddedServerFiles, AreTheOwnersOnly)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("novo/servidor"));
    EmbeddedServer::createLogin(folder, QStringLiteral("sa"), QStringLiteral("pw"),
                                ado::embedded::HashStrength::Minimal);
    EmbeddedServer::createCatalog(folder, QStringLiteral("Quarvenses"));
    for (const QString& file :
         {folder + QStringLiteral("/master.db"), folder + QStringLiteral("/Quarvenses.db")})
        EXPECT_EQ(unixMode(file), 0600) << file.toStdString();
    for (const QString& path : {folder, dir.filePath(QStringLiteral("novo"))})
        EXPECT_EQ(unixMode(path), 0700) << path.toStdString();
    Connection c; // its journal files follow the catalog's mode
    c.Open(QStringLiteral("User ID=sa;Password=pw;Initial Catalog=Quarvenses;Data Source=") + folder);
    c.Execute(QStringLiteral("CREATE TABLE t (n INT)"));
    EXPECT_EQ(unixMode(folder + QStringLiteral("/Quarvenses.db-wal")), 0600);
}

TEST_F(EmbeddedServerTest, AStatementLatencySlowsEveryRoundTripUntilRemoved)
{
    constexpr int latencyMs = 150;
    constexpr int statements = 3;
    open();
    const QString select = QStringLiteral("SELECT 1 as um");
    c.Execute(select);

    // Sessions already open see the marker as it comes.
    EmbeddedServer::setStatementLatency(server.folder(), latencyMs);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < statements; ++i)
        c.Execute(select);
    EXPECT_GE(clock.elapsed(), statements * latencyMs);

    // Beginning and committing are round trips too; a batch is one.
    clock.restart();
    c.BeginTrans();
    c.Execute(QStringLiteral("CREATE TABLE t (n INT); INSERT INTO t VALUES (1); SELECT n FROM t"));
    c.CommitTrans();
    EXPECT_GE(clock.elapsed(), 3 * latencyMs);
    EXPECT_LT(clock.elapsed(), 4 * latencyMs) << "the batch's statements share one wait";

    // A changed value is read again; a new session reads it when it opens.
    EmbeddedServer::setStatementLatency(server.folder(), 2 * latencyMs);
    Connection later;
    later.Open(server.connectionString());
    clock.restart();
    later.Execute(select);
    c.Execute(select);
    EXPECT_GE(clock.elapsed(), 4 * latencyMs);

    EmbeddedServer::setStatementLatency(server.folder(), 0);
    EXPECT_FALSE(QFile::exists(server.folder() + QStringLiteral("/statement-latency")));
    clock.restart();
    for (int i = 0; i < statements; ++i) {
        c.Execute(select);
        later.Execute(select);
    }
    EXPECT_LT(clock.elapsed(), latencyMs) << "0 removes it";
}
