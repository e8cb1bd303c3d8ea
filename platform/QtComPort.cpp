#include "platform/ComPort.h"

#include <QRegularExpression>
#include <QSerialPort>

namespace platform {
namespace {

QSerialPort::Parity ToQtParity(std::int8_t parity)
{
    switch (parity) {
    case 1:
        return QSerialPort::OddParity;
    case 2:
        return QSerialPort::EvenParity;
    case 3:
        return QSerialPort::MarkParity;
    case 4:
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits ToQtStopBits(std::uint8_t stopBits)
{
    switch (stopBits) {
    case 1:
        return QSerialPort::OneAndHalfStop;
    case 2:
        return QSerialPort::TwoStop;
    default:
        return QSerialPort::OneStop;
    }
}

// "COMn" is the n-th system serial port; a path is taken as given. Anything else names no port.
QString DevicePathFor(const QString& portName)
{
    if (portName.startsWith('/'))
        return portName;
    static const QRegularExpression comName("^COM([1-9][0-9]*)$", QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(portName);
    if (!match.hasMatch())
        return QString();
    return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
}

class QtComPort : public ComPort
{
public:
    QtComPort()
    {
        // A port whose device hung up reports errors in a tight loop while staying open; the first
        // real error closes it for good.
        QObject::connect(
            &port, &QSerialPort::errorOccurred, &port, [this](QSerialPort::SerialPortError error) {
                if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || configuring)
                    return;
                if (port.isOpen())
                    port.close();
            });
    }

    bool open(const QString& portName) override
    {
        close();
        const QString path = DevicePathFor(portName);
        if (path.isEmpty())
            return false;
        port.setPortName(path);
        return port.open(QIODevice::ReadWrite);
    }

    bool isOpen() const override { return port.isOpen(); }

    bool applySettings(const LineSettings& settings) override
    {
        if (!port.isOpen())
            return false;
        configuring = true;
        bool ok = port.setBaudRate(static_cast<qint32>(settings.baudRate));
        ok = port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) && ok;
        ok = port.setParity(ToQtParity(settings.parity)) && ok;
        ok = port.setStopBits(ToQtStopBits(settings.stopBits)) && ok;
        ok = port.setFlowControl(settings.xonXoff ? QSerialPort::SoftwareControl
                                                  : QSerialPort::NoFlowControl) &&
             ok;
        // Modem lines are not there on every terminal (a pseudo-terminal has none): best effort.
        port.setDataTerminalReady(false);
        port.setRequestToSend(false);
        configuring = false;
        return ok;
    }

    int read(char* buffer, int max) override
    {
        if (!port.isOpen())
            return -1;
        // Pulls what the driver holds into Qt's buffer without waiting; may find a hang-up.
        if (port.bytesAvailable() < max)
            port.waitForReadyRead(0);
        if (!port.isOpen())
            return -1;
        return static_cast<int>(port.read(buffer, max));
    }

    int write(const char* data, int length) override
    {
        if (!port.isOpen())
            return -1;
        const qint64 accepted = port.write(data, length);
        port.flush();
        return static_cast<int>(accepted);
    }

    void close() override
    {
        if (port.isOpen())
            port.close();
    }

private:
    QSerialPort port;
    bool configuring = false;
};

ComPortFactory& factory()
{
    static ComPortFactory installed;
    return installed;
}

} // namespace

std::unique_ptr<ComPort> createComPort()
{
    if (factory())
        return factory()();
    return std::make_unique<QtComPort>();
}

void setComPortFactory(ComPortFactory replacement)
{
    factory() = std::move(replacement);
}

} // namespace platform
