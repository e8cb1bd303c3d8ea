#include "platform/FakeClock.h"
#include "timing/RunOwner.h"
#include "timing/SequenceRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList captured;
QtMessageHandler previousHandler = nullptr;

void Capture(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    captured.append(message);
    previousHandler(type, context, message);
}

struct RecordingOwner : RunOwner
{
    explicit RecordingOwner(SequenceRun& run) : run(run) { run.SetOwner(this); }
    void OnRunFinished() override { rows.append(run.BuildResultRow()); }
    SequenceRun& run;
    QList<QStringList> rows; // the row seen at every finish
};

// Steps separated by blanks: "S" start, "A" abort, "E<gate>@<time>" gate event, "T<time>" status
// report, "+<ms>" the PC counter moves on.
void Play(SequenceRun& run, platform::FakeClock& clock, const QString& script)
{
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList event = step.mid(1).split(QLatin1Char('@'));
        switch (step.at(0).toLatin1()) {
        case 'S':
            run.StartRun();
            break;
        case 'A':
            run.Abort();
            break;
        case 'E':
            run.GateEvent(event[0].toInt(), event[1].toUInt(), true);
            break;
        case 'T':
            run.Tick(event[0].toUInt());
            break;
        case '+':
            clock.advance(event[0].toUInt());
            break;
        default:
            QFAIL(qPrintable(QStringLiteral("bad step ") + step));
        }
    }
}

} // namespace

class SequenceRunTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dataHome;
    QTemporaryDir runs;
    std::unique_ptr<platform::FakeClock> clock;

    QString Saved(const QList<int>& gates, double distance)
    {
        GateSequence sequence;
        sequence.SetTotalDistance(distance);
        for (int gate : gates)
            sequence.InsertGate(static_cast<unsigned>(sequence.GateCount()), gate);
        const QString path = runs.filePath(QStringLiteral("Run.run"));
        return sequence.Save(path) ? path : QString();
    }
    static double At(const SequenceRun& run, unsigned position, bool best = false)
    {
        double time = -1, bestTime = -1;
        run.GetGateTimes(position, time, bestTime);
        return best ? bestTime : time;
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
        previousHandler = qInstallMessageHandler(Capture);
    }
    void init()
    {
        captured.clear();
        clock = std::make_unique<platform::FakeClock>();
    }
    void cleanup() { clock.reset(); }

    void scriptedRuns_data()
    {
        QTest::addColumn<QList<int>>("gates");
        QTest::addColumn<double>("distance");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("row"); // fields after the subject name
        QTest::addColumn<int>("finished");
        const QList<int> three{0, 1, 2};
        QTest::newRow("three gates") << three << 32.0 << "S T400 E0@1000 T1500 T2500 E1@3200 E2@4200"
                                     << "3.200,2.200,1.000,32.000,10.000" << 1;
        QTest::newRow("wrap at the event") << QList<int>{0, 1} << 0.0 << "S E0@65000 E1@1000"
                                           << "1.536,1.536,0.000,0.000" << 1;
        QTest::newRow("wrap at a status") << QList<int>{0, 1} << 0.0 << "S E0@65000 T65500 T200 E1@1000"
                                          << "1.536,1.536,0.000,0.000" << 1;
        QTest::newRow("late older status") << QList<int>{0, 1} << 0.0 << "S E0@65000 T64000 E1@65100"
                                           << "65.636,65.636,0.000,0.000" << 1;
        QTest::newRow("other gates and repeats ignored")
            << three << 32.0 << "E0@100 S E1@200 E0@1000 E0@1050 E2@1500 E1@2000"
            << "1.000,1.000,0.000,32.000,32.000" << 0;
        QTest::newRow("start and finish at one gate") << QList<int>{0, 0} << 10.0 << "S E0@1000 E0@3500"
                                                      << "2.500,2.500,10.000,4.000" << 1;
        QTest::newRow("single gate") << QList<int>{2} << 5.0 << "S E2@1000"
                                     << "0.000,5.000,0.000" << 1;
        QTest::newRow("before any run") << QList<int>{0, 1, 2, 3} << 40.0 << ""
                                        << "0.000,0.000,0.000,0.000,40.000,0.000" << 0;
        QTest::newRow("aborted") << three << 0.0 << "S E0@1000 E1@3000 +300 A +5000"
                                 << "2.000,2.000,0.000,0.000,0.000" << 0;
        QTest::newRow("empty sequence") << QList<int>{} << 0.0 << "S E0@1000"
                                        << "0.000,0.000,0.000" << 0;
    }
    void scriptedRuns()
    {
        QFETCH(QList<int>, gates);
        QFETCH(double, distance);
        QFETCH(QString, script);
        QFETCH(QString, row);
        QFETCH(int, finished);
        SequenceRun run;
        RecordingOwner owner(run);
        run.LoadSequence(Saved(gates, distance));
        run.SetSubjectName(QStringLiteral("Ann"));
        Play(run, *clock, script);
        const QStringList expected = QStringLiteral("Ann,").append(row).split(QLatin1Char(','));
        QCOMPARE(run.BuildResultRow(), expected);
        QCOMPARE(QString::number(run.TotalTime(), 'f', 3), expected.at(1));
        QCOMPARE(owner.rows, QList<QStringList>(finished, expected));
        if (finished)
            QVERIFY(!run.IsRunning() && run.CurrentGateIndex() == -1);
        else
            QVERIFY(run.ReportFileName().isEmpty());
    }

    void finishedRunIsReportedAndTraced()
    {
        SequenceRun run;
        run.LoadSequence(Saved({0, 1, 2}, 32.0));
        run.SetSubjectName(QStringLiteral("Ann"));
        Play(run, *clock, QStringLiteral("S E0@1000 E1@3200"));
        run.SetSubjectName(QStringLiteral("Bo")); // edited during the run
        Play(run, *clock, QStringLiteral("E2@4200"));
        QCOMPARE(At(run, 0), 0.0);
        QCOMPARE(At(run, 1), 2.2);
        QCOMPARE(At(run, 2), 1.0);
        QFile report(run.ReportFileName());
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.readAll(),
                 QByteArray("Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n"
                            "Bo,3.200,2.200,1.000,32.000,10.000\n"));
        const QStringList trace{QStringLiteral("SR gateevent 2"),
                                QStringLiteral("SR gate passed"),
                                QStringLiteral("SetGateTime Gate:2  time:1.000000"),
                                QStringLiteral("setting best time"),
                                QStringLiteral("SR finishrun"),
                                QStringLiteral("Adding report entry")};
        QCOMPARE(captured.mid(captured.indexOf(trace.first()), trace.size()), trace);
    }

    void bestTimesAcrossRunsAndReload()
    {
        SequenceRun run;
        const QString path = Saved({0, 1}, 0.0);
        run.LoadSequence(path);
        for (const char* split : {"5000", "4000", "4500", "4000"}) {
            Play(run, *clock, QStringLiteral("S E0@0"));
            captured.clear();
            Play(run, *clock, QStringLiteral("E1@") + QLatin1String(split));
        }
        QVERIFY(!captured.contains(QStringLiteral("setting best time"))); // a tie keeps the old best
        QCOMPARE(At(run, 1, true), 4.0);
        Play(run, *clock, QStringLiteral("S E0@0 E1@3000 A S"));
        QCOMPARE(At(run, 1), 0.0); // a new start clears the splits, not the bests
        QCOMPARE(At(run, 1, true), 3.0);
        run.LoadSequence(path);
        QCOMPARE(At(run, 1, true), 0.0);
    }

    void liveTimeBetweenStatusReports()
    {
        SequenceRun run;
        run.LoadSequence(Saved({0, 1, 3}, 0.0));
        Play(run, *clock, QStringLiteral("S +700"));
        QCOMPARE(run.TotalTime(), 0.0); // nothing runs before the start gate
        Play(run, *clock, QStringLiteral("E0@1000 +100"));
        QVERIFY(qAbs(At(run, 1) - 0.1) < 1e-6);
        Play(run, *clock, QStringLiteral("+400 T1250")); // set back to the gates' clock
        QCOMPARE(At(run, 1), 0.25);
        Play(run, *clock, QStringLiteral("+30"));
        QVERIFY(qAbs(run.TotalTime() - 0.28) < 1e-6);
        QCOMPARE(run.BuildResultRow().at(1), QStringLiteral("0.280"));
        Play(run, *clock, QStringLiteral("E1@1500 +200"));
        QCOMPARE(At(run, 1), 0.5);
        QVERIFY(qAbs(At(run, 2) - 0.2) < 1e-6);
        QVERIFY(qAbs(run.TotalTime() - 0.7) < 1e-6);
    }
};

QTEST_GUILESS_MAIN(SequenceRunTest)
#include "test_sequence_run.moc"
