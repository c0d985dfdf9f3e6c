// The host on 100 000 contacts, through its own session and window: from
// start to a usable list (first-run check, sign-in through General with the
// demonstration login, the main window listed and shown), and a keystroke in
// the search box until the list is filled again (typing "Maria" and deleting
// it, a character at a time). Counters: rows listed, the process's resident
// memory once the list is filled, the time spent signing in and in the
// data-access layer's calls, and for a keystroke its statements' floor on a
// raw sqlite3 connection. Targets: start-up < 1.5 s, a
// search keystroke < 120 ms, resident memory < 250 MB.
#include "bench/LargeCatalog.h"
#include "bench/StatementFloor.h"
#include "connection/ConnectionState.h"
#include "host/FirstRun.h"
#include "host/HostSession.h"
#include "host/HostWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>
#include <benchmark/benchmark.h>

namespace {

constexpr int repetitions = 5;
constexpr double bytesPerMegabyte = 1024.0 * 1024.0;
const QString typed = QStringLiteral("Maria");
constexpr int keystrokeCycle = 9; // "M" to "Maria" and back to "M"

struct Site {
    bench::LargeCatalog catalog{QString::fromLatin1(FirstRun::demoLogin),
                                QString::fromLatin1(FirstRun::demoPassword)};
    HostOptions options;
    Site() { options.dataFolder = catalog.folder(); }
};

// Made once, and gone before the application is.
std::unique_ptr<Site>& siteSlot()
{
    static std::unique_ptr<Site> made;
    return made;
}

Site& site()
{
    if (!siteSlot())
        siteSlot() = std::make_unique<Site>();
    return *siteSlot();
}

struct StartTimes {
    double signInNs = 0; // the first-run check and the sign-in
    double listNs = 0;   // the main window, listed and shown
};

std::unique_ptr<HostSession> startHost(HostWindow*& window, StartTimes& times)
{
    const auto start = bench::Clock::now();
    auto session = std::make_unique<HostSession>(site().options);
    QString problem;
    if (!session->prepare(problem) || !session->signIn(QString::fromLatin1(FirstRun::demoLogin),
                                                       QString::fromLatin1(FirstRun::demoPassword), problem))
        qFatal("%s", qPrintable(problem));
    times.signInNs += bench::elapsedNs(start);
    const auto listing = bench::Clock::now();
    window = &session->showMain();
    QCoreApplication::processEvents();
    times.listNs += bench::elapsedNs(listing);
    return session;
}

void stopHost(std::unique_ptr<HostSession>& session)
{
    session.reset();
    ResetConnectionStateForTests();
    QCoreApplication::processEvents();
    site().catalog.windows().clear();
}

void BM_HostStartUp(benchmark::State& state)
{
    site();
    double rows = 0;
    double resident = 0;
    StartTimes times;
    bench::Recording recording;
    for (auto _ : state) {
        HostWindow* window = nullptr;
        recording.start();
        std::unique_ptr<HostSession> session = startHost(window, times);
        state.PauseTiming();
        recording.stop();
        rows = window->rows().rowCount();
        resident = bench::residentBytes();
        stopHost(session);
        state.ResumeTiming();
    }
    const double runs = double(state.iterations());
    state.counters["rows"] = rows;
    state.counters["rss_MB"] = resident / bytesPerMegabyte;
    state.counters["sign_in_ms"] = times.signInNs / runs / bench::nsPerMs;
    state.counters["list_ms"] = times.listNs / runs / bench::nsPerMs;
    state.counters["layer_ms"] = recording.layerMsEach();
    state.counters["statements"] = recording.statementsEach();
}
BENCHMARK(BM_HostStartUp)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions)
    ->ReportAggregatesOnly(true)
    ->Iterations(3);

// Each iteration one keystroke and the list refilled for it (the 250 ms
// pause the window waits for typing to stop is left out): the next letter of
// "Maria", or a backspace once it is all there, down to "M" and up again.
void BM_SearchKeystroke(benchmark::State& state)
{
    HostWindow* window = nullptr;
    StartTimes times;
    std::unique_ptr<HostSession> session = startHost(window, times);
    QLineEdit* search = window->searchBox();
    bench::Recording recording;
    double rows = 0;
    int keystrokes = 0;
    bool typing = true;
    for (auto _ : state) {
        state.PauseTiming();
        recording.start();
        state.ResumeTiming();
        if (typing)
            search->insert(typed.at(search->text().size()));
        else
            search->backspace();
        // What the search pause's timer runs once the user stops typing.
        window->searchList();
        state.PauseTiming();
        recording.stop();
        rows += window->rows().rowCount();
        ++keystrokes;
        if (search->text() == typed)
            typing = false;
        else if (search->text().size() == 1)
            typing = true;
        state.ResumeTiming();
    }
    state.counters["rows"] = keystrokes ? rows / keystrokes : 0;
    state.counters["rss_MB"] = bench::residentBytes() / bytesPerMegabyte;
    state.counters["layer_ms"] = recording.layerMsEach();
    state.counters["floor_ms"] =
        bench::floorNs(recording.recorded(), site().catalog.catalogFile()) / bench::nsPerMs;
    stopHost(session);
}
BENCHMARK(BM_SearchKeystroke)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions)
    ->ReportAggregatesOnly(true)
    ->Iterations(keystrokeCycle);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    site(); // the catalog is made before anything is measured
    benchmark::RunSpecifiedBenchmarks();
    siteSlot().reset();
    benchmark::Shutdown();
    return 0;
}
