#pragma once

#include "results/RunRecord.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <cstdint>
#include <optional>

// The results history in one SQLite file: sessions, course snapshots, runs and their splits. Every
// call returns at once: a locked file waits a few milliseconds at most (a second Swiftlane writing
// its own run), then the call fails and the caller keeps the run for later.
class ResultsStore
{
public:
    // How long a write waits for another program's transaction; a run is stored in about a
    // millisecond, so this covers one and still suits a 25 ms tick.
    static constexpr int BusyTimeoutMs = 10;

    explicit ResultsStore(const QString& path);
    ~ResultsStore();
    ResultsStore(const ResultsStore&) = delete;
    ResultsStore& operator=(const ResultsStore&) = delete;

    // Opens the file, made or upgraded to the current version when needed; a file of a newer
    // version is opened read-only. Does nothing while the file is open. True when it is open.
    bool Open();
    bool IsOpen() const { return state != State::Closed; }
    bool IsReadOnly() const { return state == State::ReadOnly; }
    QString Path() const { return path; }
    // Why the latest call failed, for the operator.
    QString LastError() const { return lastError; }
    QSqlDatabase Database() const;

    // When this program's session started; its row is made with the first run stored.
    void SetSessionStart(const QDateTime& utc, int utcOffsetSeconds);

    // Stores the run in this program's session, in one transaction; its id, or nothing when it
    // was not stored (the file is as it was).
    std::optional<std::int64_t> Store(const RunRecord& run);
    // The same, into a session of its own for a report file read back (made on its first run).
    std::optional<std::int64_t> StoreImported(const RunRecord& run, const QString& reportFileName,
                                              const QDateTime& fileTimeUtc);
    bool HasReportKey(const QString& key);
    bool SetReportKey(std::int64_t runId, const QString& key);

    // An invalid run stays in the history but counts for no best, ranking or progress.
    bool MarkInvalid(std::int64_t runId, const QString& reason);
    bool Restore(std::int64_t runId);

    // Report files read in full, with their size and time then, so an unchanged file is not read again.
    bool FileUnchangedSinceImport(const QString& filePath, qint64 size, const QDateTime& modified);
    void NoteFileImported(const QString& filePath, qint64 size, const QDateTime& modified);

private:
    enum class State
    {
        Closed,
        Writable,
        ReadOnly
    };

    bool OpenConnection(bool readOnly);
    void Close();
    std::optional<std::int64_t> StoreInTransaction(const RunRecord& run, std::int64_t sessionId);
    std::optional<std::int64_t> InsertRun(const RunRecord& run, std::int64_t sessionId);
    std::optional<std::int64_t> CourseId(const CourseSnapshot& course, std::size_t splitCount);
    std::optional<std::int64_t> InsertSession(const QDateTime& utc, int utcOffsetSeconds,
                                              const QString& source);
    std::optional<std::int64_t> SessionOfReport(const QString& reportFileName);
    bool Exec(const QString& sql);
    bool Fail(const QString& what, const QString& detail);
    bool BeginWrite();

    QString path;
    QString connectionName;
    State state = State::Closed;
    QString lastError;
    QDateTime sessionStartUtc;
    int sessionOffsetSeconds = 0;
    std::int64_t sessionId = -1; // -1: no run stored yet in this program's session
};
