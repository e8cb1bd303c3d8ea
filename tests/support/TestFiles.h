#pragma once

#include "timing/GateSequence.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Files the tests read and write, the gate sequence they time with, and the simulator program.

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline GateSequence MakeSequence(const QString& name, const QList<int>& gates, double distance)
{
    GateSequence sequence;
    sequence.SetName(name);
    sequence.SetTotalDistance(distance);
    for (int gate : gates)
        sequence.InsertGate(static_cast<unsigned>(sequence.GateCount()), gate);
    return sequence;
}

// "4 gates 30 m" (gates 1 to 4 in order over 30 m) from the test data, copied into `folder`, which
// is made if need be. Returns the copy's path, empty when it could not be made.
inline QString InstallSequence(const QString& folder)
{
    const QString copy = QDir(folder).filePath(QStringLiteral("4 gates 30 m.run"));
    const QString original = QStringLiteral(SWIFTLANE_TEST_DATA "/streams/sequences/4 gates 30 m.run");
    return QDir().mkpath(folder) && (QFileInfo::exists(copy) || QFile::copy(original, copy)) ? copy
                                                                                             : QString();
}

// The simulator program CTest names in SWIFTLANE_GATESIM; empty when it is not built, so the test
// can skip rather than fail.
inline QString GateSimProgram()
{
    const QString program = qEnvironmentVariable("SWIFTLANE_GATESIM");
    return QFileInfo(program).isExecutable() ? program : QString();
}
