// Files the operator or a command line names: a named pipe is refused at once with a reason (the
// reader would otherwise block the window until something writes to it), lines with control
// characters are skipped and counted, and a tag/name file is capped like a list of names.
#include "devices/session/SessionFormat.h"
#include "devices/sim/EventScript.h"
#include "subjects/NameListFile.h"
#include "subjects/TagNames.h"
#include "support/FifoUnblock.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/stat.h>

using ReadError = std::function<QString(const QString& path)>;
Q_DECLARE_METATYPE(ReadError)

class OperatorFilesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void aNamedPipeIsRefusedWithoutBlocking_data()
    {
        QTest::addColumn<ReadError>("read");
        QTest::newRow("list of names")
            << ReadError([](const QString& path) { return readNameListFile(path).error; });
        QTest::newRow("RFID tags and names") << ReadError([](const QString& path) {
            TagNameMap tags;
            return ImportTagNameFile(path, tags).error;
        });
        QTest::newRow("gate session") << ReadError([](const QString& path) {
            QString error;
            session::ReadSessionFile(path, &error);
            return error;
        });
        QTest::newRow("simulator script") << ReadError([](const QString& path) {
            QString error;
            sim::LoadEventScript(path, &error);
            return error;
        });
    }
    void aNamedPipeIsRefusedWithoutBlocking()
    {
        QFETCH(ReadError, read);
        const QString path = dir.filePath(QStringLiteral("pipe-%1").arg(QTest::currentDataTag()));
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        FifoUnblock unblock(path, std::chrono::seconds(2));
        const QString error = read(path);
        QVERIFY2(!unblock.Stop(), "the reader blocked on the pipe");
        QVERIFY2(error.contains(QStringLiteral("it is a named pipe, not a file")), qPrintable(error));
    }

    // Line numbers count every line of the file, empty ones included.
    void controlCharactersSkipTheLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("skipped");
        QTest::newRow("none; a tab is kept")
            << QByteArray("Ann\tLee\nBo\n") << QStringList{"Ann\tLee", "Bo"} << "";
        QTest::newRow("NUL") << QByteArray("Ann\nB\0b\nCy\n", 11) << QStringList{"Ann", "Cy"}
                             << "1 line holds control characters and was skipped (line 2)";
        QTest::newRow("escape sequence and DEL, after an empty line")
            << QByteArray("\x1b[31mRed\n\nAnn\nDel\x7f\n") << QStringList{"Ann"}
            << "2 lines hold control characters and were skipped (lines 1, 4)";
        QTest::newRow("CR inside a line; CR LF ends are fine")
            << QByteArray("Ann\r\nA\rB\r\nBo\r\n") << QStringList{"Ann", "Bo"}
            << "1 line holds control characters and was skipped (line 2)";
        QTest::newRow("C1 control in a Latin-1 file")
            << QByteArray("J\xf6rg\nNe\x85xt\n") << QStringList{QString::fromUtf8("J\xc3\xb6rg")}
            << "1 line holds control characters and was skipped (line 2)";
    }
    void controlCharactersSkipTheLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QFETCH(QString, skipped);
        const QString path = write(QStringLiteral("names.txt"), bytes);
        const NameListRead read = readNameListFile(path);
        QCOMPARE(read.text.lines, names);
        QCOMPARE(read.text.skipReason(), skipped);
        const QString note = nameListImportNoteText(path, read.text);
        QCOMPARE(note.isEmpty(), skipped.isEmpty());
        QVERIFY2(note.contains(skipped), qPrintable(note));
    }

    void tagLinesWithControlCharactersAreSkipped()
    {
        TagNameMap tags;
        const QString path = write(QStringLiteral("tags.csv"), "T1,Ann\nT2,B\x1b"
                                                               "b\n");
        const TagFileImport imported = ImportTagNameFile(path, tags);
        QCOMPARE(tags, (TagNameMap{{"T1", "Ann"}}));
        const QString note = TagImportNoteText(path, imported);
        QVERIFY2(note.contains(QStringLiteral("was skipped (line 2)")), qPrintable(note));
    }

    void aHugeTagFileIsRefusedUnread()
    {
        const QString path = dir.filePath(QStringLiteral("huge.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(16 * 1024 * 1024 + 1));
        file.close();
        TagNameMap tags;
        const TagFileImport result = ImportTagNameFile(path, tags);
        QVERIFY(!result.opened);
        QCOMPARE(result.error, QString("the file is 16 MB; a tag/name list is at most 16 MB"));
    }
};

QTEST_GUILESS_MAIN(OperatorFilesTest)
#include "test_operator_files.moc"
