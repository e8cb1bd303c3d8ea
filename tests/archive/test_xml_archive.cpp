#include "archive/QXmlArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstdint>
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
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

std::uint64_t Bits(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double FromBits(std::uint64_t bits)
{
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

class XmlArchiveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString PathOf(const QString& name) const { return dir.filePath(name); }

    // Saves an archive and loads it back into `loaded`, entering the "S" section.
    void RoundTrip(QXmlArchive& saved, QXmlArchive& loaded)
    {
        const QString path = PathOf(QStringLiteral("roundtrip.xml"));
        QVERIFY(saved.SaveFile(path));
        QVERIFY(loaded.LoadFile(path));
        QVERIFY(loaded.GetSection("S"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        previousHandler = qInstallMessageHandler(Capture);
    }
    void init() { captured.clear(); }

    void newArchiveSavesDeclarationAndEmptyRoot()
    {
        QXmlArchive archive;
        QVERIFY(archive.SaveFile(PathOf(QStringLiteral("empty.xml"))));
        QCOMPARE(ReadAll(PathOf(QStringLiteral("empty.xml"))),
                 QByteArray("<?xml version=\"1.0\" ?>\n<Configuration />\n"));
    }

    void outputMatchesTinyXmlsOwnSaveFile()
    {
        QXmlArchive archive;
        QVERIFY(archive.AddSection("Outer"));
        archive.SetValue("Text", std::string("a < b & \"c\" > 'd'"));
        archive.SetValue("Distance", 12.5);
        QVERIFY(archive.AddSection("Empty"));
        archive.LeaveSection();
        QVERIFY(archive.AddSection("Inner"));
        archive.SetValue("Count", 7u);
        archive.LeaveSection();
        archive.LeaveSection();
        const QString ours = PathOf(QStringLiteral("ours.xml"));
        QVERIFY(archive.SaveFile(ours));

        // Reparse keeping every blank, then let TinyXML write the same document itself.
        TiXmlBase::SetCondenseWhiteSpace(false);
        TiXmlDocument reference;
        const bool parsed = reference.LoadFile(QFile::encodeName(ours).constData());
        TiXmlBase::SetCondenseWhiteSpace(true);
        QVERIFY(parsed);
        const QByteArray theirs = QFile::encodeName(PathOf(QStringLiteral("theirs.xml")));
        QVERIFY(reference.SaveFile(theirs.constData()));
        QCOMPARE(ReadAll(ours), ReadAll(QString::fromLocal8Bit(theirs)));
    }

    void doubleEncodingAndComment()
    {
        QXmlArchive archive;
        archive.SetValue("One", 1.0);
        archive.SetValue("Small", 1e-300);
        const QString path = PathOf(QStringLiteral("double.xml"));
        QVERIFY(archive.SaveFile(path));
        QCOMPARE(ReadAll(path), QByteArray("<?xml version=\"1.0\" ?>\n"
                                           "<Configuration>\n"
                                           "    <One> 00  00  00  00  00  00  f0  3f </One>\n"
                                           "    <!-- One value: 1 -->\n"
                                           "    <Small> 59  f3  f8  c2  1f  6e  a5  01 </Small>\n"
                                           "    <!-- Small value: 1e-300 -->\n"
                                           "</Configuration>\n"));
    }

    void doublesSurviveBitForBit_data()
    {
        QTest::addColumn<quint64>("bits");
        QTest::newRow("zero") << quint64(Bits(0.0));
        QTest::newRow("negative zero") << quint64(Bits(-0.0));
        QTest::newRow("one") << quint64(Bits(1.0));
        QTest::newRow("0.1") << quint64(Bits(0.1));
        QTest::newRow("1e-300") << quint64(Bits(1e-300));
        QTest::newRow("denormal") << quint64(Bits(std::numeric_limits<double>::denorm_min()));
        QTest::newRow("infinity") << quint64(Bits(std::numeric_limits<double>::infinity()));
        QTest::newRow("minus infinity") << quint64(Bits(-std::numeric_limits<double>::infinity()));
        QTest::newRow("NaN payload") << quint64(0x7ff8000000000123ull);
        QTest::newRow("negative NaN payload") << quint64(0xfff0000000abcdefull);
    }
    void doublesSurviveBitForBit()
    {
        QFETCH(quint64, bits);
        QXmlArchive saved;
        QVERIFY(saved.AddSection("S"));
        saved.SetValue("Before", 1u);
        saved.SetValue("Value", FromBits(bits));
        saved.SetValue("After", 2u);
        QXmlArchive loaded;
        RoundTrip(saved, loaded);
        double value = 42.0;
        QVERIFY(loaded.GetValue("Value", value));
        QCOMPARE(quint64(Bits(value)), bits);
        unsigned before = 0, after = 0; // the comment must not disturb the neighbours
        QVERIFY(loaded.GetValue("Before", before) && loaded.GetValue("After", after));
        QCOMPARE(before + after, 3u);
    }

    void malformedDoubleLeavesVariableUntouched_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("seven tokens") << QByteArray(" 00  00  00  00  00  f0  3f ");
        QTest::newRow("nine tokens") << QByteArray("00 00 00 00 00 00 f0 3f 00");
        QTest::newRow("not hex") << QByteArray("00 00 00 00 00 00 g0 3f");
        QTest::newRow("three digits") << QByteArray("00 00 00 00 00 00 100 3f");
        QTest::newRow("decimal") << QByteArray("1.5");
    }
    void malformedDoubleLeavesVariableUntouched()
    {
        QFETCH(QByteArray, text);
        const QString path = PathOf(QStringLiteral("baddouble.xml"));
        WriteAll(path, "<Configuration><D>" + text + "</D></Configuration>");
        QXmlArchive archive;
        QVERIFY(archive.LoadFile(path));
        double value = 7.25;
        QVERIFY(!archive.GetValue("D", value));
        QCOMPARE(value, 7.25);
    }

    void doubleAcceptsUpperCaseAndCondensedBlanks()
    {
        const QString path = PathOf(QStringLiteral("handdouble.xml"));
        WriteAll(path, "<Configuration><D>\n 0 0 0 0 0 0 F0\t3F </D></Configuration>");
        QXmlArchive archive;
        QVERIFY(archive.LoadFile(path));
        double value = 0;
        QVERIFY(archive.GetValue("D", value));
        QCOMPARE(value, 1.0);
    }

    void unsignedDecoding_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<uint>("asUInt");
        QTest::addColumn<uint>("asUShort");
        QTest::newRow("plain") << QByteArray("12") << 12u << 12u;
        QTest::newRow("16-bit max") << QByteArray("65535") << 65535u << 65535u;
        QTest::newRow("above 16 bits") << QByteArray("65536") << 65536u << 0u;
        QTest::newRow("32-bit max") << QByteArray("4294967295") << 4294967295u << 0u;
        QTest::newRow("above 32 bits") << QByteArray("4294967296") << 0u << 0u;
        QTest::newRow("not a number") << QByteArray("abc") << 0u << 0u;
        QTest::newRow("negative") << QByteArray("-1") << 0u << 0u;
        QTest::newRow("empty") << QByteArray("") << 0u << 0u;
        QTest::newRow("trailing junk") << QByteArray("42abc") << 42u << 42u;
    }
    void unsignedDecoding()
    {
        QFETCH(QByteArray, text);
        QFETCH(uint, asUInt);
        QFETCH(uint, asUShort);
        const QString path = PathOf(QStringLiteral("unsigned.xml"));
        WriteAll(path, "<Configuration><N>" + text + "</N></Configuration>");
        QXmlArchive archive;
        QVERIFY(archive.LoadFile(path));
        unsigned int wide = 99;
        unsigned short narrow = 99;
        QVERIFY(archive.GetValue("N", wide));
        QVERIFY(archive.GetValue("N", narrow));
        QCOMPARE(wide, asUInt);
        QCOMPARE(uint(narrow), asUShort);
    }

    void textValuesRoundTrip_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("read");
        QTest::newRow("markup") << QStringLiteral("<a & \"b\">") << QStringLiteral("<a & \"b\">");
        QTest::newRow("latin-1") << QStringLiteral("Caf\u00e9 M\u00fcller")
                                 << QStringLiteral("Caf\u00e9 M\u00fcller");
        QTest::newRow("beyond latin-1") << QStringLiteral("\u0141\u00f3d\u017a \u6771\u4eac")
                                        << QStringLiteral("\u0141\u00f3d\u017a \u6771\u4eac");
        QTest::newRow("blanks condensed") << QStringLiteral("  a   b  ") << QStringLiteral("a b");
        QTest::newRow("empty") << QString() << QString();
    }
    void textValuesRoundTrip()
    {
        QFETCH(QString, written);
        QFETCH(QString, read);
        QXmlArchive saved;
        QVERIFY(saved.AddSection("S"));
        saved.SetValue("Name", written);
        saved.SetValue("Bytes", written.toUtf8().toStdString());
        QXmlArchive loaded;
        RoundTrip(saved, loaded);
        QString name = QStringLiteral("preset");
        QVERIFY(loaded.GetValue("Name", name));
        QCOMPARE(name, read);
        std::string bytes;
        QVERIFY(loaded.GetValue("Bytes", bytes));
        QCOMPARE(QString::fromUtf8(bytes.c_str()), read);
    }

    void latin1FileStillLoads()
    {
        const QString path = PathOf(QStringLiteral("latin1.xml"));
        WriteAll(path, "<?xml version=\"1.0\" ?>\n<Configuration>\n    <Name>Caf\xe9 \xdf</Name>\n"
                       "    <N>5</N>\n</Configuration>\n");
        QXmlArchive archive;
        QVERIFY(archive.LoadFile(path));
        QString name;
        unsigned n = 0;
        QVERIFY(archive.GetValue("Name", name));
        QVERIFY(archive.GetValue("N", n));
        QCOMPARE(name, QStringLiteral("Caf\u00e9 \u00df"));
        QCOMPARE(n, 5u);
    }

    void missingValuesKeepDefaults()
    {
        QXmlArchive saved;
        QVERIFY(saved.AddSection("S"));
        QXmlArchive loaded;
        RoundTrip(saved, loaded);
        std::string text = "t";
        QString qtext = QStringLiteral("q");
        unsigned wide = 1;
        unsigned short narrow = 2;
        double value = 3.5;
        QVERIFY(!loaded.GetValue("X", text));
        QVERIFY(!loaded.GetValue("X", qtext));
        QVERIFY(!loaded.GetValue("X", wide));
        QVERIFY(!loaded.GetValue("X", narrow));
        QVERIFY(!loaded.GetValue("X", value));
        QVERIFY(text == "t" && qtext == QStringLiteral("q") && wide == 1 && narrow == 2 && value == 3.5);
    }

    void leavingTheRootMakesTheArchiveInvalid()
    {
        QXmlArchive archive;
        archive.LeaveSection();
        QVERIFY(!archive.IsValid());
        QVERIFY(!archive.AddSection("S"));
        archive.SetValue("N", 1u);
        unsigned n = 9;
        QVERIFY(!archive.GetValue("N", n));
        QCOMPARE(n, 9u);
        QCOMPARE(captured.count(QStringLiteral("ERROR! CXmlArchive. The document is in an invalid state\n")),
                 2);
        archive.NewDocument();
        QVERIFY(archive.IsValid());
        QVERIFY(archive.AddSection("S"));
    }

    void nameWrittenTwiceKeepsBothAndReadsTheFirst()
    {
        QXmlArchive saved;
        QVERIFY(saved.AddSection("S"));
        saved.SetValue("N", 1u);
        saved.SetValue("N", 2u);
        QVERIFY(
            captured.contains(QStringLiteral("ERROR! CXmlArchive. An element of name: N  already exists\n")));
        QVERIFY(saved.AddSection("Sub"));
        saved.SetValue("A", 1u);
        saved.LeaveSection();
        QVERIFY(saved.AddSection("Sub")); // enters the older "Sub"
        saved.SetValue("B", 2u);
        saved.LeaveSection();
        QXmlArchive loaded;
        RoundTrip(saved, loaded);
        unsigned n = 0, a = 0, b = 0;
        QVERIFY(loaded.GetValue("N", n));
        QCOMPARE(n, 1u);
        QVERIFY(loaded.GetSection("Sub"));
        QVERIFY(loaded.GetValue("A", a) && loaded.GetValue("B", b));
    }

    void directionChecksTraceAndGoOn()
    {
        QXmlArchive saving;
        std::string text;
        saving.SetValue("T", std::string("x"));
        QVERIFY(saving.GetValue("T", text));
        QCOMPARE(text, std::string("x"));
        QVERIFY(captured.contains(
            QStringLiteral("ERROR! CXmlArchive. \"Getting\" value in Save operation. Element: T\n")));

        const QString path = PathOf(QStringLiteral("direction.xml"));
        QVERIFY(saving.SaveFile(path));
        QXmlArchive loading;
        QVERIFY(loading.LoadFile(path));
        loading.SetValue("U", 3u);
        QVERIFY(captured.contains(
            QStringLiteral("ERROR! CXmlArchive. \"Setting\" value in Load operation. Element: U\n")));
        unsigned u = 0;
        QVERIFY(loading.GetValue("U", u));
        QCOMPARE(u, 3u);
        captured.clear();
        QVERIFY(!loading.GetSection("Nope"));
        QCOMPARE(captured, QStringList{QStringLiteral("GetSection Nope.  CurrentSection: Configuration\n")});
    }

    void anyRootNameLoads()
    {
        const QString path = PathOf(QStringLiteral("root.xml"));
        WriteAll(path, "<Other><N>4</N></Other>");
        QXmlArchive archive;
        QVERIFY(archive.LoadFile(path));
        unsigned n = 0;
        QVERIFY(archive.GetValue("N", n));
        QCOMPARE(n, 4u);
    }

    void loadFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // not written when empty
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << QStringLiteral("missing.xml") << QByteArray()
                                 << QStringLiteral("Failed to open file");
        QTest::newRow("directory") << QStringLiteral("subdir") << QByteArray()
                                   << QStringLiteral("Failed to open file");
        QTest::newRow("unclosed element")
            << QStringLiteral("bad.xml") << QByteArray("<Configuration><A>1</A>") << QString();
        QTest::newRow("only blanks") << QStringLiteral("blank.xml") << QByteArray("  \n") << QString();
    }
    void loadFailures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        QDir(dir.path()).mkdir(QStringLiteral("subdir"));
        const QString path = PathOf(name);
        if (!content.isEmpty())
            WriteAll(path, content);
        QXmlArchive archive;
        QVERIFY(!archive.LoadFile(path));
        QCOMPARE(captured.size(), 1);
        QVERIFY(captured[0].startsWith(QStringLiteral("Failed to open file :") + path +
                                       QStringLiteral("\nError :")));
        if (!error.isEmpty())
            QCOMPARE(captured[0],
                     QStringLiteral("Failed to open file :") + path + QStringLiteral("\nError :") + error);
        unsigned n = 5; // the archive must stay usable without touching a released document
        QVERIFY(!archive.GetValue("A", n));
        QVERIFY(!archive.GetSection("A"));
        archive.LeaveSection();
        QCOMPARE(n, 5u);
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("full disk") << QStringLiteral("/dev/full");
        QTest::newRow("missing parent") << PathOf(QStringLiteral("no/such/folder/x.xml"));
        QTest::newRow("through a regular file") << PathOf(QStringLiteral("plain.txt/x.xml"));
        QTest::newRow("directory") << dir.path();
    }
    void saveFailures()
    {
        QFETCH(QString, path);
        WriteAll(PathOf(QStringLiteral("plain.txt")), "x");
        QXmlArchive archive;
        archive.SetValue("N", 1u);
        QVERIFY(!archive.SaveFile(path));
        QCOMPARE(captured.size(), 1);
        QVERIFY(captured[0].startsWith(QStringLiteral("SaveFile \"") + path +
                                       QStringLiteral("\"failed with error :")));
        struct stat info = {};
        QCOMPARE(stat("/dev/full", &info), 0);
        QVERIFY(S_ISCHR(info.st_mode)); // never replaced by a regular file
    }

    void saveReplacesAnExistingFile()
    {
        const QString path = PathOf(QStringLiteral("replace.xml"));
        WriteAll(path, QByteArray(4096, 'x'));
        QXmlArchive archive;
        QVERIFY(archive.SaveFile(path));
        QCOMPARE(ReadAll(path), QByteArray("<?xml version=\"1.0\" ?>\n<Configuration />\n"));
    }
};

QTEST_GUILESS_MAIN(XmlArchiveTest)
#include "test_xml_archive.moc"
