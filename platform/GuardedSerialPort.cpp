#include "platform/GuardedSerialPort.h"

#include "common/Trace.h"
#include "platform/Clock.h"

namespace platform {

std::optional<QSerialPort::DataBits> qtDataBits(int bits)
{
    switch (bits) {
    case 5:
        return QSerialPort::Data5;
    case 6:
        return QSerialPort::Data6;
    case 7:
        return QSerialPort::Data7;
    case 8:
        return QSerialPort::Data8;
    default:
        return std::nullopt;
    }
}

std::optional<QSerialPort::Parity> qtParity(int code)
{
    switch (code) {
    case 0:
        return QSerialPort::NoParity;
    case 1:
        return QSerialPort::OddParity;
    case 2:
        return QSerialPort::EvenParity;
    case 3:
        return QSerialPort::MarkParity;
    case 4:
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

std::optional<QSerialPort::StopBits> qtStopBits(int code)
{
    switch (code) {
    case 0:
        return QSerialPort::OneStop;
    case 1:
        return QSerialPort::OneAndHalfStop;
    case 2:
        return QSerialPort::TwoStop;
    default:
        return std::nullopt;
    }
}

GuardedSerialPort::GuardedSerialPort()
{
    port.setReadBufferSize(MaxBufferedBytes);
    QObject::connect(&port, &QSerialPort::errorOccurred, &port, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || configuring)
            return;
        close();
    });
}

bool GuardedSerialPort::open(const QString& devicePath)
{
    close();
    port.setPortName(devicePath);
    return port.open(QIODevice::ReadWrite);
}

void GuardedSerialPort::close()
{
    if (port.isOpen())
        port.close();
}

// Moves what the driver holds into the port's buffer without waiting; may find a hang-up.
void GuardedSerialPort::pullArrived(qint64 wanted)
{
    if (port.isOpen() && port.bytesAvailable() < wanted)
        port.waitForReadyRead(0);
}

qint64 GuardedSerialPort::available()
{
    pullArrived(1);
    return port.isOpen() ? port.bytesAvailable() : -1;
}

// A full buffer means the driver may hold still newer bytes: the buffered ones are the oldest and
// go, and the driver's take their place. The rounds are bounded so an endless flood cannot hold
// up the tick; each round drops at most one buffer.
void GuardedSerialPort::dropOldestWhenFull()
{
    constexpr int MaxRounds = 4;
    qint64 dropped = 0;
    for (int round = 0; round < MaxRounds && port.isOpen() && port.bytesAvailable() >= MaxBufferedBytes;
         ++round) {
        dropped += port.skip(port.bytesAvailable());
        pullArrived(MaxBufferedBytes);
    }
    // One trace line per flood: a flood ends after a second without a drop.
    constexpr std::uint32_t FloodEndMs = 1000;
    const std::uint32_t now = tickCount();
    if (dropped > 0) {
        if (!flooded)
            qCDebug(swiftlaneTrace, "%s: more than %lld bytes waiting, the oldest dropped",
                    qUtf8Printable(port.portName()), static_cast<long long>(MaxBufferedBytes));
        flooded = true;
        lastDropAt = now;
    } else if (flooded && now - lastDropAt >= FloodEndMs) {
        flooded = false;
    }
}

qint64 GuardedSerialPort::read(char* buffer, qint64 max)
{
    pullArrived(max);
    dropOldestWhenFull();
    if (!port.isOpen())
        return -1;
    const qint64 count = port.read(buffer, max);
    if (count < 0)
        close();
    return count;
}

qint64 GuardedSerialPort::write(const char* data, qint64 length)
{
    if (!port.isOpen())
        return -1;
    const qint64 accepted = port.write(data, length);
    port.flush();
    return accepted;
}

} // namespace platform
