#pragma once

#include <QByteArray>

#include <cstdint>
#include <random>

namespace sim {

// Damages a byte stream the way a noisy line does: some bytes changed, some lost.
class FaultInjector
{
public:
    struct Settings
    {
        double corruptFraction = 0.0; // share of bytes replaced by a different byte
        double dropFraction = 0.0;    // share of bytes left out
        std::uint32_t seed = 1;
    };

    explicit FaultInjector(const Settings& settings);

    bool IsActive() const { return settings.corruptFraction > 0.0 || settings.dropFraction > 0.0; }
    QByteArray Apply(const QByteArray& bytes);

    long long CorruptedCount() const { return corrupted; }
    long long DroppedCount() const { return dropped; }

private:
    bool Chance(double fraction);

    Settings settings;
    std::mt19937 random;
    long long corrupted = 0;
    long long dropped = 0;
};

} // namespace sim
