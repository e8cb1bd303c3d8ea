#include "platform/NoFtdiDevices.h"

namespace platform {

FtStatus NoFtdiDevices::createDeviceInfoList(std::uint32_t* count)
{
    *count = 0;
    return FT_OK;
}

FtStatus NoFtdiDevices::getDeviceInfoList(FtDeviceListInfoNode*, std::uint32_t* count)
{
    *count = 0;
    return FT_OK;
}

} // namespace platform
