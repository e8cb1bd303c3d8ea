#pragma once

#include <cstdint>

namespace platform {

// The two clocks the application reads: the 32-bit millisecond tick count (compared with unsigned
// wrap-around arithmetic everywhere) and a monotonic high-resolution counter. Nothing else in the
// code reads a clock, so tests can install a FakeClock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::uint32_t tickCount() const = 0;
    virtual std::int64_t highResCounter() const = 0;
    virtual std::int64_t highResFrequency() const = 0; // counts per second
};

Clock& clock();
// Installs a replacement (not owned); nullptr restores the system clock.
void setClock(Clock* replacement);

inline std::uint32_t tickCount()
{
    return clock().tickCount();
}

} // namespace platform
