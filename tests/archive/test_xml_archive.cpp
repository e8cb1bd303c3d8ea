#include "archive/QXmlArchive.h"
#include "archive/XmlNesting.h"
#include "support/TraceOn.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <limits>

#include <sys/stat.h>

class XmlArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString PathOf(const char* name) const { return dir.filePath(name); }

    static bool WriteAll(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    }
    static quint64 Bits(double value)
    {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }

private slots:
    void doublesSurviveBitForBit_data()
    {
        QTest::addColumn<double>("value");
        for (double value : {0.1, -0.0, 1e-300, std::numeric_limits<double>::infinity()})
            QTest::newRow(qPrintable(QString::number(value))) << value;
        double nan = 0;
        const quint64 payload = 0xfff0000000abcdefull;
        std::memcpy(&nan, &payload, sizeof nan);
        QTest::newRow("NaN payload") << nan;
    }
    void doublesSurviveBitForBit()
    {
        QFETCH(double, value);
        QXmlArchive saved;
        saved.SetValue("Value", value);
        saved.SetValue("After", 2u);
        QVERIFY(saved.SaveFile(PathOf("double.xml")));
        QXmlArchive loaded;
        double read = 42.0;
        unsigned after = 0; // the comment written after a double must not hide the next value
        QVERIFY(loaded.LoadFile(PathOf("double.xml")) && loaded.GetValue("Value", read) &&
                loaded.GetValue("After", after));
        QCOMPARE(Bits(read), Bits(value));
        QCOMPARE(after, 2u);
    }

    // Anything but eight hexadecimal byte tokens leaves the variable as it was.
    void malformedDoubleIsNotRead()
    {
        QXmlArchive archive;
        QVERIFY(WriteAll(PathOf("seven.xml"),
                         "<Configuration><D> 00  00  00  00  00  f0  3f </D></Configuration>"));
        QVERIFY(archive.LoadFile(PathOf("seven.xml")));
        double value = 7.25;
        QVERIFY(!archive.GetValue("D", value));
        QCOMPARE(value, 7.25);
    }

    // Files written elsewhere: line ends of every kind, Latin-1 text, bytes after a NUL.
    void loadsWhatOtherEditorsWrite_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("LF") << QByteArray(
                                   "<Configuration>\n<S>\n<N>Caf\xc3\xa9</N>\n</S>\n</Configuration>\n")
                            << QString::fromUtf8("Caf\xc3\xa9");
        QTest::newRow("CR LF")
            << QByteArray("<Configuration>\r\n<S>\r\n<N>Run A</N>\r\n</S>\r\n</Configuration>\r\n")
            << "Run A";
        QTest::newRow("CR") << QByteArray("<Configuration>\r<S>\r<N>Run A</N>\r</S>\r</Configuration>\r")
                            << "Run A";
        QTest::newRow("Latin-1") << QByteArray("<Configuration><S><N>Caf\xe9</N></S></Configuration>")
                                 << QString::fromUtf8("Caf\xc3\xa9");
        QTest::newRow("NUL, then junk")
            << QByteArray("<Configuration><S><N>Run A</N></S></Configuration>\0<<<", 54) << "Run A";
    }
    void loadsWhatOtherEditorsWrite()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QVERIFY(WriteAll(PathOf("other.xml"), content));
        QXmlArchive archive;
        QString read;
        QVERIFY(archive.LoadFile(PathOf("other.xml")) && archive.GetSection("S") &&
                archive.GetValue("N", read));
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
        QCOMPARE(QList<unsigned>({a, b, v}), QList<unsigned>({1, 2, 4}));
        loaded.SetValue("Added", 6u);
        QVERIFY(loaded.GetValue("Added", added));
        QCOMPARE(added, 6u);

        QXmlArchive saving; // adding a section again enters the older one
        QVERIFY(saving.AddSection("S"));
        saving.SetValue("First", 1u);
        saving.LeaveSection();
        saving.SetValue("Between", 2u);
        QVERIFY(saving.AddSection("S"));
        saving.SetValue("First", 3u);
        saving.LeaveSection();
        QVERIFY(saving.SaveFile(PathOf("twice.xml")));
        QFile saved(PathOf("twice.xml"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("<?xml version=\"1.0\" ?>\n<Configuration>\n    <S>\n"
                                             "        <First>1</First>\n        <First>3</First>\n    </S>\n"
                                             "    <Between>2</Between>\n    <S />\n</Configuration>\n"));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error");
        QVERIFY(WriteAll(PathOf("bad.xml"), "<Configuration><A>1</A>"));
        // Parsing recurses once per level: a damaged or hostile file must not exhaust the stack.
        const int deep = 200000;
        QVERIFY(WriteAll(PathOf("deep.xml"), "<Configuration>" + QByteArray("<A>").repeated(deep) +
                                                 QByteArray("</A>").repeated(deep) + "</Configuration>"));
        QVERIFY(WriteAll(PathOf("deep-open.xml"), "<Configuration>" + QByteArray("<A x='>'>").repeated(deep)));
        QTest::newRow("missing") << PathOf("missing.xml") << "Failed to open file";
        QTest::newRow("directory") << dir.path() << "Failed to open file";
        QTest::newRow("malformed") << PathOf("bad.xml") << "Error reading Element value.";
        QTest::newRow("nested too deeply") << PathOf("deep.xml") << "Elements nested too deeply";
        QTest::newRow("nested too deeply, unclosed") << PathOf("deep-open.xml") << "Elements nested too deeply";
    }
    void loadFailures()
    {
        QFETCH(QString, path);
        QFETCH(QString, error);
        const TraceOn trace;
        QTest::ignoreMessage(QtDebugMsg, qPrintable("Failed to open file :" + path + "\nError :" + error));
        QXmlArchive archive;
        QVERIFY(!archive.LoadFile(path));
        unsigned n = 5; // no cursor into a released document is left behind
        QVERIFY(!archive.GetSection("A") && !archive.GetValue("A", n));
        QCOMPARE(n, 5u);
    }

    // Markup that does not open an element must neither count nor hide the elements that do.
    void nestingDepth_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("depth");
        QTest::newRow("run file") << QByteArray("<?xml version=\"1.0\" ?><Configuration><GateSequence>"
                                                "<Gate_0><GateNumber>1</GateNumber></Gate_0><!-- x -->"
                                                "</GateSequence></Configuration>")
                                  << 4;
        QTest::newRow("self-closing") << QByteArray("<a><b/><c /></a>") << 1;
        QTest::newRow("comment") << QByteArray("<a><!-- <b><c></d> --><b></b></a>") << 2;
        QTest::newRow("cdata") << QByteArray("<a><![CDATA[ <b><c> ]]></a>") << 1;
        QTest::newRow("quoted closers") << QByteArray("<a x='/>' y=\"</a>\"><b z='>'><c>") << 3;
        QTest::newRow("closing first") << QByteArray("</a></b><a>") << 1;
    }
    void nestingDepth()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, depth);
        QCOMPARE(XmlNestingDepth(text), depth);
    }

    // A save fails unless every byte reached the disk, and never replaces what it could not write.
    void saveFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("full disk") << "/dev/full";
        QTest::newRow("missing parent") << PathOf("no/such/folder/x.xml");
    }
    void saveFailures()
    {
        QFETCH(QString, path);
        const TraceOn trace;
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression("^SaveFile \"" + QRegularExpression::escape(path) +
                                                "\"failed with error :.+"));
        QVERIFY(!QXmlArchive().SaveFile(path));
        struct stat info = {};
        QVERIFY(stat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode));
    }
};

QTEST_GUILESS_MAIN(XmlArchiveTest)
#include "test_xml_archive.moc"
