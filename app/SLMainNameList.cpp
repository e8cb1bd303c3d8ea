// Subject name lists through the main window's File menu: import appends the names of a file to
// the subject list, export writes the list into the data folder.
#include "app/SLMain.h"

#include "platform/DataFolder.h"
#include "platform/OperatorDialogs.h"
#include "subjects/NameListFile.h"
#include "timing/FileNameCheck.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString DefaultListName = QStringLiteral("SwiftlaneSubjectList");

void warn(QWidget* parent, const QString& title, const QString& text)
{
    platform::dialogs().message(QMessageBox::Warning, parent, title, text);
}

} // namespace

void SLMain::ImportNameList()
{
    const QString path = platform::dialogs().openFileName(&mainWindow, tr("Select list of names file"),
                                                          QString(), tr("Text (*.txt *.csv)"));
    if (path.isEmpty())
        return;
    const NameListRead read = readNameListFile(path);
    if (!read.error.isEmpty()) {
        warn(&mainWindow, tr("Import list of names"), nameListReadFailedText(path, read.error));
        return;
    }
    for (const QString& name : read.text.lines)
        mainWindow.addSubjectName(name);
    SaveKeptState();
    const QString note = nameListImportNoteText(path, read.text);
    if (!note.isEmpty())
        warn(&mainWindow, tr("Import list of names"), note);
}

void SLMain::ExportNameList()
{
    bool accepted = false;
    QString name = platform::dialogs().text(&mainWindow, tr("Save To File"), tr("Select file name:"),
                                            DefaultListName, &accepted);
    if (!accepted)
        return;
    if (name.isEmpty())
        name = DefaultListName;
    name = withTextSuffix(name);
    const QString title = tr("Export list of names");
    // The name is one file in the data folder: "/" would write elsewhere or nowhere.
    const QString problem = fileNameProblem(name);
    if (!problem.isEmpty()) {
        warn(&mainWindow, title, tr("The list of names was not exported. ") + problem);
        return;
    }
    const QString folder = platform::dataPath(QStringLiteral("\\Swiftlane\\"));
    const QString path = folder + name;
    if (QFileInfo::exists(path)) {
        const auto answer = platform::dialogs().message(
            QMessageBox::Question, &mainWindow, title,
            tr("\"%1\" already exists. Do you want to replace it?").arg(QDir::toNativeSeparators(path)),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    QDir().mkpath(folder);
    const QString error = writeNameListFile(path, mainWindow.subjectNames());
    if (!error.isEmpty()) {
        warn(&mainWindow, title, nameListWriteFailedText(path, error));
        return;
    }
    mainWindow.showStatusNote(tr("List of names saved to %1").arg(QDir::toNativeSeparators(path)));
}

void SLMain::SetupGateSequences()
{
    mainWindow.openGateSequenceEditor();
}
