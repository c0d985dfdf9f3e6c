// "Possíveis duplicados" on a large catalog (100 000 contacts, or
// QV_BENCH_CONTACTS): the window filled from the catalog (its three
// readings and the grouping), and the grouping alone. Target: the window
// filled in under 5 s at 100 000 contacts.
#include "bench/ConnectedCatalog.h"
#include "connection/ConnectionState.h"
#include "host/DuplicatesWindow.h"

#include <QApplication>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

const QString login = QStringLiteral("sa");
const QString password = QStringLiteral("pw");
constexpr int repetitions = 5;

bench::ConnectedCatalog& connected()
{
    static bench::ConnectedCatalog c(login, password);
    return c;
}

void BM_FillTheWindow(benchmark::State& state)
{
    connected();
    DuplicatesWindow window(login);
    for (auto _ : state) {
        window.refill();
        benchmark::DoNotOptimize(window.tree().topLevelItemCount());
    }
    state.counters["groups"] = window.tree().topLevelItemCount();
    state.counters["rss_MB"] = bench::residentBytes() / (1024.0 * 1024.0);
}
BENCHMARK(BM_FillTheWindow)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(repetitions);

void BM_FindGroups(benchmark::State& state)
{
    connected();
    duplicates::DuplicateFinder finder(login);
    qsizetype groups = 0;
    for (auto _ : state)
        groups = finder.find().size();
    state.counters["groups"] = double(groups);
}
BENCHMARK(BM_FindGroups)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(repetitions);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    connected(); // the catalog is made before anything is measured
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
