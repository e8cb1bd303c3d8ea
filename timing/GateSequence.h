#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Which gates a subject passes, in which order, over what distance; stored as one ".run" file.
class GateSequence
{
public:
    // Far beyond any course, yet small enough that a listing, the strip and every key stay quick.
    static constexpr int MaxGates = 100;
    static constexpr int MaxNameLength = 200;
    // A file of the largest sequence is a few kilobytes; a bigger one is not even parsed.
    static constexpr qint64 MaxFileBytes = 1 << 20;
    // A break of the awaited gate this soon after that gate's last passage is not a passage: a
    // swinging arm, a second leg or the beam coming back. 0 switches the guard off.
    static constexpr int DefaultHoldOffMs = 300;
    static constexpr int MaxHoldOffMs = 5000;

    GateSequence() { Clear(); }

    void Clear();

    QString Name() const { return name; }
    void SetName(const QString& value) { name = value; }
    double TotalDistance() const { return totalDistance; }
    void SetTotalDistance(double metres) { totalDistance = metres; }
    int HoldOffMs() const { return holdOffMs; }
    void SetHoldOffMs(int ms) { holdOffMs = ms; }

    int GateCount() const { return static_cast<int>(gates.size()); }
    std::optional<int> GateNumberAt(unsigned index) const;
    // Inserts before `index`; appends and returns false when index >= GateCount().
    bool InsertGate(unsigned index, int gateNumber);

    // Both refuse a sequence beyond MaxGates or MaxNameLength or a hold-off outside 0 to MaxHoldOffMs,
    // and Load a file beyond MaxFileBytes. A file without a hold-off loads with the default.
    // On failure, *error (when given) says why.
    bool Save(const QString& path, QString* error = nullptr) const;
    bool Load(const QString& path);

private:
    static bool WithinLimits(const QString& path, std::size_t gateCount, const QString& sequenceName);
    static bool HoldOffWithinLimits(const QString& path, int ms);

    QString name;
    std::vector<std::int32_t> gates;
    double totalDistance = 0.0;
    int holdOffMs = DefaultHoldOffMs;
};
