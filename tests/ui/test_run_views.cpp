// The main window, its gate sequence strip and the separate run display following a run: lamps,
// the run list, repaints, About.
#include "support/ControllerHarness.h"
#include "ui/AboutDialog.h"
#include "ui/MWGateSequenceWidget.h"
#include "ui/RunDisplayDialog.h"
#include "ui/RunDisplayGateWidget.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QtTest>

namespace {

// One sequence, gates ready; gate events go straight to the controller, each followed by a refresh.
struct Rig
{
    explicit Rig(const QList<int>& gates) : h(ControllerHarness::connected({"Ann"}, gates)) {}
    SLMainWindow& window() { return h->controller->MainWindow(); }
    void begin()
    {
        h->clickStart();
        window().refreshStatus();
    }
    void pass(int gate, std::uint32_t deviceTime)
    {
        h->controller->OnGateEvent(gate, deviceTime, true);
        window().refreshStatus();
    }
    // The strip tiles' lamp states in order, e.g. "012".
    QString lamps()
    {
        QString states;
        for (auto* tile : window().findChildren<MWGateSequenceWidget*>())
            states += QString::number(tile->LampStateShown());
        return states;
    }
    RunDisplayDialog* openDisplay()
    {
        window().findChild<QPushButton*>("raceViewPushButton")->click();
        return window().runDisplayDialog();
    }
    // The run display's panel positions, the highlighted one starred: "2 3 4*".
    QString panels()
    {
        QStringList shown;
        for (RunDisplayGateWidget* panel : window().runDisplayDialog()->Panels())
            shown << QString::number(panel->GateIndex()) + (panel->IsHighlighted() ? "*" : "");
        return shown.join(' ');
    }
    std::unique_ptr<ControllerHarness> h;
};

// A lamp image as its 31 x 31 label shows it.
QImage asShown(const QPixmap& lamp)
{
    return lamp.toImage().scaled(31, 31, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The four gate lamps' images, Master first.
QList<QImage> lamps(ControllerHarness& h)
{
    QList<QImage> images;
    for (int number = 1; number <= 4; ++number)
        images << asShown(
            h.controller->MainWindow().findChild<QLabel*>(QString("gate%1LampLabel").arg(number))->pixmap());
    return images;
}

// Counts paint events reaching a window's widgets while it lives.
struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget* root) : root(root) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && (widget == root || root->isAncestorOf(widget)))
            ++paints;
        return false;
    }
    QWidget* root;
    int paints = 0;
};

} // namespace

class TestRunViews : public QObject
{
    Q_OBJECT

private slots:
    void stripFollowsTheRun()
    {
        Rig rig({2, 0, 3});
        QStringList texts;
        for (auto* tile : rig.window().findChildren<MWGateSequenceWidget*>())
            texts << tile->findChild<QGroupBox*>("checkpointGroupBox")->title() + " / " +
                         tile->findChild<QLabel*>("gateNumLabel")->text();
        QCOMPARE(texts,
                 (QStringList{"Start point / Gate 3", "Checkpoint 1 / Gate 1", "Checkpoint 2 / Gate 4"}));
        QCOMPARE(rig.lamps(), QString("222"));
        rig.begin();
        QCOMPARE(rig.lamps(), QString("122"));
        rig.pass(0, 50); // not the awaited gate
        QCOMPARE(rig.lamps(), QString("122"));
        rig.pass(2, 100);
        QCOMPARE(rig.lamps(), QString("012"));
        rig.pass(0, 300);
        QCOMPARE(rig.lamps(), QString("001"));
        rig.pass(3, 600);
        QCOMPARE(rig.lamps(), QString("222"));
    }

