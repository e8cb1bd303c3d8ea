// The text files operators hand in and take away: name lists and RFID tag/name lists.
#include "subjects/NameListFile.h"
#include "subjects/TagNames.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class SubjectFilesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int files = 0;

    QString Write(const QByteArray& content)
    {
        const QString path = dir.filePath(QString("file%1.txt").arg(++files));
        return WriteAll(path, content) ? path : QString();
    }
    static QStringList Entries(const TagNameMap& tags)
    {
        QStringList listed;
        for (const auto& [tag, name] : tags)
            listed << QString::fromStdString(tag) + "=" + QString::fromStdString(name);
        return listed;
    }

private slots:
    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("stopLine");
        QTest::addColumn<int>("stopBytes");
        const QByteArray a511(511, 'a'), b512(512, 'b');
        QTest::newRow("LF, empty line") << QByteArray("Ann\n\nBob\n") << QStringList{"Ann", "Bob"} << 0 << 0;
        QTest::newRow("blanks, commas kept")
            << QByteArray(" Smith, Ann \n\t\n") << QStringList{" Smith, Ann ", "\t"} << 0 << 0;
        QTest::newRow("lone CR inside: line skipped") << QByteArray("A\rB\n") << QStringList{} << 0 << 0;
        QTest::newRow("cut after a CR") << QByteArray("Ann\r\nBob\r") << QStringList{"Ann", "Bob"} << 0 << 0;
        QTest::newRow("CR CR LF") << QByteArray("Ann\r\r\nBob\n") << QStringList{"Ann", "Bob"} << 0 << 0;
        QTest::newRow("511 bytes") << a511 + "\nBob" << QStringList{QString(a511), "Bob"} << 0 << 0;
        QTest::newRow("512 bytes, CR not counted") << "Ann\r\n\r\n" + b512 + "\r\nBob\r\n"
                                                   << QStringList{"Ann"} << 3 << 512;
        // Only the file's first bytes may be a byte order mark; inside, U+FEFF is kept as written.
        QTest::newRow("UTF-8, byte order marks")
            << QByteArray("\xEF\xBB\xBFZo\xC3\xAB\n\xEF\xBB\xBF\xE7\x8E\x8B\n")
            << QStringList{u8"Zo\u00EB", QChar(0xFEFF) + QString(u8"\u738B")} << 0 << 0;
        // One decision for the whole file: a line that looks like UTF-8 in a Latin-1 file is Latin-1.
        QTest::newRow("Latin-1 throughout") << QByteArray("Zo\xC3\xAB\nJos\xE9\n")
                                            << QStringList{u8"Zo\u00C3\u00AB", u8"Jos\u00E9"} << 0 << 0;
    }
    void lineRules()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QFETCH(int, stopLine);
        QFETCH(int, stopBytes);
        const NameListRead read = readNameListFile(Write(bytes));
        QCOMPARE(read.error, QString());
        QCOMPARE(read.text.lines, names);
        QCOMPARE(read.text.stopLine, stopLine);
        QCOMPARE(read.text.stopLineBytes, stopBytes);
        QCOMPARE(read.text.stopReason().isEmpty(), stopLine == 0);
    }

    // Names that would not read back as written are refused and the old file stays.
    void writes_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("bytes"); // null: refused
        QTest::newRow("as typed") << QStringList{" Ann ", "", "Smith, Bob", u8"\u0141ukasz", u8"\u738B"}
                                  << QByteArray(" Ann \n\nSmith, Bob\n\xC5\x81ukasz\n\xE7\x8E\x8B\n");
        QTest::newRow("empty list") << QStringList{} << QByteArray("");
        QTest::newRow("511 bytes") << QStringList{QString(511, 'a')} << QByteArray(511, 'a') + "\n";
        QTest::newRow("line end") << QStringList{"Ann", "Ann\nBob"} << QByteArray();
        QTest::newRow("512 bytes") << QStringList{"Ann", QString(512, 'a')} << QByteArray();
        QTest::newRow("171 three-byte letters") << QStringList{QString(171, QChar(0x738B))} << QByteArray();
    }
    void writes()
    {
        QFETCH(QStringList, names);
        QFETCH(QByteArray, bytes);
        const QString path = Write("Old\n");
        QCOMPARE(writeNameListFile(path, names).isEmpty(), !bytes.isNull());
        QCOMPARE(ReadAll(path), bytes.isNull() ? QByteArray("Old\n") : bytes);
        names.removeAll(QString());
        QCOMPARE(readNameListFile(path).text.lines, bytes.isNull() ? QStringList{"Old"} : names);
    }

    void filesThatCannotBeUsed()
    {
        QVERIFY(!readNameListFile(dir.filePath("missing.txt")).error.isEmpty());
        QVERIFY(!readNameListFile(dir.path()).error.isEmpty());
        QVERIFY(!writeNameListFile(dir.path(), {"Ann"}).isEmpty());
        QVERIFY(!writeNameListFile(dir.filePath("no/such/folder.txt"), {"Ann"}).isEmpty());
        const QString kept = Write("Old\n");
        {
            FileSizeLimit full(10); // a full disk: the list is written whole or not at all
            QVERIFY(!writeNameListFile(kept, {"Ann", "Bob", "Cyd", "Dee"}).isEmpty());
        }
        QCOMPARE(ReadAll(kept), "Old\n");
        for (const qint64 size : {16 << 20, (16 << 20) + 1}) { // 16 MiB of NULs: one over-long line
            QFile file(Write(""));
            QVERIFY(file.resize(size));
            QCOMPARE(readNameListFile(file.fileName()).error.isEmpty(), size == 16 << 20);
        }
    }

    // ".txt" is added unless the name holds it anywhere, in any case.
    void textSuffix()
    {
        const std::pair<const char*, const char*> cases[] = {
            {"list", "list.txt"},   {"list.csv", "list.csv.txt"}, {"LIST.TXT", "LIST.TXT"},
            {"a.Txt.b", "a.Txt.b"}, {"list.tx", "list.tx.txt"},   {"", ".txt"}};
        for (const auto& [name, file] : cases)
            QCOMPARE(withTextSuffix(name), QString(file));
    }

    // Read with the line rules above, then split at commas into a trimmed tag and name.
    void tagLines_data()
    {
        QTest::addColumn<QString>("content"); // written as UTF-8, the last line without its line end
        QTest::addColumn<int>("pairs");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("stopLine");
        QTest::newRow("blanks, tabs") << " 04A3 ,\t Ann Lee \t" << 1 << "04A3=Ann Lee" << 0;
        QTest::newRow("third field") << "04A3,Ann,U17" << 1 << "04A3=Ann" << 0;
        QTest::newRow("single field") << "04A3" << 0 << "" << 0;
        QTest::newRow("commas only") << ",,," << 0 << "" << 0;
        QTest::newRow("two commas") << "04A3,,Ann" << 1 << "04A3=Ann" << 0;
        QTest::newRow("leading comma") << ",04A3,Ann" << 1 << "04A3=Ann" << 0;
        QTest::newRow("later wins") << "04A3,Ann\n04A3,Bob" << 2 << "04A3=Bob" << 0;
        QTest::newRow("UTF-8") << u8"T1,\u0141ukasz" << 1 << u8"T1=\u0141ukasz" << 0;
        QTest::newRow("512 bytes stop") << "A,Ann\n\nT," + QString(510, 'x') + "\nB,Bob" << 1 << "A=Ann" << 3;
    }
    void tagLines()
    {
        QFETCH(QString, content);
        QFETCH(int, pairs);
        QFETCH(QString, stored);
        QFETCH(int, stopLine);
        TagNameMap tags;
        const TagFileImport result = ImportTagNameFile(Write(content.toUtf8()), tags);
        QVERIFY(result.opened);
        QCOMPARE(Entries(tags).join(' '), stored);
        QCOMPARE(result.pairs, pairs);
        QCOMPARE(result.stoppedAtLine, stopLine);
    }

    void tagImportsAddToTheMap()
    {
        TagNameMap tags;
        ImportTagNameFile(Write("A,Ann\nB,Bob\n"), tags);
        ImportTagNameFile(Write("B,Bea\nC,Cy\n"), tags);
        QVERIFY(!ImportTagNameFile(dir.filePath("none.csv"), tags).opened);
        QCOMPARE(Entries(tags), QStringList({"A=Ann", "B=Bea", "C=Cy"}));
        QCOMPARE(SubjectNameForTag(tags, "B"), QString("Bea"));
        QCOMPARE(SubjectNameForTag(tags, "b"), QString("b")); // tags are matched exactly
        QCOMPARE(SubjectNameForTag(tags, "99"), QString("99"));
    }
};

QTEST_GUILESS_MAIN(SubjectFilesTest)
#include "test_subject_files.moc"
