#include "devices/FtdiDatabase.h"

#include "common/Trace.h"

#include <cstring>
#include <vector>

namespace {

struct Entry
{
    QString serial;
    unsigned locId = 0;
    bool matched = false;
};

struct Database
{
    std::vector<Entry> entries;
    bool initialised = false;
};

Database& database()
{
    static Database instance;
    return instance;
}

// Used before the gate link exists or after it has gone: worth a trace, not a refusal.
void warnIfUninitialised()
{
    if (!database().initialised)
        qCDebug(swiftlaneTrace, "ERROR! FTDI DATABASE MUST BE INTIALISED, (THEN EMPTIED ON EXIT)");
}

void copySerial(platform::FtDeviceListInfoNode& node, const QString& serial)
{
    const QByteArray bytes = serial.toLatin1().left(sizeof node.SerialNumber - 1);
    std::memset(node.SerialNumber, 0, sizeof node.SerialNumber);
    std::memcpy(node.SerialNumber, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

Entry* lastUnmatched()
{
    std::vector<Entry>& entries = database().entries;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (!it->matched)
            return &*it;
    }
    return nullptr;
}

} // namespace

void InitFtdiDatabase()
{
    if (!database().initialised)
        database().entries.clear();
    database().initialised = true;
}

void EmptyFtdiDatabase()
{
    database().entries.clear();
    database().initialised = false;
}

void RememberFtdiDevice(unsigned locId, const QString& serial)
{
    bool known = false;
    for (Entry& entry : database().entries) {
        if (entry.serial != serial)
            continue;
        entry.locId = locId;
        entry.matched = true;
        known = true;
    }
    if (!known)
        database().entries.push_back({serial, locId, true});
    warnIfUninitialised();
}

void PatchFtdiDeviceList(platform::FtDeviceListInfoNode* nodes, int count)
{
    warnIfUninitialised();
    for (Entry& entry : database().entries)
        entry.matched = false;
    if (!nodes || count <= 0)
        return;
    for (int i = 0; i < count; ++i) {
        if (nodes[i].LocId != 0 && nodes[i].SerialNumber[0] != '\0')
            RememberFtdiDevice(nodes[i].LocId, platform::ftdiText(nodes[i].SerialNumber));
    }
    for (int i = 0; i < count; ++i) {
        if (nodes[i].LocId != 0)
            continue;
        Entry* entry = lastUnmatched();
        if (!entry)
            continue;
        nodes[i].LocId = entry->locId;
        copySerial(nodes[i], entry->serial);
        entry->matched = true;
    }
}
