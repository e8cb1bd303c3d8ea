#pragma once

#include "platform/FtdiDevices.h"

namespace platform {

// A machine with no FTDI device attached, installed for its lifetime, so that a program replaying
// or timing recorded bytes never opens a real adapter.
class NoFtdiDevices : public FtdiDevices
{
public:
    NoFtdiDevices() { setFtdiDevices(this); }
    ~NoFtdiDevices() override { setFtdiDevices(nullptr); }
    NoFtdiDevices(const NoFtdiDevices&) = delete;
    NoFtdiDevices& operator=(const NoFtdiDevices&) = delete;

    FtStatus createDeviceInfoList(std::uint32_t* count) override;
    FtStatus getDeviceInfoList(FtDeviceListInfoNode* nodes, std::uint32_t* count) override;
    FtStatus openBySerialNumber(const char*, FtHandle*) override { return FT_DEVICE_NOT_FOUND; }
    FtStatus setBaudRate(FtHandle, std::uint32_t) override { return FT_DEVICE_NOT_FOUND; }
    FtStatus setDataCharacteristics(FtHandle, std::uint8_t, std::uint8_t, std::uint8_t) override
    {
        return FT_DEVICE_NOT_FOUND;
    }
    FtStatus resetDevice(FtHandle) override { return FT_DEVICE_NOT_FOUND; }
    FtStatus getQueueStatus(FtHandle, std::uint32_t*) override { return FT_DEVICE_NOT_FOUND; }
    FtStatus read(FtHandle, void*, std::uint32_t, std::uint32_t*) override { return FT_DEVICE_NOT_FOUND; }
    FtStatus write(FtHandle, const void*, std::uint32_t, std::uint32_t*) override
    {
        return FT_DEVICE_NOT_FOUND;
    }
    FtStatus close(FtHandle) override { return FT_DEVICE_NOT_FOUND; }
};

} // namespace platform
