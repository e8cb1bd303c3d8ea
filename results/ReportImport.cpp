#include "results/ReportImport.h"

#include <QCoreApplication>

#include "results/ResultsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace results {

namespace {

// A report is a few kilobytes per session; anything far larger is no report.
constexpr qint64 MaxReportBytes = 64 * 1024 * 1024;

// RFC 4180 records: fields separated by ",", quoted fields may hold commas, quotes and line breaks.
std::vector<QStringList> CsvRecords(const QString& text)
{
    std::vector<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
            any = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            if (any || !field.isEmpty()) {
                fields << field;
                records.push_back(fields);
            } else {
                records.push_back({}); // a blank line keeps its row number
            }
            fields.clear();
            field.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.isEmpty()) {
        fields << field;
        records.push_back(fields);
    }
    return records;
}

// "Swiftlane_<course>_<n>.csv" -> "<course>"
QString CourseName(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^Swiftlane_(.*)_\\d+\\.csv$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    return match.hasMatch() ? match.captured(1) : QFileInfo(fileName).completeBaseName();
}

// Checkpoint count of a report header, or nothing when it is no report header.
std::optional<int> CheckpointCount(const QStringList& header)
{
    const int checkpoints = static_cast<int>(header.size()) - 4;
    if (checkpoints < 0 || header[0] != QLatin1String("Subject_Name") ||
        header[1] != QLatin1String("Total_Time") || header[header.size() - 2] != QLatin1String("Distance") ||
        header.back() != QLatin1String("Speed"))
        return std::nullopt;
    for (int k = 1; k <= checkpoints; ++k) {
        if (header[1 + k] != QStringLiteral("Checkpoint_%1").arg(k))
            return std::nullopt;
    }
    return checkpoints;
}

// A report number: fixed notation with a full stop, not negative.
std::optional<double> Number(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d+(\\.\\d+)?$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

std::int64_t Milliseconds(double seconds)
{
    return std::llround(seconds * 1000.0);
}

// The run of one row, or the reason it cannot be read.
std::optional<RunRecord> RunOfRow(const QStringList& fields, int checkpoints, QString* reason)
{
    const int expected = checkpoints + 4;
    if (fields.size() != expected) {
        *reason = QCoreApplication::translate("ReportImport", "has %1 fields where the header has %2")
                      .arg(fields.size())
                      .arg(expected);
        return std::nullopt;
    }
    RunRecord run;
    run.athlete = fields[0].trimmed();
    if (run.athlete.isEmpty()) {
        *reason = QCoreApplication::translate("ReportImport", "has no athlete name");
        return std::nullopt;
    }
    std::vector<double> numbers;
    for (int i = 1; i < expected; ++i) {
        const auto value = Number(fields[i].trimmed());
        if (!value) {
            *reason = QCoreApplication::translate("ReportImport",
                                                  "field %1 (\"%2\") is not a time, distance or speed")
                          .arg(i + 1)
                          .arg(fields[i]);
            return std::nullopt;
        }
        numbers.push_back(*value);
    }
    run.totalMs = Milliseconds(numbers[0]);
    std::int64_t sum = 0;
    for (int k = 1; k <= checkpoints; ++k) {
        run.splits.push_back({-1, Milliseconds(numbers[static_cast<std::size_t>(k)])});
        sum += run.splits.back().ms;
    }
    // Each written split and the total are rounded to the millisecond on their own.
    if (checkpoints > 0 && std::llabs(sum - run.totalMs) > checkpoints) {
        *reason = QCoreApplication::translate("ReportImport", "its splits add up to %1 s, not to its total")
                      .arg(sum / 1000.0, 0, 'f', 3);
        return std::nullopt;
    }
    run.course.distanceMetres = numbers[numbers.size() - 2];
    run.speed = numbers.back();
    return run;
}

} // namespace

