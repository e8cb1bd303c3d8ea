// The three programs under a file-size limit as a site may set for its users (`prlimit --fsize`),
// with SIGXFSZ at its default: a write past the limit must fail like a full disk, not kill the
// program with the run it is timing. And the replay program refuses what it cannot time.
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString StreamsFolder = QStringLiteral(SWIFTLANE_TEST_DATA "/streams");

struct Ended
{
    int signal = 0; // the signal that ended it, 0 when it exited
    int code = -1;
    QByteArray output;
};

// Runs the program under the limit; still running after `lifeMs` it is ended with SIGTERM (the application
// does not end by itself).
Ended runUnderLimit(const QString& program, const QStringList& arguments, rlim_t limit, int lifeMs)
{
    int out[2];
    if (::pipe(out) != 0)
        qFatal("no pipe");
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        FileSizeLimit limited(limit); // kept through exec
        std::signal(SIGXFSZ, SIG_DFL);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::fcntl(out[0], F_SETFL, O_NONBLOCK);
    Ended ended;
    QElapsedTimer life;
    life.start();
    int status = 0;
    bool stopped = false;
    for (;;) {
        char buffer[4096];
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got > 0)
            ended.output.append(buffer, got);
        if (::waitpid(child, &status, WNOHANG) == child)
            break;
        if (!stopped && life.elapsed() > lifeMs) {
            ::kill(child, SIGTERM);
            stopped = true;
        }
        QThread::msleep(10);
    }
    char buffer[4096];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;)
        ended.output.append(buffer, got);
    ::close(out[0]);
    ended.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    ended.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ended;
}

QString programBesideSimulator(const QString& name)
{
    const QString gatesim = GateSimProgram();
    return gatesim.isEmpty() ? QString() : QFileInfo(gatesim).dir().filePath(name);
}

} // namespace

class FileSizeLimitTest : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;

private slots:
    void init()
    {
        if (GateSimProgram().isEmpty())
            QSKIP("the programs are not built");
        qputenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("TMPDIR", scratch.path().toLocal8Bit());
    }

    // Report rows of normal_4_gates: a 78-byte header and 43-byte rows. At 121 bytes the first run's
    // report fits and the second run finishes past the limit.
    void aWritePastTheLimitDoesNotKill_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QByteArray>("printed");
        QTest::newRow("replay, second run past the limit")
            << "swiftlane-replay"
            << QStringList{StreamsFolder + "/normal_4_gates.session", "--sequence",
                           StreamsFolder + "/sequences/4 gates 30 m.run"}
            << 121 << QByteArray("Run 1,4.552,1.871,1.353,1.328,30.000,6.591\n");
        QTest::newRow("simulator writing the demo sequence")
            << "swiftlane-gatesim" << QStringList{"--write-demo-sequence", scratch.filePath("runs")} << 10
            << QByteArray();
        QTest::newRow("application, session header past the limit")
            << "swiftlane" << QStringList{} << 30 << QByteArray();
    }
    void aWritePastTheLimitDoesNotKill()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, limit);
        QFETCH(QByteArray, printed);
        const Ended ended =
            runUnderLimit(programBesideSimulator(program), arguments, static_cast<rlim_t>(limit), 8000);
        QVERIFY2(ended.signal != SIGXFSZ, "killed by SIGXFSZ");
        QVERIFY2(ended.signal == 0 || ended.signal == SIGTERM, qPrintable(QString::number(ended.signal)));
        QVERIFY2(ended.output.contains(printed), ended.output.constData());
    }

    void theReplayRefusesWhatItCannotTime_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: a named pipe
        QTest::newRow("empty file") << QByteArray("\n");
        QTest::newRow("garbage") << QByteArray("\x01\x02garbage\nmore garbage\n");
        QTest::newRow("only the header") << QByteArray("# Swiftlane gate session 1\n");
        QTest::newRow("named pipe") << QByteArray();
    }
    void theReplayRefusesWhatItCannotTime()
    {
        QFETCH(QByteArray, content);
        const QString path = scratch.filePath(QStringLiteral("input.session"));
        QFile::remove(path);
        if (content.isEmpty()) {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content.trimmed());
        }
        QProcess replay;
        replay.start(programBesideSimulator("swiftlane-replay"),
                     {path, "--sequence", StreamsFolder + "/sequences/4 gates 30 m.run"});
        const bool finished = replay.waitForFinished(5000);
        if (!finished)
            replay.kill();
        QVERIFY2(finished, "the replay blocked");
        QCOMPARE(replay.exitCode(), 2);
        QVERIFY(replay.readAllStandardOutput().isEmpty());
        QVERIFY(replay.readAllStandardError().contains(QFile::encodeName(path)));
    }
};

QTEST_GUILESS_MAIN(FileSizeLimitTest)
#include "test_file_size_limit.moc"
