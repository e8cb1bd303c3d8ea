// Gate sequence files as saved, hand-written and listed; the run engine over scripted gate events
// with the gates' own 16-bit millisecond clock, including the hold-off against double triggers and
// the operator's text about the breaks it refused; the report files the runs are written to.
#include "platform/FakeClock.h"
#include "support/FileSizeLimit.h"
#include "support/PipeRescue.h"
#include "support/TestFiles.h"
#include "timing/FileNameCheck.h"
#include "timing/RejectedBreaksText.h"
#include "timing/ReportFile.h"
#include "timing/ReportFileUi.h"
#include "timing/SequenceListing.h"
#include "timing/SequenceRun.h"

#include <QtTest>

#include <sys/stat.h>

#include <optional>

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

struct RecordingReportUi : ReportFileUi
{
    void ShowReportWarning(const QString& text) override { warnings << text; }
    QStringList warnings;
};

} // namespace

class GateSequenceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QTemporaryDir dataHome;
    QTemporaryDir temp;
    int folders = 0;
    const QByteArray headerLine = "Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n";
    const QStringList header = QString(headerLine).trimmed().split(',');
    static QStringList Row(const QString& subject)
    {
        return {subject, "3.200", "2.200", "1.000", "32.000", "10.000"};
    }
    static QByteArray Line(const QByteArray& field) { return field + ",3.200,2.200,1.000,32.000,10.000\n"; }

    // A data folder of its own for each case; returns its reports folder.
    QString FreshDataFolder()
    {
        const QString data = dataHome.filePath(QString::number(++folders));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        return data + "/Swiftlane/Reports/";
    }
    // A data folder whose reports folder cannot be made: a regular file stands where it would go.
    void BlockedDataFolder()
    {
        const QString blocker = dataHome.filePath("blocker" + QString::number(++folders));
        WriteAll(blocker, "");
        qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
    }
    static QStringList Files(const QString& folder) { return QDir(folder).entryList(QDir::Files); }
    void StartRunSequence(ReportFile& report)
    {
        report.SetBaseName("Swiftlane_Run");
        report.SetHeader(header);
    }
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
    void initTestCase()
    {
        QVERIFY(dataHome.isValid() && temp.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
    }

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
    void handWrittenFiles()
    {
        const QString refused = "Before 7 1000: refused", gates100 = QString(" 0 1 2 3").repeated(25);
        const std::pair<QByteArray, QString> cases[] = {
            {"<Configuration><GateSequence>", refused}, // malformed
            {"<Configuration/>", "Before 7 1000:"},     // no section
            {RunFile("<SequenceName>X</SequenceName>\n"
                     "<TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n" +
                     GateSection(0, 1)),
             "X 20 300:"}, // no NumGates
            {RunFile("<NumGates>3</NumGates>\n" + GateSection(0, 1) + "<Gate_1/>\n" + GateSection(2, 3)),
             "Before 7 300: 1 3"}, // a gate without a number
            {RunFile("<NumGates>3</NumGates>\n" + GateSection(3, 0) + GateSection(2, 3) + GateSection(0, 1)),
             "Before 7 300: 1 3"}, // out of order, one missing, one beyond the count
            // Gate_10 is read by its full name and follows Gate_1.
            {RunFile("<NumGates>11</NumGates>\n" + GateSection(10, 2) + GateSection(1, 3)),
             "Before 7 300: 3 2"},
            {"<R><GateSequence><SequenceName>Gel\xe4nde</SequenceName><NumGates>1</NumGates>" +
                 GateSection(0, 2) + "</GateSequence></R>",
             "Gel\u00e4nde 7 300: 2"}, // another root, a Latin-1 name
            // Bounds that keep a runaway sequence from freezing the program.
            {NamedRunFile("N", 100), "N 7 300:" + gates100},
            {NamedRunFile("N", 101), refused},
            {NamedRunFile(QString(200, 'n'), 1), QString(200, 'n') + " 7 300: 0"},
            {NamedRunFile(QString(201, 'n'), 1), refused},
            {PaddedRunFile(1 << 20), "Padded 7 300: 0 1"},
            {PaddedRunFile((1 << 20) + 1), refused},
            {HoldOffFile("0"), "Hand 7 0: 2"},
            {HoldOffFile("5000"), "Hand 7 5000: 2"},
            {HoldOffFile("5001"), refused},
            {HoldOffFile("-1"), refused},
            {HoldOffFile("fast"), refused}};
        const QString path = dir.filePath("hand.run");
        for (const auto& [content, result] : cases) {
            QVERIFY(WriteAll(path, content));
            GateSequence sequence = MakeSequence("Before", {3, 3}, 7.0);
            sequence.SetHoldOffMs(1000);
            const bool loaded = sequence.Load(path);
            QCOMPARE(Describe(sequence) + (loaded ? "" : " refused"), result);
        }
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

    // The first free number; nothing that stands in the folder is reopened or written over, not even a
    // link to nowhere. The sequence name may hold anything; the file name must still be one the folder
    // can take.
    void numbering()
    {
        const QString runner = QString::fromUtf8("\xf0\x9f\x8f\x83"); // outside the BMP: two UTF-16 units
        // 'f' file, 'l' dangling link, 'd' folder, then the name. 255 bytes at most: "Swiftlane_" and
        // "_1.csv" take 16.
        const std::tuple<QString, QStringList, QString> cases[] = {
            {"Run", {}, "Swiftlane_Run_1.csv"},
            {"Run", {"fSwiftlane_Run_2.csv"}, "Swiftlane_Run_1.csv"},
            {"Run", {"fSwiftlane_Run_1.csv", "fSwiftlane_Run_2.csv"}, "Swiftlane_Run_3.csv"},
            {"Run", {"lSwiftlane_Run_1.csv"}, "Swiftlane_Run_2.csv"},
            {"Run", {"dSwiftlane_Run_1.csv"}, "Swiftlane_Run_2.csv"},
            {"Run", {"fSwiftlane_Run 2_1.csv"}, "Swiftlane_Run_1.csv"},
            {"100/200 m", {}, "Swiftlane_100_200 m_1.csv"},
            {QString("a\tb\nc") + QChar(0) + "d\x7f" + QChar(0x85) + "e", {}, "Swiftlane_a_b_c_d__e_1.csv"},
            {u8"Zo\u00eb's 30 m \\ \u2014 *?", {}, u8"Swiftlane_Zo\u00eb's 30 m \\ \u2014 *?_1.csv"},
            {QString(300, 'x'), {}, "Swiftlane_" + QString(239, 'x') + "_1.csv"},
            {QString(200, QChar(0xe9)), {}, "Swiftlane_" + QString(119, QChar(0xe9)) + "_1.csv"},
            {runner.repeated(100), {}, "Swiftlane_" + runner.repeated(59) + "_1.csv"}};
        for (const auto& [sequence, taken, chosen] : cases) {
            const QString reports = FreshDataFolder();
            QVERIFY(QDir().mkpath(reports));
            for (const QString& entry : taken) {
                const QString path = reports + entry.mid(1);
                QVERIFY(entry[0] == 'f'   ? WriteAll(path, "old\n")
                        : entry[0] == 'l' ? QFile::link(reports + "nowhere", path)
                                          : QDir().mkdir(path));
            }
            ReportFile report;
            report.SetBaseName("Swiftlane_" + sequence);
            report.SetHeader(header);
            report.AddEntry(Row("Ann"));
            report.AddEntry(Row("Bo"));
            QCOMPARE(report.ReportFileName(), reports + chosen);
            QCOMPARE(ReadAll(reports + chosen), headerLine + Line("Ann") + Line("Bo"));
            for (const QString& entry : taken)
                QCOMPARE(ReadAll(reports + entry.mid(1)), entry[0] == 'f' ? "old\n" : "");
        }
    }

    // A disk that fills up in the middle of a row: the file keeps whole rows only, the row waits for
    // its own file, no other numbered file appears, and the file of another sequence is still written.
    void fullDisk()
    {
        for (const bool fileExists : {true, false}) {
            const QString folder = FreshDataFolder();
            ReportFile report;
            StartRunSequence(report);
            QByteArray written;
            if (fileExists) {
                report.AddEntry(Row("Ann"));
                written = headerLine + Line("Ann");
            }
            {
                // One byte short of a 35-byte row; the 33-byte file of the One sequence fits.
                FileSizeLimit full(static_cast<rlim_t>(written.size()) + 34);
                report.AddEntry(Row("Bo"));
                report.AddEntry(Row("Cy"));
                QCOMPARE(Files(folder), fileExists ? QStringList{"Swiftlane_Run_1.csv"} : QStringList{});
                QCOMPARE(ReadAll(folder + "Swiftlane_Run_1.csv"), written);
                report.SetBaseName("Swiftlane_One");
                report.SetHeader({"Subject_Name", "Total_Time"});
                report.AddEntry({"Ey", "1.000"});
                QCOMPARE(report.PendingRowCount(), 2);
                QCOMPARE(ReadAll(folder + "Swiftlane_One_1.csv"), "Subject_Name,Total_Time\nEy,1.000\n");
            }
            report.AddEntry({"Fy", "2.000"}); // the rows that waited go to their own file at the next chance
            QCOMPARE(report.PendingRowCount(), 0);
            QCOMPARE(Files(folder), (QStringList{"Swiftlane_One_1.csv", "Swiftlane_Run_1.csv"}));
            QCOMPARE(ReadAll(folder + "Swiftlane_Run_1.csv"),
                     headerLine + written.mid(headerLine.size()) + Line("Bo") + Line("Cy"));
        }
    }

    // Fields are quoted only when they need it. Deleted or moved while the program runs: the next
    // row goes to a file made again in its place.
    void reportFileGoneIsMadeAgain()
    {
        const QString folder = FreshDataFolder();
        ReportFile report;
        StartRunSequence(report);
        for (const char* subject : {"Zo\u00eb Lee", "Lee, Ann", "Ann \"Flash\"", "Ann\nLee", "Ann\rLee"})
            report.AddEntry(Row(subject));
        const QString path = report.ReportFileName();
        QCOMPARE(ReadAll(path), headerLine + Line("Zo\u00eb Lee") + Line("\"Lee, Ann\"") +
                                    Line("\"Ann \"\"Flash\"\"\"") + Line("\"Ann\nLee\"") +
                                    Line("\"Ann\rLee\""));
        QVERIFY(QFile::remove(path));
        report.AddEntry(Row("Bo"));
        QCOMPARE(ReadAll(path), headerLine + Line("Bo"));
        QVERIFY(QFile::rename(path, folder + "kept.csv"));
        report.AddEntry(Row("Cy"));
        QCOMPARE(ReadAll(folder + "kept.csv"), headerLine + Line("Bo"));
        QCOMPARE(ReadAll(path), headerLine + Line("Cy"));
        QCOMPARE(report.ReportFileName(), path);
        QVERIFY(QFile::remove(path) && QDir().mkdir(path)); // a folder took its name: the next number
        report.AddEntry(Row("Dy"));
        QCOMPARE(report.ReportFileName(), folder + "Swiftlane_Run_2.csv");
        QCOMPARE(ReadAll(folder + "Swiftlane_Run_2.csv"), headerLine + Line("Dy"));
    }

    // Rows that cannot be written are kept, each with the report (and so the sequence) it belongs to, and
    // the operator is told once. Those still kept when the program ends go to the temporary folder;
    // when it is full too, nothing claims to hold them: they go to the error output, the last place left.
    void rowsStillKeptAtTheEndGoToTheTemporaryFolder()
    {
        const QByteArray rows = "Report," + headerLine + "Swiftlane_Run," + Line("Ann") + "Report," +
                                headerLine + "Swiftlane_One," + Line("Bo") +
                                "Report,Subject_Name,Total_Time\nSwiftlane_One,Cy,1.000\n";
        for (const bool temporaryFolderFull : {false, true}) {
            const QString told = temporaryFolderFull ? "could not be saved in .* either; here they are:\n" +
                                                           QRegularExpression::escape(rows) + "$"
                                                     : "are in ";
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Results that could not be written to the "
                                                                  "reports folder \\(3\\) " +
                                                                  told));
            RecordingReportUi ui;
            BlockedDataFolder();
            {
                std::optional<FileSizeLimit> full;
                if (temporaryFolderFull)
                    full.emplace(20);
                ReportFile report;
                report.SetUi(&ui);
                StartRunSequence(report);
                report.AddEntry(Row("Ann"));
                report.SetBaseName("Swiftlane_One");
                report.AddEntry(Row("Bo"));
                report.SetHeader({"Subject_Name", "Total_Time"}); // same name, other header: another report
                report.AddEntry({"Cy", "1.000"});
                QCOMPARE(report.PendingRowCount(), 3);
                QCOMPARE(ui.warnings.size(), 1);
                QVERIFY(ui.warnings[0].contains(QDir::toNativeSeparators(report.ReportFolder())));
            }
            const QStringList kept = Files(temp.path());
            QCOMPARE(kept.size(), temporaryFolderFull ? 0 : 1);
            for (const QString& file : kept) {
                QVERIFY(file.startsWith("Swiftlane_unwritten_"));
                QCOMPARE(ReadAll(temp.filePath(file)), rows);
                QVERIFY(QFile::remove(temp.filePath(file)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(GateSequenceTest)
#include "test_sequences_runs_reports.moc"
