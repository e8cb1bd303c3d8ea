// Every session in tests/data/streams, timed again through the real decoder and run engine, must
// give exactly the report lines of its .expected file. New field problems are added there as
// files; the header of each session says what it shows and which sequence it is timed with.
#include "support/TestFiles.h"
#include "tools/replay/SessionReplay.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Streams = QStringLiteral(SWIFTLANE_TEST_DATA "/streams/");

} // namespace

class ReplayStreams : public QObject
{
    Q_OBJECT

private slots:
    void givesTheExpectedReportLines_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList sessions = QDir(Streams).entryList({QStringLiteral("*.session")}, QDir::Files);
        QVERIFY(sessions.size() >= 9);
        for (const QString& file : sessions)
            QTest::newRow(qPrintable(file)) << QFileInfo(file).completeBaseName();
    }
    void givesTheExpectedReportLines()
    {
        QFETCH(QString, name);
        const QByteArray text = ReadAll(Streams + name + ".session");
        const session::ParsedSession session = session::ParseSession(text);
        QCOMPARE(session.malformedLines, 0);
        const QRegularExpression sequenceLine(QStringLiteral("^# sequence: (.+)$"),
                                              QRegularExpression::MultilineOption);
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        SessionReplay replay(Streams + "sequences/" +
                             sequenceLine.match(QString::fromUtf8(text)).captured(1));
        QVERIFY(replay.SequenceLoaded());
        replay.Play(session.records);
        QCOMPARE(QString::fromUtf8(replay.ReportText()),
                 QString::fromUtf8(ReadAll(Streams + name + ".expected")));
    }

    // The program a coach runs prints the same lines, and nothing else on its output.
    void theReplayProgramPrintsTheReportLines()
    {
        const QString program =
            QFileInfo(GateSimProgram()).dir().filePath(QStringLiteral("swiftlane-replay"));
        if (!QFileInfo(program).isExecutable())
            QSKIP("swiftlane-replay is not built beside the simulator");
        QTemporaryDir scratch;
        QProcess replay;
        for (const QString& sequence :
             {InstallSequence(scratch.path()), QStringLiteral("/nonexistent.run")}) {
            replay.start(program, {Streams + "unplug_replug.session", "--sequence", sequence});
            QVERIFY(replay.waitForFinished(10000));
            const bool loaded = sequence != QLatin1String("/nonexistent.run");
            QCOMPARE(replay.exitCode(), loaded ? 0 : 2);
            QCOMPARE(replay.readAllStandardOutput(),
                     loaded ? ReadAll(Streams + "unplug_replug.expected") : "");
        }
    }
};

QTEST_GUILESS_MAIN(ReplayStreams)
#include "test_replay_streams.moc"
