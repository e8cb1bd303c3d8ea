#pragma once

#include "results/ResultsQueries.h"

#include <QLocale>
#include <QString>

#include <vector>

namespace results {

// Exports of the runs a coach sees. Each file is written whole or not at all: a failed export
// leaves an existing file as it was. Both overwrite without asking; the window asks first.

// CSV in UTF-8 for `locale`: its decimal separator, ";" between fields when that is a comma, times
// with three decimals and no digit grouping, so a spreadsheet in that locale reads numbers as numbers.
bool WriteResultsCsv(const QString& path, const std::vector<ExportRow>& rows, const QLocale& locale,
                     QString* error = nullptr);

// An Excel workbook: times, distance and speed are numeric cells formatted 0.000, the start a
// date cell, so no spreadsheet takes a time for a date.
bool WriteResultsWorkbook(const QString& path, const std::vector<ExportRow>& rows, QString* error = nullptr);

} // namespace results
