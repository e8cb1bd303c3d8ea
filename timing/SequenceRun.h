#pragma once

#include "timing/GateSequence.h"
#include "timing/ReportFile.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class RunOwner;

struct GateTiming
{
    std::int32_t gateIndex = 0;
    double time = 0.0; // split from the previous gate, seconds
    double best = 0.0; // best split at this position since the sequence was loaded; 0 = none
};

// Times runs over the loaded gate sequence from the gates' own 16-bit millisecond clock.
class SequenceRun
{
public:
    SequenceRun();

    void SetOwner(RunOwner* runOwner) { owner = runOwner; }

    // The name the next StartRun takes. Changing it never renames a run already started.
    void SetSubjectName(const QString& name) { nextSubjectName = name; }
    QString NextSubjectName() const { return nextSubjectName; }
    // The subject of the run whose times the engine holds; empty before the first run.
    QString SubjectName() const { return subjectName; }
    void LoadSequence(const QString& path);
    void StartRun();
    void Abort();
    bool IsRunning() const { return running; }
    int CurrentGateIndex() const { return currentGateIndex; }

    void GateEvent(int gate, std::uint32_t timestamp, bool state);
    void Tick(std::uint32_t timestamp);

    // The hold-off in force: the loaded sequence's, unless set after the load (to re-time a session).
    int HoldOffMs() const { return holdOffMs; }
    void SetHoldOffMs(int ms) { holdOffMs = ms; }
    // Breaks of the awaited gate that the hold-off refused in the current or last run, by gate number;
    // gates without any are absent. Cleared when the next run starts.
    const std::map<int, int>& RejectedBreaks() const { return rejectedBreaks; }

    bool GetGateTimes(unsigned position, double& time, double& best) const;
    double TotalTime() const;
    QStringList BuildResultRow() const;

    // "suspect: Gate 2 passed again at 3.512 s" when, during the current or last run, a gate the
    // run had already passed was passed again on a course whose gates all differ: someone else is
    // on the course, and a lost sentence may have joined two athletes into one row. The times are
    // not changed; empty when nothing was seen.
    QString SuspectMark() const { return suspectMark; }

    int GateCount() const { return sequence.GateCount(); }
    std::optional<int> GateNumberAt(unsigned index) const { return sequence.GateNumberAt(index); }
    const GateSequence& Sequence() const { return sequence; }

    QString ReportFolder() const { return report.ReportFolder(); }
    QString ReportFileName() const { return report.ReportFileName(); }
    ReportFile& Report() { return report; }

private:
    void Reset();
    void SetGateTime(int position, double milliseconds);
    double CurrentSegmentTime() const;
    void FinishRun();
    void CheckPassedAgain(int gate, std::uint32_t timestamp);
    bool GatesAllDiffer() const;
    bool HeldOff(int gate, std::uint32_t timestamp) const;

    struct Passage
    {
        std::uint32_t timestamp = 0;
        std::int64_t counter = 0;
    };

    RunOwner* owner = nullptr;
    QString nextSubjectName;
    QString subjectName;
    GateSequence sequence;
    std::vector<GateTiming> timings;
    std::int32_t currentGateIndex = -1;
    bool running = false;
    std::uint32_t lastTimestamp = 0;
    std::uint32_t accumulatedMs = 0;
    std::int64_t lastCounter = 0;
    bool counterValid = false;
    // The event that opened the current segment, on both clocks.
    std::uint32_t segmentStartTimestamp = 0;
    std::int64_t segmentStartCounter = 0;
    int holdOffMs = GateSequence::DefaultHoldOffMs;
    std::map<int, Passage> lastPassage; // per gate number, in this run
    std::map<int, int> rejectedBreaks;
    ReportFile report;
    QString suspectMark;
};
