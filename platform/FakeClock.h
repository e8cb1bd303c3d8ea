#pragma once

#include "platform/Clock.h"

namespace platform {

// A clock that only moves when told to. Installs itself for its lifetime.
class FakeClock : public Clock
{
public:
    explicit FakeClock(std::uint32_t startTick = 100000) : tick(startTick) { setClock(this); }
    ~FakeClock() override { setClock(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    std::uint32_t tickCount() const override { return tick; }
    std::int64_t highResCounter() const override { return counter; }
    std::int64_t highResFrequency() const override { return frequency; }

    // Moves the tick count (wrapping) and the high-resolution counter together.
    void advance(std::uint32_t ms)
    {
        tick += ms;
        counter += static_cast<std::int64_t>(ms) * frequency / 1000;
    }
    void setTick(std::uint32_t value) { tick = value; }

    std::uint32_t tick;
    std::int64_t counter = 0;
    std::int64_t frequency = 1000000;
};

} // namespace platform
