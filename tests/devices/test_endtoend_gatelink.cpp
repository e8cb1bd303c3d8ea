// The gate link end to end: the simulator writes sentences into a real pseudo-terminal linked in
// the adapter folder, and the real device list, serial port and sentence decoder take them from
// there. Only the tick count is faked, so the reconnection delay costs no real time.
#include "devices/CGateSystem.h"
#include "devices/sim/GateSimulator.h"
#include "devices/sim/PtyAdapter.h"
#include "platform/FakeClock.h"
#include "platform/VirtualAdapters.h"
#include "support/RecordingGateOwner.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

int checksumFailures = 0;

void CountChecksumFailures(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (message == QLatin1String(" checksum failed"))
        ++checksumFailures;
}

// The adapter, the gates behind it and the gate system reading it, as the application has them.
struct Rig
{
    explicit Rig(const sim::GateSimSettings& settings = {})
        : gates(settings, [this](const QByteArray& bytes) { written += bytes.left(adapter.Write(bytes)); })
    {
        QString error;
        plugged = adapter.Plug(&error);
        if (!plugged)
            qWarning("%s", qPrintable(error));
        system = std::make_unique<CGateSystem>(&owner);
    }

    // Ticks like the controller (the fake tick count moves 25 ms a poll) until `done`, giving the
    // bytes real time to cross the terminal.
    bool PollUntil(const std::function<bool()>& done, int realLimitMs = 2000)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done()) {
            if (waited.elapsed() > realLimitMs)
                return false;
            QThread::msleep(2);
            system->Poll();
            clock.advance(25);
        }
        return true;
    }

    int Count(RecordingGateOwner::Kind kind) const
    {
        return static_cast<int>(std::count_if(owner.calls.begin(), owner.calls.end(),
                                              [kind](const auto& call) { return call.kind == kind; }));
    }

    platform::FakeClock clock;
    sim::PtyAdapter adapter{QStringLiteral("SIM1")};
    sim::GateSimulator gates;
    RecordingGateOwner owner;
    std::unique_ptr<CGateSystem> system;
    QByteArray written; // every byte the terminal took
    bool plugged = false;
};

} // namespace

class EndToEndGateLink : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir adapterFolder;

