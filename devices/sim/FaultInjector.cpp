#include "devices/sim/FaultInjector.h"

namespace sim {

FaultInjector::FaultInjector(const Settings& value) : settings(value), random(value.seed) {}

bool FaultInjector::Chance(double fraction)
{
    if (fraction <= 0.0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random) < fraction;
}

QByteArray FaultInjector::Apply(const QByteArray& bytes)
{
    if (!IsActive())
        return bytes;
    QByteArray result;
    result.reserve(bytes.size());
    for (const char byte : bytes) {
        if (Chance(settings.dropFraction)) {
            ++dropped;
            continue;
        }
        if (Chance(settings.corruptFraction)) {
            // XOR with 1..255 always yields a different byte.
            const int flip = std::uniform_int_distribution<int>(1, 255)(random);
            result.append(static_cast<char>(static_cast<unsigned char>(byte) ^ flip));
            ++corrupted;
            continue;
        }
        result.append(byte);
    }
    return result;
}

} // namespace sim
