// The gate simulator: its device clock, its athletes' true splits, and the program as make run
// starts it.
#include "devices/GateSentence.h"
#include "devices/sim/AthleteRunner.h"
#include "devices/sim/DeviceClock.h"
#include "devices/sim/GateSimulator.h"
#include "devices/sim/RfidReaderSim.h"
#include "support/GateSimProgram.h"
#include "timing/GateSequence.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

QByteArray readAvailable(int fd)
{
    pollfd ready = {fd, POLLIN, 0};
    char chunk[64];
    QByteArray bytes;
    while (::poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN)) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got <= 0)
            break;
        bytes.append(chunk, got);
    }
    return bytes;
}

} // namespace

class GateSim : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    void deviceClockWraps_data()
    {
        QTest::addColumn<std::uint32_t>("start");
        QTest::addColumn<qint64>("elapsed");
        QTest::addColumn<std::uint32_t>("reading");
        QTest::newRow("before the wrap") << 65000u << qint64(535) << 65535u;
        QTest::newRow("at the wrap") << 65000u << qint64(536) << 0u;
        QTest::newRow("many periods later") << 5u << qint64(65536) * 1000 + 7 << 12u;
        QTest::newRow("start taken modulo") << 65537u << qint64(0) << 1u;
    }
    void deviceClockWraps()
    {
        QFETCH(std::uint32_t, start);
        QFETCH(qint64, elapsed);
        QFETCH(std::uint32_t, reading);
        QCOMPARE(sim::DeviceClock(start).At(elapsed), reading);
    }

    // The splits the simulator reports are what Swiftlane must show: the device-clock differences
    // between consecutive passages, here across the clock's wrap.
    void athletesReportTheSplitsTheirPassagesCarry()
    {
        sim::GateSimSettings settings;
        settings.statusIntervalMs = 0;
        settings.clockStart = 64000;
        QList<std::uint32_t> times;
        sim::GateSimulator gates(settings, [&](const QByteArray& bytes) {
            for (const QByteArray& line : bytes.split('\n')) {
                EventSentence event;
                if (ParseEventSentence(line.trimmed().toStdString(), event) == SentenceFault::None)
                    times << event.deviceTime;
            }
        });
        QStringList log;
        sim::AthleteRunner::Settings plan;
        plan.order = {0, 2, 3};
        plan.count = 2;
        plan.firstStartMs = 500;
        plan.seed = 11;
        sim::AthleteRunner runner(plan, gates, [&](const QString& line) { log << line; });
        for (std::int64_t t = 0; t < 20000 && !runner.Finished(); t += 10) {
            gates.AdvanceTo(t);
            runner.AdvanceTo(t);
        }
        QCOMPARE(times.size(), 6);
        const QStringList reports = log.filter("true splits");
        QCOMPARE(reports.size(), 2);
        for (int athlete = 0; athlete < 2; ++athlete) {
            const std::uint32_t first =
                sim::DeviceClock::Difference(times[athlete * 3 + 1], times[athlete * 3]);
            const std::uint32_t second =
                sim::DeviceClock::Difference(times[athlete * 3 + 2], times[athlete * 3 + 1]);
            QVERIFY(first >= 1750 && first <= 2250 && second >= 1050 && second <= 1450);
            QCOMPARE(reports[athlete], QString("Athlete %1 true splits: %2 %3 total %4 s")
                                           .arg(athlete + 1)
                                           .arg(first / 1000.0, 0, 'f', 3)
                                           .arg(second / 1000.0, 0, 'f', 3)
                                           .arg((first + second) / 1000.0, 0, 'f', 3));
        }
    }

    void programWritesTheDemoSequence()
    {
        if (gateSimProgram().isEmpty())
            QSKIP("the simulator program is not built");
        const QString runs = scratch.filePath("Runs");
        QCOMPARE(QProcess::execute(gateSimProgram(), {"--write-demo-sequence", runs}), 0);
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
        if (gateSimProgram().isEmpty())
            QSKIP("the simulator program is not built");
        QFile script(scratch.filePath("gate7.txt"));
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write("100 7\n") > 0);
        script.close();
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit());
        QProcess simulator;
        simulator.setWorkingDirectory(scratch.path());
        simulator.start(gateSimProgram(), arguments << "--exit-after"
                                                    << "0");
        QVERIFY(simulator.waitForFinished(3000));
        QCOMPARE(simulator.exitCode(), 2);
        QVERIFY2(simulator.readAllStandardError().contains(message.toUtf8()), qPrintable(message));
    }

    // The reader answers each "r" with the next tag, from the first again after the last, and
    // ignores anything else it is sent.
    void rfidReaderAnswersScanRequestsInTurn()
    {
        sim::RfidReaderSim reader("READER1", {"04A3B2C1", "77"}, {}, scratch.filePath("serial"));
        QVERIFY(reader.Plug());
        const int fd = ::open(QFile::encodeName(reader.DevicePath()).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        termios mode = {};
        ::tcgetattr(fd, &mode);
        ::cfmakeraw(&mode);
        ::tcsetattr(fd, TCSANOW, &mode);
        QVERIFY(::write(fd, "rxrr", 4) == 4);
        QByteArray answers;
        QTRY_VERIFY_WITH_TIMEOUT((reader.Poll(), answers += readAvailable(fd), answers.size() >= 24), 2000);
        ::close(fd);
        QCOMPARE(answers, QByteArray("04A3B2C1\r\n77\r\n04A3B2C1\r\n"));
    }

    void programRemovesItsAdapterOnTerminate()
    {
        if (gateSimProgram().isEmpty())
            QSKIP("the simulator program is not built");
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit());
        QProcess simulator;
        simulator.start(gateSimProgram(), {"--name", "PROG1"});
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
