#pragma once

#include "platform/FtdiDevices.h"

#include <QByteArray>

#include <memory>
#include <string>
#include <vector>

namespace platform {

// A scripted FTDI device list. Installs itself for its lifetime. Devices are keyed by serial
// number; bytes queued for a device are what its reads return; every call can be made to fail.
class FakeFtdiDevices : public FtdiDevices
{
public:
    struct Device
    {
        std::string description;
        std::string serial;
        std::uint32_t locId = 0;
        std::uint32_t type = 0;
        std::uint32_t id = 0x04036001;
        QByteArray incoming;    // received, not yet read
        QByteArray written;     // everything written to it
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

    int openHandleCount() const;

    std::vector<Device> devices;

    // Statuses the calls return instead of working (FT_OK: work normally).
    FtStatus createListStatus = FT_OK;
    FtStatus getListStatus = FT_OK;
    FtStatus openStatus = FT_OK;
    FtStatus baudRateStatus = FT_OK;
    FtStatus dataCharacteristicsStatus = FT_OK;
    FtStatus resetStatus = FT_OK;
    FtStatus writeStatus = FT_OK;
    // On a failing reset the handle stays open, as on the vendor's driver.

    int createListCalls = 0;
    int openCalls = 0;
    int closeCalls = 0;
    std::uint32_t lastBaudRate = 0;
    std::uint8_t lastWordLength = 0;
    std::uint8_t lastStopBits = 0;
    std::uint8_t lastParity = 0;

    FtStatus createDeviceInfoList(std::uint32_t* count) override;
    FtStatus getDeviceInfoList(FtDeviceListInfoNode* nodes, std::uint32_t* count) override;
    FtStatus openBySerialNumber(const char* serial, FtHandle* handle) override;
    FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) override;
    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                    std::uint8_t parity) override;
    FtStatus resetDevice(FtHandle handle) override;
    FtStatus getQueueStatus(FtHandle handle, std::uint32_t* queued) override;
    FtStatus read(FtHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* got) override;
    FtStatus write(FtHandle handle, const void* data, std::uint32_t length, std::uint32_t* written) override;
    FtStatus close(FtHandle handle) override;

private:
    struct Handle
    {
        std::string serial;
        bool open = true;
    };
    Handle* liveHandle(FtHandle handle);
    Device* deviceOf(FtHandle handle);

    std::vector<std::unique_ptr<Handle>> handles;
};

} // namespace platform
