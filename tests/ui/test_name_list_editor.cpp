// The name list editor and the File menu's import and export, driven through the window, the
// buttons and the answers to the file dialogs.
#include "support/ControllerHarness.h"
#include "support/ItemDrop.h"
#include "support/TestFiles.h"
#include "ui/ConfigNameListDialog.h"

#include <QAction>
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
    // The in-place editor's text, then `typed` over it and Return; the view commits the edit and
    // deletes its editor through the event queue.
    QString retype(const QString& typed)
    {
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        if (!editor)
            return "no editor";
        const QString shown = editor->text();
        editor->setText(typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return shown;
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
        const struct
        {
            int current;
            QStringList presses, after;
        } cases[] = {
            {0, {"up"}, {"Ann", "Bob", "Cid"}},   // up on the first
            {2, {"down"}, {"Ann", "Bob", "Cid"}}, // down on the last
            {2, {"up", "up"}, {"Cid", "Ann", "Bob"}}, {0, {"down"}, {"Bob", "Ann", "Cid"}},
            {1, {"delete"}, {"Ann", "Cid"}},          {-1, {"delete"}, {"Ann", "Bob", "Cid"}}, // none chosen
        };
        auto h = ControllerHarness::connected({"Ann", "Bob", "Cid"});
        for (const auto& [current, presses, after] : cases) {
            NameEditor e(*h); // a fresh working copy: each case ends with Cancel
            e.list->setCurrentRow(current);
            for (const QString& press : presses)
                e.click(qPrintable(press + "PushButton"));
            QCOMPARE(e.names(), after);
            QCOMPARE(h->controller->SubjectNames(), (QStringList{"Ann", "Bob", "Cid"})); // not applied yet
            e.click("cancelPushButton");
        }
    }

    // Cancel drops the working copy; New opens the new name for typing and Edit afterwards means
    // that name, not the row chosen before; a drag reorders; Close applies, an emptied list included.
    void editCloseAndCancel()
    {
        auto h = ControllerHarness::connected({"Ann", "Bob"});
        NameEditor e(*h);
        e.list->clear();
        e.click("cancelPushButton");
        QVERIFY(!e.dialog->isVisible());
        QCOMPARE(h->controller->SubjectNames(), (QStringList{"Ann", "Bob"}));

        NameEditor again(*h);
        QCOMPARE(again.names(), (QStringList{"Ann", "Bob"}));
        again.list->setCurrentRow(0);
        again.click("newPushButton");
        QCOMPARE(again.list->currentRow(), 2);
        QCOMPARE(again.retype("Cleo"), QString("New subject"));
        again.click("editPushButton");
        QCOMPARE(again.retype(u8"\u0141ukasz"), QString("Cleo"));
        const QPoint belowAll(10, again.list->viewport()->height() - 5);
        QCOMPARE(
            dropItems(again.list, {again.list->model()->index(0, 0)}, again.list, belowAll, Qt::MoveAction),
            Qt::MoveAction);
        again.click("closePushButton");
        QCOMPARE(h->controller->SubjectNames(), (QStringList{"Bob", u8"\u0141ukasz", "Ann"}));

        NameEditor emptied(*h);
        emptied.list->clear();
        emptied.click("closePushButton");
        QCOMPARE(h->controller->SubjectNames(), QStringList{});
    }

    // Import appends the file's names after the existing ones, duplicates kept; a file that
    // cannot be read, or stops early, is reported to the operator; a cancelled dialog does nothing.
    void importThroughEditorAndMenu()
    {
        for (const bool fromMenu : {false, true}) {
            auto h = ControllerHarness::connected({"Ann"});
            const QString good = h->dataDir.filePath("group.csv"), stops = h->dataDir.filePath("long.txt");
            QVERIFY(WriteAll(good, "Ann\r\n\r\n Smith, Bob \r\nZo\xEB"));
            QVERIFY(WriteAll(stops, "Cid\nDee\n" + QByteArray(600, 'x') + "\nEve\n"));
            h->dialogs.fileAnswers = {good, stops, h->dataDir.filePath("missing.txt"), QString()};
            NameEditor e(*h);
            for (int i = 0; i < 4; ++i)
                fromMenu ? trigger(*h, "actionImport_Name_List") : e.click("importListPushButton");

            QCOMPARE(fromMenu ? h->controller->SubjectNames() : e.names(),
                     (QStringList{"Ann", "Ann", " Smith, Bob ", u8"Zo\u00EB", "Cid", "Dee"}));
            QCOMPARE(h->dialogs.calls.size(), size_t(2));
            QCOMPARE(h->dialogs.calls[0].text,
                     "Imported 2 names from \"" + stops +
                         "\", then stopped: line 3 is 600 bytes long; a line may hold at most 511 bytes. "
                         "The names from that line on were not imported.");
            QVERIFY(h->dialogs.calls[1].text.startsWith("The list of names could not be read from \"" +
                                                        h->dataDir.filePath("missing.txt") + "\": "));
        }
    }

    // The editor's export: the ".txt" suffix added, the working copy with unapplied edits, a cancelled
    // dialog writing nothing, a failure shown, and a file the ".txt" rule would replace asked about.
    void exportFromEditor()
    {
        auto h = ControllerHarness::connected({"Ann", u8"\u738B\u82B3"});
        NameEditor e(*h);
        e.click("newPushButton");
        const QString dir = h->dataDir.path() + "/";
        QVERIFY(WriteAll(dir + "old.csv.txt", "Keep\n"));
        h->dialogs.fileAnswers = {dir + "b.csv", QString(), dir + "no/such/x.txt", dir + "old.csv"};
        h->dialogs.buttonAnswers = {QMessageBox::Ok, QMessageBox::No};
        for (int i = 0; i < 4; ++i)
            e.click("exportNamesListPushButton");

        QCOMPARE(ReadAll(dir + "b.csv.txt"), QByteArray(u8"Ann\n\u738B\u82B3\nNew subject\n"));
        QVERIFY(!QFile::exists(dir + "b.csv"));
        QCOMPARE(h->dialogs.calls.size(), size_t(2));
        QVERIFY(h->dialogs.calls[0].text.startsWith("The list of names could not be written to \"" + dir +
                                                    "no/such/x.txt\": "));
        QCOMPARE(h->dialogs.calls[1].defaultButton, QMessageBox::No);
        QCOMPARE(ReadAll(dir + "old.csv.txt"), QByteArray("Keep\n"));
        QCOMPARE(h->controller->SubjectNames().size(), 2);
    }

    // The menu's export: the default name (an empty one typed means it), UTF-8, the full path shown
    // in the status bar. A second export under that name asks first; No, or the box closed, keeps
    // the first group.
    void exportFromMenu()
    {
        const QByteArray first = u8" Ann \n\u0141ukasz\n\nSmith, Bob\n";
        for (const auto& [answer, kept] : {std::pair{QMessageBox::No, first},
                                           {QMessageBox::NoButton, first},
                                           {QMessageBox::Yes, QByteArray("Bob\n")}}) {
            auto h = ControllerHarness::connected({" Ann ", u8"\u0141ukasz", "", "Smith, Bob"});
            h->dialogs.textAnswers = {QString("")};
            trigger(*h, "actionExport_list_of_names");
            const QString path = h->dataDir.path() + "/Swiftlane/SwiftlaneSubjectList.txt";
            QCOMPARE(ReadAll(path), first);
            QCOMPARE(h->controller->MainWindow().statusBar()->currentMessage(),
                     "List of names saved to " + path);

            h->setSubjects({"Bob"});
            h->dialogs.textAnswers = {QString("SwiftlaneSubjectList")};
            h->dialogs.buttonAnswers = {answer};
            trigger(*h, "actionExport_list_of_names");
            QCOMPARE(h->dialogs.calls.size(), size_t(1));
            QCOMPARE(h->dialogs.calls[0].defaultButton, QMessageBox::No);
            QCOMPARE(ReadAll(path), kept);
        }
    }

    // A name that cannot be one file of the data folder, a list that cannot be written, and a
    // cancelled dialog write nothing; the first two say why.
    void exportRefusals()
    {
        const std::tuple<QString, QStringList, QString> cases[] = {
            {"../outside", {"Ann"}, "The list of names was not exported. The name must not contain \"/\"."},
            {"Group",
             {"Ann", QString(600, 'x')},
             "The list of names could not be written to \"%1/Swiftlane/Group.txt\": name 2 is 600 bytes "
             "long; a name may hold at most 511 bytes. Nothing was written."},
            {QString(), {"Ann"}, QString()}}; // no answer: the dialog cancelled
        for (const auto& [typed, names, message] : cases) {
            auto h = ControllerHarness::connected(names);
            if (!typed.isNull())
                h->dialogs.textAnswers = {typed};
            trigger(*h, "actionExport_list_of_names");
            QCOMPARE(h->dialogs.calls.empty() ? QString() : h->dialogs.calls[0].text,
                     QString(message).replace("%1", h->dataDir.path()));
            QCOMPARE(QDir(h->dataDir.path()).entryList({"*.txt"}, QDir::Files), QStringList{});
            QCOMPARE(QDir(h->dataDir.path() + "/Swiftlane").entryList(QDir::Files), QStringList{});
        }
    }
};

QTEST_MAIN(NameListEditorTest)
#include "test_name_list_editor.moc"
