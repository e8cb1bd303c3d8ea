// Every session in tests/data/streams, timed again by the replay program through the real decoder
// and run engine, must print exactly the report lines of its .expected file, and of each
// NAME.hold-off-MS.expected when re-timed with that hold-off instead of its sequence's. New field
// problems are added there as files; the header of each session says what it shows and which
// sequence it is timed with. What the program cannot time it refuses with status 2, printing nothing.
// The gate simulator: its device clock, its athletes' true splits, the program as make run starts
// it; and the three programs under a file-size limit as a site may set for its users (`prlimit
// --fsize`), with SIGXFSZ at its default: a write past the limit must fail like a full disk, not
// kill the program with the run it is timing.
#include "devices/GateSentence.h"
#include "devices/sim/AthleteRunner.h"
#include "devices/sim/DeviceClock.h"
#include "devices/sim/EventScript.h"
#include "support/TestFiles.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>

namespace {

const QString Streams = QStringLiteral(SWIFTLANE_TEST_DATA "/streams/");

QString SequenceNamedIn(const QString& sessionName)
{
    const QRegularExpression line(QStringLiteral("^# sequence: (.+)$"), QRegularExpression::MultilineOption);
    return Streams + "sequences/" +
           line.match(QString::fromUtf8(ReadAll(Streams + sessionName + ".session"))).captured(1);
}

} // namespace

