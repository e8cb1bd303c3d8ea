#pragma once

#include <QString>
#include <QStringList>

// Where the report writer tells the operator that results could not be written. The application
// provides it, so the timing core builds without Qt Widgets.
class ReportFileUi
{
public:
    virtual ~ReportFileUi() = default;

    // Called from inside the gate poll that finished the run.
    virtual void ShowReportWarning(const QString& text) = 0;
    // `row` is now row `rowNumber` (the header is row 1) of the report file at `path`.
    virtual void ReportRowWritten(const QString& path, int rowNumber, const QStringList& row)
    {
        Q_UNUSED(path);
        Q_UNUSED(rowNumber);
        Q_UNUSED(row);
    }
};
