#pragma once

#include <cstdint>

namespace sim {

// The gate hardware's millisecond clock: a 16-bit counter that wraps from 65535 to 0. It starts at
// a chosen value so a session can cross the wrap early.
class DeviceClock
{
public:
    static constexpr std::uint32_t Period = 65536;

    explicit DeviceClock(std::uint32_t startValue = 0) : start(startValue % Period) {}

    std::uint32_t Start() const { return start; }
    // The reading `elapsedMs` after the clock started.
    std::uint32_t At(std::int64_t elapsedMs) const;
    // Milliseconds from `earlier` to `later`, taken modulo the period.
    static std::uint32_t Difference(std::uint32_t later, std::uint32_t earlier);

private:
    std::uint32_t start;
};

} // namespace sim
