#include "app/SLMain.h"
#include "platform/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtdiDevices.h"
#include "timing/GateSequence.h"
#include "ui/RunDisplayDialog.h"
#include "ui/RunDisplayGateWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLCDNumber>
#include <QLineEdit>
#include <QPushButton>
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
    void loadSequence(std::initializer_list<int> gates)
    {
        GateSequence sequence;
        sequence.SetName("Course");
        sequence.SetTotalDistance(30);
        for (int gate : gates)
            sequence.InsertGate(static_cast<unsigned>(sequence.GateCount()), gate);
        QVERIFY(sequence.Save(controller.RunsFolder() + "course.run"));
        window().showAndRefresh();
    }
    RunDisplayDialog* openDisplay()
    {
        window().findChild<QPushButton*>("raceViewPushButton")->click();
        return window().runDisplayDialog();
    }
    void start(const QString& subject)
    {
        // Without a gate link every status refresh clears the flags, so they are set just in time.
        controller.SetGateStatus(true, true, true, true);
        window().findChild<QComboBox*>("subjectNameComboBox")->setEditText(subject);
        window().findChild<QPushButton*>("startRunPushButton")->click();
        window().refreshStatus();
    }
    void pass(int gate, std::uint32_t deviceTime)
    {
        controller.OnGateEvent(gate, deviceTime, true);
        window().refreshStatus();
    }
    // "1 2 3*": the panels' positions, the highlighted one starred.
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

// Digit positions a text takes on an LCD: a small decimal point takes none.
int positionsNeeded(const QLCDNumber* lcd, const QString& text)
{
    return lcd->smallDecimalPoint() ? static_cast<int>(text.size() - text.count('.'))
                                    : static_cast<int>(text.size());
}

} // namespace

class TestRunDisplay : public QObject
{
    Q_OBJECT

private slots:
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
        rig.loadSequence({0, 1, 2, 3, 0, 1});
        RunDisplayDialog* display = rig.openDisplay();
        QVERIFY(display && display->isVisible() && display->isWindow());
        QCOMPARE(display->parent(), &rig.window());
        QCOMPARE(rig.openDisplay(), display);
        QCOMPARE(rig.window().findChildren<RunDisplayDialog*>().size(), 1);

        QCOMPARE(rig.panels(), QString("1 2 3"));
        rig.start("Ann");
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
        rig.loadSequence({0, 3});
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
        rig.loadSequence({0, 1, 2, 3});
        RunDisplayDialog* display = rig.openDisplay();
        display->hide();
        rig.start("Bob");
        rig.pass(0, 100);
        rig.pass(1, 400);
        QCOMPARE(display->SubjectText(), QString("test text"));
        QCOMPARE(rig.panels(), QString("1 2 3"));

        rig.openDisplay();
        QCOMPARE(rig.panels(), QString("1 2* 3"));
        rig.window().refreshStatus();
        QCOMPARE(display->SubjectText(), QString("Bob"));
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

    void colours()
    {
        RunDisplayDialog display;
        QCOMPARE(display.palette().color(QPalette::Active, QPalette::Window), QColor(0, 0, 0));
        QCOMPARE(display.palette().color(QPalette::Inactive, QPalette::WindowText), QColor(0, 255, 0));
        QCOMPARE(display.palette().color(QPalette::Disabled, QPalette::Text), QColor(120, 120, 120));
        auto* subject = display.findChild<QLineEdit*>("subjectNameLineEdit");
        QCOMPARE(subject->palette().color(QPalette::Disabled, subject->backgroundRole()), QColor(0, 0, 0));

        RunDisplayGateWidget panel;
        QCOMPARE(panel.palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 255, 0));
        QCOMPARE(panel.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(120, 120, 120));
        panel.Highlight();
        QCOMPARE(panel.palette().color(QPalette::Inactive, QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(panel.palette().color(QPalette::Disabled, QPalette::Midlight), QColor(Qt::yellow));
    }
};

int main(int argc, char* argv[])
{
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestRunDisplay test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_run_display.moc"
