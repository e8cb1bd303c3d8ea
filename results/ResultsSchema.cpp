#include "results/ResultsSchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace results {

namespace {

// Version 1: sessions, course snapshots, runs with their splits, and the report files already read.
// extra_breaks and suspect are filled by later versions of the timing; they stay NULL until then.
const char* const Version1[] = {
    "CREATE TABLE sessions(id INTEGER PRIMARY KEY, started_utc_ms INTEGER NOT NULL,"
    " utc_offset_s INTEGER NOT NULL, source TEXT NOT NULL)",
    "CREATE TABLE courses(id INTEGER PRIMARY KEY, name TEXT NOT NULL, gates TEXT NOT NULL,"
    " distance_m REAL NOT NULL, UNIQUE(name, gates, distance_m))",
    "CREATE TABLE runs(id INTEGER PRIMARY KEY, session_id INTEGER NOT NULL REFERENCES sessions(id),"
    " course_id INTEGER NOT NULL REFERENCES courses(id), athlete TEXT NOT NULL,"
    " start_utc_ms INTEGER NOT NULL, utc_offset_s INTEGER NOT NULL, total_ms INTEGER NOT NULL,"
    " speed REAL NOT NULL, simulated INTEGER NOT NULL DEFAULT 0,"
    " status TEXT NOT NULL DEFAULT 'valid' CHECK(status IN ('valid', 'invalid')), invalid_reason TEXT,"
    " report_key TEXT UNIQUE, extra_breaks INTEGER, suspect TEXT)",
    "CREATE TABLE splits(run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL, gate INTEGER, ms INTEGER NOT NULL, PRIMARY KEY(run_id, position))"
    " WITHOUT ROWID",
    "CREATE TABLE imported_files(path TEXT PRIMARY KEY, size INTEGER NOT NULL,"
    " modified_ms INTEGER NOT NULL)",
    "CREATE INDEX runs_by_start ON runs(start_utc_ms)",
    "CREATE INDEX runs_by_session ON runs(session_id, athlete)",
    "CREATE INDEX runs_by_athlete ON runs(athlete, course_id, simulated, status, total_ms, start_utc_ms)",
};

struct Step
{
    const char* const* statements;
    std::size_t count;
};

const Step Steps[] = {{Version1, std::size(Version1)}};
static_assert(std::size(Steps) == CurrentSchemaVersion, "one upgrade step per version");

bool Exec(QSqlDatabase& db, const QString& sql, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

bool RunStep(QSqlDatabase& db, const Step& step, int version, QString* error)
{
    if (!Exec(db, QStringLiteral("BEGIN IMMEDIATE"), error))
        return false;
    for (std::size_t i = 0; i < step.count; ++i) {
        if (!Exec(db, QString::fromLatin1(step.statements[i]), error)) {
            Exec(db, QStringLiteral("ROLLBACK"), nullptr);
            return false;
        }
    }
    if (Exec(db, QStringLiteral("PRAGMA user_version = %1").arg(version), error) &&
        Exec(db, QStringLiteral("COMMIT"), error))
        return true;
    Exec(db, QStringLiteral("ROLLBACK"), nullptr);
    return false;
}

} // namespace

int SchemaVersion(QSqlDatabase& db, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next())
        return query.value(0).toInt();
    if (error)
        *error = query.lastError().text();
    return -1;
}

bool UpgradeSchema(QSqlDatabase& db, QString* error)
{
    for (;;) {
        // Read again each time: another program may have upgraded the file in the meantime.
        const int version = SchemaVersion(db, error);
        if (version < 0)
            return false;
        if (version >= CurrentSchemaVersion)
            return true;
        if (!RunStep(db, Steps[version], version + 1, error)) {
            // Another program may have made the same step first.
            if (SchemaVersion(db) > version)
                continue;
            return false;
        }
    }
}

} // namespace results
