#pragma once

#include "app/KeptSettings.h"
#include "devices/CGateSystem.h"
#include "devices/CRFIDScanner.h"
#include "devices/GateSystemOwner.h"
#include "devices/RfidTagOwner.h"
#include "devices/session/SessionRecorder.h"
#include "results/ResultsRecorder.h"
#include "subjects/TagNames.h"
#include "timing/ReportFileUi.h"
#include "timing/RunOwner.h"
#include "timing/SequenceRun.h"
#include "ui/MainWindowOwner.h"
#include "ui/SLMainWindow.h"
#include "ui/SerialLinkDialogs.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>

// The application's controller: owns the window, the gate link, the RFID scanner and the run
// engine, and drives everything from one 25 ms tick on the GUI thread.
class SLMain : public QObject,
               public GateSystemOwner,
               public RunOwner,
               public RfidTagOwner,
               public ReportFileUi,
               public MainWindowOwner
{
    Q_OBJECT

public:
    SLMain();
    ~SLMain() override;
    SLMain(const SLMain&) = delete;
    SLMain& operator=(const SLMain&) = delete;

    static constexpr int TickIntervalMs = 25;
    static constexpr int GateFlagCount = 4;

    // Shows the window. The rest of the start waits for its first paint: see FinishStartup().
    // The RFID menu actions and scan button stay hidden unless `rfidControls` asks for them.
    void Init(bool rfidControls = false);
    // Opens the gate link, fills the run list (which loads the first sequence) and starts the tick.
    // Runs once; later calls do nothing.
    void FinishStartup();
    bool StartupFinished() const { return startupFinished; }
    // Keeps every byte the gates send in a new file in the sessions folder.
    void StartRecording();
    static QString SessionsFolder();
    const SessionRecorder& Recorder() const { return recorder; }

    QString RunsFolder() const override { return runsFolder; }

    // Gate system callbacks, called from inside gateSystem.Poll().
    void OnStatusTime(std::uint32_t deviceTime) override;
    void SetGateStatus(bool g0, bool g1, bool g2, bool g3) override;
    void OnGateEvent(int gate, std::uint32_t deviceTime, bool state) override;

    void ResetGateStatus();
    bool GatesConnected() const override { return gatesConnected; }
    void GetGatePresent(bool& p0, bool& p1, bool& p2, bool& p3) const override;
    void GetGateReady(bool& r0, bool& r1, bool& r2, bool& r3) const override;

    // Run control.
    void StartOrAbortRun() override;
    bool CanStartRun();
    QString RunStateText() const override;
    void SetSubjectName(const QString& name) override;
    void SelectRun(const QString& runFilePath) override;
    void OnRunFinished() override;
    void ShowReportWarning(const QString& text) override;
    void ReportRowWritten(const QString& path, int rowNumber, const QStringList& row) override;
    void ShowResults() override;
    ResultsRecorder& Results() { return results; }
    void OpenReportsFolder() override;
    void ViewReport() override;
    void CancelCountdown() override;
    bool ConfirmExit() override;

    // Subject list, kept by the main window's subject combo box.
    void OnRFIDTag(const QString& tag) override;
    QStringList SubjectNames() const override;
    void SetSubjectNames(QStringList names) override;

    // Subject name list files and the editors.
    void ImportNameList() override;
    void ExportNameList() override;
    void SetupGateSequences() override;

    // The RFID tag/name file and the links' port dialogs.
    void ImportRFIDTagNames() override;
    void SetupGateConnection() override;
    void SetupRfidConnection() override;
    void RequestRfidScan() override;

    void ShowAbout() override;
    // Ends the process at once, unless the operator keeps a run in progress.
    void ExitApplication() override;

    void SaveConfig();
    void LoadConfig();
    static QString ConfigPath();
    // The operator's set-up kept between starts (subject list and choice, sequence, auto-advance,
    // window geometries); the first file problem is told once.
    void LoadKeptState();
    void SaveKeptState();

    // For tests and benchmarks; the window reads through MainWindowOwner.
    const CGateSystem& GetGateSystem() const { return gateSystem; }
    CGateSystem& GetGateSystem() { return gateSystem; }
    SequenceRun& GetSequenceRun() { return sequenceRun; }
    const SequenceRun& GetSequenceRun() const override { return sequenceRun; }
    SLMainWindow& MainWindow() { return mainWindow; }
    bool IsRfidScannerOpen() const override { return rfidScanner.IsOpen(); }
    CRFIDScanner& RfidScanner() { return rfidScanner; }
    const TagNameMap& TagNames() const { return tagNames; }
    bool CountdownArmed() const { return countdownArmed; }
    QTimer& TickTimer() { return tickTimer; }

public Q_SLOTS:
    void OnTimer();

private:
    void UpdateConnection();
    void WriteWaitingRows();
    void CheckCountdown();
    void UpdateLiveRow();
    QString RunPhaseText() const;
    void StartResults();
    void RecordFinishedRun();
    void ShowPath(const QString& title, const QString& text, const QString& path);
    void ChooseKeptSequence();
    void TellSettingsProblem(const QString& text, const QString& path);

    // First, so it goes last: the Results window reads it to the end, and the run engine's report
    // writer still tells it of the rows it writes on the way out.
    ResultsRecorder results;
    SLMainWindow mainWindow;
    // Before the links, so the port dialogs go after the links they were made for.
    SerialLinkDialogs linkDialogs;
    SessionRecorder recorder; // outlives the gate system, which reports its reads to it
    CGateSystem gateSystem;
    CRFIDScanner rfidScanner;
    QString runsFolder;
    bool gatePresent[GateFlagCount] = {};
    bool gateReady[GateFlagCount] = {};
    bool gatesConnected = false;
    SequenceRun sequenceRun;
    TagNameMap tagNames;
    std::uint32_t countdownStart = 0;
    bool countdownArmed = false;
    std::uint64_t runsStarted = 0; // tells an abort answer which run it was asked about
    QTimer tickTimer;
    bool startupFinished = false;
    KeptSettings keptSettings;
    QString keptSequenceFile; // chosen again once the run list is filled
    KeptState lastKept;       // as read or last written: an unchanged state is not written again
    bool keptStateLoaded = false;
    bool settingsProblemTold = false;
};
