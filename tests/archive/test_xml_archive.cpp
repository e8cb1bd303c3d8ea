#include "archive/QXmlArchive.h"
#include "archive/XmlNesting.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QtTest>

#include <cstring>
#include <tuple>

class XmlArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // `levels` elements deep counting the root, with the value N in section S at the top.
    static QByteArray Nested(int levels, bool closed = true)
    {
        const QByteArray open = QByteArray("<A>").repeated(levels - 2);
        return "<Configuration><S><N>deep</N>" + open +
               (closed ? QByteArray("</A>").repeated(levels - 2) + "</S></Configuration>" : QByteArray());
    }

private slots:
    // Saved least significant byte first and read back bit for bit, the comment after a value hiding
    // nothing; other writers' tokens of one digit or upper case read too. Anything but eight tokens of
    // one or two hexadecimal digits leaves the variable as it was.
    void doubles()
    {
        const std::tuple<QString, quint64, bool> cases[] = {
            // bits 0: refused; saved: what saving them writes
            {" 9a  99  99  99  99  99  b9  3f ", 0x3fb999999999999aull, true}, // 0.1
            {" 00  00  00  00  00  00  00  80 ", 0x8000000000000000ull, true}, // -0.0
            {" ef  cd  ab  00  00  00  f0  ff ", 0xfff0000000abcdefull, true}, // NaN with a payload
            {"0 0 0 0 0 0\tF0\t3F", 0x3ff0000000000000ull, false},             // upper case, tabs
            {" 00  00  00  00  00  f0  3f ", 0, false},                        // seven tokens
            {" 00  00  00  00  00  00  f0  3f  00 ", 0, false},                // nine tokens
            {"00 00 00 00 00 00 0f0 3f", 0, false},                            // three digits
            {"00 00 00 00 00 00 g0 3f", 0, false}};                            // not hexadecimal
        const QString path = dir.filePath("double.xml");
        for (const auto& [text, bits, saved] : cases) {
            double expected = 7.25; // what a refused text leaves
            if (bits)
                std::memcpy(&expected, &bits, sizeof expected);
            QXmlArchive archive, loaded;
            if (saved) {
                archive.SetValue("D", expected);
                archive.SetValue("After", 2u);
                QVERIFY(archive.SaveFile(path) && ReadAll(path).contains("<D>" + text.toLatin1() + "</D>"));
            } else {
                QVERIFY(WriteAll(path, "<Configuration><D>" + text.toLatin1() +
                                           "</D><After>2</After></Configuration>"));
            }
            double read = 7.25;
            unsigned after = 0;
            QVERIFY(loaded.LoadFile(path) && loaded.GetValue("After", after) && after == 2);
            QVERIFY2(loaded.GetValue("D", read) == (bits != 0), qPrintable(text));
            QVERIFY2(std::memcmp(&read, &expected, sizeof read) == 0, qPrintable(text)); // bit for bit
        }
    }

    // Files written elsewhere load with their text intact; the rest are refused, leaving no cursor.
    void loads()
    {
        const QString cafe = QString::fromUtf8("Caf\xc3\xa9"), refused; // N in section S; null: refused
        const std::tuple<const char*, QByteArray, QString> files[] = {
            {"LF, UTF-8", "<Configuration>\n<S>\n<N>Caf\xc3\xa9</N>\n</S>\n</Configuration>\n", cafe},
            {"CR LF", "<Configuration>\r\n<S>\r\n<N>Caf\xc3\xa9</N>\r\n</S>\r\n</Configuration>\r\n", cafe},
            {"CR", "<Configuration>\r<S>\r<N>Caf\xc3\xa9</N>\r</S>\r</Configuration>\r", cafe},
            // Latin-1 parsed as UTF-8 would swallow the markup after the accented letter.
            {"Latin-1", "<?xml version=\"1.0\" ?><Configuration><S><N>Caf\xe9</N></S></Configuration>", cafe},
            {"other root, NUL, then junk", "<R><S><N>Caf\xc3\xa9</N></S></R>" + QByteArray(1, 0) + "<<<",
             cafe},
            {"256 deep", Nested(256), "deep"},
            {"257 deep", Nested(257), refused},
            {"257 deep, unclosed", Nested(257, false), refused},
            {"malformed", "<Configuration><A>1</A>", refused},
            {"missing", QByteArray(), refused},
            {"", QByteArray(), refused}}; // the folder itself
        for (const auto& [row, content, name] : files) {
            const QString path = dir.filePath(row);
            QVERIFY(content.isNull() || WriteAll(path, content));
            QXmlArchive archive;
            QString read;
            QVERIFY2(archive.LoadFile(path) == !name.isNull(), row);
            QVERIFY2((archive.GetSection("S") && archive.GetValue("N", read)) == !name.isNull(), row);
            QCOMPARE(read, name);
        }
    }

    // Found by name in any order; of two with one name the first counts, also among those appended
    // after a search, so a section added again appends an empty one and enters the older.
    void sameNames()
    {
        const QString path = dir.filePath("names.xml");
        QVERIFY(WriteAll(path, "<Configuration><S><B>2</B><A>1</A><B>3</B></S></Configuration>"));
        QXmlArchive archive;
        unsigned a = 0, b = 0, added = 0;
        QVERIFY(archive.LoadFile(path) && archive.GetSection("S") && archive.GetValue("B", b) && b == 2);
        QVERIFY(archive.GetValue("A", a) && a == 1);
        QVERIFY(!archive.GetSection("U"));
        archive.SetValue("Added", 6u);
        QVERIFY(archive.GetValue("Added", added) && added == 6);
        archive.LeaveSection();
        QVERIFY(archive.AddSection("S"));
        archive.SetValue("Added", 7u);
        QVERIFY(archive.SaveFile(path));
        QCOMPARE(ReadAll(path),
                 "<Configuration>\n    <S>\n        <B>2</B>\n        "
                 "<A>1</A>\n        <B>3</B>\n        <Added>6</Added>\n        <Added>7</Added>\n"
                 "    </S>\n    <S />\n</Configuration>\n");
    }

    // Markup that does not open an element must neither count nor hide the elements that do.
    void nestingDepth()
    {
        const std::pair<QByteArray, int> cases[] = {{"<?xml version=\"1.0\" ?><a><b/><c /></a>", 1},
                                                    {"<a><!-- <b><c></d> --><b></b></a>", 2},
                                                    {"<a><![CDATA[ <b><c> ]]></a>", 1},
                                                    {"<!DOCTYPE a><a><b></b></a>", 2},
                                                    {"<a x='/>' y=\"</a>\"><b z='>'><c>", 3},
                                                    {"</a></b><a>", 1}};
        for (const auto& [text, depth] : cases)
            QCOMPARE(XmlNestingDepth(text), depth);
    }

    // A save fails, saying why, unless every byte reached the disk, and never replaces what it could
    // not write: not a file it saves over, not a device.
    void saveFailures()
    {
        const QString kept = dir.filePath("kept.xml");
        const std::pair<QString, const char*> cases[] = {
            {"/dev/full", "No space left on device"},
            {dir.filePath("no/such/x.xml"), "No such file or directory"},
            {dir.path(), "Is a directory"},
            {kept, "File too large"}}; // over a file, disk full
        for (const auto& [path, reason] : cases) {
            QVERIFY(WriteAll(kept, "<Configuration/>"));
            QXmlArchive archive;
            archive.SetValue("Text", std::string(100, 'x'));
            QString error;
            {
                FileSizeLimit full(50); // less than the document
                QVERIFY(!archive.SaveFile(path, &error));
            }
            QVERIFY2(error.contains(reason), qPrintable(error));
            QCOMPARE(ReadAll(kept), "<Configuration/>");
        }
        QVERIFY(!QFileInfo("/dev/full").isFile());
    }
};

QTEST_GUILESS_MAIN(XmlArchiveTest)
#include "test_xml_archive.moc"
