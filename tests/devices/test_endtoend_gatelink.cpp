// The gate link end to end: the simulator writes sentences into a real pseudo-terminal linked in
// the adapter folder, and the real device list, serial port and sentence decoder take them from
// there. Only the tick count is faked, so the reconnection delay costs no real time.
#include "devices/CGateSystem.h"
#include "devices/sim/GateSimulator.h"
#include "devices/sim/PtyAdapter.h"
#include "platform/ComPort.h"
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

// The adapter, the gates behind it and the gate system reading it, as the application has them.
struct Rig
{
    explicit Rig(const sim::GateSimSettings& settings = {})
        : gates(settings, [this](const QByteArray& bytes) { written += bytes.left(adapter.Write(bytes)); })
    {
        plugged = adapter.Plug();
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

    int Events() const { return int(owner.describe().filter("event").size()); }

    platform::FakeClock clock;
    sim::PtyAdapter adapter{"SIM1"};
    sim::GateSimulator gates;
    RecordingGateOwner owner;
    std::unique_ptr<CGateSystem> system;
    QByteArray written; // every byte the terminal took
    bool plugged = false;
};

QStringList Decoded(const QByteArray& bytes)
{
    RecordingGateOwner owner;
    CGateSystem decoder(&owner);
    decoder.AssembleBytes(reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
    return owner.describe();
}

bool IsSubsequence(const QStringList& part, const QStringList& whole)
{
    auto at = whole.begin();
    for (const QString& line : part) {
        at = std::find(at, whole.end(), line);
        if (at == whole.end())
            return false;
        ++at;
    }
    return true;
}

} // namespace

class EndToEndGateLink : public QObject
{
    Q_OBJECT

    QTemporaryDir adapterFolder;

private slots:
    void initTestCase()
    {
        QVERIFY(adapterFolder.isValid());
        qputenv("SWIFTLANE_ADAPTER_DIR", adapterFolder.path().toLocal8Bit());
    }

    // A link counts as an adapter only if it leads to a terminal and, where a lock file says who
    // made it, that program still holds the lock; a terminal number freed by a killed simulator
    // may belong to any program by now.
    void listingAndPlugRespectTheOwnersLock()
    {
        const QString folder = adapterFolder.path();
        sim::PtyAdapter foreign("OTHER"), owned("OWNED");
        QVERIFY(foreign.Plug() && owned.Plug());
        auto link = [&](const char* name, const QString& target, bool lockFile) {
            QFile::link(target, folder + "/" + name);
            if (lockFile)
                QVERIFY(QFile(platform::virtualAdapterLockPath(folder, name)).open(QIODevice::WriteOnly));
        };
        link("HANDMADE", foreign.DevicePath(), false); // another tool's link: no lock file
        link("NULLDEV", "/dev/null", false);
        link("STALE", foreign.DevicePath(), true); // its owner died, the number was reused
        auto names = [] {
            QStringList listed;
            for (const auto& adapter : platform::listVirtualAdapters())
                listed << adapter.name;
            return listed;
        };
        QCOMPARE(names(), QStringList({"HANDMADE", "OTHER", "OWNED"}));

        QString error;
        QVERIFY(!sim::PtyAdapter("OWNED").Plug(&error)); // its owner lives
        QVERIFY2(error.contains("already in use"), qPrintable(error));
        QVERIFY(!sim::PtyAdapter("HANDMADE").Plug());
        sim::PtyAdapter replacement("STALE");
        QVERIFY(replacement.Plug());
        QCOMPARE(QFileInfo(folder + "/STALE").symLinkTarget(), replacement.DevicePath());
        QCOMPARE(names(), QStringList({"HANDMADE", "OTHER", "OWNED", "STALE"}));

        replacement.Unplug();
        QVERIFY(!QFileInfo::exists(replacement.LockPath()));
        for (const char* name : {"HANDMADE", "NULLDEV"})
            QFile::remove(folder + "/" + name);
    }

    void comPortReadsBytesAndClosesOnceOnHangUp()
    {
        sim::PtyAdapter adapter("PTY1");
        QVERIFY(adapter.Plug());
        std::unique_ptr<platform::ComPort> port = platform::createComPort();
        QVERIFY(port->open(adapter.DevicePath()));
        QVERIFY(port->applySettings(platform::LineSettings{}));
        QCOMPARE(adapter.Write("$PSTS,1\r\n"), 9);
        QByteArray got;
        char buffer[64];
        QTRY_VERIFY_WITH_TIMEOUT(
            got.append(buffer, std::max(0, port->read(buffer, sizeof buffer))).size() >= 9, 2000);
        QCOMPARE(got, QByteArray("$PSTS,1\r\n")); // raw: no line-end translation

        // A hung-up terminal reports errors in a hot loop; only the event loop runs here, and the
        // port must close on the first one.
        adapter.Unplug();
        QTRY_VERIFY_WITH_TIMEOUT(!port->isOpen(), 2000);
        QCOMPARE(port->read(buffer, sizeof buffer), -1);
    }

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
        Rig rig(settings);
        for (int i = 0; i < 60; ++i) {
            rig.gates.SchedulePassage(7 + i * 50, i % 4);
            clean.SchedulePassage(7 + i * 50, i % 4);
        }
        // 150 status sentences and 60 passages, a fifth of a second of sentences per step.
        for (std::int64_t t = 0; t <= 3000 + burstMs; t += 200) {
            rig.gates.AdvanceTo(t);
            rig.PollUntil([] { return false; }, 15);
        }
        rig.PollUntil([] { return false; }, 40);
        rig.adapter.Unplug();
        clean.AdvanceTo(3000 + burstMs);

        // Only whole sentences went missing, nothing was changed or repeated, and most got through.
        const QStringList got = rig.owner.describe(), sent = Decoded(cleanBytes);
        QVERIFY(IsSubsequence(got, sent));
        QVERIFY(got.size() < sent.size());
        QVERIFY2(rig.Events() >= 40, qPrintable(got.join(' ')));
        // The terminal and the serial link lost nothing of what the damaged line carried.
        QCOMPARE(got, Decoded(rig.written));
    }

    void reconnectsOnceTheAdapterIsBack()
    {
        Rig rig;
        rig.gates.AdvanceTo(0);
        QVERIFY(rig.PollUntil([&] { return !rig.owner.calls.empty(); }));
        rig.adapter.Unplug();
        QVERIFY(rig.PollUntil([&] { return !rig.system->IsLinkOpen(); }));
        QVERIFY(rig.adapter.Plug()); // on a new terminal
        rig.clock.advance(4000);     // reconnection waits 4000 ms after the last valid status
        QVERIFY(rig.PollUntil([&] { return rig.system->IsLinkOpen(); }));

        rig.gates.AdvanceTo(5000); // the device clock ran on while unplugged
        rig.gates.Passage(2);
        QVERIFY(rig.PollUntil([&] { return rig.Events() == 1; }));
        QVERIFY(rig.owner.describe().contains("status 5000"));
        QCOMPARE(rig.owner.describe().last(), QString("event 2 5000 1"));
    }
};

QTEST_GUILESS_MAIN(EndToEndGateLink)
#include "test_endtoend_gatelink.moc"
