#include "TimingTestFiles.h"
#include "timing/SequenceListing.h"

#include <QTemporaryDir>
#include <QtTest>

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

private slots:
    void savedFilesByteForByte()
    {
        const QByteArray head = "<?xml version=\"1.0\" ?>\n<Configuration>\n    <GateSequence>\n"
                                "        <SequenceName>Run</SequenceName>\n";
        const QByteArray tail = "    </GateSequence>\n</Configuration>\n";
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

    // Lists names in file name order ignoring case, hidden files included, unreadable files left out.
    void listing()
    {
        QTemporaryDir runs;
        QVERIFY(MakeSequence("b", {0}, 1).Save(runs.filePath("b.run")));
        QVERIFY(MakeSequence("Zed", {0}, 1).Save(runs.filePath("A.run")));
        QVERIFY(MakeSequence(".warmup", {0}, 1).Save(runs.filePath(".warmup.run")));
        QVERIFY(WriteAll(runs.filePath("broken.run"), "<Configuration>"));
        QStringList names;
        for (const ListedSequence& listed : ListSequences(runs.path()))
            names << listed.name;
        QCOMPARE(names, QStringList({".warmup", "Zed", "b"}));
    }
};

QTEST_GUILESS_MAIN(GateSequenceTest)
#include "test_gate_sequence.moc"