private slots:
    void initTestCase()
    {
        QVERIFY(adapterFolder.isValid());
        qputenv("SWIFTLANE_ADAPTER_DIR", adapterFolder.path().toLocal8Bit());
    }

    void detectsTheAdapterAndDecodesStatusAcrossTheClockWrap()
    {
        sim::GateSimSettings settings;
        settings.gateCount = 3;
        settings.notReady[1] = true;
        settings.clockStart = 65400;
        Rig rig(settings);
        QVERIFY(rig.plugged);
        QVERIFY(rig.system->IsLinkOpen());
        QCOMPARE(rig.system->Link().ftdiSerial, QStringLiteral("SIM1"));
        QCOMPARE(rig.system->Link().portName,
                 QString::asprintf("USB%X", platform::virtualAdapterLocId(QStringLiteral("SIM1"))));

        rig.gates.AdvanceTo(300);
        QVERIFY(rig.PollUntil([&] { return rig.owner.calls.size() >= 8; }));
        QCOMPARE(rig.owner.describe(),
                 QStringList({"status 65400", "gates 1010", "status 65500", "gates 1010", "status 64",
                              "gates 1010", "status 164", "gates 1010"}));
        QVERIFY(rig.system->LastStatusTime() != 0);
    }

    void deliversEventsWithGateNumbersAndDeviceTimesInOrder()
    {
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 500;
        Rig rig(settings);
        rig.gates.SchedulePassage(120, 0);
        rig.gates.SchedulePassage(1873, 1);
        rig.gates.SchedulePassage(3077, 2, false);
        rig.gates.SchedulePassage(4195, 3);
        rig.gates.SchedulePassage(4200, 6); // not a gate of ours: handed on unchanged
        rig.gates.AdvanceTo(4200);
        QVERIFY(rig.PollUntil([&] { return rig.Count(RecordingGateOwner::GateEvent) == 5; }));
        QStringList events = rig.owner.describe().filter(QStringLiteral("event"));
        QCOMPARE(events, QStringList({"event 0 120 1", "event 1 1873 1", "event 2 3077 0", "event 3 4195 1",
                                      "event 6 4200 1"}));
        // Status reports and passages arrive in the order of the device clock.
        const QStringList all = rig.owner.describe();
        QVERIFY(all.indexOf("status 1500") < all.indexOf("event 1 1873 1"));
        QVERIFY(all.indexOf("event 1 1873 1") < all.indexOf("status 2000"));
    }

    void damagedBytesLoseOnlyTheirOwnSentences_data()
    {
        QTest::addColumn<double>("corrupt");
        QTest::addColumn<double>("drop");
        QTest::addColumn<std::uint32_t>("burstMs");
        QTest::newRow("corrupted bytes") << 0.01 << 0.0 << 0u;
        QTest::newRow("dropped bytes") << 0.0 << 0.01 << 0u;
        QTest::newRow("both, in bursts") << 0.005 << 0.005 << 400u;
    }

    void damagedBytesLoseOnlyTheirOwnSentences()
    {
        QFETCH(double, corrupt);
        QFETCH(double, drop);
        QFETCH(std::uint32_t, burstMs);
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 20;
        settings.burstMs = burstMs;
        settings.faults = {corrupt, drop, 7};
        Rig rig(settings);
        const int passages = 60;
        for (int i = 0; i < passages; ++i)
            rig.gates.SchedulePassage(7 + i * 50, i % 4);

        checksumFailures = 0;
        const QtMessageHandler previous = qInstallMessageHandler(CountChecksumFailures);
        // 150 status sentences and 60 passages, a fifth of a second of sentences per step.
        for (std::int64_t t = 0; t <= 3000; t += 200) {
            rig.gates.AdvanceTo(t);
            rig.PollUntil([] { return false; }, 15);
        }
        rig.gates.AdvanceTo(3000 + burstMs); // the last burst
        rig.PollUntil([] { return false; }, 40);
        qInstallMessageHandler(previous);

        // Nothing decoded that was not sent exactly so, and most of it got through.
        std::int64_t lastTime = -1;
        int statuses = 0, events = 0;
        for (const auto& call : rig.owner.calls) {
            if (call.kind == RecordingGateOwner::GateStatus) {
                QCOMPARE(QString("%1%2%3%4")
                             .arg(call.gates[0])
                             .arg(call.gates[1])
                             .arg(call.gates[2])
                             .arg(call.gates[3]),
                         QStringLiteral("1111"));
                continue;
            }
            QVERIFY2(call.deviceTime > lastTime, "a sentence decoded twice or out of order");
            lastTime = call.deviceTime;
            if (call.kind == RecordingGateOwner::StatusTime) {
                QCOMPARE(call.deviceTime % 20, 0u);
                ++statuses;
            } else {
                QCOMPARE(call.deviceTime % 50, 7u);
                QCOMPARE(call.gate, static_cast<int>((call.deviceTime - 7) / 50 % 4));
                QVERIFY(call.state);
                ++events;
            }
        }
        QVERIFY2(statuses >= 100 && statuses < 151, qPrintable(QString::number(statuses)));
        QVERIFY2(events >= 40 && events < passages, qPrintable(QString::number(events)));
        if (corrupt > 0)
            QVERIFY(checksumFailures > 0);

        // The terminal and the serial link lost and added nothing: the same bytes handed straight
        // to a decoder give the same calls.
        rig.adapter.Unplug();
        RecordingGateOwner direct;
        CGateSystem reference(&direct);
        QVERIFY(!reference.IsLinkOpen());
        reference.AssembleBytes(reinterpret_cast<const unsigned char*>(rig.written.constData()),
                                static_cast<int>(rig.written.size()));
        QCOMPARE(rig.owner.describe(), direct.describe());
    }

    void reconnectsFourSecondsAfterTheLastStatusOnceTheAdapterIsBack()
    {
        Rig rig;
        rig.gates.AdvanceTo(0);
        QVERIFY(rig.PollUntil([&] { return rig.Count(RecordingGateOwner::StatusTime) == 1; }));
        const std::uint32_t lastStatus = rig.system->LastStatusTime();

        rig.adapter.Unplug();
        QVERIFY(rig.PollUntil([&] { return !rig.system->IsLinkOpen(); }));
        QVERIFY(rig.adapter.Plug()); // back at once, on a new terminal

        // Not before 4000 ms have passed since the last valid status...
        rig.clock.setTick(lastStatus + 4000);
        rig.system->Poll();
        QVERIFY(!rig.system->IsLinkOpen());
        // ...and at the first tick after that.
        rig.clock.setTick(lastStatus + 4001);
        rig.system->Poll();
        QVERIFY(rig.system->IsLinkOpen());

        rig.gates.AdvanceTo(5000); // the device clock ran on while unplugged
        rig.gates.Passage(2);
        QVERIFY(rig.PollUntil([&] { return rig.Count(RecordingGateOwner::GateEvent) == 1; }));
        QVERIFY(rig.owner.describe().contains("status 5000"));
        QCOMPARE(rig.owner.describe().last(), QStringLiteral("event 2 5000 1"));
        QVERIFY(rig.system->LastStatusTime() != lastStatus);
    }
};

QTEST_GUILESS_MAIN(EndToEndGateLink)
#include "test_endtoend_gatelink.moc"
