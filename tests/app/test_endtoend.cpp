// End to end over real pseudo-terminals: simulated gates write into a terminal linked in a folder
// of the test's own, and the real device list, serial port, decoder, controller and run engine
// take it from there to the report file.
#include "app/SLMain.h"
#include "devices/sim/GateSimulator.h"
#include "devices/sim/PtyAdapter.h"
#include "platform/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/RecordingGateOwner.h"
#include "support/TestFiles.h"

#include <QtTest>

#include <functional>
#include <tuple>

namespace {

// Gates in this process writing into an adapter the application finds as it finds a USB one.
struct Rig
{
    Rig() { qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit()); }

    // Gates switched on (again), their clock starting at settings.clockStart.
    sim::GateSimulator& PowerOn(const sim::GateSimSettings& settings)
    {
        realTime.start();
        gates = std::make_unique<sim::GateSimulator>(
            settings, [this](const QByteArray& bytes) { written += bytes.left(adapter.Write(bytes)); });
        return *gates;
    }

    QTemporaryDir scratch;
    sim::PtyAdapter adapter{"SIM1", scratch.filePath("adapters")};
    std::unique_ptr<sim::GateSimulator> gates;
    QByteArray written;     // every byte the terminal took
    QElapsedTimer realTime; // since the gates were switched on
};

// The decoder is the oracle here: the property tested is the transport's (whole sentences lost,
// none changed), not the decoding, which the protocol tests check against written-out sentences.
QStringList Decoded(const QByteArray& bytes)
{
    RecordingGateOwner owner;
    CGateSystem decoder(&owner);
    decoder.AssembleBytes(reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
    return owner.calls;
}

// A controller on its own data folder, started as the program starts (the link opens after the
// window's first paint), recording, with "4 gates 30 m" selected for Ada. Returns its report.
QString TimeOneRun(Rig& rig, const QString& name, const std::function<void(SLMain&)>& run)
{
    qputenv("XDG_DATA_HOME", rig.scratch.filePath(name).toLocal8Bit());
    const QString sequence = InstallSequence(rig.scratch.filePath(name + "/Swiftlane/Runs"));
    SLMain controller;
    controller.Init();
    controller.StartRecording();
    if (!QTest::qWaitFor([&] { return controller.GatesConnected(); }, 5000))
        return QStringLiteral("no gates");
    controller.SelectRun(sequence);
    controller.SetSubjectName(QStringLiteral("Ada"));
    run(controller);
    if (!QTest::qWaitFor([&] { return !controller.GetSequenceRun().IsRunning(); }, 5000))
        return QStringLiteral("run not finished");
    return QString::fromUtf8(ReadAll(controller.GetSequenceRun().ReportFileName()));
}

} // namespace

class EndToEnd : public QObject
{
    Q_OBJECT

