#include "archive/QXmlArchive.h"
#include "archive/XmlNesting.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <tuple>

class XmlArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString PathOf(const char* name) const { return dir.filePath(name); }

    static quint64 Bits(double value)
    {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }
    // `levels` elements deep counting the root, with the value N in section S at the top.
    static QByteArray Nested(int levels, bool closed = true)
    {
        const QByteArray open = QByteArray("<A>").repeated(levels - 2);
        return "<Configuration><S><N>deep</N>" + open +
               (closed ? QByteArray("</A>").repeated(levels - 2) + "</S></Configuration>" : QByteArray());
    }

private slots:
    // Written least significant byte first, read back bit for bit; the comment after a value must not
    // hide the next one.
    void doubles_data()
    {
        QTest::addColumn<quint64>("bits");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("1.0") << 0x3ff0000000000000ull << QByteArray(" 00  00  00  00  00  00  f0  3f ");
        QTest::newRow("0.1") << 0x3fb999999999999aull << QByteArray(" 9a  99  99  99  99  99  b9  3f ");
        QTest::newRow("-0.0") << 0x8000000000000000ull << QByteArray(" 00  00  00  00  00  00  00  80 ");
        QTest::newRow("infinity") << 0x7ff0000000000000ull << QByteArray(" 00  00  00  00  00  00  f0  7f ");
        QTest::newRow("NaN payload") << 0xfff0000000abcdefull
                                     << QByteArray(" ef  cd  ab  00  00  00  f0  ff ");
    }
    void doubles()
    {
        QFETCH(quint64, bits);
        QFETCH(QByteArray, text);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        QXmlArchive saved;
        saved.SetValue("Value", value);
        saved.SetValue("After", 2u);
        QVERIFY(saved.SaveFile(PathOf("double.xml")));
        QVERIFY(ReadAll(PathOf("double.xml")).contains("<Value>" + text + "</Value>"));
        QXmlArchive loaded;
        double read = 42.0;
        unsigned after = 0;
        QVERIFY(loaded.LoadFile(PathOf("double.xml")) && loaded.GetValue("Value", read) &&
                loaded.GetValue("After", after));
        QCOMPARE(Bits(read), bits);
        QCOMPARE(after, 2u);
    }

    // Other writers' texts: tokens of one digit or upper case read; anything but eight hexadecimal
    // tokens leaves the variable as it was.
    void doubleTexts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("read");
        QTest::newRow("upper case, tabs") << QByteArray("0 0 0 0 0 0\tF0\t3F") << 1.0;
        QTest::newRow("seven tokens") << QByteArray(" 00  00  00  00  00  f0  3f ") << 7.25;
        QTest::newRow("three digits") << QByteArray("00 00 00 00 00 00 0f0 3f") << 7.25;
        QTest::newRow("not hexadecimal") << QByteArray("00 00 00 00 00 00 g0 3f") << 7.25;
    }
    void doubleTexts()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, read);
        QVERIFY(WriteAll(PathOf("d.xml"), "<Configuration><D>" + text + "</D></Configuration>"));
        QXmlArchive archive;
        const double before = 7.25;
        double value = before;
        QVERIFY(archive.LoadFile(PathOf("d.xml")));
        QCOMPARE(archive.GetValue("D", value), read != before);
        QCOMPARE(value, read);
    }

    // Files written elsewhere load with their text intact; the rest are refused, leaving no cursor.
    void loads_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("name"); // N in section S
        const QString cafe = QString::fromUtf8("Caf\xc3\xa9"), refused;
        const std::tuple<const char*, QByteArray, QString> files[] = {
            {"LF, UTF-8", "<Configuration>\n<S>\n<N>Caf\xc3\xa9</N>\n</S>\n</Configuration>\n", cafe},
            {"CR LF", "<Configuration>\r\n<S>\r\n<N>Caf\xc3\xa9</N>\r\n</S>\r\n</Configuration>\r\n", cafe},
            {"CR", "<Configuration>\r<S>\r<N>Caf\xc3\xa9</N>\r</S>\r</Configuration>\r", cafe},
            // Latin-1 parsed as UTF-8 would swallow the markup after the accented letter.
            {"Latin-1", "<Configuration><S><N>Caf\xe9</N></S></Configuration>", cafe},
            {"other root, NUL, then junk", "<R><S><N>Caf\xc3\xa9</N></S></R>" + QByteArray(1, 0) + "<<<",
             cafe},
            {"256 deep", Nested(256), "deep"},
            {"257 deep", Nested(257), refused},
            {"257 deep, unclosed", Nested(257, false), refused},
            {"malformed", "<Configuration><A>1</A>", refused}};
        for (const auto& [row, content, name] : files) {
            const QString path = dir.filePath(QString("load %1.xml").arg(row));
            QVERIFY(WriteAll(path, content));
            QTest::newRow(row) << path << !name.isNull() << name;
        }
        QTest::newRow("missing") << PathOf("missing.xml") << false << QString();
        QTest::newRow("folder") << dir.path() << false << QString();
    }
    void loads()
    {
        QFETCH(QString, path);
        QFETCH(bool, loads);
        QFETCH(QString, name);
        QXmlArchive archive;
        QString read;
        QCOMPARE(archive.LoadFile(path), loads);
        QCOMPARE(archive.GetSection("S") && archive.GetValue("N", read), loads);
        QCOMPARE(read, name);
    }

    // Sections and values are found by name in any order; of two with one name, the first counts,
    // also for elements appended after the section was first searched.
    void lookupByName()
    {
        QVERIFY(WriteAll(PathOf("lookup.xml"), "<Configuration><S><B>2</B><A>1</A><B>3</B>"
                                               "<T><V>4</V></T><T><V>5</V></T></S></Configuration>"));
        QXmlArchive loaded;
        unsigned a = 0, b = 0, v = 0, added = 0;
        QVERIFY(loaded.LoadFile(PathOf("lookup.xml")) && loaded.GetSection("S"));
        QVERIFY(loaded.GetValue("A", a) && loaded.GetValue("B", b));
        QVERIFY(loaded.GetSection("T") && loaded.GetValue("V", v));
        loaded.LeaveSection();
        QVERIFY(!loaded.GetSection("U"));
        loaded.SetValue("Added", 6u);
        QVERIFY(loaded.GetValue("Added", added));
        QCOMPARE(QList<unsigned>({a, b, v, added}), QList<unsigned>({1, 2, 4, 6}));

        QXmlArchive saving; // adding a section again enters the older one; the save replaces a file
        QVERIFY(saving.AddSection("S"));
        saving.SetValue("First", 1u);
        saving.LeaveSection();
        saving.SetValue("Between", 2u);
        QVERIFY(saving.AddSection("S"));
        saving.SetValue("First", 3u);
        QVERIFY(WriteAll(PathOf("twice.xml"), "older and longer than the new text, which must not keep it"));
        QVERIFY(saving.SaveFile(PathOf("twice.xml")));
        QCOMPARE(
            ReadAll(PathOf("twice.xml")),
            "<?xml version=\"1.0\" ?>\n<Configuration>\n    <S>\n        <First>1</First>\n"
            "        <First>3</First>\n    </S>\n    <Between>2</Between>\n    <S />\n</Configuration>\n");
    }

    // Markup that does not open an element must neither count nor hide the elements that do.
    void nestingDepth_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("depth");
        QTest::newRow("self-closing") << QByteArray("<?xml version=\"1.0\" ?><a><b/><c /></a>") << 1;
        QTest::newRow("comment") << QByteArray("<a><!-- <b><c></d> --><b></b></a>") << 2;
        QTest::newRow("cdata") << QByteArray("<a><![CDATA[ <b><c> ]]></a>") << 1;
        QTest::newRow("doctype") << QByteArray("<!DOCTYPE a><a><b></b></a>") << 2;
        QTest::newRow("quoted closers") << QByteArray("<a x='/>' y=\"</a>\"><b z='>'><c>") << 3;
        QTest::newRow("closing first") << QByteArray("</a></b><a>") << 1;
    }
    void nestingDepth()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, depth);
        QCOMPARE(XmlNestingDepth(text), depth);
    }

    // A save fails, saying why, unless every byte reached the disk, and never replaces what it could
    // not write.
    void saveFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full device") << "/dev/full" << QByteArray() << "No space left on device";
        QTest::newRow("missing parent")
            << PathOf("no/such/x.xml") << QByteArray() << "No such file or directory";
        QTest::newRow("folder") << dir.path() << QByteArray() << "Is a directory";
        QTest::newRow("over a file, disk full")
            << PathOf("kept.xml") << QByteArray("<Configuration/>") << "File too large";
    }
    void saveFailures()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, before);
        QFETCH(QString, reason);
        if (!before.isEmpty())
            QVERIFY(WriteAll(path, before));
        QXmlArchive archive;
        archive.SetValue("Text", std::string(100, 'x'));
        QString error;
        {
            FileSizeLimit full(50); // less than the document
            QVERIFY(!archive.SaveFile(path, &error));
        }
        QVERIFY2(error.contains(reason), qPrintable(error));
        if (!before.isEmpty())
            QCOMPARE(ReadAll(path), before);
        QVERIFY(!QFileInfo("/dev/full").isFile());
    }
};

QTEST_GUILESS_MAIN(XmlArchiveTest)
#include "test_xml_archive.moc"
