#include "tools/gatesim/SimSession.h"

#include "platform/Clock.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <poll.h>

namespace {

// Longest sleep, so reader changes and stop requests are noticed promptly.
constexpr std::int64_t MaxWaitMs = 100;
// After the last record, time for the application to read it before the adapter goes.
constexpr std::int64_t ReplayLingerMs = 2000;

QString GateList(const sim::GateSimSettings& settings)
{
    QStringList gates;
    for (int gate = 0; gate < settings.gateCount; ++gate)
        gates << QString::number(gate + 1) +
                     (settings.notReady[static_cast<std::size_t>(gate)] ? "(not ready)" : "");
    return gates.join(QLatin1Char(' '));
}

} // namespace

SimSession::SimSession(const SimOptions& value)
    : options(value), adapter(value.adapterName),
      gates(
          value.gates, [this](const QByteArray& bytes) { Send(bytes); },
          [this](const QString& line) { Print(line); })
{
}

std::int64_t SimSession::NowMs() const
{
    const platform::Clock& clock = platform::clock();
    const std::int64_t delta = clock.highResCounter() - startCounter;
    const std::int64_t frequency = clock.highResFrequency();
    // Whole seconds first: delta * 1000 would overflow after about 106 days of nanoseconds.
    return delta / frequency * 1000 + delta % frequency * 1000 / frequency;
}

void SimSession::Print(const QString& line) const
{
    std::printf("[%9.3f] %s\n", static_cast<double>(NowMs()) / 1000.0, qPrintable(line));
    std::fflush(stdout);
}

bool SimSession::Start()
{
    startCounter = platform::clock().highResCounter();
    QString error;
    if (!adapter.Plug(&error)) {
        std::fprintf(stderr, "swiftlane-gatesim: %s\n", qPrintable(error));
        return false;
    }
    Print(QStringLiteral("Virtual gate adapter %1 at %2 -> %3")
              .arg(adapter.Name(), adapter.LinkPath(), adapter.DevicePath()));
    Print(QStringLiteral("Gates %1; status every %2 ms; device clock starts at %3")
              .arg(GateList(options.gates))
              .arg(options.gates.statusIntervalMs)
              .arg(options.gates.clockStart));
    if (!options.scriptPath.isEmpty()) {
        for (const auto& passage : options.script)
            gates.SchedulePassage(passage.atMs, passage.gate, passage.state);
        Print(QStringLiteral("Playing %1 passage(s) from %2")
                  .arg(options.script.size())
                  .arg(options.scriptPath));
    }
    if (options.autoAthletes) {
        athletes = std::make_unique<sim::AthleteRunner>(options.athletes, gates,
                                                        [this](const QString& line) { Print(line); });
    }
    if (!options.replay.empty())
        StartReplay();
    if (!StartRfidReader())
        return false;
    if (keyboard.IsActive())
        Print(QStringLiteral("Keys 1 to 4 break the beam of gate 1 to 4; q or Ctrl-C quits"));
    return true;
}

bool SimSession::StartRfidReader()
{
    if (options.rfidTags.isEmpty())
        return true;
    rfidReader = std::make_unique<sim::RfidReaderSim>(options.adapterName, options.rfidTags,
                                                      [this](const QString& line) { Print(line); });
    QString error;
    if (!rfidReader->Plug(&error)) {
        std::fprintf(stderr, "swiftlane-gatesim: RFID reader: %s\n", qPrintable(error));
        adapter.Unplug();
        return false;
    }
    Print(
        QStringLiteral("RFID reader at %1 (linked as %2); answers \"r\" with %3")
            .arg(rfidReader->DevicePath(), rfidReader->LinkPath(), options.rfidTags.join(QLatin1Char(','))));
    return true;
}

int SimSession::Run(const volatile std::sig_atomic_t& stopRequested)
{
    if (!Start())
        return 1;
    while (!stopRequested && !quit) {
        const std::int64_t now = NowMs();
        Step(now);
        if (options.exitAfterMs >= 0 && now >= options.exitAfterMs)
            break;
        const int wait = static_cast<int>(std::clamp<std::int64_t>(NextDue(now) - now, 0, MaxWaitMs));
        if (Wait(wait) > 0)
            HandleKeys();
    }
    Finish();
    return 0;
}

// Until something is due, a key arrives or the RFID reader's terminal has a scan request. Returns > 0
// when keys are waiting.
int SimSession::Wait(int timeoutMs)
{
    pollfd waitFor[2] = {{keyboard.Fd(), POLLIN, 0}, {rfidReader ? rfidReader->WaitFd() : -1, POLLIN, 0}};
    if (!keyboard.IsActive())
        waitFor[0].fd = -1; // poll() skips negative descriptors
    if (::poll(waitFor, 2, timeoutMs) <= 0)
        return 0;
    return waitFor[0].revents & POLLIN;
}

