#include "platform/FtdiDevices.h"

#include "common/Fnv1a.h"
#include "platform/Clock.h"
#include "platform/GuardedSerialPort.h"
#include "platform/VirtualAdapters.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr quint16 FtdiVendorId = 0x0403;
constexpr std::uint32_t DeviceTypeUnknown = 3;

// A listed device and the node it opens through.
struct ListedDevice
{
    FtDeviceListInfoNode node;
    QString devicePath;
    bool pseudoTerminal = false;
};

void CopyText(char* target, std::size_t capacity, const QString& text)
{
    const QByteArray bytes = text.toLatin1().left(static_cast<qsizetype>(capacity - 1));
    std::memset(target, 0, capacity);
    std::memcpy(target, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::uint32_t DeviceTypeOf(quint16 productId)
{
    switch (productId) {
    case 0x6001:
        return 5; // 232R
    case 0x6010:
        return 6; // 2232H
    case 0x6011:
        return 7; // 4232H
    case 0x6014:
        return 8; // 232H
    case 0x6015:
        return 9; // X series
    default:
        return DeviceTypeUnknown;
    }
}

std::uint32_t LocIdOf(const QSerialPortInfo& info)
{
    const QString resolved =
        QFileInfo(QStringLiteral("/sys/class/tty/%1/device").arg(info.portName())).canonicalFilePath();
    return usbLocIdFromDevicePath(resolved.toStdString());
}

std::vector<ListedDevice> ScanUsbDevices()
{
    std::vector<ListedDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (!info.hasVendorIdentifier() || info.vendorIdentifier() != FtdiVendorId)
            continue;
        ListedDevice device;
        device.node.Type = DeviceTypeOf(info.productIdentifier());
        device.node.ID = (std::uint32_t{info.vendorIdentifier()} << 16) | info.productIdentifier();
        device.node.LocId = LocIdOf(info);
        CopyText(device.node.SerialNumber, sizeof device.node.SerialNumber, info.serialNumber());
        CopyText(device.node.Description, sizeof device.node.Description, info.description());
        device.devicePath = info.systemLocation();
        devices.push_back(device);
    }
    return devices;
}

// Scanning the system's serial ports takes milliseconds, and the gate link asks on every tick
// while no adapter is open. The ports only change when device nodes come or go, which changes the
// modification time of /dev; a rescan at least every few seconds covers anything that does not.
const std::vector<ListedDevice>& UsbDevices()
{
    constexpr std::uint32_t RescanMs = 2000;
    static std::vector<ListedDevice> cached;
    static QDateTime cachedStamp;
    static std::uint32_t cachedAt = 0;
    static bool valid = false;
    const QDateTime stamp = QFileInfo(QStringLiteral("/dev")).lastModified();
    const std::uint32_t now = tickCount();
    if (!valid || stamp != cachedStamp || now - cachedAt >= RescanMs) {
        cached = ScanUsbDevices();
        cachedStamp = stamp;
        cachedAt = now;
        valid = true;
    }
    return cached;
}

std::vector<ListedDevice> AttachedDevices()
{
    std::vector<ListedDevice> devices = UsbDevices();
    for (const VirtualAdapter& adapter : listVirtualAdapters()) {
        ListedDevice device;
        device.node.Type = DeviceTypeUnknown;
        device.node.LocId = adapter.locId;
        CopyText(device.node.SerialNumber, sizeof device.node.SerialNumber, adapter.name);
        CopyText(device.node.Description, sizeof device.node.Description, VirtualAdapterDescription);
        device.devicePath = adapter.devicePath;
        device.pseudoTerminal = true;
        devices.push_back(device);
    }
    return devices;
}

// One opened device. Once the device has gone it stays gone: every call on it fails.
class OpenDevice
{
public:
    OpenDevice(const QString& path, bool pseudoTerminal) : pseudoTerminal(pseudoTerminal) { port.open(path); }

    bool IsUsable() const { return port.isOpen(); }

    template <typename Apply> FtStatus Configure(Apply apply)
    {
        if (!IsUsable())
            return FT_IO_ERROR;
        const bool ok = port.configure(apply);
        // A pseudo-terminal does not take every line setting; it carries the bytes all the same.
        return ok || pseudoTerminal ? FT_OK : FT_IO_ERROR;
    }

    FtStatus QueueStatus(std::uint32_t* queued)
    {
        const qint64 count = port.available();
        if (count < 0)
            return FT_IO_ERROR;
        *queued = static_cast<std::uint32_t>(count);
        return FT_OK;
    }

    FtStatus Read(void* buffer, std::uint32_t toRead, std::uint32_t* got)
    {
        const qint64 count = port.read(static_cast<char*>(buffer), toRead);
        if (count < 0)
            return FT_IO_ERROR;
        *got = static_cast<std::uint32_t>(count);
        return FT_OK;
    }

    FtStatus Write(const void* data, std::uint32_t length, std::uint32_t* written)
    {
        const qint64 count = port.write(static_cast<const char*>(data), length);
        if (count < 0)
            return FT_IO_ERROR;
        *written = static_cast<std::uint32_t>(count);
        return FT_OK;
    }

private:
    GuardedSerialPort port;
    bool pseudoTerminal = false;
};

class SystemFtdiDevices : public FtdiDevices
{
public:
    FtStatus createDeviceInfoList(std::uint32_t* count) override
    {
        if (!count)
            return FT_INVALID_PARAMETER;
        listed = AttachedDevices();
        *count = static_cast<std::uint32_t>(listed.size());
        return FT_OK;
    }

    FtStatus getDeviceInfoList(FtDeviceListInfoNode* nodes, std::uint32_t* count) override
    {
        if (!nodes || !count)
            return FT_INVALID_PARAMETER;
        const std::size_t n = std::min<std::size_t>(*count, listed.size());
        for (std::size_t i = 0; i < n; ++i)
            nodes[i] = listed[i].node;
        *count = static_cast<std::uint32_t>(n);
        return FT_OK;
    }

    FtStatus openBySerialNumber(const char* serial, FtHandle* handle) override
    {
        if (!serial || !handle)
            return FT_INVALID_PARAMETER;
        *handle = nullptr;
        // USB devices come first in the list, so a virtual adapter never shadows real hardware.
        for (const ListedDevice& device : AttachedDevices()) {
            if (std::strncmp(device.node.SerialNumber, serial, sizeof device.node.SerialNumber) != 0)
                continue;
            auto opened = std::make_unique<OpenDevice>(device.devicePath, device.pseudoTerminal);
            if (!opened->IsUsable())
                return FT_DEVICE_NOT_OPENED;
            *handle = opened.get();
            open.emplace(opened.get(), std::move(opened));
            return FT_OK;
        }
        return FT_DEVICE_NOT_FOUND;
    }

    FtStatus setBaudRate(FtHandle handle, std::uint32_t baudRate) override
    {
        OpenDevice* device = Find(handle);
        if (!device)
            return FT_INVALID_HANDLE;
        return device->Configure(
            [baudRate](QSerialPort& port) { return port.setBaudRate(static_cast<qint32>(baudRate)); });
    }

    FtStatus setDataCharacteristics(FtHandle handle, std::uint8_t wordLength, std::uint8_t stopBits,
                                    std::uint8_t parity) override
    {
        OpenDevice* device = Find(handle);
        if (!device)
            return FT_INVALID_HANDLE;
        const auto bits = qtDataBits(wordLength);
        const auto stop = qtStopBits(stopBits);
        const auto check = qtParity(parity);
        if (!bits || !stop || !check)
            return FT_INVALID_PARAMETER;
        return device->Configure([&](QSerialPort& port) {
            bool ok = port.setDataBits(*bits);
            ok = port.setStopBits(*stop) && ok;
            return port.setParity(*check) && ok;
        });
    }

    FtStatus resetDevice(FtHandle handle) override
    {
        OpenDevice* device = Find(handle);
        if (!device)
            return FT_INVALID_HANDLE;
        return device->IsUsable() ? FT_OK : FT_IO_ERROR;
    }

    FtStatus getQueueStatus(FtHandle handle, std::uint32_t* queued) override
    {
        OpenDevice* device = Find(handle);
        if (!device)
            return FT_INVALID_HANDLE;
        if (!queued)
            return FT_INVALID_PARAMETER;
        return device->QueueStatus(queued);
    }

    FtStatus read(FtHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* got) override
    {
        OpenDevice* device = Find(handle);
        if (!device)
            return FT_INVALID_HANDLE;
        if (!got || (!buffer && toRead > 0))
            return FT_INVALID_PARAMETER;
        *got = 0;
        return device->Read(buffer, toRead, got);
    }

    FtStatus write(FtHandle handle, const void* data, std::uint32_t length, std::uint32_t* written) override
    {
        OpenDevice* device = Find(handle);
        if (!device)
            return FT_INVALID_HANDLE;
        if (!written || (!data && length > 0))
            return FT_INVALID_PARAMETER;
        *written = 0;
        return device->Write(data, length, written);
    }

    FtStatus close(FtHandle handle) override
    {
        OpenDevice* device = Find(handle);
        if (!device)
            return FT_INVALID_HANDLE;
        open.erase(device);
        return FT_OK;
    }

private:
    OpenDevice* Find(FtHandle handle) const
    {
        auto it = open.find(static_cast<OpenDevice*>(handle));
        return it == open.end() ? nullptr : it->second.get();
    }

    std::vector<ListedDevice> listed;
    std::map<OpenDevice*, std::unique_ptr<OpenDevice>> open; // keyed by handle
};

// Numbers joined by one separator ("1.0"), or a bus and ports ("1-2.1") when `busFirst`.
bool IsNumberPath(std::string_view text, bool busFirst)
{
    bool digits = false;
    bool afterBus = !busFirst;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (digits && c == (afterBus ? '.' : '-')) {
            afterBus = true;
            digits = false;
        } else {
            return false;
        }
    }
    return digits && afterBus;
}

