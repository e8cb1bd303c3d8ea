// Cost of one controller tick with the main window shown, a run in progress and the run display
// open: an ordinary tick, and one in which a gate passage moves the run on. Runs offscreen; the data folder
// is a temporary one.
#include "app/SLMain.h"
#include "devices/GateSentence.h"
#include "support/FakeFtdiDevices.h"
#include "timing/GateSequence.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct TickFixture
{
    explicit TickFixture(std::vector<int> gates = {0, 1, 2, 3})
    {
        qputenv("XDG_DATA_HOME", dataDir.path().toUtf8());
        devices.addDevice("Swiftlane gate adapter", "SL000001", 0x121);
        controller = std::make_unique<SLMain>();
        GateSequence sequence;
        sequence.SetName(QStringLiteral("Bench"));
        for (unsigned i = 0; i < gates.size(); ++i)
            sequence.InsertGate(i, gates[i]);
        sequence.SetTotalDistance(30.0);
        sequence.Save(controller->RunsFolder() + QStringLiteral("Bench.run"));
        // Init() without its timer, so only the benchmark drives ticks.
        SLMainWindow& window = controller->MainWindow();
        window.setController(controller.get());
        window.showAndRefresh();
        window.hideRfidControls();
        controller->FinishStartup(); // opens the gate link
        controller->TickTimer().stop();
        QMetaObject::invokeMethod(&controller->MainWindow(), "on_raceViewPushButton_clicked");
        controller->SetSubjectName(QStringLiteral("Athlete"));
        controller->GetSequenceRun().StartRun();
        controller->MainWindow().appendReportRow(controller->GetSequenceRun().BuildResultRow());
        controller->OnGateEvent(0, 1000, true);
        controller->OnGateEvent(1, 2500, true);
        QCoreApplication::processEvents();
    }

    // Status sentences as the gates send them at 10 Hz, one every fourth tick.
    void tick(int n)
    {
        if (n % 4 == 0) {
            deviceTime += 100;
            const bool ready[4] = {true, true, true, true};
            devices.pushIncoming("SL000001",
                                 QByteArray::fromStdString(FormatStatusSentence(deviceTime, ready) + "\r\n"));
        }
        controller->OnTimer();
    }

    // The gate the run awaits passes: the event arrives and is decoded in the tick.
    void passage()
    {
        const SequenceRun& run = controller->GetSequenceRun();
        // Splits differ from one passage to the next, as a subject's do, so the panels' times change.
        deviceTime += 600 + (++passages * 137) % 400;
        const int gate = run.GateNumberAt(static_cast<unsigned>(run.CurrentGateIndex())).value_or(0);
        devices.pushIncoming("SL000001",
                             QByteArray::fromStdString(FormatEventSentence(deviceTime, gate, true) + "\r\n"));
        controller->OnTimer();
    }

    QTemporaryDir dataDir;
    platform::FakeFtdiDevices devices;
    std::unique_ptr<SLMain> controller;
    std::uint32_t deviceTime = 2500;
    std::uint32_t passages = 0;
};

void BM_ControllerTick(benchmark::State& state)
{
    TickFixture fixture;
    int tick = 0;
    for (auto _ : state) {
        fixture.tick(++tick);
    }
}
BENCHMARK(BM_ControllerTick)->Unit(benchmark::kMicrosecond);

// The same tick followed by the event processing (layout and painting) it causes.
void BM_ControllerTickWithPaint(benchmark::State& state)
{
    TickFixture fixture;
    int tick = 0;
    for (auto _ : state) {
        fixture.tick(++tick);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ControllerTickWithPaint)->Unit(benchmark::kMicrosecond);

// A passage in the middle of a run, with the layout and painting it causes. The run's last passage
// (which writes a report row) and the start of the next run are not timed. Four gates: the strip
// fits the window and the run display's panels stay, only the highlight moves. Eight: every timed
// passage scrolls the strip and slides the panels on.
void BM_PassageTickWithPaint(benchmark::State& state)
{
    const std::vector<int> course = {0, 1, 2, 3, 0, 1, 2, 3};
    TickFixture fixture({course.begin(), course.begin() + state.range(0)});
    SequenceRun& run = fixture.controller->GetSequenceRun();
    for (auto _ : state) {
        if (run.CurrentGateIndex() < 2 || run.CurrentGateIndex() + 1 >= run.GateCount()) {
            state.PauseTiming();
            while (run.IsRunning())
                fixture.passage();
            run.StartRun();
            fixture.passage(); // the start gate
            fixture.passage(); // the first checkpoint
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
        fixture.passage();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PassageTickWithPaint)->Unit(benchmark::kMicrosecond)->ArgName("gates")->Arg(4)->Arg(8);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The figures are the tick's, not the console's: the application's trace lines are off too.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
