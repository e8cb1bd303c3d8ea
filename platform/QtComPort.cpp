#include "platform/ComPort.h"

#include "platform/GuardedSerialPort.h"

#include <QRegularExpression>

namespace platform {

QString comDevicePath(const QString& portName)
{
    if (portName.startsWith('/'))
        return portName;
    static const QRegularExpression comName("^COM([1-9][0-9]*)$", QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(portName);
    if (!match.hasMatch())
        return QString();
    return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
}

namespace {

class QtComPort : public ComPort
{
public:
    bool open(const QString& portName) override
    {
        port.close();
        const QString path = comDevicePath(portName);
        return !path.isEmpty() && port.open(path);
    }

    bool isOpen() const override { return port.isOpen(); }

    bool applySettings(const LineSettings& settings) override
    {
        const auto dataBits = qtDataBits(settings.dataBits);
        const auto parity = qtParity(settings.parity);
        const auto stopBits = qtStopBits(settings.stopBits);
        if (!dataBits || !parity || !stopBits)
            return false;
        return port.configure([&](QSerialPort& serial) {
            bool ok = serial.setBaudRate(static_cast<qint32>(settings.baudRate));
            ok = serial.setDataBits(*dataBits) && ok;
            ok = serial.setParity(*parity) && ok;
            ok = serial.setStopBits(*stopBits) && ok;
            ok = serial.setFlowControl(settings.xonXoff ? QSerialPort::SoftwareControl
                                                        : QSerialPort::NoFlowControl) &&
                 ok;
            // Modem lines are not there on every terminal (a pseudo-terminal has none): best effort.
            serial.setDataTerminalReady(false);
            serial.setRequestToSend(false);
            return ok;
        });
    }

    int read(char* buffer, int max) override { return static_cast<int>(port.read(buffer, max)); }

    int write(const char* data, int length) override { return static_cast<int>(port.write(data, length)); }

    void close() override { port.close(); }

private:
    GuardedSerialPort port;
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
