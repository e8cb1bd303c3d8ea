#include "platform/FakeClock.h"
#include "support/TestFiles.h"
#include "timing/SequenceRun.h"

#include <QTemporaryDir>
#include <QtTest>

class SequenceRunTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dataHome;
    platform::FakeClock clock;

    QString Saved(const QList<int>& gates) // over 20 m
    {
        const QString path = dataHome.filePath("Run.run");
        return MakeSequence("Run", gates, 20.0).Save(path) ? path : QString();
    }
    static double BestSplit(const SequenceRun& run)
    {
        double time = 0, best = -1;
        run.GetGateTimes(1, time, best);
        return best;
    }

    // Steps separated by blanks: "S" start, "A" abort, "E<gate>@<time>" gate event, "T<time>" status
    // report, "+<ms>" the PC's counter moves on.
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
        QTest::addColumn<QList<int>>("gates");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("row"); // fields after the subject name
        QTest::addColumn<bool>("finished");
        const QList<int> three{0, 1, 2}, two{0, 1};
        QTest::newRow("three gates") << three << "S T400 E0@1000 T1500 T2500 E1@3200 E2@4200"
                                     << "3.200,2.200,1.000,20.000,6.250" << true;
        // The gates' millisecond clock wraps at 65536.
        QTest::newRow("wrap at the event") << two << "S E0@65000 E1@1000"
                                           << "1.536,1.536,20.000,13.021" << true;
        QTest::newRow("wrap at a status") << two << "S E0@65000 T65500 T200 E1@1000"
                                          << "1.536,1.536,20.000,13.021" << true;
        QTest::newRow("other gates and repeats ignored")
            << three << "E0@100 S E1@200 E0@1000 E0@1050 E2@1500 E1@2000"
            << "1.000,1.000,0.000,20.000,0.000" << false;
        QTest::newRow("start and finish at one gate") << QList<int>{0, 0} << "S E0@1000 E0@3500"
                                                      << "2.500,2.500,20.000,8.000" << true;
        QTest::newRow("aborted") << three << "S E0@1000 E1@3000 +300 A +5000"
                                 << "2.000,2.000,0.000,20.000,10.000" << false;
        QTest::newRow("empty sequence") << QList<int>{} << "S E0@1000"
                                        << "0.000,20.000,0.000" << false;
        // While running, the total moves on with the PC's counter; a status report sets it back to the
        // gates' own clock.
        QTest::newRow("live after a status") << three << "S E0@1000 +500 T1250 +30"
                                             << "0.280,0.000,0.000,20.000,0.000" << false;
        // The speed of an unfinished run would relate the whole distance to part of the time.
        QTest::newRow("no speed while running") << three << "S E0@1000 +2200 E1@3200"
                                                << "2.200,2.200,0.000,20.000,0.000" << false;
        // Sentences can arrive out of clock order: a status later than the event that follows it
        // must neither add a wrap of the clock to the split nor move the live time back.
        QTest::newRow("late event") << two << "S E0@1000 +500 T1500 +1710 T3210 E1@3200"
                                    << "2.200,2.200,20.000,9.091" << true;
        QTest::newRow("late status") << three << "S E0@1000 +500 T1500 +1710 T3210 +10 T3200"
                                     << "2.220,0.000,0.000,20.000,0.000" << false;
        // Longer than one turn of the gates' clock, with or without status reports in between.
        QTest::newRow("silent 70 s") << two << "S E0@1000 +70000 E1@5464"
                                     << "70.000,70.000,20.000,0.286" << true;
        QTest::newRow("status after 70 s") << three << "S E0@1000 +70000 T5464"
                                           << "70.000,0.000,0.000,20.000,0.000" << false;
        QTest::newRow("91 s in clock order")
            << two << "S E0@0 +30000 T30000 +30000 T60000 +30000 T24464 +1000 E1@25464"
            << "91.000,91.000,20.000,0.220" << true;
        // The PC's counter only picks the number of turns; the gates' clock gives the milliseconds.
        QTest::newRow("PC drift") << two << "S E0@65000 +1560 E1@1000"
                                  << "1.536,1.536,20.000,13.021" << true;
        QTest::newRow("PC behind by 36 ms") << two << "S E0@1000 +70000 E1@5500"
                                            << "70.036,70.036,20.000,0.286" << true;
    }
    void scriptedRuns()
    {
        QFETCH(QList<int>, gates);
        QFETCH(QString, script);
        QFETCH(QString, row);
        QFETCH(bool, finished);
        SequenceRun run;
        run.LoadSequence(Saved(gates));
        run.SetSubjectName("Ann");
        Play(run, script);
        QCOMPARE(run.BuildResultRow(), ("Ann," + row).split(','));
        QCOMPARE(QString::number(run.TotalTime(), 'f', 3), row.section(',', 0, 0));
        QCOMPARE(run.ReportFileName().isEmpty(), !finished); // only a finished run is reported
        if (finished && gates.size() > 1)
            QCOMPARE(QString::number(BestSplit(run), 'f', 3), row.section(',', 1, 1));
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
    }
};

QTEST_GUILESS_MAIN(SequenceRunTest)
#include "test_sequence_run.moc"
