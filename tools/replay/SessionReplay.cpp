#include "tools/replay/SessionReplay.h"

#include "devices/CGateSystem.h"
#include "platform/FakeClock.h"
#include "platform/NoFtdiDevices.h"
#include "timing/RejectedBreaksText.h"

#include <QFile>

namespace {

// Where the replay's tick count starts; far from 0 so "more than 4 s since the last status" holds.
constexpr std::uint32_t TickBase = 100000;

} // namespace

SessionReplay::SessionReplay(const QString& sequencePath, std::optional<int> holdOffMs)
    : noDevices(std::make_unique<platform::NoFtdiDevices>()),
      clock(std::make_unique<platform::FakeClock>(TickBase))
{
    clock->frequency = 1000000; // the file's microseconds
    gates = std::make_unique<CGateSystem>(this);
    run.SetOwner(this);
    run.LoadSequence(sequencePath);
    if (holdOffMs)
        run.SetHoldOffMs(*holdOffMs);
    ArmNextRun();
}

SessionReplay::~SessionReplay() = default;

void SessionReplay::SetClock(std::int64_t atUs)
{
    // Recorded times never go back; if a damaged file says so, time stands still instead.
    clock->counter = std::max(clock->counter, atUs);
    clock->tick = TickBase + static_cast<std::uint32_t>(clock->counter / 1000);
}

void SessionReplay::Play(const std::vector<session::Record>& records)
{
    for (const session::Record& record : records) {
        if (record.kind != session::RecordKind::Read)
            continue;
        SetClock(record.atUs);
        gates->AssembleBytes(reinterpret_cast<const unsigned char*>(record.data.constData()),
                             static_cast<int>(record.data.size()));
    }
}

void SessionReplay::OnStatusTime(std::uint32_t deviceTime)
{
    run.Tick(deviceTime);
}

void SessionReplay::OnGateEvent(int gate, std::uint32_t deviceTime, bool state)
{
    run.GateEvent(gate, deviceTime, state);
    // Armed only once the engine has returned from the run it finished.
    if (runFinished)
        ArmNextRun();
}

void SessionReplay::OnRunFinished()
{
    ++finishedRuns;
    runFinished = true;
    const QString rejected = RejectedBreaksText(run.RejectedBreaks());
    if (!rejected.isEmpty())
        rejectedBreakNotes << run.SubjectName() + QStringLiteral(": ") + rejected;
}

void SessionReplay::ArmNextRun()
{
    runFinished = false;
    if (!SequenceLoaded())
        return;
    run.SetSubjectName(QStringLiteral("Run %1").arg(finishedRuns + 1));
    run.StartRun();
}

QByteArray SessionReplay::ReportText() const
{
    if (finishedRuns == 0)
        return {};
    QFile report(run.ReportFileName());
    return report.open(QIODevice::ReadOnly) ? report.readAll() : QByteArray();
}
