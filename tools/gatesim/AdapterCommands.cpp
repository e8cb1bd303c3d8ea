#include "tools/gatesim/AdapterCommands.h"

#include "platform/FtdiDevices.h"
#include "platform/VirtualAdapters.h"
#include "timing/GateSequence.h"

#include <QDir>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::vector<platform::FtDeviceListInfoNode> DeviceList()
{
    return platform::readFtdiDeviceList().nodes;
}

bool IsVirtual(const platform::FtDeviceListInfoNode& node)
{
    return std::strcmp(node.Description, platform::VirtualAdapterDescription) == 0;
}

bool IsGateAdapter(const platform::FtDeviceListInfoNode& node)
{
    return platform::ftdiText(node.Description).contains(QLatin1String("Swiftlane"), Qt::CaseInsensitive);
}

} // namespace

int ListAdapters()
{
    const auto nodes = DeviceList();
    std::printf("%zu device(s); virtual adapter folder %s\n", nodes.size(),
                qPrintable(platform::virtualAdapterFolder()));
    for (const auto& node : nodes)
        std::printf("USB%X\t%s\t%s\t%s\n", node.LocId, IsVirtual(node) ? "virtual" : "usb", node.SerialNumber,
                    node.Description);
    return 0;
}

int RealAdapterAttached()
{
    for (const auto& node : DeviceList()) {
        if (IsGateAdapter(node) && !IsVirtual(node) && node.LocId != 0)
            return 0;
    }
    return 1;
}

int WriteDemoSequence(const QString& runsFolder)
{
    const QDir folder(runsFolder);
    if (!folder.exists() && !QDir().mkpath(runsFolder)) {
        std::fprintf(stderr, "swiftlane-gatesim: cannot create %s\n", qPrintable(runsFolder));
        return 1;
    }
    if (!folder.entryList({QStringLiteral("*.run")}, QDir::Files).isEmpty())
        return 0; // the operator's own sequences are there; leave them alone
    GateSequence demo;
    demo.SetName(QStringLiteral("Demo 30 m"));
    for (unsigned gate = 0; gate < 4; ++gate)
        demo.InsertGate(gate, static_cast<int>(gate));
    demo.SetTotalDistance(30.0);
    const QString path = folder.filePath(QStringLiteral("Demo 30 m.run"));
    if (!demo.Save(path)) {
        std::fprintf(stderr, "swiftlane-gatesim: cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("Wrote %s\n", qPrintable(path));
    return 0;
}
