#pragma once

#include "devices/session/SessionFormat.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <vector>

namespace sim {

// Plays a recorded gate session back as the adapter sent it: each read's bytes as one chunk, at
// the recorded gaps divided by the speed, and the adapter unplugged where the link closed. Time
// with the adapter unplugged passes at the recorded pace whatever the speed, so the application
// reconnects at the same point of the session. Playback waits while nobody reads the adapter (at
// the start and after each replug), since a pseudo-terminal without a reader drops what it gets.
class SessionPlayer
{
public:
    using Output = std::function<void(const QByteArray&)>;
    using Plug = std::function<void(bool plugged)>;

    SessionPlayer(std::vector<session::Record> records, double speed, Output output, Plug plug);

    // Plays everything due up to `elapsedMs`; `reader` tells whether the adapter is read now.
    void AdvanceTo(std::int64_t elapsedMs, bool reader);
    // The next moment at which AdvanceTo has something to do.
    std::int64_t NextDueMs() const;
    bool Finished() const { return next >= records.size(); }
    std::int64_t SessionTimeUs() const { return cursorUs; }

private:
    bool Play(const session::Record& record);

    std::vector<session::Record> records;
    double speed;
    Output output;
    Plug plug;
    std::size_t next = 0;
    std::int64_t cursorUs = 0; // how far into the recorded session playback has come
    std::int64_t lastMs = -1;
    bool unplugged = false;
    bool waiting = true; // for a reader
};

} // namespace sim
