// The gate sequence editor driven as the operator does: buttons, answers to its questions, and
// drops carrying the views' own drag data.
#include "support/ControllerHarness.h"
#include "support/ItemDrop.h"
#include "timing/GateSequence.h"
#include "ui/ConfigRunDialog.h"
#include "ui/GateListWidget.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// The editor opened from the main window's gear button, with its widgets at hand.
struct Editor
{
    explicit Editor(ControllerHarness& h) : h(h)
    {
        h.controller->MainWindow().findChild<QPushButton*>("configGateSeqPushButton")->click();
        dialog = h.controller->MainWindow().gateSequenceEditorDialog();
        Q_ASSERT(dialog);
        runs = dialog->findChild<QListWidget*>("runListWidget");
        palette = dialog->findChild<GateListWidget*>("runAvailableGateListWidget");
        sequence = dialog->findChild<QTreeWidget*>("runGateSequenceTreeWidget");
        name = dialog->findChild<QLineEdit*>("runNameLineEdit");
        distance = dialog->findChild<QLineEdit*>("distanceLineEdit");
    }
    void click(const char* button) { dialog->findChild<QPushButton*>(button)->click(); }
    void add(int gate)
    {
        palette->setCurrentRow(gate - 1);
        click("addPushButton");
    }
    // The sequence as gate numbers 1 to 4, read from what is shown.
    QString shown() const
    {
        QStringList gates;
        for (int row = 0; row < sequence->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = sequence->topLevelItem(row);
            QString gate = item->text(0).mid(5);
            if (item->data(0, Qt::UserRole).toUInt() + 1 != gate.toUInt())
                gate += "?"; // text and gate number disagree
            if (item->childCount() > 0)
                gate += "+children";
            gates << gate;
        }
        return gates.join(' ');
    }
    QStringList listed() const
    {
        QStringList texts;
        for (int row = 0; row < runs->count(); ++row)
            texts << runs->item(row)->text();
        return texts;
    }
    QStringList paletteTexts() const
    {
        QStringList texts;
        for (int row = 0; row < palette->count(); ++row)
            texts << palette->item(row)->text() + ":" + palette->item(row)->data(Qt::UserRole).toString();
        return texts;
    }
    void save(const QString& sequenceName, const QString& metres)
    {
        name->setText(sequenceName);
        distance->setText(metres);
        click("runSavePushButton");
    }
    QPoint below() const { return QPoint(10, sequence->viewport()->height() - 5); }
    QPoint onItem(int row) const { return sequence->visualItemRect(sequence->topLevelItem(row)).center(); }
    QPoint aboveItem(int row) const
    {
        return sequence->visualItemRect(sequence->topLevelItem(row)).topLeft() + QPoint(10, 1);
    }
    QModelIndexList sequenceRow(int row) const { return {sequence->model()->index(row, 0)}; }
    QModelIndexList paletteRow(int row) const { return {palette->model()->index(row, 0)}; }

    ControllerHarness& h;
    ConfigRunDialog* dialog = nullptr;
    QListWidget* runs = nullptr;
    GateListWidget* palette = nullptr;
    QTreeWidget* sequence = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* distance = nullptr;
};

const QStringList FourGates{"Gate 1:0", "Gate 2:1", "Gate 3:2", "Gate 4:3"};

QString describe(const QString& path)
{
    GateSequence sequence;
    if (!sequence.Load(path))
        return "(no file)";
    QString text = sequence.Name() + " " + QString::number(sequence.TotalDistance()) + ":";
    for (unsigned k = 0; sequence.GateNumberAt(k); ++k)
        text += " " + QString::number(*sequence.GateNumberAt(k) + 1);
    return text;
}

} // namespace

