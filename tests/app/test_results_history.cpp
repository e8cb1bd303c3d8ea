// Finished runs reach the results history through the controller, after their report row; when
// the history cannot take them, timing and the report go on and the runs are stored later.
#include "platform/VirtualAdapters.h"
#include "support/ControllerHarness.h"
#include "support/FileSizeLimit.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString Header = QStringLiteral("Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n");

// Every stored run as "athlete total split@gate split@gate simulated report-row", oldest first.
QStringList StoredRuns(const QString& databasePath)
{
    QStringList runs;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-reader");
        db.setDatabaseName(databasePath);
        if (!db.open())
            return {"cannot open"};
        QSqlQuery query(db);
        query.exec(
            "SELECT r.athlete, r.total_ms, (SELECT group_concat(s.ms || '@' || IFNULL(s.gate, '?'), ' ')"
            " FROM splits s WHERE s.run_id = r.id), r.simulated, IFNULL(r.report_key, '-')"
            " FROM runs r ORDER BY r.id");
        while (query.next()) {
            // The key names the report file and row; the fields after it are the row itself.
            const QString key = query.value(4).toString().section(':', 0, 1);
            runs << QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                             query.value(3).toString(), key);
        }
    }
    QSqlDatabase::removeDatabase("test-reader");
    return runs;
}

} // namespace

class ResultsHistoryTest : public QObject
{
    Q_OBJECT

    static QString DatabasePath(const ControllerHarness& h)
    {
        return h.dataDir.path() + QStringLiteral("/Swiftlane/Results.sqlite");
    }

    static void Started(ControllerHarness& h)
    {
        h.writeSequence(QStringLiteral("Sprint"), {0, 1, 2}, 32.0);
        h.start();
    }

    // A run of `subject` from device time `start` over two splits.
    static void TimeRun(ControllerHarness& h, const QString& subject, std::uint32_t start,
                        std::uint32_t gate1, std::uint32_t gate2)
    {
        h.setSubjects({subject});
        h.status(start - 100);
        h.tick();
        h.clickStart();
        h.event(start, 0);
        h.event(gate1, 1);
        h.event(gate2, 2);
        h.tick();
    }

    int WarningsShown(ControllerHarness& h)
    {
        QCoreApplication::processEvents(); // the warning waits for the tick to return
        int count = 0;
        for (const FakeDialogs::Call& call : h.dialogs.calls)
            count += call.title == QLatin1String("Results not stored");
        return count;
    }

private slots:
    void scriptedSessionLandsWithExactSplits_data()
    {
        QTest::addColumn<QString>("adapter");
        QTest::addColumn<QString>("simulated");
        QTest::newRow("gates on the course") << "Swiftlane gate adapter"
                                             << "0";
        QTest::newRow("the simulator's gates")
            << QString::fromLatin1(platform::VirtualAdapterDescription) << "1";
    }
    void scriptedSessionLandsWithExactSplits()
    {
        QFETCH(QString, adapter);
        QFETCH(QString, simulated);
        ControllerHarness h(false);
        h.devices.addDevice(adapter.toStdString(), ControllerHarness::AdapterSerial, 0x121);
        Started(h);
        TimeRun(h, "Ann", 1000, 3200, 4200);
        TimeRun(h, "Bob", 10000, 12345, 13000);
        TimeRun(h, "Cy", 65000, 1000, 2001); // across the wrap of the gates' 16-bit clock

        QCOMPARE(h.readReport("Swiftlane_Sprint_1.csv"), Header + "Ann,3.200,2.200,1.000,32.000,10.000\n"
                                                                  "Bob,3.000,2.345,0.655,32.000,10.667\n"
                                                                  "Cy,2.537,1.536,1.001,32.000,12.613\n");
        QCOMPARE(StoredRuns(DatabasePath(h)),
                 (QStringList{"Ann 3200 2200@1 1000@2 " + simulated + " Swiftlane_Sprint_1.csv:2",
                              "Bob 3000 2345@1 655@2 " + simulated + " Swiftlane_Sprint_1.csv:3",
                              "Cy 2537 1536@1 1001@2 " + simulated + " Swiftlane_Sprint_1.csv:4"}));
        QCOMPARE(WarningsShown(h), 0);
    }

