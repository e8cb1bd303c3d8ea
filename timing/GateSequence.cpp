#include "timing/GateSequence.h"

#include "archive/QXmlArchive.h"
#include "common/Trace.h"

namespace {

std::string GateSectionName(unsigned index)
{
    return "Gate_" + std::to_string(index);
}

} // namespace

void GateSequence::Clear()
{
    name = QStringLiteral("Run");
    gates.clear();
    totalDistance = 0.0;
}

std::optional<int> GateSequence::GateNumberAt(unsigned index) const
{
    if (index >= gates.size())
        return std::nullopt;
    return gates[index];
}

bool GateSequence::InsertGate(unsigned index, int gateNumber)
{
    if (index >= gates.size()) {
        gates.push_back(gateNumber);
        return false;
    }
    gates.insert(gates.begin() + index, gateNumber);
    return true;
}

bool GateSequence::Save(const QString& path, QString* error) const
{
    // The file stores the count in 16 bits; more gates would come back short.
    if (gates.size() > MaxGates) {
        qCDebug(swiftlaneTrace, "GateSequence: %zu gates do not fit a run file", gates.size());
        if (error)
            *error = QStringLiteral("%1 gates do not fit a run file").arg(gates.size());
        return false;
    }
    QXmlArchive archive;
    archive.NewDocument();
    if (archive.AddSection("GateSequence")) {
        archive.SetValue("SequenceName", name);
        archive.SetValue("TotalDistance", totalDistance);
        archive.SetValue("NumGates", static_cast<unsigned short>(gates.size()));
        for (unsigned k = 0; k < gates.size(); ++k) {
            archive.AddSection(GateSectionName(k));
            archive.SetValue("GateNumber", static_cast<unsigned int>(gates[k]));
            archive.LeaveSection();
        }
        archive.LeaveSection();
    }
    return archive.SaveFile(path, error);
}

bool GateSequence::Load(const QString& path)
{
    gates.clear();
    QXmlArchive archive;
    if (!archive.LoadFile(path))
        return false;
    if (!archive.GetSection("GateSequence"))
        return true;
    archive.GetValue("SequenceName", name);
    archive.GetValue("TotalDistance", totalDistance);
    unsigned short count = 0; // no "NumGates": no gates
    archive.GetValue("NumGates", count);
    for (unsigned k = 0; k < count; ++k) {
        if (!archive.GetSection(GateSectionName(k)))
            continue;
        unsigned int number = 0;
        if (archive.GetValue("GateNumber", number))
            gates.push_back(static_cast<std::int32_t>(number));
        archive.LeaveSection();
    }
    archive.LeaveSection();
    return true;
}
