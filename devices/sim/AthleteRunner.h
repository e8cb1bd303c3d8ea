#pragma once

#include "devices/sim/GateSimulator.h"

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace sim {

// Simulated athletes running through a gate order one after another, with realistic random
// splits and a pause between them. The true splits are known to the millisecond and reported
// when an athlete has passed the last gate.
class AthleteRunner
{
public:
    struct Settings
    {
        std::vector<int> order = {0, 1, 2, 3}; // wire gate numbers, at least two
        int count = 0;                         // 0: forever
        std::uint32_t pauseMs = 8000;          // from one athlete's finish to the next start
        std::int64_t firstStartMs = 3000;
        std::uint32_t seed = 1;
    };

    AthleteRunner(const Settings& settings, GateSimulator& simulator, GateSimulator::Log log = {});

    // Call after the simulator's AdvanceTo with the same time; schedules the next athlete.
    void AdvanceTo(std::int64_t elapsedMs);
    std::int64_t NextDueMs() const;
    bool Finished() const;

    // Segment times in milliseconds for `segments` segments from a standing start.
    static std::vector<std::uint32_t> RandomSplits(int segments, std::mt19937& random);

private:
    struct Athlete
    {
        int number = 0;
        std::int64_t finishMs = 0;
        std::vector<std::uint32_t> splits;
    };

    void StartNext(std::int64_t startMs);
    void Report(const Athlete& athlete) const;

    Settings settings;
    GateSimulator& simulator;
    GateSimulator::Log log;
    std::mt19937 random;
    std::optional<Athlete> current;
    int started = 0;
};

} // namespace sim
