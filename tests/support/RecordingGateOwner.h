#pragma once

#include "devices/GateSystemOwner.h"

#include <QStringList>

// Records every call from the gate system in order, one readable line each: "status 1234",
// "gates 1100" (gates 0 to 3), "event 2 102 1" (gate, device time, state).
class RecordingGateOwner : public GateSystemOwner
{
public:
    void OnStatusTime(std::uint32_t deviceTime) override
    {
        calls << QStringLiteral("status %1").arg(deviceTime);
    }
    void SetGateStatus(bool g0, bool g1, bool g2, bool g3) override
    {
        calls << QStringLiteral("gates %1%2%3%4").arg(g0).arg(g1).arg(g2).arg(g3);
    }
    void OnGateEvent(int gate, std::uint32_t deviceTime, bool state) override
    {
        calls << QStringLiteral("event %1 %2 %3").arg(gate).arg(deviceTime).arg(state);
    }

    QStringList calls;
};
