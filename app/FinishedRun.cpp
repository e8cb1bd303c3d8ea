#include "app/FinishedRun.h"

#include "timing/SequenceRun.h"

#include <cmath>

RunRecord FinishedRunRecord(const SequenceRun& run, bool simulated, const QDateTime& finishedUtc)
{
    RunRecord record;
    record.athlete = run.SubjectName();
    const GateSequence& sequence = run.Sequence();
    record.course.name = sequence.Name();
    record.course.distanceMetres = sequence.TotalDistance();
    for (int i = 0; i < sequence.GateCount(); ++i)
        record.course.gates.push_back(sequence.GateNumberAt(static_cast<unsigned>(i)).value_or(-1));
    // The engine keeps splits as seconds counted from whole milliseconds of the gates' clock.
    for (unsigned position = 1; position < static_cast<unsigned>(sequence.GateCount()); ++position) {
        double time = 0.0;
        double best = 0.0;
        run.GetGateTimes(position, time, best);
        const std::int64_t ms = std::llround(time * 1000.0);
        record.splits.push_back({record.course.gates[position], ms});
        record.totalMs += ms;
    }
    if (record.totalMs > 0 && record.course.distanceMetres > 0.0)
        record.speed = record.course.distanceMetres / (static_cast<double>(record.totalMs) / 1000.0);
    record.startUtc = finishedUtc.addMSecs(-record.totalMs);
    record.utcOffsetSeconds = finishedUtc.toLocalTime().offsetFromUtc();
    record.simulated = simulated;
    for (const auto& [gate, count] : run.RejectedBreaks())
        record.extraBreaks += count;
    record.suspectMark = run.SuspectMark();
    return record;
}
