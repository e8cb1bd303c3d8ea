#pragma once

#include "results/RunRecord.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class ResultsStore;

namespace results {

// A report file read back: its runs, and each row it could not read with the reason.
struct ReportRow
{
    int rowNumber = 0; // the header is row 1
    QStringList fields;
    RunRecord run;
};
struct RowProblem
{
    QString file; // file name
    int rowNumber = 0;
    QString reason;
};
struct ParsedReport
{
    bool readable = false; // false: not a report file at all (problems says why)
    std::vector<ReportRow> rows;
    std::vector<RowProblem> problems;
};

// Reads the bytes of a report file named `fileName` ("Swiftlane_<course>_<n>.csv"); every run gets
// `fileTimeUtc` as its start, a report row holding no date.
ParsedReport ParseReport(const QString& fileName, const QByteArray& bytes, const QDateTime& fileTimeUtc);

// The report files ("Swiftlane_*.csv") in a folder, by name.
QStringList ReportFilesIn(const QString& folder);

struct ImportSummary
{
    int files = 0;
    int added = 0;
    int alreadyStored = 0;
    int notStored = 0; // readable rows the database refused (locked, full); a later import adds them
    std::vector<RowProblem> problems;
    QString storeError; // why rows were not stored
};

// Adds the runs of the files to the history; a row already there (same file name, row and fields)
// is not added again. With `skipUnchanged`, a file read in full before and unchanged since is not
// read at all.
ImportSummary ImportReports(ResultsStore& store, const QStringList& paths, bool skipUnchanged = false);

// The summary as the operator reads it.
QString DescribeImport(const ImportSummary& summary);

} // namespace results
