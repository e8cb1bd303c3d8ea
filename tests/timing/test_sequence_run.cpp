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

QStringList Row(std::initializer_list<const char*> fields)
{
    QStringList row;
    for (const char* field : fields)
        row << QString::fromUtf8(field);
    return row;
}

} // namespace

class SequenceRunTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dataHome;
    QTemporaryDir runs;
    platform::FakeClock* clock = nullptr;

    QString SavedSequence(std::initializer_list<int> gates, double distance,
                          const QString& name = QStringLiteral("Run"))
    {
        GateSequence sequence;
        sequence.SetName(name);
        sequence.SetTotalDistance(distance);
        for (int gate : gates)
            sequence.InsertGate(static_cast<unsigned>(sequence.GateCount()), gate);
        const QString path = runs.filePath(name + QStringLiteral(".run"));
        if (!sequence.Save(path))
            qFatal("cannot save the test sequence");
        return path;
    }

    static double TimeAt(const SequenceRun& run, unsigned position)
    {
        double time = -1, best = -1;
        run.GetGateTimes(position, time, best);
        return time;
    }
    static double BestAt(const SequenceRun& run, unsigned position)
    {
        double time = -1, best = -1;
        run.GetGateTimes(position, time, best);
        return best;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dataHome.isValid() && runs.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
        previousHandler = qInstallMessageHandler(Capture);
    }
    void init()
    {
        captured.clear();
        clock = new platform::FakeClock;
    }
    void cleanup() { delete clock; }

    void threeGateRun()
    {
        SequenceRun run;
        RecordingOwner owner(run);
        run.LoadSequence(SavedSequence({0, 1, 2}, 32.0));
        run.SetSubjectName(QStringLiteral("Ann"));
        run.StartRun();
        run.Tick(400); // waiting for the start gate: ignored
        run.GateEvent(0, 1000, true);
        QCOMPARE(run.CurrentGateIndex(), 1);
        run.Tick(1500);
        run.Tick(2500);
        run.GateEvent(1, 3200, true);
        run.GateEvent(2, 4200, true);

        QVERIFY(!run.IsRunning());
        QCOMPARE(run.CurrentGateIndex(), -1);
        QCOMPARE(TimeAt(run, 0), 0.0);
        QCOMPARE(TimeAt(run, 1), 2.2);
        QCOMPARE(TimeAt(run, 2), 1.0);
        const QStringList expected = Row({"Ann", "3.200", "2.200", "1.000", "32.000", "10.000"});
        QCOMPARE(owner.rows, QList<QStringList>{expected});
        QCOMPARE(run.BuildResultRow(), expected);

        QFile report(run.ReportFileName());
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.readAll(),
                 QByteArray("Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n"
                            "Ann,3.200,2.200,1.000,32.000,10.000\n"));

        const QStringList trace{QStringLiteral("SR gateevent 2"),
                                QStringLiteral("SR gate passed"),
                                QStringLiteral("SetGateTime Gate:2  time:1.000000"),
                                QStringLiteral("setting best time"),
                                QStringLiteral("SR finishrun"),
                                QStringLiteral("Adding report entry")};
        const qsizetype start = captured.indexOf(trace.first());
        QVERIFY(start >= 0);
        QCOMPARE(captured.mid(start, trace.size()), trace);
    }

    void clockWrap_data()
    {
        QTest::addColumn<QList<uint>>("statusTimes");
        QTest::addColumn<uint>("finishTime");
        QTest::addColumn<QString>("split");
        QTest::newRow("event after the wrap") << QList<uint>{} << 1000u << QStringLiteral("1.536");
        QTest::newRow("status report after the wrap")
            << QList<uint>{65500, 200} << 1000u << QStringLiteral("1.536");
        QTest::newRow("status report at the wrap") << QList<uint>{0} << 1000u << QStringLiteral("1.536");
        QTest::newRow("late older status") << QList<uint>{64000} << 65100u << QStringLiteral("65.636");
    }
    void clockWrap()
    {
        QFETCH(QList<uint>, statusTimes);
        QFETCH(uint, finishTime);
        QFETCH(QString, split);
        SequenceRun run;
        run.LoadSequence(SavedSequence({0, 1}, 0.0));
        run.StartRun();
        run.GateEvent(0, 65000, true);
        for (uint time : statusTimes)
            run.Tick(time);
        run.GateEvent(1, finishTime, true);
        QCOMPARE(run.BuildResultRow().at(2), split);
    }

    void onlyTheAwaitedGateCounts()
    {
        SequenceRun run;
        RecordingOwner owner(run);
        run.LoadSequence(SavedSequence({0, 1, 2}, 0.0));
        run.GateEvent(0, 100, true); // not running
        QCOMPARE(run.CurrentGateIndex(), -1);
        run.StartRun();
        run.GateEvent(1, 200, true); // start gate awaited
        QCOMPARE(run.CurrentGateIndex(), 0);
        run.GateEvent(0, 1000, true);
        run.GateEvent(0, 1050, true); // repeated trigger of the start gate
        run.GateEvent(2, 1500, true); // gate 1 awaited
        QCOMPARE(run.CurrentGateIndex(), 1);
        run.GateEvent(1, 2000, true);
        QCOMPARE(TimeAt(run, 1), 1.0);
        QVERIFY(owner.rows.isEmpty());
    }

    void startAndFinishAtOneGate()
    {
        SequenceRun run;
        RecordingOwner owner(run);
        run.LoadSequence(SavedSequence({0, 0}, 10.0));
        run.StartRun();
        run.GateEvent(0, 1000, true);
        QVERIFY(run.IsRunning());
        run.GateEvent(0, 3500, true);
        QVERIFY(!run.IsRunning());
        QCOMPARE(owner.rows, QList<QStringList>{Row({"", "2.500", "2.500", "10.000", "4.000"})});
    }

    void singleGateFinishesAtTheStart()
    {
        SequenceRun run;
        RecordingOwner owner(run);
        run.LoadSequence(SavedSequence({2}, 5.0, QStringLiteral("One")));
        run.SetSubjectName(QStringLiteral("Bo"));
        run.StartRun();
        run.GateEvent(2, 1000, true);
        QCOMPARE(owner.rows, QList<QStringList>{Row({"Bo", "0.000", "5.000", "0.000"})});
        QFile report(run.ReportFileName());
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.readAll(),
                 QByteArray("Subject_Name,Total_Time,Distance,Speed\nBo,0.000,5.000,0.000\n"));
    }

    void bestTimesAcrossRuns()
    {
        SequenceRun run;
        const QString path = SavedSequence({0, 1}, 0.0);
        run.LoadSequence(path);
        const uint splits[] = {5000, 4000, 4500, 4000};
        for (uint split : splits) {
            run.StartRun();
            run.GateEvent(0, 1000, true);
            captured.clear();
            run.GateEvent(1, 1000 + split, true);
        }
        QCOMPARE(TimeAt(run, 1), 4.0);
        QCOMPARE(BestAt(run, 1), 4.0);
        QVERIFY(!captured.contains(QStringLiteral("setting best time"))); // a tie keeps the old best
        QCOMPARE(BestAt(run, 0), 0.0);

        run.LoadSequence(path);
        QCOMPARE(BestAt(run, 1), 0.0);
        QCOMPARE(TimeAt(run, 1), 0.0);
    }

    void abortKeepsTheSplitsSoFar()
    {
        SequenceRun run;
        RecordingOwner owner(run);
        run.LoadSequence(SavedSequence({0, 1, 2}, 0.0, QStringLiteral("Aborted")));
        run.StartRun();
        run.GateEvent(0, 1000, true);
        run.GateEvent(1, 3000, true);
        clock->advance(300);
        run.Abort();
        QVERIFY(!run.IsRunning());
        QCOMPARE(run.CurrentGateIndex(), -1);
        clock->advance(5000);
        QCOMPARE(TimeAt(run, 1), 2.0);
        QCOMPARE(TimeAt(run, 2), 0.0);
        QCOMPARE(BestAt(run, 1), 2.0);
        QCOMPARE(run.TotalTime(), 2.0);
        QCOMPARE(run.BuildResultRow().at(1), QStringLiteral("2.000"));
        QVERIFY(owner.rows.isEmpty());
        QVERIFY(run.ReportFileName().isEmpty());

        run.StartRun(); // splits cleared, best kept
        QCOMPARE(TimeAt(run, 1), 0.0);
        QCOMPARE(BestAt(run, 1), 2.0);
    }

    void liveTimeBetweenStatusReports()
    {
        SequenceRun run;
        run.LoadSequence(SavedSequence({0, 1, 3}, 0.0));
        run.StartRun();
        clock->advance(700); // waiting for the start gate: no time passes
        QCOMPARE(run.TotalTime(), 0.0);
        run.GateEvent(0, 1000, true);
        clock->advance(100);
        QVERIFY(qAbs(TimeAt(run, 1) - 0.1) < 1e-6);
        clock->advance(400); // the PC runs ahead of the gates...
        run.Tick(1250);      // ...and is set back to their clock at the report
        QCOMPARE(TimeAt(run, 1), 0.25);
        clock->advance(30);
        QVERIFY(qAbs(run.TotalTime() - 0.28) < 1e-6);
        QCOMPARE(run.BuildResultRow(), Row({"", "0.280", "0.000", "0.000", "0.000", "0.000"}));
        run.GateEvent(1, 1500, true);
        QCOMPARE(TimeAt(run, 1), 0.5);
        clock->advance(200);
        QVERIFY(qAbs(TimeAt(run, 2) - 0.2) < 1e-6);
        QVERIFY(qAbs(run.TotalTime() - 0.7) < 1e-6);
    }

    void rowBeforeAnyRunAndDuringOne()
    {
        SequenceRun run;
        run.LoadSequence(SavedSequence({0, 1, 2, 3}, 40.0));
        run.SetSubjectName(QStringLiteral("Cy"));
        QCOMPARE(run.BuildResultRow(), Row({"Cy", "0.000", "0.000", "0.000", "0.000", "40.000", "0.000"}));
        run.StartRun();
        run.GateEvent(0, 0, true);
        run.GateEvent(1, 2000, true);
        run.SetSubjectName(QStringLiteral("Di")); // edited during the run
        run.Tick(3000);
        // The speed relates the whole distance to the segments passed so far.
        QCOMPARE(run.BuildResultRow(), Row({"Di", "3.000", "2.000", "0.000", "0.000", "40.000", "20.000"}));
    }

    void failedLoadLeavesAnEmptySequence()
    {
        SequenceRun run;
        run.LoadSequence(runs.filePath(QStringLiteral("absent.run")));
        QCOMPARE(run.Sequence().Name(), QStringLiteral("Run"));
        QCOMPARE(run.GateCount(), 0);
        QCOMPARE(run.BuildResultRow(), Row({"", "0.000", "0.000", "0.000"}));
        run.StartRun();
        run.GateEvent(0, 1000, true); // no awaited position: ignored
        QVERIFY(run.IsRunning());
        double time = 7, best = 7;
        QVERIFY(!run.GetGateTimes(0, time, best));
        QCOMPARE(time, 7.0);
    }
};

QTEST_GUILESS_MAIN(SequenceRunTest)
#include "test_sequence_run.moc"
