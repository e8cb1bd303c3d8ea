// Every session in tests/data/streams, timed again by the replay program through the real decoder
// and run engine, must print exactly the report lines of its .expected file, and of each
// NAME.hold-off-MS.expected when re-timed with that hold-off instead of its sequence's. New field
// problems are added there as files; the header of each session says what it shows and which
// sequence it is timed with. What the program cannot time it refuses with status 2, printing nothing.
#include "support/TestFiles.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString Streams = QStringLiteral(SWIFTLANE_TEST_DATA "/streams/");

QString SequenceNamedIn(const QString& sessionName)
{
    const QRegularExpression line(QStringLiteral("^# sequence: (.+)$"), QRegularExpression::MultilineOption);
    return Streams + "sequences/" +
           line.match(QString::fromUtf8(ReadAll(Streams + sessionName + ".session"))).captured(1);
}

} // namespace

class ReplayStreams : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    void printsTheReportLines_data()
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
    void printsTheReportLines()
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

QTEST_GUILESS_MAIN(ReplayStreams)
#include "test_replay_streams.moc"
