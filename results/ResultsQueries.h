#pragma once

#include "results/RunFilter.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <cstdint>
#include <optional>
#include <vector>

namespace results {

struct SqlText
{
    QString sql;
    QVariantList values; // bound in order
};

// Runs in the filter, one row per run, columns as runcolumn::Column. A run is an athlete's personal
// best on a course when it is the fastest valid run there (the earliest of equal ones); simulated
// runs are compared only with simulated runs.
SqlText RunsQuery(const RunFilter& filter);

// The local time a run was timed at, as the history keeps it.
QDateTime LocalStart(std::int64_t startUtcMs, int utcOffsetSeconds);

QStringList AthleteNames(QSqlDatabase db);
QStringList CourseNames(QSqlDatabase db);

// One athlete on one course: the best valid run of each session, oldest first, and the change
// against the session before (negative: faster).
struct SessionBest
{
    std::int64_t sessionId = 0;
    QDateTime sessionStart; // local
    std::int64_t bestMs = 0;
    int attempts = 0; // every run, invalid ones too
    std::optional<std::int64_t> changeMs;
};
struct AthleteHistory
{
    std::vector<SessionBest> sessions;
    std::optional<std::int64_t> personalBestMs;
    QDateTime personalBestStart; // local
};
AthleteHistory AthleteOnCourse(QSqlDatabase db, const QString& athlete, const QString& course,
                               bool simulated);

// One session: athletes ranked by their best valid total per course, and the best split of each
// checkpoint with who ran it.
struct SessionInfo
{
    std::int64_t id = 0;
    QDateTime start; // local
    QString source;  // "live" or the report file it was read from
    int runs = 0;
};
struct RankedAthlete
{
    int rank = 0; // 0: no valid run; equal bests share a rank
    QString athlete;
    QString course;
    std::optional<std::int64_t> bestMs;
    int attempts = 0;
};
struct BestSplit
{
    QString course;
    int checkpoint = 0; // 1-based
    std::int64_t ms = 0;
    QStringList athletes; // every athlete with that split
};
struct SessionSummary
{
    std::vector<RankedAthlete> ranking;
    std::vector<BestSplit> bestSplits;
};
std::vector<SessionInfo> Sessions(QSqlDatabase db);
SessionSummary SessionResults(QSqlDatabase db, std::int64_t sessionId, bool simulated);

// A run in the filter with everything an export writes.
struct ExportRow
{
    QDateTime start; // local
    QString athlete;
    QString course;
    double distance = 0.0;
    std::int64_t totalMs = 0;
    std::vector<std::int64_t> splitsMs;
    double speed = 0.0;
    bool personalBest = false;
    bool valid = true;
    QString reason;
    bool simulated = false;
};
std::vector<ExportRow> ExportRows(QSqlDatabase db, const RunFilter& filter, QString* error = nullptr);

} // namespace results
