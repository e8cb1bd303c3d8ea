// A timed run end to end with nothing faked between the gates and the report file: the simulator
// writes into a real pseudo-terminal, and the controller with its own tick, window and run engine
// finds the adapter, shows the gates and writes the run's report line from the device clock.
#include "app/SLMain.h"
#include "devices/sim/GateSimulator.h"
#include "devices/sim/PtyAdapter.h"
#include "support/FakeDialogs.h"
#include "timing/GateSequence.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

class EndToEndController : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir data;
    QTemporaryDir adapters;

    QString RunsFolder() const { return data.path() + QStringLiteral("/Swiftlane/Runs/"); }

private slots:
    void initTestCase()
    {
        QVERIFY(data.isValid() && adapters.isValid());
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        qputenv("SWIFTLANE_ADAPTER_DIR", adapters.path().toLocal8Bit());
        QVERIFY(QDir().mkpath(RunsFolder()));
        GateSequence demo;
        demo.SetName(QStringLiteral("Demo 30 m"));
        for (unsigned gate = 0; gate < 4; ++gate)
            demo.InsertGate(gate, static_cast<int>(gate));
        demo.SetTotalDistance(30.0);
        QVERIFY(demo.Save(RunsFolder() + QStringLiteral("Demo 30 m.run")));
    }

    void timesARunFromTheDeviceClockIntoTheReportFile()
    {
        FakeDialogs dialogs; // a refused start would otherwise wait for the operator
        sim::PtyAdapter adapter(QStringLiteral("SIM1"));
        QVERIFY(adapter.Plug());
        // The gates run on real time beside the controller's tick.
        QElapsedTimer realTime;
        realTime.start();
        std::int64_t simulatorStart = 0;
        std::unique_ptr<sim::GateSimulator> gates;
        auto powerOn = [&](std::uint32_t clockStart) {
            sim::GateSimSettings settings;
            settings.statusIntervalMs = 50;
            settings.clockStart = clockStart;
            simulatorStart = realTime.elapsed();
            gates = std::make_unique<sim::GateSimulator>(
                settings, [&](const QByteArray& bytes) { adapter.Write(bytes); });
        };
        powerOn(0);
        QTimer hardware;
        QObject::connect(&hardware, &QTimer::timeout,
                         [&] { gates->AdvanceTo(realTime.elapsed() - simulatorStart); });
        hardware.start(5);

        SLMain controller;
        // Started as the program starts: the link opens after the window's first paint.
        controller.Init();
        QTRY_COMPARE_WITH_TIMEOUT(controller.MainWindow().findChild<QLabel*>("gateStatusLabel")->text(),
                                  QStringLiteral("Connected"), 2000);
        bool flags[8];
        controller.GetGatePresent(flags[0], flags[1], flags[2], flags[3]);
        controller.GetGateReady(flags[4], flags[5], flags[6], flags[7]);
        QVERIFY(std::all_of(flags, flags + 8, [](bool flag) { return flag; }));

        controller.SelectRun(RunsFolder() + QStringLiteral("Demo 30 m.run"));
        controller.SetSubjectName(QStringLiteral("Ada"));
        controller.StartOrAbortRun();
        QVERIFY(controller.GetSequenceRun().IsRunning());

        // Restarted gates whose clock wraps 300 ms later, between the first two passages.
        powerOn(65536 - 300);
        const std::int64_t at[4] = {100, 512, 889, 1280};
        for (int gate = 0; gate < 4; ++gate)
            gates->SchedulePassage(at[gate], gate);
        QTRY_VERIFY_WITH_TIMEOUT(!controller.GetSequenceRun().IsRunning(), 3000);

        QFile report(controller.GetSequenceRun().ReportFileName());
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = report.readAll().trimmed().split('\n');
        QCOMPARE(lines.size(), 2); // header and this run
        QCOMPARE(QString::fromUtf8(lines[1]).remove(QLatin1Char('"')),
                 QStringLiteral("Ada,1.180,0.412,0.377,0.391,30.000,25.424"));
        QCOMPARE(gates->DeviceTimeAt(at[0]), 65336u);
        QCOMPARE(gates->DeviceTimeAt(at[1]), 212u);
        QVERIFY(dialogs.calls.empty());
    }
};

QTEST_MAIN(EndToEndController)
#include "test_endtoend_controller.moc"
