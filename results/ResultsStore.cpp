#include "results/ResultsStore.h"

#include <QCoreApplication>

#include "common/Trace.h"
#include "results/ResultsSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <atomic>

namespace {

QString NewConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("swiftlane-results-%1").arg(++counter);
}

QString GatesText(const std::vector<int>& gates)
{
    QStringList parts;
    for (int gate : gates)
        parts << QString::number(gate);
    // Never a null string: that would bind as NULL.
    return parts.isEmpty() ? QStringLiteral("") : parts.join(QLatin1Char(','));
}

} // namespace

ResultsStore::ResultsStore(const QString& filePath) : path(filePath), connectionName(NewConnectionName()) {}

ResultsStore::~ResultsStore()
{
    Close();
}

QSqlDatabase ResultsStore::Database() const
{
    return QSqlDatabase::database(connectionName, false);
}

void ResultsStore::SetSessionStart(const QDateTime& utc, int utcOffsetSeconds)
{
    sessionStartUtc = utc;
    sessionOffsetSeconds = utcOffsetSeconds;
}

bool ResultsStore::Open()
{
    if (IsOpen())
        return true;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return Fail(QCoreApplication::translate(
                        "ResultsStore", "The SQLite driver of Qt is not installed (libqt6sql6-sqlite)."),
                    {});
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!OpenConnection(false))
        return false;
    QSqlDatabase db = Database();
    QString error;
    const int version = results::SchemaVersion(db, &error);
    if (version < 0) {
        Close();
        return Fail(QCoreApplication::translate("ResultsStore", "The results database cannot be read."),
                    error);
    }
    if (version > results::CurrentSchemaVersion) {
        Close();
        if (!OpenConnection(true))
            return false;
        state = State::ReadOnly;
        lastError = QCoreApplication::translate(
                        "ResultsStore", "The results database was written by a newer Swiftlane (version %1). "
                                        "It is shown read-only and new runs are not stored in it.")
                        .arg(version);
        return true;
    }
    if (!results::UpgradeSchema(db, &error)) {
        Close();
        return Fail(QCoreApplication::translate("ResultsStore", "The results database cannot be set up."),
                    error);
    }
    state = State::Writable;
    return true;
}

bool ResultsStore::OpenConnection(bool readOnly)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
        if (readOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        if (db.open()) {
            state = readOnly ? State::ReadOnly : State::Writable;
            // WAL lets a reader (the Results window) and the writer work at once, and a commit
            // costs an append instead of rewriting pages; NORMAL syncs at checkpoints only: the
            // report file is the first record of every run.
            if (readOnly || (Exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
                             Exec(QStringLiteral("PRAGMA synchronous=NORMAL")) &&
                             Exec(QStringLiteral("PRAGMA foreign_keys=ON"))))
                return true;
            const QString detail = lastError;
            Close();
            return Fail(QCoreApplication::translate("ResultsStore", "The results database cannot be read."),
                        detail);
        }
        lastError = db.lastError().text();
    }
    const QString detail = lastError;
    Close();
    return Fail(QCoreApplication::translate("ResultsStore", "The results database cannot be opened."),
                detail);
}

