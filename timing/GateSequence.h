#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Which gates a subject passes, in which order, over what distance; stored as one ".run" file.
class GateSequence
{
public:
    static constexpr std::size_t MaxGates = 65535;

    GateSequence() { Clear(); }

    void Clear();

    QString Name() const { return name; }
    void SetName(const QString& value) { name = value; }
    double TotalDistance() const { return totalDistance; }
    void SetTotalDistance(double metres) { totalDistance = metres; }

    int GateCount() const { return static_cast<int>(gates.size()); }
    std::optional<int> GateNumberAt(unsigned index) const;
    // Inserts before `index`; appends and returns false when index >= GateCount().
    bool InsertGate(unsigned index, int gateNumber);

    // On failure, *error (when given) says why.
    bool Save(const QString& path, QString* error = nullptr) const;
    bool Load(const QString& path);

private:
    QString name;
    std::vector<std::int32_t> gates;
    double totalDistance = 0.0;
};