    void displayPanelsSlideWithTheRun()
    {
        Rig rig({0, 1, 2, 3, 0, 1});
        RunDisplayDialog* display = rig.openDisplay();
        QVERIFY(display->isVisible() && display->isWindow());
        QCOMPARE(rig.openDisplay(), display);
        rig.begin();
        QCOMPARE(rig.panels(), QString("1 2 3"));
        // The same three panels serve the whole run: passages re-assign them.
        const std::vector<RunDisplayGateWidget*> panels = display->Panels();
        QCOMPARE(display->SubjectText(), QString("Ann"));
        rig.pass(0, 1000);
        QCOMPARE(rig.panels(), QString("1* 2 3"));
        rig.pass(1, 2500);
        rig.pass(2, 3000);
        rig.pass(3, 4000);
        QCOMPARE(rig.panels(), QString("2 3 4*"));
        QCOMPARE(display->Panels().at(0)->TimeText(), QString("0.500"));

        // Hidden, the display is left alone; shown again it catches up at once.
        display->hide();
        rig.pass(0, 5000);
        QCOMPARE(rig.panels(), QString("2 3 4*"));
        rig.h->clock.advance(250); // the awaited segment runs on between gate events
        rig.openDisplay();
        QCOMPARE(rig.panels(), QString("3 4 5*"));
        rig.window().refreshStatus();
        QCOMPARE(display->Panels().at(2)->TimeText(), QString("0.250"));
        QCOMPARE(display->TotalText(), QString("4.250"));

        rig.pass(1, 5700);
        QCOMPARE(rig.panels(), QString("1 2 3"));
        QCOMPARE(display->Panels(), panels);
        QCOMPARE(display->Panels().at(0)->TimeText(), QString("1.500"));
        QCOMPARE(display->Panels().at(0)->BestText(), QString("1.500"));
        QCOMPARE(display->TotalText(), QString("4.700"));
    }

    // A palette change repaints a whole panel, so a passage that leaves the awaited gate in its slot
    // changes no panel's palette, and one that moves it changes just the two panels concerned.
    void highlightChangesOnlyWhereItMoves()
    {
        Rig rig({0, 1, 2, 3, 0});
        RunDisplayDialog* display = rig.openDisplay();
        rig.begin();
        rig.pass(0, 1000);
        struct PaletteChanges : QObject
        {
            bool eventFilter(QObject*, QEvent* event) override
            {
                count += event->type() == QEvent::PaletteChange;
                return false;
            }
            int count = 0;
        } changes;
        for (RunDisplayGateWidget* panel : display->Panels())
            panel->installEventFilter(&changes);
        const struct
        {
            int gate;
            std::uint32_t time;
            const char* panels;
            int changes;
        } steps[] = {{1, 2000, "1 2* 3", 2},
                     {2, 3000, "1 2 3*", 2},
                     {3, 4000, "2 3 4*", 0},
                     {0, 4500, "1 2 3", 1}}; // the run is over: the last highlight goes
        for (const auto& step : steps) {
            changes.count = 0;
            rig.pass(step.gate, step.time);
            QCOMPARE(rig.panels(), QString(step.panels));
            QCOMPARE(changes.count, step.changes);
        }
    }

    void fewGates()
    {
        for (const auto& [gates, panels] : {std::pair<QList<int>, QString>{{0, 3}, "1"}, {{0}, ""}}) {
            Rig rig(gates);
            rig.openDisplay();
            QCOMPARE(rig.panels(), panels);
        }
    }

    void lampsAndConnectionAcrossTheTickWrap()
    {
        ControllerHarness h;
        h.clock.setTick(0xFFFFFF00u);
        h.start();
        h.tick(); // opens the link
        h.status(1000, true, true, true, false);
        h.tick();
        h.status(1100, true, true, false, false);
        h.tick();
        h.clock.advance(1000 - SLMain::TickIntervalMs); // past the wrap of the tick count
        h.tick();
        QCOMPARE(h.connectionText(), QString("Connected"));
        const QImage green = asShown(QPixmap(":/LED/LED_Circle_Green_On"));
        const QImage red = asShown(QPixmap(":/LED/LED_Circle_Red_On"));
        const QImage grey = asShown(QPixmap(":/LED/LED_Circle_Grey_Off"));
        QCOMPARE(lamps(h), (QList<QImage>{green, green, red, grey}));

        h.clock.advance(1000 - SLMain::TickIntervalMs); // 2000 ms since the last status
        h.tick();
        QCOMPARE(h.connectionText(), QString("Not connected"));
        QCOMPARE(lamps(h), (QList<QImage>{grey, grey, grey, grey}));
    }

