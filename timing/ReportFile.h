#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <deque>

class ReportFileUi;

// Appends finished runs as CSV lines to a numbered report file in the reports folder.
class ReportFile
{
public:
    ReportFile();
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    void SetBaseName(const QString& name) { baseName = name; }
    void SetHeader(const QStringList& columns) { header = columns; }
    // Where a failed write is reported (not owned); without one it goes to the console.
    void SetUi(ReportFileUi* value) { ui = value; }

    void AddEntry(const QStringList& row);
    // Last attempt for kept rows, at the end of the program: what still cannot go to the reports
    // folder is written to a file in the system's temporary folder instead.
    void Flush();

    QString ReportFolder() const { return reportsFolder; }
    QString ReportFileName() const { return file.fileName(); }
    // Rows that could not be written yet, oldest first.
    int PendingRowCount() const { return static_cast<int>(pending.size()); }

private:
    // A row remembers the file it belongs in, so rows kept through a failure land under their own header.
    struct PendingRow
    {
        QString baseName;
        QStringList header;
        QStringList row;
    };

    bool WritePending();
    bool Open(const QString& base, const QStringList& columns);
    bool WriteLine(const QStringList& fields);
    static QByteArray CsvLine(const QStringList& fields);
    void ReportFailure();

    QStringList header;
    QString baseName;
    QFile file;
    QString reportsFolder;
    QStringList openHeader; // header and base name of the open file
    QString openBaseName;
    std::deque<PendingRow> pending;
    ReportFileUi* ui = nullptr;
    bool failureReported = false;
};
