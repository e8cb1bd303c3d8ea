#include "results/ResultsQueries.h"

#include <QSqlError>
#include <QSqlQuery>

namespace results {

namespace {

// The fastest valid run of the same athlete, course snapshot and kind: one seek in runs_by_athlete.
const char* const PersonalBestTest =
    "(r.status = 'valid' AND r.id = (SELECT p.id FROM runs p WHERE p.athlete = r.athlete"
    " AND p.course_id = r.course_id AND p.simulated = r.simulated AND p.status = 'valid'"
    " ORDER BY p.total_ms, p.start_utc_ms LIMIT 1))";

QString SortExpression(int column)
{
    switch (column) {
    case runcolumn::Athlete:
        return QStringLiteral("athlete COLLATE NOCASE");
    case runcolumn::Course:
        return QStringLiteral("course COLLATE NOCASE");
    case runcolumn::Distance:
        return QStringLiteral("distance_m");
    case runcolumn::TotalMs:
        return QStringLiteral("total_ms");
    case runcolumn::Speed:
        return QStringLiteral("speed");
    case runcolumn::SplitsMs:
        return QStringLiteral("splits");
    case runcolumn::Status:
    case runcolumn::Reason:
        return QStringLiteral("status, invalid_reason");
    case runcolumn::Simulated:
        return QStringLiteral("simulated");
    case runcolumn::Note:
        return QStringLiteral("note");
    case runcolumn::PersonalBest:
        return QStringLiteral("personal_best");
    default:
        return QStringLiteral("start_utc_ms");
    }
}

qint64 LocalMidnightMs(const QDate& date)
{
    return QDateTime(date, QTime(0, 0)).toMSecsSinceEpoch();
}

QSqlQuery Run(QSqlDatabase db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    query.exec();
    return query;
}

QStringList Column(QSqlDatabase db, const QString& sql)
{
    QStringList names;
    QSqlQuery query = Run(db, sql, {});
    while (query.next())
        names << query.value(0).toString();
    return names;
}

} // namespace

QDateTime LocalStart(std::int64_t startUtcMs, int utcOffsetSeconds)
{
    return QDateTime::fromMSecsSinceEpoch(startUtcMs, Qt::OffsetFromUTC, utcOffsetSeconds);
}

SqlText RunsQuery(const RunFilter& filter)
{
    QStringList conditions;
    QVariantList values;
    if (!filter.athlete.isEmpty()) {
        conditions << QStringLiteral("r.athlete = ?");
        values << filter.athlete;
    }
    if (!filter.course.isEmpty()) {
        conditions << QStringLiteral("c.name = ?");
        values << filter.course;
    }
    if (filter.from.isValid()) {
        conditions << QStringLiteral("r.start_utc_ms >= ?");
        values << LocalMidnightMs(filter.from);
    }
    if (filter.to.isValid()) {
        conditions << QStringLiteral("r.start_utc_ms < ?");
        values << LocalMidnightMs(filter.to.addDays(1));
    }
    if (!filter.showSimulated)
        conditions << QStringLiteral("r.simulated = 0");
    if (filter.bestPerAthlete)
        conditions << QStringLiteral("r.status = 'valid'");
    const QString where =
        conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(" AND ");

    QString rank;
    if (filter.bestPerAthlete)
        rank = QStringLiteral(", ROW_NUMBER() OVER (PARTITION BY r.athlete, c.name, r.simulated"
                              " ORDER BY r.total_ms, r.start_utc_ms) AS place");
    QString sql =
        QStringLiteral("SELECT r.id, r.start_utc_ms, r.utc_offset_s, r.athlete, c.name AS course,"
                       " c.distance_m, r.total_ms, r.speed,"
                       " (SELECT group_concat(s.ms, ' ') FROM splits s WHERE s.run_id = r.id) AS splits,"
                       " r.status, r.invalid_reason, r.simulated,"
                       " CASE WHEN r.suspect IS NOT NULL THEN r.suspect"
                       " WHEN r.extra_breaks = 1 THEN '1 extra break ignored'"
                       " WHEN r.extra_breaks > 1 THEN r.extra_breaks || ' extra breaks ignored'"
                       " ELSE '' END AS note, ") +
        QLatin1String(PersonalBestTest) + QStringLiteral(" AS personal_best") + rank +
        QStringLiteral(" FROM runs r JOIN courses c ON c.id = r.course_id") + where;
    // Sorted outside, where every column has one plain name.
    sql = QStringLiteral(
              "SELECT id, start_utc_ms, utc_offset_s, athlete, course, total_ms, personal_best, splits,"
              " speed, distance_m, status, invalid_reason, simulated, note FROM (") +
          sql + (filter.bestPerAthlete ? QStringLiteral(") WHERE place = 1") : QStringLiteral(")"));
    const QString direction =
        filter.sortOrder == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    sql += QStringLiteral(" ORDER BY ") + SortExpression(filter.sortColumn) + direction +
           QStringLiteral(", start_utc_ms") + direction + QStringLiteral(", id") + direction;
    return {sql, values};
}

QStringList AthleteNames(QSqlDatabase db)
{
    return Column(db, QStringLiteral("SELECT DISTINCT athlete FROM runs ORDER BY athlete COLLATE NOCASE"));
}

QStringList CourseNames(QSqlDatabase db)
{
    return Column(db, QStringLiteral("SELECT DISTINCT name FROM courses ORDER BY name COLLATE NOCASE"));
}

AthleteHistory AthleteOnCourse(QSqlDatabase db, const QString& athlete, const QString& course, bool simulated)
{
    AthleteHistory history;
    const QVariantList values{athlete, course, simulated ? 1 : 0};
    QSqlQuery query = Run(db,
                          QStringLiteral("SELECT s.id, s.started_utc_ms, s.utc_offset_s,"
                                         " MIN(CASE WHEN r.status = 'valid' THEN r.total_ms END), COUNT(*)"
                                         " FROM runs r JOIN sessions s ON s.id = r.session_id"
                                         " JOIN courses c ON c.id = r.course_id"
                                         " WHERE r.athlete = ? AND c.name = ? AND r.simulated = ?"
                                         " GROUP BY s.id ORDER BY s.started_utc_ms, s.id"),
                          values);
    std::optional<std::int64_t> previous;
    while (query.next()) {
        if (query.value(3).isNull())
            continue; // only invalid runs in that session: no best, no progress
        SessionBest best;
        best.sessionId = query.value(0).toLongLong();
        best.sessionStart = LocalStart(query.value(1).toLongLong(), query.value(2).toInt());
        best.bestMs = query.value(3).toLongLong();
        best.attempts = query.value(4).toInt();
        if (previous)
            best.changeMs = best.bestMs - *previous;
        previous = best.bestMs;
        history.sessions.push_back(best);
    }
    query = Run(db,
                QStringLiteral("SELECT r.total_ms, r.start_utc_ms, r.utc_offset_s FROM runs r"
                               " JOIN courses c ON c.id = r.course_id WHERE r.athlete = ? AND c.name = ?"
                               " AND r.simulated = ? AND r.status = 'valid'"
                               " ORDER BY r.total_ms, r.start_utc_ms LIMIT 1"),
                values);
    if (query.next()) {
        history.personalBestMs = query.value(0).toLongLong();
        history.personalBestStart = LocalStart(query.value(1).toLongLong(), query.value(2).toInt());
    }
    return history;
}

std::vector<SessionInfo> Sessions(QSqlDatabase db)
{
    std::vector<SessionInfo> sessions;
    QSqlQuery query = Run(db,
                          QStringLiteral("SELECT s.id, s.started_utc_ms, s.utc_offset_s, s.source,"
                                         " (SELECT COUNT(*) FROM runs r WHERE r.session_id = s.id)"
                                         " FROM sessions s ORDER BY s.started_utc_ms DESC, s.id DESC"),
                          {});
    while (query.next())
        sessions.push_back({query.value(0).toLongLong(),
                            LocalStart(query.value(1).toLongLong(), query.value(2).toInt()),
                            query.value(3).toString(), query.value(4).toInt()});
    return sessions;
}

SessionSummary SessionResults(QSqlDatabase db, std::int64_t sessionId, bool simulated)
{
    SessionSummary summary;
    const QVariantList values{static_cast<qlonglong>(sessionId), simulated ? 1 : 0};
    QSqlQuery query =
        Run(db,
            QStringLiteral("SELECT r.athlete, c.name, MIN(CASE WHEN r.status = 'valid'"
                           " THEN r.total_ms END) AS best, COUNT(*) FROM runs r"
                           " JOIN courses c ON c.id = r.course_id"
                           " WHERE r.session_id = ? AND r.simulated = ? GROUP BY r.athlete, c.name"
                           " ORDER BY c.name COLLATE NOCASE, best IS NULL, best,"
                           " r.athlete COLLATE NOCASE"),
            values);
    QString course;
    int place = 0;
    std::int64_t previousBest = -1;
    int rank = 0;
    while (query.next()) {
        RankedAthlete entry;
        entry.athlete = query.value(0).toString();
        entry.course = query.value(1).toString();
        if (!query.value(2).isNull())
            entry.bestMs = query.value(2).toLongLong();
        entry.attempts = query.value(3).toInt();
        if (entry.course != course) {
            course = entry.course;
            place = 0;
            previousBest = -1;
        }
        ++place;
        if (entry.bestMs) {
            if (*entry.bestMs != previousBest)
                rank = place;
            entry.rank = rank;
            previousBest = *entry.bestMs;
        }
        summary.ranking.push_back(entry);
    }

    query = Run(db,
                QStringLiteral("SELECT c.name, s.position, s.ms, r.athlete FROM splits s"
                               " JOIN runs r ON r.id = s.run_id JOIN courses c ON c.id = r.course_id"
                               " WHERE r.session_id = ? AND r.simulated = ? AND r.status = 'valid'"
                               " ORDER BY c.name COLLATE NOCASE, s.position, s.ms, r.athlete COLLATE NOCASE"),
                values);
    while (query.next()) {
        const QString splitCourse = query.value(0).toString();
        const int checkpoint = query.value(1).toInt();
        const std::int64_t ms = query.value(2).toLongLong();
        const QString athlete = query.value(3).toString();
        if (!summary.bestSplits.empty() && summary.bestSplits.back().course == splitCourse &&
            summary.bestSplits.back().checkpoint == checkpoint) {
            BestSplit& best = summary.bestSplits.back();
            if (best.ms == ms && !best.athletes.contains(athlete))
                best.athletes << athlete;
            continue;
        }
        summary.bestSplits.push_back({splitCourse, checkpoint, ms, {athlete}});
    }
    return summary;
}

std::vector<ExportRow> ExportRows(QSqlDatabase db, const RunFilter& filter, QString* error)
{
    std::vector<ExportRow> rows;
    const SqlText text = RunsQuery(filter);
    QSqlQuery query = Run(db, text.sql, text.values);
    if (!query.isActive() && error)
        *error = query.lastError().text();
    while (query.next()) {
        ExportRow row;
        row.start = LocalStart(query.value(runcolumn::StartUtcMs).toLongLong(),
                               query.value(runcolumn::UtcOffsetS).toInt());
        row.athlete = query.value(runcolumn::Athlete).toString();
        row.course = query.value(runcolumn::Course).toString();
        row.distance = query.value(runcolumn::Distance).toDouble();
        row.totalMs = query.value(runcolumn::TotalMs).toLongLong();
        for (const QString& ms : query.value(runcolumn::SplitsMs).toString().split(' ', Qt::SkipEmptyParts))
            row.splitsMs.push_back(ms.toLongLong());
        row.speed = query.value(runcolumn::Speed).toDouble();
        row.personalBest = query.value(runcolumn::PersonalBest).toBool();
        row.valid = query.value(runcolumn::Status).toString() == QLatin1String("valid");
        row.reason = query.value(runcolumn::Reason).toString();
        row.simulated = query.value(runcolumn::Simulated).toBool();
        rows.push_back(row);
    }
    return rows;
}

} // namespace results
