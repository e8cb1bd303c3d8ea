#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// What a course was when a run was timed on it; runs keep this copy, so editing or deleting the
// course's file later changes nothing stored.
struct CourseSnapshot
{
    QString name;
    std::vector<int> gates; // empty: not known (a run read back from a report file)
    double distanceMetres = 0.0;

    bool operator==(const CourseSnapshot& other) const
    {
        return name == other.name && gates == other.gates && distanceMetres == other.distanceMetres;
    }
};

struct SplitRecord
{
    int gate = -1; // the gate that closed the split; -1: not known
    std::int64_t ms = 0;
};

// One finished run as the results history keeps it.
struct RunRecord
{
    QString athlete;
    CourseSnapshot course;
    QDateTime startUtc;
    int utcOffsetSeconds = 0; // of the local time where the run was timed
    std::vector<SplitRecord> splits;
    std::int64_t totalMs = 0;
    double speed = 0.0; // metres per second
    bool simulated = false;
    int extraBreaks = 0; // breaks the hold-off refused during the run
    QString suspectMark; // why the run may not be one athlete's; empty: no doubt
    // Which report row holds the same run ("<file name>:<row number>:<fields>"); empty: none yet.
    QString reportKey;
};

// The key of row `rowNumber` (the header is row 1) of a report file, as the report writer and the
// report import both name it.
QString ReportRowKey(const QString& reportFileName, int rowNumber, const QStringList& fields);
