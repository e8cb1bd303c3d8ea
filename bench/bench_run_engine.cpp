// Cost of the live row the controller rebuilds on every 25 ms tick while a run is going on.
#include "timing/GateSequence.h"
#include "timing/SequenceRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_LiveRowOfFourGateRun(benchmark::State& state)
{
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));

    GateSequence sequence;
    sequence.SetName(QStringLiteral("Bench"));
    sequence.SetTotalDistance(40.0);
    for (int gate = 0; gate < 4; ++gate)
        sequence.InsertGate(static_cast<unsigned>(gate), gate);
    const QString path = dataHome.filePath(QStringLiteral("Bench.run"));
    if (!sequence.Save(path)) {
        state.SkipWithError("cannot save the sequence");
        return;
    }

    SequenceRun run;
    run.LoadSequence(path);
    run.SetSubjectName(QStringLiteral("Subject"));
    run.StartRun();
    run.GateEvent(0, 1000, true);
    run.GateEvent(1, 3200, true);
    run.Tick(3700);

    for (auto _ : state) {
        QStringList row = run.BuildResultRow();
        double total = run.TotalTime();
        benchmark::DoNotOptimize(row);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_LiveRowOfFourGateRun);

} // namespace

BENCHMARK_MAIN();
