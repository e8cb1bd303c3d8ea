// A run in progress survives the slips of an operator's hand: a wheel over the sequence box, a closed
// window, an unchecked auto-advance box.
#include "support/ControllerHarness.h"

#include "platform/Process.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

namespace {

struct ExitCalled
{
    int code;
};

// One notch down, delivered through the window as the window system delivers it.
void wheelOver(QWidget* widget)
{
    QWidget* window = widget->window();
    const QPointF at = widget->mapTo(window, widget->rect().center());
    QWheelEvent wheel(at, window->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->windowHandle(), &wheel);
}

// Ends the program as the operator would; true when it ended. An ending is caught by throwing from
// the exit seam, which must not unwind through Qt's own frames (built without exception support,
// they would leak), so only a try that is answered No goes through the real action and button;
// the others call the slot they are connected to.
bool tryToEnd(ControllerHarness& h, const QString& how, bool answeredNo = false)
{
    SLMainWindow& window = h.controller->MainWindow();
    if (how == QLatin1String("title bar")) {
        QCloseEvent close;
        QApplication::sendEvent(window.windowHandle(), &close);
        return !window.isVisible();
    }
    bool ended = false;
    platform::setExitHandler([](int code) { throw ExitCalled{code}; });
    const bool action = how == QLatin1String("Exit action");
    try {
        if (answeredNo && action)
            window.findChild<QAction*>(QStringLiteral("actionExit"))->trigger();
        else if (answeredNo)
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("exitPushButton")),
                              Qt::LeftButton);
        else
            QMetaObject::invokeMethod(&window,
                                      action ? "on_actionExit_triggered" : "on_exitPushButton_clicked",
                                      Qt::DirectConnection);
    } catch (const ExitCalled& exit) {
        ended = exit.code == 0;
    }
    platform::setExitHandler(nullptr);
    return ended;
}

} // namespace

class RunInProgressTest : public QObject
{
    Q_OBJECT

    // Sequences "A" (4 gates, selected) and "B" (2 gates); Ann and Bob listed; every gate ready.
    std::unique_ptr<ControllerHarness> connected()
    {
        auto h = std::make_unique<ControllerHarness>();
        h->writeSequence(QStringLiteral("A"), {0, 1, 2, 3}, 30.0);
        h->writeSequence(QStringLiteral("B"), {0, 1}, 10.0);
        h->start();
        h->setSubjects({QStringLiteral("Ann"), QStringLiteral("Bob")});
        h->status(500);
        h->tick();
        return h;
    }

    static QCheckBox* autoAdvance(ControllerHarness& h)
    {
        return h.controller->MainWindow().findChild<QCheckBox*>(QStringLiteral("autoAdvSubjectCheckBox"));
    }

private Q_SLOTS:
    void sequenceBoxIsLockedWhileARunIsInProgress_data()
    {
        QTest::addColumn<bool>("finish");
        QTest::newRow("run finishes") << true;
        QTest::newRow("run is aborted") << false;
    }
    void sequenceBoxIsLockedWhileARunIsInProgress()
    {
        QFETCH(bool, finish);
        auto h = connected();
        const SequenceRun& engine = h->controller->GetSequenceRun();
        QComboBox* box = h->runCombo();
        QVERIFY(box->isEnabled());

        h->clickStart();
        QVERIFY(!box->isEnabled()); // already while waiting for the start gate
        h->event(1000, 0);
        h->tick();
        QVERIFY(!box->isEnabled());

        wheelOver(box);
        box->setCurrentIndex(1); // a change that does not come from the operator's hand
        h->tick();
        QVERIFY(engine.IsRunning());
        QCOMPARE(engine.Sequence().Name(), QStringLiteral("A"));
        QCOMPARE(engine.CurrentGateIndex(), 1);
        QCOMPARE(box->currentText(), QStringLiteral("A"));
        QCOMPARE(h->table()->rowCount(), 1);
        QCOMPARE(h->table()->columnCount(), 7);
        QCOMPARE(h->lastTableRow().value(0), QStringLiteral("Ann"));

        if (finish) {
            h->event(2000, 1);
            h->event(3000, 2);
            h->event(4000, 3);
        } else {
            h->dialogs.buttonAnswers.push_back(QMessageBox::Ok);
            h->clickStart();
        }
        h->tick();
        QVERIFY(!engine.IsRunning());
        QVERIFY(box->isEnabled());
        QCOMPARE(h->table()->rowCount(), finish ? 1 : 0);
        QCOMPARE(h->reportFiles().size(), finish ? 1 : 0);

        wheelOver(box); // an idle box follows the wheel
        QCOMPARE(box->currentText(), QStringLiteral("B"));
        QCOMPARE(engine.GateCount(), 2);
    }

