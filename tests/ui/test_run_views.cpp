#include "app/SLMain.h"
#include "platform/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtdiDevices.h"
#include "timing/GateSequence.h"
#include "ui/MWGateSequenceWidget.h"
#include "ui/RunDisplayDialog.h"
#include "ui/RunDisplayGateWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The controller and its window without the real timer: tests tick by hand.
struct Rig
{
    Rig()
    {
        QDir runs(controller.RunsFolder());
        for (const QString& name : runs.entryList({"*.run"}, QDir::Files))
            runs.remove(name);
        window().setController(&controller);
    }
    SLMainWindow& window() { return controller.MainWindow(); }
    void writeSequence(const QString& file, std::initializer_list<int> gates)
    {
        GateSequence sequence;
        sequence.SetName(file);
        sequence.SetTotalDistance(30);
        for (int gate : gates)
            sequence.InsertGate(static_cast<unsigned>(sequence.GateCount()), gate);
        QVERIFY(sequence.Save(controller.RunsFolder() + file));
    }
    void start()
    {
        // Without a gate link every status refresh clears the flags, so they are set just in time.
        controller.SetGateStatus(true, true, true, true);
        window().findChild<QComboBox*>("subjectNameComboBox")->setEditText("Ann");
        window().findChild<QPushButton*>("startRunPushButton")->click();
        window().refreshStatus();
    }
    void pass(int gate, std::uint32_t deviceTime)
    {
        controller.OnGateEvent(gate, deviceTime, true);
        window().refreshStatus();
    }
    QScrollArea* strip() { return window().findChild<QScrollArea*>("runGateSequenceScrollArea"); }
    QList<MWGateSequenceWidget*> tiles()
    {
        QList<MWGateSequenceWidget*> found;
        QLayout* layout = strip()->widget()->layout();
        for (int i = 0; layout && i < layout->count(); ++i) {
            if (auto* tile = qobject_cast<MWGateSequenceWidget*>(layout->itemAt(i)->widget()))
                found << tile;
        }
        return found;
    }
    // The tiles' lamp states in strip order, e.g. "012".
    QString lamps()
    {
        QString states;
        for (MWGateSequenceWidget* tile : tiles())
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

    platform::FakeClock clock;
    platform::FakeFtdiDevices ftdi;
    FakeDialogs dialogs;
    SLMain controller;
};

QImage lampImage(MWGateSequenceWidget* tile)
{
    return tile->findChild<QLabel*>("lampLabel")->pixmap().toImage();
}

// Digit positions a text takes on an LCD: a small decimal point takes none.
int positionsNeeded(const QLCDNumber* lcd, const QString& text)
{
    return lcd->smallDecimalPoint() ? static_cast<int>(text.size() - text.count('.'))
                                    : static_cast<int>(text.size());
}

} // namespace

// The gate sequence strip of the main window and the separate run display, both following a run.
class TestRunViews : public QObject
{
    Q_OBJECT

private slots:
    void tileLampIgnoresUnknownStates()
    {
        MWGateSequenceWidget tile;
        QCOMPARE(lampImage(&tile), QPixmap(":/LED/LED_Square_Black_Off").toImage());
        const struct
        {
            int state;
            const char* image;
        } steps[] = {{0, ":/LED/LED_Square_Blue_On"},
                     {1, ":/LED/LED_Square_Orange_On"},
                     {3, ":/LED/LED_Square_Orange_On"},
                     {-1, ":/LED/LED_Square_Orange_On"},
                     {2, ":/LED/LED_Square_Black_Off"}};
        for (const auto& step : steps) {
            tile.SetLampState(step.state);
            QCOMPARE(lampImage(&tile), QPixmap(step.image).toImage());
        }
    }

