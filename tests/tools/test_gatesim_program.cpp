// The simulator program itself, as make run and an operator start it.
#include "devices/CGateSystem.h"
#include "support/RecordingGateOwner.h"
#include "timing/GateSequence.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class GateSimProgram : public QObject
{
    Q_OBJECT

private:
    QString program;
    QTemporaryDir scratch;

    QString Run(const QStringList& arguments, int* exitCode)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(10000))
            return {};
        *exitCode = process.exitCode();
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }

private slots:
    void initTestCase()
    {
        program = qEnvironmentVariable("SWIFTLANE_GATESIM");
        if (program.isEmpty() || !QFileInfo(program).isExecutable())
            QSKIP("the simulator program is not built");
        QVERIFY(scratch.isValid());
        qputenv("SWIFTLANE_ADAPTER_DIR", scratch.filePath(QStringLiteral("adapters")).toLocal8Bit());
    }

    void writesTheDemoSequenceOnlyIntoAFolderWithoutSequences()
    {
        const QString runs = scratch.filePath(QStringLiteral("Runs"));
        int code = -1;
        Run({QStringLiteral("--write-demo-sequence"), runs}, &code);
        QCOMPARE(code, 0);
        GateSequence demo;
        QVERIFY(demo.Load(runs + QStringLiteral("/Demo 30 m.run")));
        QCOMPARE(demo.Name(), QStringLiteral("Demo 30 m"));
        QCOMPARE(demo.TotalDistance(), 30.0);
        QCOMPARE(demo.GateCount(), 4);
        for (unsigned i = 0; i < 4; ++i)
            QCOMPARE(demo.GateNumberAt(i).value_or(-1), static_cast<int>(i));

        // The operator's own sequence is left alone, and no demo is added beside it.
        QFile::rename(runs + QStringLiteral("/Demo 30 m.run"), runs + QStringLiteral("/Mine.run"));
        Run({QStringLiteral("--write-demo-sequence"), runs}, &code);
        QCOMPARE(code, 0);
        QVERIFY(!QFile::exists(runs + QStringLiteral("/Demo 30 m.run")));
    }

    void reportsNoRealAdapterOnThisMachine()
    {
        int code = -1;
        Run({QStringLiteral("--real-adapter-attached")}, &code);
        QCOMPARE(code, 1);
    }

    void playsAScriptThatTheGateSystemReceivesAndCleansUpOnTerminate()
    {
        const QString scriptPath = scratch.filePath(QStringLiteral("passages.txt"));
        QFile script(scriptPath);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("# two gates\n800 1\n1900 3 0\n");
        script.close();

        QProcess simulator;
        simulator.start(program,
                        {QStringLiteral("--name"), QStringLiteral("PROG1"), QStringLiteral("--script"),
                         scriptPath, QStringLiteral("--clock-start"), QStringLiteral("65000"),
                         QStringLiteral("--interval"), QStringLiteral("50")});
        QVERIFY(simulator.waitForStarted());
        const QString link = scratch.filePath(QStringLiteral("adapters/PROG1"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 3000);

        int code = -1;
        const QString listing = Run({QStringLiteral("--list-adapters")}, &code);
        QVERIFY2(listing.contains(QStringLiteral("virtual\tPROG1\tSwiftlane virtual gate adapter")),
                 qPrintable(listing));

        RecordingGateOwner owner;
        CGateSystem gates(&owner);
        QVERIFY(gates.IsLinkOpen());
        QTRY_VERIFY_WITH_TIMEOUT((gates.Poll(), owner.describe().filter(QStringLiteral("event")).size() == 2),
                                 4000);
        const QStringList events = owner.describe().filter(QStringLiteral("event"));
        QCOMPARE(events, QStringList({"event 0 264 1", "event 2 1364 0"})); // 65000 + 800 wraps to 264

        simulator.terminate(); // SIGTERM
        QVERIFY(simulator.waitForFinished(3000));
        QCOMPARE(simulator.exitStatus(), QProcess::NormalExit);
        QVERIFY(!QFileInfo(link).isSymLink());
        const QString output = QString::fromLocal8Bit(simulator.readAllStandardOutput());
        QVERIFY2(output.contains(QStringLiteral("Gate 1 passage at device time 264")), qPrintable(output));
        QVERIFY(output.contains(QStringLiteral("Gate 3 passage at device time 1364")));
    }

    void rejectsBadOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("name with a dash") << QStringList{"--name", "sim-1"};
        QTest::newRow("five gates") << QStringList{"--gates", "5"};
        QTest::newRow("order of one gate") << QStringList{"--auto", "--order", "2"};
        QTest::newRow("corrupt above 1") << QStringList{"--corrupt", "1.5"};
        QTest::newRow("clock beyond 16 bits") << QStringList{"--clock-start", "65536"};
    }

    void rejectsBadOptions()
    {
        QFETCH(QStringList, arguments);
        int code = -1;
        Run(arguments, &code);
        QCOMPARE(code, 2);
    }
};

QTEST_GUILESS_MAIN(GateSimProgram)
#include "test_gatesim_program.moc"
