#pragma once

#include <QString>
#include <QStringList>

class SequenceRun;

// What the main window asks of the controller that owns it: the operator's actions and the state
// the window shows. The controller implements it, so the window never depends on the controller.
class MainWindowOwner
{
public:
    virtual ~MainWindowOwner() = default;

    virtual QString RunsFolder() const = 0;
    virtual const SequenceRun& GetSequenceRun() const = 0;
    virtual QString RunStateText() const = 0;
    // Decided on the controller's tick before the window is refreshed.
    virtual bool GatesConnected() const = 0;
    virtual void GetGatePresent(bool& p0, bool& p1, bool& p2, bool& p3) const = 0;
    virtual void GetGateReady(bool& r0, bool& r1, bool& r2, bool& r3) const = 0;
    // The RFID scan button is enabled while this holds.
    virtual bool IsRfidScannerOpen() const = 0;

    virtual void StartOrAbortRun() = 0;
    virtual void SetSubjectName(const QString& name) = 0;
    virtual void SelectRun(const QString& runFilePath) = 0;
    virtual void OpenReportsFolder() = 0;
    virtual void ViewReport() = 0;
    virtual void CancelCountdown() = 0;
    // True when the program may end now: no run in progress, or the operator agreed to drop it.
    virtual bool ConfirmExit() = 0;

    // The subject list lives in the window's subject box; the name list editor reads and
    // replaces it through the controller.
    virtual QStringList SubjectNames() const = 0;
    virtual void SetSubjectNames(QStringList names) = 0;
    virtual void ImportNameList() = 0;
    virtual void ExportNameList() = 0;
    virtual void SetupGateSequences() = 0;
    virtual void ImportRFIDTagNames() = 0;
    virtual void SetupGateConnection() = 0;
    virtual void SetupRfidConnection() = 0;
    virtual void RequestRfidScan() = 0;
    virtual void ShowAbout() = 0;
    // The Results window over the results history.
    virtual void ShowResults() = 0;
    // Ends the process at once, unless the operator keeps a run in progress.
    virtual void ExitApplication() = 0;
};
