#include "archive/QXmlArchive.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <limits>

#include <sys/stat.h>

namespace {

QStringList captured;
QtMessageHandler previousHandler = nullptr;

void Capture(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    captured.append(message);
    previousHandler(type, context, message);
}

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

quint64 Bits(double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

class XmlArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString PathOf(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Loads `content` written by hand; the archive is then positioned at the root.
    bool LoadText(QXmlArchive& archive, const QByteArray& content)
    {
        return WriteAll(PathOf("hand.xml"), content) && archive.LoadFile(PathOf("hand.xml"));
    }

private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(Capture); }
    void init() { captured.clear(); }

    void newArchiveIsDeclarationAndEmptyRoot()
    {
        QVERIFY(QXmlArchive().SaveFile(PathOf("empty.xml")));
        QCOMPARE(ReadAll(PathOf("empty.xml")), QByteArray("<?xml version=\"1.0\" ?>\n<Configuration />\n"));
    }

    void printsExactlyAsTinyXmlsOwnSaveFile()
    {
        QXmlArchive archive;
        QVERIFY(archive.AddSection("Outer"));
        archive.SetValue("Text", "a < b & \"c\" > 'd'");
        archive.SetValue("One", 1.0);
        QVERIFY(archive.AddSection("Empty"));
        archive.LeaveSection();
        archive.SetValue("Count", 7u);
        QVERIFY(archive.SaveFile(PathOf("ours.xml")));
        QVERIFY(ReadAll(PathOf("ours.xml"))
                    .contains("    <One> 00  00  00  00  00  00  f0  3f </One>\n"
                              "        <!-- One value: 1 -->\n"));

        TiXmlBase::SetCondenseWhiteSpace(false); // reparse keeping every blank
        TiXmlDocument reference;
        const bool parsed = reference.LoadFile(QFile::encodeName(PathOf("ours.xml")).constData());
        TiXmlBase::SetCondenseWhiteSpace(true);
        QVERIFY(parsed && reference.SaveFile(QFile::encodeName(PathOf("theirs.xml")).constData()));
        QCOMPARE(ReadAll(PathOf("ours.xml")), ReadAll(PathOf("theirs.xml")));
    }

    void doublesSurviveBitForBit_data()
    {
        QTest::addColumn<quint64>("bits");
        for (double value :
             {0.0, -0.0, 1.0, 0.1, 1e-300, std::numeric_limits<double>::denorm_min(),
              std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()})
            QTest::newRow(qPrintable(QString::number(value))) << Bits(value);
        QTest::newRow("NaN payload") << quint64(0x7ff8000000000123ull);
        QTest::newRow("negative NaN payload") << quint64(0xfff0000000abcdefull);
    }
    void doublesSurviveBitForBit()
    {
        QFETCH(quint64, bits);
        double written = 0;
        std::memcpy(&written, &bits, sizeof written);
        QXmlArchive saved;
        saved.SetValue("Before", 1u);
        saved.SetValue("Value", written);
        saved.SetValue("After", 2u);
        QVERIFY(saved.SaveFile(PathOf("double.xml")));
        QXmlArchive loaded;
        QVERIFY(loaded.LoadFile(PathOf("double.xml")));
        double read = 42.0;
        unsigned before = 0, after = 0; // the comment must not disturb the neighbours
        QVERIFY(loaded.GetValue("Value", read) && loaded.GetValue("Before", before) &&
                loaded.GetValue("After", after));
        QCOMPARE(Bits(read), bits);
        QCOMPARE(before + after, 3u);
    }

    void malformedDoubleLeavesVariableUntouched_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray("<D/>");
        QTest::newRow("seven tokens") << QByteArray("<D> 00  00  00  00  00  f0  3f </D>");
        QTest::newRow("not hex") << QByteArray("<D>00 00 00 00 00 00 g0 3f</D>");
        QTest::newRow("missing") << QByteArray("<E/>");
    }
    void malformedDoubleLeavesVariableUntouched()
    {
        QFETCH(QByteArray, text);
        QXmlArchive archive;
        QVERIFY(LoadText(archive, "<Configuration>" + text + "</Configuration>"));
        double value = 7.25;
        QVERIFY(!archive.GetValue("D", value));
        QCOMPARE(value, 7.25);
    }

