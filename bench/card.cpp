// The record card on 100 000 contacts, driven through General as a host
// drives it: opening a contact until tab 1 is filled and the after-load work
// has run, next and previous, the first load of tabs 2, 3 and 4, and a tab-1
// save of a changed name. Beside each operation, in the same run, its floor:
// the statements it sent, translated once, replayed on a raw sqlite3
// connection. Counters: statements and round trips (connects and statements)
// an operation, the time spent in the data-access layer's calls, the floor in
// milliseconds and the ratio to it. The argument
// is the statement latency in milliseconds (0, 1 and 5); with latency the
// floor counts it once a round trip.
// Targets: open < 60 ms and within 4x its floor; next and previous < 30 ms;
// tab-1 save < 40 ms; open < 250 ms with 5 ms round trips.
#include "bench/LargeCatalog.h"
#include "bench/StatementFloor.h"
#include "card/CardSettings.h"
#include "card/WindowPlace.h"
#include "card/frmInicial.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "panels/ucIDSingular.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/values/Conversions.h"
#include "settings/modRegistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>
#include <vector>

namespace {

const char16_t hostListSql[] = u"SELECT contacto_id, nome_union FROM tbContactos ORDER BY contacto_id";
const char16_t peopleSql[] = u"SELECT contacto_id FROM tbContactos WHERE genero_id = 1 ORDER BY contacto_id";
const QString login = QStringLiteral("sa");
const QString password = QStringLiteral("pw");

constexpr int repetitions = 5;
constexpr int openingRuns = 20;     // each needs the card opened and closed around it
constexpr int movingRuns = 40;      // the card stays open
constexpr int sampledContacts = 64; // the contacts an operation cycles through
constexpr int contactStride = 7919; // spreads the sampled contacts over the catalog
constexpr int firstTab = 1;
constexpr int latencies[] = {0, 1, 5};

using bench::Clock;
using bench::elapsedNs;

// ---- The card, as a host opens it ----
class CardHost {
  public:
    CardHost() : catalog_(login, password)
    {
        modRegistry::GarantirShadow();
        general_.SQLConnect(login, StringCipher::Encipher(password), login, StringCipher::Encipher(password),
                            QString::fromLatin1(bench::catalogName), catalog_.folder());
        hostList_.Open(QString::fromUtf16(hostListSql), Data().SqlServer);
        const int count = hostList_.RecordCount();
        for (int i = 0; i < sampledContacts; ++i) {
            hostList_.setAbsolutePosition(1 + int((qint64(i) * contactStride) % count));
            contacts_.push_back(vb::CLng(hostList_(QStringLiteral("contacto_id"))));
        }
        ado::Recordset people;
        people.Open(QString::fromUtf16(peopleSql), Data().SqlServer);
        std::vector<qint32> all;
        for (; !people.Eof(); people.MoveNext())
            all.push_back(vb::CLng(people(QStringLiteral("contacto_id"))));
        for (int i = 0; i < sampledContacts; ++i)
            people_.push_back(all[std::size_t((qint64(i) * contactStride) % qint64(all.size()))]);
    }

    qint32 contact(int i) const { return contacts_[std::size_t(i % sampledContacts)]; }
    qint32 person(int i) const { return people_[std::size_t(i % sampledContacts)]; }
    frmInicial& card() { return *general_.card(); }
    bench::LargeCatalog& catalog() { return catalog_; }

    // Opens the card on a contact with tab 1 restored; back when the
    // after-load timer has run.
    void open(qint32 id)
    {
        general_.ObjectOpen(hostList_, vb::Variant(id));
        settle();
    }
    static void storeWindow(int frame)
    {
        card::keepWindowPlace({600, 600, card::designWidth, card::designHeight, frame});
    }
    void close()
    {
        if (general_.card() && general_.card()->isVisible())
            general_.card()->close();
        QCoreApplication::processEvents();
        catalog_.windows().clear();
    }
    void settle()
    {
        auto* timer = card().findChild<QTimer*>(QStringLiteral("Timer1"));
        while (timer && timer->isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

  private:
    bench::LargeCatalog catalog_;
    General general_;
    ado::Recordset hostList_;
    std::vector<qint32> contacts_;
    std::vector<qint32> people_;
};

// Made once, and gone before the application is: the card is a widget.
std::unique_ptr<CardHost>& hostSlot()
{
    static std::unique_ptr<CardHost> made;
    return made;
}

CardHost& host()
{
    if (!hostSlot())
        hostSlot() = std::make_unique<CardHost>();
    return *hostSlot();
}

// ---- Painting ----
// The time widgets spend in their paint events: the user waits for it too,
// but the raw floor has nothing like it, so the report shows the ratio with
// and without it.
class PaintTimingApplication : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || painting_)
            return QApplication::notify(receiver, event);
        painting_ = true;
        const auto start = Clock::now();
        const bool handled = QApplication::notify(receiver, event);
        paintNs_ += elapsedNs(start);
        painting_ = false;
        return handled;
    }
    double paintNs() const { return paintNs_; }

  private:
    bool painting_ = false;
    double paintNs_ = 0;
};

double paintNs()
{
    return static_cast<const PaintTimingApplication*>(QCoreApplication::instance())->paintNs();
}

