#include "platform/FtdiDevices.h"

#include <algorithm>
#include <memory>
#include <new>

namespace platform {

FtdiDeviceList readFtdiDeviceList()
{
    FtdiDevices& ftdi = ftdiDevices();
    FtdiDeviceList list;
    list.status = ftdi.createDeviceInfoList(&list.count);
    if (list.status != FT_OK || list.count == 0)
        return list;
    // A count no memory can hold, from a confused driver, must not end the program.
    std::unique_ptr<FtDeviceListInfoNode[]> nodes(new (std::nothrow) FtDeviceListInfoNode[list.count]);
    std::uint32_t listed = list.count;
    if (!nodes || ftdi.getDeviceInfoList(nodes.get(), &listed) != FT_OK)
        return list;
    list.nodes.assign(nodes.get(), nodes.get() + std::min(listed, list.count));
    return list;
}

} // namespace platform
