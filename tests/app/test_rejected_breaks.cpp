// Breaks the hold-off refused, told in the main window's status line for the run that had them.
#include "support/ControllerHarness.h"

#include <QStatusBar>
#include <QtTest>

class RejectedBreaks : public QObject
{
    Q_OBJECT

    static QString note(const ControllerHarness& h)
    {
        return h.controller->MainWindow()
            .findChild<QStatusBar*>(QStringLiteral("statusBar"))
            ->currentMessage();
    }

private slots:
    // Out through Gate 3 and back through it, the default hold-off of 300 ms.
    void shownUntilTheNextRunStarts()
    {
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Out and back"), {0, 2, 2}, 20.0);
        h.start();
        h.startPastTheStartGate(QStringLiteral("Ann")); // start gate at 1000
        h.event(3000, 2);
        h.event(3100, 2); // a second leg
        h.event(3250, 2); // an arm swinging back
        h.tick();
        QCOMPARE(note(h), QString());
        h.event(6000, 2);
        h.tick();
        QVERIFY(!h.controller->GetSequenceRun().IsRunning());
        QCOMPARE(note(h), QStringLiteral("2 extra breaks at Gate 3 ignored"));
        const QStringList row{"Ann", "5.000", "2.000", "3.000", "20.000", "4.000"};
        QCOMPARE(h.lastTableRow(), row);
        // The report row is the same as without refused breaks.
        QVERIFY(h.readReport(h.reportFiles().value(0)).endsWith(row.join(',') + "\n"));

        h.status(7000);
        h.tick();
        h.clickStart();
        QCOMPARE(note(h), QString());
        h.event(8000, 0);
        h.event(10000, 2);
        h.event(12000, 2);
        h.tick();
        QVERIFY(!h.controller->GetSequenceRun().IsRunning());
        QCOMPARE(note(h), QString());
    }
};

QTEST_MAIN(RejectedBreaks)
#include "test_rejected_breaks.moc"