    void endingTheProgramDuringARunAsksFirst_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("title bar") << QStringLiteral("title bar");
        QTest::newRow("Exit action") << QStringLiteral("Exit action");
        QTest::newRow("Exit button") << QStringLiteral("Exit button");
    }
    void endingTheProgramDuringARunAsksFirst()
    {
        QFETCH(QString, how);
        auto h = connected();
        h->clickStart();
        h->event(1000, 0);
        h->tick();

        h->dialogs.buttonAnswers.push_back(QMessageBox::No);
        QVERIFY(!tryToEnd(*h, how, true));
        QCOMPARE(h->dialogs.calls.size(), std::size_t(1));
        const FakeDialogs::Call& question = h->dialogs.calls[0];
        QCOMPARE(question.text, QStringLiteral("A run is in progress. Exit and drop it?"));
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question.defaultButton, QMessageBox::No);
        QCOMPARE(question.parent, static_cast<QWidget*>(&h->controller->MainWindow()));

        // "No" keeps the program and the run: it is timed to its end and reported.
        QVERIFY(h->controller->MainWindow().isVisible());
        h->event(2000, 1);
        h->event(3000, 2);
        h->tick();
        QCOMPARE(h->lastTableRow().value(0), QStringLiteral("Ann"));
        QCOMPARE(h->lastTableRow().mid(2, 2), (QStringList{"1.000", "1.000"}));

        h->dialogs.buttonAnswers.push_back(QMessageBox::Yes);
        QVERIFY(tryToEnd(*h, how));
        QCOMPARE(h->dialogs.calls.size(), std::size_t(2));
    }

    void endingTheProgramWithoutARunAsksNothing_data() { endingTheProgramDuringARunAsksFirst_data(); }
    void endingTheProgramWithoutARunAsksNothing()
    {
        QFETCH(QString, how);
        auto h = connected();
        h->clickStart();
        h->event(1000, 0);
        h->event(2000, 1);
        h->event(3000, 2);
        h->event(4000, 3);
        h->tick();
        h->dialogs.buttonAnswers.push_back(QMessageBox::No); // would keep the program if asked
        QVERIFY(tryToEnd(*h, how));
        QCOMPARE(h->dialogs.calls.size(), std::size_t(0));
    }

    void uncheckingAutoAdvanceDisarmsTheCountdown()
    {
        auto h = connected();
        autoAdvance(*h)->setChecked(true);
        h->clickStart();
        h->event(1000, 0);
        h->event(2000, 1);
        h->event(3000, 2);
        h->event(4000, 3);
        h->tick(41);
        QCOMPARE(h->statusText(), QStringLiteral(" About to start in 4"));

        autoAdvance(*h)->click();
        QVERIFY(!h->controller->CountdownArmed());
        for (int i = 0; i < 300; ++i) { // 7.5 s, well past the countdown
            h->status(5000 + 25 * i);
            h->tick();
        }
        QCOMPARE(h->statusText(), QStringLiteral(" Idle"));
        QCOMPARE(h->subjectCombo()->currentText(), QStringLiteral("Bob")); // moved on at the finish
        QVERIFY(!h->controller->GetSequenceRun().IsRunning());
        QCOMPARE(h->table()->rowCount(), 1);
        QCOMPARE(h->dialogs.calls.size(), std::size_t(0));

        // Checked again, the box arms the next finish as before.
        autoAdvance(*h)->click();
        QVERIFY(!h->controller->CountdownArmed());
        h->subjectCombo()->setCurrentIndex(0); // Ann again, so that a next subject follows
        h->clickStart();
        h->event(20000, 0);
        h->event(21000, 1);
        h->event(22000, 2);
        h->event(23000, 3);
        h->tick();
        QVERIFY(h->controller->CountdownArmed());
    }
};

QTEST_MAIN(RunInProgressTest)
#include "test_run_in_progress.moc"
