// The operator's set-up kept between starts through KeptSettings.
#include "app/SLMain.h"

#include "platform/OperatorDialogs.h"

#include <QFileInfo>

void SLMain::LoadKeptState()
{
    keptStateLoaded = true;
    QString problem;
    const KeptState state = keptSettings.Read(problem);
    if (!problem.isEmpty()) {
        TellSettingsProblem(tr("Swiftlane could not read its settings file:\n%1\n\nThe subject "
                               "list, the chosen subject and gate sequence, auto-advance and "
                               "the window sizes start from their defaults."),
                            problem);
        return;
    }
    lastKept = state;
    mainWindow.setKeptGeometries(state.geometries);
    if (!state.subjects.isEmpty())
        mainWindow.setSubjectNames(state.subjects);
    mainWindow.setCurrentSubject(state.subjectIndex, state.subjectText);
    mainWindow.setAutoAdvance(state.autoAdvance);
    keptSequenceFile = state.sequenceFile;
}

void SLMain::ChooseKeptSequence()
{
    if (!keptSequenceFile.isEmpty())
        mainWindow.chooseSequence(runsFolder + keptSequenceFile);
    keptSequenceFile.clear();
}

void SLMain::SaveKeptState()
{
    // A controller that never showed its window has nothing of the operator's to keep.
    if (!keptStateLoaded)
        return;
    KeptState state;
    state.subjects = mainWindow.subjectNames();
    state.subjectIndex = mainWindow.currentSubjectIndex();
    state.subjectText = mainWindow.currentSubjectText();
    state.sequenceFile =
        keptSequenceFile.isEmpty() ? QFileInfo(mainWindow.chosenSequencePath()).fileName() : keptSequenceFile;
    state.autoAdvance = mainWindow.autoAdvanceChecked();
    state.geometries = mainWindow.windowGeometries();
    if (state == lastKept)
        return;
    QString problem;
    keptSettings.Write(state, problem);
    if (problem.isEmpty())
        lastKept = state;
    else
        TellSettingsProblem(tr("Swiftlane could not save its settings file:\n%1\n\nThe subject "
                               "list, the chosen subject and gate sequence, auto-advance and "
                               "the window sizes will not be there at the next start."),
                            problem);
}

void SLMain::TellSettingsProblem(const QString& text, const QString& path)
{
    if (settingsProblemTold)
        return;
    settingsProblemTold = true;
    platform::dialogs().message(QMessageBox::Warning, &mainWindow, tr("Settings not kept"),
                                text.arg(path) + tr(" Timing is not affected."));
}