// The links go first: printing may fail or block once whoever reads our output has gone.
void SimSession::Finish()
{
    adapter.Unplug();
    if (rfidReader)
        rfidReader->Unplug();
    Print(QStringLiteral("Stopped; removed %1").arg(adapter.LinkPath()));
    const sim::FaultInjector& faults = gates.Faults();
    if (faults.IsActive())
        Print(QStringLiteral("Corrupted %1 and dropped %2 byte(s)")
                  .arg(faults.CorruptedCount())
                  .arg(faults.DroppedCount()));
}

// A reader that stops reading fills the terminal's buffer; what does not fit is lost, and the
// operator should know why sentences went missing. Logged once per overflow, not per sentence.
void SimSession::Send(const QByteArray& bytes)
{
    const bool reader = adapter.HasReader();
    const int taken = adapter.Write(bytes);
    if (!reader)
        return; // nobody listens: discarding is intended
    if (taken < bytes.size()) {
        if (cutBytes == 0)
            Print(QStringLiteral(
                "The terminal's buffer is full: the reader does not keep up, sentences are cut"));
        cutBytes += bytes.size() - taken;
    } else if (cutBytes > 0) {
        Print(QStringLiteral("The reader keeps up again; %1 byte(s) were lost").arg(cutBytes));
        cutBytes = 0;
    }
}

void SimSession::StartReplay()
{
    player = std::make_unique<sim::SessionPlayer>(
        options.replay, options.replaySpeed, [this](const QByteArray& bytes) { Send(bytes); },
        [this](bool plugged) { PlugForReplay(plugged); });
    Print(QStringLiteral("Replaying %1 record(s) of %2 at speed %3, once Swiftlane reads the adapter")
              .arg(options.replay.size())
              .arg(options.replayPath)
              .arg(options.replaySpeed));
}

void SimSession::PlugForReplay(bool plugged)
{
    const double at = static_cast<double>(player->SessionTimeUs()) / 1e6;
    if (!plugged) {
        adapter.Unplug();
        Print(QStringLiteral("Unplugged, as at %1 s of the session").arg(at, 0, 'f', 3));
        return;
    }
    QString error;
    if (!adapter.Plug(&error)) {
        Print(QStringLiteral("Cannot plug in again: %1").arg(error));
        quit = true;
        return;
    }
    Print(QStringLiteral("Plugged in again, as at %1 s of the session").arg(at, 0, 'f', 3));
}

void SimSession::Step(std::int64_t now)
{
    CheckUnplug(now);
    gates.AdvanceTo(now);
    if (athletes)
        athletes->AdvanceTo(now);
    if (player) {
        player->AdvanceTo(now, adapter.HasReader());
        if (player->Finished() && replayDoneMs < 0) {
            replayDoneMs = now;
            Print(QStringLiteral("Replay finished"));
        }
        if (replayDoneMs >= 0 && now >= replayDoneMs + ReplayLingerMs)
            quit = true;
    }
    if (rfidReader)
        rfidReader->Poll();
    CheckReader();
}

std::int64_t SimSession::NextDue(std::int64_t now) const
{
    std::int64_t next = gates.NextDueMs();
    if (athletes)
        next = std::min(next, athletes->NextDueMs());
    if (player)
        next = std::min(next, replayDoneMs >= 0 ? replayDoneMs + ReplayLingerMs : player->NextDueMs());
    if (options.unplugAfterMs >= 0 && !unplugDone)
        next =
            std::min(next, unplugged ? options.unplugAfterMs + options.unplugForMs : options.unplugAfterMs);
    if (options.exitAfterMs >= 0)
        next = std::min(next, options.exitAfterMs);
    return std::max(next, now);
}

void SimSession::HandleKeys()
{
    for (int key = keyboard.ReadKey(); key >= 0; key = keyboard.ReadKey()) {
        if (key >= '1' && key <= '4') {
            gates.AdvanceTo(NowMs());
            gates.Passage(key - '1');
        } else if (key == 'q' || key == 'Q') {
            quit = true;
        }
    }
}

void SimSession::CheckUnplug(std::int64_t now)
{
    if (options.unplugAfterMs < 0 || unplugDone)
        return;
    if (!unplugged && now >= options.unplugAfterMs) {
        adapter.Unplug();
        unplugged = true;
        Print(QStringLiteral("Unplugged for %1 s").arg(options.unplugForMs / 1000.0, 0, 'f', 1));
    }
    if (unplugged && now >= options.unplugAfterMs + options.unplugForMs) {
        QString error;
        if (!adapter.Plug(&error)) {
            Print(QStringLiteral("Cannot plug in again: %1").arg(error));
            quit = true;
            return;
        }
        unplugged = false;
        unplugDone = true;
        Print(QStringLiteral("Plugged in again at %1").arg(adapter.DevicePath()));
    }
}

void SimSession::CheckReader()
{
    const bool reader = adapter.HasReader();
    if (reader == hadReader)
        return;
    hadReader = reader;
    Print(reader ? QStringLiteral("Swiftlane opened the adapter")
                 : QStringLiteral("Nobody reads the adapter"));
}
