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
    Device& added = devices.emplace_back();
    added.description = description;
    added.serial = serial;
    added.locId = locId;
    return added;
}

FakeFtdiDevices::Device* FakeFtdiDevices::device(const std::string& serial)
{
    auto it =
        std::find_if(devices.begin(), devices.end(), [&](const Device& d) { return d.serial == serial; });
    return it == devices.end() ? nullptr : &*it;
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
        node.ID = 0x04036001;
        node.LocId = d.locId;
        std::strncpy(node.SerialNumber, d.serial.c_str(), sizeof node.SerialNumber - 1);
        std::strncpy(node.Description, d.description.c_str(), sizeof node.Description - 1);
    }
    *count = filled;
    return FT_OK;
}

FtStatus FakeFtdiDevices::openBySerialNumber(const char* serial, FtHandle* handle)
{
    const Device* target = device(serial);
    if (!target || !target->attached)
        return FT_DEVICE_NOT_FOUND;
    handles.push_back(std::make_unique<std::string>(serial));
    *handle = handles.back().get();
    return FT_OK;
}

std::string* FakeFtdiDevices::liveHandle(FtHandle handle)
{
    auto it = std::find_if(handles.begin(), handles.end(), [&](const auto& h) { return h.get() == handle; });
    return it == handles.end() ? nullptr : it->get();
}

FakeFtdiDevices::Device* FakeFtdiDevices::deviceOf(FtHandle handle, FtStatus* status)
{
    std::string* serial = liveHandle(handle);
    Device* target = serial ? device(*serial) : nullptr;
    *status = !target ? FT_INVALID_HANDLE : target->unplugged ? FT_IO_ERROR : FT_OK;
    return *status == FT_OK ? target : nullptr;
}

FtStatus FakeFtdiDevices::resetDevice(FtHandle handle)
{
    return liveHandle(handle) ? resetStatus : FT_INVALID_HANDLE;
}

FtStatus FakeFtdiDevices::getQueueStatus(FtHandle handle, std::uint32_t* queued)
{
    FtStatus status;
    if (Device* target = deviceOf(handle, &status))
        *queued = static_cast<std::uint32_t>(target->incoming.size());
    return status;
}

FtStatus FakeFtdiDevices::read(FtHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* got)
{
    FtStatus status;
    Device* target = deviceOf(handle, &status);
    if (!target)
        return status;
    const auto n = std::min<qsizetype>(toRead, target->incoming.size());
    std::memcpy(buffer, target->incoming.constData(), static_cast<std::size_t>(n));
    target->incoming.remove(0, n);
    *got = static_cast<std::uint32_t>(n);
    return FT_OK;
}

FtStatus FakeFtdiDevices::write(FtHandle handle, const void*, std::uint32_t length, std::uint32_t* written)
{
    FtStatus status;
    if (deviceOf(handle, &status))
        *written = length;
    return status;
}

FtStatus FakeFtdiDevices::close(FtHandle handle)
{
    const auto before = handles.size();
    handles.erase(
        std::remove_if(handles.begin(), handles.end(), [&](const auto& h) { return h.get() == handle; }),
        handles.end());
    return handles.size() < before ? FT_OK : FT_INVALID_HANDLE;
}

} // namespace platform
