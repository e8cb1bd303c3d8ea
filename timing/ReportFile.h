#pragma once

#include <QFile>
#include <vector>
#include <QString>
#include <QStringList>

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

    void AddEntry(const QStringList& row);

    QString ReportFolder() const { return reportsFolder; }
    QString ReportFileName() const { return file.fileName(); }
    // Rows that could not be written yet, oldest first.
    int PendingRowCount() const { return static_cast<int>(pending.size()); }

private:
    bool Open();

    QStringList header;
    QString baseName;
    QFile file;
    QString reportsFolder;
    QStringList openHeader; // header and base name of the open file
    QString openBaseName;
    std::vector<QStringList> pending;
    bool failureReported = false;
};
