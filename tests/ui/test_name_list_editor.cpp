// The name list editor and the File menu's import and export, driven through the window, the
// buttons and the answers to the file dialogs.
#include "support/ControllerHarness.h"
#include "support/ItemDrop.h"
#include "support/TestFiles.h"
#include "ui/ConfigNameListDialog.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

namespace {

struct NameEditor
{
    explicit NameEditor(ControllerHarness& h)
    {
        h.controller->MainWindow().findChild<QPushButton*>("configNameListPushButton")->click();
        dialog = h.controller->MainWindow().nameListEditorDialog();
        Q_ASSERT(dialog);
        list = dialog->findChild<QListWidget*>("nameListWidget");
    }
    void click(const char* button) { dialog->findChild<QPushButton*>(button)->click(); }
    QStringList names() const
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts;
    }

    ConfigNameListDialog* dialog = nullptr;
    QListWidget* list = nullptr;
};

void trigger(ControllerHarness& h, const char* action)
{
    h.controller->MainWindow().findChild<QAction*>(action)->trigger();
}

} // namespace

class NameListEditorTest : public QObject
{
    Q_OBJECT

private slots:
    void buttons()
    {
        const QString n = "New subject";
        const struct
        {
            int current;
            QStringList presses, after;
        } cases[] = {
            {-1, {"new", "new", "new"}, {"Ann", "Bob", "Cid", n, n, n}},
            {0, {"up"}, {"Ann", "Bob", "Cid"}},   // up on the first
            {2, {"down"}, {"Ann", "Bob", "Cid"}}, // down on the last
            {2, {"up", "up"}, {"Cid", "Ann", "Bob"}},
            {0, {"down"}, {"Bob", "Ann", "Cid"}},
            {1, {"delete"}, {"Ann", "Cid"}},
            {-1, {"delete"}, {"Ann", "Bob", "Cid"}}, // none chosen
        };
        for (const auto& [current, presses, after] : cases) {
            ControllerHarness h;
            h.start();
            h.setSubjects({"Ann", "Bob", "Cid"});
            NameEditor e(h);
            e.list->setCurrentRow(current);
            for (const QString& press : presses)
                e.click(qPrintable(press + "PushButton"));
            QCOMPARE(e.names(), after);
            QCOMPARE(h.controller->SubjectNames(), (QStringList{"Ann", "Bob", "Cid"})); // not applied yet
        }
    }

    // Close applies the working copy, an empty one included; Cancel drops it and reopening shows
    // the subject list again.
    void closeAppliesCancelDiscards()
    {
        ControllerHarness h;
        h.start();
        h.setSubjects({"Ann", "Bob"});
        NameEditor e(h);
        e.list->clear();
        e.click("cancelPushButton");
        QVERIFY(!e.dialog->isVisible());
        QCOMPARE(h.controller->SubjectNames(), (QStringList{"Ann", "Bob"}));

        NameEditor again(h);
        QCOMPARE(again.names(), (QStringList{"Ann", "Bob"}));
        again.list->setCurrentRow(0);
        again.click("editPushButton");
        auto* editor = again.list->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(u8"\u0141ukasz");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits on a queued call
        again.click("closePushButton");
        QCOMPARE(h.controller->SubjectNames(), (QStringList{u8"\u0141ukasz", "Bob"}));

        NameEditor emptied(h);
        emptied.list->clear();
        emptied.click("closePushButton");
        QCOMPARE(h.controller->SubjectNames(), QStringList{});
    }

    // Reordering by dragging inside the list; a drag from another view of the program is refused.
    void dragToReorder()
    {
        ControllerHarness h;
        h.start();
        h.setSubjects({"Ann", "Bob", "Cid"});
        NameEditor e(h);
        const QPoint belowAll(10, e.list->viewport()->height() - 5);
        QCOMPARE(dropItems(e.list, {e.list->model()->index(0, 0)}, e.list, belowAll, Qt::MoveAction),
                 Qt::MoveAction);
        QCOMPARE(e.names(), (QStringList{"Bob", "Cid", "Ann"}));
    }

