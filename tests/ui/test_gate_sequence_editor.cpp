// The gate sequence editor driven as the operator does: buttons, answers to its questions, and
// drops carrying the views' own drag data. It checks what it saves and keeps unsaved work.
#include "support/ControllerHarness.h"
#include "support/ItemDrop.h"
#include "timing/GateSequence.h"
#include "ui/ConfigRunDialog.h"
#include "ui/GateListWidget.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <tuple>

namespace {

// The editor opened from the main window's gear button (started first if need be).
struct Editor
{
    explicit Editor(ControllerHarness& h)
    {
        if (!h.controller)
            h.start();
        h.controller->MainWindow().findChild<QPushButton*>("configGateSeqPushButton")->click();
        dialog = h.controller->MainWindow().gateSequenceEditorDialog();
        Q_ASSERT(dialog);
        runs = dialog->findChild<QListWidget*>("runListWidget");
        palette = dialog->findChild<GateListWidget*>("runAvailableGateListWidget");
        sequence = dialog->findChild<QTreeWidget*>("runGateSequenceTreeWidget");
        name = dialog->findChild<QLineEdit*>("runNameLineEdit");
        distance = dialog->findChild<QLineEdit*>("distanceLineEdit");
        holdOff = dialog->findChild<QLineEdit*>("holdOffLineEdit");
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
    QStringList listed() const { return texts(runs); }
    QStringList paletteTexts() const { return texts(palette, Qt::UserRole); }
    // Each row's text, and its data in `role` after a colon when one is given.
    static QStringList texts(const QListWidget* list, int role = -1)
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text() + (role < 0 ? "" : ":" + list->item(row)->data(role).toString());
        return texts;
    }
    // Name, distance and gates 1 to `gates` typed into the editor, then saved.
    void save(const QString& sequenceName, const QString& metres, int gates = 0)
    {
        name->setText(sequenceName);
        distance->setText(metres);
        for (int gate = 1; gate <= gates; ++gate)
            add(gate);
        click("runSavePushButton");
    }
    static QModelIndexList rowOf(QAbstractItemView* v, int row) { return {v->model()->index(row, 0)}; }
    QPoint below() const { return QPoint(10, sequence->viewport()->height() - 5); }
    QRect rectOf(int row) const { return sequence->visualItemRect(sequence->topLevelItem(row)); }
    QPoint onItem(int row) const { return rectOf(row).center(); }
    QPoint aboveItem(int row) const { return rectOf(row).topLeft() + QPoint(10, 1); }

