// Saving in the gate sequence editor under the name of another sequence that exists asks first
// (No by default, and No writes nothing); the sequence loaded, saved under its own name, does not.
#include "support/ControllerHarness.h"
#include "timing/GateSequence.h"
#include "ui/ConfigRunDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

class GateSequenceEditorReplaceTest : public QObject
{
    Q_OBJECT

private slots:
    // "Sprint" exists with gates 1 and 2 over 30 m; the editor saves a two-gate sequence named
    // "Sprint" over 10 m.
    void savingOverAnExistingSequence_data()
    {
        QTest::addColumn<bool>("loadSprintFirst");
        QTest::addColumn<int>("answer"); // what the operator would answer, if asked
        QTest::addColumn<bool>("asked");
        QTest::addColumn<double>("distanceAfter");
        QTest::newRow("new sequence, answer No") << false << int(QMessageBox::No) << true << 30.0;
        QTest::newRow("new sequence, answer Yes") << false << int(QMessageBox::Yes) << true << 10.0;
        QTest::newRow("loaded Sprint saved as Sprint") << true << int(QMessageBox::No) << false << 10.0;
    }
    void savingOverAnExistingSequence()
    {
        QFETCH(bool, loadSprintFirst);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(double, distanceAfter);
        ControllerHarness h;
        h.writeSequence(QStringLiteral("Sprint"), {0, 1}, 30.0);
        h.start();
        h.controller->MainWindow().findChild<QPushButton*>("configGateSeqPushButton")->click();
        ConfigRunDialog* dialog = h.controller->MainWindow().gateSequenceEditorDialog();
        QVERIFY(dialog);
        const auto click = [dialog](const char* name) { dialog->findChild<QPushButton*>(name)->click(); };
        if (loadSprintFirst) {
            dialog->findChild<QListWidget*>("runListWidget")->setCurrentRow(0);
            click("loadPushButton");
        } else {
            click("newRunPushButton");
            auto* gates = dialog->findChild<QListWidget*>("runAvailableGateListWidget");
            gates->setCurrentRow(0);
            click("addPushButton");
            click("addPushButton");
        }
        dialog->findChild<QLineEdit*>("runNameLineEdit")->setText(QStringLiteral("Sprint"));
        dialog->findChild<QLineEdit*>("distanceLineEdit")->setText(QStringLiteral("10"));
        h.dialogs.buttonAnswers.push_back(static_cast<QMessageBox::StandardButton>(answer));
        h.dialogs.calls.clear();
        click("runSavePushButton");

        QCOMPARE(h.dialogs.calls.size(), std::size_t(asked ? 1 : 0));
        if (asked) {
            QCOMPARE(h.dialogs.calls[0].buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(h.dialogs.calls[0].defaultButton, QMessageBox::No);
        }
        GateSequence saved;
        QVERIFY(saved.Load(h.runsFolder() + QStringLiteral("Sprint.run")));
        QCOMPARE(saved.GateCount(), 2);
        QCOMPARE(saved.TotalDistance(), distanceAfter);
    }
};

QTEST_MAIN(GateSequenceEditorReplaceTest)
#include "test_gate_sequence_editor_replace.moc"
