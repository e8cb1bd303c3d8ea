// End to end over real pseudo-terminals: simulated gates and RFID reader write into terminals
// linked in folders of the test's own, and the real device list, serial ports, decoder,
// controller, window and run engine take it from there to the report file.
#include "devices/sim/GateSimulator.h"
#include "devices/sim/PtyAdapter.h"
#include "platform/FakeClock.h"
#include "support/ControllerHarness.h"
#include "support/RecordingGateOwner.h"
#include "support/TestFiles.h"
#include "ui/SerialPortDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include <functional>

namespace {

// The simulated hardware in folders of its own: gates in this process writing into an adapter
// the application finds as it finds a USB one, or the simulator program as a user starts it.
struct Rig
{
    Rig()
    {
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit());
        qputenv("SWIFTLANE_SERIAL_DIR", scratch.filePath("serial").toLocal8Bit());
        realTime.start();
    }

    // Gates switched on (again), their clock starting at settings.clockStart.
    sim::GateSimulator& PowerOn(const sim::GateSimSettings& settings)
    {
        startMs = realTime.elapsed();
        gates = std::make_unique<sim::GateSimulator>(
            settings, [this](const QByteArray& bytes) { written += bytes.left(adapter.Write(bytes)); });
        return *gates;
    }

    // Starts the simulator program and waits for the link it makes at `link`.
    bool StartProgram(const QStringList& arguments, const QString& link)
    {
        program.start(GateSimProgram(), arguments);
        return QTest::qWaitFor([&] { return QFileInfo(scratch.filePath(link)).isSymLink(); }, 5000);
    }

    QTemporaryDir scratch;
    sim::PtyAdapter adapter{"SIM1", scratch.filePath("adapters")};
    std::unique_ptr<sim::GateSimulator> gates;
    QByteArray written; // every byte the terminal took
    QElapsedTimer realTime;
    std::int64_t startMs = 0;
    QTimer hardware;
    QProcess program;
};

// The gate system reading the adapter, polled like the controller polls it, the fake tick count
// moving 25 ms a poll, until `done`, giving the bytes real time to cross the terminal.
struct Reader
{
    bool PollUntil(const std::function<bool()>& done, int realLimitMs = 2000)
    {
        QElapsedTimer waited;
        waited.start();
        for (; !done(); clock.advance(25)) {
            if (waited.elapsed() > realLimitMs)
                return false;
            QThread::msleep(2);
            system.Poll();
        }
        return true;
    }

    platform::FakeClock clock;
    RecordingGateOwner owner;
    CGateSystem system{&owner};
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

private slots:
    void damagedBytesLoseOnlyTheirOwnSentences_data()
    {
        QTest::addColumn<double>("corrupt");
        QTest::addColumn<double>("drop");
        QTest::addColumn<std::uint32_t>("burstMs");
        QTest::newRow("corrupted bytes") << 0.01 << 0.0 << 0u;
        QTest::newRow("corrupted and dropped, in bursts") << 0.005 << 0.005 << 400u;
    }
    void damagedBytesLoseOnlyTheirOwnSentences()
    {
        QFETCH(double, corrupt);
        QFETCH(double, drop);
        QFETCH(std::uint32_t, burstMs);
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 20;
        settings.burstMs = burstMs;
        QByteArray cleanBytes;
        sim::GateSimulator clean(settings, [&](const QByteArray& bytes) { cleanBytes += bytes; });
        settings.faults = {corrupt, drop, 7};
        Rig rig;
        QVERIFY(rig.adapter.Plug());
        sim::GateSimulator& gates = rig.PowerOn(settings);
        Reader reader;
        for (int i = 0; i < 60; ++i) {
            gates.SchedulePassage(7 + i * 50, i % 4);
            clean.SchedulePassage(7 + i * 50, i % 4);
        }
        // 150 status sentences and 60 passages, a fifth of a second of sentences per step.
        for (std::int64_t t = 0; t <= 3000 + burstMs; t += 200) {
            gates.AdvanceTo(t);
            reader.PollUntil([] { return false; }, 15);
        }
        reader.PollUntil([] { return false; }, 40);
        rig.adapter.Unplug();
        clean.AdvanceTo(3000 + burstMs);

        // Only whole sentences went missing, nothing was changed or repeated, and most got through.
        const QStringList got = reader.owner.calls, sent = Decoded(cleanBytes);
        qsizetype at = 0;
        for (const QString& line : got)
            QVERIFY2((at = sent.indexOf(line, at) + 1) > 0, qPrintable(line));
        QVERIFY(got.size() < sent.size());
        QVERIFY2(got.filter("event").size() >= 40, qPrintable(got.join(' ')));
        // The terminal and the serial link lost nothing of what the damaged line carried.
        QCOMPARE(got, Decoded(rig.written));
    }

