#include "devices/sim/AthleteRunner.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace sim {

AthleteRunner::AthleteRunner(const Settings& value, GateSimulator& sim, GateSimulator::Log logger)
    : settings(value), simulator(sim), log(std::move(logger)), random(value.seed)
{
    if (settings.order.size() >= 2)
        StartNext(settings.firstStartMs);
}

std::vector<std::uint32_t> AthleteRunner::RandomSplits(int segments, std::mt19937& random)
{
    // Roughly 10 m segments: the first one from a standing start is the slowest, then the athlete
    // settles near top speed with some variation.
    std::vector<std::uint32_t> splits;
    std::uniform_int_distribution<std::uint32_t> first(1750, 2250);
    std::uniform_int_distribution<std::uint32_t> flying(1050, 1450);
    for (int i = 0; i < segments; ++i)
        splits.push_back(i == 0 ? first(random) : flying(random));
    return splits;
}

void AthleteRunner::StartNext(std::int64_t startMs)
{
    if (settings.count > 0 && started >= settings.count)
        return;
    Athlete athlete;
    athlete.number = ++started;
    athlete.splits = RandomSplits(static_cast<int>(settings.order.size()) - 1, random);
    const std::int64_t start = std::max(startMs, simulator.ElapsedMs()); // never in the past
    std::int64_t at = start;
    simulator.SchedulePassage(at, settings.order.front());
    for (std::size_t i = 0; i < athlete.splits.size(); ++i) {
        at += athlete.splits[i];
        simulator.SchedulePassage(at, settings.order[i + 1]);
    }
    athlete.finishMs = at;
    if (log)
        log(QStringLiteral("Athlete %1 is next, starting at device time %2")
                .arg(athlete.number)
                .arg(simulator.DeviceTimeAt(start)));
    current = athlete;
}

void AthleteRunner::AdvanceTo(std::int64_t elapsedMs)
{
    if (!current || elapsedMs < current->finishMs)
        return;
    Report(*current);
    const std::int64_t nextStart = current->finishMs + settings.pauseMs;
    current.reset();
    StartNext(nextStart);
}

std::int64_t AthleteRunner::NextDueMs() const
{
    return current ? current->finishMs : std::numeric_limits<std::int64_t>::max();
}

bool AthleteRunner::Finished() const
{
    return !current;
}

void AthleteRunner::Report(const Athlete& athlete) const
{
    if (!log)
        return;
    QStringList splits;
    std::uint32_t total = 0;
    for (const std::uint32_t split : athlete.splits) {
        splits << QString::number(split / 1000.0, 'f', 3);
        total += split;
    }
    log(QStringLiteral("Athlete %1 true splits: %2 total %3 s")
            .arg(athlete.number)
            .arg(splits.join(QLatin1Char(' ')))
            .arg(QString::number(total / 1000.0, 'f', 3)));
}

} // namespace sim
