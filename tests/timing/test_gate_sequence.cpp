#include "TimingTestFiles.h"
#include "support/PipeRescue.h"
#include "timing/SequenceListing.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class GateSequenceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // "name distance: gates", e.g. "Run 20: 0 2 1 3".
    static QString Describe(const GateSequence& sequence)
    {
        QString text = sequence.Name() + ' ' + QString::number(sequence.TotalDistance()) + ':';
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
    static QByteArray Gates(int count)
    {
        QByteArray sections = "<NumGates>" + QByteArray::number(count) + "</NumGates>\n";
        for (int k = 0; k < count; ++k)
            sections += GateSection(k, k % 4);
        return sections;
    }
    static QByteArray NamedRunFile(const QString& name, int gates)
    {
        return RunFile("<SequenceName>" + name.toLatin1() + "</SequenceName>\n" + Gates(gates));
    }
    // A small valid file grown by a comment to exactly `size` bytes.
    static QByteArray PaddedRunFile(qsizetype size)
    {
        const QByteArray file = NamedRunFile("Padded", 2);
        const QByteArray open = "<!--", close = "-->";
        return file + open + QByteArray(size - file.size() - open.size() - close.size(), 'x') + close;
    }

private slots:
    void savedFilesByteForByte()
    {
        const QByteArray head = "<?xml version=\"1.0\" ?>\n<Configuration>\n    <GateSequence>\n"
                                "        <SequenceName>Run</SequenceName>\n";
        const QByteArray tail = "        <HoldOffMs>300</HoldOffMs>\n    </GateSequence>\n</Configuration>\n";
        QByteArray gates;
        for (const auto& [k, number] : {std::pair{0, 0}, {1, 2}, {2, 1}, {3, 3}})
            gates +=
                QString("        <Gate_%1>\n            <GateNumber>%2</GateNumber>\n        </Gate_%1>\n")
                    .arg(k)
                    .arg(number)
                    .toLatin1();
        const std::pair<GateSequence, QByteArray> cases[] = {
            {MakeSequence("Run", {}, 0.0),
             head +
                 "        <TotalDistance> 00  00  00  00  00  00  00  00 </TotalDistance>\n"
                 "        <!-- TotalDistance value: 0 -->\n"
                 "        <NumGates>0</NumGates>\n" +
                 tail},
            {MakeSequence("Run", {0, 2, 1, 3}, 20.0),
             head +
                 "        <TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n"
                 "        <!-- TotalDistance value: 20 -->\n"
                 "        <NumGates>4</NumGates>\n" +
                 gates + tail}};
        const QString path = dir.filePath("golden.run");
        for (const auto& [sequence, expected] : cases) {
            QVERIFY(sequence.Save(path));
            QCOMPARE(ReadAll(path), expected);
        }
    }

    // Each load starts from "Before 7: 3 3": the gates are always replaced, name and distance only when
    // the file has them.
    void handWrittenFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("result");
        QTest::newRow("malformed") << QByteArray("<Configuration><GateSequence>") << false << "Before 7:";
        QTest::newRow("no section") << QByteArray("<Configuration/>") << true << "Before 7:";
        QTest::newRow("no NumGates")
            << RunFile("<SequenceName>X</SequenceName>\n"
                       "<TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n" +
                       GateSection(0, 1))
            << true << "X 20:";
        QTest::newRow("gate without number")
            << RunFile("<NumGates>3</NumGates>\n" + GateSection(0, 1) + "<Gate_1/>\n" + GateSection(2, 3))
            << true << "Before 7: 1 3";
        QTest::newRow("out of order, missing, beyond the count")
            << RunFile("<NumGates>3</NumGates>\n" + GateSection(3, 0) + GateSection(2, 3) + GateSection(0, 1))
            << true << "Before 7: 1 3";
        // Gate_10 is read by its full name and follows Gate_1.
        QTest::newRow("Gate_10") << RunFile("<NumGates>11</NumGates>\n" + GateSection(10, 2) +
                                            GateSection(1, 3))
                                 << true << "Before 7: 3 2";
        QTest::newRow("other root, latin-1 name")
            << QByteArray("<R><GateSequence><SequenceName>Gel\xe4nde</SequenceName><NumGates>1</NumGates>" +
                          GateSection(0, 2) + "</GateSequence></R>")
            << true << "Gel\u00e4nde 7: 2";
    }
    void handWrittenFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(QString, result);
        const QString path = dir.filePath("hand.run");
        QVERIFY(WriteAll(path, content));
        GateSequence sequence = MakeSequence("Before", {3, 3}, 7.0);
        QCOMPARE(sequence.Load(path), loads);
        QCOMPARE(Describe(sequence), result);
    }

    // Bounds that keep a runaway sequence from freezing the program, held by save and load alike.
    void sizeLimits_data()
    {
        QTest::addColumn<int>("gates");
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("100 gates") << 100 << 5 << true;
        QTest::newRow("101 gates") << 101 << 5 << false;
        QTest::newRow("name of 200 characters") << 3 << 200 << true;
        QTest::newRow("name of 201 characters") << 3 << 201 << false;
    }
    void sizeLimits()
    {
        QFETCH(int, gates);
        QFETCH(int, nameLength);
        QFETCH(bool, accepted);
        QList<int> numbers;
        for (int k = 0; k < gates; ++k)
            numbers << k % 4;
        const QString name(nameLength, QLatin1Char('n'));
        const QString path = dir.filePath("limits.run");
        QFile::remove(path);
        QCOMPARE(MakeSequence(name, numbers, 5.0).Save(path), accepted);
        QCOMPARE(QFile::exists(path), accepted);

        QVERIFY(WriteAll(path, NamedRunFile(name, gates)));
        GateSequence loaded = MakeSequence("Before", {3, 3}, 7.0);
        QCOMPARE(loaded.Load(path), accepted);
        QCOMPARE(Describe(loaded),
                 Describe(accepted ? MakeSequence(name, numbers, 7.0) : MakeSequence("Before", {}, 7.0)));
    }

    // Files no version of the program writes today; each is refused without hanging the caller.
    void oversizedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");
        QByteArray olderSave =
            "<?xml version=\"1.0\" ?>\n<Configuration>\n    <GateSequence>\n"
            "        <SequenceName>Marathon</SequenceName>\n        <NumGates>65535</NumGates>\n";
        for (int k = 0; k < 65535; ++k)
            olderSave +=
                QString("        <Gate_%1>\n            <GateNumber>%2</GateNumber>\n        </Gate_%1>\n")
                    .arg(k)
                    .arg(k % 4)
                    .toLatin1();
        olderSave += "    </GateSequence>\n</Configuration>\n";
        QTest::newRow("65535 gates as older versions saved them") << olderSave << false;
        QByteArray compact = "<NumGates>65535</NumGates>";
        for (int k = 0; k < 15000; ++k)
            compact += "<Gate_" + QByteArray::number(k) + "><GateNumber>1</GateNumber></Gate_" +
                       QByteArray::number(k) + ">";
        QTest::newRow("65535 gates claimed in less than 1 MiB") << RunFile(compact) << false;
        QTest::newRow("exactly 1 MiB") << PaddedRunFile(1 << 20) << true;
        QTest::newRow("one byte over 1 MiB") << PaddedRunFile((1 << 20) + 1) << false;
    }
    void oversizedFilesAreRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        const QString path = dir.filePath("big.run");
        QVERIFY(WriteAll(path, content));
        GateSequence sequence = MakeSequence("Before", {3}, 7.0);
        QCOMPARE(sequence.Load(path), loads);
        QCOMPARE(Describe(sequence), loads ? QString("Padded 7: 0 1") : QString("Before 7:"));
    }

    // Lists names in file name order ignoring case, hidden files included, unreadable files left out;
    // a named pipe or folder called *.run is passed over without waiting on it.
    void listing()
    {
        QTemporaryDir runs;
        QVERIFY(MakeSequence("b", {0}, 1).Save(runs.filePath("b.run")));
        QVERIFY(MakeSequence("Zed", {0}, 1).Save(runs.filePath("A.run")));
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
        QCOMPARE(names, QStringList({".warmup", "Zed", "b"}));
    }
};

QTEST_GUILESS_MAIN(GateSequenceTest)
#include "test_gate_sequence.moc"
