// Exports a coach opens in a spreadsheet: numbers in the locale's notation, the workbook's cells
// numeric, and a failed export leaves the old file as it was.
#include "results/ResultsExport.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

std::vector<results::ExportRow> TwoRuns()
{
    results::ExportRow ann;
    ann.start = QDateTime(QDate(2026, 11, 2), QTime(10, 0, 5), Qt::OffsetFromUTC, 3600);
    ann.athlete = "Ann";
    ann.course = "Sprint";
    ann.distance = 1234.5;
    ann.totalMs = 9100;
    ann.splitsMs = {2200, 6900};
    ann.speed = 135.659;
    ann.personalBest = true;
    results::ExportRow bob = ann;
    bob.athlete = "Bob; \"B\"";
    bob.totalMs = 12046;
    bob.splitsMs = {12046};
    bob.speed = 102.482;
    bob.personalBest = false;
    bob.valid = false;
    bob.reason = "false start";
    bob.simulated = true;
    return {ann, bob};
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Unzipped(const QString& archive, const QString& member)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", archive, member});
    unzip.waitForFinished(10000);
    return unzip.readAllStandardOutput();
}

} // namespace

class ResultsExportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void csvInTheLocalesNotation_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("comma decimals: semicolons")
            << QLocale(QLocale::German, QLocale::Germany)
            << QStringList{
                   "Date;Time;Athlete;Course;Distance (m);Total (s);Split 1 (s);Split 2 (s);Speed (m/s);"
                   "Personal best;Status;Reason;Simulated",
                   "2026-11-02;10:00:05;Ann;Sprint;1234,500;9,100;2,200;6,900;135,659;PB;valid;;no",
                   "2026-11-02;10:00:05;\"Bob; \"\"B\"\"\";Sprint;1234,500;12,046;12,046;;102,482;;invalid;"
                   "false start;yes"};
        QTest::newRow("full stop decimals: commas, no grouping")
            << QLocale(QLocale::English, QLocale::UnitedStates)
            << QStringList{
                   "Date,Time,Athlete,Course,Distance (m),Total (s),Split 1 (s),Split 2 (s),Speed (m/s),"
                   "Personal best,Status,Reason,Simulated",
                   "2026-11-02,10:00:05,Ann,Sprint,1234.500,9.100,2.200,6.900,135.659,PB,valid,,no",
                   "2026-11-02,10:00:05,\"Bob; \"\"B\"\"\",Sprint,1234.500,12.046,12.046,,102.482,,invalid,"
                   "false start,yes"};
    }
    void csvInTheLocalesNotation()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, lines);
        const QString path = dir.filePath(locale.name() + ".csv");
        QVERIFY(results::WriteResultsCsv(path, TwoRuns(), locale));
        const QByteArray bytes = ReadAll(path);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(bytes.mid(3)).split("\r\n", Qt::SkipEmptyParts), lines);
    }

    void workbookCellsAreNumbersFormattedWithThreeDecimals()
    {
        const QString path = dir.filePath("results.xlsx");
        QVERIFY(results::WriteResultsWorkbook(path, TwoRuns()));
        const QString sheet = Unzipped(path, "xl/worksheets/sheet1.xml");
        const QString styles = Unzipped(path, "xl/styles.xml");
        const QString strings = QString(Unzipped(path, "xl/sharedStrings.xml")).replace("&quot;", "\"");
        QVERIFY2(!sheet.isEmpty(), "unzip found no sheet");
        // Row 2: total in F, the splits in G and H, speed in I; all numbers with the 0.000 style.
        const QRegularExpression total("<c r=\"F2\" s=\"(\\d+)\"><v>9.1</v></c>");
        const QRegularExpressionMatch match = total.match(sheet);
        QVERIFY2(match.hasMatch(), qPrintable(sheet.left(2000)));
        const QString style = match.captured(1);
        for (const char* cell :
             {"<c r=\"G2\" s=\"%1\"><v>2.2</v></c>", "<c r=\"H2\" s=\"%1\"><v>6.9</v></c>",
              "<c r=\"I2\" s=\"%1\"><v>135.659</v></c>", "<c r=\"F3\" s=\"%1\"><v>12.046</v></c>",
              "<c r=\"E3\" s=\"%1\"><v>1234.5</v></c>"})
            QVERIFY2(sheet.contains(QString::fromLatin1(cell).arg(style)), cell);
        QVERIFY(!sheet.contains("r=\"H3\"")); // Bob has one split only
        // The date is a number too (days since 1900): 2 November 2026 is day 46328.
        QVERIFY(sheet.contains(QRegularExpression("<c r=\"A2\" s=\"\\d+\"><v>46328</v></c>")));
        QVERIFY(styles.contains("formatCode=\"0.000\""));
        for (const char* text : {"Ann", "Bob; \"B\"", "false start", "invalid", "Total (s)"})
            QVERIFY2(strings.contains(text), text);
    }

    // The old file stays whole when the new one cannot be written (a disk with no room).
    void failedExportLeavesTheOldFile_data()
    {
        QTest::addColumn<bool>("workbook");
        QTest::newRow("csv") << false;
        QTest::newRow("xlsx") << true;
    }
    void failedExportLeavesTheOldFile()
    {
        QFETCH(bool, workbook);
        QTemporaryDir folder;
        const QString path = folder.filePath(workbook ? "old.xlsx" : "old.csv");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the coach's file");
        old.close();
        std::vector<results::ExportRow> many;
        for (int i = 0; i < 2000; ++i)
            many.push_back(TwoRuns().front());
        bool written = true;
        {
            FileSizeLimit full(1024);
            written = workbook ? results::WriteResultsWorkbook(path, many)
                               : results::WriteResultsCsv(path, many, QLocale::c());
        }
        QVERIFY(!written);
        QCOMPARE(ReadAll(path), QByteArray("the coach's file"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QFileInfo(path).fileName()});
    }
};

QTEST_GUILESS_MAIN(ResultsExportTest)
#include "test_results_export.moc"