class GateSequenceEditorTest : public QObject
{
    Q_OBJECT

private slots:
    // Add puts the new gate right after the current one, so gates added in a row come newest first.
    void addAfterTheCurrentGate()
    {
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.add(1);
        e.add(2); // nothing current: appended
        QCOMPARE(e.shown(), QString("1 2"));
        e.sequence->setCurrentItem(e.sequence->topLevelItem(0));
        e.add(3);
        e.add(4);
        QCOMPARE(e.shown(), QString("1 4 3 2"));
        const QPoint gate3 = e.palette->visualItemRect(e.palette->item(2)).center();
        QTest::mouseClick(e.palette->viewport(), Qt::LeftButton, {}, gate3);
        QTest::mouseDClick(e.palette->viewport(), Qt::LeftButton, {},
                           e.palette->visualItemRect(e.palette->item(2)).center());
        QCOMPARE(e.shown(), QString("1 3 4 3 2"));
    }

    void upDownAndRemove()
    {
        const struct
        {
            const char* button;
            int current;
            const char* after;
        } cases[] = {{"upPushButton", 0, "1 2 3"},
                     {"downPushButton", 2, "1 2 3"},
                     {"upPushButton", 2, "1 3 2"},
                     {"downPushButton", 0, "2 1 3"},
                     {"removePushButton", 1, "1 3"}};
        for (const auto& c : cases) {
            ControllerHarness h;
            h.start();
            Editor e(h);
            for (int gate : {1, 2, 3})
                e.add(gate);
            e.sequence->setCurrentItem(e.sequence->topLevelItem(c.current));
            e.click(c.button);
            QVERIFY2(e.shown() == c.after,
                     qPrintable(QString("%1 on %2: %3").arg(c.button).arg(c.current).arg(e.shown())));
        }
    }

    // The question is asked with No as its default; only Yes deletes.
    void deleteAsksFirst()
    {
        for (const QMessageBox::StandardButton answer :
             {QMessageBox::Yes, QMessageBox::No, QMessageBox::NoButton}) {
            ControllerHarness h;
            h.writeSequence("Sprint", {0, 1}, 20);
            h.start();
            Editor e(h);
            e.runs->setCurrentRow(0);
            h.dialogs.buttonAnswers = {answer};
            e.click("deleteRunPushButton");
            QCOMPARE(h.dialogs.calls.size(), size_t(1));
            QCOMPARE(h.dialogs.calls[0].defaultButton, QMessageBox::No);
            QCOMPARE(QFile::exists(h.runsFolder() + "Sprint.run"), answer != QMessageBox::Yes);
            QCOMPARE(e.listed().size(), answer == QMessageBox::Yes ? 0 : 1);
        }
    }

    void saveOverwritesAndListsOnce()
    {
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.add(1);
        e.add(2);
        e.save("Sprint", "20");
        e.add(4);
        e.save("Sprint", "0");
        QCOMPARE(e.listed(), QStringList{"Sprint"});
        QCOMPARE(describe(h.runsFolder() + "Sprint.run"), QString("Sprint 0: 1 2 4"));
        QCOMPARE(h.dialogs.calls.size(), size_t(0));
        e.click("newRunPushButton");
        QCOMPARE(e.name->text(), QString("Run"));
        e.runs->setCurrentRow(0);
        e.click("loadPushButton");
        QCOMPARE(e.distance->text(), QString("0"));
        QCOMPARE(e.shown(), QString("1 2 4"));
    }

    // The list follows the file names, case ignored, not the sequence names it shows.
    void listOrderedByFileName()
    {
        ControllerHarness h;
        h.start();
        GateSequence sequence;
        for (const auto& [file, name] :
             {std::pair{"cherry.run", "Alpha"}, {"Banana.run", "Alpha"}, {"apple.run", "Zulu"}}) {
            sequence.SetName(name);
            QVERIFY(sequence.Save(h.runsFolder() + file));
        }
        QFile(h.runsFolder() + "broken.run").open(QIODevice::WriteOnly);
        Editor e(h);
        QCOMPARE(e.listed(), (QStringList{"Zulu", "Alpha", "Alpha"}));
    }

    // The editor opens on the sequence chosen in the main window; with none, on an empty one.
    void opensOnTheChosenSequence()
    {
        ControllerHarness h;
        h.writeSequence("Alpha", {0, 1}, 20);
        h.writeSequence("Bravo", {3, 2, 0}, 12.5);
        h.start();
        h.runCombo()->setCurrentIndex(1);
        Editor e(h);
        QCOMPARE(e.name->text(), QString("Bravo"));
        QCOMPARE(e.distance->text(), QString("12.5"));
        QCOMPARE(e.shown(), QString("4 3 1"));
        QCOMPARE(e.paletteTexts(), FourGates);

        ControllerHarness empty;
        empty.start();
        Editor e2(empty);
        QCOMPARE(e2.name->text(), QString("Run"));
        QCOMPARE(e2.shown(), QString());
    }