    // Editing or deleting the ".run" file changes nothing stored.
    void courseSnapshotStaysWhenTheRunFileChanges()
    {
        ControllerHarness h;
        Started(h);
        TimeRun(h, "Ann", 1000, 3200, 4200);
        h.writeSequence(QStringLiteral("Sprint"), {0, 1, 2}, 40.0);
        h.controller->SelectRun(h.runsFolder() + "Sprint.run");
        TimeRun(h, "Ann", 10000, 12000, 13000);
        QVERIFY(QFile::remove(h.runsFolder() + "Sprint.run"));
        h.controller.reset();

        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "snapshots");
        db.setDatabaseName(DatabasePath(h));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec("SELECT c.name || ' ' || c.gates || ' ' || c.distance_m FROM runs r"
                           " JOIN courses c ON c.id = r.course_id ORDER BY r.id"));
        QStringList courses;
        while (query.next())
            courses << query.value(0).toString();
        QCOMPARE(courses, (QStringList{"Sprint 0,1,2 32.0", "Sprint 0,1,2 40.0"}));
        query.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("snapshots");
    }

    // What the run's own checks found is kept with it: breaks the hold-off refused, a suspect mark.
    void extraBreaksAndSuspectMarkAreStored()
    {
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Lap"), {0, 0}, 100.0);
        Started(h);
        const auto run = [&h](const QString& course, const QString& subject, const QList<QPair<int, int>>& passages) {
            h.controller->SelectRun(h.runsFolder() + course + ".run");
            h.setSubjects({subject});
            h.status(static_cast<std::uint32_t>(passages[0].first - 100));
            h.tick();
            h.clickStart();
            for (const auto& [time, gate] : passages)
                h.event(static_cast<std::uint32_t>(time), gate);
            h.tick();
        };
        run("Lap", "Ann", {{1000, 0}, {1050, 0}, {9000, 0}});
        run("Sprint", "Bob", {{10000, 0}, {12000, 1}, {12500, 0}, {14000, 2}});
        h.controller.reset();

        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "checks");
        db.setDatabaseName(DatabasePath(h));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec("SELECT athlete || ' ' || IFNULL(extra_breaks, '-') || ' ' || IFNULL(suspect, '-')"
                           " FROM runs ORDER BY id"));
        QStringList runs;
        while (query.next())
            runs << query.value(0).toString();
        QCOMPARE(runs, (QStringList{"Ann 1 -", "Bob 0 suspect: Gate 1 passed again at 2.500 s"}));
        query.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("checks");
    }

    // Timing and the report go on, the operator is told once, and every run is stored once the
    // history works again: by the retry, or at the next start from the report's rows.
    void runsNotStoredAreKeptAndStoredLater_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("restart");
        QTest::newRow("locked, retried") << "locked" << false;
        QTest::newRow("locked, next start") << "locked" << true;
        QTest::newRow("not a database, next start") << "not a database" << true;
        QTest::newRow("not a database, retried") << "not a database" << false;
        QTest::newRow("disk full, retried") << "disk full" << false;
    }
    void runsNotStoredAreKeptAndStoredLater()
    {
        QFETCH(QString, fault);
        QFETCH(bool, restart);
        ControllerHarness h;
        const QString path = DatabasePath(h);
        if (fault == "not a database") {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("this is a note, not a database\n").repeated(200));
        }
        Started(h);
        TimeRun(h, "Zed", 100, 1100, 1600); // before the trouble, where there is a history
        QSqlDatabase locker;
        if (fault == "locked") {
            locker = QSqlDatabase::addDatabase("QSQLITE", "other-program");
            locker.setDatabaseName(path);
            QVERIFY(locker.open());
            QVERIFY(QSqlQuery(locker).exec("BEGIN EXCLUSIVE"));
        }
        std::unique_ptr<FileSizeLimit> full;
        if (fault == "disk full")
            full = std::make_unique<FileSizeLimit>(QFileInfo(path + "-wal").size());

        TimeRun(h, "Ann", 1000, 3200, 4200);
        TimeRun(h, "Bob", 10000, 12345, 13000);
        const bool fromTheStart = fault == "not a database";
        QCOMPARE(h.controller->Results().PendingCount(), fromTheStart ? 3 : 2);
        QCOMPARE(WarningsShown(h), 1);
        QCOMPARE(h.readReport("Swiftlane_Sprint_1.csv"),
                 Header + "Zed,1.500,1.000,0.500,32.000,21.333\nAnn,3.200,2.200,1.000,32.000,10.000\n"
                          "Bob,3.000,2.345,0.655,32.000,10.667\n");

        // A restart with the trouble still there: the end of the program cannot store them either.
        if (restart)
            h.controller.reset();
        full.reset();
        if (locker.isValid()) {
            QSqlQuery(locker).exec("COMMIT");
            locker.close();
            locker = QSqlDatabase();
            QSqlDatabase::removeDatabase("other-program");
        }
        if (fault == "not a database")
            QVERIFY(QFile::rename(path, path + ".note")); // the operator moves it away
        if (restart)
            h.start();
        else
            QVERIFY(h.controller->Results().StorePending());
        // Read back from the report, the splits keep their milliseconds; the gates are not in it.
        const bool zedFromReport = restart && fromTheStart;
        const QStringList expected{zedFromReport ? "Zed 1500 1000@? 500@? 0 Swiftlane_Sprint_1.csv:2"
                                                 : "Zed 1500 1000@1 500@2 0 Swiftlane_Sprint_1.csv:2",
                                   restart ? "Ann 3200 2200@? 1000@? 0 Swiftlane_Sprint_1.csv:3"
                                           : "Ann 3200 2200@1 1000@2 0 Swiftlane_Sprint_1.csv:3",
                                   restart ? "Bob 3000 2345@? 655@? 0 Swiftlane_Sprint_1.csv:4"
                                           : "Bob 3000 2345@1 655@2 0 Swiftlane_Sprint_1.csv:4"};
        QCOMPARE(StoredRuns(path), expected);
        QCOMPARE(h.controller->Results().PendingCount(), 0);
        QCOMPARE(WarningsShown(h), 1);
    }
};

QTEST_MAIN(ResultsHistoryTest)
#include "test_results_history.moc"
