#pragma once

#include "timing/GateSequence.h"

#include <QFile>

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
