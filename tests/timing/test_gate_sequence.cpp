#include "support/PipeRescue.h"
#include "support/TestFiles.h"
#include "timing/FileNameCheck.h"
#include "timing/SequenceListing.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <tuple>

class GateSequenceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

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
            QList<int> numbers;
            for (int k = 0; k < gates; ++k)
                numbers << k % 4;
            QFile::remove(path);
            GateSequence sequence = MakeSequence(QString(nameLength, 'n'), numbers, 5.0);
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
