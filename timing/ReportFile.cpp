#include "timing/ReportFile.h"

#include "common/Trace.h"
#include "platform/DataFolder.h"
#include "timing/ReportFileUi.h"

#include <QDateTime>
#include <QDir>

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

} // namespace

ReportFile::ReportFile() : reportsFolder(platform::dataPath(QStringLiteral("\\Swiftlane\\Reports\\")))
{
    QDir().mkpath(reportsFolder);
}

ReportFile::~ReportFile()
{
    Flush();
    file.close();
}

void ReportFile::Flush()
{
    if (pending.empty() || WritePending())
        return;
    QFile fallback(QDir::temp().filePath(
        QStringLiteral("Swiftlane_unwritten_%1.csv")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")))));
    if (!fallback.open(QIODevice::WriteOnly)) {
        qWarning("%d results could not be written anywhere", PendingRowCount());
        return;
    }
    QStringList lastHeader;
    for (const PendingRow& kept : pending) {
        if (kept.header != lastHeader)
            fallback.write(CsvLine(kept.header));
        lastHeader = kept.header;
        fallback.write(CsvLine(kept.row));
    }
    qWarning("%d results could not be written to the reports folder; they are in %s", PendingRowCount(),
             qPrintable(QDir::toNativeSeparators(fallback.fileName())));
    pending.clear();
}

void ReportFile::AddEntry(const QStringList& row)
{
    qCDebug(swiftlaneTrace, "Adding report entry");
    pending.push_back({baseName, header, row});
    if (WritePending())
        failureReported = false;
    else
        ReportFailure();
}

// Writes the kept rows oldest first; stops at the first one that cannot be written.
bool ReportFile::WritePending()
{
    while (!pending.empty()) {
        const PendingRow& next = pending.front();
        if (file.isOpen() && (next.baseName != openBaseName || next.header != openHeader))
            file.close();
        if (!file.isOpen() && !Open(next.baseName, next.header))
            return false;
        if (!WriteLine(next.row)) {
            // The file cannot take more now; the kept rows go to a fresh file at the next attempt.
            file.close();
            return false;
        }
        pending.pop_front();
    }
    return true;
}

bool ReportFile::Open(const QString& base, const QStringList& columns)
{
    qCDebug(swiftlaneTrace, "Opening report file");
    QDir().mkpath(reportsFolder);
    const QString lastOpened = file.fileName();
    QString candidate;
    for (int n = 1;; ++n) {
        candidate = reportsFolder + base + QLatin1Char('_') + QString::number(n) + QStringLiteral(".csv");
        if (!QFile::exists(candidate))
            break;
    }
    file.setFileName(candidate);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.setFileName(lastOpened);
        return false;
    }
    openBaseName = base;
    openHeader = columns;
    if (!WriteLine(columns)) {
        file.close();
        return false;
    }
    return true;
}

QByteArray ReportFile::CsvLine(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields)
        quoted.append(CsvField(field));
    return quoted.join(QLatin1Char(',')).toUtf8() + '\n';
}

bool ReportFile::WriteLine(const QStringList& fields)
{
    const QByteArray line = CsvLine(fields);
    const qint64 lineStart = file.size();
    if (file.write(line) == line.size() && file.flush())
        return true;
    // No partial line stays behind: the row is kept and written again later.
    file.resize(lineStart);
    return false;
}

void ReportFile::ReportFailure()
{
    if (failureReported)
        return;
    failureReported = true;
    const QString text =
        QStringLiteral("The results of the finished run could not be written to the reports folder:\n%1\n\n"
                       "They are kept and will be written as soon as the folder can be written again, "
                       "at the end of a later run.")
            .arg(QDir::toNativeSeparators(reportsFolder));
    if (ui)
        ui->ShowReportWarning(text);
    else
        qWarning("%s", qUtf8Printable(text));
}
