#pragma once

#include "devices/sim/AthleteRunner.h"
#include "devices/sim/EventScript.h"
#include "devices/sim/GateSimulator.h"
#include "devices/sim/PtyAdapter.h"
#include "devices/sim/RfidReaderSim.h"
#include "devices/sim/SessionPlayer.h"
#include "tools/gatesim/Keyboard.h"
#include "tools/gatesim/SimOptions.h"

#include <csignal>
#include <memory>

// One run of the simulator program: the adapter, the gates, the athletes or script, the
// keyboard, and the unplug fault, driven by the real clock until stopped.
class SimSession
{
public:
    explicit SimSession(const SimOptions& options);

    // Returns the process exit code.
    int Run(const volatile std::sig_atomic_t& stopRequested);

private:
    bool Start();
    bool StartRfidReader();
    int Wait(int timeoutMs);
    void Step(std::int64_t now);
    void HandleKeys();
    void CheckUnplug(std::int64_t now);
    void CheckReader();
    void StartReplay();
    void PlugForReplay(bool plugged);
    void Send(const QByteArray& bytes);
    void Finish();
    std::int64_t NextDue(std::int64_t now) const;
    std::int64_t NowMs() const;
    void Print(const QString& line) const;

    SimOptions options;
    sim::PtyAdapter adapter;
    sim::GateSimulator gates;
    std::unique_ptr<sim::AthleteRunner> athletes;
    std::unique_ptr<sim::SessionPlayer> player;
    std::int64_t replayDoneMs = -1;
    std::unique_ptr<sim::RfidReaderSim> rfidReader;
    Keyboard keyboard;
    std::int64_t startCounter = 0;
    bool unplugged = false;
    bool unplugDone = false;
    bool hadReader = false;
    long long cutBytes = 0; // lost since the terminal's buffer last overflowed; 0: all got through
    bool quit = false;
};
