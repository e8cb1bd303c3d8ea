// Reading and writing subject name list files: the line rules, the encodings, the stop at an
// over-long line, and round trips.
#include "subjects/NameListFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class NameListFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("stopLine");

        const QByteArray line511(511, 'a');
        const QByteArray line512(512, 'b');
        QTest::newRow("LF, empty line dropped")
            << QByteArray("Ann\n\nBob\n") << QStringList{"Ann", "Bob"} << 0;
        QTest::newRow("CR LF") << QByteArray("Ann\r\n\r\nBob\r\n") << QStringList{"Ann", "Bob"} << 0;
        QTest::newRow("last line without line end")
            << QByteArray("Ann\nBob") << QStringList{"Ann", "Bob"} << 0;
        QTest::newRow("blanks and commas kept")
            << QByteArray(" Smith, Ann \n\t\n") << QStringList{" Smith, Ann ", "\t"} << 0;
        QTest::newRow("lone CR inside: line skipped") << QByteArray("A\rB\n") << QStringList{} << 0;
        QTest::newRow("file cut after the CR of its last CR LF")
            << QByteArray("Ann\r\nBob\r") << QStringList{"Ann", "Bob"} << 0;
        QTest::newRow("doubled CR before LF")
            << QByteArray("Ann\r\r\nBob\n") << QStringList{"Ann", "Bob"} << 0;
        QTest::newRow("511 bytes is a name")
            << line511 + "\nBob" << QStringList{QString(line511), "Bob"} << 0;
        QTest::newRow("512 bytes stops, CR not counted") << "Ann\r\n\r\n" + line512 + "\r\nBob\r\n"
                                                         << QStringList{"Ann"} << 3;
        QTest::newRow("600 bytes on the third line") << "Ann\nBob\n" + QByteArray(600, 'x') + "\nCid\n"
                                                     << QStringList{"Ann", "Bob"} << 3;
        QTest::newRow("over-long last line without line end") << "Ann\n" + line512 << QStringList{"Ann"} << 2;
        QTest::newRow("UTF-8") << QByteArray("\xC5\x81ukasz\n\xE7\x8E\x8B\xE8\x8A\xB3\n")
                               << QStringList{u8"\u0141ukasz", u8"\u738B\u82B3"} << 0;
        QTest::newRow("UTF-8 byte order mark")
            << QByteArray("\xEF\xBB\xBFZo\xC3\xAB\n") << QStringList{u8"Zo\u00EB"} << 0;
        QTest::newRow("Latin-1 of older tools")
            << QByteArray("Zo\xEB\nJos\xE9\n") << QStringList{u8"Zo\u00EB", u8"Jos\u00E9"} << 0;
        QTest::newRow("empty file") << QByteArray() << QStringList{} << 0;
    }
    void lineRules()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QFETCH(int, stopLine);
        const TextLines text = readTextLines(bytes);
        QCOMPARE(text.lines, names);
        QCOMPARE(text.stopLine, stopLine);
        QCOMPARE(text.stopReason().isEmpty(), stopLine == 0);
    }

    // What is written reads back the same, but for empty names; letters outside Latin-1 included.
    void roundTrip()
    {
        const QStringList names{" Ann ", "", "Smith, Bob", u8"\u0141ukasz", u8"\u738B\u82B3", "Ann"};
        const QString path = dir.filePath("round.txt");
        QCOMPARE(writeNameListFile(path, names), QString());
        QStringList expected = names;
        expected.removeAll(QString());
        const NameListRead read = readNameListFile(path);
        QCOMPARE(read.error, QString());
        QCOMPARE(read.text.lines, expected);
    }

    void emptyListWritesEmptyFile()
    {
        const QString path = dir.filePath("empty.txt");
        QCOMPARE(writeNameListFile(path, {}), QString());
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFileInfo(path).size(), 0);
    }

    // A name that would not read back is refused and the old file stays as it was.
    void namesThatWouldNotReadBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem");
        QTest::newRow("line end") << QString("Ann\nBob") << QString("name 2 holds a line end");
        QTest::newRow("512 bytes") << QString(512, 'a')
                                   << QString("name 2 is 512 bytes long; a name may hold at most 511 bytes");
        QTest::newRow("171 three-byte letters")
            << QString(171, QChar(0x738B))
            << QString("name 2 is 513 bytes long; a name may hold at most 511 bytes");
    }
    void namesThatWouldNotReadBack()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        const QString path = dir.filePath("kept.txt");
        QCOMPARE(writeNameListFile(path, {"Old"}), QString());
        QCOMPARE(writeNameListFile(path, {"Ann", name}), problem);
        QCOMPARE(readNameListFile(path).text.lines, QStringList{"Old"});
    }

    void filesThatCannotBeUsed()
    {
        QVERIFY(!readNameListFile(dir.filePath("missing.txt")).error.isEmpty());
        QCOMPARE(readNameListFile(dir.path()).error, QString("it is a folder"));
        QVERIFY(!writeNameListFile(dir.filePath("no/such/folder.txt"), {"Ann"}).isEmpty());

        const QString huge = dir.filePath("huge.txt");
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(MaxNameListFileBytes + 1));
        file.close();
        QCOMPARE(readNameListFile(huge).error,
                 QString("the file is 16 MB; a list of names is at most 16 MB"));
    }
};

QTEST_GUILESS_MAIN(NameListFileTest)
#include "test_name_list_file.moc"
