// Run control: starting and aborting runs, the run status text, the live report row and the
// auto-advance countdown to the next subject.
#include "app/SLMain.h"

#include "platform/Clock.h"
#include "platform/DesktopShell.h"
#include "platform/OperatorDialogs.h"
#include "timing/RejectedBreaksText.h"

#include <QDir>
#include <QTimer>

namespace {
constexpr std::uint32_t CountdownMs = 5000;
constexpr std::uint32_t CountdownSeconds = CountdownMs / 1000;
} // namespace

void SLMain::StartOrAbortRun()
{
    if (sequenceRun.IsRunning()) {
        const std::uint64_t askedRun = runsStarted;
        const auto answer = platform::dialogs().message(
            QMessageBox::Information, &mainWindow, tr("Run in Progress"),
            tr("Do you wish to abort the current run ?"), QMessageBox::Ok | QMessageBox::No, QMessageBox::No);
        // The tick runs on while the question is open: act only if the run asked about is still going.
        if (answer == QMessageBox::Ok && sequenceRun.IsRunning() && runsStarted == askedRun) {
            mainWindow.removeLastReportRow();
            sequenceRun.Abort();
        }
        return;
    }
    if (!CanStartRun())
        return;
    countdownArmed = false; // a run started by hand must not be advanced under the athlete
    ++runsStarted;
    sequenceRun.StartRun();
    mainWindow.showRunNote(QString()); // the last run's note is not about this one
    mainWindow.appendReportRow(sequenceRun.BuildResultRow());
}

bool SLMain::CanStartRun()
{
    const bool subjectOk = !sequenceRun.NextSubjectName().isEmpty();
    bool gatesOk = sequenceRun.GateCount() > 0;
    for (int i = 0; i < sequenceRun.GateCount(); ++i) {
        const int gate = sequenceRun.GateNumberAt(static_cast<unsigned>(i)).value_or(-1);
        if (gate >= 0 && gate < GateFlagCount && !(gatePresent[gate] && gateReady[gate]))
            gatesOk = false;
    }
    if (subjectOk && gatesOk)
        return true;

    QString message;
    if (!subjectOk)
        message += tr("Please enter a subject name\n");
    if (!gatesOk)
        message += tr("Some gates in the gate sequence are either not ready or not present");
    platform::dialogs().message(QMessageBox::Information, &mainWindow, tr("Problem starting run"), message,
                                QMessageBox::Ok);
    return false;
}

QString SLMain::RunStateText() const
{
    const QString state = RunPhaseText();
    // The mark stays with the run that earned it until the next run starts.
    const QString mark = sequenceRun.SuspectMark();
    return mark.isEmpty() ? state : state + QStringLiteral(", ") + mark;
}

QString SLMain::RunPhaseText() const
{
    if (countdownArmed) {
        const std::uint32_t elapsedSeconds = (platform::tickCount() - countdownStart) / 1000;
        const std::uint32_t left = elapsedSeconds >= CountdownSeconds ? 0 : CountdownSeconds - elapsedSeconds;
        return QLatin1Char(' ') + tr("About to start in %1").arg(left);
    }
    if (sequenceRun.IsRunning() && sequenceRun.CurrentGateIndex() == 0)
        return QLatin1Char(' ') + tr("Waiting for start gate");
    if (sequenceRun.IsRunning())
        return QLatin1Char(' ') + tr("Running");
    return QLatin1Char(' ') + tr("Idle");
}

void SLMain::SetSubjectName(const QString& name)
{
    sequenceRun.SetSubjectName(name);
}

void SLMain::SelectRun(const QString& runFilePath)
{
    sequenceRun.LoadSequence(runFilePath);
    mainWindow.onSequenceChanged();
}

void SLMain::OnRunFinished()
{
    mainWindow.updateLastReportRow(sequenceRun.BuildResultRow());
    mainWindow.showRunNote(RejectedBreaksText(sequenceRun.RejectedBreaks()));
    RecordFinishedRun();
    // The box moves on at once, so that what it shows during the countdown is who runs next, also
    // when Start is pressed before the countdown ends.
    if (mainWindow.autoAdvanceChecked() && mainWindow.selectNextSubject()) {
        countdownArmed = true;
        countdownStart = platform::tickCount();
    }
}

void SLMain::ShowReportWarning(const QString& text)
{
    // The report is written from inside the gate poll; a modal box's nested event loop would run
    // the tick, and so the poll, again in the middle of a sentence. Ask once the tick has returned.
    QTimer::singleShot(0, this, [text] {
        platform::dialogs().message(QMessageBox::Warning, nullptr, tr("Report not written"), text);
    });
}

void SLMain::CancelCountdown()
{
    countdownArmed = false;
}

bool SLMain::ConfirmExit()
{
    if (!sequenceRun.IsRunning())
        return true;
    const auto answer = platform::dialogs().message(QMessageBox::Question, &mainWindow, tr("Run in Progress"),
                                                    tr("A run is in progress. Exit and drop it?"),
                                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void SLMain::CheckCountdown()
{
    if (!countdownArmed || platform::tickCount() - countdownStart <= CountdownMs)
        return;
    countdownArmed = false;
    // The subject box moved on when the countdown was armed; whatever it shows now is timed.
    SetSubjectName(mainWindow.currentSubjectText());
    StartOrAbortRun();
}

void SLMain::UpdateLiveRow()
{
    if (sequenceRun.IsRunning())
        mainWindow.updateLastReportRow(sequenceRun.BuildResultRow());
}

// Where the desktop has no handler, the operator still learns where to look.
void SLMain::OpenReportsFolder()
{
    const QString folder = sequenceRun.ReportFolder();
    if (!platform::shell().open(folder))
        ShowPath(tr("Reports folder"), tr("The desktop could not open the reports folder. It is:\n%1"),
                 folder);
}

void SLMain::ViewReport()
{
    const QString report = sequenceRun.ReportFileName();
    if (platform::shell().open(report))
        return;
    if (report.isEmpty())
        ShowPath(tr("Report"), tr("No report has been written yet. Reports are kept in:\n%1"),
                 sequenceRun.ReportFolder());
    else
        ShowPath(tr("Report"), tr("The desktop could not open the report. It is:\n%1"), report);
}

void SLMain::ShowPath(const QString& title, const QString& text, const QString& path)
{
    platform::dialogs().message(QMessageBox::Information, &mainWindow, title,
                                text.arg(QDir::toNativeSeparators(path)));
}
