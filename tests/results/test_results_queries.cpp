// Bests, ranking and progress over a small history of two sessions with invalid runs, ties and a
// simulated run; the expected values are worked out by hand from the runs below.
#include "results/ResultsQueries.h"
#include "results/ResultsStore.h"
#include "support/ResultsRecords.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace resultsrecords;

Q_DECLARE_METATYPE(RunFilter)

class ResultsQueriesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ResultsStore> store;

    // Rows of the runs query as "athlete total [PB]", in query order.
    QStringList Runs(const RunFilter& filter)
    {
        const results::SqlText text = results::RunsQuery(filter);
        QSqlQuery query(store->Database());
        query.prepare(text.sql);
        for (const QVariant& value : text.values)
            query.addBindValue(value);
        if (!query.exec())
            return QStringList{query.lastError().text()};
        QStringList rows;
        while (query.next()) {
            QString row = query.value(runcolumn::Athlete).toString() + ' ' +
                          QString::number(query.value(runcolumn::TotalMs).toLongLong());
            if (query.value(runcolumn::PersonalBest).toBool())
                row += " PB";
            rows << row;
        }
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

    void runsQuery_data()
    {
        QTest::addColumn<RunFilter>("filter");
        QTest::addColumn<QStringList>("rows");
        RunFilter all;
        all.sortColumn = runcolumn::StartUtcMs;
        all.sortOrder = Qt::AscendingOrder;
        QTest::newRow("everything real, oldest first")
            << all << QStringList{"Ann 5000",    "Bob 4900 PB", "Cy 4800",    "Ann 4800", "Bob 4700",
                                  "Ann 4750 PB", "Bob 5100",    "Cy 4750 PB", "Cy 4750"};
        RunFilter simulated = all;
        simulated.athlete = "Ann";
        simulated.showSimulated = true;
        QTest::newRow("simulated shown, compared only with simulated")
            << simulated << QStringList{"Ann 5000", "Ann 4800", "Ann 4750 PB", "Ann 4600 PB"};
        RunFilter day = all;
        day.from = day.to = QDateTime(QDate(2026, 11, 9), QTime(12, 0), Qt::UTC).toLocalTime().date();
        QTest::newRow("one day") << day << QStringList{"Ann 4750 PB", "Bob 5100", "Cy 4750 PB", "Cy 4750"};
        RunFilter best = all;
        best.bestPerAthlete = true;
        best.sortColumn = runcolumn::TotalMs;
        QTest::newRow("best per athlete, invalid ignored")
            << best << QStringList{"Ann 4750 PB", "Cy 4750 PB", "Bob 4900 PB"};
        RunFilter firstDayBest = best;
        firstDayBest.to = QDateTime(QDate(2026, 11, 2), QTime(12, 0), Qt::UTC).toLocalTime().date();
        QTest::newRow("best per athlete in a range, tie")
            << firstDayBest << QStringList{"Cy 4800", "Ann 4800", "Bob 4900 PB"};
        RunFilter course = all;
        course.course = "Hill";
        QTest::newRow("another course") << course << QStringList{};
        RunFilter slowest = all;
        slowest.sortColumn = runcolumn::TotalMs;
        slowest.sortOrder = Qt::DescendingOrder;
        slowest.athlete = "Bob";
        QTest::newRow("sorted by total, slowest first")
            << slowest << QStringList{"Bob 5100", "Bob 4900 PB", "Bob 4700"};
    }
    void runsQuery()
    {
        QFETCH(RunFilter, filter);
        QFETCH(QStringList, rows);
        QCOMPARE(Runs(filter).join("|"), rows.join("|"));
    }

    void athleteProgress_data()
    {
        QTest::addColumn<QString>("athlete");
        QTest::addColumn<QStringList>("sessions"); // "best/attempts/change"
        QTest::addColumn<qint64>("personalBest");
        QTest::addColumn<QDate>("personalBestDay"); // in UTC
        QTest::newRow("Ann faster") << "Ann" << QStringList{"4800/2/-", "4750/1/-50"} << 4750LL
                                    << QDate(2026, 11, 9);
        QTest::newRow("Bob slower, invalid run counts as attempt only")
            << "Bob" << QStringList{"4900/2/-", "5100/1/200"} << 4900LL << QDate(2026, 11, 2);
        QTest::newRow("Cy, equal runs: the first is the best")
            << "Cy" << QStringList{"4800/1/-", "4750/2/-50"} << 4750LL << QDate(2026, 11, 9);
    }
    void athleteProgress()
    {
        QFETCH(QString, athlete);
        QFETCH(QStringList, sessions);
        QFETCH(qint64, personalBest);
        QFETCH(QDate, personalBestDay);
        const results::AthleteHistory history =
            results::AthleteOnCourse(store->Database(), athlete, "Sprint", false);
        QStringList got;
        for (const results::SessionBest& session : history.sessions)
            got << QStringLiteral("%1/%2/%3")
                       .arg(session.bestMs)
                       .arg(session.attempts)
                       .arg(session.changeMs ? QString::number(*session.changeMs) : QStringLiteral("-"));
        QCOMPARE(got, sessions);
        QCOMPARE(history.personalBestMs.value_or(-1), personalBest);
        QCOMPARE(history.personalBestStart.toUTC().date(), personalBestDay);
    }

    void sessionRanking()
    {
        const auto sessions = results::Sessions(store->Database());
        QCOMPARE(sessions.size(), 2u);
        const std::int64_t first = sessions.back().id; // newest first
        const results::SessionSummary summary = results::SessionResults(store->Database(), first, false);
        QStringList ranking;
        for (const results::RankedAthlete& entry : summary.ranking)
            ranking << QStringLiteral("%1 %2 %3 %4")
                           .arg(entry.rank)
                           .arg(entry.athlete)
                           .arg(*entry.bestMs)
                           .arg(entry.attempts);
        QCOMPARE(ranking, (QStringList{"1 Ann 4800 2", "1 Cy 4800 1", "3 Bob 4900 2"}));
        QStringList splits;
        for (const results::BestSplit& best : summary.bestSplits)
            splits
                << QStringLiteral("%1: %2 %3").arg(best.checkpoint).arg(best.ms).arg(best.athletes.join('+'));
        // Bob's invalid 1700 is no best split.
        QCOMPARE(splits, (QStringList{"1: 1800 Bob", "2: 2900 Ann+Cy"}));
    }

    void exportRowsCarryEverything()
    {
        RunFilter filter;
        filter.athlete = "Bob";
        filter.sortOrder = Qt::AscendingOrder;
        const auto rows = results::ExportRows(store->Database(), filter);
        QCOMPARE(rows.size(), 3u);
        QCOMPARE(rows[1].splitsMs, (std::vector<std::int64_t>{1700, 3000}));
        QVERIFY(!rows[1].valid);
        QCOMPARE(rows[1].reason, "slipped");
        QVERIFY(rows[0].personalBest);
        QCOMPARE(rows[0].start.toUTC(), Utc("2026-11-02T10:01:00Z"));
    }
};

QTEST_GUILESS_MAIN(ResultsQueriesTest)
#include "test_results_queries.moc"
