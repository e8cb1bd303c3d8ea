// The gate sequence editor checks what it saves and does not drop unsaved work when left.
#include "support/ControllerHarness.h"
#include "timing/GateSequence.h"
#include "ui/ConfigRunDialog.h"
#include "ui/GateListWidget.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// The editor opened from the main window's gear button on a new sequence.
struct Editor
{
    explicit Editor(ControllerHarness& h)
    {
        h.controller->MainWindow().findChild<QPushButton*>("configGateSeqPushButton")->click();
        dialog = h.controller->MainWindow().gateSequenceEditorDialog();
        name = dialog->findChild<QLineEdit*>("runNameLineEdit");
        distance = dialog->findChild<QLineEdit*>("distanceLineEdit");
    }
    void click(const char* button) { dialog->findChild<QPushButton*>(button)->click(); }
    void addGates(int count)
    {
        auto* palette = dialog->findChild<GateListWidget*>("runAvailableGateListWidget");
        for (int gate = 0; gate < count; ++gate) {
            palette->setCurrentRow(gate);
            click("addPushButton");
        }
    }
    void fill(const QString& sequenceName, const QString& metres, int gates)
    {
        name->setText(sequenceName);
        distance->setText(metres);
        addGates(gates);
    }
    ConfigRunDialog* dialog = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* distance = nullptr;
};

QStringList runFiles(const ControllerHarness& h)
{
    return QDir(h.runsFolder()).entryList({"*.run"}, QDir::Files);
}

const QString NotSaved = QStringLiteral("The gate sequence was not saved. ");

} // namespace

class GateSequenceEditorChecksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // Metres as typed where the operator works: -1 means refused.
    void distances_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("metres");
        QTest::newRow("comma, German") << "de_DE"
                                       << "12,5" << 12.5;
        QTest::newRow("full stop, German") << "de_DE"
                                           << "12.5" << 12.5;
        QTest::newRow("full stop, English") << "en_GB"
                                            << "12.5" << 12.5;
        QTest::newRow("comma, English") << "en_GB"
                                        << "12,5" << -1.0;
        QTest::newRow("blanks around") << "en_GB"
                                       << " 30 " << 30.0;
        QTest::newRow("zero") << "en_GB"
                              << "0" << 0.0;
        QTest::newRow("the most") << "en_GB"
                                  << "100000" << 100000.0;
        QTest::newRow("over the most") << "en_GB"
                                       << "100000.5" << -1.0;
        QTest::newRow("huge") << "de_DE"
                              << "1e9" << -1.0;
        QTest::newRow("negative") << "en_GB"
                                  << "-5" << -1.0;
        QTest::newRow("words") << "en_GB"
                               << "abc" << -1.0;
        QTest::newRow("number then words") << "en_GB"
                                           << "30 m" << -1.0;
        QTest::newRow("empty") << "en_GB"
                               << "" << -1.0;
        QTest::newRow("not a number") << "en_GB"
                                      << "nan" << -1.0;
        QTest::newRow("infinite") << "en_GB"
                                  << "inf" << -1.0;
    }
    void distances()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(double, metres);
        QLocale::setDefault(QLocale(locale));
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.fill("Sprint", typed, 2);
        e.click("runSavePushButton");
        if (metres < 0) {
            QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
            QCOMPARE(h.dialogs.calls[0].parent, e.dialog);
            QVERIFY(h.dialogs.calls[0].text.startsWith(
                NotSaved + "\"Total Distance (m)\" must be a number of metres from 0 to 100"));
            QCOMPARE(runFiles(h), QStringList{});
            return;
        }
        QCOMPARE(h.dialogs.calls.size(), std::size_t(0));
        GateSequence saved;
        QVERIFY(saved.Load(h.runsFolder() + "Sprint.run"));
        QCOMPARE(saved.TotalDistance(), metres);
    }

    void refusalNamesTheLimitsInTheLocale()
    {
        QLocale::setDefault(QLocale("de_DE"));
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.fill("Sprint", "zwölf", 2);
        e.click("runSavePushButton");
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        QCOMPARE(h.dialogs.calls[0].text,
                 NotSaved + "\"Total Distance (m)\" must be a number of metres from 0 to 100.000, such as "
                            "30 or 12,5.");
    }

    void twoGatesAtLeast_data()
    {
        QTest::addColumn<int>("gates");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("two") << 2;
    }
    void twoGatesAtLeast()
    {
        QFETCH(int, gates);
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.fill("Sprint", "20", gates);
        e.click("runSavePushButton");
        if (gates >= 2) {
            QCOMPARE(h.dialogs.calls.size(), std::size_t(0));
            QCOMPARE(runFiles(h), QStringList{"Sprint.run"});
            return;
        }
        QCOMPARE(h.dialogs.calls.size(), std::size_t(1));
        QCOMPARE(h.dialogs.calls[0].text,
                 NotSaved + "A gate sequence needs at least two gates: the start and the finish.");
        QCOMPARE(runFiles(h), QStringList{});
    }

    // Escape, the Close button and the title bar's close with changes not saved; the answer's
    // button, or NoButton when nothing was changed and nothing may be asked.
    void leavingWithChanges_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Escape, Save") << "escape" << true << QMessageBox::Save << false << true;
        QTest::newRow("Escape, Discard") << "escape" << true << QMessageBox::Discard << false << false;
        QTest::newRow("Escape, Cancel") << "escape" << true << QMessageBox::Cancel << true << false;
        QTest::newRow("Close, Save") << "button" << true << QMessageBox::Save << false << true;
        QTest::newRow("Close, Discard") << "button" << true << QMessageBox::Discard << false << false;
        QTest::newRow("Close, Cancel") << "button" << true << QMessageBox::Cancel << true << false;
        QTest::newRow("title bar, Discard") << "title bar" << true << QMessageBox::Discard << false << false;
        QTest::newRow("Escape, unchanged") << "escape" << false << QMessageBox::NoButton << false << false;
    }
    void leavingWithChanges()
    {
        QFETCH(QString, how);
        QFETCH(bool, changed);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, open);
        QFETCH(bool, saved);
        ControllerHarness h;
        h.start();
        Editor e(h);
        if (changed)
            e.fill("Shuttle", "20", 2);
        h.dialogs.buttonAnswers = {answer};
        if (how == "escape")
            QTest::keyClick(e.dialog, Qt::Key_Escape);
        else if (how == "button")
            e.click("closePushButton");
        else
            e.dialog->close();

        QCOMPARE(h.dialogs.calls.size(), std::size_t(changed ? 1 : 0));
        if (changed) {
            QCOMPARE(h.dialogs.calls[0].text,
                     QString("The gate sequence \"Shuttle\" has changes that are not saved. Save them?"));
            QCOMPARE(h.dialogs.calls[0].buttons,
                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        }
        QCOMPARE(e.dialog->isVisible(), open);
        QCOMPARE(runFiles(h), saved ? QStringList{"Shuttle.run"} : QStringList{});
        if (open)
            QCOMPARE(e.name->text(), QString("Shuttle")); // the work is still there
        if (saved && how == "button")
            QCOMPARE(h.runCombo()->currentText(), QString("Shuttle")); // the main window lists it
    }

    // Save chosen, but the sequence cannot be saved: the box says why and the editor stays.
    void refusedSaveOnLeavingKeepsTheEditor()
    {
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.fill("Shuttle", "20", 1);
        h.dialogs.buttonAnswers = {QMessageBox::Save};
        QTest::keyClick(e.dialog, Qt::Key_Escape);
        QCOMPARE(h.dialogs.calls.size(), std::size_t(2));
        QVERIFY(h.dialogs.calls[1].text.startsWith(NotSaved));
        QVERIFY(e.dialog->isVisible());
        QCOMPARE(runFiles(h), QStringList{});
    }
};

QTEST_MAIN(GateSequenceEditorChecksTest)
#include "test_gate_sequence_editor_checks.moc"
