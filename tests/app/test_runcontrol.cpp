// Runs driven end to end through the controller and the main window: gate sentences in, report
// table and report file out; the questions that guard a run in progress, auto-advance, and what
// the status line says about a finished run.
#include "support/ControllerHarness.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

namespace {

// One notch down, delivered through the window as the window system delivers it.
void wheelOver(QWidget* widget)
{
    QWidget* window = widget->window();
    const QPointF at = widget->mapTo(window, widget->rect().center());
    QWheelEvent wheel(at, window->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->windowHandle(), &wheel);
}

QCheckBox* autoAdvance(ControllerHarness& h)
{
    return h.child<QCheckBox>("autoAdvSubjectCheckBox");
}

const QString notReady =
    QStringLiteral("Some gates in the gate sequence are either not ready or not present");

// The note on the breaks the hold-off refused.
QString breaksNote(const ControllerHarness& h)
{
    return h.child<QStatusBar>("statusBar")->currentMessage();
}

} // namespace

class RunControlTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedStartsExplainWhy()
    {
        const QString noSubject = QStringLiteral("Please enter a subject name\n");
        // subject, the sequence's gates, gate 2 ready, the box's text (empty: the run starts)
        const std::tuple<const char*, QList<int>, bool, QString> cases[] = {
            {"", {0, 2}, false, noSubject + notReady},
            {"Ann", {0, 1}, false, QString()}, // the unready gate is not in the sequence
            {"Ann", {}, true, notReady},       // a sequence without gates
            {"  ", {0, 2}, true, QString()},   // a blank name passes
        };
        for (const auto& [subject, gates, gate2Ready, message] : cases) {
            auto h = ControllerHarness::connected({subject}, gates);
            h->status(600, true, true, gate2Ready, true);
            h->tick();
            h->clickStart();
            QVERIFY2(h->controller->GetSequenceRun().IsRunning() == message.isEmpty(), subject);
            QCOMPARE(h->table()->rowCount(), message.isEmpty() ? 1 : 0);
            QCOMPARE(h->dialogs.calls.size(), std::size_t(message.isEmpty() ? 0 : 1));
            QCOMPARE(h->dialogs.calls.empty() ? QString() : h->dialogs.calls[0].text, message);
        }
    }

    // Ok answers the run it was asked about: here that run finishes while the question is open and
    // auto-advance starts Bob's, which the answer must leave alone.
    void okAfterTheRunFinishedKeepsItsResult()
    {
        auto h = ControllerHarness::connected({QStringLiteral("Ann"), QStringLiteral("Bob")});
        autoAdvance(*h)->setChecked(true);
        h->clickStart();
        h->event(1000, 0);
        h->event(3000, 1);
        h->event(4000, 2);
        h->tick();
        h->dialogs.whileOpen = [&h] { // the finish, then the countdown of 5 s runs out
            h->event(5000, 3);
            for (int i = 0; i < 203; ++i) {
                h->status(5000 + 25 * i);
                h->tick();
            }
        };
        h->clickStart(); // answered Ok
        QCOMPARE(h->controller->GetSequenceRun().SubjectName(), QStringLiteral("Bob"));
        QVERIFY(h->controller->GetSequenceRun().IsRunning());
        QCOMPARE(h->table()->rowCount(), 2);
        QVERIFY(h->readReport(QStringLiteral("Swiftlane_Sprint_1.csv"))
                    .endsWith(QStringLiteral("Ann,4.000,2.000,1.000,1.000,30.000,7.500\n")));
    }

    // Neither a wheel nor a programmatic change reaches the engine while a run is in progress; once
    // it is aborted the box follows again. (The abort question itself: app.keyboard's Shift+F5.)
    void sequenceBoxIsLockedWhileARunIsInProgress()
    {
        auto h = ControllerHarness::connected();
        h->writeSequence(QStringLiteral("Two"), {0, 1}, 10.0);
        h->controller->MainWindow().refreshRunList();
        const SequenceRun& engine = h->controller->GetSequenceRun();
        QComboBox* box = h->runCombo();
        h->clickStart();
        QVERIFY(!box->isEnabled()); // already while waiting for the start gate
        h->event(1000, 0);
        h->tick();
        wheelOver(box);
        box->setCurrentIndex(1);
        h->tick();
        QCOMPARE(engine.Sequence().Name(), QStringLiteral("Sprint"));
        QCOMPARE(box->currentText(), QStringLiteral("Sprint"));
        h->clickStart(); // answered Ok
        h->tick();
        QVERIFY(!engine.IsRunning() && box->isEnabled());
        QCOMPARE(h->table()->rowCount(), 0);
        QVERIFY(h->reportFiles().isEmpty());
        wheelOver(box);
        QCOMPARE(box->currentText(), QStringLiteral("Two"));
        QCOMPARE(engine.GateCount(), 2);
    }

    // Ending during a run asks, No being the default and keeping the run; otherwise nothing is asked.
    void endingTheProgram()
    {
        for (const char* how : {"title bar", "Exit action", "Exit button"}) {
            for (const bool duringRun : {true, false}) {
                auto h = ControllerHarness::connected();
                h->clickStart();
                duringRun ? h->event(1000, 0) : h->passAll();
                h->tick();
                h->dialogs.buttonAnswers = {QMessageBox::No}; // would keep the program if asked
                QVERIFY2(h->endProgram(how, duringRun) == (duringRun ? -1 : 0), how);
                QCOMPARE(h->dialogs.calls.size(), std::size_t(duringRun ? 1 : 0));
                if (!duringRun) {
                    if (how !=
                        QLatin1String("title bar")) // the process ends without the controller's destructor
                        QVERIFY(QFile::exists(h->dataDir.filePath(QStringLiteral("Swiftlane.cfg"))));
                    continue;
                }
                QCOMPARE(h->dialogs.calls[0].defaultButton, QMessageBox::No);
                QCOMPARE(h->dialogs.calls[0].parent, &h->controller->MainWindow());
                h->event(2000, 1); // the run goes on, timed as before
                h->event(3000, 2);
                h->tick();
                QCOMPARE(h->lastTableRow().mid(0, 4), (QStringList{"Ann", "2.000", "1.000", "1.000"}));
                h->dialogs.buttonAnswers = {QMessageBox::Yes};
                QCOMPARE(h->endProgram(how), 0);
            }
        }
    }

    // Ann finishes with auto-advance on and Bob next; one second into the countdown the operator
    // may start by hand or uncheck the box. The countdown shows whole seconds left; the subject box
    // shows Bob from the finish on, so a start by hand times Bob.
    void countdown()
    {
        for (const QString interruption : {"", "start", "uncheck"}) {
            auto h = ControllerHarness::connected({QStringLiteral("Ann"), QStringLiteral("Bob")});
            autoAdvance(*h)->setChecked(true);
            h->clickStart();
            h->passAll();
            QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Bob")); // at once, not after 5 s
            QString seconds;
            for (int i = 0; i < 300; ++i) { // 7.5 s, well past the countdown
                if (i == 40 && !interruption.isEmpty())
                    interruption == QLatin1String("start") ? h->clickStart() : autoAdvance(*h)->click();
                const QString text = h->statusText();
                if (text.startsWith(QLatin1String(" About to start in ")) && !seconds.endsWith(text.back()))
                    seconds += text.back();
                h->status(6000 + 25 * i);
                h->tick();
                if (i == 199) // exactly 5000 ms after the finish: not yet
                    QVERIFY2(h->controller->CountdownArmed() == interruption.isEmpty(),
                             qPrintable(interruption));
            }
            const bool unchecked = interruption == QLatin1String("uncheck");
            QCOMPARE(seconds, interruption.isEmpty() ? QStringLiteral("543210") : QStringLiteral("54"));
            QCOMPARE(h->statusText(),
                     unchecked ? QStringLiteral(" Idle") : QStringLiteral(" Waiting for start gate"));
            QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Bob"));
            // whose run is in progress or was last
            QCOMPARE(h->controller->GetSequenceRun().SubjectName(), unchecked ? "Ann" : "Bob");
            QCOMPARE(h->table()->rowCount(), unchecked ? 1 : 2);
            QVERIFY(h->dialogs.calls.empty());

            // Bob is the last of the list: his finish arms no countdown.
            autoAdvance(*h)->setChecked(true);
            if (!h->controller->GetSequenceRun().IsRunning())
                h->clickStart();
            h->passAll(20000);
            QVERIFY(!h->controller->CountdownArmed());
        }
    }

    // The box would run a nested event loop inside the gate poll that finished the run.
    void unwrittenReportIsToldOnceTheTickHasReturned()
    {
        auto h = ControllerHarness::connected();
        QVERIFY(QDir(h->reportsFolder()).removeRecursively());
        QVERIFY(WriteAll(h->reportsFolder().chopped(1), {})); // a file where the folder should be
        h->clickStart();
        h->passAll();
        QVERIFY(!h->controller->GetSequenceRun().IsRunning());
        QVERIFY(h->dialogs.calls.empty());
        QCoreApplication::processEvents();
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
        QVERIFY(h->dialogs.calls[0].text.contains(QDir::toNativeSeparators(h->reportsFolder())));
    }

    // The report buttons hand paths to the desktop; where it has no handler, the operator is told
    // where to look instead (%1: the reports folder).
    void reportButtons()
    {
        const QByteArray folder = "on_openReportFolderButton_clicked", view = "on_viewReportButton_clicked";
        const QString report = QStringLiteral("%1Swiftlane_Sprint_1.csv");
        // the button's slot, after a run, the path handed to the desktop, the message (empty: it opened)
        const std::tuple<QByteArray, bool, QString, QString> cases[] = {
            {folder, false, "%1", QString()},
            {view, false, "", "No report has been written yet. Reports are kept in:\n%1"},
            {view, true, report, "The desktop could not open the report. It is:\n" + report},
        };
        for (const auto& [slot, afterARun, handed, message] : cases) {
            auto h = ControllerHarness::connected();
            if (afterARun) {
                h->clickStart();
                h->passAll();
            }
            h->shell.opens = message.isEmpty(); // a desktop with a handler tells nothing
            QMetaObject::invokeMethod(&h->controller->MainWindow(), slot.constData());
            QCOMPARE(h->shell.opened.size(), 1);
            QCOMPARE(QDir::cleanPath(h->shell.opened[0]), QDir::cleanPath(handed.arg(h->reportsFolder())));
            QCOMPARE(h->dialogs.calls.empty() ? QString() : h->dialogs.calls[0].text,
                     message.isEmpty() ? message : message.arg(QDir::toNativeSeparators(h->reportsFolder())));
        }
    }

    // Each run on a 30 m course starts with gate 0 at device time 1000; a mark's time counts from
    // there. A run whose finish sentence was lost closes at the next athlete's finish: on a course
    // whose gates all differ, a gate passed again marks it suspect, its times and report row stay as
    // timed. Breaks the hold-off (300 ms) refused are noted.
    void finishedRunStatus()
    {
        const QString no;
        const struct
        {
            QList<int> gates;
            QList<QPair<int, int>> passages; // device time in ms, gate 0 .. 3
            QString row, mark, note;
        } cases[] = {
            {{0, 1, 2, 3},
             {{3200, 1}, {4200, 2}, {5000, 3}},
             "Ann,4.000,2.200,1.000,0.800,30.000,7.500",
             no,
             no},
            // the finish lost: the next athlete's start, then finish
            {{0, 1},
             {{9000, 0}, {12000, 1}},
             "Ann,11.000,11.000,30.000,2.727",
             "suspect: Gate 1 passed again at 8.000 s",
             no},
            // a later gate passed early is not a repeat
            {{0, 1, 2}, {{2000, 2}, {3000, 1}, {4500, 2}}, "Ann,3.500,2.000,1.500,30.000,8.571", no, no},
            // out and back: gates repeat, so a repeat says nothing
            {{0, 1, 0}, {{3000, 1}, {4000, 1}, {5200, 0}}, "Ann,4.200,2.000,2.200,30.000,7.143", no, no},
            // the second leg at the start gate inside the hold-off, then after it
            {{0, 1}, {{1100, 0}, {3500, 1}}, "Ann,2.500,2.500,30.000,12.000", no, no},
            {{0, 1},
             {{1400, 0}, {3500, 1}},
             "Ann,2.500,2.500,30.000,12.000",
             "suspect: Gate 1 passed again at 0.400 s",
             no},
            // the second leg and an arm swinging back at Gate 3
            {{0, 2, 2},
             {{3000, 2}, {3100, 2}, {3250, 2}, {6000, 2}},
             "Ann,5.000,2.000,3.000,30.000,6.000",
             no,
             "2 extra breaks at Gate 3 ignored"},
        };
        for (const auto& [gates, passages, row, mark, note] : cases) {
            ControllerHarness h;
            h.writeSequence(QStringLiteral("Course"), gates, 30.0);
            h.start();
            h.startPastTheStartGate();
            h.status(1050);
            h.tick();
            QCOMPARE(h.lastTableRow().mid(0, 2), (QStringList{"Ann", "0.050"})); // the live total, each tick
            for (const auto& [time, gate] : passages) {
                h.event(static_cast<std::uint32_t>(time), gate);
                h.tick();
            }
            QVERIFY(!h.controller->GetSequenceRun().IsRunning());
            QCOMPARE(h.controller->GetSequenceRun().SuspectMark(), mark);
            QVERIFY2(mark.isEmpty() ? !h.statusText().contains("suspect")
                                    : h.statusText().endsWith(", " + mark),
                     qPrintable(h.statusText()));
            QCOMPARE(breaksNote(h), note);
            QCOMPARE(h.lastTableRow().join(','), row);
            QCOMPARE(h.reportFiles().size(), 1);
            QVERIFY(h.readReport(h.reportFiles()[0]).endsWith(row + "\n")); // refused breaks leave no trace

            // Both belong to the run that had them: the next one starts, and finishes, without them.
            h.clickStart();
            h.tick();
            QVERIFY(!h.statusText().contains("suspect") && breaksNote(h).isEmpty());
            h.passAll(20000);
            QVERIFY(!h.controller->GetSequenceRun().IsRunning());
            QVERIFY(!h.statusText().contains("suspect") && breaksNote(h).isEmpty());
            QVERIFY(h.dialogs.calls.empty());
        }
    }
};

QTEST_MAIN(RunControlTest)
#include "test_runcontrol.moc"