    // Import appends the file's names after the existing ones, duplicates kept; a file that
    // cannot be read, or stops early, is reported to the operator.
    void importThroughEditorAndMenu_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("editor") << false;
        QTest::newRow("menu") << true;
    }
    void importThroughEditorAndMenu()
    {
        QFETCH(bool, fromMenu);
        ControllerHarness h;
        h.start();
        h.setSubjects({"Ann"});
        const QString good = h.dataDir.filePath("group.csv");
        const QString stops = h.dataDir.filePath("long.txt");
        QVERIFY(WriteAll(good, "Ann\r\n\r\n Smith, Bob \r\nZo\xEB"));
        QVERIFY(WriteAll(stops, "Cid\nDee\n" + QByteArray(600, 'x') + "\nEve\n"));
        h.dialogs.fileAnswers = {good, stops, h.dataDir.filePath("missing.txt"), QString()};

        NameEditor e(h);
        auto import = [&] {
            if (fromMenu)
                trigger(h, "actionImport_Name_List");
            else
                e.click("importListPushButton");
        };
        auto names = [&] { return fromMenu ? h.controller->SubjectNames() : e.names(); };
        for (int i = 0; i < 4; ++i)
            import();

        QCOMPARE(names(), (QStringList{"Ann", "Ann", " Smith, Bob ", u8"Zo\u00EB", "Cid", "Dee"}));
        QCOMPARE(h.dialogs.fileCalls.size(), size_t(4));
        QCOMPARE(h.dialogs.fileCalls[0].save, false);
        QCOMPARE(h.dialogs.calls.size(), size_t(2));
        QCOMPARE(
            h.dialogs.calls[0].text,
            "Imported 2 names from \"" + stops +
                "\", then stopped: line 3 is 600 bytes long; a line may hold at most 511 bytes. The names "
                "from that line on were not imported.");
        QVERIFY2(h.dialogs.calls[1].text.startsWith("The list of names could not be read from \"" +
                                                    h.dataDir.filePath("missing.txt") + "\": "),
                 qPrintable(h.dialogs.calls[1].text));
    }

    // The editor's export: the ".txt" suffix added, the working copy with unapplied edits, a cancelled
    // dialog writing nothing, a failure shown, and a file the ".txt" rule would replace asked about.
    void exportFromEditor()
    {
        ControllerHarness h;
        h.start();
        h.setSubjects({"Ann", u8"\u738B\u82B3"});
        NameEditor e(h);
        e.click("newPushButton");
        const QString dir = h.dataDir.path() + "/";
        QVERIFY(WriteAll(dir + "old.csv.txt", "Keep\n"));
        h.dialogs.fileAnswers = {dir + "b.csv", QString(), dir + "no/such/x.txt", dir + "old.csv"};
        h.dialogs.buttonAnswers = {QMessageBox::Ok, QMessageBox::No};
        for (int i = 0; i < 4; ++i)
            e.click("exportNamesListPushButton");

        const QByteArray written = u8"Ann\n\u738B\u82B3\nNew subject\n";
        QCOMPARE(ReadAll(dir + "b.csv.txt"), written);
        QVERIFY(!QFile::exists(dir + "b.csv"));
        QCOMPARE(h.dialogs.fileCalls[0].save, true);
        QCOMPARE(h.dialogs.calls.size(), size_t(2));
        QVERIFY(h.dialogs.calls[0].text.startsWith("The list of names could not be written to \"" + dir +
                                                   "no/such/x.txt\": "));
        QCOMPARE(h.dialogs.calls[1].defaultButton, QMessageBox::No);
        QCOMPARE(ReadAll(dir + "old.csv.txt"), QByteArray("Keep\n"));
        QCOMPARE(h.controller->SubjectNames().size(), 2);
    }

    // The menu's export: the default name, UTF-8, the question before replacing a file, and
    // the full path of the file written shown in the status bar.
    void exportFromMenu()
    {
        for (const QString typed : {"SwiftlaneSubjectList", ""}) { // an empty name accepted: the default
            ControllerHarness h;
            h.start();
            h.setSubjects({" Ann ", u8"\u0141ukasz", "", "Smith, Bob"});
            h.dialogs.textAnswers = {typed};
            trigger(h, "actionExport_list_of_names");
            const QString path = h.dataDir.path() + "/Swiftlane/SwiftlaneSubjectList.txt";
            QCOMPARE(ReadAll(path), QByteArray(u8" Ann \n\u0141ukasz\n\nSmith, Bob\n"));
            QCOMPARE(h.dialogs.textInitials[0], QString("SwiftlaneSubjectList"));
            QStatusBar* bar = h.controller->MainWindow().statusBar();
            QCOMPARE(bar->currentMessage(), "List of names saved to " + path);
            QVERIFY(bar->isVisible());
            QCOMPARE(h.dialogs.calls.size(), size_t(0));

            // Read back by the import: the same names but the empty one.
            h.dialogs.fileAnswers = {path};
            h.controller->SetSubjectNames({});
            trigger(h, "actionImport_Name_List");
            QCOMPARE(h.controller->SubjectNames(), (QStringList{" Ann ", u8"\u0141ukasz", "Smith, Bob"}));
        }
    }

    // Exporting a second group under a name already used asks first; No, or
    // the box closed, keeps the first group.
    void exportAsksBeforeReplacing()
    {
        for (const auto& [answer, kept] : {std::pair{QMessageBox::No, "Ann\n"},
                                           {QMessageBox::NoButton, "Ann\n"},
                                           {QMessageBox::Yes, "Bob\n"}}) {
            ControllerHarness h;
            h.start();
            h.setSubjects({"Ann"});
            h.dialogs.textAnswers = {QString("Group")};
            trigger(h, "actionExport_list_of_names");
            h.setSubjects({"Bob"});
            h.dialogs.textAnswers = {QString("Group")};
            h.dialogs.buttonAnswers = {answer};
            trigger(h, "actionExport_list_of_names");
            QCOMPARE(h.dialogs.calls.size(), size_t(1));
            QCOMPARE(h.dialogs.calls[0].buttons, QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(h.dialogs.calls[0].defaultButton, QMessageBox::No);
            QCOMPARE(ReadAll(h.dataDir.path() + "/Swiftlane/Group.txt"), QByteArray(kept));
        }
    }

    // Names that cannot be one file of the data folder, and lists that cannot be written, are
    // refused with the reason; nothing is written.
    void exportRefusals_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("message");
        QTest::newRow("slash") << "../outside" << QStringList{"Ann"}
                               << "The list of names was not exported. The name must not contain \"/\".";
        QTest::newRow("over-long name")
            << "Group" << QStringList{"Ann", QString(600, 'x')}
            << "The list of names could not be written to \"%1/Swiftlane/Group.txt\": "
               "name 2 is 600 bytes long; a name may hold at most 511 bytes. "
               "Nothing was written.";
    }
    void exportRefusals()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        QFETCH(QString, message);
        ControllerHarness h;
        h.start();
        h.setSubjects(names);
        h.dialogs.textAnswers = {typed};
        trigger(h, "actionExport_list_of_names");
        QCOMPARE(h.dialogs.calls.size(), size_t(1));
        QCOMPARE(h.dialogs.calls[0].text, message.arg(h.dataDir.path()));
        QCOMPARE(QDir(h.dataDir.path()).entryList({"*.txt"}, QDir::Files), QStringList{});
        QCOMPARE(QDir(h.dataDir.path() + "/Swiftlane").entryList({"*.txt"}, QDir::Files), QStringList{});
    }

    void cancelledDialogsChangeNothing()
    {
        ControllerHarness h;
        h.start();
        h.setSubjects({"Ann"});
        trigger(h, "actionImport_Name_List");
        trigger(h, "actionExport_list_of_names");
        QCOMPARE(h.controller->SubjectNames(), QStringList{"Ann"});
        QCOMPARE(QDir(h.dataDir.path() + "/Swiftlane").entryList(QDir::Files), QStringList{});
        QCOMPARE(h.dialogs.calls.size(), size_t(0));
    }
};

QTEST_MAIN(NameListEditorTest)
#include "test_name_list_editor.moc"
