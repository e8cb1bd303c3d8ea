// The editor's "Hold-off (ms)" field: shown from the sequence, saved with it, and a value the
// sequence cannot hold refused with a box instead of being saved as something else.
#include "support/ControllerHarness.h"
#include "timing/GateSequence.h"
#include "ui/ConfigRunDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {

struct Editor
{
    explicit Editor(ControllerHarness& h)
    {
        h.controller->MainWindow().findChild<QPushButton*>("configGateSeqPushButton")->click();
        dialog = h.controller->MainWindow().gateSequenceEditorDialog();
        Q_ASSERT(dialog);
        name = dialog->findChild<QLineEdit*>("runNameLineEdit");
        distance = dialog->findChild<QLineEdit*>("distanceLineEdit");
        holdOff = dialog->findChild<QLineEdit*>("holdOffLineEdit");
        Q_ASSERT(holdOff);
    }
    void click(const char* button) { dialog->findChild<QPushButton*>(button)->click(); }

    ConfigRunDialog* dialog = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* distance = nullptr;
    QLineEdit* holdOff = nullptr;
};

} // namespace

class GateSequenceEditorHoldOff : public QObject
{
    Q_OBJECT

private slots:
    // Beside the distance, showing the chosen sequence's value, and a new sequence's default.
    void shownBesideTheDistance()
    {
        ControllerHarness h;
        GateSequence lap;
        lap.SetName(QStringLiteral("Lap"));
        lap.InsertGate(0, 0);
        lap.SetHoldOffMs(750);
        QVERIFY(lap.Save(h.runsFolder() + "Lap.run"));
        h.start();
        Editor e(h);
        auto* label = e.dialog->findChild<QLabel*>("holdOffLabel");
        QCOMPARE(label->text(), QStringLiteral("Hold-off (ms)"));
        QCOMPARE(label->buddy(), e.holdOff);
        QCOMPARE(e.holdOff->mapTo(e.dialog, QPoint()).y(), e.distance->mapTo(e.dialog, QPoint()).y());
        QCOMPARE(e.holdOff->text(), QStringLiteral("750"));
        e.click("newRunPushButton");
        QCOMPARE(e.holdOff->text(), QStringLiteral("300"));
    }

    void savedOrRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("saved"); // -1: refused with a box, no file
        QTest::newRow("250") << "250" << 250;
        QTest::newRow("0 with blanks") << " 0 " << 0;
        QTest::newRow("5000") << "5000" << 5000;
        QTest::newRow("not a number") << "short" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("fraction") << "250.5" << -1;
        QTest::newRow("over 5000") << "5001" << -1;
        QTest::newRow("negative") << "-10" << -1;
    }
    void savedOrRefused()
    {
        QFETCH(QString, typed);
        QFETCH(int, saved);
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.name->setText(QStringLiteral("Sprint"));
        e.distance->setText(QStringLiteral("30"));
        e.holdOff->setText(typed);
        e.dialog->findChild<QListWidget*>("runAvailableGateListWidget")->setCurrentRow(0);
        e.click("addPushButton");
        e.click("addPushButton");
        e.click("runSavePushButton");
        const QString path = h.runsFolder() + QStringLiteral("Sprint.run");
        QCOMPARE(QFile::exists(path), saved >= 0);
        if (saved < 0) {
            QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
            QVERIFY(h.dialogs.calls[0].text.contains(QStringLiteral("\"Hold-off (ms)\"")));
            QCOMPARE(h.dialogs.calls[0].parent, e.dialog);
            return;
        }
        QVERIFY(h.dialogs.calls.empty());
        GateSequence loaded;
        QVERIFY(loaded.Load(path));
        QCOMPARE(loaded.HoldOffMs(), saved);
    }
};

QTEST_MAIN(GateSequenceEditorHoldOff)
#include "test_gate_sequence_editor_hold_off.moc"
