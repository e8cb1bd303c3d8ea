#pragma once

#include "results/ResultsStore.h"
#include "results/RunRecord.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <vector>

// Runs for the results history tests, built from literal splits.
namespace resultsrecords {

inline CourseSnapshot Sprint()
{
    return {QStringLiteral("Sprint"), {0, 1, 2}, 30.0};
}

inline QDateTime Utc(const char* iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

inline RunRecord Run(const QString& athlete, const char* startUtc,
                     std::initializer_list<std::int64_t> splitsMs, bool simulated = false,
                     const CourseSnapshot& course = Sprint())
{
    RunRecord run;
    run.athlete = athlete;
    run.course = course;
    run.startUtc = Utc(startUtc);
    int position = 1;
    for (std::int64_t ms : splitsMs) {
        const int gate = position < static_cast<int>(course.gates.size()) ? course.gates[position] : -1;
        run.splits.push_back({gate, ms});
        run.totalMs += ms;
        ++position;
    }
    run.speed = run.totalMs > 0 ? course.distanceMetres * 1000.0 / static_cast<double>(run.totalMs) : 0.0;
    run.simulated = simulated;
    return run;
}

// One value of the first row of a query on the store's file.
inline QVariant Scalar(ResultsStore& store, const QString& sql)
{
    QSqlQuery query(store.Database());
    if (query.exec(sql) && query.next())
        return query.value(0);
    return {};
}

} // namespace resultsrecords
