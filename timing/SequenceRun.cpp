#include "timing/SequenceRun.h"

#include "common/Trace.h"
#include "platform/Clock.h"
#include "timing/RunOwner.h"

#include <algorithm>
#include <cmath>

namespace {

QString Fixed3(double value)
{
    return QString::number(value, 'f', 3);
}

constexpr std::uint32_t GateClockTurnMs = 65536;

// Milliseconds on the gates' 16-bit clock from one reading to a later one: the difference within one
// turn of the clock, plus the whole turns that bring the result closest to what the PC measured in
// the meantime. The two clocks drift apart by far less than half a turn over any segment, so the
// count is right however long the gates stayed silent.
std::uint32_t GateClockElapsed(std::uint32_t to, std::uint32_t from, double pcElapsedMs)
{
    const std::uint32_t withinTurn = (to - from) & (GateClockTurnMs - 1);
    const double turns = std::round((pcElapsedMs - withinTurn) / GateClockTurnMs);
    // Bounded so the sum stays within 32 bits (a segment of 49 days).
    const double boundedTurns = std::clamp(turns, 0.0, double(GateClockTurnMs - 1));
    return withinTurn + GateClockTurnMs * static_cast<std::uint32_t>(boundedTurns);
}

// A reading behind the last one taken, by the clock's own signed 16-bit measure: arrived late.
bool IsBehind(std::uint32_t timestamp, std::uint32_t last)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(timestamp - last)) < 0;
}

double CounterMsSince(std::int64_t start)
{
    const platform::Clock& clock = platform::clock();
    return static_cast<double>(clock.highResCounter() - start) * 1000.0 /
           static_cast<double>(clock.highResFrequency());
}

} // namespace

SequenceRun::SequenceRun()
{
    Reset();
}

void SequenceRun::Reset()
{
    qCDebug(swiftlaneTrace, "SR reset()");
    currentGateIndex = -1;
    sequence.Clear();
    timings.clear();
    running = false;
    accumulatedMs = 0;
    lastTimestamp = 0;
    counterValid = false;
    lastPassage.clear();
    rejectedBreaks.clear();
    suspectMark.clear();
    subjectName.clear(); // the times it named are gone
}

void SequenceRun::LoadSequence(const QString& path)
{
    Reset();
    sequence.Load(path); // a file that does not load leaves the cleared sequence
    holdOffMs = sequence.HoldOffMs();
    const int count = sequence.GateCount();
    timings.clear();
    for (int position = 0; position < count; ++position)
        timings.push_back({position, 0.0, 0.0});

    report.SetBaseName(QStringLiteral("Swiftlane_") + sequence.Name());
    QStringList header{QStringLiteral("Subject_Name"), QStringLiteral("Total_Time")};
    for (int k = 1; k < count; ++k)
        header.append(QStringLiteral("Checkpoint_") + QString::number(k));
    header << QStringLiteral("Distance") << QStringLiteral("Speed");
    report.SetHeader(header);
}

void SequenceRun::StartRun()
{
    qCDebug(swiftlaneTrace, "SR startrun");
    subjectName = nextSubjectName;
    running = true;
    currentGateIndex = 0;
    accumulatedMs = 0;
    suspectMark.clear();
    counterValid = false;
    for (GateTiming& timing : timings)
        timing.time = 0.0;
    lastPassage.clear();
    rejectedBreaks.clear();
}

void SequenceRun::Abort()
{
    qCDebug(swiftlaneTrace, "SR abort()");
    currentGateIndex = -1;
    suspectMark.clear();
    running = false;
    accumulatedMs = 0;
    lastTimestamp = 0;
    counterValid = false;
}

// Status reports only move the live time; the split is taken from the two events alone.
void SequenceRun::Tick(std::uint32_t timestamp)
{
    if (!running || currentGateIndex < 1 || IsBehind(timestamp, lastTimestamp))
        return;
    accumulatedMs = GateClockElapsed(timestamp, segmentStartTimestamp, CounterMsSince(segmentStartCounter));
    lastTimestamp = timestamp;
    lastCounter = platform::clock().highResCounter();
    counterValid = true;
}

void SequenceRun::GateEvent(int gate, std::uint32_t timestamp, bool /*state*/)
{
    qCDebug(swiftlaneTrace, "SR gateevent %d", gate);
    if (!running || currentGateIndex < 0 || currentGateIndex >= sequence.GateCount())
        return;
    // A second leg or an arm at the gate just passed is no passage anywhere on the course: it
    // neither closes a segment nor marks the run suspect.
    if (sequence.GateNumberAt(static_cast<unsigned>(currentGateIndex)) != gate) {
        if (!HeldOff(gate, timestamp))
            CheckPassedAgain(gate, timestamp);
        return;
    }
    if (HeldOff(gate, timestamp)) {
        qCDebug(swiftlaneTrace, "SR gate %d held off", gate);
        ++rejectedBreaks[gate];
        return;
    }
    qCDebug(swiftlaneTrace, "SR gate passed");
    const std::uint32_t splitMs =
        currentGateIndex >= 1
            ? GateClockElapsed(timestamp, segmentStartTimestamp, CounterMsSince(segmentStartCounter))
            : 0;
    SetGateTime(currentGateIndex, static_cast<double>(splitMs));
    lastCounter = platform::clock().highResCounter();
    counterValid = true;
    segmentStartCounter = lastCounter;
    segmentStartTimestamp = timestamp;
    lastPassage[gate] = {timestamp, lastCounter};
    ++currentGateIndex;
    lastTimestamp = timestamp;
    accumulatedMs = 0;
    if (currentGateIndex >= sequence.GateCount())
        FinishRun();
}

