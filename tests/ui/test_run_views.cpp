// The main window, its gate sequence strip and the separate run display following a run: lamps,
// the run list, repaints, About.
#include "support/ControllerHarness.h"
#include "ui/AboutDialog.h"
#include "ui/MWGateSequenceWidget.h"
#include "ui/RunDisplayDialog.h"
#include "ui/RunDisplayGateWidget.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLCDNumber>
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
    explicit Rig(const std::vector<int>& gates) : h(ControllerHarness::connected({"Ann"}, gates)) {}
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

// What a widget paints itself, without the background behind it.
QImage paintedAlone(QWidget* widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

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

    // Lamps are handed to their labels already scaled, and look exactly as the label's own scaling
    // of the large image would make them.
    void stripLampsLookAsTheLabelsWouldScaleThem()
    {
        Rig rig({0, 1, 2});
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window()));
        rig.begin();
        rig.pass(0, 1000);
        const QPixmap images[] = {QPixmap(":/LED/LED_Square_Blue_On"), QPixmap(":/LED/LED_Square_Orange_On"),
                                  QPixmap(":/LED/LED_Square_Black_Off")};
        const QList<MWGateSequenceWidget*> tiles = rig.window().findChildren<MWGateSequenceWidget*>();
        QCOMPARE(tiles.size(), 3);
        for (MWGateSequenceWidget* tile : tiles) {
            auto* lamp = tile->findChild<QLabel*>("lampLabel");
            if (tile->LampStateShown() != MWGateSequenceWidget::Ahead) // changed since it was shown
                QCOMPARE(lamp->pixmap().deviceIndependentSize().toSize(), lamp->contentsRect().size());
            QLabel reference;
            reference.setScaledContents(true);
            reference.setPixmap(images[tile->LampStateShown()]);
            reference.resize(lamp->size());
            QCOMPARE(paintedAlone(lamp), paintedAlone(&reference));
        }
    }

    // A palette change repaints a whole panel, so a passage that leaves the awaited gate in its slot
    // changes no panel's palette, and one that moves it changes just the two panels concerned.
    void highlightChangesOnlyWhereItMoves()
    {
        Rig rig({0, 1, 2, 3, 0});
        RunDisplayDialog* display = rig.openDisplay();
        rig.begin();
        rig.pass(0, 1000);
        QCOMPARE(rig.panels(), QString("1* 2 3"));
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
        rig.pass(1, 2000);
        QCOMPARE(rig.panels(), QString("1 2* 3"));
        QCOMPARE(changes.count, 2);
        rig.pass(2, 3000);
        QCOMPARE(rig.panels(), QString("1 2 3*"));
        changes.count = 0;
        rig.pass(3, 4000);
        QCOMPARE(rig.panels(), QString("2 3 4*"));
        QCOMPARE(changes.count, 0);
        rig.pass(0, 4500);
        QCOMPARE(rig.panels(), QString("1 2 3"));
        QCOMPARE(changes.count, 1); // the run is over: the last highlight goes
    }

    void fewGates()
    {
        for (const auto& [gates, panels] : {std::pair<std::vector<int>, QString>{{0, 3}, "1"}, {{0}, ""}}) {
            Rig rig(gates);
            rig.openDisplay();
            QCOMPARE(rig.panels(), panels);
        }
    }

    // At its opening size the display must show a long name whole and the total up to 999.999.
    void displayReadsAtItsOpeningSize()
    {
        Rig rig({0, 1, 2, 3});
        RunDisplayDialog* display = rig.openDisplay();
        QApplication::processEvents(); // laid out before the long name arrives
        rig.h->setSubjects({"Maximilian Alexander Oberhausen-Whitfield"});
        rig.begin();
        rig.pass(0, 1000);
        rig.h->clock.advance(999999);
        rig.window().refreshStatus();
        QApplication::processEvents();
        QCOMPARE(display->TotalText(), QString("999.999"));
        auto* total = display->findChild<QLCDNumber*>("timerlcdNumber");
        QVERIFY(total->smallDecimalPoint() && total->digitCount() >= 6);
        auto* name = display->findChild<QLineEdit*>("subjectNameLineEdit");
        QVERIFY(name->fontMetrics().horizontalAdvance(name->text()) < name->width());
        // The total's side is at least as wide as the checkpoint panels' side.
        QVERIFY(total->width() >= display->findChild<QFrame*>("otherGatesFrame")->width() * 9 / 10);
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

    // Where each lamp sits in the window, and whether all of it can be seen.
    void gateLampsStayStillAndWhole_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("minimum size") << QSize(1, 1);
        QTest::newRow("designed size") << QSize(581, 707);
        QTest::newRow("wide") << QSize(1400, 800);
    }
    void gateLampsStayStillAndWhole()
    {
        QFETCH(QSize, size);
        ControllerHarness h;
        h.start();
        SLMainWindow& window = h.controller->MainWindow();
        window.resize(size);
        const auto lampPlaces = [&window] {
            QApplication::processEvents();
            window.layout()->activate();
            QList<QRect> places;
            for (int number = 1; number <= 4; ++number) {
                auto* lamp = window.findChild<QLabel*>(QString("gate%1LampLabel").arg(number));
                const QRect place(lamp->mapTo(&window, QPoint()), lamp->size());
                places << (lamp->visibleRegion() == QRegion(lamp->rect()) ? place : QRect());
            }
            return places;
        };
        h.tick();
        h.status(1000);
        h.tick();
        QCOMPARE(h.connectionText(), QString("Connected"));
        const QList<QRect> connected = lampPlaces();
        for (const QRect& place : connected)
            QCOMPARE(place.size(), QSize(31, 31)); // an empty place: the lamp is cut
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