    void unsignedDecoding_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<uint>("asUInt");
        QTest::addColumn<uint>("asUShort");
        QTest::newRow("16-bit max") << QByteArray("65535") << 65535u << 65535u;
        QTest::newRow("above 16 bits") << QByteArray("65536") << 65536u << 0u;
        QTest::newRow("above 32 bits") << QByteArray("4294967296") << 0u << 0u;
        QTest::newRow("not a number") << QByteArray("abc") << 0u << 0u;
        QTest::newRow("empty") << QByteArray("") << 0u << 0u;
    }
    void unsignedDecoding()
    {
        QFETCH(QByteArray, text);
        QFETCH(uint, asUInt);
        QFETCH(uint, asUShort);
        QXmlArchive archive;
        QVERIFY(LoadText(archive, "<Other><N>" + text + "</N></Other>")); // any root name loads
        unsigned int wide = 99;
        unsigned short narrow = 99;
        QVERIFY(archive.GetValue("N", wide) && archive.GetValue("N", narrow));
        QCOMPARE(wide, asUInt);
        QCOMPARE(uint(narrow), asUShort);
    }

    void latin1FileStillLoads()
    {
        QXmlArchive archive;
        QVERIFY(LoadText(
            archive,
            "<?xml version=\"1.0\" ?>\n<Configuration><Name>Caf\xe9</Name><N>5</N></Configuration>"));
        QString name;
        unsigned n = 0;
        QVERIFY(archive.GetValue("Name", name) && archive.GetValue("N", n));
        QCOMPARE(name, QStringLiteral("Caf\u00e9"));
        QCOMPARE(n, 5u);
    }

    void misuseIsTracedAndNeverFatal()
    {
        QXmlArchive archive;
        archive.SetValue("N", 1u);
        archive.SetValue("N", 2u); // both kept, the first is read
        std::string text;
        QVERIFY(!archive.GetValue("T", text));
        unsigned n = 0;
        QVERIFY(archive.GetValue("N", n));
        QCOMPARE(n, 1u);
        archive.LeaveSection(); // leaving the root: invalid state
        QVERIFY(!archive.AddSection("S"));
        QVERIFY(!archive.GetValue("N", n));
        QCOMPARE(captured,
                 (QStringList{
                     QStringLiteral("ERROR! CXmlArchive. An element of name: N  already exists\n"),
                     QStringLiteral("ERROR! CXmlArchive. \"Getting\" value in Save operation. Element: T\n"),
                     QStringLiteral("ERROR! CXmlArchive. The document is in an invalid state\n")}));
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("content"); // not written when empty
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << PathOf("missing.xml") << QByteArray()
                                 << QStringLiteral("Failed to open file");
        QTest::newRow("directory") << dir.path() << QByteArray() << QStringLiteral("Failed to open file");
        QTest::newRow("malformed") << PathOf("bad.xml") << QByteArray("<Configuration><A>1</A>")
                                   << QStringLiteral("Error reading Element value.");
    }
    void loadFailures()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QVERIFY(content.isEmpty() || WriteAll(path, content));
        QXmlArchive archive;
        QVERIFY(!archive.LoadFile(path));
        QCOMPARE(captured, QStringList{QStringLiteral("Failed to open file :") + path +
                                       QStringLiteral("\nError :") + error});
        unsigned n = 5; // no cursor into a released document is left behind
        QVERIFY(!archive.GetSection("A") && !archive.GetValue("A", n));
        QCOMPARE(n, 5u);
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("full disk") << QStringLiteral("/dev/full");
        QTest::newRow("missing parent") << PathOf("no/such/folder/x.xml");
        QTest::newRow("through a regular file") << PathOf("empty.xml/x.xml");
        QTest::newRow("directory") << dir.path();
    }
    void saveFailures()
    {
        QFETCH(QString, path);
        QVERIFY(QXmlArchive().SaveFile(PathOf("empty.xml")));
        captured.clear();
        QVERIFY(!QXmlArchive().SaveFile(path));
        QCOMPARE(captured.size(), 1);
        QVERIFY(captured[0].startsWith(QStringLiteral("SaveFile \"") + path +
                                       QStringLiteral("\"failed with error :")));
        struct stat info = {};
        QVERIFY(stat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode)); // never replaced by a regular file
    }
};

QTEST_GUILESS_MAIN(XmlArchiveTest)
#include "test_xml_archive.moc"
