// The main window, its gate sequence strip and the separate run display following a run: lamps,
// the run list, repaints, and whose name each run is shown and stored under.
#include "support/ControllerHarness.h"
#include "ui/MWGateSequenceWidget.h"
#include "ui/RunDisplayDialog.h"
#include "ui/RunDisplayGateWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

// One sequence, gates ready; gate events go straight to the controller, each followed by a refresh.
struct Rig
{
    explicit Rig(const QList<int>& gates, const QStringList& squad = {"Ann"})
        : h(ControllerHarness::connected(squad, gates))
    {
    }
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
    // Gates 0, 1, 2 `from` ms on, `midway` after the first: splits 2.000, 1.500; 3.500 s, 8.571 m/s.
    void runThrough(
        std::uint32_t from, const std::function<void()>& midway = [] {})
    {
        for (const auto& [gate, after] : {std::pair{0, 0u}, {1, 2000u}, {2, 3500u}}) {
            h->event(from + after, gate);
            h->tick();
            if (gate == 0)
                midway();
        }
    }
    void typeSubject(const QString& name)
    {
        h->subjectCombo()->lineEdit()->clear();
        QTest::keyClicks(h->subjectCombo()->lineEdit(), name);
        h->tick();
    }
    std::unique_ptr<ControllerHarness> h;
};

// Counts events of one type reaching the widgets `counted` accepts while it lives.
struct EventCounter : QObject
{
    EventCounter(QEvent::Type type, std::function<bool(QWidget*)> counted)
        : type(type), counted(std::move(counted))
    {
        qApp->installEventFilter(this);
    }
    ~EventCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        count += event->type() == type && widget && counted(widget);
        return false;
    }
    QEvent::Type type;
    std::function<bool(QWidget*)> counted;
    int count = 0;
};

} // namespace

class TestRunViews : public QObject
{
    Q_OBJECT

private slots:
    void stripFollowsTheRun()
    {
        Rig rig({2, 0, 3});
        QCOMPARE(rig.lamps(), QString("222"));
        rig.begin();
        for (const auto& [gate, time, lamps] : {std::tuple{0, 50u, "122"}, // not the awaited gate
                                                {2, 100u, "012"},
                                                {0, 300u, "001"},
                                                {3, 600u, "222"}}) {
            rig.pass(gate, time);
            QCOMPARE(rig.lamps(), QString(lamps));
        }
    }

    // Three panels made once serve the whole run. A palette change repaints a whole panel, so only
    // the panels the highlight leaves or reaches may have one.
    void displayPanelsSlideWithTheRun()
    {
        Rig rig({0, 1, 2, 3, 0, 1});
        RunDisplayDialog* display = rig.openDisplay();
        QVERIFY(display->isVisible() && display->isWindow());
        QCOMPARE(rig.openDisplay(), display);
        rig.begin();
        QCOMPARE(rig.panels(), QString("1 2 3"));
        rig.pass(0, 1000);
        QCOMPARE(rig.panels(), QString("1* 2 3"));
        const std::vector<RunDisplayGateWidget*> panels = display->Panels();
        EventCounter changes(QEvent::PaletteChange,
                             [&](QWidget* w) { return std::count(panels.begin(), panels.end(), w); });
        for (const auto& [gate, time, shown, changed] :
             {std::tuple{1, 2500u, "1 2* 3", 2}, {2, 3000u, "1 2 3*", 2}, {3, 4000u, "2 3 4*", 0}}) {
            changes.count = 0;
            rig.pass(gate, time);
            QCOMPARE(rig.panels(), QString(shown));
            QCOMPARE(changes.count, changed);
        }
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

        changes.count = 0;
        rig.pass(1, 5700); // the run is over: the last highlight goes
        QCOMPARE(rig.panels(), QString("1 2 3"));
        QCOMPARE(changes.count, 1);
        QCOMPARE(display->Panels(), panels);
        QCOMPARE(display->Panels().at(0)->BestText(), QString("1.500"));
        QCOMPARE(display->TotalText(), QString("4.700"));
    }

