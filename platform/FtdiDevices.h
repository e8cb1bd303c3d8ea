#pragma once

#include <QString>

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace platform {

// The FTDI device operations the serial links use, with the vendor library's status codes and
// record layout, so the link code reads like the protocol it implements.
enum FtStatus : std::uint32_t
{
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INSUFFICIENT_RESOURCES = 5,
    FT_INVALID_PARAMETER = 6,
    FT_OTHER_ERROR = 18,
};

enum : std::uint8_t
{
    FT_BITS_8 = 8,
    FT_BITS_7 = 7,
    FT_STOP_BITS_1 = 0,
    FT_STOP_BITS_2 = 2,
    FT_PARITY_NONE = 0,
};

using FtHandle = void*;

struct FtDeviceListInfoNode
{
    std::uint32_t Flags = 0;
    std::uint32_t Type = 0;
    std::uint32_t ID = 0;
    std::uint32_t LocId = 0;
    char SerialNumber[16] = {};
    char Description[64] = {};
    FtHandle ftHandle = nullptr;
};

class FtdiDevices
{
public:
    virtual ~FtdiDevices() = default;

    // Number of attached devices; also refreshes the list that getDeviceInfoList copies out.
    virtual FtStatus createDeviceInfoList(std::uint32_t* count) = 0;
    // Fills up to *count nodes (as many as createDeviceInfoList reported) and sets *count.
    virtual FtStatus getDeviceInfoList(FtDeviceListInfoNode* nodes, std::uint32_t* count) = 0;

    virtual FtStatus openBySerialNumber(const char* serial, FtHandle* handle) = 0;
    virtual FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) = 0;
    virtual FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                            std::uint8_t parity) = 0;
    // The last step of an open; its FT_OK marks the link open.
    virtual FtStatus resetDevice(FtHandle handle) = 0;
    // Bytes already received; fails once the device has gone.
    virtual FtStatus getQueueStatus(FtHandle handle, std::uint32_t* queued) = 0;
    // Takes at most toRead bytes of what has already arrived; never waits.
    virtual FtStatus read(FtHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* got) = 0;
    virtual FtStatus write(FtHandle handle, const void* data, std::uint32_t length,
                           std::uint32_t* written) = 0;
    virtual FtStatus close(FtHandle handle) = 0;
};

// A text field of a device record, which is not trusted to carry its terminating zero.
template <std::size_t N> QString ftdiText(const char (&field)[N])
{
    return QString::fromLatin1(field, static_cast<qsizetype>(strnlen(field, N)));
}

struct FtdiDeviceList
{
    FtStatus status = FT_OK;                 // of the count
    std::uint32_t count = 0;                 // devices counted
    std::vector<FtDeviceListInfoNode> nodes; // at most `count`; empty when either call failed
};

// The count, then the records of the devices attached now.
FtdiDeviceList readFtdiDeviceList();

FtdiDevices& ftdiDevices();
// Installs a replacement (not owned); nullptr restores the system's devices.
void setFtdiDevices(FtdiDevices* replacement);

// Location id of a USB device from the resolved sysfs path of one of its interfaces
// (".../usb1/1-2/1-2.1/1-2.1:1.0/ttyUSB0" gives 0x121): the bus number, then each port number of
// the USB path, one hexadecimal digit each. A path with a number above 15, or too long for that
// to stay below 0x80000000, gets a hash of its text with bit 31 set instead: still non-zero and
// the same for the same socket. 0 only when the path holds no interface component.
std::uint32_t usbLocIdFromDevicePath(std::string_view path);

} // namespace platform
