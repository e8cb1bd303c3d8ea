// New in the name list editor gives a name ready for typing, and Edit afterwards means that name.
#include "support/ControllerHarness.h"
#include "ui/ConfigNameListDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {

// The in-place editor open on the list, if any.
QLineEdit* openEditor(QListWidget* list)
{
    return list->viewport()->findChild<QLineEdit*>();
}

// Types over the name and ends with Return; the view commits the edit and deletes its editor
// later, through the event queue.
void typeAndReturn(QLineEdit* editor, const QString& text)
{
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class NameListEditorNewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newThenEdit()
    {
        ControllerHarness h;
        h.start();
        h.setSubjects({"Ann", "Bob"});
        h.controller->MainWindow().findChild<QPushButton*>("configNameListPushButton")->click();
        ConfigNameListDialog* dialog = h.controller->MainWindow().nameListEditorDialog();
        auto* list = dialog->findChild<QListWidget*>("nameListWidget");
        list->setCurrentRow(0);

        dialog->findChild<QPushButton*>("newPushButton")->click();
        QCOMPARE(list->currentRow(), 2);
        auto* editor = openEditor(list);
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("New subject"));
        typeAndReturn(editor, "Cleo");

        dialog->findChild<QPushButton*>("editPushButton")->click();
        editor = openEditor(list);
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("Cleo")); // not Ann
        typeAndReturn(editor, "Cleo B");
        dialog->findChild<QPushButton*>("closePushButton")->click();
        QCOMPARE(h.controller->SubjectNames(), (QStringList{"Ann", "Bob", "Cleo B"}));
    }
};

QTEST_MAIN(NameListEditorNewTest)
#include "test_name_list_editor_new.moc"
