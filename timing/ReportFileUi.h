#pragma once

#include <QString>

// Where the report writer tells the operator that results could not be written. The application
// provides it, so the timing core builds without Qt Widgets.
class ReportFileUi
{
public:
    virtual ~ReportFileUi() = default;

    // Called from inside the gate poll that finished the run.
    virtual void ShowReportWarning(const QString& text) = 0;
};
