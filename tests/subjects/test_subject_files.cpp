// The text files operators hand in and take away: name lists and RFID tag/name lists. Lines with
// control characters are skipped and counted; a named pipe is refused at once with a reason (the
// reader would otherwise block the window until something writes to it).
#include "devices/sim/EventScript.h"
#include "subjects/NameListFile.h"
#include "subjects/TagNames.h"
#include "support/FileSizeLimit.h"
#include "support/PipeRescue.h"
#include "support/TestFiles.h"

#include <QtTest>

#include <functional>
#include <sys/stat.h>
#include <tuple>

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
    void lineRules()
    {
        const QByteArray a511(511, 'a'), b512(512, 'b');
        const QString one = "1 line holds control characters and was skipped (line 2)",
                      two = "2 lines hold control characters and were skipped (lines 1, 4)",
                      bomWang = QChar(0xFEFF) + QString(u8"\u738B");
        // The bytes, the names read, the line that stopped the reading and its length, the skipped lines.
        const std::tuple<QByteArray, QStringList, int, int, QString> cases[] = {
            {"Ann\n\nBob\n", {"Ann", "Bob"}, 0, 0, ""},
            {" Smith, Ann \n\t\nA\tB", {" Smith, Ann ", "\t", "A\tB"}, 0, 0, ""}, // blanks, commas, tabs kept
            {"Ann\r\nBob\r", {"Ann", "Bob"}, 0, 0, ""},
            {"Ann\r\r\nBob\n", {"Ann", "Bob"}, 0, 0, ""},
            {a511 + "\nBob", {QString(a511), "Bob"}, 0, 0, ""},
            {"Ann\r\n\r\n" + b512 + "\r\nBob\r\n", {"Ann"}, 3, 512, ""}, // the CR is not counted
            // Only the file's first bytes may be a byte order mark; inside, U+FEFF is kept as written.
            {"\xEF\xBB\xBFZo\xC3\xAB\n\xEF\xBB\xBF\xE7\x8E\x8B\n", {u8"Zo\u00EB", bomWang}, 0, 0, ""},
            // One decision for the whole file: a line that looks like UTF-8 in a Latin-1 file is Latin-1.
            {"Zo\xC3\xAB\nJos\xE9\n", {u8"Zo\u00C3\u00AB", u8"Jos\u00E9"}, 0, 0, ""},
            {QByteArray("Ann\nB\0b\nCy\n", 11), {"Ann", "Cy"}, 0, 0, one},
            {"\x1b[31mRed\n\nAnn\nDel\x7f\n", {"Ann"}, 0, 0, two},
            {"Ann\r\nA\rB\r\nBo\r\n", {"Ann", "Bo"}, 0, 0, one},  // a lone CR inside a line
            {"J\xf6rg\nNe\x85xt\n", {u8"J\u00F6rg"}, 0, 0, one}}; // a C1 control in a Latin-1 file
        for (const auto& [bytes, names, stopLine, stopBytes, skipped] : cases) {
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
    }

    // Names that would not read back as written are refused and the old file stays.
    void writes()
    {
        const std::pair<QStringList, QByteArray> cases[] = {
            // a null QByteArray: refused
            {{" Ann ", "", "Smith, Bob", u8"\u0141ukasz", u8"\u738B"},
             " Ann \n\nSmith, Bob\n\xC5\x81ukasz\n\xE7\x8E\x8B\n"},
            {{}, ""},
            {{QString(511, 'a')}, QByteArray(511, 'a') + "\n"},
            {{"Ann", "Ann\nBob"}, QByteArray()},
            {{"Ann", QString(512, 'a')}, QByteArray()},
            {{QString(171, QChar(0x738B))}, QByteArray()}}; // 513 bytes
        for (auto [names, bytes] : cases) {
            const QString path = Write("Old\n");
            QCOMPARE(writeNameListFile(path, names).isEmpty(), !bytes.isNull());
            QCOMPARE(ReadAll(path), bytes.isNull() ? QByteArray("Old\n") : bytes);
            names.removeAll(QString());
            QCOMPARE(readNameListFile(path).text.lines, bytes.isNull() ? QStringList{"Old"} : names);
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
    void tagLines()
    {
        // Written as UTF-8, the last line without its line end: pairs read, the map, the line that
        // stopped the reading, the skipped lines.
        const std::tuple<QString, int, QString, int, QString> cases[] = {
            {" 04A3 ,\t Ann Lee \t", 1, "04A3=Ann Lee", 0, ""},
            {"04A3,Ann,U17", 1, "04A3=Ann", 0, ""},
            {"04A3", 0, "", 0, ""},
            {"04A3,,Ann", 1, "04A3=Ann", 0, ""},
            {",04A3,Ann", 1, "04A3=Ann", 0, ""},
            {"04A3,Ann\n04A3,Bob", 2, "04A3=Bob", 0, ""}, // the later wins
            {u8"T1,\u0141ukasz", 1, u8"T1=\u0141ukasz", 0, ""},
            {"A,Ann\n\nT," + QString(510, 'x') + "\nB,Bob", 1, "A=Ann", 3, ""}, // 512 bytes stop
            {"T1,Ann\nT2,B\x1b[b", 1, "T1=Ann", 0,
             "1 line holds control characters and was skipped (line 2)"}};
        for (const auto& [content, pairs, stored, stopLine, skipped] : cases) {
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
        // Imports add to the map; tags are matched exactly.
        TagNameMap tags;
        ImportTagNameFile(Write("A,Ann\nB,Bob\n"), tags);
        ImportTagNameFile(Write("B,Bea\nC,Cy\n"), tags);
        QVERIFY(!ImportTagNameFile(dir.filePath("none.csv"), tags).opened);
        QCOMPARE(Entries(tags), QStringList({"A=Ann", "B=Bea", "C=Cy"}));
        QCOMPARE(SubjectNameForTag(tags, "B"), QString("Bea"));
        QCOMPARE(SubjectNameForTag(tags, "b"), QString("b"));
    }

    // Files that cannot be used: missing, a folder, too big, a disk that fills up, and a named pipe,
    // refused at once without blocking.
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
        const std::pair<const char*, std::function<QString(const QString&)>> readers[] = {
            {"list of names", [](const QString& path) { return readNameListFile(path).error; }},
            {"RFID tags and names",
             [](const QString& path) {
                 TagNameMap tags;
                 return ImportTagNameFile(path, tags).error;
             }},
            {"simulator script", [](const QString& path) {
                 QString error;
                 sim::LoadEventScript(path, &error);
                 return error;
             }}};
        for (const auto& [reader, read] : readers) {
            const QString path = dir.filePath(QStringLiteral("pipe-%1").arg(reader));
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            PipeRescue rescue(path, std::chrono::seconds(2));
            const QString error = read(path);
            QVERIFY2(!rescue.Stop(), reader);
            QVERIFY2(error.contains(QStringLiteral("it is a named pipe, not a file")), qPrintable(error));
        }
    }
};

QTEST_GUILESS_MAIN(SubjectFilesTest)
#include "test_subject_files.moc"
