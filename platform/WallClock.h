#pragma once

#include <QDateTime>

namespace platform {

// The date and time of day, for what is kept with a date (stored runs). Timing never reads it.
QDateTime utcNow();

// Makes utcNow() return `fixed` (tests); an invalid time restores the system's.
void setUtcNow(const QDateTime& fixed);

} // namespace platform
