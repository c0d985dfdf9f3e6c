// CheckObjectSecurity for action 0 on a catalog with 10 000 users, 200 groups
// (each user in 3) and 100 000 permission rows, against the same statement
// run directly on sqlite3. Target: under 1 ms a check on the embedded server.
#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/StatementTrace.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/dialect/SqlFunctions.h"
#include "platform/dialect/TSqlDialect.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

struct Catalog {
    QTemporaryDir dir;
    QString text;
    QString decidingStatement;

    Catalog()
    {
        ado::embedded::createCatalogFromSchema(dir.path(), QStringLiteral("Bench"), QStringLiteral("sa"),
                                               QStringLiteral("pw"), false,
                                               ado::embedded::HashStrength::Minimal);
        text = QStringLiteral("User ID=sa;Password=pw;Initial Catalog=Bench;Data Source=") + dir.path();
        Conn().strSQLMasterConnString = StringCipher::Encipher(text);
        ado::Connection& c = Data().SqlServer;
        c.Open(text);
        c.BeginTrans();
        for (int g = 1; g <= 200; ++g)
            c.runWith(QStringLiteral("INSERT INTO tbGroups (group_id, descrit, code) VALUES (?, ?, ?)"),
                      {vb::Variant(g), vb::Variant(QStringLiteral("Grupo %1").arg(g)),
                       vb::Variant(QStringLiteral("$%1").arg(g, 4, 10, QChar(u'0')))});
        for (int u = 1; u <= 10000; ++u) {
            c.runWith(QStringLiteral("INSERT INTO tbUsers (user_id, descrit, code) VALUES (?, ?, ?)"),
                      {vb::Variant(u), vb::Variant(QStringLiteral("user%1").arg(u)),
                       vb::Variant(QStringLiteral("$%1").arg(u + 10000, 5, 10, QChar(u'0')))});
            for (int k = 0; k < 3; ++k)
                c.runWith(
                    QStringLiteral(
                        "INSERT INTO tbGroups_Users_Links (group_id, user_id, predef) VALUES (?, ?, ?)"),
                    {vb::Variant(1 + (u * 7 + k * 31) % 200), vb::Variant(u), vb::Variant(k == 0 ? 1 : 0)});
        }
        for (int r = 1; r <= 100000; ++r)
            c.runWith(QStringLiteral("INSERT INTO tbTulvas_Contactos_Permitions (contacto_id, user_code, "
                                     "group_code) VALUES (?, ?, ?)"),
                      {vb::Variant(r),
                       vb::Variant(QStringLiteral("$%1").arg(10000 + r % 10000, 5, 10, QChar(u'0')) +
                                   QStringLiteral("1111")),
                       vb::Variant(QStringLiteral("$%1").arg(1 + r % 200, 4, 10, QChar(u'0')) +
                                   QStringLiteral("1000"))});
        c.CommitTrans();
        Conn().strUser = QStringLiteral("user42");
        ado::ScopedTrace trace([&](const ado::TraceEntry& e) {
            if (e.statement.startsWith(QStringLiteral("SELECT * FROM")))
                decidingStatement = e.statement;
        });
        modCheckPermissions::CheckObjectSecurity(Conn().strUser, 5042, 2, 0);
    }
};

Catalog& catalog()
{
    static Catalog c;
    return c;
}

void BM_CheckObjectSecurity(benchmark::State& state)
{
    Catalog& c = catalog();
    int id = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(modCheckPermissions::CheckObjectSecurity(Conn().strUser, id, 2, 0));
        id = id % 100000 + 1;
    }
    (void)c;
}
BENCHMARK(BM_CheckObjectSecurity)->Unit(benchmark::kMicrosecond);

// The deciding statement alone, translated once, on a raw sqlite3 handle.
void BM_RawDecidingStatement(benchmark::State& state)
{
    Catalog& c = catalog();
    sqlite3* db = nullptr;
    sqlite3_open_v2((c.dir.path() + QStringLiteral("/Bench.db")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READWRITE, nullptr);
    dialect::FunctionContext context;
    dialect::registerFunctions(db, &context);
    const QByteArray sql = dialect::translate(c.decidingStatement).first().sql.toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        benchmark::DoNotOptimize(sqlite3_step(st));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}
BENCHMARK(BM_RawDecidingStatement)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
