// RFID tag/name files: the lines they hold, the map they fill, and where a too-long line stops them.
#include "subjects/TagNames.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList entries(const TagNameMap& tags)
{
    QStringList listed;
    for (const auto& [tag, name] : tags)
        listed << QString::fromStdString(tag) + "=" + QString::fromStdString(name);
    return listed;
}

} // namespace

class TestTagNames : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    int files = 0;

    QString write(const QByteArray& content)
    {
        const QString path = folder.filePath(QStringLiteral("tags%1.csv").arg(++files));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the test file");
        return path;
    }

private slots:
    void linesBecomePairs_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("pairs");
        QTest::newRow("tag and name") << QByteArray("04A3,Ann Lee\n") << QStringList{"04A3=Ann Lee"} << 1;
        QTest::newRow("blanks and tabs around the fields")
            << QByteArray(" 04A3 ,\t Ann Lee \t\n") << QStringList{"04A3=Ann Lee"} << 1;
        QTest::newRow("third field ignored") << QByteArray("04A3,Ann,U17\n") << QStringList{"04A3=Ann"} << 1;
        QTest::newRow("single field") << QByteArray("04A3\n") << QStringList{} << 0;
        QTest::newRow("commas only") << QByteArray(",,,\n") << QStringList{} << 0;
        QTest::newRow("two commas between") << QByteArray("04A3,,Ann\n") << QStringList{"04A3=Ann"} << 1;
        QTest::newRow("leading comma") << QByteArray(",04A3,Ann\n") << QStringList{"04A3=Ann"} << 1;
        QTest::newRow("later line wins")
            << QByteArray("04A3,Ann\n04A3,Bob\n") << QStringList{"04A3=Bob"} << 2;
        QTest::newRow("blank lines skipped")
            << QByteArray("\n04A3,Ann\n\n11FF,Bob") << QStringList{"04A3=Ann", "11FF=Bob"} << 2;
        QTest::newRow("CR LF as LF") << QByteArray("04A3,Ann\r\n11FF,Bob\r\n")
                                     << QStringList{"04A3=Ann", "11FF=Bob"} << 2;
        QTest::newRow("UTF-8 name") << QByteArray("T1,\xc5\x81ukasz\n") << QStringList{"T1=Łukasz"} << 1;
        QTest::newRow("Latin-1 name") << QByteArray("T2,J\xfcrgen\n") << QStringList{"T2=Jürgen"} << 1;
        QTest::newRow("511 bytes fit") << QByteArray("T3," + QByteArray(508, 'x') + "\r\n")
                                       << QStringList{"T3=" + QString(508, 'x')} << 1;
    }
    void linesBecomePairs()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, stored);
        QFETCH(int, pairs);
        TagNameMap tags;
        const TagFileImport result = ImportTagNameFile(write(content), tags);
        QVERIFY(result.opened);
        QCOMPARE(entries(tags), stored);
        QCOMPARE(result.pairs, pairs);
        QCOMPARE(result.stoppedAtLine, 0);
    }

    void tooLongLineStopsTheImport()
    {
        TagNameMap tags;
        const TagFileImport result =
            ImportTagNameFile(write("A,Ann\n\nT," + QByteArray(510, 'x') + "\nB,Bob\n"), tags);
        QCOMPARE(entries(tags), QStringList{"A=Ann"});
        QCOMPARE(result.pairs, 1);
        QCOMPARE(result.stoppedAtLine, 3);
    }

    void importsAddToTheMap()
    {
        TagNameMap tags;
        ImportTagNameFile(write("A,Ann\nB,Bob\n"), tags);
        ImportTagNameFile(write("B,Bea\nC,Cy\n"), tags);
        QCOMPARE(entries(tags), QStringList({"A=Ann", "B=Bea", "C=Cy"}));
        const TagFileImport missing = ImportTagNameFile(folder.filePath("none.csv"), tags);
        QVERIFY(!missing.opened);
        QCOMPARE(tags.size(), std::size_t(3));
    }

    void scannedTagsAreTranslatedWhenKnown()
    {
        TagNameMap tags;
        ImportTagNameFile(write("04A3,Ann Lee\n"), tags);
        QCOMPARE(SubjectNameForTag(tags, "04A3"), QString("Ann Lee"));
        QCOMPARE(SubjectNameForTag(tags, "04a3"), QString("04a3"));
        QCOMPARE(SubjectNameForTag(tags, "99"), QString("99"));
    }
};

QTEST_GUILESS_MAIN(TestTagNames)
#include "test_tag_names.moc"
