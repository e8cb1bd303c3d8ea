#pragma once

#include "platform/FtdiDevices.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>
#include <list>
#include <string>

namespace platform {

// A scripted FTDI device list, installed for its lifetime. Devices are keyed by serial number;
// bytes queued for a device are what its reads return; the list calls and the last step of an
// open can be made to fail.
class FakeFtdiDevices : public FtdiDevices
{
public:
    struct Device
    {
        std::string description;
        std::string serial;
        std::uint32_t locId = 0;
        QByteArray incoming; // received, not yet read
        bool plugged = true; // false: left out of the list, cannot be opened, open handles fail
    };

    FakeFtdiDevices() { setFtdiDevices(this); }
    ~FakeFtdiDevices() override { setFtdiDevices(nullptr); }
    FakeFtdiDevices(const FakeFtdiDevices&) = delete;
    FakeFtdiDevices& operator=(const FakeFtdiDevices&) = delete;

    Device& addDevice(const std::string& description, const std::string& serial, std::uint32_t locId)
    {
        return devices.emplace_back(Device{description, serial, locId, {}, true});
    }
    Device* device(const std::string& serial)
    {
        auto it =
            std::find_if(devices.begin(), devices.end(), [&](const Device& d) { return d.serial == serial; });
        return it == devices.end() ? nullptr : &*it;
    }
    void clearDevices() { devices.clear(); }
    void pushIncoming(const std::string& serial, const QByteArray& bytes)
    {
        device(serial)->incoming += bytes;
    }
    // The device goes away with what it held; plugIn brings it back.
    void unplug(const std::string& serial)
    {
        device(serial)->plugged = false;
        device(serial)->incoming.clear();
    }
    void plugIn(const std::string& serial) { device(serial)->plugged = true; }

    int openHandleCount() const { return int(handles.size()); }

    // Statuses these calls return instead of working. On a failing reset the handle stays open,
    // as on the vendor's driver.
    FtStatus createListStatus = FT_OK;
    FtStatus getListStatus = FT_OK;
    FtStatus resetStatus = FT_OK;
    int createListCalls = 0;

    FtStatus createDeviceInfoList(std::uint32_t* count) override
    {
        ++createListCalls;
        if (createListStatus == FT_OK)
            *count = std::uint32_t(
                std::count_if(devices.begin(), devices.end(), [](const Device& d) { return d.plugged; }));
        return createListStatus;
    }
    FtStatus getDeviceInfoList(FtDeviceListInfoNode* nodes, std::uint32_t* count) override
    {
        if (getListStatus != FT_OK)
            return getListStatus;
        std::uint32_t filled = 0;
        for (const Device& d : devices) {
            if (!d.plugged || filled >= *count)
                continue;
            FtDeviceListInfoNode& node = nodes[filled++] = FtDeviceListInfoNode{};
            node.ID = 0x04036001;
            node.LocId = d.locId;
            std::strncpy(node.SerialNumber, d.serial.c_str(), sizeof node.SerialNumber - 1);
            std::strncpy(node.Description, d.description.c_str(), sizeof node.Description - 1);
        }
        *count = filled;
        return FT_OK;
    }
    FtStatus openBySerialNumber(const char* serial, FtHandle* handle) override
    {
        const Device* target = device(serial);
        if (!target || !target->plugged)
            return FT_DEVICE_NOT_FOUND;
        *handle = &handles.emplace_back(serial);
        return FT_OK;
    }
    FtStatus setBaudRate(FtHandle handle, std::uint32_t) override { return live(handle); }
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t, std::uint8_t, std::uint8_t) override
    {
        return live(handle);
    }
    FtStatus resetDevice(FtHandle handle) override
    {
        return live(handle) == FT_OK ? resetStatus : FT_INVALID_HANDLE;
    }
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t* queued) override
    {
        FtStatus status;
        if (Device* target = deviceOf(handle, &status))
            *queued = std::uint32_t(target->incoming.size());
        return status;
    }
    FtStatus read(FtHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* got) override
    {
        FtStatus status;
        if (Device* target = deviceOf(handle, &status)) {
            *got = std::min(toRead, std::uint32_t(target->incoming.size()));
            std::memcpy(buffer, target->incoming.constData(), *got);
            target->incoming.remove(0, *got);
        }
        return status;
    }
    FtStatus write(FtHandle handle, const void*, std::uint32_t length, std::uint32_t* written) override
    {
        FtStatus status;
        if (deviceOf(handle, &status))
            *written = length;
        return status;
    }
    FtStatus close(FtHandle handle) override
    {
        const auto before = handles.size();
        handles.remove_if([&](const std::string& h) { return &h == handle; });
        return handles.size() < before ? FT_OK : FT_INVALID_HANDLE;
    }

private:
    FtStatus live(FtHandle handle) { return serialOf(handle) ? FT_OK : FT_INVALID_HANDLE; }
    std::string* serialOf(FtHandle handle)
    {
        auto it =
            std::find_if(handles.begin(), handles.end(), [&](const std::string& h) { return &h == handle; });
        return it == handles.end() ? nullptr : &*it;
    }
    // The device behind an open handle, or null; *status tells why not.
    Device* deviceOf(FtHandle handle, FtStatus* status)
    {
        std::string* serial = serialOf(handle);
        Device* target = serial ? device(*serial) : nullptr;
        *status = !target ? FT_INVALID_HANDLE : !target->plugged ? FT_IO_ERROR : FT_OK;
        return *status == FT_OK ? target : nullptr;
    }

    std::list<Device> devices;
    std::list<std::string> handles; // each open handle is the serial number of its device
};

} // namespace platform
