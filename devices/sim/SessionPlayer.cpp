#include "devices/sim/SessionPlayer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sim {
namespace {

// How often a player waiting for a reader looks again.
constexpr std::int64_t ReaderCheckMs = 20;

} // namespace

SessionPlayer::SessionPlayer(std::vector<session::Record> list, double rate, Output out, Plug plugFunction)
    : records(std::move(list)), speed(rate > 0 ? rate : 1.0), output(std::move(out)),
      plug(std::move(plugFunction))
{
    if (!records.empty())
        cursorUs = records.front().atUs;
}

void SessionPlayer::AdvanceTo(std::int64_t elapsedMs, bool reader)
{
    const std::int64_t stepMs = lastMs < 0 ? 0 : std::max<std::int64_t>(elapsedMs - lastMs, 0);
    lastMs = elapsedMs;
    if (waiting) {
        waiting = !reader;
        return; // the session resumes from where it stopped
    }
    cursorUs += static_cast<std::int64_t>(std::llround(stepMs * 1000 * (unplugged ? 1.0 : speed)));
    while (next < records.size() && records[next].atUs <= cursorUs) {
        const bool goOn = Play(records[next++]);
        if (!goOn)
            return;
    }
}

// False when playback must wait for a reader first.
bool SessionPlayer::Play(const session::Record& record)
{
    switch (record.kind) {
    case session::RecordKind::Read:
        if (output)
            output(record.data);
        return true;
    case session::RecordKind::Close:
        unplugged = true;
        if (plug)
            plug(false);
        return true;
    case session::RecordKind::Open:
        if (!unplugged)
            return true; // the first open: the adapter is already there
        unplugged = false;
        if (plug)
            plug(true);
        cursorUs = record.atUs;
        waiting = true;
        return false;
    }
    return true;
}

std::int64_t SessionPlayer::NextDueMs() const
{
    if (lastMs < 0 || waiting)
        return std::max<std::int64_t>(lastMs, 0) + (waiting && lastMs >= 0 ? ReaderCheckMs : 0);
    if (Finished())
        return std::numeric_limits<std::int64_t>::max();
    const double rate = unplugged ? 1.0 : speed;
    const double gapMs = static_cast<double>(records[next].atUs - cursorUs) / 1000.0 / rate;
    return lastMs + static_cast<std::int64_t>(std::ceil(std::max(gapMs, 0.0)));
}

} // namespace sim