    void LoseOnlyDamagedSentences(double corrupt, double drop, std::uint32_t burstMs)
    {
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 20;
        settings.burstMs = burstMs;
        QByteArray cleanBytes;
        sim::GateSimulator clean(settings, [&](const QByteArray& bytes) { cleanBytes += bytes; });
        settings.faults = {corrupt, drop, 7};
        Rig rig;
        QVERIFY(rig.adapter.Plug());
        sim::GateSimulator& gates = rig.PowerOn(settings);
        // The gate system reading it, polled like the controller polls it, the fake tick count moving
        // 25 ms a poll, giving the bytes real time to cross the terminal.
        platform::FakeClock clock;
        RecordingGateOwner owner;
        CGateSystem system(&owner);
        const auto pollFor = [&](int realMs) {
            QElapsedTimer polling;
            polling.start();
            for (; polling.elapsed() < realMs; clock.advance(25)) {
                QThread::msleep(2);
                system.Poll();
            }
        };
        for (int i = 0; i < 60; ++i) {
            gates.SchedulePassage(7 + i * 50, i % 4);
            clean.SchedulePassage(7 + i * 50, i % 4);
        }
        // 150 status sentences and 60 passages, a fifth of a second of sentences per step.
        for (std::int64_t t = 0; t <= 3000 + burstMs; t += 200) {
            gates.AdvanceTo(t);
            pollFor(15);
        }
        pollFor(40);
        rig.adapter.Unplug();
        clean.AdvanceTo(3000 + burstMs);

        // Only whole sentences went missing, nothing was changed or repeated, and most got through.
        const QStringList got = owner.calls, sent = Decoded(cleanBytes);
        qsizetype at = 0;
        for (const QString& line : got)
            QVERIFY2((at = sent.indexOf(line, at) + 1) > 0, qPrintable(line));
        QVERIFY(got.size() < sent.size());
        QVERIFY2(got.filter("event").size() >= 40, qPrintable(got.join(' ')));
        // The terminal and the serial link lost nothing of what the damaged line carried.
        QCOMPARE(got, Decoded(rig.written));
    }

private slots:
    void damagedBytesLoseOnlyTheirOwnSentences()
    {
        // Corrupted bytes; corrupted and dropped ones, in bursts of 400 ms.
        for (const auto& [corrupt, drop, burstMs] : {std::tuple{0.01, 0.0, 0u}, {0.005, 0.005, 400u}})
            QVERIFY((LoseOnlyDamagedSentences(corrupt, drop, burstMs), !QTest::currentTestFailed()));
    }

    // A run timed live from the device clock and recorded; the simulator program replays the
    // recording into a second application, which writes the same report.
    void timesARunLiveAndAgainFromItsRecording()
    {
        if (GateSimProgram().isEmpty())
            QSKIP("the simulator program is not built");
        FakeDialogs dialogs; // a refused start would otherwise wait for the operator
        Rig rig;
        QVERIFY(rig.adapter.Plug());
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 50;
        rig.PowerOn(settings);
        // The gates run on real time beside the controller's tick.
        QTimer hardware;
        QObject::connect(&hardware, &QTimer::timeout, [&] { rig.gates->AdvanceTo(rig.realTime.elapsed()); });
        hardware.start(5);
        const QString live = TimeOneRun(rig, "live", [&](SLMain& controller) {
            controller.StartOrAbortRun();
            QVERIFY(controller.GetSequenceRun().IsRunning());
            // Restarted gates whose clock wraps 300 ms later, between the first two passages.
            settings.clockStart = 65536 - 300;
            sim::GateSimulator& gates = rig.PowerOn(settings);
            const std::int64_t at[4] = {100, 512, 889, 1280};
            for (int gate = 0; gate < 4; ++gate)
                gates.SchedulePassage(at[gate], gate);
            QCOMPARE(gates.DeviceTimeAt(at[0]), 65336u);
            QCOMPARE(gates.DeviceTimeAt(at[1]), 212u);
        });
        QVERIFY2(live.endsWith("\nAda,1.180,0.412,0.377,0.391,30.000,25.424\n"), qPrintable(live));
        hardware.stop();
        rig.adapter.Unplug();

        const QDir sessions(rig.scratch.filePath("live/Swiftlane/Sessions"));
        QCOMPARE(sessions.entryList({"*.session"}).size(), 1);
        QProcess program;
        program.start(GateSimProgram(),
                      {"--name", "RPL1", "--replay", sessions.filePath(sessions.entryList({"*.session"})[0]),
                       "--speed", "2"});
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(rig.scratch.filePath("adapters/RPL1")).isSymLink(); },
                                5000));
        QCOMPARE(TimeOneRun(rig, "replayed", [](SLMain& controller) { controller.StartOrAbortRun(); }), live);
        QVERIFY(program.waitForFinished(10000));
        QVERIFY(dialogs.calls.empty());
    }
};

QTEST_MAIN(EndToEnd)
#include "test_endtoend.moc"
