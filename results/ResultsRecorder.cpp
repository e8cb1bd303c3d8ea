#include "results/ResultsRecorder.h"

#include <QCoreApplication>

#include "results/ReportImport.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Bounds the bookkeeping for rows whose run never comes (a run recorded with no history).
constexpr std::size_t MaxUnclaimedRows = 64;

} // namespace

ResultsRecorder::ResultsRecorder(const QString& databasePath, const QString& reports)
    : store(databasePath), reportsFolder(reports)
{
    retry.setInterval(RetryIntervalMs);
    QObject::connect(&retry, &QTimer::timeout, [this] { StorePending(); });
}

ResultsRecorder::~ResultsRecorder()
{
    StorePending(); // whatever is still kept comes back from the report files at the next start
}

void ResultsRecorder::Start(const QDateTime& sessionStartUtc, int utcOffsetSeconds)
{
    store.SetSessionStart(sessionStartUtc, utcOffsetSeconds);
    const QStringList reports = results::ReportFilesIn(reportsFolder);
    // Nothing to keep yet: the history is made with the first run.
    if (reports.isEmpty() && !QFileInfo::exists(store.Path()))
        return;
    if (!store.Open()) {
        Trouble();
        return;
    }
    if (store.IsReadOnly()) {
        if (warn)
            warn(store.LastError());
        troubleTold = true;
        return;
    }
    const results::ImportSummary caughtUp = results::ImportReports(store, reports, true);
    if (caughtUp.notStored > 0)
        Trouble();
    if (caughtUp.added > 0 && changed)
        changed();
}

void ResultsRecorder::Record(RunRecord run, const QStringList& reportRow)
{
    Kept kept{std::move(run), reportRow};
    for (auto it = unclaimedRows.begin(); it != unclaimedRows.end(); ++it) {
        if (it->row == reportRow) {
            kept.run.reportKey = it->key;
            kept.reportRow.clear();
            unclaimedRows.erase(it);
            break;
        }
    }
    // Older kept runs first, so the history keeps the order the runs finished in.
    pending.push_back(std::move(kept));
    StorePending();
}

void ResultsRecorder::ReportRowWritten(const QString& path, int rowNumber, const QStringList& row)
{
    const QString key = ReportRowKey(QFileInfo(path).fileName(), rowNumber, row);
    for (auto it = awaitingKey.begin(); it != awaitingKey.end(); ++it) {
        if (it->reportRow == row) {
            store.SetReportKey(it->id, key);
            awaitingKey.erase(it);
            return;
        }
    }
    for (Kept& kept : pending) {
        if (!kept.reportRow.isEmpty() && kept.reportRow == row) {
            kept.run.reportKey = key;
            kept.reportRow.clear();
            return;
        }
    }
    unclaimedRows.push_back({row, key});
    if (unclaimedRows.size() > MaxUnclaimedRows)
        unclaimedRows.pop_front();
}

bool ResultsRecorder::StorePending()
{
    bool stored = false;
    while (!pending.empty()) {
        if (!StoreNow(pending.front())) {
            Trouble();
            if (stored && changed)
                changed();
            return false;
        }
        pending.pop_front();
        stored = true;
    }
    Recovered();
    if (stored && changed)
        changed();
    return true;
}

bool ResultsRecorder::StoreNow(Kept& kept)
{
    const auto id = store.Store(kept.run);
    if (!id)
        return false;
    if (!kept.reportRow.isEmpty())
        awaitingKey.push_back({*id, kept.reportRow});
    return true;
}

void ResultsRecorder::Trouble()
{
    if (!pending.empty() && !retry.isActive())
        retry.start();
    if (troubleTold)
        return;
    troubleTold = true;
    if (!warn)
        return;
    warn(QCoreApplication::translate(
             "ResultsRecorder",
             "Finished runs cannot be stored in the results history:\n%1\n\n%2\n\n"
             "Timing and the report file go on. The runs are kept and stored as soon as the "
             "history can be written again, at the latest at the next start from the report files.")
             .arg(QDir::toNativeSeparators(store.Path()), store.LastError()));
}

void ResultsRecorder::Recovered()
{
    retry.stop();
    if (!store.IsReadOnly())
        troubleTold = false;
}
