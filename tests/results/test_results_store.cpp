// The results history on a real SQLite file: what a stored run holds, snapshots, files that are
// locked, newer or no database at all, and report files read back into it once.
#include "results/ReportImport.h"
#include "results/ResultsSchema.h"
#include "results/ResultsStore.h"
#include "support/ResultsRecords.h"

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

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ResultsStoreTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int files = 0;
    QString FreshPath() { return dir.filePath(QStringLiteral("Results%1.sqlite").arg(++files)); }

private slots:
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
    // must not wait), stores nothing half, and works again once the lock is gone.
    void lockedFileFailsFastAndRecovers()
    {
        const QString path = FreshPath();
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
        QCOMPARE(Scalar(store, "SELECT COUNT(*) || '/' || (SELECT COUNT(*) FROM splits) FROM runs"), "2/4");
    }

    // A file from a later version: read, never written, and the operator learns why.
    void newerVersionOpensReadOnly()
    {
        const QString path = FreshPath();
        {
            ResultsStore store(path);
            QVERIFY(store.Store(Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000})));
            QVERIFY(QSqlQuery(store.Database()).exec("PRAGMA user_version = 7"));
        }
        ResultsStore store(path);
        QVERIFY(store.Open() && store.IsReadOnly() && store.LastError().contains("newer"));
        QVERIFY(!store.Store(Run("Bob", "2026-11-02T10:01:00Z", {2300, 1000})));
        QVERIFY(!store.MarkInvalid(1, "slipped"));
        QCOMPARE(Scalar(store, "SELECT COUNT(*) || '/' || status FROM runs"), "1/valid");
        QCOMPARE(Scalar(store, "PRAGMA user_version"), "7");
    }

    // Every readable row once, however often a file is imported, joined to the stored snapshot of
    // its live course (32 m); the rows it cannot read named with the reason.
    void importingTwiceAddsNothingTwice()
    {
        const QString reports = dir.filePath("Reports");
        QDir().mkpath(reports);
        Write(reports + "/Swiftlane_Hill Run_1.csv", Report);
        Write(reports + "/Swiftlane_Hill Run_2.csv",
              "Subject_Name,Total_Time,Distance,Speed\nZoe,0.000,0.000,0.000\n");
        Write(reports + "/names.csv", "Ann\n");
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
