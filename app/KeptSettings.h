#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// What the operator sets up during a day and finds again at the next start: the subject list, the
// chosen subject and gate sequence, auto-advance and the window geometries. Kept in the program's
// QSettings; Swiftlane.cfg keeps its own format untouched.
struct KeptState
{
    QStringList subjects;
    int subjectIndex = -1;
    QString subjectText;
    QString sequenceFile; // file name in the runs folder
    bool autoAdvance = false;
    QHash<QString, QByteArray> geometries; // by window object name
};
bool operator==(const KeptState& a, const KeptState& b);
inline bool operator!=(const KeptState& a, const KeptState& b)
{
    return !(a == b);
}

// Reads and writes KeptState in the program's QSettings file, whose place is taken when this is
// made (so that a later QSettings::setPath does not move it).
class KeptSettings
{
public:
    KeptSettings();
    // Empty problem when the file was read or is not there yet; otherwise the file's path.
    KeptState Read(QString& problem) const;
    // Empty problem when everything was written; otherwise the file's path.
    void Write(const KeptState& state, QString& problem) const;
    QString FilePath() const { return filePath; }

private:
    QString filePath;
};
