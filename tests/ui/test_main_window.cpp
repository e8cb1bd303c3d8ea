#include "app/SLMain.h"
#include "devices/GateSentence.h"
#include "platform/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtdiDevices.h"
#include "timing/GateSequence.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The controller with its window shown as Init() would show it, but without the real timer:
// tests tick by hand.
struct Rig
{
    explicit Rig(std::uint32_t startTick = 100000) : clock(startTick)
    {
        QDir runs(controller.RunsFolder());
        for (const QString& name : runs.entryList({"*.run"}, QDir::Files))
            runs.remove(name);
        window().setController(&controller);
    }
    SLMainWindow& window() { return controller.MainWindow(); }
    template <typename T> T* find(const char* name)
    {
        return window().findChild<T*>(QString::fromLatin1(name));
    }
    void show()
    {
        window().showAndRefresh();
        window().hideRfidControls();
    }
    void writeSequence(const QString& file, const QString& name, std::initializer_list<int> gates)
    {
        GateSequence sequence;
        sequence.SetName(name);
        sequence.SetTotalDistance(30);
        for (int gate : gates)
            sequence.InsertGate(static_cast<unsigned>(sequence.GateCount()), gate);
        QVERIFY(sequence.Save(controller.RunsFolder() + file));
    }
    void startRun(const QString& subject)
    {
        // Without a gate link every status refresh clears the flags, so they are set just in time.
        controller.SetGateStatus(true, true, true, true);
        find<QComboBox>("subjectNameComboBox")->setEditText(subject);
        find<QPushButton>("startRunPushButton")->click();
    }

    platform::FakeClock clock;
    platform::FakeFtdiDevices ftdi;
    FakeDialogs dialogs;
    SLMain controller;
};

QImage imageOf(const QLabel* label)
{
    return label->pixmap().toImage();
}

