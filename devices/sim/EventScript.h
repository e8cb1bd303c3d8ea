#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

// A file of timed gate passages, one a line: milliseconds from the start of playback, the gate
// as the operator numbers it (1 = master) and optionally the state (default 1). Blank lines and
// lines starting with "#" are skipped. Example: "1500 1" then "3372 2 1".
struct ScriptedPassage
{
    std::int64_t atMs = 0;
    int gate = 0; // wire number, 0 = master
    bool state = true;
};

struct EventScript
{
    std::vector<ScriptedPassage> passages; // in time order
    QString error;                         // empty when the whole text was read
};

EventScript ParseEventScript(const QString& text);
std::optional<EventScript> LoadEventScript(const QString& path, QString* error);

} // namespace sim
