#include "timing/SequenceListing.h"

#include "timing/GateSequence.h"

#include <QDir>

std::vector<ListedSequence> ListSequences(const QString& runsFolder)
{
    std::vector<ListedSequence> listed;
    // Hidden entries too: a sequence named ".warmup" is saved as a hidden file on this platform.
    const QStringList fileNames = QDir(runsFolder)
                                      .entryList({QStringLiteral("*.run")}, QDir::AllEntries | QDir::Hidden,
                                                 QDir::Name | QDir::IgnoreCase);
    const QString prefix = runsFolder.endsWith(QLatin1Char('/')) ? runsFolder : runsFolder + QLatin1Char('/');
    for (const QString& fileName : fileNames) {
        GateSequence sequence;
        const QString path = prefix + fileName;
        if (sequence.Load(path))
            listed.push_back({sequence.Name(), path});
    }
    return listed;
}
