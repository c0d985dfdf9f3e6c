// Building the demonstration catalog from scratch, as the host does on its
// first run: server folder, login, schema and demonstration data. Target: well
// under a few seconds, also with the sites' password hashing (Interactive).
#include "platform/ado/embedded/CatalogBuilder.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void build(benchmark::State& state, bool demo, ado::embedded::HashStrength strength)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        state.ResumeTiming();
        ado::embedded::createCatalogFromSchema(dir.path(), QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                               QStringLiteral("pw"), demo, strength);
    }
}

void BM_SchemaOnly(benchmark::State& state)
{
    build(state, false, ado::embedded::HashStrength::Minimal);
}
BENCHMARK(BM_SchemaOnly)->Unit(benchmark::kMillisecond);

void BM_DemoCatalog(benchmark::State& state)
{
    build(state, true, ado::embedded::HashStrength::Minimal);
}
BENCHMARK(BM_DemoCatalog)->Unit(benchmark::kMillisecond);

void BM_DemoCatalogFirstRun(benchmark::State& state)
{
    build(state, true, ado::embedded::HashStrength::Interactive);
}
BENCHMARK(BM_DemoCatalogFirstRun)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
