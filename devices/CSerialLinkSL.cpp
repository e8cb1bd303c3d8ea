#include "devices/CSerialLinkSL.h"

#include "common/Trace.h"
#include "devices/FtdiDatabase.h"
#include "platform/VirtualAdapters.h"

namespace {

bool IsGateAdapter(const platform::FtDeviceListInfoNode& node)
{
    return node.LocId != 0 && platform::ftdiText(node.Description).contains("Swiftlane", Qt::CaseInsensitive);
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
    const platform::FtdiDeviceList list = platform::readFtdiDeviceList();
    qCDebug(swiftlaneTrace, "ft_status = %i\n", static_cast<int>(list.status));
    for (const platform::FtDeviceListInfoNode& node : list.nodes) {
        if (!IsGateAdapter(node))
            continue;
        linkKind = FtdiLink;
        ftdiSerial = platform::ftdiText(node.SerialNumber);
        portName = QString::asprintf("USB%X", node.LocId);
        virtualAdapter = platform::ftdiText(node.Description) == QLatin1String(platform::VirtualAdapterDescription);
        return true;
    }
    return false;
}