    // A name that cannot be one file in the runs folder is refused with a reason and nothing is
    // written; everything else is a name, and the file is named exactly as typed.
    void names_data()
    {
        const QString control =
            QStringLiteral("must not contain control characters such as line ends or tabs.");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal"); // empty: saved
        QTest::newRow("empty") << "" << QStringLiteral("is empty.");
        QTest::newRow("dot") << "." << QStringLiteral("\".\" is reserved for folders.");
        QTest::newRow("dot dot") << ".." << QStringLiteral("\"..\" is reserved for folders.");
        QTest::newRow("slash") << "../Sprint" << QStringLiteral("must not contain \"/\".");
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b" << control;
        QTest::newRow("line end") << "a\nb" << control;
        QTest::newRow("blanks around") << " 30 m " << QString();
        QTest::newRow("backslash") << "a\\b" << QString();
        QTest::newRow("hidden") << ".warmup" << QString();
        QTest::newRow("letters") << u8"Wro\u0142aw \u738B" << QString();
        QTest::newRow("tab-free punctuation") << "5*10m: \"shuttle\" <A|B>?" << QString();
    }
    void names()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.add(1);
        e.add(2);
        e.save(name, "20");
        QCOMPARE(e.listed().size(), refusal.isEmpty() ? 1 : 0);
        if (refusal.isEmpty()) {
            QCOMPARE(h.dialogs.calls.size(), size_t(0));
            QVERIFY(QFile::exists(h.runsFolder() + name + ".run"));
            return;
        }
        QCOMPARE(h.dialogs.calls.size(), size_t(1));
        QCOMPARE(h.dialogs.calls[0].text, "The gate sequence was not saved. The name " + refusal);
        QCOMPARE(h.dialogs.calls[0].parent, e.dialog);
        QCOMPARE(QDir(h.dataDir.path() + "/Swiftlane").entryList(QDir::Files | QDir::Hidden), QStringList{});
        QCOMPARE(QDir(h.runsFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{});
    }

    // A save that fails says which file and why; a runs folder removed meanwhile is made again.
    void failedSaveIsShown()
    {
        ControllerHarness h;
        h.start();
        Editor e(h);
        e.add(1);
        e.add(2);
        QVERIFY(QDir().mkpath(h.runsFolder() + "Taken.run"));
        e.save("Taken", "20");
        QCOMPARE(h.dialogs.calls.size(), size_t(1));
        QCOMPARE(h.dialogs.calls[0].text, "The gate sequence could not be saved to \"" + h.runsFolder() +
                                              "Taken.run\": Is a directory.");

        QVERIFY(QDir(h.runsFolder()).removeRecursively());
        e.save("Again", "20");
        QCOMPARE(h.dialogs.calls.size(), size_t(1));
        QCOMPARE(e.listed(), QStringList{"Again"});
    }

