// Syncing the contacts file with an address book on a local Radicale, the
// file holding 1 000 contacts, the demonstration data's and generated ones
// (or the demonstration data and QV_BENCH_CONTACTS generated): the first
// sync, which sends every card, and a sync with nothing changed. Targets:
// the first under 30 s, the second under 1 s. The counter "cards" shows how
// many cards the first sync sent. The first sync is also measured with each
// request held 20 ms on its way.
#include "bench/ConnectedCatalog.h"
#include "connection/ConnectionState.h"
#include "documents/carddav/CardDavSync.h"
#include "tests/support/FaultyProxy.h"
#include "tests/support/Radicale.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

const QString login = QStringLiteral("sa");
const QString password = QStringLiteral("pw");
const QString davUser = QStringLiteral("ana");
const QString davPassword = QStringLiteral("senha-ana");
constexpr int contactsInFile = 1000;
// The demonstration data puts this many contacts in the file before any is
// generated.
constexpr int demonstrationContacts = 43;
constexpr int repetitions = 3;
constexpr int distantServerMs = 20; // a round trip to a server in another town

bench::ConnectedCatalog& connected()
{
    static bench::ConnectedCatalog c(login, password);
    return c;
}

carddav::SyncSummary syncWith(const QUrl& book)
{
    carddav::DavClient client({davUser, davPassword});
    carddav::CatalogWins catalogWins;
    return carddav::synchronise(client, {book, QStringLiteral("Contactos Quarvenses"), login}, catalogWins);
}

// Each repetition a new server and book: every card goes. With an argument,
// each request is held that many milliseconds on its way, as by a server
// far away.
void BM_FirstSync(benchmark::State& state)
{
    connected();
    const int delayMs = int(state.range(0));
    int sent = 0;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        testsupport::Radicale server({davUser + u':' + davPassword});
        QUrl book =
            server.makeBook(davUser, davPassword, QStringLiteral("primeira") + QString::number(++round));
        testsupport::FaultyProxy distance(server.port());
        distance.delayRequests(delayMs);
        if (delayMs > 0)
            book.setPort(distance.port());
        state.ResumeTiming();
        const carddav::SyncSummary s = syncWith(book);
        sent = s.sent;
        if (!s.complete())
            state.SkipWithError(qPrintable(s.failure + s.refused.join(u'\n')));
    }
    state.counters["cards"] = sent;
    if (sent != bench::largeContacts() + demonstrationContacts)
        state.SkipWithError("the file does not hold the contacts the catalog was made with");
}
BENCHMARK(BM_FirstSync)
    ->Arg(0)
    ->Arg(distantServerMs)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(repetitions);

void BM_NothingChanged(benchmark::State& state)
{
    connected();
    testsupport::Radicale server({davUser + u':' + davPassword});
    const QUrl book = server.makeBook(davUser, davPassword, QStringLiteral("quieta"));
    syncWith(book);
    int requests = 0;
    for (auto _ : state) {
        const carddav::SyncSummary s = syncWith(book);
        requests = s.requests;
        if (s.sent + s.received != 0)
            state.SkipWithError("a sync with nothing changed changed something");
    }
    state.counters["requests"] = requests;
}
BENCHMARK(BM_NothingChanged)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(repetitions);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QV_BENCH_CONTACTS"))
        qputenv("QV_BENCH_CONTACTS", QByteArray::number(contactsInFile - demonstrationContacts));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    connected(); // the catalog is made before anything is measured
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