// Counts paint events reaching the window's widgets while it lives.
struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget* root) : root(root) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && root->isAncestorOf(widget))
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
    void formTexts_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        const QString gateTip = "Shows the status of the gate";
        QTest::newRow("master") << "gate1GroupBox"
                                << "Master" << gateTip;
        QTest::newRow("slave 3") << "gate4GroupBox"
                                 << "Slave 3" << gateTip;
        QTest::newRow("progress") << "runGateSequenceGroupBox"
                                  << "Run progress"
                                  << "";
        QTest::newRow("names") << "configNameListPushButton"
                               << ""
                               << "Configure the list of names";
        QTest::newRow("sequences") << "configGateSeqPushButton"
                                   << ""
                                   << "Configure Gate Sequences";
        QTest::newRow("start") << "startRunPushButton"
                               << "Start run"
                               << "";
        QTest::newRow("auto") << "autoAdvSubjectCheckBox"
                              << "Auto advance to\n next subject      "
                              << "";
        QTest::newRow("report") << "viewReportButton"
                                << ""
                                << "View the report";
        QTest::newRow("rfid") << "RFIDScanButton"
                              << "RFID scan"
                              << "";
    }
    void formTexts()
    {
        QFETCH(QString, object);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        Rig rig;
        auto* widget = rig.window().findChild<QWidget*>(object);
        QVERIFY2(widget, qPrintable(object));
        QString shown;
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            shown = box->title();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            shown = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            shown = label->text();
        QCOMPARE(shown, text);
        QCOMPARE(widget->toolTip(), toolTip);
    }

    void windowAndMenus()
    {
        Rig rig;
        rig.show();
        SLMainWindow& window = rig.window();
        QCOMPARE(window.windowTitle(), QString("Swiftlane"));
        QVERIFY(!window.statusBar()->isVisible());
        QVERIFY(!window.windowIcon().isNull());

        QStringList menus;
        QStringList actions;
        for (QAction* menuAction : window.menuBar()->actions()) {
            menus << menuAction->text();
            for (QAction* action : menuAction->menu()->actions())
                actions << action->objectName() + (action->isVisible() ? "" : " (hidden)");
        }
        QCOMPARE(menus, (QStringList{"File", "Configure", "Help"}));
        QCOMPARE(actions,
                 (QStringList{"actionImport_Name_List", "actionExport_list_of_names",
                              "actionImport_RFID_Tag_Names (hidden)", "actionExit",
                              "actionSetup_subject_names", "actionConfigure_Runs",
                              "actionSwiftlane_Connection", "actionRFID_Scanning (hidden)", "actionAbout"}));
        QVERIFY(rig.find<QPushButton>("RFIDScanButton")->isHidden());
        QVERIFY(!rig.find<QCheckBox>("autoAdvSubjectCheckBox")->isChecked());
        QCOMPARE(rig.find<QCheckBox>("autoAdvSubjectCheckBox")->layoutDirection(), Qt::RightToLeft);
        QVERIFY(rig.find<QComboBox>("subjectNameComboBox")->isEditable());
        QVERIFY(!rig.find<QComboBox>("runComboBox")->isEditable());
        QVERIFY(rig.find<QPushButton>("viewReportButton")->isEnabled());
    }

    void connectionAndLamps()
    {
        // Status sentences arrive just before the tick count wraps: the 2000 ms window must hold.
        Rig rig(0xFFFFFE00u);
        rig.ftdi.addDevice("Swiftlane gate adapter", "SL1", 0x21);
        rig.show();
        auto status = [&](bool g0, bool g1, bool g2, bool g3) {
            const bool flags[4] = {g0, g1, g2, g3};
            rig.ftdi.pushIncoming("SL1",
                                  QByteArray::fromStdString(FormatStatusSentence(1000, flags) + "\r\n"));
            rig.controller.OnTimer();
        };
        rig.controller.OnTimer(); // opens the link
        status(true, true, true, false);
        status(true, true, false, false);
        rig.clock.advance(300);
        rig.window().refreshStatus();
        QCOMPARE(rig.find<QLabel>("gateStatusLabel")->text(), QString("Connected"));

        const QImage green = QPixmap(":/LED/LED_Circle_Green_On").toImage();
        const QImage red = QPixmap(":/LED/LED_Circle_Red_On").toImage();
        const QImage grey = QPixmap(":/LED/LED_Circle_Grey_Off").toImage();
        QCOMPARE(imageOf(rig.find<QLabel>("gate1LampLabel")), green);
        QCOMPARE(imageOf(rig.find<QLabel>("gate2LampLabel")), green);
        QCOMPARE(imageOf(rig.find<QLabel>("gate3LampLabel")), red);
        QCOMPARE(imageOf(rig.find<QLabel>("gate4LampLabel")), grey);

        rig.clock.advance(1700); // 2000 ms since the last status
        rig.window().refreshStatus();
        QCOMPARE(rig.find<QLabel>("gateStatusLabel")->text(), QString("Not connected"));
        QCOMPARE(imageOf(rig.find<QLabel>("gate1LampLabel")), grey);
        bool present[4] = {true, true, true, true};
        rig.controller.GetGatePresent(present[0], present[1], present[2], present[3]);
        QVERIFY(!present[0] && !present[1]);
    }

    void unchangedStatusPaintsNothing()
    {
        Rig rig;
        rig.writeSequence("a.run", "Four", {0, 1, 2, 3});
        rig.show();
        rig.find<QPushButton>("raceViewPushButton")->click();
        rig.window().refreshStatus();
        QTest::qWait(100); // first layout and paint of the strip
        PaintCounter counter(&rig.window());
        for (int tick = 0; tick < 20; ++tick) {
            rig.window().refreshStatus();
            QApplication::processEvents();
        }
        QCOMPARE(counter.paints, 0);

        rig.startRun("Ann"); // a status text that changes does repaint
        QTest::qWait(50);
        counter.paints = 0;
        rig.window().refreshStatus();
        QTRY_VERIFY(counter.paints > 0);
    }

    void runListOrderAndSelection()
    {
        Rig rig;
        rig.writeSequence("b.run", "Bravo", {0, 1});
        rig.writeSequence("A.run", "Alpha", {0, 1, 2});
        rig.writeSequence("c.run", "Alpha", {3});
        rig.show();
        auto* runs = rig.find<QComboBox>("runComboBox");
        QCOMPARE(runs->count(), 3);
        QCOMPARE(runs->itemText(0), QString("Alpha"));
        QCOMPARE(runs->itemText(1), QString("Bravo"));
        QCOMPARE(runs->itemText(2), QString("Alpha"));
        QCOMPARE(runs->itemData(1).toString(), rig.controller.RunsFolder() + "b.run");
        QCOMPARE(rig.controller.GetSequenceRun().Sequence().Name(), QString("Alpha"));
        auto* table = rig.find<QTableWidget>("reportTableWidget");
        QCOMPARE(table->columnCount(), 6);
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("Checkpoint 1"));
        QVERIFY(!table->horizontalHeader()->isHidden());

        runs->setCurrentIndex(1);
        QCOMPARE(rig.controller.GetSequenceRun().GateCount(), 2);
        QCOMPARE(table->columnCount(), 5);
    }

    // Refilling the list (as closing the sequence editor does) must not reload the running sequence.
    void refillDuringRunKeepsTheRun()
    {
        Rig rig;
        rig.writeSequence("a.run", "Alpha", {0, 1});
        rig.writeSequence("b.run", "Bravo", {0, 1, 2});
        rig.show();
        auto* runs = rig.find<QComboBox>("runComboBox");
        runs->setCurrentIndex(1);
        rig.startRun("Ann");
        QVERIFY(rig.controller.GetSequenceRun().IsRunning());
        rig.controller.OnGateEvent(0, 100, true);

        rig.writeSequence("0.run", "Zero", {3}); // sorts before the running sequence
        rig.window().refreshRunList();
        const SequenceRun& engine = rig.controller.GetSequenceRun();
        QVERIFY(engine.IsRunning());
        QCOMPARE(engine.CurrentGateIndex(), 1);
        QCOMPARE(engine.Sequence().Name(), QString("Bravo"));
        QCOMPARE(runs->count(), 3);
        QCOMPARE(runs->currentText(), QString("Bravo"));
        QCOMPARE(rig.find<QTableWidget>("reportTableWidget")->rowCount(), 1);

        // The running sequence's file is gone: the run still goes on, nothing is shown as chosen.
        QVERIFY(QFile::remove(rig.controller.RunsFolder() + "b.run"));
        rig.window().refreshRunList();
        QVERIFY(engine.IsRunning());
        QCOMPARE(runs->currentIndex(), -1);

        // Once idle, a refill selects and loads the first sequence again.
        rig.controller.OnGateEvent(1, 200, true);
        rig.controller.OnGateEvent(2, 300, true);
        QVERIFY(!engine.IsRunning());
        rig.window().refreshRunList();
        QCOMPARE(runs->currentIndex(), 0);
        QCOMPARE(engine.Sequence().Name(), QString("Zero"));
        QCOMPARE(rig.find<QTableWidget>("reportTableWidget")->rowCount(), 0);
    }

    void subjectListOperations()
    {
        Rig rig;
        SLMainWindow& window = rig.window();
        QVERIFY(!window.hasNextSubject());
        QVERIFY(!window.selectNextSubject());
        window.setSubjectNames({"Ann", "Bob", "Ann"});
        window.addSubjectName("");
        QCOMPARE(window.subjectNames(), (QStringList{"Ann", "Bob", "Ann", ""}));
        QCOMPARE(window.currentSubjectText(), QString("Ann"));
        QVERIFY(window.selectNextSubject());
        QCOMPARE(rig.controller.GetSequenceRun().SubjectName(), QString("Bob"));
        QVERIFY(window.selectNextSubject());
        QVERIFY(window.selectNextSubject());
        QVERIFY(!window.hasNextSubject());
        QVERIFY(!window.selectNextSubject());

        rig.find<QComboBox>("subjectNameComboBox")->setEditText("Ca");
        QCOMPARE(rig.controller.GetSequenceRun().SubjectName(), QString("Ca"));
    }

    void reportRows()
    {
        Rig rig;
        rig.writeSequence("a.run", "Alpha", {0, 1});
        rig.show();
        SLMainWindow& window = rig.window();
        auto* table = rig.find<QTableWidget>("reportTableWidget");
        window.updateLastReportRow({"ignored"}); // no row yet: nothing to update or remove
        window.removeLastReportRow();
        window.appendReportRow({"Ann", "1.000"});
        window.appendReportRow({"Bob", "0.000"});
        window.updateLastReportRow({"Bob", "2.000", "2.000", "30.000", "15.000", "beyond the columns"});
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 4)->text(), QString("15.000"));
        QCOMPARE(table->columnCount(), 5);
        window.removeLastReportRow();
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 0)->text(), QString("Ann"));
    }
};

int main(int argc, char* argv[])
{
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window.moc"
