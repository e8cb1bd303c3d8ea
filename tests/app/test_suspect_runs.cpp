// A run whose finish sentence was destroyed on the wire closes at the next athlete's finish and
// looks like a real time. On a course whose gates all differ, a passage of a gate the run already
// passed gives it away: the run is marked suspect, its times and its report row stay as timed.
#include "support/ControllerHarness.h"

#include <QtTest>

using Passages = QList<QPair<int, int>>; // device time in ms, gate 0 .. 3
Q_DECLARE_METATYPE(Passages)

class SuspectRunsTest : public QObject
{
    Q_OBJECT

private slots:
    // Each run starts with gate 0 at device time 1000; the mark's time counts from there.
    void aGatePassedAgainMarksTheRun_data()
    {
        QTest::addColumn<QList<int>>("gates");
        QTest::addColumn<Passages>("passages");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("mark");
        QTest::newRow("finish lost: next athlete's start, then finish")
            << QList<int>{0, 1} << Passages{{9000, 0}, {12000, 1}} << "Ann,11.000,11.000,30.000,2.727"
            << "suspect: Gate 1 passed again at 8.000 s";
        QTest::newRow("middle gate lost on three gates: start again during the last segment")
            << QList<int>{0, 1, 2} << Passages{{3000, 1}, {9500, 0}, {10500, 2}}
            << "Ann,9.500,2.000,7.500,30.000,3.158"
            << "suspect: Gate 1 passed again at 8.500 s";
        QTest::newRow("a later gate passed early is not a repeat")
            << QList<int>{0, 1, 2} << Passages{{2000, 2}, {3000, 1}, {4500, 2}}
            << "Ann,3.500,2.000,1.500,30.000,8.571"
            << "";
        QTest::newRow("out and back: gates repeat, so a repeat says nothing")
            << QList<int>{0, 1, 0} << Passages{{3000, 1}, {4000, 1}, {5200, 0}}
            << "Ann,4.200,2.000,2.200,30.000,7.143"
            << "";
        QTest::newRow("second leg at the start gate inside the hold-off")
            << QList<int>{0, 1} << Passages{{1100, 0}, {3500, 1}} << "Ann,2.500,2.500,30.000,12.000"
            << "";
        QTest::newRow("start gate again after the hold-off")
            << QList<int>{0, 1} << Passages{{1400, 0}, {3500, 1}} << "Ann,2.500,2.500,30.000,12.000"
            << "suspect: Gate 1 passed again at 0.400 s";
        QTest::newRow("clean run") << QList<int>{0, 1} << Passages{{3500, 1}}
                                   << "Ann,2.500,2.500,30.000,12.000"
                                   << "";
    }
    void aGatePassedAgainMarksTheRun()
    {
        QFETCH(QList<int>, gates);
        QFETCH(Passages, passages);
        QFETCH(QString, row);
        QFETCH(QString, mark);
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Course"), gates, 30.0);
        h.start();
        h.startPastTheStartGate();
        for (const auto& [time, gate] : passages) {
            h.event(static_cast<std::uint32_t>(time), gate);
            h.tick();
        }
        QCOMPARE(h.controller->GetSequenceRun().SuspectMark(), mark);
        QCOMPARE(h.lastTableRow().join(','), row);
        const QStringList reports = h.reportFiles();
        QCOMPARE(reports.size(), 1);
        QVERIFY2(h.readReport(reports[0]).endsWith(row + "\n"), qPrintable(h.readReport(reports[0])));
        if (mark.isEmpty())
            QVERIFY(!h.statusText().contains("suspect"));
        else
            QVERIFY2(h.statusText().endsWith(", " + mark), qPrintable(h.statusText()));
    }

    void theMarkGoesWhenTheNextRunStarts()
    {
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Course"), {0, 1}, 30.0);
        h.start();
        h.startPastTheStartGate();
        h.event(9000, 0);
        h.event(12000, 1);
        h.tick();
        QVERIFY(h.statusText().contains("suspect"));
        h.clickStart();
        h.tick();
        QVERIFY2(!h.statusText().contains("suspect"), qPrintable(h.statusText()));
    }
};

QTEST_MAIN(SuspectRunsTest)
#include "test_suspect_runs.moc"