// ---- One operation, measured and recorded ----
struct Operation {
    std::function<void(int)> before; // untimed: brings the card to where the operation starts
    std::function<void(int)> work;   // timed
    std::function<void(int)> after;  // untimed
};

void measure(benchmark::State& state, const Operation& op)
{
    const int latency = int(state.range(0));
    ado::embedded::EmbeddedServer::setStatementLatency(host().catalog().folder(), latency);
    bench::Recording recording;
    double workNs = 0;
    double paintedNs = 0;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        op.before(i);
        recording.start();
        state.ResumeTiming();
        const auto start = Clock::now();
        const double paintedBefore = paintNs();
        op.work(i);
        workNs += elapsedNs(start);
        paintedNs += paintNs() - paintedBefore;
        state.PauseTiming();
        recording.stop();
        op.after(i);
        ++i;
        state.ResumeTiming();
    }
    ado::embedded::EmbeddedServer::setStatementLatency(host().catalog().folder(), 0);
    const double floor = bench::floorNs(recording.recorded(), host().catalog().catalogFile()) +
                         recording.roundTripsEach() * latency * bench::nsPerMs;
    state.counters["statements"] = recording.statementsEach();
    state.counters["round_trips"] = recording.roundTripsEach();
    state.counters["layer_ms"] = recording.layerMsEach();
    state.counters["floor_ms"] = floor / bench::nsPerMs;
    state.counters["ratio"] = floor > 0 ? workNs / double(i) / floor : 0;
    state.counters["paint_ms"] = i ? paintedNs / double(i) / bench::nsPerMs : 0;
    state.counters["ratio_unpainted"] = floor > 0 ? (workNs - paintedNs) / double(i) / floor : 0;
}

void nothing(int) {}

void BM_Open(benchmark::State& state)
{
    CardHost& h = host();
    measure(state, {[](int) { CardHost::storeWindow(firstTab); }, [&h](int i) { h.open(h.contact(i)); },
                    [&h](int) { h.close(); }});
}

// The card stays open and moves on the host's list from the sampled contact.
void moving(benchmark::State& state, void (frmInicial::*move)())
{
    CardHost& h = host();
    CardHost::storeWindow(firstTab);
    h.open(h.contact(sampledContacts / 2));
    measure(state, {nothing,
                    [&h, move](int) {
                        (h.card().*move)();
                        h.settle();
                    },
                    nothing});
    h.close();
}

void BM_Next(benchmark::State& state)
{
    moving(state, &frmInicial::moveNext);
}

void BM_Previous(benchmark::State& state)
{
    moving(state, &frmInicial::movePrevious);
}

void firstLoadOfTab(benchmark::State& state, int tab)
{
    CardHost& h = host();
    measure(state, {[&h](int i) {
                        CardHost::storeWindow(firstTab);
                        h.open(h.contact(i));
                    },
                    [&h, tab](int) {
                        h.card().selectTab(tab);
                        h.settle();
                    },
                    [&h](int) { h.close(); }});
}

void BM_Tab2(benchmark::State& state)
{
    firstLoadOfTab(state, 2);
}

void BM_Tab3(benchmark::State& state)
{
    firstLoadOfTab(state, 3);
}

void BM_Tab4(benchmark::State& state)
{
    firstLoadOfTab(state, 4);
}

// A person's first name changed on tab 1 and saved.
void BM_SaveTab1(benchmark::State& state)
{
    CardHost& h = host();
    const QString names[] = {QStringLiteral("Rosa"), QStringLiteral("Joana")};
    measure(state, {[&h, &names](int i) {
                        CardHost::storeWindow(firstTab);
                        h.open(h.person(i));
                        auto* first =
                            h.card().ucIDSingular1->findChild<QLineEdit*>(QStringLiteral("txtNome"));
                        const QString& name = names[first->text() == names[0] ? 1 : 0];
                        first->setText(name);
                        emit first->textEdited(name);
                    },
                    [&h](int) {
                        qint32 tab = firstTab;
                        h.card().GravarCampos(tab);
                    },
                    [&h](int) { h.close(); }});
}

// Fixed counts of measured runs, since most operations need an untimed
// opening and closing around each run.
void withLatencies(benchmark::internal::Benchmark* b, int iterations)
{
    for (const int latency : latencies)
        b->Arg(latency);
    b->ArgName("latency_ms")
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Iterations(iterations);
}

void openings(benchmark::internal::Benchmark* b)
{
    withLatencies(b, openingRuns);
}

void movings(benchmark::internal::Benchmark* b)
{
    withLatencies(b, movingRuns);
}

BENCHMARK(BM_Open)->Apply(openings);
BENCHMARK(BM_Next)->Apply(movings);
BENCHMARK(BM_Previous)->Apply(movings);
BENCHMARK(BM_Tab2)->Apply(openings);
BENCHMARK(BM_Tab3)->Apply(openings);
BENCHMARK(BM_Tab4)->Apply(openings);
BENCHMARK(BM_SaveTab1)->Apply(openings);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    PaintTimingApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    host(); // the catalog is made before anything is measured
    benchmark::RunSpecifiedBenchmarks();
    host().close();
    hostSlot().reset();
    benchmark::Shutdown();
    return 0;
}
