#pragma once

#include <QDate>
#include <QString>

#include <Qt>

// The columns of the runs query, in the order the Results window shows them.
namespace runcolumn {
enum Column
{
    Id,
    StartUtcMs,
    UtcOffsetS,
    Athlete,
    Course,
    TotalMs,
    PersonalBest,
    SplitsMs, // the splits in milliseconds, separated by spaces
    Speed,
    Distance,
    Status,
    Reason,
    Simulated,
    Note, // a suspect mark, or the breaks the hold-off refused
    Count
};
}

// What the Results window shows: every condition left empty lets everything through.
struct RunFilter
{
    QString athlete;
    QString course; // a course name: every snapshot of that name
    QDate from;     // local dates, both included
    QDate to;
    bool bestPerAthlete = false; // each athlete's best valid run per course in the range
    bool showSimulated = false;
    int sortColumn = runcolumn::StartUtcMs;
    Qt::SortOrder sortOrder = Qt::DescendingOrder;
};
