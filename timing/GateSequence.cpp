#include "timing/GateSequence.h"

#include <QCoreApplication>

#include "archive/QXmlArchive.h"
#include "common/Trace.h"

#include <QByteArray>
#include <QFileInfo>

namespace {

std::string GateSectionName(unsigned index)
{
    return "Gate_" + std::to_string(index);
}

const char* const HoldOffValueName = "HoldOffMs";

// The hold-off as the file holds it: the default when absent, none when it is not a whole number.
std::optional<int> ReadHoldOff(QXmlArchive& archive)
{
    std::string text;
    if (!archive.GetValue(HoldOffValueName, text))
        return GateSequence::DefaultHoldOffMs;
    bool isNumber = false;
    const int ms = QByteArray::fromStdString(text).trimmed().toInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return ms;
}

} // namespace

void GateSequence::Clear()
{
    name = QStringLiteral("Run");
    gates.clear();
    totalDistance = 0.0;
    holdOffMs = DefaultHoldOffMs;
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

bool GateSequence::WithinLimits(const QString& path, std::size_t gateCount, const QString& sequenceName)
{
    if (gateCount > static_cast<std::size_t>(MaxGates)) {
        qCDebug(swiftlaneTrace, "GateSequence %s: %zu gates, more than %d", qUtf8Printable(path), gateCount,
                MaxGates);
        return false;
    }
    if (sequenceName.size() > MaxNameLength) {
        qCDebug(swiftlaneTrace, "GateSequence %s: a name of %lld characters, more than %d",
                qUtf8Printable(path), static_cast<long long>(sequenceName.size()), MaxNameLength);
        return false;
    }
    return true;
}

bool GateSequence::HoldOffWithinLimits(const QString& path, int ms)
{
    if (ms < 0 || ms > MaxHoldOffMs) {
        qCDebug(swiftlaneTrace, "GateSequence %s: a hold-off of %d ms, outside 0 to %d", qUtf8Printable(path),
                ms, MaxHoldOffMs);
        return false;
    }
    return true;
}

bool GateSequence::Save(const QString& path, QString* error) const
{
    if (!WithinLimits(path, gates.size(), name)) {
        if (error)
            *error = QCoreApplication::translate(
                         "GateSequence",
                         "A gate sequence holds at most %1 gates and a name of at most %2 characters.")
                         .arg(MaxGates)
                         .arg(MaxNameLength);
        return false;
    }
    if (!HoldOffWithinLimits(path, holdOffMs)) {
        if (error)
            *error = QCoreApplication::translate("GateSequence",
                                                 "The hold-off of a gate sequence is from 0 to %1 ms.")
                         .arg(MaxHoldOffMs);
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
        // After the gates, where readers that look values up by name pass over it.
        archive.SetValue(HoldOffValueName, static_cast<unsigned int>(holdOffMs));
        archive.LeaveSection();
    }
    return archive.SaveFile(path, error);
}

bool GateSequence::Load(const QString& path)
{
    gates.clear();
    // One look at the file for its size and, in LoadFile, its type: listing a runs folder loads
    // every file in it.
    const QFileInfo file(path);
    const qint64 size = file.size();
    if (size > MaxFileBytes) {
        qCDebug(swiftlaneTrace, "GateSequence %s: %lld bytes, more than %lld", qUtf8Printable(path),
                static_cast<long long>(size), static_cast<long long>(MaxFileBytes));
        return false;
    }
    QXmlArchive archive;
    if (!archive.LoadFile(file))
        return false;
    if (!archive.GetSection("GateSequence"))
        return true;
    // A refused file leaves the record as a failed load does.
    QString loadedName = name;
    archive.GetValue("SequenceName", loadedName);
    unsigned short count = 0; // no "NumGates": no gates
    archive.GetValue("NumGates", count);
    if (!WithinLimits(path, count, loadedName))
        return false;
    const std::optional<int> loadedHoldOff = ReadHoldOff(archive);
    if (!loadedHoldOff) {
        qCDebug(swiftlaneTrace, "GateSequence %s: a hold-off that is not a whole number",
                qUtf8Printable(path));
        return false;
    }
    if (!HoldOffWithinLimits(path, *loadedHoldOff))
        return false;
    holdOffMs = *loadedHoldOff;
    name = loadedName;
    archive.GetValue("TotalDistance", totalDistance);
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
