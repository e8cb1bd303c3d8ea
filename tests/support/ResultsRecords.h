#pragma once

#include "results/ResultsStore.h"
#include "results/RunRecord.h"

#include <QSqlQuery>

#include <initializer_list>

// Runs for the results history tests, built from literal splits.
namespace resultsrecords {

inline QDateTime Utc(const char* iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

inline RunRecord Run(const QString& athlete, const char* startUtc,
                     std::initializer_list<std::int64_t> splitsMs, bool simulated = false,
                     const CourseSnapshot& course = {"Sprint", {0, 1, 2}, 30.0})
{
    RunRecord run;
    run.athlete = athlete;
    run.course = course;
    run.startUtc = Utc(startUtc);
    for (std::int64_t ms : splitsMs) {
        const std::size_t position = run.splits.size() + 1;
        run.splits.push_back({position < course.gates.size() ? course.gates[position] : -1, ms});
        run.totalMs += ms;
    }
    run.speed = run.totalMs > 0 ? course.distanceMetres * 1000.0 / static_cast<double>(run.totalMs) : 0.0;
    run.simulated = simulated;
    return run;
}

// The first value of a query on the store's file, as text.
inline QString Scalar(ResultsStore& store, const QString& sql)
{
    QSqlQuery query(store.Database());
    return query.exec(sql) && query.next() ? query.value(0).toString() : QStringLiteral("(failed)");
}

} // namespace resultsrecords
