#pragma once

#include "results/ResultsStore.h"
#include "results/RunRecord.h"

#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

// Keeps every finished run in the results history, after the report file has its row. A run the
// database does not take (locked, full, not a database) is kept and stored later: at the next run,
// on a slow retry, at the end of the program, and at the latest at the next start, from the report
// files. The operator is told once per spell of trouble.
class ResultsRecorder
{
public:
    static constexpr int RetryIntervalMs = 10000;

    ResultsRecorder(const QString& databasePath, const QString& reportsFolder);
    ~ResultsRecorder();
    ResultsRecorder(const ResultsRecorder&) = delete;
    ResultsRecorder& operator=(const ResultsRecorder&) = delete;

    // Told (once per spell of trouble) that runs are not being stored, or that the file is read-only.
    void SetWarning(std::function<void(const QString&)> handler) { warn = std::move(handler); }
    // Told after runs were added, so a window showing them can read them again.
    void SetChanged(std::function<void()> handler) { changed = std::move(handler); }

    // Opens the history and adds the report rows of earlier sessions that it lacks. Without a
    // history or a report yet, nothing is made until the first run.
    void Start(const QDateTime& sessionStartUtc, int utcOffsetSeconds);
    // A finished run, with the row the report writer was given for it.
    void Record(RunRecord run, const QStringList& reportRow);
    // The report writer put `row` into row `rowNumber` of `path`.
    void ReportRowWritten(const QString& path, int rowNumber, const QStringList& row);
    // Stores the kept runs; true when none is left.
    bool StorePending();

    int PendingCount() const { return static_cast<int>(pending.size()); }
    ResultsStore& Store() { return store; }

private:
    struct Kept
    {
        RunRecord run;
        QStringList reportRow; // while its report row is not written yet; empty afterwards
    };
    struct WrittenRow
    {
        QStringList row;
        QString key;
    };
    struct StoredRun
    {
        std::int64_t id;
        QStringList reportRow;
    };

    bool StoreNow(Kept& kept);
    void Trouble();
    void Recovered();

    ResultsStore store;
    QString reportsFolder;
    std::deque<Kept> pending;
    std::deque<WrittenRow> unclaimedRows; // report rows written before their run was recorded
    std::deque<StoredRun> awaitingKey;    // stored runs whose report row is not written yet
    QTimer retry;
    std::function<void(const QString&)> warn;
    std::function<void()> changed;
    bool troubleTold = false;
};
