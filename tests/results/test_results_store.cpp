// The results history on a real SQLite file: what a stored run holds, snapshots, the schema
// version, and files that are locked, newer or no database at all.
#include "results/ResultsSchema.h"
#include "results/ResultsStore.h"
#include "support/ResultsRecords.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace resultsrecords;

Q_DECLARE_METATYPE(CourseSnapshot)

class ResultsStoreTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int files = 0;
    QString FreshPath() { return dir.filePath(QStringLiteral("Results%1.sqlite").arg(++files)); }

private slots:
    void storedRunHoldsWhatWasTimed()
    {
        ResultsStore store(FreshPath());
        store.SetSessionStart(Utc("2026-11-02T09:58:00Z"), 3600);
        RunRecord run = Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000});
        run.utcOffsetSeconds = 3600;
        run.simulated = true;
        const auto id = store.Store(run);
        QVERIFY2(id.has_value(), qPrintable(store.LastError()));

        QSqlQuery query(store.Database());
        QVERIFY(query.exec(
            "SELECT r.athlete, r.start_utc_ms, r.utc_offset_s, r.total_ms, r.speed, r.simulated,"
            " r.status, c.name, c.gates, c.distance_m, s.started_utc_ms, s.utc_offset_s,"
            " r.extra_breaks, r.suspect IS NULL"
            " FROM runs r JOIN courses c ON c.id = r.course_id JOIN sessions s ON s.id = r.session_id"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), "Ann");
        QCOMPARE(query.value(1).toLongLong(), 1793613600000LL); // 2026-11-02 10:00:00 UTC
        QCOMPARE(query.value(2).toInt(), 3600);
        QCOMPARE(query.value(3).toLongLong(), 3200);
        QCOMPARE(query.value(4).toDouble(), 30.0 / 3.2);
        QCOMPARE(query.value(5).toInt(), 1);
        QCOMPARE(query.value(6).toString(), "valid");
        QCOMPARE(query.value(7).toString(), "Sprint");
        QCOMPARE(query.value(8).toString(), "0,1,2");
        QCOMPARE(query.value(9).toDouble(), 30.0);
        QCOMPARE(query.value(10).toLongLong(), 1793613480000LL); // 09:58
        QCOMPARE(query.value(11).toInt(), 3600);
        QCOMPARE(query.value(12).toInt(), 0);
        QVERIFY(query.value(13).toBool());

        QVERIFY(query.exec("SELECT position, gate, ms FROM splits ORDER BY position"));
        QVERIFY(query.next());
        QCOMPARE((QList<int>{query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()}),
                 (QList<int>{1, 1, 2200}));
        QVERIFY(query.next());
        QCOMPARE((QList<int>{query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()}),
                 (QList<int>{2, 2, 1000}));
        QCOMPARE(Scalar(store, "PRAGMA journal_mode").toString(), "wal");
        QCOMPARE(Scalar(store, "PRAGMA user_version").toInt(), results::CurrentSchemaVersion);
    }

    // Same content: one snapshot; any difference, even only in the gates or distance: another.
    void courseSnapshotsStoredOncePerContent_data()
    {
        QTest::addColumn<CourseSnapshot>("second");
        QTest::addColumn<int>("snapshots");
        QTest::newRow("same course") << CourseSnapshot{"Sprint", {0, 1, 2}, 30.0} << 1;
        QTest::newRow("gates changed") << CourseSnapshot{"Sprint", {0, 2, 1}, 30.0} << 2;
        QTest::newRow("distance changed") << CourseSnapshot{"Sprint", {0, 1, 2}, 40.0} << 2;
        QTest::newRow("renamed") << CourseSnapshot{"Sprint 2", {0, 1, 2}, 30.0} << 2;
    }
    void courseSnapshotsStoredOncePerContent()
    {
        QFETCH(CourseSnapshot, second);
        QFETCH(int, snapshots);
        ResultsStore store(FreshPath());
        QVERIFY(store.Store(Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000})));
        QVERIFY(store.Store(Run("Bob", "2026-11-02T10:01:00Z", {2100, 1100}, false, second)));
        QCOMPARE(Scalar(store, "SELECT COUNT(*) FROM courses").toInt(), snapshots);
        // The first run keeps the course it was timed on.
        QCOMPARE(Scalar(store, "SELECT c.gates || '/' || c.distance_m FROM runs r JOIN courses c"
                               " ON c.id = r.course_id WHERE r.athlete = 'Ann'")
                     .toString(),
                 "0,1,2/30.0");
    }

    // Two programs on one data folder: both store, nothing is lost or corrupted.
    void twoProgramsOnOneFile()
    {
        const QString path = FreshPath();
        ResultsStore first(path);
        ResultsStore second(path);
        for (int i = 0; i < 20; ++i) {
            QVERIFY(first.Store(Run("Ann", "2026-11-02T10:00:00Z", {2000 + i, 1000})));
            QVERIFY(second.Store(Run("Bob", "2026-11-02T10:00:00Z", {2100 + i, 1000})));
        }
        QCOMPARE(Scalar(first, "SELECT COUNT(*) || '/' || SUM(athlete = 'Bob') FROM runs").toString(),
                 "40/20");
        QCOMPARE(Scalar(first, "SELECT COUNT(*) FROM splits").toInt(), 80);
        QCOMPARE(Scalar(second, "PRAGMA integrity_check").toString(), "ok");
    }

    // A file another program holds locked: the store gives up within its busy timeout (the tick
    // must not wait), stores nothing half, and works again once the lock is gone.
    void lockedFileFailsFastAndRecovers()
    {
        const QString path = FreshPath();
        ResultsStore store(path);
        QVERIFY(store.Store(Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000})));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-program");
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
            QElapsedTimer timer;
            timer.start();
            QVERIFY(!store.Store(Run("Bob", "2026-11-02T10:01:00Z", {2300, 1000})));
            QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed())));
            QVERIFY(!store.LastError().isEmpty());
            QVERIFY(lock.exec("COMMIT"));
            other.close();
        }
        QSqlDatabase::removeDatabase("other-program");
        QVERIFY(store.Store(Run("Bob", "2026-11-02T10:01:00Z", {2300, 1000})));
        QCOMPARE(Scalar(store, "SELECT COUNT(*) FROM runs").toInt(), 2);
        QCOMPARE(Scalar(store, "SELECT COUNT(*) FROM splits").toInt(), 4);
    }

    // Files the store cannot write to: nothing stored, a reason, the file left as it was.
    void filesThatTakeNoRun_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("opens");
        QTest::newRow("not a database")
            << QByteArray("Subject_Name,Total_Time\nAnn,3.200\n").repeated(300) << false;
        QTest::newRow("empty file") << QByteArray() << true;
    }
    void filesThatTakeNoRun()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, opens);
        const QString path = FreshPath();
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        ResultsStore store(path);
        QCOMPARE(store.Open(), opens);
        QCOMPARE(store.Store(Run("Ann", "2026-11-02T10:00:00Z", {2200, 1000})).has_value(), opens);
        if (!opens) {
            QVERIFY(!store.LastError().isEmpty());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), content);
        }
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
        QVERIFY(store.Open());
        QVERIFY(store.IsReadOnly());
        QVERIFY(store.LastError().contains("newer"));
        QCOMPARE(Scalar(store, "SELECT COUNT(*) FROM runs").toInt(), 1);
        QVERIFY(!store.Store(Run("Bob", "2026-11-02T10:01:00Z", {2300, 1000})));
        QVERIFY(!store.MarkInvalid(1, "slipped"));
        QCOMPARE(Scalar(store, "PRAGMA user_version").toInt(), 7);
    }
};

QTEST_GUILESS_MAIN(ResultsStoreTest)
#include "test_results_store.moc"