void ResultsStore::Close()
{
    state = State::Closed;
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool ResultsStore::Fail(const QString& what, const QString& detail)
{
    lastError = detail.isEmpty() ? what : what + QLatin1Char(' ') + detail;
    qCDebug(swiftlaneTrace, "results: %s", qUtf8Printable(lastError));
    return false;
}

bool ResultsStore::Exec(const QString& sql)
{
    QSqlQuery query(Database());
    if (query.exec(sql))
        return true;
    lastError = query.lastError().text();
    return false;
}

bool ResultsStore::BeginWrite()
{
    if (!Open())
        return false;
    if (state == State::ReadOnly)
        return false; // lastError says why
    // IMMEDIATE takes the write lock now, so a busy file fails here and not halfway through.
    return Exec(QStringLiteral("BEGIN IMMEDIATE"));
}

std::optional<std::int64_t> ResultsStore::Store(const RunRecord& run)
{
    if (!BeginWrite())
        return std::nullopt;
    const bool newSession = sessionId < 0;
    if (newSession) {
        const auto made = InsertSession(
            sessionStartUtc.isValid() ? sessionStartUtc : run.startUtc,
            sessionStartUtc.isValid() ? sessionOffsetSeconds : run.utcOffsetSeconds, QStringLiteral("live"));
        if (!made) {
            Exec(QStringLiteral("ROLLBACK"));
            return std::nullopt;
        }
        sessionId = *made;
    }
    const auto id = StoreInTransaction(run, sessionId);
    if (!id && newSession)
        sessionId = -1; // rolled back with the run
    return id;
}

std::optional<std::int64_t> ResultsStore::StoreImported(const RunRecord& run, const QString& reportFileName,
                                                        const QDateTime& fileTimeUtc)
{
    if (!BeginWrite())
        return std::nullopt;
    auto session = SessionOfReport(reportFileName);
    if (!session)
        session = InsertSession(fileTimeUtc, run.utcOffsetSeconds, reportFileName);
    if (!session) {
        Exec(QStringLiteral("ROLLBACK"));
        return std::nullopt;
    }
    return StoreInTransaction(run, *session);
}

std::optional<std::int64_t> ResultsStore::StoreInTransaction(const RunRecord& run, std::int64_t session)
{
    const auto id = InsertRun(run, session);
    if (id && Exec(QStringLiteral("COMMIT")))
        return id;
    const QString error = lastError;
    Exec(QStringLiteral("ROLLBACK"));
    lastError = error;
    return std::nullopt;
}

std::optional<std::int64_t> ResultsStore::InsertSession(const QDateTime& utc, int utcOffsetSeconds,
                                                        const QString& source)
{
    QSqlQuery query(Database());
    query.prepare(
        QStringLiteral("INSERT INTO sessions(started_utc_ms, utc_offset_s, source) VALUES(?, ?, ?)"));
    query.addBindValue(utc.toMSecsSinceEpoch());
    query.addBindValue(utcOffsetSeconds);
    query.addBindValue(source);
    if (!query.exec()) {
        lastError = query.lastError().text();
        return std::nullopt;
    }
    return query.lastInsertId().toLongLong();
}

// The session a report file's rows belong to: the live session that wrote one of them, or the one
// made when the file was read before.
std::optional<std::int64_t> ResultsStore::SessionOfReport(const QString& reportFileName)
{
    QSqlQuery query(Database());
    query.prepare(
        QStringLiteral("SELECT session_id FROM runs WHERE report_key >= ? AND report_key < ? LIMIT 1"));
    query.addBindValue(reportFileName + QLatin1Char(':'));
    query.addBindValue(reportFileName + QLatin1Char(';')); // ';' follows ':'
    if (query.exec() && query.next())
        return query.value(0).toLongLong();
    query.prepare(QStringLiteral("SELECT id FROM sessions WHERE source = ? LIMIT 1"));
    query.addBindValue(reportFileName);
    if (query.exec() && query.next())
        return query.value(0).toLongLong();
    return std::nullopt;
}

// A snapshot is stored once per distinct content. A course read back from a report file (gates not
// known) joins a stored snapshot of the same name, distance and number of gates.
std::optional<std::int64_t> ResultsStore::CourseId(const CourseSnapshot& course, std::size_t splitCount)
{
    QSqlQuery query(Database());
    query.prepare(
        QStringLiteral("SELECT id, gates FROM courses WHERE name = ? AND distance_m = ? ORDER BY id DESC"));
    query.addBindValue(course.name);
    query.addBindValue(course.distanceMetres);
    if (!query.exec()) {
        lastError = query.lastError().text();
        return std::nullopt;
    }
    const QString gates = GatesText(course.gates);
    std::optional<std::int64_t> sameGateCount;
    while (query.next()) {
        const QString stored = query.value(1).toString();
        if (stored == gates)
            return query.value(0).toLongLong();
        if (course.gates.empty() && !sameGateCount &&
            static_cast<std::size_t>(stored.count(QLatin1Char(','))) == splitCount)
            sameGateCount = query.value(0).toLongLong();
    }
    if (sameGateCount)
        return sameGateCount;
    query.prepare(QStringLiteral("INSERT INTO courses(name, gates, distance_m) VALUES(?, ?, ?)"));
    query.addBindValue(course.name);
    query.addBindValue(gates);
    query.addBindValue(course.distanceMetres);
    if (!query.exec()) {
        lastError = query.lastError().text();
        return std::nullopt;
    }
    return query.lastInsertId().toLongLong();
}

std::optional<std::int64_t> ResultsStore::InsertRun(const RunRecord& run, std::int64_t session)
{
    const auto course = CourseId(run.course, run.splits.size());
    if (!course)
        return std::nullopt;
    QSqlQuery query(Database());
    query.prepare(
        QStringLiteral("INSERT INTO runs(session_id, course_id, athlete, start_utc_ms, "
                       "utc_offset_s, total_ms, speed, simulated,"
                       " report_key, extra_breaks, suspect) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(static_cast<qlonglong>(session));
    query.addBindValue(static_cast<qlonglong>(*course));
    query.addBindValue(run.athlete);
    query.addBindValue(run.startUtc.toMSecsSinceEpoch());
    query.addBindValue(run.utcOffsetSeconds);
    query.addBindValue(static_cast<qlonglong>(run.totalMs));
    query.addBindValue(run.speed);
    query.addBindValue(run.simulated ? 1 : 0);
    query.addBindValue(run.reportKey.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                               : QVariant(run.reportKey));
    query.addBindValue(run.extraBreaks);
    query.addBindValue(run.suspectMark.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                                 : QVariant(run.suspectMark));
    if (!query.exec()) {
        lastError = query.lastError().text();
        return std::nullopt;
    }
    const std::int64_t runId = query.lastInsertId().toLongLong();
    query.prepare(QStringLiteral("INSERT INTO splits(run_id, position, gate, ms) VALUES(?, ?, ?, ?)"));
    for (std::size_t i = 0; i < run.splits.size(); ++i) {
        const SplitRecord& split = run.splits[i];
        query.addBindValue(static_cast<qlonglong>(runId));
        query.addBindValue(static_cast<int>(i) + 1);
        query.addBindValue(split.gate >= 0 ? QVariant(split.gate) : QVariant(QMetaType::fromType<int>()));
        query.addBindValue(static_cast<qlonglong>(split.ms));
        if (!query.exec()) {
            lastError = query.lastError().text();
            return std::nullopt;
        }
    }
    return runId;
}

bool ResultsStore::HasReportKey(const QString& key)
{
    if (!Open())
        return false;
    QSqlQuery query(Database());
    query.prepare(QStringLiteral("SELECT 1 FROM runs WHERE report_key = ?"));
    query.addBindValue(key);
    return query.exec() && query.next();
}

bool ResultsStore::SetReportKey(std::int64_t runId, const QString& key)
{
    if (!Open() || IsReadOnly())
        return false;
    QSqlQuery query(Database());
    query.prepare(QStringLiteral("UPDATE runs SET report_key = ? WHERE id = ? AND report_key IS NULL"));
    query.addBindValue(key);
    query.addBindValue(static_cast<qlonglong>(runId));
    if (query.exec())
        return true;
    lastError = query.lastError().text();
    return false;
}

bool ResultsStore::MarkInvalid(std::int64_t runId, const QString& reason)
{
    if (!Open() || IsReadOnly())
        return false;
    QSqlQuery query(Database());
    query.prepare(QStringLiteral("UPDATE runs SET status = 'invalid', invalid_reason = ? WHERE id = ?"));
    query.addBindValue(reason.trimmed());
    query.addBindValue(static_cast<qlonglong>(runId));
    if (query.exec() && query.numRowsAffected() == 1)
        return true;
    lastError = query.lastError().text();
    return false;
}

bool ResultsStore::Restore(std::int64_t runId)
{
    if (!Open() || IsReadOnly())
        return false;
    QSqlQuery query(Database());
    query.prepare(QStringLiteral("UPDATE runs SET status = 'valid', invalid_reason = NULL WHERE id = ?"));
    query.addBindValue(static_cast<qlonglong>(runId));
    if (query.exec() && query.numRowsAffected() == 1)
        return true;
    lastError = query.lastError().text();
    return false;
}

bool ResultsStore::FileUnchangedSinceImport(const QString& filePath, qint64 size, const QDateTime& modified)
{
    if (!Open())
        return false;
    QSqlQuery query(Database());
    query.prepare(
        QStringLiteral("SELECT 1 FROM imported_files WHERE path = ? AND size = ? AND modified_ms = ?"));
    query.addBindValue(filePath);
    query.addBindValue(size);
    query.addBindValue(modified.toMSecsSinceEpoch());
    return query.exec() && query.next();
}

void ResultsStore::NoteFileImported(const QString& filePath, qint64 size, const QDateTime& modified)
{
    if (!Open() || IsReadOnly())
        return;
    QSqlQuery query(Database());
    query.prepare(
        QStringLiteral("INSERT OR REPLACE INTO imported_files(path, size, modified_ms) VALUES(?, ?, ?)"));
    query.addBindValue(filePath);
    query.addBindValue(size);
    query.addBindValue(modified.toMSecsSinceEpoch());
    query.exec();
}
