#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// Line settings with the classic comm codes: parity 0 None, 1 Odd, 2 Even, 3 Mark, 4 Space;
// stopBits 0 = one, 1 = one and a half, 2 = two.
struct LineSettings
{
    std::uint32_t baudRate = 9600;
    std::int8_t parity = 0;
    std::uint8_t dataBits = 8;
    std::uint8_t stopBits = 0;
    bool xonXoff = false;
};

// One COM-style serial port. Nothing here blocks: read takes only what has already arrived.
class ComPort
{
public:
    virtual ~ComPort() = default;
    // "COMn" opens the n-th system serial port (/dev/ttyS<n-1> on Linux); a name starting with "/"
    // opens that device path.
    virtual bool open(const QString& portName) = 0;
    virtual bool isOpen() const = 0;
    virtual bool applySettings(const LineSettings& settings) = 0;
    // Up to max bytes already received; 0 when none, -1 on a device error.
    virtual int read(char* buffer, int max) = 0;
    // Bytes accepted for sending, -1 on a device error.
    virtual int write(const char* data, int length) = 0;
    virtual void close() = 0;
};

// The device a port name opens: "COMn" is /dev/ttyS<n-1>, a path is taken as given; empty for a
// name that is neither.
QString comDevicePath(const QString& portName);

using ComPortFactory = std::function<std::unique_ptr<ComPort>()>;

std::unique_ptr<ComPort> createComPort();
// Installs a replacement factory; an empty one restores the Qt SerialPort ports.
void setComPortFactory(ComPortFactory factory);

} // namespace platform
