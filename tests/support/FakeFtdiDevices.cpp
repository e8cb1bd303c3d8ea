#include "support/FakeFtdiDevices.h"

#include <algorithm>
#include <cstring>

namespace platform {

FakeFtdiDevices::FakeFtdiDevices()
{
    setFtdiDevices(this);
}

FakeFtdiDevices::~FakeFtdiDevices()
{
    setFtdiDevices(nullptr);
}

FakeFtdiDevices::Device& FakeFtdiDevices::addDevice(const std::string& description, const std::string& serial,
                                                    std::uint32_t locId)
{
    Device added;
    added.description = description;
    added.serial = serial;
    added.locId = locId;
    devices.push_back(added);
    return devices.back();
}

FakeFtdiDevices::Device* FakeFtdiDevices::device(const std::string& serial)
{
    for (Device& candidate : devices) {
        if (candidate.serial == serial)
            return &candidate;
    }
    return nullptr;
}

void FakeFtdiDevices::pushIncoming(const std::string& serial, const QByteArray& bytes)
{
    if (Device* target = device(serial))
        target->incoming += bytes;
}

void FakeFtdiDevices::unplug(const std::string& serial)
{
    if (Device* target = device(serial)) {
        target->attached = false;
        target->unplugged = true;
        target->incoming.clear();
    }
}

void FakeFtdiDevices::plugIn(const std::string& serial)
{
    if (Device* target = device(serial)) {
        target->attached = true;
        target->unplugged = false;
    }
}

int FakeFtdiDevices::openHandleCount() const
{
    return static_cast<int>(
        std::count_if(handles.begin(), handles.end(), [](const auto& h) { return h->open; }));
}

FtStatus FakeFtdiDevices::createDeviceInfoList(std::uint32_t* count)
{
    ++createListCalls;
    if (createListStatus != FT_OK)
        return createListStatus;
    *count = static_cast<std::uint32_t>(
        std::count_if(devices.begin(), devices.end(), [](const Device& d) { return d.attached; }));
    return FT_OK;
}

FtStatus FakeFtdiDevices::getDeviceInfoList(FtDeviceListInfoNode* nodes, std::uint32_t* count)
{
    if (getListStatus != FT_OK)
        return getListStatus;
    std::uint32_t filled = 0;
    for (const Device& d : devices) {
        if (!d.attached || filled >= *count)
            continue;
        FtDeviceListInfoNode& node = nodes[filled++];
        node = FtDeviceListInfoNode{};
        node.Type = d.type;
        node.ID = d.id;
        node.LocId = d.locId;
        std::strncpy(node.SerialNumber, d.serial.c_str(), sizeof node.SerialNumber - 1);
        std::strncpy(node.Description, d.description.c_str(), sizeof node.Description - 1);
    }
    *count = filled;
    return FT_OK;
}

FtStatus FakeFtdiDevices::openBySerialNumber(const char* serial, FtHandle* handle)
{
    ++openCalls;
    if (openStatus != FT_OK)
        return openStatus;
    const Device* target = device(serial);
    if (!target || !target->attached)
        return FT_DEVICE_NOT_FOUND;
    handles.push_back(std::make_unique<Handle>(Handle{serial, true}));
    *handle = handles.back().get();
    return FT_OK;
}

FakeFtdiDevices::Handle* FakeFtdiDevices::liveHandle(FtHandle handle)
{
    for (const auto& candidate : handles) {
        if (candidate.get() == handle && candidate->open)
            return candidate.get();
    }
    return nullptr;
}

FakeFtdiDevices::Device* FakeFtdiDevices::deviceOf(FtHandle handle)
{
    Handle* live = liveHandle(handle);
    return live ? device(live->serial) : nullptr;
}

FtStatus FakeFtdiDevices::setBaudRate(FtHandle handle, std::uint32_t baudRate)
{
    if (!liveHandle(handle))
        return FT_INVALID_HANDLE;
    lastBaudRate = baudRate;
    return baudRateStatus;
}

FtStatus FakeFtdiDevices::setDataCharacteristics(FtHandle handle, std::uint8_t wordLength,
                                                 std::uint8_t stopBits, std::uint8_t parity)
{
    if (!liveHandle(handle))
        return FT_INVALID_HANDLE;
    lastWordLength = wordLength;
    lastStopBits = stopBits;
    lastParity = parity;
    return dataCharacteristicsStatus;
}

FtStatus FakeFtdiDevices::resetDevice(FtHandle handle)
{
    if (!liveHandle(handle))
        return FT_INVALID_HANDLE;
    return resetStatus;
}

FtStatus FakeFtdiDevices::getQueueStatus(FtHandle handle, std::uint32_t* queued)
{
    Device* target = deviceOf(handle);
    if (!target)
        return FT_INVALID_HANDLE;
    if (target->unplugged)
        return FT_IO_ERROR;
    *queued = static_cast<std::uint32_t>(target->incoming.size());
    return FT_OK;
}

FtStatus FakeFtdiDevices::read(FtHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* got)
{
    Device* target = deviceOf(handle);
    if (!target)
        return FT_INVALID_HANDLE;
    if (target->unplugged)
        return FT_IO_ERROR;
    const auto n = std::min<qsizetype>(toRead, target->incoming.size());
    std::memcpy(buffer, target->incoming.constData(), static_cast<std::size_t>(n));
    target->incoming.remove(0, n);
    *got = static_cast<std::uint32_t>(n);
    return FT_OK;
}

FtStatus FakeFtdiDevices::write(FtHandle handle, const void* data, std::uint32_t length,
                                std::uint32_t* written)
{
    Device* target = deviceOf(handle);
    if (!target)
        return FT_INVALID_HANDLE;
    if (writeStatus != FT_OK)
        return writeStatus;
    target->written.append(static_cast<const char*>(data), static_cast<qsizetype>(length));
    *written = length;
    return FT_OK;
}

FtStatus FakeFtdiDevices::close(FtHandle handle)
{
    ++closeCalls;
    Handle* live = liveHandle(handle);
    if (!live)
        return FT_INVALID_HANDLE;
    live->open = false;
    return FT_OK;
}

} // namespace platform
