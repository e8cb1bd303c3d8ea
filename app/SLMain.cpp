#include "app/SLMain.h"

#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/OperatorDialogs.h"
#include "platform/Process.h"
#include "ui/AboutDialog.h"
#include "ui/AfterFirstPaint.h"

#include <QDir>
#include <QTimer>

namespace {
constexpr std::uint32_t ConnectionWindowMs = 2000;
} // namespace

// The gate link waits for FinishStartup: listing the serial devices would delay the first frame.
SLMain::SLMain()
    : QObject(nullptr), results(platform::dataPath(QStringLiteral("\\Swiftlane\\Results.sqlite")),
                                platform::dataPath(QStringLiteral("\\Swiftlane\\Reports\\"))),
      mainWindow(nullptr), gateSystem(this, CSerialLinkSL::DetectLater), rfidScanner(this)
{
    connect(&tickTimer, &QTimer::timeout, this, &SLMain::OnTimer);
    gateSystem.Link().SetUi(&linkDialogs);
    rfidScanner.Link().SetUi(&linkDialogs);
    sequenceRun.SetOwner(this);
    sequenceRun.Report().SetUi(this);
    runsFolder = platform::dataPath(QStringLiteral("\\Swiftlane\\Runs\\"));
    // Also creates the data folder's Swiftlane folder that reports and exported lists go into.
    QDir().mkpath(runsFolder);
    countdownArmed = false;
    LoadConfig();
}

SLMain::~SLMain()
{
    // Results first: nothing in the configuration is worth as much as a run's row.
    WriteWaitingRows();
    // The window goes before the history, and no box is opened on the way out.
    results.SetChanged({});
    results.SetWarning({});
    SaveConfig();
    SaveKeptState();
}

void SLMain::Init(bool rfidControls)
{
    mainWindow.setController(this);
    UpdateConnection();
    LoadKeptState();
    mainWindow.show();
    mainWindow.refreshStatus();
    if (!rfidControls)
        mainWindow.hideRfidControls();
    new AfterFirstPaint(&mainWindow, [this] { FinishStartup(); });
}

void SLMain::FinishStartup()
{
    if (startupFinished)
        return;
    startupFinished = true;
    gateSystem.Connect();
    UpdateConnection();
    mainWindow.refreshRunList();
    ChooseKeptSequence();
    mainWindow.refreshStatus();
    StartResults();
    tickTimer.start(TickIntervalMs);
}

QString SLMain::SessionsFolder()
{
    return platform::dataPath(QStringLiteral("\\Swiftlane\\Sessions\\"));
}

void SLMain::StartRecording()
{
    // The gate poll calls the recorder: a box opened right there would run the tick again inside it.
    recorder.SetFailureHandler([](const QString& message) {
        QTimer::singleShot(0, [message] {
            platform::dialogs().message(QMessageBox::Warning, nullptr, tr("Recording stopped"), message);
        });
    });
    if (recorder.Start(SessionsFolder()))
        gateSystem.SetStreamTap(&recorder);
}

void SLMain::OnTimer()
{
    // A tick that comes before the first paint (a test's, a benchmark's) finishes the start first.
    if (!startupFinished)
        FinishStartup();
    gateSystem.Poll();
    UpdateConnection();
    rfidScanner.Poll();
    mainWindow.refreshStatus();
    CheckCountdown();
    UpdateLiveRow();
}

// Connected while the link is open and the last valid status sentence is under 2000 ms old. While
// not connected every gate flag is cleared, so a gate shows present again only once it reports.
void SLMain::UpdateConnection()
{
    // Difference, not sum: stays right when the tick count wraps.
    const std::uint32_t sinceStatus = platform::tickCount() - gateSystem.LastStatusTime();
    gatesConnected = gateSystem.IsLinkOpen() && sinceStatus < ConnectionWindowMs;
    if (!gatesConnected)
        ResetGateStatus();
}

void SLMain::OnStatusTime(std::uint32_t deviceTime)
{
    sequenceRun.Tick(deviceTime);
}

