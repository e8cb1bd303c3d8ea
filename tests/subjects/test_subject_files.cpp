// The text files operators hand in and take away: name lists and RFID tag/name lists. Lines with
// control characters are skipped and counted; a named pipe is refused at once with a reason (the
// reader would otherwise block the window until something writes to it).
#include "devices/session/SessionFormat.h"
#include "devices/sim/EventScript.h"
#include "subjects/NameListFile.h"
#include "subjects/TagNames.h"
#include "support/FifoUnblock.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/stat.h>

using ReadError = std::function<QString(const QString& path)>;

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
    // Line numbers count every line of the file, empty ones included.
    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("stopLine");
        QTest::addColumn<int>("stopBytes");
        QTest::addColumn<QString>("skipped");
        const QByteArray a511(511, 'a'), b512(512, 'b');
        const QString one = "1 line holds control characters and was skipped (line 2)";
        QTest::newRow("LF, empty line")
            << QByteArray("Ann\n\nBob\n") << QStringList{"Ann", "Bob"} << 0 << 0 << "";
        QTest::newRow("blanks, commas, tab kept")
            << QByteArray(" Smith, Ann \n\t\nA\tB") << QStringList{" Smith, Ann ", "\t", "A\tB"} << 0 << 0
            << "";
        QTest::newRow("cut after a CR")
            << QByteArray("Ann\r\nBob\r") << QStringList{"Ann", "Bob"} << 0 << 0 << "";
        QTest::newRow("CR CR LF") << QByteArray("Ann\r\r\nBob\n") << QStringList{"Ann", "Bob"} << 0 << 0
                                  << "";
        QTest::newRow("511 bytes") << a511 + "\nBob" << QStringList{QString(a511), "Bob"} << 0 << 0 << "";
        QTest::newRow("512 bytes, CR not counted") << "Ann\r\n\r\n" + b512 + "\r\nBob\r\n"
                                                   << QStringList{"Ann"} << 3 << 512 << "";
        // Only the file's first bytes may be a byte order mark; inside, U+FEFF is kept as written.
        QTest::newRow("UTF-8, byte order marks")
            << QByteArray("\xEF\xBB\xBFZo\xC3\xAB\n\xEF\xBB\xBF\xE7\x8E\x8B\n")
            << QStringList{u8"Zo\u00EB", QChar(0xFEFF) + QString(u8"\u738B")} << 0 << 0 << "";
        // One decision for the whole file: a line that looks like UTF-8 in a Latin-1 file is Latin-1.
        QTest::newRow("Latin-1 throughout") << QByteArray("Zo\xC3\xAB\nJos\xE9\n")
                                            << QStringList{u8"Zo\u00C3\u00AB", u8"Jos\u00E9"} << 0 << 0 << "";
        QTest::newRow("NUL") << QByteArray("Ann\nB\0b\nCy\n", 11) << QStringList{"Ann", "Cy"} << 0 << 0
                             << one;
        QTest::newRow("escape sequence and DEL, after an empty line")
            << QByteArray("\x1b[31mRed\n\nAnn\nDel\x7f\n") << QStringList{"Ann"} << 0 << 0
            << "2 lines hold control characters and were skipped (lines 1, 4)";
        QTest::newRow("lone CR inside a line")
            << QByteArray("Ann\r\nA\rB\r\nBo\r\n") << QStringList{"Ann", "Bo"} << 0 << 0 << one;
        QTest::newRow("C1 control in a Latin-1 file")
            << QByteArray("J\xf6rg\nNe\x85xt\n") << QStringList{u8"J\u00F6rg"} << 0 << 0 << one;
    }
    void lineRules()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QFETCH(int, stopLine);
        QFETCH(int, stopBytes);
        QFETCH(QString, skipped);
        const QString path = Write(bytes);
        const NameListRead read = readNameListFile(path);
        QCOMPARE(read.error, QString());
        QCOMPARE(read.text.lines, names);
        QCOMPARE(read.text.stopLine, stopLine);
        QCOMPARE(read.text.stopLineBytes, stopBytes);
        QCOMPARE(read.text.stopReason().isEmpty(), stopLine == 0);
        QCOMPARE(read.text.skipReason(), skipped);
        const QString note = nameListImportNoteText(path, read.text);
        QVERIFY2(note.contains(skipped) && note.isEmpty() == (skipped.isEmpty() && stopLine == 0),
                 qPrintable(note));
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
            TagNameMap tags;
            QCOMPARE(ImportTagNameFile(file.fileName(), tags).error,
                     size == 16 << 20 ? QString() : "the file is 16 MB; a tag/name list is at most 16 MB");
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
        QTest::addColumn<QString>("skipped");
        QTest::newRow("blanks, tabs") << " 04A3 ,\t Ann Lee \t" << 1 << "04A3=Ann Lee" << 0 << "";
        QTest::newRow("third field") << "04A3,Ann,U17" << 1 << "04A3=Ann" << 0 << "";
        QTest::newRow("single field") << "04A3" << 0 << "" << 0 << "";
        QTest::newRow("commas only") << ",,," << 0 << "" << 0 << "";
        QTest::newRow("two commas") << "04A3,,Ann" << 1 << "04A3=Ann" << 0 << "";
        QTest::newRow("leading comma") << ",04A3,Ann" << 1 << "04A3=Ann" << 0 << "";
        QTest::newRow("later wins") << "04A3,Ann\n04A3,Bob" << 2 << "04A3=Bob" << 0 << "";
        QTest::newRow("UTF-8") << u8"T1,\u0141ukasz" << 1 << u8"T1=\u0141ukasz" << 0 << "";
        QTest::newRow("512 bytes stop")
            << "A,Ann\n\nT," + QString(510, 'x') + "\nB,Bob" << 1 << "A=Ann" << 3 << "";
        QTest::newRow("control character")
            << "T1,Ann\nT2,B\x1b"
               "b"
            << 1 << "T1=Ann" << 0 << "1 line holds control characters and was skipped (line 2)";
    }
    void tagLines()
    {
        QFETCH(QString, content);
        QFETCH(int, pairs);
        QFETCH(QString, stored);
        QFETCH(int, stopLine);
        QFETCH(QString, skipped);
        TagNameMap tags;
        const QString path = Write(content.toUtf8());
        const TagFileImport result = ImportTagNameFile(path, tags);
        QVERIFY(result.opened);
        QCOMPARE(Entries(tags).join(' '), stored);
        QCOMPARE(result.pairs, pairs);
        QCOMPARE(result.stoppedAtLine, stopLine);
        QCOMPARE(result.skipReason, skipped);
        QVERIFY(TagImportNoteText(path, result).contains(skipped));
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

    void aNamedPipeIsRefusedWithoutBlocking()
    {
        const std::pair<const char*, ReadError> readers[] = {
            {"list of names", [](const QString& path) { return readNameListFile(path).error; }},
            {"RFID tags and names",
             [](const QString& path) {
                 TagNameMap tags;
                 return ImportTagNameFile(path, tags).error;
             }},
            {"gate session",
             [](const QString& path) {
                 QString error;
                 session::ReadSessionFile(path, &error);
                 return error;
             }},
            {"simulator script", [](const QString& path) {
                 QString error;
                 sim::LoadEventScript(path, &error);
                 return error;
             }}};
        for (const auto& [reader, read] : readers) {
            const QString path = dir.filePath(QStringLiteral("pipe-%1").arg(reader));
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            FifoUnblock unblock(path, std::chrono::seconds(2));
            const QString error = read(path);
            QVERIFY2(!unblock.Stop(), reader);
            QVERIFY2(error.contains(QStringLiteral("it is a named pipe, not a file")), qPrintable(error));
        }
    }
};

QTEST_GUILESS_MAIN(SubjectFilesTest)
#include "test_subject_files.moc"
