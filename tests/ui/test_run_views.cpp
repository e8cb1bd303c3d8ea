// The gate sequence strip of the main window and the separate run display, both following a run.
#include "support/ControllerHarness.h"
#include "ui/MWGateSequenceWidget.h"
#include "ui/RunDisplayDialog.h"
#include "ui/RunDisplayGateWidget.h"

#include <QApplication>
#include <QGroupBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// One sequence, gates ready; gate events go straight to the controller, each followed by a refresh.
struct Rig : ControllerHarness
{
    explicit Rig(const std::vector<int>& gates)
    {
        writeSequence("course", gates, 30);
        start();
        setSubjects({"Ann"});
        status(500);
        tick();
    }
    SLMainWindow& window() { return controller->MainWindow(); }
    void begin()
    {
        clickStart();
        window().refreshStatus();
    }
    void pass(int gate, std::uint32_t deviceTime)
    {
        controller->OnGateEvent(gate, deviceTime, true);
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
};

// What a widget paints itself, without the background behind it.
QImage paintedAlone(QWidget* widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

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
        QCOMPARE(display->Panels().at(0)->palette().color(QPalette::WindowText), QColor(0, 255, 0));
        QCOMPARE(display->Panels().at(2)->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(display->Panels().at(2)->palette().color(QPalette::Window), QColor(Qt::black));

        // Hidden, the display is left alone; shown again it catches up at once.
        display->hide();
        rig.pass(0, 5000);
        QCOMPARE(rig.panels(), QString("2 3 4*"));
        rig.clock.advance(250); // the awaited segment runs on between gate events
        rig.openDisplay();
        QCOMPARE(rig.panels(), QString("3 4 5*"));
        rig.window().refreshStatus();
        QCOMPARE(display->Panels().at(2)->TimeText(), QString("0.250"));
        QCOMPARE(display->TotalText(), QString("4.250"));

        rig.pass(1, 5700);
        QCOMPARE(rig.panels(), QString("1 2 3"));
        QCOMPARE(display->Panels(), panels);
        for (RunDisplayGateWidget* panel : panels)
            QCOMPARE(panel->palette().color(QPalette::WindowText), QColor(0, 255, 0));
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
        QCOMPARE(display->size(), QSize(673, 513));
        QApplication::processEvents(); // laid out before the long name arrives
        rig.setSubjects({"Maximilian Alexander Oberhausen-Whitfield"});
        rig.begin();
        rig.pass(0, 1000);
        rig.clock.advance(999999);
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
};

QTEST_MAIN(TestRunViews)
#include "test_run_views.moc"
