#pragma once

#include <QString>

#include <vector>

struct ListedSequence
{
    QString name; // the "SequenceName" stored in the file, not the file name
    QString path; // full path of the ".run" file
};

// The stored gate sequences of `runsFolder` that load, ordered by file name ignoring case. The run
// list of the main window and the editor's list are both built from this.
std::vector<ListedSequence> ListSequences(const QString& runsFolder);
