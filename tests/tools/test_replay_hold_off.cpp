// Re-timing a recorded session with another hold-off than its sequence's: every
// NAME.hold-off-MS.expected in tests/data/streams is what the session gives with that value.
#include "tools/replay/SessionReplay.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString StreamsFolder = QStringLiteral(SWIFTLANE_TEST_DATA "/streams");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString sequenceOf(const QString& sessionPath)
{
    const QRegularExpression line(QStringLiteral("^# sequence: (.+)$"), QRegularExpression::MultilineOption);
    return StreamsFolder + QStringLiteral("/sequences/") +
           line.match(QString::fromUtf8(readFile(sessionPath))).captured(1);
}

QString replayProgram()
{
    const QString gatesim = qEnvironmentVariable("SWIFTLANE_GATESIM");
    return QFileInfo(gatesim).dir().filePath(QStringLiteral("swiftlane-replay"));
}

} // namespace

class ReplayHoldOff : public QObject
{
    Q_OBJECT

private slots:
    void givesTheExpectedReportLines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("holdOff");
        const QRegularExpression pattern(QStringLiteral("^(.+)\\.hold-off-(\\d+)\\.expected$"));
        const QStringList files = QDir(StreamsFolder).entryList({QStringLiteral("*.hold-off-*.expected")});
        QVERIFY(!files.isEmpty());
        for (const QString& file : files) {
            const QRegularExpressionMatch match = pattern.match(file);
            QVERIFY2(match.hasMatch(), qPrintable(file));
            QTest::newRow(qPrintable(file)) << match.captured(1) << match.captured(2).toInt();
        }
    }
    void givesTheExpectedReportLines()
    {
        QFETCH(QString, name);
        QFETCH(int, holdOff);
        const QString sessionPath = StreamsFolder + "/" + name + ".session";
        const session::ParsedSession session = session::ParseSession(readFile(sessionPath));
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        SessionReplay replay(sequenceOf(sessionPath), holdOff);
        QVERIFY(replay.SequenceLoaded());
        QCOMPARE(replay.HoldOffMs(), holdOff);
        replay.Play(session.records);
        QCOMPARE(QString::fromUtf8(replay.ReportText()),
                 QString::fromUtf8(readFile(StreamsFolder + "/" + name + ".hold-off-" +
                                            QString::number(holdOff) + ".expected")));
    }

    // The sequence's own 400 ms refuses the second leg at the start and the bounce after lap 1.
    void notesTheRefusedBreaks()
    {
        const QString sessionPath = StreamsFolder + "/double_break_lap.session";
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        SessionReplay replay(sequenceOf(sessionPath));
        QCOMPARE(replay.HoldOffMs(), 400);
        replay.Play(session::ParseSession(readFile(sessionPath)).records);
        QCOMPARE(replay.RejectedBreakNotes(), QStringList{"Run 1: 2 extra breaks at Gate 1 ignored"});
    }

    void theProgramTakesTheOption_data()
    {
        QTest::addColumn<QStringList>("holdOff");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // file whose text is the output; none: no output
        QTest::newRow("0") << QStringList{"--hold-off", "0"} << 0 << "double_break_lap.hold-off-0.expected";
        QTest::newRow("over 5000") << QStringList{"--hold-off", "5001"} << 2 << "";
        QTest::newRow("negative") << QStringList{"--hold-off=-1"} << 2 << "";
        QTest::newRow("not a number") << QStringList{"--hold-off", "300ms"} << 2 << "";
    }
    void theProgramTakesTheOption()
    {
        QFETCH(QStringList, holdOff);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        if (!QFileInfo(replayProgram()).isExecutable())
            QSKIP("swiftlane-replay is not built beside the simulator");
        QProcess replay;
        replay.start(replayProgram(), QStringList{StreamsFolder + "/double_break_lap.session", "--sequence",
                                                  StreamsFolder + "/sequences/lap 1 gate 100 m.run"} +
                                          holdOff);
        QVERIFY(replay.waitForFinished(10000));
        QCOMPARE(replay.exitCode(), exitCode);
        QCOMPARE(replay.readAllStandardOutput(),
                 expected.isEmpty() ? QByteArray() : readFile(StreamsFolder + "/" + expected));
    }
};

QTEST_GUILESS_MAIN(ReplayHoldOff)
#include "test_replay_hold_off.moc"
