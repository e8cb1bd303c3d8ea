// Every session in tests/data/streams, timed again through the real decoder and run engine, must
// give exactly the report lines of its .expected file. New field problems are added there as
// files; the header of each session says what it shows and which sequence it is timed with.
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

QString sequenceOf(const QByteArray& session)
{
    const QRegularExpression line(QStringLiteral("^# sequence: (.+)$"), QRegularExpression::MultilineOption);
    return StreamsFolder + QStringLiteral("/sequences/") + line.match(QString::fromUtf8(session)).captured(1);
}

} // namespace

class ReplayStreams : public QObject
{
    Q_OBJECT

private slots:
    void givesTheExpectedReportLines_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList sessions =
            QDir(StreamsFolder).entryList({QStringLiteral("*.session")}, QDir::Files);
        QVERIFY(sessions.size() >= 9);
        for (const QString& file : sessions) {
            const QString name = file.chopped(QStringLiteral(".session").size());
            QTest::newRow(qPrintable(name)) << name;
        }
    }
    void givesTheExpectedReportLines()
    {
        QFETCH(QString, name);
        const QByteArray text = readFile(StreamsFolder + "/" + name + ".session");
        const session::ParsedSession session = session::ParseSession(text);
        QCOMPARE(session.malformedLines, 0);
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        SessionReplay replay(sequenceOf(text));
        QVERIFY(replay.SequenceLoaded());
        replay.Play(session.records);
        QCOMPARE(QString::fromUtf8(replay.ReportText()),
                 QString::fromUtf8(readFile(StreamsFolder + "/" + name + ".expected")));
    }

    // The program a coach runs prints the same lines, and nothing else on its output.
    void theReplayProgramPrintsTheReportLines()
    {
        const QString gatesim = qEnvironmentVariable("SWIFTLANE_GATESIM");
        const QString program = QFileInfo(gatesim).dir().filePath(QStringLiteral("swiftlane-replay"));
        if (!QFileInfo(program).isExecutable())
            QSKIP("swiftlane-replay is not built beside the simulator");
        QProcess replay;
        replay.start(program, {StreamsFolder + "/unplug_replug.session", "--sequence",
                               StreamsFolder + "/sequences/4 gates 30 m.run"});
        QVERIFY(replay.waitForFinished(10000));
        QCOMPARE(replay.exitCode(), 0);
        QCOMPARE(replay.readAllStandardOutput(), readFile(StreamsFolder + "/unplug_replug.expected"));

        replay.start(program, {StreamsFolder + "/unplug_replug.session", "--sequence", "/nonexistent.run"});
        QVERIFY(replay.waitForFinished(10000));
        QCOMPARE(replay.exitCode(), 2);
        QVERIFY(replay.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(ReplayStreams)
#include "test_replay_streams.moc"
