#include "devices/CSerialLinkSL.h"

#include "common/Trace.h"
#include "devices/FtdiDatabase.h"
#include "platform/VirtualAdapters.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

QString FixedText(const char* text, std::size_t capacity)
{
    // Device records are not trusted to carry their terminating zero.
    return QString::fromLatin1(text, static_cast<qsizetype>(strnlen(text, capacity)));
}

bool IsGateAdapter(const platform::FtDeviceListInfoNode& node)
{
    return node.LocId != 0 &&
           FixedText(node.Description, sizeof node.Description).contains("Swiftlane", Qt::CaseInsensitive);
}

} // namespace

CSerialLinkSL::CSerialLinkSL(Detection detection)
{
    InitFtdiDatabase();
    baudRate = 9600;
    if (detection == DetectNow)
        DetectAndOpen();
}

CSerialLinkSL::~CSerialLinkSL()
{
    Close();
    EmptyFtdiDatabase();
}

bool CSerialLinkSL::DetectAndOpen()
{
    // Opening an open link again would warn the operator that it is open.
    if (IsOpen())
        return true;
    return AutoDetect() && Open(false);
}

bool CSerialLinkSL::AutoDetect()
{
    platform::FtdiDevices& ftdi = platform::ftdiDevices();
    std::uint32_t count = 0;
    const platform::FtStatus status = ftdi.createDeviceInfoList(&count);
    qCDebug(swiftlaneTrace, "ft_status = %i\n", static_cast<int>(status));
    if (status != platform::FT_OK || count == 0)
        return false;

    std::unique_ptr<platform::FtDeviceListInfoNode[]> nodes(new (std::nothrow)
                                                                platform::FtDeviceListInfoNode[count]);
    if (!nodes)
        return false;
    std::uint32_t listed = count;
    if (ftdi.getDeviceInfoList(nodes.get(), &listed) != platform::FT_OK)
        return false;

    const std::uint32_t valid = listed < count ? listed : count;
    for (std::uint32_t i = 0; i < valid; ++i) {
        if (!IsGateAdapter(nodes[i]))
            continue;
        linkKind = FtdiLink;
        ftdiSerial = FixedText(nodes[i].SerialNumber, sizeof nodes[i].SerialNumber);
        portName = QString::asprintf("USB%X", nodes[i].LocId);
        virtualAdapter = FixedText(nodes[i].Description, sizeof nodes[i].Description) ==
                         QLatin1String(platform::VirtualAdapterDescription);
        return true;
    }
    return false;
}
