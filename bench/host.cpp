// The host on a large catalog (100 000 contacts, or QV_BENCH_CONTACTS),
// through its own session and window: from start to a usable list (first-run
// check, sign-in through General with the demonstration login, the main
// window's first screen listed and shown) and on to the count on the status
// line; a keystroke in the search box until the first screen is listed
// again, for a common name, a locality and the digits of a NIF or telephone
// typed a character at a time; a screen more read as the list scrolls.
// Counters: rows shown, the process's resident memory, the time spent
// signing in, listing, counting and in the data-access layer's calls, and
// for a keystroke its statements' floor on a raw sqlite3 connection.
// Targets at 1 000 000 contacts: start-up < 1 s, resident memory < 300 MB,
// a keystroke < 150 ms, a screen scrolled < 50 ms.
#include "bench/LargeCatalog.h"
#include "bench/StatementFloor.h"
#include "connection/ConnectionState.h"
#include "host/FirstRun.h"
#include "host/HostSession.h"
#include "host/HostWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

constexpr int repetitions = 5;
constexpr double bytesPerMegabyte = 1024.0 * 1024.0;
// What people type, a character at a time: a name, a locality, digits.
const QString typedTexts[] = {QStringLiteral("Maria"), QStringLiteral("Évora"), QStringLiteral("21593")};
constexpr int keystrokeCycle = 9; // "M" up to "Maria" and back down to "M"
constexpr int scrolledScreens = 20;
constexpr int scrolledIterations = 100;

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
    double listNs = 0;   // the main window, its first screen listed and shown
    double countNs = 0;  // from then until the status line has the count
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

// The slices of the count run between events, as the window's idle time.
void waitForCount(HostWindow& window, StartTimes& times)
{
    const auto counting = bench::Clock::now();
    while (window.rows().total() < 0)
        QCoreApplication::processEvents();
    times.countNs += bench::elapsedNs(counting);
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
    double total = 0;
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
        waitForCount(*window, times);
        total = window->rows().total();
        stopHost(session);
        state.ResumeTiming();
    }
    const double runs = double(state.iterations());
    state.counters["rows"] = rows;
    state.counters["listed"] = total;
    state.counters["rss_MB"] = resident / bytesPerMegabyte;
    state.counters["sign_in_ms"] = times.signInNs / runs / bench::nsPerMs;
    state.counters["list_ms"] = times.listNs / runs / bench::nsPerMs;
    state.counters["count_ms"] = times.countNs / runs / bench::nsPerMs;
    state.counters["layer_ms"] = recording.layerMsEach();
    state.counters["statements"] = recording.statementsEach();
}
BENCHMARK(BM_HostStartUp)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions)
    ->ReportAggregatesOnly(true)
    ->Iterations(3);

// Each iteration one keystroke and the first screen listed for it (the
// 250 ms pause the window waits for typing to stop is left out): the next
// character of the text, or a backspace once it is all there, down to its
// first character and up again. The argument chooses the text.
void BM_SearchKeystroke(benchmark::State& state)
{
    const QString typed = typedTexts[state.range(0)];
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
    state.SetLabel(typed.toStdString());
    state.counters["rows"] = keystrokes ? rows / keystrokes : 0;
    state.counters["rss_MB"] = bench::residentBytes() / bytesPerMegabyte;
    state.counters["layer_ms"] = recording.layerMsEach();
    state.counters["floor_ms"] =
        bench::floorNs(recording.recorded(), site().catalog.catalogFile()) / bench::nsPerMs;
    stopHost(session);
}
BENCHMARK(BM_SearchKeystroke)
    ->DenseRange(0, int(std::size(typedTexts)) - 1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions)
    ->ReportAggregatesOnly(true)
    ->Iterations(keystrokeCycle);

// A screen more of the whole list, as the view asks for it when scrolled to
// the end of what it holds.
void BM_ScrollScreen(benchmark::State& state)
{
    HostWindow* window = nullptr;
    StartTimes times;
    std::unique_ptr<HostSession> session = startHost(window, times);
    waitForCount(*window, times);
    ContactListModel& rows = window->rows();
    int screens = 0;
    for (auto _ : state) {
        if (++screens % scrolledScreens == 0) {
            state.PauseTiming();
            window->refreshList(); // back to the top, so that the rows held stay a screenful's
            state.ResumeTiming();
        }
        rows.fetchMore({});
    }
    state.counters["rows_held"] = rows.rowCount();
    state.counters["rss_MB"] = bench::residentBytes() / bytesPerMegabyte;
    stopHost(session);
}
BENCHMARK(BM_ScrollScreen)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(repetitions)
    ->ReportAggregatesOnly(true);

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