    void tilesFollowTheRun()
    {
        Rig rig;
        rig.writeSequence("a.run", {2, 0, 3});
        rig.window().showAndRefresh();
        const QList<MWGateSequenceWidget*> tiles = rig.tiles();
        QCOMPARE(tiles.size(), 3);
        QStringList titles;
        QStringList labels;
        for (MWGateSequenceWidget* tile : tiles) {
            titles << tile->findChild<QGroupBox*>("checkpointGroupBox")->title();
            labels << tile->findChild<QLabel*>("gateNumLabel")->text();
        }
        QCOMPARE(titles, (QStringList{"Start point", "Checkpoint 1", "Checkpoint 2"}));
        QCOMPARE(labels, (QStringList{"Gate 3", "Gate 1", "Gate 4"}));
        QCOMPARE(rig.strip()->widget()->layout()->count(), 4); // three tiles and the stretch

        QCOMPARE(rig.lamps(), QString("222"));
        rig.start();
        QCOMPARE(rig.lamps(), QString("122"));
        rig.pass(0, 50); // not the awaited gate
        QCOMPARE(rig.lamps(), QString("122"));
        rig.pass(2, 100);
        QCOMPARE(rig.lamps(), QString("012"));
        rig.pass(0, 300);
        QCOMPARE(rig.lamps(), QString("001"));
        QCOMPARE(lampImage(tiles[2]), QPixmap(":/LED/LED_Square_Orange_On").toImage());
        rig.pass(3, 600);
        QCOMPARE(rig.lamps(), QString("222"));
    }

    void reloadReplacesEveryTile()
    {
        Rig rig;
        rig.writeSequence("a.run", {0, 1});
        rig.writeSequence("b.run", {0, 1, 2, 3});
        rig.window().showAndRefresh();
        QList<QPointer<MWGateSequenceWidget>> old;
        for (MWGateSequenceWidget* tile : rig.tiles())
            old << tile;
        QCOMPARE(old.size(), 2);

        rig.window().findChild<QComboBox*>("runComboBox")->setCurrentIndex(1);
        QCOMPARE(rig.tiles().size(), 4);
        for (const auto& tile : old)
            QVERIFY(tile.isNull());

        rig.controller.SelectRun(rig.controller.RunsFolder() + "missing.run");
        QCOMPARE(rig.tiles().size(), 0);
        QCOMPARE(rig.strip()->widget()->layout()->count(), 1); // only the stretch
        rig.window().refreshStatus();
    }