    void reconnectsOnceTheAdapterIsBack()
    {
        Rig rig;
        QVERIFY(rig.adapter.Plug());
        sim::GateSimulator& gates = rig.PowerOn({});
        Reader reader;
        gates.AdvanceTo(0);
        QVERIFY(reader.PollUntil([&] { return !reader.owner.calls.empty(); }));
        rig.adapter.Unplug();
        QVERIFY(reader.PollUntil([&] { return !reader.system.IsLinkOpen(); }));
        QVERIFY(rig.adapter.Plug()); // on a new terminal
        reader.clock.advance(4000);  // reconnection waits 4000 ms after the last valid status
        QVERIFY(reader.PollUntil([&] { return reader.system.IsLinkOpen(); }));

        gates.AdvanceTo(5000); // the device clock ran on while unplugged
        gates.Passage(2);
        QVERIFY(reader.PollUntil([&] { return reader.owner.calls.last() == "event 2 5000 1"; }));
        QVERIFY(reader.owner.calls.contains("status 5000"));
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
        QObject::connect(&rig.hardware, &QTimer::timeout,
                         [&] { rig.gates->AdvanceTo(rig.realTime.elapsed() - rig.startMs); });
        rig.hardware.start(5);
        const QString live = TimeOneRun(rig, "live", [&](SLMain& controller) {
            QCOMPARE(controller.MainWindow().findChild<QLabel*>("gateStatusLabel")->text(), "Connected");
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
        rig.hardware.stop();
        rig.adapter.Unplug();

        const QStringList sessions =
            QDir(rig.scratch.filePath("live/Swiftlane/Sessions")).entryList({"*.session"});
        QCOMPARE(sessions.size(), 1);
        QVERIFY(
            rig.StartProgram({"--name", "RPL1", "--replay",
                              rig.scratch.filePath("live/Swiftlane/Sessions/") + sessions[0], "--speed", "2"},
                             "adapters/RPL1"));
        QCOMPARE(TimeOneRun(rig, "replayed", [](SLMain& controller) { controller.StartOrAbortRun(); }), live);
        QVERIFY(rig.program.waitForFinished(10000));
        QVERIFY(dialogs.calls.empty());
    }

    // The operator opens the reader in its port dialog, presses "RFID scan" twice and sees the
    // first tag's name and the second tag as it is.
    void scannedTagsAppearInTheSubjectList()
    {
        if (GateSimProgram().isEmpty())
            QSKIP("the simulator program is not built");
        Rig rig;
        QVERIFY(rig.StartProgram({"--name", "RFID1", "--interval", "0", "--rfid-reader", "04A3B2C1,77"},
                                 "serial/RFID1"));
        const QString readerPath = QFileInfo(rig.scratch.filePath("serial/RFID1")).symLinkTarget();

        ControllerHarness h(false);
        QVERIFY(WriteAll(rig.scratch.filePath("tags.csv"), "04A3B2C1, Ann Lee\n"));
        h.dialogs.fileAnswers.push_back(rig.scratch.filePath("tags.csv"));
        h.start(true);
        SLMainWindow& window = h.controller->MainWindow();
        window.findChild<QAction*>("actionImport_RFID_Tag_Names")->trigger();
        window.findChild<QAction*>("actionRFID_Scanning")->trigger();
        const QWidgetList windows = QApplication::topLevelWidgets();
        const auto shown = std::find_if(windows.begin(), windows.end(), [](QWidget* widget) {
            return widget->isVisible() && widget->windowTitle() == "RFID Scanner Port";
        });
        QVERIFY(shown != windows.end());
        auto* dialog = qobject_cast<SerialPortDialog*>(*shown);
        auto* ports = dialog->findChild<QComboBox*>("COMPortComboBox");
        const int row = ports->findText(readerPath);
        QVERIFY2(row > 19, qPrintable(readerPath)); // listed after COM1 .. COM19
        ports->setCurrentIndex(row);
        QTest::mouseClick(dialog->findChild<QPushButton*>("startPushButton"), Qt::LeftButton);
        h.tick();
        auto* scan = window.findChild<QPushButton*>("RFIDScanButton");
        QVERIFY(scan->isEnabled());

        QTest::mouseClick(scan, Qt::LeftButton);
        QTest::mouseClick(scan, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT((h.tick(), h.controller->SubjectNames()), QStringList({"Ann Lee", "77"}),
                                  3000);
        QVERIFY(h.dialogs.calls.empty());

        rig.program.terminate();
        QVERIFY(rig.program.waitForFinished(3000));
        QVERIFY(!QFileInfo(rig.scratch.filePath("serial/RFID1")).isSymLink());
    }
};

QTEST_MAIN(EndToEnd)
#include "test_endtoend.moc"