    ConfigRunDialog* dialog = nullptr;
    QListWidget* runs = nullptr;
    GateListWidget* palette = nullptr;
    QTreeWidget* sequence = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* distance = nullptr;
    QLineEdit* holdOff = nullptr;
};

const QStringList FourGates{"Gate 1:0", "Gate 2:1", "Gate 3:2", "Gate 4:3"};
const QString NotSaved = QStringLiteral("The gate sequence was not saved. ");

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

QStringList runFiles(const ControllerHarness& h)
{
    return QDir(h.runsFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class GateSequenceEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // Add puts the new gate right after the current one, so gates added in a row come newest first.
    void addAfterTheCurrentGate()
    {
        ControllerHarness h;
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
        QTest::mouseDClick(e.palette->viewport(), Qt::LeftButton, {}, gate3);
        QCOMPARE(e.shown(), QString("1 3 4 3 2"));
    }

    void upDownAndRemove()
    {
        const std::tuple<const char*, int, const char*> cases[] = {{"upPushButton", 0, "1 2 3"},
                                                                   {"downPushButton", 2, "1 2 3"},
                                                                   {"upPushButton", 2, "1 3 2"},
                                                                   {"downPushButton", 0, "2 1 3"},
                                                                   {"removePushButton", 1, "1 3"}};
        for (const auto& [button, current, after] : cases) {
            ControllerHarness h;
            Editor e(h);
            for (int gate : {1, 2, 3})
                e.add(gate);
            e.sequence->setCurrentItem(e.sequence->topLevelItem(current));
            e.click(button);
            QVERIFY2(e.shown() == after,
                     qPrintable(QString("%1 on %2: %3").arg(button).arg(current).arg(e.shown())));
        }
    }

    // Deleting, and saving a new sequence under another one's name, ask with No as the default;
    // only Yes deletes or replaces.
    void deleteAndReplaceAskFirst()
    {
        for (const QMessageBox::StandardButton answer :
             {QMessageBox::Yes, QMessageBox::No, QMessageBox::NoButton}) {
            ControllerHarness h;
            h.writeSequence("Sprint", {0, 1}, 30);
            Editor e(h);
            e.click("newRunPushButton");
            h.dialogs.buttonAnswers = {answer};
            e.save("Sprint", "10", 2);
            QCOMPARE(describe(h.runsFolder() + "Sprint.run"),
                     QString(answer == QMessageBox::Yes ? "Sprint 10: 1 2" : "Sprint 30: 1 2"));
            e.runs->setCurrentRow(0);
            h.dialogs.buttonAnswers = {answer};
            e.click("deleteRunPushButton");
            QCOMPARE(h.dialogs.calls.size(), size_t(2));
            for (const auto& call : h.dialogs.calls)
                QCOMPARE(call.defaultButton, QMessageBox::No);
            QCOMPARE(h.dialogs.calls[0].buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(QFile::exists(h.runsFolder() + "Sprint.run"), answer != QMessageBox::Yes);
            QCOMPARE(e.listed().size(), answer == QMessageBox::Yes ? 0 : 1);
        }
    }

    // The sequence saved or loaded, saved again under its own name, is replaced without a question.
    void saveOverwritesAndListsOnce()
    {
        ControllerHarness h;
        Editor e(h);
        e.save("Sprint", "20", 2);
        e.add(4);
        e.holdOff->setText("750");
        e.save("Sprint", "0");
        QCOMPARE(e.listed(), QStringList{"Sprint"});
        QCOMPARE(describe(h.runsFolder() + "Sprint.run"), QString("Sprint 0: 1 2 4"));
        e.click("newRunPushButton");
        QCOMPARE(e.name->text() + e.shown() + e.holdOff->text(), QString("Run300")); // a new one's defaults
        e.runs->setCurrentRow(0);
        e.click("loadPushButton");
        QCOMPARE(e.distance->text() + " " + e.holdOff->text() + ": " + e.shown(), QString("0 750: 1 2 4"));
        e.save("Sprint", "5");
        QCOMPARE(h.dialogs.calls.size(), size_t(0));
        QCOMPARE(describe(h.runsFolder() + "Sprint.run"), QString("Sprint 5: 1 2 4"));
    }

    // The editor opens on the sequence chosen in the main window; its list follows the file names,
    // case ignored, not the sequence names it shows.
    void opensOnTheChosenSequence()
    {
        ControllerHarness h;
        h.writeSequence("Alpha", {0, 1}, 20);
        h.writeSequence("Bravo", {3, 2, 0}, 12.5);
        GateSequence zulu;
        zulu.SetName("Zulu");
        QVERIFY(zulu.Save(h.runsFolder() + "apple.run"));
        QFile(h.runsFolder() + "broken.run").open(QIODevice::WriteOnly);
        h.start();
        h.runCombo()->setCurrentIndex(2);
        Editor e(h);
        QCOMPARE(e.listed(), (QStringList{"Alpha", "Zulu", "Bravo"}));
        QCOMPARE(e.name->text() + " " + e.distance->text() + ": " + e.shown(), QString("Bravo 12.5: 4 3 1"));
    }

    // A name that cannot be one file in the runs folder is refused with a reason and nothing is
    // written; everything else is a name, and the file is named exactly as typed.
    void names()
    {
        const QString control =
            QStringLiteral("must not contain control characters such as line ends or tabs.");
        const std::pair<QString, QString> cases[] = {
            // the name, the reason it is refused (empty: saved)
            {"", "is empty."},
            {".", "\".\" is reserved for folders."},
            {"../Sprint", "must not contain \"/\"."},
            {QString("a") + QChar(0) + "b", control},
            {" 30 m ", ""},
            {".warmup", ""},
            {u8"Wro\u0142aw \u738B", ""},
            {"5*10m: \"shuttle\" <A|B>? a\\b", ""},
        };
        for (const auto& [name, refusal] : cases) {
            ControllerHarness h;
            Editor e(h);
            e.save(name, "20", 2);
            QVERIFY2(e.listed().size() == (refusal.isEmpty() ? 1 : 0), qPrintable(name));
            if (refusal.isEmpty()) {
                QVERIFY2(h.dialogs.calls.empty() && QFile::exists(h.runsFolder() + name + ".run"),
                         qPrintable(name));
                continue;
            }
            QCOMPARE(h.dialogs.calls.size(), size_t(1));
            QCOMPARE(h.dialogs.calls[0].text, NotSaved + "The name " + refusal);
            QCOMPARE(h.dialogs.calls[0].parent, e.dialog);
            QCOMPARE(QDir(h.dataDir.path() + "/Swiftlane").entryList(QDir::Files | QDir::Hidden) +
                         runFiles(h),
                     QStringList{});
        }
    }

    // Distance typed where the operator works, the hold-off and the gates: saved as typed, or refused
    // with a box saying why (the limits written as the operator writes numbers) and no file.
    void fieldsSavedOrRefused()
    {
        const char* const distance = "\"Total Distance (m)\" must be a number of metres from 0 to 100";
        const char* const holdOff = "\"Hold-off (ms)\" must be a whole number of milliseconds from 0 to 5";
        const char* const gates = "A gate sequence needs at least two gates: the start and the finish.";
        // locale, distance, hold-off, gates, then what is saved, or the refusal's start
        const std::tuple<const char*, const char*, const char*, int, double, int, const char*> cases[] = {
            {"de_DE", "12,5", "300", 2, 12.5, 300, nullptr},
            {"de_DE", "12.5", "300", 2, 12.5, 300, nullptr},
            {"en_GB", " 30 ", "5000", 2, 30, 5000, nullptr},
            {"en_GB", "0", " 0 ", 2, 0, 0, nullptr},
            {"en_GB", "100000", "250", 2, 100000, 250, nullptr},
            {"en_GB", "12,5", "300", 2, 0, 0, distance},
            {"de_DE", "zwölf", "300", 2, 0, 0,
             "\"Total Distance (m)\" must be a number of metres from 0 to "
             "100.000, such as 30 or 12,5."},
            {"en_GB", "100000.5", "300", 2, 0, 0, distance},
            {"en_GB", "-5", "300", 2, 0, 0, distance},
            {"en_GB", "30 m", "300", 2, 0, 0, distance},
            {"en_GB", "", "300", 2, 0, 0, distance},
            {"en_GB", "nan", "300", 2, 0, 0, distance},
            {"en_GB", "inf", "300", 2, 0, 0, distance},
            {"en_GB", "30", "5001", 2, 0, 0, holdOff},
            {"en_GB", "30", "-10", 2, 0, 0, holdOff},
            {"en_GB", "30", "250.5", 2, 0, 0, holdOff},
            {"en_GB", "30", "", 2, 0, 0, holdOff},
            {"en_GB", "30", "300", 1, 0, 0, gates},
            {"en_GB", "30", "300", 0, 0, 0, gates},
        };
        for (const auto& [locale, metres, ms, gateCount, savedMetres, savedMs, refusal] : cases) {
            const QString row = QString("%1 '%2' '%3' %4 gates").arg(locale, metres, ms).arg(gateCount);
            QLocale::setDefault(QLocale(locale));
            ControllerHarness h;
            Editor e(h);
            e.holdOff->setText(ms);
            e.save("Sprint", metres, gateCount);
            if (refusal) {
                QVERIFY2(h.dialogs.calls.size() == 1, qPrintable(row));
                QVERIFY2(h.dialogs.calls[0].text.startsWith(NotSaved + refusal), qPrintable(row));
                QVERIFY2(runFiles(h).isEmpty(), qPrintable(row));
                continue;
            }
            GateSequence saved;
            QVERIFY2(h.dialogs.calls.empty() && saved.Load(h.runsFolder() + "Sprint.run"), qPrintable(row));
            QVERIFY2(saved.TotalDistance() == savedMetres && saved.HoldOffMs() == savedMs, qPrintable(row));
        }
    }

    // A save that fails says which file and why; a runs folder removed meanwhile is made again.
    void failedSaveIsShown()
    {
        ControllerHarness h;
        Editor e(h);
        QVERIFY(QDir().mkpath(h.runsFolder() + "Taken.run"));
        e.save("Taken", "20", 2);
        QCOMPARE(h.dialogs.calls.size(), size_t(1));
        QCOMPARE(h.dialogs.calls[0].text, "The gate sequence could not be saved to \"" + h.runsFolder() +
                                              "Taken.run\": Is a directory.");

        QVERIFY(QDir(h.runsFolder()).removeRecursively());
        e.save("Again", "20");
        QCOMPARE(h.dialogs.calls.size(), size_t(1));
        QCOMPARE(e.listed(), QStringList{"Again"});
    }

    // Escape, the Close button and the title bar's close with a name and `gates` gates typed (none:
    // unchanged, nothing asked). A Save that is refused (one gate) says why and keeps the editor.
    void leavingWithChanges()
    {
        // how, gates, answer, boxes shown, still open, saved
        const std::tuple<const char*, int, QMessageBox::StandardButton, unsigned, bool, bool> cases[] = {
            {"escape", 2, QMessageBox::Save, 1, false, true},
            {"escape", 1, QMessageBox::Save, 2, true, false},
            {"button", 2, QMessageBox::Save, 1, false, true},
            {"title bar", 2, QMessageBox::Discard, 1, false, false},
            {"escape", 0, QMessageBox::NoButton, 0, false, false},
        };
        for (const auto& [how, gates, answer, boxes, open, saved] : cases) {
            const QString row = QString("%1, %2 gates, answer %3").arg(how).arg(gates).arg(int(answer));
            ControllerHarness h;
            Editor e(h);
            if (gates > 0)
                e.name->setText("Shuttle");
            for (int gate = 1; gate <= gates; ++gate)
                e.add(gate);
            h.dialogs.buttonAnswers = {answer};
            if (how == QString("escape"))
                QTest::keyClick(e.dialog, Qt::Key_Escape);
            else if (how == QString("button"))
                e.click("closePushButton");
            else
                e.dialog->close();

            QVERIFY2(h.dialogs.calls.size() == boxes, qPrintable(row));
            if (boxes > 0)
                QCOMPARE(h.dialogs.calls[0].buttons,
                         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            QVERIFY2(e.dialog->isVisible() == open, qPrintable(row));
            QVERIFY2(runFiles(h) == (saved ? QStringList{"Shuttle.run"} : QStringList{}), qPrintable(row));
            if (open)
                QCOMPARE(e.name->text(), QString("Shuttle")); // the work is still there
            if (saved && how == QString("button"))
                QCOMPARE(h.runCombo()->currentText(), QString("Shuttle")); // the main window lists it
        }
    }

    // Drops as the operator makes them with the mouse: palette to sequence, inside the sequence,
    // and back onto the palette. The palette always ends with exactly the four gates.
    void dragAndDrop()
    {
        ControllerHarness h;
        Editor e(h);
        const auto copy = [&e](int gate, QPoint at) {
            return dropItems(e.palette, e.rowOf(e.palette, gate), e.sequence, at, Qt::CopyAction);
        };
        const auto move = [&e](int row, QAbstractItemView* to, QPoint at) {
            return dropItems(e.sequence, e.rowOf(e.sequence, row), to, at, Qt::MoveAction);
        };
        QCOMPARE(copy(0, e.below()), Qt::CopyAction);
        QCOMPARE(copy(2, e.below()), Qt::CopyAction);
        QCOMPARE(copy(1, e.aboveItem(1)), Qt::CopyAction);
        QCOMPARE(e.shown(), QString("1 2 3"));

        // Onto the middle of a gate: it lands beside it, never inside it where it would vanish.
        QCOMPARE(copy(3, e.onItem(0)), Qt::CopyAction);
        QCOMPARE(move(0, e.sequence, e.onItem(2)), Qt::MoveAction);
        QCOMPARE(e.sequence->topLevelItemCount(), 4);
        QVERIFY2(!e.shown().contains('+'), qPrintable(e.shown()));

        e.click("newRunPushButton");
        for (int gate : {0, 1, 2})
            copy(gate, e.below());
        QCOMPARE(move(0, e.sequence, e.below()), Qt::MoveAction);
        QCOMPARE(e.shown(), QString("2 3 1"));

        QCOMPARE(move(1, e.palette, QPoint(5, 5)), Qt::MoveAction);
        QCOMPARE(e.shown(), QString("2 1"));
        // The palette's own drag only ever copies, and no drop takes a gate off it.
        QCOMPARE(dropItems(e.palette, e.rowOf(e.palette, 3), e.palette, QPoint(5, 5), Qt::CopyAction),
                 Qt::CopyAction);
        QCOMPARE(e.paletteTexts(), FourGates);

        e.save("Dragged", "40");
        QCOMPARE(describe(h.runsFolder() + "Dragged.run"), QString("Dragged 40: 2 1"));

        // Items that are not gates (names dragged from the name list) are refused by both views.
        QListWidget names;
        names.addItems({"Ann", "Bob"});
        const QModelIndexList ann{names.model()->index(0, 0)};
        QCOMPARE(dropItems(&names, ann, e.sequence, e.below(), Qt::MoveAction), Qt::IgnoreAction);
        QCOMPARE(dropItems(&names, ann, e.palette, QPoint(5, 5), Qt::MoveAction), Qt::IgnoreAction);
        QCOMPARE(e.shown(), QString("2 1"));
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
