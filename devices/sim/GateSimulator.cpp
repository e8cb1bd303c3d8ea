#include "devices/sim/GateSimulator.h"

#include "devices/GateSentence.h"

#include <algorithm>
#include <limits>

namespace sim {

GateSimulator::GateSimulator(const GateSimSettings& value, Output out, Log logger)
    : settings(value), output(std::move(out)), log(std::move(logger)), clock(value.clockStart),
      faults(value.faults), nextBurstMs(value.burstMs)
{
    settings.gateCount = std::clamp(settings.gateCount, 0, 4);
}

std::int64_t GateSimulator::NextDueMs() const
{
    std::int64_t next = std::numeric_limits<std::int64_t>::max();
    if (settings.statusIntervalMs > 0)
        next = nextStatusMs;
    if (!scheduled.empty())
        next = std::min(next, scheduled.begin()->first);
    if (!held.isEmpty())
        next = std::min(next, nextBurstMs);
    return std::max(next, elapsed);
}

void GateSimulator::AdvanceTo(std::int64_t elapsedMs)
{
    for (;;) {
        const bool statusDue = settings.statusIntervalMs > 0 && nextStatusMs <= elapsedMs;
        const bool passageDue = !scheduled.empty() && scheduled.begin()->first <= elapsedMs;
        if (!statusDue && !passageDue)
            break;
        if (statusDue && (!passageDue || nextStatusMs <= scheduled.begin()->first)) {
            elapsed = std::max(elapsed, nextStatusMs);
            EmitStatus(elapsed);
            nextStatusMs += settings.statusIntervalMs;
        } else {
            const auto first = scheduled.begin();
            elapsed = std::max(elapsed, first->first);
            const PendingPassage passage = first->second;
            scheduled.erase(first);
            EmitPassage(elapsed, passage);
        }
    }
    elapsed = std::max(elapsed, elapsedMs);
    if (!held.isEmpty() && elapsed >= nextBurstMs)
        FlushBurst();
}

void GateSimulator::Passage(int gate, bool state)
{
    EmitPassage(elapsed, {gate, state});
}

void GateSimulator::SchedulePassage(std::int64_t atMs, int gate, bool state)
{
    scheduled.emplace(std::max(atMs, elapsed), PendingPassage{gate, state});
}

void GateSimulator::EmitStatus(std::int64_t atMs)
{
    bool flags[4] = {};
    for (int gate = 0; gate < settings.gateCount; ++gate)
        flags[gate] = !settings.notReady[static_cast<std::size_t>(gate)];
    Send(FormatStatusSentence(clock.At(atMs), flags));
}

void GateSimulator::EmitPassage(std::int64_t atMs, const PendingPassage& passage)
{
    const std::uint32_t deviceTime = clock.At(atMs);
    if (log)
        log(QStringLiteral("Gate %1 passage at device time %2").arg(passage.gate + 1).arg(deviceTime));
    Send(FormatEventSentence(deviceTime, passage.gate, passage.state));
}

void GateSimulator::Send(const std::string& sentence)
{
    QByteArray bytes = QByteArray::fromStdString(sentence);
    bytes.append("\r\n");
    bytes = faults.Apply(bytes);
    if (settings.burstMs == 0) {
        if (output)
            output(bytes);
        return;
    }
    if (held.isEmpty()) {
        while (nextBurstMs <= elapsed)
            nextBurstMs += settings.burstMs;
    }
    held.append(bytes);
}

void GateSimulator::FlushBurst()
{
    if (output)
        output(held);
    held.clear();
    while (nextBurstMs <= elapsed)
        nextBurstMs += settings.burstMs;
}

} // namespace sim
