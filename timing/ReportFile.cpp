#include "timing/ReportFile.h"

#include <QCoreApplication>

#include "common/Trace.h"
#include "platform/DataFolder.h"
#include "platform/WholeWrites.h"
#include "timing/ReportFileNames.h"
#include "timing/ReportFileUi.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QtDebug>

namespace {

// RFC 4180: a field holding a separator, a quote or a line break is quoted, inner quotes doubled.
QString CsvField(const QString& field)
{
    static const QString quotedCharacters = QStringLiteral(",\"\r\n");
    for (QChar c : field) {
        if (quotedCharacters.contains(c))
            return QLatin1Char('"') + QString(field).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                   QLatin1Char('"');
    }
    return field;
}

// A name nothing else has, not even a dangling link.
bool IsFree(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

} // namespace

ReportFile::ReportFile() : reportsFolder(platform::dataPath(QStringLiteral("\\Swiftlane\\Reports\\")))
{
    QDir().mkpath(reportsFolder);
}

ReportFile::~ReportFile()
{
    Flush();
}

int ReportFile::PendingRowCount() const
{
    int count = 0;
    for (const Destination& destination : destinations)
        count += static_cast<int>(destination.waiting.size());
    return count;
}

void ReportFile::AddEntry(const QStringList& row)
{
    qCDebug(swiftlaneTrace, "Adding report entry");
    DestinationFor(baseName, header).waiting.push_back(row);
    if (WriteWaiting())
        failureReported = false;
    else
        ReportFailure();
}

ReportFile::FlushResult ReportFile::Flush()
{
    FlushResult result;
    if (WriteWaiting())
        return result;
    result.rowsNotInReports = PendingRowCount();
    const QByteArray text = FallbackText();
    const QString stem =
        QDir::temp().filePath(QStringLiteral("Swiftlane_unwritten_") +
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")));
    QString path = stem + QStringLiteral(".csv");
    for (int n = 2; !IsFree(path); ++n)
        path = stem + QLatin1Char('_') + QString::number(n) + QStringLiteral(".csv");
    if (platform::createWhole(path, text)) {
        result.fallbackPath = path;
        qWarning("Results that could not be written to the reports folder (%d) are in %s",
                 result.rowsNotInReports, qPrintable(QDir::toNativeSeparators(path)));
    } else {
        qWarning("Results that could not be written to the reports folder (%d) could not be saved in %s "
                 "either; here they are:\n%s",
                 result.rowsNotInReports, qPrintable(QDir::toNativeSeparators(path)), text.constData());
    }
    for (Destination& destination : destinations)
        destination.waiting.clear();
    return result;
}

ReportFile::Destination& ReportFile::DestinationFor(const QString& base, const QStringList& columns)
{
    for (Destination& destination : destinations) {
        if (destination.baseName == base && destination.header == columns)
            return destination;
    }
    destinations.push_back({base, columns, QString(), 0, {}});
    return destinations.back();
}

bool ReportFile::WriteWaiting()
{
    bool allWritten = true;
    for (Destination& destination : destinations)
        allWritten = WriteWaiting(destination) && allWritten;
    return allWritten;
}

// Oldest first; the first row the file does not take stops the rest, so rows keep their order.
bool ReportFile::WriteWaiting(Destination& destination)
{
    while (!destination.waiting.empty()) {
        if (!Write(destination, destination.waiting.front()))
            return false;
        destination.waiting.pop_front();
    }
    return true;
}

// Into the destination's file as it is in the reports folder now: made again, header first, when it
// was deleted or moved away behind the program's back.
bool ReportFile::Write(Destination& destination, const QStringList& row)
{
    QDir().mkpath(reportsFolder);
    if (destination.path.isEmpty())
        return CreateNumbered(destination, row);
    if (IsFree(destination.path))
        return Create(destination, destination.path, row);
    if (!QFileInfo(destination.path).isFile())
        return CreateNumbered(destination, row); // something else took the file's name
    switch (platform::appendWhole(destination.path, CsvLine(row))) {
    case platform::AppendResult::Appended:
        ++destination.rows;
        Written(destination, row);
        return true;
    case platform::AppendResult::NotWritten:
        return false;
    case platform::AppendResult::LeftCut:
        qWarning("%s ends in a row cut short by a failed write; later rows go to a new file",
                 qPrintable(QDir::toNativeSeparators(destination.path)));
        destination.path.clear();
        return false;
    }
    return false;
}

bool ReportFile::Create(Destination& destination, const QString& path, const QStringList& row)
{
    qCDebug(swiftlaneTrace, "Opening report file");
    if (!platform::createWhole(path, CsvLine(destination.header) + CsvLine(row)))
        return false;
    destination.path = path;
    destination.rows = 2;
    Written(destination, row);
    return true;
}

void ReportFile::Written(Destination& destination, const QStringList& row)
{
    lastWrittenPath = destination.path;
    if (ui)
        ui->ReportRowWritten(destination.path, destination.rows, row);
}

// The first free number; existing files are never reopened or overwritten.
bool ReportFile::CreateNumbered(Destination& destination, const QStringList& row)
{
    for (int n = 1;; ++n) {
        const QString candidate = reportsFolder + ReportFileNameFor(destination.baseName, n);
        if (IsFree(candidate))
            return Create(destination, candidate, row);
    }
}

// Each row carries the base name of its report file, which holds the sequence name, so rows of
// different sequences can be told apart.
QByteArray ReportFile::FallbackText() const
{
    QByteArray text;
    for (const Destination& destination : destinations) {
        if (destination.waiting.empty())
            continue;
        text += CsvLine(QStringList{QStringLiteral("Report")} + destination.header);
        for (const QStringList& row : destination.waiting)
            text += CsvLine(QStringList{destination.baseName} + row);
    }
    return text;
}

QByteArray ReportFile::CsvLine(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields)
        quoted.append(CsvField(field));
    return quoted.join(QLatin1Char(',')).toUtf8() + '\n';
}

void ReportFile::ReportFailure()
{
    if (failureReported)
        return;
    failureReported = true;
    const QString text =
        QCoreApplication::translate(
            "ReportFile",
            "The results of the finished run could not be written to the reports folder:\n%1\n\n"
            "They are kept and will be written as soon as the folder can be written again, "
            "at the end of a later run.")
            .arg(QDir::toNativeSeparators(reportsFolder));
    if (ui)
        ui->ShowReportWarning(text);
    else
        qWarning("%s", qUtf8Printable(text));
}
