#include "app/SLMain.h"
#include "platform/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtdiDevices.h"
#include "timing/GateSequence.h"
#include "ui/MWGateSequenceWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

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
    // Tiles in strip order, read from the strip's layout.
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
    QString lamps()
    {
        QString states;
        for (MWGateSequenceWidget* tile : tiles())
            states += QString::number(tile->LampStateShown());
        return states;
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

} // namespace

class TestSequenceStrip : public QObject
{
    Q_OBJECT

private slots:
    void tileTextsAndLamps()
    {
        MWGateSequenceWidget tile;
        QCOMPARE(tile.size(), QSize(90, 100));
        QCOMPARE(tile.minimumSize(), tile.maximumSize());
        const QImage off = QPixmap(":/LED/LED_Square_Black_Off").toImage();
        QCOMPARE(lampImage(&tile), off);

        tile.SetCheckpointIndex(0);
        QCOMPARE(tile.findChild<QGroupBox*>("checkpointGroupBox")->title(), QString("Start point"));
        tile.SetCheckpointIndex(12);
        QCOMPARE(tile.findChild<QGroupBox*>("checkpointGroupBox")->title(), QString("Checkpoint 12"));
        tile.SetGateNumber(4);
        QCOMPARE(tile.findChild<QLabel*>("gateNumLabel")->text(), QString("Gate 4"));

        const struct
        {
            int state;
            const char* image;
        } states[] = {{0, ":/LED/LED_Square_Blue_On"},
                      {1, ":/LED/LED_Square_Orange_On"},
                      {3, ":/LED/LED_Square_Orange_On"},
                      {-1, ":/LED/LED_Square_Orange_On"},
                      {2, ":/LED/LED_Square_Black_Off"}};
        for (const auto& step : states) {
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
};

int main(int argc, char* argv[])
{
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestSequenceStrip test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sequence_strip.moc"
