#pragma once

#include <QString>

#include <map>

// What the operator reads about breaks the hold-off refused in a run, from counts by gate number:
// "2 extra breaks at Gate 3 ignored", "1 extra break at Gate 1 ignored", several gates joined with
// "; " in gate order. Empty when there were none.
QString RejectedBreaksText(const std::map<int, int>& rejectedByGate);
