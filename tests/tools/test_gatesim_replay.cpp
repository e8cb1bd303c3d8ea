// Replay through the simulator: the player keeps chunks and gaps (faster when asked, the unplugged
// time at its own pace) and waits for a reader; and a run recorded live and replayed through the
// simulator program into a second application gives the same report line.
#include "app/SLMain.h"
#include "devices/sim/GateSimulator.h"
#include "devices/sim/PtyAdapter.h"
#include "devices/sim/SessionPlayer.h"
#include "support/FakeDialogs.h"
#include "support/GateSimProgram.h"
#include "timing/GateSequence.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using session::Record;
using session::RecordKind;

class GateSimReplay : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

    // Plays `records` with a reader from `readerFromMs` on, stepping 1 ms; returns what happened when.
    static QStringList play(const std::vector<Record>& records, double speed, std::int64_t readerFromMs,
                            std::int64_t replugReaderDelayMs)
    {
        QStringList log;
        std::int64_t now = 0;
        std::int64_t readerAt = readerFromMs;
        sim::SessionPlayer player(
            records, speed,
            [&](const QByteArray& bytes) { log << QStringLiteral("%1 %2").arg(now).arg(bytes); },
            [&](bool plugged) {
                log << QStringLiteral("%1 %2").arg(now).arg(plugged ? "plug" : "unplug");
                readerAt = plugged ? now + replugReaderDelayMs : std::numeric_limits<std::int64_t>::max();
            });
        for (; now <= 20000 && !player.Finished(); ++now)
            player.AdvanceTo(now, now >= readerAt);
        return log;
    }

private slots:
    void playsChunksAtTheirGaps_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QStringList>("expected");
        // Reader from 100 ms; after the replug it takes 200 ms to open the adapter again.
        QTest::newRow("recorded pace")
            << 1.0 << QStringList{"1100 A", "1125 B", "2100 unplug", "7100 plug", "7800 C"};
        QTest::newRow("twice as fast, unplugged time kept")
            << 2.0 << QStringList{"600 A", "613 B", "1100 unplug", "6100 plug", "6550 C"};
    }
    void playsChunksAtTheirGaps()
    {
        QFETCH(double, speed);
        QFETCH(QStringList, expected);
        const std::vector<Record> records = {
            {0, RecordKind::Open, "USB1"},       {1000000, RecordKind::Read, "A"},
            {1025000, RecordKind::Read, "B"},    {2000000, RecordKind::Close, {}},
            {7000000, RecordKind::Open, "USB1"}, {7500000, RecordKind::Read, "C"}};
        QCOMPARE(play(records, speed, 100, 200), expected);
    }

    void aRecordedRunReplayedThroughTheSimulatorGivesTheSameLine()
    {
        const QString gatesim = gateSimProgram();
        if (gatesim.isEmpty())
            QSKIP("the simulator is not built");
        FakeDialogs dialogs;
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit());
        const QString live = runAndReport(QStringLiteral("live"), [&](sim::PtyAdapter& adapter) {
            // Gates on real time beside the controller's tick, the clock wrapping inside the run.
            sim::GateSimSettings settings;
            settings.statusIntervalMs = 50;
            settings.clockStart = 65536 - 1500;
            QElapsedTimer realTime;
            realTime.start();
            auto gates = std::make_shared<sim::GateSimulator>(
                settings, [&adapter](const QByteArray& bytes) { adapter.Write(bytes); });
            const std::int64_t at[4] = {1200, 1650, 2030, 2444};
            for (int gate = 0; gate < 4; ++gate)
                gates->SchedulePassage(at[gate], gate);
            auto* hardware = new QTimer(this);
            connect(hardware, &QTimer::timeout, [gates, realTime] { gates->AdvanceTo(realTime.elapsed()); });
            hardware->start(5);
            return hardware;
        });
        QVERIFY(live.contains(QStringLiteral("\nAda,1.244,0.450,0.380,0.414,30.000,24.116\n")));

        const QStringList sessions =
            QDir(scratch.filePath("live/Swiftlane/Sessions")).entryList({"*.session"});
        QCOMPARE(sessions.size(), 1);
        QProcess simulator;
        simulator.start(gatesim,
                        {"--name", "RPL1", "--replay",
                         scratch.filePath("live/Swiftlane/Sessions/") + sessions[0], "--speed", "2"});
        QVERIFY(simulator.waitForStarted());
        const QString replayed =
            runAndReport(QStringLiteral("replayed"), [](sim::PtyAdapter&) { return nullptr; });
        QVERIFY(simulator.waitForFinished(10000));
        QCOMPARE(replayed, live);
    }

private:
    // An application on its own data folder times one run of "Demo 30 m" for Ada from whatever the
    // adapter sends; `gates` may start a simulator on `own`, an adapter of the test's own.
    template <typename StartGates> QString runAndReport(const QString& name, StartGates gates)
    {
        const QString data = scratch.filePath(name);
        qputenv("XDG_DATA_HOME", data.toLocal8Bit());
        const QString runs = data + QStringLiteral("/Swiftlane/Runs/");
        GateSequence demo;
        demo.SetName(QStringLiteral("Demo 30 m"));
        for (unsigned gate = 0; gate < 4; ++gate)
            demo.InsertGate(gate, static_cast<int>(gate));
        demo.SetTotalDistance(30.0);
        if (!QDir().mkpath(runs) || !demo.Save(runs + QStringLiteral("Demo 30 m.run")))
            return QStringLiteral("sequence not saved");

        sim::PtyAdapter own(QStringLiteral("SIM1"));
        SLMain controller;
        controller.Init();
        controller.FinishStartup();
        controller.StartRecording();
        controller.SelectRun(runs + QStringLiteral("Demo 30 m.run"));
        controller.SetSubjectName(QStringLiteral("Ada"));
        QObject* hardware = nullptr;
        if (name == QStringLiteral("live")) {
            if (!own.Plug())
                return QStringLiteral("no adapter");
            hardware = gates(own);
        }
        // The run is started as soon as the gates show up, before the start passage.
        QElapsedTimer wait;
        wait.start();
        while (!controller.GetSequenceRun().IsRunning() && wait.elapsed() < 5000) {
            QTest::qWait(5);
            bool ready[4];
            controller.GetGateReady(ready[0], ready[1], ready[2], ready[3]);
            if (ready[0] && ready[1] && ready[2] && ready[3])
                controller.StartOrAbortRun();
        }
        while (controller.GetSequenceRun().IsRunning() && wait.elapsed() < 10000)
            QTest::qWait(10);
        delete hardware;
        QFile report(controller.GetSequenceRun().ReportFileName());
        return report.open(QIODevice::ReadOnly) ? QString::fromUtf8(report.readAll())
                                                : QStringLiteral("no report");
    }
};

QTEST_MAIN(GateSimReplay)
#include "test_gatesim_replay.moc"
