#include "timing/GateSequence.h"
#include "timing/SequenceListing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

GateSequence Make(const QString& name, std::initializer_list<int> gates, double distance)
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
    for (int k = 0; k < sequence.GateCount(); ++k)
        gates.append(*sequence.GateNumberAt(static_cast<unsigned>(k)));
    return gates;
}

// A ".run" file body around the given content of the "GateSequence" section.
QByteArray RunFile(const QByteArray& section)
{
    return "<?xml version=\"1.0\" ?>\n<Configuration>\n<GateSequence>\n" + section +
           "</GateSequence>\n</Configuration>\n";
}

const QByteArray distance20 = "<TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n";

} // namespace

class GateSequenceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString PathOf(const QString& name) const { return dir.filePath(name); }

private slots:
    void clearedSequenceFile()
    {
        const QString path = PathOf(QStringLiteral("cleared.run"));
        QVERIFY(GateSequence().Save(path));
        QCOMPARE(ReadAll(path),
                 QByteArray("<?xml version=\"1.0\" ?>\n"
                            "<Configuration>\n"
                            "    <GateSequence>\n"
                            "        <SequenceName>Run</SequenceName>\n"
                            "        <TotalDistance> 00  00  00  00  00  00  00  00 </TotalDistance>\n"
                            "        <!-- TotalDistance value: 0 -->\n"
                            "        <NumGates>0</NumGates>\n"
                            "    </GateSequence>\n"
                            "</Configuration>\n"));
        GateSequence loaded = Make(QStringLiteral("Other"), {1, 2}, 5.0);
        loaded.Clear();
        QVERIFY(loaded.Load(path));
        QCOMPARE(loaded.Name(), QStringLiteral("Run"));
        QCOMPARE(loaded.GateCount(), 0);
        QCOMPARE(loaded.TotalDistance(), 0.0);
    }

    void fourGateSequenceFile()
    {
        const QString path = PathOf(QStringLiteral("four.run"));
        QVERIFY(Make(QStringLiteral("Sprint"), {0, 2, 1, 3}, 20.0).Save(path));
        QByteArray expected = "<?xml version=\"1.0\" ?>\n"
                              "<Configuration>\n"
                              "    <GateSequence>\n"
                              "        <SequenceName>Sprint</SequenceName>\n"
                              "        <TotalDistance> 00  00  00  00  00  00  34  40 </TotalDistance>\n"
                              "        <!-- TotalDistance value: 20 -->\n"
                              "        <NumGates>4</NumGates>\n";
        const int numbers[] = {0, 2, 1, 3};
        for (int k = 0; k < 4; ++k)
            expected += QStringLiteral("        <Gate_%1>\n"
                                       "            <GateNumber>%2</GateNumber>\n"
                                       "        </Gate_%1>\n")
                            .arg(k)
                            .arg(numbers[k])
                            .toLatin1();
        expected += "    </GateSequence>\n</Configuration>\n";
        QCOMPARE(ReadAll(path), expected);

        GateSequence loaded;
        QVERIFY(loaded.Load(path));
        QCOMPARE(loaded.Name(), QStringLiteral("Sprint"));
        QCOMPARE(GatesOf(loaded), (QList<int>{0, 2, 1, 3}));
        QCOMPARE(loaded.TotalDistance(), 20.0);
    }

    void roundTripKeepsEverything()
    {
        // Eleven gates reach "Gate_10"; the name has characters outside Latin-1.
        const GateSequence saved =
            Make(QStringLiteral("\u0141\u00f3d\u017a <&>"), {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 3}, 0.1);
        const QString path = PathOf(QStringLiteral("eleven.run"));
        QVERIFY(saved.Save(path));
        QVERIFY(ReadAll(path).contains("<Gate_10>\n            <GateNumber>3</GateNumber>"));
        GateSequence loaded;
        QVERIFY(loaded.Load(path));
        QCOMPARE(loaded.Name(), saved.Name());
        QCOMPARE(GatesOf(loaded), GatesOf(saved));
        const double a = saved.TotalDistance(), b = loaded.TotalDistance();
        QVERIFY(std::memcmp(&a, &b, sizeof a) == 0);
    }

    void handWrittenFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("distance");
        QTest::addColumn<QList<int>>("gates");
        const QString kept = QStringLiteral("Before");
        QTest::newRow("no section") << QByteArray("<Configuration><Other/></Configuration>") << true << kept
                                    << 7.0 << QList<int>{};
        QTest::newRow("no values") << RunFile("") << true << kept << 7.0 << QList<int>{};
        QTest::newRow("no NumGates") << RunFile("<SequenceName>X</SequenceName>\n" + distance20 +
                                                "<Gate_0><GateNumber>1</GateNumber></Gate_0>\n")
                                     << true << QStringLiteral("X") << 20.0 << QList<int>{};
        QTest::newRow("gate without number")
            << RunFile("<NumGates>3</NumGates>\n<Gate_0><GateNumber>1</GateNumber></Gate_0>\n<Gate_1/>\n"
                       "<Gate_2><GateNumber>3</GateNumber></Gate_2>\n")
            << true << kept << 7.0 << QList<int>{1, 3};
        QTest::newRow("sections out of order")
            << RunFile("<NumGates>3</NumGates>\n<Gate_2><GateNumber>3</GateNumber></Gate_2>\n"
                       "<Gate_0><GateNumber>1</GateNumber></Gate_0>\n<Gate_1><GateNumber>2</GateNumber></"
                       "Gate_1>\n")
            << true << kept << 7.0 << QList<int>{1, 2, 3};
        QTest::newRow("fewer sections than counted")
            << RunFile("<NumGates>3</NumGates>\n<Gate_1><GateNumber>2</GateNumber></Gate_1>\n") << true
            << kept << 7.0 << QList<int>{2};
        QTest::newRow("sections beyond the count")
            << RunFile("<NumGates>1</NumGates>\n<Gate_0><GateNumber>0</GateNumber></Gate_0>\n"
                       "<Gate_1><GateNumber>2</GateNumber></Gate_1>\n")
            << true << kept << 7.0 << QList<int>{0};
        QTest::newRow("other root name")
            << QByteArray("<Root><GateSequence><SequenceName>R</SequenceName><NumGates>1</NumGates>"
                          "<Gate_0><GateNumber>2</GateNumber></Gate_0></GateSequence></Root>")
            << true << QStringLiteral("R") << 7.0 << QList<int>{2};
        QTest::newRow("latin-1 name") << RunFile("<SequenceName>Gel\xe4nde</SequenceName>\n" + distance20)
                                      << true << QStringLiteral("Gel\u00e4nde") << 20.0 << QList<int>{};
        QTest::newRow("malformed") << QByteArray("<Configuration><GateSequence>") << false << kept << 7.0
                                   << QList<int>{};
    }
    void handWrittenFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(QString, name);
        QFETCH(double, distance);
        QFETCH(QList<int>, gates);
        const QString path = PathOf(QStringLiteral("hand.run"));
        WriteAll(path, content);
        GateSequence sequence = Make(QStringLiteral("Before"), {3, 3}, 7.0);
        QCOMPARE(sequence.Load(path), loads);
        QCOMPARE(sequence.Name(), name);
        QCOMPARE(sequence.TotalDistance(), distance);
        QCOMPARE(GatesOf(sequence), gates);
    }

    void missingFileEmptiesGatesOnly()
    {
        GateSequence sequence = Make(QStringLiteral("Kept"), {0, 1}, 3.0);
        QVERIFY(!sequence.Load(PathOf(QStringLiteral("absent.run"))));
        QVERIFY(!sequence.Load(dir.path()));
        QCOMPARE(sequence.Name(), QStringLiteral("Kept"));
        QCOMPARE(sequence.TotalDistance(), 3.0);
        QCOMPARE(sequence.GateCount(), 0);
    }

    void laterSaveReplacesTheFile()
    {
        const QString path = PathOf(QStringLiteral("same.run"));
        QVERIFY(Make(QStringLiteral("Same"), {0, 1, 2, 3}, 1.0).Save(path));
        QVERIFY(Make(QStringLiteral("Same"), {2}, 2.0).Save(path));
        GateSequence loaded;
        QVERIFY(loaded.Load(path));
        QCOMPARE(GatesOf(loaded), QList<int>{2});
        QCOMPARE(loaded.TotalDistance(), 2.0);
    }

    void saveIntoMissingFolderFails()
    {
        QVERIFY(!GateSequence().Save(PathOf(QStringLiteral("missing/x.run"))));
    }

    void insertAndLookUp()
    {
        GateSequence sequence;
        QVERIFY(!sequence.InsertGate(0, 1)); // appends
        QVERIFY(!sequence.InsertGate(5, 2)); // beyond the end: appends
        QVERIFY(sequence.InsertGate(0, 0));  // front
        QVERIFY(sequence.InsertGate(2, 3));  // before the old entry 2
        QCOMPARE(GatesOf(sequence), (QList<int>{0, 1, 3, 2}));
        QVERIFY(!sequence.GateNumberAt(4).has_value());
        QCOMPARE(sequence.GateNumberAt(3).value(), 2);
    }

    void listingByFileNameIgnoringCase()
    {
        QTemporaryDir runs;
        const QString folder = runs.path();
        QVERIFY(Make(QStringLiteral("Second"), {0}, 0).Save(folder + QStringLiteral("/b.run")));
        QVERIFY(Make(QStringLiteral("First"), {0}, 0).Save(folder + QStringLiteral("/A.run")));
        QVERIFY(Make(QStringLiteral("Third"), {0}, 0).Save(folder + QStringLiteral("/C.run")));
        WriteAll(folder + QStringLiteral("/broken.run"), "<Configuration>");
        WriteAll(folder + QStringLiteral("/bare.run"), "<Configuration/>");
        QVERIFY(Make(QStringLiteral("Ignored"), {0}, 0).Save(folder + QStringLiteral("/d.txt")));
        QDir(folder).mkdir(QStringLiteral("folder.run"));

        for (const QString& given : {folder, folder + QLatin1Char('/')}) {
            const std::vector<ListedSequence> listed = ListSequences(given);
            QStringList names, paths;
            for (const ListedSequence& entry : listed) {
                names << entry.name;
                paths << entry.path;
            }
            QCOMPARE(names, (QStringList{QStringLiteral("First"), QStringLiteral("Second"),
                                         QStringLiteral("Run"), QStringLiteral("Third")}));
            QCOMPARE(paths,
                     (QStringList{folder + QStringLiteral("/A.run"), folder + QStringLiteral("/b.run"),
                                  folder + QStringLiteral("/bare.run"), folder + QStringLiteral("/C.run")}));
        }
        QVERIFY(ListSequences(folder + QStringLiteral("/missing")).empty());
    }
};

QTEST_GUILESS_MAIN(GateSequenceTest)
#include "test_gate_sequence.moc"
