#pragma once

#include <QSerialPort>
#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

// Line settings in the classic comm codes. Each gives nothing for a code outside its range:
// data bits 5 .. 8; parity 0 None, 1 Odd, 2 Even, 3 Mark, 4 Space; stop bits 0 one, 1 one and a
// half, 2 two.
std::optional<QSerialPort::DataBits> qtDataBits(int bits);
std::optional<QSerialPort::Parity> qtParity(int code);
std::optional<QSerialPort::StopBits> qtStopBits(int code);

// A serial port that closes on its first real error. A device that hangs up (an unplugged adapter,
// a pseudo-terminal whose other side closed) otherwise reports errors in a tight loop while the port
// stays open. Once closed that way it stays closed until it is opened again: isOpen() reports it.
// Nothing here waits: reads take what the driver has already received.
//
// At most MaxBufferedBytes wait in the port's own buffer: a device that floods (a faulty reader,
// a wrong baud rate) would otherwise grow it without bound and hold real bytes up behind the
// flood. When a read finds it full, the oldest bytes go (one trace line per flood) so that what
// is read is the newest.
class GuardedSerialPort
{
public:
    static constexpr qint64 MaxBufferedBytes = 64 * 1024; // over a minute of bytes at 9600 baud

    GuardedSerialPort();
    GuardedSerialPort(const GuardedSerialPort&) = delete;
    GuardedSerialPort& operator=(const GuardedSerialPort&) = delete;

    bool open(const QString& devicePath);
    bool isOpen() const { return port.isOpen(); }
    void close();

    // Runs `apply` on the open port; an error the port reports meanwhile is a refused setting, not
    // a hang-up. False when the port is closed or `apply` fails.
    template <typename Apply> bool configure(Apply apply)
    {
        if (!port.isOpen())
            return false;
        configuring = true;
        const bool ok = apply(port);
        configuring = false;
        return ok;
    }

    // Bytes already received, -1 once the port has closed.
    qint64 available();
    // Up to max bytes already received, -1 once the port has closed or on a read error (which
    // closes it).
    qint64 read(char* buffer, qint64 max);
    // Bytes accepted for sending, -1 when closed or on a write error.
    qint64 write(const char* data, qint64 length);

private:
    void pullArrived(qint64 wanted);
    void dropOldestWhenFull();

    QSerialPort port;
    bool configuring = false;
    bool flooded = false; // bytes were dropped within the last second
    std::uint32_t lastDropAt = 0;
};

} // namespace platform
