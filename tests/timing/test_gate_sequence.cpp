// Gate sequence files as saved, hand-written and listed; the run engine over scripted gate events
// with the gates' own 16-bit millisecond clock, including the hold-off against double triggers and
// the operator's text about the breaks it refused.
#include "platform/FakeClock.h"
#include "support/PipeRescue.h"
#include "support/TestFiles.h"
#include "timing/FileNameCheck.h"
#include "timing/RejectedBreaksText.h"
#include "timing/SequenceListing.h"
#include "timing/SequenceRun.h"

#include <QtTest>

#include <sys/stat.h>

#include <tuple>

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

class GateSequenceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    platform::FakeClock clock;

    QString Saved(const QList<int>& gates, int holdOff = GateSequence::DefaultHoldOffMs)
    {
        const QString path = dir.filePath("Run.run");
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

    // "name distance hold-off: gates", e.g. "Run 20 300: 0 2 1 3".
    static QString Describe(const GateSequence& sequence)
    {
        QString text = sequence.Name() + ' ' + QString::number(sequence.TotalDistance()) + ' ' +
                       QString::number(sequence.HoldOffMs()) + ':';
        for (unsigned k = 0; sequence.GateNumberAt(k); ++k)
            text += ' ' + QString::number(*sequence.GateNumberAt(k));
        return text;
    }
    static QByteArray RunFile(const QByteArray& section)
    {
        return "<Configuration>\n<GateSequence>\n" + section + "</GateSequence>\n</Configuration>\n";
    }
    static QByteArray GateSection(int index, int number)
    {
        return QString("<Gate_%1><GateNumber>%2</GateNumber></Gate_%1>\n").arg(index).arg(number).toLatin1();
    }
    // `gates` gates numbered 0 1 2 3 0 1 ...
    static QByteArray NamedRunFile(const QString& name, int gates)
    {
        QByteArray section = "<SequenceName>" + name.toLatin1() + "</SequenceName>\n<NumGates>" +
                             QByteArray::number(gates) + "</NumGates>\n";
        for (int k = 0; k < gates; ++k)
            section += GateSection(k, k % 4);
        return RunFile(section);
    }
    static QByteArray HoldOffFile(const QByteArray& value)
    {
        return RunFile("<SequenceName>Hand</SequenceName><NumGates>1</NumGates>" + GateSection(0, 2) +
                       "<HoldOffMs>" + value + "</HoldOffMs>");
    }
    // A small valid file grown by a comment to exactly `size` bytes.
    static QByteArray PaddedRunFile(qsizetype size)
    {
        const QByteArray file = NamedRunFile("Padded", 2);
        const QByteArray open = "<!--", close = "-->";
        return file + open + QByteArray(size - file.size() - open.size() - close.size(), 'x') + close;
    }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path())); }

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
    void savedFileByteForByte()
    {
        QByteArray gates;
        for (const auto& [k, number] : {std::pair{0, 0}, {1, 2}, {2, 1}, {3, 3}})
            gates +=
                QString("        <Gate_%1>\n            <GateNumber>%2</GateNumber>\n        </Gate_%1>\n")
                    .arg(k)
                    .arg(number)
                    .toLatin1();
        const QString path = dir.filePath("golden.run");
        GateSequence sequence = MakeSequence("Run", {0, 2, 1, 3}, 20.0);
        // The hold-off follows the gate sections, where readers that look values up by name miss it.
        sequence.SetHoldOffMs(1234);
        QVERIFY(sequence.Save(path));
        QCOMPARE(ReadAll(path),
                 "<?xml version=\"1.0\" ?>\n<Configuration>\n    <GateSequence>\n"
                 "        <SequenceName>Run</SequenceName>\n"
                 "        <TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n"
                 "        <!-- TotalDistance value: 20 -->\n"
                 "        <NumGates>4</NumGates>\n" +
                     gates + "        <HoldOffMs>1234</HoldOffMs>\n    </GateSequence>\n</Configuration>\n");
        GateSequence loaded;
        QVERIFY(loaded.Load(path));
        QCOMPARE(Describe(loaded), "Run 20 1234: 0 2 1 3");
    }

    // Each load starts from "Before 7 1000: 3 3": the gates are always replaced, name, distance and
    // hold-off only when the file has them (a missing hold-off is the default 300); a refused file
    // changes nothing else.
    void handWrittenFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("result");
        const QString refused = "Before 7 1000:";
        QTest::newRow("malformed") << QByteArray("<Configuration><GateSequence>") << false << refused;
        QTest::newRow("no section") << QByteArray("<Configuration/>") << true << refused;
        QTest::newRow("no NumGates")
            << RunFile("<SequenceName>X</SequenceName>\n"
                       "<TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n" +
                       GateSection(0, 1))
            << true << "X 20 300:";
        QTest::newRow("gate without number")
            << RunFile("<NumGates>3</NumGates>\n" + GateSection(0, 1) + "<Gate_1/>\n" + GateSection(2, 3))
            << true << "Before 7 300: 1 3";
        QTest::newRow("out of order, missing, beyond the count")
            << RunFile("<NumGates>3</NumGates>\n" + GateSection(3, 0) + GateSection(2, 3) + GateSection(0, 1))
            << true << "Before 7 300: 1 3";
        // Gate_10 is read by its full name and follows Gate_1.
        QTest::newRow("Gate_10") << RunFile("<NumGates>11</NumGates>\n" + GateSection(10, 2) +
                                            GateSection(1, 3))
                                 << true << "Before 7 300: 3 2";
        QTest::newRow("other root, latin-1 name")
            << QByteArray("<R><GateSequence><SequenceName>Gel\xe4nde</SequenceName><NumGates>1</NumGates>" +
                          GateSection(0, 2) + "</GateSequence></R>")
            << true << "Gel\u00e4nde 7 300: 2";
        // Bounds that keep a runaway sequence from freezing the program.
        const QString gates100 = QString(" 0 1 2 3").repeated(25);
        QTest::newRow("100 gates") << NamedRunFile("N", 100) << true << "N 7 300:" + gates100;
        QTest::newRow("101 gates") << NamedRunFile("N", 101) << false << refused;
        QTest::newRow("name of 200") << NamedRunFile(QString(200, 'n'), 1) << true
                                     << QString(200, 'n') + " 7 300: 0";
        QTest::newRow("name of 201") << NamedRunFile(QString(201, 'n'), 1) << false << refused;
        QTest::newRow("exactly 1 MiB") << PaddedRunFile(1 << 20) << true << "Padded 7 300: 0 1";
        QTest::newRow("one byte over 1 MiB") << PaddedRunFile((1 << 20) + 1) << false << refused;
        QTest::newRow("hold-off 0") << HoldOffFile("0") << true << "Hand 7 0: 2";
        QTest::newRow("hold-off 5000") << HoldOffFile("5000") << true << "Hand 7 5000: 2";
        QTest::newRow("hold-off 5001") << HoldOffFile("5001") << false << refused;
        QTest::newRow("hold-off -1") << HoldOffFile("-1") << false << refused;
        QTest::newRow("hold-off not a number") << HoldOffFile("fast") << false << refused;
    }
    void handWrittenFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(QString, result);
        const QString path = dir.filePath("hand.run");
        QVERIFY(WriteAll(path, content));
        GateSequence sequence = MakeSequence("Before", {3, 3}, 7.0);
        sequence.SetHoldOffMs(1000);
        QCOMPARE(sequence.Load(path), loads);
        QCOMPARE(Describe(sequence), result);
    }

    // Save holds the bounds that load does, and says why it refuses.
    void saveLimits()
    {
        const std::tuple<int, int, int, bool> cases[] = {
            {100, 5, 300, true}, {101, 5, 300, false}, {3, 200, 300, true}, {3, 201, 300, false},
            {2, 5, 0, true},     {2, 5, 5000, true},   {2, 5, 5001, false}, {2, 5, -1, false}};
        const QString path = dir.filePath("limits.run");
        for (const auto& [gates, nameLength, holdOff, accepted] : cases) {
            QFile::remove(path);
            GateSequence sequence = MakeSequence(QString(nameLength, 'n'), QList<int>(gates, 2), 5.0);
            sequence.SetHoldOffMs(holdOff);
            QString error;
            QCOMPARE(sequence.Save(path, &error), accepted);
            QCOMPARE(QFile::exists(path), accepted);
            QCOMPARE(error.isEmpty(), accepted);
        }
    }

    // Lists names in file name order ignoring case, hidden files included, unreadable files left out;
    // a named pipe or folder called *.run is passed over without waiting on it.
    void listing()
    {
        QTemporaryDir runs;
        QVERIFY(MakeSequence("b", {0}, 1).Save(runs.filePath("b.run")));
        QVERIFY(MakeSequence("Zed", {0}, 1).Save(runs.filePath("A.run")));
        QVERIFY(
            MakeSequence("Cy", {0}, 1).Save(runs.filePath("C.run"))); // byte order would put "C" before "b"
        QVERIFY(MakeSequence(".warmup", {0}, 1).Save(runs.filePath(".warmup.run")));
        QVERIFY(WriteAll(runs.filePath("broken.run"), "<Configuration>"));
        QVERIFY(WriteAll(runs.filePath("long.run"), NamedRunFile("Long", 101)));
        QVERIFY(QDir(runs.path()).mkdir("folder.run"));
        const QString pipe = runs.filePath("pipe.run");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        PipeRescue rescue(pipe, std::chrono::seconds(2));
        QStringList names;
        for (const ListedSequence& listed : ListSequences(runs.path()))
            names << listed.name;
        QVERIFY(!rescue.Stop());
        QCOMPARE(names, QStringList({".warmup", "Zed", "b", "Cy"}));
    }

    // Names the operator types for a sequence or an exported list: only what cannot be one file's name
    // in a folder is refused.
    void fileNameRule()
    {
        for (const char* name : {"Run", " 30 m ", ".warmup", "...", "a\\b", "*?<>|:", "Zo\u00eb \u200b"})
            QVERIFY2(fileNameProblem(QString::fromUtf8(name)).isEmpty(), name);
        for (const char* name : {"", ".", "..", "a/b", "/", "a\tb", "a\nb", "a\rb", "\x7f", "a\u0085b"})
            QVERIFY2(!fileNameProblem(QString::fromUtf8(name)).isEmpty(), name);
    }
};

QTEST_GUILESS_MAIN(GateSequenceTest)
#include "test_gate_sequence.moc"
