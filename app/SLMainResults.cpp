// The results history: every finished run goes to it after its report row, and the Results window
// reads it.
#include "app/SLMain.h"

#include "app/FinishedRun.h"
#include "platform/OperatorDialogs.h"
#include "platform/WallClock.h"

#include <QTimer>

void SLMain::StartResults()
{
    // A warning may come from inside the gate poll; a modal box there would run the tick again.
    results.SetWarning([this](const QString& text) {
        QTimer::singleShot(0, this, [text] {
            platform::dialogs().message(QMessageBox::Warning, nullptr, tr("Results not stored"), text);
        });
    });
    results.SetChanged([this] { mainWindow.resultsChanged(); });
    const QDateTime now = platform::utcNow();
    results.Start(now, now.toLocalTime().offsetFromUtc());
}

void SLMain::RecordFinishedRun()
{
    results.Record(FinishedRunRecord(sequenceRun, gateSystem.Link().IsVirtualAdapter(), platform::utcNow()),
                   sequenceRun.BuildResultRow());
}

void SLMain::ReportRowWritten(const QString& path, int rowNumber, const QStringList& row)
{
    results.ReportRowWritten(path, rowNumber, row);
}

void SLMain::ShowResults()
{
    mainWindow.openResultsWindow(results.Store(), sequenceRun.ReportFolder());
}
