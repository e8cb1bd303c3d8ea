#include "results/ResultsExport.h"

#include <QCoreApplication>

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <memory>

namespace results {

namespace {

std::size_t MostSplits(const std::vector<ExportRow>& rows)
{
    std::size_t most = 0;
    for (const ExportRow& row : rows)
        most = std::max(most, row.splitsMs.size());
    return most;
}

QStringList HeaderNames(std::size_t splitCount)
{
    QStringList names{QStringLiteral("Date"),   QStringLiteral("Time"),         QStringLiteral("Athlete"),
                      QStringLiteral("Course"), QStringLiteral("Distance (m)"), QStringLiteral("Total (s)")};
    for (std::size_t i = 1; i <= splitCount; ++i)
        names << QStringLiteral("Split %1 (s)").arg(i);
    names << QStringLiteral("Speed (m/s)") << QStringLiteral("Personal best") << QStringLiteral("Status")
          << QStringLiteral("Reason") << QStringLiteral("Simulated");
    return names;
}

QString Quoted(const QString& field, QChar separator)
{
    if (!field.contains(separator) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    return QLatin1Char('"') + QString(field).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

bool SaveWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

QString StatusText(const ExportRow& row)
{
    return row.valid ? QStringLiteral("valid") : QStringLiteral("invalid");
}

} // namespace

bool WriteResultsCsv(const QString& path, const std::vector<ExportRow>& rows, const QLocale& locale,
                     QString* error)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    const QChar separator =
        numbers.decimalPoint() == QStringLiteral(",") ? QLatin1Char(';') : QLatin1Char(',');
    const auto seconds = [&numbers](std::int64_t ms) { return numbers.toString(ms / 1000.0, 'f', 3); };
    const std::size_t splitCount = MostSplits(rows);

    QStringList lines;
    lines << HeaderNames(splitCount).join(separator);
    for (const ExportRow& row : rows) {
        QStringList fields{row.start.toString(QStringLiteral("yyyy-MM-dd")),
                           row.start.toString(QStringLiteral("HH:mm:ss")),
                           row.athlete,
                           row.course,
                           numbers.toString(row.distance, 'f', 3),
                           seconds(row.totalMs)};
        for (std::size_t i = 0; i < splitCount; ++i)
            fields << (i < row.splitsMs.size() ? seconds(row.splitsMs[i]) : QString());
        fields << numbers.toString(row.speed, 'f', 3) << (row.personalBest ? QStringLiteral("PB") : QString())
               << StatusText(row) << row.reason
               << (row.simulated ? QStringLiteral("yes") : QStringLiteral("no"));
        for (QString& field : fields)
            field = Quoted(field, separator);
        lines << fields.join(separator);
    }
    // The byte order mark tells spreadsheets the text is UTF-8, so names keep their accents.
    return SaveWhole(
        path, "\xEF\xBB\xBF" + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8(), error);
}

bool WriteResultsWorkbook(const QString& path, const std::vector<ExportRow>& rows, QString* error)
{
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        if (error)
            *error = scratch.errorString();
        return false;
    }
    const QByteArray scratchPath = QFile::encodeName(scratch.filePath(QStringLiteral("results.xlsx")));
    const QByteArray tempFolder = QFile::encodeName(scratch.path());
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(tempFolder.constData());
    lxw_workbook* workbook = workbook_new_opt(scratchPath.constData(), &options);
    if (!workbook) {
        if (error)
            *error = QCoreApplication::translate("ResultsExport", "The workbook could not be made.");
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Results");
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format* decimals = workbook_add_format(workbook);
    format_set_num_format(decimals, "0.000");
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format(date, "yyyy-mm-dd");

    const std::size_t splitCount = MostSplits(rows);
    const QStringList header = HeaderNames(splitCount);
    for (int column = 0; column < header.size(); ++column)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(column), header[column].toUtf8().constData(),
                               bold);
    // The same columns as the CSV: the day as a date cell, the time of day as text.
    lxw_row_t line = 1;
    for (const ExportRow& row : rows) {
        lxw_col_t column = 0;
        const QDate day = row.start.date();
        lxw_datetime when{day.year(), day.month(), day.day(), 0, 0, 0.0};
        worksheet_write_datetime(sheet, line, column++, &when, date);
        worksheet_write_string(sheet, line, column++,
                               row.start.toString(QStringLiteral("HH:mm:ss")).toUtf8().constData(), nullptr);
        worksheet_write_string(sheet, line, column++, row.athlete.toUtf8().constData(), nullptr);
        worksheet_write_string(sheet, line, column++, row.course.toUtf8().constData(), nullptr);
        worksheet_write_number(sheet, line, column++, row.distance, decimals);
        worksheet_write_number(sheet, line, column++, static_cast<double>(row.totalMs) / 1000.0, decimals);
        for (std::size_t i = 0; i < splitCount; ++i, ++column) {
            if (i < row.splitsMs.size())
                worksheet_write_number(sheet, line, column, static_cast<double>(row.splitsMs[i]) / 1000.0,
                                       decimals);
        }
        worksheet_write_number(sheet, line, column++, row.speed, decimals);
        worksheet_write_string(sheet, line, column++, row.personalBest ? "PB" : "", nullptr);
        worksheet_write_string(sheet, line, column++, StatusText(row).toUtf8().constData(), nullptr);
        worksheet_write_string(sheet, line, column++, row.reason.toUtf8().constData(), nullptr);
        worksheet_write_string(sheet, line, column++, row.simulated ? "yes" : "no", nullptr);
        ++line;
    }
    worksheet_set_column(sheet, 0, 0, 11, nullptr);
    worksheet_set_column(sheet, 2, 3, 16, nullptr);
    const lxw_error result = workbook_close(workbook);
    if (result != LXW_NO_ERROR) {
        if (error)
            *error = QString::fromUtf8(lxw_strerror(result));
        return false;
    }
    QFile made(QString::fromLocal8Bit(scratchPath));
    if (!made.open(QIODevice::ReadOnly)) {
        if (error)
            *error = made.errorString();
        return false;
    }
    return SaveWhole(path, made.readAll(), error);
}

} // namespace results
