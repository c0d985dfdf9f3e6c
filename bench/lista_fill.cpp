// Lista.Fill of 100 000 rows into its view, against filling the same view
// from the same rows with plain Qt calls, in one run. Target: within 1.5x of
// plain Qt and under 2 s.
#include "lists/Lista.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/values/Conversions.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

struct Rows {
    QTemporaryDir dir;
    ado::Connection connection;
    ado::Recordset rs;
    Rows()
    {
        using ado::embedded::EmbeddedServer;
        EmbeddedServer::createLogin(dir.path(), QStringLiteral("sa"), QStringLiteral("pw"),
                                    ado::embedded::HashStrength::Minimal);
        EmbeddedServer::createCatalog(dir.path(), QStringLiteral("Bench"));
        connection.Open(QStringLiteral("User ID=sa;Password=pw;Initial Catalog=Bench;Data Source=") +
                        dir.path());
        connection.Execute(QStringLiteral("CREATE TABLE c (contacto_id INT PRIMARY KEY, nome NVARCHAR(80), "
                                          "nif NVARCHAR(20), localidade NVARCHAR(40))"));
        connection.BeginTrans();
        for (int i = 1; i <= 100000; ++i)
            connection.runWith(QStringLiteral("INSERT INTO c VALUES (?, ?, ?, ?)"),
                               {vb::Variant(i), vb::Variant(QStringLiteral("Contacto %1").arg(i)),
                                vb::Variant(QStringLiteral("5%1").arg(i, 8, 10, QChar(u'0'))),
                                vb::Variant(QStringLiteral("Porto"))});
        connection.CommitTrans();
        rs = connection.Execute(QStringLiteral("SELECT * FROM c ORDER BY contacto_id"));
    }
};

Rows& rows()
{
    static Rows r;
    return r;
}

void BM_ListaFill(benchmark::State& state)
{
    Rows& r = rows();
    QTreeWidget view;
    Lista lista;
    lista.List = &view;
    lista.Key_Field = QStringLiteral("contacto_id");
    lista.AddHeader(QStringLiteral("nome"), QStringLiteral("Nome"));
    lista.AddHeader(QStringLiteral("nif"), QStringLiteral("NIF"));
    lista.AddHeader(QStringLiteral("localidade"), QStringLiteral("Localidade"));
    for (auto _ : state)
        lista.Fill(r.rs);
}
BENCHMARK(BM_ListaFill)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainQtFill(benchmark::State& state)
{
    Rows& r = rows();
    QTreeWidget view;
    view.setHeaderLabels({QStringLiteral("Nome"), QStringLiteral("NIF"), QStringLiteral("Localidade")});
    for (auto _ : state) {
        view.clear();
        QList<QTreeWidgetItem*> items;
        for (r.rs.MoveFirst(); !r.rs.Eof(); r.rs.MoveNext()) {
            auto* item = new QTreeWidgetItem;
            item->setText(0, vb::CStr(r.rs(QStringLiteral("nome"))));
            item->setText(1, vb::CStr(r.rs(QStringLiteral("nif"))));
            item->setText(2, vb::CStr(r.rs(QStringLiteral("localidade"))));
            item->setData(0, Qt::UserRole + 1, vb::CStr(r.rs(QStringLiteral("contacto_id"))) + u'#');
            items.append(item);
        }
        view.addTopLevelItems(items);
    }
}
BENCHMARK(BM_PlainQtFill)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
