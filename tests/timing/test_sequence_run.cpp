// The run engine over scripted gate events with the gates' own 16-bit millisecond clock, including
// the hold-off against double triggers and the operator's text about the breaks it refused.
#include "platform/FakeClock.h"
#include "support/TestFiles.h"
#include "timing/RejectedBreaksText.h"
#include "timing/SequenceRun.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Case
{
    const char* name;
    QList<int> gates; // over 20 m
    int holdOff;
    const char* script;
    const char* row; // fields after the subject name
    bool finished;
    const char* rejected = "";
};

const QList<int> three{0, 1, 2}, two{0, 1}, oneGate{0, 0}, lap{0, 0, 0}, thereAndBack{0, 1, 1},
    twice{0, 1, 1, 0};

// Steps separated by blanks: "S" start, "A" abort, "E<gate>@<time>" gate event, "T<time>" status
// report, "+<ms>" the PC's counter moves on.
const Case cases[] = {
    {"three gates", three, 300, "S T400 E0@1000 T1500 T2500 E1@3200 E2@4200",
     "3.200,2.200,1.000,20.000,6.250", true},
    {"wrap at the event", two, 300, "S E0@65000 E1@1000", "1.536,1.536,20.000,13.021", true},
    {"other gates and repeats ignored", three, 300, "E0@100 S E1@200 E0@1000 E0@1050 E2@1500 E1@2000",
     "1.000,1.000,0.000,20.000,0.000", false},
    {"aborted", three, 300, "S E0@1000 E1@3000 +300 A +5000", "2.000,2.000,0.000,20.000,10.000", false},
    {"empty sequence", {}, 300, "S E0@1000", "0.000,20.000,0.000", false},
    // While running, the total moves on with the PC's counter; a status report sets it back to the
    // gates' own clock, and an unfinished run has no speed.
    {"live after a status", three, 300, "S E0@1000 +500 T1250 +30", "0.280,0.000,0.000,20.000,0.000", false},
    {"no speed while running", three, 300, "S E0@1000 +2200 E1@3200", "2.200,2.200,0.000,20.000,0.000",
     false},
    // Sentences can arrive out of clock order: a status later than the event that follows it must
    // neither add a wrap of the clock to the split nor move the live time back.
    {"late event", two, 300, "S E0@1000 +500 T1500 +1710 T3210 E1@3200", "2.200,2.200,20.000,9.091", true},
    {"late status", three, 300, "S E0@1000 +500 T1500 +1710 T3210 +10 T3200",
     "2.220,0.000,0.000,20.000,0.000", false},
    // Longer than one turn of the gates' clock; the PC's counter only picks the number of turns.
    {"silent 70 s", two, 300, "S E0@1000 +70000 E1@5464", "70.000,70.000,20.000,0.286", true},
    {"91 s in clock order", two, 300, "S E0@0 +30000 T30000 +30000 T60000 +30000 T24464 +1000 E1@25464",
     "91.000,91.000,20.000,0.220", true},
    {"PC behind by 36 ms", two, 300, "S E0@1000 +70000 E1@5500", "70.036,70.036,20.000,0.286", true},
    // Hold-off: only the expected gate's own repeats within it are refused and counted.
    {"lap: bounce refused", lap, 300, "S E0@1000 E0@1150 E0@9000 E0@17000", "16.000,8.000,8.000,20.000,1.250",
     true, "1 extra break at Gate 1 ignored"},
    {"lap: hold-off 0", lap, 0, "S E0@1000 E0@1150 E0@9000 E0@17000", "8.000,0.150,7.850,20.000,2.500", true},
    {"other gate 100 ms later", two, 300, "S E0@1000 E1@1100", "0.100,0.100,20.000,200.000", true},
    {"back through at the hold-off", thereAndBack, 300, "S E0@1000 E1@3000 E1@3300",
     "2.300,2.000,0.300,20.000,8.696", true},
    {"back through 1 ms too soon", thereAndBack, 300, "S E0@1000 E1@3000 E1@3299 E1@5000",
     "4.000,2.000,2.000,20.000,5.000", true, "1 extra break at Gate 2 ignored"},
    {"hold-off across the clock wrap", oneGate, 300, "S E0@65400 +236 E0@100 +1900 E0@2000",
     "2.136,2.136,20.000,9.363", true, "1 extra break at Gate 1 ignored"},
    // 65600 ms later the clock reads only 64 ms on: a whole turn, not a bounce.
    {"a lap longer than a clock turn", oneGate, 5000, "S E0@1000 +65600 E0@1064",
     "65.600,65.600,20.000,0.305", true},
    {"count reset at the next run", oneGate, 300, "S E0@1000 E0@1100 E0@5000 S E0@5100 E0@9100",
     "4.000,4.000,20.000,5.000", true},
    {"bounces at two gates", twice, 300, "S E0@1000 E1@2000 E1@2050 E1@2100 E1@4000 E0@6000 E0@6010",
     "5.000,1.000,2.000,2.000,20.000,4.000", true, "2 extra breaks at Gate 2 ignored"},
};

} // namespace

class SequenceRunTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dataHome;
    platform::FakeClock clock;

    QString Saved(const QList<int>& gates, int holdOff = GateSequence::DefaultHoldOffMs)
    {
        const QString path = dataHome.filePath("Run.run");
        GateSequence sequence = MakeSequence("Run", gates, 20.0);
        sequence.SetHoldOffMs(holdOff);
        return sequence.Save(path) ? path : QString();
    }
    static double BestSplit(const SequenceRun& run)
    {
        double time = 0, best = -1;
        run.GetGateTimes(1, time, best);
        return best;
    }
    void Play(SequenceRun& run, const QString& script)
    {
        for (const QString& step : script.split(' ', Qt::SkipEmptyParts)) {
            const QStringList args = step.mid(1).split('@');
            if (step[0] == 'S')
                run.StartRun();
            else if (step[0] == 'A')
                run.Abort();
            else if (step[0] == 'E')
                run.GateEvent(args[0].toInt(), args[1].toUInt(), true);
            else if (step[0] == 'T')
                run.Tick(args[0].toUInt());
            else
                clock.advance(args[0].toUInt());
        }
    }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path())); }

    void scriptedRuns_data()
    {
        QTest::addColumn<int>("index");
        for (int k = 0; k < int(std::size(cases)); ++k)
            QTest::newRow(cases[k].name) << k;
    }
    void scriptedRuns()
    {
        QFETCH(int, index);
        const Case& c = cases[index];
        const QString row = c.row;
        SequenceRun run;
        run.LoadSequence(Saved(c.gates, c.holdOff));
        QCOMPARE(run.HoldOffMs(), c.holdOff);
        run.SetSubjectName("Ann");
        Play(run, c.script);
        QCOMPARE(run.BuildResultRow(), ("Ann," + row).split(','));
        QCOMPARE(QString::number(run.TotalTime(), 'f', 3), row.section(',', 0, 0));
        QCOMPARE(run.ReportFileName().isEmpty(), !c.finished); // only a finished run is reported
        if (c.finished && c.gates.size() > 1)
            QCOMPARE(QString::number(BestSplit(run), 'f', 3), row.section(',', 1, 1));
        QCOMPARE(RejectedBreaksText(run.RejectedBreaks()), QString(c.rejected));
    }

    void bestTimesAcrossRunsAndReload()
    {
        SequenceRun run;
        run.LoadSequence(Saved({0, 1}));
        Play(run, "S E0@0 E1@5000 S E0@0 E1@4000 S E0@0 E1@4500");
        QCOMPARE(BestSplit(run), 4.0);
        Play(run, "S E0@0 E1@3000 A S");
        QCOMPARE(run.BuildResultRow().at(2), "0.000"); // a new start clears the splits, not the bests
        QCOMPARE(BestSplit(run), 3.0);
        run.LoadSequence(Saved({0, 1}));
        QCOMPARE(BestSplit(run), 0.0);
        QCOMPARE(RejectedBreaksText({{3, 4}, {0, 1}}),
                 "1 extra break at Gate 1 ignored; 4 extra breaks at Gate 4 ignored");
    }
};

QTEST_GUILESS_MAIN(SequenceRunTest)
#include "test_sequence_run.moc"
