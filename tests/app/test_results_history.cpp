// Finished runs reach the results history through the controller, after their report row; when
// the history cannot take them, timing and the report go on and the runs are stored later.
#include "platform/VirtualAdapters.h"
#include "support/ControllerHarness.h"
#include "support/FileSizeLimit.h"
#include "support/ResultsRecords.h"

#include <QSqlQuery>
#include <QtTest>

using namespace resultsrecords;

namespace {

const QString Header = QStringLiteral("Subject_Name,Total_Time,Checkpoint_1,Checkpoint_2,Distance,Speed\n");

// The rows `sql` selects from the history file, each one text, joined by "|".
QString Stored(const QString& databasePath, const QString& sql)
{
    ResultsStore reader(databasePath);
    return reader.Open() ? Scalar(reader, "SELECT group_concat(row, '|') FROM (" + sql + ")") : "cannot open";
}

// Every stored run as "athlete total split@gate split@gate simulated report:row" (rows of one digit).
QString StoredRuns(const QString& databasePath)
{
    return Stored(
        databasePath,
        "SELECT r.athlete || ' ' || r.total_ms || ' ' || (SELECT group_concat(s.ms || '@' ||"
        " IFNULL(s.gate, '?'), ' ') FROM splits s WHERE s.run_id = r.id) || ' ' || r.simulated ||"
        " ' ' || substr(r.report_key, 1, instr(r.report_key, ':') + 1) AS row FROM runs r ORDER BY r.id");
}

} // namespace

class ResultsHistoryTest : public QObject
{
    Q_OBJECT

    static QString Database(ControllerHarness& h) { return h.dataDir.filePath("Swiftlane/Results.sqlite"); }
    static void Started(ControllerHarness& h)
    {
        h.writeSequence("Sprint", {0, 1, 2}, 32.0);
        h.start();
    }

    // A run of `subject` over the passages (device time, gate), on the selected course.
    static void TimeRun(ControllerHarness& h, const QString& subject, const QList<QPair<int, int>>& passages)
    {
        h.setSubjects({subject});
        h.status(static_cast<std::uint32_t>(passages[0].first - 100));
        h.tick();
        h.clickStart();
        for (const auto& [time, gate] : passages)
            h.event(static_cast<std::uint32_t>(time), gate);
        h.tick();
    }
    static void TimeRun(ControllerHarness& h, const QString& subject, int start, int gate1, int gate2)
    {
        TimeRun(h, subject, {{start, 0}, {gate1, 1}, {gate2, 2}});
    }

    int WarningsShown(ControllerHarness& h)
    {
        QCoreApplication::processEvents(); // the warning waits for the tick to return
        return std::count_if(
            h.dialogs.calls.begin(), h.dialogs.calls.end(),
            [](const FakeDialogs::Call& call) { return call.title == "Results not stored"; });
    }

    // Timing and the report go on, the operator is told once, and every run is stored once the
    // history works again: by the retry, or at the next start from the report's rows.
    void NotStoredThenStored(const QString& fault, bool restart)
    {
        ControllerHarness h;
        const QString path = Database(h);
        const bool fromTheStart = fault == "not a database";
        const QByteArray note = QByteArray("this is a note, not a database\n").repeated(200);
        QFile file(path);
        QVERIFY(!fromTheStart || (QDir().mkpath(QFileInfo(path).absolutePath()) &&
                                  file.open(QIODevice::WriteOnly) && file.write(note) > 0));
        file.close();
        Started(h);
        TimeRun(h, "Zed", 100, 1100, 1600);   // before the trouble, where there is a history
        std::unique_ptr<ResultsStore> locker; // another program's connection, holding the file
        if (fault == "locked") {
            locker = std::make_unique<ResultsStore>(path);
            QVERIFY(locker->Open() && QSqlQuery(locker->Database()).exec("BEGIN EXCLUSIVE"));
        }
        std::unique_ptr<FileSizeLimit> full;
        if (fault == "disk full")
            full = std::make_unique<FileSizeLimit>(QFileInfo(path + "-wal").size());

        TimeRun(h, "Ann", 1000, 3200, 4200);
        TimeRun(h, "Bob", 10000, 12345, 13000);
        QCOMPARE(h.controller->Results().PendingCount(), fromTheStart ? 3 : 2);
        QCOMPARE(WarningsShown(h), 1);
        QCOMPARE(h.readReport("Swiftlane_Sprint_1.csv"),
                 Header + "Zed,1.500,1.000,0.500,32.000,21.333\nAnn,3.200,2.200,1.000,32.000,10.000\n"
                          "Bob,3.000,2.345,0.655,32.000,10.667\n");

        // A restart with the trouble still there: the end of the program cannot store them either.
        if (restart)
            h.controller.reset();
        full.reset();
        locker.reset();
        if (fromTheStart) { // left as it was, the operator moves it away
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == note);
            file.close();
            QVERIFY(QFile::rename(path, path + ".note"));
        }
        if (restart)
            h.start();
        else
            QVERIFY(h.controller->Results().StorePending());
        // Read back from the report at a restart, the splits keep their milliseconds but not their gates.
        QStringList expected{"Zed 1500 1000@1 500@2 0 Swiftlane_Sprint_1.csv:2",
                             "Ann 3200 2200@1 1000@2 0 Swiftlane_Sprint_1.csv:3",
                             "Bob 3000 2345@1 655@2 0 Swiftlane_Sprint_1.csv:4"};
        for (int row = fromTheStart ? 0 : 1; restart && row < 3; ++row)
            expected[row].replace(QRegularExpression("@\\d"), "@?");
        QCOMPARE(StoredRuns(path), expected.join('|'));
        QCOMPARE(h.controller->Results().PendingCount(), 0);
        QCOMPARE(WarningsShown(h), 1);
    }

