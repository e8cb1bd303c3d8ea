// The results history on a real SQLite file: what a stored run holds, snapshots, files that are
// locked, newer or no database at all, and report files read back into it once. Bests and ranking
// over two sessions with invalid runs, ties and a simulated run, worked out by hand from the runs
// below; and exports: the locale's notation, numeric cells, the old file kept.
#include "results/ReportImport.h"
#include "results/ResultsExport.h"
#include "results/ResultsQueries.h"
#include "results/ResultsSchema.h"
#include "results/ResultsStore.h"
#include "support/FileSizeLimit.h"
#include "support/ResultsRecords.h"
#include "support/TestFiles.h"

#include <QSqlQuery>
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

// Ann's valid PB and Bob's invalid, simulated one-split run with a name that needs quoting.
std::vector<results::ExportRow> TwoRuns()
{
    const QDateTime start(QDate(2026, 11, 2), QTime(10, 0, 5), Qt::OffsetFromUTC, 3600);
    return {
        {start, "Ann", "Sprint", 1234.5, 9100, {2200, 6900}, 135.659, true, true, "", false},
        {start, "Bob; \"B\"", "Sprint", 1234.5, 12046, {12046}, 102.482, false, false, "false start", true}};
}

QString Unzipped(const QString& archive, const QString& member)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", archive, member});
    unzip.waitForFinished(10000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

class ResultsStoreTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ResultsStore> store; // the two sessions below
    int files = 0;
    QString FreshPath() { return dir.filePath(QStringLiteral("Results%1.sqlite").arg(++files)); }

    // Rows of the runs query as "athlete total [PB]", in query order.
    QStringList Runs(const RunFilter& filter)
    {
        const results::SqlText text = results::RunsQuery(filter);
        QSqlQuery query(store->Database());
        query.prepare(text.sql);
        for (const QVariant& value : text.values)
            query.addBindValue(value);
        query.exec();
        QStringList rows;
        while (query.next())
            rows << query.value(runcolumn::Athlete).toString() + ' ' +
                        query.value(runcolumn::TotalMs).toString() +
                        (query.value(runcolumn::PersonalBest).toBool() ? " PB" : "");
        return rows;
    }

private slots:
    void initTestCase()
    {
        const QString path = dir.filePath("Results.sqlite");
        // Session 1, 2 November: Ann and Cy tie at 4800; Bob's 4700 is marked invalid.
        {
            ResultsStore first(path);
            first.SetSessionStart(Utc("2026-11-02T09:00:00Z"), 0);
            QVERIFY(first.Store(Run("Ann", "2026-11-02T10:00:00Z", {2000, 3000})));
            QVERIFY(first.Store(Run("Ann", "2026-11-02T10:05:00Z", {1900, 2900})));
            QVERIFY(first.Store(Run("Bob", "2026-11-02T10:01:00Z", {1800, 3100})));
            const auto slipped = first.Store(Run("Bob", "2026-11-02T10:06:00Z", {1700, 3000}));
            QVERIFY(slipped && first.MarkInvalid(*slipped, "slipped"));
            QVERIFY(first.Store(Run("Cy", "2026-11-02T10:02:00Z", {1900, 2900})));
        }
        // Session 2, 9 November: Ann improves; Cy runs 4750 twice; Ann's 4600 is simulated.
        store = std::make_unique<ResultsStore>(path);
        store->SetSessionStart(Utc("2026-11-09T09:00:00Z"), 0);
        QVERIFY(store->Store(Run("Ann", "2026-11-09T10:00:00Z", {1850, 2900})));
        QVERIFY(store->Store(Run("Ann", "2026-11-09T10:03:00Z", {1800, 2800}, true)));
        QVERIFY(store->Store(Run("Bob", "2026-11-09T10:01:00Z", {2000, 3100})));
        QVERIFY(store->Store(Run("Cy", "2026-11-09T10:02:00Z", {1850, 2900})));
        QVERIFY(store->Store(Run("Cy", "2026-11-09T10:04:00Z", {1800, 2950})));
    }

    void runsQuery()
    {
        RunFilter all;
        all.sortColumn = runcolumn::StartUtcMs;
        all.sortOrder = Qt::AscendingOrder;
        RunFilter simulated = all;
        simulated.athlete = "Ann";
        simulated.showSimulated = true;
        RunFilter best = all;
        best.bestPerAthlete = true;
        best.sortColumn = runcolumn::TotalMs;
        RunFilter firstDayBest = best;
        firstDayBest.to = QDateTime(QDate(2026, 11, 2), QTime(12, 0), Qt::UTC).toLocalTime().date();
        const std::pair<RunFilter, const char*> cases[] = {
            // Everything real, oldest first.
            {all, "Ann 5000|Bob 4900 PB|Cy 4800|Ann 4800|Bob 4700|Ann 4750 PB|Bob 5100|Cy 4750 PB|Cy 4750"},
            {simulated, "Ann 5000|Ann 4800|Ann 4750 PB|Ann 4600 PB"}, // compared only with simulated
            {best, "Ann 4750 PB|Cy 4750 PB|Bob 4900 PB"},             // invalid ignored
            {firstDayBest, "Cy 4800|Ann 4800|Bob 4900 PB"}};          // a tie in a range
        for (const auto& [filter, rows] : cases)
            QCOMPARE(Runs(filter).join('|'), QString::fromLatin1(rows));
    }

    void sessionRanking()
    {
        const auto sessions = results::Sessions(store->Database());
        QCOMPARE(sessions.size(), 2u);
        const results::SessionSummary summary =
            results::SessionResults(store->Database(), sessions.back().id, false); // newest first
        QStringList ranking;
        for (const results::RankedAthlete& entry : summary.ranking)
            ranking << QStringLiteral("%1 %2 %3 %4")
                           .arg(QString::number(entry.rank), entry.athlete, QString::number(*entry.bestMs),
                                QString::number(entry.attempts));
        QCOMPARE(ranking, (QStringList{"1 Ann 4800 2", "1 Cy 4800 1", "3 Bob 4900 2"}));
        QStringList splits;
        for (const results::BestSplit& split : summary.bestSplits)
            splits << QStringLiteral("%1: %2 %3")
                          .arg(split.checkpoint)
                          .arg(split.ms)
                          .arg(split.athletes.join('+'));
        // Bob's invalid 1700 is no best split.
        QCOMPARE(splits, (QStringList{"1: 1800 Bob", "2: 2900 Ann+Cy"}));
    }

    // Comma decimals: semicolons between fields, no grouping; read back as written.
    void csvInCommaDecimalNotation()
    {
        const QString path = dir.filePath("de.csv");
        QVERIFY(results::WriteResultsCsv(path, TwoRuns(), QLocale(QLocale::German, QLocale::Germany)));
        const QByteArray bytes = ReadAll(path);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(bytes.mid(3)).split("\r\n", Qt::SkipEmptyParts),
                 (QStringList{
                     "Date;Time;Athlete;Course;Distance (m);Total (s);Split 1 (s);Split 2 (s);Speed (m/s);"
                     "Personal best;Status;Reason;Simulated",
                     "2026-11-02;10:00:05;Ann;Sprint;1234,500;9,100;2,200;6,900;135,659;PB;valid;;no",
                     "2026-11-02;10:00:05;\"Bob; \"\"B\"\"\";Sprint;1234,500;12,046;12,046;;102,482;;invalid;"
                     "false start;yes"}));
    }

    void workbookCellsAreNumbersFormattedWithThreeDecimals()
    {
        const QString path = dir.filePath("results.xlsx");
        QVERIFY(results::WriteResultsWorkbook(path, TwoRuns()));
        const QString sheet = Unzipped(path, "xl/worksheets/sheet1.xml");
        // Row 2: total in F, the splits in G and H, speed in I; all numbers with the 0.000 style.
        const QRegularExpressionMatch match =
            QRegularExpression("<c r=\"F2\" s=\"(\\d+)\"><v>9.1</v></c>").match(sheet);
        QVERIFY2(match.hasMatch(), qPrintable(sheet.left(2000)));
        for (const char* cell :
             {"<c r=\"G2\" s=\"%1\"><v>2.2</v></c>", "<c r=\"H2\" s=\"%1\"><v>6.9</v></c>",
              "<c r=\"I2\" s=\"%1\"><v>135.659</v></c>", "<c r=\"F3\" s=\"%1\"><v>12.046</v></c>",
              "<c r=\"E3\" s=\"%1\"><v>1234.5</v></c>"})
            QVERIFY2(sheet.contains(QString::fromLatin1(cell).arg(match.captured(1))), cell);
        QVERIFY(!sheet.contains("r=\"H3\"")); // Bob has one split only
        // The date is a number too (days since 1900): 2 November 2026 is day 46328.
        QVERIFY(sheet.contains(QRegularExpression("<c r=\"A2\" s=\"\\d+\"><v>46328</v></c>")));
        QVERIFY(Unzipped(path, "xl/styles.xml").contains("formatCode=\"0.000\""));
    }

    // The old file stays whole when the new one cannot be written (a disk with no room).
    void failedExportLeavesTheOldFile()
    {
        const std::vector<results::ExportRow> many(2000, TwoRuns().front());
        for (const bool workbook : {false, true}) {
            QTemporaryDir folder;
            const QString path = folder.filePath(workbook ? "old.xlsx" : "old.csv");
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the coach's file") > 0);
            old.close();
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
    }

    // Whatever later runs are timed on, a run keeps its own course snapshot: one per content, so
    // a change only in the gates, the distance or the name makes another.
    void storedRunHoldsWhatWasTimed()
    {
        ResultsStore store(FreshPath());
        store.SetSessionStart(Utc("2026-11-02T09:58:00Z"), 3600);
        RunRecord run = Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000}, true);
        run.utcOffsetSeconds = 3600;
        QVERIFY2(store.Store(run).has_value(), qPrintable(store.LastError()));
        const CourseSnapshot others[] = {{"Sprint", {0, 1, 2}, 30.0},
                                         {"Sprint", {0, 2, 1}, 30.0},
                                         {"Sprint", {0, 1, 2}, 40.0},
                                         {"Sprint 2", {0, 1, 2}, 30.0}};
        for (const CourseSnapshot& course : others)
            QVERIFY(store.Store(Run("Bob", "2026-11-02T10:01:00Z", {2100, 1100}, false, course)));
        QCOMPARE(Scalar(store, "SELECT COUNT(*) FROM courses"), "4");
        // 1793613600000 ms is 2026-11-02 10:00 UTC, 1793613480000 is 09:58; 30 m in 3.2 s is 9.375 m/s.
        QCOMPARE(Scalar(store,
                        "SELECT r.athlete || '|' || r.start_utc_ms || '|' || r.utc_offset_s || '|' ||"
                        " r.total_ms || '|' || r.speed || '|' || r.simulated || '|' || r.status || '|' ||"
                        " c.name || '|' || c.gates || '|' || c.distance_m || '|' || s.started_utc_ms ||"
                        " '|' || s.utc_offset_s || '|' || r.extra_breaks || '|' || IFNULL(r.suspect, '-')"
                        " FROM runs r JOIN courses c ON c.id = r.course_id"
                        " JOIN sessions s ON s.id = r.session_id WHERE r.id = 1"),
                 "Ann|1793613600000|3600|3200|9.375|1|valid|Sprint|0,1,2|30.0|1793613480000|3600|0|-");
        QCOMPARE(Scalar(store, "PRAGMA journal_mode"), "wal"); // two programs may share the file
        QCOMPARE(Scalar(store, "PRAGMA user_version"), QString::number(results::CurrentSchemaVersion));
    }

    // A file another program holds locked: the store gives up within its busy timeout (the tick
    // must not wait), stores nothing half, and works again once the lock is gone. A file from a later
    // version: read, never written, and the operator learns why.
    void lockedOrNewerFiles()
    {
        const QString path = FreshPath();
        {
            ResultsStore store(path);
            ResultsStore other(path);
            QVERIFY(store.Store(Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000})));
            QVERIFY(other.Open() && QSqlQuery(other.Database()).exec("BEGIN EXCLUSIVE"));
            QElapsedTimer timer;
            timer.start();
            QVERIFY(!store.Store(Run("Bob", "2026-11-02T10:01:00Z", {2300, 1000})));
            QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed())));
            QVERIFY(!store.LastError().isEmpty());
            QVERIFY(QSqlQuery(other.Database()).exec("COMMIT"));
            QVERIFY(store.Store(Run("Bob", "2026-11-02T10:01:00Z", {2300, 1000})));
            QCOMPARE(Scalar(store, "SELECT COUNT(*) || '/' || (SELECT COUNT(*) FROM splits) FROM runs"),
                     "2/4");
            QVERIFY(QSqlQuery(store.Database()).exec("PRAGMA user_version = 7"));
        }
        ResultsStore store(path);
        QVERIFY(store.Open() && store.IsReadOnly() && store.LastError().contains("newer"));
        QVERIFY(!store.Store(Run("Cy", "2026-11-02T10:02:00Z", {2300, 1000})));
        QVERIFY(!store.MarkInvalid(1, "slipped"));
        QCOMPARE(Scalar(store, "SELECT group_concat(athlete || ' ' || status) FROM runs"),
                 "Ann valid,Bob valid");
        QCOMPARE(Scalar(store, "PRAGMA user_version"), "7");
    }

    // Every readable row once, however often a file is imported, joined to the stored snapshot of
    // its live course (32 m); the rows it cannot read named with the reason.
    void importingTwiceAddsNothingTwice()
    {
        const QString reports = dir.filePath("Reports");
        QDir().mkpath(reports);
        QVERIFY(WriteAll(reports + "/Swiftlane_Hill Run_1.csv", Report) &&
                WriteAll(reports + "/Swiftlane_Hill Run_2.csv",
                         "Subject_Name,Total_Time,Distance,Speed\nZoe,0.000,0.000,0.000\n") &&
                WriteAll(reports + "/names.csv", "Ann\n"));
        ResultsStore store(FreshPath());
        QVERIFY(store.Store(
            Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000}, false, {"Hill Run", {0, 1, 2}, 32.0})));
        const QStringList files = results::ReportFilesIn(reports);
        QCOMPARE(files.size(), 2);

        const results::ImportSummary first = results::ImportReports(store, files);
        QCOMPARE((QList<int>{first.files, first.added, first.alreadyStored}), (QList<int>{2, 4, 0}));
        QStringList problems;
        for (const results::RowProblem& problem : first.problems)
            problems
                << QStringLiteral("%1:%2 %3").arg(problem.file).arg(problem.rowNumber).arg(problem.reason);
        QCOMPARE(
            problems,
            (QStringList{"Swiftlane_Hill Run_1.csv:4 has 4 fields where the header has 6",
                         "Swiftlane_Hill Run_1.csv:5 has no athlete name",
                         "Swiftlane_Hill Run_1.csv:6 field 2 (\"3.2s\") is not a time, distance or speed",
                         "Swiftlane_Hill Run_1.csv:7 its splits add up to 3.200 s, not to its total"}));
        const results::ImportSummary second = results::ImportReports(store, files);
        QCOMPARE((QList<int>{second.files, second.added, second.alreadyStored, int(second.problems.size())}),
                 (QList<int>{2, 0, 4, 4}));
        // One session per report file beside the live one; Zoe's 0 m course is a snapshot of its own.
        QCOMPARE(Scalar(store, "SELECT group_concat(r.athlete || ' ' || r.total_ms || ' ' || IFNULL((SELECT"
                               " group_concat(ms, '/') FROM splits s WHERE s.run_id = r.id), '-') || ' ' ||"
                               " r.course_id || ' ' || r.session_id, '|') FROM runs r"),
                 "Ann 3200 2200/1000 1 1|Ann 3200 2200/1000 1 2|Lee, Jo 3500 2000/1500 1 2|"
                 "Eve 2999 1999/1000 1 2|Zoe 0 - 2 3");
        QVERIFY(results::DescribeImport(first).contains("Swiftlane_Hill Run_1.csv, row 4: has 4 fields"));
        // Unchanged files are skipped altogether at the start of the program.
        QCOMPARE(results::ImportReports(store, files, true).files, 0);
    }
};

QTEST_GUILESS_MAIN(ResultsStoreTest)
#include "test_results_store.moc"
