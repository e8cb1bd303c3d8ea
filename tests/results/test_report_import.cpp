// Report files read back into the history: every readable row once, however often a file is
// imported; rows that cannot be read are named with the reason.
#include "results/ReportImport.h"
#include "results/ResultsStore.h"
#include "support/ResultsRecords.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace resultsrecords;

namespace {

const QByteArray Report = "Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n"
                          "Ann,3.200,2.200,1.000,32.000,10.000\n"
                          "\"Lee, Jo\",3.500,2.000,1.500,32.000,9.143\n"
                          "Bob,3.200,2.200,1.000\n"
                          ",3.200,2.200,1.000,32.000,10.000\n"
                          "Cy,3.2s,2.200,1.000,32.000,10.000\n"
                          "Dee,4.200,2.200,1.000,32.000,7.619\n"
                          "\n"
                          "Eve,2.999,1.999,1.000,32.000,10.670\n";

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ReportImportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void rowsReadAndRowsNamed()
    {
        const results::ParsedReport report =
            results::ParseReport("Swiftlane_Hill Run_3.csv", Report, Utc("2026-10-01T08:00:00Z"));
        QVERIFY(report.readable);
        QStringList runs;
        for (const results::ReportRow& row : report.rows)
            runs << QStringLiteral("%1:%2 %3 %4/%5 %6m")
                        .arg(row.rowNumber)
                        .arg(row.run.athlete)
                        .arg(row.run.totalMs)
                        .arg(row.run.splits.at(0).ms)
                        .arg(row.run.splits.at(1).ms)
                        .arg(row.run.course.distanceMetres);
        QCOMPARE(runs, (QStringList{"2:Ann 3200 2200/1000 32m", "3:Lee, Jo 3500 2000/1500 32m",
                                    "9:Eve 2999 1999/1000 32m"}));
        QCOMPARE(report.rows.front().run.course.name, "Hill Run");
        QCOMPARE(report.rows.front().run.startUtc, Utc("2026-10-01T08:00:00Z"));
        QStringList problems;
        for (const results::RowProblem& problem : report.problems)
            problems << QStringLiteral("%1 %2").arg(problem.rowNumber).arg(problem.reason);
        QCOMPARE(problems, (QStringList{"4 has 4 fields where the header has 6", "5 has no athlete name",
                                        "6 field 2 (\"3.2s\") is not a time, distance or speed",
                                        "7 its splits add up to 3.200 s, not to its total"}));
    }

    void notAReport_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a name list") << QByteArray("Ann\nBob\n");
        QTest::newRow("checkpoints out of order") << QByteArray(
            "Subject_Name,Total_Time,Checkpoint_2,Distance,Speed\nAnn,1.000,1.000,10.000,10.000\n");
    }
    void notAReport()
    {
        QFETCH(QByteArray, bytes);
        const results::ParsedReport report = results::ParseReport("Swiftlane_Run_1.csv", bytes, QDateTime());
        QVERIFY(!report.readable);
        QVERIFY(report.rows.empty());
        QCOMPARE(report.problems.size(), 1u);
    }

    void importingTwiceAddsNothingTwice()
    {
        const QString reports = dir.filePath("Reports");
        QDir().mkpath(reports);
        Write(reports + "/Swiftlane_Sprint_1.csv", Report);
        Write(reports + "/Swiftlane_Sprint_2.csv",
              "Subject_Name,Total_Time,Distance,Speed\nZoe,0.000,0.000,0.000\n");
        Write(reports + "/names.csv", "Ann\n");
        ResultsStore store(dir.filePath("Results.sqlite"));
        const QStringList files = results::ReportFilesIn(reports);
        QCOMPARE(files.size(), 2);

        const results::ImportSummary first = results::ImportReports(store, files);
        QCOMPARE(first.storeError, QString());
        QCOMPARE((QList<int>{first.files, first.added, first.alreadyStored, int(first.problems.size())}),
                 (QList<int>{2, 4, 0, 4}));
        const results::ImportSummary second = results::ImportReports(store, files);
        QCOMPARE((QList<int>{second.files, second.added, second.alreadyStored, int(second.problems.size())}),
                 (QList<int>{2, 0, 4, 4}));
        QCOMPARE(Scalar(store, "SELECT COUNT(*) FROM runs").toInt(), 4);
        // One session per report file.
        QCOMPARE(Scalar(store, "SELECT COUNT(*) FROM sessions").toInt(), 2);
        QVERIFY(results::DescribeImport(first).contains("Swiftlane_Sprint_1.csv, row 4: has 4 fields"));
        // Unchanged files are skipped altogether at the start of the program.
        const results::ImportSummary atStart = results::ImportReports(store, files, true);
        QCOMPARE(atStart.files, 0);
    }

    // A report read back joins the stored snapshot of its course, so its runs compare with live ones.
    void importedRunsJoinTheLiveCourse()
    {
        ResultsStore store(dir.filePath("Joined.sqlite"));
        QVERIFY(store.Store(Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000}, false,
                                CourseSnapshot{"Sprint", {0, 1, 2}, 32.0})));
        const QString path = dir.filePath("Swiftlane_Sprint_7.csv");
        Write(path, Report);
        QCOMPARE(results::ImportReports(store, {path}).added, 3);
        QCOMPARE(Scalar(store, "SELECT COUNT(*) FROM courses").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(ReportImportTest)
#include "test_report_import.moc"