    void awaitedTileScrollsIntoView()
    {
        Rig rig;
        rig.writeSequence("a.run", {0, 1, 2, 3, 0, 1, 2, 3, 0});
        rig.window().resize(581, 707);
        rig.window().showAndRefresh();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window()));
        rig.start();
        for (int position = 0; position < 8; ++position)
            rig.pass(position % 4, static_cast<std::uint32_t>(100 * (position + 1)));
        QApplication::processEvents();
        rig.window().refreshStatus();

        QScrollArea* strip = rig.strip();
        QVERIFY(strip->horizontalScrollBar()->value() > 0);
        MWGateSequenceWidget* awaited = rig.tiles().at(8);
        QCOMPARE(awaited->LampStateShown(), 1);
        const QRect shown(awaited->mapTo(strip->viewport(), QPoint(0, 0)), awaited->size());
        QVERIFY2(strip->viewport()->rect().contains(shown), "the awaited tile is out of view");
    }
    void panelRange_data()
    {
        QTest::addColumn<int>("gates");
        QTest::addColumn<int>("awaited");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::newRow("idle") << 6 << -1 << 1 << 4;
        QTest::newRow("start gate") << 6 << 0 << 1 << 4;
        QTest::newRow("third") << 6 << 3 << 1 << 4;
        QTest::newRow("fourth") << 6 << 4 << 2 << 5;
        QTest::newRow("last") << 6 << 5 << 3 << 6;
        QTest::newRow("two gates") << 2 << 1 << 1 << 2;
        QTest::newRow("one gate") << 1 << 0 << 1 << 1;
        QTest::newRow("no gates") << 0 << -1 << 1 << 0;
    }
    void panelRange()
    {
        QFETCH(int, gates);
        QFETCH(int, awaited);
        int first = 0;
        int end = 0;
        RunDisplayDialog::PanelRange(gates, awaited, first, end);
        QTEST(first, "first");
        QTEST(end, "end");
    }

    void panelsSlideWithTheRun()
    {
        Rig rig;
        rig.writeSequence("course.run", {0, 1, 2, 3, 0, 1});
        rig.window().showAndRefresh();
        RunDisplayDialog* display = rig.openDisplay();
        QVERIFY(display && display->isVisible() && display->isWindow());
        QCOMPARE(display->parent(), &rig.window());
        QCOMPARE(rig.openDisplay(), display);
        QCOMPARE(rig.window().findChildren<RunDisplayDialog*>().size(), 1);

        QCOMPARE(rig.panels(), QString("1 2 3"));
        rig.start();
        QCOMPARE(rig.panels(), QString("1 2 3"));
        QCOMPARE(display->SubjectText(), QString("Ann"));
        rig.pass(0, 1000);
        QCOMPARE(rig.panels(), QString("1* 2 3"));
        rig.pass(1, 2500);
        rig.pass(2, 3000);
        rig.pass(3, 4000);
        QCOMPARE(rig.panels(), QString("2 3 4*"));
        QCOMPARE(display->Panels().at(0)->TimeText(), QString("0.500"));
        QCOMPARE(display->Panels().at(1)->TimeText(), QString("1.000"));
        rig.pass(0, 5000);
        QCOMPARE(rig.panels(), QString("3 4 5*"));
        rig.clock.advance(250); // the awaited segment runs on between status sentences
        rig.window().refreshStatus();
        QCOMPARE(display->Panels().at(2)->TimeText(), QString("0.250"));
        QCOMPARE(display->TotalText(), QString("4.250"));

        rig.pass(1, 5700);
        QCOMPARE(rig.panels(), QString("1 2 3"));
        QCOMPARE(display->Panels().at(0)->TimeText(), QString("1.500"));
        QCOMPARE(display->Panels().at(0)->BestText(), QString("1.500"));
        QCOMPARE(display->TotalText(), QString("4.700"));
    }

    void fewGates()
    {
        Rig rig;
        rig.writeSequence("course.run", {0, 3});
        rig.window().showAndRefresh();
        QCOMPARE(rig.openDisplay()->Panels().size(), std::size_t(1));
        QCOMPARE(rig.panels(), QString("1"));
        QCOMPARE(rig.openDisplay()->Panels().at(0)->CheckpointText(), QString("Checkpoint 1"));
        rig.controller.SelectRun(rig.controller.RunsFolder() + "missing.run");
        rig.openDisplay();
        QCOMPARE(rig.panels(), QString());
    }

    void hiddenDisplayIsLeftAloneAndRebuiltWhenShown()
    {
        Rig rig;
        rig.writeSequence("course.run", {0, 1, 2, 3});
        rig.window().showAndRefresh();
        RunDisplayDialog* display = rig.openDisplay();
        display->hide();
        rig.start();
        rig.pass(0, 100);
        rig.pass(1, 400);
        QCOMPARE(display->SubjectText(), QString("test text"));
        QCOMPARE(rig.panels(), QString("1 2 3"));

        rig.openDisplay();
        QCOMPARE(rig.panels(), QString("1 2* 3"));
        rig.window().refreshStatus();
        QCOMPARE(display->SubjectText(), QString("Ann"));
        QCOMPARE(display->Panels().at(0)->TimeText(), QString("0.300"));
    }

    void lcdsHoldThreeDigitTimes()
    {
        RunDisplayDialog display;
        RunDisplayGateWidget panel;
        const QList<QLCDNumber*> lcds =
            display.findChildren<QLCDNumber*>() + panel.findChildren<QLCDNumber*>();
        QCOMPARE(lcds.size(), 3);
        for (const QLCDNumber* lcd : lcds)
            QVERIFY2(positionsNeeded(lcd, "999.999") <= lcd->digitCount(), qPrintable(lcd->objectName()));
        panel.SetGateIndex(0);
        QCOMPARE(panel.CheckpointText(), QString("Start Point"));
        panel.SetTime(999.9994);
        QCOMPARE(panel.TimeText(), QString("999.999"));
    }

    void highlightKeepsTheDialogColours()
    {
        RunDisplayDialog display;
        RunDisplayGateWidget* panel = new RunDisplayGateWidget;
        display.findChild<QFrame*>("otherGatesFrame")->setLayout(new QHBoxLayout);
        display.findChild<QFrame*>("otherGatesFrame")->layout()->addWidget(panel);
        QCOMPARE(panel->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 255, 0));
        panel->Highlight();
        QCOMPARE(panel->palette().color(QPalette::Inactive, QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(panel->palette().color(QPalette::Disabled, QPalette::Midlight), QColor(Qt::yellow));
        QCOMPARE(panel->palette().color(QPalette::Active, QPalette::Window), QColor(0, 0, 0));
    }
};

int main(int argc, char* argv[])
{
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestRunViews test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_run_views.moc"