private slots:
    // Runs from the gates on the course and from the simulator's, which are marked simulated.
    void scriptedSessionLandsWithExactSplits()
    {
        for (const char* simulated : {"0", "1"}) {
            ControllerHarness h(false);
            h.devices.addDevice(*simulated == '1' ? platform::VirtualAdapterDescription
                                                  : "Swiftlane gate adapter",
                                ControllerHarness::AdapterSerial, 0x121);
            Started(h);
            TimeRun(h, "Ann", 1000, 3200, 4200);
            TimeRun(h, "Bob", 10000, 12345, 13000);
            TimeRun(h, "Cy", 65000, 1000, 2001); // across the wrap of the gates' 16-bit clock
            QCOMPARE(StoredRuns(Database(h)),
                     QString("Ann 3200 2200@1 1000@2 %1 Swiftlane_Sprint_1.csv:2|Bob 3000 2345@1 655@2 %1 "
                             "Swiftlane_Sprint_1.csv:3|Cy 2537 1536@1 1001@2 %1 Swiftlane_Sprint_1.csv:4")
                         .arg(simulated));
            QCOMPARE(WarningsShown(h), 0);
        }
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
        QCOMPARE(Stored(Database(h),
                        "SELECT c.name || ' ' || c.gates || ' ' || c.distance_m AS row FROM runs r"
                        " JOIN courses c ON c.id = r.course_id ORDER BY r.id"),
                 "Sprint 0,1,2 32.0|Sprint 0,1,2 40.0");
    }

    // What the run's own checks found is kept with it: breaks the hold-off refused, a suspect mark.
    void extraBreaksAndSuspectMarkAreStored()
    {
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Lap"), {0, 0}, 100.0);
        Started(h);
        h.controller->SelectRun(h.runsFolder() + "Lap.run");
        TimeRun(h, "Ann", {{1000, 0}, {1050, 0}, {9000, 0}});
        h.controller->SelectRun(h.runsFolder() + "Sprint.run");
        TimeRun(h, "Bob", {{10000, 0}, {12000, 1}, {12500, 0}, {14000, 2}});
        h.controller.reset();
        QCOMPARE(Stored(Database(h), "SELECT athlete || ' ' || IFNULL(extra_breaks, '-') || ' ' ||"
                                     " IFNULL(suspect, '-') AS row FROM runs ORDER BY id"),
                 "Ann 1 -|Bob 0 suspect: Gate 1 passed again at 2.500 s");
    }

    void runsNotStoredAreKeptAndStoredLater()
    {
        // The trouble, and whether a restart clears it instead of the retry.
        const std::pair<QString, bool> cases[] = {{"locked", false},
                                                  {"locked", true},
                                                  {"not a database", true},
                                                  {"not a database", false},
                                                  {"disk full", false}};
        for (const auto& [fault, restart] : cases)
            QVERIFY2((NotStoredThenStored(fault, restart), !QTest::currentTestFailed()), qPrintable(fault));
    }
};

QTEST_MAIN(ResultsHistoryTest)
#include "test_results_history.moc"