ParsedReport ParseReport(const QString& fileName, const QByteArray& bytes, const QDateTime& fileTimeUtc)
{
    ParsedReport report;
    const std::vector<QStringList> records = CsvRecords(QString::fromUtf8(bytes));
    const std::optional<int> checkpoints = records.empty() ? std::nullopt : CheckpointCount(records.front());
    if (!checkpoints) {
        report.problems.push_back(
            {fileName, 1,
             QCoreApplication::translate("ReportImport", "is not the header of a Swiftlane report")});
        return report;
    }
    report.readable = true;
    const QString course = CourseName(fileName);
    const int offset = QDateTime(fileTimeUtc.toLocalTime()).offsetFromUtc();
    for (std::size_t i = 1; i < records.size(); ++i) {
        const int rowNumber = static_cast<int>(i) + 1;
        if (records[i].isEmpty())
            continue;
        QString reason;
        auto run = RunOfRow(records[i], *checkpoints, &reason);
        if (!run) {
            report.problems.push_back({fileName, rowNumber, reason});
            continue;
        }
        run->course.name = course;
        run->startUtc = fileTimeUtc;
        run->utcOffsetSeconds = offset;
        run->reportKey = ReportRowKey(fileName, rowNumber, records[i]);
        report.rows.push_back({rowNumber, records[i], *run});
    }
    return report;
}

QStringList ReportFilesIn(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("Swiftlane_*.csv")}, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

ImportSummary ImportReports(ResultsStore& store, const QStringList& paths, bool skipUnchanged)
{
    ImportSummary summary;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const QString fileName = info.fileName();
        const QDateTime modified = info.lastModified().toUTC();
        if (skipUnchanged && store.FileUnchangedSinceImport(info.absoluteFilePath(), info.size(), modified))
            continue;
        QFile file(path);
        if (info.size() > MaxReportBytes || !file.open(QIODevice::ReadOnly)) {
            summary.problems.push_back(
                {fileName, 0, QCoreApplication::translate("ReportImport", "cannot be read")});
            continue;
        }
        ++summary.files;
        const ParsedReport report = ParseReport(fileName, file.read(MaxReportBytes), modified);
        summary.problems.insert(summary.problems.end(), report.problems.begin(), report.problems.end());
        int notStored = 0;
        for (const ReportRow& row : report.rows) {
            if (store.HasReportKey(row.run.reportKey)) {
                ++summary.alreadyStored;
            } else if (store.StoreImported(row.run, fileName, modified)) {
                ++summary.added;
            } else {
                ++notStored;
                summary.storeError = store.LastError();
            }
        }
        summary.notStored += notStored;
        if (notStored == 0 && report.readable)
            store.NoteFileImported(info.absoluteFilePath(), info.size(), modified);
    }
    return summary;
}

QString DescribeImport(const ImportSummary& summary)
{
    QString text = QCoreApplication::translate(
                       "ReportImport", "%1 report file(s) read: %2 run(s) added, %3 already in the history.")
                       .arg(summary.files)
                       .arg(summary.added)
                       .arg(summary.alreadyStored);
    if (summary.notStored > 0)
        text += QCoreApplication::translate(
                    "ReportImport", "\n%1 run(s) could not be stored now (%2); importing again adds them.")
                    .arg(summary.notStored)
                    .arg(summary.storeError);
    if (!summary.problems.empty()) {
        text +=
            QCoreApplication::translate("ReportImport", "\n\n%1 row(s) could not be read and were left out:")
                .arg(summary.problems.size());
        constexpr std::size_t Shown = 20;
        for (std::size_t i = 0; i < summary.problems.size() && i < Shown; ++i) {
            const RowProblem& problem = summary.problems[i];
            text += problem.rowNumber > 0 ? QCoreApplication::translate("ReportImport", "\n%1, row %2: %3")
                                                .arg(problem.file)
                                                .arg(problem.rowNumber)
                                                .arg(problem.reason)
                                          : QCoreApplication::translate("ReportImport", "\n%1: %2")
                                                .arg(problem.file, problem.reason);
        }
        if (summary.problems.size() > Shown)
            text += QCoreApplication::translate("ReportImport", "\n... and %1 more.")
                        .arg(summary.problems.size() - Shown);
    }
    return text;
}

} // namespace results