class ToolPrograms : public QObject
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

    // The splits the simulator reports are what Swiftlane must show: the device-clock differences
    // between consecutive passages, the first across the clock's wrap (804 + 65536 - 64500 = 1840),
    // the next athlete starting 8000 ms after the last one's finish. The clock takes its start and
    // the time both modulo 65536.
    void athletesReportTheSplitsTheirPassagesCarry()
    {
        QCOMPARE(sim::DeviceClock(65000).At(535), 65535u);
        QCOMPARE(sim::DeviceClock(65537).At(65536LL * 1000 + 7), 8u);
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
        QVERIFY(runner.Finished());
        QCOMPARE(times, QList<std::uint32_t>({64500, 804, 1881, 9881, 11640, 12956}));
        QCOMPARE(log.filter("true splits"),
                 QStringList({"Athlete 1 true splits: 1.840 1.077 total 2.917 s",
                              "Athlete 2 true splits: 1.759 1.316 total 3.075 s"}));
    }

    // A script numbers gates as the operator does (1 = master, wire 0) and is played in time order;
    // gate 0 and 5 are no gates.
    void scriptsNumberGatesAsTheOperatorDoes()
    {
        const sim::EventScript script = sim::ParseEventScript("# warm-up\n1500 1\n\n3372 4 0\n 200 2 \n");
        QVERIFY(script.error.isEmpty());
        QList<std::tuple<std::int64_t, int, bool>> passages;
        for (const sim::ScriptedPassage& passage : script.passages)
            passages << std::make_tuple(passage.atMs, passage.gate, passage.state);
        QCOMPARE(passages, (QList<std::tuple<std::int64_t, int, bool>>{
                               {200, 1, true}, {1500, 0, true}, {3372, 3, false}}));
        QCOMPARE(sim::ParseEventScript("100 1\n100 0\n").error,
                 "line 2: expected \"<ms> <gate 1-4> [state]\", got \"100 0\"");
        QVERIFY(!sim::ParseEventScript("100 5").error.isEmpty());
    }

    // Each refusal names what it refuses; the RFID tag of 63 characters is too long for the reply ring.
    // The highest gate is a gate like any other, and the demo sequence is written only into a
    // folder without sequences of the operator's own.
    void programTakesOnlyOptionsItCanHonour()
    {
        QVERIFY(WriteAll(scratch.filePath("gate7.txt"), "100 7\n"));
        QVERIFY(QDir(scratch.path()).mkpath("own") && WriteAll(scratch.filePath("own/Mine.run"), "mine"));
        const std::tuple<QStringList, int, QString> cases[] = {
            {{"--gates", "1", "--auto"}, 2, "--auto needs"},
            {{"--seed", "abc"}, 2, "--seed wants a whole number"},
            {{"--gates", "2", "--order", "1,3"}, 2, "--order"},
            {{"--order", "1"}, 2, "--order"},
            {{"--script", "gate7.txt"}, 2, "got \"100 7\""},
            {{"--auto", "2.5"}, 2, "unexpected argument \"2.5\""},
            {{"--rfid-reader", "A,,B"}, 2, "--rfid-reader wants"},
            {{"--rfid-reader", QString(63, 'T')}, 2, "--rfid-reader wants"},
            {{"--gates", "2", "--order", "2,1", "--not-ready", "2"}, 0, {}},
            {{"--write-demo-sequence", "own"}, 0, {}}};
        for (const auto& [arguments, status, message] : cases) {
            QProcess simulator;
            simulator.setWorkingDirectory(scratch.path());
            simulator.start(GateSimProgram(), arguments + QStringList{"--exit-after", "0"});
            QVERIFY(simulator.waitForFinished(3000));
            const QByteArray said = simulator.readAllStandardError();
            QVERIFY2(simulator.exitCode() == status, qPrintable(arguments.join(' ') + ": " + said));
            QVERIFY2(said.contains(message.toUtf8()), qPrintable(arguments.join(' ')));
        }
        QCOMPARE(QDir(scratch.filePath("own")).entryList(QDir::Files), QStringList{"Mine.run"});
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
    // report fits and the second run finishes past the limit. The application does not end by
    // itself: still running after 8 s it is ended with SIGTERM.
    void programsSurviveAWritePastTheLimit()
    {
        const std::tuple<QString, QStringList, int, QByteArray> cases[] = {
            {"swiftlane-replay",
             {Streams + "normal_4_gates.session", "--sequence", Streams + "sequences/4 gates 30 m.run"},
             121,
             "Run 1,4.552,1.871,1.353,1.328,30.000,6.591\n"},
            {"swiftlane-gatesim", {"--write-demo-sequence", scratch.filePath("runs")}, 10, {}},
            {"swiftlane", {}, 30, {}}}; // the session header past the limit
        for (const auto& [program, arguments, limit, printed] : cases) {
            QProcess child;
            child.setChildProcessModifier([limit = limit] {
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
            QVERIFY2(!killed || child.exitCode() == SIGTERM, qPrintable(program));
            QVERIFY2(child.readAllStandardOutput().contains(printed), qPrintable(program));
        }
    }

    void programPrintsTheReportLinesOfEachStream_data()
    {
        QTest::addColumn<QByteArray>("session"); // a streams name, or a file's bytes ("|": a named pipe)
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed"); // the file whose text it prints; none: nothing
        QTest::addColumn<QByteArray>("said"); // on its error output; none: the session's path
        const QRegularExpression holdOff(QStringLiteral("^(.+)\\.hold-off-(\\d+)\\.expected$"));
        const QStringList files =
            QDir(Streams).entryList({"*.session", "*.hold-off-*.expected"}, QDir::Files);
        QVERIFY(files.size() >= 10);
        for (const QString& file : files) {
            const QRegularExpressionMatch match = holdOff.match(file);
            const QString name = match.hasMatch() ? match.captured(1) : QFileInfo(file).completeBaseName();
            QTest::newRow(qPrintable(file))
                << name.toUtf8()
                << QStringList{"--sequence", SequenceNamedIn(name)} +
                       (match.hasMatch() ? QStringList{"--hold-off", match.captured(2)} : QStringList())
                << 0 << (match.hasMatch() ? file : name + ".expected") << QByteArray("finished");
        }
        // The sequence's own 400 ms refuses the second leg at the start and the bounce after lap 1.
        const QByteArray laps("double_break_lap");
        const QStringList lap{"--sequence", Streams + "sequences/lap 1 gate 100 m.run"};
        QTest::newRow("refused breaks noted") << laps << lap << 0 << "double_break_lap.expected"
                                              << QByteArray("Run 1: 2 extra breaks at Gate 1 ignored\n");
        const QByteArray badHoldOff("--hold-off takes whole milliseconds");
        QTest::newRow("hold-off 5001")
            << laps << lap + QStringList{"--hold-off", "5001"} << 2 << "" << badHoldOff;
        QTest::newRow("hold-off -1") << laps << lap + QStringList{"--hold-off=-1"} << 2 << "" << badHoldOff;
        QTest::newRow("hold-off 300ms")
            << laps << lap + QStringList{"--hold-off", "300ms"} << 2 << "" << badHoldOff;
        QTest::newRow("no such sequence")
            << QByteArray("unplug_replug") << QStringList{"--sequence", "/none.run"} << 2 << ""
            << QByteArray("/none.run");
        const QStringList four{"--sequence", Streams + "sequences/4 gates 30 m.run"};
        QTest::newRow("empty file") << QByteArray("") << four << 2 << "" << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x01\x02garbage\nmore garbage") << four << 2 << ""
                                 << QByteArray();
        QTest::newRow("only the header")
            << QByteArray("# Swiftlane gate session 1") << four << 2 << "" << QByteArray();
        QTest::newRow("named pipe") << QByteArray("|") << four << 2 << "" << QByteArray();
    }
    void programPrintsTheReportLinesOfEachStream()
    {
        QFETCH(QByteArray, session);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, printed);
        QFETCH(QByteArray, said);
        const QString program =
            QFileInfo(GateSimProgram()).dir().filePath(QStringLiteral("swiftlane-replay"));
        if (!QFileInfo(program).isExecutable())
            QSKIP("swiftlane-replay is not built beside the simulator");
        const bool recorded = QFileInfo::exists(Streams + session + ".session");
        const QString path =
            recorded ? Streams + session + ".session" : scratch.filePath(QTest::currentDataTag());
        QVERIFY(recorded || (session == "|" ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                            : WriteAll(path, session)));
        QProcess replay;
        replay.start(program, QStringList{path} + options);
        const bool finished = replay.waitForFinished(5000);
        if (!finished)
            replay.kill();
        QVERIFY2(finished, "the replay blocked");
        QCOMPARE(replay.exitCode(), status);
        QCOMPARE(replay.readAllStandardOutput(),
                 printed.isEmpty() ? QByteArray() : ReadAll(Streams + printed));
        const QByteArray errors = replay.readAllStandardError();
        QVERIFY2(errors.contains(said.isEmpty() ? QFile::encodeName(path) : said), errors.constData());
        QVERIFY2(!errors.contains("skipped") && !errors.contains("cut off"), errors.constData());
    }
};

QTEST_GUILESS_MAIN(ToolPrograms)
#include "test_programs.moc"
