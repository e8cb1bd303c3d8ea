#include "timing/GateSequence.h"
#include "timing/SequenceListing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

GateSequence Make(const QString& name, const QList<int>& gates, double distance)
{
    GateSequence sequence;
    sequence.SetName(name);
    sequence.SetTotalDistance(distance);
    for (int gate : gates)
        sequence.InsertGate(static_cast<unsigned>(sequence.GateCount()), gate);
    return sequence;
}

QList<int> GatesOf(const GateSequence& sequence)
{
    QList<int> gates;
    for (unsigned k = 0; sequence.GateNumberAt(k); ++k)
        gates.append(*sequence.GateNumberAt(k));
    return gates;
}

QByteArray RunFile(const QByteArray& section)
{
    return "<Configuration>\n<GateSequence>\n" + section + "</GateSequence>\n</Configuration>\n";
}

QByteArray GateSection(int index, int number)
{
    return QStringLiteral("<Gate_%1><GateNumber>%2</GateNumber></Gate_%1>\n")
        .arg(index)
        .arg(number)
        .toLatin1();
}

} // namespace

class GateSequenceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void savedFilesByteForByte_data()
    {
        QTest::addColumn<QList<int>>("gates");
        QTest::addColumn<double>("distance");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = "<?xml version=\"1.0\" ?>\n<Configuration>\n    <GateSequence>\n"
                                "        <SequenceName>Run</SequenceName>\n";
        const QByteArray tail = "    </GateSequence>\n</Configuration>\n";
        QTest::newRow("cleared")
            << QList<int>{} << 0.0
            << head +
                   "        <TotalDistance> 00  00  00  00  00  00  00  00 </TotalDistance>\n"
                   "        <!-- TotalDistance value: 0 -->\n"
                   "        <NumGates>0</NumGates>\n" +
                   tail;
        QByteArray gates;
        for (const auto& [k, number] : {std::pair{0, 0}, {1, 2}, {2, 1}, {3, 3}})
            gates += QStringLiteral(
                         "        <Gate_%1>\n            <GateNumber>%2</GateNumber>\n        </Gate_%1>\n")
                         .arg(k)
                         .arg(number)
                         .toLatin1();
        QTest::newRow("0, 2, 1, 3 over 20 m")
            << QList<int>{0, 2, 1, 3} << 20.0
            << head +
                   "        <TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n"
                   "        <!-- TotalDistance value: 20 -->\n"
                   "        <NumGates>4</NumGates>\n" +
                   gates + tail;
    }
    void savedFilesByteForByte()
    {
        QFETCH(QList<int>, gates);
        QFETCH(double, distance);
        QFETCH(QByteArray, expected);
        const QString path = dir.filePath(QStringLiteral("golden.run"));
        QVERIFY(Make(QStringLiteral("Run"), gates, distance).Save(path));
        QCOMPARE(ReadAll(path), expected);
        GateSequence loaded = Make(QStringLiteral("Other"), {3}, 1.0);
        QVERIFY(loaded.Load(path));
        QCOMPARE(loaded.Name(), QStringLiteral("Run"));
        QCOMPARE(GatesOf(loaded), gates);
        QCOMPARE(loaded.TotalDistance(), distance);
    }

    void elevenGatesAndAnyNameRoundTrip()
    {
        const GateSequence saved =
            Make(QStringLiteral("\u0141\u00f3d\u017a <&>"), {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 3}, 0.1);
        const QString path = dir.filePath(QStringLiteral("eleven.run"));
        QVERIFY(saved.Save(path));
        QVERIFY(ReadAll(path).contains("<Gate_10>\n            <GateNumber>3</GateNumber>"));
        GateSequence loaded;
        QVERIFY(loaded.Load(path));
        QCOMPARE(loaded.Name(), saved.Name());
        QCOMPARE(GatesOf(loaded), GatesOf(saved));
        QCOMPARE(loaded.TotalDistance(), 0.1);
    }

    void handWrittenFiles_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("distance");
        QTest::addColumn<QList<int>>("gates");
        const QString kept = QStringLiteral("Before");
        const QByteArray distance20 = "<TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n";
        QTest::newRow("no file") << QByteArray() << false << kept << 7.0 << QList<int>{};
        QTest::newRow("malformed") << QByteArray("<Configuration><GateSequence>") << false << kept << 7.0
                                   << QList<int>{};
        QTest::newRow("no section") << QByteArray("<Configuration/>") << true << kept << 7.0 << QList<int>{};
        QTest::newRow("no NumGates") << RunFile("<SequenceName>X</SequenceName>\n" + distance20 +
                                                GateSection(0, 1))
                                     << true << QStringLiteral("X") << 20.0 << QList<int>{};
        QTest::newRow("gate without number")
            << RunFile("<NumGates>3</NumGates>\n" + GateSection(0, 1) + "<Gate_1/>\n" + GateSection(2, 3))
            << true << kept << 7.0 << QList<int>{1, 3};
        QTest::newRow("out of order, missing, beyond the count")
            << RunFile("<NumGates>3</NumGates>\n" + GateSection(3, 0) + GateSection(2, 3) + GateSection(0, 1))
            << true << kept << 7.0 << QList<int>{1, 3};
        QTest::newRow("other root, latin-1 name")
            << QByteArray("<R><GateSequence><SequenceName>Gel\xe4nde</SequenceName><NumGates>1</NumGates>" +
                          GateSection(0, 2) + "</GateSequence></R>")
            << true << QStringLiteral("Gel\u00e4nde") << 7.0 << QList<int>{2};
    }
    void handWrittenFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(QString, name);
        QFETCH(double, distance);
        QFETCH(QList<int>, gates);
        const QString path = dir.filePath(QStringLiteral("hand.run"));
        QFile::remove(path);
        QVERIFY(content.isEmpty() || WriteAll(path, content));
        GateSequence sequence = Make(QStringLiteral("Before"), {3, 3}, 7.0);
        QCOMPARE(sequence.Load(path), loads);
        QCOMPARE(sequence.Name(), name);
        QCOMPARE(sequence.TotalDistance(), distance);
        QCOMPARE(GatesOf(sequence), gates);
    }

    void listingByFileNameIgnoringCase()
    {
        QTemporaryDir runs;
        const QString folder = runs.path() + QLatin1Char('/');
        QVERIFY(Make(QStringLiteral("Second"), {0}, 0).Save(folder + QStringLiteral("b.run")));
        QVERIFY(Make(QStringLiteral("First"), {0}, 0).Save(folder + QStringLiteral("A.run")));
        QVERIFY(Make(QStringLiteral("Ignored"), {0}, 0).Save(folder + QStringLiteral("c.txt")));
        QVERIFY(WriteAll(folder + QStringLiteral("broken.run"), "<Configuration>"));
        QVERIFY(WriteAll(folder + QStringLiteral("bare.run"), "<Configuration/>"));
        QVERIFY(QDir(folder).mkdir(QStringLiteral("folder.run")));
        for (const QString& given : {runs.path(), folder}) {
            QStringList listed;
            for (const ListedSequence& entry : ListSequences(given))
                listed << entry.name + QLatin1Char('=') + entry.path;
            QCOMPARE(listed, (QStringList{QStringLiteral("First=") + folder + QStringLiteral("A.run"),
                                          QStringLiteral("Second=") + folder + QStringLiteral("b.run"),
                                          QStringLiteral("Run=") + folder + QStringLiteral("bare.run")}));
        }
    }
};

QTEST_GUILESS_MAIN(GateSequenceTest)
#include "test_gate_sequence.moc"