    // The link holds across the tick count's wrap and drops 2 s after the last status; at the
    // minimum window size every lamp is whole and stays put when the gates disconnect.
    void lampsAndConnectionAcrossTheTickWrap()
    {
        ControllerHarness h;
        h.clock.setTick(0xFFFFFF00u);
        h.start();
        SLMainWindow& window = h.controller->MainWindow();
        window.resize(1, 1);
        // The lamps, Master first: G green, R red, - grey; each one's place if it is whole.
        const auto lamps = [&window](QList<QRect>& places) {
            QApplication::processEvents();
            window.layout()->activate();
            const auto shown = [](const QPixmap& lamp) {
                return lamp.toImage().scaled(31, 31, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            };
            QString states;
            for (int number = 1; number <= 4; ++number) {
                auto* lamp = window.findChild<QLabel*>(QString("gate%1LampLabel").arg(number));
                const QImage image = shown(lamp->pixmap());
                states += image == shown(QPixmap(":/LED/LED_Circle_Green_On"))   ? 'G'
                          : image == shown(QPixmap(":/LED/LED_Circle_Red_On"))   ? 'R'
                          : image == shown(QPixmap(":/LED/LED_Circle_Grey_Off")) ? '-'
                                                                                 : '?';
                const bool whole =
                    lamp->visibleRegion() == QRegion(lamp->rect()) && lamp->size() == QSize(31, 31);
                places << (whole ? QRect(lamp->mapTo(&window, QPoint()), lamp->size()) : QRect());
            }
            return states;
        };
        h.tick(); // opens the link
        h.status(1000, true, true, true, false);
        h.tick();
        h.status(1100, true, true, false, false);
        h.tick();
        h.clock.advance(1000 - SLMain::TickIntervalMs); // past the wrap of the tick count
        h.tick();
        QCOMPARE(h.connectionText(), QString("Connected"));
        QList<QRect> connected, disconnected;
        QCOMPARE(lamps(connected), QString("GGR-"));
        QVERIFY(!connected.contains(QRect())); // an empty place: the lamp is cut

        h.clock.advance(1000 - SLMain::TickIntervalMs); // 2000 ms since the last status
        h.tick();
        QCOMPARE(h.connectionText(), QString("Not connected"));
        QCOMPARE(lamps(disconnected), QString("----"));
        QCOMPARE(disconnected, connected);
    }

    // The run list is ordered by name, case ignored; a refill keeps the running sequence, even when
    // its file is gone, and with no run in progress selects the first again.
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
        Rig rig({0, 1, 2, 3});
        ControllerHarness& h = *rig.h;
        h.startPastTheStartGate();
        SLMainWindow& window = rig.window();
        QVERIFY(QTest::qWaitForWindowExposed(rig.openDisplay()));
        QTest::qWait(100); // first layout and paint
        EventCounter paints(QEvent::Paint, [&](QWidget* w) {
            return w->window() == &window || w->window() == window.runDisplayDialog();
        });
        for (int tick = 0; tick < 20; ++tick) {
            h.controller->OnTimer(); // the clock stands still: no value changes
            QApplication::processEvents();
        }
        QCOMPARE(paints.count, 0);
        h.tick(4); // the awaited segment's time runs on
        QTRY_VERIFY(paints.count > 0);
    }

    // A name typed mid-run, or between a finish and the next start, is the next run's: the live
    // row, the result row, the report and the run view keep the name the run was started with.
    void aNameTypedMidRunStaysWithTheNextRun()
    {
        Rig rig({0, 1, 2}, {"Alpha Runner"});
        RunDisplayDialog* view = rig.openDisplay();
        ControllerHarness& h = *rig.h;
        h.clickStart();
        QString liveRow;
        rig.runThrough(1000, [&] {
            rig.typeSubject("Beta Next");
            liveRow = h.lastTableRow().value(0);
        });
        QCOMPARE(liveRow, QString("Alpha Runner"));
        QCOMPARE(h.lastTableRow(),
                 (QStringList{"Alpha Runner", "3.500", "2.000", "1.500", "30.000", "8.571"}));
        QVERIFY(h.readReport("Swiftlane_Sprint_1.csv")
                    .endsWith("\nAlpha Runner,3.500,2.000,1.500,30.000,8.571\n"));
        rig.typeSubject("Bobby"); // after the finish
        QCOMPARE(view->SubjectText(), QString("Alpha Runner"));
        QCOMPARE(view->TotalText(), QString("3.500"));

        h.clickStart();
        h.tick();
        QCOMPARE(h.lastTableRow().value(0), QString("Bobby"));
        QCOMPARE(h.table()->item(0, 0)->text(), QString("Alpha Runner"));
        QCOMPARE(view->SubjectText(), QString("Bobby"));
        QCOMPARE(view->TotalText(), QString("0.000"));
    }
};

QTEST_MAIN(TestRunViews)
#include "test_run_views.moc"
