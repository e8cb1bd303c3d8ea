#pragma once

#include "devices/sim/DeviceClock.h"
#include "devices/sim/FaultInjector.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>

namespace sim {

struct GateSimSettings
{
    int gateCount = 4;                    // gates 0 .. gateCount-1 are present
    std::array<bool, 4> notReady = {};    // present gates whose flag reads 0
    std::uint32_t statusIntervalMs = 100; // 0: no status sentences
    std::uint32_t clockStart = 0;         // device clock reading at elapsed time 0
    std::uint32_t burstMs = 0;            // 0: send at once; otherwise hold bytes and send them together
    FaultInjector::Settings faults;
};

// The gate hardware's side of the link: status sentences at a fixed interval and gate passages,
// each stamped with the device clock at its own moment and sent in time order. Time is given from
// outside (milliseconds since the start), so a program drives it from a real clock and a test
// steps it exactly.
class GateSimulator
{
public:
    using Output = std::function<void(const QByteArray&)>;
    using Log = std::function<void(const QString&)>;

    GateSimulator(const GateSimSettings& settings, Output output, Log log = {});

    // Sends everything due up to `elapsedMs`; time never goes back.
    void AdvanceTo(std::int64_t elapsedMs);
    // The next moment at which AdvanceTo has something to send.
    std::int64_t NextDueMs() const;
    std::int64_t ElapsedMs() const { return elapsed; }
    std::uint32_t DeviceTime() const { return clock.At(elapsed); }
    std::uint32_t DeviceTimeAt(std::int64_t elapsedMs) const { return clock.At(elapsedMs); }

    // A passage of gate `gate` (wire number, 0 = master) at the current time, sent at once.
    void Passage(int gate, bool state = true);
    // A passage at a later moment; sent by the AdvanceTo that reaches it.
    void SchedulePassage(std::int64_t atMs, int gate, bool state = true);

    const FaultInjector& Faults() const { return faults; }

private:
    struct PendingPassage
    {
        int gate;
        bool state;
    };

    void EmitStatus(std::int64_t atMs);
    void EmitPassage(std::int64_t atMs, const PendingPassage& passage);
    void Send(const std::string& sentence);
    void FlushBurst();

    GateSimSettings settings;
    Output output;
    Log log;
    DeviceClock clock;
    FaultInjector faults;
    std::int64_t elapsed = 0;
    std::int64_t nextStatusMs = 0;
    std::int64_t nextBurstMs = 0;
    QByteArray held;
    std::multimap<std::int64_t, PendingPassage> scheduled;
};

} // namespace sim
