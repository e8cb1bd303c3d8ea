#pragma once

#include "platform/FtdiDevices.h"

#include <QByteArray>

#include <memory>
#include <string>
#include <vector>

namespace platform {

// A scripted FTDI device list. Installs itself for its lifetime. Devices are keyed by serial
// number; bytes queued for a device are what its reads return; the list calls and the last step
// of an open can be made to fail.
class FakeFtdiDevices : public FtdiDevices
{
public:
    struct Device
    {
        std::string description;
        std::string serial;
        std::uint32_t locId = 0;
        QByteArray incoming;    // received, not yet read
        bool attached = true;   // false: left out of the list and cannot be opened
        bool unplugged = false; // open handles fail their queue status
    };

    FakeFtdiDevices();
    ~FakeFtdiDevices() override;
    FakeFtdiDevices(const FakeFtdiDevices&) = delete;
    FakeFtdiDevices& operator=(const FakeFtdiDevices&) = delete;

    Device& addDevice(const std::string& description, const std::string& serial, std::uint32_t locId);
    Device* device(const std::string& serial);
    void clearDevices() { devices.clear(); }

    void pushIncoming(const std::string& serial, const QByteArray& bytes);
    // The device goes away: removed from the list, its open handles fail. plugIn brings it back.
    void unplug(const std::string& serial);
    void plugIn(const std::string& serial);

    int openHandleCount() const { return static_cast<int>(handles.size()); }

    // Statuses these calls return instead of working. On a failing reset the handle stays open,
    // as on the vendor's driver.
    FtStatus createListStatus = FT_OK;
    FtStatus getListStatus = FT_OK;
    FtStatus resetStatus = FT_OK;
    int createListCalls = 0;

    FtStatus createDeviceInfoList(std::uint32_t* count) override;
    FtStatus getDeviceInfoList(FtDeviceListInfoNode* nodes, std::uint32_t* count) override;
    FtStatus openBySerialNumber(const char* serial, FtHandle* handle) override;
    FtStatus setBaudRate(FtHandle handle, std::uint32_t) override { return live(handle); }
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t, std::uint8_t, std::uint8_t) override
    {
        return live(handle);
    }
    FtStatus resetDevice(FtHandle handle) override;
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t* queued) override;
    FtStatus read(FtHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* got) override;
    FtStatus write(FtHandle handle, const void* data, std::uint32_t length, std::uint32_t* written) override;
    FtStatus close(FtHandle handle) override;

private:
    // An open handle points at the serial number of its device; closing removes it.
    std::string* liveHandle(FtHandle handle);
    FtStatus live(FtHandle handle) { return liveHandle(handle) ? FT_OK : FT_INVALID_HANDLE; }
    // The device behind an open handle, or null; *status tells why not.
    Device* deviceOf(FtHandle handle, FtStatus* status);

    std::vector<Device> devices;
    std::vector<std::unique_ptr<std::string>> handles;
};

} // namespace platform
