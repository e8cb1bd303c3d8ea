// The gate simulator: its device clock, its athletes' true splits, its RFID reader, the program as
// make run starts it; and the three programs under a file-size limit as a site may set for its users
// (`prlimit --fsize`), with SIGXFSZ at its default: a write past the limit must fail like a full
// disk, not kill the program with the run it is timing.
#include "devices/GateSentence.h"
#include "devices/sim/AthleteRunner.h"
#include "devices/sim/DeviceClock.h"
#include "devices/sim/RfidReaderSim.h"
#include "platform/ComPort.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

class GateSim : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    void init()
    {
        if (QByteArray(QTest::currentTestFunction()).startsWith("program") && GateSimProgram().isEmpty())
            QSKIP("the simulator program is not built");
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath("adapters").toLocal8Bit());
        qputenv("SWIFTLANE_SERIAL_DIR", scratch.filePath("serial").toLocal8Bit());
        qputenv("XDG_DATA_HOME", scratch.filePath("data").toLocal8Bit());
        qputenv("TMPDIR", scratch.path().toLocal8Bit());
    }

    void deviceClockWraps()
    {
        QCOMPARE(sim::DeviceClock(65000).At(535), 65535u);
        QCOMPARE(sim::DeviceClock(65000).At(536), 0u);
        QCOMPARE(sim::DeviceClock(65537).At(65536LL * 1000 + 7),
                 8u); // start and time both taken modulo 65536
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
        QProcess simulator;
        simulator.setWorkingDirectory(scratch.path());
        simulator.start(GateSimProgram(), arguments + QStringList{"--exit-after", "0"});
        QVERIFY(simulator.waitForFinished(3000));
        QCOMPARE(simulator.exitCode(), 2);
        QVERIFY2(simulator.readAllStandardError().contains(message.toUtf8()), qPrintable(message));
    }

    // Gate adapter and RFID reader both: their links go when the program is ended with SIGTERM.
    void programRemovesItsLinksOnTerminate()
    {
        QProcess simulator;
        simulator.start(GateSimProgram(), {"--name", "PROG1", "--rfid-reader", "77"});
        const QStringList links{scratch.filePath("adapters/PROG1"), scratch.filePath("serial/PROG1")};
        for (const QString& link : links)
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 3000);
        simulator.terminate();
        QVERIFY(simulator.waitForFinished(3000));
        QCOMPARE(simulator.exitStatus(), QProcess::NormalExit);
        for (const QString& link : links)
            QVERIFY2(!QFileInfo(link).isSymLink(), qPrintable(link));
    }

    // Report rows of normal_4_gates: a 78-byte header and 43-byte rows. At 121 bytes the first run's
    // report fits and the second run finishes past the limit.
    void programsSurviveAWritePastTheLimit_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QByteArray>("printed");
        const QString streams = QStringLiteral(SWIFTLANE_TEST_DATA "/streams");
        QTest::newRow("replay, second run past the limit")
            << "swiftlane-replay"
            << QStringList{streams + "/normal_4_gates.session", "--sequence",
                           streams + "/sequences/4 gates 30 m.run"}
            << 121 << QByteArray("Run 1,4.552,1.871,1.353,1.328,30.000,6.591\n");
        QTest::newRow("simulator writing the demo sequence")
            << "swiftlane-gatesim" << QStringList{"--write-demo-sequence", scratch.filePath("runs")} << 10
            << QByteArray();
        QTest::newRow("application, session header past the limit")
            << "swiftlane" << QStringList{} << 30 << QByteArray();
    }
    // The application does not end by itself: still running after 8 s it is ended with SIGTERM.
    void programsSurviveAWritePastTheLimit()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, limit);
        QFETCH(QByteArray, printed);
        QProcess child;
        child.setChildProcessModifier([limit] {
            rlimit fsize{};
            ::getrlimit(RLIMIT_FSIZE, &fsize);
            fsize.rlim_cur = static_cast<rlim_t>(limit);
            ::setrlimit(RLIMIT_FSIZE, &fsize);
            ::signal(SIGXFSZ, SIG_DFL);
        });
        child.start(QFileInfo(GateSimProgram()).dir().filePath(program), arguments);
        if (!child.waitForFinished(8000))
            child.terminate();
        QVERIFY(child.state() == QProcess::NotRunning || child.waitForFinished(5000));
        const bool killed = child.exitStatus() == QProcess::CrashExit;
        QVERIFY2(!killed || child.exitCode() == SIGTERM, qPrintable(QString::number(child.exitCode())));
        QVERIFY(child.readAllStandardOutput().contains(printed));
    }
};

QTEST_GUILESS_MAIN(GateSim)
#include "test_gatesim.moc"
