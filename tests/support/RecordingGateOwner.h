#pragma once

#include "devices/GateSystemOwner.h"

#include <QString>
#include <QStringList>

#include <vector>

// Records every call from the gate system, in order.
class RecordingGateOwner : public GateSystemOwner
{
public:
    enum Kind
    {
        StatusTime,
        GateStatus,
        GateEvent
    };
    struct Call
    {
        Kind kind;
        std::uint32_t deviceTime = 0;
        int gate = 0;
        bool state = false;
        bool gates[4] = {};
    };

    void OnStatusTime(std::uint32_t deviceTime) override { calls.push_back({StatusTime, deviceTime}); }
    void SetGateStatus(bool g0, bool g1, bool g2, bool g3) override
    {
        calls.push_back({GateStatus, 0, 0, false, {g0, g1, g2, g3}});
    }
    void OnGateEvent(int gate, std::uint32_t deviceTime, bool state) override
    {
        calls.push_back({GateEvent, deviceTime, gate, state});
    }

    // One readable line per call: "status 1234", "gates 1100", "event 2 102 1".
    QStringList describe() const
    {
        QStringList lines;
        for (const Call& call : calls) {
            if (call.kind == StatusTime)
                lines << QStringLiteral("status %1").arg(call.deviceTime);
            else if (call.kind == GateStatus)
                lines << QStringLiteral("gates %1%2%3%4")
                             .arg(call.gates[0])
                             .arg(call.gates[1])
                             .arg(call.gates[2])
                             .arg(call.gates[3]);
            else
                lines << QStringLiteral("event %1 %2 %3").arg(call.gate).arg(call.deviceTime).arg(call.state);
        }
        return lines;
    }

    void clear() { calls.clear(); }

    std::vector<Call> calls;
};
