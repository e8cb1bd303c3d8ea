#pragma once

#include <cstdint>

// Receiver of decoded gate sentences (the controller; a recorder in tests and benchmarks).
class GateSystemOwner
{
public:
    virtual ~GateSystemOwner() = default;
    virtual void OnStatusTime(std::uint32_t deviceTime) = 0;
    virtual void SetGateStatus(bool g0, bool g1, bool g2, bool g3) = 0;
    virtual void OnGateEvent(int gate, std::uint32_t deviceTime, bool state) = 0;
};
