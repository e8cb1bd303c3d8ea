// Cost of one controller tick with the main window shown, a 4-gate run in progress and the run
// display open. Runs offscreen; the data folder is a temporary one.
#include "app/SLMain.h"
#include "devices/GateSentence.h"
#include "support/FakeFtdiDevices.h"
#include "timing/GateSequence.h"

#include <QApplication>
#include <QMetaObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct TickFixture
{
    TickFixture()
    {
        qputenv("XDG_DATA_HOME", dataDir.path().toUtf8());
        devices.addDevice("Swiftlane gate adapter", "SL000001", 0x121);
        controller = std::make_unique<SLMain>();
        GateSequence sequence;
        sequence.SetName(QStringLiteral("Bench"));
        for (unsigned i = 0; i < 4; ++i)
            sequence.InsertGate(i, static_cast<int>(i));
        sequence.SetTotalDistance(30.0);
        sequence.Save(controller->RunsFolder() + QStringLiteral("Bench.run"));
        // Init() without its timer, so only the benchmark drives ticks.
        SLMainWindow& window = controller->MainWindow();
        window.setController(controller.get());
        window.showAndRefresh();
        window.hideRfidControls();
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

    QTemporaryDir dataDir;
    platform::FakeFtdiDevices devices;
    std::unique_ptr<SLMain> controller;
    std::uint32_t deviceTime = 2500;
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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
