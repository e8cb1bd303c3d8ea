#pragma once

#include "devices/GateSystemOwner.h"
#include "devices/session/SessionFormat.h"
#include "timing/RunOwner.h"
#include "timing/SequenceRun.h"

#include <QByteArray>
#include <QString>

#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class CGateSystem;
namespace platform {
class FakeClock;
class FtdiDevices;
} // namespace platform

// Times a recorded gate session again, without a window: the recorded reads go through the gate
// system's sentence assembly and decoding into the run engine, at the recorded PC times. A run is
// armed at the start and again after each finished run, as the operator would. Finished runs are
// written by the run engine's own report file, in the data folder. The sequence's hold-off applies
// unless `holdOffMs` gives another, so a session can be re-timed with another value.
class SessionReplay : public GateSystemOwner, public RunOwner
{
public:
    explicit SessionReplay(const QString& sequencePath, std::optional<int> holdOffMs = std::nullopt);
    ~SessionReplay() override;
    SessionReplay(const SessionReplay&) = delete;
    SessionReplay& operator=(const SessionReplay&) = delete;

    bool SequenceLoaded() const { return run.GateCount() > 0; }
    void Play(const std::vector<session::Record>& records);

    int FinishedRuns() const { return finishedRuns; }
    // The report file's text: its header and one line per finished run; empty when none finished.
    QByteArray ReportText() const;
    // One line per finished run whose breaks the hold-off refused: "Run 2: 1 extra break at Gate 1 ignored".
    const QStringList& RejectedBreakNotes() const { return rejectedBreakNotes; }
    int HoldOffMs() const { return run.HoldOffMs(); }

    void OnStatusTime(std::uint32_t deviceTime) override;
    void SetGateStatus(bool, bool, bool, bool) override {}
    void OnGateEvent(int gate, std::uint32_t deviceTime, bool state) override;
    void OnRunFinished() override;

private:
    void ArmNextRun();
    void SetClock(std::int64_t atUs);

    // The gate system's own link must find no device: the replay's bytes come from the file.
    std::unique_ptr<platform::FtdiDevices> noDevices;
    std::unique_ptr<platform::FakeClock> clock;
    std::unique_ptr<CGateSystem> gates;
    SequenceRun run;
    QStringList rejectedBreakNotes;
    int finishedRuns = 0;
    bool runFinished = false;
};