    // Drops as the operator makes them with the mouse: palette to sequence, inside the sequence,
    // and back onto the palette. The palette always ends with exactly the four gates.
    void dragAndDrop()
    {
        ControllerHarness h;
        h.start();
        Editor e(h);
        QCOMPARE(dropItems(e.palette, e.paletteRow(0), e.sequence, e.below(), Qt::CopyAction),
                 Qt::CopyAction);
        QCOMPARE(dropItems(e.palette, e.paletteRow(2), e.sequence, e.below(), Qt::CopyAction),
                 Qt::CopyAction);
        QCOMPARE(dropItems(e.palette, e.paletteRow(1), e.sequence, e.aboveItem(1), Qt::CopyAction),
                 Qt::CopyAction);
        QCOMPARE(e.shown(), QString("1 2 3"));
        QCOMPARE(e.paletteTexts(), FourGates);

        // Onto the middle of a gate: it lands beside it, never inside it where it would vanish.
        QCOMPARE(dropItems(e.palette, e.paletteRow(3), e.sequence, e.onItem(0), Qt::CopyAction),
                 Qt::CopyAction);
        QCOMPARE(e.sequence->topLevelItemCount(), 4);
        QCOMPARE(dropItems(e.sequence, e.sequenceRow(0), e.sequence, e.onItem(2), Qt::MoveAction),
                 Qt::MoveAction);
        QCOMPARE(e.sequence->topLevelItemCount(), 4);
        QVERIFY2(!e.shown().contains('+'), qPrintable(e.shown()));

        e.click("newRunPushButton");
        for (int gate : {0, 1, 2})
            dropItems(e.palette, e.paletteRow(gate), e.sequence, e.below(), Qt::CopyAction);
        QCOMPARE(dropItems(e.sequence, e.sequenceRow(0), e.sequence, e.below(), Qt::MoveAction),
                 Qt::MoveAction);
        QCOMPARE(e.shown(), QString("2 3 1"));

        QCOMPARE(dropItems(e.sequence, e.sequenceRow(1), e.palette, QPoint(5, 5), Qt::MoveAction),
                 Qt::MoveAction);
        QCOMPARE(e.shown(), QString("2 1"));
        QCOMPARE(e.paletteTexts(), FourGates);
        // The palette's own drag only ever copies.
        QCOMPARE(dropItems(e.palette, e.paletteRow(3), e.palette, QPoint(5, 5), Qt::CopyAction),
                 Qt::CopyAction);
        QCOMPARE(e.paletteTexts(), FourGates);

        e.save("Dragged", "40");
        QCOMPARE(describe(h.runsFolder() + "Dragged.run"), QString("Dragged 40: 2 1"));
    }

    // Items that are not gates (names dragged from the name list) are refused by both views.
    void onlyGatesAreDropped()
    {
        ControllerHarness h;
        h.start();
        Editor e(h);
        QListWidget names;
        names.addItems({"Ann", "Bob"});
        const QModelIndexList ann{names.model()->index(0, 0)};
        QCOMPARE(dropItems(&names, ann, e.sequence, e.below(), Qt::MoveAction), Qt::IgnoreAction);
        QCOMPARE(dropItems(&names, ann, e.palette, QPoint(5, 5), Qt::MoveAction), Qt::IgnoreAction);
        QCOMPARE(e.shown(), QString());
        QCOMPARE(names.count(), 2);
        QCOMPARE(e.paletteTexts(), FourGates);
    }

    // Nothing done in the editor disturbs a run in progress: the engine keeps its sequence and
    // the gate sequence box keeps naming it, even when its file was deleted.
    void runInProgressIsNotDisturbed()
    {
        ControllerHarness h;
        h.writeSequence("Alpha", {3}, 10);
        h.writeSequence("Bravo", {0, 1, 2}, 30);
        h.start();
        h.runCombo()->setCurrentIndex(1);
        h.startPastTheStartGate();
        const SequenceRun& engine = h.controller->GetSequenceRun();
        QVERIFY(engine.IsRunning());

        Editor e(h);
        QCOMPARE(e.name->text(), QString("Bravo"));
        e.add(4);
        e.save("Bravo", "99"); // overwrites the running sequence's file
        e.runs->setCurrentRow(1);
        h.dialogs.buttonAnswers = {QMessageBox::Yes};
        e.click("deleteRunPushButton");
        QVERIFY(!QFile::exists(h.runsFolder() + "Bravo.run"));
        e.click("closePushButton");

        QVERIFY(engine.IsRunning());
        QCOMPARE(engine.CurrentGateIndex(), 1);
        QCOMPARE(engine.GateCount(), 3);
        QCOMPARE(h.runCombo()->currentText(), QString("Bravo"));
        h.event(2000, 1);
        h.event(3000, 2);
        h.tick();
        QVERIFY(!engine.IsRunning());
        QCOMPARE(h.lastTableRow().value(1), QString("2.000"));
    }
};

QTEST_MAIN(GateSequenceEditorTest)
#include "test_gate_sequence_editor.moc"
