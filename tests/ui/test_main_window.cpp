// The main window as the operator sees it: key texts, gate lamps, the run list, repaints, About.
#include "support/ControllerHarness.h"
#include "ui/AboutDialog.h"
#include "ui/RunDisplayDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

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

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
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

    // Refilling the list (as closing the sequence editor does) follows the running sequence by name.
    void refillFollowsTheRunningSequence()
    {
        ControllerHarness h;
        h.writeSequence("Bravo", {0, 1, 2}, 30);
        h.start();
        h.startPastTheStartGate();
        const SequenceRun& engine = h.controller->GetSequenceRun();

        h.writeSequence("Alpha", {3}, 10); // sorts before the running sequence
        h.controller->MainWindow().refreshRunList();
        QVERIFY(engine.IsRunning());
        QCOMPARE(engine.Sequence().Name(), QString("Bravo"));
        QCOMPARE(h.runCombo()->currentText(), QString("Bravo"));

        // The running sequence's file is gone: the run goes on and the box still names it.
        QVERIFY(QFile::remove(h.runsFolder() + "Bravo.run"));
        h.controller->MainWindow().refreshRunList();
        QVERIFY(engine.IsRunning());
        QCOMPARE(engine.CurrentGateIndex(), 1);
        QCOMPARE(h.runCombo()->currentText(), QString("Bravo"));
        QCOMPARE(h.table()->rowCount(), 1);
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

    void aboutShowsTheVersionAndEveryPressOpensANewOne()
    {
        ControllerHarness h;
        h.start();
        QAction* about = h.controller->MainWindow().findChild<QAction*>("actionAbout");
        about->trigger();
        about->trigger();
        const QList<AboutDialog*> shown = h.controller->MainWindow().findChildren<AboutDialog*>();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0]->findChild<QLabel*>("versionLabel")->text(), QString("Version 51"));
        shown[0]->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!shown[0]->isVisible() && shown[1]->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
