#include "platform/SerialDevices.h"

#include "platform/VirtualAdapters.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>

namespace platform {
namespace {

constexpr quint16 FtdiVendorId = 0x0403;
constexpr int ComNames = 19;

bool isComDevice(const QString& path)
{
    static const QRegularExpression ttyS(QStringLiteral("^/dev/ttyS([0-9]+)$"));
    const QRegularExpressionMatch match = ttyS.match(path);
    return match.hasMatch() && match.captured(1).toInt() < ComNames;
}

QStringList systemSerialDevices()
{
    QStringList paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        // FTDI devices have their rows already, under their location id.
        if (info.hasVendorIdentifier() && info.vendorIdentifier() == FtdiVendorId)
            continue;
        if (!isComDevice(info.systemLocation()))
            paths << info.systemLocation();
    }
    std::sort(paths.begin(), paths.end());
    for (const VirtualAdapter& device : listVirtualTerminals(virtualSerialFolder()))
        paths << device.devicePath;
    return paths;
}

std::function<QStringList()>& installed()
{
    static std::function<QStringList()> lister;
    return lister;
}

} // namespace

QStringList otherSerialDevices()
{
    return installed() ? installed()() : systemSerialDevices();
}

void setOtherSerialDevices(std::function<QStringList()> replacement)
{
    installed() = std::move(replacement);
}

} // namespace platform
