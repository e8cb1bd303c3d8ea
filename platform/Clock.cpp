#include "platform/Clock.h"

#include <chrono>

namespace platform {
namespace {

class SystemClock : public Clock
{
public:
    std::uint32_t tickCount() const override
    {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<std::uint32_t>(ms.count());
    }
    std::int64_t highResCounter() const override
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    std::int64_t highResFrequency() const override { return 1000000000; }
};

SystemClock systemClock;
Clock* current = &systemClock;

} // namespace

Clock& clock()
{
    return *current;
}

void setClock(Clock* replacement)
{
    current = replacement ? replacement : &systemClock;
}

} // namespace platform
