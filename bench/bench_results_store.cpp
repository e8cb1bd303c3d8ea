// Storing a finished run in the results history (one transaction: run, course lookup, three
// splits) against the floor of one bare row inserted in its own transaction on the same file and
// journal. The tick allows 2 ms for it.
#include "results/ResultsStore.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

RunRecord SampleRun(int i)
{
    RunRecord run;
    run.athlete = QStringLiteral("Athlete %1").arg(i % 40);
    run.course = {QStringLiteral("Sprint"), {0, 1, 2, 3}, 30.0};
    run.startUtc = QDateTime::currentDateTimeUtc();
    run.splits = {{1, 1800 + i % 100}, {2, 1500}, {3, 1400}};
    run.totalMs = 4700 + i % 100;
    run.speed = 30.0 / (run.totalMs / 1000.0);
    return run;
}

void BM_StoreRun(benchmark::State& state)
{
    QTemporaryDir dir;
    ResultsStore store(dir.filePath(QStringLiteral("Results.sqlite")));
    if (!store.Open()) {
        state.SkipWithError("cannot open the history");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        if (!store.Store(SampleRun(++i)))
            state.SkipWithError("not stored");
    }
}
BENCHMARK(BM_StoreRun)->Unit(benchmark::kMicrosecond);

// The floor: one prepared insert of one row, committed on its own, WAL and the same sync level.
void BM_BareInsertFloor(benchmark::State& state)
{
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(dir.filePath(QStringLiteral("Floor.sqlite")));
        if (!db.open()) {
            state.SkipWithError("cannot open");
            return;
        }
        QSqlQuery query(db);
        query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        query.exec(QStringLiteral("CREATE TABLE t(a INTEGER, b INTEGER)"));
        query.prepare(QStringLiteral("INSERT INTO t(a, b) VALUES(?, ?)"));
        int i = 0;
        for (auto _ : state) {
            query.addBindValue(++i);
            query.addBindValue(4700);
            if (!query.exec())
                state.SkipWithError("not inserted");
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
}
BENCHMARK(BM_BareInsertFloor)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
