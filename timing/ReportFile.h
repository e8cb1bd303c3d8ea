#pragma once

#include <QString>
#include <QStringList>

#include <deque>

class ReportFileUi;

// Appends finished runs as CSV lines to numbered report files in the reports folder: one file per
// sequence and column header during a program's life.
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

    // What became of the rows that still waited at the end of the program.
    struct FlushResult
    {
        int rowsNotInReports = 0; // 0: every row is in its report file
        QString fallbackPath;     // where those rows are instead; empty when they could not be saved
    };
    // Last attempt for kept rows, at the end of the program: what still cannot go to the reports
    // folder is written to a file in the system's temporary folder instead, or else to stderr.
    FlushResult Flush();

    QString ReportFolder() const { return reportsFolder; }
    // The file that received the latest row; empty before the first.
    QString ReportFileName() const { return lastWrittenPath; }
    // Rows that could not be written yet.
    int PendingRowCount() const;

private:
    // The report file of one sequence and header, and its rows that could not be written yet, oldest
    // first. One file's trouble never holds back another's rows.
    struct Destination
    {
        QString baseName;
        QStringList header;
        QString path; // empty until the file is made
        int rows = 0; // in the file, the header included
        std::deque<QStringList> waiting;
    };

    Destination& DestinationFor(const QString& base, const QStringList& columns);
    bool WriteWaiting();
    bool WriteWaiting(Destination& destination);
    bool Write(Destination& destination, const QStringList& row);
    bool Create(Destination& destination, const QString& path, const QStringList& row);
    bool CreateNumbered(Destination& destination, const QStringList& row);
    QByteArray FallbackText() const;
    static QByteArray CsvLine(const QStringList& fields);
    void ReportFailure();
    void Written(Destination& destination, const QStringList& row);

    QStringList header;
    QString baseName;
    QString reportsFolder;
    std::deque<Destination> destinations; // a deque keeps references stable as files are added
    QString lastWrittenPath;
    ReportFileUi* ui = nullptr;
    bool failureReported = false;
};