// An interface component such as "1-2.1:1.0" gives its USB path "1-2.1".
std::optional<std::string_view> UsbPathOfInterface(std::string_view component)
{
    const std::size_t colon = component.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::string_view usbPath = component.substr(0, colon);
    if (!IsNumberPath(usbPath, true) || !IsNumberPath(component.substr(colon + 1), false))
        return std::nullopt;
    return usbPath;
}

// The bus and port numbers one hexadecimal digit each while every number is 1 .. 15 and the id
// stays below 0x80000000. Any other path gets a hash of its text with bit 31 set, so the two kinds
// never meet and no USB path gives 0.
std::uint32_t LocIdOfUsbPath(std::string_view usbPath)
{
    std::uint32_t digitsId = 0;
    int numbers = 0;
    bool fits = true;
    std::uint32_t number = 0;
    for (std::size_t i = 0; i <= usbPath.size(); ++i) {
        if (i < usbPath.size() && usbPath[i] >= '0' && usbPath[i] <= '9') {
            number = std::min<std::uint32_t>(number * 10 + static_cast<std::uint32_t>(usbPath[i] - '0'), 16);
            continue;
        }
        fits = fits && number >= 1 && number <= 15 && ++numbers <= 8;
        digitsId = digitsId << 4 | (number & 0xF);
        number = 0;
    }
    if (fits && digitsId < 0x80000000u)
        return digitsId;
    return Fnv1a(usbPath) | 0x80000000u;
}

FtdiDevices* current = nullptr;

SystemFtdiDevices& systemDevices()
{
    static SystemFtdiDevices devices;
    return devices;
}

} // namespace

std::uint32_t usbLocIdFromDevicePath(std::string_view path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (const auto usbPath = UsbPathOfInterface(path.substr(start, end - start)))
            return LocIdOfUsbPath(*usbPath);
        start = end + 1;
    }
    return 0;
}

FtdiDevices& ftdiDevices()
{
    return current ? *current : systemDevices();
}

void setFtdiDevices(FtdiDevices* replacement)
{
    current = replacement;
}

} // namespace platform