// Only the gate's own last passage counts: two gates placed close together still time each other.
bool SequenceRun::HeldOff(int gate, std::uint32_t timestamp) const
{
    const auto last = lastPassage.find(gate);
    if (holdOffMs <= 0 || last == lastPassage.end())
        return false;
    const Passage& passage = last->second;
    const std::uint32_t sinceMs =
        GateClockElapsed(timestamp, passage.timestamp, CounterMsSince(passage.counter));
    return sinceMs < static_cast<std::uint32_t>(holdOffMs);
}

bool SequenceRun::GatesAllDiffer() const
{
    std::vector<int> gates;
    for (int position = 0; position < sequence.GateCount(); ++position)
        gates.push_back(sequence.GateNumberAt(static_cast<unsigned>(position)).value_or(-1));
    std::sort(gates.begin(), gates.end());
    return std::adjacent_find(gates.begin(), gates.end()) == gates.end();
}

// Only the first such passage is kept: it is where the run went wrong. Its time t in the mark is
// seconds on the gates' clock since the run's start gate, three decimals, like every run time.
void SequenceRun::CheckPassedAgain(int gate, std::uint32_t timestamp)
{
    if (currentGateIndex < 1 || !suspectMark.isEmpty() || !GatesAllDiffer())
        return;
    bool passed = false;
    for (int position = 0; position < currentGateIndex; ++position)
        passed = passed || sequence.GateNumberAt(static_cast<unsigned>(position)) == gate;
    if (!passed)
        return;
    double closedMs = 0.0;
    for (int position = 1; position < currentGateIndex; ++position)
        closedMs += timings[static_cast<std::size_t>(position)].time * 1000.0;
    const double sinceSegmentMs =
        GateClockElapsed(timestamp, segmentStartTimestamp, CounterMsSince(segmentStartCounter));
    suspectMark = QStringLiteral("suspect: Gate %1 passed again at %2 s")
                      .arg(gate + 1)
                      .arg(Fixed3((closedMs + sinceSegmentMs) / 1000.0));
    qCDebug(swiftlaneTrace, "SR %s", qUtf8Printable(suspectMark));
}

void SequenceRun::SetGateTime(int position, double milliseconds)
{
    const double t = milliseconds / 1000.0;
    qCDebug(swiftlaneTrace, "SetGateTime Gate:%d  time:%f", position, t);
    if (position < 0 || static_cast<std::size_t>(position) >= timings.size())
        return;
    GateTiming& timing = timings[static_cast<std::size_t>(position)];
    timing.time = t;
    if (timing.best == 0.0 || t < timing.best) {
        qCDebug(swiftlaneTrace, "setting best time");
        timing.best = t;
    }
}

void SequenceRun::FinishRun()
{
    qCDebug(swiftlaneTrace, "SR finishrun");
    running = false;
    currentGateIndex = -1;
    report.AddEntry(BuildResultRow());
    if (owner)
        owner->OnRunFinished();
    counterValid = false;
}

double SequenceRun::CurrentSegmentTime() const
{
    const platform::Clock& clock = platform::clock();
    float interpolated = 0.0f;
    if (counterValid)
        interpolated = static_cast<float>(static_cast<double>(clock.highResCounter() - lastCounter) /
                                          static_cast<double>(clock.highResFrequency()));
    return accumulatedMs / 1000.0 + interpolated;
}

bool SequenceRun::GetGateTimes(unsigned position, double& time, double& best) const
{
    if (position >= timings.size())
        return false;
    const GateTiming& timing = timings[position];
    time = static_cast<int>(position) == currentGateIndex ? CurrentSegmentTime() : timing.time;
    best = timing.best;
    return true;
}

double SequenceRun::TotalTime() const
{
    double total = 0.0;
    for (const GateTiming& timing : timings)
        total += timing.time;
    return total + CurrentSegmentTime();
}

QStringList SequenceRun::BuildResultRow() const
{
    double closedSplits = 0.0;
    for (std::size_t k = 1; k < timings.size(); ++k)
        closedSplits += timings[k].time;
    const double distance = sequence.TotalDistance();
    // Until the finish, the closed splits cover only part of the distance.
    const double speed = (running || distance == 0.0 || closedSplits == 0.0) ? 0.0 : distance / closedSplits;

    QStringList row;
    row.reserve(static_cast<qsizetype>(timings.size()) + 3);
    row.append(subjectName);
    row.append(Fixed3(running ? TotalTime() : closedSplits));
    for (std::size_t k = 1; k < timings.size(); ++k)
        row.append(Fixed3(timings[k].time));
    row.append(Fixed3(distance));
    row.append(Fixed3(speed));
    return row;
}
