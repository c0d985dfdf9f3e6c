// A point SELECT by key on a 100 000-row table: through Recordset on the
// embedded provider, and through the raw sqlite3 C API with the same
// statement text, in one run. The layer should stay within 2x of raw.
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/values/Conversions.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int rowCount = 100000;

struct Fixture {
    QTemporaryDir dir;
    QString connectionString;
    ado::Connection connection;

    Fixture()
    {
        using ado::embedded::EmbeddedServer;
        EmbeddedServer::createLogin(dir.path(), QStringLiteral("sa"), QStringLiteral("pw"),
                                    ado::embedded::HashStrength::Minimal);
        EmbeddedServer::createCatalog(dir.path(), QStringLiteral("Bench"));
        connectionString =
            QStringLiteral("User ID=sa;Password=pw;Initial Catalog=Bench;Data Source=") + dir.path();
        connection.Open(connectionString);
        connection.Execute(
            QStringLiteral("CREATE TABLE tbContactos (contacto_id INT PRIMARY KEY, nome_union NVARCHAR(80), "
                           "no_contribuinte NVARCHAR(20))"));
        connection.BeginTrans();
        const QString insert = QStringLiteral("INSERT INTO tbContactos VALUES (?, ?, ?)");
        for (int i = 1; i <= rowCount; ++i)
            connection.runWith(insert, {vb::Variant(i), vb::Variant(QStringLiteral("Contacto %1").arg(i)),
                                        vb::Variant(QStringLiteral("500%1").arg(i))});
        connection.CommitTrans();
    }
    QString catalogFile() const { return dir.path() + QStringLiteral("/Bench.db"); }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

QString statementFor(int key)
{
    return QStringLiteral("SELECT * FROM tbContactos WHERE contacto_id=%1").arg(key);
}

void BM_RecordsetPointSelect(benchmark::State& state)
{
    Fixture& f = fixture();
    int key = 1;
    for (auto _ : state) {
        ado::Recordset rs;
        rs.Open(statementFor(key), f.connection);
        benchmark::DoNotOptimize(vb::CStr(rs(QStringLiteral("nome_union"))));
        rs.Close();
        key = (key + 7919) % rowCount + 1;
    }
}
BENCHMARK(BM_RecordsetPointSelect);

void BM_RawSqlitePointSelect(benchmark::State& state)
{
    Fixture& f = fixture();
    sqlite3* db = nullptr;
    sqlite3_open_v2(f.catalogFile().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX,
                    nullptr);
    int key = 1;
    for (auto _ : state) {
        const QByteArray sql = statementFor(key).toUtf8();
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr);
        if (sqlite3_step(statement) == SQLITE_ROW)
            benchmark::DoNotOptimize(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1))));
        sqlite3_finalize(statement);
        key = (key + 7919) % rowCount + 1;
    }
    sqlite3_close(db);
}
BENCHMARK(BM_RawSqlitePointSelect);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
