// The run driven from the keyboard: real key events go to whichever control has focus, and the
// shortcuts ask exactly what the Start run button asks.
#include "support/ControllerHarness.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

namespace {

// The window shown and active, the key sent to `target`, by default the editable subject box, where
// the operator types.
void press(ControllerHarness& h, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           QWidget* target = nullptr)
{
    QWidget& window = h.controller->MainWindow();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (!target)
        target = h.subjectCombo()->lineEdit();
    target->setFocus();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

const QString notReady =
    QStringLiteral("Some gates in the gate sequence are either not ready or not present");

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each key is listed in the Run menu, where the operator sees it.
    void shortcutsAreListedInTheRunMenu()
    {
        auto h = ControllerHarness::connected();
        for (const auto& [action, key] : {std::pair{"actionStart_run", QKeySequence(Qt::Key_F5)},
                                          {"actionStop_run", QKeySequence(Qt::SHIFT | Qt::Key_F5)},
                                          {"actionPrevious_subject", QKeySequence(Qt::CTRL | Qt::Key_Up)},
                                          {"actionNext_subject", QKeySequence(Qt::CTRL | Qt::Key_Down)}}) {
            auto* found = h->child<QAction>(action);
            QVERIFY2(found && found->shortcut() == key && !found->associatedObjects().isEmpty(), action);
        }
    }

    // F5 is Start run when no run is going on: same checks, same box, same live row.
    void f5StartsAsTheButtonDoes()
    {
        const QString noSubject = QStringLiteral("Please enter a subject name\n");
        // subject, gate 2 ready, the box's text (empty: the run starts)
        for (const auto& [subject, gate2Ready, message] : {std::tuple{"Ann", true, QString()},
                                                           {"Ann", false, notReady},
                                                           {"", false, noSubject + notReady}}) {
            auto h = ControllerHarness::connected({subject});
            h->status(600, true, true, gate2Ready, true);
            h->tick();
            press(*h, Qt::Key_F5);
            QCOMPARE(h->controller->GetSequenceRun().IsRunning(), message.isEmpty());
            QCOMPARE(h->table()->rowCount(), message.isEmpty() ? 1 : 0);
            QCOMPARE(h->dialogs.calls.size(), std::size_t(message.isEmpty() ? 0 : 1));
            if (!message.isEmpty()) {
                QCOMPARE(h->dialogs.calls[0].title, QStringLiteral("Problem starting run"));
                QCOMPARE(h->dialogs.calls[0].text, message);
                QCOMPARE(h->dialogs.calls[0].parent, &h->controller->MainWindow());
            }
        }
    }

    // F5 only starts and Shift+F5 only stops: each does nothing when the run is not in the state
    // it acts on. Shift+F5 asks the button's question; only Ok aborts.
    void startAndStopKeys()
    {
        // during a run, Shift held, the answer, still running after
        const std::tuple<bool, bool, QMessageBox::StandardButton, bool> cases[] = {
            {true, false, QMessageBox::Ok, true}, // F5 during a run
            {false, true, QMessageBox::Ok, false},
            {true, true, QMessageBox::No, true},
            {true, true, QMessageBox::Ok, false},
        };
        for (const auto& [duringRun, shift, answer, runningAfter] : cases) {
            auto h = ControllerHarness::connected();
            if (duringRun)
                h->startPastTheStartGate();
            h->dialogs.buttonAnswers = {answer};
            press(*h, Qt::Key_F5, shift ? Qt::ShiftModifier : Qt::NoModifier);
            const bool asked = duringRun && shift;
            QCOMPARE(h->dialogs.calls.size(), std::size_t(asked ? 1 : 0));
            if (asked) {
                const FakeDialogs::Call& call = h->dialogs.calls[0];
                QCOMPARE(call.title, QStringLiteral("Run in Progress"));
                QCOMPARE(call.text, QStringLiteral("Do you wish to abort the current run ?"));
                QCOMPARE(call.buttons, QMessageBox::Ok | QMessageBox::No);
                QCOMPARE(call.defaultButton, QMessageBox::No);
            }
            const SequenceRun& engine = h->controller->GetSequenceRun();
            QCOMPARE(engine.IsRunning(), runningAfter);
            if (runningAfter)
                QCOMPARE(engine.CurrentGateIndex(), 1); // kept, not started again
            QCOMPARE(h->table()->rowCount(), runningAfter ? 1 : 0);
        }
    }

    // Ann finishes with auto-advance on and the box moves to Bob; F5 one second into the countdown
    // starts Bob's run, and the countdown running out later neither asks nor starts another.
    void f5DuringTheCountdownTimesTheNextSubject()
    {
        auto h = ControllerHarness::connected({QStringLiteral("Ann"), QStringLiteral("Bob")});
        h->child<QCheckBox>("autoAdvSubjectCheckBox")->setChecked(true);
        h->clickStart();
        h->passAll();
        h->status(5000);
        h->tick(40);
        press(*h, Qt::Key_F5);
        QVERIFY(h->controller->GetSequenceRun().IsRunning());
        h->event(20000, 0);
        for (int i = 0; i < 260; ++i) { // 6.5 s, past the end of the countdown
            h->status(20000 + 25 * i);
            h->tick();
        }
        QVERIFY(h->dialogs.calls.empty());
        QCOMPARE(h->table()->rowCount(), 2);
        QCOMPARE(h->lastTableRow().first(), QStringLiteral("Bob"));
        QCOMPARE(h->controller->GetSequenceRun().CurrentGateIndex(), 1);
    }

    // Ctrl+Up/Down walk the list without wrapping. During a run they choose who runs next; the
    // running run keeps its subject.
    void ctrlUpDownChooseTheSubject()
    {
        auto h = ControllerHarness::connected({"Ann", "Bob", "Cy"});
        const SequenceRun& engine = h->controller->GetSequenceRun();
        QString seen;
        for (int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
            press(*h, key, Qt::ControlModifier);
            seen += h->subjectCombo()->currentText().front();
        }
        QCOMPARE(seen, QStringLiteral("ABCCB"));
        QCOMPARE(engine.NextSubjectName(), QStringLiteral("Bob")); // the controller saw it
        h->clickStart();
        press(*h, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Cy"));
        QCOMPARE(engine.SubjectName(), QStringLiteral("Bob"));
        QCOMPARE(engine.NextSubjectName(), QStringLiteral("Cy"));
    }

    // Whatever control has focus, the keys reach the window's shortcuts.
    void shortcutsWorkFromEveryControl()
    {
        auto h = ControllerHarness::connected({"Ann", "Bob"});
        int controls = 0;
        for (QWidget* control : h->controller->MainWindow().findChildren<QWidget*>()) {
            if (!control->isVisible() || !(control->focusPolicy() & Qt::TabFocus))
                continue;
            ++controls;
            press(*h, Qt::Key_Down, Qt::ControlModifier, control);
            QVERIFY2(h->subjectCombo()->currentIndex() == 1, qPrintable(control->objectName()));
            press(*h, Qt::Key_Up, Qt::ControlModifier, control);
            QVERIFY2(h->subjectCombo()->currentIndex() == 0, qPrintable(control->objectName()));
        }
        QVERIFY(controls >= 10);
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
