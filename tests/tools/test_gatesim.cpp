// The gate simulator: its device clock, its athletes' true splits, the session player's pace,
// the RFID reader, and the program as make run starts it.
#include "devices/GateSentence.h"
#include "devices/sim/AthleteRunner.h"
#include "devices/sim/DeviceClock.h"
#include "devices/sim/RfidReaderSim.h"
#include "devices/sim/SessionPlayer.h"
#include "platform/ComPort.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using session::Record;
using session::RecordKind;

class GateSim : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    void init()
    {
        if (QByteArray(QTest::currentTestFunction()).startsWith("program") && GateSimProgram().isEmpty())
            QSKIP("the simulator program is not built");
    }

    void deviceClockWraps()
    {
        const std::tuple<std::uint32_t, qint64, std::uint32_t> cases[] = {
            // start, elapsed ms, reading
            {65000, 535, 65535},         // before the wrap
            {65000, 536, 0},             // at the wrap
            {5, 65536LL * 1000 + 7, 12}, // many periods later
            {65537, 0, 1}};              // the start taken modulo
        for (const auto& [start, elapsedMs, reading] : cases)
            QCOMPARE(sim::DeviceClock(start).At(elapsedMs), reading);
    }

    // The splits the simulator reports are what Swiftlane must show: the device-clock differences
    // between consecutive passages, the first across the clock's wrap (804 + 65536 - 64500 = 1840),
    // the next athlete starting 8000 ms after the last one's finish.
    void athletesReportTheSplitsTheirPassagesCarry()
    {
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 0;
        settings.clockStart = 64000;
        QList<std::uint32_t> times;
        sim::GateSimulator gates(settings, [&](const QByteArray& bytes) {
            EventSentence event;
            if (ParseEventSentence(bytes.trimmed().toStdString(), event) == SentenceFault::None)
                times << event.deviceTime;
        });
        QStringList log;
        sim::AthleteRunner runner({{0, 2, 3}, 2, 8000, 500, 11}, gates,
                                  [&](const QString& line) { log << line; });
        for (std::int64_t t = 0; t < 20000 && !runner.Finished(); t += 10) {
            gates.AdvanceTo(t);
            runner.AdvanceTo(t);
        }
        QCOMPARE(times, QList<std::uint32_t>({64500, 804, 1881, 9881, 11640, 12956}));
        QCOMPARE(log.filter("true splits"),
                 QStringList({"Athlete 1 true splits: 1.840 1.077 total 2.917 s",
                              "Athlete 2 true splits: 1.759 1.316 total 3.075 s"}));
    }

    // Reader from 100 ms; after the replug it takes 200 ms to open the adapter again.
    void sessionPlayerKeepsChunksAndGaps_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("recorded pace")
            << 1.0 << QStringList{"1100 A", "1125 B", "2100 unplug", "7100 plug", "7800 C"};
        QTest::newRow("twice as fast, unplugged time kept")
            << 2.0 << QStringList{"600 A", "613 B", "1100 unplug", "6100 plug", "6550 C"};
    }
    void sessionPlayerKeepsChunksAndGaps()
    {
        QFETCH(double, speed);
        QFETCH(QStringList, expected);
        QStringList log;
        std::int64_t now = 0, readerAt = 100;
        sim::SessionPlayer player(
            {{0, RecordKind::Open, "USB1"},
             {1000000, RecordKind::Read, "A"},
             {1025000, RecordKind::Read, "B"},
             {2000000, RecordKind::Close, {}},
             {7000000, RecordKind::Open, "USB1"},
             {7500000, RecordKind::Read, "C"}},
            speed, [&](const QByteArray& bytes) { log << QStringLiteral("%1 %2").arg(now).arg(bytes); },
            [&](bool plugged) {
                log << QStringLiteral("%1 %2").arg(now).arg(plugged ? "plug" : "unplug");
                readerAt = plugged ? now + 200 : std::numeric_limits<std::int64_t>::max();
            });
        for (; now <= 20000 && !player.Finished(); ++now)
            player.AdvanceTo(now, now >= readerAt);
        QCOMPARE(log, expected);
    }

    // The reader answers each "r" with the next tag, from the first again after the last, and
    // ignores anything else it is sent.
    void rfidReaderAnswersScanRequestsInTurn()
    {
        sim::RfidReaderSim reader("READER1", {"04A3B2C1", "77"}, {}, scratch.filePath("serial"));
        QVERIFY(reader.Plug());
        std::unique_ptr<platform::ComPort> port = platform::createComPort();
        QVERIFY(port->open(reader.DevicePath()) && port->applySettings(platform::LineSettings{}));
        QCOMPARE(port->write("rxrr", 4), 4);
        QByteArray answers;
        char buffer[64];
        QTRY_VERIFY_WITH_TIMEOUT(
            (reader.Poll(),
             answers.append(buffer, std::max(0, port->read(buffer, sizeof buffer))).size() >= 24),
            2000);
        QCOMPARE(answers, QByteArray("04A3B2C1\r\n77\r\n04A3B2C1\r\n"));
    }

    void programWritesTheDemoSequence()
    {
        const QString runs = scratch.filePath("Runs");
        QCOMPARE(QProcess::execute(GateSimProgram(), {"--write-demo-sequence", runs}), 0);
        GateSequence demo;
        QVERIFY(demo.Load(runs + "/Demo 30 m.run"));
        QCOMPARE(demo.TotalDistance(), 30.0);
        QCOMPARE(demo.GateCount(), 4);
    }

    void programRejectsOptionsItCannotHonour_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("athletes need two gates") << QStringList{"--gates", "1", "--auto"} << "--auto needs";
        QTest::newRow("seed not a number") << QStringList{"--seed", "abc"} << "--seed wants a whole number";
        QTest::newRow("order names an absent gate")
            << QStringList{"--gates", "2", "--order", "1,3"} << "--order";
        QTest::newRow("script names gate 7") << QStringList{"--script", "gate7.txt"} << "got \"100 7\"";
        QTest::newRow("stray argument") << QStringList{"--auto", "2.5"} << "unexpected argument \"2.5\"";
        QTest::newRow("empty RFID tag") << QStringList{"--rfid-reader", "A,,B"} << "--rfid-reader wants";
        QTest::newRow("RFID tag too long for the reply ring")
            << QStringList{"--rfid-reader", QString(63, 'T')} << "--rfid-reader wants";
    }
    void programRejectsOptionsItCannotHonour()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QVERIFY(WriteAll(scratch.filePath("gate7.txt"), "100 7\n"));
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit());
        QProcess simulator;
        simulator.setWorkingDirectory(scratch.path());
        simulator.start(GateSimProgram(), arguments << "--exit-after"
                                                    << "0");
        QVERIFY(simulator.waitForFinished(3000));
        QCOMPARE(simulator.exitCode(), 2);
        QVERIFY2(simulator.readAllStandardError().contains(message.toUtf8()), qPrintable(message));
    }

    void programRemovesItsAdapterOnTerminate()
    {
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit());
        QProcess simulator;
        simulator.start(GateSimProgram(), {"--name", "PROG1"});
        const QString link = scratch.filePath("adapters/PROG1");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 3000);
        simulator.terminate(); // SIGTERM
        QVERIFY(simulator.waitForFinished(3000));
        QCOMPARE(simulator.exitStatus(), QProcess::NormalExit);
        QVERIFY(!QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(GateSim)
#include "test_gatesim.moc"
