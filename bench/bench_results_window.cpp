// The Results window over a generated history of 100,000 runs against an empty one: opening it
// (today's runs, the default) and filter changes over every date. It should open within 300 ms
// and answer a filter change within 100 ms.
#include "results/ResultsStore.h"
#include "ui/ResultsWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

struct History
{
    QTemporaryDir dir;
    std::unique_ptr<ResultsStore> store;
};

// Runs of 40 athletes on 3 courses over 300 sessions of the past year, the newest today.
bool Generate(ResultsStore& store, int runs)
{
    if (!store.Open())
        return false;
    QSqlQuery query(store.Database());
    query.exec(QStringLiteral("BEGIN"));
    for (int c = 0; c < 3; ++c)
        query.exec(
            QStringLiteral("INSERT INTO courses(name, gates, distance_m) VALUES('Course %1', '0,1,2,3', 30)")
                .arg(c));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    constexpr int Sessions = 300;
    constexpr qint64 Day = 24LL * 3600 * 1000;
    for (int s = 0; s < Sessions; ++s)
        query.exec(
            QStringLiteral("INSERT INTO sessions(started_utc_ms, utc_offset_s, source) VALUES(%1, 0, 'live')")
                .arg(now - (Sessions - 1 - s) * Day - 60000));
    QSqlQuery run(store.Database());
    run.prepare(QStringLiteral(
        "INSERT INTO runs(id, session_id, course_id, athlete, start_utc_ms, utc_offset_s, total_ms,"
        " speed, simulated, status) VALUES(?, ?, ?, ?, ?, 0, ?, ?, ?, ?)"));
    QSqlQuery split(store.Database());
    split.prepare(QStringLiteral("INSERT INTO splits(run_id, position, gate, ms) VALUES(?, ?, ?, ?)"));
    for (int i = 1; i <= runs; ++i) {
        const int session = 1 + (i - 1) * Sessions / std::max(runs, 1);
        const qint64 start = now - (Sessions - session) * Day - 60000 + i % 3000;
        const int total = 4500 + (i * 7919) % 1500;
        run.addBindValue(i);
        run.addBindValue(session);
        run.addBindValue(1 + i % 3);
        run.addBindValue(QStringLiteral("Athlete %1").arg(i % 40));
        run.addBindValue(start);
        run.addBindValue(total);
        run.addBindValue(30000.0 / total);
        run.addBindValue(i % 50 == 0 ? 1 : 0);
        run.addBindValue(i % 97 == 0 ? QStringLiteral("invalid") : QStringLiteral("valid"));
        if (!run.exec())
            return false;
        for (int p = 1; p <= 3; ++p) {
            split.addBindValue(i);
            split.addBindValue(p);
            split.addBindValue(p);
            split.addBindValue(total / 3);
            if (!split.exec())
                return false;
        }
    }
    return query.exec(QStringLiteral("COMMIT")) && query.exec(QStringLiteral("ANALYZE"));
}

History& HistoryOf(int runs)
{
    static std::map<int, History> histories;
    auto it = histories.find(runs);
    if (it == histories.end()) {
        History& made = histories[runs];
        made.store = std::make_unique<ResultsStore>(made.dir.filePath(QStringLiteral("Results.sqlite")));
        Generate(*made.store, runs);
        return made;
    }
    return it->second;
}

void BM_OpenResultsWindow(benchmark::State& state)
{
    History& history = HistoryOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ResultsWindow window;
        window.openOn(*history.store, history.dir.path());
        QApplication::processEvents(); // the first paint
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(BM_OpenResultsWindow)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);

// A filter every history answers: simulated runs shown, then hidden again, over every date.
void BM_FilterChange(benchmark::State& state)
{
    History& history = HistoryOf(static_cast<int>(state.range(0)));
    ResultsWindow window;
    window.openOn(*history.store, history.dir.path());
    window.findChild<QPushButton*>(QStringLiteral("allDatesPushButton"))->click();
    auto* simulated = window.findChild<QCheckBox*>(QStringLiteral("showSimulatedCheckBox"));
    for (auto _ : state) {
        simulated->toggle();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FilterChange)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond);

// One athlete after another over every date (2,500 runs each in the large history).
void BM_AthleteChange(benchmark::State& state)
{
    History& history = HistoryOf(static_cast<int>(state.range(0)));
    ResultsWindow window;
    window.openOn(*history.store, history.dir.path());
    window.findChild<QPushButton*>(QStringLiteral("allDatesPushButton"))->click();
    auto* athletes = window.findChild<QComboBox*>(QStringLiteral("athleteComboBox"));
    int next = 0;
    for (auto _ : state) {
        athletes->setCurrentIndex(1 + next++ % (athletes->count() - 1));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_AthleteChange)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