void SLMain::SetGateStatus(bool g0, bool g1, bool g2, bool g3)
{
    const bool flags[GateFlagCount] = {g0, g1, g2, g3};
    for (int i = 0; i < GateFlagCount; ++i) {
        gatePresent[i] = gatePresent[i] || flags[i];
        gateReady[i] = flags[i];
    }
}

void SLMain::OnGateEvent(int gate, std::uint32_t deviceTime, bool state)
{
    if (gate >= 0 && gate < GateFlagCount)
        gateReady[gate] = state;
    sequenceRun.GateEvent(gate, deviceTime, state);
}

void SLMain::ResetGateStatus()
{
    for (int i = 0; i < GateFlagCount; ++i) {
        gatePresent[i] = false;
        gateReady[i] = false;
    }
}

void SLMain::GetGatePresent(bool& p0, bool& p1, bool& p2, bool& p3) const
{
    p0 = gatePresent[0];
    p1 = gatePresent[1];
    p2 = gatePresent[2];
    p3 = gatePresent[3];
}

void SLMain::GetGateReady(bool& r0, bool& r1, bool& r2, bool& r3) const
{
    r0 = gateReady[0];
    r1 = gateReady[1];
    r2 = gateReady[2];
    r3 = gateReady[3];
}

void SLMain::OnRFIDTag(const QString& tag)
{
    mainWindow.addSubjectName(SubjectNameForTag(tagNames, tag));
}

QStringList SLMain::SubjectNames() const
{
    return mainWindow.subjectNames();
}

void SLMain::SetSubjectNames(QStringList names)
{
    mainWindow.setSubjectNames(names);
    SaveKeptState(); // a squad typed in is worth keeping at once
}

void SLMain::ImportRFIDTagNames()
{
    const QString path = platform::dialogs().openFileName(&mainWindow, tr("Select RFID tag / name file"),
                                                          QString(), tr("Text (*.txt *.csv)"));
    if (path.isEmpty())
        return;
    const TagFileImport result = ImportTagNameFile(path, tagNames);
    const QString title = tr("Import RFID tags and names");
    if (!result.opened) {
        platform::dialogs().message(QMessageBox::Warning, &mainWindow, title,
                                    tr("Cannot read %1:\n%2").arg(path, result.error));
    } else if (const QString note = TagImportNoteText(path, result); !note.isEmpty()) {
        platform::dialogs().message(QMessageBox::Warning, &mainWindow, title, note);
    }
}

void SLMain::SetupGateConnection()
{
    gateSystem.Link().ShowPortDialog(tr("Swiftlane COM Port"));
}

void SLMain::SetupRfidConnection()
{
    rfidScanner.ShowPortDialog();
}

void SLMain::RequestRfidScan()
{
    rfidScanner.RequestScan();
}

void SLMain::ShowAbout()
{
    auto* about = new AboutDialog(&mainWindow);
    about->show();
}

void SLMain::ExitApplication()
{
    if (!ConfirmExit())
        return;
    // No destructor runs after this: rows still waiting for the reports folder go somewhere now.
    WriteWaitingRows();
    SaveConfig();
    SaveKeptState();
    recorder.Flush();
    platform::exitProcess(0);
}

// At the end of the program, while the window is still there to tell the operator.
void SLMain::WriteWaitingRows()
{
    const ReportFile::FlushResult result = sequenceRun.Report().Flush();
    if (result.rowsNotInReports == 0)
        return;
    const QString folder = QDir::toNativeSeparators(sequenceRun.ReportFolder());
    QString text =
        result.rowsNotInReports == 1
            ? tr("The result of 1 finished run could not be written to the reports folder:\n%1\n\n")
                  .arg(folder)
            : tr("The results of %1 finished runs could not be written to the reports folder:\n%2\n\n")
                  .arg(result.rowsNotInReports)
                  .arg(folder);
    if (result.fallbackPath.isEmpty())
        text += tr("Saving in the temporary folder failed too, so they could not be saved anywhere; "
                   "they were printed on the error output (stderr) instead.");
    else
        text += tr("Saved instead in:\n%1").arg(QDir::toNativeSeparators(result.fallbackPath));
    platform::dialogs().message(QMessageBox::Warning, &mainWindow, tr("Report not written"), text);
}
