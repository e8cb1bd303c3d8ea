#include "platform/WallClock.h"

namespace platform {

namespace {
QDateTime fixedNow;
}

QDateTime utcNow()
{
    return fixedNow.isValid() ? fixedNow : QDateTime::currentDateTimeUtc();
}

void setUtcNow(const QDateTime& fixed)
{
    fixedNow = fixed.toUTC();
}

} // namespace platform
