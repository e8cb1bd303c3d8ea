#include "devices/sim/DeviceClock.h"

namespace sim {

std::uint32_t DeviceClock::At(std::int64_t elapsedMs) const
{
    const std::int64_t period = Period;
    const std::int64_t reading = (static_cast<std::int64_t>(start) + elapsedMs % period + period) % period;
    return static_cast<std::uint32_t>(reading);
}

std::uint32_t DeviceClock::Difference(std::uint32_t later, std::uint32_t earlier)
{
    return (later - earlier) % Period;
}

} // namespace sim