    // The run list is ordered by name, case ignored. Refilling it (as closing the sequence editor
    // does) follows the running sequence by name, even when its file is gone; with no run in
    // progress it selects the first sequence again.
    void refillFollowsTheRunningSequence()
    {
        ControllerHarness h;
        h.writeSequence("Banana", {0, 1, 2}, 30);
        h.writeSequence("cherry", {3}, 10);
        h.start();
        h.startPastTheStartGate();
        const SequenceRun& engine = h.controller->GetSequenceRun();
        h.writeSequence("apple", {0, 1}, 20);
        h.controller->MainWindow().refreshRunList();
        QStringList listed;
        for (int i = 0; i < h.runCombo()->count(); ++i)
            listed << h.runCombo()->itemText(i);
        QCOMPARE(listed, (QStringList{"apple", "Banana", "cherry"}));
        QCOMPARE(h.runCombo()->currentText(), QString("Banana"));

        QVERIFY(QFile::remove(h.runsFolder() + "Banana.run"));
        h.controller->MainWindow().refreshRunList();
        QVERIFY(engine.IsRunning());
        QCOMPARE(engine.Sequence().Name(), QString("Banana"));
        QCOMPARE(engine.CurrentGateIndex(), 1);
        QCOMPARE(h.runCombo()->currentText(), QString("Banana"));
        QCOMPARE(h.table()->rowCount(), 1);
        h.passAll();
        QCOMPARE(h.reportFiles(), QStringList{"Swiftlane_Banana_1.csv"});

        h.controller->MainWindow().refreshRunList();
        QCOMPARE(h.runCombo()->currentText(), QString("apple"));
        QCOMPARE(engine.GateCount(), 2);
        QCOMPARE(h.table()->rowCount(), 0);
    }

    // The tick refreshes every view; a view whose values did not change must not repaint.
    void unchangedTicksPaintNothing()
    {
        ControllerHarness h;
        h.writeSequence("Four", {0, 1, 2, 3}, 30);
        h.start();
        h.startPastTheStartGate();
        SLMainWindow& window = h.controller->MainWindow();
        window.findChild<QPushButton*>("raceViewPushButton")->click();
        QVERIFY(QTest::qWaitForWindowExposed(window.runDisplayDialog()));
        QTest::qWait(100); // first layout and paint
        PaintCounter main(&window);
        PaintCounter display(window.runDisplayDialog());
        for (int tick = 0; tick < 20; ++tick) {
            h.controller->OnTimer(); // the clock stands still: no value changes
            QApplication::processEvents();
        }
        QCOMPARE(main.paints + display.paints, 0);
        h.tick(4); // the awaited segment's time runs on
        QTRY_VERIFY(display.paints > 0);
    }

    // At the window's minimum size every gate lamp is still whole, and stays where it is when the
    // gates disconnect.
    void gateLampsStayWholeAtTheMinimumSize()
    {
        ControllerHarness h;
        h.start();
        SLMainWindow& window = h.controller->MainWindow();
        window.resize(1, 1);
        const auto lampPlaces = [&window] {
            QApplication::processEvents();
            window.layout()->activate();
            QList<QRect> places;
            for (int number = 1; number <= 4; ++number) {
                auto* lamp = window.findChild<QLabel*>(QString("gate%1LampLabel").arg(number));
                const bool whole =
                    lamp->visibleRegion() == QRegion(lamp->rect()) && lamp->size() == QSize(31, 31);
                places << (whole ? QRect(lamp->mapTo(&window, QPoint()), lamp->size()) : QRect());
            }
            return places;
        };
        h.tick();
        h.status(1000);
        h.tick();
        const QList<QRect> connected = lampPlaces();
        QVERIFY(!connected.contains(QRect())); // an empty place: the lamp is cut
        h.clock.advance(2000);
        h.tick();
        QCOMPARE(h.connectionText(), QString("Not connected"));
        QCOMPARE(lampPlaces(), connected);
    }

    void everyPressOfAboutOpensANewOne()
    {
        ControllerHarness h;
        h.start();
        QAction* about = h.controller->MainWindow().findChild<QAction*>("actionAbout");
        about->trigger();
        about->trigger();
        const QList<AboutDialog*> shown = h.controller->MainWindow().findChildren<AboutDialog*>();
        QCOMPARE(shown.size(), 2);
        shown[0]->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!shown[0]->isVisible() && shown[1]->isVisible());
    }
};

QTEST_MAIN(TestRunViews)
#include "test_run_views.moc"
