// The hold-off against double triggers: the engine over scripted gate events with device times, the
// ".run" value that carries it, and the operator's text about refused breaks.
#include "support/TestFiles.h"
#include "platform/FakeClock.h"
#include "timing/RejectedBreaksText.h"
#include "timing/SequenceRun.h"

#include <QTemporaryDir>
#include <QtTest>

class HoldOffTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dataHome;
    platform::FakeClock clock;

    // Steps separated by blanks: "S" start, "E<gate>@<time>" gate event, "+<ms>" the PC's counter moves on.
    void Play(SequenceRun& run, const QString& script)
    {
        for (const QString& step : script.split(' ', Qt::SkipEmptyParts)) {
            const QStringList args = step.mid(1).split('@');
            if (step[0] == 'S')
                run.StartRun();
            else if (step[0] == 'E')
                run.GateEvent(args[0].toInt(), args[1].toUInt(), true);
            else
                clock.advance(args[0].toUInt());
        }
    }
    // "gate:count" pairs, e.g. "0:1 2:3".
    static QString Describe(const std::map<int, int>& counts)
    {
        QStringList pairs;
        for (const auto& [gate, count] : counts)
            pairs << QStringLiteral("%1:%2").arg(gate).arg(count);
        return pairs.join(' ');
    }
    static QString HandWritten(const QString& path, const QByteArray& holdOffElement)
    {
        const QByteArray file = "<Configuration><GateSequence><SequenceName>Hand</SequenceName>"
                                "<NumGates>1</NumGates><Gate_0><GateNumber>2</GateNumber></Gate_0>" +
                                holdOffElement + "</GateSequence></Configuration>";
        return WriteAll(path, file) ? path : QString();
    }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path())); }

    void scriptedRuns_data()
    {
        QTest::addColumn<QList<int>>("gates");
        QTest::addColumn<int>("holdOff");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("row"); // fields after the subject name, over 20 m
        QTest::addColumn<QString>("rejected");
        const QList<int> lap{0, 0, 0}, oneGate{0, 0}, two{0, 1}, thereAndBack{0, 1, 1};
        QTest::newRow("lap: bounce ignored, counted") << lap << 300 << "S E0@1000 E0@1150 E0@9000 E0@17000"
                                                      << "16.000,8.000,8.000,20.000,1.250"
                                                      << "0:1";
        QTest::newRow("lap: hold-off 0 as before") << lap << 0 << "S E0@1000 E0@1150 E0@9000 E0@17000"
                                                   << "8.000,0.150,7.850,20.000,2.500"
                                                   << "";
        QTest::newRow("other gate 100 ms later") << two << 300 << "S E0@1000 E1@1100"
                                                 << "0.100,0.100,20.000,200.000"
                                                 << "";
        QTest::newRow("back through it at the hold-off") << thereAndBack << 300 << "S E0@1000 E1@3000 E1@3300"
                                                         << "2.300,2.000,0.300,20.000,8.696"
                                                         << "";
        QTest::newRow("back through it 1 ms too soon")
            << thereAndBack << 300 << "S E0@1000 E1@3000 E1@3299 E1@5000"
            << "4.000,2.000,2.000,20.000,5.000"
            << "1:1";
        QTest::newRow("start gate twice, next gate other") << two << 300 << "S E0@1000 E0@1100 E1@3000"
                                                           << "2.000,2.000,20.000,10.000"
                                                           << "";
        QTest::newRow("start gate twice, next gate same") << oneGate << 300 << "S E0@1000 E0@1100 E0@3000"
                                                          << "2.000,2.000,20.000,10.000"
                                                          << "0:1";
        // 65400 to 100 is 236 ms on the 16-bit clock; the finish at 2000 is 2136 ms after the start.
        QTest::newRow("across the clock wrap") << oneGate << 300 << "S E0@65400 +236 E0@100 +1900 E0@2000"
                                               << "2.136,2.136,20.000,9.363"
                                               << "0:1";
        // 65600 ms later the clock reads only 64 ms on: a whole turn, not a bounce.
        QTest::newRow("a lap longer than a clock turn") << oneGate << 5000 << "S E0@1000 +65600 E0@1064"
                                                        << "65.600,65.600,20.000,0.305"
                                                        << "";
        QTest::newRow("reset at the next run")
            << oneGate << 300 << "S E0@1000 E0@1100 E0@5000 S E0@5100 E0@9100"
            << "4.000,4.000,20.000,5.000"
            << "";
        QTest::newRow("bounces at two gates")
            << QList<int>{0, 1, 1, 0} << 300 << "S E0@1000 E1@2000 E1@2050 E1@2100 E1@4000 E0@6000 E0@6010"
            << "5.000,1.000,2.000,2.000,20.000,4.000"
            << "1:2";
    }
    void scriptedRuns()
    {
        QFETCH(QList<int>, gates);
        QFETCH(int, holdOff);
        QFETCH(QString, script);
        QFETCH(QString, row);
        QFETCH(QString, rejected);
        GateSequence sequence = MakeSequence("Run", gates, 20.0);
        sequence.SetHoldOffMs(holdOff);
        const QString path = dataHome.filePath("Run.run");
        QVERIFY(sequence.Save(path));
        SequenceRun run;
        run.LoadSequence(path);
        QCOMPARE(run.HoldOffMs(), holdOff);
        run.SetSubjectName("Ann");
        Play(run, script);
        QVERIFY(!run.IsRunning());
        QCOMPARE(run.BuildResultRow(), ("Ann," + row).split(','));
        QCOMPARE(Describe(run.RejectedBreaks()), rejected);
    }

    void runFileValue_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<int>("holdOff"); // the loaded record's, which starts at 1000
        QTest::newRow("missing") << QByteArray() << true << 300;
        QTest::newRow("0") << QByteArray("<HoldOffMs>0</HoldOffMs>") << true << 0;
        QTest::newRow("5000") << QByteArray("<HoldOffMs>5000</HoldOffMs>") << true << 5000;
        QTest::newRow("5001") << QByteArray("<HoldOffMs>5001</HoldOffMs>") << false << 1000;
        QTest::newRow("negative") << QByteArray("<HoldOffMs>-1</HoldOffMs>") << false << 1000;
        QTest::newRow("not a number") << QByteArray("<HoldOffMs>fast</HoldOffMs>") << false << 1000;
        QTest::newRow("empty") << QByteArray("<HoldOffMs/>") << false << 1000;
    }
    void runFileValue()
    {
        QFETCH(QByteArray, element);
        QFETCH(bool, loads);
        QFETCH(int, holdOff);
        GateSequence sequence = MakeSequence("Before", {3, 3}, 7.0);
        sequence.SetHoldOffMs(1000);
        QCOMPARE(sequence.Load(HandWritten(dataHome.filePath("hand.run"), element)), loads);
        QCOMPARE(sequence.HoldOffMs(), holdOff);
        // A refused file leaves the record as a failed load does: no gates, the name kept.
        QCOMPARE(sequence.Name(), loads ? "Hand" : "Before");
        QCOMPARE(sequence.GateCount(), loads ? 1 : 0);
    }

    void savedValue_data()
    {
        QTest::addColumn<int>("holdOff");
        QTest::addColumn<bool>("saves");
        QTest::newRow("0") << 0 << true;
        QTest::newRow("1234") << 1234 << true;
        QTest::newRow("5000") << 5000 << true;
        QTest::newRow("5001") << 5001 << false;
        QTest::newRow("-1") << -1 << false;
    }
    void savedValue()
    {
        QFETCH(int, holdOff);
        QFETCH(bool, saves);
        const QString path = dataHome.filePath("saved.run");
        QFile::remove(path);
        GateSequence sequence = MakeSequence("Saved", {0, 1}, 20.0);
        sequence.SetHoldOffMs(holdOff);
        QString error;
        QCOMPARE(sequence.Save(path, &error), saves);
        QCOMPARE(QFile::exists(path), saves);
        QCOMPARE(error.isEmpty(), saves);
        if (!saves)
            return;
        GateSequence loaded;
        QVERIFY(loaded.Load(path));
        QCOMPARE(loaded.HoldOffMs(), holdOff);
        // After the gate sections, where readers that look values up by name do not meet it.
        const QByteArray file = ReadAll(path);
        QVERIFY(file.indexOf("</Gate_1>") < file.indexOf("<HoldOffMs>" + QByteArray::number(holdOff)));
    }

    void operatorText_data()
    {
        QTest::addColumn<QList<int>>("gateCounts"); // pairs: gate number, count
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QList<int>{} << "";
        QTest::newRow("one") << QList<int>{2, 1} << "1 extra break at Gate 3 ignored";
        QTest::newRow("two") << QList<int>{2, 2} << "2 extra breaks at Gate 3 ignored";
        QTest::newRow("two gates") << QList<int>{3, 4, 0, 1}
                                   << "1 extra break at Gate 1 ignored; 4 extra breaks at Gate 4 ignored";
    }
    void operatorText()
    {
        QFETCH(QList<int>, gateCounts);
        QFETCH(QString, text);
        std::map<int, int> counts;
        for (int k = 0; k + 1 < gateCounts.size(); k += 2)
            counts[gateCounts[k]] = gateCounts[k + 1];
        QCOMPARE(RejectedBreaksText(counts), text);
    }
};

QTEST_GUILESS_MAIN(HoldOffTest)
#include "test_hold_off.moc"
